#include "ui/chart_window/chart_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableWidget>
#include <algorithm>
#include <map>

#include "core/chart/chart_file.h"
#include "core/reading/forecast_reading.h"
#include "core/reading/progression_reading.h"
#include "core/reading/return_reading.h"
#include "support/birth_samples.h"
#include "support/fake_screen.h"
#include "support/pdf_tools.h"
#include "support/temp_folder.h"
#include "ui/chart_window/birth_data_dialog.h"
#include "ui/chart_window/chart_file_dialogs.h"
#include "ui/chart_window/chart_window.h"
#include "ui/chart_window/comparison_window.h"
#include "ui/main_window/main_window.h"

namespace tolvaris {
namespace {

using std::filesystem::path;
using test::FailingFileWriter;
using test::FakeNotices;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// Answers the Chart menu's file dialogs and records what they were shown.
class FakeChartFileDialogs : public ChartFileDialogs {
public:
    std::optional<path> AskOpenChart(const path& folder) override {
        openFolders.push_back(folder);
        return openAnswer;
    }
    std::optional<path> AskSaveChart(const path& suggested) override {
        saveSuggestions.push_back(suggested);
        return saveAnswer;
    }
    std::optional<WheelImage> AskWheelImage(const path& suggested) override {
        saveSuggestions.push_back(suggested);
        return wheelAnswer;
    }
    std::optional<path> AskReportFile(const path& suggested) override {
        saveSuggestions.push_back(suggested);
        return reportAnswer;
    }
    // "Printing" writes a PDF to printFile; without one the dialog is cancelled.
    PrintAnswer AskPrint(QPrinter& printer) override {
        if (!printFile) {
            return PrintAnswer::Cancel;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printFile->string()));
        return PrintAnswer::Print;
    }
    std::optional<path> openAnswer;
    std::optional<path> saveAnswer;
    std::optional<WheelImage> wheelAnswer;
    std::optional<path> reportAnswer;
    std::optional<path> printFile;
    std::vector<path> openFolders;
    std::vector<path> saveSuggestions;
};

BirthData Berlin() {
    return test::BerlinNewYear();
}

QStringList ActionTexts(const QWidget* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QString("--") : action->text());
    }
    return texts;
}

class ChartMenuTest : public ::testing::Test {
protected:
    ChartMenuTest() {
        std::filesystem::create_directory(folder / "own");
        std::filesystem::create_directory(folder / "charts");
    }
    ChartMenu& Menu(AtomicFileWriter& fileWriter) {
        if (!menu_) {
            menu_ = new ChartMenu(
                mainWindow,
                {folder.Path(), folder / "own", folder / "charts", folder / "charts.sqlite"},
                notices, fileWriter, fileDialogs);
        }
        return *menu_;
    }
    ChartMenu& Menu() { return Menu(writer); }
    path RecentFile() const { return folder / "own" / kRecentChartsFileName; }
    path WriteChart(const std::string& name, const BirthData& birth) {
        const path file = folder / "charts" / name;
        WriteBytes(file, FormatChartFile(birth));
        return file;
    }

    TempFolder folder;
    FakeNotices notices;
    AtomicFileWriter writer;
    FakeChartFileDialogs fileDialogs;
    // The real main window, without the menu a whole program would give it.
    test::FakeDisplay display;
    PageBuffers buffers{display, notices, folder.Path(), writer};
    Requests requests{buffers, notices, folder.Path()};
    MainWindow mainWindow{requests};
    ChartMenu* menu_ = nullptr;  // owned by the main window
};

TEST_F(ChartMenuTest, ComesAfterFileAndMovesNoControlOfTheMainWindow) {
    QMainWindow& window = mainWindow;
    window.show();
    std::map<QString, QRect> before;
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->objectName().isEmpty()) {
            before[child->objectName()] = child->geometry();
        }
    }
    const QSize size = window.size();
    const QStringList fileMenu = ActionTexts(window.menuBar()->actions().at(0)->menu());

    Menu();
    const QList<QAction*> bar = window.menuBar()->actions();
    ASSERT_EQ(bar.size(), 2);
    EXPECT_EQ(bar[0]->text(), "&File");
    EXPECT_EQ(bar[1]->text(), "&Chart");
    EXPECT_EQ(ActionTexts(bar[0]->menu()), fileMenu);
    EXPECT_EQ(ActionTexts(Menu().Menu()),
              (QStringList{"&New chart...", "&Open chart...", "&Save chart...", "C&harts...",
                           "Save to co&llection", "--", "&Full reading", "Full reading by &house",
                           "&Print report", "E&xport report", "--", "--", "&About Tolvaris..."}));
    EXPECT_EQ(window.size(), size);
    for (const auto& [name, geometry] : before) {
        const QWidget* child = window.findChild<QWidget*>(name);
        ASSERT_NE(child, nullptr) << name.toStdString();
        EXPECT_EQ(child->geometry(), geometry) << name.toStdString();
    }

    const QAction* newChart = Menu().Menu()->findChild<QAction*>("mnuChartNew");
    const QAction* open = Menu().Menu()->findChild<QAction*>("mnuChartOpen");
    const QAction* save = Menu().Menu()->findChild<QAction*>("mnuChartSave");
    ASSERT_TRUE(newChart && open && save);
    EXPECT_EQ(newChart->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(open->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_FALSE(save->isEnabled());  // nothing to save before a chart is shown
}

TEST_F(ChartMenuTest, ANewChartFromTheDialogShowsInTheChartWindow) {
    Menu().NewChart();
    BirthDataDialog& dialog = Menu().Dialog();
    ASSERT_TRUE(dialog.isVisible());
    dialog.SetBirthData(Berlin());
    dialog.accept();
    ASSERT_TRUE(Menu().Window().isVisible());
    ASSERT_TRUE(Menu().Window().Shown().has_value());
    EXPECT_EQ(Menu().Window().Shown()->input.name, "Ann Lee");
    EXPECT_EQ(Menu().Window().Positions()->rowCount(), 12);
    EXPECT_TRUE(Menu().Menu()->findChild<QAction*>("mnuChartSave")->isEnabled());

    // The next new chart starts empty again, and the unsaved one stays open.
    Menu().NewChart();
    EXPECT_EQ(dialog.findChild<QLineEdit*>("name")->text(), "");
    dialog.reject();
    EXPECT_EQ(Menu().Window().Shown()->input.name, "Ann Lee");
}

TEST_F(ChartMenuTest, EachChartOpensInAWindowOfItsOwnBesideTheOthersAndOnTheScreen) {
    const QRect screen = mainWindow.screen()->availableGeometry();
    for (const QPoint mainAt : {QPoint(10, 10), screen.bottomRight() - QPoint(60, 60)}) {
        SCOPED_TRACE(mainAt.x());
        for (ChartWindow* shown : Menu().Windows()) {
            shown->close();  // each was opened from a file: nothing is asked
        }
        mainWindow.move(mainAt);
        mainWindow.show();
        std::vector<QPoint> taken;
        for (const std::string name : {"Ann", "Bo", "Cy"}) {
            BirthData birth = Berlin();
            birth.name = name;
            Menu().OpenChartFile(WriteChart(name + ".chart", birth));
            const QRect chart = Menu().Window().frameGeometry();
            EXPECT_EQ(Menu().Window().Shown()->input.name, name);
            EXPECT_TRUE(screen.contains(chart)) << name << " " << chart.x() << "," << chart.y()
                                                << " " << chart.width() << "x" << chart.height();
            const QRect main = mainWindow.frameGeometry();
            if (taken.empty() && main.right() + chart.width() < screen.right()) {
                EXPECT_EQ(chart.topLeft(), QPoint(main.right() + 1, main.top()));
            }
            // No window hides another exactly.
            EXPECT_EQ(std::count(taken.begin(), taken.end(), chart.topLeft()), 0) << name;
            taken.push_back(chart.topLeft());
        }
    }
    EXPECT_EQ(Menu().Windows().size(), 3);
}

TEST_F(ChartMenuTest, OpeningAChartAgainRaisesItsWindowAndSaveActsOnTheActiveOne) {
    BirthData other = Berlin();
    other.name = "Bo";
    const std::map<std::string, path> files{{"Ann Lee", WriteChart("ann.chart", Berlin())},
                                            {"Bo", WriteChart("bo.chart", other)}};
    std::map<std::string, ChartWindow*> windows;
    for (const auto& [name, file] : files) {
        Menu().OpenChartFile(file);
        windows[name] = &Menu().Window();
    }
    ASSERT_NE(windows["Ann Lee"], windows["Bo"]);
    struct Step {
        std::string name;
        bool byOpening;  // else its window is activated
    };
    for (const Step& step :
         {Step{"Ann Lee", true}, Step{"Bo", false}, Step{"Ann Lee", false}, Step{"Bo", true}}) {
        SCOPED_TRACE(step.name + (step.byOpening ? " opened" : " activated"));
        if (step.byOpening) {
            Menu().OpenChartFile(files.at(step.name));
        } else {
            windows[step.name]->activateWindow();
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(Menu().Windows().size(), 2);
        EXPECT_EQ(&Menu().Window(), windows[step.name]);
        Menu().SaveChart();  // cancelled in the dialog
        EXPECT_EQ(fileDialogs.saveSuggestions.back(), files.at(step.name));
    }
}

TEST_F(ChartMenuTest, QuittingAsksOnceAboutEachUnsavedChart) {
    using Answer = ChartMenu::UnsavedAnswer;
    QGuiApplication::setQuitOnLastWindowClosed(false);
    mainWindow.show();
    Menu().OpenChartFile(WriteChart("ann.chart", Berlin()));  // kept in its file
    for (const char* name : {"Bo", "Cy"}) {
        BirthData typed = Berlin();
        typed.name = name;
        Menu().Dialog().SetBirthData(typed);
        Menu().Dialog().accept();
    }
    struct Case {
        std::vector<Answer> answers;
        std::vector<std::string> asked;
        bool quits;
    };
    const Case cases[] = {
        {{Answer::Cancel}, {"Bo"}, false},
        {{Answer::Discard, Answer::Cancel}, {"Bo", "Cy"}, false},
        {{Answer::SaveToCollection, Answer::Cancel}, {"Bo", "Cy"}, false},
        {{Answer::Discard}, {"Cy"}, true},  // Bo is in the collection now
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked.size());
        std::vector<std::string> asked;
        Menu().SetUnsavedQuestion([&](const std::string& name) {
            asked.push_back(name);
            return c.answers.at(std::min(asked.size(), c.answers.size()) - 1);
        });
        EXPECT_EQ(mainWindow.close(), c.quits);
        if (c.quits) {
            // The chart windows that close with it are not asked about again.
            for (ChartWindow* shown : Menu().Windows()) {
                EXPECT_TRUE(shown->close());
            }
        }
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(Menu().Windows().size(), c.quits ? 0 : 3);
    }
    QGuiApplication::setQuitOnLastWindowClosed(true);
}

TEST_F(ChartMenuTest, SavingWritesTheChartFileAndRemembersIt) {
    Menu().OpenChartFile(WriteChart("first.chart", Berlin()));
    const path target = folder / "charts" / "saved.chart";
    fileDialogs.saveAnswer = target;
    Menu().SaveChart();
    ASSERT_EQ(fileDialogs.saveSuggestions.size(), 1U);
    EXPECT_EQ(fileDialogs.saveSuggestions[0], folder / "charts" / "first.chart");
    EXPECT_TRUE(notices.messages.empty());
    const ChartFileResult back = ReadChartFile(target);
    ASSERT_TRUE(back.value.has_value()) << back.error;
    EXPECT_EQ(back.value->name, "Ann Lee");
    EXPECT_EQ(back.value->zone, "Europe/Berlin");
    EXPECT_EQ(Menu().Recent().Paths().front(), target);
    EXPECT_EQ(Menu().CurrentFile(), target);
    EXPECT_EQ(ReadBytes(RecentFile()), "# Tolvaris recent charts 1\n" + target.string() + "\n" +
                                           (folder / "charts" / "first.chart").string() + "\n");
}

TEST_F(ChartMenuTest, ANewChartIsSuggestedUnderItsNameInTheSaveFolder) {
    Menu().Dialog().SetBirthData(Berlin());
    Menu().Dialog().accept();
    Menu().SaveChart();  // cancelled: nothing written, nothing said
    ASSERT_EQ(fileDialogs.saveSuggestions.size(), 1U);
    EXPECT_EQ(fileDialogs.saveSuggestions[0], folder / "charts" / "Ann Lee.chart");
    EXPECT_TRUE(notices.messages.empty());
    EXPECT_TRUE(Menu().Recent().Paths().empty());
}

TEST_F(ChartMenuTest, AFailedSaveNamesThePathAndTheReason) {
    FailingFileWriter failing("No space left on device");
    ChartMenu& menu = Menu(failing);
    menu.Dialog().SetBirthData(Berlin());
    menu.Dialog().accept();
    const path target = folder / "charts" / "full.chart";
    fileDialogs.saveAnswer = target;
    menu.SaveChart();
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(notices.messages[0].text,
              "The chart could not be saved to " + target.string() + ": No space left on device.");
    EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Critical);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(menu.Recent().Paths().empty());
    EXPECT_FALSE(menu.CurrentFile().has_value());
}

TEST_F(ChartMenuTest, OpeningReportsTheReadersMessageAndShowsNothing) {
    const path damaged = folder / "charts" / "damaged.chart";
    WriteBytes(damaged, "not a chart\n");
    fileDialogs.openAnswer = damaged;
    Menu().OpenChart();
    ASSERT_EQ(fileDialogs.openFolders.size(), 1U);
    EXPECT_EQ(fileDialogs.openFolders[0], folder / "charts");
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(notices.messages[0].text, ReadChartFile(damaged).error);
    EXPECT_FALSE(notices.messages[0].text.empty());
    EXPECT_FALSE(Menu().Window().isVisible());
    EXPECT_TRUE(Menu().Recent().Paths().empty());
}

TEST_F(ChartMenuTest, AChartFileThatNeedsAChoiceOpensTheDialogWithItsData) {
    BirthData twice = Berlin();
    twice.date = {1990, 9, 30};  // Berlin's clocks showed 02:30 twice that night
    twice.time = CivilTime{2, 30, 0};
    const path file = WriteChart("twice.chart", twice);
    Menu().OpenChartFile(file);
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(notices.messages[0].text,
              file.string() +
                  ": 02:30 on 30 September 1990 happened twice in Europe/Berlin: earlier at "
                  "UTC+02:00, later at UTC+01:00. Choose earlier or later.");
    BirthDataDialog& dialog = Menu().Dialog();
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.findChild<QLineEdit*>("date")->text(), "1990-09-30");
    EXPECT_TRUE(dialog.AsksForFold());
    EXPECT_FALSE(Menu().Window().isVisible());
    EXPECT_TRUE(Menu().Recent().Paths().empty());
}

TEST_F(ChartMenuTest, OpeningShowsTheChartAndPutsItFirstInTheRecentCharts) {
    BirthData other = Berlin();
    other.name = "Bo";
    other.time = CivilTime{18, 30, 0};
    const path first = WriteChart("ann.chart", Berlin());
    const path second = WriteChart("bo & co.chart", other);
    Menu().OpenChartFile(first);
    fileDialogs.openAnswer = second;
    Menu().OpenChart();
    EXPECT_TRUE(notices.messages.empty());
    EXPECT_EQ(Menu().Window().Shown()->input.name, "Bo");
    EXPECT_EQ(Menu().Recent().Paths(), (std::vector<path>{second, first}));
    EXPECT_EQ(ActionTexts(Menu().Menu()),
              (QStringList{"&New chart...", "&Open chart...", "&Save chart...", "C&harts...",
                           "Save to co&llection", "--", "&Full reading", "Full reading by &house",
                           "&Print report", "E&xport report", "--", "&1 bo && co.chart",
                           "&2 ann.chart", "--", "&About Tolvaris..."}));
    // The dialog opens where the last chart came from.
    fileDialogs.openAnswer.reset();
    Menu().OpenChart();
    EXPECT_EQ(fileDialogs.openFolders.back(), folder / "charts");

    Menu().Menu()->findChild<QAction*>("mnuChartRecent2")->trigger();
    EXPECT_EQ(Menu().Window().Shown()->input.name, "Ann Lee");
    EXPECT_EQ(Menu().Recent().Paths(), (std::vector<path>{first, second}));
}

TEST_F(ChartMenuTest, ARecentChartThatIsGoneGivesAMessageAndLeavesTheList) {
    const path kept = WriteChart("kept.chart", Berlin());
    const path gone = folder / "charts" / "gone.chart";
    WriteBytes(RecentFile(),
               "# Tolvaris recent charts 1\n" + gone.string() + "\n" + kept.string() + "\n");
    QAction* goneAction = Menu().Menu()->findChild<QAction*>("mnuChartRecent1");
    ASSERT_NE(goneAction, nullptr);
    EXPECT_EQ(goneAction->text(), "&1 gone.chart");
    goneAction->trigger();
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(notices.messages[0].text,
              "The chart file " + gone.string() +
                  " no longer exists; it is taken off the recent charts.");
    EXPECT_EQ(Menu().Recent().Paths(), (std::vector<path>{kept}));
    EXPECT_EQ(ReadBytes(RecentFile()), "# Tolvaris recent charts 1\n" + kept.string() + "\n");
    EXPECT_EQ(Menu().Menu()->findChild<QAction*>("mnuChartRecent1")->text(), "&1 kept.chart");
    EXPECT_FALSE(Menu().Window().isVisible());
}

TEST_F(ChartMenuTest, ADamagedRecentFileIsAnEmptyList) {
    WriteBytes(RecentFile(), "garbage\n/x.chart\n");
    EXPECT_TRUE(Menu().Recent().Paths().empty());
    EXPECT_EQ(Menu().Menu()->findChild<QAction*>("mnuChartRecent1"), nullptr);
    EXPECT_TRUE(notices.messages.empty());
}

TEST_F(ChartMenuTest, ChoosingABodyInTheChartWindowReportsItsPlacement) {
    Menu().OpenChartFile(WriteChart("ann.chart", Berlin()));
    QSignalSpy spy(&Menu(), &ChartMenu::placementChosen);
    Menu().Window().Positions()->selectRow(0);
    ASSERT_EQ(spy.count(), 1);
    // The Sun of 1990-01-01 11:00 UT at Berlin: Capricorn, 10th house (swetest).
    EXPECT_EQ(spy.at(0).at(0).value<ChartPlacement>(), (ChartPlacement{0, 9, 9}));
}

TEST(ApplyPlacement, SetsPlanetSignAndHouseAndKeepsTheAspectGroups) {
    const Selection start{6, 6, 0, 2, 1};
    const Selection sun = ApplyPlacement(start, {0, 9, 9});
    EXPECT_EQ(sun.planetIndex, 0);
    EXPECT_EQ(sun.signIndex, 9);
    EXPECT_EQ(sun.houseIndex, 9);
    EXPECT_EQ(sun.aspectIndex, 2);
    EXPECT_EQ(sun.planet2Index, 1);
    const Selection rising = ApplyPlacement(start, {10, 0, std::nullopt});
    EXPECT_EQ(rising.planetIndex, 10);
    EXPECT_EQ(rising.signIndex, 0);
    EXPECT_EQ(rising.houseIndex, 6);  // the Ascendant has no house: the group keeps its choice
}

TEST_F(ChartMenuTest, TheWheelIsExportedWhereTheUserSaysAndAFailureIsReported) {
    Menu().OpenChartFile(WriteChart("ann.chart", Berlin()));
    fileDialogs.wheelAnswer = FakeChartFileDialogs::WheelImage{folder / "ann.png", 300};
    Menu().ExportWheel();
    EXPECT_EQ(fileDialogs.saveSuggestions.back(), folder / "charts" / "Ann Lee wheel.png");
    EXPECT_TRUE(notices.messages.empty());
    EXPECT_EQ(QImage(QString::fromStdString((folder / "ann.png").string())).size(),
              QSize(300, 300));

    fileDialogs.wheelAnswer = FakeChartFileDialogs::WheelImage{folder / "gone" / "w.svg", 800};
    Menu().ExportWheel();
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_NE(notices.messages[0].text.find((folder / "gone" / "w.svg").string()),
              std::string::npos)
        << notices.messages[0].text;
}

TEST_F(ChartMenuTest, TheReportIsPrintedOrExportedAsTheUserSaysAndNothingOnCancel) {
    Menu().OpenChartFile(WriteChart("ann.chart", Berlin()));
    const struct {
        const char* action;
        const char* file;  // nullptr: the dialog is cancelled
        std::string start;
    } cases[] = {
        {"mnuChartExportReportByPlanet", "planet.pdf", "%PDF"},
        {"mnuChartExportReportByHouse", "house.HTM", "<!DOCTYPE html>"},
        {"mnuChartExportReportByHouse", nullptr, ""},
        {"mnuChartPrintReportByPlanet", "printed.pdf", "%PDF"},
        {"mnuChartPrintReportByHouse", nullptr, ""},
    };
    const path out = folder / "out";
    std::filesystem::create_directory(out);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " " + (c.file ? c.file : "cancelled"));
        std::filesystem::remove_all(out);
        std::filesystem::create_directory(out);
        const bool print = std::string(c.action).find("Print") != std::string::npos;
        const std::optional<path> target = c.file ? std::optional(out / c.file) : std::nullopt;
        fileDialogs.reportAnswer = print ? std::nullopt : target;
        fileDialogs.printFile = print ? target : std::nullopt;
        QAction* action = Menu().Menu()->findChild<QAction*>(c.action);
        ASSERT_NE(action, nullptr);
        action->trigger();
        if (!print) {
            EXPECT_EQ(fileDialogs.saveSuggestions.back(), folder / "charts" / "Ann Lee report.pdf");
        }
        if (!target) {
            EXPECT_TRUE(std::filesystem::is_empty(out));
            continue;
        }
        const std::string written = ReadBytes(*target);
        EXPECT_EQ(written.substr(0, c.start.size()), c.start);
        if (c.start != "%PDF") {
            EXPECT_NE(written.find("Ann Lee"), std::string::npos);
            EXPECT_NE(written.find("</html>"), std::string::npos);
        }
    }
    EXPECT_TRUE(notices.messages.empty()) << notices.messages.front().text;
}

// The first line with text of the page a reading button showed.
std::string FirstLine(const std::string& page) {
    std::size_t start = page.find_first_not_of(" \r\n");
    if (start == std::string::npos) {
        return {};
    }
    const std::size_t end = page.find_first_of("\r\n", start);
    const std::string line = page.substr(start, end - start);
    return line.substr(0, line.find_last_not_of(' ') + 1);
}

TEST_F(ChartMenuTest, EachReadingIsExportedAsAReportHeadedAsItsPageAndNothingOnCancel) {
    Menu().OpenChartFile(WriteChart("ann.chart", Berlin()));
    ChartWindow& shown = Menu().Window();
    shown.Transits()->Search();
    BirthChart second = *shown.Shown();
    second.input.name = "Bo";
    ComparisonWindow* comparison = Menu().CompareWith(second);
    ASSERT_NE(comparison, nullptr);
    // The pages as the program shows them (the relationship's through the menu).
    const path data = folder.Path();
    QObject::connect(&Menu(), &ChartMenu::forecastRequested, [&](const ForecastRequest& r) {
        ShowForecast({r.chart, r.range, r.settings, r.search}, data, buffers, notices);
    });
    QObject::connect(
        &Menu(), &ChartMenu::progressionsPageRequested, [&](const ProgressionsPageRequest& r) {
            ShowProgressions({r.chart, r.range, r.settings, r.search}, data, buffers, notices);
        });
    QObject::connect(&Menu(), &ChartMenu::solarReturnPageRequested,
                     [&](const SolarReturnPageRequest& r) {
                         ShowSolarReturn({r.natal, r.year, r.solarReturn, r.returnChart}, data,
                                         buffers, notices);
                     });
    QObject::connect(
        &Menu(), &ChartMenu::lunarReturnsPageRequested, [&](const LunarReturnsPageRequest& r) {
            ShowLunarReturns({r.natal, r.year, r.place, r.returns}, data, buffers, notices);
        });
    QObject::connect(&Menu(), &ChartMenu::relationshipReadingRequested,
                     [&](const RelationshipSubject& subject) {
                         ShowRelationshipReading(subject, data, buffers, notices);
                     });
    const struct {
        QWidget* window;
        const char* button;
        std::string kind;
        bool natalFirst;  // the first page heads with the birth, not a return
    } cases[] = {
        {&shown, "forecastPage", "forecast", true},
        {&shown, "progressionsPage", "progressions", true},
        {&shown, "solarReturnPage", "solar return", false},
        {&shown, "lunarReturnsPage", "lunar returns", true},
        {comparison, "relationshipReading", "relationship", true},
    };
    const path out = folder / "out";
    std::filesystem::create_directory(out);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        auto* reading = c.window->findChild<QPushButton*>(c.button);
        auto* exporting = c.window->findChild<QPushButton*>(QString(c.button) + "Export");
        ASSERT_NE(reading, nullptr);
        ASSERT_NE(exporting, nullptr);
        ASSERT_TRUE(reading->isEnabled());
        EXPECT_TRUE(exporting->isEnabled());
        display.shownText.clear();
        reading->click();
        const std::string heading = FirstLine(display.shownText);
        ASSERT_FALSE(heading.empty());

        fileDialogs.reportAnswer = out / (c.kind + ".pdf");
        exporting->click();
        EXPECT_EQ(fileDialogs.saveSuggestions.back(),
                  folder / "charts" / ("Ann Lee " + c.kind + " report.pdf"));
        EXPECT_EQ(ReadBytes(out / (c.kind + ".pdf")).substr(0, 4), "%PDF");
        const std::string text = test::PdfText(out / (c.kind + ".pdf"));
        EXPECT_NE(text.find(heading), std::string::npos) << heading;
        // A return's first page is its own chart's, a moment and not a birth.
        const std::size_t born = text.find(c.natalFirst ? "Born " : "Moment ");
        ASSERT_LT(born, text.find(c.natalFirst ? "Moment " : "Born "));
        EXPECT_EQ(text.substr(born, text.find('\n', born) - born).find("1 January 1990, 12:00") !=
                      std::string::npos,
                  c.natalFirst)
            << text.substr(born, 80);
    }
    std::filesystem::remove_all(out);
    std::filesystem::create_directory(out);
    fileDialogs.reportAnswer.reset();
    comparison->findChild<QPushButton*>("relationshipReadingExport")->click();
    EXPECT_TRUE(std::filesystem::is_empty(out));
}

}  // namespace
}  // namespace tolvaris
