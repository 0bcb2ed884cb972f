#pragma once

#include <string>

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/points.h"

namespace tolvaris {

// Where an entry lives: the key line that starts it and its data file's name
// (without folder).
struct EntryLocation {
    std::string key;
    std::string fileName;
    bool operator==(const EntryLocation&) const = default;
};

// The file and key of each kind of entry; `sign` 0 (Aries) to 11, `house` 1
// to 12. The caller checks what is interpreted at all.
EntryLocation PlanetInSignEntry(Point planet, int sign);
EntryLocation PlanetInHouseEntry(Point planet, int house);
EntryLocation RisingSignEntry(int sign);
// `planet` comes before `planet2` in the point order.
EntryLocation AspectEntry(Point planet, AspectFamily family, Point planet2);

}  // namespace tolvaris
