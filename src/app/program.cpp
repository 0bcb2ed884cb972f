#include "app/program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <system_error>

#include "core/output/output_help.h"
#include "core/settings/settings_file.h"

namespace tolvaris {

namespace {

std::filesystem::path OrProgramFolder(std::filesystem::path folder,
                                      const std::filesystem::path& programFolder) {
    return folder.empty() ? programFolder : folder;
}

// File names are bytes in the local encoding, not necessarily UTF-8.
std::filesystem::path ToPath(const QString& folder) {
    return std::filesystem::path(QFile::encodeName(folder).toStdString());
}

}  // namespace

Program::Program(std::filesystem::path ProgramFolder, Notices& notices, SaveDialog& saveDialog,
                 AtomicFileWriter& fileWriter, WriteFolders writeFolders)
    : programFolder_(std::move(ProgramFolder)),
      ownFilesFolder_(OrProgramFolder(std::move(writeFolders.ownFiles), programFolder_)),
      notices_(notices),
      fileWriter_(fileWriter),
      settings_(LoadSettings(SettingsFilePath())),
      display_([this] { return CreateOutputWindow(); }),
      buffers_(display_, notices_, ownFilesFolder_, fileWriter_),
      requests_(buffers_, notices_, programFolder_),
      hints_(buffers_, notices_, programFolder_),
      saving_(buffers_, notices_, saveDialog, fileWriter_,
              OrProgramFolder(std::move(writeFolders.saveDialogStart), programFolder_)) {
    mainWindow_ = std::make_unique<MainWindow>(
        requests_,
        MainWindowCommands{[this] { hints_.ShowHints(); }, [this] { hints_.ShowKeywords(); },
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
    const std::filesystem::path file = SettingsFilePath();
    const std::string error = SaveSettings(file, settings_, fileWriter_);
    if (!error.empty()) {
        notices_.Message(
            "The settings could not be written to the file " + file.string() + ": " + error + ".",
            "Warning!", NoticeIcon::Critical);
    }
    display_.Close();
}

std::filesystem::path Program::SettingsFilePath() const {
    return ownFilesFolder_ / std::string(kSettingsFileName);
}

std::filesystem::path RunningProgramFolder() {
    return ToPath(QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath());
}

bool IsWritableFolder(const std::filesystem::path& folder) {
    const QFileInfo info(QFile::decodeName(folder.c_str()));
    return info.isDir() && info.isWritable();
}

WriteFolders UserWriteFolders() {
    WriteFolders folders;
    folders.ownFiles =
        ToPath(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    folders.saveDialogStart = ToPath(QDir(documents).exists() ? documents : QDir::homePath());
    return folders;
}

WriteFolders ChooseWriteFolders(const std::filesystem::path& programFolder,
                                const FolderPredicate& writable,
                                const std::function<WriteFolders()>& userFolders) {
    if (writable(programFolder)) {
        return {programFolder, programFolder};
    }
    WriteFolders folders = userFolders();
    if (folders.ownFiles.empty()) {
        // No home to write to: the writes fail in the program folder and
        // say so there.
        return {programFolder, programFolder};
    }
    // A failure shows later, when a write into it fails and names the file.
    std::error_code ignored;
    std::filesystem::create_directories(folders.ownFiles, ignored);
    return folders;
}

}  // namespace tolvaris
