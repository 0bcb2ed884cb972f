#include <array>

#include "core/forecast/transits.h"
#include "core/sky/chart.h"

namespace tolvaris {

std::string_view NatalPointName(NatalPoint point) {
    if (point == NatalPoint::Midheaven) {
        return "Midheaven";
    }
    return PointName(static_cast<Point>(point));
}

std::optional<Point> BodyOf(NatalPoint point) {
    if (point >= NatalPoint::Ascendant) {
        return std::nullopt;
    }
    return static_cast<Point>(point);
}

std::vector<NatalTarget> NatalTargets(const Chart& natal) {
    std::vector<NatalTarget> targets;
    for (const BodyPlacement& body : natal.bodies) {
        targets.push_back({static_cast<NatalPoint>(body.body), body.longitude});
    }
    if (natal.ascendant && natal.midheaven) {
        targets.push_back({NatalPoint::Ascendant, natal.ascendant->longitude});
        targets.push_back({NatalPoint::Midheaven, natal.midheaven->longitude});
    }
    return targets;
}

std::vector<Point> DefaultTransitBodies() {
    return {Point::Sun,    Point::Mercury, Point::Venus,   Point::Mars, Point::Jupiter,
            Point::Saturn, Point::Uranus,  Point::Neptune, Point::Pluto};
}

std::vector<Point> AllTransitBodies() {
    std::vector<Point> all = DefaultTransitBodies();
    all.insert(all.begin() + 1, Point::Moon);
    return all;
}

}  // namespace tolvaris
