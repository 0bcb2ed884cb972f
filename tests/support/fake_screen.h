#pragma once

#include <string>
#include <vector>

#include <optional>

#include "core/common/atomic_file.h"
#include "core/engine/screen.h"
#include "core/output/save_dialog.h"

namespace tolvaris::test {

struct RecordedMessage {
    std::string text;
    std::string caption;
    NoticeIcon icon;
    bool busyWhileShown;
};

class FakeNotices : public Notices {
public:
    void Message(std::string_view text, std::string_view caption, NoticeIcon icon) override {
        messages.push_back({std::string(text), std::string(caption), icon, busy});
    }
    void SetBusy(bool on) override {
        busy = on;
        ++busyChanges;
    }

    std::vector<RecordedMessage> messages;
    bool busy = false;
    int busyChanges = 0;
};

class FakeDisplay : public OutputDisplay {
public:
    void EnsureCreated() override {
        if (!exists) {
            exists = true;
            ++creations;
        }
    }
    int InnerHeight() const override { return minimized ? 0 : 400; }
    void LoadPageFile(const std::filesystem::path& pageFile) override;
    void SetPageText(std::string_view bytes) override {
        shownText = std::string(bytes);
        ++loads;
    }
    void ShowModeless() override { visible = true; }
    void SetCaption(std::string_view text) override { caption = std::string(text); }

    bool exists = false;
    int creations = 0;
    bool minimized = false;
    bool visible = false;
    int loads = 0;
    std::string caption;
    std::string shownText;
};

// Fails every write with the given reason, as a full disk or a read-only
// folder would, and leaves the target alone.
class FailingFileWriter : public AtomicFileWriter {
public:
    explicit FailingFileWriter(std::string reason) : reason_(std::move(reason)) {}
    std::string WriteFile(const std::filesystem::path&, const Producer& produce,
                          Durability) override {
        produce([](std::string_view) { return false; });
        ++attempts;
        return reason_;
    }
    int attempts = 0;

private:
    std::string reason_;
};

// Answers the save dialog with `answer` (nothing: cancelled) and records
// the options it was shown with.
class FakeSaveDialog : public SaveDialog {
public:
    std::optional<std::filesystem::path> AskSaveFileName(
        const SaveDialogOptions& options) override {
        asked.push_back(options);
        return answer;
    }

    std::optional<std::filesystem::path> answer;
    std::vector<SaveDialogOptions> asked;
};

}  // namespace tolvaris::test
