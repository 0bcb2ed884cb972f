#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ephemeris/points.h"

namespace tolvaris {

enum class AspectFamily { Blending, Harmonizing, Discordant };

struct AspectFamilyRow {
    AspectFamily family;
    // Shown to the user and the caption of the main window's option.
    std::string_view name;
    // What joins the two planets in a data file's key: "Sun discordant to Moon".
    std::string_view phrase;
};

inline constexpr std::array<AspectFamilyRow, 3> kAspectFamilies = {{
    {AspectFamily::Blending, "blending", "blending with"},
    {AspectFamily::Harmonizing, "harmonizing", "harmonizing with"},
    {AspectFamily::Discordant, "discordant", "discordant to"},
}};

enum class AspectKind { Conjunction, Sextile, Square, Trine, Opposition };

struct AspectRow {
    AspectKind kind;
    // In chart files, on the command line and in JSON.
    std::string_view name;
    // The dialog's label for its orb.
    std::string_view label;
    double exactAngle;  // degrees
    AspectFamily family;
    double defaultOrb;  // degrees
};

inline constexpr std::array<AspectRow, 5> kAspects = {{
    {AspectKind::Conjunction, "conjunction", "Conjunction", 0.0, AspectFamily::Blending, 8.0},
    {AspectKind::Sextile, "sextile", "Sextile", 60.0, AspectFamily::Harmonizing, 5.0},
    {AspectKind::Square, "square", "Square", 90.0, AspectFamily::Discordant, 7.0},
    {AspectKind::Trine, "trine", "Trine", 120.0, AspectFamily::Harmonizing, 7.0},
    {AspectKind::Opposition, "opposition", "Opposition", 180.0, AspectFamily::Discordant, 8.0},
}};

constexpr std::size_t IndexOf(AspectFamily family) {
    return static_cast<std::size_t>(family);
}

constexpr std::size_t IndexOf(AspectKind kind) {
    return static_cast<std::size_t>(kind);
}

constexpr bool AspectTablesInEnumOrder() {
    for (std::size_t i = 0; i < kAspectFamilies.size(); ++i) {
        if (IndexOf(kAspectFamilies[i].family) != i) {
            return false;
        }
    }
    for (std::size_t i = 0; i < kAspects.size(); ++i) {
        if (IndexOf(kAspects[i].kind) != i) {
            return false;
        }
    }
    return IndexOf(AspectFamily::Discordant) + 1 == kAspectFamilies.size() &&
           IndexOf(AspectKind::Opposition) + 1 == kAspects.size();
}
static_assert(AspectTablesInEnumOrder(), "the aspect tables list every value once, in enum order");

constexpr const AspectRow& RowOf(AspectKind kind) {
    return kAspects[IndexOf(kind)];
}

constexpr const AspectFamilyRow& RowOf(AspectFamily family) {
    return kAspectFamilies[IndexOf(family)];
}

constexpr double ExactAngle(AspectKind kind) {
    return RowOf(kind).exactAngle;
}
constexpr AspectFamily FamilyOf(AspectKind kind) {
    return RowOf(kind).family;
}
// "conjunction", "sextile", "square", "trine", "opposition".
constexpr std::string_view AspectKindName(AspectKind kind) {
    return RowOf(kind).name;
}
// "blending", "harmonizing", "discordant".
constexpr std::string_view AspectFamilyName(AspectFamily family) {
    return RowOf(family).name;
}

// The family at a position of the option group's list; none outside it.
constexpr std::optional<AspectFamily> AspectFamilyAt(std::ptrdiff_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kAspectFamilies.size()) {
        return std::nullopt;
    }
    return kAspectFamilies[static_cast<std::size_t>(index)].family;
}

// The largest separation from the exact angle still counted, per aspect, in
// degrees. Each must lie within [0, kMaxOrb].
class Orbs {
public:
    constexpr Orbs() {
        for (const AspectRow& row : kAspects) {
            values_[IndexOf(row.kind)] = row.defaultOrb;
        }
    }
    // One orb per aspect, in table order.
    explicit constexpr Orbs(const std::array<double, kAspects.size()>& values) : values_(values) {}
    // The same orb for every aspect.
    static constexpr Orbs Every(double degrees) {
        Orbs orbs;
        orbs.values_.fill(degrees);
        return orbs;
    }
    constexpr double& operator[](AspectKind kind) { return values_[IndexOf(kind)]; }
    constexpr double operator[](AspectKind kind) const { return values_[IndexOf(kind)]; }

private:
    std::array<double, kAspects.size()> values_{};
};

// Exact angles lie at least 30 degrees apart, so orbs up to 15 can never make
// one pair of points match two aspects.
inline constexpr double kMaxOrb = 15.0;

// Empty when every orb is acceptable, else a message naming the first bad one.
std::string ValidateOrbs(const Orbs& orbs);

// Every aspect name in table order, for messages and help: "conjunction,
// sextile, square, trine, opposition".
std::string AspectKindNamesText();

struct Aspect {
    Point first;  // within one list: earlier than second in the order Sun ... Ascendant
    Point second;
    AspectKind kind;
    AspectFamily family;
    double orb;  // |angular separation - exact angle|, degrees
};

struct PointLongitude {
    Point point;
    double longitude;
};

// The shorter arc between two longitudes, in [0, 180].
double AngularSeparation(double a, double b);

// Every pair of the given points that forms an aspect within its orb,
// pairs ordered by first then second.
std::vector<Aspect> FindAspects(std::span<const PointLongitude> points, const Orbs& orbs);

// Every pair of a point of `first` (say transiting) and a point of `second`
// (natal) that forms an aspect within its orb; `Aspect::first` comes from
// `first`. The same point may appear in both lists. Ordered by `first`'s
// points, then `second`'s, each in point order.
std::vector<Aspect> FindAspectsBetween(std::span<const PointLongitude> first,
                                       std::span<const PointLongitude> second, const Orbs& orbs);

}  // namespace tolvaris
