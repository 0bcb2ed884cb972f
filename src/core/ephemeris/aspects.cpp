#include "core/ephemeris/aspects.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/ephemeris/zodiac.h"

namespace tolvaris {
namespace {

constexpr std::array<AspectKind, 5> kKinds = {AspectKind::Conjunction, AspectKind::Sextile,
                                              AspectKind::Square, AspectKind::Trine,
                                              AspectKind::Opposition};

double OrbFor(AspectKind kind, const Orbs& orbs) {
    switch (kind) {
        case AspectKind::Conjunction:
            return orbs.conjunction;
        case AspectKind::Sextile:
            return orbs.sextile;
        case AspectKind::Square:
            return orbs.square;
        case AspectKind::Trine:
            return orbs.trine;
        case AspectKind::Opposition:
            return orbs.opposition;
    }
    return 0.0;
}

std::string OrbFieldName(AspectKind kind) {
    std::string name(AspectKindName(kind));
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name + " orb";
}

}  // namespace

std::string ValidateOrbs(const Orbs& orbs) {
    for (AspectKind kind : kKinds) {
        const double orb = OrbFor(kind, orbs);
        // Written so that NaN fails too.
        if (!(orb >= 0.0 && orb <= kMaxOrb)) {
            return OrbFieldName(kind) + " must lie between 0 and 15 degrees.";
        }
    }
    return {};
}

double ExactAngle(AspectKind kind) {
    switch (kind) {
        case AspectKind::Conjunction:
            return 0.0;
        case AspectKind::Sextile:
            return 60.0;
        case AspectKind::Square:
            return 90.0;
        case AspectKind::Trine:
            return 120.0;
        case AspectKind::Opposition:
            return 180.0;
    }
    return 0.0;
}

AspectFamily FamilyOf(AspectKind kind) {
    switch (kind) {
        case AspectKind::Conjunction:
            return AspectFamily::Blending;
        case AspectKind::Sextile:
        case AspectKind::Trine:
            return AspectFamily::Harmonizing;
        case AspectKind::Square:
        case AspectKind::Opposition:
            return AspectFamily::Discordant;
    }
    return AspectFamily::Blending;
}

std::string_view AspectKindName(AspectKind kind) {
    switch (kind) {
        case AspectKind::Conjunction:
            return "conjunction";
        case AspectKind::Sextile:
            return "sextile";
        case AspectKind::Square:
            return "square";
        case AspectKind::Trine:
            return "trine";
        case AspectKind::Opposition:
            return "opposition";
    }
    return "";
}

std::string_view AspectFamilyName(AspectFamily family) {
    switch (family) {
        case AspectFamily::Blending:
            return "blending";
        case AspectFamily::Harmonizing:
            return "harmonizing";
        case AspectFamily::Discordant:
            return "discordant";
    }
    return "";
}

double AngularSeparation(double a, double b) {
    const double difference = NormaliseDegrees(a - b);
    return difference > 180.0 ? 360.0 - difference : difference;
}

std::vector<Aspect> FindAspects(std::span<const PointLongitude> points, const Orbs& orbs) {
    std::vector<PointLongitude> ordered(points.begin(), points.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const PointLongitude& a, const PointLongitude& b) {
                         return static_cast<int>(a.point) < static_cast<int>(b.point);
                     });
    std::vector<Aspect> aspects;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        for (std::size_t j = i + 1; j < ordered.size(); ++j) {
            const double separation = AngularSeparation(ordered[i].longitude, ordered[j].longitude);
            // Orbs above kMaxOrb are refused earlier; should larger ones get
            // here, the closest aspect wins.
            const Aspect* best = nullptr;
            Aspect candidate{};
            for (AspectKind kind : kKinds) {
                const double orb = std::fabs(separation - ExactAngle(kind));
                if (orb <= OrbFor(kind, orbs) && (best == nullptr || orb < best->orb)) {
                    candidate = {ordered[i].point, ordered[j].point, kind, FamilyOf(kind), orb};
                    best = &candidate;
                }
            }
            if (best != nullptr) {
                aspects.push_back(*best);
            }
        }
    }
    return aspects;
}

}  // namespace tolvaris
