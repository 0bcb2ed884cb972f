#include "core/reading/relationship_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/page_fixture.h"

namespace tolvaris {
namespace {

using test::WriteBytes;

const std::string kRule = "  " + std::string(74, '-');

BirthChart Person(const char* name, bool timeKnown) {
    BirthChart chart;
    chart.input.name = name;
    chart.input.date = timeKnown ? CivilDate{1990, 1, 1} : CivilDate{1992, 6, 1};
    if (timeKnown) {
        chart.input.time = CivilTime{12, 0, 0};
    }
    chart.input.latitude = 51.77;
    chart.input.longitude = 19.46;
    chart.input.zone = "Europe/Warsaw";
    chart.universalTime.unixSeconds = timeKnown ? 631191600 : 707392800;
    chart.universalTime.offsetSeconds = timeKnown ? 3600 : 7200;
    return chart;
}

// Ana: Sun 10 Aries, Moon 11 Cancer, Venus 25 Libra, houses of 30 degrees
// from 0 Aries. Ben, time unknown: Sun 12 Libra, Mars 15 Aries. So Ana's
// Moon squares Ben's Sun (orb 1), her Sun opposes his (2), her Moon squares
// his Mars (4) and her Sun meets his Mars (5); his Sun is in her 7th house,
// his Mars in her 1st. The composite: Sun 11 Capricorn, Mars 17 Aries.
struct Pair {
    BirthChart ana = Person("Ana", true);
    BirthChart ben = Person("Ben", false);
    CompositeChart composite;
    Synastry synastry;
    Pair() {
        ana.chart.bodies = {{Point::Sun, "Sun", 10.0, 1.0, 0, 10.0, 1, false},
                            {Point::Moon, "Moon", 101.0, 13.0, 3, 11.0, 4, false},
                            {Point::Venus, "Venus", 205.0, 1.0, 6, 25.0, 7, false}};
        HouseCusps cusps;
        for (std::size_t i = 0; i < cusps.size(); ++i) {
            cusps[i] = 30.0 * static_cast<double>(i);
        }
        ana.chart.cusps = cusps;
        ana.chart.ascendant = AnglePlacement{0.0, 0, 0.0};
        ana.chart.midheaven = AnglePlacement{270.0, 9, 0.0};
        ana.chart.houseSystemUsed = HouseSystem::Placidus;
        ben.chart.bodies = {{Point::Sun, "Sun", 192.0, 1.0, 6, 12.0, std::nullopt, false},
                            {Point::Mars, "Mars", 15.0, 0.5, 0, 15.0, std::nullopt, false}};
        composite.firstName = "Ana";
        composite.secondName = "Ben";
        composite.notes = {"A composite note."};
        composite.chart.bodies = {
            {Point::Sun, "Sun", 281.0, 1.0, 9, 11.0, std::nullopt, false},
            {Point::Mars, "Mars", 17.5, 0.5, 0, 17.5, std::nullopt, false},
            {Point::Jupiter, "Jupiter", 40.0, 0.1, 1, 10.0, std::nullopt, false}};
        synastry = ComputeSynastry(ana.chart, ben.chart, Orbs{});
    }
};

std::string Entry(const std::string& key, const std::string& text) {
    return key + " (synastry)\r\n" + text + "\r\n*\r\n";
}

TEST(RelationshipReadingTest, ThePageInOrderWithTheMissingEntryListed) {
    test::TempFolder folder;
    WriteBytes(folder / "SYNASTRY_Sun.TXT",
               Entry("Synastry Sun discordant to Sun", "Suns apart.") +
                   Entry("Your Sun blending with their Mars", "Sun on Mars."));
    WriteBytes(folder / "SYNASTRY_Moon.TXT",
               Entry("Your Moon discordant to their Sun", "Moon across Sun.") +
                   Entry("Your Moon discordant to their Mars", "Moon across Mars."));
    WriteBytes(folder / "SYNASTRY_HOUSE_7.TXT", Entry("Your SUN in their 7th House", "Seventh."));
    WriteBytes(folder / "SYNASTRY_HOUSE_1.TXT", Entry("Your MARS in their 1st House", "First."));
    WriteBytes(folder / "COMPOSITE_SIGNS.TXT",
               "Composite SUN in Capricorn (composite)\r\nSteady.\r\n*\r\n");
    const Pair pair;
    const RelationshipSubject subject{pair.ana, pair.ben, pair.synastry, pair.composite};
    test::FakeNotices notices;
    const ReadingBuffer page = RelationshipDataBuffer(subject, folder.Path(), notices);
    const std::vector<std::string> expected = {
        "",
        "  RELATIONSHIP READING: Ana and Ben",
        "  Read from Ana's side: \"your\" points are Ana's, \"their\" points Ben's.",
        "",
        kRule,
        "",
        "  FIRST CHART: Ana",
        "  Born: 1 January 1990, 12:00 local time",
        "  Coordinates: 51\xB0"
        "46'12\"N 19\xB0"
        "27'36\"E",
        "  Universal time: 1990-01-01 11:00:00, UTC+01:00 from the time zone",
        "    Europe/Warsaw",
        "  Houses: Placidus",
        "  Ephemeris: Swiss Ephemeris files",
        "",
        kRule,
        "",
        "  SECOND CHART: Ben",
        "  Born: 1 June 1992, time unknown",
        "  Coordinates: 51\xB0"
        "46'12\"N 19\xB0"
        "27'36\"E",
        "  Universal time: 1992-06-01 10:00:00, UTC+02:00 from the time zone",
        "    Europe/Warsaw",
        "  Houses: none",
        "  Ephemeris: Swiss Ephemeris files",
        "",
        kRule,
        "",
        "  CONTACTS BETWEEN THE CHARTS, THE CLOSEST FIRST",
        "",
        kRule,
        "",
        "  Ana's Moon square Ben's Sun, orb 1\xB0"
        "00'",
        "  Your Moon discordant to their Sun (synastry)",
        "  Moon across Sun.",
        "",
        kRule,
        "",
        "  Ana's Sun opposition Ben's Sun, orb 2\xB0"
        "00'",
        "  Synastry Sun discordant to Sun (synastry)",
        "  Suns apart.",
        "",
        kRule,
        "",
        "  Ana's Moon square Ben's Mars, orb 4\xB0"
        "00'",
        "  Your Moon discordant to their Mars (synastry)",
        "  Moon across Mars.",
        "",
        kRule,
        "",
        "  Ana's Sun conjunction Ben's Mars, orb 5\xB0"
        "00'",
        "  Your Sun blending with their Mars (synastry)",
        "  Sun on Mars.",
        "",
        kRule,
        "",
        "  ANA'S PLANETS IN BEN'S HOUSES",
        "  Ben's birth time is unknown, so Ben has no houses to place Ana's planets",
        "    in.",
        "",
        kRule,
        "",
        "  BEN'S PLANETS IN ANA'S HOUSES",
        "  Here \"you\" is Ben and \"they\" is Ana.",
        "",
        kRule,
        "",
        "  Ben's Sun in Ana's 7th house",
        "  Your SUN in their 7th House (synastry)",
        "  Seventh.",
        "",
        kRule,
        "",
        "  Ben's Mars in Ana's 1st house",
        "  Your MARS in their 1st House (synastry)",
        "  First.",
        "",
        kRule,
        "",
        "  THE COMPOSITE CHART",
        "  Note: A composite note.",
        "",
        kRule,
        "",
        "  Composite Sun 11\xB0"
        "00' Capricorn",
        "  Composite SUN in Capricorn (composite)",
        "  Steady.",
        "",
        kRule,
        "",
        "  Composite Mars 17\xB0"
        "30' Aries",
        "",
        kRule,
        "",
        "  NOT IN THE LIBRARY",
        "  No entry \"Composite MARS in Aries\" in COMPOSITE_SIGNS.TXT",
        ""};
    EXPECT_EQ(test::LineTexts(page.lines), expected);
    ASSERT_EQ(page.missing.size(), 1U);
    EXPECT_TRUE(notices.messages.empty());
}

}  // namespace
}  // namespace tolvaris
