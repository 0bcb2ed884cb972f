#include "core/ephemeris/ut_instant.h"

#include <chrono>

namespace tolvaris {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Division that rounds towards minus infinity, so instants before 1970 land
// in the right day.
std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    std::int64_t quotient = value / divisor;
    if (value % divisor != 0 && value < 0) {
        --quotient;
    }
    return quotient;
}

}  // namespace

double JulianDayUtFromUnixSeconds(std::int64_t secondsSince1970) {
    const std::int64_t days = FloorDiv(secondsSince1970, kSecondsPerDay);
    const std::int64_t secondsOfDay = secondsSince1970 - days * kSecondsPerDay;
    // Whole days and the fraction added apart keep full precision in the fraction.
    return kUnixEpochJulianDay + static_cast<double>(days) +
           static_cast<double>(secondsOfDay) / static_cast<double>(kSecondsPerDay);
}

int GregorianYearOfUnixSeconds(std::int64_t secondsSince1970) {
    const std::int64_t days = FloorDiv(secondsSince1970, kSecondsPerDay);
    const std::chrono::sys_days date{std::chrono::days{days}};
    return static_cast<int>(std::chrono::year_month_day{date}.year());
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
