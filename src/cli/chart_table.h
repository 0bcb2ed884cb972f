#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/chart/birth_chart.h"

namespace tolvaris {

// The chart as a table for a person to read in a terminal (UTF-8).
std::string FormatChartTable(const BirthChart& chart);

// The table after the chart's facts: positions, cusps, aspects and notes.
std::string FormatChartTableBody(const Chart& chart, const std::vector<std::string>& notes);

// `text` followed by spaces to `width` characters (UTF-8 counted by
// character).
std::string Padded(std::string_view text, std::size_t width);

// 280.7718 as "10°46'18\"": the position inside its sign in degrees,
// minutes and seconds of arc, cut from the longitude as ShowLongitude
// rounds it, so they agree with the printed decimal figure.
std::string FormatDegreesInSign(double longitude);

}  // namespace tolvaris
