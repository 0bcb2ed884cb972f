#include "core/atlas/accent_fold.h"

#include <cstddef>

#include "core/common/latin_fold.h"
#include "core/common/utf8.h"

namespace tolvaris {
namespace {

constexpr char32_t kInvalid = kInvalidCodePoint;

bool IsApostrophe(char32_t code) {
    switch (code) {
        case U'\'':
        case U'`':
        case 0x00B4:  // acute accent
        case 0x02B9:  // modifier prime
        case 0x02BB:  // turned comma (Hawaiian ʻokina)
        case 0x02BC:  // modifier apostrophe
        case 0x02BD:  // reversed comma
        case 0x02C8:  // vertical line
        case 0x2018:
        case 0x2019:
            return true;
        default:
            return false;
    }
}

bool IsCombiningMark(char32_t code) {
    return (code >= 0x0300 && code <= 0x036F) || (code >= 0x1AB0 && code <= 0x1AFF) ||
           (code >= 0x1DC0 && code <= 0x1DFF) || (code >= 0x20D0 && code <= 0x20FF) ||
           (code >= 0xFE20 && code <= 0xFE2F);
}

// Latin-1 signs that are letters or numbers (ª, ², ³, µ, ¹, º, ¼, ½, ¾) stay
// as they are, like letters of other scripts; the rest separate words.
bool IsLatin1LetterOrNumber(char32_t code) {
    switch (code) {
        case 0xAA:
        case 0xB2:
        case 0xB3:
        case 0xB5:
        case 0xB9:
        case 0xBA:
        case 0xBC:
        case 0xBD:
        case 0xBE:
            return true;
        default:
            return false;
    }
}

bool IsSeparator(char32_t code) {
    return code < 0x80 || (code >= 0x80 && code < 0xC0 && !IsLatin1LetterOrNumber(code)) ||
           (code >= 0x2000 && code <= 0x206F) || code == 0x3000 || code == kInvalid;
}

}  // namespace

std::string FoldForSearch(std::string_view utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    bool pendingSpace = false;
    auto append = [&](std::string_view piece) {
        for (char c : piece) {
            if (c == ' ') {
                pendingSpace = !folded.empty();
                continue;
            }
            if (pendingSpace) {
                folded.push_back(' ');
                pendingSpace = false;
            }
            folded.push_back(c);
        }
    };
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t code = NextCodePoint(utf8, pos);
        if (code < 0x80) {
            const char c = static_cast<char>(code);
            if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
                append(std::string_view(&c, 1));
                continue;
            }
            if (c >= 'A' && c <= 'Z') {
                const char lower = static_cast<char>(c - 'A' + 'a');
                append(std::string_view(&lower, 1));
                continue;
            }
        }
        if (IsApostrophe(code) || IsCombiningMark(code)) {
            continue;
        }
        if (IsSeparator(code)) {
            append(" ");
            continue;
        }
        if (const char* plain = LatinFold(code)) {
            append(plain);
            continue;
        }
        append(utf8.substr(start, pos - start));
    }
    return folded;
}

}  // namespace tolvaris
