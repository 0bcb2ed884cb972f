#include "core/time/universal_time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

namespace tolvaris {
namespace {

LocalTimeRequest Birth(CivilDate date, std::optional<CivilTime> time, std::string zone,
                       double longitude, FoldChoice fold = FoldChoice::None) {
    LocalTimeRequest request;
    request.date = date;
    request.time = time;
    request.zoneName = std::move(zone);
    request.longitude = longitude;
    request.fold = fold;
    return request;
}

std::string ErrorOf(const TimeResult<UniversalTime>& result) {
    const TimeError* error = std::get_if<TimeError>(&result);
    return error == nullptr ? std::string("(accepted)") : error->message;
}

const UniversalTime& Accepted(const TimeResult<UniversalTime>& result) {
    static const UniversalTime kNothing{};
    const UniversalTime* value = std::get_if<UniversalTime>(&result);
    EXPECT_NE(value, nullptr) << ErrorOf(result);
    return value == nullptr ? kNothing : *value;
}

// The sentences the dialog shows, word for word.
TEST(ToUniversalTime, RefusesSkippedTimesNamingTheGap) {
    const struct {
        LocalTimeRequest request;
        const char* message;
    } cases[] = {
        {Birth({1990, 3, 25}, CivilTime{2, 30, 0}, "Europe/Berlin", 13.41),
         "02:30 on 25 March 1990 did not exist in Europe/Berlin: clocks went from 02:00 to 03:00."},
        {Birth({2007, 3, 11}, CivilTime{2, 15, 0}, "America/New_York", -74.0),
         "02:15 on 11 March 2007 did not exist in America/New_York: clocks went from 02:00 to "
         "03:00."},
        {Birth({2011, 12, 30}, CivilTime{12, 0, 0}, "Pacific/Apia", -171.76),
         "12:00 on 30 December 2011 did not exist in Pacific/Apia: clocks went from 00:00 to "
         "00:00 on 31 December 2011."},
        // Aachen's own mean time (UTC+00:24:20) ran until CET began at 23:06:32 UT.
        {Birth({1893, 3, 31}, CivilTime{23, 45, 0}, "Europe/Berlin", 6.083),
         "23:45 on 31 March 1893 did not exist in Europe/Berlin: clocks went from 23:30:52 to "
         "00:06:32 on 1 April 1893."},
    };
    for (const auto& c : cases) {
        const auto result = ToUniversalTime(c.request);
        EXPECT_EQ(ErrorOf(result), c.message);
        if (const TimeError* error = std::get_if<TimeError>(&result)) {
            EXPECT_FALSE(error->repeated.has_value());
        }
    }
}

TEST(ToUniversalTime, RefusesRepeatedTimesWithoutAChoiceAndShowsBothReadings) {
    const auto berlin =
        ToUniversalTime(Birth({1990, 9, 30}, CivilTime{2, 30, 0}, "Europe/Berlin", 13.41));
    EXPECT_EQ(ErrorOf(berlin),
              "02:30 on 30 September 1990 happened twice in Europe/Berlin: earlier at UTC+02:00, "
              "later at UTC+01:00.");
    const TimeError* error = std::get_if<TimeError>(&berlin);
    ASSERT_NE(error, nullptr);
    ASSERT_TRUE(error->repeated.has_value());
    EXPECT_EQ(error->repeated->earlierOffsetSeconds, 7200);
    EXPECT_EQ(error->repeated->laterOffsetSeconds, 3600);
    EXPECT_EQ(error->repeated->earlierUnixSeconds, 654654600);  // 1990-09-30T00:30:00Z
    EXPECT_EQ(error->repeated->laterUnixSeconds, 654658200);    // 1990-09-30T01:30:00Z

    // Koenigsberg's mean time ran 22 minutes ahead of CET, so the change repeated minutes.
    const auto koenigsberg =
        ToUniversalTime(Birth({1893, 4, 1}, CivilTime{0, 10, 0}, "Europe/Berlin", 20.51));
    EXPECT_EQ(ErrorOf(koenigsberg),
              "00:10 on 1 April 1893 happened twice in Europe/Berlin: earlier at UTC+01:22:02, "
              "later at UTC+01:00.");
}

TEST(ToUniversalTime, TakesTheChosenReadingOfARepeatedTime) {
    const auto earlier = ToUniversalTime(
        Birth({1990, 9, 30}, CivilTime{2, 30, 0}, "Europe/Berlin", 13.41, FoldChoice::Earlier));
    EXPECT_EQ(Accepted(earlier).unixSeconds, 654654600);
    EXPECT_EQ(Accepted(earlier).offsetSeconds, 7200);
    EXPECT_EQ(Accepted(earlier).abbreviation, "CEST");
    EXPECT_EQ(Accepted(earlier).notes,
              std::vector<std::string>{"02:30 on 30 September 1990 happened twice in "
                                       "Europe/Berlin; the earlier reading, UTC+02:00, was used."});
    const auto later = ToUniversalTime(
        Birth({1990, 9, 30}, CivilTime{2, 30, 0}, "Europe/Berlin", 13.41, FoldChoice::Later));
    EXPECT_EQ(Accepted(later).unixSeconds, 654658200);
    EXPECT_EQ(Accepted(later).offsetSeconds, 3600);
    EXPECT_EQ(Accepted(later).abbreviation, "CET");
    EXPECT_EQ(Accepted(later).notes,
              std::vector<std::string>{"02:30 on 30 September 1990 happened twice in "
                                       "Europe/Berlin; the later reading, UTC+01:00, was used."});

    // A choice for a time that happened once changes nothing and says nothing.
    const auto once = ToUniversalTime(
        Birth({1990, 10, 28}, CivilTime{2, 30, 0}, "Europe/Berlin", 13.41, FoldChoice::Earlier));
    EXPECT_EQ(Accepted(once).unixSeconds, 657077400);
    EXPECT_TRUE(Accepted(once).notes.empty());
}

TEST(ToUniversalTime, UsesTheBirthplacesMeanTimeBeforeStandardTime) {
    const auto berlin =
        ToUniversalTime(Birth({1880, 6, 15}, CivilTime{10, 0, 0}, "Europe/Berlin", 13.41));
    EXPECT_EQ(Accepted(berlin).source, OffsetSource::LocalMeanTime);
    EXPECT_EQ(Accepted(berlin).offsetSeconds, 3218);  // 13.41 * 240 = 3218.4
    EXPECT_EQ(Accepted(berlin).unixSeconds, -2825765618);
    EXPECT_EQ(Accepted(berlin).abbreviation, "LMT");
    EXPECT_EQ(Accepted(berlin).notes,
              std::vector<std::string>{"Local mean time at 13.41 E (UTC+00:53:38) used: "
                                       "Europe/Berlin kept no standard time before 1 April 1893."});

    const auto newYork =
        ToUniversalTime(Birth({1883, 11, 17}, CivilTime{12, 0, 0}, "America/New_York", -74.006));
    EXPECT_EQ(Accepted(newYork).offsetSeconds, -17761);
    EXPECT_EQ(Accepted(newYork).notes,
              std::vector<std::string>{"Local mean time at 74.01 W (UTC-04:56:01) used: "
                                       "America/New_York kept no standard time before 18 November "
                                       "1883."});

    // Paris Mean Time was the legal time of France, not a town's sundial: it stays.
    const auto paris =
        ToUniversalTime(Birth({1900, 1, 1}, CivilTime{12, 0, 0}, "Europe/Paris", 5.37));
    EXPECT_EQ(Accepted(paris).source, OffsetSource::Zone);
    EXPECT_EQ(Accepted(paris).offsetSeconds, 561);
}

TEST(ToUniversalTime, RoundsMeanTimeToTheNearestSecondHalvesAwayFromZero) {
    const struct {
        double longitude;
        int seconds;
    } cases[] = {
        {0.0, 0},         {13.41, 3218},  {13.405, 3217}, {-74.006, -17761},
        {0.03125, 8},     {-0.03125, -8}, {0.03, 7},      {180.0, 43200},
        {-180.0, -43200}, {6.083, 1460},  {-0.1276, -31},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LocalMeanTimeOffsetSeconds(c.longitude), c.seconds) << c.longitude;
    }
}

TEST(ToUniversalTime, UsesNoonWhenTheTimeIsUnknown) {
    const auto result = ToUniversalTime(Birth({1975, 6, 1}, std::nullopt, "Europe/Berlin", 13.41));
    EXPECT_EQ(Accepted(result).unixSeconds, 170852400);  // 1975-06-01T11:00:00Z
    // The chart says once that the time is unknown; the conversion adds no note.
    EXPECT_TRUE(Accepted(result).notes.empty());
}

TEST(ToUniversalTime, AGivenOffsetOverridesTheZone) {
    LocalTimeRequest request = Birth({1990, 1, 1}, CivilTime{12, 0, 0}, "", 13.41);
    request.givenOffsetSeconds = 3600;
    EXPECT_EQ(Accepted(ToUniversalTime(request)).unixSeconds, 631191600);
    EXPECT_EQ(Accepted(ToUniversalTime(request)).source, OffsetSource::Given);
    EXPECT_TRUE(Accepted(ToUniversalTime(request)).notes.empty());

    // Even where the zone would refuse the time, and even for an unknown zone.
    request = Birth({1990, 3, 25}, CivilTime{2, 30, 0}, "Europe/Berlin", 13.41);
    request.givenOffsetSeconds = -(3 * 3600 + 30 * 60);
    const auto given = ToUniversalTime(request);
    EXPECT_EQ(Accepted(given).unixSeconds, 638344800);  // 1990-03-25T06:00:00Z
    EXPECT_EQ(Accepted(given).offsetSeconds, -12600);
    EXPECT_EQ(Accepted(given).notes,
              std::vector<std::string>{"The UTC offset -03:30 given was used instead of the time "
                                       "zone Europe/Berlin."});
    request.zoneName = "Europe/Berln";
    EXPECT_EQ(Accepted(ToUniversalTime(request)).unixSeconds, 638344800);

    request.givenOffsetSeconds = 15 * 3600 + 1;
    EXPECT_EQ(ErrorOf(ToUniversalTime(request)), "UTC offset must lie between -15:00 and +15:00.");
}

TEST(ToUniversalTime, RefusesBadFieldsNamingThem) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        LocalTimeRequest request;
        const char* message;
    } cases[] = {
        {Birth({1990, 2, 30}, CivilTime{12, 0, 0}, "Europe/Berlin", 13.41),
         "The date 1990-02-30 does not exist."},
        {Birth({1990, 1, 1}, CivilTime{24, 0, 0}, "Europe/Berlin", 13.41),
         "Time must lie between 00:00 and 23:59:59."},
        {Birth({1990, 1, 1}, CivilTime{12, 0, -1}, "Europe/Berlin", 13.41),
         "Time must lie between 00:00 and 23:59:59."},
        {Birth({1990, 1, 1}, CivilTime{12, 0, 0}, "Europe/Berln", 13.41),
         "Unknown time zone \"Europe/Berln\"."},
        {Birth({1990, 1, 1}, CivilTime{12, 0, 0}, "", 13.41),
         "Time zone must be given, for example Europe/Berlin, or a UTC offset."},
        {Birth({1990, 1, 1}, CivilTime{12, 0, 0}, "Europe/Berlin", 180.5),
         "Longitude must lie between -180 and 180 degrees."},
        {Birth({1990, 1, 1}, CivilTime{12, 0, 0}, "Europe/Berlin", nan),
         "Longitude must lie between -180 and 180 degrees."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(ToUniversalTime(c.request)), c.message);
    }
}

// After the last listed change: zones without summer time, Berlin's last listed year.
// (Zones with summer time after 2037 are checked in golden/offsets.tsv.)
TEST(ToUniversalTime, AcceptsLateDatesWhereNoChangeIsListed) {
    EXPECT_EQ(
        Accepted(ToUniversalTime(Birth({2040, 7, 1}, CivilTime{12, 0, 0}, "Asia/Kolkata", 77.2)))
            .unixSeconds,
        2224737000);
    EXPECT_EQ(
        Accepted(ToUniversalTime(Birth({2040, 7, 1}, CivilTime{12, 0, 0}, "Asia/Kathmandu", 85.3)))
            .unixSeconds,
        2224736100);
    EXPECT_EQ(
        Accepted(ToUniversalTime(Birth({2037, 12, 1}, CivilTime{12, 0, 0}, "Europe/Berlin", 13.4)))
            .unixSeconds,
        2143278000);
}

}  // namespace
}  // namespace tolvaris
