// Times the transit search: a year and ten years of the nine default bodies
// to the twelve points of a chart with a birth time, a year with the Moon as
// well, one reading of the ephemeris, and beside the search the readings
// alone of the common method (a month stepped in 48 charts, interpolated
// linearly, no refinement). Prints rows for the benchmark table; bench/run
// runs it.
//   tolvaris_transit_timing
#include <cstdint>
#include <string>
#include <vector>

#include "core/ephemeris/ephemeris.h"
#include "core/ephemeris/ut_instant.h"
#include "core/forecast/transits.h"
#include "core/sky/chart.h"
#include "timing_rows.h"

namespace {

using namespace tolvaris::bench;

constexpr std::int64_t kYearSeconds = 365LL * 86400;
// 2027-01-01T00:00:00Z.
constexpr std::int64_t kFrom = 1798761600;

struct SearchFigure {
    double medianMs = 0.0;
    std::size_t events = 0;
    bool ok = true;
};

SearchFigure TimeSearch(tolvaris::Ephemeris& ephemeris, const tolvaris::Chart& natal, int years,
                        const std::vector<tolvaris::Point>& bodies, int runs) {
    const tolvaris::TransitSpan span{kFrom, kFrom + years * kYearSeconds};
    tolvaris::TransitSettings settings;
    settings.bodies = bodies;
    SearchFigure figure;
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const tolvaris::TransitSearch search =
            tolvaris::FindTransits(ephemeris, natal, span, settings);
        ms.push_back(MillisecondsSince(start));
        figure.ok = figure.ok && search.Ok();
        figure.events = search.ingresses.size() + search.stations.size();
        for (const tolvaris::Transit& transit : search.transits) {
            figure.events +=
                transit.exact.size() + (transit.enter ? 1 : 0) + (transit.leave ? 1 : 0);
        }
    }
    figure.medianMs = Median(ms);
    return figure;
}

}  // namespace

int main() {
    tolvaris::Ephemeris ephemeris;
    tolvaris::ChartRequest request;
    request.utSeconds = 631152000 + 11 * 3600;  // 1990-01-01 11:00 UT, Berlin
    request.latitude = 52.52;
    request.longitude = 13.405;
    const tolvaris::ChartResult chart = tolvaris::ComputeChart(ephemeris, request);
    if (!chart.Ok()) {
        std::printf("the chart failed: %s\n", chart.error.c_str());
        return 1;
    }
    const std::vector<tolvaris::Point> defaults = tolvaris::DefaultTransitBodies();

    // One reading at instants far apart, and nine at one instant.
    const double jd0 = tolvaris::JulianDayUtFromUnixSeconds(kFrom);
    constexpr int kReadings = 20000;
    auto start = Clock::now();
    for (int i = 0; i < kReadings; ++i) {
        ephemeris.ReadBody(tolvaris::Point::Mars, jd0 + i * 0.37);
    }
    const double aloneUs = MillisecondsSince(start) * 1000.0 / kReadings;
    start = Clock::now();
    for (int i = 0; i < kReadings / 9; ++i) {
        for (const tolvaris::Point body : defaults) {
            ephemeris.ReadBody(body, jd0 + i * 0.37);
        }
    }
    const double sharedUs = MillisecondsSince(start) * 1000.0 / (kReadings / 9 * 9);

    // The common method's readings: 48 instants a month, nine bodies each.
    std::vector<double> steppedMs;
    for (int run = 0; run < 11; ++run) {
        start = Clock::now();
        for (int i = 0; i < 12 * 48; ++i) {
            for (const tolvaris::Point body : defaults) {
                ephemeris.ReadBody(body, jd0 + i * (365.0 / (12 * 48)));
            }
        }
        steppedMs.push_back(MillisecondsSince(start));
    }
    const double stepped = Median(steppedMs);

    const SearchFigure year = TimeSearch(ephemeris, *chart.chart, 1, defaults, 21);
    const SearchFigure decade = TimeSearch(ephemeris, *chart.chart, 10, defaults, 5);
    const SearchFigure moon =
        TimeSearch(ephemeris, *chart.chart, 1, tolvaris::AllTransitBodies(), 11);

    PrintRow("Transits, a year: 9 bodies to 12 points, refined (median of 21)",
             Format("%.2f ms", year.medianMs) + " (" + std::to_string(year.events) + " events)",
             Format("48 charts a month, reads only: %.2f ms", stepped),
             Format("%.2f", year.medianMs / stepped), "<= 20 ms",
             year.ok && year.medianMs <= 20.0 ? "yes" : "NO");
    PrintRow("  ten years (median of 5)",
             Format("%.1f ms", decade.medianMs) + " (" + std::to_string(decade.events) + " events)",
             "", "", "<= 200 ms", decade.ok && decade.medianMs <= 200.0 ? "yes" : "NO");
    PrintRow("  a year with the Moon as well (median of 11)",
             Format("%.2f ms", moon.medianMs) + " (" + std::to_string(moon.events) + " events)", "",
             "", "", "");
    PrintRow("  one ephemeris reading: alone; one of nine at one instant",
             Format("%.2f us", aloneUs) + Format("; %.2f us", sharedUs), "", "", "", "");
    return year.ok && decade.ok && moon.ok ? 0 : 1;
}
