// The zone files' closing rule: its text, worked out by hand from the format's
// grammar, and the changes of a year, with instants computed by Python's
// datetime from the dates named in each comment.
#include "core/time/tz_rule.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace tolvaris {
namespace {

using Form = TzRuleMoment::Form;

TzRuleMoment Weekday(int month, int week, int weekday, int timeSeconds) {
    return TzRuleMoment{Form::MonthWeekDay, month, week, weekday, 0, timeSeconds};
}

TzRuleMoment Day(Form form, int day, int timeSeconds) {
    return TzRuleMoment{form, 0, 0, 0, day, timeSeconds};
}

TzRule Rule(std::string standard, int offset, std::optional<TzRule::Daylight> daylight) {
    return TzRule{std::move(standard), offset, std::move(daylight)};
}

struct RuleCase {
    const char* text;
    std::optional<TzRule> expected;
};

TEST(TzRule, ParsesTheGrammarAndRefusesTheRest) {
    const RuleCase cases[] = {
        {"JST-9", Rule("JST", 9 * 3600, std::nullopt)},
        {"<+0330>-3:30", Rule("+0330", 12600, std::nullopt)},
        {"<-03>3", Rule("-03", -10800, std::nullopt)},
        {"EST5EDT,M3.2.0,M11.1.0",
         Rule("EST", -18000,
              TzRule::Daylight{"EDT", -14400, Weekday(3, 2, 0, 7200), Weekday(11, 1, 0, 7200)})},
        {"<+1030>-10:30<+11>-11,M10.1.0,M4.1.0",
         Rule("+1030", 37800,
              TzRule::Daylight{"+11", 39600, Weekday(10, 1, 0, 7200), Weekday(4, 1, 0, 7200)})},
        // Daylight time behind standard time.
        {"IST-1GMT0,M10.5.0,M3.5.0/1",
         Rule("IST", 3600,
              TzRule::Daylight{"GMT", 0, Weekday(10, 5, 0, 7200), Weekday(3, 5, 0, 3600)})},
        {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0",
         Rule("-02", -7200,
              TzRule::Daylight{"-01", -3600, Weekday(3, 5, 0, -3600), Weekday(10, 5, 0, 0)})},
        {"<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45",
         Rule("+1245", 45900,
              TzRule::Daylight{"+1345", 49500, Weekday(9, 5, 0, 9900), Weekday(4, 1, 0, 13500)})},
        {"XXX3YYY,J60/-167,300/167:59:59",
         Rule("XXX", -10800,
              TzRule::Daylight{"YYY", -7200, Day(Form::JulianNoLeap, 60, -601200),
                               Day(Form::DayOfYear, 300, 604799)})},
        {"AAA+24:00:00BBB-24,0/0,J365/25",
         Rule("AAA", -86400,
              TzRule::Daylight{"BBB", 86400, Day(Form::DayOfYear, 0, 0),
                               Day(Form::JulianNoLeap, 365, 90000)})},
        {"", std::nullopt},
        {"EST", std::nullopt},
        {"EST25", std::nullopt},
        {"<+1245>-24:45", std::nullopt},
        {"EST5:60", std::nullopt},
        {"EST5EDT", std::nullopt},  // no dates: not guessed
        {"EST5EDT,M3.2.0", std::nullopt},
        {"EST5EDT,M13.1.0,M11.1.0", std::nullopt},
        {"EST5EDT,M3.6.0,M11.1.0", std::nullopt},
        {"EST5EDT,M3.2.7,M11.1.0", std::nullopt},
        {"EST5EDT,J0,J365", std::nullopt},
        {"EST5EDT,1,366", std::nullopt},
        {"EST5EDT,M3.2.0/168,M11.1.0", std::nullopt},
        {"<+03", std::nullopt},
        {"<+3>-3", std::nullopt},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseTzRule(c.text), c.expected);
    }
}

struct YearCase {
    const char* rule;
    int year;
    std::int64_t start;
    std::int64_t end;
};

TEST(TzRule, ChangesOfAYear) {
    const YearCase cases[] = {
        // 11 March 2040 02:00 EST; 4 November 2040 02:00 EDT.
        {"EST5EDT,M3.2.0,M11.1.0", 2040, 2215062000, 2235621600},
        // "5" is the last Sunday: 25 March (there is no fifth) at 24 March 23:00,
        // 28 October 00:00.
        {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", 2040, 2216250000, 2234998800},
        // Southern: 6 October 2041 02:00 +10, before it 7 April 2041 03:00 +11.
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", 2041, 2264601600, 2248876800},
        // J60 is 1 March in a leap year and in a common one, 167 hours earlier;
        // day 300 counted from 0 is 27 October 2040 but 28 October 2039.
        {"XXX3YYY,J60/-167,300/167:59:59", 2040, 2213582400, 2235520799},
        {"XXX3YYY,J60/-167,300/167:59:59", 2039, 2181960000, 2203984799},
    };
    for (const YearCase& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " in " + std::to_string(c.year));
        const auto rule = ParseTzRule(c.rule);
        ASSERT_TRUE(rule.has_value());
        const auto changes = TzRuleChangesOfYear(*rule, c.year);
        EXPECT_EQ(changes[0].unixSeconds, c.start);
        EXPECT_TRUE(changes[0].toDaylight);
        EXPECT_EQ(changes[1].unixSeconds, c.end);
        EXPECT_FALSE(changes[1].toDaylight);
    }
}

std::string ReadBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(TzRule, FooterOfAZoneFile) {
    // The last line of the installed file, as `tail -n1` shows it.
    const std::string file = ReadBytes("/usr/share/zoneinfo/America/New_York");
    ASSERT_GT(file.size(), 100u);
    EXPECT_EQ(TzifFooter(file), std::optional<std::string_view>("EST5EDT,M3.2.0,M11.1.0"));

    std::string versionOne = file;
    versionOne[4] = '\0';
    std::string hugeCount = file;
    hugeCount[32] = '\x7f';  // the first header's count of transitions
    std::string emptyFooter = file.substr(0, file.size() - 23) + "\n";
    const std::pair<const char*, std::string> broken[] = {
        {"cut before the last newline", file.substr(0, file.size() - 1)},
        {"cut inside the data", file.substr(0, file.size() / 2)},
        {"cut inside the header", file.substr(0, 30)},
        {"version 1", versionOne},
        {"a count past the end", hugeCount},
        {"an empty footer", emptyFooter},
    };
    for (const auto& [what, bytes] : broken) {
        SCOPED_TRACE(what);
        EXPECT_EQ(TzifFooter(bytes), std::nullopt);
    }
}

}  // namespace
}  // namespace tolvaris
