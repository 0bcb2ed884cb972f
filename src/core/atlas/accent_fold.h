#pragma once

#include <string>
#include <string_view>

namespace tolvaris {

// The search form of a UTF-8 text, so that "Zürich", "ZURICH" and "zurich"
// compare equal: ASCII letters are lowercased and digits kept; the Latin
// letters of U+00C0..U+025F (Latin-1 Supplement, Latin Extended-A and -B)
// and U+1E00..U+1EFF (Latin Extended Additional) lose their accents or
// become their plain letters (ü -> u, ß -> ss, Ł -> l, ø -> o, æ -> ae,
// ə -> e); combining accents and apostrophes (' ’ ʻ ʼ ´ `) are dropped, so
// "N'Djamena" is "ndjamena"; every other mark, space or punctuation becomes
// one space between words ("Saint-Étienne" -> "saint etienne"), none at
// either end. Letters of other scripts are kept as they are, so a Cyrillic
// query matches no Latin name; an invalid UTF-8 byte is a word break.
// scripts/make-atlas folds the atlas's other names by the same rule.
std::string FoldForSearch(std::string_view utf8);

}  // namespace tolvaris
