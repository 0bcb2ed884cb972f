#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/points.h"

namespace tolvaris {

class Ephemeris;
struct Chart;

// A point of the natal chart that a transiting body can touch.
enum class NatalPoint {
    Sun,
    Moon,
    Mercury,
    Venus,
    Mars,
    Jupiter,
    Saturn,
    Uranus,
    Neptune,
    Pluto,
    Ascendant,
    Midheaven
};

// "Sun" ... "Pluto", "Ascendant", "Midheaven": the chart's own names.
std::string_view NatalPointName(NatalPoint point);
// The body of Sun ... Pluto; none for the two angles.
std::optional<Point> BodyOf(NatalPoint point);

struct NatalTarget {
    NatalPoint point;
    double longitude;  // [0, 360)
};

// Sun ... Pluto, then the Ascendant and the Midheaven when the birth time is
// known (the chart has them).
std::vector<NatalTarget> NatalTargets(const Chart& natal);

inline constexpr double kDefaultTransitOrb = 1.0;
inline constexpr double kSmallestTransitOrb = 0.1;
inline constexpr double kLargestTransitOrb = 5.0;

struct TransitSettings {
    // Transiting bodies, Sun ... Pluto, in point order.
    std::vector<Point> bodies;
    // Degrees either side of the exact aspect, one for every aspect.
    double orb = kDefaultTransitOrb;
};

// Sun and Mercury to Pluto: the Moon only when asked for.
std::vector<Point> DefaultTransitBodies();
// The defaults and the Moon.
std::vector<Point> AllTransitBodies();

// The moment a transiting body stands exactly at the aspect point.
struct ExactPass {
    std::int64_t utSeconds;  // seconds since 1970, UT
    bool retrograde;         // the transiting body's motion then
};

// One continuous stretch within the orb of one aspect to one natal point.
struct Transit {
    Point transiting;
    NatalPoint natal;
    AspectKind kind;
    // None when the body is already within the orb at the range's start
    // (enter) or still within it at its end (leave).
    std::optional<std::int64_t> enter;
    std::optional<std::int64_t> leave;
    // In time order; empty when the body enters and leaves the orb without
    // reaching the exact point, or reaches it outside the range.
    std::vector<ExactPass> exact;
};

// A transiting body crossing a natal house cusp; a retrograde crossing
// enters the house below the cusp.
struct HouseIngress {
    Point transiting;
    int house;  // 1..12, the house entered
    std::int64_t utSeconds;
    bool retrograde;
};

// A transiting body turning retrograde or direct.
struct Station {
    Point body;
    std::int64_t utSeconds;
    bool turnsRetrograde;
};

// The instants searched: [fromUt, toUt), seconds since 1970, UT.
struct TransitSpan {
    std::int64_t fromUt = 0;
    std::int64_t toUt = 0;
};

struct TransitSearch {
    // In the order each window begins (its entry, or the range's start),
    // ties by the body, natal point and aspect order.
    std::vector<Transit> transits;
    // In time order; none when the birth time is unknown.
    std::vector<HouseIngress> ingresses;
    // In time order.
    std::vector<Station> stations;
    // For the user: bodies from the built-in ephemeris, what was left out
    // for an unknown birth time.
    std::vector<std::string> notes;
    // The ephemeris library failed: the search is empty.
    std::string error;

    bool Ok() const { return error.empty(); }
};

// Every transit, ingress and station of the settings' bodies within the
// span. Exact passes, orb edges and ingresses to within a second or so of
// the moment the body's longitude reaches the point; stations to within a
// few minutes.
TransitSearch FindTransits(Ephemeris& ephemeris, const Chart& natal, const TransitSpan& span,
                           const TransitSettings& settings);

// A transit within orb at one moment.
struct TransitInEffect {
    Point transiting;
    NatalPoint natal;
    AspectKind kind;
    double distance;  // degrees from exact, >= 0
    bool applying;    // moving towards exact
    bool retrograde;
};

// The transits within the orb at `utSeconds`, the closest first; empty with
// `error` set when the library failed.
struct TransitsNow {
    std::vector<TransitInEffect> transits;
    std::string error;
};
TransitsNow TransitsInEffect(Ephemeris& ephemeris, const Chart& natal, std::int64_t utSeconds,
                             const TransitSettings& settings);

}  // namespace tolvaris
