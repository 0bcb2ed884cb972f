// The line reader and ReadInterpretation on arbitrary file contents and keys,
// each compared with a plain model written over the whole text at once.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/common/atomic_file.h"
#include "core/common/cp1252.h"
#include "core/common/line_reader.h"
#include "core/common/text_file.h"
#include "core/engine/interpretation_reader.h"
#include "core/engine/page_buffers.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += "[" + Printable(line) + "]\n";
    }
    return out;
}

void CheckReadLine(const std::filesystem::path& file, std::size_t chunk,
                   const std::vector<std::string>& expected) {
    std::string error;
    const FileHandle handle = OpenOrdinaryFileForReading(file, error);
    FUZZ_CHECK(handle, error);
    LineReader reader(handle.get(), chunk);
    std::vector<std::string> lines;
    std::string line;
    LineReader::Status status;
    while ((status = reader.ReadLine(line)) == LineReader::Status::Line) {
        lines.push_back(line);
        line.clear();
        FUZZ_CHECK(lines.size() <= expected.size(), "more lines than the model");
    }
    FUZZ_CHECK(status == LineReader::Status::End, "a plain file read as an error");
    FUZZ_CHECK(lines == expected, "chunk " + std::to_string(chunk) + "\ngot\n" + Joined(lines) +
                                      "expected\n" + Joined(expected));
}

// Heads of every length, rests read or skipped or left to the next head, in
// an order the input chooses.
void CheckHeads(const std::filesystem::path& file, std::size_t chunk, std::uint64_t plan,
                const std::vector<std::string>& expected) {
    std::string error;
    const FileHandle handle = OpenOrdinaryFileForReading(file, error);
    FUZZ_CHECK(handle, error);
    LineReader reader(handle.get(), chunk);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string& full = expected[i];
        const std::size_t spacesWanted = full.find_first_not_of(' ') == std::string::npos
                                             ? full.size()
                                             : full.find_first_not_of(' ');
        const std::string rest = full.substr(spacesWanted);
        const auto action = static_cast<unsigned>((plan >> ((i % 16) * 2)) & 3);
        const std::size_t limit = static_cast<std::size_t>((plan >> (32 + (i % 8) * 4)) & 15);
        const std::string where = "line " + std::to_string(i) + " action " +
                                  std::to_string(action) + " limit " + std::to_string(limit);
        if (action == 3) {
            std::string line;
            FUZZ_CHECK(reader.ReadLine(line) == LineReader::Status::Line, where);
            FUZZ_CHECK(line == full, where + "\n" + Printable(line));
            continue;
        }
        std::string head = "garbage";
        std::size_t spaces = 99;
        FUZZ_CHECK(reader.ReadHead(head, limit, spaces) == LineReader::Status::Line, where);
        FUZZ_CHECK(spaces == spacesWanted, where);
        FUZZ_CHECK(head == rest.substr(0, limit), where + "\n" + Printable(head));
        if (action == 0) {
            FUZZ_CHECK(reader.SkipRest() == LineReader::Status::Line, where);
        } else if (action == 1) {
            FUZZ_CHECK(reader.ReadRest(head) == LineReader::Status::Line, where);
            FUZZ_CHECK(head == rest, where + "\n" + Printable(head));
        }
    }
    std::string head;
    std::size_t spaces = 0;
    FUZZ_CHECK(reader.ReadHead(head, 4, spaces) == LineReader::Status::End,
               "no end after the last line");
    FUZZ_CHECK(reader.ReadHead(head, 4, spaces) == LineReader::Status::End, "end is not sticky");
}

bool IsEndMarkerLine(const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) {
        return false;
    }
    const std::string rest = line.substr(first);
    return rest == "*" || rest == "[]";
}

// The entry as the data file format defines it: the first line whose text
// after its leading spaces begins with the key, then every line up to an
// end marker, all indented by two spaces.
std::vector<std::string> ModelEntry(const std::vector<std::string>& lines, const std::string& key) {
    std::vector<std::string> entry;
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t first = line.find_first_not_of(' ');
        const std::string_view rest = first == std::string_view::npos ? "" : line.substr(first);
        if (rest.size() >= key.size() && EqualIgnoringCase1252(rest.substr(0, key.size()), key)) {
            break;
        }
    }
    if (i == lines.size()) {
        return entry;
    }
    entry.push_back("  " + lines[i]);
    for (++i; i < lines.size() && !IsEndMarkerLine(lines[i]); ++i) {
        entry.push_back("  " + lines[i]);
    }
    return entry;
}

void CheckInterpretation(const std::filesystem::path& file, const std::string& key,
                         const std::vector<std::string>& lines) {
    NullDisplay display;
    RecordingNotices notices;
    AtomicFileWriter writer;
    PageBuffers buffers(display, notices, ScratchFolder(), writer);
    buffers.ResetPage();
    ReadInterpretation(file, key, buffers, notices);

    std::vector<std::string> got;
    for (const Line& line : buffers.DataBuffer()) {
        got.emplace_back(line.View());
    }
    const std::vector<std::string> expected = ModelEntry(lines, key);
    FUZZ_CHECK(got == expected,
               "key " + Printable(key) + "\ngot\n" + Joined(got) + "expected\n" + Joined(expected));
    FUZZ_CHECK(buffers.PageCount() == buffers.DataCount(), "page and data buffer differ");
    FUZZ_CHECK(notices.messages.empty(), notices.messages.empty() ? "" : notices.messages[0]);
    FUZZ_CHECK(!notices.busy, "busy pointer left on");
}

}  // namespace

// Chunk sizes the program's readers use or have used; padding puts the
// fuzzed text across the boundary of one.
constexpr std::size_t kReaderChunks[] = {std::size_t{1} << 16, std::size_t{1} << 18};

// One long line up to near the boundary, then a few short lines, spaces or
// line ends that the fuzzed text follows.
std::string Padding(FuzzedDataProvider& input) {
    const int kind = input.ConsumeIntegralInRange<int>(0, 7);
    if (kind < 4) {
        return "";
    }
    const std::size_t boundary = kReaderChunks[input.ConsumeBool() ? 1 : 0];
    const std::size_t size = boundary - input.ConsumeIntegralInRange<std::size_t>(0, 512);
    const char* unit = kind == 4 ? "pad\r\n" : kind == 5 ? " " : kind == 6 ? "\n" : "\r\n";
    std::string tail;
    for (int count = input.ConsumeIntegralInRange<int>(0, 64); count > 0; --count) {
        tail += unit;
    }
    std::string pad(size - std::min(size, tail.size() + 2), 'x');
    pad += "\r\n";
    return pad + tail;
}

}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvaris::fuzz;
    FuzzedDataProvider input(data, size);
    const auto chunk = input.ConsumeIntegralInRange<std::size_t>(1, 17);
    const auto plan = input.ConsumeIntegral<std::uint64_t>();
    const std::string padding = Padding(input);
    const std::string key = input.ConsumeRandomLengthString(48);
    const std::string content = padding + input.ConsumeRemainingBytesAsString();

    const std::filesystem::path file = ScratchFolder() / "DATA.TXT";
    WriteWholeFile(file, content);
    const std::vector<std::string> lines = ReferenceLines(content);

    // The program's own chunk size is exercised by ReadInterpretation below.
    if (padding.empty()) {
        CheckReadLine(file, chunk, lines);
        CheckHeads(file, chunk, plan, lines);
    }
    CheckInterpretation(file, key, lines);
    return 0;
}
