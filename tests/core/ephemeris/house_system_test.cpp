#include "core/ephemeris/house_system.h"

#include <gtest/gtest.h>

namespace tolvaris {
namespace {

struct Names {
    HouseSystem system;
    const char* key;
    const char* display;
    char letter;
};

constexpr Names kAll[] = {
    {HouseSystem::Placidus, "placidus", "Placidus", 'P'},
    {HouseSystem::Koch, "koch", "Koch", 'K'},
    {HouseSystem::Porphyry, "porphyry", "Porphyry", 'O'},
    {HouseSystem::Regiomontanus, "regiomontanus", "Regiomontanus", 'R'},
    {HouseSystem::Campanus, "campanus", "Campanus", 'C'},
    {HouseSystem::Equal, "equal", "Equal", 'E'},
    {HouseSystem::WholeSign, "whole-sign", "Whole Sign", 'W'},
};

TEST(HouseSystemNames, KeysDisplayNamesAndLettersOfEverySystem) {
    for (const Names& names : kAll) {
        EXPECT_EQ(HouseSystemKey(names.system), names.key);
        EXPECT_EQ(HouseSystemDisplayName(names.system), names.display);
        EXPECT_EQ(HouseSystemLetter(names.system), names.letter) << names.key;
        EXPECT_EQ(ParseHouseSystem(names.key), names.system) << names.key;
        EXPECT_EQ(ParseHouseSystem(names.display), names.system) << names.display;
    }
}

TEST(HouseSystemNames, ParsingIgnoresLetterCaseOnly) {
    EXPECT_EQ(ParseHouseSystem("PLACIDUS"), HouseSystem::Placidus);
    EXPECT_EQ(ParseHouseSystem("Whole-Sign"), HouseSystem::WholeSign);
    EXPECT_EQ(ParseHouseSystem("whole sign"), HouseSystem::WholeSign);
    const char* rejected[] = {"", "placidus ", "wholesign", "P", "equal-house", "topocentric"};
    for (const char* text : rejected) {
        EXPECT_EQ(ParseHouseSystem(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(HouseSystemNames, PlacidusIsTheDefault) {
    EXPECT_EQ(kDefaultHouseSystem, HouseSystem::Placidus);
}

}  // namespace
}  // namespace tolvaris
