#include "core/requests/entry_keys.h"

#include "core/common/cp1252.h"
#include "core/requests/captions.h"

namespace tolvaris {

EntryLocation PlanetInSignEntry(std::int16_t planet, std::int16_t sign) {
    return {ToUpper1252(kPlanetCaptions.at(planet)) + " in",
            "SIGN_" + std::string(kSignCaptions.at(sign).substr(0, 3)) + ".TXT"};
}

EntryLocation PlanetInHouseEntry(std::int16_t planet, std::int16_t house) {
    return {ToUpper1252(kPlanetCaptions.at(planet)) + " in",
            "HOUSE_" + std::to_string(house + 1) + ".TXT"};
}

EntryLocation RisingSignEntry(std::int16_t sign) {
    return {ToUpper1252(kSignCaptions.at(sign)) + " rising", "RISING.TXT"};
}

EntryLocation AspectEntry(std::int16_t planet, std::int16_t aspectKind, std::int16_t planet2) {
    const std::string left(kPlanetCaptions.at(planet));
    return {left + " " + std::string(kAspectPhrases.at(aspectKind)) + " " +
                std::string(kPlanetCaptions.at(planet2)),
            left + ".TXT"};
}

}  // namespace tolvaris
