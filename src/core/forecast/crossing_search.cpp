// The longitude of a moving point is sampled on a grid; stations are found
// where the sampled speed changes sign and refined on the real speed, which
// splits the samples into stretches of one direction. In each stretch every
// crossing of a level is located on the cubic Hermite curve through the
// samples (longitude and speed at both ends) and, where the point moves
// slowly or the caller asks for it, finished with Newton steps on the
// source. See docs/transits.md for the method and its accuracy.

#include "core/forecast/crossing_search.h"

#include <algorithm>
#include <cmath>

namespace tolvaris::crossings {
namespace {

constexpr double kSecondsPerDay = 86400.0;

bool Below(const Sample& a, const Sample& b) {
    return a.turns != b.turns ? a.turns < b.turns : a.longitude < b.longitude;
}

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

struct LevelAt {
    const Level* level;
    double target;  // on the unwrapped scale
};

// The levels from the lower of the two samples up to, not including, the
// higher, in the order the point meets them.
void LevelsBetween(const std::vector<Level>& sorted, const Sample& a, const Sample& b,
                   std::vector<LevelAt>& out) {
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

std::int64_t Clamp(std::int64_t seconds, const TransitSpan& span) {
    return std::clamp(seconds, span.fromUt, std::max(span.fromUt, span.toUt - 1));
}

}  // namespace

double Normalise(double degrees) {
    double value = std::fmod(degrees, 360.0);
    if (value < 0.0) {
        value += 360.0;
    }
    return value >= 360.0 ? 0.0 : value;
}

double Signed(double degrees) {
    const double value = Normalise(degrees);
    return value > 180.0 ? value - 360.0 : value;
}

int GridStepsOf(Point body) {
    switch (body) {
        case Point::Moon:
            return 1;
        case Point::Mercury:
            return 4;
        case Point::Venus:
        case Point::Mars:
            return 8;
        case Point::Sun:
        case Point::Jupiter:
        case Point::Saturn:
            return 16;
        default:  // Uranus, Neptune, Pluto
            return 32;
    }
}

bool BodyReader::Read(double jd, double& longitude, double& speed) {
    const Ephemeris::BodyReading reading = ephemeris_->ReadBody(body_, jd);
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

void AddAspectLevels(const std::vector<AspectPoint>& points, double orb,
                     std::vector<Level>& levels) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        levels.push_back({Normalise(points[i].longitude - orb), LevelKind::OrbLow, i});
        levels.push_back({points[i].longitude, LevelKind::Exact, i});
        levels.push_back({Normalise(points[i].longitude + orb), LevelKind::OrbHigh, i});
    }
}

void SortLevels(std::vector<Level>& levels) {
    std::sort(levels.begin(), levels.end(),
              [](const Level& a, const Level& b) { return a.longitude < b.longitude; });
}

bool PointSearch::AddSample(double jd) {
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

std::optional<std::vector<Met>> PointSearch::Crossings(const std::vector<Level>& sorted) {
    std::vector<Met> met;
    std::vector<LevelAt> between;
    for (std::size_t k = 0; k + 1 < samples_.size(); ++k) {
        const Sample& a = samples_[k];
        const Sample& b = samples_[k + 1];
        const bool rising = Below(a, b);
        LevelsBetween(sorted, a, b, between);
        double previous = a.jd;
        for (const LevelAt& crossing : between) {
            const std::optional<double> jd = Refine(a, b, crossing.target);
            if (!jd) {
                return std::nullopt;
            }
            // Keep the order the point meets them in.
            previous = std::max(previous, *jd);
            met.push_back({previous, *crossing.level, !rising});
        }
    }
    return met;
}

// The moment within [a, b] (one direction) the longitude reaches `target`
// (on the unwrapped scale of the samples).
std::optional<double> PointSearch::Refine(const Sample& a, const Sample& b, double target) {
    const Hermite curve(a, b);
    const double h = b.jd - a.jd;
    double jd = a.jd + curve.Root(target) * h;
    if (std::fabs(curve.Slope((jd - a.jd) / h) / h) >= settings_.newtonBelowSpeed) {
        return jd;
    }
    for (int i = 0; i < settings_.refineSteps; ++i) {
        double longitude = 0.0;
        double speed = 0.0;
        if (!source_(jd, longitude, speed)) {
            return std::nullopt;
        }
        if (std::fabs(speed) < 1e-9) {
            break;
        }
        const double next = jd - Signed(longitude - target) / speed;
        // So close to a station that Newton would leave the stretch: the
        // curve's answer stands.
        if (next < a.jd || next > b.jd) {
            break;
        }
        const double moved = std::fabs(next - jd);
        jd = next;
        if (moved * kSecondsPerDay < settings_.refineSeconds) {
            break;
        }
    }
    return jd;
}

bool PointSearch::ReadSample(double jd, Sample& sample) {
    double longitude = 0.0;
    double speed = 0.0;
    if (!source_(jd, longitude, speed)) {
        return false;
    }
    Place(jd, longitude, speed, sample);
    return true;
}

// Counts the turns from the sample before.
void PointSearch::Place(double jd, double longitude, double speed, Sample& sample) const {
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

// The speed changes sign between a and b: regula falsi on the real speed (the
// Illinois variant, so neither end sticks), which runs nearly straight
// through a station, until a step moves less than the settings' seconds; the
// station goes in as a sample of speed 0.
bool PointSearch::AddStation(const Sample& a, const Sample& b) {
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
        if (!source_(t, longitude, speed)) {
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
        const double limit = settings_.stationSeconds;
        if (moved * kSecondsPerDay < limit || (tb - ta) * kSecondsPerDay < limit) {
            break;
        }
    }
    Sample station{};
    Place(t, longitude, 0.0, station);
    samples_.push_back(station);
    turns_.push_back({t, turnsRetrograde});
    return true;
}

std::optional<std::size_t> SampleOnGrid(std::vector<PointSearch>& searches,
                                        const std::vector<int>& steps, double first, double last) {
    const auto gridPoints = static_cast<std::int64_t>(std::ceil((last - first) / kGridDays));
    for (std::int64_t k = 0; k <= gridPoints; ++k) {
        const double jd = k == gridPoints ? last : first + static_cast<double>(k) * kGridDays;
        for (std::size_t i = 0; i < searches.size(); ++i) {
            if ((k == gridPoints || k % steps[i] == 0) && !searches[i].AddSample(jd)) {
                return i;
            }
        }
    }
    return std::nullopt;
}

PointEvents EventsOf(double start, const std::vector<Met>& met,
                     const std::vector<AspectPoint>& points, double orb, const TransitSpan& span,
                     const std::function<std::int64_t(double)>& toSeconds) {
    struct Open {
        bool inside = false;
        AspectWindow window{};
    };
    PointEvents events;
    std::vector<Open> open(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double d = Signed(start - points[i].longitude);
        if (d > -orb && d <= orb) {
            open[i].inside = true;
            open[i].window = {points[i].natal, points[i].kind, std::nullopt, std::nullopt, {},
                              span.fromUt};
        }
    }
    for (const Met& crossing : met) {
        const Level& level = crossing.level;
        const std::int64_t when = Clamp(toSeconds(crossing.jd), span);
        const int index = static_cast<int>(level.index);
        if (level.kind == LevelKind::Cusp) {
            // A retrograde crossing enters the house below the cusp.
            const int house = !crossing.retrograde ? index + 1 : (index == 0 ? 12 : index);
            events.ingresses.push_back({house, when, crossing.retrograde});
            continue;
        }
        if (level.kind == LevelKind::Sign) {
            const int sign = !crossing.retrograde ? index : (index + 11) % 12;
            events.signs.push_back({sign, when, crossing.retrograde});
            continue;
        }
        Open& state = open[level.index];
        const AspectPoint& point = points[level.index];
        if (level.kind == LevelKind::Exact) {
            if (!state.inside) {
                // Cannot happen between the edges; keep the pass anyway.
                state.inside = true;
                state.window = {point.natal, point.kind, when, std::nullopt, {}, when};
            }
            state.window.exact.push_back({when, crossing.retrograde});
            continue;
        }
        if (!state.inside) {
            state.inside = true;
            state.window = {point.natal, point.kind, when, std::nullopt, {}, when};
        } else {
            state.inside = false;
            state.window.leave = when;
            events.windows.push_back(std::move(state.window));
            state.window = {};
        }
    }
    for (Open& state : open) {
        if (state.inside) {
            events.windows.push_back(std::move(state.window));
        }
    }
    return events;
}

void SortWindows(std::vector<KeyedWindow>& windows) {
    std::stable_sort(windows.begin(), windows.end(),
                     [](const KeyedWindow& x, const KeyedWindow& y) {
                         if (x.window.begins != y.window.begins) {
                             return x.window.begins < y.window.begins;
                         }
                         if (x.moving != y.moving) {
                             return x.moving < y.moving;
                         }
                         if (x.window.natal != y.window.natal) {
                             return x.window.natal < y.window.natal;
                         }
                         return x.window.kind < y.window.kind;
                     });
}

std::string BuiltInNote(const std::string& adjective, const std::vector<Point>& bodies,
                        PositionSource source, const std::string& consequence) {
    std::string names;
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        names += i == 0 ? "" : i + 1 == bodies.size() ? " and " : ", ";
        names += PointName(bodies[i]);
    }
    const char* why = source == PositionSource::BuiltInOutsideFileYears
                          ? "the Swiss Ephemeris files cover only 2 January 1800 to 31 December "
                            "2399"
                          : "the Swiss Ephemeris files were not found";
    return adjective + " " + names +
           ": positions from the built-in Moshier ephemeris for part or all of the range, "
           "because " +
           why + "; " + consequence;
}

}  // namespace tolvaris::crossings
