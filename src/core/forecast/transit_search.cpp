// The transit search: every body's longitude sampled on one grid, instant by
// instant, and each crossing of an aspect point, an orb edge or a cusp
// located by the shared crossing search (core/forecast/crossing_search.h).
// See docs/transits.md for the method and its accuracy.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ephemeris/ephemeris.h"
#include "core/ephemeris/ut_instant.h"
#include "core/forecast/crossing_search.h"
#include "core/forecast/transits.h"
#include "core/sky/chart.h"

namespace tolvaris {
namespace {

using crossings::AspectPoint;
using crossings::Level;
using crossings::LevelKind;
using crossings::Signed;

constexpr double kSecondsPerDay = 86400.0;

double JulianDayOf(std::int64_t utSeconds) {
    return JulianDayUtFromUnixSeconds(utSeconds);
}

std::int64_t SecondsOf(double julianDayUt) {
    return std::llround((julianDayUt - kUnixEpochJulianDay) * kSecondsPerDay);
}

}  // namespace

TransitSearch FindTransits(Ephemeris& ephemeris, const Chart& natal, const TransitSpan& span,
                           const TransitSettings& settings) {
    TransitSearch search;
    if (span.toUt <= span.fromUt) {
        return search;
    }
    const std::vector<AspectPoint> points = crossings::AspectPointsOf(NatalTargets(natal));
    const double orb = settings.orb;

    std::vector<Level> levels;
    crossings::AddAspectLevels(points, orb, levels);
    if (natal.cusps) {
        for (std::size_t i = 0; i < natal.cusps->size(); ++i) {
            levels.push_back({crossings::Normalise((*natal.cusps)[i]), LevelKind::Cusp, i});
        }
    }
    crossings::SortLevels(levels);

    // Every body sampled, instant by instant.
    std::vector<crossings::BodyReader> readers;
    readers.reserve(settings.bodies.size());
    std::vector<crossings::PointSearch> searches;
    std::vector<int> steps;
    for (const Point body : settings.bodies) {
        crossings::BodyReader& reader = readers.emplace_back(ephemeris, body);
        searches.emplace_back(
            [&reader](double jd, double& longitude, double& speed) {
                return reader.Read(jd, longitude, speed);
            },
            crossings::SearchSettings{});
        steps.push_back(crossings::GridStepsOf(body));
    }
    if (const std::optional<std::size_t> failed = crossings::SampleOnGrid(
            searches, steps, JulianDayOf(span.fromUt), JulianDayOf(span.toUt))) {
        return TransitSearch{{}, {}, {}, {}, readers[*failed].Error()};
    }

    std::vector<crossings::KeyedWindow> windows;
    std::vector<Point> builtInBodies;
    std::optional<PositionSource> builtInSource;
    for (std::size_t i = 0; i < searches.size(); ++i) {
        const Point body = readers[i].Body();
        const std::optional<std::vector<crossings::Met>> met = searches[i].Crossings(levels);
        if (!met) {
            return TransitSearch{{}, {}, {}, {}, readers[i].Error()};
        }
        const crossings::PointEvents events = crossings::EventsOf(
            searches[i].Samples().front().unwrapped, *met, points, orb, span, SecondsOf);
        for (const crossings::AspectWindow& window : events.windows) {
            windows.push_back({static_cast<int>(body), window});
        }
        for (const crossings::Ingress& ingress : events.ingresses) {
            search.ingresses.push_back(
                {body, ingress.house, ingress.utSeconds, ingress.retrograde});
        }
        for (const crossings::Turn& turn : searches[i].Turns()) {
            search.stations.push_back({body, SecondsOf(turn.jd), turn.turnsRetrograde});
        }
        if (const std::optional<PositionSource> source = readers[i].BuiltIn()) {
            builtInBodies.push_back(body);
            if (!builtInSource || *source == PositionSource::BuiltInFilesMissing) {
                builtInSource = source;
            }
        }
    }

    crossings::SortWindows(windows);
    for (crossings::KeyedWindow& item : windows) {
        crossings::AspectWindow& w = item.window;
        search.transits.push_back({static_cast<Point>(item.moving), w.natal, w.kind, w.enter,
                                   w.leave, std::move(w.exact)});
    }
    std::stable_sort(
        search.ingresses.begin(), search.ingresses.end(),
        [](const HouseIngress& x, const HouseIngress& y) { return x.utSeconds < y.utSeconds; });
    std::stable_sort(search.stations.begin(), search.stations.end(),
                     [](const Station& x, const Station& y) { return x.utSeconds < y.utSeconds; });

    if (builtInSource) {
        search.notes.push_back(crossings::BuiltInNote(
            "Transiting", builtInBodies, *builtInSource,
            "those positions differ from the files' by up to about 10 seconds of arc, which "
            "moves a moment by up to a minute or so for the Sun and the Moon and by hours for "
            "the slowest planets."));
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
    const std::vector<AspectPoint> points = crossings::AspectPointsOf(NatalTargets(natal));
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
