#include "core/ephemeris/zodiac.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvaris {
namespace {

TEST(Zodiac, NormalisesIntoOneTurn) {
    struct Case {
        double in;
        double out;
    };
    const Case cases[] = {
        {0.0, 0.0},     {359.5, 359.5}, {360.0, 0.0},  {725.0, 5.0},
        {-30.0, 330.0}, {-720.0, 0.0},  {-1e-15, 0.0}, {-0.25, 359.75},
    };
    for (const Case& c : cases) {
        const double result = NormaliseDegrees(c.in);
        EXPECT_NEAR(result, c.out, 1e-12) << c.in;
        EXPECT_GE(result, 0.0) << c.in;
        EXPECT_LT(result, 360.0) << c.in;
    }
}

TEST(Zodiac, SignIsTheThirtyDegreeSector) {
    struct Case {
        double longitude;
        int sign;
        double degree;
    };
    const Case cases[] = {
        {0.0, 0, 0.0},   {29.999999, 0, 29.999999}, {30.0, 1, 0.0},
        {95.5, 3, 5.5},  {180.0, 6, 0.0},           {359.999999, 11, 29.999999},
        {360.0, 0, 0.0}, {-0.5, 11, 29.5},          {389.25, 0, 29.25},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SignIndex(c.longitude), c.sign) << c.longitude;
        EXPECT_NEAR(DegreeInSign(c.longitude), c.degree, 1e-9) << c.longitude;
    }
}

TEST(Zodiac, ShownFiguresAgreeWithTheRoundedLongitude) {
    // Worked by hand: round to 6 decimals, wrap 360 to 0, then cut. The first
    // is swetest's equal cusp 1 at latitude 89.999999.
    const struct {
        double longitude, shown;
        int sign, degree, minute, second;
    } cases[] = {{359.9999996, 0.0, 0, 0, 0, 0},
                 {359.9999994, 359.999999, 11, 29, 59, 59},
                 {179.9999999, 180.0, 6, 0, 0, 0},
                 {89.9997222, 89.999722, 2, 29, 59, 58}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.longitude);
        const ShownLongitude s = ShowLongitude(c.longitude);
        EXPECT_NEAR(s.longitude, c.shown, 1e-12);
        EXPECT_NEAR(s.degreeInSign, c.shown - 30.0 * c.sign, 1e-9);
        EXPECT_EQ(std::vector({s.sign, s.degree, s.minute, s.second}),
                  std::vector({c.sign, c.degree, c.minute, c.second}));
    }
}

TEST(Zodiac, SignNamesInZodiacOrder) {
    EXPECT_EQ(SignName(0), "Aries");
    EXPECT_EQ(SignName(5), "Virgo");
    EXPECT_EQ(SignName(8), "Sagittarius");
    EXPECT_EQ(SignName(11), "Pisces");
    EXPECT_EQ(SignName(12), "");
    EXPECT_EQ(SignName(-1), "");
}

TEST(Zodiac, HouseRunsFromItsCuspUpToTheNext) {
    // Unequal houses, the 12th spanning 0 Aries.
    const HouseCusps cusps = {20.0,  45.0,  75.0,  110.0, 150.0, 185.0,
                              200.0, 225.0, 255.0, 290.0, 330.0, 5.0};
    struct Case {
        double longitude;
        int house;
    };
    const Case cases[] = {
        {20.0, 1},  {19.999, 12}, {44.999, 1}, {45.0, 2},    {109.9, 3}, {110.0, 4},
        {200.0, 7}, {329.99, 10}, {330.0, 11}, {359.99, 11}, {0.0, 11},  {4.999, 11},
        {5.0, 12},  {12.0, 12},   {380.0, 1},  {-10.0, 11},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HouseOf(c.longitude, cusps), c.house) << c.longitude;
    }
}

TEST(Zodiac, FirstHouseMayStartInPisces) {
    const HouseCusps cusps = {350.0, 20.0,  50.0,  80.0,  110.0, 140.0,
                              170.0, 200.0, 230.0, 260.0, 290.0, 320.0};
    EXPECT_EQ(HouseOf(350.0, cusps), 1);
    EXPECT_EQ(HouseOf(359.9999, cusps), 1);
    EXPECT_EQ(HouseOf(0.0, cusps), 1);
    EXPECT_EQ(HouseOf(19.9999, cusps), 1);
    EXPECT_EQ(HouseOf(20.0, cusps), 2);
    EXPECT_EQ(HouseOf(349.9999, cusps), 12);
}

TEST(Zodiac, CuspsRunningBackwardsOpenTheirHousesBackwards) {
    // Regiomontanus at 70 N (swetest -b1.1.1990 -ut11:00 -house13.405,70,R).
    const HouseCusps cusps = {319.4094733, 290.4614568, 283.3183143, 278.4920684,
                              272.5056883, 255.9530791, 139.4094733, 110.4614568,
                              103.3183143, 98.4920684,  92.5056883,  75.9530791};
    struct Case {
        double longitude;
        int house;
    };
    const Case cases[] = {
        {319.4094733, 1}, {300.0, 1}, {290.4614568, 2}, {290.46, 2},  {280.0, 3},
        {200.0, 6},       {139.5, 6}, {139.4094733, 7}, {80.0, 11},   {75.9530791, 12},
        {75.95, 12},      {0.0, 12},  {330.0, 12},      {319.41, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HouseOf(c.longitude, cusps), c.house) << c.longitude;
    }
}

TEST(Zodiac, DegenerateCuspsLeaveNoHouse) {
    HouseCusps allEqual{};
    EXPECT_EQ(HouseOf(10.0, allEqual), std::nullopt);
    HouseCusps outOfOrder = {0.0,   30.0,  60.0,  90.0,  120.0, 150.0,
                             180.0, 210.0, 240.0, 270.0, 330.0, 300.0};
    EXPECT_EQ(HouseOf(10.0, outOfOrder), std::nullopt);
}

}  // namespace
}  // namespace tolvaris
