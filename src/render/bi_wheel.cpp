#include "render/bi_wheel.h"

#include <QPainter>

#include "render/wheel_painter.h"

namespace tolvaris {
namespace {

Chart WithoutOwnAspects(const Chart& chart) {
    Chart copy = chart;
    copy.aspects.clear();
    return copy;
}

}  // namespace

std::vector<SkyPosition> OuterRingOf(const Chart& chart) {
    std::vector<SkyPosition> ring;
    ring.reserve(chart.bodies.size());
    for (const BodyPlacement& body : chart.bodies) {
        ring.push_back(
            {body.body, body.longitude, body.speed, body.sign, body.degreeInSign, body.retrograde});
    }
    return ring;
}

std::optional<double> LongitudeOf(const Chart& chart, NatalPoint point) {
    if (point == NatalPoint::Ascendant) {
        return chart.ascendant ? std::optional(chart.ascendant->longitude) : std::nullopt;
    }
    if (point == NatalPoint::Midheaven) {
        return chart.midheaven ? std::optional(chart.midheaven->longitude) : std::nullopt;
    }
    const auto index = static_cast<std::size_t>(point);
    return index < chart.bodies.size() ? std::optional(chart.bodies[index].longitude)
                                       : std::nullopt;
}

namespace {

BiWheelLayout WithContacts(WheelLayout wheel, const Chart& first, const Chart& second,
                           const Synastry& synastry) {
    BiWheelLayout layout{std::move(wheel), {}};
    for (const InterAspect& aspect : synastry.aspects) {
        const std::optional<double> from = LongitudeOf(first, aspect.first);
        const std::optional<double> to = LongitudeOf(second, aspect.second);
        if (!from || !to || aspect.kind == AspectKind::Conjunction) {
            continue;
        }
        layout.lines.push_back({aspect.first, aspect.second, aspect.kind, aspect.family,
                                layout.wheel.PointAt(*from, layout.wheel.aspectRadius),
                                layout.wheel.PointAt(*to, layout.wheel.aspectRadius)});
    }
    return layout;
}

}  // namespace

BiWheelLayout LayoutBiWheel(const QRectF& bounds, const Chart& first, const Chart& second,
                            const Synastry& synastry) {
    return WithContacts(LayoutWheel(bounds, first, OuterRingOf(second)), first, second, synastry);
}

BiWheelLayout PaintBiWheel(QPainter& painter, const QRectF& bounds, const Chart& first,
                           const Chart& second, const Synastry& synastry) {
    // The first chart's own aspects would hide the contacts, the point of the drawing.
    BiWheelLayout layout =
        WithContacts(PaintWheel(painter, bounds, WithoutOwnAspects(first), OuterRingOf(second)),
                     first, second, synastry);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal line = std::max<qreal>(layout.wheel.side / 500.0, 0.5);
    for (const ContactLine& contact : layout.lines) {
        QPen pen(AspectFamilyColour(contact.family), line * 1.1);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(contact.inner, contact.outer);
        // A dot at the second chart's end tells the two ends apart.
        painter.setBrush(AspectFamilyColour(contact.family));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(contact.outer, line * 2.2, line * 2.2);
    }
    painter.restore();
    return layout;
}

}  // namespace tolvaris
