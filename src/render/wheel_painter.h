#pragma once

#include <QColor>
#include <QRectF>

#include "core/chart/birth_chart.h"
#include "core/sky/chart.h"
#include "render/wheel_layout.h"

class QPainter;

namespace tolvaris {

// Draws the wheel of `chart` in the largest square centred in `bounds`:
// zodiac ring with sign glyphs, house cusps and numbers, the two axes
// (Ascendant on the left), the bodies at their longitudes with degree and
// minute, and aspect lines coloured by family. With the time of birth unknown
// there are no houses or axes, 0 Aries is at the left and a caption says so.
// Draws no background. Returns the layout it drew.
// With `outer`, a bi-wheel: those bodies (the sky of another moment) on a
// ring outside the zodiac, in a colour of their own.
WheelLayout PaintWheel(QPainter& painter, const QRectF& bounds, const Chart& chart,
                       std::span<const SkyPosition> outer = {});
WheelLayout PaintWheel(QPainter& painter, const QRectF& bounds, const BirthChart& chart,
                       std::span<const SkyPosition> outer = {});

// The colour of the aspect lines of one family.
QColor AspectFamilyColour(AspectFamily family);

}  // namespace tolvaris
