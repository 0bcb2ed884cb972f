#pragma once

#include <QByteArray>
#include <filesystem>
#include <string>

#include "core/common/atomic_file.h"
#include "render/report_pdf.h"

namespace tolvaris {

// The report as one self-contained HTML file (UTF-8): the pictures inline as
// PNG data, one column that narrows to a phone's width, styles for print.
QByteArray ReportHtmlBytes(const ReportContent& content);

// Writes it through `writer`; "" or a message naming the path and the reason.
std::string WriteReportHtml(const std::filesystem::path& path, const ReportContent& content,
                            AtomicFileWriter& writer);

}  // namespace tolvaris
