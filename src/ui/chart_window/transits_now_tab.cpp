#include "ui/chart_window/transits_now_tab.h"

#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/chart_window/wheel_widget.h"

#include "core/chart/display_text.h"
#include "core/ephemeris/ut_instant.h"
#include "core/sky/sky_positions.h"

namespace tolvaris {
namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

TransitsNowTab::TransitsNowTab(QWidget* parent) : QWidget(parent) {
    setObjectName("TransitsNowTab");
    // The display zone's wall clock, held in a UTC date-time so that Qt
    // applies no zone of its own.
    momentEdit_ = new QDateTimeEdit(this);
    momentEdit_->setObjectName("transitMoment");
    momentEdit_->setTimeSpec(Qt::UTC);
    momentEdit_->setDisplayFormat("yyyy-MM-dd HH:mm");
    momentEdit_->setCalendarPopup(true);
    momentEdit_->setDateTimeRange(QDateTime(QDate(1800, 1, 2), QTime(0, 0), Qt::UTC),
                                  QDateTime(QDate(2399, 12, 30), QTime(23, 59), Qt::UTC));
    auto* momentLabel = new QLabel(tr("&Moment:"), this);
    momentLabel->setBuddy(momentEdit_);
    zone_ = new QLabel(this);
    auto* now = new QPushButton(tr("N&ow"), this);
    now->setObjectName("transitNow");
    now->setToolTip(tr("Back to the present moment"));

    auto* top = new QHBoxLayout;
    top->addWidget(momentLabel);
    top->addWidget(momentEdit_);
    top->addWidget(zone_);
    top->addWidget(now);
    top->addStretch(1);

    wheel_ = new WheelWidget(this);
    wheel_->setObjectName("biWheel");
    wheel_->setToolTip(
        tr("The chart inside, the transiting bodies of the moment on the outer ring"));

    status_ = new QLabel(this);
    status_->setObjectName("inEffectStatus");
    status_->setWordWrap(true);
    inEffect_ = new QTableWidget(0, 4, this);
    inEffect_->setObjectName("inEffect");
    inEffect_->setHorizontalHeaderLabels({tr("Transit"), tr("Orb"), tr("Motion"),
                                          tr("R", "the column that marks a retrograde body")});
    inEffect_->verticalHeader()->hide();
    inEffect_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    inEffect_->setSelectionBehavior(QAbstractItemView::SelectRows);
    inEffect_->setSelectionMode(QAbstractItemView::SingleSelection);
    inEffect_->setTabKeyNavigation(false);
    inEffect_->setAlternatingRowColors(true);

    auto* listSide = new QWidget(this);
    auto* listLayout = new QVBoxLayout(listSide);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(status_);
    listLayout->addWidget(inEffect_, 1);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(wheel_);
    split->addWidget(listSide);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);

    connect(momentEdit_, &QDateTimeEdit::dateTimeChanged, this, &TransitsNowTab::TakeEditedMoment);
    connect(now, &QPushButton::clicked, this, &TransitsNowTab::ShowNow);
}

void TransitsNowTab::UseSources(TransitSources sources) {
    sources_ = std::move(sources);
    if (!sources_.clock) {
        sources_.clock = [] { return QDateTime::currentSecsSinceEpoch(); };
    }
    moment_ = sources_.clock();
}

void TransitsNowTab::ShowChart(const BirthChart& chart, const TransitSettings& settings) {
    chart_ = chart;
    settings_ = settings;
    wheel_->SetChart(chart);
    zone_->setText(Text(DisplayZoneOf(chart.input)));
    ShowNow();
}

void TransitsNowTab::SetSettings(const TransitSettings& settings) {
    settings_ = settings;
    Refresh();
}

void TransitsNowTab::ShowNow() {
    ShowMoment(sources_.clock ? sources_.clock() : QDateTime::currentSecsSinceEpoch());
}

void TransitsNowTab::ShowMoment(std::int64_t utSeconds) {
    moment_ = utSeconds;
    if (chart_) {
        const std::string zone = DisplayZoneOf(chart_->input);
        const QSignalBlocker quiet(momentEdit_);
        momentEdit_->setDateTime(
            QDateTime::fromSecsSinceEpoch(utSeconds + DisplayOffsetAt(zone, utSeconds), Qt::UTC));
    }
    Refresh();
}

void TransitsNowTab::TakeEditedMoment() {
    if (!chart_) {
        return;
    }
    // The wall clock back to UT, the offset taken at the instant it names.
    const std::string zone = DisplayZoneOf(chart_->input);
    const std::int64_t local = momentEdit_->dateTime().toSecsSinceEpoch();
    std::int64_t ut = local - DisplayOffsetAt(zone, local);
    ut = local - DisplayOffsetAt(zone, ut);
    moment_ = ut;
    Refresh();
}

void TransitsNowTab::Refresh() {
    inEffect_->setRowCount(0);
    if (!chart_ || sources_.ephemeris == nullptr) {
        return;
    }
    const SkyPositions sky =
        PositionsAt(*sources_.ephemeris, JulianDayUtFromUnixSeconds(moment_), settings_.bodies);
    wheel_->SetOuterRing(sky.positions);
    const TransitsNow now =
        TransitsInEffect(*sources_.ephemeris, chart_->chart, moment_, settings_);
    if (!now.error.empty() || !sky.Ok()) {
        status_->setText(tr("The sky of that moment could not be computed: %1")
                             .arg(Text(now.error.empty() ? sky.error : now.error)));
        return;
    }
    status_->setText(tr("%n transit(s) within %1 of exact, the closest first.", "",
                        static_cast<int>(now.transits.size()))
                         .arg(Text(FormatDegreesMinutes(settings_.orb))));
    int row = 0;
    for (const TransitInEffect& transit : now.transits) {
        inEffect_->insertRow(row);
        const QStringList cells = {
            Text(PointName(transit.transiting)) + ' ' + Text(AspectKindName(transit.kind)) + ' ' +
                Text(NatalPointName(transit.natal)),
            Text(FormatDegreesMinutes(transit.distance)),
            transit.applying ? tr("applying") : tr("separating"),
            transit.retrograde ? tr("R", "the column that marks a retrograde body") : QString()};
        for (int column = 0; column < cells.size(); ++column) {
            inEffect_->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
        ++row;
    }
    inEffect_->resizeColumnsToContents();
}

}  // namespace tolvaris
