#include "core/chart/display_text.h"

#include "core/chart/coordinate_text.h"

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

TEST(FormatCoordinate, RoundTripsThroughTheParser) {
    for (const double value : {52.52, -13.405, 0.0, -0.0, 89.999999, -179.123456}) {
        SCOPED_TRACE(value);
        const std::string text = FormatCoordinate(value);
        const Result<double> back = ReadCoordinate(text, CoordinateAxis::Longitude);
        ASSERT_TRUE(back.Ok()) << back.Failure().message;
        EXPECT_NEAR(*back, value, 5e-7);
    }
    EXPECT_EQ(FormatCoordinate(52.52), "52.52");
    EXPECT_EQ(FormatCoordinate(-0.0), "0.0");
}

TEST(ReadCoordinate, ReadsAPointWhateverTheLocale) {
    // Qt sets the user's locale; a German one reads "52.52" as 52 through
    // strtod. Where no German locale is installed this runs in the C locale.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const Result<double> result = ReadCoordinate("52.52", CoordinateAxis::Latitude);
    const std::string shown = FormatCoordinate(-13.405);
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(result.Ok()) << result.Failure().message;
    EXPECT_DOUBLE_EQ(*result, 52.52);
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
              "UT 1990-01-01 11:00:00, UTC+01:00 (CET) from the time zone Europe/Berlin");
    UniversalTime given{631191600, 19800, OffsetSource::Given, "", {}};
    EXPECT_EQ(DescribeUniversalTime(given, "Europe/Berlin"),
              "UT 1990-01-01 11:00:00, UTC+05:30, given by hand");
    UniversalTime lmt{-2524521600, 3217, OffsetSource::LocalMeanTime, "LMT", {}};
    EXPECT_EQ(DescribeUniversalTime(lmt, "Europe/Berlin"),
              "UT 1890-01-01 00:00:00, UTC+00:53:37 (LMT), the local mean time of the "
              "birthplace (Europe/Berlin kept no standard time then)");
}

}  // namespace
}  // namespace tolvaris
