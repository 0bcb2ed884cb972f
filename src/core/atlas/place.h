#pragma once

#include <cstdint>
#include <string>

namespace tolvaris {

// One place of the atlas, as a birth place is shown and computed with.
struct Place {
    std::string Name;         // UTF-8, as GeoNames writes it ("Zürich", "Munich")
    std::string Region;       // first-level division ("Bavaria"); empty for a few
    std::string Country;      // English name ("Germany")
    std::string CountryCode;  // ISO 3166-1 alpha-2 ("DE")
    double Latitude = 0;      // degrees, north positive
    double Longitude = 0;     // degrees, east positive
    std::string Zone;         // IANA time zone ("Europe/Berlin")
    std::int64_t Population = 0;

    bool operator==(const Place&) const = default;
};

}  // namespace tolvaris
