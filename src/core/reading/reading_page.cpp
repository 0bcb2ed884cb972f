#include "core/reading/reading_page.h"

#include <algorithm>
#include <utility>

#include "core/engine/interpretation_reader.h"

namespace tolvaris {
namespace {

constexpr std::size_t kLineWidth = 76;
constexpr const char* kIndent = "  ";

}  // namespace

ReadingPage::ReadingPage(std::filesystem::path dataFolder, PageBuffers& buffers)
    : dataFolder_(std::move(dataFolder)), buffers_(buffers) {}

void ReadingPage::Text(std::string_view text) {
    std::string line = kIndent;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t space = text.find(' ', pos);
        const std::string_view word =
            text.substr(pos, space == std::string_view::npos ? text.npos : space - pos);
        if (line.size() > 2 && line.size() + 1 + word.size() > kLineWidth) {
            buffers_.AppendLine(Line(std::move(line)));
            line = "    ";
        } else if (line.size() > 2) {
            line += ' ';
        }
        line += word;
        pos = space == std::string_view::npos ? text.size() : space + 1;
    }
    buffers_.AppendLine(Line(std::move(line)));
}

void ReadingPage::Separator() {
    if (buffers_.PageCount() == linesAfterSeparator_) {
        return;
    }
    buffers_.AppendBlankLine();
    buffers_.AppendLine(Line(std::string(kIndent) + std::string(kLineWidth - 2, '-')));
    buffers_.AppendBlankLine();
    linesAfterSeparator_ = buffers_.PageCount();
}

void ReadingPage::Entry(const EntryLocation& entry) {
    Separator();
    EntryInBlock(entry);
}

void ReadingPage::EntryInBlock(const EntryLocation& entry) {
    bool fileMissing = false;
    switch (CopyInterpretation(dataFolder_ / entry.fileName, entry.key, buffers_)) {
        case EntryCopy::Copied:
            return;
        case EntryCopy::KeyNotFound:
            break;
        case EntryCopy::FileUnreadable:
            fileMissing = true;
            break;
    }
    // A forecast asks for the same entry at each return of a transit; the
    // list names it once.
    const MissingEntry missing{entry, fileMissing};
    if (std::find(missing_.begin(), missing_.end(), missing) == missing_.end()) {
        missing_.push_back(missing);
    }
}

std::vector<MissingEntry> ReadingPage::Finish() {
    if (!missing_.empty()) {
        Separator();
        Text("NOT IN THE LIBRARY");
        for (const MissingEntry& m : missing_) {
            Text(m.fileMissing ? "No file " + m.entry.fileName + " (for \"" + m.entry.key + "\")"
                               : "No entry \"" + m.entry.key + "\" in " + m.entry.fileName);
        }
    }
    return std::exchange(missing_, {});
}

std::vector<MissingEntry> ShowReadingPage(PageBuffers& buffers,
                                          const std::filesystem::path& dataFolder,
                                          const ReadingContent& content) {
    buffers.ResetPage();
    buffers.AppendBlankLine();
    ReadingPage page(dataFolder, buffers);
    content(page);
    std::vector<MissingEntry> missing = page.Finish();
    buffers.ShowPage();
    return missing;
}

ReadingBuffer ComposeWithoutWindow(const std::filesystem::path& dataFolder, Notices& notices,
                                   const ReadingContent& content) {
    PageBuffers buffers(notices);
    ReadingBuffer reading;
    reading.missing = ShowReadingPage(buffers, dataFolder, content);
    reading.lines = buffers.DataBuffer();
    return reading;
}

std::string MissingEntriesMessage(std::size_t count) {
    return count == 1 ? "1 entry was not found; it is listed at the end of the reading."
                      : std::to_string(count) +
                            " entries were not found; they are listed at the end of the reading.";
}

void ShowReadingWithNotice(PageBuffers& buffers, const std::filesystem::path& dataFolder,
                           Notices& notices, const ReadingContent& content) {
    std::vector<MissingEntry> missing;
    {
        const BusyPointer busy(notices);
        missing = ShowReadingPage(buffers, dataFolder, content);
    }
    if (!missing.empty()) {
        notices.Message(MissingEntriesMessage(missing.size()), "Information",
                        NoticeIcon::Information);
    }
}

}  // namespace tolvaris
