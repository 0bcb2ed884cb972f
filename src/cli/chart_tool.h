#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/birth_chart.h"
#include "core/forecast/transits.h"
#include "core/reading/reading_document.h"

namespace tolvaris {

// Exit statuses of tolvaris-chart.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // anything but the input: atlas missing, output failed
inline constexpr int kExitRefused = 2;  // input refused: one line on `err`, nothing on `out`

// Draws a chart into files. The executable gives one that paints with Qt;
// this library stays free of it. Each returns "" or a message naming the
// path and the reason; a failure leaves no file behind.
class ChartDrawing {
public:
    virtual ~ChartDrawing() = default;
    // Without `caption` the image is the wheel alone.
    virtual std::string WriteWheel(const BirthChart& chart, const std::string& path, int sizePixels,
                                   bool caption) = 0;
    // The report of one reading: its chart on the first page (with the
    // second chart's bi-wheel after SetSecondChart, or the timeline of
    // `search` when given), then `document` typeset; PDF, or one HTML file.
    // Without `chartData` the first page leaves out the birth data (a
    // composite has none).
    virtual std::string WriteReport(const BirthChart& chart, const std::string& path,
                                    const ReadingDocument& document, bool html, bool chartData,
                                    const TransitSearch* search, const TransitSpan& span,
                                    const std::string& displayZone) = 0;
    // The wheels and wheel pages after this call draw `second` (nullptr:
    // none) on an outer ring with the contacts between the two charts.
    virtual void SetSecondChart(const BirthChart* /*second*/) {}
};

// Runs tolvaris-chart with the arguments after the program name. Results go
// to `out`, the one line of a refusal or failure to `err`. The atlas
// (atlas.tsv) is read from `programFolder` only when a place is looked up.
// Without `drawing`, --wheel and --pdf fail (exit 1).
int RunChartTool(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err,
                 const std::filesystem::path& programFolder, ChartDrawing* drawing = nullptr);

}  // namespace tolvaris
