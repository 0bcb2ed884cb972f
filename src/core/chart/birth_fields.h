#pragma once

#include <string>
#include <string_view>

#include "core/chart/birth_data.h"

namespace tolvaris {

// The fields of a birth as text: the keys of a chart file and the options of
// the command line read their values alike.
enum class BirthField {
    Name,
    Date,
    Time,
    Place,
    Latitude,
    Longitude,
    Zone,
    UtcOffset,
    Fold,
    Houses,
    Orbs
};

// Reads `value` into its field of `birth`. Returns "" or a clause naming the
// field and why the value was refused ("the latitude 95 is outside -90 to
// 90"); `birth` is left alone then.
std::string ReadBirthField(BirthField field, std::string_view value, BirthData& birth);

}  // namespace tolvaris
