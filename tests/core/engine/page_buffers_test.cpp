#include "core/engine/page_buffers.h"

#include <gtest/gtest.h>

#include "support/fake_screen.h"
#include "support/page_fixture.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::FailingFileWriter;
using test::FakeDisplay;
using test::FakeNotices;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

using PageBuffersTest = test::PageFixture;

TEST_F(PageBuffersTest, ShowPageWritesThePageAndItsTwoClosingLines) {
    buffers.ResetPage();
    EXPECT_TRUE(display.exists);
    EXPECT_FALSE(display.visible);  // created hidden
    buffers.AppendBlankLine();
    Append("  SUN in Libra");
    Append("  caf\xe9 \x93quoted\x94");
    Append("two\r\nlines");
    buffers.ShowPage();

    const std::string expected =
        "\r\n  SUN in Libra\r\n  caf\xe9 \x93quoted\x94\r\ntwo\r\nlines\r\n\r\n\r\n";
    EXPECT_EQ(PageFile(), expected);
    EXPECT_EQ(display.shownText, expected);
    EXPECT_TRUE(display.visible);
    EXPECT_EQ(display.caption, "Data");
    EXPECT_EQ(buffers.PageCount(), 5);
    EXPECT_EQ(buffers.DataCount(), 5);
}

TEST_F(PageBuffersTest, ShowPageDoesNothingWithoutDataOrWhileMinimized) {
    buffers.ShowPage();  // right after start-up
    EXPECT_FALSE(std::filesystem::exists(folder / "lastpage.txt"));
    EXPECT_FALSE(display.visible);

    Append("first");
    display.minimized = true;
    buffers.ShowPage();
    EXPECT_FALSE(std::filesystem::exists(folder / "lastpage.txt"));
    EXPECT_EQ(buffers.DataCount(), 1);

    display.minimized = false;
    buffers.ShowPage();
    EXPECT_EQ(PageFile(), "first\r\n\r\n\r\n");

    // After "Clear all data" the page stays but nothing is shown again.
    buffers.ClearDataBuffer();
    EXPECT_EQ(buffers.DataCount(), 0);
    EXPECT_EQ(buffers.PageCount(), 2);
    const int loads = display.loads;
    buffers.ShowPage();
    EXPECT_EQ(display.loads, loads);
    EXPECT_EQ(buffers.PageCount(), 2);
}

TEST_F(PageBuffersTest, ShowingTheSamePageTwiceAddsOneMoreEmptyLine) {
    Append("x");
    buffers.ShowPage();
    buffers.ShowPage();
    EXPECT_EQ(PageFile(), "x\r\n\r\n\r\n\r\n");
    EXPECT_EQ(buffers.DataCount(), 3);
}

TEST_F(PageBuffersTest, ResetPageKeepsTheDataBuffer) {
    Append("a");
    buffers.ResetPage();
    Append("b");
    EXPECT_EQ(buffers.PageCount(), 1);
    ASSERT_EQ(buffers.DataCount(), 2);
    EXPECT_EQ(buffers.DataBuffer()[0].View(), "a");
    EXPECT_EQ(buffers.PageLines()[0].View(), "b");
}

TEST(PageBuffersLimit, AFullBufferWarnsOncePerLineAndKeepsWhatItHas) {
    TempFolder folder;
    FakeDisplay display;
    FakeNotices notices;
    AtomicFileWriter writer;
    PageBuffers buffers(display, notices, folder.Path(), writer, 3);
    for (const char* text : {"1", "2", "3", "4", "5"}) {
        buffers.AppendLine(Line(text));
    }
    EXPECT_EQ(buffers.DataCount(), 3);
    ASSERT_EQ(notices.messages.size(), 2U);
    EXPECT_EQ(notices.messages[0].text, kBufferFullMessage);
    EXPECT_EQ(notices.messages[0].caption, "Warning!");
    EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Critical);

    // A new page has room again while the data buffer is full: the data
    // buffer refuses first, and the page keeps nothing the data buffer lacks.
    buffers.ResetPage();
    buffers.AppendBlankLine();
    EXPECT_EQ(buffers.PageCount(), 0);
    EXPECT_EQ(notices.messages.size(), 3U);
}

TEST(PageBuffersPageFile, AFailedPageFileIsReportedAndThePageStillShown) {
    TempFolder folder;
    WriteBytes(folder / "lastpage.txt", "earlier page\r\n");
    FakeDisplay display;
    FakeNotices notices;
    FailingFileWriter writer("No space left on device");
    PageBuffers buffers(display, notices, folder.Path(), writer);
    buffers.AppendLine(Line("text"));
    buffers.ShowPage();

    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_NE(notices.messages[0].text.find((folder / "lastpage.txt").string()), std::string::npos);
    EXPECT_NE(notices.messages[0].text.find("No space left on device"), std::string::npos);
    EXPECT_EQ(display.shownText, "text\r\n\r\n\r\n");
    EXPECT_TRUE(display.visible);
    EXPECT_EQ(ReadBytes(folder / "lastpage.txt"), "earlier page\r\n");
}

TEST(PageBuffersPageFile, AMissingProgramFolderIsReportedNotFatal) {
    TempFolder folder;
    FakeDisplay display;
    FakeNotices notices;
    AtomicFileWriter writer;
    PageBuffers buffers(display, notices, folder / "gone", writer);
    buffers.AppendBlankLine();
    buffers.ShowPage();
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(display.shownText, "\r\n\r\n\r\n");
}

}  // namespace
}  // namespace tolvaris
