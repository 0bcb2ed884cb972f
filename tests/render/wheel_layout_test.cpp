// The wheel's geometry: every leader from its own longitude, nothing
// overlapping or crossed, nothing outside the picture, for clusters as tight
// as charts get.
#include "render/wheel_layout.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

#include "core/chart/birth_chart.h"
#include "core/ephemeris/zodiac.h"
#include "render/wheel_glyphs.h"
#include "support/wheel_charts.h"

namespace tolvaris {
namespace {

// The angle of `point` seen from `centre`, counterclockwise on the screen
// from the left-hand direction: measured here from the pixels' coordinates,
// independently of the layout's own formula.
double MeasuredAngle(QPointF centre, QPointF point) {
    const double dx = point.x() - centre.x();
    const double dy = point.y() - centre.y();
    // Screen y points down: counterclockwise from the left is (-dx, +dy).
    return NormaliseDegrees(std::atan2(dy, -dx) * 180.0 / std::numbers::pi);
}

double AngleDifference(double a, double b) {
    const double d = NormaliseDegrees(a - b);
    return std::min(d, 360.0 - d);
}

TEST(SpreadAngles, KeepsWhatIsFarApartAndSpreadsClusters) {
    const struct {
        const char* name;
        std::vector<double> wanted;
        double halfWidth;
    } cases[] = {
        {"apart", {0, 90, 180, 270}, 5},
        {"pair", {100, 101}, 5},
        {"four within five", {10, 11.5, 12.2, 14.9}, 4},
        {"across zero", {358, 359, 0, 1, 2}, 3},
        {"one", {42}, 10},
        {"ten in a sign", {61, 63, 64.5, 66, 68, 70, 72.5, 75, 77, 80}, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> halfWidths(c.wanted.size(), c.halfWidth);
        const std::vector<double> got = SpreadAngles(c.wanted, halfWidths);
        ASSERT_EQ(got.size(), c.wanted.size());
        double largestMove = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_GE(got[i], 0.0);
            EXPECT_LT(got[i], 360.0);
            largestMove = std::max(largestMove, AngleDifference(got[i], c.wanted[i]));
            for (std::size_t j = i + 1; j < got.size(); ++j) {
                EXPECT_GE(AngleDifference(got[i], got[j]), 2 * c.halfWidth - 1e-6)
                    << "labels " << i << " and " << j;
            }
        }
        // Nobody moves further than the whole cluster is wide.
        EXPECT_LE(largestMove, 2 * c.halfWidth * static_cast<double>(got.size()));
        if (std::string(c.name) == "apart" || std::string(c.name) == "one") {
            EXPECT_LT(largestMove, 1e-9) << "nothing needed to move";
        }
    }
}

TEST(SpreadAngles, KeepsTheOrderAroundTheCircleAndCentresAPair) {
    const std::vector<double> got = SpreadAngles({100, 101}, {5, 5});
    EXPECT_NEAR(got[0], 95.5, 1e-9);
    EXPECT_NEAR(got[1], 105.5, 1e-9);
    const std::vector<double> wrapped = SpreadAngles({359.5, 0.5}, {2, 2});
    EXPECT_NEAR(wrapped[0], 358.0, 1e-9);
    EXPECT_NEAR(wrapped[1], 2.0, 1e-9);
}

double Turn(QPointF o, QPointF u, QPointF v) {
    return (u.x() - o.x()) * (v.y() - o.y()) - (u.y() - o.y()) * (v.x() - o.x());
}

// Proper crossing of two segments.
bool Cross(const QLineF& a, const QLineF& b) {
    return Turn(a.p1(), a.p2(), b.p1()) * Turn(a.p1(), a.p2(), b.p2()) < 0 &&
           Turn(b.p1(), b.p2(), a.p1()) * Turn(b.p1(), b.p2(), a.p2()) < 0;
}

// A segment meets a convex polygon (either winding) if an end lies inside
// or it crosses an edge.
bool Meets(const QLineF& line, const QPolygonF& shape) {
    bool crosses = false;
    double first = 0;
    bool inside[2] = {true, true};
    for (qsizetype i = 0; i < shape.size(); ++i) {
        const QLineF edge(shape[i], shape[(i + 1) % shape.size()]);
        crosses = crosses || Cross(line, edge);
        for (int end = 0; end < 2; ++end) {
            const double t = Turn(edge.p1(), edge.p2(), end == 0 ? line.p1() : line.p2());
            first = first == 0 ? t : first;
            inside[end] = inside[end] && t * first >= 0;
        }
    }
    return crosses || inside[0] || inside[1];
}

bool Overlap(const QPolygonF& a, const QPolygonF& b) {
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (Meets(QLineF(a[i], a[(i + 1) % a.size()]), b)) {
            return true;
        }
    }
    return Meets(QLineF(b[0], b[0]), a);
}

// A hand chart's bodies as a second ring of a bi-wheel.
std::vector<SkyPosition> SkyOf(const test::HandChart& hand) {
    std::vector<SkyPosition> sky;
    for (std::size_t i = 0; i < hand.longitudes.size(); ++i) {
        const double longitude = NormaliseDegrees(hand.longitudes[i]);
        const bool retrograde = i < hand.retrograde.size() && hand.retrograde[i];
        sky.push_back({kBodies[i], longitude, retrograde ? -0.1 : 1.0, SignIndex(longitude),
                       DegreeInSign(longitude), retrograde});
    }
    return sky;
}

TEST(WheelLayout, KeepsGlyphsFiguresLeadersAndLinesClearOfEachOther) {
    using Sky = std::vector<SkyPosition>;
    // From the smallest window's wheel (720 and more stand for scale 2 and
    // for images), for the natal wheel alone and inside a bi-wheel.
    const std::pair<qreal, bool> kSizes[] = {
        {360, false},  {420, false},  {480, false}, {560, false}, {720, false},
        {1100, false}, {1600, false}, {360, true},  {420, true},  {480, true},
        {560, true},   {720, true},   {1100, true}, {1600, true}};
    for (const test::HandChart& hand : test::WheelTestCharts()) {
        SCOPED_TRACE(hand.name);
        const Chart chart = test::MakeChart(hand);
        for (const auto& [side, outer] : kSizes) {
            SCOPED_TRACE(std::to_string(side) + (outer ? " inside a bi-wheel" : ""));
            const QRectF picture(0, 0, side, side);
            const WheelLayout layout =
                LayoutWheel(picture, chart, outer ? SkyOf(test::WheelTestCharts()[0]) : Sky{});
            ASSERT_EQ(layout.bodies.size(), hand.longitudes.size());
            EXPECT_GE(layout.glyphPixelSize, 12.0);
            EXPECT_GE(layout.aspectRadius, 0.3 * layout.outerRadius - 1e-9);
            std::vector<std::pair<QPolygonF, std::string>> boxes;
            // Each piece of every leader, with the body it leads to.
            std::vector<std::tuple<QLineF, std::string, std::size_t>> leaders;
            const double left = hand.ascendant.value_or(0.0);
            for (std::size_t i = 0; i < layout.bodies.size(); ++i) {
                const WheelBody& body = layout.bodies[i];
                const std::string name(PointName(body.body));
                boxes.emplace_back(QPolygonF(body.glyphRect), name + " glyph");
                boxes.emplace_back(body.labelShape, name + " figures");
                for (qsizetype k = 0; k + 1 < body.leader.size(); ++k) {
                    leaders.emplace_back(QLineF(body.leader[k], body.leader[k + 1]),
                                         name + " leader", i);
                }
                // The leader starts on the body's own ray and ends at its glyph.
                EXPECT_LE(AngleDifference(MeasuredAngle(layout.centre, body.leader.front()),
                                          hand.longitudes[i] - left),
                          0.5)
                    << name;
                const QPointF off = body.leader.back() - body.glyphCentre;
                EXPECT_LE(std::hypot(off.x(), off.y()), 0.9 * layout.glyphPixelSize) << name;
                // Between the aspect circle and the houses (a box's corners and
                // edge middles, which for these small boxes is close enough).
                for (const QPolygonF& box : {QPolygonF(body.glyphRect), body.labelShape}) {
                    for (qsizetype k = 0; k < 2 * box.size(); ++k) {
                        const QPointF p = (box[k / 2] + box[(k / 2 + k % 2) % box.size()]) / 2;
                        const double r =
                            std::hypot(p.x() - layout.centre.x(), p.y() - layout.centre.y());
                        EXPECT_TRUE(r >= layout.aspectRadius && r < layout.houseInnerRadius)
                            << name;
                    }
                }
            }
            for (int sign = 0; sign < 12; ++sign) {
                boxes.emplace_back(QPolygonF(layout.signGlyphRects[static_cast<std::size_t>(sign)]),
                                   std::string(SignName(sign)));
            }
            // Equal houses: cusp k lies 30k degrees on from the Ascendant,
            // its degree that of the Ascendant, its sign k signs on.
            ASSERT_EQ(layout.cuspLabels.size(), hand.ascendant ? 12U : 0U);
            ASSERT_EQ(layout.houseNumberRects.size(), layout.cuspLabels.size());
            for (std::size_t k = 0; k < layout.cuspLabels.size(); ++k) {
                const WheelCuspLabel& label = layout.cuspLabels[k];
                const auto degree = static_cast<int>(std::fmod(*hand.ascendant, 30.0));
                const int sign =
                    (static_cast<int>(*hand.ascendant / 30.0) + static_cast<int>(k)) % 12;
                EXPECT_EQ(label.text, QStringLiteral("%1\u00B0").arg(degree) + SignGlyph(sign));
                const double measured = MeasuredAngle(layout.centre, label.rect.center());
                EXPECT_LE(AngleDifference(measured, 30.0 * static_cast<double>(k)), 6.0) << k;
                EXPECT_LT(NormaliseDegrees(
                              MeasuredAngle(layout.centre, layout.houseNumberRects[k].center()) -
                              30.0 * static_cast<double>(k)),
                          30.0)
                    << "house " << k + 1;
                boxes.emplace_back(QPolygonF(label.rect), "cusp " + std::to_string(k + 1));
                boxes.emplace_back(QPolygonF(layout.houseNumberRects[k]),
                                   "house " + std::to_string(k + 1));
            }
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                EXPECT_TRUE(picture.contains(boxes[i].first.boundingRect())) << boxes[i].second;
                for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                    EXPECT_FALSE(Overlap(boxes[i].first, boxes[j].first))
                        << boxes[i].second << " overlaps " << boxes[j].second;
                }
            }
            for (std::size_t i = 0; i < leaders.size(); ++i) {
                const auto& [piece, what, owner] = leaders[i];
                for (std::size_t b = 0; b < boxes.size(); ++b) {
                    // Its own glyph is where the leader ends.
                    if (b != 2 * owner) {
                        EXPECT_FALSE(Meets(piece, boxes[b].first))
                            << what << " crosses " << boxes[b].second;
                    }
                }
                for (std::size_t j = i + 1; j < leaders.size(); ++j) {
                    EXPECT_FALSE(Cross(piece, std::get<0>(leaders[j])))
                        << what << " crosses " << std::get<1>(leaders[j]);
                }
            }
            std::vector<QLineF> lines = layout.axisLines;
            lines.insert(lines.end(), layout.cuspLines.begin(), layout.cuspLines.end());
            // Each axis is drawn at least across the house ring.
            int reachingTheZodiac = 0;
            for (const QLineF& line : layout.axisLines) {
                for (const QPointF end : {line.p1(), line.p2()}) {
                    const QPointF at = end - layout.centre;
                    reachingTheZodiac +=
                        std::abs(std::hypot(at.x(), at.y()) - layout.zodiacInnerRadius) < 0.5;
                }
            }
            EXPECT_EQ(reachingTheZodiac, hand.ascendant ? 4 : 0);
            for (const QLineF& line : lines) {
                for (const auto& [box, what] : boxes) {
                    EXPECT_FALSE(Meets(line, box)) << "a line crosses " << what;
                }
                for (const auto& [leader, what, owner] : leaders) {
                    EXPECT_FALSE(Cross(line, leader)) << "a line crosses " << what;
                }
            }
        }
    }
}

// Computed charts: a plain one, a stellium (seven bodies in Aquarius in
// February 1962), far north in summer, and one without a time.
std::vector<BirthChart> RealCharts() {
    const struct {
        CivilDate date;
        std::optional<CivilTime> time;
        double latitude;
        double longitude;
        const char* zone;
    } births[] = {
        {{1990, 1, 1}, CivilTime{12, 0, 0}, 52.52, 13.41, "Europe/Berlin"},
        {{1962, 2, 4}, CivilTime{5, 30, 0}, 28.61, 77.21, "Asia/Kolkata"},
        {{2000, 6, 21}, CivilTime{23, 15, 0}, 69.65, 18.96, "Europe/Oslo"},
        {{1975, 8, 15}, std::nullopt, -33.87, 151.21, "Australia/Sydney"},
    };
    std::vector<BirthChart> charts;
    Ephemeris ephemeris;
    for (const auto& b : births) {
        BirthData birth;
        birth.date = b.date;
        birth.time = b.time;
        birth.latitude = b.latitude;
        birth.longitude = b.longitude;
        birth.zone = b.zone;
        BirthChartResult result = ComputeBirthChart(ephemeris, birth);
        EXPECT_TRUE(result.Ok()) << result.error.message;
        if (result.value) {
            charts.push_back(std::move(*result.value));
        }
    }
    return charts;
}

TEST(WheelLayout, ComputedChartsKeepEveryGlyphOnItsRayAndApart) {
    const std::vector<BirthChart> charts = RealCharts();
    ASSERT_EQ(charts.size(), 4U);
    for (const BirthChart& birth : charts) {
        const Chart& chart = birth.chart;
        SCOPED_TRACE(chart.bodies.front().longitude);
        const WheelLayout layout = LayoutWheel(QRectF(0, 0, 800, 800), chart);
        const double left = chart.ascendant ? chart.ascendant->longitude : 0.0;
        std::vector<QPolygonF> boxes;
        for (std::size_t i = 0; i < layout.bodies.size(); ++i) {
            const WheelBody& body = layout.bodies[i];
            EXPECT_LE(AngleDifference(MeasuredAngle(layout.centre, body.leader.front()),
                                      chart.bodies[i].longitude - left),
                      0.5)
                << PointName(body.body);
            boxes.emplace_back(body.glyphRect);
            boxes.push_back(body.labelShape);
        }
        // Unequal houses, some very narrow far north: their degrees and
        // numbers keep apart too.
        ASSERT_EQ(layout.cuspLabels.size(), chart.cusps ? 12U : 0U);
        for (std::size_t k = 0; k < layout.cuspLabels.size(); ++k) {
            boxes.emplace_back(layout.cuspLabels[k].rect);
            boxes.emplace_back(layout.houseNumberRects[k]);
        }
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                EXPECT_FALSE(Overlap(boxes[i], boxes[j])) << i << " and " << j;
            }
        }
        EXPECT_EQ(layout.housesShown, chart.ascendant.has_value());
    }
}

// The nearest distance from `centre` to any point of `box`, and the farthest.
std::pair<double, double> RadialReach(QPointF centre, const QRectF& box) {
    const QPointF nearest(std::clamp(centre.x(), box.left(), box.right()),
                          std::clamp(centre.y(), box.top(), box.bottom()));
    double farthest = 0;
    for (const QPointF corner :
         {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
        farthest = std::max(farthest, std::hypot(corner.x() - centre.x(), corner.y() - centre.y()));
    }
    return {std::hypot(nearest.x() - centre.x(), nearest.y() - centre.y()), farthest};
}

TEST(WheelLayout, BiWheelKeepsTheOuterBodiesOnTheirRingApartAndInOrder) {
    const Chart natal = test::MakeChart(test::WheelTestCharts().front());
    for (const test::HandChart& hand : test::WheelTestCharts()) {
        SCOPED_TRACE(hand.name);
        const std::vector<SkyPosition> sky = SkyOf(hand);
        for (const qreal side : {360.0, 480.0, 800.0, 1100.0, 1600.0}) {
            const WheelLayout layout = LayoutWheel(QRectF(0, 0, side, side), natal, sky);
            ASSERT_EQ(layout.outerBodies.size(), sky.size());
            EXPECT_NEAR(layout.outerRingRadius, 0.41 * side, 1e-9);
            EXPECT_LT(layout.outerRadius, 0.8 * layout.outerRingRadius);
            EXPECT_GE(layout.outerLabelPixelSize, 7.0) << "figures too small to read";
            std::vector<QRectF> boxes;
            for (std::size_t i = 0; i < sky.size(); ++i) {
                const WheelBody& body = layout.outerBodies[i];
                EXPECT_EQ(body.body, sky[i].body);
                EXPECT_EQ(body.retrograde, sky[i].retrograde);
                for (const QRectF& box : {body.glyphRect, body.labelRect}) {
                    const auto [nearest, farthest] = RadialReach(layout.centre, box);
                    EXPECT_GE(nearest, layout.outerRadius) << PointName(body.body);
                    EXPECT_LE(farthest, layout.outerRingRadius) << PointName(body.body);
                    boxes.push_back(box);
                }
                // Glyph and figures on one ray, the spread one.
                const double drawn = MeasuredAngle(layout.centre, body.glyphCentre);
                EXPECT_LE(
                    AngleDifference(drawn, MeasuredAngle(layout.centre, body.labelRect.center())),
                    0.5);
                EXPECT_LE(AngleDifference(drawn, body.labelAngle), 0.5);
                if (hand.name == "spread evenly") {
                    EXPECT_LE(AngleDifference(drawn, sky[i].longitude - 17.0), 0.5);
                }
            }
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                    EXPECT_FALSE(boxes[i].intersects(boxes[j])) << i << " and " << j;
                }
            }
        }
    }
}

TEST(WheelLayout, WritesOneLineOfDegreeSignAndMinuteCutNotRounded) {
    const struct {
        double longitude;
        bool retrograde;
        const char16_t* text;
    } cases[] = {
        {0.0, false, u"0\u00B0\u2648\uFE0E00'"},
        {29.9999, false, u"29\u00B0\u2648\uFE0E59'"},
        {84.1, false, u"24\u00B0\u264A\uFE0E06'"},
        {280.771783, true, u"10\u00B0\u2651\uFE0E46'\u211E\uFE0E"},
        {359.99, false, u"29\u00B0\u2653\uFE0E59'"},
        {30.5, true, u"0\u00B0\u2649\uFE0E30'\u211E\uFE0E"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.longitude);
        test::HandChart hand{"one", 0.0, {c.longitude}, {c.retrograde}};
        const WheelLayout layout = LayoutWheel(QRectF(0, 0, 800, 800), test::MakeChart(hand));
        ASSERT_EQ(layout.bodies.size(), 1U);
        EXPECT_EQ(layout.bodies[0].labelText, QString::fromUtf16(c.text));
    }
}

TEST(WheelLayout, NamesTheBodyOrTheAspectUnderThePointer) {
    // Equal houses from 17: the Moon at 36 is 6 degrees into Taurus, in the
    // 1st house; the Sun at 0 and Jupiter at 180 are exactly opposite.
    Chart chart = test::MakeChart(test::WheelTestCharts().front());
    chart.bodies[1].house = 1;
    const WheelLayout layout = LayoutWheel(QRectF(0, 0, 800, 800), chart);
    const QPointF sun = layout.PointAt(0.0, layout.aspectRadius);
    const QPointF jupiter = layout.PointAt(180.0, layout.aspectRadius);
    const struct {
        QPointF at;
        const char* text;
    } cases[] = {
        {layout.bodies[1].glyphCentre, "Moon in Taurus, 6\u00B000', 1st house"},
        {layout.bodies[1].labelRect.center(), "Moon in Taurus, 6\u00B000', 1st house"},
        {sun + (jupiter - sun) * 0.2, "Sun opposition Jupiter, orb 0\u00B000'"},
        {layout.centre + QPointF(1, 1) * layout.aspectRadius * 0.9, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WheelToolTip(layout, chart, c.at), QString::fromUtf8(c.text));
    }
}

TEST(WheelLayout, WithoutTheTimePutsAriesLeftAndSaysSo) {
    const test::HandChart hand = test::WheelTestCharts().back();
    ASSERT_FALSE(hand.ascendant);
    const WheelLayout layout = LayoutWheel(QRectF(0, 0, 800, 800), test::MakeChart(hand));
    EXPECT_EQ(layout.leftLongitude, 0.0);
    EXPECT_FALSE(layout.housesShown);
    EXPECT_TRUE(layout.caption.contains(QStringLiteral("unknown")));
    EXPECT_TRUE(QRectF(0, 0, 800, 800).contains(layout.captionRect));
    // The caption sits under the wheel, clear of it.
    EXPECT_GE(layout.captionRect.top(), layout.centre.y() + layout.outerRadius);
    // Aries' glyph is at the left, centred on 15 degrees.
    const QPointF aries = layout.signGlyphRects[0].center();
    EXPECT_LE(AngleDifference(MeasuredAngle(layout.centre, aries), 15.0), 1.0);
}

TEST(WheelGlyphs, AreTheSymbolsInTextPresentationFromAFontThatHasThem) {
    EXPECT_EQ(SignGlyph(0), QString::fromUtf16(u"\u2648\uFE0E"));
    EXPECT_EQ(SignGlyph(11), QString::fromUtf16(u"\u2653\uFE0E"));
    EXPECT_EQ(BodyGlyph(Point::Sun), QString::fromUtf16(u"\u2609\uFE0E"));
    EXPECT_EQ(BodyGlyph(Point::Moon), QString::fromUtf16(u"\u263D\uFE0E"));
    EXPECT_EQ(BodyGlyph(Point::Pluto), QString::fromUtf16(u"\u2647\uFE0E"));
    const QFont font = GlyphFont(40);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Symbola"))
        << "fonts-symbola must be installed";
    const QFontMetricsF metrics(font);
    std::vector<QString> glyphs = {RetrogradeGlyph()};
    for (int sign = 0; sign < 12; ++sign) {
        glyphs.push_back(SignGlyph(sign));
    }
    for (const Point body : kBodies) {
        glyphs.push_back(BodyGlyph(body));
    }
    for (const QString& glyph : glyphs) {
        EXPECT_TRUE(metrics.inFont(glyph.at(0))) << glyph.toStdString();
        EXPECT_GT(metrics.tightBoundingRect(glyph).width(), 5.0) << glyph.toStdString();
    }
}

}  // namespace
}  // namespace tolvaris
