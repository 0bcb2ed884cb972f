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
    CivilDate date;
    // Empty when the time is unknown: 12:00 local is used.
    std::optional<CivilTime> time;
    // A tz database zone such as "Europe/Berlin"; ignored when an offset is given.
    std::string zoneName;
    // Seconds east of UTC given by hand; overrides the zone.
    std::optional<int> givenOffsetSeconds;
    // Degrees, east positive: before a zone kept standard time, the clocks of
    // the birthplace followed the Sun at this longitude.
    double longitude = 0.0;
    FoldChoice fold = FoldChoice::None;
};

struct UniversalTime {
    // Seconds since 1970-01-01T00:00:00Z, proleptic Gregorian, no leap seconds.
    std::int64_t unixSeconds = 0;
    // Local time minus UT, in seconds.
    int offsetSeconds = 0;
    OffsetSource source = OffsetSource::Zone;
    // The zone's abbreviation for the offset ("CEST"), "LMT" for local mean
    // time, empty for an offset given by hand.
    std::string abbreviation;
    // Sentences for the user about choices made on their behalf.
    std::vector<std::string> notes;
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
// After the last change a zone file lists (2037 for most zones) the clocks
// follow the rule the file ends with, so every year has its changes.
//
// A zone's file is read on its first use (tens of microseconds); later
// conversions in it take about a microsecond.
TimeResult<UniversalTime> ToUniversalTime(const LocalTimeRequest& request);

// The birthplace's local mean time offset: longitude * 240 s, rounded to the
// nearest second, halves away from zero.
int LocalMeanTimeOffsetSeconds(double longitude);

}  // namespace tolvaris
