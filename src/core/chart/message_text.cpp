#include "core/chart/message_text.h"

#include "core/common/utf8.h"

namespace tolvaris {
namespace {

// Copies at most `limit` characters, each valid UTF-8 sequence whole and
// everything else as "?"; tells whether text was left over.
bool CopySafely(std::string_view text, std::size_t limit, std::string& out) {
    std::size_t characters = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (characters == limit) {
            return true;
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (byte >= 0x80) {
            length = 0;
            for (std::size_t candidate = 2; candidate <= 4 && i + candidate <= text.size();
                 ++candidate) {
                if (IsValidUtf8(text.substr(i, candidate))) {
                    length = candidate;
                    break;
                }
            }
        }
        if (length == 0 || byte < 0x20 || byte == 0x7F) {
            out += '?';
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
        ++characters;
    }
    return false;
}

}  // namespace

std::string ShownInMessage(std::string_view text) {
    constexpr std::size_t kMaxShown = 40;
    std::string shown;
    if (CopySafely(text, kMaxShown, shown)) {
        shown += "...";
    }
    return shown;
}

std::string OneLineMessage(std::string_view text) {
    std::string safe;
    CopySafely(text, text.size(), safe);
    return safe;
}

std::string AsClause(std::string_view sentence) {
    std::string clause(sentence);
    const bool abbreviation = clause.size() > 1 && clause[1] >= 'A' && clause[1] <= 'Z';
    if (!clause.empty() && clause[0] >= 'A' && clause[0] <= 'Z' && !abbreviation) {
        clause[0] = static_cast<char>(clause[0] - 'A' + 'a');
    }
    if (!clause.empty() && clause.back() == '.') {
        clause.pop_back();
    }
    return clause;
}

std::string AsSentence(std::string_view clause) {
    std::string sentence(clause);
    if (!sentence.empty() && sentence[0] >= 'a' && sentence[0] <= 'z') {
        sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
    }
    if (!sentence.empty() && sentence.back() != '.') {
        sentence += '.';
    }
    return sentence;
}

}  // namespace tolvaris
