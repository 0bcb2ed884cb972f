#include "core/ephemeris/house_system.h"

#include <cctype>

namespace tolvaris {
namespace {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<HouseSystem> ParseHouseSystem(std::string_view text) {
    for (const HouseSystemRow& row : kHouseSystems) {
        if (EqualIgnoringAsciiCase(text, row.key) ||
            EqualIgnoringAsciiCase(text, row.displayName)) {
            return row.system;
        }
    }
    return std::nullopt;
}

std::string HouseSystemKeysText() {
    std::string text;
    for (const HouseSystemRow& row : kHouseSystems) {
        if (!text.empty()) {
            text += ", ";
        }
        text += row.key;
    }
    return text;
}

}  // namespace tolvaris
