#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ephemeris/points.h"

namespace tolvaris {

enum class AspectKind { Conjunction, Sextile, Square, Trine, Opposition };

enum class AspectFamily { Blending, Harmonizing, Discordant };

// The largest separation from the exact angle still counted, per aspect, in
// degrees. Each must lie within [0, kMaxOrb].
struct Orbs {
    double conjunction = 8.0;
    double sextile = 5.0;
    double square = 7.0;
    double trine = 7.0;
    double opposition = 8.0;
};

// Exact angles lie at least 30 degrees apart, so orbs up to 15 can never make
// one pair of points match two aspects.
inline constexpr double kMaxOrb = 15.0;

// Empty when every orb is acceptable, else a message naming the first bad one.
std::string ValidateOrbs(const Orbs& orbs);

struct Aspect {
    Point first;  // earlier than second in the order Sun ... Pluto, Ascendant
    Point second;
    AspectKind kind;
    AspectFamily family;
    double orb;  // |angular separation - exact angle|, degrees
};

struct PointLongitude {
    Point point;
    double longitude;
};

double ExactAngle(AspectKind kind);
AspectFamily FamilyOf(AspectKind kind);
// "conjunction", "sextile", "square", "trine", "opposition".
std::string_view AspectKindName(AspectKind kind);
// "blending", "harmonizing", "discordant".
std::string_view AspectFamilyName(AspectFamily family);

// The shorter arc between two longitudes, in [0, 180].
double AngularSeparation(double a, double b);

// Every pair of the given points that forms an aspect within its orb,
// pairs ordered by first then second.
std::vector<Aspect> FindAspects(std::span<const PointLongitude> points, const Orbs& orbs);

}  // namespace tolvaris
