#pragma once

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/points.h"
#include "core/forecast/transits.h"
#include "core/requests/entry_keys.h"

namespace tolvaris {

// The entry of a contact between the reader's point `mine` and the
// partner's `theirs`. Between two different points of Sun, Moon, Venus and
// Mars it is read from the reader's side: "Your Venus discordant to their
// Mars" in SYNASTRY_Venus.TXT. Every other pair has one entry read from
// both sides, in the file of the point that comes first: "Synastry Sun
// blending with Jupiter" in SYNASTRY_Sun.TXT, whichever side owns which.
EntryLocation SynastryAspectEntry(NatalPoint mine, AspectFamily family, NatalPoint theirs);

// The reader's body in the partner's house: "Your VENUS in their 5th House"
// in SYNASTRY_HOUSE_5.TXT. Every body Sun ... Pluto has them.
EntryLocation SynastryHouseEntry(Point body, int house);

// The composite chart's Sun, Moon, Venus and Mars ("Composite MOON in
// Cancer" in COMPOSITE_SIGNS.TXT, "Composite MOON in the 4th House" in
// COMPOSITE_HOUSES.TXT) and its rising sign ("Composite LEO rising").
EntryLocation CompositeSignEntry(Point body, int sign);
EntryLocation CompositeHouseEntry(Point body, int house);
EntryLocation CompositeRisingEntry(int sign);
bool HasCompositeEntries(Point body);

// "1st", "2nd", "3rd", "4th" ... "12th".
std::string HouseOrdinal(int house);

}  // namespace tolvaris
