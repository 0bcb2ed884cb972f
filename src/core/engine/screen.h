#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tolvaris {

// What the core asks of the screen. The windows implement these; tests use fakes.

enum class NoticeIcon { Exclamation, Critical, Information };

class Notices {
public:
    virtual ~Notices() = default;
    // A modal message box with an OK button only. Text and caption are UTF-8.
    virtual void Message(std::string_view text, std::string_view caption, NoticeIcon icon) = 0;
    // The program-wide busy pointer on or off.
    virtual void SetBusy(bool busy) = 0;
};

// Shows the busy pointer for as long as it lives, on every path out.
class BusyPointer {
public:
    explicit BusyPointer(Notices& notices) : notices_(notices) { notices_.SetBusy(true); }
    ~BusyPointer() { notices_.SetBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Notices& notices_;
};

// The output window as the page hand-off sees it.
class OutputDisplay {
public:
    virtual ~OutputDisplay() = default;
    // Creates and loads the window, hidden, when it does not exist yet.
    virtual void EnsureCreated() = 0;
    // Height of the inner area; 0 while the window is minimized.
    virtual int InnerHeight() const = 0;
    // Replaces the shown text by the page file's bytes (code page 1252, plain text).
    virtual void LoadPageFile(const std::filesystem::path& pageFile) = 0;
    // Replaces the shown text by these bytes; used when no page file could be written.
    virtual void SetPageText(std::string_view bytes) = 0;
    virtual void ShowModeless() = 0;
    virtual void SetCaption(std::string_view caption) = 0;
};

}  // namespace tolvaris
