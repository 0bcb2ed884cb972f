#include "core/output/output_help.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/fake_screen.h"
#include "support/page_fixture.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::ReadBytes;
using test::WriteBytes;

using OutputHelpTest = test::PageFixture;

TEST_F(OutputHelpTest, TheHelpFileIsShownLineByLineUnindented) {
    struct Case {
        const char* name;
        std::string content;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"CR LF lines",
         "Saving\r\n  Save (F5)\r\n\r\nEnd\r\n",
         {"Saving", "  Save (F5)", "", "End"}},
        {"last line without a line end", "one\r\ntwo", {"one", "two"}},
        {"lone CR and lone LF end lines too", "a\rb\nc\r\n\n", {"a", "b", "c", ""}},
        {"spaces and tabs kept", "   lead\t\r\n\ttab  \r\n", {"   lead\t", "\ttab  "}},
        {"empty file", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(folder / "OutputD1.txt", c.content);
        ShowOtherPage("  SUN in Libra");

        ShowOutputHelp(buffers, notices, folder.Path());

        std::vector<std::string> page = c.lines;
        page.insert(page.end(), {"", ""});  // the closing empty line and ShowPage's
        EXPECT_EQ(Texts(buffers.PageLines()), page);
        std::string bytes;
        for (const auto& line : page) {
            bytes += line + "\r\n";
        }
        bytes += "\r\n";
        EXPECT_EQ(PageFile(), bytes);
        EXPECT_EQ(display.shownText, bytes);
        EXPECT_EQ(display.caption, "Data");
        EXPECT_TRUE(notices.messages.empty());
    }
}

TEST_F(OutputHelpTest, TheHelpLinesFollowTheEarlierPagesInTheDataBuffer) {
    WriteBytes(folder / "outputd1.txt", "Help\r\n");
    ShowOtherPage("  SUN in Libra");
    ShowOutputHelp(buffers, notices, folder.Path());
    EXPECT_EQ(Texts(buffers.DataBuffer()),
              (std::vector<std::string>{"  SUN in Libra", "", "Help", "", ""}));
}

TEST_F(OutputHelpTest, AMissingHelpFileIsReportedAndTheShownPageStays) {
    ShowOtherPage("  SUN in Libra");
    const std::string shown = display.shownText;
    const int loads = display.loads;
    const auto page = Texts(buffers.PageLines());
    const auto dataCount = buffers.DataCount();

    std::filesystem::create_directory(folder / "elsewhere");
    for (const auto& programFolder : {folder.Path(), folder / "elsewhere", folder / "gone"}) {
        SCOPED_TRACE(programFolder.string());
        notices.messages.clear();
        ShowOutputHelp(buffers, notices, programFolder);
        ASSERT_EQ(notices.messages.size(), 1U);
        const auto& message = notices.messages[0];
        EXPECT_NE(message.text.find((programFolder / "OutputD1.txt").string()), std::string::npos)
            << message.text;
        EXPECT_NE(message.text.find("No such file or directory"), std::string::npos)
            << message.text;
        EXPECT_EQ(message.caption, "Warning!");
        EXPECT_EQ(message.icon, NoticeIcon::Critical);
        // A font command would still show the same page again.
        EXPECT_EQ(Texts(buffers.PageLines()), page);
        EXPECT_EQ(buffers.DataCount(), dataCount);
        EXPECT_EQ(display.loads, loads);
        EXPECT_EQ(display.shownText, shown);
    }
}

TEST_F(OutputHelpTest, AReadFailurePartWayIsReportedAndThePageClosed) {
    if (!std::filesystem::exists("/proc/self/mem")) {
        GTEST_SKIP() << "no /proc on this system";
    }
    // Reading the own address space at address 0 fails with an I/O error.
    std::filesystem::create_symlink("/proc/self/mem", folder / "OutputD1.txt");
    ShowOtherPage("  SUN in Libra");
    ShowOutputHelp(buffers, notices, folder.Path());
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_NE(notices.messages[0].text.find("Input/output error"), std::string::npos)
        << notices.messages[0].text;
    EXPECT_EQ(PageFile(), "\r\n\r\n\r\n");
}

TEST(ShippedHelpFileTest, IsPlainAsciiWithCrLfLinesUnderSeventySixColumns) {
    for (const char* name : {"OutputD1.txt", "keywords.txt"}) {
        SCOPED_TRACE(name);
        const std::string text = ReadBytes(test::ShippedDataFolder() / name);
        ASSERT_FALSE(text.empty());
        std::size_t column = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c == '\r') {
                ASSERT_LT(i + 1, text.size());
                ASSERT_EQ(text[i + 1], '\n') << "at byte " << i;
                column = 0;
                ++i;
                continue;
            }
            ASSERT_TRUE(c >= 0x20 && c < 0x7f) << "byte " << int{c} << " at " << i;
            ++column;
            ASSERT_LT(column, 76U) << "at byte " << i;
        }
        EXPECT_EQ(column, 0U) << "the last line has no line end";
    }
}

}  // namespace
}  // namespace tolvaris
