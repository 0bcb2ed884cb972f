#pragma once

#include <optional>

#include "core/chart/birth_chart.h"
#include "core/ephemeris/points.h"

namespace tolvaris {

// What choosing a point of a chart tells the main window's option groups.
struct ChartPlacement {
    int planetIndex = 0;  // as the Planets group: 0 Sun ... 9 Pluto, 10 Ascendant
    int signIndex = 0;    // 0 Aries ... 11 Pisces
    // 0 for the 1st house ... 11; none for the Ascendant (always the 1st
    // cusp) and when the birth time is unknown.
    std::optional<int> houseIndex;

    bool operator==(const ChartPlacement&) const = default;
};

// The placement of a body or the Ascendant in the chart; nothing for the
// Ascendant of a chart without houses.
std::optional<ChartPlacement> PlacementOf(const Chart& chart, Point point);

}  // namespace tolvaris
