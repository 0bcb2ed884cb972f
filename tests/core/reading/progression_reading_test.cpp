#include "core/reading/progression_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ephemeris/ephemeris.h"
#include "core/reading/return_reading.h"
#include "core/time/time_format.h"
#include "support/birth_samples.h"
#include "support/page_fixture.h"

namespace tolvaris {
namespace {

std::int64_t Ut(int year, int month, int day, int hour, int minute, int second) {
    return DaysSinceEpoch({year, month, day}) * 86400 + hour * 3600 + minute * 60 + second;
}

BirthChart Natal() {
    BirthChart chart;
    chart.input = test::BerlinNewYear();
    chart.universalTime.unixSeconds = 631191600;
    chart.universalTime.offsetSeconds = 3600;
    chart.chart.houseSystemUsed = HouseSystem::Placidus;
    chart.chart.cusps = HouseCusps{};  // the birth time is known
    return chart;
}

const std::string kRule = "  " + std::string(74, '-');

// The data buffer of a shown page: blank lines around the reading, the
// natal chart's heading under `title`, rules between the blocks.
std::vector<std::string> Page(const std::string& title,
                              std::initializer_list<std::vector<std::string>> blocks) {
    std::vector<std::string> lines = {"",
                                      "  " + title + ": Ann Lee",
                                      "  Born: 1 January 1990, 12:00 local time",
                                      "  Place: Berlin, Land Berlin, Germany",
                                      "  Coordinates: 52\xB0"
                                      "31'12\"N 13\xB0"
                                      "24'18\"E",
                                      "  Universal time: 1990-01-01 11:00:00, UTC+01:00 from the "
                                      "time zone",
                                      "    Europe/Berlin",
                                      "  Houses: Placidus",
                                      "  Ephemeris: Swiss Ephemeris files"};
    bool first = true;
    for (const auto& block : blocks) {
        if (!first || title != "PROGRESSIONS") {
            lines.insert(lines.end(), {"", kRule, ""});
        }
        first = false;
        lines.insert(lines.end(), block.begin(), block.end());
    }
    lines.emplace_back("");
    return lines;
}

class ProgressionReadingTest : public test::PageFixture {
protected:
    void SetUp() override {
        test::WriteBytes(folder / "PROGRESSED_Sun.TXT",
                         "Progressed Sun blending with natal Moon (progression, conjunction)\r\n"
                         "A new chapter.\r\n*\r\n");
        test::WriteBytes(folder / "PROGRESSED_Moon.TXT",
                         "Progressed Moon through the 4th House (progression)\r\nRoots.\r\n*\r\n");
        test::WriteBytes(folder / "SOLAR_RETURN.TXT",
                         "Return LEO rising (solar return)\r\nA bold year.\r\n*\r\n");
        test::WriteBytes(folder / "SIGN_Cap.TXT", "SUN in\r\nSteady.\r\n*\r\n");
        test::WriteBytes(folder / "HOUSE_10.TXT", "SUN in\r\nSeen.\r\n*\r\n");
        test::WriteBytes(folder / "HOUSE_7.TXT", "MOON in\r\nOthers.\r\n*\r\n");
    }

    // Shown in the window and composed for the command line, both alike.
    void Check(const ReadingContent& content, const std::vector<std::string>& expected,
               std::size_t missing) {
        buffers.ClearDataBuffer();
        ShowReadingPage(buffers, folder.Path(), content);
        EXPECT_EQ(Texts(buffers.DataBuffer()), expected);
        test::FakeNotices quiet;
        const ReadingBuffer composed = ComposeWithoutWindow(folder.Path(), quiet, content);
        EXPECT_EQ(Texts(composed.lines), expected);
        EXPECT_EQ(composed.missing.size(), missing);
    }
};

// Berlin is an hour ahead of UT in winter and two from 2027-03-28; times
// are rounded to the minute. An aspect under way at the start comes first,
// the bodies without entries share one block, the Moon's sign change finds
// no entry.
TEST_F(ProgressionReadingTest, EventsInTimeOrderWithTheirTexts) {
    const BirthChart chart = Natal();
    ProgressionSearch search;
    search.aspects = {{NatalPoint::Sun,
                       NatalPoint::Moon,
                       AspectKind::Conjunction,
                       {},
                       Ut(2027, 5, 10, 10, 0, 0),
                       {{Ut(2027, 2, 1, 11, 29, 40), false}}},
                      {NatalPoint::Midheaven,
                       NatalPoint::Saturn,
                       AspectKind::Square,
                       Ut(2027, 3, 1, 0, 0, 0),
                       {},
                       {}}};
    search.signChanges = {{Point::Venus, 10, Ut(2027, 1, 20, 6, 0, 0), false},
                          {Point::Moon, 4, Ut(2027, 4, 2, 10, 0, 0), false}};
    search.ingresses = {{Point::Moon, 4, Ut(2027, 2, 20, 3, 0, 0), false}};
    search.stations = {{Point::Mercury, Ut(2027, 1, 25, 12, 0, 0), true}};
    ForecastRange range{{2027, 1, 1}, {2027, 6, 30}, "Europe/Berlin", {}};
    range.span = {Ut(2026, 12, 31, 23, 0, 0), Ut(2027, 6, 30, 22, 0, 0)};
    const ProgressionSettings settings;
    const ProgressionSubject subject{chart, range, settings, search};
    Check(ProgressionContent(subject),
          Page("PROGRESSIONS",
               {{"  Range: 1 January 2027 to 30 June 2027, local times in Europe/Berlin",
                 "  Secondary progressions: the chart moves on one day for each year of life.",
                 "    Orb: 1 degree either side of exact; R marks a moment when the progressed",
                 "    body is retrograde."},
                {"  Progressed Sun conjunction natal Moon",
                 "  Within orb: before the range to 2027-05-10 12:00", "  Exact: 2027-02-01 12:30",
                 "  Progressed Sun blending with natal Moon (progression, conjunction)",
                 "  A new chapter."},
                {"  Progressed Venus enters Aquarius: 2027-01-20 07:00",
                 "  Progressed Mercury turns retrograde: 2027-01-25 13:00"},
                {"  Progressed Moon enters the natal 4th house: 2027-02-20 04:00",
                 "  Progressed Moon through the 4th House (progression)", "  Roots."},
                {"  Progressed Midheaven square natal Saturn",
                 "  Within orb: 2027-03-01 01:00 to beyond the range",
                 "  Exact: not within this range",
                 "  A slow tension between your sense of direction and standing and your natal",
                 "    Saturn: a chapter that asks you to adjust an old habit rather than force",
                 "    the new."},
                {"  Progressed Moon enters Leo: 2027-04-02 12:00"},
                {"  NOT IN THE LIBRARY",
                 "  No entry \"Progressed Moon in Leo (progression)\" in PROGRESSED_Moon.TXT"}}),
          1);
}

// The return is cast in New York, five hours behind UT in January; the
// outer planet is read by house alone; what the library lacks is listed.
TEST_F(ProgressionReadingTest, SolarAndLunarReturnPages) {
    const BirthChart natal = Natal();
    BirthChart cast;
    cast.input.placeName = "New York, United States";
    cast.input.latitude = 40.7128;
    cast.input.longitude = -74.006;
    cast.input.zone = "America/New_York";
    cast.chart.ascendant = AnglePlacement{130.0, 4, 10.0};
    cast.chart.bodies = {{Point::Sun, "Sun", 280.5, 1.0, 9, 10.5, 10, false},
                         {Point::Uranus, "Uranus", 310.0, 0.05, 10, 10.0, 11, false}};
    const SolarReturn solar{{0.0, Ut(2027, 1, 1, 10, 58, 3)}, ""};
    const std::string place =
        "New York, United States (40\xB0"
        "42'46\"N 74\xB0"
        "00'22\"W)";
    Check(
        SolarReturnContent({natal, 2027, solar, cast}),
        Page("SOLAR RETURN",
             {{"  The return chart of 2027: the moment the Sun comes back to its natal",
               "    place, cast for " + place + ".",
               "  Return moment: 2027-01-01 05:58:03 local time in America/New_York",
               "    (2027-01-01 10:58:03 UTC)"},
              {"  Return Ascendant in Leo", "  Return LEO rising (solar return)", "  A bold year."},
              {"  Return Sun in the 10th house"},
              {"  THE RETURN CHART OF 2027, READ THROUGH THE NATAL TEXTS",
               "  The planets of the return chart in their signs and houses, with the texts",
               "    written for a birth chart: they colour this year, not the whole life."},
              {"  SUN in", "  Steady."},
              {"  SUN in", "  Seen."},
              {"  Uranus, Neptune and Pluto stay in one sign for years, so they are read",
               "    here by house alone."},
              {"  NOT IN THE LIBRARY",
               "  No entry \"Return SUN in the 10th House (solar return)\" in SOLAR_RETURN.TXT",
               "  No file HOUSE_11.TXT (for \"URANUS in\")"}}),
        2);

    Chart withHouses;
    withHouses.ascendant = AnglePlacement{200.0, 6, 20.0};
    withHouses.bodies = {{Point::Moon, "Moon", 280.0, 13.0, 9, 10.0, 7, false}};
    Chart withoutHouses;
    withoutHouses.bodies = {{Point::Moon, "Moon", 280.0, 13.0, 9, 10.0, {}, false}};
    const std::vector<LunarReturnChart> returns = {
        {{0.0, Ut(2027, 1, 3, 23, 30, 0)}, withHouses},
        {{0.0, Ut(2027, 7, 20, 4, 0, 0)}, withoutHouses}};
    const ReturnPlace berlin = BirthplaceOf(natal);
    Check(LunarReturnsContent({natal, 2027, berlin, returns}),
          Page("LUNAR RETURNS",
               {{"  The lunar returns of 2027: each moment the Moon comes back to its natal",
                 "    place, the start of a month of feeling and habit, with the chart of that",
                 "    moment cast for Berlin, Land Berlin, Germany (52\xB0"
                 "31'12\"N 13\xB0"
                 "24'18\"E)."},
                {"  Lunar return 1: 2027-01-04 00:30:00 local time in Europe/Berlin",
                 "    (2027-01-03 23:30:00 UTC)",
                 "  Return Moon in the 7th house, return Ascendant in Libra; the house is",
                 "    where the month's feelings gather.", "  MOON in", "  Others."},
                {"  Lunar return 2: 2027-07-20 06:00:00 local time in Europe/Berlin",
                 "    (2027-07-20 04:00:00 UTC)",
                 "  The return chart has no houses, so the month is read by the Moon's sign",
                 "    alone: Capricorn."}}),
          0);
}

// Every return of the year, none missed at either end: the Moon back at
// its natal place (swetest -b1.1.1990 -ut11:00 -p1: 332.7065724), each chart
// with the birthplace's houses.
TEST(LunarReturnCharts, EveryReturnOfTheYearWithItsChart) {
    Ephemeris ephemeris;
    BirthChart natal;
    natal.input = test::BerlinNewYear();
    natal.chart = *ComputeChart(ephemeris, test::BerlinNewYearRequest()).chart;
    const auto charts =
        LunarReturnCharts(ephemeris, natal, 2027, BirthplaceOf(natal), "Europe/Berlin");
    ASSERT_TRUE(charts) << charts.Failure().message;
    const std::int64_t from = Ut(2026, 12, 31, 23, 0, 0);
    const std::int64_t month = 28 * 86400;  // longer than any lunar month
    ASSERT_FALSE(charts.Value().empty());
    EXPECT_LT(charts.Value().front().moment.utSeconds - from, month);
    EXPECT_LT(Ut(2027, 12, 31, 23, 0, 0) - charts.Value().back().moment.utSeconds, month);
    for (const LunarReturnChart& item : charts.Value()) {
        EXPECT_NEAR(item.chart.bodies.at(1).longitude, 332.7065724, 2e-4);
        EXPECT_TRUE(item.chart.cusps.has_value());
    }
}

}  // namespace
}  // namespace tolvaris
