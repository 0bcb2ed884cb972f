#include "core/relation/relation_entries.h"

#include <string>

#include "core/common/cp1252.h"
#include "core/ephemeris/zodiac.h"

namespace tolvaris {
namespace {

// The four points whose contacts are written from each side.
bool ReadFromOneSide(NatalPoint point) {
    return point == NatalPoint::Sun || point == NatalPoint::Moon || point == NatalPoint::Venus ||
           point == NatalPoint::Mars;
}

std::string Upper(Point body) {
    return ToUpper1252(PointName(body));
}

}  // namespace

std::string HouseOrdinal(int house) {
    const char* suffix = house == 1 ? "st" : house == 2 ? "nd" : house == 3 ? "rd" : "th";
    return std::to_string(house) + suffix;
}

EntryLocation SynastryAspectEntry(NatalPoint mine, AspectFamily family, NatalPoint theirs) {
    const std::string phrase(RowOf(family).phrase);
    if (mine != theirs && ReadFromOneSide(mine) && ReadFromOneSide(theirs)) {
        const std::string name(NatalPointName(mine));
        return {"Your " + name + " " + phrase + " their " + std::string(NatalPointName(theirs)),
                "SYNASTRY_" + name + ".TXT"};
    }
    const NatalPoint earlier = mine < theirs ? mine : theirs;
    const NatalPoint later = mine < theirs ? theirs : mine;
    const std::string name(NatalPointName(earlier));
    return {"Synastry " + name + " " + phrase + " " + std::string(NatalPointName(later)),
            "SYNASTRY_" + name + ".TXT"};
}

EntryLocation SynastryHouseEntry(Point body, int house) {
    return {"Your " + Upper(body) + " in their " + HouseOrdinal(house) + " House",
            "SYNASTRY_HOUSE_" + std::to_string(house) + ".TXT"};
}

EntryLocation CompositeSignEntry(Point body, int sign) {
    return {"Composite " + Upper(body) + " in " + std::string(SignName(sign)),
            "COMPOSITE_SIGNS.TXT"};
}

EntryLocation CompositeHouseEntry(Point body, int house) {
    return {"Composite " + Upper(body) + " in the " + HouseOrdinal(house) + " House",
            "COMPOSITE_HOUSES.TXT"};
}

EntryLocation CompositeRisingEntry(int sign) {
    return {"Composite " + ToUpper1252(SignName(sign)) + " rising", "COMPOSITE_SIGNS.TXT"};
}

bool HasCompositeEntries(Point body) {
    return body == Point::Sun || body == Point::Moon || body == Point::Venus || body == Point::Mars;
}

}  // namespace tolvaris
