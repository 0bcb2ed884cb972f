#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/program.h"
#include "support/fake_screen.h"
#include "support/temp_folder.h"

// Defined in ui_test_main.cpp.
void PrintTo(const QRect& rect, std::ostream* out);
namespace tolvaris {
void PrintTo(const SettingValues& values, std::ostream* out);
}  // namespace tolvaris

namespace tolvaris {
namespace {

using test::FakeNotices;
using test::FakeSaveDialog;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// Writes for real and counts the writes of each file name.
class CountingFileWriter : public AtomicFileWriter {
public:
    std::string Write(const std::filesystem::path& target, const Producer& produce) override {
        ++writes[target.filename().string()];
        return AtomicFileWriter::Write(target, produce);
    }
    std::map<std::string, int> writes;
};

void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void WriteDataFiles(const TempFolder& folder) {
    WriteBytes(folder / "SIGN_Lib.TXT", "SUN in Libra\r\nFair to a fault.\r\n*\r\n");
    WriteBytes(folder / "HOUSE_7.TXT", "SUN in the 7th\r\nAt home with a partner.\r\n*\r\n");
}

// One run of the program in a folder, with its main window shown.
struct ProgramRun {
    explicit ProgramRun(const TempFolder& folder)
        : program(folder.Path(), notices, dialog, writer) {
        program.Window().show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&program.Window()));
    }
    void Press(const char* button) {
        QTest::mouseClick(program.Window().Button(button), Qt::LeftButton);
    }
    // A request whose page is shown; the output window is then the active
    // one, where its shortcuts work.
    OutputWindow* ShowPage(const char* button) {
        Press(button);
        OutputWindow* output = program.Output();
        EXPECT_NE(output, nullptr);
        if (output != nullptr) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(output));
        }
        return output;
    }
    QAction* Action(const char* name) { return program.Output()->findChild<QAction*>(name); }

    FakeNotices notices;
    FakeSaveDialog dialog;
    CountingFileWriter writer;
    Program program;
};

constexpr const char* kDefaultSettingsFile =
    "[Tolvaris] - Do NOT change the order of these variables.\r\n"
    "FontSize= 8.5\r\n"
    "FontBold= 0\r\n"
    "FontItalic= 0\r\n"
    "DataTop= 945\r\n"
    "DataLeft= 900\r\n"
    "DataHeight= 8250\r\n"
    "DataWidth= 9600\r\n";

TEST(ProgramTest, ClosingTheMainWindowClosesBothAndWritesTheSettingsOnce) {
    for (const bool withPage : {true, false}) {
        SCOPED_TRACE(withPage ? "output window open" : "no output window yet");
        TempFolder folder;
        WriteDataFiles(folder);
        ProgramRun run(folder);
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
        EXPECT_EQ(ReadBytes(folder / "Tolvaris.ini"), kDefaultSettingsFile);
        EXPECT_TRUE(run.notices.messages.empty());
    }
}

TEST(ProgramTest, FontAndPlacementOfOneRunAreWhereTheNextRunStarts) {
    TempFolder folder;
    WriteDataFiles(folder);
    QRect placement;
    {
        ProgramRun first(folder);
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

    ProgramRun second(folder);
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
    ProgramRun run(folder);
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
    ProgramRun run(folder);
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

}  // namespace
}  // namespace tolvaris
