#pragma once

#include <cstdint>
#include <string>

namespace tolvaris {

// An instant is given as seconds since 1970-01-01 00:00:00 UTC counted the
// POSIX way: every day has 86400 seconds and leap seconds are not counted (a
// leap second 23:59:60 cannot be written; take 23:59:59 or the next 00:00:00).
// Such a count reads as UTC, which stays within 0.9 s of UT1, the time the
// ephemeris wants (before 1972 civil time followed UT itself); we use it as
// UT directly. The 0.9 s moves the Ascendant by about a hundredth of a degree
// at most at ordinary latitudes, far below the precision of any recorded
// birth time, and DUT1 is not known for the future anyway.

inline constexpr double kUnixEpochJulianDay = 2440587.5;

// Julian day (UT) of the instant; calendar dates are proleptic Gregorian.
double JulianDayUtFromUnixSeconds(std::int64_t secondsSince1970);

// The Gregorian calendar year (UTC) holding the instant.
int GregorianYearOfUnixSeconds(std::int64_t secondsSince1970);

// Accepted years. The built-in ephemeris reaches from -3000 to 3000, but
// dates before 1583 would be Gregorian dates where records use the Julian
// calendar; we refuse them rather than guess which one the user meant.
inline constexpr int kFirstAcceptedYear = 1583;
inline constexpr int kLastAcceptedYear = 2999;

// Empty when the instant lies in the accepted years, else a message for the user.
std::string CheckInstantInAcceptedYears(std::int64_t secondsSince1970);

}  // namespace tolvaris
