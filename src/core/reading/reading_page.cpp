#include "core/reading/reading_page.h"

#include <algorithm>
#include <utility>

#include "core/common/cp1252.h"
#include "core/engine/interpretation_reader.h"

namespace tolvaris {
namespace {

constexpr std::size_t kLineWidth = 76;
constexpr const char* kIndent = "  ";

}  // namespace

ReadingPage::ReadingPage(std::filesystem::path dataFolder, PageBuffers& buffers)
    : dataFolder_(std::move(dataFolder)), buffers_(buffers) {}

void ReadingPage::Heading(int level, std::string_view text, std::string_view note) {
    PageText(text);
    ReportHeading(level, text, note);
}

void ReadingPage::SectionHeading(std::string_view text) {
    PageText(ToUpper1252(text));
    ReportHeading(2, text);
}

void ReadingPage::ReportHeading(int level, std::string_view text, std::string_view note) {
    if (document_ != nullptr) {
        document_->AddHeading(level, text, note);
    }
}

void ReadingPage::Text(std::string_view text) {
    PageText(text);
    if (document_ != nullptr) {
        document_->AddFact(text);
    }
}

void ReadingPage::PageText(std::string_view text) {
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
    const std::size_t before = buffers_.PageLines().size();
    switch (CopyInterpretation(dataFolder_ / entry.fileName, entry.key, buffers_)) {
        case EntryCopy::Copied:
            if (document_ != nullptr) {
                const std::vector<Line>& page = buffers_.PageLines();
                std::vector<std::string_view> lines;
                for (std::size_t i = before; i < page.size(); ++i) {
                    lines.push_back(page[i].View());
                }
                document_->AddEntryLines(lines);
            }
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
        SectionHeading("Not in the library");
        for (const MissingEntry& m : missing_) {
            const std::string text =
                m.fileMissing ? "No file " + m.entry.fileName + " (for \"" + m.entry.key + "\")"
                              : "No entry \"" + m.entry.key + "\" in " + m.entry.fileName;
            PageText(text);
            if (document_ != nullptr) {
                document_->AddMissing(text);
            }
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

ReadingDocument ComposeReadingDocument(const std::filesystem::path& dataFolder, Notices& notices,
                                       const ReadingContent& content) {
    PageBuffers buffers(notices);
    ReadingDocument document;
    ReadingPage page(dataFolder, buffers);
    page.SetDocument(&document);
    content(page);
    page.Finish();
    return document;
}

ReadingBuffer ComposeWithoutWindow(const std::filesystem::path& dataFolder, Notices& notices,
                                   const ReadingContent& content) {
    PageBuffers buffers(notices);
    ReadingBuffer reading;
    reading.missing = ShowReadingPage(buffers, dataFolder, [&](ReadingPage& page) {
        page.SetDocument(&reading.document);
        content(page);
    });
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
