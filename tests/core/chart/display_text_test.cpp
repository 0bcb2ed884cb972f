#include "core/chart/display_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace tolvaris {
namespace {

TEST(FormatDegreesMinutes, CutsToTheWholeMinute) {
    const struct {
        double degrees;
        const char* text;
    } cases[] = {
        {0.0, "0°00'"},
        {10.7717825, "10°46'"},  // the Sun of 1990-01-01 11:00 UT in Capricorn
        {10.5, "10°30'"},
        {29.99999, "29°59'"},  // never rounds up into the next sign
        {7.0 + 59.0 / 60.0, "7°59'"},
        {-2.25, "2°15'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.degrees);
        EXPECT_EQ(FormatDegreesMinutes(c.degrees), c.text);
    }
}

TEST(FormatZodiacPosition, NamesTheSignOfAnyLongitude) {
    EXPECT_EQ(FormatZodiacPosition(280.7717825), "10°46' Capricorn");
    EXPECT_EQ(FormatZodiacPosition(22.5564119), "22°33' Aries");
    EXPECT_EQ(FormatZodiacPosition(-0.5), "29°30' Pisces");
    EXPECT_EQ(FormatZodiacPosition(360.0), "0°00' Aries");
}

TEST(ParseCoordinate, AcceptsTheUsualWritings) {
    const struct {
        const char* text;
        CoordinateAxis axis;
        double value;
    } cases[] = {
        {"52.52", CoordinateAxis::Latitude, 52.52},
        {" -33.87 ", CoordinateAxis::Latitude, -33.87},
        {"+13,405", CoordinateAxis::Longitude, 13.405},
        {"52°31'N", CoordinateAxis::Latitude, 52 + 31 / 60.0},
        {"52° 31' 12\" N", CoordinateAxis::Latitude, 52 + 31 / 60.0 + 12 / 3600.0},
        {"33 52 S", CoordinateAxis::Latitude, -(33 + 52 / 60.0)},
        {"74 0 w", CoordinateAxis::Longitude, -74.0},
        {"13.4 E", CoordinateAxis::Longitude, 13.4},
        {"90", CoordinateAxis::Latitude, 90.0},
        {"-180", CoordinateAxis::Longitude, -180.0},
        {"52 30.5", CoordinateAxis::Latitude, 52 + 30.5 / 60.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const CoordinateResult result = ParseCoordinate(c.text, c.axis);
        ASSERT_TRUE(result.value.has_value()) << result.error;
        EXPECT_NEAR(*result.value, c.value, 1e-9);
        EXPECT_EQ(result.error, "");
    }
}

TEST(ParseCoordinate, RefusesWithAMessageNamingTheField) {
    const struct {
        const char* text;
        CoordinateAxis axis;
        const char* message;
    } cases[] = {
        {"", CoordinateAxis::Latitude,
         "Latitude must be given, for example 52.52, -33.87, 52°31'N or 33 52 S."},
        {"abc", CoordinateAxis::Longitude,
         "Longitude \"abc\" is not understood; write it as 13.405, -74.006, 13°24'E or 74 0 W."},
        {"52 N", CoordinateAxis::Longitude,
         "Longitude \"52 N\" is not understood; write it as 13.405, -74.006, 13°24'E or 74 0 W."},
        {"-52 S", CoordinateAxis::Latitude,
         "Latitude \"-52 S\" has both a minus sign and a hemisphere letter; give one of them."},
        {"52 60", CoordinateAxis::Latitude,
         "Latitude \"52 60\" has minutes or seconds of 60 or more."},
        {"52.5 30", CoordinateAxis::Latitude,
         "Latitude \"52.5 30\" is not understood; write it as 52.52, -33.87, 52°31'N or 33 52 S."},
        {"95", CoordinateAxis::Latitude, "Latitude must lie between -90 and 90 degrees."},
        {"180 0 1 E", CoordinateAxis::Longitude,
         "Longitude must lie between -180 and 180 degrees."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const CoordinateResult result = ParseCoordinate(c.text, c.axis);
        EXPECT_FALSE(result.value.has_value());
        EXPECT_EQ(result.error, c.message);
    }
}

TEST(FormatCoordinate, RoundTripsThroughTheParser) {
    for (const double value : {52.52, -13.405, 0.0, -0.0, 89.999999, -179.123456}) {
        SCOPED_TRACE(value);
        const std::string text = FormatCoordinate(value);
        const CoordinateResult back = ParseCoordinate(text, CoordinateAxis::Longitude);
        ASSERT_TRUE(back.value.has_value()) << back.error;
        EXPECT_NEAR(*back.value, value, 5e-7);
    }
    EXPECT_EQ(FormatCoordinate(52.52), "52.52");
    EXPECT_EQ(FormatCoordinate(-0.0), "0.0");
}

TEST(ParseCoordinate, ReadsAPointWhateverTheLocale) {
    // Qt sets the user's locale; a German one reads "52.52" as 52 through
    // strtod. Where no German locale is installed this runs in the C locale.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const CoordinateResult result = ParseCoordinate("52.52", CoordinateAxis::Latitude);
    const std::string shown = FormatCoordinate(-13.405);
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(result.value.has_value()) << result.error;
    EXPECT_DOUBLE_EQ(*result.value, 52.52);
    EXPECT_EQ(shown, "-13.405");
}

TEST(PlaceLabel, LeavesOutAnEmptyOrRepeatedRegion) {
    Place zurich{"Zürich", "Zurich", "Switzerland", "CH", 47.37, 8.55, "Europe/Zurich", 341730};
    EXPECT_EQ(PlaceLabel(zurich), "Zürich, Zurich, Switzerland");
    zurich.region = "Zürich";
    EXPECT_EQ(PlaceLabel(zurich), "Zürich, Switzerland");
    zurich.region.clear();
    EXPECT_EQ(PlaceLabel(zurich), "Zürich, Switzerland");
}

TEST(DescribeUniversalTime, SaysWhereTheOffsetComesFrom) {
    UniversalTime zone{631191600, 3600, OffsetSource::Zone, "CET", {}};
    EXPECT_EQ(DescribeUniversalTime(zone, "Europe/Berlin"),
              "UT 1990-01-01 11:00:00, offset +01:00 (CET) from the zone Europe/Berlin");
    UniversalTime given{631191600, 19800, OffsetSource::Given, "", {}};
    EXPECT_EQ(DescribeUniversalTime(given, "Europe/Berlin"),
              "UT 1990-01-01 11:00:00, offset +05:30, given by hand");
    UniversalTime lmt{-2524521600, 3217, OffsetSource::LocalMeanTime, "LMT", {}};
    EXPECT_EQ(DescribeUniversalTime(lmt, "Europe/Berlin"),
              "UT 1890-01-01 00:00:00, offset +00:53:37 (LMT): local mean time of the "
              "birthplace, as Europe/Berlin kept no standard time then");
}

}  // namespace
}  // namespace tolvaris
