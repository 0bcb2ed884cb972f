#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/line.h"
#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"
#include "core/reading/reading_document.h"
#include "core/requests/entry_keys.h"

namespace tolvaris {

// An entry a reading looked for and did not find.
struct MissingEntry {
    EntryLocation entry;
    // The data file itself is missing or cannot be read.
    bool fileMissing = false;
    bool operator==(const MissingEntry&) const = default;
};

// Writes a reading into the current page: lines of our own text, entries
// copied from the data files exactly as a request copies them, blocks apart
// by a rule. Every kind of reading (natal, transits, two charts) goes
// through it.
class ReadingPage {
public:
    ReadingPage(std::filesystem::path dataFolder, PageBuffers& buffers);

    // From now on the same calls also build `document` (nullptr: none).
    void SetDocument(ReadingDocument* document) { document_ = document; }
    // A heading line of the page, a heading of the document.
    void Heading(int level, std::string_view text, std::string_view note = {});
    // A section's heading: in capitals on the page, as written in a report.
    void SectionHeading(std::string_view text);
    // A heading only the document has: the page stays as a request writes it.
    void ReportHeading(int level, std::string_view text, std::string_view note = {});

    // A line of our own text (code page 1252), wrapped at word boundaries.
    void Text(std::string_view text);
    // A line only the page has: a report shows the chart's data on its
    // first page instead.
    void PageText(std::string_view text);
    // Between two blocks; an entry that was not found leaves its separator
    // for the next block, so two never follow each other.
    void Separator();
    // A block with the entry, or nothing and a note for the closing list.
    void Entry(const EntryLocation& entry);
    // The entry inside the current block, after lines of our own about it.
    // An entry missing twice is listed once.
    void EntryInBlock(const EntryLocation& entry);
    // Closes the reading: the entries not found, listed in a block of their
    // own. Returns them.
    std::vector<MissingEntry> Finish();

private:
    std::filesystem::path dataFolder_;
    PageBuffers& buffers_;
    ReadingDocument* document_ = nullptr;
    std::vector<MissingEntry> missing_;
    std::int32_t linesAfterSeparator_ = -1;
};

// What a reading puts on its page.
using ReadingContent = std::function<void(ReadingPage&)>;

// A new page with the reading, shown like a request's page. Returns what
// was missing.
std::vector<MissingEntry> ShowReadingPage(PageBuffers& buffers,
                                          const std::filesystem::path& dataFolder,
                                          const ReadingContent& content);

// The reading's structure for a report, composed without a window.
ReadingDocument ComposeReadingDocument(const std::filesystem::path& dataFolder, Notices& notices,
                                       const ReadingContent& content);

// What the data buffer holds after the window has shown only this reading
// (the page's opening blank line, the reading, the closing blank line of a
// shown page), made without a window, for the command line to save exactly
// as Save would. `notices` hears of a full buffer.
struct ReadingBuffer {
    std::vector<Line> lines;
    std::vector<MissingEntry> missing;
    ReadingDocument document;  // the same reading's structure, for a report
};
ReadingBuffer ComposeWithoutWindow(const std::filesystem::path& dataFolder, Notices& notices,
                                   const ReadingContent& content);

// "3 entries were not found; they are listed at the end of the reading."
std::string MissingEntriesMessage(std::size_t count);

// What a reading command does: the page shown with the busy pointer on, then
// one message when entries were missing.
void ShowReadingWithNotice(PageBuffers& buffers, const std::filesystem::path& dataFolder,
                           Notices& notices, const ReadingContent& content);

}  // namespace tolvaris
