#pragma once

#include <QPointF>
#include <QRectF>
#include <vector>

#include "core/relation/relation.h"
#include "core/sky/chart.h"
#include "core/sky/sky_positions.h"
#include "render/wheel_layout.h"

class QPainter;

namespace tolvaris {

// One inter-aspect drawn on the bi-wheel of two charts: a chord of the aspect
// circle from the first chart's point to the second's longitude.
struct ContactLine {
    NatalPoint first;
    NatalPoint second;
    AspectKind kind;
    AspectFamily family;
    QPointF inner;  // on the ray of the first chart's point
    QPointF outer;  // on the ray of the second chart's point
};

struct BiWheelLayout {
    WheelLayout wheel;
    std::vector<ContactLine> lines;  // conjunctions apart: their ends nearly meet
};

// The second chart's bodies as the outer ring takes them.
std::vector<SkyPosition> OuterRingOf(const Chart& chart);

// The longitude of a point of `chart`; none for an angle it lacks.
std::optional<double> LongitudeOf(const Chart& chart, NatalPoint point);

// The first chart inside, the second's bodies on the outer ring, and the
// synastry's aspects as lines in the family colours instead of the first
// chart's own aspects.
BiWheelLayout LayoutBiWheel(const QRectF& bounds, const Chart& first, const Chart& second,
                            const Synastry& synastry);
BiWheelLayout PaintBiWheel(QPainter& painter, const QRectF& bounds, const Chart& first,
                           const Chart& second, const Synastry& synastry);

}  // namespace tolvaris
