#include "ui/chart_window/birth_data_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "core/chart/lazy_atlas.h"
#include "core/chart/orbs_text.h"
#include "core/ephemeris/ephemeris.h"
#include "support/birth_samples.h"
#include "support/fake_screen.h"
#include "support/temp_folder.h"
#include "support/test_atlas.h"

namespace tolvaris {
namespace {

using test::FakeNotices;
using test::TempFolder;

class BirthDataDialogTest : public ::testing::Test {
protected:
    BirthDataDialogTest() : atlas_(folder_ / "atlas.tsv") {
        test::WriteBytes(folder_ / "atlas.tsv", test::SmallAtlasText());
    }

    BirthDataDialog& Dialog() {
        if (!dialog_) {
            dialog_ = std::make_unique<BirthDataDialog>(atlas_, ephemeris_, notices_);
            dialog_->show();
        }
        return *dialog_;
    }
    QLineEdit* Edit(const char* name) {
        auto* edit = Dialog().findChild<QLineEdit*>(name);
        EXPECT_NE(edit, nullptr) << name;
        return edit;
    }
    void Type(const char* name, const QString& text) {
        QLineEdit* edit = Edit(name);
        edit->clear();
        edit->setText(text);
    }
    void FillBerlin(const QString& date = "1990-01-01", const QString& time = "12:00") {
        Type("name", "Test");
        Type("date", date);
        Type("time", time);
        Type("latitude", "52.52");
        Type("longitude", "13.405");
        Type("zone", "Europe/Berlin");
        Type("offset", "");
    }
    std::string Preview() { return Dialog().PreviewText().toStdString(); }

    TempFolder folder_;
    LazyAtlas atlas_;
    Ephemeris ephemeris_;
    FakeNotices notices_;
    std::unique_ptr<BirthDataDialog> dialog_;
};

TEST_F(BirthDataDialogTest, APlacePickedFromTheListFillsCoordinatesAndZone) {
    Type("offset", "+03:00");  // meant for another place: the new zone must govern
    QLineEdit* place = Edit("place");
    place->setFocus();
    EXPECT_FALSE(atlas_.Tried());  // the atlas waits for the place field
    QTest::keyClicks(place, "mun");
    EXPECT_TRUE(atlas_.Tried());
    QAbstractItemView* popup = Dialog().findChild<QCompleter*>()->popup();
    ASSERT_TRUE(popup->isVisible());
    ASSERT_EQ(popup->model()->rowCount(), 2);
    EXPECT_EQ(popup->model()->index(0, 0).data().toString(), "Munich, Bavaria, Germany");
    EXPECT_EQ(popup->model()->index(1, 0).data().toString(), "Münchenstein, Bavaria, Germany");
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(place->text(), "Munich, Bavaria, Germany");
    EXPECT_EQ(Edit("latitude")->text(), "48.13743");
    EXPECT_EQ(Edit("longitude")->text(), "11.57549");
    EXPECT_EQ(Edit("zone")->text(), "Europe/Berlin");
    EXPECT_EQ(Edit("offset")->text(), "");
    EXPECT_TRUE(notices_.messages.empty());
}

TEST_F(BirthDataDialogTest, DownAndEnterPickTheFirstListedTownWhateverTheOthersStartWith) {
    // A later row begins with the typed letters (Muncie), or the first does.
    LazyAtlas shipped(test::ShippedAtlasPath());
    const std::pair<const char*, const char*> cases[] = {
        {"Munc", "Munich, Bavaria, Germany"},
        {"Paris", "Paris, Île-de-France, France"},
        {"Spring", "Spring, Texas, United States"},
    };
    for (const auto& [typed, first] : cases) {
        SCOPED_TRACE(typed);
        BirthDataDialog dialog(shipped, ephemeris_, notices_);
        dialog.show();
        auto* place = dialog.findChild<QLineEdit*>("place");
        place->setFocus();
        QTest::keyClicks(place, typed);
        QAbstractItemView* popup = dialog.findChild<QCompleter*>()->popup();
        ASSERT_TRUE(popup->isVisible());
        ASSERT_GT(popup->model()->rowCount(), 1);
        EXPECT_EQ(place->text().toStdString(), typed);  // no row overwrites the typing
        QTest::keyClick(popup, Qt::Key_Down);
        EXPECT_EQ(popup->currentIndex().row(), 0);
        QTest::keyClick(popup, Qt::Key_Return);
        EXPECT_EQ(place->text().toStdString(), first);
    }
}

TEST_F(BirthDataDialogTest, AMissingAtlasSaysSoAndCoordinatesCanStillBeTyped) {
    LazyAtlas missing(folder_ / "no-atlas.tsv");
    BirthDataDialog dialog(missing, ephemeris_, notices_);
    dialog.show();
    auto* place = dialog.findChild<QLineEdit*>("place");
    place->setFocus();
    QTest::keyClicks(place, "Ber");
    auto* message = dialog.findChild<QLabel*>("atlasMessage");
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(message->text().startsWith("The place list could not be read: "))
        << message->text().toStdString();
    EXPECT_TRUE(message->text().endsWith("Type the latitude, longitude and zone yourself."));
    EXPECT_TRUE(notices_.messages.empty());

    dialog.findChild<QLineEdit*>("date")->setText("1990-01-01");
    dialog.findChild<QLineEdit*>("time")->setText("12:00");
    dialog.findChild<QLineEdit*>("latitude")->setText("52°31'N");
    dialog.findChild<QLineEdit*>("longitude")->setText("13 24 18 E");
    dialog.findChild<QLineEdit*>("zone")->setText("Europe/Berlin");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.Chart().has_value());
    EXPECT_EQ(dialog.Chart()->input.placeName, "Ber");
    EXPECT_NEAR(dialog.Chart()->input.longitude, 13.405, 1e-9);
}

TEST_F(BirthDataDialogTest, ShowsTheUtAndWhereTheOffsetComesFrom) {
    // Expected from Python's zoneinfo: Berlin kept CET, +01:00, on 1 January
    // 1990; local mean time at 13.405 E is 13.405 * 240 s = +00:53:37.
    const struct {
        const char* date;
        const char* offset;
        const char* preview;
    } cases[] = {
        {"1990-01-01", "",
         "UT 1990-01-01 11:00:00, UTC+01:00 (CET) from the time zone Europe/Berlin."},
        {"1990-01-01", "+05:30", "UT 1990-01-01 06:30:00, UTC+05:30, given by hand."},
        {"1990-01-01", "UT", "UT 1990-01-01 12:00:00, UTC+00:00, given by hand."},
        {"1880-01-01", "",
         "UT 1880-01-01 11:06:23, UTC+00:53:37 (LMT), the local mean time of the birthplace "
         "(Europe/Berlin kept no standard time then)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date + std::string(" ") + c.offset);
        FillBerlin(c.date);
        Type("offset", c.offset);
        EXPECT_TRUE(Dialog().PreviewText().startsWith(c.preview))
            << Dialog().PreviewText().toStdString();
    }
    Type("time", "");
    Dialog().findChild<QCheckBox*>("timeUnknown")->setChecked(true);
    Type("offset", "");
    Type("date", "1990-01-01");
    EXPECT_EQ(Preview(),
              "UT 1990-01-01 11:00:00, UTC+01:00 (CET) from the time zone Europe/Berlin. The time "
              "is unknown, so 12:00 local time is used.");
    Type("date", "1990-13-01");
    EXPECT_EQ(Preview(), "No UT yet. The date 1990-13-01 does not exist.");
}

TEST_F(BirthDataDialogTest, ARefusedFieldGetsOneMessageAndNothingChanges) {
    const struct {
        const char* field;
        QString bad;
        const char* message;
    } cases[] = {
        {"date", "1990-02-30", "The date 1990-02-30 does not exist."},
        {"time", "12:60", "Time must lie between 00:00 and 23:59:59."},
        {"latitude", "100", "The latitude 100 is outside -90 to 90."},
        {"longitude", "",
         "The longitude is empty; write decimal degrees, east positive (13.405, -74.006), or "
         "degrees and minutes (13e24, 13°24'30\"E, 13 24 E, 74:00:21W)."},
        {"zone", "Europe/Atlantis", "Unknown time zone \"Europe/Atlantis\"."},
        {"offset", "+16:00", "UTC offset must lie between -15:00 and +15:00."},
        {"time", "02:30",
         "02:30 on 25 March 1990 did not exist in Europe/Berlin: clocks went from "
         "02:00 to 03:00."},
        {"place", QString(201, QChar(0xE9)), "The place is longer than 200 characters."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        notices_.messages.clear();
        FillBerlin(std::string_view(c.message).find("March") != std::string_view::npos
                       ? "1990-03-25"
                       : "1990-01-01");
        Type(c.field, c.bad);
        const BirthForm before = Dialog().Form();
        Dialog().accept();
        ASSERT_EQ(notices_.messages.size(), 1U);
        EXPECT_EQ(notices_.messages[0].text, c.message);
        EXPECT_EQ(notices_.messages[0].icon, NoticeIcon::Exclamation);
        EXPECT_TRUE(Dialog().isVisible());
        EXPECT_NE(Dialog().result(), QDialog::Accepted);
        EXPECT_FALSE(Dialog().Chart().has_value());
        const BirthForm after = Dialog().Form();
        EXPECT_EQ(after.date, before.date);
        EXPECT_EQ(after.time, before.time);
        EXPECT_EQ(after.latitude, before.latitude);
        EXPECT_EQ(after.longitude, before.longitude);
        EXPECT_EQ(after.zone, before.zone);
        EXPECT_EQ(after.offset, before.offset);
    }
    // The cursor waits in the field named, here the date.
    FillBerlin("1990-02-30");
    QApplication::setActiveWindow(&Dialog());
    Edit("name")->setFocus();
    Dialog().accept();
    EXPECT_EQ(QApplication::focusWidget(), Edit("date"));
}

TEST_F(BirthDataDialogTest, KeepsOrbsAndALongNameAsGiven) {
    BirthData birth = test::BerlinNewYear();
    birth.name = QString(200, QChar(0xE9)).toStdString();  // 400 bytes, 200 characters
    birth.orbs = *ParseOrbs("conjunction=7.25,sextile=0.04,square=7.96,trine=0.000001", {}).value;
    Dialog().SetBirthData(birth);
    Dialog().accept();
    EXPECT_EQ(Dialog().Chart().value().input.name, birth.name);
    EXPECT_EQ(FormatOrbs(Dialog().Chart().value().input.orbs),
              "conjunction=7.25,sextile=0.04,square=7.96,trine=0.000001,opposition=8");
}

TEST_F(BirthDataDialogTest, ARepeatedTimeAsksEarlierOrLaterWithBothOffsets) {
    // Berlin's clocks fell back from 03:00 CEST to 02:00 CET on 30 September
    // 1990; zoneinfo gives 02:30 fold=0 at +02:00 (00:30 UT), fold=1 at +01:00
    // (01:30 UT).
    FillBerlin("1990-09-30", "02:30");
    EXPECT_TRUE(Dialog().AsksForFold());
    auto* earlier = Dialog().findChild<QRadioButton*>("earlier");
    auto* later = Dialog().findChild<QRadioButton*>("later");
    EXPECT_EQ(earlier->text(), "&Earlier, UTC+02:00");
    EXPECT_EQ(later->text(), "&Later, UTC+01:00");
    EXPECT_FALSE(earlier->isChecked() || later->isChecked());

    Dialog().accept();
    ASSERT_EQ(notices_.messages.size(), 1U);
    EXPECT_EQ(notices_.messages[0].text,
              "02:30 on 30 September 1990 happened twice in Europe/Berlin: earlier at UTC+02:00, "
              "later at UTC+01:00. Choose earlier or later.");
    EXPECT_FALSE(Dialog().Chart().has_value());

    later->setChecked(true);
    EXPECT_TRUE(Dialog().PreviewText().startsWith(
        "UT 1990-09-30 01:30:00, UTC+01:00 (CET) from the time zone Europe/Berlin."))
        << Dialog().PreviewText().toStdString();
    earlier->setChecked(true);
    EXPECT_TRUE(Dialog().PreviewText().startsWith(
        "UT 1990-09-30 00:30:00, UTC+02:00 (CEST) from the time zone Europe/Berlin."))
        << Dialog().PreviewText().toStdString();
    Dialog().accept();
    ASSERT_TRUE(Dialog().Chart().has_value());
    EXPECT_EQ(Dialog().Chart()->input.fold, FoldChoice::Earlier);
    EXPECT_EQ(Dialog().Chart()->universalTime.unixSeconds, 654654600);  // 1990-09-30T00:30:00Z

    // A time that happened once needs no choice.
    Type("time", "12:00");
    EXPECT_FALSE(Dialog().AsksForFold());
}

TEST_F(BirthDataDialogTest, EnterConfirmsAndEscapeCancels) {
    FillBerlin();
    Edit("zone")->setFocus();
    QTest::keyClick(Edit("zone"), Qt::Key_Return);
    EXPECT_EQ(Dialog().result(), QDialog::Accepted);
    EXPECT_FALSE(Dialog().isVisible());
    ASSERT_TRUE(Dialog().Chart().has_value());
    EXPECT_EQ(Dialog().Chart()->universalTime.unixSeconds, 631191600);

    Dialog().show();
    Edit("name")->setFocus();
    QTest::keyClick(Edit("name"), Qt::Key_Escape);
    EXPECT_EQ(Dialog().result(), QDialog::Rejected);
    EXPECT_FALSE(Dialog().isVisible());
}

TEST_F(BirthDataDialogTest, TabFollowsTheFormFromNameToTheOrbs) {
    Dialog().Clear();
    QApplication::setActiveWindow(&Dialog());
    Edit("name")->setFocus();
    const std::vector<QString> order = {"date",        "time",      "timeUnknown", "place",
                                        "latitude",    "longitude", "zone",        "offset",
                                        "houseSystem", "orbsButton"};
    for (const QString& name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
    }
}

TEST_F(BirthDataDialogTest, EditingAChartShowsItsDataAgain) {
    BirthData birth;
    birth.name = "Ann";
    birth.date = {1972, 6, 5};
    birth.time = CivilTime{4, 5, 0};
    birth.placeName = "Paris, Île-de-France, France";
    birth.latitude = 48.85341;
    birth.longitude = 2.3488;
    birth.zone = "Europe/Paris";
    birth.utcOffsetSeconds = 3600;
    Dialog().SetBirthData(birth);
    EXPECT_EQ(Edit("name")->text(), "Ann");
    EXPECT_EQ(Edit("date")->text(), "1972-06-05");
    EXPECT_EQ(Edit("time")->text(), "04:05");
    EXPECT_EQ(Edit("place")->text(), "Paris, Île-de-France, France");
    EXPECT_EQ(Edit("latitude")->text(), "48.85341");
    EXPECT_EQ(Edit("offset")->text(), "+01:00");
    Dialog().Clear();
    EXPECT_EQ(Edit("date")->text(), "");
    EXPECT_EQ(Edit("latitude")->text(), "");
    EXPECT_FALSE(Dialog().findChild<QCheckBox*>("timeUnknown")->isChecked());
}

}  // namespace
}  // namespace tolvaris
