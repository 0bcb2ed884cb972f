#pragma once

#include <string>

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

}  // namespace tolvaris
