#pragma once

// The machinery the transit and progression searches share, inside the
// forecast library only: a longitude sampled over a span of Julian days, its
// stations, and the moments it meets a set of levels (aspect points, orb
// edges, cusps, sign boundaries); then the windows, ingresses and sign
// changes those crossings make. Times stay Julian days here; each search
// maps them to real UT seconds its own way. See docs/transits.md.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
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

// The sampling grid and each body's step on it, in days. All steps are
// multiples of the finest, so that the bodies sampled at one instant are read
// one after the other: the library then reuses the Earth's position and the
// nutation it computed for the first (a reading costs about 3 us instead of
// 7 here). A step stays far below the shortest retrograde loop (Mercury's,
// about three weeks) so that no turn and return falls between two samples;
// the Hermite curve through samples this far apart lands within about a
// second of a fast body's crossing.
inline constexpr double kGridDays = 0.25;
int GridStepsOf(Point body);

// Reads one body and remembers whether any reading left the files.
class BodyReader {
public:
    BodyReader(Ephemeris& ephemeris, Point body) : ephemeris_(&ephemeris), body_(body) {}

    bool Read(double jd, double& longitude, double& speed);

    Point Body() const { return body_; }
    const std::string& Error() const { return error_; }
    std::optional<PositionSource> BuiltIn() const { return builtIn_; }

private:
    Ephemeris* ephemeris_;
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
    // Below this speed (degrees a day) the Hermite curve's small error in
    // longitude becomes seconds or minutes in time, so a crossing is
    // finished with Newton steps on the source.
    double newtonBelowSpeed = 0.5;
    // Newton steps until one moves less than this, or this many were taken.
    double refineSeconds = 0.5;
    int refineSteps = 2;
    // Stations are refined until a step moves less than this.
    double stationSeconds = 10.0;

    // Every crossing finished with Newton steps, to well under a second.
    static SearchSettings Fine() {
        return {std::numeric_limits<double>::infinity(), 0.01, 8, 0.02};
    }
};

struct Sample {
    double jd;
    // Whole turns since the first sample and the longitude as read: a level
    // is compared with the reading itself, so a sample that lies exactly on
    // it counts on the same side for both stretches it ends.
    std::int64_t turns;
    double longitude;  // [0, 360)
    double unwrapped;  // turns * 360 + longitude
    double speed;      // degrees per day
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

// One moving point: samples taken in time order, stations found between
// them, then the levels met.
class PointSearch {
public:
    PointSearch(LongitudeSource source, const SearchSettings& settings)
        : source_(std::move(source)), settings_(settings) {}

    // Takes the next sample in time order; false on a failure of the source.
    bool AddSample(double jd);

    const std::vector<Sample>& Samples() const { return samples_; }
    const std::vector<Turn>& Turns() const { return turns_; }

    // Every level met between the first and the last sample, in time order;
    // `sorted` by longitude. None on a failure of the source.
    std::optional<std::vector<Met>> Crossings(const std::vector<Level>& sorted);

private:
    std::optional<double> Refine(const Sample& a, const Sample& b, double target);
    bool ReadSample(double jd, Sample& sample);
    void Place(double jd, double longitude, double speed, Sample& sample) const;
    bool AddStation(const Sample& a, const Sample& b);

    LongitudeSource source_;
    SearchSettings settings_;
    std::vector<Sample> samples_;
    std::vector<Turn> turns_;
};

// Samples every search on the grid from `first` to `last` (and at `last`),
// the i-th every steps[i] grid points, instant by instant. The index of the
// search whose source failed, if any.
std::optional<std::size_t> SampleOnGrid(std::vector<PointSearch>& searches,
                                        const std::vector<int>& steps, double first, double last);

void SortLevels(std::vector<Level>& levels);

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

// `start` is the point's unwrapped longitude at the span's start; `toSeconds`
// maps a crossing's Julian day to the UT seconds reported, which are kept
// within the span. Windows open at the start only for `points` given.
PointEvents EventsOf(double start, const std::vector<Met>& met,
                     const std::vector<AspectPoint>& points, double orb, const TransitSpan& span,
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
