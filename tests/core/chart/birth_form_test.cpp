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
    form.orbs.trine = 6.5;
    const Result<BirthData> result = ReadBirthForm(form);
    ASSERT_TRUE(result.Ok()) << result.Failure().message;
    const BirthData& birth = *result;
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
    EXPECT_DOUBLE_EQ(birth.orbs.trine, 6.5);
}

TEST(ReadBirthForm, AnOffsetOverridesAndMayStandWithoutAZone) {
    BirthForm form = BerlinForm();
    form.zone.clear();
    form.offset = "+05:30";
    Result<BirthData> result = ReadBirthForm(form);
    ASSERT_TRUE(result.Ok()) << result.Failure().message;
    EXPECT_EQ(result->utcOffsetSeconds, 19800);
    EXPECT_EQ(result->zone, "");

    form.offset = "UT";
    form.zone = "Europe/Berlin";
    result = ReadBirthForm(form);
    ASSERT_TRUE(result.Ok()) << result.Failure().message;
    EXPECT_EQ(result->utcOffsetSeconds, 0);
    EXPECT_EQ(result->zone, "Europe/Berlin");
}

TEST(ReadBirthForm, TimeUnknownIgnoresTheTimeField) {
    BirthForm form = BerlinForm();
    form.timeUnknown = true;
    form.time = "not a time";
    const Result<BirthData> result = ReadBirthForm(form);
    ASSERT_TRUE(result.Ok()) << result.Failure().message;
    EXPECT_FALSE(result->time.has_value());
}

TEST(ReadBirthForm, RefusesTheFirstBadFieldAndNamesIt) {
    const struct {
        const char* name;
        void (*spoil)(BirthForm&);
        BirthField field;
        const char* message;
    } cases[] = {
        {"date", [](BirthForm& f) { f.date = "1990-02-30"; }, BirthField::Date,
         "the date 1990-02-30 does not exist"},
        {"empty time", [](BirthForm& f) { f.time = ""; }, BirthField::Time,
         "the time is missing; write it as HH:MM, for example 14:05, or tick \"time unknown\""},
        {"time", [](BirthForm& f) { f.time = "25:00"; }, BirthField::Time,
         "time must lie between 00:00 and 23:59:59"},
        {"latitude", [](BirthForm& f) { f.latitude = "91"; }, BirthField::Latitude,
         "the latitude 91 is outside -90 to 90"},
        {"longitude", [](BirthForm& f) { f.longitude = "east"; }, BirthField::Longitude,
         "the longitude \"east\" is not understood; write decimal degrees, east positive "
         "(13.405, -74.006), or degrees and minutes (13e24, 13°24'30\"E, 13 24 E, 74:00:21W)"},
        {"offset", [](BirthForm& f) { f.offset = "5:30"; }, BirthField::UtcOffset,
         "UTC offset must be written as +HH:MM or -HH:MM, for example +05:30, or as UTC"},
        {"zone", [](BirthForm& f) { f.zone = "Europe/Atlantis"; }, BirthField::Zone,
         "unknown time zone \"Europe/Atlantis\""},
        {"no zone", [](BirthForm& f) { f.zone = ""; }, BirthField::Zone,
         "the time zone is missing; give one, for example Europe/Berlin, or a UTC offset"},
        {"zone beside offset",
         [](BirthForm& f) {
             f.zone = "Mars/Olympus";
             f.offset = "+01:00";
         },
         BirthField::Zone, "unknown time zone \"Mars/Olympus\"; clear it to use the offset"},
        {"orbs", [](BirthForm& f) { f.orbs.square = 16; }, BirthField::Orbs, nullptr},
        {"date before time",
         [](BirthForm& f) {
             f.date = "yesterday";
             f.time = "noon";
         },
         BirthField::Date, "date must be written as YYYY-MM-DD, for example 1990-03-25"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BirthForm form = BerlinForm();
        c.spoil(form);
        const Result<BirthData> result = ReadBirthForm(form);
        ASSERT_FALSE(result.Ok());
        EXPECT_EQ(result.Failure().kind, ErrorKind::Input);
        EXPECT_EQ(result.Failure().field, c.field);
        if (c.message) {
            EXPECT_EQ(result.Failure().message, c.message);
        } else {
            EXPECT_NE(result.Failure().message.find("quare"), std::string::npos)
                << result.Failure().message;
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
    const Result<BirthData> first = ReadBirthForm(form);
    ASSERT_TRUE(first.Ok()) << first.Failure().message;
    const BirthForm shown = FormFromBirthData(*first);
    EXPECT_EQ(shown.time, "04:05:06");
    EXPECT_EQ(shown.offset, "-03:30");
    EXPECT_EQ(shown.latitude, "-33.86882");
    const Result<BirthData> again = ReadBirthForm(shown);
    ASSERT_TRUE(again.Ok()) << again.Failure().message;
    EXPECT_EQ(again->date, first->date);
    EXPECT_EQ(again->time, first->time);
    EXPECT_EQ(again->latitude, first->latitude);
    EXPECT_EQ(again->longitude, first->longitude);
    EXPECT_EQ(again->utcOffsetSeconds, first->utcOffsetSeconds);
    EXPECT_EQ(again->zone, first->zone);
    EXPECT_EQ(again->fold, first->fold);
    EXPECT_EQ(again->houseSystem, first->houseSystem);

    BirthData unknown = first.Value();
    unknown.time.reset();
    EXPECT_TRUE(FormFromBirthData(unknown).timeUnknown);
    EXPECT_EQ(FormFromBirthData(unknown).time, "");
}

}  // namespace
}  // namespace tolvaris
