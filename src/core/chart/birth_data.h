#pragma once

#include <optional>
#include <string>

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/house_system.h"
#include "core/time/civil_time.h"
#include "core/time/universal_time.h"

namespace tolvaris {

// Everything a chart is computed from, as the user gave it: what a chart
// file stores and what the birth-data dialog and the command line fill in.
struct BirthData {
    std::string name;
    CivilDate date;
    // Empty when the time of birth is unknown.
    std::optional<CivilTime> time;
    // The place as the user chose or wrote it; empty when only coordinates
    // were given.
    std::string placeName;
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive
    // A tz database zone ("Europe/Berlin"); ignored when an offset is given.
    std::string zone;
    // Seconds east of UTC given by hand; overrides the zone.
    std::optional<int> utcOffsetSeconds;
    FoldChoice fold = FoldChoice::None;
    HouseSystem houseSystem = kDefaultHouseSystem;
    Orbs orbs;
};

}  // namespace tolvaris
