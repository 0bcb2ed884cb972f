#include "core/requests/requests.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "support/fake_screen.h"
#include "support/page_fixture.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::WriteBytes;

// Expectations written out by hand, independent of the code's caption lists.
constexpr std::array<const char*, 12> kSignFiles = {
    "SIGN_Ari.TXT", "SIGN_Tau.TXT", "SIGN_Gem.TXT", "SIGN_Can.TXT", "SIGN_Leo.TXT", "SIGN_Vir.TXT",
    "SIGN_Lib.TXT", "SIGN_Sco.TXT", "SIGN_Sag.TXT", "SIGN_Cap.TXT", "SIGN_Aqu.TXT", "SIGN_Pis.TXT"};
constexpr std::array<const char*, 12> kRisingKeys = {
    "ARIES rising",       "TAURUS rising",    "GEMINI rising",   "CANCER rising",
    "LEO rising",         "VIRGO rising",     "LIBRA rising",    "SCORPIO rising",
    "SAGITTARIUS rising", "CAPRICORN rising", "AQUARIUS rising", "PISCES rising"};
constexpr std::array<const char*, 11> kPlanetKeys = {
    "SUN in",    "MOON in",   "MERCURY in", "VENUS in", "MARS in", "JUPITER in",
    "SATURN in", "URANUS in", "NEPTUNE in", "PLUTO in", ""};
constexpr std::array<const char*, 11> kPlanets = {"Sun",     "Moon",    "Mercury",  "Venus",
                                                  "Mars",    "Jupiter", "Saturn",   "Uranus",
                                                  "Neptune", "Pluto",   "Ascendant"};
constexpr std::array<const char*, 3> kPhrases = {"blending with", "harmonizing with",
                                                 "discordant to"};

// Row: left planet, column: right planet. O: the left planet must be higher;
// S: itself; 1: blending only (Sun-Mercury); 2: no discordant; A: all kinds.
constexpr std::array<const char*, 11> kAspectRules = {
    "SA12AAAAAAA",  // Sun
    "OSAAAAAAAAA",  // Moon
    "OOS2AAAAAAA",  // Mercury
    "OOOSAAAAAAA",  // Venus
    "OOOOSAAAAAA",  // Mars
    "OOOOOSAAAAA",  // Jupiter
    "OOOOOOSAAAA",  // Saturn
    "OOOOOOOSAAA",  // Uranus
    "OOOOOOOOSAA",  // Neptune
    "OOOOOOOOOSA",  // Pluto
    "OOOOOOOOOOS",  // Ascendant
};

class RequestsTest : public test::PageFixture {
protected:
    // The last message, or "" when none was shown.
    std::string RunAndTakeMessage(void (Requests::*request)()) {
        notices.messages.clear();
        dataCountBefore = buffers.DataCount();
        displayCreationsBefore = display.creations;
        keyBefore = requests.SectionKey();
        fileBefore = requests.DataFileName();
        (requests.*request)();
        return notices.messages.empty() ? "" : notices.messages.back().text;
    }
    std::string Missing() const {
        return "Cannot find the file called " + requests.DataFileName().string() + ".";
    }
    void ExpectRefused(const std::string& message, const std::string& expected) {
        EXPECT_EQ(message, expected);
        EXPECT_EQ(notices.messages.back().caption, "Information");
        EXPECT_EQ(notices.messages.back().icon, NoticeIcon::Exclamation);
        EXPECT_EQ(requests.SectionKey(), keyBefore);
        EXPECT_EQ(requests.DataFileName(), fileBefore);
        EXPECT_EQ(buffers.DataCount(), dataCountBefore);
        EXPECT_EQ(display.creations, displayCreationsBefore);
    }
    void ExpectLookup(const std::string& message, const std::string& key, const std::string& file) {
        EXPECT_EQ(requests.SectionKey(), key);
        EXPECT_EQ(requests.DataFileName(), folder / file);
        EXPECT_EQ(message, Missing());
    }

    Requests requests{buffers, notices, folder.Path()};
    std::int32_t dataCountBefore = 0;
    int displayCreationsBefore = 0;
    std::string keyBefore;
    std::filesystem::path fileBefore;
};

TEST_F(RequestsTest, PlanetInSignForEverySignAndPlanet) {
    for (std::int16_t sign = 0; sign < 12; ++sign) {
        for (std::int16_t planet = 0; planet < 11; ++planet) {
            SCOPED_TRACE(std::to_string(sign) + "/" + std::to_string(planet));
            requests.Select(OptionGroup::Sign, sign);
            requests.Select(OptionGroup::Planet, planet);
            requests.Select(OptionGroup::House, static_cast<std::int16_t>(11 - sign));  // ignored
            const std::string message = RunAndTakeMessage(&Requests::OKSigns_Click);
            if (planet >= 7 && planet <= 9) {
                ExpectRefused(message, "Uranus - Pluto sign positions are not delineated.");
            } else if (planet == 10) {
                ExpectLookup(message, kRisingKeys[sign], "RISING.TXT");
            } else {
                ExpectLookup(message, kPlanetKeys[planet], kSignFiles[sign]);
            }
        }
    }
}

TEST_F(RequestsTest, PlanetInHouseForEveryHouseAndPlanet) {
    for (std::int16_t house = 0; house < 12; ++house) {
        for (std::int16_t planet = 0; planet < 11; ++planet) {
            SCOPED_TRACE(std::to_string(house) + "/" + std::to_string(planet));
            requests.Select(OptionGroup::House, house);
            requests.Select(OptionGroup::Planet, planet);
            const std::string message = RunAndTakeMessage(&Requests::OKHouses_Click);
            if (planet == 10) {
                ExpectRefused(
                    message,
                    "The Ascendant is always the 1st house cusp. It cannot be in a house.");
            } else {
                ExpectLookup(message, kPlanetKeys[planet],
                             "HOUSE_" + std::to_string(house + 1) + ".TXT");
            }
        }
    }
}

TEST_F(RequestsTest, RisingSignForEverySignWhateverThePlanet) {
    for (std::int16_t sign = 0; sign < 12; ++sign) {
        requests.Select(OptionGroup::Sign, sign);
        requests.Select(OptionGroup::Planet, static_cast<std::int16_t>(sign % 11));
        ExpectLookup(RunAndTakeMessage(&Requests::OKRisingSign_Click), kRisingKeys[sign],
                     "RISING.TXT");
    }
}

TEST_F(RequestsTest, AspectsForEveryPairAndKind) {
    int accepted = 0;
    for (std::int16_t left = 0; left < 11; ++left) {
        for (std::int16_t right = 0; right < 11; ++right) {
            for (std::int16_t kind = 0; kind < 3; ++kind) {
                SCOPED_TRACE(std::string(kPlanets[left]) + " " + kPhrases[kind] + " " +
                             kPlanets[right]);
                requests.Select(OptionGroup::Planet, left);
                requests.Select(OptionGroup::SecondPlanet, right);
                requests.Select(OptionGroup::AspectKind, kind);
                const std::string message = RunAndTakeMessage(&Requests::OKAspects_Click);
                const char rule = kAspectRules[left][right];
                if (rule == 'O') {
                    ExpectRefused(message,
                                  "Please select a higher planet on the left than on the right.");
                } else if (rule == 'S') {
                    ExpectRefused(message,
                                  "A planet cannot aspect itself. Select a different planet.");
                } else if (rule == '1' && kind > 0) {
                    ExpectRefused(message,
                                  "Mercury can never by far enough away from the Sun to "
                                  "have this kind of aspect.");
                } else if (rule == '2' && kind == 2) {
                    ExpectRefused(message, left == 0
                                               ? "Venus can never by far enough away from the "
                                                 "Sun to have this kind of aspect."
                                               : "Venus can never by far enough away from "
                                                 "Mercury to have this kind of aspect.");
                } else {
                    ++accepted;
                    ExpectLookup(
                        message,
                        std::string(kPlanets[left]) + " " + kPhrases[kind] + " " + kPlanets[right],
                        std::string(kPlanets[left]) + ".TXT");
                }
                display.exists = false;  // a refusal must not create the window either
            }
        }
    }
    EXPECT_EQ(accepted, 161);
}

TEST_F(RequestsTest, AnAcceptedRequestShowsTheEntryAsANewPage) {
    WriteBytes(folder / "Sun.TXT", "Sun discordant to Moon (square)\r\ntext\r\n*\r\n");
    requests.OKAspects_Click();  // the start selection
    EXPECT_TRUE(notices.messages.empty());
    EXPECT_EQ(test::ReadBytes(folder / "lastpage.txt"),
              "\r\n  Sun discordant to Moon (square)\r\n  text\r\n\r\n\r\n");
    EXPECT_EQ(display.caption, "Data");

    // A missing entry still shows a page of empty lines, and the data buffer grows.
    requests.Select(OptionGroup::SecondPlanet, 4);
    requests.OKAspects_Click();
    EXPECT_EQ(test::ReadBytes(folder / "lastpage.txt"), "\r\n\r\n\r\n");
    EXPECT_EQ(buffers.DataCount(), 6);
}

TEST_F(RequestsTest, AnIndexOutsideItsListDoesNothing) {
    for (std::int16_t bad : {std::int16_t{-1}, std::int16_t{12}, std::int16_t{32767}}) {
        requests.SetSelection(Selection{bad, bad, bad, bad, bad});
        requests.OKSigns_Click();
        requests.OKHouses_Click();
        requests.OKRisingSign_Click();
        requests.OKAspects_Click();
    }
    EXPECT_TRUE(notices.messages.empty());
    EXPECT_FALSE(display.exists);
}

}  // namespace
}  // namespace tolvaris
