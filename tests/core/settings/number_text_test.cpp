#include "core/settings/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <locale>
#include <random>
#include <string>
#include <vector>

namespace tolvaris {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::string Zeros(std::size_t count) {
    return std::string(count, '0');
}

// Joined by appending: g++ 12 at -O2 warns wrongly (-Wrestrict) on "text" + string.
template <typename... Parts>
std::string Cat(const Parts&... parts) {
    std::string joined;
    (joined.append(parts), ...);
    return joined;
}

struct FormatCase {
    double value;
    std::string text;
};

TEST(FormatNumberText, WritesPlainDecimalWithASignPlace) {
    const std::vector<FormatCase> cases = {
        {0, " 0"},
        {-0.0, " 0"},
        {8.5, " 8.5"},
        {945, " 945"},
        {-1, "-1"},
        {0.25, " .25"},
        {-0.25, "-.25"},
        {12.25, " 12.25"},
        {1e15, Cat(" 1", Zeros(15))},
        {123456789012345678.0, " 123456789012346000"},
        {1e-5, " .00001"},
        {0.1 + 0.2, " .3"},
        {1.0 / 3, " .333333333333333"},
        {-2.0 / 3, "-.666666666666667"},
        {99999999999999.99, " 100000000000000"},
        {0.9999999999999999, " 1"},
        {1e300, Cat(" 1", Zeros(300))},
        {-1e300, Cat("-1", Zeros(300))},
        {1e-300, Cat(" .", Zeros(299), "1")},
        {std::numeric_limits<double>::denorm_min(), Cat(" .", Zeros(323), "494065645841247")},
        // Rounded up it would read back as an overflow.
        {DBL_MAX, Cat(" 179769313486231", Zeros(294))},
        {-DBL_MAX, Cat("-179769313486231", Zeros(294))},
        {std::nextafter(DBL_MAX, 0.0), Cat(" 179769313486231", Zeros(294))},
        {1.79769313486231e308, Cat(" 179769313486231", Zeros(294))},
        // No number text exists for these; zero is safe for every setting.
        {kInfinity, " 0"},
        {-kInfinity, " 0"},
        {std::numeric_limits<double>::quiet_NaN(), " 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatNumberText(c.value), c.text);
    }
}

// A numpunct that writes a decimal comma, as many regional settings do.
class CommaPoint : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(FormatNumberText, IgnoresTheLocale) {
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
    // A C locale with a decimal comma, where one is installed.
    const std::string previousC = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            break;
        }
    }
    const std::string written = FormatNumberText(-1234.25);
    const double read = ReadLenientNumber(" 1234.25");
    std::setlocale(LC_ALL, previousC.c_str());
    std::locale::global(previous);
    EXPECT_EQ(written, "-1234.25");
    EXPECT_EQ(read, 1234.25);
}

struct ReadCase {
    std::string text;
    double value;
};

TEST(ReadLenientNumber, ReadsWhatFitsAndStopsAtTheRest) {
    const std::vector<ReadCase> cases = {
        {"", 0},
        {" 8.5", 8.5},
        {"-.25", -0.25},
        {"+4", 4},
        {"1 2 . 5", 12.5},
        {"\t-\t3\n7", -37},
        {"1 000", 1000},
        {"1.2.3", 1.2},
        {"12abc", 12},
        {"12,5", 12},
        {"abc", 0},
        {".", 0},
        {"-", 0},
        {"--1", 0},
        {"- 0", 0},
        {"007", 7},
        {"1E3", 1000},
        {"1e3", 1000},
        {"1D3", 1000},
        {"1d-3", 0.001},
        {"2.5E+2", 250},
        {"1 E - 2", 0.01},
        {"1E", 1},
        {"1E+", 1},
        {"1E2.5", 100},
        {"1E2E3", 100},
        {"E5", 0},
        {"1e0000000000000000000000000002", 100},
        {"1x1E3", 1},
        {Cat("0.", Zeros(400), "1E401"), 1},
        {Cat("1", Zeros(400), "E-400"), 1},
        {"1E-999", 0},
        {"-1E-999", 0},
        {"1E999", kInfinity},
        {"-1D999", -kInfinity},
        {Cat("1", Zeros(400)), kInfinity},
        {"1E99999999999999999999999999", kInfinity},
        {"1E-99999999999999999999999999", 0},
        {"&H10", 16},
        {"&h1f", 31},
        {" & H 1 F", 31},
        {"&HFG", 15},
        {"&H7FFF", 32767},
        {"&H8000", -32768},
        {"&HFFFF", -1},
        {"&H0000FFFF", -1},
        {"&H10000", 65536},
        {"&H7FFFFFFF", 2147483647},
        {"&H80000000", -2147483648.0},
        {"&HFFFFFFFF", -1},
        {"&H100000000", kInfinity},
        {"&HFFFFFFFFFFFFFFFFFFFF", kInfinity},
        {"&H", 0},
        {"&O17", 15},
        {"&o777", 511},
        {"&O177777", -1},
        {"&O37777777777", -1},
        {"&O8", 0},
        {"&O18", 1},
        {"&X1", 0},
        {"&12", 0},
        {"-&H10", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Cat("\"", c.text.substr(0, 40), "\""));
        const double read = ReadLenientNumber(c.text);
        EXPECT_EQ(read, c.value);
        EXPECT_FALSE(std::signbit(read) && read == 0) << "negative zero";
    }
}

// The significant digits of `text` and the position of its point, so that
// two spellings can be compared independently of layout.
struct Decimal {
    bool negative = false;
    std::string digits;
    long pointAfter = 0;  // digits before the point, relative to the first significant one
};

// Reference: printf's own correctly rounded 15 digits in the C locale.
Decimal ReferenceDigits(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const std::string text = buffer;
    Decimal d;
    d.negative = value < 0;
    d.digits = text.substr(0, 1) + text.substr(2, 14);
    d.pointAfter = std::stol(text.substr(17)) + 1;
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    return d;
}

// Checks the shape of a number text and takes it apart.
::testing::AssertionResult ParseNumberText(const std::string& text, Decimal& d) {
    if (text.size() < 2 || (text[0] != ' ' && text[0] != '-')) {
        return ::testing::AssertionFailure() << "no sign place";
    }
    d.negative = text[0] == '-';
    const std::string body = text.substr(1);
    const std::size_t point = body.find('.');
    if (body.find_first_not_of("0123456789.") != std::string::npos ||
        (point != std::string::npos && body.find('.', point + 1) != std::string::npos)) {
        return ::testing::AssertionFailure() << "not plain decimal";
    }
    if (point != std::string::npos && (body.back() == '0' || body.back() == '.')) {
        return ::testing::AssertionFailure() << "trailing zero after the point";
    }
    if (body.size() > 1 && body[0] == '0') {
        return ::testing::AssertionFailure() << "leading zero";
    }
    const std::string whole = body.substr(0, point);
    const std::string all = point == std::string::npos ? body : whole + body.substr(point + 1);
    const std::size_t first = all.find_first_not_of('0');
    if (first == std::string::npos) {
        d.digits.clear();
        return ::testing::AssertionSuccess();
    }
    d.digits = all.substr(first);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    d.pointAfter = static_cast<long>(whole.size()) - static_cast<long>(first);
    if (d.digits.size() > 15) {
        return ::testing::AssertionFailure() << "more than 15 significant digits";
    }
    return ::testing::AssertionSuccess();
}

std::vector<double> GeneratedValues() {
    std::mt19937_64 random(20240611);
    std::vector<double> values = {DBL_MAX,
                                  -DBL_MAX,
                                  DBL_MIN,
                                  std::numeric_limits<double>::denorm_min(),
                                  1,
                                  0.1,
                                  0.5,
                                  1e15,
                                  1e16,
                                  1e-15,
                                  9.999999999999999e22};
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<int> quarters(-400000, 400000);
    std::uniform_int_distribution<int> powers(-320, 308);
    for (int i = 0; i < 4000; ++i) {
        // Random bit patterns cover every exponent, subnormals included.
        const double bits = std::bit_cast<double>(random());
        if (std::isfinite(bits)) {
            values.push_back(bits);
        }
        values.push_back(quarters(random) / 4.0);
        values.push_back(-unit(random) * 1e6);
        values.push_back(unit(random) * std::pow(10.0, powers(random)));
        values.push_back(std::ldexp(unit(random), -1040));       // subnormal
        values.push_back(DBL_MAX * (1 - unit(random) * 1e-13));  // the very top
    }
    return values;
}

TEST(NumberTextProperty, ReadingBackGivesTheValueTo15Digits) {
    int checked = 0;
    for (const double value : GeneratedValues()) {
        SCOPED_TRACE(testing::Message() << std::hexfloat << value);
        const std::string text = FormatNumberText(value);
        Decimal written;
        ASSERT_TRUE(ParseNumberText(text, written)) << text;
        const double read = ReadLenientNumber(text);

        // The read value spells the same text: no digit is lost on the way.
        ASSERT_EQ(FormatNumberText(read), text);
        ASSERT_TRUE(std::isfinite(read));
        if (value == 0) {
            ASSERT_EQ(read, 0);
            continue;
        }
        const Decimal reference = ReferenceDigits(value);
        ASSERT_EQ(written.negative, reference.negative);
        ASSERT_EQ(written.pointAfter, reference.pointAfter) << text;
        if (std::fabs(value) < 1.797693134862315e308) {
            // Exactly the correctly rounded 15 digits.
            ASSERT_EQ(written.digits, reference.digits) << text;
        }
        // The text lies within half a unit of the 15th digit (a whole one at
        // the very top); reading it adds at most half a step between doubles.
        const long double unit = std::pow(10.0L, written.pointAfter - 15);
        const long double step =
            std::fabs(static_cast<long double>(read)) * DBL_EPSILON + DBL_TRUE_MIN;
        const long double error = std::fabs(static_cast<long double>(value) - read);
        ASSERT_LE(error, unit * (1 + 1e-9L) + step / 2) << text;
        if (std::fabs(value) < 1.797693134862315e308) {
            ASSERT_LE(error, unit * 0.5L * (1 + 1e-9L) + step / 2) << text;
        }
        // Quarters within 15 digits come back exactly.
        if (std::fabs(value) < 1e13 && value * 4 == std::round(value * 4)) {
            ASSERT_EQ(read, value) << text;
        }
        ++checked;
    }
    EXPECT_GT(checked, 20000);
}

TEST(NumberTextProperty, BlanksAnywhereDoNotChangeTheValue) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> blankKind(0, 2);
    int checked = 0;
    for (const double value : GeneratedValues()) {
        const std::string text = FormatNumberText(value);
        std::string spaced;
        for (const char c : text) {
            for (int blanks = static_cast<int>(random() % 3); blanks > 0; --blanks) {
                spaced.push_back(" \t\n"[blankKind(random)]);
            }
            spaced.push_back(c);
        }
        ASSERT_EQ(ReadLenientNumber(spaced), ReadLenientNumber(text)) << spaced;
        ++checked;
    }
    EXPECT_GT(checked, 20000);
}

}  // namespace
}  // namespace tolvaris
