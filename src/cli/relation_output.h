#pragma once

#include <string>

#include "core/chart/birth_chart.h"
#include "core/relation/relation.h"

namespace tolvaris {

// Two charts and their synastry as one JSON object (see docs/cli.md),
// ending in a line feed.
std::string FormatSynastryJson(const BirthChart& first, const BirthChart& second,
                               const Synastry& synastry);

// The composite as a chart object whose input and moment are null, with
// "composite_of" naming the two charts.
std::string FormatCompositeJson(const CompositeChart& composite);

// The same as tables for a person to read in a terminal (UTF-8).
std::string FormatSynastryTable(const BirthChart& first, const BirthChart& second,
                                const Synastry& synastry);
std::string FormatCompositeTable(const CompositeChart& composite);

}  // namespace tolvaris
