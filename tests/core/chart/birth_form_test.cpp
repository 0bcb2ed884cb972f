#include "core/chart/birth_form.h"

#include <gtest/gtest.h>

namespace tolvaris {
namespace {

BirthForm BerlinForm() {
    BirthForm form;
    form.name = "Test";
    form.date = "1990-01-01";
    form.time = "12:00";
    form.placeName = "Berlin, Land Berlin, Germany";
    form.latitude = "52.52";
    form.longitude = "13.405";
    form.zone = "Europe/Berlin";
    return form;
}

TEST(ReadBirthForm, ReadsEveryField) {
    BirthForm form = BerlinForm();
    form.fold = FoldChoice::Later;
    form.houseSystem = HouseSystem::Koch;
    form.orbs[AspectKind::Trine] = 6.5;
    const BirthFormResult result = ReadBirthForm(form);
    ASSERT_TRUE(result.value.has_value()) << result.error;
    const BirthData& birth = *result.value;
    EXPECT_EQ(birth.name, "Test");
    EXPECT_EQ(birth.date, (CivilDate{1990, 1, 1}));
    EXPECT_EQ(birth.time, (CivilTime{12, 0, 0}));
    EXPECT_EQ(birth.placeName, "Berlin, Land Berlin, Germany");
    EXPECT_DOUBLE_EQ(birth.latitude, 52.52);
    EXPECT_DOUBLE_EQ(birth.longitude, 13.405);
    EXPECT_EQ(birth.zone, "Europe/Berlin");
    EXPECT_FALSE(birth.utcOffsetSeconds.has_value());
    EXPECT_EQ(birth.fold, FoldChoice::Later);
    EXPECT_EQ(birth.houseSystem, HouseSystem::Koch);
    EXPECT_DOUBLE_EQ(birth.orbs[AspectKind::Trine], 6.5);
}

TEST(ReadBirthForm, AnOffsetOverridesAndMayStandWithoutAZone) {
    BirthForm form = BerlinForm();
    form.zone.clear();
    form.offset = "+05:30";
    BirthFormResult result = ReadBirthForm(form);
    ASSERT_TRUE(result.value.has_value()) << result.error;
    EXPECT_EQ(result.value->utcOffsetSeconds, 19800);
    EXPECT_EQ(result.value->zone, "");

    form.offset = "UT";
    form.zone = "Europe/Berlin";
    result = ReadBirthForm(form);
    ASSERT_TRUE(result.value.has_value()) << result.error;
    EXPECT_EQ(result.value->utcOffsetSeconds, 0);
    EXPECT_EQ(result.value->zone, "Europe/Berlin");
}

TEST(ReadBirthForm, TimeUnknownIgnoresTheTimeField) {
    BirthForm form = BerlinForm();
    form.timeUnknown = true;
    form.time = "not a time";
    const BirthFormResult result = ReadBirthForm(form);
    ASSERT_TRUE(result.value.has_value()) << result.error;
    EXPECT_FALSE(result.value->time.has_value());
}

TEST(ReadBirthForm, RefusesTheFirstBadFieldAndNamesIt) {
    const struct {
        const char* name;
        void (*spoil)(BirthForm&);
        BirthField field;
        const char* message;
    } cases[] = {
        {"date", [](BirthForm& f) { f.date = "1990-02-30"; }, BirthField::Date,
         "The date 1990-02-30 does not exist."},
        {"empty time", [](BirthForm& f) { f.time = ""; }, BirthField::Time,
         "Time must be given, for example 14:05, or \"time unknown\" ticked."},
        {"time", [](BirthForm& f) { f.time = "25:00"; }, BirthField::Time,
         "Time must lie between 00:00 and 23:59:59."},
        {"latitude", [](BirthForm& f) { f.latitude = "91"; }, BirthField::Latitude,
         "Latitude must lie between -90 and 90 degrees."},
        {"longitude", [](BirthForm& f) { f.longitude = "east"; }, BirthField::Longitude,
         "Longitude \"east\" is not understood; write it as 13.405, -74.006, 13°24'E or 74 0 W."},
        {"offset", [](BirthForm& f) { f.offset = "5:30"; }, BirthField::Offset,
         "UTC offset must be written as +HH:MM or -HH:MM, for example +05:30, or as UTC."},
        {"zone", [](BirthForm& f) { f.zone = "Europe/Atlantis"; }, BirthField::Zone,
         "Unknown time zone \"Europe/Atlantis\"."},
        {"no zone", [](BirthForm& f) { f.zone = ""; }, BirthField::Zone,
         "Time zone must be given, for example Europe/Berlin."},
        {"zone beside offset",
         [](BirthForm& f) {
             f.zone = "Mars/Olympus";
             f.offset = "+01:00";
         },
         BirthField::Zone, "Unknown time zone \"Mars/Olympus\". Clear it to use the offset."},
        {"orbs", [](BirthForm& f) { f.orbs[AspectKind::Square] = 16; }, BirthField::Orbs, nullptr},
        {"date before time",
         [](BirthForm& f) {
             f.date = "yesterday";
             f.time = "noon";
         },
         BirthField::Date, "Date must be written as YYYY-MM-DD, for example 1990-03-25."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BirthForm form = BerlinForm();
        c.spoil(form);
        const BirthFormResult result = ReadBirthForm(form);
        EXPECT_FALSE(result.value.has_value());
        EXPECT_EQ(result.field, c.field);
        if (c.message) {
            EXPECT_EQ(result.error, c.message);
        } else {
            EXPECT_NE(result.error.find("quare"), std::string::npos) << result.error;
        }
    }
}

TEST(FormFromBirthData, GivesBackTheSameBirthData) {
    BirthForm form = BerlinForm();
    form.time = "04:05:06";
    form.offset = "-03:30";
    form.latitude = "-33.868820";
    form.fold = FoldChoice::Earlier;
    form.houseSystem = HouseSystem::WholeSign;
    const BirthFormResult first = ReadBirthForm(form);
    ASSERT_TRUE(first.value.has_value()) << first.error;
    const BirthForm shown = FormFromBirthData(*first.value);
    EXPECT_EQ(shown.time, "04:05:06");
    EXPECT_EQ(shown.offset, "-03:30");
    EXPECT_EQ(shown.latitude, "-33.86882");
    const BirthFormResult again = ReadBirthForm(shown);
    ASSERT_TRUE(again.value.has_value()) << again.error;
    EXPECT_EQ(again.value->date, first.value->date);
    EXPECT_EQ(again.value->time, first.value->time);
    EXPECT_EQ(again.value->latitude, first.value->latitude);
    EXPECT_EQ(again.value->longitude, first.value->longitude);
    EXPECT_EQ(again.value->utcOffsetSeconds, first.value->utcOffsetSeconds);
    EXPECT_EQ(again.value->zone, first.value->zone);
    EXPECT_EQ(again.value->fold, first.value->fold);
    EXPECT_EQ(again.value->houseSystem, first.value->houseSystem);

    BirthData unknown = *first.value;
    unknown.time.reset();
    EXPECT_TRUE(FormFromBirthData(unknown).timeUnknown);
    EXPECT_EQ(FormFromBirthData(unknown).time, "");
}

}  // namespace
}  // namespace tolvaris
