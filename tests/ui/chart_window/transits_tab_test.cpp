// The transit tabs driven as a user would: a range chosen, the timeline
// filled, a bar chosen and read; the sky of one moment beside the chart.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "core/ephemeris/ephemeris.h"
#include "support/birth_samples.h"
#include "support/fake_screen.h"
#include "support/temp_folder.h"
#include "ui/chart_window/chart_window.h"
#include "ui/chart_window/timeline_widget.h"
#include "ui/chart_window/transits_now_tab.h"
#include "ui/chart_window/wheel_widget.h"

namespace tolvaris {
namespace {

// Natal Sun 280.7717825 (swetest, see chart_window_test.cpp). Saturn reaches
// its square, 10.7717825, at 2027-02-06 15:37:22 UT, moving direct:
//   swetest -b6.2.2027 -ut15:00 -n120 -s0.000694444 -p6 -fTl -head
// gives 10.7717 at 15:37 and 10.7718231 at 15:38; a minute is 0.0000636.
constexpr std::int64_t kSaturnSquareSun = 1801928220;  // 2027-02-06T15:37:00Z

class TransitTabs : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteBytes(data_ / "TRANSIT_Saturn.TXT",
                         "Saturn discordant to natal Sun\r\nA test entry for the square.\r\n*\r\n");
        test::WriteBytes(data_ / "TRANSIT_Jupiter.TXT",
                         "Jupiter elsewhere\r\nNot this one.\r\n*\r\n");
        window_.UseForTransits(
            {&ephemeris_, &notices_, data_.Path(), [] { return kSaturnSquareSun; }});
        BirthData birth = test::BerlinNewYear();
        BirthChartResult chart = ComputeBirthChart(ephemeris_, birth);
        ASSERT_TRUE(chart.Ok()) << chart.error.message;
        window_.resize(900, 700);
        window_.show();
        window_.ShowChart(*chart.value);
    }

    test::TempFolder data_;
    Ephemeris ephemeris_;
    test::FakeNotices notices_;
    ChartWindow window_;
};

const TimelineRow* RowOf(const TimelineLayout& layout, const QString& prefix) {
    for (const TimelineRow& row : layout.rows) {
        if (row.text.startsWith(prefix)) {
            return &row;
        }
    }
    return nullptr;
}

TEST_F(TransitTabs, ChosenDatesFillTheTimelineAndAChosenBarShowsItsText) {
    TransitsTab& tab = *window_.Transits();
    window_.Tabs()->setCurrentWidget(&tab);
    // The next 12 months from the clock's day in Berlin.
    EXPECT_TRUE(tab.StatusText().contains("from 6 February 2027 to 5 February 2028"))
        << tab.StatusText().toStdString();

    tab.RangeBox()->setCurrentIndex(TransitsTab::Dates);
    tab.FirstDate()->setDate(QDate(2028, 1, 1));
    tab.LastDate()->setDate(QDate(2027, 12, 31));
    tab.Search();
    EXPECT_TRUE(tab.StatusText().contains("2027-12-31 comes before the first 2028-01-01"))
        << tab.StatusText().toStdString();
    EXPECT_FALSE(tab.ForecastButton()->isEnabled());
    EXPECT_TRUE(tab.Timeline()->Layout().rows.empty());
    tab.FirstDate()->setDate(QDate(2027, 1, 1));
    tab.LastDate()->setDate(QDate(2027, 12, 31));
    tab.Search();
    EXPECT_TRUE(tab.StatusText().contains("from 1 January 2027 to 31 December 2027"));

    const struct {
        QString row;
        std::vector<QString> shown;
    } cases[] = {
        {"Saturn square Sun",
         {"Saturn square natal Sun (discordant)", "Exact on 6 February 2027, 16:3",
          "A test entry for the square."}},
        {"Mercury ", {"Mercury moves too fast"}},
        {"Jupiter ", {"The library has no entry \"Jupiter ", "in TRANSIT_Jupiter.TXT."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row.toStdString());
        const TimelineLayout layout = tab.Timeline()->Layout();
        const TimelineRow* row = RowOf(layout, c.row);
        ASSERT_NE(row, nullptr);
        QTest::mouseClick(tab.Timeline(), Qt::LeftButton, {}, row->bar.center().toPoint());
        EXPECT_EQ(tab.Timeline()->Chosen(), row->transit);
        const QString text = tab.TextPane()->toPlainText();
        for (const QString& part : c.shown) {
            EXPECT_TRUE(text.contains(part)) << text.toStdString();
        }
    }

    // Unchecked and asked for at once: the page has what the boxes say.
    std::optional<ForecastRequest> asked;
    QObject::connect(&window_, &ChartWindow::forecastRequested,
                     [&](const ForecastRequest& request) { asked = request; });
    tab.BodyBox(Point::Saturn)->click();
    tab.ForecastButton()->click();
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->range.first, (CivilDate{2027, 1, 1}));
    EXPECT_EQ(asked->range.last, (CivilDate{2027, 12, 31}));
    EXPECT_EQ(
        std::count(asked->settings.bodies.begin(), asked->settings.bodies.end(), Point::Saturn), 0);
    EXPECT_EQ(asked->search.transits.size(), tab.Timeline()->Search().transits.size());
    EXPECT_EQ(RowOf(tab.Timeline()->Layout(), "Saturn "), nullptr);
    EXPECT_NE(RowOf(tab.Timeline()->Layout(), "Uranus "), nullptr);
}

TEST_F(TransitTabs, TheMomentShowsTheClosestTransitFirstAndTheSkyOnTheOuterRing) {
    TransitsNowTab& now = *window_.TransitsNow();
    window_.Tabs()->setCurrentWidget(&now);
    const QTableWidget* list = now.InEffect();
    ASSERT_GE(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 0)->text(), "Saturn square Sun");
    EXPECT_EQ(list->item(0, 1)->text(), "0°00'");
    EXPECT_EQ(list->item(0, 2)->text(), "applying");
    EXPECT_EQ(list->item(0, 3)->text(), "");
    // Berlin's wall clock, an hour ahead of UT in winter.
    EXPECT_EQ(now.MomentEdit()->dateTime().toString("yyyy-MM-dd HH:mm"), "2027-02-06 16:37");

    now.BiWheel()->grab();
    const WheelLayout& drawn = now.BiWheel()->LastLayout();
    ASSERT_EQ(drawn.outerBodies.size(), 9U);  // the Moon is left out by default
    EXPECT_EQ(drawn.outerBodies[5].body, Point::Saturn);
    EXPECT_NEAR(drawn.outerBodies[5].longitude, 10.7718, 1e-3);
}

}  // namespace
}  // namespace tolvaris
