// WriteDataFile on arbitrary buffers: the file holds exactly the documented
// bytes, and read back line by line it gives the buffer's lines again. Some
// runs cut the write short at a byte the input chooses (a file size limit,
// which fails the write as a full disk does): the save must then report
// failure and leave the earlier file whole, with no temporary file behind.

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "core/common/atomic_file.h"
#include "core/common/line_reader.h"
#include "core/common/text_file.h"
#include "core/engine/line.h"
#include "core/output/saving.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

constexpr std::string_view kEarlier = "the earlier save\r\n";

// The file format, spelled out once more without batching.
std::string ExpectedBytes(const std::vector<std::string>& lines) {
    std::string out;
    bool formFeed = false;
    for (const auto& line : lines) {
        out += line + "\r\n";
        if (line == "\f") {
            out += "\f\r\n";
            formFeed = true;
        }
    }
    out += "\r\n";
    if (!formFeed) {
        out += "\f\r\n";
    }
    return out;
}

// Undoes the format: a doubled form-feed line is one buffer line, a single
// one at the very end closes the file, and the spare empty line goes.
bool DecodeLines(const std::vector<std::string>& read, std::vector<std::string>& lines) {
    bool formFeed = false;
    bool closed = false;
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (read[i] == "\f") {
            if (i + 1 < read.size() && read[i + 1] == "\f") {
                lines.push_back("\f");
                formFeed = true;
                ++i;
                continue;
            }
            if (i + 1 != read.size()) {
                return false;
            }
            closed = true;
            break;
        }
        lines.push_back(read[i]);
    }
    if (closed == formFeed || lines.empty() || !lines.back().empty()) {
        return false;
    }
    lines.pop_back();
    return true;
}

std::vector<std::string> ReadBackLines(const std::filesystem::path& file) {
    std::string error;
    const FileHandle handle = OpenOrdinaryFileForReading(file, error);
    FUZZ_CHECK(handle, error);
    LineReader reader(handle.get());
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line) == LineReader::Status::Line) {
        lines.push_back(line);
        line.clear();
    }
    return lines;
}

std::size_t FilesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

void CheckSave(const std::vector<std::string>& texts) {
    std::vector<Line> buffer;
    for (const auto& text : texts) {
        buffer.emplace_back(text);
    }
    const std::filesystem::path file = ScratchFolder() / "saved.txt";
    AtomicFileWriter writer;
    const std::string error = WriteDataFile(file, buffer, writer);
    FUZZ_CHECK(error.empty(), error);
    const std::string expected = ExpectedBytes(texts);
    const std::string written = ReadWholeFileBytes(file);
    FUZZ_CHECK(written == expected,
               "wrote " + Printable(written) + "\nexpected " + Printable(expected));

    bool plain = true;
    for (const auto& text : texts) {
        plain = plain && text.find_first_of("\r\n") == std::string::npos;
    }
    if (plain) {
        std::vector<std::string> decoded;
        FUZZ_CHECK(DecodeLines(ReadBackLines(file), decoded), Printable(written));
        FUZZ_CHECK(decoded == texts, Printable(written));
    }
}

void CheckCutShort(const std::vector<std::string>& texts, std::size_t limit) {
    const std::filesystem::path folder = ScratchFolder() / "cut";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "saved.txt";
    WriteWholeFile(file, kEarlier);
    std::vector<Line> buffer;
    for (const auto& text : texts) {
        buffer.emplace_back(text);
    }
    const std::size_t size = ExpectedBytes(texts).size();

    // Writing past the limit fails with EFBIG instead of raising SIGXFSZ.
    static const bool ignored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    FUZZ_CHECK(ignored, "SIGXFSZ");
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit cut = saved;
    cut.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &cut);
    AtomicFileWriter writer;
    const std::string error = WriteDataFile(file, buffer, writer);
    ::setrlimit(RLIMIT_FSIZE, &saved);

    if (size > limit) {
        FUZZ_CHECK(!error.empty(), "a cut-short save reported success, limit " +
                                       std::to_string(limit) + " size " + std::to_string(size));
        FUZZ_CHECK(ReadWholeFileBytes(file) == kEarlier, "the earlier file was changed");
    } else {
        FUZZ_CHECK(error.empty(), error);
        FUZZ_CHECK(ReadWholeFileBytes(file) == ExpectedBytes(texts),
                   "limit " + std::to_string(limit));
    }
    FUZZ_CHECK(FilesIn(folder) == 1, "a temporary file was left behind");
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvaris::fuzz;
    FuzzedDataProvider input(data, size);
    const bool cutShort = input.ConsumeBool();
    const auto limit = input.ConsumeIntegralInRange<std::size_t>(0, 1 << 14);
    // Whole form-feed lines and long lines are rare in random bytes; let
    // the input ask for them.
    std::vector<std::string> texts;
    while (input.remaining_bytes() > 0) {
        const auto kind = input.ConsumeIntegralInRange<int>(0, 7);
        if (kind == 0) {
            texts.emplace_back("\f");
        } else if (kind == 1) {
            texts.emplace_back(input.ConsumeIntegralInRange<std::size_t>(0, 70000),
                               static_cast<char>(input.ConsumeIntegral<std::uint8_t>()));
        } else {
            texts.push_back(input.ConsumeRandomLengthString(200));
        }
    }
    if (cutShort) {
        CheckCutShort(texts, limit);
    } else {
        CheckSave(texts);
    }
    return 0;
}
