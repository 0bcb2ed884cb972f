#pragma once

#include <cstdint>
#include <string>

namespace tolvaris {

// One place of the atlas, as a birth place is shown and computed with.
struct Place {
    std::string name;         // UTF-8, as GeoNames writes it ("Zürich", "Munich")
    std::string region;       // first-level division ("Bavaria"); empty for a few
    std::string country;      // English name ("Germany")
    std::string countryCode;  // ISO 3166-1 alpha-2 ("DE")
    double latitude = 0;      // degrees, north positive
    double longitude = 0;     // degrees, east positive
    std::string zone;         // IANA time zone ("Europe/Berlin")
    std::int64_t population = 0;

    bool operator==(const Place&) const = default;
};

}  // namespace tolvaris
