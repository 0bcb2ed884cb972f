#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tolvaris {

// What the file-save dialog of the output window offers.
struct SaveDialogOptions {
    std::filesystem::path initialFolder;
    std::string initialName = ".txt";
    // Appended by the dialog to a name typed without an extension.
    std::string defaultExtension = "txt";
    // The one filter: description and pattern around the bar.
    std::string filter = "Data Files (*.txt) | *.txt";
    bool askBeforeOverwrite = true;
    bool existingFoldersOnly = true;
};

// The file-save dialog as saving sees it; the output window implements it.
class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // Shows the dialog, modal. Returns the full path chosen, its default
    // extension applied and any overwrite already confirmed, or nothing
    // when the user cancelled.
    virtual std::optional<std::filesystem::path> AskSaveFileName(
        const SaveDialogOptions& options) = 0;
};

}  // namespace tolvaris
