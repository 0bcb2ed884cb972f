#include "core/engine/whole_file_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::TempFolder;
using test::WriteBytes;

TEST(WholeFileReaderTest, ReturnsEveryByteUnchanged) {
    struct Case {
        const char* name;
        std::string content;
    };
    const std::vector<Case> cases = {
        {"empty file", ""},
        {"lines with CR LF", "Aries: drive\r\nTaurus: patience\r\n"},
        {"no final line break", "one\r\ntwo"},
        {"mixed line ends kept as they are", "a\rb\nc\r\n\r\n"},
        {"control and high bytes", std::string("\0\x1a\f\x7f\x80\xe9\xff", 7)},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(folder / "keywords.txt", c.content);
        const WholeFile file = ReadWholeFile(folder / "keywords.txt");
        EXPECT_TRUE(file.Ok()) << file.reason;
        EXPECT_EQ(file.failure, ReadFailure::None);
        EXPECT_EQ(file.bytes, c.content);
    }
}

TEST(WholeFileReaderTest, ALargeFileIsReadWhole) {
    TempFolder folder;
    std::string content;
    for (int i = 0; content.size() < (10U << 20); ++i) {
        content += "line " + std::to_string(i) + " of the keyword text\r\n";
    }
    content += "last";
    WriteBytes(folder / "keywords.txt", content);
    const WholeFile file = ReadWholeFile(folder / "keywords.txt");
    ASSERT_TRUE(file.Ok()) << file.reason;
    EXPECT_EQ(file.bytes.size(), content.size());
    EXPECT_TRUE(file.bytes == content);
}

TEST(WholeFileReaderTest, TheExactNameWinsOverOneInAnotherLetterCase) {
    TempFolder folder;
    WriteBytes(folder / "KEYWORDS.TXT", "upper");
    EXPECT_EQ(ReadWholeFile(folder / "keywords.txt").bytes, "upper");
    WriteBytes(folder / "keywords.txt", "exact");
    EXPECT_EQ(ReadWholeFile(folder / "keywords.txt").bytes, "exact");
    EXPECT_EQ(ReadWholeFile(folder / "KEYWORDS.TXT").bytes, "upper");
}

TEST(WholeFileReaderTest, NoOrdinaryFileOfThatNameIsNotFound) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "keywords.txt");
    ASSERT_EQ(::mkfifo((folder / "fifo.txt").c_str(), 0600), 0);
    std::filesystem::create_symlink(folder / "nowhere.txt", folder / "dangling.txt");
    std::filesystem::create_symlink(folder / "loop.txt", folder / "loop.txt");
    WriteBytes(folder / "plain.txt", "x");
    const std::vector<std::filesystem::path> paths = {folder / "missing.txt",
                                                      folder / "gone" / "keywords.txt",
                                                      folder / "plain.txt" / "x.txt",
                                                      folder / "keywords.txt",
                                                      folder / "fifo.txt",
                                                      folder / "dangling.txt",
                                                      folder / "loop.txt"};
    for (const auto& path : paths) {
        SCOPED_TRACE(path.string());
        const WholeFile file = ReadWholeFile(path);
        EXPECT_FALSE(file.Ok());
        EXPECT_EQ(file.failure, ReadFailure::NotFound);
        EXPECT_FALSE(file.reason.empty());
        EXPECT_TRUE(file.bytes.empty());
    }
}

TEST(WholeFileReaderTest, AFileLongerThanItsReportedSizeIsReadToItsEnd) {
    // Files under /proc report the size 0 and still hold text.
    if (!std::filesystem::exists("/proc/self/status")) {
        GTEST_SKIP() << "no /proc on this system";
    }
    TempFolder folder;
    std::filesystem::create_symlink("/proc/self/status", folder / "status.txt");
    const WholeFile file = ReadWholeFile(folder / "status.txt");
    ASSERT_TRUE(file.Ok()) << file.reason;
    EXPECT_EQ(file.bytes.rfind("Name:", 0), 0U);
    EXPECT_NE(file.bytes.find("\nPid:"), std::string::npos);
}

TEST(WholeFileReaderTest, AFailingReadIsReportedWithItsReason) {
    // Reading the own address space at address 0 fails with an I/O error.
    if (!std::filesystem::exists("/proc/self/mem")) {
        GTEST_SKIP() << "no /proc on this system";
    }
    TempFolder folder;
    std::filesystem::create_symlink("/proc/self/mem", folder / "mem.txt");
    const WholeFile file = ReadWholeFile(folder / "mem.txt");
    EXPECT_FALSE(file.Ok());
    EXPECT_EQ(file.failure, ReadFailure::ReadError);
    EXPECT_FALSE(file.reason.empty());
}

}  // namespace
}  // namespace tolvaris
