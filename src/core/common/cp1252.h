#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tolvaris {

// Text is kept as code page 1252 bytes everywhere in the core; these helpers
// are the only places that know what those bytes mean.

// Unicode code point of every byte. The five bytes that code page 1252 leaves
// undefined map to the C1 control of the same value, so the mapping is
// lossless both ways.
const std::array<char16_t, 256>& Cp1252ToUnicodeTable();

// Upper-cases one byte the way the system's ANSI upper-casing does for this
// code page: a-z, the accented small letters and the three Latin-2 extras.
char ToUpper1252(char c);

std::string ToUpper1252(std::string_view text);

// Compares two byte strings, letter case disregarded.
bool EqualIgnoringCase1252(std::string_view a, std::string_view b);

// Code page 1252 bytes as UTF-8 text.
std::string Cp1252ToUtf8(std::string_view bytes);

// Encodes one code point; returns false for one the code page cannot hold.
bool UnicodeToCp1252(char32_t codePoint, char& out);

}  // namespace tolvaris
