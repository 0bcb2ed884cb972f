#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "core/common/atomic_file.h"
#include "core/engine/screen.h"
#include "core/reading/reading_document.h"
#include "render/report_pdf.h"

class QBoxLayout;
class QPushButton;

namespace tolvaris {

class ChartFileDialogs;

// What becomes of a typeset reading: printed, or written to a file.
enum class ReportAction { Print, Export };

// What a report is asked through and written with; the caption heads the
// message boxes.
struct ReportOutput {
    ChartFileDialogs& dialogs;
    Notices& notices;
    AtomicFileWriter& writer;
    std::string caption;
};

// Asks for the printer or the file (`suggested` first; PDF, or HTML for a
// name ending in .html or .htm), then makes the reading and typesets it
// with `content`'s chart, second chart and timeline. Nothing is made when
// the user cancels; a failure is told in a message naming the file and the
// reason.
void OutputReport(const ReportOutput& output, ReportAction action, ReportContent content,
                  const std::filesystem::path& suggested,
                  const std::function<ReadingDocument()>& makeDocument);

// "Print report..." and "Export report..." after `reading` in `row`,
// enabled exactly when `reading` is; `asked` is called with the one clicked.
void AddReportButtons(QBoxLayout& row, QPushButton& reading, const QString& what,
                      const std::function<void(ReportAction)>& asked);

}  // namespace tolvaris
