#pragma once

#include <array>
#include <string_view>

namespace tolvaris {

// The captions of the option groups, by index. Requests build file names and
// keys from these exact texts.
inline constexpr std::array<std::string_view, 12> kSignCaptions = {
    "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

inline constexpr std::array<std::string_view, 12> kHouseCaptions = {
    "1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th", "11th", "12th"};

inline constexpr std::array<std::string_view, 11> kPlanetCaptions = {
    "Sun",    "Moon",   "Mercury", "Venus", "Mars",     "Jupiter",
    "Saturn", "Uranus", "Neptune", "Pluto", "Ascendant"};

inline constexpr std::array<std::string_view, 3> kAspectCaptions = {"blending", "harmonizing",
                                                                    "discordant"};

inline constexpr std::array<std::string_view, 3> kAspectPhrases = {
    "blending with", "harmonizing with", "discordant to"};

}  // namespace tolvaris
