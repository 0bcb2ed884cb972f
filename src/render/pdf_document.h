#pragma once

#include <QByteArray>
#include <QLocale>
#include <QPageSize>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "core/chart/birth_chart.h"
#include "core/common/atomic_file.h"
#include "core/forecast/transits.h"
#include "render/text_pages.h"

namespace tolvaris {

// Letter where it is the usual paper (the United States, Canada, Mexico and
// a few neighbours, the Philippines), A4 everywhere else.
QPageSize::PageSizeId PageSizeForLocale(const QLocale& locale);

// The paper of the locale the environment names for it: LC_ALL, else
// LC_PAPER, else LANG, an empty or missing value counting as unset (null
// pointers allowed). With none set it is the POSIX locale's, A4.
QPageSize::PageSizeId PageSizeForEnvironment(const char* lcAll, const char* lcPaper,
                                             const char* lang);

// PageSizeForEnvironment with this process's variables.
QPageSize::PageSizeId PageSizeFromEnvironment();

// A forecast's picture of its range, one bar per transit along the dates,
// for a report.
struct PdfTimeline {
    const TransitSearch* search = nullptr;  // none: no timeline pages
    TransitSpan span;
    // The display zone's offset from UT at an instant, for the dates.
    std::function<int(std::int64_t)> offsetAt;
};

// What a PDF holds: optionally the wheel with the chart's data on the first
// page, then the text pages.
struct PdfContent {
    TextPageStyle style;                // font and header title of the text pages
    QStringList lines;                  // the reading; "\f" starts a new page
    const BirthChart* chart = nullptr;  // the wheel page first when given
    // With `chart`, a bi-wheel: this chart on the outer ring, the contacts drawn.
    const BirthChart* outerChart = nullptr;
    QPageSize::PageSizeId pageSize = QPageSize::A4;
};

// The lines that describe the chart above its wheel: the chart's facts
// (the title above them gives the name).
QStringList ChartDataLines(const BirthChart& chart);

// The PDF's bytes: text drawn as text (selectable, fonts embedded by Qt).
QByteArray PdfBytes(const PdfContent& content);

// Writes the PDF through `writer`: nothing half-written is left behind.
// Returns "" or a message naming the path and the reason.
std::string WritePdf(const std::filesystem::path& path, const PdfContent& content,
                     AtomicFileWriter& writer);

}  // namespace tolvaris
