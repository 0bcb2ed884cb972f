#include "core/time/tz_rule.h"

#include <chrono>
#include <cstddef>

namespace tolvaris {
namespace {

// A cursor over the rule text. Each Read* consumes what it accepts; after a
// failure the cursor is left anywhere, as the whole rule is then refused.
class RuleReader {
public:
    explicit RuleReader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return at_ == text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[at_]; }
    bool Take(char c) {
        if (AtEnd() || text_[at_] != c) {
            return false;
        }
        ++at_;
        return true;
    }

    // "EST" (three or more letters) or "<+0330>" (three or more of letters,
    // digits, '+' and '-' between angle brackets, which are not kept).
    bool ReadName(std::string& name) {
        const std::size_t start = at_;
        if (Take('<')) {
            while (!AtEnd() && IsQuotedNameChar(Peek())) {
                ++at_;
            }
            const std::size_t length = at_ - start - 1;
            if (length < 3 || !Take('>')) {
                return false;
            }
            name = std::string(text_.substr(start + 1, length));
            return true;
        }
        while (!AtEnd() && IsLetter(Peek())) {
            ++at_;
        }
        if (at_ - start < 3) {
            return false;
        }
        name = std::string(text_.substr(start, at_ - start));
        return true;
    }

    // [+-]h[h][:mm[:ss]] with hours up to maxHours; seconds, signed as written.
    bool ReadDuration(int maxHours, int& seconds) {
        int sign = 1;
        if (Take('-')) {
            sign = -1;
        } else {
            (void)Take('+');
        }
        int hours = 0;
        if (!ReadNumber(3, hours) || hours > maxHours) {
            return false;
        }
        int minutes = 0;
        int secs = 0;
        if (Take(':')) {
            if (!ReadNumber(2, minutes) || minutes > 59) {
                return false;
            }
            if (Take(':') && (!ReadNumber(2, secs) || secs > 59)) {
                return false;
            }
        }
        seconds = sign * (hours * 3600 + minutes * 60 + secs);
        return true;
    }

    // Mm.w.d, Jn or n, then an optional /time.
    bool ReadMoment(TzRuleMoment& moment) {
        if (Take('M')) {
            moment.form = TzRuleMoment::Form::MonthWeekDay;
            if (!ReadNumber(2, moment.month) || moment.month < 1 || moment.month > 12 ||
                !Take('.') || !ReadNumber(1, moment.week) || moment.week < 1 || moment.week > 5 ||
                !Take('.') || !ReadNumber(1, moment.weekday) || moment.weekday > 6) {
                return false;
            }
        } else if (Take('J')) {
            moment.form = TzRuleMoment::Form::JulianNoLeap;
            if (!ReadNumber(3, moment.day) || moment.day < 1 || moment.day > 365) {
                return false;
            }
        } else {
            moment.form = TzRuleMoment::Form::DayOfYear;
            if (!ReadNumber(3, moment.day) || moment.day > 365) {
                return false;
            }
        }
        moment.timeSeconds = 2 * 3600;
        return !Take('/') || ReadDuration(167, moment.timeSeconds);
    }

private:
    static bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsQuotedNameChar(char c) {
        return IsLetter(c) || IsDigit(c) || c == '+' || c == '-';
    }

    // One to maxDigits decimal digits.
    bool ReadNumber(std::size_t maxDigits, int& value) {
        const std::size_t start = at_;
        value = 0;
        while (!AtEnd() && IsDigit(Peek()) && at_ - start < maxDigits) {
            value = value * 10 + (text_[at_] - '0');
            ++at_;
        }
        return at_ > start && !IsDigit(Peek());
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// An offset's hours may be 24, but with its minutes it stays within a day.
bool WithinADay(int seconds) {
    return seconds >= -86400 && seconds <= 86400;
}

std::uint64_t BigEndian32(std::string_view bytes, std::size_t at) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

constexpr std::size_t kHeaderSize = 44;

// The size of the data block after a header; 0 when the header is not TZif.
std::optional<std::uint64_t> DataBlockSize(std::string_view bytes, std::size_t header,
                                           std::uint64_t timeSize) {
    if (bytes.size() - header < kHeaderSize || bytes.substr(header, 4) != "TZif") {
        return std::nullopt;
    }
    const std::uint64_t isUtCount = BigEndian32(bytes, header + 20);
    const std::uint64_t isStdCount = BigEndian32(bytes, header + 24);
    const std::uint64_t leapCount = BigEndian32(bytes, header + 28);
    const std::uint64_t timeCount = BigEndian32(bytes, header + 32);
    const std::uint64_t typeCount = BigEndian32(bytes, header + 36);
    const std::uint64_t charCount = BigEndian32(bytes, header + 40);
    // Counts are at most 2^32 - 1, so none of these products can overflow.
    return timeCount * timeSize + timeCount + typeCount * 6 + charCount +
           leapCount * (timeSize + 4) + isStdCount + isUtCount;
}

// Days since 1970 of the rule's day in the year.
std::int64_t DayOfMoment(const TzRuleMoment& moment, int year) {
    using namespace std::chrono;
    const std::chrono::year y{year};
    const sys_days newYear{y / January / 1};
    switch (moment.form) {
        case TzRuleMoment::Form::MonthWeekDay: {
            const month m{static_cast<unsigned>(moment.month)};
            const weekday wd{static_cast<unsigned>(moment.weekday)};
            const sys_days day = moment.week == 5
                                     ? sys_days{y / m / wd[last]}
                                     : sys_days{y / m / wd[static_cast<unsigned>(moment.week)]};
            return day.time_since_epoch().count();
        }
        case TzRuleMoment::Form::JulianNoLeap: {
            // Day 60 is always 1 March: in a leap year one day more has passed.
            const int leapDay = y.is_leap() && moment.day >= 60 ? 1 : 0;
            return (newYear + days{moment.day - 1 + leapDay}).time_since_epoch().count();
        }
        case TzRuleMoment::Form::DayOfYear:
            return (newYear + days{moment.day}).time_since_epoch().count();
    }
    return newYear.time_since_epoch().count();
}

std::int64_t LocalSecondsOf(const TzRuleMoment& moment, int year) {
    return DayOfMoment(moment, year) * 86400 + moment.timeSeconds;
}

}  // namespace

std::optional<TzRule> ParseTzRule(std::string_view text) {
    RuleReader reader(text);
    TzRule rule;
    int westSeconds = 0;
    if (!reader.ReadName(rule.standardAbbreviation) || !reader.ReadDuration(24, westSeconds) ||
        !WithinADay(westSeconds)) {
        return std::nullopt;
    }
    rule.standardOffsetSeconds = -westSeconds;
    if (reader.AtEnd()) {
        return rule;
    }
    TzRule::Daylight daylight;
    if (!reader.ReadName(daylight.abbreviation)) {
        return std::nullopt;
    }
    // Without an offset of its own, daylight time is an hour ahead of standard.
    daylight.offsetSeconds = rule.standardOffsetSeconds + 3600;
    if (reader.Peek() != ',' && !reader.AtEnd()) {
        if (!reader.ReadDuration(24, westSeconds) || !WithinADay(westSeconds)) {
            return std::nullopt;
        }
        daylight.offsetSeconds = -westSeconds;
    }
    if (!reader.Take(',') || !reader.ReadMoment(daylight.start) || !reader.Take(',') ||
        !reader.ReadMoment(daylight.end) || !reader.AtEnd()) {
        return std::nullopt;
    }
    rule.daylight = std::move(daylight);
    return rule;
}

std::optional<std::string_view> TzifFooter(std::string_view fileBytes) {
    // Version 1 header and data (32-bit times), then the version 2 header and
    // data (64-bit times), then "\n" rule "\n".
    if (fileBytes.size() < kHeaderSize || fileBytes.substr(0, 4) != "TZif" || fileBytes[4] < '2') {
        return std::nullopt;
    }
    const auto firstBlock = DataBlockSize(fileBytes, 0, 4);
    if (!firstBlock || *firstBlock > fileBytes.size() - kHeaderSize) {
        return std::nullopt;
    }
    const std::size_t secondHeader = kHeaderSize + static_cast<std::size_t>(*firstBlock);
    const auto secondBlock = DataBlockSize(fileBytes, secondHeader, 8);
    if (!secondBlock || *secondBlock > fileBytes.size() - secondHeader - kHeaderSize) {
        return std::nullopt;
    }
    std::string_view footer =
        fileBytes.substr(secondHeader + kHeaderSize + static_cast<std::size_t>(*secondBlock));
    if (footer.size() < 2 || footer.front() != '\n') {
        return std::nullopt;
    }
    footer.remove_prefix(1);
    const std::size_t end = footer.find('\n');
    if (end == std::string_view::npos || end == 0) {
        return std::nullopt;
    }
    return footer.substr(0, end);
}

std::array<TzRuleChange, 2> TzRuleChangesOfYear(const TzRule& rule, int year) {
    const TzRule::Daylight& daylight = *rule.daylight;
    // The start is written in the standard time then in force, the end in
    // daylight time.
    return {TzRuleChange{LocalSecondsOf(daylight.start, year) - rule.standardOffsetSeconds, true},
            TzRuleChange{LocalSecondsOf(daylight.end, year) - daylight.offsetSeconds, false}};
}

}  // namespace tolvaris
