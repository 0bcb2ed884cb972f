#pragma once

#include <string>
#include <string_view>

namespace tolvaris {

// Text the user gave, fit to be quoted in a one-line message: at most 40
// characters (then "..."), control characters and bytes that are not valid
// UTF-8 shown as "?", so a line break or terminal escape in the input can
// never break the message apart.
std::string ShownInMessage(std::string_view text);

// The whole message made safe the same way, without shortening.
std::string OneLineMessage(std::string_view text);

// A message from another library ("Date must be ...") turned into a clause
// that can follow "file, line 3: ": the first letter lowered unless it starts
// an abbreviation ("UTC offset ..."), the final full stop dropped.
std::string AsClause(std::string_view sentence);

// A clause of ours ("the latitude 95 is outside -90 to 90") as a sentence
// for a message box: the first letter raised, a full stop added.
std::string AsSentence(std::string_view clause);

}  // namespace tolvaris
