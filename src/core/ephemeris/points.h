#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tolvaris {

// The points a chart places: the ten bodies in their customary order, then
// the Ascendant. Aspect pairs are named in this order, and the planet option
// groups of the main window list them so.
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

struct PointRow {
    Point point;
    // As the program shows it, the option caption and the data files' keys.
    std::string_view name;
    // The body's number in the Swiss Ephemeris; none for the Ascendant.
    std::optional<int> ephemerisBody;
    // Whether the library reads it by sign; the outer planets stay in one
    // sign for years and are read by house and aspect only.
    bool readBySign;
    // Its symbol's Unicode code point; 0 where the wheel writes letters.
    char16_t symbol;
};

inline constexpr std::array<PointRow, 11> kPoints = {{
    {Point::Sun, "Sun", 0, true, 0x2609},
    {Point::Moon, "Moon", 1, true, 0x263D},
    {Point::Mercury, "Mercury", 2, true, 0x263F},
    {Point::Venus, "Venus", 3, true, 0x2640},
    {Point::Mars, "Mars", 4, true, 0x2642},
    {Point::Jupiter, "Jupiter", 5, true, 0x2643},
    {Point::Saturn, "Saturn", 6, true, 0x2644},
    {Point::Uranus, "Uranus", 7, false, 0x2645},
    {Point::Neptune, "Neptune", 8, false, 0x2646},
    {Point::Pluto, "Pluto", 9, false, 0x2647},
    {Point::Ascendant, "Ascendant", std::nullopt, true, 0},
}};

constexpr std::size_t IndexOf(Point point) {
    return static_cast<std::size_t>(point);
}

constexpr bool PointsInEnumOrder() {
    for (std::size_t i = 0; i < kPoints.size(); ++i) {
        if (IndexOf(kPoints[i].point) != i) {
            return false;
        }
    }
    return IndexOf(Point::Ascendant) + 1 == kPoints.size();
}
static_assert(PointsInEnumOrder(), "kPoints lists every Point once, in enum order");

constexpr const PointRow& RowOf(Point point) {
    return kPoints[IndexOf(point)];
}

// "Sun" ... "Pluto", "Ascendant".
constexpr std::string_view PointName(Point point) {
    return RowOf(point).name;
}

// The point at a position of the option groups' list; none outside it.
constexpr std::optional<Point> PointAt(std::ptrdiff_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kPoints.size()) {
        return std::nullopt;
    }
    return kPoints[static_cast<std::size_t>(index)].point;
}

// The bodies the ephemeris computes, Sun ... Pluto, in table order.
constexpr std::size_t CountBodies() {
    std::size_t count = 0;
    for (const PointRow& row : kPoints) {
        count += row.ephemerisBody ? 1 : 0;
    }
    return count;
}

inline constexpr std::array<Point, CountBodies()> kBodies = [] {
    std::array<Point, CountBodies()> bodies{};
    std::size_t next = 0;
    for (const PointRow& row : kPoints) {
        if (row.ephemerisBody) {
            bodies[next++] = row.point;
        }
    }
    return bodies;
}();

}  // namespace tolvaris
