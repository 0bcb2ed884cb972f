#include "core/ephemeris/ut_instant.h"

#include <gtest/gtest.h>

namespace tolvaris {
namespace {

// Julian days from the astronomical almanac's definitions (J2000.0 is
// 2000-01-01 12:00 UT = JD 2451545.0) and Python's datetime for the seconds.
TEST(UtInstant, JulianDaysOfKnownInstants) {
    struct Case {
        std::int64_t seconds;
        double julianDay;
    };
    const Case cases[] = {
        {0, 2440587.5},                     // 1970-01-01 00:00
        {946728000, 2451545.0},             // 2000-01-01 12:00, J2000.0
        {-5364662400, 2378496.5},           // 1800-01-01 00:00
        {-2209032000, 2415020.0},           // 1899-12-31 12:00, J1900.0
        {631191600, 2447892.9583333333},    // 1990-01-01 11:00
        {-1, 2440587.4999884259},           // one second before 1970
        {13569465599, 2597641.4999884259},  // 2399-12-31 23:59:59
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(JulianDayUtFromUnixSeconds(c.seconds), c.julianDay, 1e-9) << c.seconds;
    }
}

TEST(UtInstant, GregorianYearsAroundTheEdges) {
    struct Case {
        std::int64_t seconds;
        int year;
    };
    const Case cases[] = {
        {0, 1970},           {-1, 1969},           {-5364662400, 1800},
        {-5364662401, 1799}, {-12212553600, 1583}, {-12212553601, 1582},
        {32503679999, 2999}, {32503680000, 3000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GregorianYearOfUnixSeconds(c.seconds), c.year) << c.seconds;
    }
}

TEST(UtInstant, AcceptsYears1583To2999) {
    EXPECT_EQ(CheckInstantInAcceptedYears(0), "");
    EXPECT_EQ(CheckInstantInAcceptedYears(-12212553600), "");  // 1583-01-01 00:00
    EXPECT_EQ(CheckInstantInAcceptedYears(32503679999), "");   // 2999-12-31 23:59:59
    EXPECT_EQ(CheckInstantInAcceptedYears(-12212553601),
              "Date must lie between the years 1583 and 2999 (Universal Time); 1582 is "
              "outside.");
    EXPECT_EQ(CheckInstantInAcceptedYears(32503680000),
              "Date must lie between the years 1583 and 2999 (Universal Time); 3000 is "
              "outside.");
    EXPECT_EQ(CheckInstantInAcceptedYears(INT64_MIN),
              "Date must lie between the years 1583 and 2999.");
    EXPECT_EQ(CheckInstantInAcceptedYears(INT64_MAX),
              "Date must lie between the years 1583 and 2999.");
}

}  // namespace
}  // namespace tolvaris
