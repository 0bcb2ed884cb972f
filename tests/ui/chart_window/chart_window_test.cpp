#include "ui/chart_window/chart_window.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "core/ephemeris/ephemeris.h"
#include "support/birth_samples.h"

namespace tolvaris {
namespace {

BirthChart BerlinNewYear(bool timeKnown = true) {
    BirthData birth = test::BerlinNewYear(timeKnown);
    birth.name = "Test";
    Ephemeris ephemeris;
    BirthChartResult result = ComputeBirthChart(ephemeris, birth);
    EXPECT_TRUE(result.Ok()) << result.error.message;
    return std::move(*result.value);
}

QStringList Row(const QTableWidget* table, int row) {
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column) {
        const QTableWidgetItem* item = table->item(row, column);
        cells << (item ? item->text() : QString());
    }
    return cells;
}

// Expected values from swetest, an independent program:
//   swetest -b1.1.1990 -ut11:00 -p0123456789 -house13.405,52.52,P -fPl -head
// Sun 280.7717825, Moon 332.7065724, Mercury 295.6849275 (speed -0.286: R),
// Jupiter 95.1543980 (speed -0.135: R, from -fPls), Saturn 285.6525704, Pluto 227.0919753; cusps
// 1 22.5564119, 3 81.3132452, 4 98.4920686, 7 202.5564119, 8 240.6071391, 10 278.4920686, 11
// 297.3420252, 12 325.1482150.
TEST(ChartWindow, ListsTheTenBodiesAndTheAscendantWithSignsDegreesAndHouses) {
    ChartWindow window;
    window.ShowChart(BerlinNewYear());
    window.show();
    const QTableWidget* positions = window.Positions();
    ASSERT_EQ(positions->rowCount(), 12);
    const QStringList names = {"Sun",    "Moon",   "Mercury", "Venus", "Mars",     "Jupiter",
                               "Saturn", "Uranus", "Neptune", "Pluto", "Ascendant"};
    for (int row = 0; row < 11; ++row) {
        EXPECT_EQ(positions->item(row, 0)->text(), names[row]);
    }
    EXPECT_EQ(Row(positions, 0), (QStringList{"Sun", "Capricorn", "10°46'", "10th", ""}));
    EXPECT_EQ(Row(positions, 1), (QStringList{"Moon", "Pisces", "2°42'", "12th", ""}));
    EXPECT_EQ(Row(positions, 2), (QStringList{"Mercury", "Capricorn", "25°41'", "10th", "R"}));
    EXPECT_EQ(Row(positions, 5), (QStringList{"Jupiter", "Cancer", "5°09'", "3rd", "R"}));
    EXPECT_EQ(Row(positions, 9), (QStringList{"Pluto", "Scorpio", "17°05'", "7th", ""}));
    EXPECT_EQ(Row(positions, 10), (QStringList{"Ascendant", "Aries", "22°33'", "", ""}));
    EXPECT_EQ(Row(positions, 11), (QStringList{"Midheaven", "Capricorn", "8°29'", "", ""}));

    const QTableWidget* cusps = window.Cusps();
    ASSERT_EQ(cusps->rowCount(), 13);
    EXPECT_EQ(Row(cusps, 0), (QStringList{"1st", "Aries", "22°33'"}));
    EXPECT_EQ(Row(cusps, 9), (QStringList{"10th", "Capricorn", "8°29'"}));
    EXPECT_EQ(Row(cusps, 12), (QStringList{"Midheaven", "Capricorn", "8°29'"}));

    // Sun 280.7718 and Saturn 285.6526 lie 4.8808 degrees apart.
    const QTableWidget* aspects = window.Aspects();
    bool found = false;
    for (int row = 0; row < aspects->rowCount(); ++row) {
        if (Row(aspects, row) == QStringList{"Sun", "conjunction", "Saturn", "4°52'", "blending"}) {
            found = true;
        }
    }
    EXPECT_TRUE(found);

    // 52.52 N = 52°31'12", 13.405 E = 13°24'18".
    EXPECT_EQ(window.SummaryText(),
              "Test\nBorn: 1 January 1990, 12:00 local time\nPlace: Berlin, Land Berlin, Germany\n"
              "Coordinates: 52°31'12\"N 13°24'18\"E\n"
              "Universal time: 1990-01-01 11:00:00, UTC+01:00 (CET) from the time zone "
              "Europe/Berlin\nHouses: Placidus\nEphemeris: Swiss Ephemeris files");
    EXPECT_EQ(window.windowTitle(), "Chart: Test");
}

TEST(ChartWindow, ChoosingABodyReportsPlanetSignAndHouse) {
    ChartWindow window;
    QSignalSpy spy(&window, &ChartWindow::placementChosen);
    window.ShowChart(BerlinNewYear());
    window.show();
    EXPECT_EQ(spy.count(), 0);  // showing a chart chooses nothing

    const struct {
        int row;
        ChartPlacement expected;
    } cases[] = {
        {0, {0, 9, 9}},              // Sun, Capricorn, 10th
        {1, {1, 11, 11}},            // Moon, Pisces, 12th
        {9, {9, 7, 6}},              // Pluto, Scorpio, 7th
        {10, {10, 0, std::nullopt}}  // Ascendant: the rising sign, Aries
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        spy.clear();
        window.Positions()->selectRow(c.row);
        ASSERT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).value<ChartPlacement>(), c.expected);
    }

    // With the keyboard: the arrow key moves from the Sun to the Moon.
    window.Positions()->selectRow(0);
    window.Positions()->setFocus();
    spy.clear();
    QTest::keyClick(window.Positions(), Qt::Key_Down);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<ChartPlacement>(), (ChartPlacement{1, 11, 11}));
}

TEST(ChartWindow, AnUnknownTimeShowsNoHousesAndSaysWhy) {
    ChartWindow window;
    window.ShowChart(BerlinNewYear(false));
    EXPECT_EQ(window.Positions()->rowCount(), 10);
    EXPECT_EQ(window.Positions()->item(0, 3)->text(), "");
    EXPECT_EQ(Row(window.Cusps(), 0), (QStringList{"none", "", ""}));
    // Said once among the facts and once among the notes, not again and again.
    EXPECT_EQ(window.SummaryText().count("unknown"), 1) << window.SummaryText().toStdString();
    EXPECT_TRUE(window.SummaryText().contains("Houses: none"));
    EXPECT_EQ(window.NotesText().count("unknown"), 1) << window.NotesText().toStdString();
}

TEST(ChartWindow, EveryColumnShowsWhole) {
    ChartWindow window;
    window.ShowChart(BerlinNewYear());
    window.show();
    for (const QTableWidget* table : {window.Positions(), window.Cusps(), window.Aspects()}) {
        SCOPED_TRACE(table->objectName().toStdString());
        int total = 0;  // the last column stretches: the header may be longer
        for (int column = 0; column < table->columnCount(); ++column) {
            int widest = table->horizontalHeader()->sectionSizeHint(column);
            for (int row = 0; row < table->rowCount(); ++row) {
                widest = std::max(
                    widest, table->sizeHintForIndex(table->model()->index(row, column)).width());
            }
            EXPECT_GE(table->columnWidth(column), widest) << column;
            total += widest;
        }
        EXPECT_GE(table->minimumWidth(), total);
    }
}

}  // namespace
}  // namespace tolvaris
