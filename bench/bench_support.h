#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/screen.h"
#include "core/output/save_dialog.h"

namespace tolvaris::bench {

// Keeps what would have been shown, so a benchmark can tell a silent success
// from a run that only put up a message box.
class QuietNotices : public Notices {
public:
    void Message(std::string_view text, std::string_view, NoticeIcon) override {
        messages.emplace_back(text);
    }
    void SetBusy(bool) override {}
    std::vector<std::string> messages;
};

// An output window that is always there and never shows anything.
class NullDisplay : public OutputDisplay {
public:
    void EnsureCreated() override {}
    int InnerHeight() const override { return 400; }
    void LoadPageFile(const std::filesystem::path&) override {}
    void SetPageText(std::string_view) override {}
    void ShowModeless() override {}
    void SetCaption(std::string_view) override {}
};

class NoSaveDialog : public SaveDialog {
public:
    std::optional<std::filesystem::path> AskSaveFileName(const SaveDialogOptions&) override {
        return std::nullopt;
    }
};

}  // namespace tolvaris::bench
