#pragma once

#include <QByteArray>
#include <QMarginsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <filesystem>
#include <string>
#include <vector>

#include "core/chart/birth_chart.h"
#include "core/common/atomic_file.h"
#include "core/reading/reading_document.h"
#include "render/pdf_document.h"

namespace tolvaris {

// One reading of one chart, typeset: a first page with the chart (its data,
// the wheel, the positions, the cusps, the aspects; for a relationship both
// people and the bi-wheel; for a forecast its timeline), then the reading in
// a book face with a contents page when it is long.
struct ReportContent {
    const ReadingDocument* document = nullptr;
    const BirthChart* chart = nullptr;       // required
    const BirthChart* outerChart = nullptr;  // a relationship's second person
    PdfTimeline timeline;                    // a forecast's picture
    bool chartData = true;                   // the birth data on the first page
    QPageSize::PageSizeId pageSize = QPageSize::A4;
};

// What paging needs of a laid-out block: its lines' count and step, the
// space before it (dropped at a page's top), whether it is a heading.
struct ReportBlockShape {
    bool heading = false;
    int lines = 0;
    qreal step = 0;
    qreal spaceBefore = 0;
};

// Lines [first, last) of block `block` on page `page` (counted from the
// reading's first), their top at `y` below the text area's.
struct ReportPlacement {
    std::size_t block = 0;
    int first = 0;
    int last = 0;
    int page = 0;
    qreal y = 0;
};

// Pages the blocks into text areas `height` tall: a heading goes with the
// first two lines after it, and a paragraph broken by a page leaves at least
// two lines on each side (no orphan, no widow).
std::vector<ReportPlacement> PaginateReport(const std::vector<ReportBlockShape>& blocks,
                                            qreal height);

// The coordinates a report is painted in: a device must be set to this
// resolution (dots per inch), its margins to kReportMargins (millimetres).
inline constexpr int kReportResolution = 600;
inline const QMarginsF kReportMargins{20, 16, 20, 14};

// Paints the report on `device` (a PDF writer or a printer), a page after
// the other; false when there is nothing to paint or no painter.
bool PaintReport(QPagedPaintDevice& device, const ReportContent& content);

// The report's pages as a PDF, text drawn as text and the font embedded;
// empty when it could not be made.
QByteArray ReportPdfBytes(const ReportContent& content);

// Writes it through `writer`; "" or a message naming the path and the reason.
std::string WriteReportPdf(const std::filesystem::path& path, const ReportContent& content,
                           AtomicFileWriter& writer);

// The face the reading is set in: DejaVu Serif (fonts-dejavu-core, the
// italic from fonts-dejavu-extra).
QString ReportBookFamily();

}  // namespace tolvaris
