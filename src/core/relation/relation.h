#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/chart/birth_chart.h"
#include "core/ephemeris/aspects.h"
#include "core/ephemeris/points.h"
#include "core/forecast/transits.h"
#include "core/sky/chart.h"

namespace tolvaris {

// An aspect between a point of the first chart and one of the second.
struct InterAspect {
    NatalPoint first;
    NatalPoint second;
    AspectKind kind;
    AspectFamily family;
    double orb;  // degrees from exact, >= 0
};

// A body of one chart in a house of the other.
struct HouseOverlay {
    Point body;
    int house;  // 1..12
};

struct Synastry {
    // Ordered by the first chart's point, then the second's, Sun ... Pluto,
    // Ascendant, Midheaven.
    std::vector<InterAspect> aspects;
    // The first chart's bodies in the second's houses; none when the second
    // has no houses (birth time unknown).
    std::optional<std::vector<HouseOverlay>> firstInSecondHouses;
    // The second chart's bodies in the first's houses.
    std::optional<std::vector<HouseOverlay>> secondInFirstHouses;
};

// The aspects between the two charts' points (the angles only of a chart
// whose birth time is known) within `orbs` (the first chart's), and the
// house overlays both ways.
Synastry ComputeSynastry(const Chart& first, const Chart& second, const Orbs& orbs);

// Halfway along the shorter arc from `a` to `b`; for an exact opposition,
// where both arcs are equal, `b` plus 90 degrees. In [0, 360).
double NearerMidpoint(double a, double b);

// The relationship's own chart: every point the nearer midpoint of the two
// charts' points. It has no moment and no place.
struct CompositeChart {
    std::string firstName;
    std::string secondName;
    // julianDayUt is 0; cusps, angles and houses only when both birth times
    // are known, the cusps in the first chart's house system.
    Chart chart;
    std::vector<std::string> notes;
};

// Either the chart or a message for the user.
struct CompositeResult {
    std::optional<CompositeChart> value;
    std::string error;
    bool Ok() const { return value.has_value(); }
};

// The composite of two charts, aspects with the first chart's orbs. When the
// second chart's houses are in another system than the first's, they are
// computed again in the first's, which needs the ephemeris.
CompositeResult ComputeComposite(Ephemeris& ephemeris, const BirthChart& first,
                                 const BirthChart& second);

// The moment and place of a Davison chart: the UT instant halfway between
// the births (rounded down to the second), the latitudes averaged, the
// longitudes halfway along the shorter arc.
struct DavisonMoment {
    std::int64_t utSeconds = 0;
    double latitude = 0.0;
    double longitude = 0.0;  // [-180, 180]
    bool timeKnown = true;   // both births have a time
};
DavisonMoment DavisonMomentOf(const BirthChart& first, const BirthChart& second);

// The Davison chart, computed like any chart (ComputeChart) for that moment
// and place, in the first chart's house system and with its orbs. Its input
// names both people, gives the UT date and time with offset 0 and the
// midpoint's coordinates.
struct DavisonResult {
    std::optional<BirthChart> value;
    std::string error;
    bool Ok() const { return value.has_value(); }
};
DavisonResult ComputeDavison(Ephemeris& ephemeris, const BirthChart& first,
                             const BirthChart& second);

// "Anna and Ben", with a stand-in for a missing name.
std::string PairName(const std::string& first, const std::string& second);

}  // namespace tolvaris
