#pragma once

#include <string>
#include <string_view>

namespace tolvaris {

// UTF-8 text (a name, a place) as code page 1252 bytes for a page. Every
// character the code page holds stays as it is ("Zürich", "São Paulo").
// Other Latin letters (U+00C0..U+024F, U+1E00..U+1EFF) lose their marks and
// keep their case ("Łódź" -> "Lódz", "Ştefan" -> "Stefan", "Ǆ" -> "DZ");
// any other character, Greek or Cyrillic letters included, becomes "?", as
// does a byte that is not UTF-8. Line ends and other control characters
// become spaces, so the text stays on its line.
std::string Utf8ToCp1252Text(std::string_view utf8);

}  // namespace tolvaris
