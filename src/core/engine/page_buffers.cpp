#include "core/engine/page_buffers.h"

#include <new>
#include <utility>

namespace tolvaris {
namespace {

constexpr std::string_view kCrLf = "\r\n";

}  // namespace

PageBuffers::PageBuffers(OutputDisplay& display, Notices& notices,
                         std::filesystem::path programFolder, AtomicFileWriter& fileWriter,
                         std::int32_t maxLines)
    : display_(&display),
      notices_(notices),
      programFolder_(std::move(programFolder)),
      fileWriter_(&fileWriter),
      maxLines_(maxLines) {}

PageBuffers::PageBuffers(Notices& notices, std::int32_t maxLines)
    : notices_(notices), maxLines_(maxLines) {}

void PageBuffers::ResetPage() {
    if (display_ != nullptr) {
        display_->EnsureCreated();
    }
    pageLines_.clear();
}

void PageBuffers::AppendLine(const Line& line) {
    // What was stored before a failure stays; the caller goes on.
    const auto warnFull = [this] {
        notices_.Message(kBufferFullMessage, "Warning!", NoticeIcon::Critical);
    };
    if (DataCount() >= maxLines_) {
        warnFull();
        return;
    }
    try {
        auto [forData, forPage] = line.CopyTwice();
        dataBuffer_.push_back(std::move(forData));
        if (PageCount() >= maxLines_) {
            warnFull();
            return;
        }
        pageLines_.push_back(std::move(forPage));
    } catch (const std::bad_alloc&) {
        // Memory really ran out: the same warning as a full buffer.
        warnFull();
    }
}

void PageBuffers::AppendBlankLine() {
    AppendLine(Line());
}

void PageBuffers::ShowPage() {
    if (display_ == nullptr) {
        // What a shown page leaves in the data buffer.
        if (DataCount() != 0) {
            AppendBlankLine();
        }
        return;
    }
    display_->EnsureCreated();
    if (display_->InnerHeight() == 0 || DataCount() == 0) {
        return;
    }
    AppendBlankLine();

    const std::filesystem::path pageFile = PageFilePath();
    // The page file is a hand-off the next page replaces, and its content is
    // still in memory: waiting for the disk (an eighth of a second for 100 MB)
    // would only delay the page.
    const std::string error = fileWriter_->WriteFile(
        pageFile,
        [this](const AtomicFileWriter::Sink& sink) {
            for (const Line& line : pageLines_) {
                if (!sink(line.View()) || !sink(kCrLf)) {
                    return;
                }
            }
            sink(kCrLf);
        },
        AtomicFileWriter::Durability::Cached);
    if (error.empty()) {
        display_->LoadPageFile(pageFile);
    } else {
        // The page is still shown; only the copy on disk is missing.
        notices_.Message(
            "The page could not be written to the file " + pageFile.string() + ": " + error + ".",
            "Warning!", NoticeIcon::Critical);
        display_->SetPageText(JoinLinesForFile(pageLines_));
    }
    display_->ShowModeless();
    display_->SetCaption("Data");
}

void PageBuffers::ClearDataBuffer() {
    // Give the memory back: a large buffer is what makes users clear it.
    std::vector<Line>().swap(dataBuffer_);
}

std::string JoinLinesForFile(const std::vector<Line>& lines) {
    std::size_t size = kCrLf.size();
    for (const Line& line : lines) {
        size += line.Size() + kCrLf.size();
    }
    std::string bytes;
    bytes.reserve(size);
    for (const Line& line : lines) {
        bytes.append(line.View());
        bytes.append(kCrLf);
    }
    bytes.append(kCrLf);
    return bytes;
}

}  // namespace tolvaris
