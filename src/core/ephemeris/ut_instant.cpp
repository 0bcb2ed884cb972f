#include "core/ephemeris/ut_instant.h"

#include <chrono>

namespace tolvaris {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// The day holding the instant; days before 1970 round towards the past.
std::chrono::sys_days DayOf(std::int64_t secondsSince1970) {
    return std::chrono::floor<std::chrono::days>(
        std::chrono::sys_seconds{std::chrono::seconds{secondsSince1970}});
}

}  // namespace

double JulianDayUtFromUnixSeconds(std::int64_t secondsSince1970) {
    const std::int64_t days = DayOf(secondsSince1970).time_since_epoch().count();
    const std::int64_t secondsOfDay = secondsSince1970 - days * kSecondsPerDay;
    // Whole days and the fraction added apart keep full precision in the fraction.
    return kUnixEpochJulianDay + static_cast<double>(days) +
           static_cast<double>(secondsOfDay) / static_cast<double>(kSecondsPerDay);
}

int GregorianYearOfUnixSeconds(std::int64_t secondsSince1970) {
    return static_cast<int>(std::chrono::year_month_day{DayOf(secondsSince1970)}.year());
}

std::string CheckInstantInAcceptedYears(std::int64_t secondsSince1970) {
    // Far outside the calendar's reach the year would not fit an int.
    constexpr std::int64_t kTenThousandYears = 10000LL * 366 * kSecondsPerDay;
    if (secondsSince1970 < -kTenThousandYears || secondsSince1970 > kTenThousandYears) {
        return "Date must lie between the years 1583 and 2999.";
    }
    const int year = GregorianYearOfUnixSeconds(secondsSince1970);
    if (year < kFirstAcceptedYear || year > kLastAcceptedYear) {
        return "Date must lie between the years 1583 and 2999 (Universal Time); " +
               std::to_string(year) + " is outside.";
    }
    return {};
}

}  // namespace tolvaris
