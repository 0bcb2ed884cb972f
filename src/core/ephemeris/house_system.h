#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tolvaris {

enum class HouseSystem { Placidus, Koch, Porphyry, Regiomontanus, Campanus, Equal, WholeSign };

struct HouseSystemRow {
    HouseSystem system;
    // In chart files and on the command line.
    std::string_view key;
    // Shown to the user.
    std::string_view displayName;
    // The letter the ephemeris library uses for the system.
    char letter;
};

// Equal houses start at the Ascendant; whole-sign houses at 0 of its sign.
// The birth-data dialog lists them in this order.
inline constexpr std::array<HouseSystemRow, 7> kHouseSystems = {{
    {HouseSystem::Placidus, "placidus", "Placidus", 'P'},
    {HouseSystem::Koch, "koch", "Koch", 'K'},
    {HouseSystem::Porphyry, "porphyry", "Porphyry", 'O'},
    {HouseSystem::Regiomontanus, "regiomontanus", "Regiomontanus", 'R'},
    {HouseSystem::Campanus, "campanus", "Campanus", 'C'},
    {HouseSystem::Equal, "equal", "Equal", 'E'},
    {HouseSystem::WholeSign, "whole-sign", "Whole Sign", 'W'},
}};

constexpr std::size_t IndexOf(HouseSystem system) {
    return static_cast<std::size_t>(system);
}

constexpr bool HouseSystemsInEnumOrder() {
    for (std::size_t i = 0; i < kHouseSystems.size(); ++i) {
        if (IndexOf(kHouseSystems[i].system) != i) {
            return false;
        }
    }
    return IndexOf(HouseSystem::WholeSign) + 1 == kHouseSystems.size();
}
static_assert(HouseSystemsInEnumOrder(), "kHouseSystems lists every system once, in enum order");

inline constexpr HouseSystem kDefaultHouseSystem = HouseSystem::Placidus;

constexpr const HouseSystemRow& RowOf(HouseSystem system) {
    return kHouseSystems[IndexOf(system)];
}

constexpr std::string_view HouseSystemKey(HouseSystem system) {
    return RowOf(system).key;
}

constexpr std::string_view HouseSystemDisplayName(HouseSystem system) {
    return RowOf(system).displayName;
}

constexpr char HouseSystemLetter(HouseSystem system) {
    return RowOf(system).letter;
}

// Accepts the key or the display name, letter case disregarded.
std::optional<HouseSystem> ParseHouseSystem(std::string_view text);

// Every key in table order, for messages and help: "placidus, koch, ...,
// whole-sign".
std::string HouseSystemKeysText();

}  // namespace tolvaris
