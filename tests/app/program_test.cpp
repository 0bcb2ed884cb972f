#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/chart/chart_file.h"
#include "core/settings/settings_file.h"
#include "support/birth_samples.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "ui/chart_window/chart_menu.h"
#include "ui/chart_window/chart_window.h"
#include "ui/chart_window/wheel_widget.h"

namespace tolvaris {
namespace {

using test::DeleteClosedWindows;
using test::ProgramRun;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

void WriteDataFiles(const TempFolder& folder) {
    WriteBytes(folder / "SIGN_Lib.TXT", "SUN in Libra\r\nFair to a fault.\r\n*\r\n");
    WriteBytes(folder / "HOUSE_7.TXT", "SUN in the 7th\r\nAt home with a partner.\r\n*\r\n");
}

TEST(ProgramTest, ClosingTheMainWindowClosesBothAndWritesTheSettingsOnce) {
    for (const bool withPage : {true, false}) {
        SCOPED_TRACE(withPage ? "output window open" : "no output window yet");
        TempFolder folder;
        WriteDataFiles(folder);
        ProgramRun run(folder.Path());
        QPointer<OutputWindow> output;
        if (withPage) {
            run.Press("OKSigns");
            output = run.program.Output();
            ASSERT_FALSE(output.isNull());
            ASSERT_TRUE(output->isVisible());
        }
        EXPECT_FALSE(std::filesystem::exists(folder / "Tolvaris.ini"));

        EXPECT_TRUE(run.program.Window().close());
        DeleteClosedWindows();
        EXPECT_FALSE(run.program.Window().isVisible());
        EXPECT_TRUE(output.isNull());
        EXPECT_EQ(run.program.Output(), nullptr);
        const auto windows = QApplication::topLevelWidgets();
        EXPECT_TRUE(std::none_of(windows.begin(), windows.end(),
                                 [](QWidget* w) { return w->isVisible(); }));
        EXPECT_EQ(run.writer.writes["Tolvaris.ini"], 1);
        EXPECT_EQ(LoadSettings(folder / "Tolvaris.ini"), SettingValues{});
        EXPECT_TRUE(run.notices.messages.empty());
    }
}

TEST(ProgramTest, FontAndPlacementOfOneRunAreWhereTheNextRunStarts) {
    TempFolder folder;
    WriteDataFiles(folder);
    QRect placement;
    {
        ProgramRun first(folder.Path());
        OutputWindow* output = first.ShowPage("OKSigns");
        ASSERT_NE(output, nullptr);
        first.Action("mnuFontsIncrease")->trigger();
        first.Action("mnuFontsBold")->trigger();
        output->resize(510, 380);
        output->move(120, 90);  // moved after the resize: not kept
        placement = QRect(60, 63, 514, 384);
        ASSERT_EQ(first.program.Window().close(), true);
        DeleteClosedWindows();
    }
    EXPECT_EQ(ReadBytes(folder / "Tolvaris.ini"),
              "[Tolvaris] - Do NOT change the order of these variables.\r\n"
              "FontSize= 9.25\r\n"
              "FontBold=-1\r\n"
              "FontItalic= 0\r\n"
              "DataTop= 945\r\n"
              "DataLeft= 900\r\n"
              "DataHeight= 5760\r\n"
              "DataWidth= 7710\r\n");

    ProgramRun second(folder.Path());
    EXPECT_EQ(second.program.Output(), nullptr);
    OutputWindow* output = second.ShowPage("OKHouses");
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->frameGeometry(), placement);
    EXPECT_EQ(output->PageView()->font().pointSizeF(), 9.25);
    EXPECT_TRUE(output->PageView()->font().bold());
    EXPECT_FALSE(output->PageView()->font().italic());
    EXPECT_TRUE(second.Action("mnuFontsBold")->isChecked());
    EXPECT_FALSE(second.Action("mnuFontsItalic")->isChecked());
    EXPECT_EQ(output->PageView()->toPlainText(),
              "\n  SUN in the 7th\n  At home with a partner.\n\n\n");
}

TEST(ProgramTest, SaveWritesTheDataBufferAndAsksForTheNameOnlyOnce) {
    TempFolder folder;
    WriteDataFiles(folder);
    ProgramRun run(folder.Path());
    run.dialog.answer = folder / "chart.txt";
    OutputWindow* output = run.ShowPage("OKSigns");
    ASSERT_NE(output, nullptr);
    QTest::keyClick(output, Qt::Key_F5);
    ASSERT_EQ(run.dialog.asked.size(), 1u);
    EXPECT_EQ(run.dialog.asked[0].initialFolder, folder.Path());
    const std::string firstPage = "\r\n  SUN in Libra\r\n  Fair to a fault.\r\n\r\n";
    EXPECT_EQ(ReadBytes(folder / "chart.txt"), firstPage + "\r\n\f\r\n");

    run.dialog.answer = folder / "never.txt";
    QTest::keyClick(run.ShowPage("OKHouses"), Qt::Key_F5);
    EXPECT_EQ(run.dialog.asked.size(), 1u) << "the remembered name is used";
    EXPECT_FALSE(std::filesystem::exists(folder / "never.txt"));
    const std::string bothPages =
        firstPage + "\r\n  SUN in the 7th\r\n  At home with a partner.\r\n\r\n";
    EXPECT_EQ(ReadBytes(folder / "chart.txt"), bothPages + "\r\n\f\r\n");

    // Save As always asks, and its name is the one Save uses from then on.
    run.dialog.answer = folder / "copy.txt";
    QTest::keyClick(run.program.Output(), Qt::Key_F6);
    EXPECT_EQ(run.dialog.asked.size(), 2u);
    EXPECT_EQ(ReadBytes(folder / "copy.txt"), bothPages + "\r\n\f\r\n");
    run.program.Output()->findChild<QAction*>("mnuFontsBold")->trigger();
    QTest::keyClick(run.program.Output(), Qt::Key_F5);
    EXPECT_EQ(ReadBytes(folder / "copy.txt"), bothPages + "\r\n\r\n\f\r\n");
    EXPECT_EQ(ReadBytes(folder / "chart.txt"), bothPages + "\r\n\f\r\n");
    EXPECT_TRUE(run.notices.messages.empty());
}

TEST(ProgramTest, SavedNameOutlivesTheOutputWindow) {
    TempFolder folder;
    WriteDataFiles(folder);
    ProgramRun run(folder.Path());
    run.dialog.answer = folder / "chart.txt";
    QTest::keyClick(run.ShowPage("OKSigns"), Qt::Key_F5);
    run.program.Output()->close();
    DeleteClosedWindows();

    QTest::keyClick(run.ShowPage("OKHouses"), Qt::Key_F5);
    EXPECT_EQ(run.dialog.asked.size(), 1u);
    EXPECT_EQ(ReadBytes(folder / "chart.txt"),
              "\r\n  SUN in Libra\r\n  Fair to a fault.\r\n\r\n"
              "\r\n  SUN in the 7th\r\n  At home with a partner.\r\n\r\n\r\n\f\r\n");
}

TEST(ProgramTest, AFullReadingSavedFromTheWindowEqualsTheCommandLinesReading) {
    TempFolder folder;
    for (const auto& file : std::filesystem::directory_iterator(test::ShippedDataFolder())) {
        std::filesystem::copy_file(file.path(), folder / file.path().filename().string());
    }
    BirthData birth = test::BerlinNewYear();
    birth.name = "Ana";
    WriteBytes(folder / "ana.chart", FormatChartFile(birth));

    ProgramRun run(folder.Path());
    run.program.Charts().OpenChartFile(folder / "ana.chart");
    run.program.Charts().ShowFullReading(ReadingOrder::ByHouse);
    ASSERT_NE(run.program.Output(), nullptr);
    EXPECT_TRUE(run.Shown().contains("FULL READING: Ana"));
    // Printed pages are headed by the chart's name until the data is cleared.
    EXPECT_EQ(run.program.Output()->Printing().Title(), "Ana");
    run.dialog.answer = folder / "saved.txt";
    run.program.Saving().mnuFileSaveAs_Click();
    EXPECT_TRUE(run.notices.messages.empty());

    const std::string command = std::string(TOLVARIS_CHART_EXECUTABLE) + " --open " +
                                (folder / "ana.chart").string() + " --reading " +
                                (folder / "cli.txt").string() + " --order houses --data " +
                                folder.Path().string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string saved = ReadBytes(folder / "saved.txt");
    EXPECT_GT(saved.size(), 10000U);
    EXPECT_EQ(saved, ReadBytes(folder / "cli.txt"));

    run.Action("mnuClearBuffer")->trigger();
    EXPECT_EQ(run.program.Output()->Printing().Title(), "Tolvaris");
}

TEST(ProgramTest, ABodyChosenInTheChartWindowIsWhatTheRequestButtonsReadOut) {
    TempFolder folder;
    WriteBytes(folder / "ann.chart", FormatChartFile(test::BerlinNewYear()));
    WriteBytes(folder / "SIGN_Cap.TXT", "SATURN in Capricorn\r\nStructure.\r\n*\r\n");
    WriteBytes(folder / "HOUSE_10.TXT", "SATURN in the 10th\r\nStanding.\r\n*\r\n");
    ProgramRun run(folder.Path());
    run.program.Charts().OpenChartFile(folder / "ann.chart");
    // Saturn, the seventh row: 15 Capricorn in the 10th house (swetest: 285.6526).
    run.program.Charts().Window().Positions()->selectRow(6);
    MainWindow& window = run.program.Window();
    EXPECT_TRUE(window.Option(OptionGroup::Planet, 6)->isChecked());
    EXPECT_TRUE(window.Option(OptionGroup::Sign, 9)->isChecked());
    EXPECT_TRUE(window.Option(OptionGroup::House, 9)->isChecked());
    run.Press("OKSigns");
    EXPECT_TRUE(run.Shown().contains("SATURN in Capricorn"));
    run.Press("OKHouses");
    EXPECT_TRUE(run.Shown().contains("SATURN in the 10th"));
    EXPECT_TRUE(run.notices.messages.empty());
}

TEST(ProgramTest, AGlyphClickedOnTheWheelChoosesItsBodyInTheMainWindow) {
    TempFolder folder;
    WriteBytes(folder / "ann.chart", FormatChartFile(test::BerlinNewYear()));
    ProgramRun run(folder.Path());
    run.program.Charts().OpenChartFile(folder / "ann.chart");
    ChartWindow& shown = run.program.Charts().Window();
    shown.Tabs()->setCurrentWidget(shown.Wheel());
    shown.Wheel()->grab();
    // Jupiter (swetest: 95.1544), 5 Cancer in the 3rd house.
    const QPointF glyph = shown.Wheel()->LastLayout().bodies[5].glyphCentre;
    QTest::mouseClick(shown.Wheel(), Qt::LeftButton, {}, glyph.toPoint());
    MainWindow& window = run.program.Window();
    EXPECT_TRUE(window.Option(OptionGroup::Planet, 5)->isChecked());
    EXPECT_TRUE(window.Option(OptionGroup::Sign, 3)->isChecked());
    EXPECT_TRUE(window.Option(OptionGroup::House, 2)->isChecked());
}

}  // namespace
}  // namespace tolvaris
