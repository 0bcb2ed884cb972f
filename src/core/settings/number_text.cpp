#include "core/settings/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace tolvaris {
namespace {

constexpr int kSignificantDigits = 15;

// The significant digits of a positive finite value, rounded to 15 and
// without trailing zeros, and the power of ten of the first digit.
struct Digits {
    std::string digits;
    int exponent = 0;
};

Digits SignificantDigits(double magnitude) {
    // to_chars rounds correctly and never looks at the locale.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    // The form is d.dddddddddddddde+XX.
    const std::size_t e = text.find('e');
    Digits out;
    out.digits.push_back(text[0]);
    out.digits.append(text.substr(2, e - 2));
    std::string_view power = text.substr(e + 1);
    const bool negativePower = power.front() == '-';
    power.remove_prefix(1);
    std::from_chars(power.data(), power.data() + power.size(), out.exponent);
    if (negativePower) {
        out.exponent = -out.exponent;
    }
    // Values from 1.797693134862315e308 up round to a number above the
    // largest double, which would read back as an overflow.
    if (out.exponent == 308 && out.digits == "179769313486232") {
        out.digits = "179769313486231";
    }
    out.digits.erase(out.digits.find_last_not_of('0') + 1);
    return out;
}

}  // namespace

std::string FormatNumberText(double value) {
    if (!std::isfinite(value) || value == 0) {
        return " 0";
    }
    const Digits parts = SignificantDigits(std::fabs(value));
    const auto count = static_cast<long>(parts.digits.size());
    const long wholeDigits = parts.exponent + 1L;

    std::string text(1, value < 0 ? '-' : ' ');
    if (wholeDigits <= 0) {
        text.push_back('.');
        text.append(static_cast<std::size_t>(-wholeDigits), '0');
        text.append(parts.digits);
    } else if (wholeDigits >= count) {
        text.append(parts.digits);
        text.append(static_cast<std::size_t>(wholeDigits - count), '0');
    } else {
        text.append(parts.digits, 0, static_cast<std::size_t>(wholeDigits));
        text.push_back('.');
        text.append(parts.digits, static_cast<std::size_t>(wholeDigits));
    }
    return text;
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Walks the text with the blanks left out.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    // The next character that is not a blank; '\0' at the end, which fits nowhere.
    char Peek() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
            ++pos_;
        }
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void Take() { ++pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int DigitValue(char c, int radix) {
    int digit = radix;
    if (IsDigit(c)) {
        digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
    }
    return digit < radix ? digit : -1;
}

double ReadRadixInteger(Cursor& in, int radix) {
    constexpr std::uint64_t kLargest = 0xFFFFFFFF;
    std::uint64_t value = 0;
    bool tooLarge = false;
    for (int digit = DigitValue(in.Peek(), radix); digit >= 0;
         digit = DigitValue(in.Peek(), radix)) {
        in.Take();
        if (!tooLarge) {
            value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
            tooLarge = value > kLargest;
        }
    }
    if (tooLarge) {
        return std::numeric_limits<double>::infinity();
    }
    if (value <= 0xFFFF) {
        return static_cast<std::int16_t>(value);
    }
    return static_cast<std::int32_t>(value);
}

// Any exponent beyond this puts every possible mantissa out of the double
// range; holding it here keeps the arithmetic below from overflowing.
constexpr std::int64_t kExponentCap = std::int64_t{1} << 40;

double ReadDecimal(Cursor& in) {
    bool negative = false;
    if (const char sign = in.Peek(); sign == '+' || sign == '-') {
        negative = sign == '-';
        in.Take();
    }

    // value = 0.<digits> times ten to the power `pointPower`, leading zeros dropped.
    std::string digits;
    std::int64_t pointPower = 0;
    bool seenPoint = false;
    for (char c = in.Peek();; c = in.Peek()) {
        if (IsDigit(c)) {
            if (!digits.empty() || c != '0') {
                digits.push_back(c);
                if (!seenPoint) {
                    ++pointPower;
                }
            } else if (seenPoint) {
                --pointPower;
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        in.Take();
    }

    if (const char mark = in.Peek(); mark == 'E' || mark == 'e' || mark == 'D' || mark == 'd') {
        in.Take();
        bool negativePower = false;
        if (const char sign = in.Peek(); sign == '+' || sign == '-') {
            negativePower = sign == '-';
            in.Take();
        }
        std::int64_t power = 0;
        for (char c = in.Peek(); IsDigit(c); c = in.Peek()) {
            power = std::min(power * 10 + (c - '0'), kExponentCap);
            in.Take();
        }
        pointPower += negativePower ? -power : power;
    }

    digits.erase(digits.find_last_not_of('0') + 1);
    if (digits.empty()) {
        return 0;
    }
    const double infinity = std::numeric_limits<double>::infinity();
    // The value lies between 10^(pointPower-1) and 10^pointPower.
    double magnitude = 0;
    if (pointPower > 310) {
        magnitude = infinity;
    } else if (pointPower >= -330) {
        const std::string text = "0." + digits + "e" + std::to_string(pointPower);
        const auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude);
        if (result.ec == std::errc::result_out_of_range) {
            magnitude = pointPower > 0 ? infinity : 0;
        }
    }
    if (magnitude == 0) {
        return 0;  // no negative zero
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace

double ReadLenientNumber(std::string_view text) {
    Cursor in(text);
    if (in.Peek() != '&') {
        return ReadDecimal(in);
    }
    in.Take();
    const char kind = in.Peek();
    if (kind == 'H' || kind == 'h') {
        in.Take();
        return ReadRadixInteger(in, 16);
    }
    if (kind == 'O' || kind == 'o') {
        in.Take();
        return ReadRadixInteger(in, 8);
    }
    return 0;
}

}  // namespace tolvaris
