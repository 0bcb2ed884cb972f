#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tolvaris {

// An immutable stored line. The page buffer and the data buffer hold the same
// lines, so they share one copy of the text; empty lines need no allocation.
class Line {
public:
    Line() = default;
    explicit Line(std::string text)
        : text_(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text))) {}

    std::string_view View() const { return text_ ? std::string_view(*text_) : std::string_view(); }
    bool Empty() const { return !text_; }
    std::size_t Size() const { return text_ ? text_->size() : 0; }

    friend bool operator==(const Line& a, const Line& b) { return a.View() == b.View(); }

private:
    std::shared_ptr<const std::string> text_;
};

}  // namespace tolvaris
