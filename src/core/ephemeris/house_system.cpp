#include "core/ephemeris/house_system.h"

#include <array>
#include <cctype>

namespace tolvaris {
namespace {

struct HouseSystemNames {
    HouseSystem system;
    std::string_view key;
    std::string_view displayName;
    char letter;
};

// Equal houses start at the Ascendant; whole-sign houses at 0 of its sign.
constexpr std::array<HouseSystemNames, 7> kNames = {{
    {HouseSystem::Placidus, "placidus", "Placidus", 'P'},
    {HouseSystem::Koch, "koch", "Koch", 'K'},
    {HouseSystem::Porphyry, "porphyry", "Porphyry", 'O'},
    {HouseSystem::Regiomontanus, "regiomontanus", "Regiomontanus", 'R'},
    {HouseSystem::Campanus, "campanus", "Campanus", 'C'},
    {HouseSystem::Equal, "equal", "Equal", 'E'},
    {HouseSystem::WholeSign, "whole-sign", "Whole Sign", 'W'},
}};

const HouseSystemNames& NamesOf(HouseSystem system) {
    for (const auto& names : kNames) {
        if (names.system == system) {
            return names;
        }
    }
    return kNames[0];
}

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

std::string_view HouseSystemKey(HouseSystem system) {
    return NamesOf(system).key;
}

std::string_view HouseSystemDisplayName(HouseSystem system) {
    return NamesOf(system).displayName;
}

std::optional<HouseSystem> ParseHouseSystem(std::string_view text) {
    for (const auto& names : kNames) {
        if (EqualIgnoringAsciiCase(text, names.key) ||
            EqualIgnoringAsciiCase(text, names.displayName)) {
            return names.system;
        }
    }
    return std::nullopt;
}

char HouseSystemLetter(HouseSystem system) {
    return NamesOf(system).letter;
}

}  // namespace tolvaris
