#include "ui/chart_window/chart_file_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>

namespace tolvaris {
namespace {

constexpr const char* kFilter = "Charts (*.chart)";

QString ToQt(const std::filesystem::path& path) {
    return QFile::decodeName(path.c_str());
}

std::optional<std::filesystem::path> Chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(
        QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString());
}

}  // namespace

QWidget* QtChartFileDialogs::Parent() const {
    return parent_ ? parent_ : QApplication::activeWindow();
}

std::optional<std::filesystem::path> QtChartFileDialogs::AskOpenChart(
    const std::filesystem::path& folder) {
    QFileDialog dialog(Parent(), "Open Chart", ToQt(folder), kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Chosen(dialog);
}

std::optional<std::filesystem::path> QtChartFileDialogs::AskSaveChart(
    const std::filesystem::path& suggested) {
    QFileDialog dialog(Parent(), "Save Chart", ToQt(suggested.parent_path()), kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("chart");
    dialog.selectFile(ToQt(suggested.filename()));
    return Chosen(dialog);
}

}  // namespace tolvaris
