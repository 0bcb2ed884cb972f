// The chart window as a workspace: its own menu bar with the Chart menu's
// commands (so their shortcuts work there too), mending the birth data of
// the chart shown, and a question before an unsaved chart is let go.
#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include "core/collection/chart_collection.h"
#include "ui/chart_window/birth_data_dialog.h"
#include "ui/chart_window/chart_menu.h"
#include "ui/chart_window/chart_window.h"
#include "ui/collection/charts_window.h"

namespace tolvaris {

void ChartMenu::AddWindowMenu(ChartWindow& shown) {
    auto* bar = new QMenuBar(&shown);
    bar->setObjectName("chartWindowMenuBar");
    QMenu* chart = bar->addMenu(tr("&Chart"));
    chart->setObjectName("mnuChartWindow");
    // The main window's own actions: one enabled state, and their shortcuts
    // work from this window as well.
    for (const char* name : {"mnuChartNew", "mnuChartOpen", "mnuChartSave",
                             "mnuChartSaveToCollection", "mnuChartCollection"}) {
        if (auto* action = menu_->findChild<QAction*>(name)) {
            chart->addAction(action);
        }
    }
    chart->addSeparator();
    QAction* edit = chart->addAction(tr("&Edit birth data..."), this, &ChartMenu::EditBirthData);
    edit->setObjectName("mnuChartEditBirthData");
    edit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    QAction* exportWheel = chart->addAction(tr("E&xport wheel..."), this, &ChartMenu::ExportWheel);
    exportWheel->setObjectName("mnuChartExportWheel");
    chart->addSeparator();
    QAction* close = chart->addAction(tr("&Close"), &shown, &QWidget::close);
    close->setObjectName("mnuChartClose");
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    shown.layout()->setMenuBar(bar);
    shown.installEventFilter(this);
}

void ChartMenu::EditBirthData() {
    if (!chartWindow_ || !chartWindow_->Shown()) {
        return;
    }
    editingStoredId_ = shownStoredId_;
    BirthDataDialog& dialog = Dialog();
    dialog.SetBirthData(chartWindow_->Shown()->input);
    dialog.open();
}

void ChartMenu::KeepEdited(const BirthData& birth) {
    const std::optional<std::int64_t> stored = std::exchange(editingStoredId_, std::nullopt);
    shownStoredId_.reset();
    if (!stored || !collection_) {
        return;
    }
    Result<std::optional<StoredChart>> got = collection_->Get(*stored);
    if (!got.Ok() || !got.Value()) {
        return;  // gone meanwhile: the chart shows as a new, unsaved one
    }
    StoredChart chart = std::move(*got.Value());
    chart.birth = birth;
    if (const Status updated = collection_->Update(chart); !updated.Ok()) {
        notices_.Message(tr("The change to %1 could not be saved in the collection: %2.")
                             .arg(QString::fromStdString(birth.name),
                                  QString::fromStdString(updated.Failure().message))
                             .toStdString(),
                         tr("Charts").toStdString(), NoticeIcon::Exclamation);
        return;
    }
    shownStoredId_ = stored;
    if (charts_) {
        charts_->Refresh();
    }
}

bool ChartMenu::MayDiscardShown() {
    if (!chartWindow_ || !chartWindow_->isVisible() || !chartWindow_->Shown() || currentFile_ ||
        shownStoredId_) {
        return true;
    }
    const std::string& name = chartWindow_->Shown()->input.name;
    const UnsavedAnswer answer = askUnsaved_ ? askUnsaved_(name) : AskUnsaved(name);
    if (answer == UnsavedAnswer::SaveToCollection) {
        SaveToCollection();
        return shownStoredId_.has_value();
    }
    return answer == UnsavedAnswer::Discard;
}

ChartMenu::UnsavedAnswer ChartMenu::AskUnsaved(const std::string& name) {
    QMessageBox box(QMessageBox::Question, tr("Chart"),
                    name.empty()
                        ? tr("The chart shown is not saved.")
                        : tr("The chart of %1 is not saved.").arg(QString::fromStdString(name)),
                    QMessageBox::NoButton, chartWindow_);
    box.setObjectName("unsavedChartQuestion");
    box.setInformativeText(tr("Keep it in the collection before it goes?"));
    QPushButton* keep = box.addButton(tr("&Save to collection"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(tr("&Discard"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(keep);
    box.exec();
    if (box.clickedButton() == keep) {
        return UnsavedAnswer::SaveToCollection;
    }
    return box.clickedButton() == discard ? UnsavedAnswer::Discard : UnsavedAnswer::Cancel;
}

}  // namespace tolvaris
