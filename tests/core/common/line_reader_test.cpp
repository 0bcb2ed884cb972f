#include "core/common/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace tolvaris {
namespace {

struct FileDeleter {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::unique_ptr<std::FILE, FileDeleter> TempFileWith(const std::string& bytes) {
    std::unique_ptr<std::FILE, FileDeleter> file(std::tmpfile());
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    return file;
}

std::vector<std::string> AllLines(const std::string& bytes, std::size_t chunk) {
    auto file = TempFileWith(bytes);
    LineReader reader(file.get(), chunk);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line) == LineReader::Status::Line) {
        lines.push_back(line);
        line.clear();
    }
    return lines;
}

struct SplitCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(LineReader, SplitsAtEveryKindOfLineEndWhateverTheChunkSize) {
    const std::vector<SplitCase> cases = {
        {"empty file", "", {}},
        {"no line end", "abc", {"abc"}},
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"lone cr", "a\rb\r", {"a", "b"}},
        {"lone lf", "a\nb\n", {"a", "b"}},
        {"lf cr is two ends", "a\n\rb", {"a", "", "b"}},
        {"cr cr lf", "a\r\r\nb", {"a", "", "b"}},
        {"blank lines kept", "\r\n\r\n", {"", ""}},
        {"leading spaces kept", "  x \r\n", {"  x "}},
        {"control bytes are text", std::string("a\0b\x1a\tc", 6), {std::string("a\0b\x1a\tc", 6)}},
        {"last line without end", "a\r\nb", {"a", "b"}},
    };
    for (const auto& c : cases) {
        for (std::size_t chunk : {1U, 2U, 3U, 65536U}) {
            SCOPED_TRACE(std::string(c.name) + ", chunk " + std::to_string(chunk));
            EXPECT_EQ(AllLines(c.bytes, chunk), c.lines);
        }
    }
}

TEST(LineReader, HeadKeepsOnlyWhatIsAskedAndCountsLeadingSpaces) {
    auto file = TempFileWith("    KEY and a long rest\r\nnext\r\n");
    LineReader reader(file.get(), 4);
    std::string head;
    std::size_t spaces = 0;
    ASSERT_EQ(reader.ReadHead(head, 3, spaces), LineReader::Status::Line);
    EXPECT_EQ(head, "KEY");
    EXPECT_EQ(spaces, 4U);
    ASSERT_EQ(reader.SkipRest(), LineReader::Status::Line);
    ASSERT_EQ(reader.ReadHead(head, 100, spaces), LineReader::Status::Line);
    EXPECT_EQ(head, "next");
    ASSERT_EQ(reader.ReadRest(head), LineReader::Status::Line);
    EXPECT_EQ(head, "next");
    EXPECT_EQ(reader.ReadHead(head, 1, spaces), LineReader::Status::End);
}

TEST(LineReader, HeadOfANewLineSkipsTheRestOfAnUnfinishedOne) {
    auto file = TempFileWith("abcdef\r\nxyz");
    LineReader reader(file.get(), 2);
    std::string head;
    std::size_t spaces = 0;
    ASSERT_EQ(reader.ReadHead(head, 2, spaces), LineReader::Status::Line);
    ASSERT_EQ(reader.ReadHead(head, 2, spaces), LineReader::Status::Line);
    EXPECT_EQ(head, "xy");
}

TEST(LineReader, ReportsAReadError) {
    // A stream opened for writing only fails on read.
    std::unique_ptr<std::FILE, FileDeleter> file(std::fopen("/dev/null", "w"));
    ASSERT_TRUE(file);
    LineReader reader(file.get());
    std::string line;
    EXPECT_EQ(reader.ReadLine(line), LineReader::Status::Error);
}

}  // namespace
}  // namespace tolvaris
