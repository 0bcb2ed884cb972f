#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

#include "core/chart/birth_chart.h"
#include "core/forecast/forecast_range.h"
#include "core/forecast/progressions.h"
#include "ui/chart_window/report_output.h"
#include "ui/chart_window/transits_tab.h"

class QDateEdit;
class QLabel;
class QPushButton;
class QSplitter;
class QTableWidget;

namespace tolvaris {

class WheelWidget;

// A progressions page asked for: the events listed, with what they were
// searched for.
struct ProgressionsPageRequest {
    BirthChart chart;
    ForecastRange range;
    ProgressionSettings settings;
    ProgressionSearch search;
};

// The secondary progressions of one date (today unless the user picks
// another): the progressed bodies beside the natal ones, the solar arc and
// the progressed angles, the bi-wheel with the progressed bodies outside, and
// the progressed events of the five years that follow.
class ProgressionsTab : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressionsTab)

public:
    // The years of events listed after the date.
    static constexpr int kEventYears = 5;

    explicit ProgressionsTab(QWidget* parent = nullptr);

    // No wider than it must be, as the transit tabs.
    QSize sizeHint() const override { return minimumSizeHint(); }

    void UseSources(TransitSources sources);
    void ShowChart(const BirthChart& chart);
    // 00:00 of the date in the chart's display zone.
    void ShowDate(QDate date);
    QDate Date() const;
    // The progressed chart shown, when one could be computed.
    const std::optional<ProgressedChart>& Progressed() const { return progressed_; }

    QDateEdit* DateEdit() const { return dateEdit_; }
    QTableWidget* Positions() const { return positions_; }
    QTableWidget* Events() const { return events_; }
    WheelWidget* BiWheel() const { return wheel_; }
    QString AnglesText() const;
    QPushButton* PageButton() const { return page_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

signals:
    // "Progressions page": the events listed, as a page of the output window.
    void pageRequested(const tolvaris::ProgressionsPageRequest& request);
    // The same events typeset, printed or exported.
    void reportRequested(const tolvaris::ProgressionsPageRequest& request,
                         tolvaris::ReportAction action);

private:
    void Refresh();
    void GiveTablesTheirWidth();
    void FillPositions();
    void FillEvents(const ForecastRange& range);
    QString LocalText(std::int64_t utSeconds) const;

    TransitSources sources_;
    std::optional<BirthChart> chart_;
    std::optional<ProgressedChart> progressed_;
    std::optional<ForecastRange> range_;
    std::optional<ProgressionSearch> search_;
    QDateEdit* dateEdit_ = nullptr;
    QLabel* zone_ = nullptr;
    QLabel* angles_ = nullptr;
    QLabel* status_ = nullptr;
    WheelWidget* wheel_ = nullptr;
    QTableWidget* positions_ = nullptr;
    QTableWidget* events_ = nullptr;
    QPushButton* page_ = nullptr;
    QSplitter* split_ = nullptr;
    int tablesWidth_ = 0;  // what the tables need to show every column
};

}  // namespace tolvaris
