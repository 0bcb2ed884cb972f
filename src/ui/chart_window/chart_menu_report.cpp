// The Chart menu's report of the chart shown: its natal reading typeset,
// printed or exported as PDF or HTML.
#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QPrinter>

#include "core/reading/full_reading.h"
#include "render/report_html.h"
#include "render/report_pdf.h"
#include "ui/chart_window/chart_file_dialogs.h"
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
            QAction* action = report->addAction(label, this, [this, print, order] {
                if (print) {
                    PrintReport(order);
                } else {
                    ExportReport(order);
                }
            });
            action->setObjectName(report->menuAction()->objectName() +
                                  (order == ReadingOrder::ByPlanet ? "ByPlanet" : "ByHouse"));
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
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(PageSizeFromEnvironment()));
    printer.setDocName(QString::fromStdString(current->Shown()->input.name));
    switch (fileDialogs_.AskPrint(printer)) {
        case ChartFileDialogs::PrintAnswer::Print:
            break;
        case ChartFileDialogs::PrintAnswer::Cancel:
            return;
        case ChartFileDialogs::PrintAnswer::NoPrinter:
            notices_.Message(tr("No printer is set up on this computer.").toStdString(), Caption(),
                             NoticeIcon::Information);
            return;
    }
    const ReadingDocument document =
        NatalDocument(*current->Shown(), order, folders_.program, notices_);
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
    const std::optional<std::filesystem::path> chosen = fileDialogs_.AskReportFile(
        folders_.saveDialog / ((name.empty() ? std::string("chart") : name) + " report.pdf"));
    if (!chosen) {
        return;
    }
    const ReadingDocument document =
        NatalDocument(*current->Shown(), order, folders_.program, notices_);
    ReportContent content;
    content.document = &document;
    content.chart = &*current->Shown();
    content.pageSize = PageSizeFromEnvironment();
    const QString extension = QString::fromStdString(chosen->extension().string()).toLower();
    const bool html = extension == QStringLiteral(".html") || extension == QStringLiteral(".htm");
    const std::string error = html ? WriteReportHtml(*chosen, content, fileWriter_)
                                   : WriteReportPdf(*chosen, content, fileWriter_);
    if (!error.empty()) {
        notices_.Message(tr("The report could not be exported: %1.")
                             .arg(QString::fromStdString(error))
                             .toStdString(),
                         Caption(), NoticeIcon::Critical);
    }
}

}  // namespace tolvaris
