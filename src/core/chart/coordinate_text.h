#pragma once

#include <string>
#include <string_view>

#include "core/common/result.h"

namespace tolvaris {

// Which coordinate a text gives: it decides the range, the hemisphere letters
// and the field named in messages.
enum class CoordinateAxis { Latitude, Longitude };

// Reads a latitude or longitude wherever one is typed (the birth-data
// dialog, the command line, a chart file): decimal degrees ("52.52",
// "-13.405", a decimal comma too) or degrees, minutes and optionally seconds
// as atlases and other programs print them: "52n31", "13e24:30", "52°31'N",
// "13°24'30\"E", "52 31 N", "52:31:00N". S and W count negative; a sign and a
// hemisphere letter together are refused. Only the last part given may have
// a fraction; minutes and seconds stay below 60; a latitude lies within ±90,
// a longitude within ±180. A refusal is a clause naming the field and the
// forms accepted.
Result<double> ReadCoordinate(std::string_view text, CoordinateAxis axis);

// A place's coordinates as every window, page and table shows them: degrees,
// minutes and (when not zero) seconds with the hemisphere letter, rounded to
// the second: "52°31'12\"N 13°24'18\"E". The text reads back through
// ReadCoordinate.
std::string FormatCoordinates(double latitude, double longitude);

// One coordinate in that style: "52°31'12\"N".
std::string FormatCoordinateDms(double degrees, CoordinateAxis axis);

}  // namespace tolvaris
