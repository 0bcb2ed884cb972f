#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/chart/birth_chart.h"

namespace tolvaris {

// The chart as one JSON object (see docs/cli.md), ending in a line feed.
std::string FormatChartJson(const BirthChart& chart);

// The members of a chart object from "ephemeris" to "notes", without the
// braces: what a composite, which has no input or moment, shares with it.
std::string ChartFieldsJson(const Chart& chart, const std::vector<std::string>& notes);

// " \"bodies\": [...],\n \"ascendant\": ...,\n \"midheaven\": ...,\n \"cusps\": ..."
// as in a chart object, for a chart made of positions alone (progressed).
std::string PlacementsJson(const std::vector<BodyPlacement>& bodies,
                           const std::optional<AnglePlacement>& ascendant,
                           const std::optional<AnglePlacement>& midheaven,
                           const std::optional<HouseCusps>& cusps);

}  // namespace tolvaris
