#pragma once

#include <string>
#include <vector>

#include "core/chart/birth_chart.h"

namespace tolvaris {

// One labelled fact of a chart: "Born", "1 January 1990, 12:00 local time".
struct ChartFact {
    std::string label;
    std::string value;
};

// What a chart was computed from and how, made once for every place that
// shows it (the chart window, the reading's heading, the PDF's first page,
// the command line's table), so each says the same in the same style. Texts
// are UTF-8.
struct ChartSummary {
    std::string name;  // empty when the chart has none
    std::vector<ChartFact> facts;
    // Each note once, the time's first, then the chart's.
    std::vector<std::string> notes;
};

// Born (or Moment, for a chart of no birth), Place (when named), Coordinates, Universal time (with
// the offset and where it came from), Houses (the system used, and the one asked for when it could
// not be used), Ephemeris.
ChartSummary SummariseChart(const BirthChart& chart);

}  // namespace tolvaris
