#pragma once

#include <QPointer>
#include <functional>

#include "core/engine/screen.h"
#include "ui/output_window/output_window.h"

namespace tolvaris {

// The one program-wide reference to the output window: creates it on first
// use, and after it was closed, on the next use again.
class OutputDisplayHost : public OutputDisplay {
public:
    using Factory = std::function<OutputWindow*()>;
    explicit OutputDisplayHost(Factory factory) : factory_(std::move(factory)) {}

    void EnsureCreated() override;
    int InnerHeight() const override;
    void LoadPageFile(const std::filesystem::path& pageFile) override;
    void SetPageText(std::string_view bytes) override;
    void ShowModeless() override;
    void SetCaption(std::string_view caption) override;

    // The window, or null while there is none.
    OutputWindow* Window() const { return window_; }
    void Close();
    // Called by the window as it closes, so the next use makes a fresh one.
    void Forget() { window_ = nullptr; }

private:
    Factory factory_;
    QPointer<OutputWindow> window_;  // cleared when the window is destroyed
};

// Code page 1252 bytes as text for a widget.
QString DecodeCp1252(std::string_view bytes);

}  // namespace tolvaris
