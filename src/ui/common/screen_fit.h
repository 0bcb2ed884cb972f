#pragma once

#include <QRect>
#include <functional>

namespace tolvaris {

// The part of the screens a window's outer frame may take, for a frame about
// to be placed: the available geometry (no panels, no task bar) of the screen
// it lands on. A seam, so that tests can give any screen.
using AvailableGeometryQuery = std::function<QRect(const QRect& frame)>;

// The screen the frame overlaps most, else the primary screen.
QRect ScreenAvailableGeometry(const QRect& frame);

// The frame made no larger than `available` and moved, as little as needed,
// to lie wholly inside it: a placement stored on another screen, or at
// another scale, keeps its title bar and close button within reach.
QRect KeepInside(const QRect& frame, const QRect& available);

}  // namespace tolvaris
