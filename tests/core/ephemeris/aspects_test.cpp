#include "core/ephemeris/aspects.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

namespace tolvaris {
namespace {

std::vector<Aspect> AspectsOfTwo(double a, double b, const Orbs& orbs = {}) {
    const PointLongitude points[] = {{Point::Sun, a}, {Point::Moon, b}};
    return FindAspects(points, orbs);
}

TEST(Aspects, KindFamilyAndOrbOfOnePair) {
    struct Case {
        double a;
        double b;
        std::optional<AspectKind> kind;
        double orb;
    };
    const Case cases[] = {
        {10.0, 10.0, AspectKind::Conjunction, 0.0},
        {10.0, 18.0, AspectKind::Conjunction, 8.0},  // the orb itself still counts
        {10.0, 18.01, std::nullopt, 0.0},
        {355.0, 2.0, AspectKind::Conjunction, 7.0},  // across 0 Aries
        {0.0, 55.0, AspectKind::Sextile, 5.0},
        {0.0, 54.99, std::nullopt, 0.0},
        {300.0, 6.0, std::nullopt, 0.0},  // 66 apart: 6 from a sextile, orb 5
        {100.0, 193.5, AspectKind::Square, 3.5},
        {100.0, 6.5, AspectKind::Square, 3.5},
        {0.0, 127.0, AspectKind::Trine, 7.0},
        {0.0, 127.5, std::nullopt, 0.0},
        {200.0, 85.0, AspectKind::Trine, 5.0},
        {0.0, 172.0, AspectKind::Opposition, 8.0},
        {90.0, 271.0, AspectKind::Opposition, 1.0},
        {0.0, 40.0, std::nullopt, 0.0},
        {0.0, 150.0, std::nullopt, 0.0},
    };
    for (const Case& c : cases) {
        const auto aspects = AspectsOfTwo(c.a, c.b);
        if (!c.kind) {
            EXPECT_TRUE(aspects.empty()) << c.a << " " << c.b;
            continue;
        }
        ASSERT_EQ(aspects.size(), 1u) << c.a << " " << c.b;
        EXPECT_EQ(aspects[0].kind, *c.kind) << c.a << " " << c.b;
        EXPECT_NEAR(aspects[0].orb, c.orb, 1e-9) << c.a << " " << c.b;
        EXPECT_EQ(aspects[0].family, FamilyOf(*c.kind));
    }
}

TEST(Aspects, FamiliesAndNames) {
    struct Case {
        AspectKind kind;
        double angle;
        AspectFamily family;
        const char* name;
        const char* familyName;
    };
    const Case cases[] = {
        {AspectKind::Conjunction, 0, AspectFamily::Blending, "conjunction", "blending"},
        {AspectKind::Sextile, 60, AspectFamily::Harmonizing, "sextile", "harmonizing"},
        {AspectKind::Trine, 120, AspectFamily::Harmonizing, "trine", "harmonizing"},
        {AspectKind::Square, 90, AspectFamily::Discordant, "square", "discordant"},
        {AspectKind::Opposition, 180, AspectFamily::Discordant, "opposition", "discordant"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExactAngle(c.kind), c.angle);
        EXPECT_EQ(FamilyOf(c.kind), c.family);
        EXPECT_EQ(AspectKindName(c.kind), c.name);
        EXPECT_EQ(AspectFamilyName(c.family), c.familyName);
    }
}

TEST(Aspects, ChangedOrbsWidenAndNarrow) {
    Orbs wide;
    wide.sextile = 7.0;
    ASSERT_EQ(AspectsOfTwo(300.0, 6.0, wide).size(), 1u);
    EXPECT_EQ(AspectsOfTwo(300.0, 6.0, wide)[0].kind, AspectKind::Sextile);
    Orbs none{0.0, 0.0, 0.0, 0.0, 0.0};
    EXPECT_TRUE(AspectsOfTwo(10.0, 10.5, none).empty());
    EXPECT_EQ(AspectsOfTwo(10.0, 190.0, none).size(), 1u);  // exact still counts
}

TEST(Aspects, PairsFollowTheOrderOfPointsWhateverTheInputOrder) {
    const PointLongitude points[] = {
        {Point::Ascendant, 100.0},
        {Point::Pluto, 220.0},
        {Point::Sun, 100.5},
        {Point::Moon, 340.0},
    };
    const auto aspects = FindAspects(points, Orbs{});
    struct Expected {
        Point first;
        Point second;
        AspectKind kind;
    };
    const Expected expected[] = {
        {Point::Sun, Point::Moon, AspectKind::Trine},   // 120.5
        {Point::Sun, Point::Pluto, AspectKind::Trine},  // 119.5
        {Point::Sun, Point::Ascendant, AspectKind::Conjunction},
        {Point::Moon, Point::Pluto, AspectKind::Trine},  // 120
        {Point::Moon, Point::Ascendant, AspectKind::Trine},
        {Point::Pluto, Point::Ascendant, AspectKind::Trine},
    };
    ASSERT_EQ(aspects.size(), std::size(expected));
    for (std::size_t i = 0; i < aspects.size(); ++i) {
        EXPECT_EQ(aspects[i].first, expected[i].first) << i;
        EXPECT_EQ(aspects[i].second, expected[i].second) << i;
        EXPECT_EQ(aspects[i].kind, expected[i].kind) << i;
    }
}

TEST(Aspects, SeparationIsTheShorterArc) {
    EXPECT_DOUBLE_EQ(AngularSeparation(10.0, 350.0), 20.0);
    EXPECT_DOUBLE_EQ(AngularSeparation(350.0, 10.0), 20.0);
    EXPECT_DOUBLE_EQ(AngularSeparation(0.0, 180.0), 180.0);
    EXPECT_DOUBLE_EQ(AngularSeparation(-90.0, 450.0), 180.0);
}

TEST(Aspects, OrbsOutsideZeroToFifteenAreRefusedByName) {
    EXPECT_EQ(ValidateOrbs(Orbs{}), "");
    EXPECT_EQ(ValidateOrbs(Orbs{15.0, 0.0, 15.0, 0.0, 15.0}), "");
    Orbs bad;
    bad.trine = 15.5;
    EXPECT_EQ(ValidateOrbs(bad), "Trine orb must lie between 0 and 15 degrees.");
    bad = Orbs{};
    bad.conjunction = -1.0;
    EXPECT_EQ(ValidateOrbs(bad), "Conjunction orb must lie between 0 and 15 degrees.");
    bad = Orbs{};
    bad.opposition = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ValidateOrbs(bad), "Opposition orb must lie between 0 and 15 degrees.");
}

}  // namespace
}  // namespace tolvaris
