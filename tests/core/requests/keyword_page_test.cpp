#include "core/requests/keyword_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/requests/captions.h"
#include "support/fake_screen.h"
#include "support/page_fixture.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class KeywordPageTest : public test::PageFixture {
protected:
    HintsAndKeywords buttons{buffers, notices, folder.Path()};
};

TEST_F(KeywordPageTest, HelpShowsTheThreeHintsAndChangesNothingElse) {
    ShowOtherPage("  SUN in Libra");
    const int loads = display.loads;
    const auto dataCount = buffers.DataCount();
    const auto pageCount = buffers.PageCount();

    buttons.ShowHints();

    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(notices.messages[0].text,
              "1. Double-click on Sign/Asc Sign for interpretation.\r\n"
              "2. Double-click on House for interpretation.\r\n"
              "3. Double-click on Aspects for interpretation.");
    EXPECT_EQ(notices.messages[0].caption, "Helpful Hints");
    EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Information);
    EXPECT_EQ(display.loads, loads);
    EXPECT_EQ(buffers.DataCount(), dataCount);
    EXPECT_EQ(buffers.PageCount(), pageCount);
}

TEST_F(KeywordPageTest, TheKeywordFileIsOneStoredLineOfANewPage) {
    struct Case {
        const char* name;
        std::string keywords;
        std::string page;
    };
    const std::vector<Case> cases = {
        {"text with its last line break", "Aries: drive\r\nTaurus: patience\r\n",
         "\r\nAries: drive\r\nTaurus: patience\r\n\r\n\r\n\r\n"},
        {"text without a last line break", "Aries\r\nTaurus", "\r\nAries\r\nTaurus\r\n\r\n\r\n"},
        {"empty file", "", "\r\n\r\n\r\n\r\n"},
        {"bytes kept as they are", std::string("\xe9t\xe9\0\f", 5),
         std::string("\r\n\xe9t\xe9\0\f\r\n\r\n\r\n", 13)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(folder / "keywords.txt", c.keywords);
        ShowOtherPage("  SUN in Libra");
        const auto dataBefore = buffers.DataCount();

        buttons.ShowKeywords();

        EXPECT_TRUE(notices.messages.empty());
        EXPECT_EQ(PageFile(), c.page);
        EXPECT_EQ(display.shownText, c.page);
        EXPECT_EQ(display.caption, "Data");
        EXPECT_TRUE(display.visible);
        // The opening empty line, the keyword text and the closing empty line.
        ASSERT_EQ(buffers.DataCount(), dataBefore + 3);
        EXPECT_EQ(buffers.DataBuffer()[dataBefore + 1].View(), c.keywords);
        EXPECT_EQ(buffers.PageCount(), 3);
    }
}

TEST_F(KeywordPageTest, PressedTwiceTheSamePageIsShownAndTheDataBufferKeepsBoth) {
    WriteBytes(folder / "keywords.txt", "Sun: will\r\n");
    ShowOtherPage("  MOON in Cancer");
    buttons.ShowKeywords();
    const std::string first = PageFile();
    buttons.ShowKeywords();
    EXPECT_EQ(PageFile(), first);
    ASSERT_EQ(buffers.DataCount(), 2 + 3 + 3);
    EXPECT_EQ(buffers.DataBuffer()[0].View(), "  MOON in Cancer");
    EXPECT_EQ(buffers.DataBuffer()[3].View(), "Sun: will\r\n");
    EXPECT_EQ(buffers.DataBuffer()[6].View(), "Sun: will\r\n");
}

TEST_F(KeywordPageTest, AMissingKeywordFileIsReportedAndTheEmptyPageShown) {
    ShowOtherPage("  SUN in Libra");
    buttons.ShowKeywords();

    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(notices.messages[0].text,
              "Cannot find the file called " + (folder / "keywords.txt").string() + ".");
    EXPECT_EQ(notices.messages[0].caption, "Warning!");
    EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Critical);
    // The old page is gone from the window as it is from the page buffer.
    EXPECT_EQ(PageFile(), "\r\n\r\n\r\n");
    EXPECT_EQ(display.shownText, "\r\n\r\n\r\n");
    EXPECT_EQ(buffers.PageCount(), 2);
    EXPECT_EQ(buffers.DataCount(), 2 + 2);
    EXPECT_EQ(buffers.DataBuffer()[0].View(), "  SUN in Libra");
}

TEST_F(KeywordPageTest, AKeywordFileThatCannotBeReadIsReportedWithTheReason) {
    if (!std::filesystem::exists("/proc/self/mem")) {
        GTEST_SKIP() << "no /proc on this system";
    }
    // Reading the own address space at address 0 fails with an I/O error.
    std::filesystem::create_symlink("/proc/self/mem", folder / "keywords.txt");
    buttons.ShowKeywords();
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(notices.messages[0].text.rfind(
                  "Cannot read the file called " + (folder / "keywords.txt").string() + ": ", 0),
              0U);
    EXPECT_EQ(notices.messages[0].caption, "Warning!");
    EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Critical);
    EXPECT_EQ(PageFile(), "\r\n\r\n\r\n");
}

TEST(ShippedKeywordsTest, EverySignPlanetHouseAndAspectKindHasItsLine) {
    std::istringstream text(ReadBytes(test::ShippedDataFolder() / "keywords.txt"));
    std::vector<std::string> firstWords;
    for (std::string line; std::getline(text, line);) {
        firstWords.push_back(line.substr(0, line.find_first_of(" \r")));
    }
    std::vector<std::string_view> names(kSignCaptions.begin(), kSignCaptions.end());
    names.insert(names.end(), kPlanetCaptions.begin(), kPlanetCaptions.end());
    names.insert(names.end(), kHouseCaptions.begin(), kHouseCaptions.end());
    names.insert(names.end(), kAspectCaptions.begin(), kAspectCaptions.end());
    for (const std::string_view name : names) {
        SCOPED_TRACE(std::string(name));
        EXPECT_EQ(std::count(firstWords.begin(), firstWords.end(), name), 1);
    }
}

}  // namespace
}  // namespace tolvaris
