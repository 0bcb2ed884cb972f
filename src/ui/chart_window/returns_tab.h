#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "core/atlas/place.h"
#include "core/chart/birth_chart.h"
#include "core/forecast/returns.h"
#include "core/reading/return_reading.h"
#include "ui/chart_window/report_output.h"
#include "ui/chart_window/transits_tab.h"

class QCompleter;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStringListModel;
class QTableWidget;

namespace tolvaris {

class LazyAtlas;

// The pages asked for, with everything they read.
struct SolarReturnPageRequest {
    BirthChart natal;
    int year = 0;
    tolvaris::SolarReturn solarReturn;
    BirthChart returnChart;
};

struct LunarReturnsPageRequest {
    BirthChart natal;
    int year = 0;
    ReturnPlace place;
    std::vector<LunarReturnChart> returns;
};

// The Returns tab: a year and a place (the birthplace unless the user picks
// another from the atlas or types coordinates and a zone), the solar return
// of that year and the lunar returns within it in the place's local time;
// each opens as a chart of its own.
class ReturnsTab : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReturnsTab)

public:
    explicit ReturnsTab(QWidget* parent = nullptr);

    QSize sizeHint() const override { return minimumSizeHint(); }

    void UseSources(TransitSources sources);
    // The place list; without it only typed coordinates are taken.
    void UseAtlas(LazyAtlas* atlas) { atlas_ = atlas; }
    void ShowChart(const BirthChart& chart);
    // Back to the birthplace.
    void UseBirthplace();
    void ChoosePlace(const Place& place);
    // Finds the returns of the year at the place in the fields.
    void Search();

    // The solar return shown, and the lunar returns listed.
    const std::optional<tolvaris::SolarReturn>& Solar() const { return solar_; }
    const std::vector<ReturnMoment>& LunarReturns() const { return lunar_; }
    // Casts the solar return chart, or the lunar return of that row, and asks
    // for a window for it; false with the reason shown when it failed.
    bool OpenSolarReturn();
    bool OpenLunarReturn(int row);
    // The "Solar return page" and "Lunar returns page" buttons.
    bool RequestSolarPage();
    bool RequestLunarPage();

    QSpinBox* YearBox() const { return year_; }
    QLineEdit* PlaceEdit() const { return place_; }
    QLineEdit* LatitudeEdit() const { return latitude_; }
    QLineEdit* LongitudeEdit() const { return longitude_; }
    QLineEdit* ZoneEdit() const { return zone_; }
    QTableWidget* LunarTable() const { return lunarTable_; }
    QPushButton* OpenSolarButton() const { return openSolar_; }
    QString SolarText() const;
    QString StatusText() const;

signals:
    void returnChartRequested(const tolvaris::BirthChart& chart);
    void solarReturnPageRequested(const tolvaris::SolarReturnPageRequest& request);
    void lunarReturnsPageRequested(const tolvaris::LunarReturnsPageRequest& request);
    // The same readings typeset, printed or exported.
    void solarReturnReportRequested(const tolvaris::SolarReturnPageRequest& request,
                                    tolvaris::ReportAction action);
    void lunarReturnsReportRequested(const tolvaris::LunarReturnsPageRequest& request,
                                     tolvaris::ReportAction action);

private:
    std::optional<ReturnPlace> ReadPlace();
    // What the two pages read; nothing, the reason shown, when the return
    // charts cannot be cast.
    std::optional<SolarReturnPageRequest> SolarRequest();
    std::optional<LunarReturnsPageRequest> LunarRequest();
    void SearchPlaces(const QString& text);
    std::optional<BirthChart> Cast(const ReturnMoment& moment, const QString& title);
    bool Open(const ReturnMoment& moment, const QString& title);
    QString LocalText(const ReturnMoment& moment) const;
    void Say(const QString& text);

    TransitSources sources_;
    LazyAtlas* atlas_ = nullptr;
    std::optional<BirthChart> chart_;
    std::optional<ReturnPlace> searched_;  // the place of the returns shown
    std::optional<tolvaris::SolarReturn> solar_;
    std::vector<ReturnMoment> lunar_;
    std::vector<Place> matches_;
    QSpinBox* year_ = nullptr;
    QLineEdit* place_ = nullptr;
    QCompleter* placeCompleter_ = nullptr;
    QStringListModel* placeModel_ = nullptr;
    QLineEdit* latitude_ = nullptr;
    QLineEdit* longitude_ = nullptr;
    QLineEdit* zone_ = nullptr;
    QLabel* solarText_ = nullptr;
    QPushButton* openSolar_ = nullptr;
    QTableWidget* lunarTable_ = nullptr;
    QPushButton* openLunar_ = nullptr;
    QPushButton* solarPage_ = nullptr;
    QPushButton* lunarPage_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace tolvaris
