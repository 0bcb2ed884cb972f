#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateEdit>
#include <QEvent>
#include <QMainWindow>
#include <QSpinBox>
#include <QTableWidget>
#include <cmath>

#include "core/chart/chart_file.h"
#include "core/chart/display_text.h"
#include "core/forecast/progressions.h"
#include "render/wheel_layout.h"
#include "support/birth_samples.h"
#include "support/fake_screen.h"
#include "support/temp_folder.h"
#include "ui/chart_window/chart_file_dialogs.h"
#include "ui/chart_window/chart_menu.h"
#include "ui/chart_window/chart_window.h"
#include "ui/chart_window/comparison_window.h"
#include "ui/chart_window/progressions_tab.h"
#include "ui/chart_window/returns_tab.h"
#include "ui/chart_window/wheel_widget.h"

namespace tolvaris {
namespace {

using std::filesystem::path;

// A date's 00:00 in Europe/Berlin, by Python's zoneinfo:
//   datetime.fromisoformat(d).replace(tzinfo=ZoneInfo("Europe/Berlin")).timestamp()
struct DateCase {
    QDate date;
    std::int64_t midnightUt;
};

TEST(ProgressionsTabTest, ADateShowsTheCoreProgressedChartOfItsMidnight) {
    Ephemeris ephemeris;
    test::FakeNotices notices;
    test::TempFolder data;
    ChartWindow window;
    window.UseForTransits({&ephemeris, &notices, data.Path(), [] { return 1811800800; }});
    const BirthChartResult natal = ComputeBirthChart(ephemeris, test::BerlinNewYear());
    ASSERT_TRUE(natal.Ok()) << natal.error.message;
    window.resize(1000, 800);
    window.show();
    window.ShowChart(*natal.value);
    ProgressionsTab& tab = *window.Progressions();
    window.Tabs()->setCurrentWidget(&tab);
    EXPECT_EQ(tab.Date(), QDate(2027, 6, 1));  // the clock's day

    for (const DateCase& c :
         {DateCase{QDate(2027, 6, 1), 1811800800},  // summer time
          DateCase{QDate(1995, 1, 1), 788914800}, DateCase{QDate(2060, 10, 31), 2866399200}}) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        tab.DateEdit()->setDate(c.date);
        ASSERT_TRUE(tab.Progressed());
        EXPECT_EQ(tab.Progressed()->targetUt, c.midnightUt);
        const ProgressedChartResult core = ComputeProgressedChart(
            ephemeris, natal.value->chart, natal.value->input.latitude, c.midnightUt);
        ASSERT_TRUE(core.Ok());
        const std::vector<BodyPlacement>& bodies = core.chart->bodies;
        ASSERT_GE(tab.Positions()->rowCount(), static_cast<int>(bodies.size()));
        (void)tab.BiWheel()->grab();  // paints, so the layout is that of the date
        const std::vector<WheelBody>& outer = tab.BiWheel()->LastLayout().outerBodies;
        ASSERT_EQ(outer.size(), bodies.size());
        for (std::size_t i = 0; i < bodies.size(); ++i) {
            const int row = static_cast<int>(i);
            EXPECT_EQ(tab.Positions()->item(row, 2)->text().toStdString(),
                      FormatZodiacPosition(bodies[i].longitude));
            EXPECT_EQ(tab.Positions()->item(row, 1)->text().toStdString(),
                      FormatZodiacPosition(natal.value->chart.bodies[i].longitude));
            EXPECT_DOUBLE_EQ(outer[i].longitude, bodies[i].longitude);
        }
        EXPECT_TRUE(tab.AnglesText().contains(
            QString::fromStdString(FormatZodiacPosition(core.chart->midheaven->longitude))));
    }
}

class FakeDialogs : public ChartFileDialogs {
public:
    std::optional<path> AskOpenChart(const path&) override { return std::nullopt; }
    std::optional<path> AskSaveChart(const path& suggested) override {
        suggestions.push_back(suggested);
        return saveAnswer;
    }
    std::optional<WheelImage> AskWheelImage(const path&) override { return std::nullopt; }
    std::optional<path> AskReportFile(const path&) override { return std::nullopt; }
    PrintAnswer AskPrint(QPrinter&) override { return PrintAnswer::Cancel; }
    std::optional<path> saveAnswer;
    std::vector<path> suggestions;
};

// Returns of the Berlin chart from tests/core/forecast/golden/progressions.txt
// (swetest series, scripts/make-progression-golden); the 2021 one falls on
// the evening before the birthday in UT.
struct ReturnCase {
    bool solar;
    int year;
    int row;  // of the lunar returns
    double goldenUt;
    const char* localStart;  // the moment as the tab shows it
};

TEST(ReturnsTabTest, AReturnOpensAsAChartWindowOfItsOwnAtTheReturnMoment) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "own");
    test::FakeNotices notices;
    AtomicFileWriter writer;
    FakeDialogs dialogs;
    test::FakeDisplay display;
    QMainWindow mainWindow;
    auto* menu = new ChartMenu(
        mainWindow, {folder.Path(), folder / "own", folder.Path(), folder / "charts.sqlite"},
        notices, writer, dialogs);
    const path natalFile = folder / "ann.chart";
    test::WriteBytes(natalFile, FormatChartFile(test::BerlinNewYear()));
    menu->OpenChartFile(natalFile);
    ChartWindow& natalWindow = menu->Window();
    ReturnsTab& tab = *natalWindow.Returns();
    const double natalSun = natalWindow.Shown()->chart.bodies.front().longitude;
    std::vector<std::int64_t> pageMoments;  // of the return charts the pages read
    QObject::connect(menu, &ChartMenu::solarReturnPageRequested,
                     [&](const SolarReturnPageRequest& request) {
                         pageMoments.push_back(request.returnChart.universalTime.unixSeconds);
                     });
    QObject::connect(menu, &ChartMenu::lunarReturnsPageRequested,
                     [&](const LunarReturnsPageRequest& request) {
                         for (const LunarReturnChart& lunar : request.returns) {
                             pageMoments.push_back(lunar.moment.utSeconds);
                         }
                     });

    for (const ReturnCase& c :
         {ReturnCase{true, 2021, 0, 1609458521.871, "2021-01-01 00:48:42"},
          ReturnCase{true, 2043, 0, 2303711514.235, "2043-01-01 08:51:54"},
          ReturnCase{false, 2027, 4, 1809119622.640, "2027-04-30 23:13:43"}}) {
        SCOPED_TRACE(c.year);
        menu->Window().activateWindow();
        tab.YearBox()->setValue(c.year);
        tab.Search();
        std::int64_t shownUt = 0;
        if (c.solar) {
            ASSERT_TRUE(tab.Solar());
            shownUt = tab.Solar()->moment.utSeconds;
            EXPECT_TRUE(tab.SolarText().contains(c.localStart)) << tab.SolarText().toStdString();
            ASSERT_TRUE(tab.OpenSolarReturn());
        } else {
            ASSERT_EQ(tab.LunarTable()->rowCount(), 13);
            shownUt = tab.LunarReturns()[static_cast<std::size_t>(c.row)].utSeconds;
            EXPECT_TRUE(tab.LunarTable()->item(c.row, 0)->text().startsWith(c.localStart));
            ASSERT_TRUE(tab.OpenLunarReturn(c.row));
        }
        EXPECT_LE(std::abs(static_cast<double>(shownUt) - c.goldenUt), 1.0);
        pageMoments.clear();
        ASSERT_TRUE(c.solar ? tab.RequestSolarPage() : tab.RequestLunarPage());
        if (c.solar) {
            EXPECT_EQ(pageMoments, std::vector<std::int64_t>{shownUt});
        } else {
            std::vector<std::int64_t> listed;
            for (const ReturnMoment& moment : tab.LunarReturns()) {
                listed.push_back(moment.utSeconds);
            }
            EXPECT_EQ(pageMoments, listed);
        }

        ChartWindow* opened = menu->Current();
        ASSERT_NE(opened, &natalWindow);
        ASSERT_TRUE(opened->Shown());
        const BirthChart& shown = *opened->Shown();
        EXPECT_EQ(shown.universalTime.unixSeconds, shownUt);
        if (c.solar) {
            // The Sun moves 0.04" in the half second of rounding.
            EXPECT_NEAR(shown.chart.bodies.front().longitude, natalSun, 2e-5);
        }
        // Saved, it opens again as the same moment.
        dialogs.saveAnswer = folder / ("return" + std::to_string(c.year) + ".chart");
        menu->SaveChart();
        const ChartFileResult saved = ReadChartFile(*dialogs.saveAnswer);
        ASSERT_TRUE(saved.value) << saved.error;
        Ephemeris ephemeris;
        const BirthChartResult again = ComputeBirthChart(ephemeris, *saved.value);
        ASSERT_TRUE(again.Ok()) << again.error.message;
        EXPECT_EQ(again.value->universalTime.unixSeconds, shownUt);
        EXPECT_EQ(again.value->input.name, shown.input.name);
        opened->close();
    }
    // The natal chart's own file stays where it was.
    ASSERT_TRUE(menu->CurrentFile());
    EXPECT_EQ(*menu->CurrentFile(), natalFile);
}

// The Chart menu's Save acts on the window last active: a Davison chart is
// saved as a chart of its own, a composite (no moment, no place) is refused.
TEST(PairWindows, SaveWritesTheDavisonChartAndRefusesTheComposite) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "own");
    test::FakeNotices notices;
    AtomicFileWriter writer;
    FakeDialogs dialogs;
    QMainWindow mainWindow;
    auto* menu = new ChartMenu(
        mainWindow, {folder.Path(), folder / "own", folder.Path(), folder / "charts.sqlite"},
        notices, writer, dialogs);
    const path natalFile = folder / "ann.chart";
    test::WriteBytes(natalFile, FormatChartFile(test::BerlinNewYear()));
    menu->OpenChartFile(natalFile);
    BirthChart second = *menu->Window().Shown();
    second.input.name = "Bo";
    ComparisonWindow* comparison = menu->CompareWith(second);
    ASSERT_NE(comparison, nullptr);
    const auto activate = [](QWidget* window) {
        QEvent event(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window, &event);
    };

    ChartWindow* davison = menu->ShowDavison(*comparison);
    ASSERT_NE(davison, nullptr);
    activate(davison);
    dialogs.saveAnswer = folder / "davison.chart";
    menu->SaveChart();
    EXPECT_EQ(test::ReadBytes(folder / "davison.chart"), FormatChartFile(davison->Shown()->input));
    EXPECT_NE(test::ReadBytes(natalFile), test::ReadBytes(folder / "davison.chart"));

    ChartWindow* composite = menu->ShowComposite(*comparison);
    ASSERT_NE(composite, nullptr);
    activate(composite);
    dialogs.saveAnswer = folder / "composite.chart";
    notices.messages.clear();
    menu->SaveChart();
    EXPECT_FALSE(std::filesystem::exists(folder / "composite.chart"));
    ASSERT_EQ(notices.messages.size(), 1u);
    EXPECT_NE(notices.messages[0].text.find("no moment or place"), std::string::npos);
}

}  // namespace
}  // namespace tolvaris
