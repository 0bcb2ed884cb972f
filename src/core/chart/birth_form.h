#pragma once

#include <optional>
#include <string>

#include "core/chart/birth_data.h"
#include "core/common/result.h"

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

// Checks that the fields a chart needs are filled in, then reads them in the
// order the dialog shows them through the readers chart files and the
// command line use, and stops at the first one refused; the error names the
// field, so that the dialog can put the cursor there. A zone may be left
// blank when an offset is given, since an offset overrides it.
Result<BirthData> ReadBirthForm(const BirthForm& form);

// The fields that show `birth`, for editing a chart again.
BirthForm FormFromBirthData(const BirthData& birth);

}  // namespace tolvaris
