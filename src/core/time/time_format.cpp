#include "core/time/time_format.h"

#include <chrono>
#include <cstdlib>

namespace tolvaris {
namespace {

constexpr const char* kMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};

// The value in decimal, zero-padded to `width` characters with the sign
// counted among them, as printf's "%0*d" writes it.
void AppendPadded(std::string& text, long long value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    const int signWidth = value < 0 ? 1 : 0;
    if (value < 0) {
        text += '-';
    }
    for (int i = static_cast<int>(digits.size()) + signWidth; i < width; ++i) {
        text += '0';
    }
    text += digits;
}

void AppendDate(std::string& text, const CivilDate& date) {
    AppendPadded(text, date.year, 4);
    text += '-';
    AppendPadded(text, date.month, 2);
    text += '-';
    AppendPadded(text, date.day, 2);
}

void AppendClock(std::string& text, int hour, int minute, int second, bool withSeconds) {
    AppendPadded(text, hour, 2);
    text += ':';
    AppendPadded(text, minute, 2);
    if (withSeconds) {
        text += ':';
        AppendPadded(text, second, 2);
    }
}

// Date and time of day of a UT instant, days before 1970 rounded to the past.
std::string UniversalDateTime(std::int64_t unixSeconds, char separator) {
    using namespace std::chrono;
    const sys_seconds instant{seconds{unixSeconds}};
    const sys_days day = floor<days>(instant);
    const hh_mm_ss clock{instant - day};
    std::string text;
    AppendDate(text, DateFromDaysSinceEpoch(day.time_since_epoch().count()));
    text += separator;
    AppendClock(text, static_cast<int>(clock.hours().count()),
                static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()), true);
    return text;
}

}  // namespace

std::int64_t DaysSinceEpoch(const CivilDate& date) {
    const std::chrono::year_month_day day{std::chrono::year{date.year},
                                          std::chrono::month{static_cast<unsigned>(date.month)},
                                          std::chrono::day{static_cast<unsigned>(date.day)}};
    return std::chrono::sys_days{day}.time_since_epoch().count();
}

CivilDate DateFromDaysSinceEpoch(std::int64_t days) {
    const std::chrono::year_month_day day{std::chrono::sys_days{std::chrono::days{days}}};
    return CivilDate{static_cast<int>(day.year()),
                     static_cast<int>(static_cast<unsigned>(day.month())),
                     static_cast<int>(static_cast<unsigned>(day.day()))};
}

std::string FormatIsoDate(const CivilDate& date) {
    std::string text;
    AppendDate(text, date);
    return text;
}

std::string FormatIsoTime(const CivilTime& time) {
    std::string text;
    AppendClock(text, time.hour, time.minute, time.second, true);
    return text;
}

std::string FormatClockTime(const CivilTime& time) {
    std::string text;
    AppendClock(text, time.hour, time.minute, time.second, time.second != 0);
    return text;
}

std::string FormatUtcOffset(int offsetSeconds) {
    const int magnitude = std::abs(offsetSeconds);
    std::string text(1, offsetSeconds < 0 ? '-' : '+');
    AppendClock(text, magnitude / 3600, magnitude / 60 % 60, magnitude % 60, magnitude % 60 != 0);
    return text;
}

std::string FormatUniversalTime(std::int64_t unixSeconds) {
    return UniversalDateTime(unixSeconds, 'T') + 'Z';
}

std::string FormatUniversalDateTime(std::int64_t unixSeconds) {
    return UniversalDateTime(unixSeconds, ' ');
}

std::string FormatDateInWords(const CivilDate& date) {
    const int month = date.month >= 1 && date.month <= 12 ? date.month : 1;
    return std::to_string(date.day) + " " + kMonthNames[month - 1] + " " +
           std::to_string(date.year);
}

}  // namespace tolvaris
