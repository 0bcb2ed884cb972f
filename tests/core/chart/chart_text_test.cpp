#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "core/chart/coordinate_text.h"
#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"
#include "core/chart/orbs_text.h"
#include "core/chart/utf8_text.h"

namespace tolvaris {
namespace {

TEST(PlainDecimal, ReadsOnlySignDigitsAndOnePoint) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"52.52", 52.52},
        {"-0.1278", -0.1278},
        {"+8", 8.0},
        {".5", 0.5},
        {"-.25", -0.25},
        {"0", 0.0},
        {"180.000000", 180.0},
        {"", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"5.", std::nullopt},
        {"1e2", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"1.2.3", std::nullopt},
        {"--5", std::nullopt},
        {"0x10", std::nullopt},
        {"13,41", std::nullopt},
        {"123456789012345678901234567890123", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParsePlainDecimal(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(PlainDecimal, WritesAPointWhateverTheLocale) {
    // A German locale writes 52,52 through printf; our files must not.
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(FormatFixedDecimal(52.52, 6), "52.520000");
    EXPECT_EQ(FormatFixedDecimal(-0.0000001, 6), "0.000000");
    EXPECT_EQ(FormatFixedDecimal(-151.2092954, 6), "-151.209295");
    EXPECT_EQ(FormatShortestDecimal(8.0), "8");
    EXPECT_EQ(FormatShortestDecimal(6.25), "6.25");
    EXPECT_EQ(FormatShortestDecimal(0.1), "0.1");
    std::setlocale(LC_ALL, "C");
    if (!german) {
        GTEST_LOG_(INFO) << "de_DE.UTF-8 is not installed; checked in the C locale only";
    }
}

TEST(Coordinates, RefuseWhatIsNoPlaceOnEarth) {
    EXPECT_EQ(ParseLatitude("-90").value, -90.0);
    EXPECT_EQ(ParseLatitude("90.0").value, 90.0);
    EXPECT_EQ(ParseLongitude("-180").value, -180.0);
    EXPECT_EQ(ParseLongitude("13.41").value, 13.41);
    EXPECT_EQ(ParseLatitude("90.0000001").error, "the latitude 90.0000001 is outside -90 to 90");
    EXPECT_EQ(ParseLongitude("181").error, "the longitude 181 is outside -180 to 180");
    EXPECT_EQ(ParseLatitude("N52").error,
              "the latitude \"N52\" is not a number of decimal degrees (north positive, for "
              "example 52.52)");
    // A line of junk is quoted cut short.
    EXPECT_EQ(ParseLatitude(std::string(60, '9') + "x").error,
              "the latitude \"" + std::string(40, '9') +
                  "...\" is not a number of decimal degrees (north positive, for example 52.52)");
}

TEST(Orbs, FormatAndReadBack) {
    EXPECT_EQ(FormatOrbs(Orbs{}), "conjunction=8,sextile=5,square=7,trine=7,opposition=8");
    const OrbsParse some = ParseOrbs(" sextile = 4.5 , opposition=10", Orbs{});
    ASSERT_TRUE(some.value) << some.error;
    EXPECT_EQ((*some.value)[AspectKind::Sextile], 4.5);
    EXPECT_EQ((*some.value)[AspectKind::Opposition], 10.0);
    EXPECT_EQ((*some.value)[AspectKind::Conjunction], 8.0);
    const Orbs odd({0.1, 15, 0, 3.75, 12.125});
    const OrbsParse back = ParseOrbs(FormatOrbs(odd), Orbs{});
    ASSERT_TRUE(back.value) << back.error;
    EXPECT_EQ(FormatOrbs(*back.value), FormatOrbs(odd));
    const struct {
        const char* text;
        const char* error;
    } refused[] = {
        {"", "the orbs are empty (write them as conjunction=8,sextile=5,...)"},
        {"sextile", "the orb \"sextile\" is not written as kind=degrees, for example sextile=5"},
        {"sextile=5,", "the orb \"\" is not written as kind=degrees, for example sextile=5"},
        {"Sextile=5",
         "the orb \"Sextile\" is not one of conjunction, sextile, square, trine, "
         "opposition"},
        {"trine=-1", "the trine orb -1 is outside 0 to 15"},
        {"trine=abc", "the trine orb \"abc\" is not a number of degrees"},
        {"square=1,square=2", "the square orb is given twice"},
    };
    for (const auto& c : refused) {
        const OrbsParse parsed = ParseOrbs(c.text, Orbs{});
        EXPECT_FALSE(parsed.value) << c.text;
        EXPECT_EQ(parsed.error, c.error);
    }
}

TEST(Utf8, AcceptsWellFormedTextOnly) {
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {"", true},
        {"Zürich", true},
        {"\xE2\x82\xAC", true},       // euro sign
        {"\xF0\x9F\x8C\x9E", true},   // a four-byte character
        {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
        {"Z\xFCrich", false},         // Latin-1
        {"\x80", false},              // stray continuation
        {"\xC0\xAF", false},          // overlong slash
        {"\xE0\x80\xAF", false},      // overlong, three bytes
        {"\xED\xA0\x80", false},      // a UTF-16 surrogate
        {"\xF4\x90\x80\x80", false},  // past U+10FFFF
        {"\xE2\x82", false},          // cut short
        {"\xF5\x80\x80\x80", false},  // no such lead byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.text;
    }
}

}  // namespace
}  // namespace tolvaris

namespace tolvaris {
namespace {

TEST(MessageText, QuotesUserTextOnOneLineAndShort) {
    const struct {
        std::string text;
        const char* shown;
    } cases[] = {
        {"Berlin", "Berlin"},
        {"line\nbreak\r\x1b[2J", "line?break??[2J"},
        {"Z\xFCrich", "Z?rich"},
        {std::string(39, 'a') + "ü" + "b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaü..."},
        {std::string(40, 'x'), "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShownInMessage(c.text), c.shown);
    }
    EXPECT_EQ(OneLineMessage(std::string(50, 'y') + "\n"), std::string(50, 'y') + "?");
    EXPECT_EQ(AsClause("Date must be written as YYYY-MM-DD."),
              "date must be written as YYYY-MM-DD");
    EXPECT_EQ(AsClause("UTC offset must lie between -15:00 and +15:00."),
              "UTC offset must lie between -15:00 and +15:00");
}

}  // namespace
}  // namespace tolvaris
