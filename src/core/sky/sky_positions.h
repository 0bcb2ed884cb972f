#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/ephemeris.h"
#include "core/ephemeris/points.h"

namespace tolvaris {

// Where a body stands at an instant, seen from the Earth's centre: no
// houses, no birthplace. What charts, transits, progressions and returns
// all start from.
struct SkyPosition {
    Point body;
    double longitude;     // tropical, ecliptic of date, [0, 360)
    double speed;         // degrees per day
    int sign;             // 0 Aries ... 11 Pisces
    double degreeInSign;  // [0, 30)
    bool retrograde;      // speed < 0
};

struct SkyPositions {
    // In the order asked for; empty when `error` is set.
    std::vector<SkyPosition> positions;
    // Where the positions came from: the files, or why the built-in model
    // answered for at least one of them.
    PositionSource source = PositionSource::Files;
    // The bodies the built-in model answered for, in the order asked for.
    std::vector<Point> fromBuiltIn;
    // Names the body whose position failed, in the library's words.
    std::string error;

    bool Ok() const { return error.empty(); }
};

// The positions of `bodies` at the instant (Julian day, UT). A point that
// is not a body (the Ascendant) is an error: it needs a place.
SkyPositions PositionsAt(Ephemeris& ephemeris, double julianDayUt, std::span<const Point> bodies);

// The points with their longitudes, for FindAspects and FindAspectsBetween.
std::vector<PointLongitude> LongitudesOf(std::span<const SkyPosition> positions);

}  // namespace tolvaris
