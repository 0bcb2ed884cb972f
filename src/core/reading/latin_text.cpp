#include "core/reading/latin_text.h"

#include <cctype>

#include "core/common/cp1252.h"
#include "core/common/latin_fold.h"
#include "core/common/utf8.h"

namespace tolvaris {
namespace {

// Whether a letter of the Latin blocks is a capital. Latin Extended-A pairs
// capital and small letters, capital first, with the pairs shifted by one in
// two stretches; Latin Extended Additional pairs them capital first apart from
// a few small letters at U+1E96..U+1E9F.
bool IsLatinCapital(char32_t code) {
    if (code >= 0x0100 && code <= 0x0137) {
        return code % 2 == 0;
    }
    if (code >= 0x0139 && code <= 0x0148) {
        return code % 2 == 1;
    }
    if (code >= 0x014A && code <= 0x0177) {
        return code % 2 == 0;
    }
    if (code >= 0x0179 && code <= 0x017E) {
        return code % 2 == 1;
    }
    if (code >= 0x01C4 && code <= 0x01CC) {
        return code == 0x01C4 || code == 0x01C7 || code == 0x01CA;  // DŽ, LJ, NJ
    }
    if (code >= 0x01CD && code <= 0x01DC) {
        return code % 2 == 1;
    }
    if (code >= 0x01DE && code <= 0x01EF) {
        return code % 2 == 0;
    }
    if (code >= 0x01F8 && code <= 0x024F) {
        return code % 2 == 0;
    }
    if (code >= 0x1E00 && code <= 0x1EFF && !(code >= 0x1E96 && code <= 0x1E9F)) {
        return code % 2 == 0;
    }
    return false;
}

}  // namespace

std::string Utf8ToCp1252Text(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t code = NextCodePoint(utf8, pos);
        char byte = 0;
        if (code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0)) {
            text.push_back(' ');
        } else if (code != kInvalidCodePoint && UnicodeToCp1252(code, byte)) {
            text.push_back(byte);
        } else if (const char* base = code != kInvalidCodePoint ? LatinFold(code) : nullptr;
                   base != nullptr && *base != ' ') {
            std::string plain(base);
            if (IsLatinCapital(code)) {
                // A capital ligature is all capitals: "Ǆ" -> "DZ".
                for (char& c : plain) {
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                }
            }
            text += plain;
        } else {
            text.push_back('?');
        }
    }
    return text;
}

}  // namespace tolvaris
