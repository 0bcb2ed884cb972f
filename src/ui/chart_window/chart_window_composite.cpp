// The chart window showing a composite chart: kept apart from the natal
// chart's code, which assumes a moment and a place throughout.
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "core/relation/relation.h"
#include "ui/chart_window/chart_window.h"
#include "ui/chart_window/progressions_tab.h"
#include "ui/chart_window/returns_tab.h"
#include "ui/chart_window/transits_now_tab.h"

namespace tolvaris {

void ChartWindow::ShowComposite(const CompositeChart& composite) {
    const QString pair =
        QString::fromStdString(PairName(composite.firstName, composite.secondName));
    BirthChart standIn;
    standIn.input.name = tr("Composite: %1").arg(pair).toStdString();
    standIn.chart = composite.chart;
    standIn.notes = composite.notes;
    ShowChart(standIn);
    composite_ = true;
    setWindowTitle(QString::fromStdString(standIn.input.name));

    // The stand-in's birth data are no one's: the summary says what the chart is instead.
    QString houses = tr("none: a birth time is unknown");
    if (composite.chart.houseSystemUsed) {
        const std::string_view name = HouseSystemDisplayName(*composite.chart.houseSystemUsed);
        houses = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    summary_->setText(tr("Composite of %1\nEvery point lies halfway between the two charts' "
                         "points, so the chart has no moment and no place.\nHouses: %2")
                          .arg(pair, houses));
    // Transits and comparing need a birth moment.
    tabs_->setTabVisible(tabs_->indexOf(transits_), false);
    tabs_->setTabVisible(tabs_->indexOf(transitsNow_), false);
    tabs_->setTabVisible(tabs_->indexOf(progressions_), false);
    tabs_->setTabVisible(tabs_->indexOf(returns_), false);
    compare_->hide();
    // Its one reading is the composite's own page, in no house order.
    if (auto* byHouse = findChild<QPushButton*>("fullReadingByHouse")) {
        byHouse->hide();
    }
}

}  // namespace tolvaris
