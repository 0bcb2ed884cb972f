#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

#include "core/chart/birth_chart.h"
#include "core/forecast/transits.h"
#include "ui/chart_window/transits_tab.h"

class QDateTimeEdit;
class QLabel;
class QTableWidget;

namespace tolvaris {

class WheelWidget;

// The sky of one moment (now unless the user picks another) against the
// chart: the bi-wheel, natal inside and the transiting bodies on the outer
// ring, and the transits within the orb then, the closest first.
class TransitsNowTab : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TransitsNowTab)

public:
    explicit TransitsNowTab(QWidget* parent = nullptr);

    // No wider than it must be: the chart window opens at its other tabs'
    // size, beside the main window.
    QSize sizeHint() const override { return minimumSizeHint(); }

    void UseSources(TransitSources sources);
    void ShowChart(const BirthChart& chart, const TransitSettings& settings);
    void SetSettings(const TransitSettings& settings);
    // Back to the present moment.
    void ShowNow();
    // The moment shown, seconds since 1970, UT.
    std::int64_t Moment() const { return moment_; }
    void ShowMoment(std::int64_t utSeconds);

    QDateTimeEdit* MomentEdit() const { return momentEdit_; }
    WheelWidget* BiWheel() const { return wheel_; }
    QTableWidget* InEffect() const { return inEffect_; }

private:
    void Refresh();
    void TakeEditedMoment();

    TransitSources sources_;
    std::optional<BirthChart> chart_;
    TransitSettings settings_;
    std::int64_t moment_ = 0;
    QDateTimeEdit* momentEdit_ = nullptr;
    QLabel* zone_ = nullptr;
    QLabel* status_ = nullptr;
    WheelWidget* wheel_ = nullptr;
    QTableWidget* inEffect_ = nullptr;
};

}  // namespace tolvaris
