#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/ephemeris/aspects.h"

namespace tolvaris {

// Orbs are kept to a millionth of a degree: far finer than any orb matters,
// and coarse enough that each one writes in at most nine characters.
inline constexpr int kOrbDecimals = 6;

// "conjunction=8,sextile=5,square=7,trine=7,opposition=8": every orb, in
// that order, each in its shortest exact form.
std::string FormatOrbs(const Orbs& orbs);

struct OrbsParse {
    std::optional<Orbs> value;
    std::string error;  // a clause naming the orb at fault
};

// Reads "kind=degrees" pairs separated by commas, any subset in any order;
// the orbs not named keep their values from `start`. Each kind at most once,
// each value 0 to 15, rounded to kOrbDecimals decimals, so that what is read
// is what FormatOrbs writes and reads back.
OrbsParse ParseOrbs(std::string_view text, const Orbs& start);

}  // namespace tolvaris
