// Secondary progressions. The bodies' events are the crossing search run
// over the span of progressed time; the angles are not bodies, but the
// Midheaven is the progressed Sun shifted by a constant, and the Ascendant a
// function of that Midheaven, so the same search runs on them as sources of
// their own. Every moment found in progressed time is mapped back to real
// time, where one second of progressed time is 365 seconds: refinement is
// taken to a hundredth of a progressed second. See docs/progressions.md.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ephemeris/ephemeris.h"
#include "core/ephemeris/ut_instant.h"
#include "core/ephemeris/zodiac.h"
#include "core/forecast/crossing_search.h"
#include "core/forecast/progressions.h"
#include "core/sky/sky_positions.h"

namespace tolvaris {
namespace {

using crossings::AspectPoint;
using crossings::Level;
using crossings::LevelKind;
using crossings::Normalise;
using crossings::Signed;

constexpr double kSecondsPerDay = 86400.0;
constexpr double kPi = 3.14159265358979323846;
constexpr double kRadians = kPi / 180.0;

std::int64_t NatalSeconds(const Chart& natal) {
    return std::llround((natal.julianDayUt - kUnixEpochJulianDay) * kSecondsPerDay);
}

double NatalSun(const Chart& natal) {
    return natal.bodies.empty() ? 0.0 : natal.bodies.front().longitude;
}

bool HasAngles(const Chart& natal) {
    return natal.ascendant && natal.midheaven && natal.cusps;
}

HouseSystem SystemOf(const Chart& natal) {
    return natal.houseSystemUsed.value_or(natal.houseSystemRequested);
}

AnglePlacement PlaceAngle(double longitude) {
    const double normalised = NormaliseDegrees(longitude);
    return {normalised, SignIndex(normalised), DegreeInSign(normalised)};
}

// The right ascension of an ecliptic longitude (latitude 0).
double RightAscension(double longitude, double obliquity) {
    const double l = longitude * kRadians;
    return Normalise(std::atan2(std::sin(l) * std::cos(obliquity * kRadians), std::cos(l)) /
                     kRadians);
}

// The progressed angles of one progressed instant.
struct Angles {
    double midheaven = 0.0;
    double midheavenSpeed = 0.0;  // degrees per progressed day
    double ascendant = 0.0;
    double ascendantSpeed = 0.0;
    Ephemeris::HouseReading houses;
};

// Reads the progressed Midheaven and Ascendant; the Ascendant's speed is
// its rate against the Midheaven (a central difference, which needs no
// further reading of the Sun) times the Midheaven's speed.
class AngleReader {
public:
    AngleReader(Ephemeris& ephemeris, const Chart& natal, double latitude)
        : ephemeris_(ephemeris),
          sun_(ephemeris, Point::Sun),
          shift_(natal.midheaven ? natal.midheaven->longitude - NatalSun(natal) : 0.0),
          latitude_(latitude),
          system_(SystemOf(natal)) {}

    bool Read(double jd, bool withHouses, Angles& angles) {
        double sun = 0.0;
        double speed = 0.0;
        if (!sun_.Read(jd, sun, speed)) {
            error_ = sun_.Error();
            return false;
        }
        angles.midheaven = Normalise(sun + shift_);
        angles.midheavenSpeed = speed;
        if (!withHouses) {
            return true;
        }
        const Ephemeris::ObliquityReading obliquity = ephemeris_.ReadTrueObliquity(jd);
        if (!obliquity.ok) {
            error_ = obliquity.message;
            return false;
        }
        const auto houses = [&](double midheaven) {
            return ephemeris_.ReadHousesFromArmc(RightAscension(midheaven, obliquity.degrees),
                                                 latitude_, obliquity.degrees, system_);
        };
        angles.houses = houses(angles.midheaven);
        constexpr double kDelta = 0.001;
        const Ephemeris::HouseReading before = houses(angles.midheaven - kDelta);
        const Ephemeris::HouseReading after = houses(angles.midheaven + kDelta);
        if (!angles.houses.ok || !before.ok || !after.ok) {
            error_ = "The progressed houses could not be computed: " + angles.houses.message;
            return false;
        }
        angles.ascendant = Normalise(angles.houses.ascendant);
        angles.ascendantSpeed =
            Signed(after.ascendant - before.ascendant) / (2 * kDelta) * angles.midheavenSpeed;
        return true;
    }

    const std::string& Error() const { return error_; }
    std::optional<PositionSource> BuiltIn() const { return sun_.BuiltIn(); }

private:
    Ephemeris& ephemeris_;
    crossings::BodyReader sun_;
    double shift_;
    double latitude_;
    HouseSystem system_;
    std::string error_;
};

// The points whose aspects a progressed chart lists.
constexpr NatalPoint kAspecting[] = {NatalPoint::Sun,      NatalPoint::Moon, NatalPoint::Mercury,
                                     NatalPoint::Venus,    NatalPoint::Mars, NatalPoint::Ascendant,
                                     NatalPoint::Midheaven};

bool Contains(const std::vector<NatalPoint>& points, NatalPoint point) {
    return std::find(points.begin(), points.end(), point) != points.end();
}

bool Contains(const std::vector<Point>& points, Point point) {
    return std::find(points.begin(), points.end(), point) != points.end();
}

void AddAspects(NatalPoint progressed, double longitude, double speed,
                const std::vector<AspectPoint>& points, double orb,
                std::vector<ProgressedAspectInEffect>& out) {
    for (const AspectPoint& point : points) {
        const double d = Signed(longitude - point.longitude);
        if (std::fabs(d) <= orb) {
            out.push_back({progressed, point.natal, point.kind, std::fabs(d), d * speed < 0.0});
        }
    }
}

// Refinement in progressed time: Newton to a hundredth of a second, which
// is 3.65 seconds of real time; stations to a fiftieth, 7 seconds.
const crossings::SearchSettings kProgressed = crossings::SearchSettings::Fine();

// The Ascendant is sampled at every grid point: it can run at several
// degrees a year in high latitudes.
constexpr int kAscendantSteps = 1;

// One progressed point of the search and what is asked of it.
struct Moving {
    NatalPoint point;
    bool aspects;  // its aspects to the natal points
    bool placed;   // its signs, natal houses and stations
};

}  // namespace

double ProgressedJulianDay(const Chart& natal, std::int64_t utSeconds) {
    const auto lived = static_cast<double>(utSeconds - NatalSeconds(natal));
    return natal.julianDayUt + lived / (kSecondsPerDay * kDaysPerProgressedDay);
}

std::int64_t RealMomentOf(const Chart& natal, double progressedJulianDayUt) {
    return NatalSeconds(natal) + std::llround((progressedJulianDayUt - natal.julianDayUt) *
                                              kSecondsPerDay * kDaysPerProgressedDay);
}

ProgressedChartResult ComputeProgressedChart(Ephemeris& ephemeris, const Chart& natal,
                                             double birthLatitude, std::int64_t utSeconds,
                                             double orb) {
    ProgressedChartResult result;
    ProgressedChart chart;
    chart.targetUt = utSeconds;
    chart.progressedJulianDayUt = ProgressedJulianDay(natal, utSeconds);
    chart.progressedUt =
        std::llround((chart.progressedJulianDayUt - kUnixEpochJulianDay) * kSecondsPerDay);

    const SkyPositions sky = PositionsAt(ephemeris, chart.progressedJulianDayUt, kBodies);
    if (!sky.Ok()) {
        result.error = sky.error;
        return result;
    }
    for (const SkyPosition& position : sky.positions) {
        std::optional<int> house;
        if (natal.cusps) {
            house = HouseOf(position.longitude, *natal.cusps);
        }
        chart.bodies.push_back({position.body, PointName(position.body), position.longitude,
                                position.speed, position.sign, position.degreeInSign, house,
                                position.retrograde});
    }
    chart.solarArc = Normalise(chart.bodies.front().longitude - NatalSun(natal));

    const std::vector<AspectPoint> points = crossings::AspectPointsOf(NatalTargets(natal));
    for (const NatalPoint point : kAspecting) {
        if (const std::optional<Point> body = BodyOf(point)) {
            const BodyPlacement& placement = chart.bodies[IndexOf(*body)];
            AddAspects(point, placement.longitude, placement.speed, points, orb,
                       chart.aspectsToNatal);
        }
    }
    if (HasAngles(natal)) {
        AngleReader reader(ephemeris, natal, birthLatitude);
        Angles angles;
        if (!reader.Read(chart.progressedJulianDayUt, true, angles)) {
            result.error = reader.Error();
            return result;
        }
        chart.midheaven = PlaceAngle(angles.midheaven);
        chart.ascendant = PlaceAngle(angles.ascendant);
        HouseCusps cusps{};
        for (std::size_t i = 0; i < cusps.size(); ++i) {
            cusps[i] = NormaliseDegrees(angles.houses.cusps[i]);
        }
        chart.cusps = cusps;
        chart.houseSystemUsed = angles.houses.used;
        if (angles.houses.used != SystemOf(natal)) {
            chart.notes.push_back(std::string(HouseSystemDisplayName(SystemOf(natal))) +
                                  " houses cannot be computed for the progressed Midheaven at "
                                  "this latitude; " +
                                  std::string(HouseSystemDisplayName(angles.houses.used)) +
                                  " houses are shown instead.");
        }
        AddAspects(NatalPoint::Ascendant, angles.ascendant, angles.ascendantSpeed, points, orb,
                   chart.aspectsToNatal);
        AddAspects(NatalPoint::Midheaven, angles.midheaven, angles.midheavenSpeed, points, orb,
                   chart.aspectsToNatal);
    } else {
        chart.notes.emplace_back(
            "The birth time is unknown: the progressed positions are for a birth at 12:00 local "
            "time, and the progressed Ascendant, Midheaven and houses are left out.");
    }
    if (sky.source != PositionSource::Files) {
        chart.notes.emplace_back(
            "The progressed positions come from the built-in Moshier ephemeris, because the "
            "Swiss Ephemeris files do not cover the progressed instant or were not found.");
    }
    result.chart = std::move(chart);
    return result;
}

ProgressionSearch FindProgressions(Ephemeris& ephemeris, const Chart& natal, double birthLatitude,
                                   const TransitSpan& span, const ProgressionSettings& settings) {
    ProgressionSearch search;
    if (span.toUt <= span.fromUt || natal.bodies.empty()) {
        return search;
    }
    const auto toSeconds = [&natal](double jd) { return RealMomentOf(natal, jd); };
    const std::vector<AspectPoint> points = crossings::AspectPointsOf(NatalTargets(natal));
    const double orb = settings.orb;

    // The bodies asked for, then the angles; each sampled on the grid, the
    // Midheaven with the Sun's step, of which it is a shifted copy.
    std::vector<Moving> moving;
    for (const Point body : kBodies) {
        const auto point = static_cast<NatalPoint>(body);
        const bool aspects = Contains(settings.aspecting, point);
        const bool placed = Contains(settings.bodies, body);
        if (aspects || placed) {
            moving.push_back({point, aspects, placed});
        }
    }
    if (HasAngles(natal)) {
        for (const NatalPoint angle : {NatalPoint::Ascendant, NatalPoint::Midheaven}) {
            if (Contains(settings.aspecting, angle)) {
                moving.push_back({angle, true, false});
            }
        }
    }
    std::vector<crossings::BodyReader> readers;
    std::vector<AngleReader> angleReaders;
    readers.reserve(moving.size());
    angleReaders.reserve(moving.size());
    std::vector<crossings::PointSearch> searches;
    std::vector<int> steps;
    std::vector<std::function<std::string()>> errors;
    for (const Moving& m : moving) {
        if (const std::optional<Point> body = BodyOf(m.point)) {
            crossings::BodyReader& reader = readers.emplace_back(ephemeris, *body);
            searches.emplace_back(
                [&reader](double jd, double& longitude, double& speed) {
                    return reader.Read(jd, longitude, speed);
                },
                kProgressed);
            steps.push_back(crossings::GridStepsOf(*body));
            errors.emplace_back([&reader] { return reader.Error(); });
            continue;
        }
        const bool ascendant = m.point == NatalPoint::Ascendant;
        AngleReader& reader = angleReaders.emplace_back(ephemeris, natal, birthLatitude);
        searches.emplace_back(
            [&reader, ascendant](double jd, double& longitude, double& speed) {
                Angles angles;
                if (!reader.Read(jd, ascendant, angles)) {
                    return false;
                }
                longitude = ascendant ? angles.ascendant : angles.midheaven;
                speed = ascendant ? angles.ascendantSpeed : angles.midheavenSpeed;
                return true;
            },
            kProgressed);
        steps.push_back(ascendant ? kAscendantSteps : crossings::GridStepsOf(Point::Sun));
        errors.emplace_back([&reader] { return reader.Error(); });
    }
    if (const std::optional<std::size_t> failed =
            crossings::SampleOnGrid(searches, steps, ProgressedJulianDay(natal, span.fromUt),
                                    ProgressedJulianDay(natal, span.toUt))) {
        return ProgressionSearch{{}, {}, {}, {}, {}, errors[*failed]()};
    }

    std::vector<crossings::KeyedWindow> windows;
    for (std::size_t i = 0; i < moving.size(); ++i) {
        const Moving& m = moving[i];
        std::vector<Level> levels;
        if (m.aspects) {
            crossings::AddAspectLevels(points, orb, levels);
        }
        if (m.placed) {
            for (std::size_t sign = 0; sign < 12; ++sign) {
                levels.push_back({30.0 * static_cast<double>(sign), LevelKind::Sign, sign});
            }
            if (natal.cusps) {
                for (std::size_t c = 0; c < natal.cusps->size(); ++c) {
                    levels.push_back({Normalise((*natal.cusps)[c]), LevelKind::Cusp, c});
                }
            }
        }
        crossings::SortLevels(levels);
        const std::optional<std::vector<crossings::Met>> met = searches[i].Crossings(levels);
        if (!met) {
            return ProgressionSearch{{}, {}, {}, {}, {}, errors[i]()};
        }
        // A point not asked for aspects opens no window, not even at the start.
        const crossings::PointEvents events = crossings::EventsOf(
            searches[i].Samples().front().unwrapped, *met,
            m.aspects ? points : std::vector<AspectPoint>{}, orb, span, toSeconds);
        for (const crossings::AspectWindow& window : events.windows) {
            windows.push_back({static_cast<int>(m.point), window});
        }
        const std::optional<Point> body = BodyOf(m.point);
        if (!body || !m.placed) {
            continue;
        }
        for (const crossings::Ingress& ingress : events.ingresses) {
            search.ingresses.push_back(
                {*body, ingress.house, ingress.utSeconds, ingress.retrograde});
        }
        for (const crossings::SignEntry& entry : events.signs) {
            search.signChanges.push_back({*body, entry.sign, entry.utSeconds, entry.retrograde});
        }
        for (const crossings::Turn& turn : searches[i].Turns()) {
            search.stations.push_back({*body, toSeconds(turn.jd), turn.turnsRetrograde});
        }
    }
    std::vector<Point> builtInBodies;
    std::optional<PositionSource> builtInSource;
    for (const crossings::BodyReader& reader : readers) {
        if (const std::optional<PositionSource> source = reader.BuiltIn()) {
            builtInBodies.push_back(reader.Body());
            if (!builtInSource || *source == PositionSource::BuiltInFilesMissing) {
                builtInSource = source;
            }
        }
    }

    crossings::SortWindows(windows);
    for (crossings::KeyedWindow& item : windows) {
        crossings::AspectWindow& w = item.window;
        search.aspects.push_back({static_cast<NatalPoint>(item.moving), w.natal, w.kind, w.enter,
                                  w.leave, std::move(w.exact)});
    }
    const auto byTime = [](const auto& x, const auto& y) { return x.utSeconds < y.utSeconds; };
    std::stable_sort(search.signChanges.begin(), search.signChanges.end(), byTime);
    std::stable_sort(search.ingresses.begin(), search.ingresses.end(), byTime);
    std::stable_sort(search.stations.begin(), search.stations.end(), byTime);

    if (builtInSource) {
        search.notes.push_back(crossings::BuiltInNote(
            "Progressed", builtInBodies, *builtInSource,
            "a second of arc is hours of real time for the slower points, so the dates may "
            "differ by some hours."));
    }
    if (!HasAngles(natal)) {
        search.notes.emplace_back(
            "The birth time is unknown, so the progressed Ascendant and Midheaven and the natal "
            "house ingresses are left out; the positions are for a birth at 12:00 local time, "
            "and as a day of progressed time is a year of life, every date may be off by up to "
            "about half a year.");
    }
    return search;
}

}  // namespace tolvaris
