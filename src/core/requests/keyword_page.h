#pragma once

#include <filesystem>

#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"

namespace tolvaris {

inline constexpr const char* kHintLine1 = "1. Double-click on Sign/Asc Sign for interpretation.";
inline constexpr const char* kHintLine2 = "2. Double-click on House for interpretation.";
inline constexpr const char* kHintLine3 = "3. Double-click on Aspects for interpretation.";
inline constexpr const char* kHintsCaption = "Helpful Hints";

// The main window's "Help" and "Keywords" buttons.
class HintsAndKeywords {
public:
    HintsAndKeywords(PageBuffers& buffers, Notices& notices, std::filesystem::path programFolder);

    // "Help": the double-click hints in a message box; changes nothing.
    void ShowHints();

    // "Keywords": keywords.txt as one stored line of a new page. When the
    // file cannot be read, the user is told and the page of the opening
    // empty line is shown all the same, so the window never keeps showing a
    // page that the buffers have already left.
    void ShowKeywords();

    std::filesystem::path KeywordFilePath() const { return programFolder_ / "keywords.txt"; }

private:
    PageBuffers& buffers_;
    Notices& notices_;
    std::filesystem::path programFolder_;
};

}  // namespace tolvaris
