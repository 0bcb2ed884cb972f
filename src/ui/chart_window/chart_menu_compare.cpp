// The Chart menu's part in comparing two charts: choosing the second chart,
// the comparison window, and the composite and Davison chart windows.
#include <QCoreApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>

#include "core/chart/chart_file.h"
#include "core/ephemeris/ephemeris.h"
#include "ui/chart_window/birth_data_dialog.h"
#include "ui/chart_window/chart_file_dialogs.h"
#include "ui/chart_window/chart_menu.h"
#include "ui/chart_window/chart_window.h"
#include "ui/chart_window/comparison_window.h"
#include "ui/common/screen_fit.h"

namespace tolvaris {
namespace {

std::string CompareCaption() {
    return QCoreApplication::translate("tolvaris::ChartMenu", "Compare").toStdString();
}

// Each new window a little below and to the right of the one it came from,
// pulled back inside the screen where there is no room.
void PlaceAfter(QWidget& shown, const QWidget& from) {
    const int step = from.fontMetrics().height() * 2;
    const QRect wanted(from.frameGeometry().topLeft() + QPoint(step, step), shown.size());
    shown.move(KeepInside(wanted, ScreenAvailableGeometry(wanted)).topLeft());
}

}  // namespace

void ChartMenu::FillCompareMenu(QMenu& compare) {
    compare.clear();
    compare.addAction(tr("&Chart file..."), this, [this] {
        const std::optional<std::filesystem::path> current = CurrentFile();
        const std::filesystem::path start = current ? current->parent_path() : folders_.saveDialog;
        if (const std::optional<std::filesystem::path> file = fileDialogs_.AskOpenChart(start)) {
            CompareWithFile(*file);
        }
    });
    compare.addAction(tr("&New birth data..."), this, &ChartMenu::CompareWithNewChart);
    if (!recent_.Paths().empty()) {
        compare.addSeparator();
    }
    int number = 1;
    for (const std::filesystem::path& file : recent_.Paths()) {
        QString label = QFile::decodeName(file.filename().c_str());
        label.replace("&", "&&");
        QAction* action = compare.addAction(QString("&%1 %2").arg(number++).arg(label), this,
                                            [this, file] { CompareWithFile(file); });
        action->setToolTip(QFile::decodeName(file.c_str()));
    }
}

void ChartMenu::CompareWithFile(const std::filesystem::path& file) {
    const ChartFileResult read = ReadChartFile(file);
    if (!read.value) {
        notices_.Message(read.error, CompareCaption(), NoticeIcon::Exclamation);
        return;
    }
    const BirthChartResult computed = ComputeBirthChart(TheEphemeris(), *read.value);
    if (!computed.Ok()) {
        notices_.Message(file.string() + ": " + computed.error.message, CompareCaption(),
                         NoticeIcon::Exclamation);
        return;
    }
    CompareWith(*computed.value);
}

void ChartMenu::CompareWithNewChart() {
    BirthDataDialog& dialog = Dialog();
    dialog.Clear();
    dialogForComparison_ = true;
    dialog.open();
}

std::optional<CompositeChart> ChartMenu::CompositeOf(const ComparisonWindow& comparison) {
    CompositeResult composite =
        ComputeComposite(TheEphemeris(), comparison.First(), comparison.Second());
    if (!composite.Ok()) {
        notices_.Message(composite.error, CompareCaption(), NoticeIcon::Exclamation);
        return std::nullopt;
    }
    return std::move(*composite.value);
}

ComparisonWindow* ChartMenu::CompareWith(const BirthChart& second) {
    const Opened* first = CurrentOpened();
    if (!first || !first->window->Shown()) {
        return nullptr;
    }
    ChartWindow& from = *first->window;
    auto* comparison = new ComparisonWindow(*from.Shown(), second, &window_);
    comparison->setAttribute(Qt::WA_DeleteOnClose);
    connect(comparison, &ComparisonWindow::relationshipReadingRequested, this, [this, comparison] {
        if (const std::optional<CompositeChart> composite = CompositeOf(*comparison)) {
            emit relationshipReadingRequested(
                {comparison->First(), comparison->Second(), comparison->TheSynastry(), *composite});
        }
    });
    connect(comparison, &ComparisonWindow::reportRequested, this,
            [this, comparison](ReportAction action) { RelationshipReport(*comparison, action); });
    connect(comparison, &ComparisonWindow::compositeRequested, this,
            [this, comparison] { ShowComposite(*comparison); });
    connect(comparison, &ComparisonWindow::davisonRequested, this,
            [this, comparison] { ShowDavison(*comparison); });
    PlaceAfter(*comparison, from);
    comparison->show();
    comparison->raise();
    comparison->activateWindow();
    return comparison;
}

ChartWindow* ChartMenu::NewPairWindow() {
    auto* shown = new ChartWindow(&window_);
    shown->setAttribute(Qt::WA_DeleteOnClose);
    shown->UseForTransits({&TheEphemeris(), &notices_, folders_.program, {}});
    shown->CompareButton()->hide();
    // The Chart menu's Save and Export act on it while it is the active one.
    shown->installEventFilter(this);
    connect(shown, &ChartWindow::placementChosen, this, &ChartMenu::placementChosen);
    connect(shown, &ChartWindow::wheelExportRequested, this,
            [this, shown] { ExportWheelOf(*shown); });
    connect(shown, &ChartWindow::forecastRequested, this, &ChartMenu::forecastRequested);
    connect(shown->Transits(), &TransitsTab::forecastReportRequested, this,
            &ChartMenu::ForecastReport);
    return shown;
}

ChartWindow* ChartMenu::ShowComposite(const ComparisonWindow& comparison) {
    CompositeResult composite =
        ComputeComposite(TheEphemeris(), comparison.First(), comparison.Second());
    if (!composite.Ok()) {
        notices_.Message(composite.error, CompareCaption(), NoticeIcon::Exclamation);
        return nullptr;
    }
    ChartWindow* shown = NewPairWindow();
    shown->ShowComposite(*composite.value);
    connect(shown, &ChartWindow::fullReadingRequested, this,
            [this, chart = std::move(*composite.value)] { emit compositeReadingRequested(chart); });
    PlaceAfter(*shown, comparison);
    shown->show();
    shown->raise();
    shown->activateWindow();
    return shown;
}

ChartWindow* ChartMenu::ShowDavison(const ComparisonWindow& comparison) {
    DavisonResult davison = ComputeDavison(TheEphemeris(), comparison.First(), comparison.Second());
    if (!davison.Ok()) {
        notices_.Message(davison.error, CompareCaption(), NoticeIcon::Exclamation);
        return nullptr;
    }
    ChartWindow* shown = NewPairWindow();
    shown->ShowChart(*davison.value);
    connect(shown, &ChartWindow::fullReadingRequested, this, [this, shown](ReadingOrder order) {
        if (shown->Shown()) {
            emit fullReadingRequested(*shown->Shown(), order);
        }
    });
    PlaceAfter(*shown, comparison);
    shown->show();
    shown->raise();
    shown->activateWindow();
    return shown;
}

}  // namespace tolvaris
