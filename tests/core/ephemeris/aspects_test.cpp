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

TEST(Aspects, ChangedOrbsWidenAndNarrow) {
    Orbs wide;
    wide[AspectKind::Sextile] = 7.0;
    ASSERT_EQ(AspectsOfTwo(300.0, 6.0, wide).size(), 1u);
    EXPECT_EQ(AspectsOfTwo(300.0, 6.0, wide)[0].kind, AspectKind::Sextile);
    const Orbs none = Orbs::Every(0.0);
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

// Transiting against natal: every cross pair, the same body in both lists
// included, `first` always from the first list, whatever the input order.
TEST(Aspects, BetweenTwoListsPairsEachPointOfTheFirstWithEachOfTheSecond) {
    const PointLongitude transiting[] = {{Point::Mars, 10.0}, {Point::Sun, 100.0}};
    const PointLongitude natal[] = {
        {Point::Venus, 250.0}, {Point::Moon, 190.0}, {Point::Sun, 102.0}};
    struct Expected {
        Point first;
        Point second;
        AspectKind kind;
        double orb;
    };
    const Expected expected[] = {
        {Point::Sun, Point::Sun, AspectKind::Conjunction, 2.0},  // 2 apart
        {Point::Sun, Point::Moon, AspectKind::Square, 0.0},      // 90; Venus is 150 away
        {Point::Mars, Point::Sun, AspectKind::Square, 2.0},      // 92
        {Point::Mars, Point::Moon, AspectKind::Opposition, 0.0},
        {Point::Mars, Point::Venus, AspectKind::Trine, 0.0},  // 240 one way, 120 the other
    };
    const std::vector<Aspect> aspects = FindAspectsBetween(transiting, natal, Orbs{});
    ASSERT_EQ(aspects.size(), std::size(expected));
    for (std::size_t i = 0; i < aspects.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(aspects[i].first, expected[i].first);
        EXPECT_EQ(aspects[i].second, expected[i].second);
        EXPECT_EQ(aspects[i].kind, expected[i].kind);
        EXPECT_EQ(aspects[i].family, FamilyOf(expected[i].kind));
        EXPECT_NEAR(aspects[i].orb, expected[i].orb, 1e-9);
    }
    EXPECT_EQ(FindAspectsBetween(transiting, natal, Orbs::Every(1.0)).size(), 3u)
        << "the 2-degree pairs fall outside orbs of 1";
}

TEST(Aspects, SeparationIsTheShorterArc) {
    EXPECT_DOUBLE_EQ(AngularSeparation(10.0, 350.0), 20.0);
    EXPECT_DOUBLE_EQ(AngularSeparation(350.0, 10.0), 20.0);
    EXPECT_DOUBLE_EQ(AngularSeparation(0.0, 180.0), 180.0);
    EXPECT_DOUBLE_EQ(AngularSeparation(-90.0, 450.0), 180.0);
}

TEST(Aspects, OrbsOutsideZeroToFifteenAreRefusedByName) {
    EXPECT_EQ(ValidateOrbs(Orbs{}), "");
    EXPECT_EQ(ValidateOrbs(Orbs::Every(15.0)), "");
    Orbs bad;
    bad[AspectKind::Trine] = 15.5;
    EXPECT_EQ(ValidateOrbs(bad), "Trine orb must lie between 0 and 15 degrees.");
    bad = Orbs{};
    bad[AspectKind::Conjunction] = -1.0;
    EXPECT_EQ(ValidateOrbs(bad), "Conjunction orb must lie between 0 and 15 degrees.");
    bad = Orbs{};
    bad[AspectKind::Opposition] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ValidateOrbs(bad), "Opposition orb must lie between 0 and 15 degrees.");
}

}  // namespace
}  // namespace tolvaris
