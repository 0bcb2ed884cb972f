#pragma once

#include <cstdint>
#include <string>

#include "core/time/civil_time.h"

namespace tolvaris {

// "+01:00", "+05:45", "-03:30"; "+00:53:28" when the offset is not a whole
// number of minutes. Zero is "+00:00".
std::string FormatUtcOffset(int offsetSeconds);

// "1990-01-01T11:00:00Z" for seconds since 1970-01-01T00:00:00Z.
std::string FormatUniversalTime(std::int64_t unixSeconds);

// "25 March 1990", as the messages to the user write dates.
std::string FormatDateInWords(const CivilDate& date);

// "02:30", or "02:30:15" when the seconds are not zero.
std::string FormatClockTime(const CivilTime& time);

// Days from 1970-01-01 to the date (negative before), proleptic Gregorian.
std::int64_t DaysSinceEpoch(const CivilDate& date);
CivilDate DateFromDaysSinceEpoch(std::int64_t days);

}  // namespace tolvaris
