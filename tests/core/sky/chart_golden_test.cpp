// Charts compared with reference charts that Debian's swetest wrote (see
// scripts/make-ephemeris-golden): positions and cusps within 0.001 degree,
// signs, houses and aspects exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/ephemeris/ephemeris.h"
#include "core/ephemeris/ut_instant.h"
#include "core/sky/chart.h"
#include "core/sky/sky_positions.h"

namespace tolvaris {
namespace {

constexpr double kTolerance = 0.001;

struct GoldenBody {
    std::string name;
    double longitude = 0.0;
    double speed = 0.0;
    int sign = 0;
    int house = 0;  // 0: none
};

struct GoldenAngle {
    double longitude = 0.0;
    int sign = 0;
};

struct GoldenAspect {
    std::string first;
    std::string second;
    std::string kind;
    double orb = 0.0;
};

struct GoldenChart {
    std::string label;
    ChartRequest request;
    std::string ephemeris;
    std::string housesUsed;
    std::vector<double> cusps;
    GoldenAngle ascendant;
    GoldenAngle midheaven;
    std::vector<GoldenBody> bodies;
    std::vector<GoldenAspect> aspects;
};

// Reads "key=value" and returns value.
std::string ValueOf(const std::string& field, const std::string& key) {
    if (field.rfind(key + "=", 0) != 0) {
        ADD_FAILURE() << "expected " << key << "= in " << field;
        return "0";
    }
    return field.substr(key.size() + 1);
}

std::vector<GoldenChart> ReadGolden() {
    std::ifstream in(TOLVARIS_EPHEMERIS_GOLDEN);
    EXPECT_TRUE(in) << "cannot read " << TOLVARIS_EPHEMERIS_GOLDEN;
    std::vector<GoldenChart> charts;
    GoldenChart current;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream words(line);
        std::string tag;
        words >> tag;
        if (tag == "birth") {
            current = GoldenChart{};
            std::string seconds, latitude, longitude, system, time;
            words >> current.label >> seconds >> latitude >> longitude >> system >> time;
            current.request.utSeconds = std::stoll(ValueOf(seconds, "unix"));
            current.request.latitude = std::stod(ValueOf(latitude, "lat"));
            current.request.longitude = std::stod(ValueOf(longitude, "lon"));
            const auto parsed = ParseHouseSystem(ValueOf(system, "system"));
            EXPECT_TRUE(parsed.has_value()) << line;
            current.request.houseSystem = parsed.value_or(kDefaultHouseSystem);
            current.request.timeKnown = ValueOf(time, "time") == "known";
        } else if (tag == "ephemeris") {
            words >> current.ephemeris;
        } else if (tag == "houses-used") {
            words >> current.housesUsed;
        } else if (tag == "cusp") {
            int number = 0;
            double longitude = 0.0;
            words >> number >> longitude;
            EXPECT_EQ(number, static_cast<int>(current.cusps.size()) + 1) << line;
            current.cusps.push_back(longitude);
        } else if (tag == "ascendant" || tag == "midheaven") {
            GoldenAngle& angle = tag == "ascendant" ? current.ascendant : current.midheaven;
            std::string sign;
            words >> angle.longitude >> sign;
            angle.sign = std::stoi(ValueOf(sign, "sign"));
        } else if (tag == "body") {
            GoldenBody body;
            std::string sign, house;
            words >> body.name >> body.longitude >> body.speed >> sign >> house;
            body.sign = std::stoi(ValueOf(sign, "sign"));
            body.house = std::stoi(ValueOf(house, "house"));
            current.bodies.push_back(body);
        } else if (tag == "aspect") {
            GoldenAspect aspect;
            words >> aspect.first >> aspect.second >> aspect.kind >> aspect.orb;
            current.aspects.push_back(aspect);
        } else if (tag == "end") {
            charts.push_back(current);
        } else {
            ADD_FAILURE() << "unknown line: " << line;
        }
        EXPECT_FALSE(words.fail()) << line;
    }
    return charts;
}

bool AnyNoteContains(const Chart& chart, const std::string& text) {
    for (const std::string& note : chart.notes) {
        if (note.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

void ExpectChartMatches(const GoldenChart& golden, const Chart& chart) {
    EXPECT_EQ(EphemerisUsedName(chart.ephemeris), golden.ephemeris);
    EXPECT_EQ(AnyNoteContains(chart, "Moshier"), golden.ephemeris == "moshier");
    EXPECT_EQ(chart.houseSystemRequested, golden.request.houseSystem);

    if (golden.request.timeKnown) {
        ASSERT_TRUE(chart.houseSystemUsed.has_value());
        EXPECT_EQ(HouseSystemKey(*chart.houseSystemUsed), golden.housesUsed);
        EXPECT_EQ(AnyNoteContains(chart, "polar circle"),
                  *chart.houseSystemUsed != chart.houseSystemRequested);
        ASSERT_TRUE(chart.cusps.has_value());
        ASSERT_EQ(golden.cusps.size(), 12u);
        for (std::size_t i = 0; i < 12; ++i) {
            EXPECT_LE(AngularSeparation((*chart.cusps)[i], golden.cusps[i]), kTolerance)
                << "cusp " << i + 1;
        }
        ASSERT_TRUE(chart.ascendant && chart.midheaven);
        EXPECT_LE(AngularSeparation(chart.ascendant->longitude, golden.ascendant.longitude),
                  kTolerance);
        EXPECT_EQ(chart.ascendant->sign, golden.ascendant.sign);
        EXPECT_LE(AngularSeparation(chart.midheaven->longitude, golden.midheaven.longitude),
                  kTolerance);
        EXPECT_EQ(chart.midheaven->sign, golden.midheaven.sign);
    } else {
        EXPECT_FALSE(chart.houseSystemUsed || chart.cusps || chart.ascendant || chart.midheaven);
        EXPECT_TRUE(AnyNoteContains(chart, "time is unknown"));
    }

    ASSERT_EQ(chart.bodies.size(), golden.bodies.size());
    for (std::size_t i = 0; i < chart.bodies.size(); ++i) {
        const BodyPlacement& body = chart.bodies[i];
        const GoldenBody& expected = golden.bodies[i];
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(body.name, expected.name);
        EXPECT_LE(AngularSeparation(body.longitude, expected.longitude), kTolerance);
        EXPECT_NEAR(body.speed, expected.speed, kTolerance);
        EXPECT_EQ(body.retrograde, expected.speed < 0.0);
        EXPECT_EQ(body.sign, expected.sign);
        EXPECT_EQ(body.house.value_or(0), expected.house);
    }

    ASSERT_EQ(chart.aspects.size(), golden.aspects.size());
    for (std::size_t i = 0; i < chart.aspects.size(); ++i) {
        const Aspect& aspect = chart.aspects[i];
        const GoldenAspect& expected = golden.aspects[i];
        EXPECT_EQ(PointName(aspect.first), expected.first) << i;
        EXPECT_EQ(PointName(aspect.second), expected.second) << i;
        EXPECT_EQ(AspectKindName(aspect.kind), expected.kind) << i;
        EXPECT_NEAR(aspect.orb, expected.orb, kTolerance) << i;
    }
}

TEST(ChartGolden, EveryReferenceChartMatches) {
    const std::vector<GoldenChart> charts = ReadGolden();
    ASSERT_GE(charts.size(), 30u);
    Ephemeris ephemeris;
    for (const GoldenChart& golden : charts) {
        SCOPED_TRACE(golden.label);
        const ChartResult result = ComputeChart(ephemeris, golden.request);
        ASSERT_TRUE(result.Ok()) << result.error;
        ExpectChartMatches(golden, *result.chart);
    }
}

// Positions alone, for any list of bodies in any order: what transits and
// returns ask for. The Ascendant needs a place and is refused.
TEST(SkyGolden, PositionsAtEveryReferenceInstantInTheOrderAsked) {
    const std::vector<GoldenChart> charts = ReadGolden();
    ASSERT_FALSE(charts.empty());
    Ephemeris ephemeris;
    const std::vector<Point> asked = {Point::Pluto, Point::Moon, Point::Sun, Point::Mercury};
    for (const GoldenChart& golden : charts) {
        SCOPED_TRACE(golden.label);
        const double julianDay = JulianDayUtFromUnixSeconds(golden.request.utSeconds);
        const SkyPositions sky = PositionsAt(ephemeris, julianDay, asked);
        ASSERT_TRUE(sky.Ok()) << sky.error;
        EXPECT_EQ(sky.source == PositionSource::Files, golden.ephemeris == "swiss");
        ASSERT_EQ(sky.positions.size(), asked.size());
        for (std::size_t i = 0; i < asked.size(); ++i) {
            const SkyPosition& position = sky.positions[i];
            const GoldenBody& expected = golden.bodies[IndexOf(asked[i])];
            SCOPED_TRACE(expected.name);
            EXPECT_EQ(PointName(position.body), expected.name);
            EXPECT_LE(AngularSeparation(position.longitude, expected.longitude), kTolerance);
            EXPECT_NEAR(position.speed, expected.speed, kTolerance);
            EXPECT_EQ(position.retrograde, expected.speed < 0.0);
            EXPECT_EQ(position.sign, expected.sign);
        }
    }
    const std::vector<Point> withAscendant = {Point::Sun, Point::Ascendant};
    const SkyPositions refused = PositionsAt(ephemeris, 2451545.0, withAscendant);
    EXPECT_FALSE(refused.Ok());
    EXPECT_TRUE(refused.positions.empty());
}

// The reference set itself must keep covering what it is there for.
TEST(ChartGolden, ReferenceSetCoversSystemsHemispheresAndBoundaries) {
    const std::vector<GoldenChart> charts = ReadGolden();
    std::set<HouseSystem> systems;
    int north = 0, south = 0, nearSign = 0, nearCusp = 0, fallbacks = 0, moshier = 0;
    for (const GoldenChart& golden : charts) {
        systems.insert(golden.request.houseSystem);
        (golden.request.latitude >= 0 ? north : south) += 1;
        fallbacks +=
            golden.housesUsed == "porphyry" && golden.request.houseSystem != HouseSystem::Porphyry;
        moshier += golden.ephemeris == "moshier";
        for (const GoldenBody& body : golden.bodies) {
            const double inSign = std::fmod(body.longitude, 30.0);
            nearSign += std::min(inSign, 30.0 - inSign) < 0.01;
            for (double cusp : golden.cusps) {
                nearCusp += AngularSeparation(body.longitude, cusp) < 0.01;
            }
        }
    }
    EXPECT_EQ(systems.size(), kHouseSystems.size());
    EXPECT_GE(north, 10);
    EXPECT_GE(south, 10);
    EXPECT_GE(nearSign, 4);
    EXPECT_GE(nearCusp, 4);
    EXPECT_GE(fallbacks, 2);
    EXPECT_GE(moshier, 2);
}

}  // namespace
}  // namespace tolvaris
