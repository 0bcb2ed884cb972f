#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/common/cp1252.h"
#include "core/common/line_reader.h"

namespace tolvaris {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::unique_ptr<std::FILE, FileCloser> FileWith(const std::string& bytes) {
    std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
    if (file) {
        std::fwrite(bytes.data(), 1, bytes.size(), file.get());
        std::rewind(file.get());
    }
    return file;
}

// The key line and the two lines after it, or nothing.
using Found = std::optional<std::vector<std::string>>;

Found Search(const std::string& bytes, const std::string& key, std::size_t chunk, bool skip,
             LineReader::SearchPath path) {
    auto file = FileWith(bytes);
    LineReader reader(file.get(), chunk, path);
    LineReader::LineStart start;
    for (const char c : key) {
        std::string same;
        for (int i = 0; i < 256; ++i) {
            if (ToUpper1252(static_cast<char>(i)) == ToUpper1252(c)) {
                same.push_back(static_cast<char>(i));
            }
        }
        start.push_back(same);
    }
    std::string head;
    std::size_t spaces = 0;
    for (;;) {
        auto status = reader.ReadHead(head, key.size(), spaces);
        if (status == LineReader::Status::Line && head.size() == key.size() &&
            EqualIgnoringCase1252(head, key)) {
            break;
        }
        if (status == LineReader::Status::Line && skip) {
            status = reader.SkipToLineStartingWith(start);
        }
        if (status != LineReader::Status::Line) {
            return std::nullopt;
        }
    }
    std::vector<std::string> lines(1, std::string(spaces, ' ') + head);
    reader.ReadRest(lines[0]);
    for (int i = 0; i < 2; ++i) {
        std::string line;
        if (reader.ReadLine(line) != LineReader::Status::Line) {
            break;
        }
        lines.push_back(line);
    }
    return lines;
}

std::string Visible(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        shown += c == '\r'   ? std::string("<CR>")
                 : c == '\n' ? std::string("<LF>")
                             : std::string(1, c);
    }
    return shown;
}

// The block search that skips lines must find exactly the key line that
// reading every line finds, with each code path the processor offers, at
// chunk sizes small enough to cut keys and line ends anywhere.
class KeyLineSearch : public ::testing::TestWithParam<LineReader::SearchPath> {};

TEST_P(KeyLineSearch, FindsWhatLineByLineReadingFinds) {
    const LineReader::SearchPath path = GetParam();
    if (!LineReader::Supports(path)) {
        GTEST_SKIP() << "this processor lacks the instructions of this path";
    }
    std::mt19937_64 random(20251207);
    const std::vector<std::string> keys = {
        "SUN in", "Pluto in", "ab",        "A",
        "abc",    "xaxa",     "\xe9t\xe9", "long key of some length here"};
    const std::vector<std::string> pieces = {"\r\n",     "\r",
                                             "\n",       " ",
                                             "  ",       "*",
                                             "x",        "a",
                                             "A",        "b",
                                             "ab",       "aB",
                                             "sun in",   "SUN IN",
                                             "Sun",      "pluto",
                                             "PLUTO in", "\xc9T\xc9",
                                             "\xe9t",    "xaxa",
                                             "long key", "long key of some length here",
                                             "\t",       "text "};
    int failures = 0;
    constexpr int kCases = 4000;
    for (int i = 0; i < kCases && failures < 5; ++i) {
        std::string bytes;
        const std::size_t count = random() % 200;
        for (std::size_t j = 0; j < count; ++j) {
            bytes += pieces[random() % pieces.size()];
        }
        if (random() % 4 == 0) {
            bytes += std::string(random() % 600, "ab \r"[random() % 4]);
        }
        const std::string& key = keys[random() % keys.size()];
        const std::size_t chunk = 1 + random() % (random() % 2 == 0 ? 8 : 300);
        const Found plain = Search(bytes, key, chunk, false, LineReader::SearchPath::Plain);
        const Found fast = Search(bytes, key, chunk, true, path);
        if (plain != fast) {
            ++failures;
            ADD_FAILURE() << "key \"" << Visible(key) << "\", chunk " << chunk << ", file \""
                          << Visible(bytes) << "\"";
        }
    }
    EXPECT_EQ(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(EachPath, KeyLineSearch,
                         ::testing::Values(LineReader::SearchPath::Avx2,
                                           LineReader::SearchPath::Sse2,
                                           LineReader::SearchPath::Plain),
                         [](const auto& info) {
                             switch (info.param) {
                                 case LineReader::SearchPath::Avx2:
                                     return "Avx2";
                                 case LineReader::SearchPath::Sse2:
                                     return "Sse2";
                                 default:
                                     return "Plain";
                             }
                         });

}  // namespace
}  // namespace tolvaris
