#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QMenuBar>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <algorithm>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::DeleteClosedWindows;
using test::FakeNotices;
using test::ReadBytes;
using test::TempFolder;
using test::TwipsRect;
using test::WriteBytes;

constexpr const char* kFontMessage =
    "You must have the COURIER NEW font installed in Windows. Please add this font through "
    "CONTROL PANEL - FONTS.";

// Counts the resize events a widget receives.
class ResizeCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            ++count;
        }
        return false;
    }
    int count = 0;
};

class OutputWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(folder / "SIGN_Lib.TXT", "SUN in Libra\r\nFair to a fault.\r\n*\r\n");
        WriteBytes(folder / "HOUSE_7.TXT", "SUN in the 7th\r\nAt home with a partner.\r\n*\r\n");
        WriteBytes(folder / "OutputD1.txt", "How to use this window\r\n  F5 saves.");
    }

    // "Planet in sign" with the start selection.
    void ShowPage() { ASSERT_NE(run.ShowPage("OKSigns"), nullptr); }
    OutputWindow* Out() { return program.Output(); }
    QPlainTextEdit* Text() { return Out()->PageView(); }
    QAction* Action(const char* name) { return run.Action(name); }
    void Trigger(const char* name) { Action(name)->trigger(); }
    // The text box takes the whole inner area below the menu bar.
    void ExpectTextFillsTheWindow() {
        const int top = Out()->menuBar()->height();
        EXPECT_GT(top, 0);
        EXPECT_EQ(Text()->geometry(), QRect(0, top, Out()->width(), Out()->height() - top));
    }
    std::string LastPage() { return ReadBytes(folder / "lastpage.txt"); }
    SettingValues& Settings() { return program.Settings(); }

    TempFolder folder;
    test::ProgramRun run{folder.Path()};
    Program& program = run.program;
    FakeNotices& notices = run.notices;
};

TEST_F(OutputWindowTest, FirstPageOpensAtTheDefaultPlacementInTheDefaultFont) {
    ShowPage();
    EXPECT_EQ(Out()->frameGeometry(), QRect(60, 63, 640, 550));  // 900, 945, 9600, 8250 twips
    EXPECT_EQ(Out()->objectName(), "OutputD1");
    EXPECT_EQ(Out()->windowTitle(), "Data");
    ExpectTextFillsTheWindow();
    const QFont font = Text()->font();
    EXPECT_EQ(font.family(), "COURIER NEW");
    EXPECT_EQ(font.pointSizeF(), 8.5);
    EXPECT_FALSE(font.bold());
    EXPECT_FALSE(font.italic());
    EXPECT_FALSE(Action("mnuFontsBold")->isChecked());
    EXPECT_FALSE(Action("mnuFontsItalic")->isChecked());
    EXPECT_TRUE(Action("mnuFontsIncrease")->isEnabled());
    EXPECT_TRUE(Action("mnuFontsDecrease")->isEnabled());
    EXPECT_EQ(Settings(), SettingValues{}) << "showing at the stored place stores the same";
    for (const char* name : {"mnuFileSave", "mnuFileSaveAs", "mnuClearBuffer", "mnuHelp"}) {
        EXPECT_NE(Action(name), nullptr);
    }
}

TEST_F(OutputWindowTest, ResizeStoresTheOuterPlacementInTwipsAndMovingAloneDoesNot) {
    ShowPage();
    Out()->resize(500, 400);
    QRect outer = Out()->frameGeometry();
    EXPECT_EQ(Out()->size(), QSize(500, 400));
    EXPECT_EQ(Settings().outputWidth, outer.width() * 15);
    EXPECT_EQ(Settings().outputHeight, outer.height() * 15);
    EXPECT_EQ(Settings().outputTop, 945);
    EXPECT_EQ(Settings().outputLeft, 900);
    EXPECT_NE(Settings().outputWidth, 9600);

    const SettingValues beforeMove = Settings();
    Out()->move(200, 210);
    QCoreApplication::processEvents();
    EXPECT_EQ(Out()->frameGeometry().topLeft(), QPoint(200, 210));
    EXPECT_EQ(Settings(), beforeMove);

    Out()->resize(520, 390);
    outer = Out()->frameGeometry();
    EXPECT_EQ(Settings().outputLeft, 3000);
    EXPECT_EQ(Settings().outputTop, 3150);
    EXPECT_EQ(Settings().outputWidth, outer.width() * 15);
    EXPECT_EQ(Settings().outputHeight, outer.height() * 15);
    ExpectTextFillsTheWindow();

    Out()->resize(90, 70);
    ExpectTextFillsTheWindow();
}

TEST_F(OutputWindowTest, MinimizedWindowStoresNothingAndShowsNoNewPage) {
    ShowPage();
    const SettingValues stored = Settings();
    const std::string page = LastPage();
    const auto dataCount = program.Buffers().DataCount();
    Out()->showMinimized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(Out()->isMinimized());

    ResizeCounter counter;
    Out()->installEventFilter(&counter);
    Out()->resize(300, 200);
    QCoreApplication::processEvents();
    Out()->removeEventFilter(&counter);
    EXPECT_GT(counter.count, 0) << "the window must have seen the resize";
    EXPECT_EQ(Settings(), stored);

    // A page requested meanwhile is collected but not shown.
    run.Press("OKHouses");
    EXPECT_EQ(LastPage(), page);
    EXPECT_TRUE(Out()->isMinimized());
    EXPECT_GT(program.Buffers().DataCount(), dataCount);
}

// A maximize changes size and position at once, and Qt delivers the resize
// first: what is stored must already be the maximized frame.
TEST_F(OutputWindowTest, MaximizedPlacementIsStoredAndTheNextWindowOpensNormal) {
    ShowPage();
    Out()->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(Out()->isMaximized());
    const QRect maximized = Out()->frameGeometry();
    ASSERT_NE(maximized.size(), QSize(640, 550));
    EXPECT_EQ(TwipsRect(Settings()), maximized);

    Out()->close();
    DeleteClosedWindows();
    ShowPage();
    EXPECT_FALSE(Out()->isMaximized());
    EXPECT_EQ(Out()->frameGeometry(), maximized);
}

TEST_F(OutputWindowTest, ClosedWindowComesBackFreshAtTheLastResizeWithTheCurrentFont) {
    ShowPage();
    QPointer<OutputWindow> first = Out();
    Out()->resize(480, 360);
    Out()->move(150, 160);  // not stored: only a resize stores
    Trigger("mnuFontsBold");
    Trigger("mnuFontsIncrease");
    const QRect stored = TwipsRect(Settings());
    EXPECT_EQ(stored, QRect(60, 63, 484, 364));

    Out()->close();
    EXPECT_EQ(Out(), nullptr) << "the reference is gone as the window closes";
    DeleteClosedWindows();
    EXPECT_TRUE(first.isNull()) << "closing destroys the window";

    run.Press("OKHouses");
    ASSERT_NE(Out(), nullptr);
    EXPECT_EQ(Out()->frameGeometry(), stored);
    EXPECT_TRUE(Text()->font().bold());
    EXPECT_TRUE(Action("mnuFontsBold")->isChecked());
    EXPECT_EQ(Text()->font().pointSizeF(), 9.25);
    EXPECT_EQ(ReadBytes(folder / "lastpage.txt"),
              "\r\n  SUN in the 7th\r\n  At home with a partner.\r\n\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "Tolvaris.ini"))
        << "closing the output window alone writes nothing";
}

TEST_F(OutputWindowTest, EscapeAndRightClickGiveTheFocusToTheMainWindow) {
    ShowPage();
    struct Case {
        const char* name;
        std::function<void()> act;
        bool mainWindowActive;
    };
    const std::vector<Case> cases = {
        {"Escape typed", [this] { QTest::keyClick(Text(), Qt::Key_Escape); }, true},
        {"right click",
         [this] { QTest::mouseClick(Text()->viewport(), Qt::RightButton, {}, QPoint(40, 30)); },
         true},
        {"left click",
         [this] { QTest::mouseClick(Text()->viewport(), Qt::LeftButton, {}, QPoint(40, 30)); },
         false},
        {"middle click",
         [this] { QTest::mouseClick(Text()->viewport(), Qt::MiddleButton, {}, QPoint(40, 30)); },
         false},
    };
    const QString shown = Text()->toPlainText();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Out()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Out()));
        Text()->setFocus();
        c.act();
        QCoreApplication::processEvents();
        QWidget* expected = c.mainWindowActive ? static_cast<QWidget*>(&program.Window()) : Out();
        EXPECT_EQ(QApplication::activeWindow(), expected);
        EXPECT_EQ(Text()->toPlainText(), shown);
    }
    EXPECT_EQ(program.Requests_().CurrentSelection().planetIndex, 0);
}

TEST_F(OutputWindowTest, ClearAllDataEmptiesTheDataBufferAndKeepsThePageShown) {
    ShowPage();
    const std::string page = LastPage();
    const QString shown = Text()->toPlainText();
    const auto pageCount = program.Buffers().PageCount();

    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE(time);  // the second time the buffer is empty already
        notices.messages.clear();
        Trigger("mnuClearBuffer");
        ASSERT_EQ(notices.messages.size(), 1u);
        EXPECT_EQ(notices.messages[0].text, "All data cleared from buffer.");
        EXPECT_EQ(notices.messages[0].caption, "Information!");
        EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Exclamation);
        EXPECT_EQ(program.Buffers().DataCount(), 0);
        EXPECT_EQ(program.Buffers().PageCount(), pageCount);
        EXPECT_EQ(Text()->toPlainText(), shown);
        EXPECT_EQ(LastPage(), page);
        EXPECT_TRUE(Out()->isVisible());
    }

    notices.messages.clear();
    Trigger("mnuFileSave");
    ASSERT_EQ(notices.messages.size(), 1u);
    EXPECT_EQ(notices.messages[0].text, "No data to write to file.");
    EXPECT_EQ(notices.messages[0].caption, "Information");
}

TEST_F(OutputWindowTest, HelpShowsTheHelpFileAsAPage) {
    ShowPage();
    const auto dataCount = program.Buffers().DataCount();
    Trigger("mnuHelp");
    const std::string page = "How to use this window\r\n  F5 saves.\r\n\r\n\r\n\r\n";
    EXPECT_EQ(LastPage(), page);
    EXPECT_EQ(Text()->toPlainText(), "How to use this window\n  F5 saves.\n\n\n\n");
    EXPECT_EQ(program.Buffers().DataCount(), dataCount + 4);
}

struct FontStep {
    const char* command;
    double shown;
    double setting;
    bool increaseEnabled;
    bool decreaseEnabled;
};

class FontCommandTest : public OutputWindowTest {
protected:
    // Each command in turn, with the font, the setting and the size
    // commands' state it leaves.
    void ExpectFontSteps(const std::vector<FontStep>& steps) {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const FontStep& step = steps[i];
            SCOPED_TRACE(std::to_string(i) + " " + step.command);
            Trigger(step.command);
            EXPECT_EQ(Text()->font().pointSizeF(), step.shown);
            EXPECT_EQ(Settings().outputFontSize, step.setting);
            EXPECT_EQ(Action("mnuFontsIncrease")->isEnabled(), step.increaseEnabled);
            EXPECT_EQ(Action("mnuFontsDecrease")->isEnabled(), step.decreaseEnabled);
        }
    }
};

TEST_F(FontCommandTest, SizeCommandsClimbTheLadderAndStopAtItsEnds) {
    ShowPage();
    const std::vector<FontStep> steps = {
        {"mnuFontsIncrease", 9.25, 9.25, true, true},
        {"mnuFontsIncrease", 10, 10, true, true},
        {"mnuFontsIncrease", 10.75, 10.75, true, true},
        {"mnuFontsIncrease", 11.5, 11.5, true, true},
        {"mnuFontsIncrease", 12.25, 12.25, false, true},
        {"mnuFontsDecrease", 11.5, 11.5, true, true},
        {"mnuFontsDecrease", 10.75, 10.75, true, true},
        {"mnuFontsDecrease", 10, 10, true, true},
        {"mnuFontsDecrease", 9.25, 9.25, true, true},
        {"mnuFontsDecrease", 8.5, 8.5, true, true},
        {"mnuFontsDecrease", 7.75, 7.75, true, false},
    };
    ExpectFontSteps(steps);
}

TEST_F(FontCommandTest, StoredSizeBeyondTheBoundMovesTheSettingButNotTheShownFont) {
    Settings().outputFontSize = 12.25;
    ShowPage();
    EXPECT_EQ(Text()->font().pointSizeF(), 12.25);
    EXPECT_TRUE(Action("mnuFontsIncrease")->isEnabled()) << "until the first font command";

    const std::vector<FontStep> steps = {
        {"mnuFontsIncrease", 12.25, 13, false, true},
        {"mnuFontsDecrease", 12.25, 12.25, false, true},
        {"mnuFontsDecrease", 11.5, 11.5, true, true},
    };
    ExpectFontSteps(steps);
}

TEST_F(OutputWindowTest, BoldAndItalicToggleBackToRegular) {
    ShowPage();
    struct Case {
        const char* command;
        std::function<bool(const QFont&)> isOn;
        double SettingValues::*setting;
    };
    const std::vector<Case> cases = {
        {"mnuFontsBold", [](const QFont& f) { return f.bold(); }, &SettingValues::outputFontBold},
        {"mnuFontsItalic", [](const QFont& f) { return f.italic(); },
         &SettingValues::outputFontItalic},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Trigger(c.command);
        EXPECT_TRUE(c.isOn(Text()->font()));
        EXPECT_EQ(Settings().*c.setting, -1);
        EXPECT_TRUE(Action(c.command)->isChecked());
        Trigger(c.command);
        EXPECT_FALSE(c.isOn(Text()->font()));
        EXPECT_EQ(Settings().*c.setting, 0);
        EXPECT_FALSE(Action(c.command)->isChecked());
    }
    EXPECT_EQ(Text()->font().pointSizeF(), 8.5);
}

TEST_F(OutputWindowTest, EachFontCommandShowsThePageAgainWithOneMoreEmptyLine) {
    ShowPage();
    for (const char* command :
         {"mnuFontsIncrease", "mnuFontsDecrease", "mnuFontsBold", "mnuFontsItalic"}) {
        SCOPED_TRACE(command);
        const auto dataCount = program.Buffers().DataCount();
        const auto pageCount = program.Buffers().PageCount();
        const std::string page = LastPage();
        Trigger(command);
        EXPECT_EQ(program.Buffers().DataCount(), dataCount + 1);
        EXPECT_EQ(program.Buffers().PageCount(), pageCount + 1);
        EXPECT_TRUE(program.Buffers().DataBuffer().back().Empty());
        EXPECT_EQ(LastPage(), page + "\r\n");
        EXPECT_EQ(Text()->toPlainText(), QString::fromStdString(LastPage()).replace("\r\n", "\n"));
    }
}

TEST_F(OutputWindowTest, AfterClearAllDataFontCommandsChangeTheFontButDoNotReloadThePage) {
    ShowPage();
    Trigger("mnuClearBuffer");
    const std::string page = LastPage();
    const QString shown = Text()->toPlainText();
    const auto pageCount = program.Buffers().PageCount();

    Trigger("mnuFontsDecrease");
    EXPECT_EQ(Text()->font().pointSizeF(), 7.75);
    EXPECT_FALSE(Action("mnuFontsDecrease")->isEnabled());
    Trigger("mnuFontsBold");
    EXPECT_TRUE(Text()->font().bold());

    EXPECT_EQ(program.Buffers().DataCount(), 0);
    EXPECT_EQ(program.Buffers().PageCount(), pageCount);
    EXPECT_EQ(LastPage(), page);
    EXPECT_EQ(Text()->toPlainText(), shown);
}

TEST_F(OutputWindowTest, ShortcutOfADisabledSizeCommandDoesNothing) {
    ShowPage();
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(Out(), Qt::Key_F7);
    }
    ASSERT_EQ(Settings().outputFontSize, 12.25) << "F7 reaches Increase while enabled";
    ASSERT_FALSE(Action("mnuFontsIncrease")->isEnabled());
    const auto dataCount = program.Buffers().DataCount();
    const std::string page = LastPage();

    QTest::keyClick(Out(), Qt::Key_F7);
    EXPECT_EQ(Settings().outputFontSize, 12.25);
    EXPECT_EQ(Text()->font().pointSizeF(), 12.25);
    EXPECT_EQ(program.Buffers().DataCount(), dataCount);
    EXPECT_EQ(LastPage(), page);

    QTest::keyClick(Text(), Qt::Key_F8);
    EXPECT_EQ(Settings().outputFontSize, 11.5) << "F8 works from the text too";
}

// The page view holds no line longer than this; a longer one shows in pieces.
constexpr std::size_t kWidestShownLine = 1024;

TEST_F(OutputWindowTest, LongUnbrokenLinesShowInPiecesStayWholeInThePageAndCloseAtOnce) {
    // An entry's lines (true) the page indents by two spaces; keywords.txt's it does not.
    const std::pair<bool, std::string> cases[] = {{true, std::string(3'000'000, 'x')},
                                                  {true, std::string(kWidestShownLine - 1, 'y')},
                                                  {true, std::string(kWidestShownLine - 2, 'z')},
                                                  {false, std::string(2'000'000, '\0')}};
    for (const auto& [entry, line] : cases) {
        SCOPED_TRACE(std::to_string(line.size()) + (entry ? " in an entry" : " of keywords"));
        WriteBytes(folder / (entry ? "SIGN_Lib.TXT" : "keywords.txt"),
                   entry ? "SUN in Libra\r\n" + line + "\r\n*\r\n" : line);
        run.Press(entry ? "OKSigns" : "Command2");
        ASSERT_NE(Out(), nullptr);
        EXPECT_LE(Text()->document()->characterCount(), 1'100'000) << "a bounded first screen";
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return Out()->findChild<QObject*>("pageFiller") == nullptr; }, 60'000));

        // The page file and the data buffer hold the line as it was; the page
        // view the same characters, the long line alone cut in pieces.
        const std::string stored = (entry ? "  " : "") + line;
        const std::string page = LastPage();
        EXPECT_NE(("\r\n" + page).find("\r\n" + stored + "\r\n"), std::string::npos);
        const auto& data = program.Buffers().DataBuffer();
        EXPECT_TRUE(std::any_of(data.begin(), data.end(),
                                [&](const Line& kept) { return kept.View() == stored; }));

        const std::size_t pieces = (stored.size() + kWidestShownLine - 1) / kWidestShownLine;
        EXPECT_EQ(static_cast<std::size_t>(Text()->blockCount()),
                  std::count(page.begin(), page.end(), '\n') + pieces);
        for (QTextBlock block = Text()->document()->begin(); block.isValid();
             block = block.next()) {
            ASSERT_LE(static_cast<std::size_t>(block.length() - 1), kWidestShownLine);
        }
        EXPECT_TRUE(Text()->toPlainText().remove('\n') ==
                    DecodeCp1252(page).remove('\r').remove('\n'));
    }
    // A close ends a filling-in at once.
    run.Press("Command2");
    OutputWindow* const window = Out();
    ASSERT_NE(window->findChild<QObject*>("pageFiller"), nullptr) << "no filling-in under way";
    window->close();
    EXPECT_EQ(window->findChild<QObject*>("pageFiller"), nullptr);
}

// The window on its own, as the program creates it.
class LoneOutputWindowTest : public ::testing::Test {
protected:
    static std::int32_t NoPage() { return 0; }

    SettingValues settings;
    FakeNotices notices;
};

TEST_F(LoneOutputWindowTest, LoadAppliesTheStoredFont) {
    settings.outputFontSize = 10.75;
    settings.outputFontBold = -1;
    settings.outputFontItalic = 1;  // any value but 0 is on
    OutputWindow window(settings, 1.5, notices, NoPage, "COURIER NEW");
    EXPECT_FALSE(window.isVisible()) << "loading does not show the window";
    const QFont font = window.PageView()->font();
    EXPECT_EQ(font.family(), "COURIER NEW");
    EXPECT_EQ(font.pointSizeF(), 10.75);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(window.findChild<QAction*>("mnuFontsBold")->isChecked());
    EXPECT_TRUE(window.findChild<QAction*>("mnuFontsItalic")->isChecked());
    EXPECT_TRUE(window.findChild<QAction*>("mnuFontsIncrease")->isEnabled());
    EXPECT_TRUE(window.findChild<QAction*>("mnuFontsDecrease")->isEnabled());
    EXPECT_TRUE(window.PageView()->toPlainText().isEmpty());
    EXPECT_EQ(settings.outputFontItalic, 1) << "loading writes no font setting";
}

// The frame as a window manager tells it: nothing at the first show, the
// real frame (the offscreen platform's) some time later.
struct LateFrame {
    QMargins Told(const QWidget& window) const {
        return told ? WindowSystemFrameMargins(window) : QMargins();
    }
    bool told = false;
};

// The stored placement is the outer frame; the window opens with exactly
// that frame, and showing it stores nothing new.
TEST_F(LoneOutputWindowTest, OpensAtTheStoredFrameWhateverTheFrameEstimate) {
    // The main window's frame under openbox, a resizable window's frame
    // there, none at all, and the offscreen platform's own.
    const std::vector<QMargins> estimates = {QMargins(1, 22, 1, 1), QMargins(1, 22, 1, 5),
                                             QMargins(), QMargins(2, 2, 2, 2)};
    for (const bool toldAtOnce : {true, false}) {
        for (const QMargins estimate : estimates) {
            SCOPED_TRACE(::testing::Message()
                         << (toldAtOnce ? "told at once" : "told late") << ", estimate top "
                         << estimate.top() << " bottom " << estimate.bottom());
            settings = SettingValues{
                .outputTop = 1200, .outputLeft = 1500, .outputHeight = 4500, .outputWidth = 6000};
            const SettingValues stored = settings;
            LateFrame frame{toldAtOnce};
            OutputWindow window(settings, 1.5, notices, NoPage, "COURIER NEW", estimate,
                                [&frame](const QWidget& w) { return frame.Told(w); });
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
            frame.told = true;
            // The window system reports the frame with a move of the window.
            QMoveEvent moved(window.pos(), window.pos());
            QCoreApplication::sendEvent(&window, &moved);
            QCoreApplication::processEvents();
            EXPECT_EQ(window.frameGeometry(), QRect(100, 80, 400, 300));
            EXPECT_EQ(settings, stored);
        }
    }
}

// A frame stored on a larger screen or at another scale opens inside the
// available part of this one, and stays stored as it was until a resize.
TEST_F(LoneOutputWindowTest, ARestoredFrameIsKeptInsideTheAvailableScreen) {
    // Stored frame, available part of the screen it lands on, the frame it
    // opens at (worked out by hand), all in pixels.
    const QRect cases[][3] = {
        {{1401, 0, 1600, 1224}, {0, 0, 1600, 1200}, {0, 0, 1600, 1200}},  // too large
        {{1000, 900, 800, 400}, {0, 0, 1600, 1200}, {800, 800, 800, 400}},
        {{-50, -30, 400, 300}, {0, 0, 1600, 1200}, {0, 0, 400, 300}},
        {{1700, 0, 400, 300}, {1600, 24, 1280, 1000}, {1700, 24, 400, 300}},  // under a panel
        {{100, 80, 400, 300}, {0, 0, 1600, 1200}, {100, 80, 400, 300}},       // inside
    };
    auto twips = [](int pixels) { return static_cast<std::int16_t>(pixels * 15); };
    for (const auto& row : cases) {
        const QRect& stored = row[0];
        const QRect& available = row[1];
        const QRect& opened = row[2];
        SCOPED_TRACE(::testing::PrintToString(stored));
        settings = SettingValues{.outputTop = twips(stored.top()),
                                 .outputLeft = twips(stored.left()),
                                 .outputHeight = twips(stored.height()),
                                 .outputWidth = twips(stored.width())};
        const SettingValues loaded = settings;
        OutputWindow window(
            settings, 1.5, notices, NoPage, "COURIER NEW", QMargins(), WindowSystemFrameMargins,
            [&](const QRect& frame) { return frame == stored ? available : QRect(); });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_EQ(window.frameGeometry(), opened);
        EXPECT_EQ(settings, loaded) << "opening stores nothing";
        window.resize(window.width() - 10, window.height() - 10);
        EXPECT_EQ(TwipsRect(settings), window.frameGeometry()) << "a resize stores";
    }
}

// Open, resize, close, reopen: each opening has the outer frame the last
// resize stored, however far the estimate is from the frame told later.
TEST_F(LoneOutputWindowTest, RepeatedOpenResizeCloseCyclesDoNotDrift) {
    QRect stored = TwipsRect(settings);
    for (int cycle = 1; cycle <= 10; ++cycle) {
        SCOPED_TRACE(cycle);
        LateFrame frame;
        QPointer<OutputWindow> window =
            new OutputWindow(settings, 1.5, notices, NoPage, "COURIER NEW", QMargins(1, 22, 1, 1),
                             [&frame](const QWidget& w) { return frame.Told(w); });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        frame.told = true;
        QMoveEvent moved(window->pos(), window->pos());
        QCoreApplication::sendEvent(window, &moved);
        EXPECT_EQ(window->frameGeometry(), stored);
        EXPECT_EQ(TwipsRect(settings), stored) << "opening stores nothing";

        // The user's resize, a different one each time, stores the outer frame.
        window->resize(window->width() + (cycle % 3) * 7 - 6, window->height() - cycle % 2 * 5 + 2);
        stored = window->frameGeometry();
        EXPECT_EQ(TwipsRect(settings), stored);
        EXPECT_EQ(settings.outputHeight, stored.height() * 15);
        window->close();
        DeleteClosedWindows();
        EXPECT_TRUE(window.isNull());
    }
}

TEST_F(LoneOutputWindowTest, FontCheckWarnsWhenTheNameGivesNoFixedPitchFont) {
    QFont probe;
    probe.setFamily("NoSuchFontXyz");
    if (QFontInfo(probe).fixedPitch()) {
        GTEST_SKIP() << "this system substitutes the fixed-pitch "
                     << QFontInfo(probe).family().toStdString() << " for an unknown font name";
    }
    settings.outputFontBold = -1;
    OutputWindow window(settings, 1.5, notices, NoPage, "NoSuchFontXyz");
    ASSERT_EQ(notices.messages.size(), 1u);
    EXPECT_EQ(notices.messages[0].text, kFontMessage);
    EXPECT_EQ(notices.messages[0].caption, "Information!");
    EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Exclamation);
    // The load goes on after the message.
    EXPECT_EQ(window.PageView()->font().pointSizeF(), 8.5);
    EXPECT_TRUE(window.PageView()->font().bold());
    EXPECT_TRUE(window.findChild<QAction*>("mnuFontsBold")->isChecked());
}

}  // namespace
}  // namespace tolvaris
