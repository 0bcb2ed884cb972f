#pragma once

#include <string>
#include <string_view>

namespace tolvaris {

// The one text form of numbers in the settings file: a space for zero or a
// positive value, "-" for a negative one, then the magnitude in plain decimal
// with "." as the point whatever the locale, no exponent, no trailing zeros,
// no zero before the point below 1, and at most 15 significant digits
// (0.25 gives " .25", -1 gives "-1", 1e300 gives a 1 and 300 zeros).
//
// NaN and the infinities have no such form; they are written as " 0", which
// every setting reads back harmlessly (a font size of 0 is not accepted, so
// the default size applies). The largest finite values would round up past
// the double range at 15 digits; they are written rounded down instead so
// that the text always reads back as a finite number.
std::string FormatNumberText(double value);

// Reads a number the lenient way: spaces, tabs and line feeds are skipped
// wherever they stand, even between digits; then an optional sign, digits
// with at most one ".", and an optional exponent (E or D in either case, an
// optional sign, digits). Reading stops at the first character that does not
// fit; when no digit was found the number is 0.
//
// "&H" or "&O" (either case) in front reads a hexadecimal or octal integer.
// As in Basic, such a literal is a 16-bit value when it fits 16 bits and a
// 32-bit value otherwise, both two's complement: &HFFFF is -1, &H8000 is
// -32768, &H10000 is 65536 and &HFFFFFFFF is -1 again.
//
// A number too large for its form (beyond the double range, or a literal of
// more than 32 bits) gives plus or minus infinity, so the caller can tell it
// from every number that can be stored. A number too small for a double gives 0.
double ReadLenientNumber(std::string_view text);

}  // namespace tolvaris
