#include "core/output/saving.h"

#include <string_view>
#include <utility>

namespace tolvaris {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kFormFeed = "\f";

// Gathers small lines into larger writes; a long line goes through as it is.
class BatchedSink {
public:
    explicit BatchedSink(const AtomicFileWriter::Sink& sink) : sink_(sink) {
        pending_.reserve(kBatch);
    }

    bool Put(std::string_view bytes) {
        if (pending_.size() + bytes.size() > kBatch && !Flush()) {
            return false;
        }
        if (bytes.size() >= kBatch) {
            return sink_(bytes);
        }
        pending_.append(bytes);
        return true;
    }

    bool PutLine(std::string_view text) {
        if (pending_.size() + text.size() + kCrLf.size() > kBatch) {
            return Put(text) && Put(kCrLf);
        }
        // The usual short line: one copy, no checks in between.
        pending_.append(text).append(kCrLf);
        return true;
    }

    bool Flush() {
        const bool ok = pending_.empty() || sink_(pending_);
        pending_.clear();
        return ok;
    }

private:
    // Every write is a system call, which costs as much as copying many
    // kilobytes; a quarter of a megabyte still stays in the processor's cache.
    static constexpr std::size_t kBatch = std::size_t{1} << 18;
    const AtomicFileWriter::Sink& sink_;
    std::string pending_;
};

void ProduceDataFile(const std::vector<Line>& lines, const AtomicFileWriter::Sink& sink) {
    BatchedSink out(sink);
    bool formFeedSeen = false;
    for (const Line& line : lines) {
        if (!out.PutLine(line.View())) {
            return;
        }
        if (line.View() == kFormFeed) {
            formFeedSeen = true;
            if (!out.PutLine(kFormFeed)) {
                return;
            }
        }
    }
    // The spare empty slot after the last line.
    if (!out.PutLine({})) {
        return;
    }
    if (!formFeedSeen && !out.PutLine(kFormFeed)) {
        return;
    }
    out.Flush();
}

}  // namespace

std::string DataFileText(const std::vector<Line>& dataBuffer) {
    std::string text;
    ProduceDataFile(dataBuffer, [&text](std::string_view bytes) {
        text.append(bytes);
        return true;
    });
    return text;
}

std::string WriteDataFile(const std::filesystem::path& path, const std::vector<Line>& dataBuffer,
                          AtomicFileWriter& writer) {
    return writer.Write(path, [&dataBuffer](const AtomicFileWriter::Sink& sink) {
        ProduceDataFile(dataBuffer, sink);
    });
}

OutputSaving::OutputSaving(PageBuffers& buffers, Notices& notices, SaveDialog& dialog,
                           AtomicFileWriter& writer, std::filesystem::path programFolder)
    : buffers_(buffers),
      notices_(notices),
      dialog_(dialog),
      writer_(writer),
      programFolder_(std::move(programFolder)) {}

SaveDialogOptions OutputSaving::DialogOptions() const {
    SaveDialogOptions options;
    options.initialFolder = programFolder_;
    return options;
}

bool OutputSaving::RefuseWithoutData() {
    if (buffers_.DataCount() != 0) {
        return false;
    }
    notices_.Message(kNoDataMessage, "Information", NoticeIcon::Exclamation);
    return true;
}

bool OutputSaving::WriteAndReport(const std::filesystem::path& path) {
    const std::string error = WriteDataFile(path, buffers_.DataBuffer(), writer_);
    if (error.empty()) {
        return true;
    }
    notices_.Message("The data could not be saved to the file " + path.string() + ": " + error +
                         ". Any earlier file of that name is unchanged.",
                     "Warning!", NoticeIcon::Critical);
    return false;
}

void OutputSaving::mnuFileSave_Click() {
    if (RefuseWithoutData()) {
        return;
    }
    if (saveFileName_.empty()) {
        mnuFileSaveAs_Click();
        return;
    }
    WriteAndReport(saveFileName_);
}

void OutputSaving::mnuFileSaveAs_Click() {
    if (RefuseWithoutData()) {
        return;
    }
    const std::optional<std::filesystem::path> chosen = dialog_.AskSaveFileName(DialogOptions());
    if (!chosen || chosen->empty()) {
        return;
    }
    saveFileName_ = *chosen;
    WriteAndReport(saveFileName_);
}

}  // namespace tolvaris
