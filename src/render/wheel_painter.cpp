#include "render/wheel_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "core/ephemeris/zodiac.h"
#include "render/wheel_glyphs.h"

namespace tolvaris {
namespace {

const QColor kInk(0x20, 0x20, 0x20);
const QColor kFaintLine(0xb8, 0xb8, 0xb8);
const QColor kLeaderLine(0x80, 0x80, 0x80);
const QColor kAxisColour(0x10, 0x10, 0x60);
const QColor kRetrogradeColour(0xb0, 0x30, 0x20);
const QColor kCuspDegreeColour(0x30, 0x30, 0x3a);
const QColor kOuterInk(0x0b, 0x55, 0x66);
const QColor kOuterGround(0xf3, 0xf6, 0xf7);

// Fire, earth, air, water: a pale ground and a deeper glyph colour each.
QColor ElementGround(int sign) {
    static const QColor kGround[] = {QColor(0xfb, 0xe4, 0xdc), QColor(0xe8, 0xf0, 0xdc),
                                     QColor(0xfb, 0xf5, 0xd6), QColor(0xdc, 0xe8, 0xf6)};
    return kGround[sign % 4];
}
QColor ElementInk(int sign) {
    static const QColor kElementInk[] = {QColor(0xa8, 0x2a, 0x14), QColor(0x3a, 0x6a, 0x1c),
                                         QColor(0x8a, 0x6a, 0x00), QColor(0x1c, 0x4a, 0x8a)};
    return kElementInk[sign % 4];
}

// Qt's arcs start at three o'clock; the wheel's angles at nine.
qreal QtArcAngle(double screenAngle) {
    return 180.0 + screenAngle;
}

// Draws `text` with its ink (not its line box) centred on `centre`.
void DrawInkCentred(QPainter& painter, const QFont& font, const QString& text, QPointF centre) {
    const QRectF ink = QFontMetricsF(font).tightBoundingRect(text);
    painter.setFont(font);
    painter.drawText(centre - ink.center(), text);
}

QPen Pen(const QColor& colour, qreal width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void PaintZodiac(QPainter& painter, const WheelLayout& layout, qreal line) {
    const QRectF outer(layout.centre - QPointF(layout.outerRadius, layout.outerRadius),
                       QSizeF(2 * layout.outerRadius, 2 * layout.outerRadius));
    const QRectF inner(layout.centre - QPointF(layout.zodiacInnerRadius, layout.zodiacInnerRadius),
                       QSizeF(2 * layout.zodiacInnerRadius, 2 * layout.zodiacInnerRadius));
    painter.setPen(Qt::NoPen);
    for (int sign = 0; sign < 12; ++sign) {
        const double start = ScreenAngle(sign * 30.0, layout.leftLongitude);
        QPainterPath segment;
        segment.arcMoveTo(outer, QtArcAngle(start));
        segment.arcTo(outer, QtArcAngle(start), 30.0);
        segment.arcTo(inner, QtArcAngle(start + 30.0), -30.0);
        segment.closeSubpath();
        painter.fillPath(segment, ElementGround(sign));
    }
    painter.setPen(Pen(kInk, line));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(layout.centre, layout.outerRadius, layout.outerRadius);
    painter.drawEllipse(layout.centre, layout.zodiacInnerRadius, layout.zodiacInnerRadius);
    for (int sign = 0; sign < 12; ++sign) {
        painter.drawLine(layout.PointAt(sign * 30.0, layout.zodiacInnerRadius),
                         layout.PointAt(sign * 30.0, layout.outerRadius));
    }
    // Degree ticks: every 5 degrees, longer every 10.
    painter.setPen(Pen(kInk, line * 0.6));
    for (int degree = 5; degree < 360; degree += 5) {
        if (degree % 30 == 0) {
            continue;
        }
        const qreal length = layout.side * (degree % 10 == 0 ? 0.012 : 0.007);
        painter.drawLine(layout.PointAt(degree, layout.zodiacInnerRadius),
                         layout.PointAt(degree, layout.zodiacInnerRadius + length));
    }
    const QFont glyphFont = GlyphFont(layout.signGlyphPixelSize);
    for (int sign = 0; sign < 12; ++sign) {
        painter.setPen(ElementInk(sign));
        DrawInkCentred(painter, glyphFont, SignGlyph(sign),
                       layout.signGlyphRects[static_cast<std::size_t>(sign)].center());
    }
}

void PaintHouses(QPainter& painter, const WheelLayout& layout, qreal line) {
    painter.setPen(Pen(kInk, line * 0.8));
    painter.drawEllipse(layout.centre, layout.houseInnerRadius, layout.houseInnerRadius);
    painter.setPen(Pen(kFaintLine, line * 0.8));
    for (const QLineF& piece : layout.cuspLines) {
        painter.drawLine(piece);
    }
    const QFont numberFont = WheelTextFont(layout.houseNumberPixelSize);
    painter.setPen(kInk);
    for (std::size_t house = 0; house < layout.houseNumberRects.size(); ++house) {
        DrawInkCentred(painter, numberFont, QString::number(house + 1),
                       layout.houseNumberRects[house].center());
    }
    const QFont labelFont = WheelTextFont(layout.cuspLabelPixelSize);
    painter.setPen(kCuspDegreeColour);
    for (const WheelCuspLabel& label : layout.cuspLabels) {
        DrawInkCentred(painter, labelFont, label.text, label.rect.center());
    }
}

void PaintAxes(QPainter& painter, const WheelLayout& layout, const Chart& chart, qreal line) {
    const QFont labelFont = WheelTextFont(layout.houseNumberPixelSize);
    struct Axis {
        double longitude;
        const char* name;
    };
    const Axis axes[] = {{chart.ascendant->longitude, "AC"},
                         {chart.ascendant->longitude + 180.0, "DC"},
                         {chart.midheaven ? chart.midheaven->longitude : 0.0, "MC"},
                         {chart.midheaven ? chart.midheaven->longitude + 180.0 : 0.0, "IC"}};
    const qreal outside = layout.side * 0.018;
    for (std::size_t i = 0; i < std::size(axes); ++i) {
        if (i >= 2 && !chart.midheaven) {
            break;
        }
        const Axis& axis = axes[i];
        painter.setPen(Pen(kAxisColour, line * 2.2));
        painter.drawLine(layout.PointAt(axis.longitude, layout.RimRadius()),
                         layout.PointAt(axis.longitude, layout.RimRadius() + outside));
        const QRectF ink =
            QFontMetricsF(labelFont).tightBoundingRect(QString::fromLatin1(axis.name));
        const qreal reach = layout.RimRadius() + outside +
                            std::hypot(ink.width(), ink.height()) / 2 + layout.side * 0.004;
        painter.setPen(kAxisColour);
        DrawInkCentred(painter, labelFont, QString::fromLatin1(axis.name),
                       layout.PointAt(axis.longitude, reach));
    }
    painter.setPen(Pen(kAxisColour, line * 2.2));
    for (const QLineF& piece : layout.axisLines) {
        painter.drawLine(piece);
    }
}

bool IsPlaced(const Chart& chart, Point point) {
    return point == Point::Ascendant ? chart.ascendant.has_value()
                                     : static_cast<std::size_t>(point) < chart.bodies.size();
}

QPointF PointOf(const WheelLayout& layout, const Chart& chart, Point point) {
    const double longitude = point == Point::Ascendant
                                 ? chart.ascendant->longitude
                                 : chart.bodies[static_cast<std::size_t>(point)].longitude;
    return layout.PointAt(longitude, layout.aspectRadius);
}

void PaintAspects(QPainter& painter, const WheelLayout& layout, const Chart& chart, qreal line) {
    painter.setPen(Pen(kInk, line * 0.8));
    painter.drawEllipse(layout.centre, layout.aspectRadius, layout.aspectRadius);
    for (const Aspect& aspect : chart.aspects) {
        const bool placed = IsPlaced(chart, aspect.first) && IsPlaced(chart, aspect.second);
        if (!placed || aspect.kind == AspectKind::Conjunction) {
            // A conjunction's ends nearly meet; the cluster of glyphs shows it.
            continue;
        }
        painter.setPen(Pen(AspectFamilyColour(aspect.family), line * 1.1));
        painter.drawLine(PointOf(layout, chart, aspect.first),
                         PointOf(layout, chart, aspect.second));
    }
}

void PaintBodies(QPainter& painter, const WheelLayout& layout, qreal line) {
    const QFont glyphFont = GlyphFont(layout.glyphPixelSize);
    const QFont labelFont = WheelTextFont(layout.labelPixelSize);
    const QFontMetricsF labelMetrics(labelFont);
    for (const WheelBody& body : layout.bodies) {
        // The true longitude, marked where the bodies' band meets the rings.
        painter.setPen(Pen(kInk, line));
        painter.drawLine(layout.PointAt(body.longitude, layout.houseInnerRadius),
                         body.leader.front());
        painter.setPen(Pen(kLeaderLine, line * 0.7));
        painter.drawPolyline(body.leader);
    }
    for (const WheelBody& body : layout.bodies) {
        painter.setPen(kInk);
        DrawInkCentred(painter, glyphFont, BodyGlyph(body.body), body.glyphCentre);
        QString figures = body.labelText;
        QString mark;
        if (body.retrograde && figures.endsWith(RetrogradeGlyph())) {
            mark = RetrogradeGlyph();
            figures.chop(mark.size());
        }
        painter.save();
        painter.translate(body.labelShape.boundingRect().center());
        painter.rotate(body.labelTurn);
        painter.setFont(labelFont);
        QPointF start(-labelMetrics.horizontalAdvance(body.labelText) / 2,
                      -labelMetrics.height() / 2 + labelMetrics.ascent());
        if (body.labelBreak > 0) {
            // Degree and sign over the minute, each line centred.
            const QString first = figures.left(body.labelBreak);
            painter.drawText(QPointF(-labelMetrics.horizontalAdvance(first) / 2,
                                     -labelMetrics.height() + labelMetrics.ascent()),
                             first);
            figures = figures.mid(body.labelBreak);
            start =
                QPointF(-labelMetrics.horizontalAdvance(figures + mark) / 2, labelMetrics.ascent());
        }
        painter.drawText(start, figures);
        if (!mark.isEmpty()) {
            painter.setPen(kRetrogradeColour);
            painter.drawText(start + QPointF(labelMetrics.horizontalAdvance(figures), 0), mark);
        }
        painter.restore();
    }
}

// The bi-wheel's ring: a tick at each body's true longitude on the zodiac's
// outside, a leader to the glyph where the spreading moved it, the glyph,
// then degree over minute with the retrograde mark beside the minute.
void PaintOuterRing(QPainter& painter, const WheelLayout& layout, qreal line) {
    QPainterPath ring;
    ring.addEllipse(layout.centre, layout.outerRingRadius, layout.outerRingRadius);
    ring.addEllipse(layout.centre, layout.outerRadius, layout.outerRadius);
    painter.fillPath(ring, kOuterGround);
    painter.setPen(Pen(kInk, line));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(layout.centre, layout.outerRingRadius, layout.outerRingRadius);
    const QFont glyphFont = GlyphFont(layout.outerGlyphPixelSize);
    const QFont labelFont = WheelTextFont(layout.outerLabelPixelSize);
    const QFont markFont = GlyphFont(layout.outerLabelPixelSize);
    const QFontMetricsF labelMetrics(labelFont);
    const QFontMetricsF markMetrics(markFont);
    for (const WheelBody& body : layout.outerBodies) {
        const QPointF tickEnd =
            layout.PointAt(body.longitude, layout.outerRadius + layout.outerTickLength);
        painter.setPen(Pen(kOuterInk, line * 1.2));
        painter.drawLine(layout.PointAt(body.longitude, layout.outerRadius), tickEnd);
        painter.setPen(Pen(kLeaderLine, line * 0.7));
        painter.drawLine(tickEnd, body.glyphCentre);
    }
    for (const WheelBody& body : layout.outerBodies) {
        painter.fillRect(body.glyphRect, kOuterGround);
        // A ring too small for the minutes has no room for the mark either:
        // the glyph itself then shows that the body is retrograde.
        const bool degreeOnly = body.minuteText.isEmpty();
        painter.setPen(degreeOnly && body.retrograde ? kRetrogradeColour : kOuterInk);
        DrawInkCentred(painter, glyphFont, BodyGlyph(body.body), body.glyphCentre);
        const qreal markWidth =
            body.retrograde ? markMetrics.horizontalAdvance(RetrogradeGlyph()) : 0.0;
        const qreal x = body.labelRect.center().x();
        const qreal top = body.labelRect.top();
        painter.setFont(labelFont);
        painter.setPen(kInk);
        painter.drawText(QPointF(x - labelMetrics.horizontalAdvance(body.degreeText) / 2,
                                 top + labelMetrics.ascent()),
                         body.degreeText);
        if (degreeOnly) {
            continue;
        }
        const qreal minuteLeft =
            x - (labelMetrics.horizontalAdvance(body.minuteText) + markWidth) / 2;
        painter.drawText(QPointF(minuteLeft, top + labelMetrics.height() + labelMetrics.ascent()),
                         body.minuteText);
        if (body.retrograde) {
            painter.setPen(kRetrogradeColour);
            DrawInkCentred(painter, markFont, RetrogradeGlyph(),
                           QPointF(minuteLeft + labelMetrics.horizontalAdvance(body.minuteText) +
                                       markWidth / 2,
                                   top + labelMetrics.height() * 1.5));
        }
    }
}

}  // namespace

QColor AspectFamilyColour(AspectFamily family) {
    switch (family) {
        case AspectFamily::Blending:
            return QColor(0x2a, 0x8a, 0x3a);
        case AspectFamily::Harmonizing:
            return QColor(0x1f, 0x5f, 0xc8);
        case AspectFamily::Discordant:
            return QColor(0xc8, 0x20, 0x2a);
    }
    return kInk;
}

WheelLayout PaintWheel(QPainter& painter, const QRectF& bounds, const Chart& chart,
                       std::span<const SkyPosition> outer) {
    WheelLayout layout = LayoutWheel(bounds, chart, outer);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const qreal line = std::max<qreal>(layout.side / 500.0, 0.5);
    if (!layout.outerBodies.empty()) {
        PaintOuterRing(painter, layout, line);
    }
    PaintZodiac(painter, layout, line);
    if (layout.housesShown) {
        PaintHouses(painter, layout, line);
    }
    PaintAspects(painter, layout, chart, line);
    if (chart.ascendant) {
        PaintAxes(painter, layout, chart, line);
    }
    PaintBodies(painter, layout, line);
    if (!layout.caption.isEmpty()) {
        painter.setPen(kInk);
        painter.setFont(WheelTextFont(layout.houseNumberPixelSize));
        painter.drawText(layout.captionRect, Qt::AlignCenter, layout.caption);
    }
    painter.restore();
    return layout;
}

WheelLayout PaintWheel(QPainter& painter, const QRectF& bounds, const BirthChart& chart,
                       std::span<const SkyPosition> outer) {
    return PaintWheel(painter, bounds, chart.chart, outer);
}

}  // namespace tolvaris
