#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "core/chart/coordinate_text.h"
#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"
#include "core/chart/orbs_text.h"

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

// Degrees worked by hand: minutes / 60 + seconds / 3600, south and west negative.
TEST(ReadCoordinate, ReadsEveryWritingAndRefusesWithTheFieldAndTheForms) {
    constexpr auto kLat = CoordinateAxis::Latitude;
    constexpr auto kLon = CoordinateAxis::Longitude;
    const std::string latForms =
        "write decimal degrees, north positive (52.52, -33.87), or degrees and minutes "
        "(52n31, 52°31'N, 52 31 N, 52:31:00N)";
    const struct {
        std::string text;
        CoordinateAxis axis;
        std::optional<double> degrees;
        std::string refusal;  // the whole message when it is not read
    } cases[] = {
        {"52.52", kLat, 52.52, ""},
        {" -33.87 ", kLat, -33.87, ""},
        {"+13,405", kLon, 13.405, ""},
        {"-13.405", kLon, -13.405, ""},
        {"52n31", kLat, 52.516666666666667, ""},
        {"13e24:30", kLon, 13.408333333333333, ""},
        {"52°31'N", kLat, 52.516666666666667, ""},
        {"13°24'30\"E", kLon, 13.408333333333333, ""},
        {"52 31 N", kLat, 52.516666666666667, ""},
        {"52:31:00N", kLat, 52.516666666666667, ""},
        {"33 52 s", kLat, -33.866666666666667, ""},
        {"S33°52'", kLat, -33.866666666666667, ""},
        {"151°12′35″E", kLon, 151.20972222222222, ""},
        {"0°30'W", kLon, -0.5, ""},
        {"52 30.5", kLat, 52.508333333333333, ""},
        {"90", kLat, 90.0, ""},
        {"-180", kLon, -180.0, ""},
        {"", kLat, std::nullopt, "the latitude is empty; " + latForms},
        {"N52x", kLat, std::nullopt, "the latitude \"N52x\" is not understood; " + latForms},
        {"52 N", kLon, std::nullopt,
         "the longitude \"52 N\" is not understood; write decimal degrees, east positive "
         "(13.405, -74.006), or degrees and minutes (13e24, 13°24'30\"E, 13 24 E, 74:00:21W)"},
        {"52.5 30", kLat, std::nullopt, "the latitude \"52.5 30\" is not understood; " + latForms},
        {"52:", kLat, std::nullopt, "the latitude \"52:\" is not understood; " + latForms},
        {"52n31s", kLat, std::nullopt, "the latitude \"52n31s\" is not understood; " + latForms},
        {"-52 S", kLat, std::nullopt,
         "the latitude \"-52 S\" has both a sign and a hemisphere letter; give one of them"},
        {"52 60", kLat, std::nullopt,
         "the latitude \"52 60\" has minutes or seconds of 60 or more"},
        {"52 30 60N", kLat, std::nullopt,
         "the latitude \"52 30 60N\" has minutes or seconds of 60 or more"},
        {"90.0000001", kLat, std::nullopt, "the latitude 90.0000001 is outside -90 to 90"},
        {"90 0 1 S", kLat, std::nullopt, "the latitude 90 0 1 S is outside -90 to 90"},
        {"181", kLon, std::nullopt, "the longitude 181 is outside -180 to 180"},
        // A line of junk is quoted cut short.
        {std::string(60, '9') + "x", kLat, std::nullopt,
         "the latitude \"" + std::string(40, '9') + "...\" is not understood; " + latForms},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Result<double> read = ReadCoordinate(c.text, c.axis);
        if (c.degrees) {
            ASSERT_TRUE(read.Ok()) << read.Failure().message;
            EXPECT_NEAR(*read, *c.degrees, 1e-12);
        } else {
            ASSERT_FALSE(read.Ok());
            EXPECT_EQ(read.Failure().kind, ErrorKind::Input);
            EXPECT_EQ(read.Failure().field,
                      c.axis == kLat ? BirthField::Latitude : BirthField::Longitude);
            EXPECT_EQ(read.Failure().message, c.refusal);
        }
    }
}

TEST(FormatCoordinates, RoundsToTheSecondAndReadsBack) {
    const struct {
        double latitude;
        double longitude;
        const char* text;
    } cases[] = {
        {52.52, 13.405, "52°31'12\"N 13°24'18\"E"},        // 0.52° = 31'12", 0.405° = 24'18"
        {-33.8688, 151.2093, "33°52'08\"S 151°12'33\"E"},  // 7.68" and 33.48" rounded
        {0.0, -0.5, "0°00'N 0°30'W"},
        {-0.0001, 179.99999, "0°00'N 180°00'E"},  // under half a second: no hemisphere
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string text = FormatCoordinates(c.latitude, c.longitude);
        EXPECT_EQ(text, c.text);
        const std::size_t space = text.find(' ');
        const Result<double> latitude =
            ReadCoordinate(text.substr(0, space), CoordinateAxis::Latitude);
        const Result<double> longitude =
            ReadCoordinate(text.substr(space + 1), CoordinateAxis::Longitude);
        ASSERT_TRUE(latitude.Ok() && longitude.Ok());
        EXPECT_NEAR(*latitude, c.latitude, 0.5 / 3600);
        EXPECT_NEAR(*longitude, c.longitude, 0.5 / 3600);
    }
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
        {"Sextil=5",
         "the orb \"Sextil\" is not one of conjunction, sextile, square, trine, "
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

TEST(Orbs, EveryAcceptedOrbReadsBackAsItself) {
    // Millionths k across 0 to 15, with tails (32 characters in all) rounding to k or k + 1.
    for (long k = 0; k < 15'000'000; k += 7919) {
        const std::string plain = std::to_string(k / 1'000'000) + "." +
                                  std::to_string(1'000'000 + k % 1'000'000).substr(1);
        for (const auto& [tail, millionths] :
             {std::pair<std::string, long>{"49999990000000000000001", k}, {"5000001", k + 1}}) {
            const double orb =
                ParseOrbs("trine=" + plain + tail, {}).value.value()[AspectKind::Trine];
            EXPECT_EQ(orb, static_cast<double>(millionths) / 1e6) << plain + tail;
            EXPECT_EQ(ParseOrbs(FormatOrbs(Orbs::Every(orb)), {}).value.value()[AspectKind::Trine],
                      orb);
        }
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
