#pragma once

#include <string>

#include "core/chart/birth_chart.h"

namespace tolvaris {

// The chart as one JSON object (see docs/cli.md), ending in a line feed.
std::string FormatChartJson(const BirthChart& chart);

}  // namespace tolvaris
