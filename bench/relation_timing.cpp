// Times two charts together: the synastry, the composite (the second chart's
// houses computed again in the first's system) and the Davison chart from
// two computed charts with birth times; the second birth moves by a minute
// each run, so the ephemeris cannot answer the Davison moment from the
// previous run's positions. Prints rows for the benchmark table;
// bench/run runs it.
//   tolvaris_relation_timing
#include <string>
#include <vector>

#include "core/relation/relation.h"
#include "timing_rows.h"

namespace {

using namespace tolvaris::bench;

tolvaris::BirthData Birth(tolvaris::CivilDate date, tolvaris::CivilTime time, double latitude,
                          double longitude, tolvaris::HouseSystem system) {
    tolvaris::BirthData birth;
    birth.date = date;
    birth.time = time;
    birth.latitude = latitude;
    birth.longitude = longitude;
    birth.utcOffsetSeconds = 0;
    birth.houseSystem = system;
    return birth;
}

}  // namespace

int main() {
    tolvaris::Ephemeris ephemeris;
    const tolvaris::BirthChartResult first = tolvaris::ComputeBirthChart(
        ephemeris,
        Birth({1990, 3, 15}, {7, 30, 0}, 52.52, 13.405, tolvaris::HouseSystem::Placidus));
    constexpr int kRuns = 201;
    std::vector<tolvaris::BirthChart> seconds;
    for (int run = 0; run < kRuns; ++run) {
        tolvaris::BirthChartResult second = tolvaris::ComputeBirthChart(
            ephemeris, Birth({1988, 11, 2}, {20 + run / 60, run % 60, 0}, 48.8566, 2.3522,
                             tolvaris::HouseSystem::Koch));
        if (!second.Ok()) {
            std::printf("the second chart failed\n");
            return 1;
        }
        seconds.push_back(std::move(*second.value));
    }
    if (!first.Ok()) {
        std::printf("the first chart failed\n");
        return 1;
    }
    std::vector<double> all;
    std::vector<double> synastryMs;
    std::vector<double> compositeMs;
    std::vector<double> davisonMs;
    std::size_t aspects = 0;
    bool ok = true;
    for (const tolvaris::BirthChart& second : seconds) {
        auto start = Clock::now();
        const tolvaris::Synastry synastry =
            tolvaris::ComputeSynastry(first.value->chart, second.chart, first.value->input.orbs);
        synastryMs.push_back(MillisecondsSince(start));
        auto next = Clock::now();
        const tolvaris::CompositeResult composite =
            tolvaris::ComputeComposite(ephemeris, *first.value, second);
        compositeMs.push_back(MillisecondsSince(next));
        next = Clock::now();
        const tolvaris::DavisonResult davison =
            tolvaris::ComputeDavison(ephemeris, *first.value, second);
        davisonMs.push_back(MillisecondsSince(next));
        all.push_back(MillisecondsSince(start));
        ok = ok && composite.Ok() && davison.Ok();
        aspects = synastry.aspects.size();
    }
    const double median = Median(all);
    PrintRow("Two charts: synastry, composite and Davison (median of 201)",
             Format("%.3f ms", median) + " (" + std::to_string(aspects) + " inter-aspects)", "", "",
             "<= 2 ms", ok && median <= 2.0 ? "yes" : "NO");
    PrintRow("  synastry; composite; Davison",
             Format("%.3f ms", Median(synastryMs)) + Format("; %.3f", Median(compositeMs)) +
                 Format("; %.3f", Median(davisonMs)),
             "", "", "", "");
    return ok ? 0 : 1;
}
