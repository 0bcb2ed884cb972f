#include "support/wheel_charts.h"

#include "core/ephemeris/zodiac.h"

namespace tolvaris::test {

Chart MakeChart(const HandChart& hand) {
    Chart chart;
    std::vector<PointLongitude> points;
    for (std::size_t i = 0; i < hand.longitudes.size(); ++i) {
        const double longitude = NormaliseDegrees(hand.longitudes[i]);
        const bool retrograde = i < hand.retrograde.size() && hand.retrograde[i];
        chart.bodies.push_back({kBodies[i], PointName(kBodies[i]), longitude,
                                retrograde ? -0.1 : 1.0, SignIndex(longitude),
                                DegreeInSign(longitude), std::nullopt, retrograde});
        points.push_back({kBodies[i], longitude});
    }
    if (hand.ascendant) {
        const double asc = NormaliseDegrees(*hand.ascendant);
        chart.ascendant = AnglePlacement{asc, SignIndex(asc), DegreeInSign(asc)};
        const double mc = NormaliseDegrees(asc - 90.0);
        chart.midheaven = AnglePlacement{mc, SignIndex(mc), DegreeInSign(mc)};
        HouseCusps cusps{};
        for (std::size_t house = 0; house < cusps.size(); ++house) {
            cusps[house] = NormaliseDegrees(asc + 30.0 * static_cast<double>(house));
        }
        chart.cusps = cusps;
        chart.houseSystemUsed = HouseSystem::Equal;
        points.push_back({Point::Ascendant, asc});
    }
    chart.aspects = FindAspects(points, Orbs{});
    return chart;
}

HandPair ComparisonPair() {
    return {{"Ada", 75.0, {10, 47, 22, 303, 164, 208, 339, 271, 236, 192}, {}},
            {"Bo", std::nullopt, {132, 85, 350, 17, 276.5, 58, 113, 245, 186.5, 312}, {}}};
}

std::vector<HandChart> WheelTestCharts() {
    return {
        {"spread evenly", 17.0, {0, 36, 72, 108, 144, 180, 216, 252, 288, 324}, {}},
        {"four within five degrees",
         100.0,
         {10.0, 11.5, 12.2, 14.9, 200, 230, 260, 290, 320, 350},
         {false, true, false, true}},
        {"four within one degree at the Ascendant",
         123.4,
         {123.0, 123.3, 123.6, 123.9, 40, 70, 200, 250, 300, 330},
         {}},
        {"five on the Ascendant",
         200.0,
         {198.6, 199.3, 200.1, 200.8, 201.7, 20, 80, 110, 290, 320},
         {false, true, false, false, true}},
        {"cluster across 0 Aries",
         250.0,
         {358.5, 359.4, 0.3, 1.2, 2.0, 90, 150, 180, 210, 270},
         {true, false, true, false, true}},
        {"all ten in one sign",
         300.0,
         {61, 63, 64.5, 66, 68, 70, 72.5, 75, 77, 80},
         {false, false, true, true, false, false, true, false, true, false}},
        {"two clusters opposite", 5.0, {45, 46, 47, 48.5, 225, 226.5, 227, 228, 120, 300}, {}},
        {"time unknown, cluster",
         std::nullopt,
         {280.77, 332.71, 295.68, 306.23, 249.97, 95.15, 285.65, 275.78, 282.04, 227.09},
         {false, false, true, true, false, true}},
        {"time unknown, tight",
         std::nullopt,
         {0.1, 0.4, 0.9, 1.3, 359.7, 180, 181, 182, 90, 270},
         {}},
    };
}

}  // namespace tolvaris::test
