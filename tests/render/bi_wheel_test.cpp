// The bi-wheel of two charts: the second's bodies on the outer ring, each
// contact a chord of the aspect circle between the two points' rays.
#include "render/bi_wheel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/ephemeris/zodiac.h"
#include "support/wheel_charts.h"

namespace tolvaris {
namespace {

// Counterclockwise on the screen from the left-hand direction, from the
// pixels' coordinates.
double MeasuredAngle(QPointF centre, QPointF point) {
    return NormaliseDegrees(std::atan2(point.y() - centre.y(), centre.x() - point.x()) * 180.0 /
                            std::numbers::pi);
}

TEST(BiWheel, OuterRingHoldsTheSecondChartAndLinesJoinBothPoints) {
    const test::HandPair pair = test::ComparisonPair();
    const Chart first = test::MakeChart(pair.first);
    const Chart second = test::MakeChart(pair.second);
    const Synastry synastry = ComputeSynastry(first, second, Orbs{});
    const BiWheelLayout layout = LayoutBiWheel(QRectF(0, 0, 700, 700), first, second, synastry);

    ASSERT_EQ(layout.wheel.outerBodies.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_DOUBLE_EQ(layout.wheel.outerBodies[i].longitude, pair.second.longitudes[i]);
    }
    // 36 contacts less the five conjunctions, which draw no line.
    EXPECT_EQ(layout.lines.size(), 31u);

    // The first chart's Ascendant (75) is at the left, the zodiac counterclockwise.
    const struct {
        NatalPoint first;
        NatalPoint second;
        double innerAngle;
        double outerAngle;
    } cases[] = {
        {NatalPoint::Pluto, NatalPoint::Sun, 192 - 75, 132 - 75},
        {NatalPoint::Ascendant, NatalPoint::Pluto, 0, 312 - 75},
        {NatalPoint::Uranus, NatalPoint::Neptune, 271 - 75, 186.5 - 75},
        {NatalPoint::Sun, NatalPoint::Mars, 10 + 360 - 75, 276.5 - 75},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(NatalPointName(c.first)) + " to " +
                     std::string(NatalPointName(c.second)));
        const auto line = std::find_if(layout.lines.begin(), layout.lines.end(), [&](auto& l) {
            return l.first == c.first && l.second == c.second;
        });
        ASSERT_NE(line, layout.lines.end());
        const QPointF centre = layout.wheel.centre;
        for (const QPointF end : {line->inner, line->outer}) {
            EXPECT_NEAR(std::hypot(end.x() - centre.x(), end.y() - centre.y()),
                        layout.wheel.aspectRadius, 1e-6);
        }
        EXPECT_NEAR(MeasuredAngle(centre, line->inner), c.innerAngle, 1e-6);
        EXPECT_NEAR(MeasuredAngle(centre, line->outer), c.outerAngle, 1e-6);
    }
}

}  // namespace
}  // namespace tolvaris
