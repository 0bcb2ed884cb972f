#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvaris {

// A value read from text, or a clause naming the field and saying why not
// ("the latitude 95 is outside -90 to 90").
struct ValueParse {
    std::optional<double> value;
    std::string error;
};

// Decimal degrees, north positive, -90 to 90.
ValueParse ParseLatitude(std::string_view text);

// Decimal degrees, east positive, -180 to 180.
ValueParse ParseLongitude(std::string_view text);

}  // namespace tolvaris
