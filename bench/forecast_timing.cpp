// Times the time techniques on one natal chart (Berlin, 1990-01-01 12:00):
// the solar return of a year found (the year's span in the zone included)
// and its chart cast, a year of lunar returns, five years of progressed
// events, one progressed chart. Prints rows for the benchmark table;
// bench/run runs it.
//   tolvaris_forecast_timing
#include <cstdio>
#include <string>
#include <vector>

#include "core/ephemeris/ephemeris.h"
#include "core/forecast/forecast_range.h"
#include "core/forecast/progressions.h"
#include "core/forecast/returns.h"
#include "core/sky/chart.h"
#include "timing_rows.h"

namespace {

using namespace tolvaris;
using namespace tolvaris::bench;

constexpr int kReturnRuns = 201;
constexpr int kProgressionRuns = 21;
constexpr double kLatitude = 52.52;
// 2020 to 2028: each holds one return (a New Year's birthday leaves some
// later years without one).
constexpr int kReturnYears = 9;

// Every run of `work` in milliseconds; false from `work` stops with a message.
template <class Work>
std::vector<double> Time(int runs, Work work) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        if (!work(run)) {
            std::fprintf(stderr, "a forecast computation failed\n");
            return {};
        }
        ms.push_back(MillisecondsSince(start));
    }
    return ms;
}

std::string Ms(const std::vector<double>& ms, int runs) {
    return Format("%.3f ms", Median(ms)) + " (" + std::to_string(runs) + " runs)";
}

}  // namespace

int main() {
    Ephemeris ephemeris;
    ChartRequest birth;
    birth.utSeconds = 631191600;  // 1990-01-01 11:00 UT
    birth.latitude = kLatitude;
    birth.longitude = 13.405;
    const ChartResult natalResult = ComputeChart(ephemeris, birth);
    if (!natalResult.Ok()) {
        std::fprintf(stderr, "%s\n", natalResult.error.c_str());
        return 1;
    }
    const Chart& natal = *natalResult.chart;
    const std::string zone = "Europe/Berlin";

    const std::vector<double> solar = Time(kReturnRuns, [&](int run) {
        const Result<SolarReturn> found =
            SolarReturnInYear(ephemeris, natal, 2020 + run % kReturnYears, zone);
        return found.Ok();
    });
    const std::vector<double> solarChart = Time(kReturnRuns, [&](int run) {
        const Result<SolarReturn> found =
            SolarReturnInYear(ephemeris, natal, 2020 + run % kReturnYears, zone);
        return found.Ok() && ComputeReturnChart(ephemeris, found->moment, birth).Ok();
    });
    const std::vector<double> lunar = Time(kProgressionRuns, [&](int run) {
        return LunarReturnsInYear(ephemeris, natal, 2020 + run, zone).Ok();
    });
    const Result<ForecastRange> five = DayRangeInZone({2027, 1, 1}, {2031, 12, 31}, zone);
    if (!five.Ok()) {
        std::fprintf(stderr, "%s\n", five.Failure().message.c_str());
        return 1;
    }
    std::size_t events = 0;
    const std::vector<double> progressions = Time(kProgressionRuns, [&](int) {
        const ProgressionSearch search =
            FindProgressions(ephemeris, natal, kLatitude, five->span, {});
        events = search.aspects.size() + search.signChanges.size() + search.ingresses.size() +
                 search.stations.size();
        return search.Ok();
    });
    const std::vector<double> progressed = Time(kReturnRuns, [&](int run) {
        return ComputeProgressedChart(ephemeris, natal, kLatitude, five->span.fromUt + run * 86400)
            .Ok();
    });
    if (solar.empty() || solarChart.empty() || lunar.empty() || progressions.empty() ||
        progressed.empty()) {
        return 1;
    }

    PrintRow("Solar return of a year (the year in the zone, the moment)", Ms(solar, kReturnRuns),
             "", "", "<= 1 ms", Median(solar) <= 1.0 ? "yes" : "NO");
    PrintRow("  with its chart cast at the birthplace", Ms(solarChart, kReturnRuns), "", "", "",
             "");
    PrintRow("Lunar returns of a year", Ms(lunar, kProgressionRuns), "", "", "", "");
    PrintRow("Progressions, five years (" + std::to_string(events) + " events)",
             Ms(progressions, kProgressionRuns), "", "", "<= 20 ms",
             Median(progressions) <= 20.0 ? "yes" : "NO");
    PrintRow("  one progressed chart with its aspects", Ms(progressed, kReturnRuns), "", "", "",
             "");
    return 0;
}
