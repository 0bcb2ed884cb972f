#pragma once

namespace tolvaris::bench {

// Compares what the page view ends up holding for long pages, which are filled
// in after they are shown, with the same pages put into a QPlainTextEdit in
// one call: line ends of every kind at every place, lines longer than a
// slice, and a new page arriving while an old one is still filled in. A
// QApplication must exist. Prints what differs; returns whether nothing did.
bool CheckLongPages();

}  // namespace tolvaris::bench
