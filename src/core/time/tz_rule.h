#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvaris {

// The day and local time of year at which a yearly change of the clocks falls,
// in one of the three forms a TZ rule writes it.
struct TzRuleMoment {
    enum class Form {
        MonthWeekDay,  // "Mm.w.d": weekday d (0 Sunday) of week w (5 = last) of month m
        JulianNoLeap,  // "Jn": day n, 1 to 365, 29 February never counted
        DayOfYear,     // "n": day n, 0 to 365, 29 February counted
    };
    Form form = Form::MonthWeekDay;
    int month = 0;
    int week = 0;
    int weekday = 0;
    int day = 0;
    // Local wall-clock seconds after the day's midnight: -167 to 167 hours.
    int timeSeconds = 2 * 3600;
    friend bool operator==(const TzRuleMoment&, const TzRuleMoment&) = default;
};

// The clocks' rule that a zone file ends with, such as "EST5EDT,M3.2.0,M11.1.0".
// Offsets are seconds east of Greenwich (the text writes them west-positive).
struct TzRule {
    std::string standardAbbreviation;
    int standardOffsetSeconds = 0;
    // Empty when the zone keeps one offset all year.
    struct Daylight {
        std::string abbreviation;
        int offsetSeconds = 0;
        TzRuleMoment start;  // written in standard time
        TzRuleMoment end;    // written in daylight time
        friend bool operator==(const Daylight&, const Daylight&) = default;
    };
    std::optional<Daylight> daylight;
    friend bool operator==(const TzRule&, const TzRule&) = default;
};

// Parses a TZ rule: std offset [dst [offset] [,start[/time],end[/time]]], with
// names of three or more letters or in angle brackets ("<+0330>"), offsets of
// at most 24 hours and rule times of at most 167 hours either way. A daylight
// name needs its two dates: the default rule some C libraries assume is not
// guessed. Empty for anything else.
std::optional<TzRule> ParseTzRule(std::string_view text);

// The rule text at the end of a TZif file of version 2 or later, between its
// two newlines; empty when the bytes are not such a file or have no rule
// (an empty footer, allowed in the format, also gives empty).
std::optional<std::string_view> TzifFooter(std::string_view fileBytes);

// One change of the clocks the rule makes: the UT instant and whether the
// clocks go to daylight time (else back to standard time).
struct TzRuleChange {
    std::int64_t unixSeconds = 0;
    bool toDaylight = false;
};

// The two changes of a calendar year, in the order of the rule (start, end):
// the end comes first in the year in the southern hemisphere. The rule must
// have daylight time.
std::array<TzRuleChange, 2> TzRuleChangesOfYear(const TzRule& rule, int year);

}  // namespace tolvaris
