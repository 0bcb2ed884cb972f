#include "ui/chart_window/returns_tab.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringListModel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/chart/coordinate_text.h"
#include "core/chart/display_text.h"
#include "core/chart/lazy_atlas.h"
#include "core/forecast/forecast_range.h"

namespace tolvaris {
namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Utf8(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

// The places offered as the user types, as in the birth-data dialog.
constexpr std::size_t kPlacesListed = 12;

std::string ZoneOf(const ReturnPlace& place) {
    return place.zone.empty() ? std::string("UTC") : place.zone;
}

QString UtText(std::int64_t utSeconds) {
    return QDateTime::fromSecsSinceEpoch(utSeconds, Qt::UTC).toString("yyyy-MM-dd HH:mm:ss");
}

}  // namespace

ReturnsTab::ReturnsTab(QWidget* parent) : QWidget(parent) {
    setObjectName("ReturnsTab");
    year_ = new QSpinBox;
    year_->setObjectName("returnYear");
    year_->setRange(1801, 2398);
    auto* yearLabel = new QLabel(tr("&Year:"));
    yearLabel->setBuddy(year_);

    // Two rows: the window stays within a small screen.
    auto* placeBox = new QGroupBox(tr("The year, and where the returns are cast"), this);
    auto* grid = new QGridLayout(placeBox);
    place_ = new QLineEdit(placeBox);
    place_->setObjectName("returnPlace");
    place_->setPlaceholderText(tr("type a place to look it up"));
    placeModel_ = new QStringListModel(this);
    placeCompleter_ = new QCompleter(placeModel_, this);
    placeCompleter_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    place_->setCompleter(placeCompleter_);
    auto* birthplace = new QPushButton(tr("&Birthplace"), placeBox);
    birthplace->setObjectName("returnBirthplace");
    birthplace->setToolTip(tr("Cast the returns for the place of birth"));
    latitude_ = new QLineEdit(placeBox);
    latitude_->setObjectName("returnLatitude");
    longitude_ = new QLineEdit(placeBox);
    longitude_->setObjectName("returnLongitude");
    zone_ = new QLineEdit(placeBox);
    zone_->setObjectName("returnZone");
    zone_->setPlaceholderText(tr("for example Europe/Lisbon"));
    const auto label = [placeBox](const QString& text, QWidget* buddy) {
        auto* made = new QLabel(text, placeBox);
        made->setBuddy(buddy);
        return made;
    };
    auto* find = new QPushButton(tr("Fin&d returns"), placeBox);
    find->setObjectName("findReturns");
    grid->addWidget(yearLabel, 0, 0);
    grid->addWidget(year_, 0, 1);
    grid->addWidget(label(tr("P&lace:"), place_), 0, 2);
    grid->addWidget(place_, 0, 3, 1, 3);
    grid->addWidget(birthplace, 0, 6);
    grid->addWidget(label(tr("Lat&itude:"), latitude_), 1, 0);
    grid->addWidget(latitude_, 1, 1);
    grid->addWidget(label(tr("Longit&ude:"), longitude_), 1, 2);
    grid->addWidget(longitude_, 1, 3);
    grid->addWidget(label(tr("&Zone:"), zone_), 1, 4);
    grid->addWidget(zone_, 1, 5);
    grid->addWidget(find, 1, 6);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);

    auto* solarBox = new QGroupBox(tr("Solar return"), this);
    auto* solarLayout = new QHBoxLayout(solarBox);
    solarText_ = new QLabel(solarBox);
    solarText_->setObjectName("solarReturnText");
    solarText_->setWordWrap(true);
    solarText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    openSolar_ = new QPushButton(tr("&Open return chart"), solarBox);
    openSolar_->setObjectName("openSolarReturn");
    openSolar_->setToolTip(tr("The chart of the solar return in a chart window of its own"));
    solarPage_ = new QPushButton(tr("&Solar return page"), solarBox);
    solarPage_->setObjectName("solarReturnPage");
    solarPage_->setToolTip(tr("The reading of the solar return in the output window"));
    auto* solarButtons = new QVBoxLayout;
    solarButtons->addWidget(openSolar_);
    solarButtons->addWidget(solarPage_);
    AddReportButtons(*solarButtons, *solarPage_, tr("The solar return's reading"),
                     [this](ReportAction action) {
                         if (std::optional<SolarReturnPageRequest> request = SolarRequest()) {
                             emit solarReturnReportRequested(*request, action);
                         }
                     });
    solarLayout->addWidget(solarText_, 1);
    solarLayout->addLayout(solarButtons);

    auto* lunarBox = new QGroupBox(tr("Lunar returns of the year"), this);
    auto* lunarLayout = new QHBoxLayout(lunarBox);
    lunarTable_ = new QTableWidget(0, 2, lunarBox);
    lunarTable_->setObjectName("lunarReturns");
    lunarTable_->setHorizontalHeaderLabels({tr("Local time"), tr("UT")});
    lunarTable_->verticalHeader()->hide();
    lunarTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lunarTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lunarTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    lunarTable_->setTabKeyNavigation(false);
    lunarTable_->setAlternatingRowColors(true);
    lunarTable_->horizontalHeader()->setStretchLastSection(true);
    lunarTable_->setToolTip(tr("Double-click a return to open its chart"));
    lunarTable_->setMinimumHeight(lunarTable_->fontMetrics().height() * 4);
    openLunar_ = new QPushButton(tr("Open lunar return chart"), lunarBox);
    openLunar_->setObjectName("openLunarReturn");
    openLunar_->setEnabled(false);
    lunarPage_ = new QPushButton(tr("Lunar returns page"), lunarBox);
    lunarPage_->setObjectName("lunarReturnsPage");
    lunarPage_->setToolTip(tr("The lunar returns of the year read in the output window"));
    // Beside the table, as the solar return's buttons beside its text.
    auto* lunarButtons = new QVBoxLayout;
    lunarButtons->addWidget(openLunar_);
    lunarButtons->addWidget(lunarPage_);
    AddReportButtons(*lunarButtons, *lunarPage_, tr("The lunar returns' reading"),
                     [this](ReportAction action) {
                         if (std::optional<LunarReturnsPageRequest> request = LunarRequest()) {
                             emit lunarReturnsReportRequested(*request, action);
                         }
                     });
    lunarButtons->addStretch(1);
    lunarLayout->addWidget(lunarTable_, 1);
    lunarLayout->addLayout(lunarButtons);

    status_ = new QLabel(this);
    status_->setObjectName("returnStatus");
    status_->setWordWrap(true);
    status_->hide();  // until there is something to say

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(placeBox);
    layout->addWidget(solarBox);
    layout->addWidget(lunarBox, 1);
    layout->addWidget(status_);

    connect(find, &QPushButton::clicked, this, &ReturnsTab::Search);
    connect(year_, &QSpinBox::editingFinished, this, &ReturnsTab::Search);
    connect(birthplace, &QPushButton::clicked, this, [this] {
        UseBirthplace();
        Search();
    });
    connect(place_, &QLineEdit::textEdited, this, &ReturnsTab::SearchPlaces);
    connect(placeCompleter_, QOverload<const QModelIndex&>::of(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                const auto row = static_cast<std::size_t>(index.row());
                if (index.isValid() && row < matches_.size()) {
                    ChoosePlace(matches_[row]);
                    Search();
                }
            });
    connect(openSolar_, &QPushButton::clicked, this, &ReturnsTab::OpenSolarReturn);
    connect(solarPage_, &QPushButton::clicked, this, &ReturnsTab::RequestSolarPage);
    connect(lunarPage_, &QPushButton::clicked, this, &ReturnsTab::RequestLunarPage);
    connect(openLunar_, &QPushButton::clicked, this,
            [this] { OpenLunarReturn(lunarTable_->currentRow()); });
    connect(lunarTable_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { OpenLunarReturn(row); });
    connect(lunarTable_, &QTableWidget::itemSelectionChanged, this,
            [this] { openLunar_->setEnabled(!lunarTable_->selectedItems().isEmpty()); });
}

void ReturnsTab::UseSources(TransitSources sources) {
    sources_ = std::move(sources);
}

void ReturnsTab::ShowChart(const BirthChart& chart) {
    chart_ = chart;
    const std::int64_t now = sources_.clock ? sources_.clock() : QDateTime::currentSecsSinceEpoch();
    const std::string zone = DisplayZoneOf(chart.input);
    const QSignalBlocker quiet(year_);
    year_->setValue(
        QDateTime::fromSecsSinceEpoch(now + DisplayOffsetAt(zone, now), Qt::UTC).date().year());
    UseBirthplace();
    Search();
}

void ReturnsTab::UseBirthplace() {
    if (!chart_) {
        return;
    }
    const BirthData& birth = chart_->input;
    place_->setText(Text(birth.placeName));
    latitude_->setText(Text(FormatCoordinate(birth.latitude)));
    longitude_->setText(Text(FormatCoordinate(birth.longitude)));
    zone_->setText(birth.utcOffsetSeconds ? QString() : Text(birth.zone));
}

void ReturnsTab::ChoosePlace(const Place& place) {
    place_->setText(Text(PlaceLabel(place)));
    latitude_->setText(Text(FormatCoordinate(place.latitude)));
    longitude_->setText(Text(FormatCoordinate(place.longitude)));
    zone_->setText(Text(place.zone));
}

void ReturnsTab::SearchPlaces(const QString& text) {
    const Atlas* atlas = atlas_ ? atlas_->Get() : nullptr;
    if (!atlas) {
        Say(tr("The place list could not be read: %1 Type the latitude, longitude and zone.")
                .arg(atlas_ ? Text(atlas_->Error()) : QString()));
        return;
    }
    matches_ = atlas->Search(text.toStdString(), kPlacesListed);
    QStringList labels;
    for (const Place& place : matches_) {
        labels << Text(PlaceLabel(place));
    }
    placeModel_->setStringList(labels);
    if (!labels.isEmpty()) {
        placeCompleter_->complete();
    }
}

std::optional<ReturnPlace> ReturnsTab::ReadPlace() {
    const Result<double> latitude = ReadCoordinate(Utf8(latitude_), CoordinateAxis::Latitude);
    const Result<double> longitude = ReadCoordinate(Utf8(longitude_), CoordinateAxis::Longitude);
    if (!latitude || !longitude) {
        const Error& error = !latitude ? latitude.Failure() : longitude.Failure();
        Say(tr("The place is not clear: %1.").arg(Text(error.message)));
        return std::nullopt;
    }
    ReturnPlace place{Utf8(place_), *latitude, *longitude, Utf8(zone_)};
    // A chart given with an offset by hand has no zone: its returns are in
    // UT, as its transits are. Anywhere else needs one.
    if (place.zone.empty() && !chart_->input.utcOffsetSeconds) {
        Say(tr("Type the place's time zone, for example Europe/Lisbon."));
        return std::nullopt;
    }
    return place;
}

QString ReturnsTab::LocalText(const ReturnMoment& moment) const {
    const std::string zone = ZoneOf(*searched_);
    return UtText(moment.utSeconds + DisplayOffsetAt(zone, moment.utSeconds)) + ' ' + Text(zone);
}

void ReturnsTab::Search() {
    solar_.reset();
    lunar_.clear();
    searched_.reset();
    lunarTable_->setRowCount(0);
    solarText_->clear();
    openSolar_->setEnabled(false);
    solarPage_->setEnabled(false);
    lunarPage_->setEnabled(false);
    Say(QString());
    if (!chart_ || sources_.ephemeris == nullptr) {
        return;
    }
    searched_ = ReadPlace();
    if (!searched_) {
        return;
    }
    const std::string zone = ZoneOf(*searched_);
    const int year = year_->value();
    const Result<tolvaris::SolarReturn> solar =
        SolarReturnInYear(*sources_.ephemeris, chart_->chart, year, zone);
    if (solar) {
        solar_ = *solar;
        QString text = tr("The Sun returns to its natal place on %1 (%2 UT).")
                           .arg(LocalText(solar->moment), UtText(solar->moment.utSeconds));
        if (!solar->note.empty()) {
            text += ' ' + Text(solar->note);
        }
        solarText_->setText(text);
        openSolar_->setEnabled(true);
        solarPage_->setEnabled(true);
    } else {
        solarText_->setText(Text(solar.Failure().message));
    }
    const Result<std::vector<ReturnMoment>> lunar =
        LunarReturnsInYear(*sources_.ephemeris, chart_->chart, year, zone);
    if (!lunar) {
        Say(Text(lunar.Failure().message));
        return;
    }
    lunar_ = *lunar;
    for (const ReturnMoment& moment : lunar_) {
        const int row = lunarTable_->rowCount();
        lunarTable_->insertRow(row);
        lunarTable_->setItem(row, 0,
                             new QTableWidgetItem(UtText(moment.utSeconds +
                                                         DisplayOffsetAt(zone, moment.utSeconds))));
        lunarTable_->setItem(row, 1, new QTableWidgetItem(UtText(moment.utSeconds)));
    }
    lunarTable_->setHorizontalHeaderLabels({tr("Local time in %1").arg(Text(zone)), tr("UT")});
    lunarTable_->resizeColumnsToContents();
    lunarTable_->resizeRowsToContents();
    lunarPage_->setEnabled(!lunar_.empty());
    if (const std::string note = ReturnTimeNote(chart_->chart, Point::Sun); !note.empty()) {
        Say(Text(note));
    }
}

std::optional<BirthChart> ReturnsTab::Cast(const ReturnMoment& moment, const QString& title) {
    if (!chart_ || !searched_ || sources_.ephemeris == nullptr) {
        return std::nullopt;
    }
    BirthChartResult result =
        ReturnBirthChart(*sources_.ephemeris, *chart_, moment, *searched_, title.toStdString());
    if (!result.Ok()) {
        Say(tr("The return chart could not be cast: %1").arg(Text(result.error.message)));
        return std::nullopt;
    }
    return std::move(*result.value);
}

bool ReturnsTab::Open(const ReturnMoment& moment, const QString& title) {
    std::optional<BirthChart> cast = Cast(moment, title);
    if (!cast) {
        return false;
    }
    emit returnChartRequested(*cast);
    return true;
}

bool ReturnsTab::OpenSolarReturn() {
    if (!solar_) {
        return false;
    }
    return Open(solar_->moment, tr("solar return %1").arg(year_->value()));
}

bool ReturnsTab::OpenLunarReturn(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= lunar_.size()) {
        return false;
    }
    const ReturnMoment& moment = lunar_[static_cast<std::size_t>(row)];
    return Open(moment, tr("lunar return %1").arg(LocalText(moment).left(10)));
}

bool ReturnsTab::RequestSolarPage() {
    std::optional<SolarReturnPageRequest> request = SolarRequest();
    if (request) {
        emit solarReturnPageRequested(*request);
    }
    return request.has_value();
}

bool ReturnsTab::RequestLunarPage() {
    std::optional<LunarReturnsPageRequest> request = LunarRequest();
    if (request) {
        emit lunarReturnsPageRequested(*request);
    }
    return request.has_value();
}

std::optional<SolarReturnPageRequest> ReturnsTab::SolarRequest() {
    if (!solar_) {
        return std::nullopt;
    }
    std::optional<BirthChart> cast =
        Cast(solar_->moment, tr("solar return %1").arg(year_->value()));
    if (!cast) {
        return std::nullopt;
    }
    return SolarReturnPageRequest{*chart_, year_->value(), *solar_, std::move(*cast)};
}

std::optional<LunarReturnsPageRequest> ReturnsTab::LunarRequest() {
    if (lunar_.empty() || !chart_ || !searched_ || sources_.ephemeris == nullptr) {
        return std::nullopt;
    }
    Result<std::vector<LunarReturnChart>> charts = LunarReturnCharts(
        *sources_.ephemeris, *chart_, year_->value(), *searched_, ZoneOf(*searched_));
    if (!charts) {
        Say(tr("The return charts could not be cast: %1").arg(Text(charts.Failure().message)));
        return std::nullopt;
    }
    return LunarReturnsPageRequest{*chart_, year_->value(), *searched_, std::move(charts.Value())};
}

void ReturnsTab::Say(const QString& text) {
    status_->setText(text);
    status_->setVisible(!text.isEmpty());
}

QString ReturnsTab::SolarText() const {
    return solarText_->text();
}

QString ReturnsTab::StatusText() const {
    return status_->text();
}

}  // namespace tolvaris
