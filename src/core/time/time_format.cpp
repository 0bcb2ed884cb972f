#include "core/time/time_format.h"

#include <cstdio>
#include <cstdlib>

namespace tolvaris {
namespace {

constexpr const char* kMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};

// Floor division: days and seconds before 1970 must round towards the past.
std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    std::int64_t quotient = value / divisor;
    if (value % divisor != 0 && value < 0) {
        --quotient;
    }
    return quotient;
}

}  // namespace

// Howard Hinnant's days_from_civil: eras of 400 years, March-based years so
// that the leap day falls at the end.
std::int64_t DaysSinceEpoch(const CivilDate& date) {
    const std::int64_t year = date.Year - (date.Month <= 2 ? 1 : 0);
    const std::int64_t era = FloorDivide(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t monthFromMarch = date.Month > 2 ? date.Month - 3 : date.Month + 9;
    const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.Day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate DateFromDaysSinceEpoch(std::int64_t days) {
    days += 719468;
    const std::int64_t era = FloorDivide(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    CivilDate date;
    date.Day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    date.Month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    date.Year = static_cast<int>(yearOfEra + era * 400 + (date.Month <= 2 ? 1 : 0));
    return date;
}

std::string FormatUtcOffset(int offsetSeconds) {
    const char sign = offsetSeconds < 0 ? '-' : '+';
    const int magnitude = std::abs(offsetSeconds);
    char text[16];
    if (magnitude % 60 == 0) {
        std::snprintf(text, sizeof text, "%c%02d:%02d", sign, magnitude / 3600,
                      magnitude / 60 % 60);
    } else {
        std::snprintf(text, sizeof text, "%c%02d:%02d:%02d", sign, magnitude / 3600,
                      magnitude / 60 % 60, magnitude % 60);
    }
    return text;
}

std::string FormatUniversalTime(std::int64_t unixSeconds) {
    const std::int64_t days = FloorDivide(unixSeconds, 86400);
    const std::int64_t secondOfDay = unixSeconds - days * 86400;
    const CivilDate date = DateFromDaysSinceEpoch(days);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", date.Year, date.Month,
                  date.Day, static_cast<int>(secondOfDay / 3600),
                  static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60));
    return text;
}

std::string FormatDateInWords(const CivilDate& date) {
    const int month = date.Month >= 1 && date.Month <= 12 ? date.Month : 1;
    return std::to_string(date.Day) + " " + kMonthNames[month - 1] + " " +
           std::to_string(date.Year);
}

std::string FormatClockTime(const CivilTime& time) {
    char text[16];
    if (time.Second == 0) {
        std::snprintf(text, sizeof text, "%02d:%02d", time.Hour, time.Minute);
    } else {
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.Hour, time.Minute, time.Second);
    }
    return text;
}

}  // namespace tolvaris
