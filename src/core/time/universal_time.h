#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/time/civil_time.h"

namespace tolvaris {

// Which reading to take when the clocks fell back and a time happened twice.
enum class FoldChoice { None, Earlier, Later };

// Where the offset used came from.
enum class OffsetSource { Zone, LocalMeanTime, Given };

// A birth as the user gave it: local date and time, where the clocks' rule
// comes from, and the birthplace's longitude for local mean time.
struct LocalTimeRequest {
    CivilDate Date;
    // Empty when the time is unknown: 12:00 local is used.
    std::optional<CivilTime> Time;
    // A tz database zone such as "Europe/Berlin"; ignored when an offset is given.
    std::string ZoneName;
    // Seconds east of UTC given by hand; overrides the zone.
    std::optional<int> GivenOffsetSeconds;
    // Degrees, east positive: before a zone kept standard time, the clocks of
    // the birthplace followed the Sun at this longitude.
    double Longitude = 0.0;
    FoldChoice Fold = FoldChoice::None;
};

struct UniversalTime {
    // Seconds since 1970-01-01T00:00:00Z, proleptic Gregorian, no leap seconds.
    std::int64_t UnixSeconds = 0;
    // Local time minus UT, in seconds.
    int OffsetSeconds = 0;
    OffsetSource Source = OffsetSource::Zone;
    // The zone's abbreviation for the offset ("CEST"), "LMT" for local mean
    // time, empty for an offset given by hand.
    std::string Abbreviation;
    // Sentences for the user about choices made on their behalf.
    std::vector<std::string> Notes;
};

// Converts a local civil time to UT. Refuses, with a message naming the field,
// a date that does not exist, an unknown zone, a local time the clocks skipped,
// and a time that happened twice when no reading was chosen.
//
// Before the zone kept standard time (the tz database abbreviation "LMT"),
// the birthplace's own local mean time is used: longitude * 240 seconds,
// rounded to the nearest second, halves away from zero. The change to
// standard time is taken to have happened at the same instant as in the
// zone's main city, so it can skip or repeat local times in the birthplace.
//
// After 2037 a zone that still changed its clocks every year is refused
// (the installed zone files list the changes only up to 2037); an offset
// given by hand works for any date.
//
// A zone's file is read on its first use (tens of microseconds); later
// conversions in it take about a microsecond.
TimeResult<UniversalTime> ToUniversalTime(const LocalTimeRequest& request);

// The birthplace's local mean time offset: longitude * 240 s, rounded to the
// nearest second, halves away from zero.
int LocalMeanTimeOffsetSeconds(double longitude);

}  // namespace tolvaris
