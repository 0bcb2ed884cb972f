#pragma once

#include <array>
#include <string_view>

namespace tolvaris {

// The points a chart places: the ten bodies in their customary order, then
// the Ascendant. Aspect pairs are named in this order.
enum class Point {
    Sun,
    Moon,
    Mercury,
    Venus,
    Mars,
    Jupiter,
    Saturn,
    Uranus,
    Neptune,
    Pluto,
    Ascendant
};

inline constexpr std::array<Point, 10> kBodies = {
    Point::Sun,     Point::Moon,   Point::Mercury, Point::Venus,   Point::Mars,
    Point::Jupiter, Point::Saturn, Point::Uranus,  Point::Neptune, Point::Pluto,
};

// The name as the program shows it: "Sun" ... "Pluto", "Ascendant".
std::string_view PointName(Point point);

}  // namespace tolvaris
