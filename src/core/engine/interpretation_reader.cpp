#include "core/engine/interpretation_reader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

#include "core/common/cp1252.h"
#include "core/common/line_reader.h"
#include "core/common/text_file.h"

namespace tolvaris {
namespace {

// Large enough that a read costs little beside the copying it does, small
// enough to stay in the processor's cache while it is searched; no larger
// than the file, whose usual size is a few kilobytes.
std::size_t ChunkSizeFor(const std::filesystem::path& file) {
    constexpr std::size_t kLargest = std::size_t{256} << 10;
    constexpr std::size_t kSmallest = std::size_t{4} << 10;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    return ec ? kLargest
              : static_cast<std::size_t>(std::clamp<std::uintmax_t>(size + 1, kSmallest, kLargest));
}

// `line` carries the two-space indent already.
bool IsEndMarker(const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) {
        return false;
    }
    const std::string_view rest = std::string_view(line).substr(first);
    return rest == "*" || rest == "[]";
}

// Every byte that upper-cases as `c` does: the letter in both cases.
std::string SameLetter(char c) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        const char other = static_cast<char>(i);
        if (ToUpper1252(other) == ToUpper1252(c)) {
            bytes.push_back(other);
        }
    }
    return bytes;
}

// What a key line may begin with, for skipping the lines that cannot be one.
// Null when the key gives no such hint: an empty key matches any line, and a
// key holding a line end matches none, which the plain search finds as well.
std::optional<LineReader::LineStart> KeyLineStart(std::string_view key) {
    if (key.empty() || key.find_first_of("\r\n") != std::string_view::npos) {
        return std::nullopt;
    }
    LineReader::LineStart start;
    for (const char c : key) {
        start.push_back(SameLetter(c));
    }
    return start;
}

void StoreLine(std::string text, PageBuffers& buffers) {
    buffers.AppendLine(Line(std::move(text)));
}

}  // namespace

EntryCopy CopyInterpretation(const std::filesystem::path& file, std::string_view key,
                             PageBuffers& buffers) {
    std::string error;
    const std::filesystem::path found = FindFileIgnoringCase(file);
    const FileHandle handle = OpenOrdinaryFileForReading(found, error);
    if (!handle) {
        return EntryCopy::FileUnreadable;
    }
    LineReader reader(handle.get(), ChunkSizeFor(found));
    const std::string upperKey = ToUpper1252(key);
    const std::optional<LineReader::LineStart> keyLineStart = KeyLineStart(key);
    std::string head;
    std::size_t spaces = 0;

    // Searching: only as much of each line as the key needs is kept, and
    // lines that cannot begin with the key are passed over unread.
    for (;;) {
        auto status = reader.ReadHead(head, key.size(), spaces);
        if (status == LineReader::Status::Line && head.size() == key.size() &&
            EqualIgnoringCase1252(head, upperKey)) {
            break;
        }
        if (status == LineReader::Status::Line && keyLineStart) {
            status = reader.SkipToLineStartingWith(*keyLineStart);
        }
        if (status == LineReader::Status::End) {
            return EntryCopy::KeyNotFound;
        }
        if (status == LineReader::Status::Error) {
            return EntryCopy::FileUnreadable;
        }
    }
    // Copying: the key line first, then every line up to the end marker.
    std::string line = "  " + std::string(spaces, ' ') + head;
    if (reader.ReadRest(line) == LineReader::Status::Error) {
        return EntryCopy::FileUnreadable;
    }
    StoreLine(std::move(line), buffers);
    for (;;) {
        line.assign("  ");
        const auto status = reader.ReadLine(line);
        if (status == LineReader::Status::End) {
            return EntryCopy::Copied;
        }
        if (status == LineReader::Status::Error) {
            return EntryCopy::FileUnreadable;
        }
        if (IsEndMarker(line)) {
            return EntryCopy::Copied;
        }
        StoreLine(std::move(line), buffers);
    }
}

void ReadInterpretation(const std::filesystem::path& dataFile, std::string_view sectionKey,
                        PageBuffers& buffers, Notices& notices) {
    const BusyPointer busy(notices);
    if (CopyInterpretation(dataFile, sectionKey, buffers) == EntryCopy::FileUnreadable) {
        notices.Message("Cannot find the file called " + dataFile.string() + ".", "Warning!",
                        NoticeIcon::Critical);
    }
}

}  // namespace tolvaris
