#pragma once

#include <optional>
#include <string_view>

namespace tolvaris {

enum class HouseSystem { Placidus, Koch, Porphyry, Regiomontanus, Campanus, Equal, WholeSign };

inline constexpr HouseSystem kDefaultHouseSystem = HouseSystem::Placidus;

// The name used in settings and on the command line: "placidus", "koch",
// "porphyry", "regiomontanus", "campanus", "equal", "whole-sign".
std::string_view HouseSystemKey(HouseSystem system);

// The name shown to the user: "Placidus" ... "Whole Sign".
std::string_view HouseSystemDisplayName(HouseSystem system);

// Accepts the key or the display name, letter case disregarded.
std::optional<HouseSystem> ParseHouseSystem(std::string_view text);

// The letter the ephemeris library uses for the system.
char HouseSystemLetter(HouseSystem system);

}  // namespace tolvaris
