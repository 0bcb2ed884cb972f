#include "core/engine/interpretation_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/fake_screen.h"
#include "support/page_fixture.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::WriteBytes;

class ReaderTest : public test::PageFixture {
protected:
    std::vector<std::string> Read(const std::filesystem::path& file, std::string_view key) {
        buffers.ResetPage();
        ReadInterpretation(file, key, buffers, notices);
        return Texts(buffers.PageLines());
    }
    std::vector<std::string> ReadText(const std::string& content, std::string_view key) {
        WriteBytes(folder / "DATA.TXT", content);
        return Read(folder / "DATA.TXT", key);
    }
};

struct EntryCase {
    const char* name;
    std::string content;
    std::string key;
    std::vector<std::string> lines;
};

TEST_F(ReaderTest, CopiesTheFirstMatchingEntryUpToItsEndMarker) {
    const std::vector<EntryCase> cases = {
        {"plain entry",
         "SUN in Libra\r\nbody\r\n*\r\nMOON in Libra\r\n",
         "SUN in",
         {"  SUN in Libra", "  body"}},
        {"other case and indent",
         "   sun IN libra\r\nx\r\n[]\r\n",
         "SUN in",
         {"     sun IN libra", "  x"}},
        {"tab is not skipped",
         "\tSUN in\r\n*\r\nSUN in later\r\n*\r\n",
         "SUN in",
         {"  SUN in later"}},
        {"prefix only, no word boundary", "SUN inside\r\n*\r\n", "SUN in", {"  SUN inside"}},
        {"empty key takes the first line",
         "first\r\nsecond\r\n*\r\nthird\r\n",
         "",
         {"  first", "  second"}},
        {"markers before the key are plain lines",
         "*\r\n[]\r\nKEY\r\nz\r\n*\r\n",
         "KEY",
         {"  KEY", "  z"}},
        {"marker with trailing text is copied",
         "KEY\r\n* \r\n*x\r\n [] \r\n   *\r\nno\r\n",
         "KEY",
         {"  KEY", "  * ", "  *x", "   [] "}},
        {"first of two entries wins", "KEY one\r\n*\r\nKEY two\r\n*\r\n", "KEY", {"  KEY one"}},
        {"runs to the end without a marker", "KEY\r\n\r\nlast", "KEY", {"  KEY", "  ", "  last"}},
        {"lf line ends", "a\nKEY\nb\n*\nc\n", "KEY", {"  KEY", "  b"}},
        {"lone cr line ends", "KEY\rb\r*\rc", "KEY", {"  KEY", "  b"}},
        {"entry not in the file", "a\r\nb\r\n", "KEY", {}},
        {"empty file", "", "KEY", {}},
        {"key longer than every line", "KE\r\nK\r\n", "KEY", {}},
        {"control bytes are text",
         std::string("KEY\0\x01\r\n\x1a\x7f\r\n*", 12),
         "KEY",
         {std::string("  KEY\0\x01", 7), "  \x1a\x7f"}},
        {"accented letters compared upper-cased",
         "\xe9t\xe9 x\r\n*\r\n",
         "\xc9T\xc9",
         {"  \xe9t\xe9 x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadText(c.content, c.key), c.lines);
        EXPECT_TRUE(notices.messages.empty());
        EXPECT_FALSE(notices.busy);
    }
}

TEST_F(ReaderTest, FindsAFileWhoseNameDiffersInLetterCase) {
    WriteBytes(folder / "sign_lib.txt", "SUN in Libra\r\n*\r\n");
    EXPECT_EQ(Read(folder / "SIGN_Lib.TXT", "SUN in"), std::vector<std::string>{"  SUN in Libra"});
    EXPECT_TRUE(notices.messages.empty());
}

TEST_F(ReaderTest, AFileThatCannotBeReadIsReportedAndThePointerRestored) {
    std::filesystem::create_directory(folder / "FOLDER.TXT");
    ASSERT_EQ(::mkfifo((folder / "FIFO.TXT").c_str(), 0600), 0);
    std::filesystem::create_symlink(folder / "LOOP.TXT", folder / "LOOP.TXT");
    const std::vector<std::filesystem::path> unreadable = {
        folder / "MISSING.TXT", folder / "gone" / "SIGN_Lib.TXT", folder / "FOLDER.TXT",
        folder / "FIFO.TXT", folder / "LOOP.TXT"};
    for (const auto& path : unreadable) {
        SCOPED_TRACE(path.string());
        notices.messages.clear();
        EXPECT_TRUE(Read(path, "KEY").empty());
        ASSERT_EQ(notices.messages.size(), 1U);
        EXPECT_EQ(notices.messages[0].text, "Cannot find the file called " + path.string() + ".");
        EXPECT_EQ(notices.messages[0].caption, "Warning!");
        EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Critical);
        EXPECT_FALSE(notices.busy);
    }
}

TEST_F(ReaderTest, TheBusyPointerIsShownWhileReading) {
    ReadText("KEY\r\n*\r\n", "KEY");
    EXPECT_EQ(notices.busyChanges, 2);
    EXPECT_FALSE(notices.busy);
    Read(folder / "MISSING.TXT", "KEY");
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_TRUE(notices.messages[0].busyWhileShown);
    EXPECT_FALSE(notices.busy);
}

TEST_F(ReaderTest, AHugeLineWithoutLineEndIsSkippedOrCopiedOnce) {
    const std::string huge(48U << 20, 'x');
    EXPECT_TRUE(ReadText(huge, "KEY").empty());
    const auto lines = ReadText("KEY" + huge, "KEY");
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].size(), huge.size() + 5);
    // Page and data buffer share the one stored copy.
    EXPECT_EQ(buffers.PageLines()[0].View().data(), buffers.DataBuffer().back().View().data());
}

TEST_F(ReaderTest, HugeLeadingSpacesBeforeAKeyAreHandled) {
    const std::string spaces(3U << 20, ' ');
    const auto lines = ReadText(spaces + "KEY\r\nb\r\n*", "KEY");
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0], "  " + spaces + "KEY");
}

}  // namespace
}  // namespace tolvaris
