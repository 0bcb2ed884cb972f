#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/atlas/place.h"
#include "core/time/universal_time.h"

namespace tolvaris {

// Degrees and whole minutes, "10°46'", as charts print a position within its
// sign or an orb. Minutes are cut, not rounded, so that 29°59'59" stays in
// its sign. Negative values are shown by their size.
std::string FormatDegreesMinutes(double degrees);

// "10°46' Capricorn" for an ecliptic longitude.
std::string FormatZodiacPosition(double longitude);

// The coordinate as the dialog fills it in: decimal degrees to six places
// (a tenth of a metre, finer than any atlas), trailing zeros dropped:
// "52.52", "-13.405", "0.0".
std::string FormatCoordinate(double degrees);

// "Zürich, Zurich, Switzerland": the place as the place list shows it.
std::string PlaceLabel(const Place& place);

// The universal time with the offset and where it came from:
// "1990-01-01 11:00:00, UTC+01:00 (CET) from the time zone Europe/Berlin".
std::string UniversalTimeText(const UniversalTime& time, std::string_view zone);

// What the birth-data dialog shows before the user confirms: "UT " and the
// universal time as above.
std::string DescribeUniversalTime(const UniversalTime& time, std::string_view zone);

}  // namespace tolvaris
