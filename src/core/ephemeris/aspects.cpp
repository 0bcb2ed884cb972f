#include "core/ephemeris/aspects.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/ephemeris/zodiac.h"

namespace tolvaris {
namespace {

std::vector<PointLongitude> InPointOrder(std::span<const PointLongitude> points) {
    std::vector<PointLongitude> ordered(points.begin(), points.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const PointLongitude& a, const PointLongitude& b) {
                         return IndexOf(a.point) < IndexOf(b.point);
                     });
    return ordered;
}

std::optional<Aspect> AspectOf(const PointLongitude& a, const PointLongitude& b, const Orbs& orbs) {
    const double separation = AngularSeparation(a.longitude, b.longitude);
    // Orbs above kMaxOrb are refused earlier; should larger ones get here,
    // the closest aspect wins.
    std::optional<Aspect> best;
    for (const AspectRow& row : kAspects) {
        const double orb = std::fabs(separation - row.exactAngle);
        if (orb <= orbs[row.kind] && (!best || orb < best->orb)) {
            best = Aspect{a.point, b.point, row.kind, row.family, orb};
        }
    }
    return best;
}

}  // namespace

std::string ValidateOrbs(const Orbs& orbs) {
    for (const AspectRow& row : kAspects) {
        const double orb = orbs[row.kind];
        // Written so that NaN fails too.
        if (!(orb >= 0.0 && orb <= kMaxOrb)) {
            return std::string(row.label) + " orb must lie between 0 and 15 degrees.";
        }
    }
    return {};
}

std::string AspectKindNamesText() {
    std::string text;
    for (const AspectRow& row : kAspects) {
        if (!text.empty()) {
            text += ", ";
        }
        text += row.name;
    }
    return text;
}

double AngularSeparation(double a, double b) {
    const double difference = NormaliseDegrees(a - b);
    return difference > 180.0 ? 360.0 - difference : difference;
}

std::vector<Aspect> FindAspects(std::span<const PointLongitude> points, const Orbs& orbs) {
    const std::vector<PointLongitude> ordered = InPointOrder(points);
    std::vector<Aspect> aspects;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        // Within one list a pair is counted once, each point with the later ones.
        const std::span<const PointLongitude> later(
            ordered.begin() + static_cast<std::ptrdiff_t>(i) + 1, ordered.end());
        for (const PointLongitude& other : later) {
            if (std::optional<Aspect> aspect = AspectOf(ordered[i], other, orbs)) {
                aspects.push_back(*aspect);
            }
        }
    }
    return aspects;
}

std::vector<Aspect> FindAspectsBetween(std::span<const PointLongitude> first,
                                       std::span<const PointLongitude> second, const Orbs& orbs) {
    const std::vector<PointLongitude> left = InPointOrder(first);
    const std::vector<PointLongitude> right = InPointOrder(second);
    std::vector<Aspect> aspects;
    for (const PointLongitude& a : left) {
        for (const PointLongitude& b : right) {
            if (std::optional<Aspect> aspect = AspectOf(a, b, orbs)) {
                aspects.push_back(*aspect);
            }
        }
    }
    return aspects;
}

}  // namespace tolvaris
