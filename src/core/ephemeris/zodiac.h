#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tolvaris {

// Brings any longitude into [0, 360).
double NormaliseDegrees(double degrees);

// 0 for Aries ... 11 for Pisces: the 30-degree sector holding the longitude.
int SignIndex(double longitude);

// Degrees past the start of the sign, in [0, 30).
double DegreeInSign(double longitude);

// A longitude as every output shows it: rounded once to a millionth of a
// degree (the finest figure printed) and kept in [0, 360), so 359.9999999
// shows as 0 Aries. Sign, degree, minute and second are cut from that
// rounded value, never rounded again, so they cannot disagree with it.
struct ShownLongitude {
    double longitude;     // [0, 360), a whole number of millionths
    int sign;             // 0 Aries ... 11 Pisces
    double degreeInSign;  // [0, 30), a whole number of millionths
    int degree;           // 0..29
    int minute;           // 0..59
    int second;           // 0..59
};
ShownLongitude ShowLongitude(double longitude);

// The twelve signs from Aries, as the program shows them, the option
// captions and the data files' keys and names.
inline constexpr std::array<std::string_view, 12> kSigns = {
    "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces",
};

// "Aries" ... "Pisces"; empty for an index outside 0..11.
constexpr std::string_view SignName(int signIndex) {
    if (signIndex < 0 || static_cast<std::size_t>(signIndex) >= kSigns.size()) {
        return {};
    }
    return kSigns[static_cast<std::size_t>(signIndex)];
}

// Cusps 1..12 (index 0 holds cusp 1), as the house computation gives them.
using HouseCusps = std::array<double, 12>;

// The house (1..12) whose sector [cusp i, cusp i+1) holds the longitude,
// measured forward along the zodiac so that a house spanning 0 Aries works.
// Cusps that run against the zodiac (some systems inside the polar circles)
// are measured backwards: house i then holds (cusp i+1, cusp i]. Nothing when
// the cusps are out of order or all equal.
std::optional<int> HouseOf(double longitude, const HouseCusps& cusps);

}  // namespace tolvaris
