#include "core/chart/chart_placement.h"

#include <gtest/gtest.h>

namespace tolvaris {
namespace {

BirthData BerlinNewYear() {
    BirthData birth;
    birth.date = {1990, 1, 1};
    birth.time = CivilTime{12, 0, 0};
    birth.latitude = 52.52;
    birth.longitude = 13.405;
    birth.zone = "Europe/Berlin";
    return birth;
}

// Expected values from swetest, an independent program over the same files:
//   swetest -b1.1.1990 -ut11:00 -p0123456789 -house13.405,52.52,P -fPl -head
// Sun 280.7718 (Capricorn), Moon 332.7066 (Pisces), Jupiter 95.1544 (Cancer),
// Pluto 227.0920 (Scorpio); cusps 10 = 278.4921, 11 = 297.3420, 12 = 325.1482,
// 1 = 22.5564 (Aries rising), 3 = 81.3132, 4 = 98.4921, 7 = 202.5564, 8 = 240.6071.
TEST(PlacementOf, GivesPlanetSignAndHouseIndexes) {
    Ephemeris ephemeris;
    const BirthChartResult result = ComputeBirthChart(ephemeris, BerlinNewYear());
    ASSERT_TRUE(result.Ok()) << result.error.message;
    const struct {
        Point point;
        ChartPlacement expected;
    } cases[] = {
        {Point::Sun, {0, 9, 9}},                    // Capricorn, 10th house
        {Point::Moon, {1, 11, 11}},                 // Pisces, 12th house
        {Point::Jupiter, {5, 3, 2}},                // Cancer, 3rd house
        {Point::Pluto, {9, 7, 6}},                  // Scorpio, 7th house
        {Point::Ascendant, {10, 0, std::nullopt}},  // Aries rising; no house of its own
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(PointName(c.point));
        EXPECT_EQ(PlacementOf(result.value->chart, c.point), c.expected);
    }
}

TEST(PlacementOf, AnUnknownTimeGivesSignsWithoutHousesAndNoAscendant) {
    Ephemeris ephemeris;
    BirthData birth = BerlinNewYear();
    birth.time.reset();
    const BirthChartResult result = ComputeBirthChart(ephemeris, birth);
    ASSERT_TRUE(result.Ok()) << result.error.message;
    const std::optional<ChartPlacement> sun = PlacementOf(result.value->chart, Point::Sun);
    ASSERT_TRUE(sun.has_value());
    EXPECT_EQ(sun->signIndex, 9);
    EXPECT_FALSE(sun->houseIndex.has_value());
    EXPECT_FALSE(PlacementOf(result.value->chart, Point::Ascendant).has_value());
}

}  // namespace
}  // namespace tolvaris
