#include "ui/output_window/file_save_dialog.h"

#include <QApplication>
#include <QDir>
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
    dialog.setDirectory(QString::fromStdString(options.initialFolder.string()));
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
            return std::filesystem::path(chosen.toStdString());
        }
        QMessageBox::warning(&dialog, "Save As",
                             QString("The folder %1 does not exist.")
                                 .arg(QDir::toNativeSeparators(QFileInfo(chosen).absolutePath())));
    }
}

}  // namespace tolvaris
