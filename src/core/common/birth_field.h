#pragma once

namespace tolvaris {

// The fields of a birth record: the keys of a chart file, the options of the
// command line and the boxes of the birth-data dialog name the same fields,
// so a refusal can say which one it is about.
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

inline constexpr int kBirthFieldCount = 11;

}  // namespace tolvaris
