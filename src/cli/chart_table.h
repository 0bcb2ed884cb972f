#pragma once

#include <string>

#include "core/chart/birth_chart.h"

namespace tolvaris {

// The chart as a table for a person to read in a terminal (UTF-8).
std::string FormatChartTable(const BirthChart& chart);

// 280.7718 as "10°46'18\"": the position inside its sign in degrees,
// minutes and seconds of arc, rounded to the second.
std::string FormatDegreesInSign(double degreeInSign);

}  // namespace tolvaris
