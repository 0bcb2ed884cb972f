#include "ui/chart_window/chart_file_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace tolvaris {
namespace {

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

QString QtChartFileDialogs::Filter() {
    return tr("Charts (*.chart)");
}

QWidget* QtChartFileDialogs::Parent() const {
    return parent_ ? parent_ : QApplication::activeWindow();
}

std::optional<std::filesystem::path> QtChartFileDialogs::AskOpenChart(
    const std::filesystem::path& folder) {
    QFileDialog dialog(Parent(), tr("Open Chart"), ToQt(folder), Filter());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Chosen(dialog);
}

std::optional<std::filesystem::path> QtChartFileDialogs::AskSaveChart(
    const std::filesystem::path& suggested) {
    QFileDialog dialog(Parent(), tr("Save Chart"), ToQt(suggested.parent_path()), Filter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("chart");
    dialog.selectFile(ToQt(suggested.filename()));
    return Chosen(dialog);
}

std::optional<ChartFileDialogs::WheelImage> QtChartFileDialogs::AskWheelImage(
    const std::filesystem::path& suggested) {
    QFileDialog dialog(Parent(), tr("Export Wheel"), ToQt(suggested.parent_path()),
                       tr("PNG image (*.png);;SVG drawing (*.svg)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("png");
    dialog.selectFile(ToQt(suggested.filename()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         dialog.setDefaultSuffix(filter.contains("svg") ? "svg" : "png");
                     });
    std::optional<std::filesystem::path> chosen = Chosen(dialog);
    if (!chosen) {
        return std::nullopt;
    }
    WheelImage image{*chosen, 800};
    if (chosen->extension() != ".svg") {
        bool ok = false;
        image.sizePixels = QInputDialog::getInt(Parent(), tr("Export Wheel"),
                                                tr("Width and height of the image in pixels:"),
                                                1600, 100, 10000, 100, &ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    return image;
}

std::optional<std::filesystem::path> QtChartFileDialogs::AskReportFile(
    const std::filesystem::path& suggested) {
    const QString pdf = tr("PDF (*.pdf)");
    QFileDialog dialog(Parent(), tr("Export Report"), ToQt(suggested.parent_path()),
                       pdf + ";;" + tr("HTML, one file (*.html *.htm)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("pdf");
    dialog.selectFile(ToQt(suggested.filename()));
    // A bare name gets the extension of the kind chosen, which decides what is written.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, pdf](const QString& filter) {
                         dialog.setDefaultSuffix(filter == pdf ? "pdf" : "html");
                     });
    return Chosen(dialog);
}

ChartFileDialogs::PrintAnswer QtChartFileDialogs::AskPrint(QPrinter& printer) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        return PrintAnswer::NoPrinter;
    }
    QPrintDialog dialog(&printer, Parent());
    return dialog.exec() == QDialog::Accepted ? PrintAnswer::Print : PrintAnswer::Cancel;
}

}  // namespace tolvaris
