#include "cli/json_text.h"

#include <cstdio>

#include "core/chart/decimal_text.h"
#include "core/common/utf8.h"

namespace tolvaris {
namespace {

// How many bytes the UTF-8 sequence starting at `at` takes, 0 when it is not
// a valid one.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    for (std::size_t length = 2; length <= 4 && at + length <= text.size(); ++length) {
        if (IsValidUtf8(text.substr(at, length))) {
            return length;
        }
    }
    return 0;
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    json.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        switch (byte) {
            case '"':
                json += "\\\"";
                continue;
            case '\\':
                json += "\\\\";
                continue;
            case '\n':
                json += "\\n";
                continue;
            case '\r':
                json += "\\r";
                continue;
            case '\t':
                json += "\\t";
                continue;
            case '\b':
                json += "\\b";
                continue;
            case '\f':
                json += "\\f";
                continue;
            default:
                break;
        }
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else if (byte < 0x80) {
            json += static_cast<char>(byte);
        } else if (const std::size_t length = SequenceLength(text, i); length != 0) {
            json.append(text.substr(i, length));
            i += length - 1;
        } else {
            json += "\\ufffd";
        }
    }
    json += '"';
    return json;
}

std::string JsonNumber(double value, int decimals) {
    return FormatFixedDecimal(value, decimals);
}

}  // namespace tolvaris
