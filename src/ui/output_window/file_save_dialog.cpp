#include "ui/output_window/file_save_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace tolvaris {

QString QtNameFilter(const std::string& filter) {
    const auto bar = filter.find('|');
    return QString::fromStdString(filter.substr(0, bar)).trimmed();
}

std::optional<std::filesystem::path> FileSaveDialog::AskSaveFileName(
    const SaveDialogOptions& options) {
    QFileDialog dialog(QApplication::activeWindow(), "Save As");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // File names are the file system's bytes, in the local encoding.
    dialog.setDirectory(QFile::decodeName(options.initialFolder.c_str()));
    dialog.selectFile(QString::fromStdString(options.initialName));
    dialog.setDefaultSuffix(QString::fromStdString(options.defaultExtension));
    dialog.setNameFilter(QtNameFilter(options.filter));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.askBeforeOverwrite);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        const QString chosen = dialog.selectedFiles().constFirst();
        if (!options.existingFoldersOnly || QFileInfo(chosen).absoluteDir().exists()) {
            return std::filesystem::path(QFile::encodeName(chosen).toStdString());
        }
        QMessageBox::warning(&dialog, "Save As",
                             QString("The folder %1 does not exist.")
                                 .arg(QDir::toNativeSeparators(QFileInfo(chosen).absolutePath())));
    }
}

}  // namespace tolvaris
