#include "core/common/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvaris {
namespace {

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

TEST(Utf8, DecodesOneCodePointAndSkipsOneByteOfABrokenOne) {
    const struct {
        std::string text;
        std::vector<char32_t> codes;  // every code point NextCodePoint gives in turn
    } cases[] = {
        {"Az", {U'A', U'z'}},
        {"\xC3\xBC", {0xFC}},                                         // ü
        {"\xC5\x81\xC3\xB3", {0x141, 0xF3}},                          // Łó
        {"\xE2\x82\xAC!", {0x20AC, U'!'}},                            // euro sign
        {"\xF0\x9F\x8C\x9E", {0x1F31E}},                              // four bytes
        {"\xC3", {kInvalidCodePoint}},                                // cut short at the end
        {"\xC3z", {kInvalidCodePoint, U'z'}},                         // no continuation
        {"\xC0\xAFx", {kInvalidCodePoint, kInvalidCodePoint, U'x'}},  // overlong
        {"\xED\xA0\x80", {kInvalidCodePoint, kInvalidCodePoint, kInvalidCodePoint}},
        {"\xF4\x90\x80\x80",
         {kInvalidCodePoint, kInvalidCodePoint, kInvalidCodePoint, kInvalidCodePoint}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<char32_t> codes;
        for (std::size_t pos = 0; pos < c.text.size();) {
            codes.push_back(NextCodePoint(c.text, pos));
        }
        EXPECT_EQ(codes, c.codes);
    }
}

}  // namespace
}  // namespace tolvaris
