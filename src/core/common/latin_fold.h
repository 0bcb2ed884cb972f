#pragma once

namespace tolvaris {

// The plain lowercase ASCII letters a letter of U+00C0..U+025F (Latin-1
// Supplement letters, Latin Extended-A and -B, the first IPA letters) or
// U+1E00..U+1EFF (Latin Extended Additional) is built on: "l" for Ł, "ae" for
// æ, "ss" for ß, " " for the signs × and ÷; nullptr for any other code point.
// The atlas's search form and the page text of names both build on it.
const char* LatinFold(char32_t code);

}  // namespace tolvaris
