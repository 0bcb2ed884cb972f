#pragma once

#include <string>

#include "core/chart/birth_chart.h"

namespace tolvaris {

// The chart as a table for a person to read in a terminal (UTF-8).
std::string FormatChartTable(const BirthChart& chart);

// 280.7718 as "10°46'18\"": the position inside its sign in degrees,
// minutes and seconds of arc, cut from the longitude as ShowLongitude
// rounds it, so they agree with the printed decimal figure.
std::string FormatDegreesInSign(double longitude);

}  // namespace tolvaris
