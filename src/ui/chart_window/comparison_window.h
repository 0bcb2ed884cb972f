#pragma once

#include <QWidget>

#include "core/chart/birth_chart.h"
#include "core/relation/relation.h"
#include "render/bi_wheel.h"
#include "ui/chart_window/report_output.h"

class QLabel;
class QTabWidget;
class QTableWidget;

namespace tolvaris {

// The first chart inside, the second's bodies on a ring around it, and the
// aspects between them as lines.
class BiWheelWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BiWheelWidget)

public:
    BiWheelWidget(const BirthChart& first, const BirthChart& second, const Synastry& synastry,
                  QWidget* parent = nullptr);

    // The geometry of the last paint, for tests.
    const BiWheelLayout& LastLayout() const { return lastLayout_; }

    QSize sizeHint() const override { return {520, 520}; }
    QSize minimumSizeHint() const override { return {300, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const BirthChart& first_;
    const BirthChart& second_;
    const Synastry& synastry_;
    BiWheelLayout lastLayout_;
};

// Two charts side by side: the aspects between them as a grid (the first
// chart's points across, the second's down), each one's bodies in the
// other's houses, and the bi-wheel; from here the relationship reading and
// the composite and Davison charts.
class ComparisonWindow : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ComparisonWindow)

public:
    ComparisonWindow(BirthChart first, BirthChart second, QWidget* parent = nullptr);

    const BirthChart& First() const { return first_; }
    const BirthChart& Second() const { return second_; }
    const Synastry& TheSynastry() const { return synastry_; }

    QTableWidget* Grid() const { return grid_; }
    // The first chart's bodies in the second's houses, and the other way.
    QTableWidget* FirstInSecond() const { return firstInSecond_; }
    QTableWidget* SecondInFirst() const { return secondInFirst_; }
    BiWheelWidget* Wheel() const { return wheel_; }
    QTabWidget* Tabs() const { return tabs_; }

signals:
    void relationshipReadingRequested();
    // The relationship reading typeset, printed or exported.
    void reportRequested(tolvaris::ReportAction action);
    void compositeRequested();
    void davisonRequested();

private:
    void FillGrid();

    BirthChart first_;
    BirthChart second_;
    Synastry synastry_;
    QTabWidget* tabs_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QTableWidget* firstInSecond_ = nullptr;
    QTableWidget* secondInFirst_ = nullptr;
    BiWheelWidget* wheel_ = nullptr;
};

// The points a chart brings to a comparison: Sun ... Pluto, and the
// Ascendant and Midheaven when its birth time is known.
std::vector<NatalPoint> ComparedPoints(const Chart& chart);

// The symbol of an aspect as the grid shows it.
QString AspectGlyph(AspectKind kind);

}  // namespace tolvaris
