// Code page 1252: bytes decoded to Unicode and encoded again are the same
// bytes; code points encoded and decoded again are the same code points, and
// exactly those of the table can be encoded; upper-casing keeps lengths,
// is idempotent, and is what case-blind comparison sees.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "core/common/cp1252.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

// Built from the decoding table alone, independently of the encoder.
const std::map<char32_t, unsigned char>& InverseTable() {
    static const std::map<char32_t, unsigned char> inverse = [] {
        std::map<char32_t, unsigned char> map;
        const auto& table = Cp1252ToUnicodeTable();
        for (int b = 0; b < 256; ++b) {
            if (!map.emplace(table[b], static_cast<unsigned char>(b)).second) {
                Fail("two bytes decode to one code point", std::to_string(b));
            }
        }
        return map;
    }();
    return inverse;
}

void CheckBytes(const std::string& bytes) {
    const auto& table = Cp1252ToUnicodeTable();
    std::string encoded;
    for (const char c : bytes) {
        char back = 0;
        const char16_t unit = table[static_cast<unsigned char>(c)];
        FUZZ_CHECK(UnicodeToCp1252(unit, back), "byte " + Printable(std::string(1, c)));
        encoded.push_back(back);
    }
    FUZZ_CHECK(encoded == bytes, Printable(bytes) + " came back as " + Printable(encoded));

    const std::string upper = ToUpper1252(bytes);
    FUZZ_CHECK(upper.size() == bytes.size(), Printable(bytes));
    FUZZ_CHECK(ToUpper1252(upper) == upper, Printable(bytes));
    FUZZ_CHECK(EqualIgnoringCase1252(bytes, upper), Printable(bytes));
    FUZZ_CHECK(EqualIgnoringCase1252(upper, bytes), Printable(bytes));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        FUZZ_CHECK(upper[i] == ToUpper1252(bytes[i]), Printable(bytes));
    }
}

void CheckCodePoints(FuzzedDataProvider& input) {
    const auto& table = Cp1252ToUnicodeTable();
    const auto& inverse = InverseTable();
    while (input.remaining_bytes() > 0) {
        // Mostly near the code page, sometimes anywhere up to past Unicode.
        const bool wide = input.ConsumeBool();
        const auto codePoint = wide ? input.ConsumeIntegral<char32_t>()
                                    : input.ConsumeIntegralInRange<char32_t>(0, 0x2200);
        char out = 0;
        const bool encoded = UnicodeToCp1252(codePoint, out);
        const auto it = inverse.find(codePoint);
        FUZZ_CHECK(encoded == (it != inverse.end()), "code point " + std::to_string(codePoint));
        if (encoded) {
            FUZZ_CHECK(static_cast<unsigned char>(out) == it->second,
                       "code point " + std::to_string(codePoint));
            FUZZ_CHECK(table[static_cast<unsigned char>(out)] == codePoint,
                       "code point " + std::to_string(codePoint));
        }
    }
}

void CheckComparison(const std::string& a, const std::string& b) {
    const bool equal = EqualIgnoringCase1252(a, b);
    FUZZ_CHECK(equal == EqualIgnoringCase1252(b, a), Printable(a) + " / " + Printable(b));
    FUZZ_CHECK(equal == (ToUpper1252(a) == ToUpper1252(b)), Printable(a) + " / " + Printable(b));
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvaris::fuzz;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckBytes(bytes);
    CheckComparison(bytes.substr(0, size / 2), bytes.substr(size / 2));
    FuzzedDataProvider input(data, size);
    CheckCodePoints(input);
    return 0;
}
