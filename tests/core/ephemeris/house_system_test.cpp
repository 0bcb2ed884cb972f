#include "core/ephemeris/house_system.h"

#include <gtest/gtest.h>

namespace tolvaris {
namespace {

TEST(HouseSystemNames, ParsingIgnoresLetterCaseOnly) {
    EXPECT_EQ(ParseHouseSystem("PLACIDUS"), HouseSystem::Placidus);
    EXPECT_EQ(ParseHouseSystem("Whole-Sign"), HouseSystem::WholeSign);
    EXPECT_EQ(ParseHouseSystem("whole sign"), HouseSystem::WholeSign);
    const char* rejected[] = {"", "placidus ", "wholesign", "P", "equal-house", "topocentric"};
    for (const char* text : rejected) {
        EXPECT_EQ(ParseHouseSystem(text), std::nullopt) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace tolvaris
