#include "render/wheel_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "core/ephemeris/zodiac.h"
#include "render/wheel_glyphs.h"

namespace tolvaris {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Proportions of the wheel's square, chosen by eye at 400 to 1600 pixels.
constexpr qreal kOuterRadius = 0.41;
constexpr qreal kZodiacRingWidth = 0.07;
constexpr qreal kHouseRingWidth = 0.045;
constexpr qreal kSignGlyphSize = 0.042;
constexpr qreal kBodyGlyphSize = 0.038;
constexpr qreal kLabelSize = 0.021;
constexpr qreal kHouseNumberSize = 0.024;
constexpr qreal kGap = 0.008;
constexpr qreal kSmallestAspectRadius = 0.05;
constexpr qreal kCaptionHeight = 0.06;
// Glyphs step inward no further than this; a crowd that does not fit there is
// drawn with smaller glyphs.
constexpr qreal kInnermostGlyphRadius = 0.06;
constexpr qreal kGlyphScales[] = {1.0, 0.85, 0.72, 0.6, 0.5, 0.42};
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

// The figures' box: degree over minute, the retrograde mark under them.
Extent LabelExtent(const WheelBody& body, const QFontMetricsF& text, const QFontMetricsF& mark) {
    qreal width =
        std::max(text.horizontalAdvance(body.degreeText), text.horizontalAdvance(body.minuteText));
    qreal height = 2 * text.height();
    if (body.retrograde) {
        width = std::max(width, mark.horizontalAdvance(RetrogradeGlyph()));
        height += text.height();
    }
    return CentredBox(width, height);
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

// Places each body's glyph on its own ray, on the first ring outward that
// keeps it clear of every glyph placed before it. False when some glyph found
// no clear ring above `innermost`.
bool PlaceGlyphs(WheelLayout& layout, qreal firstRadius, qreal step, qreal innermost) {
    const QFontMetricsF glyphs(GlyphFont(layout.glyphPixelSize));
    std::vector<std::size_t> order(layout.bodies.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return layout.bodies[a].angle < layout.bodies[b].angle;
    });
    const qreal padding = layout.glyphPixelSize * 0.08;
    std::vector<QRectF> placed;
    bool allClear = true;
    for (const std::size_t index : order) {
        WheelBody& body = layout.bodies[index];
        const QRectF ink = glyphs.tightBoundingRect(BodyGlyph(body.body));
        const Extent extent = CentredBox(ink.width(), ink.height());
        bool clear = false;
        for (int level = 0; !clear && firstRadius - level * step >= innermost; ++level) {
            body.level = level;
            body.glyphCentre = layout.PointAt(body.longitude, firstRadius - level * step);
            body.glyphRect = extent.box.translated(body.glyphCentre);
            const QRectF padded = body.glyphRect.adjusted(-padding, -padding, padding, padding);
            clear = std::none_of(placed.begin(), placed.end(),
                                 [&](const QRectF& other) { return padded.intersects(other); });
        }
        allClear = allClear && clear;
        placed.push_back(body.glyphRect);
    }
    return allClear;
}

// The outer ring's figures: degree over minute, the retrograde mark beside
// the minute, which keeps the ring one line narrower than the natal band.
Extent OuterLabelExtent(const QString& degree, const QString& minute, bool retrograde,
                        const QFontMetricsF& text, const QFontMetricsF& mark) {
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
};

// Sized for the widest figures any body can have, so that the natal part
// keeps its size whatever the moment shown.
OuterRing MeasureOuterRing(WheelLayout& layout, qreal pictureSide) {
    layout.outerGlyphPixelSize = kOuterGlyphSize * pictureSide;
    layout.outerLabelPixelSize = kOuterLabelSize * pictureSide;
    layout.outerTickLength = kOuterTickLength * pictureSide;
    const QSizeF glyph = LargestBodyGlyph(layout.outerGlyphPixelSize);
    const Extent label = OuterLabelExtent(QStringLiteral("29\u00B0"), QStringLiteral("59'"), true,
                                          QFontMetricsF(WheelTextFont(layout.outerLabelPixelSize)),
                                          QFontMetricsF(GlyphFont(layout.outerLabelPixelSize)));
    OuterRing ring;
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
    layout.zodiacInnerRadius = layout.outerRadius - kZodiacRingWidth * side;
    layout.houseInnerRadius =
        layout.zodiacInnerRadius - (layout.housesShown ? kHouseRingWidth * side : 0.0);
    const qreal textSide = outer.empty() ? side : side * kBiWheelTextScale;
    layout.glyphPixelSize = kBodyGlyphSize * textSide;
    layout.signGlyphPixelSize = kSignGlyphSize * textSide;
    layout.labelPixelSize = kLabelSize * textSide;
    layout.houseNumberPixelSize = kHouseNumberSize * textSide;
    if (!layout.caption.isEmpty()) {
        layout.captionRect.setTop(layout.centre.y() + pictureSide / 2);
    }

    const QFontMetricsF signMetrics(GlyphFont(layout.signGlyphPixelSize));
    const qreal signRadius = (layout.outerRadius + layout.zodiacInnerRadius) / 2;
    for (int sign = 0; sign < 12; ++sign) {
        const QRectF ink = signMetrics.tightBoundingRect(SignGlyph(sign));
        layout.signGlyphRects[static_cast<std::size_t>(sign)] =
            CentredBox(ink.width(), ink.height())
                .box.translated(layout.PointAt(sign * 30.0 + 15.0, signRadius));
    }

    const QFontMetricsF labelMetrics(WheelTextFont(layout.labelPixelSize));
    const QFontMetricsF markMetrics(GlyphFont(layout.labelPixelSize));
    const qreal gap = kGap * side;

    std::vector<Extent> labelExtents;
    qreal largestLabel = 0;
    for (const BodyPlacement& placement : chart.bodies) {
        WheelBody body;
        body.body = placement.body;
        body.longitude = placement.longitude;
        body.angle = ScreenAngle(placement.longitude, layout.leftLongitude);
        body.retrograde = placement.retrograde;
        FillLabelTexts(body, placement.longitude);
        labelExtents.push_back(LabelExtent(body, labelMetrics, markMetrics));
        largestLabel = std::max(largestLabel, labelExtents.back().halfDiagonal);
        layout.bodies.push_back(body);
    }
    layout.labelRadius = layout.houseInnerRadius - gap - largestLabel;

    std::vector<double> wanted;
    std::vector<double> halfWidths;
    for (std::size_t i = 0; i < layout.bodies.size(); ++i) {
        wanted.push_back(layout.bodies[i].angle);
        const double ratio = std::min(1.0, labelExtents[i].halfDiagonal / layout.labelRadius);
        // Chords are a little shorter than arcs: a margin keeps boxes apart.
        halfWidths.push_back(std::asin(ratio) / kRadiansPerDegree * 1.08 + 0.4);
    }
    const std::vector<double> spread = SpreadAngles(wanted, halfWidths);
    for (std::size_t i = 0; i < layout.bodies.size(); ++i) {
        WheelBody& body = layout.bodies[i];
        body.labelAngle = spread[i];
        body.labelRect = labelExtents[i].box.translated(
            layout.PointAt(layout.leftLongitude + body.labelAngle, layout.labelRadius));
    }

    // A stellium that finds no room steps in with smaller glyphs.
    const qreal fullGlyphSize = layout.glyphPixelSize;
    qreal glyphHalfDiagonal = 0;
    qreal firstGlyphRadius = 0;
    qreal step = 0;
    for (const qreal scale : kGlyphScales) {
        layout.glyphPixelSize = fullGlyphSize * scale;
        const QSizeF ink = LargestBodyGlyph(layout.glyphPixelSize);
        glyphHalfDiagonal = std::hypot(ink.width(), ink.height()) / 2;
        firstGlyphRadius = layout.labelRadius - largestLabel - gap - glyphHalfDiagonal;
        step = ink.height() + layout.glyphPixelSize * 0.12;
        if (PlaceGlyphs(layout, firstGlyphRadius, step,
                        kInnermostGlyphRadius * side + glyphHalfDiagonal)) {
            break;
        }
    }
    int deepest = 0;
    for (const WheelBody& body : layout.bodies) {
        deepest = std::max(deepest, body.level);
    }
    layout.aspectRadius = std::max(kSmallestAspectRadius * side,
                                   firstGlyphRadius - deepest * step - glyphHalfDiagonal - gap);
    if (!outer.empty()) {
        PlaceOuterRing(layout, ring, outer);
    }
    return layout;
}

}  // namespace tolvaris
