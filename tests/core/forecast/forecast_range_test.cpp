// The days of a forecast in a display zone, against instants worked out by
// hand from the zone's rules (zdump -v) and `date -u +%s`.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/forecast/forecast_range.h"

namespace tolvaris {
namespace {

struct RangeCase {
    const char* label;
    CivilDate first;
    CivilDate last;
    const char* zone;
    std::int64_t from;  // 0: refused
    std::int64_t to;
    const char* refusal;  // part of the message
};

const RangeCase kRangeCases[] = {
    {"a year in UTC", {2027, 1, 1}, {2027, 12, 31}, "UTC", 1798761600, 1830297600, ""},
    {"the day summer time begins",
     {2027, 3, 28},
     {2027, 3, 28},
     "Europe/Berlin",
     1806188400,
     1806271200,
     ""},
    {"a skipped midnight",
     {2027, 9, 5},
     {2027, 9, 5},
     "America/Santiago",
     1820116800,
     1820199600,
     ""},
    {"a hundred years", {2027, 1, 1}, {2126, 12, 31}, "UTC", 1798761600, 4954435200, ""},
    {"a day over a hundred years", {2027, 1, 1}, {2127, 1, 1}, "UTC", 0, 0, "longer than 100"},
    {"end before start",
     {2027, 2, 1},
     {2027, 1, 1},
     "UTC",
     0,
     0,
     "the last date 2027-01-01 comes before the first 2027-02-01"},
    {"no such day", {2027, 2, 29}, {2027, 3, 1}, "UTC", 0, 0, "2027-02-29 does not exist"},
    {"no such zone", {2027, 1, 1}, {2027, 1, 2}, "Mars/Olympus", 0, 0, "Mars/Olympus"},
};

TEST(DayRangeInZone, WholeDaysOrARefusal) {
    for (const RangeCase& c : kRangeCases) {
        SCOPED_TRACE(c.label);
        const Result<ForecastRange> range = DayRangeInZone(c.first, c.last, c.zone);
        if (c.from == 0) {
            ASSERT_FALSE(range.Ok());
            EXPECT_NE(range.Failure().message.find(c.refusal), std::string::npos)
                << range.Failure().message;
            continue;
        }
        ASSERT_TRUE(range.Ok()) << range.Failure().message;
        EXPECT_EQ(range->span.fromUt, c.from);
        EXPECT_EQ(range->span.toUt, c.to);
    }
}

TEST(FormatLocalIso, OffsetOfTheMoment) {
    const struct {
        const char* zone;
        std::int64_t ut;
        const char* text;
    } cases[] = {
        {"UTC", 1814443200, "2027-07-01T12:00:00Z"},
        {"Europe/Berlin", 1814443200, "2027-07-01T14:00:00+02:00"},
        {"Europe/Berlin", 1806195599, "2027-03-28T01:59:59+01:00"},
        {"Europe/Berlin", 1806195600, "2027-03-28T03:00:00+02:00"},
        {"America/Santiago", 1820116800, "2027-09-05T01:00:00-03:00"},
        {"Asia/Kathmandu", 1798761600, "2027-01-01T05:45:00+05:45"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatLocalIso(c.zone, c.ut), c.text);
    }
}

}  // namespace
}  // namespace tolvaris
