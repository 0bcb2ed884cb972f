#include "render/wheel_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <numeric>
#include <optional>
#include <utility>

#include "core/ephemeris/zodiac.h"
#include "render/wheel_glyphs.h"

namespace tolvaris {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Proportions of the wheel's square, chosen by eye at 400 to 1600 pixels.
constexpr qreal kOuterRadius = 0.41;
constexpr qreal kZodiacRingWidth = 0.064;
constexpr qreal kNarrowestZodiacRing = 0.056;
// A small bi-wheel's inner zodiac may narrow to this for its bodies' sake.
constexpr qreal kNarrowestBiWheelZodiacRing = 0.042;
// At least this wide, wider where the cusps' degrees need it.
constexpr qreal kHouseRingWidth = 0.04;
constexpr qreal kSignGlyphSize = 0.042;
constexpr qreal kBodyGlyphSize = 0.038;
constexpr qreal kLabelSize = 0.021;
constexpr qreal kHouseNumberSize = 0.024;
constexpr qreal kCuspLabelSize = 0.015;
// A cusp's degree farther than this (degrees) from its line, seen from the
// centre, would read as part of the house beyond.
constexpr double kFarthestCuspLabelTurn = 6.0;
constexpr qreal kGap = 0.008;
// The aspect circle keeps at least this share of the wheel's radius, nearly
// a third, however crowded the ring of bodies.
constexpr qreal kSmallestAspectRadius = 0.3;
constexpr qreal kTickLength = 0.007;
// Below these the glyphs and figures stop being readable on a screen.
constexpr qreal kSmallestGlyphPixels = 12.0;
constexpr qreal kSmallestLabelPixels = 8.0;
// On a small wheel the figures shrink to this to keep the aspect circle.
constexpr qreal kSmallestFittedLabelPixels = 7.0;
// Leaders swing at most this far (degrees) from a body's longitude before the
// crowd is drawn at the next smaller scale.
constexpr double kLongestSwing = 28.0;
// Leaders that run side by side over the same stretch of the ring are kept
// this far apart across it (a share of the side, and pixels at least).
constexpr qreal kLeaderSpacing = 0.004;
constexpr qreal kSmallestLeaderSpacing = 1.0;
// A winding leader is drawn in pieces that turn at most this far (degrees).
constexpr double kLeaderPieceTurn = 1.5;
constexpr qreal kCrowdScales[] = {1.0, 0.88, 0.77, 0.67, 0.58, 0.5, 0.44};
constexpr qreal kCaptionHeight = 0.06;
// The outer ring's glyphs and figures, a little smaller than the natal ones.
constexpr qreal kOuterGlyphSize = 0.028;
constexpr qreal kOuterLabelSize = 0.017;
constexpr qreal kOuterTickLength = 0.010;
// Inside a bi-wheel the natal part is drawn smaller: its words and glyphs
// shrink less than its rings, so that they stay legible.
constexpr qreal kBiWheelTextScale = 1.25;

struct Extent {
    QRectF box;  // centred on the origin
    qreal halfDiagonal = 0;
};

Extent CentredBox(qreal width, qreal height) {
    return {QRectF(-width / 2, -height / 2, width, height), std::hypot(width, height) / 2};
}

// The same figures as the chart's table and window (ShowLongitude).
void FillLabelTexts(WheelBody& body, double longitude) {
    const ShownLongitude shown = ShowLongitude(longitude);
    body.degreeText = QStringLiteral("%1\u00B0").arg(shown.degree);
    body.minuteText = QStringLiteral("%1'").arg(shown.minute, 2, 10, QLatin1Char('0'));
}

// Where the minute starts in WheelLabelText's figures.
qsizetype WheelLabelBreak(double longitude) {
    const ShownLongitude shown = ShowLongitude(longitude);
    return QStringLiteral("%1\u00B0").arg(shown.degree).size() + SignGlyph(shown.sign).size();
}

// The room a body's figures take along their ray (width) and across it: one
// line, or the degree and sign over the minute where they stand in two.
QSizeF FiguresSize(const QFontMetricsF& metrics, const WheelBody& body) {
    if (body.labelBreak == 0) {
        return {metrics.horizontalAdvance(body.labelText), metrics.height()};
    }
    return {std::max(metrics.horizontalAdvance(body.labelText.left(body.labelBreak)),
                     metrics.horizontalAdvance(body.labelText.mid(body.labelBreak))),
            2 * metrics.height()};
}

// The largest ink of any body's glyph at this size.
QSizeF LargestBodyGlyph(qreal pixelSize) {
    const QFontMetricsF metrics(GlyphFont(pixelSize));
    QSizeF largest;
    for (const Point body : kBodies) {
        largest = largest.expandedTo(metrics.tightBoundingRect(BodyGlyph(body)).size());
    }
    return largest;
}

double AngleBetween(double a, double b) {
    const double d = NormaliseDegrees(a - b);
    return std::min(d, 360.0 - d);
}

// From `from` to `to` the short way round, signed: positive counterclockwise.
double TurnBetween(double from, double to) {
    return NormaliseDegrees(to - from + 180.0) - 180.0;
}

// The most leaders that pass over any one angle of the wheel, each leader
// covering the angles from its body's to its glyph's.
int MostLeadersOverOneAngle(const std::vector<double>& wanted, const std::vector<double>& spread) {
    int most = 0;
    for (std::size_t j = 0; j < wanted.size(); ++j) {
        for (const double probe : {wanted[j], spread[j]}) {
            int over = 0;
            for (std::size_t i = 0; i < wanted.size(); ++i) {
                const double turn = TurnBetween(wanted[i], spread[i]);
                const double into = TurnBetween(wanted[i], probe);
                over +=
                    std::abs(turn) > 1e-6 && into * turn >= 0 && std::abs(into) <= std::abs(turn);
            }
            most = std::max(most, over);
        }
    }
    return most;
}

bool SegmentsCross(const QLineF& a, const QLineF& b) {
    auto side = [](QPointF o, QPointF u, QPointF v) {
        return (u.x() - o.x()) * (v.y() - o.y()) - (u.y() - o.y()) * (v.x() - o.x());
    };
    // Strict: touching and collinear pieces are left to the distances.
    return side(a.p1(), a.p2(), b.p1()) * side(a.p1(), a.p2(), b.p2()) < 0 &&
           side(b.p1(), b.p2(), a.p1()) * side(b.p1(), b.p2(), a.p2()) < 0;
}

qreal PointToSegment(QPointF point, const QLineF& line) {
    const QPointF d = line.p2() - line.p1();
    const qreal length2 = QPointF::dotProduct(d, d);
    const qreal t = length2 > 0
                        ? std::clamp(QPointF::dotProduct(point - line.p1(), d) / length2, 0.0, 1.0)
                        : 0.0;
    const QPointF off = point - (line.p1() + d * t);
    return std::hypot(off.x(), off.y());
}

qreal SegmentDistance(const QLineF& a, const QLineF& b) {
    if (SegmentsCross(a, b)) {
        return 0;
    }
    return std::min({PointToSegment(a.p1(), b), PointToSegment(a.p2(), b),
                     PointToSegment(b.p1(), a), PointToSegment(b.p2(), a)});
}

bool SegmentMeetsShape(const QLineF& line, const QPolygonF& shape) {
    if (shape.containsPoint(line.p1(), Qt::OddEvenFill) ||
        shape.containsPoint(line.p2(), Qt::OddEvenFill)) {
        return true;
    }
    for (qsizetype i = 0; i < shape.size(); ++i) {
        if (SegmentsCross(line, QLineF(shape[i], shape[(i + 1) % shape.size()]))) {
            return true;
        }
    }
    return false;
}

// The shape grown by `by` away from its centre at every corner.
QPolygonF Grown(const QPolygonF& shape, qreal by) {
    const QPointF middle = shape.boundingRect().center();
    QPolygonF grown;
    for (const QPointF& corner : shape) {
        const QPointF out = corner - middle;
        const qreal length = std::hypot(out.x(), out.y());
        grown << (length > 0 ? corner + out * (by * std::numbers::sqrt2 / length) : corner);
    }
    return grown;
}

// The radial line from `inner` to `outer` on the ray of `longitude`, in the
// pieces left after taking out every stretch that meets one of `boxes` or
// `leaders` (grown by `clearance`).
std::vector<QLineF> BrokenRadial(const WheelLayout& layout, double longitude, qreal inner,
                                 qreal outer, const std::vector<QPolygonF>& boxes,
                                 const std::vector<QLineF>& leaders, qreal clearance) {
    const int steps = std::max(8, static_cast<int>((outer - inner) / 0.5));
    const qreal step = (outer - inner) / steps;
    // Only what comes near the whole line can block a piece of it: this
    // runs on every resize.
    const QLineF whole(layout.PointAt(longitude, inner), layout.PointAt(longitude, outer));
    std::vector<QPolygonF> near;
    for (const QPolygonF& box : boxes) {
        QPolygonF grown = Grown(box, clearance);
        if (SegmentMeetsShape(whole, grown)) {
            near.push_back(std::move(grown));
        }
    }
    std::vector<QLineF> nearLeaders;
    std::copy_if(leaders.begin(), leaders.end(), std::back_inserter(nearLeaders),
                 [&](const QLineF& leader) { return SegmentDistance(whole, leader) < clearance; });
    auto blocked = [&](qreal from, qreal to) {
        const QLineF piece(layout.PointAt(longitude, from), layout.PointAt(longitude, to));
        for (const QPolygonF& box : near) {
            if (SegmentMeetsShape(piece, box)) {
                return true;
            }
        }
        return std::any_of(nearLeaders.begin(), nearLeaders.end(), [&](const QLineF& leader) {
            return SegmentDistance(piece, leader) < clearance;
        });
    };
    std::vector<QLineF> pieces;
    std::optional<qreal> open;
    // Scraps between two leaders read as dots, not as a line.
    const qreal shortest = std::max<qreal>(3 * clearance, 0.015 * layout.side);
    auto keep = [&](qreal from, qreal to) {
        if (to - from >= shortest || to >= outer) {
            pieces.emplace_back(layout.PointAt(longitude, from), layout.PointAt(longitude, to));
        }
    };
    for (int i = 0; i < steps; ++i) {
        const qreal from = inner + i * step;
        const bool free = !blocked(from, from + step);
        if (free && !open) {
            open = from;
        } else if (!free && open) {
            keep(*open, from);
            open.reset();
        }
    }
    if (open) {
        keep(*open, outer);
    }
    return pieces;
}

QString CuspLabelText(double longitude) {
    const ShownLongitude shown = ShowLongitude(longitude);
    return QStringLiteral("%1\u00B0%2").arg(shown.degree).arg(SignGlyph(shown.sign));
}

// The widest a cusp's degree can be, so that the ring keeps its width from
// chart to chart.
qreal WidestCuspLabel(const QFontMetricsF& metrics) {
    qreal widest = 0;
    for (int sign = 0; sign < 12; ++sign) {
        widest = std::max(
            widest,
            metrics.tightBoundingRect(QStringLiteral("28\u00B0") + SignGlyph(sign)).width());
    }
    return widest;
}

// The nearest and farthest distances from `centre` to the points of `box`.
std::pair<qreal, qreal> RadialSpan(QPointF centre, const QRectF& box) {
    const QPointF nearest(std::clamp(centre.x(), box.left(), box.right()),
                          std::clamp(centre.y(), box.top(), box.bottom()));
    qreal farthest = 0;
    for (const QPointF corner :
         {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
        farthest = std::max(farthest, std::hypot(corner.x() - centre.x(), corner.y() - centre.y()));
    }
    return {std::hypot(nearest.x() - centre.x(), nearest.y() - centre.y()), farthest};
}

// The screen angle (as ScreenAngle gives it) of `point` seen from `centre`.
double MeasuredAngleOf(QPointF centre, QPointF point) {
    return NormaliseDegrees(std::atan2(point.y() - centre.y(), centre.x() - point.x()) /
                            kRadiansPerDegree);
}

// The cusps' degrees, upright, each beside its line in the house ring (at
// the start of its house unless something is in the way there), then the
// house numbers in the middle of their houses or, where a degree is there,
// as near it as is free. `onLinesIfFar`: a degree that beside its line would
// be too far from it stands on it (a bi-wheel's small inner chart).
void PlaceHouseRing(WheelLayout& layout, const HouseCusps& cusps,
                    const std::vector<double>& lineLongitudes, qreal margin, bool onLinesIfFar) {
    const qreal middle = (layout.zodiacInnerRadius + layout.houseInnerRadius) / 2;
    std::vector<QLineF> lines;
    lines.reserve(lineLongitudes.size());
    for (const double longitude : lineLongitudes) {
        lines.emplace_back(layout.PointAt(longitude, layout.houseInnerRadius),
                           layout.PointAt(longitude, layout.zodiacInnerRadius));
    }
    std::vector<QRectF> placed;
    // `apart`: the room kept from what is placed already.
    auto clear = [&](const QRectF& box, qreal apart) {
        const QRectF grown = box.adjusted(-margin, -margin, margin, margin);
        const QRectF spaced = box.adjusted(-apart, -apart, apart, apart);
        return std::none_of(
                   lines.begin(), lines.end(),
                   [&](const QLineF& line) { return SegmentMeetsShape(line, QPolygonF(grown)); }) &&
               std::none_of(placed.begin(), placed.end(),
                            [&](const QRectF& other) { return spaced.intersects(other); });
    };
    // A box of this size centred in the ring's width on the ray of
    // `longitude`, moved `across` it (towards higher longitudes).
    auto boxAt = [&](double longitude, QSizeF size, qreal across) {
        const QPointF outward = layout.PointAt(longitude, 1.0) - layout.centre;
        const QPointF onward(outward.y(), -outward.x());
        QRectF box = CentredBox(size.width(), size.height())
                         .box.translated(layout.centre + outward * middle + onward * across);
        for (int round = 0; round < 2; ++round) {
            const auto [nearest, farthest] = RadialSpan(layout.centre, box);
            box.translate(outward * (middle - (nearest + farthest) / 2));
        }
        return box;
    };
    const QFontMetricsF labels(WheelTextFont(layout.cuspLabelPixelSize));
    for (const double cusp : cusps) {
        WheelCuspLabel label{cusp, CuspLabelText(cusp), {}};
        const QSizeF size = labels.tightBoundingRect(label.text).size();
        const QPointF outward = layout.PointAt(cusp, 1.0) - layout.centre;
        // From the line to the box's centre: half the box seen across the
        // line, and a margin.
        const qreal across = size.width() / 2 * std::abs(outward.y()) +
                             size.height() / 2 * std::abs(outward.x()) + 1.5 * margin;
        label.rect = boxAt(cusp, size, across);
        const double off = AngleBetween(MeasuredAngleOf(layout.centre, label.rect.center()),
                                        ScreenAngle(cusp, layout.leftLongitude));
        if (onLinesIfFar && off > kFarthestCuspLabelTurn) {
            // Too near the centre to stand beside its line and still be
            // read as its degree: it stands on the line, which gives way
            // to it. A level line's degree is only half its height off it,
            // so it stays beside it and the axes still cross the ring.
            label.rect = boxAt(cusp, size, 0);
            placed.push_back(label.rect);
            layout.cuspLabels.push_back(label);
            continue;
        }
        if (!clear(label.rect, margin)) {
            const QRectF before = boxAt(cusp, size, -across);
            if (clear(before, margin)) {
                label.rect = before;
            }
        }
        placed.push_back(label.rect);
        layout.cuspLabels.push_back(label);
    }
    const QFontMetricsF numbers(WheelTextFont(layout.houseNumberPixelSize));
    // A number too near a degree would read as part of it.
    const qreal apart = 0.5 * layout.houseNumberPixelSize;
    for (std::size_t house = 0; house < cusps.size(); ++house) {
        const double from = cusps[house];
        const double width = NormaliseDegrees(cusps[(house + 1) % cusps.size()] - from);
        const QSizeF size = numbers.tightBoundingRect(QString::number(house + 1)).size();
        const QRectF centred = boxAt(from + width / 2, size, 0);
        QRectF chosen = centred;
        constexpr int kSteps = 8;
        for (int k = 0; k <= 2 * kSteps; ++k) {
            // The middle first, then ever farther either way from it.
            const int steps = (k + 1) / 2;
            const double shift = width / 2 / kSteps * steps * (k % 2 == 1 ? 1 : -1);
            const QRectF box = boxAt(from + width / 2 + shift, size, 0);
            if (clear(box, apart)) {
                chosen = box;
                break;
            }
        }
        placed.push_back(chosen);
        layout.houseNumberRects.push_back(chosen);
    }
    // Houses too narrow for their degree and number (far north or south):
    // all of them spread along the ring in order, the lines giving way.
    bool crowded = false;
    for (std::size_t i = 0; i < placed.size() && !crowded; ++i) {
        for (std::size_t j = i + 1; j < placed.size() && !crowded; ++j) {
            crowded = placed[i].adjusted(-margin, -margin, margin, margin).intersects(placed[j]);
        }
    }
    if (!crowded) {
        return;
    }
    std::vector<QRectF*> boxes;
    std::vector<double> wanted;
    std::vector<double> halfWidths;
    for (std::size_t house = 0; house < cusps.size(); ++house) {
        const double width = NormaliseDegrees(cusps[(house + 1) % cusps.size()] - cusps[house]);
        for (QRectF* box : {&layout.cuspLabels[house].rect, &layout.houseNumberRects[house]}) {
            const double at = box == &layout.houseNumberRects[house]
                                  ? ScreenAngle(cusps[house] + width / 2, layout.leftLongitude)
                                  : MeasuredAngleOf(layout.centre, box->center());
            const QPointF outward = layout.PointAt(layout.leftLongitude + at, 1.0) - layout.centre;
            const qreal across = box->width() / 2 * std::abs(outward.y()) +
                                 box->height() / 2 * std::abs(outward.x()) + apart / 2;
            boxes.push_back(box);
            wanted.push_back(at);
            halfWidths.push_back(
                std::asin(std::min<qreal>(1.0, across / middle)) / kRadiansPerDegree * 1.1 + 0.2);
        }
    }
    const std::vector<double> spread = SpreadAngles(wanted, halfWidths);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        *boxes[i] = boxAt(layout.leftLongitude + spread[i], boxes[i]->size(), 0);
    }
}

// The outer ring's figures: degree over minute, the retrograde mark beside
// the minute, which keeps the ring one line narrower than the natal band;
// the degree alone (no minute) on a small ring.
Extent OuterLabelExtent(const QString& degree, const QString& minute, bool retrograde,
                        const QFontMetricsF& text, const QFontMetricsF& mark) {
    if (minute.isEmpty()) {
        return CentredBox(text.horizontalAdvance(degree), text.height());
    }
    const qreal markWidth = retrograde ? mark.horizontalAdvance(RetrogradeGlyph()) : 0.0;
    return CentredBox(
        std::max(text.horizontalAdvance(degree), text.horizontalAdvance(minute) + markWidth),
        2 * text.height());
}

struct OuterRing {
    qreal glyphHalfDiagonal = 0;
    qreal labelHalfDiagonal = 0;
    qreal gap = 0;
    qreal band = 0;  // from the zodiac's outside to the ring's
    bool degreesOnly = false;
};

// Sized for the widest figures any body can have, so that the natal part
// keeps its size whatever the moment shown.
OuterRing MeasureOuterRing(WheelLayout& layout, qreal pictureSide) {
    layout.outerGlyphPixelSize = kOuterGlyphSize * pictureSide;
    layout.outerLabelPixelSize = kOuterLabelSize * pictureSide;
    layout.outerTickLength = kOuterTickLength * pictureSide;
    OuterRing ring;
    // Figures smaller than this cannot be read: a small ring shows the
    // degree alone, at a size that can, and leaves the inner chart the
    // room of the second line.
    ring.degreesOnly = layout.outerLabelPixelSize < kSmallestFittedLabelPixels;
    if (ring.degreesOnly) {
        layout.outerLabelPixelSize = kSmallestFittedLabelPixels;
    }
    const QSizeF glyph = LargestBodyGlyph(layout.outerGlyphPixelSize);
    const Extent label = OuterLabelExtent(
        QStringLiteral("29\u00B0"), ring.degreesOnly ? QString() : QStringLiteral("59'"), true,
        QFontMetricsF(WheelTextFont(layout.outerLabelPixelSize)),
        QFontMetricsF(GlyphFont(layout.outerLabelPixelSize)));
    ring.glyphHalfDiagonal = std::hypot(glyph.width(), glyph.height()) / 2;
    ring.labelHalfDiagonal = label.halfDiagonal;
    ring.gap = kGap * pictureSide;
    ring.band = layout.outerTickLength + 2 * ring.gap + 2 * ring.glyphHalfDiagonal +
                2 * ring.labelHalfDiagonal;
    return ring;
}

void PlaceOuterRing(WheelLayout& layout, const OuterRing& ring,
                    std::span<const SkyPosition> outer) {
    const QFontMetricsF text(WheelTextFont(layout.outerLabelPixelSize));
    const QFontMetricsF mark(GlyphFont(layout.outerLabelPixelSize));
    const qreal glyphRadius =
        layout.outerRadius + layout.outerTickLength + ring.gap + ring.glyphHalfDiagonal;
    const qreal labelRadius =
        glyphRadius + ring.glyphHalfDiagonal + ring.gap / 2 + ring.labelHalfDiagonal;
    const double halfAngle =
        std::max(std::asin(std::min(1.0, ring.glyphHalfDiagonal / glyphRadius)),
                 std::asin(std::min(1.0, ring.labelHalfDiagonal / labelRadius))) /
            kRadiansPerDegree * 1.08 +
        0.4;
    std::vector<double> wanted;
    for (const SkyPosition& position : outer) {
        WheelBody body;
        body.body = position.body;
        body.longitude = position.longitude;
        body.angle = ScreenAngle(position.longitude, layout.leftLongitude);
        body.retrograde = position.retrograde;
        FillLabelTexts(body, position.longitude);
        if (ring.degreesOnly) {
            body.minuteText.clear();
        }
        wanted.push_back(body.angle);
        layout.outerBodies.push_back(body);
    }
    const std::vector<double> spread =
        SpreadAngles(wanted, std::vector<double>(wanted.size(), halfAngle));
    const QFontMetricsF glyphs(GlyphFont(layout.outerGlyphPixelSize));
    for (std::size_t i = 0; i < layout.outerBodies.size(); ++i) {
        WheelBody& body = layout.outerBodies[i];
        body.labelAngle = spread[i];
        const double shownLongitude = layout.leftLongitude + body.labelAngle;
        body.glyphCentre = layout.PointAt(shownLongitude, glyphRadius);
        const QRectF ink = glyphs.tightBoundingRect(BodyGlyph(body.body));
        body.glyphRect = CentredBox(ink.width(), ink.height()).box.translated(body.glyphCentre);
        body.labelRect =
            OuterLabelExtent(body.degreeText, body.minuteText, body.retrograde, text, mark)
                .box.translated(layout.PointAt(shownLongitude, labelRadius));
    }
}

}  // namespace

QString WheelLabelText(double longitude, bool retrograde) {
    const ShownLongitude shown = ShowLongitude(longitude);
    QString text = QStringLiteral("%1\u00B0%2%3'")
                       .arg(shown.degree)
                       .arg(SignGlyph(shown.sign))
                       .arg(shown.minute, 2, 10, QLatin1Char('0'));
    if (retrograde) {
        text += RetrogradeGlyph();
    }
    return text;
}

std::optional<Point> WheelBodyAt(const WheelLayout& layout, QPointF at) {
    for (const WheelBody& body : layout.bodies) {
        if (body.glyphRect.contains(at) || body.labelShape.containsPoint(at, Qt::OddEvenFill)) {
            return body.body;
        }
    }
    return std::nullopt;
}

namespace {

QString Ordinal(int n) {
    const char* suffix = n == 1 ? "st" : n == 2 ? "nd" : n == 3 ? "rd" : "th";
    return QStringLiteral("%1%2").arg(n).arg(QLatin1String(suffix));
}

QString DegreesAndMinutes(double degrees) {
    const auto minutes = static_cast<int>(degrees * 60.0);
    return QStringLiteral("%1\u00B0%2'")
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString WheelToolTip(const WheelLayout& layout, const Chart& chart, QPointF at) {
    if (const std::optional<Point> point = WheelBodyAt(layout, at)) {
        const BodyPlacement& placement = chart.bodies[static_cast<std::size_t>(*point)];
        const ShownLongitude shown = ShowLongitude(placement.longitude);
        QString text =
            QStringLiteral("%1 in %2, %3\u00B0%4'")
                .arg(QString::fromUtf8(placement.name.data(),
                                       static_cast<qsizetype>(placement.name.size())))
                .arg(QString::fromUtf8(
                    kSigns[static_cast<std::size_t>(shown.sign)].data(),
                    static_cast<qsizetype>(kSigns[static_cast<std::size_t>(shown.sign)].size())))
                .arg(shown.degree)
                .arg(shown.minute, 2, 10, QLatin1Char('0'));
        if (placement.house) {
            text += QStringLiteral(", %1 house").arg(Ordinal(*placement.house));
        }
        if (placement.retrograde) {
            text += QStringLiteral(", retrograde");
        }
        return text;
    }
    auto longitudeOf = [&](Point point) -> std::optional<double> {
        if (point == Point::Ascendant) {
            return chart.ascendant ? std::optional(chart.ascendant->longitude) : std::nullopt;
        }
        const auto index = static_cast<std::size_t>(point);
        return index < chart.bodies.size() ? std::optional(chart.bodies[index].longitude)
                                           : std::nullopt;
    };
    const qreal reach = std::max<qreal>(3.0, layout.side * 0.004);
    for (const Aspect& aspect : chart.aspects) {
        const std::optional<double> from = longitudeOf(aspect.first);
        const std::optional<double> to = longitudeOf(aspect.second);
        if (!from || !to || aspect.kind == AspectKind::Conjunction) {
            continue;  // a conjunction has no line on the wheel
        }
        const QLineF line(layout.PointAt(*from, layout.aspectRadius),
                          layout.PointAt(*to, layout.aspectRadius));
        if (PointToSegment(at, line) <= reach) {
            auto name = [](std::string_view v) {
                return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
            };
            return QStringLiteral("%1 %2 %3, orb %4")
                .arg(name(PointName(aspect.first)), name(AspectKindName(aspect.kind)),
                     name(PointName(aspect.second)), DegreesAndMinutes(aspect.orb));
        }
    }
    return {};
}

double ScreenAngle(double longitude, double leftLongitude) {
    return NormaliseDegrees(longitude - leftLongitude);
}

QPointF WheelLayout::PointAt(double longitude, qreal radius) const {
    const double angle = ScreenAngle(longitude, leftLongitude) * kRadiansPerDegree;
    // Counterclockwise on a screen whose y axis points down.
    return centre + QPointF(-std::cos(angle) * radius, std::sin(angle) * radius);
}

std::vector<double> SpreadAngles(const std::vector<double>& wanted,
                                 const std::vector<double>& halfWidths) {
    const std::size_t count = wanted.size();
    std::vector<double> result(count);
    if (count == 0) {
        return result;
    }
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return NormaliseDegrees(wanted[a]) < NormaliseDegrees(wanted[b]);
    });
    // Cut the circle open in the middle of its widest empty arc, where
    // nothing needs to move across the cut.
    std::size_t widest = count - 1;
    double widestGap = -1;
    for (std::size_t i = 0; i < count; ++i) {
        const double from = NormaliseDegrees(wanted[order[i]]);
        const double to = NormaliseDegrees(wanted[order[(i + 1) % count]]);
        const double gap = count == 1 ? 360.0 : NormaliseDegrees(to - from);
        if (gap > widestGap) {
            widestGap = gap;
            widest = i;
        }
    }
    const double cut = NormaliseDegrees(wanted[order[widest]]) + widestGap / 2;
    std::rotate(order.begin(), order.begin() + static_cast<std::ptrdiff_t>((widest + 1) % count),
                order.end());
    std::vector<double> line(count);
    for (std::size_t i = 0; i < count; ++i) {
        line[i] = NormaliseDegrees(wanted[order[i]] - cut);
    }
    std::vector<double> separation(count, 0.0);  // from item i to item i + 1
    for (std::size_t i = 0; i + 1 < count; ++i) {
        separation[i] = halfWidths[order[i]] + halfWidths[order[i + 1]];
    }
    const double total = std::accumulate(separation.begin(), separation.end(), 0.0) +
                         halfWidths[order.front()] + halfWidths[order.back()];
    const double squeeze = total > 360.0 ? 360.0 / total : 1.0;
    for (double& s : separation) {
        s *= squeeze;
    }

    // Blocks of items that touch, each placed where its members move least
    // (the mean of their wanted positions less their offsets in the block).
    struct Block {
        std::size_t first;
        std::size_t last;
        double start;
    };
    std::vector<double> offset(count, 0.0);
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < count; ++i) {
        blocks.push_back({i, i, line[i]});
    }
    auto place = [&](Block& block) {
        double sum = 0;
        offset[block.first] = 0;
        for (std::size_t i = block.first; i <= block.last; ++i) {
            if (i > block.first) {
                offset[i] = offset[i - 1] + separation[i - 1];
            }
            sum += line[i] - offset[i];
        }
        block.start = sum / static_cast<double>(block.last - block.first + 1);
    };
    bool merged = true;
    while (merged) {
        merged = false;
        for (std::size_t b = 0; b + 1 < blocks.size(); ++b) {
            const double end = blocks[b].start + offset[blocks[b].last];
            if (end + separation[blocks[b].last] > blocks[b + 1].start + 1e-9) {
                blocks[b].last = blocks[b + 1].last;
                blocks.erase(blocks.begin() + static_cast<std::ptrdiff_t>(b) + 1);
                place(blocks[b]);
                merged = true;
                break;
            }
        }
        // The last block may now reach round to the first one.
        if (!merged && blocks.size() > 1) {
            const Block& last = blocks.back();
            const double wrapSeparation =
                (halfWidths[order.back()] + halfWidths[order.front()]) * squeeze;
            if (last.start + offset[last.last] + wrapSeparation > blocks.front().start + 360.0) {
                blocks = {{0, count - 1, 0}};
                place(blocks.front());
            }
        }
    }
    for (const Block& block : blocks) {
        for (std::size_t i = block.first; i <= block.last; ++i) {
            result[order[i]] = NormaliseDegrees(block.start + offset[i] + cut);
        }
    }
    return result;
}

WheelLayout LayoutWheel(const QRectF& bounds, const Chart& chart,
                        std::span<const SkyPosition> outer) {
    WheelLayout layout;
    const bool timeKnown = chart.ascendant.has_value();
    layout.housesShown = timeKnown && chart.cusps.has_value();
    QRectF square = bounds;
    if (!timeKnown) {
        const qreal captionHeight = kCaptionHeight * std::min(bounds.width(), bounds.height());
        layout.caption =
            QStringLiteral("Time of birth unknown: no houses or axes, 0\u00B0 Aries at the left");
        layout.captionRect =
            QRectF(bounds.left(), bounds.bottom() - captionHeight, bounds.width(), captionHeight);
        square.setHeight(bounds.height() - captionHeight);
    }
    const qreal pictureSide = std::min(square.width(), square.height());
    qreal side = pictureSide;
    OuterRing ring;
    if (!outer.empty()) {
        // The natal part shrinks so that the ring fits where its zodiac ended.
        ring = MeasureOuterRing(layout, pictureSide);
        layout.outerRingRadius = kOuterRadius * pictureSide;
        side = (layout.outerRingRadius - ring.band) / kOuterRadius;
    }
    layout.side = side;
    layout.centre = square.center();
    layout.leftLongitude = timeKnown ? chart.ascendant->longitude : 0.0;
    layout.outerRadius = kOuterRadius * side;
    const qreal textSide = outer.empty() ? side : side * kBiWheelTextScale;
    // The cusps' degrees are short: they may go down to the fitted figures'
    // size, which keeps the house ring narrow on a small wheel.
    layout.cuspLabelPixelSize = std::max(kCuspLabelSize * textSide, kSmallestFittedLabelPixels);
    const qreal clearance = std::max<qreal>(1.0, side * 0.003);
    qreal zodiacWidth = kZodiacRingWidth * side;
    qreal houseWidth = 0;
    if (layout.housesShown) {
        // A degree on a level line lies along the ring: it must fit across
        // it. The zodiac ring gives up some of its width for it first, so
        // that the bodies keep their room.
        const qreal needed =
            WidestCuspLabel(QFontMetricsF(WheelTextFont(layout.cuspLabelPixelSize))) +
            2 * clearance;
        houseWidth = std::max(kHouseRingWidth * side, needed);
        zodiacWidth -= std::min(houseWidth - kHouseRingWidth * side,
                                (kZodiacRingWidth - kNarrowestZodiacRing) * side);
    }
    if (!outer.empty()) {
        // A small bi-wheel's inner chart: the zodiac ring gives up width,
        // down to what its sign glyphs need to stay legible, so that the
        // bodies' glyphs and figures still fit above the aspect circle at
        // their smallest (the figures in two lines).
        const QSizeF glyph = LargestBodyGlyph(kSmallestGlyphPixels);
        const QFontMetricsF figures(WheelTextFont(kSmallestFittedLabelPixels));
        qreal widest = 0;
        for (const BodyPlacement& placement : chart.bodies) {
            WheelBody body;
            body.labelText = WheelLabelText(placement.longitude, placement.retrograde);
            body.labelBreak = WheelLabelBreak(placement.longitude);
            widest = std::max(widest, FiguresSize(figures, body).width());
        }
        const qreal needed =
            (kTickLength + 2 * kGap) * side + std::hypot(glyph.width(), glyph.height()) + widest;
        const qreal room = layout.outerRadius - zodiacWidth - houseWidth -
                           kSmallestAspectRadius * layout.outerRadius;
        if (needed > room) {
            zodiacWidth -=
                std::min(needed - room, zodiacWidth - kNarrowestBiWheelZodiacRing * side);
        }
    }
    layout.zodiacInnerRadius = layout.outerRadius - zodiacWidth;
    layout.houseInnerRadius = layout.zodiacInnerRadius - houseWidth;
    layout.glyphPixelSize = std::max(kBodyGlyphSize * textSide, kSmallestGlyphPixels);
    layout.signGlyphPixelSize = kSignGlyphSize * textSide;
    layout.labelPixelSize = std::max(kLabelSize * textSide, kSmallestLabelPixels);
    layout.houseNumberPixelSize = kHouseNumberSize * textSide;
    if (!layout.caption.isEmpty()) {
        layout.captionRect.setTop(layout.centre.y() + pictureSide / 2);
    }

    const qreal signRadius = (layout.outerRadius + layout.zodiacInnerRadius) / 2;
    // A bi-wheel's larger type must still leave each sign's glyph inside
    // the zodiac ring, clear of the cusps' degrees and the lines.
    const qreal signRoom = zodiacWidth - 2 * clearance;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QFontMetricsF signMetrics(GlyphFont(layout.signGlyphPixelSize));
        qreal deepest = 0;
        for (int sign = 0; sign < 12; ++sign) {
            const QRectF ink = signMetrics.tightBoundingRect(SignGlyph(sign));
            const QPointF at = layout.PointAt(sign * 30.0 + 15.0, signRadius);
            const QRectF box = CentredBox(ink.width(), ink.height()).box.translated(at);
            layout.signGlyphRects[static_cast<std::size_t>(sign)] = box;
            const QPointF ray = (at - layout.centre) / signRadius;
            deepest = std::max(deepest,
                               box.width() * std::abs(ray.x()) + box.height() * std::abs(ray.y()));
        }
        if (deepest <= signRoom) {
            break;
        }
        layout.signGlyphPixelSize *= signRoom / deepest * 0.98;
    }

    const qreal gap = kGap * side;
    const qreal tick = kTickLength * side;
    const qreal tickEnd = layout.houseInnerRadius - tick;
    const qreal leaderSpacing = std::max(kSmallestLeaderSpacing, kLeaderSpacing * side);
    std::vector<double> wanted;
    for (const BodyPlacement& placement : chart.bodies) {
        WheelBody body;
        body.body = placement.body;
        body.longitude = placement.longitude;
        body.angle = ScreenAngle(placement.longitude, layout.leftLongitude);
        body.retrograde = placement.retrograde;
        body.labelText = WheelLabelText(placement.longitude, placement.retrograde);
        wanted.push_back(body.angle);
        layout.bodies.push_back(body);
    }

    // Glyph and figures spread together along the ray, the figures inside
    // the glyph. Every leader winds from its tick to its glyph between the
    // same two circles, its angle and radius changing in step: two leaders at
    // one radius are then at the same share of their turns, which keeps them
    // in order, so they never cross, and none passes under a glyph. The glyph
    // ring keeps its radius, giving up only the room that leaders running
    // side by side need across the band; the spread is worked out again for
    // the new radius. A crowd that would swing its leaders too far is drawn
    // smaller.
    const qreal fullGlyph = layout.glyphPixelSize;
    const qreal fullLabel = layout.labelPixelSize;
    std::vector<QSizeF> labelSizes;
    std::vector<QSizeF> glyphSizes;
    std::vector<double> spread = wanted;
    qreal glyphHalfDiagonal = 0;
    qreal glyphRadius = 0;
    qreal widestLabel = 0;
    // Two lines only in a bi-wheel's inner chart, where one would not fit
    // above the aspect circle even at the smallest scale and type.
    bool figuresFit = false;
    for (const bool twoLines : {false, true}) {
        if (figuresFit || (twoLines && outer.empty())) {
            break;
        }
        for (WheelBody& body : layout.bodies) {
            body.labelBreak = twoLines ? WheelLabelBreak(body.longitude) : 0;
        }
        for (const qreal scale : kCrowdScales) {
            layout.glyphPixelSize = std::max(fullGlyph * scale, kSmallestGlyphPixels);
            layout.labelPixelSize = std::max(fullLabel * scale, kSmallestLabelPixels);
            const QFontMetricsF labelMetrics(WheelTextFont(layout.labelPixelSize));
            const QFontMetricsF glyphMetrics(GlyphFont(layout.glyphPixelSize));
            const QSizeF glyphInk = LargestBodyGlyph(layout.glyphPixelSize);
            glyphHalfDiagonal = std::hypot(glyphInk.width(), glyphInk.height()) / 2;
            labelSizes.clear();
            glyphSizes.clear();
            widestLabel = 0;
            for (const WheelBody& body : layout.bodies) {
                labelSizes.push_back(FiguresSize(labelMetrics, body));
                glyphSizes.push_back(glyphMetrics.tightBoundingRect(BodyGlyph(body.body)).size());
                widestLabel = std::max(widestLabel, labelSizes.back().width());
            }
            glyphRadius = tickEnd - gap - glyphHalfDiagonal;
            const qreal figuresHalfHeight =
                labelSizes.empty() ? 0.0 : labelSizes.front().height() / 2;
            const qreal smallestWidest =
                widestLabel * kSmallestFittedLabelPixels / layout.labelPixelSize;
            double widestSwing = 0;
            for (int round = 0; round < 3; ++round) {
                const qreal labelInside = glyphRadius - glyphHalfDiagonal - gap / 2 - widestLabel;
                const double glyph = std::asin(std::min(1.0, glyphHalfDiagonal / glyphRadius));
                const double label =
                    std::atan(figuresHalfHeight / std::max<qreal>(labelInside, 1.0));
                // Chords are a little shorter than arcs: a margin keeps boxes apart.
                const double half = std::max(glyph, label) / kRadiansPerDegree * 1.1 + 0.4;
                spread = SpreadAngles(wanted, std::vector<double>(wanted.size(), half));
                widestSwing = 0;
                for (std::size_t i = 0; i < spread.size(); ++i) {
                    widestSwing = std::max(widestSwing, AngleBetween(spread[i], wanted[i]));
                }
                // The figures come first: the leaders' band widens only as far as
                // they still fit above the aspect circle at their smallest.
                const qreal bandForFigures = tickEnd - 2 * glyphHalfDiagonal - gap -
                                             smallestWidest -
                                             kSmallestAspectRadius * layout.outerRadius;
                const qreal band =
                    std::max(gap, std::min(MostLeadersOverOneAngle(wanted, spread) * leaderSpacing,
                                           bandForFigures));
                glyphRadius = tickEnd - band - glyphHalfDiagonal;
            }
            // Figures that would reach into the aspect circle's floor even at
            // their smallest take the glyphs down a size too.
            const qreal figureRoom =
                glyphRadius - glyphHalfDiagonal - gap - kSmallestAspectRadius * layout.outerRadius;
            figuresFit = smallestWidest <= figureRoom;
            if (widestSwing <= kLongestSwing && figuresFit) {
                break;
            }
        }
    }

    // The figures give way to the aspect circle's floor: a smaller font where
    // the widest would reach into it.
    const qreal floor = kSmallestAspectRadius * layout.outerRadius;
    const qreal room = glyphRadius - glyphHalfDiagonal - 1.5 * gap - floor;
    if (widestLabel > room && room > 0) {
        layout.labelPixelSize =
            std::max(layout.labelPixelSize * room / widestLabel, kSmallestFittedLabelPixels);
        const QFontMetricsF fitted(WheelTextFont(layout.labelPixelSize));
        widestLabel = 0;
        for (std::size_t i = 0; i < labelSizes.size(); ++i) {
            labelSizes[i] = FiguresSize(fitted, layout.bodies[i]);
            widestLabel = std::max(widestLabel, labelSizes[i].width());
        }
    }
    const qreal labelHalfHeight = labelSizes.empty() ? 0.0 : labelSizes.front().height() / 2;
    const qreal leaderInner = glyphRadius + glyphHalfDiagonal + 1.0;
    // All leaders in as many pieces, so that their corners lie on the same
    // circles and the pieces keep the order of the whole.
    double widestTurn = 0;
    for (std::size_t i = 0; i < spread.size(); ++i) {
        widestTurn = std::max(widestTurn, std::abs(TurnBetween(wanted[i], spread[i])));
    }
    const int leaderPieces =
        std::max(1, static_cast<int>(std::ceil(widestTurn / kLeaderPieceTurn)));
    for (std::size_t i = 0; i < layout.bodies.size(); ++i) {
        WheelBody& body = layout.bodies[i];
        body.labelAngle = spread[i];
        const double shown = layout.leftLongitude + body.labelAngle;
        body.glyphCentre = layout.PointAt(shown, glyphRadius);
        body.glyphRect = CentredBox(glyphSizes[i].width(), glyphSizes[i].height())
                             .box.translated(body.glyphCentre);
        const qreal outerEnd = glyphRadius - glyphHalfDiagonal - gap / 2;
        const QPointF outward = layout.PointAt(shown, 1.0) - layout.centre;
        // Read outward on the right half, inward on the left: never upside down.
        const QPointF reading = outward.x() >= 0 ? outward : -outward;
        const QPointF across(-reading.y(), reading.x());
        const QPointF middle = layout.PointAt(shown, outerEnd - labelSizes[i].width() / 2);
        const QPointF along = reading * (labelSizes[i].width() / 2);
        const QPointF side = across * labelHalfHeight;
        body.labelShape = QPolygonF({middle - along - side, middle + along - side,
                                     middle + along + side, middle - along + side});
        body.labelRect = body.labelShape.boundingRect();
        body.labelTurn = std::atan2(reading.y(), reading.x()) / kRadiansPerDegree;
        const double turn = TurnBetween(wanted[i], spread[i]);
        body.leader.clear();
        for (int k = 0; k <= leaderPieces; ++k) {
            const double share = static_cast<double>(k) / leaderPieces;
            body.leader << layout.PointAt(body.longitude + turn * share,
                                          tickEnd - share * (tickEnd - leaderInner));
        }
    }
    layout.labelRadius = glyphRadius;
    const qreal innermostReach = glyphRadius - glyphHalfDiagonal - gap / 2 - widestLabel;
    layout.aspectRadius =
        std::max(innermostReach - gap, kSmallestAspectRadius * layout.outerRadius);

    std::vector<double> lineLongitudes;
    if (layout.housesShown) {
        lineLongitudes.assign(chart.cusps->begin(), chart.cusps->end());
    }
    if (chart.ascendant) {
        lineLongitudes.push_back(chart.ascendant->longitude);
        lineLongitudes.push_back(chart.ascendant->longitude + 180.0);
    }
    if (chart.midheaven) {
        lineLongitudes.push_back(chart.midheaven->longitude);
        lineLongitudes.push_back(chart.midheaven->longitude + 180.0);
    }
    if (layout.housesShown) {
        PlaceHouseRing(layout, *chart.cusps, lineLongitudes, clearance, !outer.empty());
    }

    std::vector<QPolygonF> boxes;
    std::vector<QLineF> leaders;
    for (const WheelBody& body : layout.bodies) {
        boxes.emplace_back(body.glyphRect);
        boxes.push_back(body.labelShape);
        for (qsizetype k = 0; k + 1 < body.leader.size(); ++k) {
            leaders.emplace_back(body.leader[k], body.leader[k + 1]);
        }
    }
    // Where the house ring is too crowded to keep them apart, the lines give way.
    for (const WheelCuspLabel& label : layout.cuspLabels) {
        boxes.emplace_back(label.rect);
    }
    for (const QRectF& number : layout.houseNumberRects) {
        boxes.emplace_back(number);
    }
    auto addLines = [&](std::vector<QLineF>& into, double longitude) {
        for (const QLineF& piece :
             BrokenRadial(layout, longitude, layout.aspectRadius, layout.zodiacInnerRadius, boxes,
                          leaders, clearance)) {
            into.push_back(piece);
        }
    };
    if (layout.housesShown) {
        for (const double cusp : *chart.cusps) {
            addLines(layout.cuspLines, cusp);
        }
    }
    if (chart.ascendant) {
        addLines(layout.axisLines, chart.ascendant->longitude);
        addLines(layout.axisLines, chart.ascendant->longitude + 180.0);
    }
    if (chart.midheaven) {
        addLines(layout.axisLines, chart.midheaven->longitude);
        addLines(layout.axisLines, chart.midheaven->longitude + 180.0);
    }
    if (!outer.empty()) {
        PlaceOuterRing(layout, ring, outer);
    }
    return layout;
}

}  // namespace tolvaris
