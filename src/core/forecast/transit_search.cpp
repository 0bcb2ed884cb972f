// The transit search. Each body's longitude and speed are sampled at a step
// suited to its motion; stations are found where the sampled speed changes
// sign and refined on the real speed, which splits the samples into stretches
// of one direction. In each stretch every crossing of an aspect point, an orb
// edge or a cusp is located on the cubic Hermite curve through the samples
// (longitude and speed at both ends) and finished with a Newton step on real
// positions. See docs/transits.md for the method and its accuracy.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ephemeris/ephemeris.h"
#include "core/ephemeris/ut_instant.h"
#include "core/forecast/transits.h"
#include "core/sky/chart.h"

namespace tolvaris {
namespace {

constexpr double kSecondsPerDay = 86400.0;

double JulianDayOf(std::int64_t utSeconds) {
    return JulianDayUtFromUnixSeconds(utSeconds);
}

std::int64_t SecondsOf(double julianDayUt) {
    return std::llround((julianDayUt - kUnixEpochJulianDay) * kSecondsPerDay);
}

double Normalise(double degrees) {
    double value = std::fmod(degrees, 360.0);
    if (value < 0.0) {
        value += 360.0;
    }
    return value >= 360.0 ? 0.0 : value;
}

// (-180, 180].
double Signed(double degrees) {
    double value = Normalise(degrees);
    return value > 180.0 ? value - 360.0 : value;
}

// The sampling grid and each body's step on it, in days. All steps are
// multiples of the finest, so that the bodies sampled at one instant are read
// one after the other: the library then reuses the Earth's position and the
// nutation it computed for the first (a reading costs about 3 us instead of
// 7 here). A step stays far below the shortest retrograde loop (Mercury's,
// about three weeks) so that no turn and return falls between two samples;
// the Hermite curve through samples this far apart lands within about a
// second of a fast body's crossing.
constexpr double kGridDays = 0.25;

int GridStepsOf(Point body) {
    switch (body) {
        case Point::Moon:
            return 1;
        case Point::Mercury:
            return 4;
        case Point::Venus:
        case Point::Mars:
            return 8;
        default:
            return 16;
        case Point::Uranus:
        case Point::Neptune:
        case Point::Pluto:
            return 32;
    }
}

// Below this speed (degrees a day) the Hermite curve's small error in
// longitude becomes seconds or minutes in time, so the crossing is finished
// with a Newton step on real positions: the outer planets always, the others
// near their stations.
constexpr double kNewtonBelowSpeed = 0.5;

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

bool Below(const Sample& a, const Sample& b) {
    return a.turns != b.turns ? a.turns < b.turns : a.longitude < b.longitude;
}

// What a crossing means.
enum class LevelKind { OrbLow, Exact, OrbHigh, Cusp };

struct Level {
    double longitude;  // [0, 360)
    LevelKind kind;
    std::size_t index;  // the aspect point, or the cusp (0..11)
};

struct AspectPoint {
    NatalPoint natal;
    AspectKind kind;
    double longitude;
};

std::vector<AspectPoint> AspectPointsOf(const std::vector<NatalTarget>& targets) {
    std::vector<AspectPoint> points;
    for (const NatalTarget& target : targets) {
        for (const AspectRow& row : kAspects) {
            points.push_back(
                {target.point, row.kind, Normalise(target.longitude + row.exactAngle)});
            if (row.exactAngle > 0.0 && row.exactAngle < 180.0) {
                points.push_back(
                    {target.point, row.kind, Normalise(target.longitude - row.exactAngle)});
            }
        }
    }
    return points;
}

// Reads one body and remembers whether any reading left the files.
class BodyReader {
public:
    BodyReader(Ephemeris& ephemeris, Point body) : ephemeris_(ephemeris), body_(body) {}

    bool Read(double jd, double& longitude, double& speed) {
        const Ephemeris::BodyReading reading = ephemeris_.ReadBody(body_, jd);
        if (!reading.ok) {
            error_ = reading.message;
            return false;
        }
        if (reading.source != PositionSource::Files && !builtIn_) {
            builtIn_ = reading.source;
        }
        longitude = reading.longitude;
        speed = reading.speed;
        return true;
    }

    const std::string& Error() const { return error_; }
    std::optional<PositionSource> BuiltIn() const { return builtIn_; }

private:
    Ephemeris& ephemeris_;
    Point body_;
    std::string error_;
    std::optional<PositionSource> builtIn_;
};

// The Hermite curve of one stretch between two samples, in s = 0..1.
struct Hermite {
    double u0, u1, m0, m1;  // longitude and speed times the stretch's length

    Hermite(const Sample& a, const Sample& b) {
        const double h = b.jd - a.jd;
        u0 = a.unwrapped;
        u1 = b.unwrapped;
        m0 = a.speed * h;
        m1 = b.speed * h;
    }
    double Value(double s) const {
        const double s2 = s * s;
        const double s3 = s2 * s;
        return (2 * s3 - 3 * s2 + 1) * u0 + (s3 - 2 * s2 + s) * m0 + (-2 * s3 + 3 * s2) * u1 +
               (s3 - s2) * m1;
    }
    double Slope(double s) const {
        const double s2 = s * s;
        return (6 * s2 - 6 * s) * u0 + (3 * s2 - 4 * s + 1) * m0 + (-6 * s2 + 6 * s) * u1 +
               (3 * s2 - 2 * s) * m1;
    }
    // Where the curve reaches `target`, which lies between u0 and u1: Newton
    // kept inside a shrinking bracket.
    double Root(double target) const {
        const bool rising = u1 > u0;
        double low = 0.0;
        double high = 1.0;
        double s = std::clamp((target - u0) / (u1 - u0), 0.0, 1.0);
        for (int i = 0; i < 60; ++i) {
            const double f = Value(s) - target;
            if ((f < 0.0) == rising) {
                low = s;
            } else {
                high = s;
            }
            const double slope = Slope(s);
            double next = slope != 0.0 ? s - f / slope : (low + high) / 2;
            if (!(next > low && next < high)) {
                next = (low + high) / 2;
            }
            if (std::fabs(next - s) < 1e-12) {
                return next;
            }
            s = next;
        }
        return s;
    }
};

struct Crossing {
    double jd;
    bool retrograde;
};

class BodySearch {
public:
    BodySearch(Ephemeris& ephemeris, Point body) : reader_(ephemeris, body), body_(body) {}

    // Takes the next sample in time order; false on a library failure.
    bool AddSample(double jd) {
        Sample sample{};
        if (!ReadSample(jd, sample)) {
            return false;
        }
        if (!samples_.empty() && (samples_.back().speed > 0.0) != (sample.speed > 0.0) &&
            !AddStation(samples_.back(), sample)) {
            return false;
        }
        samples_.push_back(sample);
        return true;
    }

    const std::vector<Sample>& Samples() const { return samples_; }
    const std::vector<Station>& Stations() const { return stations_; }
    BodyReader& Reader() { return reader_; }
    Point Body() const { return body_; }

    // The moment within [a, b] (one direction) the longitude reaches
    // `target` (on the unwrapped scale of the samples).
    std::optional<double> Refine(const Sample& a, const Sample& b, double target) {
        const Hermite curve(a, b);
        const double h = b.jd - a.jd;
        double jd = a.jd + curve.Root(target) * h;
        if (std::fabs(curve.Slope((jd - a.jd) / h) / h) >= kNewtonBelowSpeed) {
            return jd;
        }
        for (int i = 0; i < 2; ++i) {
            double longitude = 0.0;
            double speed = 0.0;
            if (!reader_.Read(jd, longitude, speed)) {
                return std::nullopt;
            }
            if (std::fabs(speed) < 1e-9) {
                break;
            }
            const double next = jd - Signed(longitude - target) / speed;
            // So close to a station that Newton would leave the stretch:
            // the curve's answer stands.
            if (next < a.jd || next > b.jd) {
                break;
            }
            const double moved = std::fabs(next - jd);
            jd = next;
            if (moved * kSecondsPerDay < 0.5) {
                break;
            }
        }
        return jd;
    }

private:
    bool ReadSample(double jd, Sample& sample) {
        double longitude = 0.0;
        double speed = 0.0;
        if (!reader_.Read(jd, longitude, speed)) {
            return false;
        }
        Place(jd, longitude, speed, sample);
        return true;
    }

    // Counts the turns from the sample before.
    void Place(double jd, double longitude, double speed, Sample& sample) const {
        sample.jd = jd;
        sample.speed = speed;
        sample.longitude = longitude;
        sample.turns = 0;
        if (!samples_.empty()) {
            const Sample& last = samples_.back();
            const double moved = longitude - last.longitude;
            sample.turns = last.turns + (moved < -180.0 ? 1 : moved > 180.0 ? -1 : 0);
        }
        sample.unwrapped = static_cast<double>(sample.turns) * 360.0 + longitude;
    }

    // The speed changes sign between a and b: regula falsi on the real
    // speed (the Illinois variant, so neither end sticks), which runs nearly
    // straight through a station, until a step moves less than 10 s; the
    // station goes in as a sample of speed 0.
    bool AddStation(const Sample& a, const Sample& b) {
        const bool turnsRetrograde = a.speed > 0.0;
        double ta = a.jd;
        double fa = a.speed;
        double tb = b.jd;
        double fb = b.speed;
        double t = ta;
        double longitude = a.longitude;
        int side = 0;
        for (int i = 0; i < 40; ++i) {
            double next = (ta * fb - tb * fa) / (fb - fa);
            if (!(next > ta && next < tb)) {
                next = (ta + tb) / 2;
            }
            const double moved = std::fabs(next - t);
            t = next;
            double speed = 0.0;
            if (!reader_.Read(t, longitude, speed)) {
                return false;
            }
            if ((speed > 0.0) == (fa > 0.0)) {
                ta = t;
                fa = speed;
                if (side == -1) {
                    fb /= 2;
                }
                side = -1;
            } else {
                tb = t;
                fb = speed;
                if (side == 1) {
                    fa /= 2;
                }
                side = 1;
            }
            if (moved * kSecondsPerDay < 10.0 || (tb - ta) * kSecondsPerDay < 10.0) {
                break;
            }
        }
        Sample station{};
        Place(t, longitude, 0.0, station);
        samples_.push_back(station);
        stations_.push_back({body_, SecondsOf(t), turnsRetrograde});
        return true;
    }

    BodyReader reader_;
    Point body_;
    std::vector<Sample> samples_;
    std::vector<Station> stations_;
};

struct Met {
    const Level* level;
    double target;  // on the unwrapped scale
};

// The levels from the lower of the two samples up to, not including, the
// higher, in the order the body meets them.
void LevelsBetween(const std::vector<Level>& sorted, const Sample& a, const Sample& b,
                   std::vector<Met>& out) {
    out.clear();
    const bool rising = Below(a, b);
    const Sample& low = rising ? a : b;
    const Sample& high = rising ? b : a;
    const auto take = [&](double from, double to, std::int64_t turns) {
        auto it = std::lower_bound(sorted.begin(), sorted.end(), from,
                                   [](const Level& l, double v) { return l.longitude < v; });
        for (; it != sorted.end() && it->longitude < to; ++it) {
            out.push_back({&*it, static_cast<double>(turns) * 360.0 + it->longitude});
        }
    };
    if (low.turns == high.turns) {
        take(low.longitude, high.longitude, low.turns);
    } else {
        // A stretch moves far less than a turn: it passes 0 degrees once.
        take(low.longitude, 360.0, low.turns);
        take(0.0, high.longitude, high.turns);
    }
    if (!rising) {
        std::reverse(out.begin(), out.end());
    }
}

struct OpenTransit {
    bool inside = false;
    Transit transit;
    std::int64_t begins = 0;
};

struct Collected {
    Transit transit;
    std::int64_t begins;
};

std::int64_t Clamp(std::int64_t seconds, const TransitSpan& span) {
    return std::clamp(seconds, span.fromUt, std::max(span.fromUt, span.toUt - 1));
}

std::string BuiltInNote(const std::vector<Point>& bodies, PositionSource source) {
    std::string names;
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        names += i == 0 ? "" : i + 1 == bodies.size() ? " and " : ", ";
        names += PointName(bodies[i]);
    }
    const char* why = source == PositionSource::BuiltInOutsideFileYears
                          ? "the Swiss Ephemeris files cover only 2 January 1800 to 31 December "
                            "2399"
                          : "the Swiss Ephemeris files were not found";
    return "Transiting " + names +
           ": positions from the built-in Moshier ephemeris for part or "
           "all of the range, because " +
           why + "; the times may differ by some seconds.";
}

}  // namespace

TransitSearch FindTransits(Ephemeris& ephemeris, const Chart& natal, const TransitSpan& span,
                           const TransitSettings& settings) {
    TransitSearch search;
    if (span.toUt <= span.fromUt) {
        return search;
    }
    const std::vector<NatalTarget> targets = NatalTargets(natal);
    const std::vector<AspectPoint> points = AspectPointsOf(targets);
    const double orb = settings.orb;

    std::vector<Level> levels;
    for (std::size_t i = 0; i < points.size(); ++i) {
        levels.push_back({Normalise(points[i].longitude - orb), LevelKind::OrbLow, i});
        levels.push_back({points[i].longitude, LevelKind::Exact, i});
        levels.push_back({Normalise(points[i].longitude + orb), LevelKind::OrbHigh, i});
    }
    if (natal.cusps) {
        for (std::size_t i = 0; i < natal.cusps->size(); ++i) {
            levels.push_back({Normalise((*natal.cusps)[i]), LevelKind::Cusp, i});
        }
    }
    std::sort(levels.begin(), levels.end(),
              [](const Level& a, const Level& b) { return a.longitude < b.longitude; });

    std::vector<Collected> collected;
    std::vector<Point> builtInBodies;
    std::optional<PositionSource> builtInSource;
    std::vector<Met> met;

    // Every body sampled, instant by instant.
    std::vector<BodySearch> bodies;
    bodies.reserve(settings.bodies.size());
    for (const Point body : settings.bodies) {
        bodies.emplace_back(ephemeris, body);
    }
    const double first = JulianDayOf(span.fromUt);
    const double last = JulianDayOf(span.toUt);
    const auto gridPoints = static_cast<std::int64_t>(std::ceil((last - first) / kGridDays));
    for (std::int64_t k = 0; k <= gridPoints; ++k) {
        const double jd = k == gridPoints ? last : first + static_cast<double>(k) * kGridDays;
        for (BodySearch& bodySearch : bodies) {
            if ((k == gridPoints || k % GridStepsOf(bodySearch.Body()) == 0) &&
                !bodySearch.AddSample(jd)) {
                return TransitSearch{{}, {}, {}, {}, bodySearch.Reader().Error()};
            }
        }
    }

    for (BodySearch& bodySearch : bodies) {
        const Point body = bodySearch.Body();
        const std::vector<Sample>& samples = bodySearch.Samples();

        std::vector<OpenTransit> open(points.size());
        const double start = samples.front().unwrapped;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const double d = Signed(start - points[i].longitude);
            if (d > -orb && d <= orb) {
                open[i].inside = true;
                open[i].transit = {body,         points[i].natal, points[i].kind,
                                   std::nullopt, std::nullopt,    {}};
                open[i].begins = span.fromUt;
            }
        }

        for (std::size_t k = 0; k + 1 < samples.size(); ++k) {
            const Sample& a = samples[k];
            const Sample& b = samples[k + 1];
            const bool rising = Below(a, b);
            LevelsBetween(levels, a, b, met);
            double previous = a.jd;
            for (const Met& crossing : met) {
                const Level* level = crossing.level;
                const std::optional<double> jd = bodySearch.Refine(a, b, crossing.target);
                if (!jd) {
                    return TransitSearch{{}, {}, {}, {}, bodySearch.Reader().Error()};
                }
                // Keep the order the body meets them in.
                previous = std::max(previous, *jd);
                const std::int64_t when = Clamp(SecondsOf(previous), span);
                if (level->kind == LevelKind::Cusp) {
                    const int cusp = static_cast<int>(level->index) + 1;
                    const int house = rising ? cusp : (cusp == 1 ? 12 : cusp - 1);
                    search.ingresses.push_back({body, house, when, !rising});
                    continue;
                }
                OpenTransit& state = open[level->index];
                const AspectPoint& point = points[level->index];
                if (level->kind == LevelKind::Exact) {
                    if (!state.inside) {
                        // Cannot happen between the edges; keep the pass anyway.
                        state.inside = true;
                        state.transit = {body, point.natal, point.kind, when, std::nullopt, {}};
                        state.begins = when;
                    }
                    state.transit.exact.push_back({when, !rising});
                    continue;
                }
                if (!state.inside) {
                    state.inside = true;
                    state.transit = {body, point.natal, point.kind, when, std::nullopt, {}};
                    state.begins = when;
                } else {
                    state.inside = false;
                    state.transit.leave = when;
                    collected.push_back({std::move(state.transit), state.begins});
                    state.transit = {};
                }
            }
        }
        for (OpenTransit& state : open) {
            if (state.inside) {
                collected.push_back({std::move(state.transit), state.begins});
            }
        }
        search.stations.insert(search.stations.end(), bodySearch.Stations().begin(),
                               bodySearch.Stations().end());
        if (const std::optional<PositionSource> source = bodySearch.Reader().BuiltIn()) {
            builtInBodies.push_back(body);
            if (!builtInSource || *source == PositionSource::BuiltInFilesMissing) {
                builtInSource = source;
            }
        }
    }

    std::stable_sort(collected.begin(), collected.end(),
                     [](const Collected& x, const Collected& y) {
                         if (x.begins != y.begins) {
                             return x.begins < y.begins;
                         }
                         if (x.transit.transiting != y.transit.transiting) {
                             return x.transit.transiting < y.transit.transiting;
                         }
                         if (x.transit.natal != y.transit.natal) {
                             return x.transit.natal < y.transit.natal;
                         }
                         return x.transit.kind < y.transit.kind;
                     });
    for (Collected& item : collected) {
        search.transits.push_back(std::move(item.transit));
    }
    std::stable_sort(
        search.ingresses.begin(), search.ingresses.end(),
        [](const HouseIngress& x, const HouseIngress& y) { return x.utSeconds < y.utSeconds; });
    std::stable_sort(search.stations.begin(), search.stations.end(),
                     [](const Station& x, const Station& y) { return x.utSeconds < y.utSeconds; });

    if (builtInSource) {
        search.notes.push_back(BuiltInNote(builtInBodies, *builtInSource));
    }
    if (!natal.ascendant || !natal.midheaven || !natal.cusps) {
        search.notes.emplace_back(
            "The chart has no Ascendant, Midheaven or houses (the birth time is unknown), so "
            "transits to the angles and house ingresses are left out.");
    }
    return search;
}

TransitsNow TransitsInEffect(Ephemeris& ephemeris, const Chart& natal, std::int64_t utSeconds,
                             const TransitSettings& settings) {
    TransitsNow now;
    const std::vector<AspectPoint> points = AspectPointsOf(NatalTargets(natal));
    const double jd = JulianDayOf(utSeconds);
    for (const Point body : settings.bodies) {
        const Ephemeris::BodyReading reading = ephemeris.ReadBody(body, jd);
        if (!reading.ok) {
            return TransitsNow{{}, reading.message};
        }
        for (const AspectPoint& point : points) {
            const double d = Signed(reading.longitude - point.longitude);
            if (d > -settings.orb && d <= settings.orb) {
                now.transits.push_back({body, point.natal, point.kind, std::fabs(d),
                                        d * reading.speed < 0.0, reading.speed < 0.0});
            }
        }
    }
    std::stable_sort(
        now.transits.begin(), now.transits.end(),
        [](const TransitInEffect& x, const TransitInEffect& y) { return x.distance < y.distance; });
    return now;
}

}  // namespace tolvaris
