#pragma once

#include <string>

#include "core/chart/birth_chart.h"
#include "core/forecast/forecast_range.h"
#include "core/forecast/progressions.h"

namespace tolvaris {

// --progressed as one JSON object (see docs/cli.md): the natal chart, the
// moments, the solar arc, the progressed positions as a chart has them and
// the progressed aspects to the natal points. Ends in a line feed.
std::string FormatProgressedJson(const BirthChart& natal, const ProgressedChart& progressed);

// The same for people to read, times in the display zone.
std::string FormatProgressedTable(const ProgressedChart& progressed, const std::string& zone);

// --progressions: the events shaped like a forecast's, with "progressed" in
// place of "transiting", and the sign changes.
std::string FormatProgressionsJson(const BirthChart& natal, const ForecastRange& range,
                                   const ProgressionSettings& settings,
                                   const ProgressionSearch& search);

// The same as lines: one an aspect, sign change, ingress or station.
std::string FormatProgressionsTable(const ForecastRange& range, const ProgressionSearch& search);

// --solar-return and --lunar-return: {"natal": ..., "return": ...}.
std::string FormatReturnJson(const BirthChart& natal, const BirthChart& returnChart);

}  // namespace tolvaris
