// Progressed charts, progressed events and returns against what
// scripts/make-progression-golden computed with swetest and the library's
// swe_houses_armc: positions and angles within 0.00002 degree, returns
// within a second, events within ten minutes.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "core/ephemeris/ephemeris.h"
#include "core/ephemeris/ut_instant.h"
#include "core/ephemeris/zodiac.h"
#include "core/forecast/forecast_range.h"
#include "core/forecast/progressions.h"
#include "core/forecast/returns.h"
#include "core/sky/chart.h"
#include "core/time/civil_time.h"

namespace tolvaris {
namespace {

constexpr double kDegrees = 0.00002;
constexpr double kReturnSeconds = 1.0;
constexpr double kEventSeconds = 600.0;

std::vector<std::vector<std::string>> GoldenLines() {
    std::ifstream in(TOLVARIS_PROGRESSION_GOLDEN);
    std::vector<std::vector<std::string>> lines;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string word; fields >> word;) {
            words.push_back(word);
        }
        if (!words.empty() && words[0][0] != '#') {
            lines.push_back(words);
        }
    }
    return lines;
}

// "<birth seconds> <latitude> <longitude> <house letter>" from `at`.
ChartRequest BirthAt(const std::vector<std::string>& w, std::size_t at) {
    ChartRequest request;
    request.utSeconds = std::stoll(w[at]);
    request.latitude = std::stod(w[at + 1]);
    request.longitude = std::stod(w[at + 2]);
    for (const HouseSystemRow& row : kHouseSystems) {
        if (row.letter == w[at + 3][0]) {
            request.houseSystem = row.system;
        }
    }
    return request;
}

Chart NatalOf(Ephemeris& ephemeris, const ChartRequest& request) {
    ChartResult natal = ComputeChart(ephemeris, request);
    EXPECT_TRUE(natal.Ok()) << natal.error;
    return natal.Ok() ? *natal.chart : Chart{};
}

double Off(double a, double b) {
    return std::fabs(std::remainder(a - b, 360.0));
}

TEST(Progressions, ChartsAndReturnsAsSwetest) {
    Ephemeris ephemeris;
    double worstDegrees = 0.0;
    double worstReturn = 0.0;
    // A progressed chart's values, in the order of the golden lines after it.
    std::vector<double> ours;
    std::size_t next = 0;
    int read = 0;
    for (const std::vector<std::string>& w : GoldenLines()) {
        ++read;
        SCOPED_TRACE(w[0] + " " + (w.size() > 1 ? w[1] : "") + " " + (w.size() > 7 ? w[7] : ""));
        if (w[0] == "progressed") {
            const ChartRequest birth = BirthAt(w, 2);
            const Chart natal = NatalOf(ephemeris, birth);
            const ProgressedChartResult found =
                ComputeProgressedChart(ephemeris, natal, birth.latitude, std::stoll(w[6]));
            ASSERT_TRUE(found.Ok()) << found.error;
            ours.clear();
            next = 0;
            for (const BodyPlacement& body : found.chart->bodies) {
                ours.push_back(body.longitude);
            }
            ours.push_back(found.chart->solarArc);
            ours.push_back(found.chart->midheaven->longitude);
            ours.push_back(found.chart->ascendant->longitude);
            ours.insert(ours.end(), found.chart->cusps->begin(), found.chart->cusps->end());
            continue;
        }
        if (w[0] == "bodies" || w[0] == "angles" || w[0] == "pcusps") {
            for (std::size_t i = 1; i < w.size(); ++i, ++next) {
                ASSERT_LT(next, ours.size());
                const double error = Off(ours[next], std::stod(w[i]));
                EXPECT_LE(error, kDegrees) << w[0] << " " << i;
                worstDegrees = std::max(worstDegrees, error);
            }
            continue;
        }
        if (w[0] == "solar") {
            const ChartRequest birth = BirthAt(w, 2);
            const Chart natal = NatalOf(ephemeris, birth);
            const Result<SolarReturn> found =
                SolarReturnInYear(ephemeris, natal, std::stoi(w[7]), w[6]);
            if (w[8] == "-") {
                EXPECT_FALSE(found.Ok()) << "a return where swetest finds none";
                continue;
            }
            ASSERT_TRUE(found.Ok()) << found.Failure().message;
            const double error = std::fabs(
                (found->moment.julianDayUt - kUnixEpochJulianDay) * 86400.0 - std::stod(w[8]));
            EXPECT_LE(error, kReturnSeconds);
            worstReturn = std::max(worstReturn, error);
            EXPECT_EQ(found->note.empty(), w.size() == 9);
            const ChartResult chart = ComputeReturnChart(ephemeris, found->moment, birth);
            ASSERT_TRUE(chart.Ok()) << chart.error;
            EXPECT_LE(Off(chart.chart->bodies[0].longitude, natal.bodies[0].longitude), 1e-4);
            continue;
        }
        if (w[0] == "lunar") {
            const Chart natal = NatalOf(ephemeris, BirthAt(w, 2));
            const auto found = LunarReturnsInYear(ephemeris, natal, std::stoi(w[7]), w[6]);
            ASSERT_TRUE(found.Ok()) << found.Failure().message;
            ASSERT_EQ(found->size(), w.size() - 8);
            for (std::size_t i = 0; i < found->size(); ++i) {
                const double golden = std::stod(w[8 + i]);
                const double error =
                    std::fabs(((*found)[i].julianDayUt - kUnixEpochJulianDay) * 86400.0 - golden);
                EXPECT_LE(error, kReturnSeconds);
                worstReturn = std::max(worstReturn, error);
                // From the second just before, and from three days before.
                for (const double back : {1.0, 3 * 86400.0}) {
                    const auto next = LunarReturnAtOrAfter(
                        ephemeris, natal, static_cast<std::int64_t>(std::floor(golden - back)));
                    ASSERT_TRUE(next.Ok()) << next.Failure().message;
                    EXPECT_EQ(next->utSeconds, (*found)[i].utSeconds);
                }
            }
        }
    }
    EXPECT_GE(read, 60) << "golden lines read";
    std::cout << "worst: positions " << worstDegrees * 3600 << "\", returns " << worstReturn
              << " s\n";
}

// An event line as its words and times: "aspect Sun Moon trine - 1.5 2.5D"
// keys "aspect Sun Moon trine D" with the times {none, 1.5, 2.5}.
struct Event {
    std::string key;
    std::vector<std::optional<double>> times;
};

Event EventOf(const std::vector<std::string>& words) {
    Event event;
    for (const std::string& word : words) {
        std::istringstream passes(word);
        for (std::string part; std::getline(passes, part, ',');) {
            if (part == "-") {
                event.times.emplace_back();
            } else if (std::isdigit(static_cast<unsigned char>(part[0])) != 0 || part[0] == '-') {
                std::size_t used = 0;
                event.times.emplace_back(std::stod(part, &used));
                event.key += part.substr(used) + " ";
            } else {
                event.key += part + " ";
            }
        }
    }
    return event;
}

std::string Time(std::optional<std::int64_t> seconds) {
    return seconds ? std::to_string(*seconds) : "-";
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string word; fields >> word;) {
        words.push_back(word);
    }
    return words;
}

// Our search in the golden file's line format.
std::vector<Event> EventsOf(const ProgressionSearch& search) {
    std::vector<Event> events;
    const auto add = [&](const std::string& line) { events.push_back(EventOf(Words(line))); };
    for (const SignChange& change : search.signChanges) {
        add("sign " + std::string(PointName(change.progressed)) + " " +
            std::string(SignName(change.sign)) + " " + Time(change.utSeconds) +
            (change.retrograde ? " R" : " D"));
    }
    for (const HouseIngress& ingress : search.ingresses) {
        add("ingress " + std::string(PointName(ingress.transiting)) + " " +
            std::to_string(ingress.house) + " " + Time(ingress.utSeconds) +
            (ingress.retrograde ? " R" : " D"));
    }
    for (const ProgressedAspect& aspect : search.aspects) {
        std::string exact;
        for (const ExactPass& pass : aspect.exact) {
            exact +=
                (exact.empty() ? "" : ",") + Time(pass.utSeconds) + (pass.retrograde ? "R" : "D");
        }
        add("aspect " + std::string(NatalPointName(aspect.progressed)) + " " +
            std::string(NatalPointName(aspect.natal)) + " " +
            std::string(AspectKindName(aspect.kind)) + " " + Time(aspect.enter) + " " +
            Time(aspect.leave) + " " + (exact.empty() ? "-" : exact));
    }
    for (const Station& station : search.stations) {
        add("station " + std::string(PointName(station.body)) + " " + Time(station.utSeconds) +
            (station.turnsRetrograde ? " retrograde" : " direct"));
    }
    return events;
}

// The worst errors, for the report: stations apart, as the library's speed of
// a slow planet is noisy at 1e-8 degree a day, a progressed second of Uranus.
double worstEvent = 0.0;
double worstStation = 0.0;

bool Near(const Event& golden, const Event& found) {
    if (golden.key != found.key || golden.times.size() != found.times.size()) {
        return false;
    }
    double largest = 0.0;
    for (std::size_t i = 0; i < golden.times.size(); ++i) {
        if (golden.times[i].has_value() != found.times[i].has_value()) {
            return false;
        }
        if (golden.times[i]) {
            largest = std::max(largest, std::fabs(*golden.times[i] - *found.times[i]));
        }
    }
    if (largest > kEventSeconds) {
        return false;
    }
    double& worst = golden.key.rfind("station", 0) == 0 ? worstStation : worstEvent;
    worst = std::max(worst, largest);
    return true;
}

TEST(Progressions, EventsAsSwetest) {
    Ephemeris ephemeris;
    int cases = 0;
    const std::vector<std::vector<std::string>> lines = GoldenLines();
    for (std::size_t at = 0; at < lines.size(); ++at) {
        if (lines[at][0] != "case") {
            continue;
        }
        ++cases;
        SCOPED_TRACE(lines[at][1]);
        const std::vector<std::string>& range = lines[at + 2];
        const ChartRequest birth = BirthAt(lines[at + 4], 1);
        const Chart natal = NatalOf(ephemeris, birth);
        const Result<ForecastRange> span =
            DayRangeInZone(std::get<CivilDate>(ParseDate(range[1])),
                           std::get<CivilDate>(ParseDate(range[2])), lines[at + 1][1]);
        ASSERT_TRUE(span.Ok()) << span.Failure().message;
        const ProgressionSearch search =
            FindProgressions(ephemeris, natal, birth.latitude, span->span, {});
        ASSERT_TRUE(search.Ok()) << search.error;
        std::vector<Event> found = EventsOf(search);
        std::vector<bool> used(found.size(), false);
        std::size_t golden = 0;
        for (at += 6; lines[at][0] != "end"; ++at, ++golden) {
            const Event event = EventOf(lines[at]);
            bool matched = false;
            for (std::size_t i = 0; i < found.size() && !matched; ++i) {
                matched = !used[i] && Near(event, found[i]);
                used[i] = used[i] || matched;
            }
            EXPECT_TRUE(matched) << "missing: " << event.key;
        }
        EXPECT_EQ(found.size(), golden) << "events swetest has not";
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_TRUE(used[i]) << "not in the golden file: " << found[i].key;
        }
    }
    EXPECT_GE(cases, 3);
    std::cout << "worst error: events " << worstEvent << " s, stations " << worstStation << " s\n";
}

}  // namespace
}  // namespace tolvaris
