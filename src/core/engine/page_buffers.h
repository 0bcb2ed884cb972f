#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/common/atomic_file.h"
#include "core/engine/line.h"
#include "core/engine/screen.h"

namespace tolvaris {

inline constexpr const char* kBufferFullMessage =
    "Buffer cannot hold any more data. Please print and/or clear data buffer before displaying any "
    "more data. This message may appear up to 35 times depending on how full the buffer is and how "
    "much the program wants to write to it.";

// The current page and the cumulative data buffer, and the hand-off of a
// finished page to the output window through the page file.
//
// Each buffer keeps one spare empty slot after its last line; it is not
// stored, it is implied: slot `Count` always reads as an empty line.
class PageBuffers {
public:
    static constexpr std::int32_t kMaxLines = std::numeric_limits<std::int32_t>::max();

    PageBuffers(OutputDisplay& display, Notices& notices, std::filesystem::path programFolder,
                AtomicFileWriter& fileWriter, std::int32_t maxLines = kMaxLines);
    // Without a window, for composing pages elsewhere (the command line):
    // ShowPage closes the page as a shown page is closed and writes nothing.
    explicit PageBuffers(Notices& notices, std::int32_t maxLines = kMaxLines);

    void ResetPage();
    // Stores `line` at the end of the data buffer and of the page; when
    // either is full, warns and keeps what was stored before.
    void AppendLine(const Line& line);
    void AppendBlankLine();
    void ShowPage();
    // "Clear all data": empties the data buffer, leaves the page alone.
    void ClearDataBuffer();

    const std::vector<Line>& DataBuffer() const { return dataBuffer_; }
    std::int32_t DataCount() const { return static_cast<std::int32_t>(dataBuffer_.size()); }
    const std::vector<Line>& PageLines() const { return pageLines_; }
    std::int32_t PageCount() const { return static_cast<std::int32_t>(pageLines_.size()); }

    std::filesystem::path PageFilePath() const { return programFolder_ / "lastpage.txt"; }

private:
    OutputDisplay* display_ = nullptr;  // none without a window
    Notices& notices_;
    std::filesystem::path programFolder_;
    AtomicFileWriter* fileWriter_ = nullptr;
    std::int32_t maxLines_;
    std::vector<Line> dataBuffer_;
    std::vector<Line> pageLines_;
};

// Every line of `lines` followed by CR LF, then one more CR LF for the spare slot.
std::string JoinLinesForFile(const std::vector<Line>& lines);

}  // namespace tolvaris
