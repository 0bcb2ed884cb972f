// Number text: every double the input spells (its bits, and the value the
// lenient reader makes of the input as text) is formatted and read back. The
// text must have the one plain form, and reading it must give the value
// rounded to 15 significant digits, exactly as strtod reads "%.14e".

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/settings/number_text.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

std::string Hex(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%a (%.17g)", value, value);
    return text;
}

// " " or "-", digits with at most one point, no exponent, no trailing zero
// after a point, no zero before the point, at most 15 significant digits.
void CheckForm(const std::string& text, double value) {
    const std::string where = Hex(value) + " -> \"" + text + "\"";
    FUZZ_CHECK(text.size() >= 2, where);
    FUZZ_CHECK(text[0] == ' ' || text[0] == '-', where);
    if (text == " 0") {
        return;
    }
    const std::string body = text.substr(1);
    FUZZ_CHECK(body.find_first_not_of("0123456789.") == std::string::npos, where);
    const std::size_t point = body.find('.');
    FUZZ_CHECK(point == std::string::npos || body.find('.', point + 1) == std::string::npos, where);
    FUZZ_CHECK(body[0] != '0', where);
    if (point != std::string::npos) {
        FUZZ_CHECK(body.back() != '0' && body.back() != '.', where);
    }
    std::string digits;
    for (const char c : body) {
        if (c != '.') {
            digits.push_back(c);
        }
    }
    const std::size_t first = digits.find_first_not_of('0');
    const std::size_t last = digits.find_last_not_of('0');
    FUZZ_CHECK(first != std::string::npos && last - first + 1 <= 15, where);
}

void CheckRoundTrip(double value) {
    const std::string text = FormatNumberText(value);
    CheckForm(text, value);
    const double read = ReadLenientNumber(text);
    const std::string where = Hex(value) + " -> \"" + text + "\" -> " + Hex(read);
    if (!std::isfinite(value) || value == 0) {
        FUZZ_CHECK(text == " 0" && read == 0, where);
        return;
    }
    FUZZ_CHECK(std::isfinite(read), where);
    FUZZ_CHECK(std::signbit(read) == std::signbit(value), where);

    char rounded[64];
    std::snprintf(rounded, sizeof rounded, "%.14e", value);
    double expected = std::strtod(rounded, nullptr);
    if (std::isinf(expected)) {
        // The largest doubles round up past the range; they are written
        // rounded down instead.
        expected = std::copysign(1.79769313486231e308, value);
    }
    FUZZ_CHECK(read == expected, where + " expected " + Hex(expected));
    // The value read spells the same text again.
    FUZZ_CHECK(FormatNumberText(read) == text, where + " then \"" + FormatNumberText(read) + "\"");
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvaris::fuzz;
    double bits = 0;
    std::memcpy(&bits, data, std::min(size, sizeof bits));
    CheckRoundTrip(bits);
    CheckRoundTrip(-bits);
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckRoundTrip(tolvaris::ReadLenientNumber(text));
    return 0;
}
