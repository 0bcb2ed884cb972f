#include "core/time/civil_time.h"

#include <cctype>
#include <chrono>

#include "core/time/zone_periods.h"

namespace tolvaris {
namespace {

constexpr const char* kDateForm = "Date must be written as YYYY-MM-DD, for example 1990-03-25.";
constexpr const char* kTimeForm =
    "Time must be written as HH:MM or HH:MM:SS, for example 14:05, or as \"unknown\".";
constexpr const char* kTimeRange = "Time must lie between 00:00 and 23:59:59.";
constexpr const char* kOffsetForm =
    "UTC offset must be written as +HH:MM or -HH:MM, for example +05:30, or as UTC.";
constexpr const char* kOffsetRange = "UTC offset must lie between -15:00 and +15:00.";

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads exactly `count` digits at `text[at]`; false when any is missing.
bool ReadDigits(std::string_view text, std::size_t at, std::size_t count, int& value) {
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i])) {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(word[i]))) {
            return false;
        }
    }
    return true;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view word) {
    return text.size() >= word.size() && EqualsIgnoringCase(text.substr(0, word.size()), word);
}

// "H" or "HH", then optionally ":MM" and ":SS"; or "HHMM". Fields only, no range.
bool ReadClock(std::string_view text, bool allowPacked, int& hour, int& minute, int& second) {
    hour = minute = second = 0;
    std::size_t hourDigits = 0;
    while (hourDigits < text.size() && IsDigit(text[hourDigits])) {
        ++hourDigits;
    }
    if (allowPacked && hourDigits == 4 && text.size() == 4) {
        return ReadDigits(text, 0, 2, hour) && ReadDigits(text, 2, 2, minute);
    }
    if (hourDigits < 1 || hourDigits > 2 || !ReadDigits(text, 0, hourDigits, hour)) {
        return false;
    }
    std::size_t at = hourDigits;
    if (at == text.size()) {
        return allowPacked;  // a bare hour is an offset ("+5"), never a time of day
    }
    if (text[at] != ':' || !ReadDigits(text, at + 1, 2, minute)) {
        return false;
    }
    at += 3;
    if (at == text.size()) {
        return true;
    }
    return text[at] == ':' && ReadDigits(text, at + 1, 2, second) && at + 3 == text.size();
}

}  // namespace

bool DateExists(const CivilDate& date) {
    // The calendar types hold a day in one byte: out of range, they are not asked.
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > 31) {
        return false;
    }
    return std::chrono::year_month_day{std::chrono::year{date.year},
                                       std::chrono::month{static_cast<unsigned>(date.month)},
                                       std::chrono::day{static_cast<unsigned>(date.day)}}
        .ok();
}

TimeResult<CivilDate> ParseDate(std::string_view text) {
    text = Trim(text);
    CivilDate date;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
        !ReadDigits(text, 0, 4, date.year) || !ReadDigits(text, 5, 2, date.month) ||
        !ReadDigits(text, 8, 2, date.day)) {
        return TimeError{kDateForm, std::nullopt};
    }
    if (!DateExists(date)) {
        return TimeError{"The date " + std::string(text) + " does not exist.", std::nullopt};
    }
    return date;
}

TimeResult<std::optional<CivilTime>> ParseTime(std::string_view text) {
    text = Trim(text);
    if (EqualsIgnoringCase(text, "unknown")) {
        return std::optional<CivilTime>{};
    }
    CivilTime time;
    if (!ReadClock(text, false, time.hour, time.minute, time.second)) {
        return TimeError{kTimeForm, std::nullopt};
    }
    if (time.hour > 23 || time.minute > 59 || time.second > 59) {
        return TimeError{kTimeRange, std::nullopt};
    }
    return std::optional<CivilTime>{time};
}

TimeResult<int> ParseUtcOffset(std::string_view text) {
    text = Trim(text);
    if (EqualsIgnoringCase(text, "Z")) {
        return 0;
    }
    for (const std::string_view name : {"UTC", "GMT", "UT"}) {
        if (StartsWithIgnoringCase(text, name)) {
            text = Trim(text.substr(name.size()));
            if (text.empty()) {
                return 0;
            }
            break;
        }
    }
    if (text.empty() || (text.front() != '+' && text.front() != '-')) {
        return TimeError{kOffsetForm, std::nullopt};
    }
    const int sign = text.front() == '-' ? -1 : 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (!ReadClock(text.substr(1), true, hour, minute, second)) {
        return TimeError{kOffsetForm, std::nullopt};
    }
    if (minute > 59 || second > 59) {
        return TimeError{kOffsetForm, std::nullopt};
    }
    const int seconds = hour * 3600 + minute * 60 + second;
    if (seconds > kMaxUtcOffsetSeconds) {
        return TimeError{kOffsetRange, std::nullopt};
    }
    return sign * seconds;
}

TimeResult<std::string> ParseTimeZoneName(std::string_view text) {
    text = Trim(text);
    if (text.empty()) {
        return TimeError{"Time zone must be given, for example Europe/Berlin.", std::nullopt};
    }
    if (!TimeZoneExists(text)) {
        return TimeError{"Unknown time zone \"" + std::string(text) + "\".", std::nullopt};
    }
    return std::string(text);
}

}  // namespace tolvaris
