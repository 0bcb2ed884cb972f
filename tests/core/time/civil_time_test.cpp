#include "core/time/civil_time.h"

#include <gtest/gtest.h>

#include "core/time/time_format.h"

namespace tolvaris {
namespace {

constexpr const char* kDateForm = "Date must be written as YYYY-MM-DD, for example 1990-03-25.";
constexpr const char* kTimeForm =
    "Time must be written as HH:MM or HH:MM:SS, for example 14:05, or as \"unknown\".";
constexpr const char* kTimeRange = "Time must lie between 00:00 and 23:59:59.";
constexpr const char* kOffsetForm =
    "UTC offset must be written as +HH:MM or -HH:MM, for example +05:30, or as UTC.";
constexpr const char* kOffsetRange = "UTC offset must lie between -15:00 and +15:00.";

template <class Value>
std::string ErrorOf(const TimeResult<Value>& result) {
    const TimeError* error = std::get_if<TimeError>(&result);
    return error == nullptr ? std::string("(accepted)") : error->message;
}

TEST(ParseDate, AcceptsDatesThatExist) {
    const struct {
        const char* text;
        CivilDate expected;
    } cases[] = {
        {"1990-03-25", {1990, 3, 25}},  {" 2000-02-29 ", {2000, 2, 29}},
        {"1996-02-29", {1996, 2, 29}},  {"0001-01-01", {1, 1, 1}},
        {"9999-12-31", {9999, 12, 31}}, {"1582-10-10", {1582, 10, 10}},
        {"1880-06-30", {1880, 6, 30}},
    };
    for (const auto& c : cases) {
        const auto result = ParseDate(c.text);
        ASSERT_TRUE(std::holds_alternative<CivilDate>(result)) << c.text << ": " << ErrorOf(result);
        EXPECT_EQ(std::get<CivilDate>(result), c.expected) << c.text;
    }
}

TEST(ParseDate, RefusesWithMessagesNamingTheField) {
    const struct {
        const char* text;
        std::string message;
    } cases[] = {
        {"1990-02-30", "The date 1990-02-30 does not exist."},
        {"1900-02-29", "The date 1900-02-29 does not exist."},
        {"2023-02-29", "The date 2023-02-29 does not exist."},
        {"1990-13-01", "The date 1990-13-01 does not exist."},
        {"1990-00-10", "The date 1990-00-10 does not exist."},
        {"1990-04-31", "The date 1990-04-31 does not exist."},
        {"1990-04-00", "The date 1990-04-00 does not exist."},
        {"0000-01-01", "The date 0000-01-01 does not exist."},
        {"1990-3-25", kDateForm},
        {"25.03.1990", kDateForm},
        {"1990/03/25", kDateForm},
        {"90-03-25", kDateForm},
        {"1990-03-2x", kDateForm},
        {"1990-03-25T12:00", kDateForm},
        {"", kDateForm},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(ParseDate(c.text)), c.message) << c.text;
    }
}

TEST(ParseTime, AcceptsClockTimesAndUnknown) {
    const struct {
        const char* text;
        CivilTime expected;
    } cases[] = {
        {"14:05", {14, 5, 0}},      {"9:05", {9, 5, 0}},         {"00:00", {0, 0, 0}},
        {"23:59:59", {23, 59, 59}}, {" 02:30:15 ", {2, 30, 15}}, {"07:00:00", {7, 0, 0}},
    };
    for (const auto& c : cases) {
        const auto result = ParseTime(c.text);
        ASSERT_TRUE(std::holds_alternative<std::optional<CivilTime>>(result)) << c.text;
        const auto& time = std::get<std::optional<CivilTime>>(result);
        ASSERT_TRUE(time.has_value()) << c.text;
        EXPECT_EQ(*time, c.expected) << c.text;
    }
    for (const char* unknown : {"unknown", "Unknown", " UNKNOWN "}) {
        const auto result = ParseTime(unknown);
        ASSERT_TRUE(std::holds_alternative<std::optional<CivilTime>>(result)) << unknown;
        EXPECT_FALSE(std::get<std::optional<CivilTime>>(result).has_value()) << unknown;
    }
}

TEST(ParseTime, RefusesTimesPastTheDayAndOtherForms) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"24:00", kTimeRange}, {"23:60", kTimeRange},   {"23:59:60", kTimeRange},
        {"99:00", kTimeRange}, {"12", kTimeForm},       {"1205", kTimeForm},
        {"12:5", kTimeForm},   {"12:05:7", kTimeForm},  {"12:05:07:01", kTimeForm},
        {"-1:00", kTimeForm},  {"noon", kTimeForm},     {"", kTimeForm},
        {"123:00", kTimeForm}, {"12:05 pm", kTimeForm},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(ParseTime(c.text)), c.message) << c.text;
    }
}

TEST(ParseUtcOffset, AcceptsTheDocumentedForms) {
    const struct {
        const char* text;
        int seconds;
    } cases[] = {
        {"Z", 0},
        {"z", 0},
        {"UT", 0},
        {"UTC", 0},
        {"gmt", 0},
        {"+00:00", 0},
        {"-00:00", 0},
        {"+05:30", 5 * 3600 + 30 * 60},
        {"-03:00", -3 * 3600},
        {"+0530", 5 * 3600 + 30 * 60},
        {"+0545", 5 * 3600 + 45 * 60},
        {"-3", -3 * 3600},
        {"+5:30", 5 * 3600 + 30 * 60},
        {"UTC+05:30", 5 * 3600 + 30 * 60},
        {"UTC -03:30", -(3 * 3600 + 30 * 60)},
        {"GMT+1", 3600},
        {"+00:53:28", 53 * 60 + 28},
        {"+14:00", 14 * 3600},
        {"+13:45", 13 * 3600 + 45 * 60},
        {"-15:00", -15 * 3600},
        {"+15:00", 15 * 3600},
    };
    for (const auto& c : cases) {
        const auto result = ParseUtcOffset(c.text);
        ASSERT_TRUE(std::holds_alternative<int>(result)) << c.text << ": " << ErrorOf(result);
        EXPECT_EQ(std::get<int>(result), c.seconds) << c.text;
    }
}

TEST(ParseUtcOffset, RefusesOffsetsOutOfRangeOrMisspelt) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"+15:01", kOffsetRange}, {"-16:00", kOffsetRange}, {"+24", kOffsetRange},
        {"05:30", kOffsetForm},   {"+05:60", kOffsetForm},  {"+05:30:60", kOffsetForm},
        {"+530", kOffsetForm},    {"+", kOffsetForm},       {"", kOffsetForm},
        {"CET", kOffsetForm},     {"UTC+", kOffsetForm},    {"+05:3", kOffsetForm},
        {"++05:00", kOffsetForm}, {"+05:30x", kOffsetForm},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(ParseUtcOffset(c.text)), c.message) << c.text;
    }
}

TEST(ParseTimeZoneName, KnowsTheInstalledZonesAndRefusesOthers) {
    for (const char* zone : {"Europe/Berlin", "Asia/Kathmandu", "America/Argentina/Buenos_Aires",
                             "UTC", " Pacific/Apia "}) {
        const auto result = ParseTimeZoneName(zone);
        EXPECT_TRUE(std::holds_alternative<std::string>(result)) << zone << ": " << ErrorOf(result);
    }
    EXPECT_EQ(std::get<std::string>(ParseTimeZoneName(" Pacific/Apia ")), "Pacific/Apia");
    EXPECT_EQ(ErrorOf(ParseTimeZoneName("Europe/Berln")), "Unknown time zone \"Europe/Berln\".");
    EXPECT_EQ(ErrorOf(ParseTimeZoneName("europe/berlin")), "Unknown time zone \"europe/berlin\".");
    EXPECT_EQ(ErrorOf(ParseTimeZoneName("localtime")), "Unknown time zone \"localtime\".");
    EXPECT_EQ(ErrorOf(ParseTimeZoneName("right/Europe/Berlin")),
              "Unknown time zone \"right/Europe/Berlin\".");
    EXPECT_EQ(ErrorOf(ParseTimeZoneName("../../etc/passwd")),
              "Unknown time zone \"../../etc/passwd\".");
    EXPECT_EQ(ErrorOf(ParseTimeZoneName("  ")),
              "Time zone must be given, for example Europe/Berlin.");
    // Names that lead to something in /usr/share/zoneinfo that is no zone of
    // a place: a folder, tables, the placeholder zone, another tree, a path.
    for (const char* name : {"Europe", "America/Indiana", "zone.tab", "tzdata.zi", "leapseconds",
                             "posixrules", "Factory", "posix/Europe/Berlin", "Europe//Berlin",
                             "./Europe/Berlin", "/usr/share/zoneinfo/Europe/Berlin"}) {
        EXPECT_EQ(ErrorOf(ParseTimeZoneName(name)),
                  std::string("Unknown time zone \"") + name + "\".");
    }
    // Links of the database are zones too (Python's zoneinfo lists them).
    for (const char* link : {"US/Eastern", "Asia/Calcutta", "Etc/GMT+5"}) {
        EXPECT_TRUE(std::holds_alternative<std::string>(ParseTimeZoneName(link))) << link;
    }
}

TEST(CivilCalendar, DatesExistByTheGregorianRule) {
    const struct {
        CivilDate date;
        bool exists;
    } cases[] = {
        {{2000, 2, 29}, true},  {{1996, 2, 29}, true},   {{1900, 2, 29}, false},
        {{2023, 2, 29}, false}, {{2100, 2, 29}, false},  {{2024, 2, 29}, true},
        {{1990, 9, 31}, false}, {{1990, 12, 31}, true},  {{1990, 13, 1}, false},
        {{1990, 0, 1}, false},  {{1990, 1, 0}, false},   {{1990, -1, 1}, false},
        {{0, 1, 1}, false},     {{1, 1, 1}, true},       {{9999, 12, 31}, true},
        {{10000, 1, 1}, false}, {{1990, 1, -31}, false}, {{1990, 1, 257}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(FormatIsoDate(c.date));
        EXPECT_EQ(DateExists(c.date), c.exists);
    }
}

}  // namespace
}  // namespace tolvaris
