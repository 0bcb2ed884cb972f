#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/chart/birth_data.h"
#include "core/common/result.h"
#include "core/ephemeris/ephemeris.h"
#include "core/sky/chart.h"
#include "core/time/universal_time.h"

namespace tolvaris {

// A computed chart with what it was computed from.
struct BirthChart {
    BirthData input;
    UniversalTime universalTime;
    Chart chart;
    // Every note for the user, the time's first, then the chart's.
    std::vector<std::string> notes;
    // False for a chart cast for a moment no one was born at (a return, a
    // Davison midpoint), which its summary then calls a "Moment".
    bool birth = true;
};

// The chart, or why not: the error's kind tells refused input from a
// failure of the ephemeris library. When a time happened twice and no
// reading was chosen (kind RepeatedTime), `repeated` holds both readings.
struct BirthChartResult {
    std::optional<BirthChart> value;
    Error error;
    std::optional<RepeatedLocalTime> repeated;
    bool Ok() const { return value.has_value(); }
};

// Empty when the local date may fall in the years the chart is computed for
// (kFirstAcceptedYear to kLastAcceptedYear in UT), else a sentence for the
// user. Asked before the zone: no zone or offset makes such a date computable.
std::string CheckBirthYear(const CivilDate& date);

// Checks the birth data (coordinates, orbs, the year, zone or offset, date
// and time),
// converts the local time to UT and computes the chart. Changes nothing on
// failure.
BirthChartResult ComputeBirthChart(Ephemeris& ephemeris, const BirthData& birth);

// Where the offset came from, as the user reads it: "zone", "local mean
// time" or "given".
std::string_view OffsetSourceName(OffsetSource source);

}  // namespace tolvaris
