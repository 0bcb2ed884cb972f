#include "core/chart/decimal_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace tolvaris {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> ParsePlainDecimal(std::string_view text) {
    constexpr std::size_t kMaxLength = 32;
    if (text.empty() || text.size() > kMaxLength) {
        return std::nullopt;
    }
    std::size_t at = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '+' || text[0] == '-') {
        ++at;
    }
    std::size_t digits = 0;
    bool point = false;
    for (std::size_t i = at; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || text.back() == '.') {
        return std::nullopt;
    }
    // from_chars takes no "+" and reads the digits the same way in every locale.
    const std::string_view unsignedPart = text.substr(at);
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(unsignedPart.data(), unsignedPart.data() + unsignedPart.size(), value,
                        std::chars_format::fixed);
    if (error != std::errc() || end != unsignedPart.data() + unsignedPart.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string FormatFixedDecimal(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "0";
    }
    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, decimals);
    if (error != std::errc()) {
        return "0";
    }
    std::string text(buffer.data(), end);
    // "-0.000000" would read as a different place from "0.000000" to a person.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string FormatShortestDecimal(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed);
    if (error != std::errc()) {
        return FormatFixedDecimal(value, 6);
    }
    return std::string(buffer.data(), end);
}

}  // namespace tolvaris
