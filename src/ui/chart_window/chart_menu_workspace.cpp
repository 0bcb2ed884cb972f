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
    Opened* opened = CurrentOpened();
    if (!opened || !opened->window->Shown()) {
        return;
    }
    BirthDataDialog& dialog = Dialog();
    dialog.SetBirthData(opened->window->Shown()->input);
    editing_ = opened->window;
    dialog.open();
}

void ChartMenu::KeepEdited(Opened& opened, const BirthData& birth) {
    const std::optional<std::int64_t> stored = std::exchange(opened.storedId, std::nullopt);
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
    opened.storedId = stored;
    if (charts_) {
        charts_->Refresh();
    }
}

bool ChartMenu::MayDiscard(ChartWindow& shown) {
    Opened* opened = OpenedOf(&shown);
    if (quitting_ || !opened || !shown.isVisible() || !shown.Shown() || opened->file ||
        opened->storedId) {
        return true;
    }
    const std::string name = shown.Shown()->input.name;
    const UnsavedAnswer answer = askUnsaved_ ? askUnsaved_(name) : AskUnsaved(name, &shown);
    if (answer == UnsavedAnswer::SaveToCollection) {
        return KeepInCollection(*opened);
    }
    return answer == UnsavedAnswer::Discard;
}

bool ChartMenu::MayDiscardAll() {
    // The windows the question is about, by pointer: saving one may refresh
    // other windows, never close them, but the list may grow meanwhile.
    for (ChartWindow* shown : Windows()) {
        if (OpenedOf(shown)) {
            if (shown->isVisible()) {  // the user sees the chart asked about
                shown->raise();
            }
            if (!MayDiscard(*shown)) {
                return false;
            }
        }
    }
    return true;
}

ChartMenu::UnsavedAnswer ChartMenu::AskUnsaved(const std::string& name, QWidget* over) {
    QMessageBox box(QMessageBox::Question, tr("Chart"),
                    name.empty()
                        ? tr("The chart shown is not saved.")
                        : tr("The chart of %1 is not saved.").arg(QString::fromStdString(name)),
                    QMessageBox::NoButton, over);
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
