#pragma once

// The machinery the transit and progression searches share, inside the
// forecast library only: a longitude sampled over a span of Julian days, its
// stations, and the moments it meets a set of levels (aspect points, orb
// edges, cusps, sign boundaries); then the windows, ingresses and sign
// changes those crossings make. Times stay Julian days here; each search
// maps them to real UT seconds its own way.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/ephemeris.h"
#include "core/ephemeris/points.h"
#include "core/forecast/transits.h"

namespace tolvaris::crossings {

double Normalise(double degrees);
// (-180, 180].
double Signed(double degrees);

// The sampling step for a body, in days. A step must stay well below the
// shortest retrograde loop (Mercury's, about three weeks) so that no turn and
// return falls between two samples, and small enough that the Hermite curve
// lands within seconds of the root before the Newton step.
double StepDays(Point body);

// Reads one body and remembers whether any reading left the files.
class BodyReader {
public:
    BodyReader(Ephemeris& ephemeris, Point body) : ephemeris_(ephemeris), body_(body) {}

    bool Read(double jd, double& longitude, double& speed);

    const std::string& Error() const { return error_; }
    std::optional<PositionSource> BuiltIn() const { return builtIn_; }

private:
    Ephemeris& ephemeris_;
    Point body_;
    std::string error_;
    std::optional<PositionSource> builtIn_;
};

// A longitude (degrees) and its speed (degrees per day) at a Julian day;
// false on a failure, whose message the source keeps.
using LongitudeSource = std::function<bool(double jd, double& longitude, double& speed)>;

// What a crossing means.
enum class LevelKind { OrbLow, Exact, OrbHigh, Cusp, Sign };

struct Level {
    double longitude;  // [0, 360)
    LevelKind kind;
    std::size_t index;  // the aspect point, the cusp (0..11) or the sign (0..11)
};

struct AspectPoint {
    NatalPoint natal;
    AspectKind kind;
    double longitude;
};

// Each aspect's points to each target: one for the conjunction and the
// opposition, two for the others.
std::vector<AspectPoint> AspectPointsOf(const std::vector<NatalTarget>& targets);

// The orb's edges and the exact point of every aspect point.
void AddAspectLevels(const std::vector<AspectPoint>& points, double orb,
                     std::vector<Level>& levels);

struct SearchSettings {
    // Between samples: well below the shortest retrograde loop, small enough
    // for the interpolated root to land within seconds.
    double stepDays = 1.0;
    // Newton steps on the real source until one moves less than this...
    double refineSeconds = 0.5;
    // ...or this many were taken.
    int refineSteps = 2;
    // Stations bisected on the speed to this width.
    double stationSeconds = 20.0;
};

struct Met {
    double jd;
    Level level;
    bool retrograde;  // met while the longitude falls
};

struct Turn {
    double jd;
    bool turnsRetrograde;
};

struct LongitudeCrossings {
    double startLongitude = 0.0;  // at the span's first instant
    std::vector<Met> met;         // in time order
    std::vector<Turn> turns;      // in time order
};

// Every level the source meets within [firstJd, lastJd], and its stations.
// None on a failure of the source.
std::optional<LongitudeCrossings> FindCrossings(const LongitudeSource& source, double firstJd,
                                                double lastJd, std::vector<Level> levels,
                                                const SearchSettings& settings);

// What the crossings of one moving point make, times mapped to UT seconds.
struct AspectWindow {
    NatalPoint natal;
    AspectKind kind;
    std::optional<std::int64_t> enter;
    std::optional<std::int64_t> leave;
    std::vector<ExactPass> exact;
    std::int64_t begins;  // enter, or the span's start
};

struct Ingress {
    int house;  // 1..12, the house entered
    std::int64_t utSeconds;
    bool retrograde;
};

struct SignEntry {
    int sign;  // the sign entered
    std::int64_t utSeconds;
    bool retrograde;
};

struct PointEvents {
    std::vector<AspectWindow> windows;  // in the order they close
    std::vector<Ingress> ingresses;
    std::vector<SignEntry> signs;
};

// `toSeconds` maps a crossing's Julian day to the UT seconds reported; the
// result is kept within the span and in the order the crossings came.
PointEvents EventsOf(const LongitudeCrossings& crossings, const std::vector<AspectPoint>& points,
                     double orb, const TransitSpan& span,
                     const std::function<std::int64_t(double)>& toSeconds);

// A window with the moving point's order (its enum value) as a key.
struct KeyedWindow {
    int moving;
    AspectWindow window;
};
// In the order they begin, ties by moving point, natal point and aspect.
void SortWindows(std::vector<KeyedWindow>& windows);

// "<adjective> Sun, Mercury and Mars: positions from the built-in ...
// because <reason>; <consequence>".
std::string BuiltInNote(const std::string& adjective, const std::vector<Point>& bodies,
                        PositionSource source, const std::string& consequence);

}  // namespace tolvaris::crossings
