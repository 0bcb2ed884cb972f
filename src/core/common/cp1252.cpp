#include "core/common/cp1252.h"

#include <algorithm>

namespace tolvaris {
namespace {

constexpr std::array<char16_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> MakeTable() {
    std::array<char16_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<char16_t>(i);
    }
    for (int i = 0; i < 32; ++i) {
        table[0x80 + i] = kHighControlBlock[i];
    }
    return table;
}

constexpr std::array<char16_t, 256> kTable = MakeTable();

constexpr std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> upper{};
    for (int i = 0; i < 256; ++i) {
        upper[i] = static_cast<unsigned char>(i);
    }
    for (int c = 'a'; c <= 'z'; ++c) {
        upper[c] = static_cast<unsigned char>(c - 32);
    }
    for (int c = 0xE0; c <= 0xFE; ++c) {
        if (c != 0xF7) {  // the division sign has no capital
            upper[c] = static_cast<unsigned char>(c - 32);
        }
    }
    upper[0x9A] = 0x8A;  // s caron
    upper[0x9C] = 0x8C;  // oe
    upper[0x9E] = 0x8E;  // z caron
    upper[0xFF] = 0x9F;  // y diaeresis
    return upper;
}

constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

}  // namespace

const std::array<char16_t, 256>& Cp1252ToUnicodeTable() {
    return kTable;
}

char ToUpper1252(char c) {
    return static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
}

std::string ToUpper1252(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = ToUpper1252(c);
    }
    return result;
}

bool EqualIgnoringCase1252(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return ToUpper1252(x) == ToUpper1252(y);
           });
}

bool UnicodeToCp1252(char32_t codePoint, char& out) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        out = static_cast<char>(codePoint);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControlBlock[i] == codePoint) {
            out = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    const std::array<char16_t, 256>& table = Cp1252ToUnicodeTable();
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const char16_t code = table[static_cast<unsigned char>(byte)];
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xE0 | (code >> 12));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return text;
}

}  // namespace tolvaris
