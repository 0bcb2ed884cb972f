#include "core/chart/birth_chart.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/birth_samples.h"

namespace tolvaris {
namespace {

BirthData Berlin(CivilDate date, std::optional<CivilTime> time) {
    BirthData birth = test::BerlinNewYear();
    birth.date = date;
    birth.time = time;
    return birth;
}

TEST(ComputeBirthChart, JoinsTheZoneOffsetToThePositions) {
    Ephemeris ephemeris;
    const BirthChartResult result =
        ComputeBirthChart(ephemeris, Berlin({1990, 1, 1}, CivilTime{12, 0, 0}));
    ASSERT_TRUE(result.Ok()) << result.error.message;
    const BirthChart& chart = *result.value;
    // 1990-01-01T11:00:00Z; swetest -b1.1.1990 -ut11:00 -p0 gives the Sun at 280.7718.
    EXPECT_EQ(chart.universalTime.unixSeconds, 631191600);
    EXPECT_EQ(chart.universalTime.offsetSeconds, 3600);
    EXPECT_EQ(OffsetSourceName(chart.universalTime.source), "zone");
    EXPECT_NEAR(chart.chart.bodies.at(0).longitude, 280.7718, 0.001);
    EXPECT_TRUE(chart.chart.ascendant.has_value());
}

TEST(ComputeBirthChart, RefusesWithOneMessageAndKeepsBothReadingsOfARepeatedHour) {
    Ephemeris ephemeris;
    BirthData noZone = Berlin({1990, 1, 1}, CivilTime{12, 0, 0});
    noZone.zone.clear();
    BirthData farNorth = Berlin({1990, 1, 1}, CivilTime{12, 0, 0});
    farNorth.latitude = 91;
    const struct {
        BirthData birth;
        const char* message;
    } cases[] = {
        {noZone, "Give a time zone or a UTC offset."},
        {farNorth, "Latitude must lie between -90 and 90 degrees."},
        {Berlin({1990, 3, 25}, CivilTime{2, 30, 0}),
         "02:30 on 25 March 1990 did not exist in Europe/Berlin: clocks went from 02:00 to "
         "03:00."},
        {Berlin({9999, 10, 31}, CivilTime{2, 30, 0}),
         "Date must lie between the years 1583 and 2999; 9999 is outside."},
    };
    for (const auto& c : cases) {
        const BirthChartResult result = ComputeBirthChart(ephemeris, c.birth);
        EXPECT_FALSE(result.Ok());
        EXPECT_EQ(result.error.kind, ErrorKind::Input);
        EXPECT_EQ(result.error.message, c.message);
    }
    const BirthChartResult twice =
        ComputeBirthChart(ephemeris, Berlin({1990, 9, 30}, CivilTime{2, 30, 0}));
    ASSERT_FALSE(twice.Ok());
    EXPECT_EQ(twice.error.kind, ErrorKind::RepeatedTime);
    EXPECT_EQ(twice.error.field, BirthField::Time);
    ASSERT_TRUE(twice.repeated.has_value());
    EXPECT_EQ(twice.repeated->earlierOffsetSeconds, 7200);
    EXPECT_EQ(twice.repeated->laterOffsetSeconds, 3600);
}

TEST(ComputeBirthChart, AnUnknownTimeGivesNoHousesAndSaysSo) {
    Ephemeris ephemeris;
    const BirthChartResult result = ComputeBirthChart(ephemeris, Berlin({1990, 1, 1}, {}));
    ASSERT_TRUE(result.Ok()) << result.error.message;
    EXPECT_FALSE(result.value->chart.cusps.has_value());
    EXPECT_FALSE(result.value->chart.ascendant.has_value());
    EXPECT_FALSE(result.value->notes.empty());
}

}  // namespace
}  // namespace tolvaris
