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

// Which coordinate a text gives: it decides the range, the hemisphere letters
// and the field named in messages.
enum class CoordinateAxis { Latitude, Longitude };

struct CoordinateResult {
    std::optional<double> value;
    std::string error;  // names the field
};

// Reads a latitude or longitude as the user writes one: decimal degrees
// ("52.52", "-13.405"), degrees and minutes ("52°31'", "52 31"), optionally
// with seconds, and optionally with a hemisphere letter at the end
// ("52°31'N", "13.4 E", "33 52 S") instead of the sign.
CoordinateResult ParseCoordinate(std::string_view text, CoordinateAxis axis);

// The coordinate as the dialog fills it in: decimal degrees to six places
// (a tenth of a metre, finer than any atlas), trailing zeros dropped:
// "52.52", "-13.405", "0.0".
std::string FormatCoordinate(double degrees);

// "Zürich, Zurich, Switzerland": the place as the place list shows it.
std::string PlaceLabel(const Place& place);

// What the birth-data dialog shows before the user confirms:
// "UT 1990-01-01 11:00:00, offset +01:00 (CET) from the zone Europe/Berlin".
std::string DescribeUniversalTime(const UniversalTime& time, std::string_view zone);

}  // namespace tolvaris
