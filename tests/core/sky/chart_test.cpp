#include "core/sky/chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>

#include "core/ephemeris/ephemeris.h"
#include "support/birth_samples.h"

namespace tolvaris {
namespace {

ChartRequest Berlin1990() {
    return test::BerlinNewYearRequest();
}

bool AnyNoteContains(const Chart& chart, const std::string& text) {
    for (const std::string& note : chart.notes) {
        if (note.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(ChartRequestChecks, BadFieldsAreRefusedWithMessagesNamingThem) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double latitude;
        double longitude;
        std::int64_t seconds;
        const char* message;
    };
    const Case cases[] = {
        {90.0001, 0.0, 0, "Latitude must lie between -90 and 90 degrees."},
        {-91.0, 0.0, 0, "Latitude must lie between -90 and 90 degrees."},
        {kNaN, 0.0, 0, "Latitude must lie between -90 and 90 degrees."},
        {0.0, 180.5, 0, "Longitude must lie between -180 and 180 degrees."},
        {0.0, -181.0, 0, "Longitude must lie between -180 and 180 degrees."},
        {0.0, kNaN, 0, "Longitude must lie between -180 and 180 degrees."},
        {0.0, 0.0, -12212553601,  // 1582-12-31 23:59:59
         "Date must lie between the years 1583 and 2999 (Universal Time); 1582 is outside."},
        {0.0, 0.0, 32503680000,  // 3000-01-01 00:00
         "Date must lie between the years 1583 and 2999 (Universal Time); 3000 is outside."},
    };
    Ephemeris ephemeris;
    for (const Case& c : cases) {
        ChartRequest request;
        request.latitude = c.latitude;
        request.longitude = c.longitude;
        request.utSeconds = c.seconds;
        const ChartResult result = ComputeChart(ephemeris, request);
        EXPECT_FALSE(result.Ok()) << c.message;
        EXPECT_EQ(result.error, c.message);
    }
    ChartRequest badOrb = Berlin1990();
    badOrb.orbs[AspectKind::Square] = 16.0;
    EXPECT_EQ(ComputeChart(ephemeris, badOrb).error,
              "Square orb must lie between 0 and 15 degrees.");
}

TEST(ChartRequestChecks, EdgesOfTheRangesAreAccepted) {
    Ephemeris ephemeris;
    for (double latitude : {-90.0, 90.0}) {
        for (double longitude : {-180.0, 180.0}) {
            ChartRequest request = Berlin1990();
            request.timeKnown = false;  // no houses at a pole
            request.latitude = latitude;
            request.longitude = longitude;
            const ChartResult result = ComputeChart(ephemeris, request);
            EXPECT_TRUE(result.Ok()) << latitude << " " << longitude << ": " << result.error;
        }
    }
    ChartRequest first = Berlin1990();
    first.utSeconds = -12212553600;  // 1583-01-01 00:00
    EXPECT_TRUE(ComputeChart(ephemeris, first).Ok());
    ChartRequest last = Berlin1990();
    last.utSeconds = 32503679999;  // 2999-12-31 23:59:59
    EXPECT_TRUE(ComputeChart(ephemeris, last).Ok());
}

TEST(ChartContents, BodiesInOrderWithConsistentFields) {
    const ChartResult result = ComputeChart(Berlin1990());
    ASSERT_TRUE(result.Ok()) << result.error;
    const Chart& chart = *result.chart;
    EXPECT_EQ(chart.ephemeris, EphemerisUsed::Swiss);
    EXPECT_EQ(EphemerisUsedName(chart.ephemeris), "swiss");
    EXPECT_TRUE(chart.notes.empty());
    EXPECT_NEAR(chart.julianDayUt, 2447892.9583333333, 1e-9);
    ASSERT_EQ(chart.bodies.size(), kBodies.size());
    for (std::size_t i = 0; i < kBodies.size(); ++i) {
        const BodyPlacement& body = chart.bodies[i];
        EXPECT_EQ(body.body, kBodies[i]);
        EXPECT_EQ(body.name, PointName(kBodies[i]));
        EXPECT_EQ(body.retrograde, body.speed < 0.0) << body.name;
        EXPECT_NEAR(body.sign * 30.0 + body.degreeInSign, body.longitude, 1e-9) << body.name;
        EXPECT_TRUE(body.house.has_value()) << body.name;
    }
    // swetest -b1.1.1990 -ut11:00: Mercury, Venus and Jupiter retrograde that day.
    EXPECT_TRUE(chart.bodies[2].retrograde);
    EXPECT_TRUE(chart.bodies[3].retrograde);
    EXPECT_TRUE(chart.bodies[5].retrograde);
    EXPECT_FALSE(chart.bodies[0].retrograde);
    ASSERT_TRUE(chart.ascendant && chart.midheaven && chart.cusps);
    EXPECT_EQ(chart.ascendant->longitude, (*chart.cusps)[0]);  // Placidus: cusp 1 is the Ascendant
    EXPECT_EQ(chart.midheaven->longitude, (*chart.cusps)[9]);
    EXPECT_EQ(chart.houseSystemUsed, HouseSystem::Placidus);
}

TEST(ChartContents, UnknownTimeLeavesOutHousesAndAngles) {
    ChartRequest known = Berlin1990();
    ChartRequest unknown = known;
    unknown.timeKnown = false;
    Ephemeris ephemeris;
    const ChartResult withTime = ComputeChart(ephemeris, known);
    const ChartResult withoutTime = ComputeChart(ephemeris, unknown);
    ASSERT_TRUE(withTime.Ok() && withoutTime.Ok());
    const Chart& chart = *withoutTime.chart;
    EXPECT_FALSE(chart.cusps || chart.ascendant || chart.midheaven || chart.houseSystemUsed);
    EXPECT_EQ(chart.houseSystemRequested, HouseSystem::Placidus);
    ASSERT_EQ(chart.notes.size(), 1u);
    EXPECT_NE(chart.notes[0].find("birth time is unknown"), std::string::npos);
    for (std::size_t i = 0; i < chart.bodies.size(); ++i) {
        EXPECT_FALSE(chart.bodies[i].house.has_value());
        EXPECT_EQ(chart.bodies[i].longitude, withTime.chart->bodies[i].longitude);
    }
    bool ascendantAspectWithTime = false;
    for (const Aspect& aspect : withTime.chart->aspects) {
        ascendantAspectWithTime |= aspect.second == Point::Ascendant;
    }
    // That chart has Ascendant aspects (checked so the next loop means something).
    EXPECT_TRUE(ascendantAspectWithTime);
    for (const Aspect& aspect : chart.aspects) {
        EXPECT_NE(aspect.second, Point::Ascendant);
    }
}

TEST(ChartContents, OrbsFromTheRequestAreUsed) {
    ChartRequest request = Berlin1990();
    request.orbs = Orbs::Every(0.0);
    const ChartResult none = ComputeChart(request);
    ASSERT_TRUE(none.Ok());
    EXPECT_TRUE(none.chart->aspects.empty());
    request.orbs = Orbs::Every(15.0);
    const ChartResult wide = ComputeChart(request);
    const ChartResult normal = ComputeChart(Berlin1990());
    ASSERT_TRUE(wide.Ok() && normal.Ok());
    EXPECT_GT(wide.chart->aspects.size(), normal.chart->aspects.size());
}

TEST(PolarHouses, PlacidusAndKochFallBackToPorphyryWithANote) {
    struct Case {
        HouseSystem requested;
        double latitude;
        const char* note;
    };
    const Case cases[] = {
        {HouseSystem::Placidus, 70.0,
         "Placidus houses cannot be computed at latitude 70.00 N, inside a polar circle; "
         "Porphyry houses are shown instead."},
        {HouseSystem::Koch, -77.85,
         "Koch houses cannot be computed at latitude 77.85 S, inside a polar circle; "
         "Porphyry houses are shown instead."},
        {HouseSystem::Placidus, 89.99,
         "Placidus houses cannot be computed at latitude 89.99 N, inside a polar circle; "
         "Porphyry houses are shown instead."},
    };
    Ephemeris ephemeris;
    for (const Case& c : cases) {
        ChartRequest request = Berlin1990();
        request.latitude = c.latitude;
        request.houseSystem = c.requested;
        const ChartResult result = ComputeChart(ephemeris, request);
        ASSERT_TRUE(result.Ok()) << result.error;
        EXPECT_EQ(result.chart->houseSystemRequested, c.requested);
        EXPECT_EQ(result.chart->houseSystemUsed, HouseSystem::Porphyry);
        ASSERT_EQ(result.chart->notes.size(), 1u);
        EXPECT_EQ(result.chart->notes[0], c.note);
        // The cusps are those of Porphyry asked for directly.
        request.houseSystem = HouseSystem::Porphyry;
        const ChartResult porphyry = ComputeChart(ephemeris, request);
        ASSERT_TRUE(porphyry.Ok());
        EXPECT_TRUE(porphyry.chart->notes.empty());
        EXPECT_EQ(*result.chart->cusps, *porphyry.chart->cusps);
    }
}

TEST(PolarHouses, NoHouseSystemWithinATenThousandthOfAPole) {
    // swetest -house13.405,90,<letter> gives the Ascendant as 0 whatever the
    // time, and Regiomontanus cusps 2, 3 at 360 and 5 to 9 at 180.
    const std::tuple<HouseSystem, double, const char*> cases[] = {
        {HouseSystem::Regiomontanus, 90.0,
         "Regiomontanus houses cannot be computed at latitude 90.00 N"},
        {HouseSystem::WholeSign, -89.99995,
         "Whole Sign houses cannot be computed at latitude 90.00 S"},
        {HouseSystem::Equal, 89.9998, ""}};
    for (const auto& [system, latitude, error] : cases) {
        ChartRequest request = Berlin1990();
        request.latitude = latitude;
        request.houseSystem = system;
        const std::string message = ComputeChart(request).error;
        EXPECT_EQ(message.substr(0, std::strlen(error)), error) << latitude;
        EXPECT_EQ(message.empty(), *error == '\0') << message;
    }
}

TEST(PolarHouses, SystemsDefinedThereKeepTheirOwn) {
    Ephemeris ephemeris;
    for (HouseSystem system : {HouseSystem::Porphyry, HouseSystem::Regiomontanus,
                               HouseSystem::Campanus, HouseSystem::Equal, HouseSystem::WholeSign}) {
        ChartRequest request = Berlin1990();
        request.latitude = 70.0;
        request.houseSystem = system;
        const ChartResult result = ComputeChart(ephemeris, request);
        ASSERT_TRUE(result.Ok()) << result.error;
        EXPECT_EQ(result.chart->houseSystemUsed, system) << HouseSystemKey(system);
        EXPECT_TRUE(result.chart->notes.empty()) << HouseSystemKey(system);
        for (const BodyPlacement& body : result.chart->bodies) {
            EXPECT_TRUE(body.house.has_value()) << HouseSystemKey(system) << " " << body.name;
        }
    }
    // Just outside the polar circle Placidus still works.
    ChartRequest request = Berlin1990();
    request.latitude = 66.0;
    const ChartResult result = ComputeChart(ephemeris, request);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(result.chart->houseSystemUsed, HouseSystem::Placidus);
}

TEST(EphemerisChoice, YearsOutsideTheFilesUseTheBuiltInEphemerisWithANote) {
    Ephemeris ephemeris;
    struct Case {
        std::int64_t seconds;
        EphemerisUsed used;
    };
    const Case cases[] = {
        {-12212553600, EphemerisUsed::Moshier},  // 1583-01-01 00:00
        {-5364619200, EphemerisUsed::Moshier},   // 1800-01-01 12:00
        {-5364576001, EphemerisUsed::Moshier},   // 1800-01-01 23:59:59
        {-5364576000, EphemerisUsed::Swiss},     // 1800-01-02 00:00
        {13569465599, EphemerisUsed::Swiss},     // 2399-12-31 23:59:59
        {13569465600, EphemerisUsed::Moshier},   // 2400-01-01 00:00
        {32503679999, EphemerisUsed::Moshier},   // 2999-12-31 23:59:59
        {-5364576000, EphemerisUsed::Swiss},     // again, after the built-in one
    };
    for (const Case& c : cases) {
        ChartRequest request = Berlin1990();
        request.utSeconds = c.seconds;
        const ChartResult result = ComputeChart(ephemeris, request);
        ASSERT_TRUE(result.Ok()) << c.seconds << ": " << result.error;
        EXPECT_EQ(result.chart->ephemeris, c.used) << c.seconds;
        const bool noted =
            AnyNoteContains(*result.chart, "cover only 2 January 1800 to 31 December 2399");
        EXPECT_EQ(noted, c.used == EphemerisUsed::Moshier) << c.seconds;
    }
}

}  // namespace
}  // namespace tolvaris
