#pragma once

#include <string>
#include <string_view>

namespace tolvaris {

// `text` as a JSON string, quotes included: quote, backslash and every
// control character escaped (\n, \t, ... or \u00XX), and any byte that is
// not part of valid UTF-8 replaced by U+FFFD so the output always parses.
std::string JsonString(std::string_view text);

// A JSON number with exactly `decimals` digits after the point.
std::string JsonNumber(double value, int decimals);

}  // namespace tolvaris
