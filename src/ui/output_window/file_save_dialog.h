#pragma once

#include "core/output/save_dialog.h"

#include <QString>

namespace tolvaris {

// The save dialog as a QFileDialog.
class FileSaveDialog : public SaveDialog {
public:
    std::optional<std::filesystem::path> AskSaveFileName(const SaveDialogOptions& options) override;
};

// "Data Files (*.txt) | *.txt" as a Qt name filter: "Data Files (*.txt)".
QString QtNameFilter(const std::string& filter);

}  // namespace tolvaris
