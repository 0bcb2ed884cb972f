#pragma once

#include <string>

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/points.h"
#include "core/forecast/transits.h"
#include "core/requests/entry_keys.h"

namespace tolvaris {

// "Progressed Venus harmonizing with natal Moon (progression, trine or
// sextile)" in PROGRESSED_Venus.TXT. Only progressed Sun, Moon, Mercury,
// Venus and Mars have them.
EntryLocation ProgressedAspectEntry(Point progressed, AspectFamily family, NatalPoint natal);
bool HasProgressedAspectEntries(NatalPoint progressed);

// The progressed Moon's chapters: "Progressed Moon through the 5th House
// (progression)" and "Progressed Moon in Leo (progression)", both in
// PROGRESSED_Moon.TXT.
EntryLocation ProgressedMoonHouseEntry(int house);
EntryLocation ProgressedMoonSignEntry(int sign);

// The birthday chart: "Return LEO rising (solar return)" and "Return SUN in
// the 10th House (solar return)" in SOLAR_RETURN.TXT.
EntryLocation SolarReturnRisingEntry(int sign);
EntryLocation SolarReturnSunHouseEntry(int house);

// "1st", "2nd", "3rd", "4th" ... "12th".
std::string HouseNumberOrdinal(int house);

}  // namespace tolvaris
