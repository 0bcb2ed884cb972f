#include "core/forecast/transit_entries.h"

#include <string>

#include "core/common/cp1252.h"

namespace tolvaris {

EntryLocation TransitAspectEntry(Point transiting, AspectFamily family, NatalPoint natal) {
    const std::string body(PointName(transiting));
    return {body + " " + std::string(RowOf(family).phrase) + " natal " +
                std::string(NatalPointName(natal)),
            "TRANSIT_" + body + ".TXT"};
}

EntryLocation TransitHouseEntry(Point transiting, int house) {
    return {ToUpper1252(PointName(transiting)) + " through",
            "TRANSIT_HOUSE_" + std::to_string(house) + ".TXT"};
}

bool HasTransitAspectEntries(Point transiting) {
    return transiting == Point::Sun || (transiting >= Point::Mars && transiting <= Point::Pluto);
}

bool HasTransitHouseEntries(Point transiting) {
    return transiting >= Point::Jupiter && transiting <= Point::Pluto;
}

}  // namespace tolvaris
