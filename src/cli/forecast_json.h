#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/chart/birth_chart.h"
#include "core/forecast/forecast_range.h"
#include "core/forecast/transits.h"

namespace tolvaris {

// The forecast as one JSON object (see docs/cli.md): the natal chart as
// FormatChartJson gives it, the range, the settings, the transits in the
// order they begin, the ingresses, the stations and the notes. Ends in a
// line feed.
std::string FormatForecastJson(const BirthChart& chart, const ForecastRange& range,
                               const TransitSettings& settings, const TransitSearch& search);

// The same as lines for people to read: one a transit, ingress or station.
std::string FormatForecastTable(const ForecastRange& range, const TransitSearch& search);

// One window of such a list: the title padded to `titleWidth`, its entry and
// exit in `displayZone` (or the range's edge), then its exact times, R for a
// retrograde pass. Ends in a line feed.
std::string FormatWindowLine(std::string title, std::size_t titleWidth,
                             const std::optional<std::int64_t>& enter,
                             const std::optional<std::int64_t>& leave,
                             const std::vector<ExactPass>& exact, const std::string& displayZone);

}  // namespace tolvaris
