#include "core/relation/relation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/ephemeris/zodiac.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Sun ... Pluto and the Ascendant share their values with Point.
Point AsPoint(NatalPoint point) {
    return static_cast<Point>(point);
}

std::vector<PointLongitude> WithoutMidheaven(const std::vector<NatalTarget>& targets) {
    std::vector<PointLongitude> points;
    for (const NatalTarget& target : targets) {
        if (target.point != NatalPoint::Midheaven) {
            points.push_back({AsPoint(target.point), target.longitude});
        }
    }
    return points;
}

std::optional<std::vector<HouseOverlay>> Overlays(const Chart& bodiesOf, const Chart& housesOf) {
    if (!housesOf.cusps) {
        return std::nullopt;
    }
    std::vector<HouseOverlay> overlays;
    for (const BodyPlacement& body : bodiesOf.bodies) {
        if (const std::optional<int> house = HouseOf(body.longitude, *housesOf.cusps)) {
            overlays.push_back({body.body, *house});
        }
    }
    return overlays;
}

std::string NameOrStandIn(const std::string& name, const char* standIn) {
    return name.empty() ? std::string(standIn) : name;
}

AnglePlacement AngleAt(double longitude) {
    return {longitude, SignIndex(longitude), DegreeInSign(longitude)};
}

// The second chart's cusps in the first chart's system.
std::optional<HouseCusps> CuspsInSystemOf(Ephemeris& ephemeris, const BirthChart& first,
                                          const BirthChart& second, std::string& error,
                                          std::vector<std::string>& notes) {
    const Chart& a = first.chart;
    const Chart& b = second.chart;
    if (b.houseSystemUsed == a.houseSystemUsed) {
        return b.cusps;
    }
    const Ephemeris::HouseReading houses = ephemeris.ReadHouses(
        b.julianDayUt, second.input.latitude, second.input.longitude, *a.houseSystemUsed);
    if (!houses.ok) {
        error = "The houses could not be computed: " + houses.message;
        return std::nullopt;
    }
    const std::string system(HouseSystemDisplayName(*a.houseSystemUsed));
    const std::string name = NameOrStandIn(second.input.name, "the second chart");
    if (houses.used != *a.houseSystemUsed) {
        notes.push_back(system + " houses cannot be computed for " + name + "'s birthplace; " +
                        std::string(HouseSystemDisplayName(houses.used)) +
                        " cusps of that chart are used for the composite.");
    } else {
        notes.push_back("For the composite, " + name + "'s house cusps are computed in the " +
                        system + " system of the first chart.");
    }
    HouseCusps cusps;
    for (std::size_t i = 0; i < cusps.size(); ++i) {
        cusps[i] = NormaliseDegrees(houses.cusps[i]);
    }
    return cusps;
}

}  // namespace

Synastry ComputeSynastry(const Chart& first, const Chart& second, const Orbs& orbs) {
    const std::vector<NatalTarget> a = NatalTargets(first);
    const std::vector<NatalTarget> b = NatalTargets(second);
    Synastry synastry;
    const std::vector<PointLongitude> aPoints = WithoutMidheaven(a);
    const std::vector<PointLongitude> bPoints = WithoutMidheaven(b);
    for (const Aspect& aspect : FindAspectsBetween(aPoints, bPoints, orbs)) {
        synastry.aspects.push_back({static_cast<NatalPoint>(aspect.first),
                                    static_cast<NatalPoint>(aspect.second), aspect.kind,
                                    aspect.family, aspect.orb});
    }
    // Point has no Midheaven: its pairs go through the same matching one at
    // a time, under a stand-in name.
    for (const NatalTarget& x : a) {
        for (const NatalTarget& y : b) {
            if (x.point != NatalPoint::Midheaven && y.point != NatalPoint::Midheaven) {
                continue;
            }
            const std::array<PointLongitude, 1> left = {{{Point::Sun, x.longitude}}};
            const std::array<PointLongitude, 1> right = {{{Point::Sun, y.longitude}}};
            for (const Aspect& aspect : FindAspectsBetween(left, right, orbs)) {
                synastry.aspects.push_back(
                    {x.point, y.point, aspect.kind, aspect.family, aspect.orb});
            }
        }
    }
    std::stable_sort(synastry.aspects.begin(), synastry.aspects.end(),
                     [](const InterAspect& l, const InterAspect& r) {
                         return l.first != r.first ? l.first < r.first : l.second < r.second;
                     });
    synastry.firstInSecondHouses = Overlays(first, second);
    synastry.secondInFirstHouses = Overlays(second, first);
    return synastry;
}

double NearerMidpoint(double a, double b) {
    const double forward = NormaliseDegrees(b - a);
    if (forward == 180.0) {
        return NormaliseDegrees(b + 90.0);
    }
    return NormaliseDegrees(forward < 180.0 ? a + forward / 2.0 : a - (360.0 - forward) / 2.0);
}

std::string PairName(const std::string& first, const std::string& second) {
    return NameOrStandIn(first, "the first chart") + " and " +
           NameOrStandIn(second, "the second chart");
}

CompositeResult ComputeComposite(Ephemeris& ephemeris, const BirthChart& first,
                                 const BirthChart& second) {
    const Chart& a = first.chart;
    const Chart& b = second.chart;
    CompositeChart composite;
    composite.firstName = first.input.name;
    composite.secondName = second.input.name;
    Chart& chart = composite.chart;
    chart.houseSystemRequested = a.houseSystemRequested;
    chart.ephemeris = a.ephemeris == EphemerisUsed::Swiss && b.ephemeris == EphemerisUsed::Swiss
                          ? EphemerisUsed::Swiss
                          : EphemerisUsed::Moshier;
    composite.notes.push_back("The composite chart of " +
                              PairName(first.input.name, second.input.name) +
                              ": each point halfway between theirs along the shorter arc.");
    if (a.cusps && b.cusps && a.ascendant && b.ascendant && a.midheaven && b.midheaven) {
        std::string error;
        const std::optional<HouseCusps> bCusps =
            CuspsInSystemOf(ephemeris, first, second, error, composite.notes);
        if (!bCusps) {
            return {std::nullopt, error};
        }
        HouseCusps cusps;
        for (std::size_t i = 0; i < cusps.size(); ++i) {
            cusps[i] = NearerMidpoint((*a.cusps)[i], (*bCusps)[i]);
        }
        chart.cusps = cusps;
        chart.ascendant = AngleAt(NearerMidpoint(a.ascendant->longitude, b.ascendant->longitude));
        chart.midheaven = AngleAt(NearerMidpoint(a.midheaven->longitude, b.midheaven->longitude));
        chart.houseSystemUsed = a.houseSystemUsed;
    } else {
        composite.notes.emplace_back(
            "A birth time is unknown, so the composite has no houses, Ascendant or Midheaven, "
            "and its Moon may be a few degrees off.");
    }
    std::vector<PointLongitude> forAspects;
    for (std::size_t i = 0; i < a.bodies.size() && i < b.bodies.size(); ++i) {
        const BodyPlacement& x = a.bodies[i];
        const BodyPlacement& y = b.bodies[i];
        const double longitude = NearerMidpoint(x.longitude, y.longitude);
        const double speed = (x.speed + y.speed) / 2.0;
        std::optional<int> house;
        if (chart.cusps) {
            house = HouseOf(longitude, *chart.cusps);
        }
        chart.bodies.push_back({x.body, x.name, longitude, speed, SignIndex(longitude),
                                DegreeInSign(longitude), house, speed < 0.0});
        forAspects.push_back({x.body, longitude});
    }
    if (chart.ascendant) {
        forAspects.push_back({Point::Ascendant, chart.ascendant->longitude});
    }
    chart.aspects = FindAspects(forAspects, first.input.orbs);
    chart.notes = composite.notes;
    return {std::move(composite), {}};
}

DavisonMoment DavisonMomentOf(const BirthChart& first, const BirthChart& second) {
    DavisonMoment moment;
    const std::int64_t sum = first.universalTime.unixSeconds + second.universalTime.unixSeconds;
    moment.utSeconds = sum >= 0 ? sum / 2 : (sum - 1) / 2;
    moment.latitude = (first.input.latitude + second.input.latitude) / 2.0;
    double east = second.input.longitude - first.input.longitude;
    if (east > 180.0) {
        east -= 360.0;
    } else if (east < -180.0) {
        east += 360.0;
    }
    double longitude = first.input.longitude + east / 2.0;
    if (longitude > 180.0) {
        longitude -= 360.0;
    } else if (longitude < -180.0) {
        longitude += 360.0;
    }
    moment.longitude = longitude;
    moment.timeKnown = first.input.time.has_value() && second.input.time.has_value();
    return moment;
}

DavisonResult ComputeDavison(Ephemeris& ephemeris, const BirthChart& first,
                             const BirthChart& second) {
    const DavisonMoment moment = DavisonMomentOf(first, second);
    ChartRequest request;
    request.utSeconds = moment.utSeconds;
    request.timeKnown = moment.timeKnown;
    request.latitude = moment.latitude;
    request.longitude = moment.longitude;
    request.houseSystem = first.input.houseSystem;
    request.orbs = first.input.orbs;
    ChartResult computed = ComputeChart(ephemeris, request);
    if (!computed.Ok()) {
        return {std::nullopt, computed.error};
    }
    BirthChart davison;
    davison.birth = false;
    BirthData& input = davison.input;
    input.name = "Davison: " + PairName(first.input.name, second.input.name);
    const std::int64_t days = moment.utSeconds >= 0
                                  ? moment.utSeconds / kSecondsPerDay
                                  : (moment.utSeconds - kSecondsPerDay + 1) / kSecondsPerDay;
    input.date = DateFromDaysSinceEpoch(days);
    const auto secondOfDay = static_cast<int>(moment.utSeconds - days * kSecondsPerDay);
    if (moment.timeKnown) {
        input.time = CivilTime{secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
    }
    input.latitude = moment.latitude;
    input.longitude = moment.longitude;
    input.utcOffsetSeconds = 0;
    input.houseSystem = first.input.houseSystem;
    input.orbs = first.input.orbs;
    davison.universalTime.unixSeconds = moment.utSeconds;
    davison.universalTime.source = OffsetSource::Given;
    davison.chart = std::move(*computed.chart);
    std::vector<std::string>& notes = davison.chart.notes;
    if (!moment.timeKnown && !notes.empty()) {
        // The chart's own note speaks of 12:00 local time, which is not
        // this moment.
        notes.erase(notes.begin());
        notes.insert(notes.begin(),
                     "A birth time is unknown: the moment lies halfway between the two births' "
                     "12:00 local time, so the Moon may be a few degrees off; houses, Ascendant "
                     "and Midheaven are left out.");
    }
    notes.insert(notes.begin(), "The Davison chart of " +
                                    PairName(first.input.name, second.input.name) +
                                    ": the moment halfway between their births, at the point "
                                    "halfway between their birthplaces.");
    davison.notes = notes;
    return {std::move(davison), {}};
}

}  // namespace tolvaris
