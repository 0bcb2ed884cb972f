// The Chart menu's report of the chart shown: its natal reading typeset,
// printed or exported as PDF or HTML.
#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/reading/full_reading.h"
#include "render/report_html.h"
#include "render/report_pdf.h"
#include "ui/chart_window/chart_menu.h"
#include "ui/chart_window/chart_window.h"

namespace tolvaris {
namespace {

// The caption of the Chart menu's message boxes.
std::string Caption() {
    return QCoreApplication::translate("tolvaris::ChartMenu", "Chart").toStdString();
}

ReadingDocument NatalDocument(const BirthChart& chart, ReadingOrder order,
                              const std::filesystem::path& dataFolder, Notices& notices) {
    return FullReadingDataBuffer(chart, order, dataFolder, notices).document;
}

}  // namespace

void ChartMenu::AddReportActions() {
    for (const bool print : {true, false}) {
        QMenu* report = menu_->addMenu(print ? tr("&Print report") : tr("E&xport report"));
        report->menuAction()->setObjectName(print ? "mnuChartPrintReport" : "mnuChartExportReport");
        for (const ReadingOrder order : {ReadingOrder::ByPlanet, ReadingOrder::ByHouse}) {
            const QString label =
                order == ReadingOrder::ByPlanet ? tr("By &planet...") : tr("By &house...");
            report->addAction(label, this, [this, print, order] {
                if (print) {
                    PrintReport(order);
                } else {
                    ExportReport(order);
                }
            });
        }
        reportMenus_.push_back(report->menuAction());
        report->menuAction()->setEnabled(false);
    }
}

void ChartMenu::PrintReport(ReadingOrder order) {
    const ChartWindow* current = Current();
    if (current == nullptr || !current->Shown()) {
        return;
    }
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        notices_.Message(tr("No printer is set up on this computer.").toStdString(), Caption(),
                         NoticeIcon::Information);
        return;
    }
    const ReadingDocument document =
        NatalDocument(*current->Shown(), order, folders_.program, notices_);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(PageSizeFromEnvironment()));
    printer.setDocName(QString::fromStdString(current->Shown()->input.name));
    QPrintDialog dialog(&printer, &window_);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The report is laid out in its own coordinates.
    printer.setResolution(kReportResolution);
    printer.setPageMargins(kReportMargins, QPageLayout::Millimeter);
    ReportContent content;
    content.document = &document;
    content.chart = &*current->Shown();
    if (!PaintReport(printer, content)) {
        notices_.Message(tr("The printer could not be used.").toStdString(), Caption(),
                         NoticeIcon::Exclamation);
    }
}

void ChartMenu::ExportReport(ReadingOrder order) {
    const ChartWindow* current = Current();
    if (current == nullptr || !current->Shown()) {
        return;
    }
    const std::string name = current->Shown()->input.name;
    const QString suggested = QString::fromStdString(
        (folders_.saveDialog / ((name.empty() ? std::string("chart") : name) + " report.pdf"))
            .string());
    const QString chosen = QFileDialog::getSaveFileName(
        &window_, tr("Export report"), suggested, tr("PDF (*.pdf);;HTML, one file (*.html *.htm)"));
    if (chosen.isEmpty()) {
        return;
    }
    const ReadingDocument document =
        NatalDocument(*current->Shown(), order, folders_.program, notices_);
    ReportContent content;
    content.document = &document;
    content.chart = &*current->Shown();
    content.pageSize = PageSizeFromEnvironment();
    const std::filesystem::path path = chosen.toStdString();
    const QString extension = QFileInfo(chosen).suffix().toLower();
    const bool html = extension == QStringLiteral("html") || extension == QStringLiteral("htm");
    const std::string error = html ? WriteReportHtml(path, content, fileWriter_)
                                   : WriteReportPdf(path, content, fileWriter_);
    if (!error.empty()) {
        notices_.Message(tr("The report could not be exported: %1.")
                             .arg(QString::fromStdString(error))
                             .toStdString(),
                         Caption(), NoticeIcon::Critical);
    }
}

}  // namespace tolvaris
