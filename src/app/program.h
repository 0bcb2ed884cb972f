#pragma once

#include <QString>
#include <filesystem>
#include <memory>

#include "common/atomic_file.h"
#include "engine/page_buffers.h"
#include "main_window/keyword_page.h"
#include "main_window/main_window.h"
#include "main_window/requests.h"
#include "output_window/output_display_host.h"
#include "output_window/saving.h"
#include "settings/setting_values.h"

namespace tolvaris {

// Everything one run of Tolvaris holds, created in dependency order. The
// screen seams are passed in so that tests can run the whole program with
// fakes for message boxes and the save dialog.
class Program {
public:
    Program(std::filesystem::path ProgramFolder, Notices& notices, SaveDialog& saveDialog,
            AtomicFileWriter& fileWriter);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    MainWindow& Window() { return *mainWindow_; }
    OutputWindow* Output() const { return display_.Window(); }
    PageBuffers& Buffers() { return buffers_; }
    Requests& Requests_() { return requests_; }
    OutputSaving& Saving() { return saving_; }
    SettingValues& Settings() { return settings_; }
    const std::filesystem::path& Folder() const { return programFolder_; }

    // The main window's close: writes the settings, closes the output window.
    void Form_Unload();

    static inline const QString OutputFontName = "COURIER NEW";
    static constexpr double FontSizeStep = 1.5;

private:
    OutputWindow* CreateOutputWindow();
    void FocusMainWindow();

    std::filesystem::path programFolder_;
    Notices& notices_;
    AtomicFileWriter& fileWriter_;
    SettingValues settings_;
    OutputDisplayHost display_;
    PageBuffers buffers_;
    Requests requests_;
    HintsAndKeywords hints_;
    OutputSaving saving_;
    std::unique_ptr<MainWindow> mainWindow_;
    bool unloaded_ = false;
};

// The folder of the running program, links resolved.
std::filesystem::path RunningProgramFolder();

}  // namespace tolvaris
