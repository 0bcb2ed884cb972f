#include "core/requests/keyword_page.h"

#include <string>
#include <utility>

#include "core/engine/whole_file_reader.h"

namespace tolvaris {

HintsAndKeywords::HintsAndKeywords(PageBuffers& buffers, Notices& notices,
                                   std::filesystem::path programFolder)
    : buffers_(buffers), notices_(notices), programFolder_(std::move(programFolder)) {}

void HintsAndKeywords::ShowHints() {
    const std::string text = std::string(kHintLine1) + "\r\n" + kHintLine2 + "\r\n" + kHintLine3;
    notices_.Message(text, kHintsCaption, NoticeIcon::Information);
}

void HintsAndKeywords::ShowKeywords() {
    buffers_.ResetPage();
    buffers_.AppendBlankLine();
    const std::filesystem::path file = KeywordFilePath();
    WholeFile keywords = ReadWholeFile(file);
    if (keywords.Ok()) {
        buffers_.AppendLine(Line(std::move(keywords.bytes)));
    } else if (keywords.failure == ReadFailure::NotFound) {
        notices_.Message("Cannot find the file called " + file.string() + ".", "Warning!",
                         NoticeIcon::Critical);
    } else {
        notices_.Message(
            "Cannot read the file called " + file.string() + ": " + keywords.reason + ".",
            "Warning!", NoticeIcon::Critical);
    }
    buffers_.ShowPage();
}

}  // namespace tolvaris
