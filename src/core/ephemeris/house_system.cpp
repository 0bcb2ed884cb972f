#include "core/ephemeris/house_system.h"

#include "core/common/cp1252.h"

namespace tolvaris {

std::optional<HouseSystem> ParseHouseSystem(std::string_view text) {
    for (const HouseSystemRow& row : kHouseSystems) {
        if (EqualIgnoringCase1252(text, row.key) || EqualIgnoringCase1252(text, row.displayName)) {
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
