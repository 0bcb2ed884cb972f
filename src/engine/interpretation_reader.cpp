#include "engine/interpretation_reader.h"

#include <string>

#include "common/cp1252.h"
#include "common/line_reader.h"
#include "common/text_file.h"

namespace tolvaris {
namespace {

// `line` carries the two-space indent already.
bool IsEndMarker(const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) {
        return false;
    }
    const std::string_view rest = std::string_view(line).substr(first);
    return rest == "*" || rest == "[]";
}

void StoreLine(std::string text, PageBuffers& buffers) {
    buffers.CurrentLine = Line(std::move(text));
    buffers.AppendCurrentLine();
}

// Returns false when the file could not be opened or read.
bool CopyEntry(const std::filesystem::path& file, std::string_view key, PageBuffers& buffers) {
    std::string error;
    const FileHandle handle = OpenOrdinaryFileForReading(FindFileIgnoringCase(file), error);
    if (!handle) {
        return false;
    }
    LineReader reader(handle.get());
    const std::string upperKey = ToUpper1252(key);
    std::string head;
    std::size_t spaces = 0;

    // Searching: only as much of each line as the key needs is kept.
    for (;;) {
        const auto status = reader.ReadHead(head, key.size(), spaces);
        if (status == LineReader::Status::End) {
            return true;
        }
        if (status == LineReader::Status::Error) {
            return false;
        }
        if (head.size() == key.size() && EqualIgnoringCase1252(head, upperKey)) {
            break;
        }
    }
    // Copying: the key line first, then every line up to the end marker.
    std::string line = "  " + std::string(spaces, ' ') + head;
    if (reader.ReadRest(line) == LineReader::Status::Error) {
        return false;
    }
    StoreLine(std::move(line), buffers);
    for (;;) {
        line.assign("  ");
        const auto status = reader.ReadLine(line);
        if (status == LineReader::Status::End) {
            return true;
        }
        if (status == LineReader::Status::Error) {
            return false;
        }
        if (IsEndMarker(line)) {
            return true;
        }
        StoreLine(std::move(line), buffers);
    }
}

}  // namespace

void ReadInterpretation(const std::filesystem::path& DataFileName, std::string_view SectionKey,
                        PageBuffers& buffers, Notices& notices) {
    const BusyPointer busy(notices);
    if (!CopyEntry(DataFileName, SectionKey, buffers)) {
        notices.Message("Cannot find the file called " + DataFileName.string() + ".", "Warning!",
                        NoticeIcon::Critical);
    }
}

}  // namespace tolvaris
