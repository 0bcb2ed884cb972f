#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tolvaris {

// A calendar date in the proleptic Gregorian calendar, as the user wrote it.
struct CivilDate {
    int year = 1970;
    int month = 1;
    int day = 1;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// A wall-clock time of day, 00:00:00 to 23:59:59.
struct CivilTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// Both readings of a wall-clock time that happened twice, for a dialog that
// lets the user pick one.
struct RepeatedLocalTime {
    int earlierOffsetSeconds = 0;
    int laterOffsetSeconds = 0;
    std::int64_t earlierUnixSeconds = 0;
    std::int64_t laterUnixSeconds = 0;
};

// Why a date, time or zone was refused: a sentence meant for the user that
// names the field. Repeated is set only when a time happened twice and no
// reading was chosen.
struct TimeError {
    std::string message;
    std::optional<RepeatedLocalTime> repeated;
};

// Either the value or the reason it could not be had. Bad input never throws.
template <class Value>
using TimeResult = std::variant<Value, TimeError>;

// Offsets written by hand may reach this far either side of UTC: a little
// beyond +14:00 so that old local mean times near the date line still fit.
inline constexpr int kMaxUtcOffsetSeconds = 15 * 3600;

// Whether the date is a real one of the years 1 to 9999.
bool DateExists(const CivilDate& date);

// "YYYY-MM-DD" with a four-digit year 0001-9999; surrounding spaces are ignored.
TimeResult<CivilDate> ParseDate(std::string_view text);

// "HH:MM" or "HH:MM:SS" (the hour may have one digit), or "unknown" in any
// letter case, which gives an empty optional.
TimeResult<std::optional<CivilTime>> ParseTime(std::string_view text);

// A UTC offset given by hand, in seconds east of Greenwich. Accepted:
// "Z", "UT", "UTC", "GMT" (all zero); a sign followed by "H", "HH", "HH:MM",
// "HHMM" or "HH:MM:SS", optionally after "UTC", "UT" or "GMT"
// ("+05:30", "-3", "+0545", "UTC-03:30", "+00:53:28"). The sign is required so
// that an offset cannot be mistaken for a time of day. Range +-15:00.
TimeResult<int> ParseUtcOffset(std::string_view text);

// A tz database zone name such as "Europe/Berlin", checked against the
// installed database (case matters, as in the database).
TimeResult<std::string> ParseTimeZoneName(std::string_view text);

}  // namespace tolvaris
