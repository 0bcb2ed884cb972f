#include "app/program.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "output_window/output_help.h"
#include "settings/settings_file.h"

namespace tolvaris {

Program::Program(std::filesystem::path ProgramFolder, Notices& notices, SaveDialog& saveDialog,
                 AtomicFileWriter& fileWriter)
    : programFolder_(std::move(ProgramFolder)),
      notices_(notices),
      fileWriter_(fileWriter),
      settings_(LoadSettings(programFolder_ / std::string(kSettingsFileName))),
      display_([this] { return CreateOutputWindow(); }),
      buffers_(display_, notices_, programFolder_, fileWriter_),
      requests_(buffers_, notices_, programFolder_),
      hints_(buffers_, notices_, programFolder_),
      saving_(buffers_, notices_, saveDialog, fileWriter_, programFolder_) {
    mainWindow_ = std::make_unique<MainWindow>(
        requests_, MainWindowCommands{[this] { hints_.Command1_Click(); },
                                      [this] { hints_.Command2_Click(); },
                                      [this] { Form_Unload(); }});
}

Program::~Program() {
    if (OutputWindow* output = display_.Window()) {
        delete output;
    }
}

OutputWindow* Program::CreateOutputWindow() {
    OutputCommands commands{
        [this] { saving_.mnuFileSave_Click(); },
        [this] { saving_.mnuFileSaveAs_Click(); },
        [this] { ShowOutputHelp(buffers_, notices_, programFolder_); },
        [this] { buffers_.ClearDataBuffer(); },
        [this] { return buffers_.PageCount(); },
        [this] { buffers_.ShowPage(); },
        [this] { FocusMainWindow(); },
        [this] { display_.Forget(); },
    };
    // The main window's frame is the best guess of the output window's
    // until that one is shown.
    const QRect outer = mainWindow_->frameGeometry();
    const QRect inner = mainWindow_->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    return new OutputWindow(settings_, FontSizeStep, notices_, std::move(commands), OutputFontName,
                            frame);
}

void Program::FocusMainWindow() {
    mainWindow_->activateWindow();
    mainWindow_->raise();
}

void Program::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    const std::filesystem::path file = programFolder_ / std::string(kSettingsFileName);
    const std::string error = SaveSettings(file, settings_, fileWriter_);
    if (!error.empty()) {
        notices_.Message("The settings could not be written to the file " + file.string() + ": " +
                             error + ".",
                         "Warning!", NoticeIcon::Critical);
    }
    display_.Close();
}

std::filesystem::path RunningProgramFolder() {
    return std::filesystem::path(
        QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath().toStdString());
}

}  // namespace tolvaris
