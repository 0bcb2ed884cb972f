#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvaris {

// Numbers as chart files and the command line write them: an optional sign,
// digits, optionally "." and more digits ("52.52", "-0.1278", "8", ".5").
// No exponent, no spaces, no "inf" or "nan", at most 32 characters: anything
// else gives nothing.
std::optional<double> ParsePlainDecimal(std::string_view text);

// The value with exactly `decimals` digits after the point, "." whatever the
// locale ("52.520000"). Negative zero is written without its sign.
std::string FormatFixedDecimal(double value, int decimals);

// The shortest text that reads back as the same double ("8", "7.5").
std::string FormatShortestDecimal(double value);

}  // namespace tolvaris
