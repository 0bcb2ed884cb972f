#pragma once

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "core/chart/birth_chart.h"
#include "core/forecast/forecast_range.h"
#include "core/forecast/transits.h"
#include "ui/chart_window/report_output.h"

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTimer;

namespace tolvaris {

class Ephemeris;
class Notices;
class TimelineWidget;

// What the transit tabs compute with: the chart window's ephemeris, the
// folder of the data files, where a failed read is reported, and the clock
// (seconds since 1970, UT), which tests set.
struct TransitSources {
    Ephemeris* ephemeris = nullptr;
    Notices* notices = nullptr;
    std::filesystem::path dataFolder;
    std::function<std::int64_t()> clock;
};

// A forecast page asked for: what the timeline shows.
struct ForecastRequest {
    BirthChart chart;
    ForecastRange range;
    TransitSettings settings;
    TransitSearch search;
};

// The zone a chart's transits are dated in: its own zone, or UT when it was
// given with an offset by hand.
std::string DisplayZoneOf(const BirthData& birth);

// The Transits tab: the range (this month, the next 12 months, or two
// dates), the transiting bodies, the orb, and the timeline of every transit
// in the range; choosing a bar shows its dates and its entry from the
// library.
class TransitsTab : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TransitsTab)

public:
    enum RangeChoice { ThisMonth, NextYear, Dates };

    explicit TransitsTab(QWidget* parent = nullptr);

    // No wider than it must be: the chart window opens at its other tabs'
    // size, beside the main window.
    QSize sizeHint() const override { return minimumSizeHint(); }

    void UseSources(TransitSources sources);
    // Shows the chart's transits over the range chosen.
    void ShowChart(const BirthChart& chart);

    // Searches again at once (changes to the choices search after a pause).
    void Search();
    TransitSettings Settings() const;
    const std::optional<ForecastRange>& Range() const { return range_; }

    QComboBox* RangeBox() const { return rangeBox_; }
    QDateEdit* FirstDate() const { return first_; }
    QDateEdit* LastDate() const { return last_; }
    QCheckBox* BodyBox(Point body) const { return bodyBoxes_.at(body); }
    QDoubleSpinBox* OrbBox() const { return orb_; }
    TimelineWidget* Timeline() const { return timeline_; }
    QPlainTextEdit* TextPane() const { return text_; }
    QString StatusText() const;
    QPushButton* ForecastButton() const { return forecast_; }

signals:
    // The bodies or the orb changed.
    void settingsChanged();
    // "Forecast page": the transits shown, as a page of the output window.
    void forecastRequested(const tolvaris::ForecastRequest& request);
    // "Print report..." and "Export report...": the same forecast, typeset.
    void forecastReportRequested(const tolvaris::ForecastRequest& request,
                                 tolvaris::ReportAction action);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ChooseRange(int choice);
    void SearchSoon();
    void ShowTransit(std::size_t transit);
    QString LocalTimeText(std::int64_t utSeconds) const;
    QString EntryText(const Transit& transit) const;

    TransitSources sources_;
    std::optional<BirthChart> chart_;
    std::optional<ForecastRange> range_;
    TransitSettings searched_;  // the settings of the search shown
    QBoxLayout* choices_ = nullptr;
    QComboBox* rangeBox_ = nullptr;
    QDateEdit* first_ = nullptr;
    QDateEdit* last_ = nullptr;
    std::map<Point, QCheckBox*> bodyBoxes_;
    QDoubleSpinBox* orb_ = nullptr;
    QLabel* status_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    TimelineWidget* timeline_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QTimer* pause_ = nullptr;
    QPushButton* forecast_ = nullptr;
    void RequestForecast();
    // What the forecast page would show; nothing while there is no search.
    std::optional<ForecastRequest> Request();
};

}  // namespace tolvaris
