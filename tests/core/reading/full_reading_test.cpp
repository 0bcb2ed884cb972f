#include "core/reading/full_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reading/latin_text.h"
#include "support/page_fixture.h"

namespace tolvaris {
namespace {

using test::WriteBytes;

const std::string kRule = "  " + std::string(74, '-');

// Sun in Aries in the 1st house, Moon in Taurus in the 2nd, Uranus in Gemini
// in the 12th, Leo rising; Sun sextile Moon, Moon square the Ascendant.
BirthChart SmallChart(bool timeKnown) {
    BirthChart chart;
    chart.input.name = "Ana \xCE\x91";  // a Greek capital alpha
    chart.input.date = {1990, 1, 1};
    if (timeKnown) {
        chart.input.time = CivilTime{12, 0, 0};
    }
    chart.input.placeName = "\xC5\x81\xC3\xB3\x64\xC5\xBA";  // Łódź
    chart.input.latitude = 51.77;
    chart.input.longitude = 19.46;
    chart.input.zone = "Europe/Warsaw";
    chart.universalTime.unixSeconds = 631191600;
    chart.universalTime.offsetSeconds = 3600;
    chart.universalTime.source = OffsetSource::Zone;
    chart.notes = {"A note for the user."};
    Chart& c = chart.chart;
    const auto house = [&](int h) { return timeKnown ? std::optional<int>(h) : std::nullopt; };
    c.bodies = {
        {Point::Sun, "Sun", 10.0, 1.0, 0, 10.0, house(1), false},
        {Point::Moon, "Moon", 40.0, 13.0, 1, 10.0, house(2), false},
        {Point::Uranus, "Uranus", 70.5, 0.1, 2, 10.5, house(12), false},
    };
    c.aspects = {{Point::Sun, Point::Moon, AspectKind::Sextile, AspectFamily::Harmonizing, 0.0}};
    if (timeKnown) {
        c.ascendant = AnglePlacement{130.0, 4, 10.0};
        c.cusps = HouseCusps{};
        c.houseSystemUsed = HouseSystem::Placidus;
        c.aspects.push_back(
            {Point::Moon, Point::Ascendant, AspectKind::Square, AspectFamily::Discordant, 0.0});
    }
    return chart;
}

class FullReadingTest : public test::PageFixture {
protected:
    void SetUp() override {
        WriteBytes(folder / "RISING.TXT", "LEO rising\r\nLeo text.\r\n*\r\n");
        WriteBytes(folder / "SIGN_Ari.TXT", "SUN in Aries\r\nSun text.\r\n*\r\n");
        WriteBytes(folder / "SIGN_Tau.TXT", "MOON in Taurus\r\nMoon text.\r\n*\r\n");
        WriteBytes(folder / "HOUSE_1.TXT", "SUN in the first\r\nFirst.\r\n*\r\n");
        WriteBytes(folder / "HOUSE_2.TXT", "MOON in the second\r\nSecond.\r\n*\r\n");
        WriteBytes(folder / "HOUSE_12.TXT", "URANUS in the twelfth\r\nTwelfth.\r\n*\r\n");
        WriteBytes(folder / "Sun.TXT", "Sun harmonizing with Moon\r\nSextile.\r\n*\r\n");
        WriteBytes(folder / "Moon.TXT", "Moon discordant to Ascendant\r\nSquare.\r\n*\r\n");
    }
    std::vector<std::string> Reading(const BirthChart& chart, ReadingOrder order) {
        buffers.ResetPage();
        missing = ComposeFullReading(chart, order, folder.Path(), buffers);
        return Texts(buffers.PageLines());
    }
    std::vector<MissingEntry> missing;
};

const std::vector<std::string> kHeading = {
    "  FULL READING: Ana ?",
    "  Born: 1 January 1990, 12:00 local time",
    "  Place: L\xF3"
    "dz",
    // 51.77 N = 51°46'12", 19.46 E = 19°27'36".
    "  Coordinates: 51\xB0"
    "46'12\"N 19\xB0"
    "27'36\"E",
    "  Universal time: 1990-01-01 11:00:00, UTC+01:00 from the time zone",
    "    Europe/Warsaw",
    "  Houses: Placidus",
    "  Ephemeris: Swiss Ephemeris files",
    "  Note: A note for the user.",
};

std::vector<std::string> Joined(std::initializer_list<std::vector<std::string>> blocks) {
    std::vector<std::string> lines;
    bool first = true;
    for (const auto& block : blocks) {
        if (!first) {
            lines.insert(lines.end(), {"", kRule, ""});
        }
        first = false;
        lines.insert(lines.end(), block.begin(), block.end());
    }
    return lines;
}

const std::vector<std::string> kOuterLine = {
    "  Uranus, Neptune and Pluto stay in one sign for years, so the library reads",
    "    them by house and aspect, not by sign."};

TEST_F(FullReadingTest, ByPlanetEachPlanetInItsSignHouseAndAspects) {
    EXPECT_EQ(Reading(SmallChart(true), ReadingOrder::ByPlanet),
              Joined({kHeading,
                      {"  LEO rising", "  Leo text."},
                      {"  SUN in Aries", "  Sun text."},
                      {"  SUN in the first", "  First."},
                      {"  Sun harmonizing with Moon", "  Sextile."},
                      {"  MOON in Taurus", "  Moon text."},
                      {"  MOON in the second", "  Second."},
                      {"  Moon discordant to Ascendant", "  Square."},
                      kOuterLine,
                      {"  URANUS in the twelfth", "  Twelfth."}}));
    EXPECT_TRUE(missing.empty());
}

TEST_F(FullReadingTest, ByHouseThePlanetsOfEachHouseThenAllAspects) {
    EXPECT_EQ(Reading(SmallChart(true), ReadingOrder::ByHouse),
              Joined({kHeading,
                      {"  LEO rising", "  Leo text."},
                      {"  SUN in Aries", "  Sun text."},
                      {"  SUN in the first", "  First."},
                      {"  MOON in Taurus", "  Moon text."},
                      {"  MOON in the second", "  Second."},
                      kOuterLine,
                      {"  URANUS in the twelfth", "  Twelfth."},
                      {"  Sun harmonizing with Moon", "  Sextile."},
                      {"  Moon discordant to Ascendant", "  Square."}}));
}

TEST_F(FullReadingTest, AnUnknownTimeHasNoRisingSignNoHousesAndSaysSo) {
    BirthChart chart = SmallChart(false);
    chart.universalTime.source = OffsetSource::LocalMeanTime;
    const std::vector<std::string> heading = {
        "  FULL READING: Ana ?",
        "  Born: 1 January 1990, time unknown",
        "  Place: L\xF3"
        "dz",
        "  Coordinates: 51\xB0"
        "46'12\"N 19\xB0"
        "27'36\"E",
        "  Universal time: 1990-01-01 11:00:00, UTC+01:00, the local mean time of the",
        "    birthplace (Europe/Warsaw kept no standard time then)",
        "  Houses: none",
        "  Ephemeris: Swiss Ephemeris files",
        "  Note: A note for the user."};
    const std::vector<std::string> sun = {"  SUN in Aries", "  Sun text."};
    const std::vector<std::string> sextile = {"  Sun harmonizing with Moon", "  Sextile."};
    const std::vector<std::string> moon = {"  MOON in Taurus", "  Moon text."};
    EXPECT_EQ(Reading(chart, ReadingOrder::ByPlanet),
              Joined({heading, sun, sextile, moon, kOuterLine}));
    EXPECT_EQ(Reading(chart, ReadingOrder::ByHouse),
              Joined({heading, sun, moon, kOuterLine, sextile}));
}

TEST_F(FullReadingTest, MissingEntriesAndFilesAreListedAtTheEndWithOneMessage) {
    std::filesystem::remove(folder / "HOUSE_12.TXT");
    WriteBytes(folder / "Moon.TXT", "Moon blending with Ascendant\r\nOther.\r\n*\r\n");
    ShowFullReading(SmallChart(true), ReadingOrder::ByPlanet, folder.Path(), buffers, notices);
    const std::vector<std::string> page = Texts(buffers.PageLines());
    const std::vector<std::string> tail(page.end() - 6, page.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{kRule, "", "  NOT IN THE LIBRARY",
                                        "  No entry \"Moon discordant to Ascendant\" in Moon.TXT",
                                        "  No file HOUSE_12.TXT (for \"URANUS in\")", ""}));
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(notices.messages[0].text,
              "2 entries were not found; they are listed at the end of the reading.");
    // The page went out like any request's.
    EXPECT_EQ(PageFile().substr(0, 4), "\r\n  ");
    EXPECT_EQ(buffers.DataCount(), buffers.PageCount());
}

TEST(Utf8ToCp1252Text, KeepsWhatTheCodePageHoldsAndFoldsOtherLatinLetters) {
    const struct {
        const char* utf8;
        const char* expected;
    } cases[] = {
        {"Z\xC3\xBCrich", "Z\xFCrich"},                         // Zürich stays
        {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "L\xF3\x64z"},         // Łódź -> Lódz
        {"\xC8\x98tefan \xC5\x91", "Stefan o"},                 // Ștefan ő
        {"\xC7\x84", "DZ"},                                     // Ǆ
        {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "?????"},  // Αθήνα
        {"a\r\nb\xFF", "a  b?"},                                // line ends, a stray byte
        {"\xE2\x82\xAC", "\x80"},                               // € is in the code page
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToCp1252Text(c.utf8), c.expected) << c.utf8;
    }
}

}  // namespace
}  // namespace tolvaris
