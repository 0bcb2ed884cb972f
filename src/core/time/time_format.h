#pragma once

#include <cstdint>
#include <string>

#include "core/time/civil_time.h"

namespace tolvaris {

// The one place that writes dates, times and offsets as digits; every other
// text (files, the command line's table and JSON, messages) goes through it.

// "1990-03-25": the year with at least four digits, month and day with two.
std::string FormatIsoDate(const CivilDate& date);

// "14:05:00", always with the seconds.
std::string FormatIsoTime(const CivilTime& time);

// "02:30", or "02:30:15" when the seconds are not zero.
std::string FormatClockTime(const CivilTime& time);

// "+01:00", "+05:45", "-03:30"; "+00:53:28" when the offset is not a whole
// number of minutes. Zero is "+00:00".
std::string FormatUtcOffset(int offsetSeconds);

// "1990-01-01T11:00:00Z" for seconds since 1970-01-01T00:00:00Z.
std::string FormatUniversalTime(std::int64_t unixSeconds);

// "1990-01-01 11:00:00", the same instant for people to read.
std::string FormatUniversalDateTime(std::int64_t unixSeconds);

// "25 March 1990", as the messages to the user write dates.
std::string FormatDateInWords(const CivilDate& date);

// Days from 1970-01-01 to the date (negative before), proleptic Gregorian.
std::int64_t DaysSinceEpoch(const CivilDate& date);
CivilDate DateFromDaysSinceEpoch(std::int64_t days);

}  // namespace tolvaris
