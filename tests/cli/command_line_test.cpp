#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvaris {
namespace {

CommandLineParse Parse(const std::vector<std::string>& arguments) {
    std::vector<std::string_view> views(arguments.begin(), arguments.end());
    return ParseCommandLine(views);
}

TEST(CommandLine, ReadsTheIssuesExamples) {
    const CommandLineParse byPlace =
        Parse({"--date", "1990-01-01", "--time", "12:00", "--place", "Berlin", "--json"});
    ASSERT_TRUE(byPlace.value) << byPlace.error;
    EXPECT_EQ(byPlace.value->mode, ChartToolMode::Chart);
    EXPECT_EQ(byPlace.value->placeQuery, "Berlin");
    EXPECT_TRUE(byPlace.value->json);
    EXPECT_EQ(byPlace.value->birth.date, (CivilDate{1990, 1, 1}));
    EXPECT_EQ(byPlace.value->birth.time, (CivilTime{12, 0, 0}));

    const CommandLineParse byZone =
        Parse({"--date", "1990-01-01", "--time", "12:00", "--latitude", "52.52", "--longitude",
               "13.41", "--zone", "Europe/Berlin", "--houses", "koch", "--fold", "LATER", "--json",
               "--name", "Anna \"A\"", "--orbs", "Sextile=4"});
    ASSERT_TRUE(byZone.value) << byZone.error;
    const BirthData& birth = byZone.value->birth;
    EXPECT_EQ(birth.latitude, 52.52);
    EXPECT_EQ(birth.longitude, 13.41);
    EXPECT_EQ(birth.zone, "Europe/Berlin");
    EXPECT_EQ(birth.houseSystem, HouseSystem::Koch);
    EXPECT_EQ(birth.fold, FoldChoice::Later);
    EXPECT_EQ(birth.name, "Anna \"A\"");
    EXPECT_EQ(birth.orbs[AspectKind::Sextile], 4.0);
    EXPECT_EQ(birth.orbs[AspectKind::Square], 7.0);

    const CommandLineParse byOffset =
        Parse({"--date=1990-01-01", "--time", "unknown", "--latitude=-33.87", "--longitude",
               "-151.21", "--utc-offset=-03:30", "--json"});
    ASSERT_TRUE(byOffset.value) << byOffset.error;
    EXPECT_FALSE(byOffset.value->birth.time.has_value());
    EXPECT_EQ(byOffset.value->birth.utcOffsetSeconds, -(3 * 3600 + 30 * 60));
    EXPECT_EQ(byOffset.value->birth.latitude, -33.87);
    EXPECT_EQ(byOffset.value->birth.longitude, -151.21);

    const CommandLineParse open = Parse({"--open", "anna.chart"});
    ASSERT_TRUE(open.value) << open.error;
    EXPECT_EQ(open.value->mode, ChartToolMode::OpenFile);
    EXPECT_EQ(open.value->openPath, "anna.chart");
    EXPECT_FALSE(open.value->json);

    const CommandLineParse places = Parse({"--places", "Zurich"});
    ASSERT_TRUE(places.value) << places.error;
    EXPECT_EQ(places.value->mode, ChartToolMode::Places);
    EXPECT_EQ(places.value->placesQuery, "Zurich");

    for (const char* help : {"--help", "-h"}) {
        const CommandLineParse asked = Parse({"--date", "nonsense-is-read-first", help});
        EXPECT_FALSE(asked.value) << "a bad value is refused even beside " << help;
        const CommandLineParse alone = Parse({help});
        ASSERT_TRUE(alone.value);
        EXPECT_EQ(alone.value->mode, ChartToolMode::Help);
    }
}

TEST(CommandLine, RefusesWithOneLineNamingTheOption) {
    const std::vector<std::string> base = {"--date",     "1990-01-01", "--time",      "12:00",
                                           "--latitude", "52.52",      "--longitude", "13.41"};
    const auto with = [&base](std::vector<std::string> more) {
        std::vector<std::string> all = base;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    const struct {
        std::vector<std::string> arguments;
        const char* error;
    } cases[] = {
        {{}, "--date is missing (see --help)."},
        {{"--date", "1990-01-01"}, "--time is missing (see --help)."},
        {{"--date", "1990-02-29", "--time", "1:00"}, "--date: the date 1990-02-29 does not exist."},
        {{"--date", "01.01.1990"},
         "--date: date must be written as YYYY-MM-DD, for example 1990-03-25."},
        {with({"--zone", "Europe/Berlin", "--time", "13:00"}), "--time is given twice."},
        {{"--time", "24:00"}, "--time: time must lie between 00:00 and 23:59:59."},
        {{"--time", "12:60"}, "--time: time must lie between 00:00 and 23:59:59."},
        {{"--latitude", "90.5"}, "--latitude: the latitude 90.5 is outside -90 to 90."},
        {{"--longitude", "-180.5"}, "--longitude: the longitude -180.5 is outside -180 to 180."},
        {{"--longitude", "east"},
         "--longitude: the longitude \"east\" is not understood; write decimal degrees, east "
         "positive (13.405, -74.006), or degrees and minutes (13e24, 13°24'30\"E, 13 24 E, "
         "74:00:21W)."},
        {{"--zone", "Mars/Olympus"}, "--zone: unknown time zone \"Mars/Olympus\"."},
        {{"--utc-offset", "01:00"},
         "--utc-offset: UTC offset must be written as +HH:MM or -HH:MM, for example +05:30, or "
         "as UTC."},
        {{"--utc-offset=+15:01"}, "--utc-offset: UTC offset must lie between -15:00 and +15:00."},
        {{"--fold", "first"}, "--fold: the fold \"first\" is neither earlier nor later."},
        {{"--houses", "topocentric"},
         "--houses: the house system \"topocentric\" is not one of placidus, koch, porphyry, "
         "regiomontanus, campanus, equal, whole-sign."},
        {{"--orbs", "trine=20"}, "--orbs: the trine orb 20 is outside 0 to 15."},
        {{"--place", ""}, "--place: the place is empty."},
        {{"--place", "   "}, "--place: the place is empty."},
        {{"--name", "Z\xFCrich"}, "--name: the name is not valid UTF-8 text."},
        {{"--colour", "blue"}, "unknown option \"--colour\" (see --help)."},
        {{"-d", "1990-01-01"}, "unknown option \"-d\" (see --help)."},
        {{"1990-01-01"},
         "unexpected argument \"1990-01-01\"; every value follows its option (see --help)."},
        {{"--date"}, "--date needs a value."},
        {{"--json=yes"}, "--json takes no value."},
        {with({}), "--zone or --utc-offset is missing: give one with the coordinates."},
        {with({"--zone", "Europe/Berlin", "--utc-offset=+01:00"}),
         "--zone and --utc-offset exclude each other."},
        {with({"--place", "Berlin", "--zone", "Europe/Berlin"}),
         "--place and --latitude exclude each other: the place gives the coordinates."},
        {{"--date", "1990-01-01", "--time", "12:00", "--latitude", "52.52", "--zone", "UTC"},
         "--longitude is missing: give --place or --latitude and --longitude."},
        {{"--open", "a.chart", "--date", "1990-01-01"}, "--open cannot be combined with --date."},
        {{"--open", "a.chart", "--places", "Bern"}, "--open and --places exclude each other."},
        {{"--places", "Bern", "--json"}, "--places cannot be combined with --json."},
        {{"--open", ""}, "--open: the file name is empty."},
        {{"--open", "a.chart", "--composite"}, "--composite goes with --with."},
        {{"--open", "a.chart", "--with", "b.chart", "--composite", "--davison"},
         "--composite and --davison exclude each other."},
        {{"--open", "a.chart", "--with", "b.chart", "--transits", "2027-01-01..2027-01-02"},
         "--with and --transits exclude each other."},
        {{"--open", "a.chart", "--with", "b.chart", "--reading", "-", "--order", "houses"},
         "--order arranges the full reading of one chart; with --with it goes with --davison."},
        {{"--places", "Bern", "--with", "b.chart"}, "--places cannot be combined with --with."},
        {{"--zone", "Europe/Berlin\nrm -rf"},
         "--zone: unknown time zone \"Europe/Berlin?rm -rf\"."},
        {{"--houses", "\x1b[31mred"},
         "--houses: the house system \"?[31mred\" is not one of "
         "placidus, koch, porphyry, regiomontanus, campanus, equal, "
         "whole-sign."},
    };
    for (const auto& c : cases) {
        const CommandLineParse parsed = Parse(c.arguments);
        EXPECT_FALSE(parsed.value) << c.error;
        EXPECT_EQ(parsed.error, c.error);
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
}

TEST(CommandLine, ReadsTheWheelAndPdfOptions) {
    const std::vector<std::string> berlin = {"--date",  "1990-01-01", "--time",  "12:00",
                                             "--place", "Berlin",     "--wheel", "Wheel.SVG"};
    const CommandLineParse defaults = Parse(berlin);
    ASSERT_TRUE(defaults.value) << defaults.error;
    EXPECT_EQ(defaults.value->wheelPath, "Wheel.SVG");
    EXPECT_EQ(defaults.value->wheelSize, kDefaultWheelSize);
    EXPECT_EQ(defaults.value->pdfPath, "");

    std::vector<std::string> sized = berlin;
    sized.insert(sized.end(), {"--size", "10000", "--pdf", "reading.pdf"});
    const CommandLineParse both = Parse(sized);
    ASSERT_TRUE(both.value) << both.error;
    EXPECT_EQ(both.value->wheelSize, 10000);
    EXPECT_EQ(both.value->pdfPath, "reading.pdf");

    const CommandLineParse opened = Parse({"--open", "a.chart", "--wheel", "a.png", "--size=100"});
    ASSERT_TRUE(opened.value) << opened.error;
    EXPECT_EQ(opened.value->mode, ChartToolMode::OpenFile);
    EXPECT_EQ(opened.value->wheelSize, 100);

    for (const char* bad : {"0", "-800", "800.5", "", "1e3", "99999999999"}) {
        SCOPED_TRACE(bad);
        std::vector<std::string> arguments = berlin;
        arguments.insert(arguments.end(), {"--size", bad});
        const CommandLineParse refused = Parse(arguments);
        EXPECT_FALSE(refused.value);
        EXPECT_EQ(refused.error.rfind("--size: ", 0), 0U) << refused.error;
    }
}

// Bounds hold for the digits as typed; output paths need a name and a folder.
TEST(CommandLine, CoordinateEdgesAndOutputPaths) {
    const struct {
        const char *latitude, *wheel;
        bool accepted;
    } cases[] = {
        {"89.999999999999999", "w.png", true},
        {"90.000000000000001", "w.png", false},
        {"-90.0000000000000001", "w.png", false},
        {"90:00:00.0000000001N", "w.png", false},
        {"-90.0", "out/.png", false},
        {"0", "/nonexistent-folder/w.png", false},
    };
    for (const auto& c : cases) {
        const CommandLineParse parsed =
            Parse({"--date", "1990-01-01", "--time", "12:00", "--longitude", "0", "--zone", "UTC",
                   "--latitude", c.latitude, "--wheel", c.wheel});
        EXPECT_EQ(parsed.value.has_value(), c.accepted) << c.latitude << " " << parsed.error;
    }
}

TEST(CommandLine, ReadsAndRefusesTheTransitOptions) {
    const struct {
        std::vector<std::string> more;
        const char* error;  // "" when accepted
    } cases[] = {
        {{"--transits", "2027-01-01..2027-01-01"}, ""},
        {{"--transits", "2000-01-01..2099-12-31"}, ""},
        {{"--transits", "2000-01-01..2100-01-01"},
         "--transits: the range 2000-01-01 to 2100-01-01 is longer than 100 years."},
        {{"--transits", "2027-02-01..2027-01-31"},
         "--transits: the last date 2027-01-31 comes before the first 2027-02-01."},
        {{"--transits", "2027-02-29..2027-03-01"},
         "--transits: the date 2027-02-29 does not exist."},
        {{"--transits", "2027-01-01..27-12-31"},
         "--transits: the last date \"27-12-31\" is not written as YYYY-MM-DD."},
        {{"--transits", "3000-01-01..3000-01-02"},
         "--transits: the date 3000-01-01 is outside the years 1583 to 2999."},
        {{"--transits", "2027-01-01..2027-12-31", "--bodies", "mars,chiron"},
         "--bodies: \"chiron\" is not a body; name Sun, Moon, Mercury, Venus, Mars, Jupiter, "
         "Saturn, Uranus, Neptune or Pluto, or all."},
        {{"--transits", "2027-01-01..2027-12-31", "--bodies", "mars,MARS"},
         "--bodies: Mars is named twice."},
        {{"--transits", "2027-01-01..2027-12-31", "--transit-orb", "5"}, ""},
        {{"--transits", "2027-01-01..2027-12-31", "--transit-orb", "0.09"},
         "--transit-orb: the orb \"0.09\" is not a number of degrees from 0.1 to 5."},
        {{"--bodies", "all"}, "--bodies goes with --transits."},
        {{"--transits", "2027-01-01..2027-12-31", "--order", "houses", "--reading", "r.txt"},
         "--order arranges the full reading; a --transits reading is in time order."},
        {{"--transits", "2027-01-01..2027-12-31", "--ics", "-", "--json"},
         "--ics - and --json would both write to standard output."},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"--open", "a.chart"};
        arguments.insert(arguments.end(), c.more.begin(), c.more.end());
        const CommandLineParse parsed = Parse(arguments);
        EXPECT_EQ(parsed.error, c.error);
        EXPECT_EQ(parsed.value.has_value(), *c.error == '\0') << c.error;
    }
    const CommandLineParse chosen =
        Parse({"--open", "a.chart", "--transits", "2027-01-01..2027-12-31", "--bodies",
               "mars, Pluto ,sun", "--display-zone", "utc", "--transit-orb", "0.25"});
    ASSERT_TRUE(chosen.value && chosen.value->forecast) << chosen.error;
    EXPECT_EQ(chosen.value->forecast->settings.bodies,
              (std::vector<Point>{Point::Sun, Point::Mars, Point::Pluto}));
    EXPECT_EQ(chosen.value->forecast->settings.orb, 0.25);
    EXPECT_EQ(chosen.value->forecast->displayZone, "UTC");
}

TEST(CommandLine, ReadsAndRefusesTheProgressionAndReturnOptions) {
    const struct {
        std::vector<std::string> more;
        const char* error;  // "" when accepted
    } cases[] = {
        {{"--progressed", "2027-06-01T15:00+02:00"}, ""},
        {{"--progressed", "2027-06-01T15:00"},
         "--progressed: the instant \"2027-06-01T15:00\" is not YYYY-MM-DDTHH:MM[:SS] with Z or "
         "an offset such as +02:00."},
        {{"--solar-return", "27"},
         "--solar-return: the year \"27\" is not a year from 1583 to 2998."},
        {{"--solar-return", "2027", "--place", "Lisbon", "--zone", "Europe/Lisbon"}, ""},
        {{"--solar-return", "2027", "--latitude", "38.7", "--longitude", "-9.1"},
         "--zone is missing: the return's place needs --latitude, --longitude and --zone, or "
         "--place."},
        {{"--progressions", "2027-01-01..2026-01-01"},
         "--progressions: the last date 2026-01-01 comes before the first 2027-01-01."},
        {{"--progressions", "2027-01-01..2027-12-31", "--place", "Lisbon"},
         "--open cannot be combined with --place."},
        {{"--lunar-return", "2027-03-01", "--pdf", "r.pdf"},
         "--pdf goes with --progressions or --solar-return, not with --lunar-return."},
        {{"--progressed", "2027-06-01", "--wheel", "w.png"},
         "--wheel draws a chart; with --progressed there is none (--solar-return and "
         "--lunar-return draw the return chart)."},
        {{"--transits", "2027-01-01..2027-12-31", "--lunar-return", "2027-03-01"},
         "--transits and --lunar-return exclude each other."},
        {{"--display-zone", "UTC"},
         "--display-zone goes with --transits, --progressed, --progressions, --solar-return or "
         "--lunar-return."},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"--open", "a.chart"};
        arguments.insert(arguments.end(), c.more.begin(), c.more.end());
        const CommandLineParse parsed = Parse(arguments);
        EXPECT_EQ(parsed.error, c.error);
        EXPECT_EQ(parsed.value.has_value(), *c.error == '\0') << c.error;
    }
    // 2027-06-01T13:00:00Z, by date -u -d.
    const CommandLineParse instant = Parse(
        {"--open", "a.chart", "--progressed", "2027-06-01T15:00+02:00", "--display-zone", "UTC"});
    ASSERT_TRUE(instant.value && instant.value->technique) << instant.error;
    EXPECT_EQ(instant.value->technique->instantUt, 1811854800);
    EXPECT_EQ(instant.value->technique->displayZone, "UTC");
    const CommandLineParse place = Parse({"--open", "a.chart", "--solar-return", "2027", "--place",
                                          "Lisbon", "--zone", "Europe/Lisbon"});
    ASSERT_TRUE(place.value && place.value->technique) << place.error;
    EXPECT_EQ(place.value->technique->placeQuery, "Lisbon");
    EXPECT_EQ(place.value->technique->zone, "Europe/Lisbon");
}

}  // namespace
}  // namespace tolvaris
