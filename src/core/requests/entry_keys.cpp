#include "core/requests/entry_keys.h"

#include "core/common/cp1252.h"
#include "core/ephemeris/zodiac.h"

namespace tolvaris {
namespace {

std::string_view SignAt(int sign) {
    return kSigns.at(static_cast<std::size_t>(sign));
}

}  // namespace

EntryLocation PlanetInSignEntry(Point planet, int sign) {
    return {ToUpper1252(PointName(planet)) + " in",
            "SIGN_" + std::string(SignAt(sign).substr(0, 3)) + ".TXT"};
}

EntryLocation PlanetInHouseEntry(Point planet, int house) {
    return {ToUpper1252(PointName(planet)) + " in", "HOUSE_" + std::to_string(house) + ".TXT"};
}

EntryLocation RisingSignEntry(int sign) {
    return {ToUpper1252(SignAt(sign)) + " rising", "RISING.TXT"};
}

EntryLocation AspectEntry(Point planet, AspectFamily family, Point planet2) {
    const std::string left(PointName(planet));
    return {left + " " + std::string(RowOf(family).phrase) + " " + std::string(PointName(planet2)),
            left + ".TXT"};
}

}  // namespace tolvaris
