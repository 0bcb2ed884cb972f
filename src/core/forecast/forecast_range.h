#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/result.h"
#include "core/forecast/transits.h"
#include "core/time/civil_time.h"

namespace tolvaris {

// The longest range a forecast covers.
inline constexpr int kLongestForecastYears = 100;

// A range of whole days in the zone the dates are shown in.
struct ForecastRange {
    CivilDate first;
    CivilDate last;
    // "UTC" or a tz database name.
    std::string displayZone;
    // From `first` at 00:00 to the end of `last` in the display zone.
    TransitSpan span;
};

// Refuses a date that does not exist, a last date before the first, a range
// over kLongestForecastYears, years beyond the ephemeris and an unknown zone,
// with a message for the user. The message is a clause without the option's
// name ("the last date 2027-01-01 comes before the first 2027-02-01"); the
// caller puts where it came from in front ("--transits: ...").
Result<ForecastRange> DayRangeInZone(const CivilDate& first, const CivilDate& last,
                                     std::string_view displayZone);

// The display zone's offset from UT at an instant, in seconds.
int DisplayOffsetAt(std::string_view displayZone, std::int64_t utSeconds);

// "2027-03-01T13:34:56+01:00" (or "...Z" for UTC).
std::string FormatLocalIso(std::string_view displayZone, std::int64_t utSeconds);

}  // namespace tolvaris
