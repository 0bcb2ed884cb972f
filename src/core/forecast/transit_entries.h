#pragma once

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/points.h"
#include "core/forecast/transits.h"
#include "core/requests/entry_keys.h"

namespace tolvaris {

// The entry of a transit: "Saturn discordant to natal Sun" in
// TRANSIT_Saturn.TXT. Only Sun and Mars to Pluto have entries of their own.
EntryLocation TransitAspectEntry(Point transiting, AspectFamily family, NatalPoint natal);

// A slow body's passage through a natal house: "JUPITER through" in
// TRANSIT_HOUSE_5.TXT. Only Jupiter to Pluto have them.
EntryLocation TransitHouseEntry(Point transiting, int house);

// Whether the library has entries of that kind for the body.
bool HasTransitAspectEntries(Point transiting);
bool HasTransitHouseEntries(Point transiting);

}  // namespace tolvaris
