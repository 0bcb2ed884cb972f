#pragma once

#include <QWidget>
#include <optional>

#include "core/chart/birth_chart.h"
#include "core/chart/chart_placement.h"
#include "core/reading/full_reading.h"
#include "ui/chart_window/transits_tab.h"

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace tolvaris {

class ProgressionsTab;
class ReturnsTab;
class AspectGrid;
class TransitsNowTab;
struct CompositeChart;
class WheelWidget;

// Shows a computed chart: the birth data and the UT used, the positions
// (body, sign, degree and minute, house, R when retrograde), the house cusps,
// the aspects with their orbs, the ephemeris and house system used, and the
// notes; the transits over a range and those of one moment, with the
// bi-wheel. Choosing a body or the Ascendant in the positions reports its
// placement, so that the main window's option groups can follow.
class ChartWindow : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChartWindow)

public:
    explicit ChartWindow(QWidget* parent = nullptr);

    // The transit tabs compute nothing until they are given these.
    void UseForTransits(const TransitSources& sources);
    void ShowChart(const BirthChart& chart);
    const std::optional<BirthChart>& Shown() const { return chart_; }
    // Whether the chart shown comes from birth data a chart file can hold;
    // a composite's do not.
    bool HasBirthData() const { return chart_.has_value() && !composite_; }
    // A composite has no moment or place: its points and houses, the wheel
    // and its reading, no transits and no comparing (chart_window_composite.cpp).
    void ShowComposite(const CompositeChart& composite);
    // "Compare with...": the Chart menu gives it the menu of second charts.
    QPushButton* CompareButton() const { return compare_; }

    QTableWidget* Positions() const { return positions_; }
    QTableWidget* Cusps() const { return cusps_; }
    QTableWidget* Aspects() const { return aspects_; }
    AspectGrid* Grid() const { return grid_; }
    WheelWidget* Wheel() const { return wheel_; }
    TransitsTab* Transits() const { return transits_; }
    TransitsNowTab* TransitsNow() const { return transitsNow_; }
    ProgressionsTab* Progressions() const { return progressions_; }
    ReturnsTab* Returns() const { return returns_; }
    QTabWidget* Tabs() const { return tabs_; }
    QString SummaryText() const;
    QString NotesText() const;

signals:
    void placementChosen(const tolvaris::ChartPlacement& placement);
    // "Full reading" (F9) or "By house" (Shift+F9): the whole chart read out.
    void fullReadingRequested(tolvaris::ReadingOrder order);
    // "Export wheel...": the wheel as a PNG or SVG file.
    void wheelExportRequested();
    // The Transits tab's "Forecast page".
    void forecastRequested(const tolvaris::ForecastRequest& request);
    // The Returns tab's "Open return chart": a chart for a window of its own.
    void returnChartRequested(const tolvaris::BirthChart& chart);

private:
    void FillPositions();
    void FillCusps();
    void FillAspects();
    void ReportChosenRow();
    void MakeRoomForTransits();

    std::optional<BirthChart> chart_;
    bool composite_ = false;
    QLabel* summary_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableWidget* positions_ = nullptr;
    QTableWidget* cusps_ = nullptr;
    QTableWidget* aspects_ = nullptr;
    AspectGrid* grid_ = nullptr;
    WheelWidget* wheel_ = nullptr;
    TransitsTab* transits_ = nullptr;
    TransitsNowTab* transitsNow_ = nullptr;
    ProgressionsTab* progressions_ = nullptr;
    ReturnsTab* returns_ = nullptr;
    QPushButton* compare_ = nullptr;
    bool grownForTransits_ = false;
    QLabel* notes_ = nullptr;
};

}  // namespace tolvaris
