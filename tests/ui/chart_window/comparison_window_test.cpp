// The comparison window against contacts and house overlays worked out by
// hand from two charts' longitudes (support/wheel_charts.cpp).
#include "ui/chart_window/comparison_window.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "support/wheel_charts.h"
#include "ui/chart_window/chart_window.h"

namespace tolvaris {
namespace {

BirthChart FromHand(const test::HandChart& hand) {
    BirthChart chart;
    chart.input.name = hand.name;
    chart.chart = test::MakeChart(hand);
    return chart;
}

QString Cell(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

TEST(ComparisonWindow, GridAndOverlaysMatchTheHandWorkedPair) {
    const test::HandPair pair = test::ComparisonPair();
    ComparisonWindow window(FromHand(pair.first), FromHand(pair.second));
    window.show();
    const QTableWidget* grid = window.Grid();
    // Ada's ten bodies, Ascendant and Midheaven across; Bo's ten bodies down.
    ASSERT_EQ(grid->columnCount(), 12);
    ASSERT_EQ(grid->rowCount(), 10);
    int filled = 0;
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 12; ++column) {
            filled += Cell(grid, row, column).isEmpty() ? 0 : 1;
        }
    }
    EXPECT_EQ(filled, 36);

    // Columns and rows in the order Sun ... Pluto, Ascendant, Midheaven.
    const struct {
        int column;
        int row;
        const char* text;
    } cells[] = {
        {0, 3, "\u260C 7°00'"},   // Sun 10 and Venus 17
        {9, 0, "\u26B9 0°00'"},   // Pluto 192 and Sun 132
        {7, 8, "\u25A1 5°30'"},   // Uranus 271 and Neptune 186.5: 84.5
        {3, 8, "\u25B3 3°30'"},   // Venus 303 and Neptune 186.5: 116.5
        {8, 5, "\u260D 2°00'"},   // Neptune 236 and Jupiter 58: 178
        {10, 9, "\u25B3 3°00'"},  // Ascendant 75 and Pluto 312: 123
        {11, 2, "\u260C 5°00'"},  // Midheaven 345 and Mercury 350
        {4, 4, ""},               // Mars 164 and Mars 276.5: 112.5, past the trine's 7
        {0, 1, ""},               // Sun 10 and Moon 85: 75
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Cell(grid, c.row, c.column), QString::fromUtf8(c.text))
            << c.column << "," << c.row;
    }

    // Bo has no birth time: no houses for Ada's bodies; Bo's in Ada's equal
    // houses from 75.
    EXPECT_EQ(window.FirstInSecond()->rowCount(), 1);
    EXPECT_TRUE(Cell(window.FirstInSecond(), 0, 1).isEmpty());
    const QTableWidget* overlays = window.SecondInFirst();
    ASSERT_EQ(overlays->rowCount(), 10);
    const struct {
        int row;
        const char* house;
    } houses[] = {{0, "2nd"}, {2, "10th"}, {5, "12th"}, {8, "4th"}, {9, "8th"}};
    for (const auto& h : houses) {
        EXPECT_EQ(Cell(overlays, h.row, 1), h.house) << h.row;
    }

    // The bi-wheel paints the same contacts, and the buttons ask for the pair's charts.
    window.Tabs()->setCurrentWidget(window.Wheel());
    window.Wheel()->grab();
    EXPECT_EQ(window.Wheel()->LastLayout().lines.size(), 31u);
    QSignalSpy composite(&window, &ComparisonWindow::compositeRequested);
    QTest::mouseClick(window.findChild<QWidget*>("composite"), Qt::LeftButton);
    EXPECT_EQ(composite.count(), 1);
}

TEST(ChartWindow, ACompositeWithoutHousesShowsWhatItIsAndNoTransits) {
    CompositeChart composite{"Ada", "Bo", test::MakeChart(test::ComparisonPair().second), {}};
    ChartWindow window;
    window.ShowComposite(composite);
    EXPECT_EQ(window.windowTitle(), "Composite: Ada and Bo");
    EXPECT_TRUE(window.SummaryText().contains("Houses: none"))
        << window.SummaryText().toStdString();
    EXPECT_FALSE(window.Tabs()->isTabVisible(window.Tabs()->indexOf(window.Transits())));
    EXPECT_EQ(window.Positions()->rowCount(), 10);
}

}  // namespace
}  // namespace tolvaris
