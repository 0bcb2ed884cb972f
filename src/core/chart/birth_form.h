#pragma once

#include <optional>
#include <string>

#include "core/chart/birth_data.h"

namespace tolvaris {

// The birth-data dialog's fields as the user typed them (UTF-8).
struct BirthForm {
    std::string name;
    std::string date;  // YYYY-MM-DD
    std::string time;  // HH:MM or HH:MM:SS; ignored when timeUnknown
    bool timeUnknown = false;
    std::string placeName;
    std::string latitude;
    std::string longitude;
    std::string zone;
    std::string offset;  // empty: the zone decides
    FoldChoice fold = FoldChoice::None;
    HouseSystem houseSystem = kDefaultHouseSystem;
    Orbs orbs;
};

// Which field a refusal is about, so that the dialog can put the cursor there.
enum class BirthField { Date, Time, Latitude, Longitude, Zone, Offset, Orbs };

struct BirthFormResult {
    std::optional<BirthData> value;
    std::string error;  // one sentence naming the field
    BirthField field = BirthField::Date;
};

// Reads the fields in the order the dialog shows them and stops at the first
// one refused. The zone is checked only when no offset is given, since an
// offset overrides it.
BirthFormResult ReadBirthForm(const BirthForm& form);

// The fields that show `birth`, for editing a chart again.
BirthForm FormFromBirthData(const BirthData& birth);

}  // namespace tolvaris
