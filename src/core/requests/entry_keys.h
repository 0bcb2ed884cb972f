#pragma once

#include <cstdint>
#include <string>

namespace tolvaris {

// Indexes into kPlanetCaptions that the request rules single out.
enum PlanetIndex : std::int16_t {
    kSun = 0,
    kMercury = 2,
    kVenus = 3,
    kUranus = 7,
    kPluto = 9,
    kAscendant = 10,
};

// Indexes into kAspectCaptions.
enum AspectKindIndex : std::int16_t { kBlending = 0, kHarmonizing = 1, kDiscordant = 2 };

// Where an entry lives: the key line that starts it and its data file's name
// (without folder).
struct EntryLocation {
    std::string key;
    std::string fileName;
    bool operator==(const EntryLocation&) const = default;
};

// The file and key of each kind of entry, for valid indexes; the caller
// checks what is interpreted at all.
EntryLocation PlanetInSignEntry(std::int16_t planet, std::int16_t sign);
EntryLocation PlanetInHouseEntry(std::int16_t planet, std::int16_t house);
EntryLocation RisingSignEntry(std::int16_t sign);
// `planet` comes before `planet2` in the planet list.
EntryLocation AspectEntry(std::int16_t planet, std::int16_t aspectKind, std::int16_t planet2);

}  // namespace tolvaris
