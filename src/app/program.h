#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "core/chart/birth_chart.h"
#include "core/common/atomic_file.h"
#include "core/engine/page_buffers.h"
#include "core/output/saving.h"
#include "core/requests/keyword_page.h"
#include "core/requests/requests.h"
#include "core/settings/setting_values.h"
#include "ui/chart_window/chart_file_dialogs.h"
#include "ui/main_window/main_window.h"
#include "ui/output_window/output_display_host.h"

namespace tolvaris {

class ChartMenu;

// Where one run writes. The data files are always read from the program
// folder; an empty member means the program folder too.
struct WriteFolders {
    std::filesystem::path ownFiles;  // lastpage.txt and Tolvaris.ini
    std::filesystem::path saveDialogStart;
};

// Everything one run of Tolvaris holds, created in dependency order. The
// screen seams are passed in so that tests can run the whole program with
// fakes for message boxes and the save dialog.
class Program {
public:
    Program(std::filesystem::path programFolder, Notices& notices, SaveDialog& saveDialog,
            AtomicFileWriter& fileWriter, const WriteFolders& writeFolders = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    MainWindow& Window() { return *mainWindow_; }
    OutputWindow* Output() const { return display_.Window(); }
    PageBuffers& Buffers() { return buffers_; }
    Requests& Requests_() { return requests_; }
    OutputSaving& Saving() { return saving_; }
    ChartMenu& Charts() { return *chartMenu_; }
    SettingValues& Settings() { return settings_; }
    const std::filesystem::path& Folder() const { return programFolder_; }
    // Where lastpage.txt and Tolvaris.ini are read and written.
    const std::filesystem::path& OwnFilesFolder() const { return ownFilesFolder_; }
    std::filesystem::path SettingsFilePath() const;

    // The main window's close: writes the settings, closes the output
    // window. Only the first call does anything.
    void SaveSettingsAndCloseOutput();

    static inline const QString kOutputFontName = "COURIER NEW";
    static constexpr double kFontSizeStep = 1.5;

private:
    OutputWindow* CreateOutputWindow();
    void ApplyDocument();
    void ApplyDocument(OutputWindow& output) const;
    void FocusMainWindow();

    std::filesystem::path programFolder_;
    std::filesystem::path ownFilesFolder_;
    Notices& notices_;
    AtomicFileWriter& fileWriter_;
    SettingValues settings_;
    OutputDisplayHost display_;
    PageBuffers buffers_;
    Requests requests_;
    HintsAndKeywords hints_;
    OutputSaving saving_;
    std::unique_ptr<MainWindow> mainWindow_;
    QtChartFileDialogs chartFileDialogs_;
    ChartMenu* chartMenu_ = nullptr;  // owned by the main window
    // The chart whose reading the data buffer holds, if any.
    std::optional<BirthChart> readingChart_;
    bool unloaded_ = false;
};

// The folder of the running program, links resolved.
std::filesystem::path RunningProgramFolder();

using FolderPredicate = std::function<bool(const std::filesystem::path&)>;

// Whether this user may create files in the folder (a read-only mount
// counts as not writable).
bool IsWritableFolder(const std::filesystem::path& folder);

// The user's own folders for the files Tolvaris writes when its program
// folder is shared and read-only: the application's data folder of the
// freedesktop conventions, and the documents folder (else the home folder)
// for saved output.
WriteFolders UserWriteFolders();

// A program folder that can be written keeps everything, as a portable
// folder always has; otherwise (a system-wide install) the user's folders
// take the writes. The user's data folder is created when it is chosen.
WriteFolders ChooseWriteFolders(
    const std::filesystem::path& programFolder, const FolderPredicate& writable = IsWritableFolder,
    const std::function<WriteFolders()>& userFolders = UserWriteFolders);

}  // namespace tolvaris
