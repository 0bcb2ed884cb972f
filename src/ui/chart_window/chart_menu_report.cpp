// The reports of the Chart menu and the chart and comparison windows: a
// reading typeset, printed or exported as PDF or HTML.
#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>

#include "core/forecast/forecast_range.h"
#include "core/reading/forecast_reading.h"
#include "core/reading/full_reading.h"
#include "core/reading/progression_reading.h"
#include "core/reading/relationship_reading.h"
#include "core/reading/return_reading.h"
#include "ui/chart_window/chart_menu.h"
#include "ui/chart_window/chart_window.h"
#include "ui/chart_window/comparison_window.h"

namespace tolvaris {
namespace {

// The caption of the Chart menu's message boxes.
std::string Caption() {
    return QCoreApplication::translate("tolvaris::ChartMenu", "Chart").toStdString();
}

// A report of `chart`, with a relationship's second person on its first page.
ReportContent ContentOf(const BirthChart& chart, const BirthChart* outer = nullptr) {
    ReportContent content;
    content.chart = &chart;
    content.outerChart = outer;
    return content;
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
    NatalReport(order, ReportAction::Print);
}

void ChartMenu::ExportReport(ReadingOrder order) {
    NatalReport(order, ReportAction::Export);
}

void ChartMenu::NatalReport(ReadingOrder order, ReportAction action) {
    const ChartWindow* current = Current();
    if (current == nullptr || !current->Shown()) {
        return;
    }
    const BirthChart& chart = *current->Shown();
    Report(action, ContentOf(chart), chart, "", [&] {
        return FullReadingDataBuffer(chart, order, folders_.program, notices_).document;
    });
}

void ChartMenu::Report(ReportAction action, const ReportContent& content, const BirthChart& person,
                       const std::string& kind,
                       const std::function<ReadingDocument()>& makeDocument) {
    const std::string& name = person.input.name;
    const std::string file = (name.empty() ? std::string("chart") : name) +
                             (kind.empty() ? "" : " " + kind) + " report.pdf";
    OutputReport({fileDialogs_, notices_, fileWriter_, Caption()}, action, content,
                 folders_.saveDialog / file, makeDocument);
}

void ChartMenu::ForecastReport(const ForecastRequest& request, ReportAction action) {
    ReportContent content = ContentOf(request.chart);
    content.timeline.search = &request.search;
    content.timeline.span = request.range.span;
    content.timeline.offsetAt = [zone = request.range.displayZone](std::int64_t ut) {
        return DisplayOffsetAt(zone, ut);
    };
    Report(action, content, request.chart, "forecast", [&] {
        return ForecastDataBuffer({request.chart, request.range, request.settings, request.search},
                                  folders_.program, notices_)
            .document;
    });
}

void ChartMenu::ConnectReports(ChartWindow& shown) {
    connect(shown.Transits(), &TransitsTab::forecastReportRequested, this,
            &ChartMenu::ForecastReport);
    connect(shown.Progressions(), &ProgressionsTab::reportRequested, this,
            [this](const ProgressionsPageRequest& request, ReportAction action) {
                Report(action, ContentOf(request.chart), request.chart, "progressions", [&] {
                    return ProgressionDataBuffer(
                               {request.chart, request.range, request.settings, request.search},
                               folders_.program, notices_)
                        .document;
                });
            });
    connect(shown.Returns(), &ReturnsTab::solarReturnReportRequested, this,
            [this](const SolarReturnPageRequest& request, ReportAction action) {
                // The return chart is what the reading reads, so its wheel and
                // positions head the report.
                Report(action, ContentOf(request.returnChart), request.natal, "solar return", [&] {
                    return SolarReturnDataBuffer({request.natal, request.year, request.solarReturn,
                                                  request.returnChart},
                                                 folders_.program, notices_)
                        .document;
                });
            });
    connect(shown.Returns(), &ReturnsTab::lunarReturnsReportRequested, this,
            [this](const LunarReturnsPageRequest& request, ReportAction action) {
                Report(action, ContentOf(request.natal), request.natal, "lunar returns", [&] {
                    return LunarReturnsDataBuffer(
                               {request.natal, request.year, request.place, request.returns},
                               folders_.program, notices_)
                        .document;
                });
            });
}

void ChartMenu::RelationshipReport(const ComparisonWindow& comparison, ReportAction action) {
    const std::optional<CompositeChart> composite = CompositeOf(comparison);
    if (!composite) {
        return;
    }
    Report(action, ContentOf(comparison.First(), &comparison.Second()), comparison.First(),
           "relationship", [&] {
               return RelationshipDataBuffer({comparison.First(), comparison.Second(),
                                              comparison.TheSynastry(), *composite},
                                             folders_.program, notices_)
                   .document;
           });
}

}  // namespace tolvaris
