#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::FakeNotices;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// Each file holds a decoy entry beside the wanted one, so a wrong key shows.
constexpr const char* kSunInLibra = "SUN in Libra\r\nWeighs every choice against a partner's wish.";
constexpr const char* kMoonInLibra = "MOON in Libra\r\nFeels safe where manners are kind.";
constexpr const char* kSunIn7th = "SUN in the 7th house\r\nShines brightest beside another.";
constexpr const char* kSunIn10th = "SUN in the 10th house\r\nRises in public view.";
constexpr const char* kMarsIn10th = "MARS in the 10th house\r\nClimbs by sheer will.";
constexpr const char* kLibraRising = "LIBRA rising\r\nMeets the world with a ready smile.";
constexpr const char* kPiscesRising = "PISCES rising\r\nSeems to drift in from a dream.";
constexpr const char* kSunDiscordantMoon = "Sun discordant to Moon\r\nHead and heart pull apart.";
constexpr const char* kSunHarmonizingMoon = "Sun harmonizing with Moon\r\nWill and mood agree.";
constexpr const char* kKeywords = "Aries: start\r\nTaurus: keep\r\n";

void WriteChartFiles(const TempFolder& folder) {
    auto entries = [](std::initializer_list<std::string> list) {
        std::string file = "A note before the first entry.\r\n";
        for (const std::string& entry : list) {
            file += entry + "\r\n*\r\n";
        }
        return file;
    };
    WriteBytes(folder / "SIGN_Lib.TXT", entries({kSunInLibra, kMoonInLibra}));
    WriteBytes(folder / "HOUSE_7.TXT", entries({"MOON in the 7th house\r\nx", kSunIn7th}));
    WriteBytes(folder / "HOUSE_10.TXT", entries({kSunIn10th, kMarsIn10th}));
    WriteBytes(folder / "RISING.TXT", entries({kLibraRising, kPiscesRising}));
    WriteBytes(folder / "Sun.TXT", entries({kSunDiscordantMoon, kSunHarmonizingMoon}));
    WriteBytes(folder / "keywords.txt", kKeywords);
}

// lastpage.txt for an entry: an opening empty line, the entry indented by
// two spaces, the closing empty line and the spare one.
std::string InterpretationPage(std::string_view entry) {
    std::string page = "\r\n  ";
    for (const char c : entry) {
        page += c;
        if (c == '\n') {
            page += "  ";
        }
    }
    return page + "\r\n\r\n\r\n";
}

// What the text box shows for page-file bytes.
QString Displayed(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()))
        .replace("\r\n", "\n");
}

constexpr OptionGroup kSign = OptionGroup::Sign;
constexpr OptionGroup kHouse = OptionGroup::House;
constexpr OptionGroup kPlanet = OptionGroup::Planet;
constexpr OptionGroup kAspect = OptionGroup::AspectKind;
constexpr OptionGroup kPlanet2 = OptionGroup::SecondPlanet;

struct Pick {
    OptionGroup group;
    int index;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { WriteChartFiles(folder); }

    MainWindow& Window() { return program.Window(); }
    QRadioButton* Option(OptionGroup group, int index) { return Window().Option(group, index); }
    const Selection& Selected() { return program.Requests_().CurrentSelection(); }

    // A radio button takes clicks on its indicator and label only.
    void Click(QRadioButton* option) {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
    }
    void Click(const std::vector<Pick>& picks) {
        for (const Pick& pick : picks) {
            Click(Option(pick.group, pick.index));
        }
    }
    void DoubleClick(QRadioButton* option) {
        // The whole sequence a user makes: the first click focuses the button.
        const QPoint at(8, option->height() / 2);
        QTest::mousePress(option, Qt::LeftButton, {}, at);
        QTest::mouseRelease(option, Qt::LeftButton, {}, at);
        QTest::mouseDClick(option, Qt::LeftButton, {}, at);
        QTest::mouseRelease(option, Qt::LeftButton, {}, at);
    }
    void Press(const char* button) { run.Press(button); }
    std::string LastPage() { return ReadBytes(folder / "lastpage.txt"); }
    QString Shown() { return run.Shown(); }
    void ExpectSelection(const Selection& expected) {
        EXPECT_EQ(Selected().SignIndex, expected.SignIndex);
        EXPECT_EQ(Selected().HouseIndex, expected.HouseIndex);
        EXPECT_EQ(Selected().PlanetIndex, expected.PlanetIndex);
        EXPECT_EQ(Selected().AspectIndex, expected.AspectIndex);
        EXPECT_EQ(Selected().Planet2Index, expected.Planet2Index);
    }

    TempFolder folder;
    test::ProgramRun run{folder.Path()};
    Program& program = run.program;
    FakeNotices& notices = run.notices;
};

TEST_F(MainWindowTest, StartSelectionIsShownCheckedAndTheFirstFocusKeepsIt) {
    const std::vector<Pick> checked = {
        {kSign, 6}, {kHouse, 6}, {kPlanet, 0}, {kAspect, 2}, {kPlanet2, 1}};  // Libra .. Moon
    for (const Pick& pick : checked) {
        const QList<QAbstractButton*> options = Window().Options(pick.group)->buttons();
        for (QAbstractButton* option : options) {
            EXPECT_EQ(option->isChecked(), Window().Options(pick.group)->id(option) == pick.index)
                << option->objectName().toStdString();
        }
    }
    EXPECT_EQ(QApplication::focusWidget(), Option(kSign, 6));
    ExpectSelection(Selection{6, 6, 0, 2, 1});
    EXPECT_EQ(Window().windowTitle(), "Natal Chart Tolvaris");
    EXPECT_EQ(Window().pos(), QPoint(60, 80));  // 900 and 1200 twips
}

TEST_F(MainWindowTest, ClickingAnOptionSelectsItInItsGroupOnly) {
    struct Case {
        Pick pick;
        Selection expected;
    };
    const std::vector<Case> cases = {
        {{kSign, 7}, {7, 6, 0, 2, 1}},       // Scorpio
        {{kHouse, 9}, {7, 9, 0, 2, 1}},      // 10th
        {{kPlanet, 4}, {7, 9, 4, 2, 1}},     // Mars
        {{kAspect, 0}, {7, 9, 4, 0, 1}},     // blending
        {{kPlanet2, 10}, {7, 9, 4, 0, 10}},  // Ascendant on the right
        {{kPlanet, 0}, {7, 9, 0, 0, 10}},    // back to Sun
    };
    for (const Case& c : cases) {
        QRadioButton* option = Option(c.pick.group, c.pick.index);
        SCOPED_TRACE(option->objectName().toStdString());
        Click(option);
        EXPECT_TRUE(option->isChecked());
        EXPECT_TRUE(option->hasFocus());
        ExpectSelection(c.expected);
    }
    EXPECT_EQ(program.Output(), nullptr) << "a plain click requests nothing";
}

TEST_F(MainWindowTest, ArrowKeysMoveTheSelectionWithinAGroup) {
    Click(Option(kPlanet, 0));  // Sun
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_TRUE(Option(kPlanet, 1)->hasFocus());
    EXPECT_TRUE(Option(kPlanet, 1)->isChecked());
    EXPECT_FALSE(Option(kPlanet, 0)->isChecked());
    ExpectSelection(Selection{6, 6, 1, 2, 1});

    Press("OKSigns");
    EXPECT_EQ(LastPage(), InterpretationPage(kMoonInLibra));

    Click(Option(kSign, 6));  // Libra, then up to Virgo and back down past Libra to Scorpio
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(Selected().SignIndex, 5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(Selected().SignIndex, 7);
    EXPECT_TRUE(Option(kSign, 7)->isChecked());
    EXPECT_EQ(Selected().PlanetIndex, 1) << "the other groups keep theirs";
}

TEST_F(MainWindowTest, TabEntersEachGroupOnItsCheckedButtonInTheWindowsOrder) {
    Click(Option(kPlanet, 4));  // Mars
    Click(Option(kSign, 7));    // Scorpio, where the walk starts
    const std::vector<QString> expected = {"OKAspects", "Option2_6", "OKHouses",  "Option3_4",
                                           "OKSigns",   "Option4_2", "Option5_1", "OKRisingSign",
                                           "Command1",  "Command2",  "Option1_7"};
    std::vector<QString> visited;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(Window().Button("Command1")->text(), "Help");
    EXPECT_EQ(Window().Button("Command2")->text(), "Keywords");
    ExpectSelection(Selection{7, 6, 4, 2, 1});
}

TEST_F(MainWindowTest, EachRequestButtonShowsItsPage) {
    struct Case {
        const char* button;
        std::string page;
    };
    const std::vector<Case> cases = {
        {"OKSigns", InterpretationPage(kSunInLibra)},
        {"OKHouses", InterpretationPage(kSunIn7th)},
        {"OKRisingSign", InterpretationPage(kLibraRising)},
        {"OKAspects", InterpretationPage(kSunDiscordantMoon)},
        {"Command2", std::string("\r\n") + kKeywords + "\r\n\r\n\r\n"},
        {"OKSigns", InterpretationPage(kSunInLibra)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        Press(c.button);
        EXPECT_EQ(LastPage(), c.page);
        ASSERT_NE(program.Output(), nullptr);
        EXPECT_EQ(Shown(), Displayed(c.page));
        EXPECT_TRUE(program.Output()->isVisible());
        EXPECT_EQ(program.Output()->windowTitle(), "Data");
    }
    EXPECT_TRUE(notices.messages.empty());
}

TEST_F(MainWindowTest, HelpButtonShowsTheHintsAndTouchesNothing) {
    Press("Command1");
    ASSERT_EQ(notices.messages.size(), 1u);
    // The hints' text is the core's (keyword_page_test.cpp).
    EXPECT_EQ(notices.messages[0].caption, "Helpful Hints");
    EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Information);
    EXPECT_EQ(program.Output(), nullptr);
    EXPECT_EQ(program.Buffers().DataCount(), 0);
}

TEST_F(MainWindowTest, DoubleClicksOnSignsHousesAndAspectKindsRequest) {
    struct Case {
        const char* name;
        std::vector<Pick> picks;
        Pick doubleClicked;
        std::string page;
    };
    const std::vector<Case> cases = {
        {"a sign shows its rising entry whatever the planet",
         {{kPlanet, 5}},
         {kSign, 11},
         InterpretationPage(kPiscesRising)},
        {"a house shows the chosen planet in it",
         {{kPlanet, 4}},
         {kHouse, 9},
         InterpretationPage(kMarsIn10th)},
        {"an aspect kind shows the chosen aspect",
         {{kPlanet, 0}, {kPlanet2, 1}},
         {kAspect, 1},
         InterpretationPage(kSunHarmonizingMoon)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Click(c.picks);
        QRadioButton* option = Option(c.doubleClicked.group, c.doubleClicked.index);
        DoubleClick(option);
        EXPECT_TRUE(option->isChecked());
        EXPECT_EQ(LastPage(), c.page);
        EXPECT_EQ(Shown(), Displayed(c.page));
    }
    EXPECT_TRUE(notices.messages.empty());
}

TEST_F(MainWindowTest, DoubleClickOnAPlanetOnlySelectsIt) {
    DoubleClick(Option(kPlanet, 3));   // Venus on the left
    DoubleClick(Option(kPlanet2, 3));  // and on the right
    ExpectSelection(Selection{6, 6, 3, 2, 3});
    EXPECT_TRUE(Option(kPlanet, 3)->isChecked());
    EXPECT_TRUE(Option(kPlanet2, 3)->isChecked());
    EXPECT_EQ(program.Output(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(folder / "lastpage.txt"));
    EXPECT_EQ(program.Buffers().DataCount(), 0);
    EXPECT_TRUE(notices.messages.empty()) << "an aspect of Venus to itself would be refused";
}

// Only the left button chooses: a right or middle click must not move the
// focus, which the selection follows, nor may its double-click request.
TEST_F(MainWindowTest, OnlyTheLeftButtonSelectsAndDoubleClickRequests) {
    const QPoint at(8, Option(kSign, 11)->height() / 2);
    auto doubleClick = [&](QRadioButton* option, Qt::MouseButton button) {
        QTest::mousePress(option, button, {}, at);
        QTest::mouseRelease(option, button, {}, at);
        QTest::mouseDClick(option, button, {}, at);
        QTest::mouseRelease(option, button, {}, at);
    };
    struct Target {
        Pick option;
        std::string page;  // what a left double-click shows
    };
    const std::vector<Target> doubleClicked = {
        {{kSign, 11}, InterpretationPage(kPiscesRising)},
        {{kHouse, 9}, InterpretationPage(kSunIn10th)},
        {{kAspect, 1}, InterpretationPage(kSunHarmonizingMoon)},
    };
    // The left button last: its requests open the output window.
    const std::vector<std::pair<Qt::MouseButton, const char*>> buttons = {
        {Qt::RightButton, "right"}, {Qt::MiddleButton, "middle"}, {Qt::LeftButton, "left"}};
    for (const auto& [button, name] : buttons) {
        const bool left = button == Qt::LeftButton;
        SCOPED_TRACE(name);
        Click(
            {{kSign, 6}, {kHouse, 6}, {kPlanet, 0}, {kAspect, 2}});  // back to the start selection
        std::filesystem::remove(folder / "lastpage.txt");

        QWidget* focused = QApplication::focusWidget();
        QRadioButton* pisces = Option(kSign, 11);
        QTest::mouseClick(pisces, button, {}, at);
        EXPECT_EQ(pisces->isChecked(), left);
        EXPECT_EQ(QApplication::focusWidget(), left ? pisces : focused);
        EXPECT_EQ(Selected().SignIndex, left ? 11 : 6);
        Press("OKRisingSign");
        EXPECT_EQ(LastPage(), InterpretationPage(left ? kPiscesRising : kLibraRising));

        for (const Target& target : doubleClicked) {
            QRadioButton* option = Option(target.option.group, target.option.index);
            SCOPED_TRACE(option->objectName().toStdString());
            Click({{kSign, 6}, {kHouse, 6}, {kAspect, 2}});
            std::filesystem::remove(folder / "lastpage.txt");
            focused = QApplication::focusWidget();
            doubleClick(option, button);
            EXPECT_EQ(option->isChecked(), left);
            EXPECT_EQ(QApplication::focusWidget(), left ? option : focused);
            if (left) {
                EXPECT_EQ(LastPage(), target.page);
            } else {
                EXPECT_FALSE(std::filesystem::exists(folder / "lastpage.txt"));
                ExpectSelection(Selection{6, 6, 0, 2, 1});
            }
        }
    }
    EXPECT_TRUE(notices.messages.empty());
}

// The core tests check every refusal; here each way of asking reaches the
// message box once, and a refusal leaves the window as it was.
struct Refusal {
    const char* name;
    std::vector<Pick> picks;
    const char* button;  // null: double-click the last pick instead
    const char* message;
};

const std::vector<Refusal> kRefusals = {
    {"Pluto in a sign", {{kPlanet, 9}}, "OKSigns", kOuterPlanetsRefusal},
    {"Ascendant in a house", {{kPlanet, 10}}, "OKHouses", kAscendantInHouseRefusal},
    {"Ascendant in a double-clicked house",
     {{kPlanet, 10}, {kHouse, 9}},
     nullptr,
     kAscendantInHouseRefusal},
    {"a planet with itself", {{kPlanet, 4}, {kPlanet2, 4}}, "OKAspects", kSelfAspectRefusal},
    {"Mercury discordant to Venus by double-click",
     {{kPlanet, 2}, {kPlanet2, 3}, {kAspect, 2}},
     nullptr,
     kMercuryVenusRefusal},
};

TEST_F(MainWindowTest, RefusalsShowTheirMessageAndLeaveTheWindowsAlone) {
    for (const bool pageShown : {false, true}) {
        SCOPED_TRACE(pageShown ? "with a page shown" : "before any page");
        if (pageShown) {
            Click({{kPlanet, 0}});
            Press("OKSigns");
        }
        const std::string page = pageShown ? LastPage() : std::string();
        for (const Refusal& r : kRefusals) {
            SCOPED_TRACE(r.name);
            notices.messages.clear();
            Click(r.picks);
            if (r.button != nullptr) {
                Press(r.button);
            } else {
                DoubleClick(Option(r.picks.back().group, r.picks.back().index));
            }
            ASSERT_EQ(notices.messages.size(), 1u);
            EXPECT_EQ(notices.messages[0].text, r.message);
            EXPECT_EQ(notices.messages[0].caption, "Information");
            EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Exclamation);
            EXPECT_EQ(program.Output() != nullptr, pageShown) << "a refusal makes no window";
            EXPECT_EQ(Shown(), Displayed(page));
            if (pageShown) {
                EXPECT_EQ(LastPage(), page);
            } else {
                EXPECT_FALSE(std::filesystem::exists(folder / "lastpage.txt"));
            }
        }
    }
}

}  // namespace
}  // namespace tolvaris
