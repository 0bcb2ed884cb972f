// The transit search against the events scripts/make-transit-golden located
// with swetest: every window, exact pass, ingress and station found once,
// within a minute (stations within half an hour), and nothing more.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/ephemeris/ephemeris.h"
#include "core/forecast/forecast_range.h"
#include "core/forecast/transits.h"
#include "core/sky/chart.h"
#include "core/time/civil_time.h"

namespace tolvaris {
namespace {

constexpr double kEventTolerance = 60.0;
constexpr double kStationTolerance = 1800.0;

struct GoldenCase {
    std::string name;
    std::string zone;
    CivilDate first;
    CivilDate last;
    TransitSpan span;
    TransitSettings settings;
    Chart natal;
    std::vector<std::string> transits;  // "Body Natal kind enter leave exact"
    std::vector<std::string> ingresses;
    std::vector<std::string> stations;
};

Point PointNamed(const std::string& name) {
    for (const PointRow& row : kPoints) {
        if (row.name == name) {
            return row.point;
        }
    }
    ADD_FAILURE() << "no point " << name;
    return Point::Sun;
}

CivilDate DateOf(const std::string& text) {
    return std::get<CivilDate>(ParseDate(text));
}

std::vector<GoldenCase> ReadGolden() {
    std::ifstream in(TOLVARIS_TRANSIT_GOLDEN);
    std::vector<GoldenCase> cases;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "case") {
            cases.emplace_back();
            fields >> cases.back().name;
            continue;
        }
        if (cases.empty() || key.empty() || key[0] == '#') {
            continue;
        }
        GoldenCase& c = cases.back();
        std::string rest;
        std::getline(fields >> std::ws, rest);
        std::istringstream values(rest);
        if (key == "zone") {
            c.zone = rest;
        } else if (key == "range") {
            std::string first, last;
            values >> first >> last;
            c.first = DateOf(first);
            c.last = DateOf(last);
        } else if (key == "span") {
            values >> c.span.fromUt >> c.span.toUt;
        } else if (key == "bodies") {
            std::string name;
            while (std::getline(values, name, ',')) {
                c.settings.bodies.push_back(PointNamed(name));
            }
        } else if (key == "orb") {
            values >> c.settings.orb;
        } else if (key == "natal") {
            std::string name;
            double longitude = 0.0;
            values >> name >> longitude;
            const AnglePlacement angle{longitude, 0, 0.0};
            if (name == "Ascendant") {
                c.natal.ascendant = angle;
            } else if (name == "Midheaven") {
                c.natal.midheaven = angle;
            } else {
                const Point body = PointNamed(name);
                c.natal.bodies.push_back(
                    {body, PointName(body), longitude, 0.0, 0, 0.0, {}, false});
            }
        } else if (key == "cusps") {
            HouseCusps cusps{};
            for (double& cusp : cusps) {
                values >> cusp;
            }
            c.natal.cusps = cusps;
        } else if (key == "transit") {
            c.transits.push_back(rest);
        } else if (key == "ingress") {
            c.ingresses.push_back(rest);
        } else if (key == "station") {
            c.stations.push_back(rest);
        }
    }
    return cases;
}

// The largest error of each kind over all cases, for the report.
double worstEvent = 0.0;
double worstStation = 0.0;

// Whether `found` lies within `tolerance` of the golden time; "-" matches none.
bool Near(const std::string& golden, std::optional<std::int64_t> found, double tolerance,
          double& worst) {
    if (golden == "-" || !found) {
        return golden == "-" && !found;
    }
    const double error = std::fabs(std::stod(golden) - static_cast<double>(*found));
    if (error > tolerance) {
        return false;
    }
    worst = std::max(worst, error);
    return true;
}

bool Matches(const std::string& golden, const Transit& transit) {
    std::istringstream fields(golden);
    std::string body, natal, kind, enter, leave, exact;
    fields >> body >> natal >> kind >> enter >> leave >> exact;
    if (PointName(transit.transiting) != body || NatalPointName(transit.natal) != natal ||
        AspectKindName(transit.kind) != kind) {
        return false;
    }
    double worst = worstEvent;
    if (!Near(enter, transit.enter, kEventTolerance, worst) ||
        !Near(leave, transit.leave, kEventTolerance, worst)) {
        return false;
    }
    std::size_t count = 0;
    std::istringstream passes(exact == "-" ? "" : exact);
    std::string pass;
    while (std::getline(passes, pass, ',')) {
        if (count >= transit.exact.size()) {
            return false;
        }
        const ExactPass& found = transit.exact[count++];
        if (found.retrograde != (pass.back() == 'R') ||
            !Near(pass.substr(0, pass.size() - 1), found.utSeconds, kEventTolerance, worst)) {
            return false;
        }
    }
    worstEvent = worst;
    return count == transit.exact.size();
}

// Each golden line matches one event found, and no event is left over.
template <class Found, class Match>
void ExpectOneToOne(const std::vector<std::string>& golden, const std::vector<Found>& found,
                    const char* what, Match match) {
    std::vector<bool> used(found.size(), false);
    for (const std::string& line : golden) {
        bool matched = false;
        for (std::size_t i = 0; i < found.size() && !matched; ++i) {
            matched = !used[i] && match(line, found[i]);
            used[i] = used[i] || matched;
        }
        EXPECT_TRUE(matched) << "missing " << what << " " << line;
    }
    EXPECT_EQ(found.size(), golden.size()) << what << ": found some that swetest has not";
}

// At each golden exact pass the transit is in effect, all but exact, with
// the pass's motion; ten minutes before it applies, ten minutes after it
// separates.
void ExpectInEffectAtPasses(Ephemeris& ephemeris, const GoldenCase& c) {
    for (const std::string& golden : c.transits) {
        std::istringstream fields(golden);
        std::string body, natal, kind, enter, leave, exact;
        fields >> body >> natal >> kind >> enter >> leave >> exact;
        std::istringstream passes(exact == "-" ? "" : exact);
        std::string pass;
        while (std::getline(passes, pass, ',')) {
            const auto at = static_cast<std::int64_t>(std::llround(std::stod(pass)));
            for (const std::int64_t offset : {-600, 0, 600}) {
                SCOPED_TRACE(golden + " at " + std::to_string(offset) + " s");
                const TransitsNow now =
                    TransitsInEffect(ephemeris, c.natal, at + offset, c.settings);
                const TransitInEffect* found = nullptr;
                for (const TransitInEffect& t : now.transits) {
                    if (PointName(t.transiting) == body && NatalPointName(t.natal) == natal &&
                        AspectKindName(t.kind) == kind &&
                        (!found || t.distance < found->distance)) {
                        found = &t;
                    }
                }
                ASSERT_NE(found, nullptr);
                EXPECT_EQ(found->retrograde, pass.back() == 'R');
                if (offset == 0) {
                    EXPECT_LT(found->distance, 0.01);
                } else {
                    EXPECT_EQ(found->applying, offset < 0);
                }
            }
        }
    }
}

TEST(TransitSearch, FindsWhatSwetestFinds) {
    const std::vector<GoldenCase> cases = ReadGolden();
    ASSERT_GE(cases.size(), 4U);
    Ephemeris ephemeris;
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<ForecastRange> range = DayRangeInZone(c.first, c.last, c.zone);
        ASSERT_TRUE(range.Ok()) << range.Failure().message;
        EXPECT_EQ(range->span.fromUt, c.span.fromUt);
        EXPECT_EQ(range->span.toUt, c.span.toUt);
        const TransitSearch search = FindTransits(ephemeris, c.natal, range->span, c.settings);
        ASSERT_TRUE(search.Ok()) << search.error;

        ExpectOneToOne(c.transits, search.transits, "transit", Matches);
        ExpectOneToOne(c.ingresses, search.ingresses, "ingress",
                       [](const std::string& golden, const HouseIngress& ingress) {
                           std::istringstream fields(golden);
                           std::string body, time, motion;
                           int house = 0;
                           fields >> body >> house >> time >> motion;
                           return PointName(ingress.transiting) == body && ingress.house == house &&
                                  ingress.retrograde == (motion == "R") &&
                                  Near(time, ingress.utSeconds, kEventTolerance, worstEvent);
                       });
        ExpectOneToOne(c.stations, search.stations, "station",
                       [](const std::string& golden, const Station& station) {
                           std::istringstream fields(golden);
                           std::string body, time, turns;
                           fields >> body >> time >> turns;
                           return PointName(station.body) == body &&
                                  station.turnsRetrograde == (turns == "retrograde") &&
                                  Near(time, station.utSeconds, kStationTolerance, worstStation);
                       });
        EXPECT_EQ(search.notes.size(), c.natal.cusps ? 0U : 1U);
        ExpectInEffectAtPasses(ephemeris, c);
    }
    std::cout << "worst error: events " << worstEvent << " s, stations " << worstStation << " s\n";
}

}  // namespace
}  // namespace tolvaris
