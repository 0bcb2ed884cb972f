#include "core/time/time_format.h"

#include <gtest/gtest.h>

namespace tolvaris {
namespace {

TEST(FormatUtcOffset, WritesHoursAndMinutesAndSecondsOnlyWhenNeeded) {
    const struct {
        int seconds;
        const char* text;
    } cases[] = {
        {3600, "+01:00"},
        {5 * 3600 + 45 * 60, "+05:45"},
        {-(3 * 3600 + 30 * 60), "-03:30"},
        {0, "+00:00"},
        {3208, "+00:53:28"},
        {-1521, "-00:25:21"},
        {-12652, "-03:30:52"},
        {14 * 3600, "+14:00"},
        {-15 * 3600, "-15:00"},
        {49500, "+13:45"},
        {-59, "-00:00:59"},
        {60, "+00:01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatUtcOffset(c.seconds), c.text) << c.seconds;
    }
}

// Instants checked with Python: datetime.fromtimestamp(s, timezone.utc).isoformat().
TEST(FormatUniversalTime, WritesIsoInstantsBeforeAndAfter1970) {
    const struct {
        std::int64_t seconds;
        const char* text;
    } cases[] = {
        {0, "1970-01-01T00:00:00Z"},
        {631191600, "1990-01-01T11:00:00Z"},
        {-1, "1969-12-31T23:59:59Z"},
        {-86400, "1969-12-31T00:00:00Z"},
        {-2825765617, "1880-06-15T09:06:23Z"},
        {951782400, "2000-02-29T00:00:00Z"},
        {1325239200, "2011-12-30T10:00:00Z"},
        {-62135596800, "0001-01-01T00:00:00Z"},
        {253402300799, "9999-12-31T23:59:59Z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatUniversalTime(c.seconds), c.text) << c.seconds;
    }
}

// Day numbers from Python: date.toordinal() - date(1970, 1, 1).toordinal().
TEST(DaysSinceEpoch, MatchesPythonsOrdinalsAndRoundTrips) {
    const struct {
        CivilDate date;
        std::int64_t days;
    } cases[] = {
        {{1970, 1, 1}, 0},      {{2000, 3, 1}, 11017},     {{1969, 12, 31}, -1},
        {{1, 1, 1}, -719162},   {{9999, 12, 31}, 2932896}, {{1600, 2, 29}, -135081},
        {{1893, 4, 1}, -28033},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DaysSinceEpoch(c.date), c.days) << c.days;
        EXPECT_EQ(DateFromDaysSinceEpoch(c.days), c.date) << c.days;
    }
    // Every day from 1799 to 2401 survives the round trip and follows its predecessor.
    std::int64_t previous = DaysSinceEpoch({1799, 1, 1}) - 1;
    for (std::int64_t day = previous + 1; day <= DaysSinceEpoch({2401, 1, 1}); ++day) {
        const CivilDate date = DateFromDaysSinceEpoch(day);
        ASSERT_TRUE(DateExists(date)) << day;
        ASSERT_EQ(DaysSinceEpoch(date), day);
        ASSERT_EQ(day, previous + 1);
        previous = day;
    }
}

// The forms printf's "%04d-%02d-%02d" and "%02d:%02d:%02d" write, which the
// chart files, the form and the command line have always used.
TEST(FormatIsoDateAndTime, PadLikePrintf) {
    const struct {
        CivilDate date;
        CivilTime time;
        const char* dateText;
        const char* timeText;
        const char* clockText;
    } cases[] = {
        {{1990, 3, 25}, {14, 5, 0}, "1990-03-25", "14:05:00", "14:05"},
        {{1, 1, 1}, {0, 0, 0}, "0001-01-01", "00:00:00", "00:00"},
        {{987, 12, 31}, {23, 59, 59}, "0987-12-31", "23:59:59", "23:59:59"},
        {{12345, 10, 9}, {9, 0, 7}, "12345-10-09", "09:00:07", "09:00:07"},
        {{-5, 1, 1}, {-1, 0, 0}, "-005-01-01", "-1:00:00", "-1:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dateText);
        EXPECT_EQ(FormatIsoDate(c.date), c.dateText);
        EXPECT_EQ(FormatIsoTime(c.time), c.timeText);
        EXPECT_EQ(FormatClockTime(c.time), c.clockText);
    }
    EXPECT_EQ(FormatUniversalDateTime(-2825765617), "1880-06-15 09:06:23");
}

TEST(FormatDateInWords, WritesDayMonthNameAndYear) {
    EXPECT_EQ(FormatDateInWords({1990, 3, 25}), "25 March 1990");
    EXPECT_EQ(FormatDateInWords({2011, 12, 1}), "1 December 2011");
    EXPECT_EQ(FormatDateInWords({1893, 1, 9}), "9 January 1893");
    EXPECT_EQ(FormatClockTime({2, 30, 0}), "02:30");
    EXPECT_EQ(FormatClockTime({23, 30, 52}), "23:30:52");
}

}  // namespace
}  // namespace tolvaris
