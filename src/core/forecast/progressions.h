#pragma once

// Secondary progressions: the chart unfolding one day after birth for each
// tropical year of life. See docs/progressions.md for the method and its
// accuracy.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/house_system.h"
#include "core/ephemeris/points.h"
#include "core/forecast/transits.h"
#include "core/sky/chart.h"

namespace tolvaris {

class Ephemeris;

// Days of real time that make one day of progressed time: the tropical year.
inline constexpr double kDaysPerProgressedDay = 365.24219;

// The progressed instant (JD UT) for a real moment: the birth instant plus
// (moment - birth) / kDaysPerProgressedDay days. Moments before birth give
// instants before it.
double ProgressedJulianDay(const Chart& natal, std::int64_t utSeconds);
// The real moment (UT seconds, rounded) whose progressed instant is given.
std::int64_t RealMomentOf(const Chart& natal, double progressedJulianDayUt);

// A point that progresses: the bodies, the Ascendant and the Midheaven.
// NatalPoint names them all; the progressed one is meant when a field says so.

// A progressed point within the orb of an aspect to a natal point.
struct ProgressedAspectInEffect {
    NatalPoint progressed;
    NatalPoint natal;
    AspectKind kind;
    double orb;     // degrees from exact, >= 0
    bool applying;  // moving towards exact
};

struct ProgressedChart {
    std::int64_t targetUt = 0;  // the real moment asked for
    double progressedJulianDayUt = 0.0;
    std::int64_t progressedUt = 0;  // the progressed instant, rounded to the second
    // The progressed Sun minus the natal Sun, [0, 360): small and positive
    // after birth (about a degree a year).
    double solarArc = 0.0;
    // Sun ... Pluto at the progressed instant. `speed` is in degrees per day
    // of progressed time, which is degrees per year of life; `house` is the
    // natal house the progressed body stands in (none without natal cusps).
    std::vector<BodyPlacement> bodies;
    // None when the birth time is unknown. The Midheaven is the natal one
    // plus the solar arc; the Ascendant and cusps are the house system's own
    // for that Midheaven's right ascension at the birth latitude.
    std::optional<AnglePlacement> ascendant;
    std::optional<AnglePlacement> midheaven;
    std::optional<HouseCusps> cusps;  // cusp 1 at index 0
    std::optional<HouseSystem> houseSystemUsed;
    // Progressed Sun, Moon, Mercury, Venus, Mars, Ascendant and Midheaven
    // (those present) to natal Sun ... Pluto, Ascendant and Midheaven, within
    // the orb; by progressed point, then natal point.
    std::vector<ProgressedAspectInEffect> aspectsToNatal;
    std::vector<std::string> notes;  // for the user
};

struct ProgressedChartResult {
    std::optional<ProgressedChart> chart;
    std::string error;  // the ephemeris library failed

    bool Ok() const { return chart.has_value(); }
};

// Progressions start from the natal chart (its instant, positions, angles,
// cusps and the house system it used) and the latitude it was cast for,
// which the progressed houses need.

// The progressed chart for the real moment `utSeconds`, aspects within
// `orb` degrees.
ProgressedChartResult ComputeProgressedChart(Ephemeris& ephemeris, const Chart& natal,
                                             double birthLatitude, std::int64_t utSeconds,
                                             double orb = kDefaultTransitOrb);

struct ProgressionSettings {
    // The progressed points whose aspects are searched.
    std::vector<NatalPoint> aspecting = {
        NatalPoint::Sun,  NatalPoint::Moon,      NatalPoint::Mercury,  NatalPoint::Venus,
        NatalPoint::Mars, NatalPoint::Ascendant, NatalPoint::Midheaven};
    // The progressed bodies whose sign changes, natal house ingresses and
    // stations are searched, in point order.
    std::vector<Point> bodies = {Point::Sun,     Point::Moon,    Point::Mercury, Point::Venus,
                                 Point::Mars,    Point::Jupiter, Point::Saturn,  Point::Uranus,
                                 Point::Neptune, Point::Pluto};
    // Degrees either side of the exact aspect.
    double orb = kDefaultTransitOrb;
};

// One continuous stretch of a progressed point within the orb of one aspect
// to one natal point; as Transit, with the progressed point in place of the
// transiting body.
struct ProgressedAspect {
    NatalPoint progressed;
    NatalPoint natal;
    AspectKind kind;
    // None when already within the orb at the range's start (enter) or still
    // within it at its end (leave). Real moments, UT seconds.
    std::optional<std::int64_t> enter;
    std::optional<std::int64_t> leave;
    // In time order; `retrograde` is the progressed point's motion then.
    std::vector<ExactPass> exact;
};

// A progressed body entering a sign.
struct SignChange {
    Point progressed;
    int sign;  // 0 Aries ... 11 Pisces, the sign entered
    std::int64_t utSeconds;
    bool retrograde;  // entered backwards, from the following sign
};

struct ProgressionSearch {
    // In the order each window begins, ties by progressed point, natal point
    // and aspect order.
    std::vector<ProgressedAspect> aspects;
    // In time order.
    std::vector<SignChange> signChanges;
    // Progressed bodies crossing the natal cusps (`transiting` is the
    // progressed body), in time order; none when the birth time is unknown.
    std::vector<HouseIngress> ingresses;
    // Progressed bodies turning retrograde or direct, in time order.
    std::vector<Station> stations;
    // For the user: the built-in ephemeris, what an unknown birth time left out.
    std::vector<std::string> notes;
    // The ephemeris library failed: the search is empty.
    std::string error;

    bool Ok() const { return error.empty(); }
};

// Every progressed event within the span of real time. Aspect, sign and
// house moments to within a minute or so of the real moment the progressed
// longitude reaches the point; stations to within a few minutes.
ProgressionSearch FindProgressions(Ephemeris& ephemeris, const Chart& natal, double birthLatitude,
                                   const TransitSpan& span, const ProgressionSettings& settings);

}  // namespace tolvaris
