// The Chart menu's side of the collection: the Charts window, opening a
// stored chart and saving the chart shown into the collection.
#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>

#include "core/collection/sqlite_collection.h"
#include "core/ephemeris/ephemeris.h"
#include "ui/chart_window/birth_data_dialog.h"
#include "ui/chart_window/chart_menu.h"
#include "ui/chart_window/chart_window.h"
#include "ui/collection/charts_window.h"
#include "ui/common/screen_fit.h"

namespace tolvaris {
namespace {

std::string CollectionCaption() {
    return QCoreApplication::translate("tolvaris::ChartMenu", "Charts").toStdString();
}

}  // namespace

void ChartMenu::AddCollectionActions() {
    QAction* charts = menu_->addAction(tr("C&harts..."), this, &ChartMenu::ShowCharts);
    charts->setObjectName("mnuChartCollection");
    charts->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    charts->setStatusTip(tr("Every chart you keep: find, open, edit, tag"));
    saveToCollectionAction_ =
        menu_->addAction(tr("Save to co&llection"), this, &ChartMenu::SaveToCollection);
    saveToCollectionAction_->setObjectName("mnuChartSaveToCollection");
    saveToCollectionAction_->setEnabled(false);
}

ChartCollection* ChartMenu::Collection() {
    if (!collection_ && !collectionTried_) {
        collectionTried_ = true;
        const std::filesystem::path file =
            folders_.collection.empty() ? DefaultCollectionPath() : folders_.collection;
        if (file.empty()) {
            notices_.Message(tr("There is no folder for the collection: neither XDG_DATA_HOME "
                                "nor HOME is set. Chart files still work.")
                                 .toStdString(),
                             CollectionCaption(), NoticeIcon::Exclamation);
            return nullptr;
        }
        CollectionOpen opened = OpenChartCollection(file);
        if (!opened.value) {
            notices_.Message(tr("%1 Chart files still work.")
                                 .arg(QString::fromStdString(opened.error))
                                 .toStdString(),
                             CollectionCaption(), NoticeIcon::Exclamation);
            // Asked again next time, in case the user mended or moved the file.
            collectionTried_ = false;
            return nullptr;
        }
        collection_ = std::move(opened.value);
    }
    return collection_.get();
}

void ChartMenu::ShowCharts() {
    if (!charts_) {
        ChartCollection* collection = Collection();
        if (!collection) {
            return;
        }
        charts_ = new ChartsWindow({collection, &atlas_, &TheEphemeris(), &notices_}, &window_);
        connect(charts_, &ChartsWindow::openRequested, this, &ChartMenu::OpenStoredChart);
        // The Chart menu's shortcuts work from this window too.
        for (const char* name : {"mnuChartNew", "mnuChartOpen", "mnuChartSaveToCollection"}) {
            if (auto* action = menu_->findChild<QAction*>(name)) {
                charts_->addAction(action);
            }
        }
        // At the screen's right edge, level with the main window: the chart
        // window opens between the two.
        const QRect screen = ScreenAvailableGeometry(window_.frameGeometry());
        const QRect frame(QPoint(screen.right() - charts_->width(), window_.frameGeometry().top()),
                          charts_->size());
        const QRect inside = KeepInside(frame, ScreenAvailableGeometry(frame));
        charts_->resize(inside.size());
        charts_->move(inside.topLeft());
    } else {
        // Another process may have added charts meanwhile.
        charts_->Refresh();
    }
    charts_->show();
    charts_->raise();
    charts_->activateWindow();
    charts_->SearchField()->setFocus();
}

void ChartMenu::OpenStoredChart(const StoredChart& chart) {
    for (const Opened& opened : opened_) {
        if (opened.window && opened.storedId == chart.id && opened.window->isVisible() &&
            opened.window->Shown() &&
            ChartIdentity(opened.window->Shown()->input) == ChartIdentity(chart.birth)) {
            Raise(*opened.window);
            return;
        }
    }
    const BirthChartResult computed = ComputeBirthChart(TheEphemeris(), chart.birth);
    if (!computed.Ok()) {
        notices_.Message(chart.birth.name + ": " + computed.error.message, CollectionCaption(),
                         NoticeIcon::Exclamation);
        BirthDataDialog& dialog = Dialog();
        dialog.SetBirthData(chart.birth);
        dialog.open();
        return;
    }
    ShowChart(*computed.value, std::nullopt, chart.id);
}

void ChartMenu::SaveToCollection() {
    if (Opened* opened = CurrentOpened()) {
        KeepInCollection(*opened);
    }
}

bool ChartMenu::KeepInCollection(Opened& opened) {
    if (!opened.window || !opened.window->Shown()) {
        return false;
    }
    ChartCollection* collection = Collection();
    if (!collection) {
        return false;
    }
    StoredChart stored;
    stored.birth = opened.window->Shown()->input;
    const Result<std::int64_t> added = collection->Add(stored);
    if (!added.Ok()) {
        notices_.Message(tr("%1 could not be saved to the collection: %2.")
                             .arg(QString::fromStdString(stored.birth.name),
                                  QString::fromStdString(added.Failure().message))
                             .toStdString(),
                         CollectionCaption(), NoticeIcon::Exclamation);
        return false;
    }
    opened.storedId = added.Value();
    if (charts_) {
        charts_->Refresh();
        charts_->Select(added.Value());
    }
    return true;
}

}  // namespace tolvaris
