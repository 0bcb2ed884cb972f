#include "ui/chart_window/progressions_tab.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/chart_window/wheel_widget.h"

#include "core/chart/display_text.h"
#include "core/ephemeris/zodiac.h"
#include "core/forecast/forecast_range.h"
#include "core/requests/captions.h"

namespace tolvaris {
namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& headings) {
    auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    table->setAlternatingRowColors(true);
    return table;
}

// At least `rows` rows high and no higher than all of them: a small screen
// scrolls the table rather than the window running off it. Returns the width
// that shows every column.
int FitTable(QTableWidget* table, int rows) {
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    const int frame = 2 * table->frameWidth();
    int height = table->horizontalHeader()->sizeHint().height() + frame;
    int least = height;
    for (int row = 0; row < table->rowCount(); ++row) {
        height += table->rowHeight(row);
        if (row < rows) {
            least = height;
        }
    }
    table->setMinimumHeight(least);
    table->setMaximumHeight(std::max(least, height));
    return table->horizontalHeader()->length() + frame +
           table->verticalScrollBar()->sizeHint().width();
}

void AddRow(QTableWidget* table, const QStringList& cells) {
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < cells.size(); ++column) {
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

CivilDate ToCivil(QDate date) {
    return {date.year(), date.month(), date.day()};
}

struct Event {
    std::int64_t utSeconds;
    QString text;
};

}  // namespace

ProgressionsTab::ProgressionsTab(QWidget* parent) : QWidget(parent) {
    setObjectName("ProgressionsTab");
    dateEdit_ = new QDateEdit(this);
    dateEdit_->setObjectName("progressedDate");
    dateEdit_->setDisplayFormat("yyyy-MM-dd");
    dateEdit_->setCalendarPopup(true);
    dateEdit_->setDateRange(QDate(1800, 1, 2), QDate(2394, 12, 31));
    auto* dateLabel = new QLabel(tr("&Date:"), this);
    dateLabel->setBuddy(dateEdit_);
    zone_ = new QLabel(this);
    auto* today = new QPushButton(tr("T&oday"), this);
    today->setObjectName("progressedToday");
    today->setToolTip(tr("Back to today's date"));

    page_ = new QPushButton(tr("Progre&ssions page"), this);
    page_->setObjectName("progressionsPage");
    page_->setToolTip(tr("The progressed events listed, with their texts, in the output window"));
    page_->setEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(dateLabel);
    top->addWidget(dateEdit_);
    top->addWidget(zone_);
    top->addWidget(today);
    top->addStretch(1);

    angles_ = new QLabel(this);
    angles_->setObjectName("progressedAngles");
    angles_->setWordWrap(true);
    angles_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    wheel_ = new WheelWidget(this);
    wheel_->setObjectName("progressedWheel");
    wheel_->setToolTip(tr("The chart inside, the progressed bodies of the date on the outer ring"));

    positions_ = MakeTable(this, "progressedPositions",
                           {tr("Body"), tr("Natal"), tr("Progressed"), tr("House"),
                            tr("R", "the column that marks a retrograde body")});
    positions_->setToolTip(tr("The house is the natal house the progressed body stands in"));
    status_ = new QLabel(this);
    status_->setObjectName("progressedStatus");
    status_->setWordWrap(true);
    events_ = MakeTable(this, "progressedEvents", {tr("Date"), tr("Progressed event")});
    events_->horizontalHeader()->setStretchLastSection(true);
    events_->setWordWrap(false);

    auto* listSide = new QWidget(this);
    auto* listLayout = new QVBoxLayout(listSide);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(positions_, 1);
    listLayout->addWidget(status_);
    listLayout->addWidget(events_, 1);
    auto* pageRow = new QHBoxLayout;
    pageRow->addStretch(1);
    pageRow->addWidget(page_);
    AddReportButtons(*pageRow, *page_, tr("The progressed events"), [this](ReportAction action) {
        if (chart_ && range_ && search_) {
            emit reportRequested({*chart_, *range_, ProgressionSettings{}, *search_}, action);
        }
    });
    listLayout->addLayout(pageRow);

    split_ = new QSplitter(Qt::Horizontal, this);
    split_->addWidget(wheel_);
    split_->addWidget(listSide);
    split_->setStretchFactor(0, 1);
    split_->setStretchFactor(1, 1);
    split_->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(angles_);
    layout->addWidget(split_, 1);

    connect(dateEdit_, &QDateEdit::dateChanged, this, &ProgressionsTab::Refresh);
    connect(page_, &QPushButton::clicked, this, [this] {
        if (chart_ && range_ && search_) {
            emit pageRequested({*chart_, *range_, ProgressionSettings{}, *search_});
        }
    });
    connect(today, &QPushButton::clicked, this, [this] {
        if (!chart_) {
            return;
        }
        const std::int64_t now =
            sources_.clock ? sources_.clock() : QDateTime::currentSecsSinceEpoch();
        const std::string zone = DisplayZoneOf(chart_->input);
        ShowDate(QDateTime::fromSecsSinceEpoch(now + DisplayOffsetAt(zone, now), Qt::UTC).date());
    });
}

void ProgressionsTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    GiveTablesTheirWidth();
}

void ProgressionsTab::GiveTablesTheirWidth() {
    // The window opens narrow, beside the main window; whenever it is
    // resized the tables get what shows every column and the wheel the rest.
    const int total = split_->width() - split_->handleWidth();
    const int wheel = std::max(wheel_->minimumSizeHint().width(), total - tablesWidth_);
    if (tablesWidth_ > 0 && total > wheel) {
        split_->setSizes({wheel, total - wheel});
    }
}

void ProgressionsTab::UseSources(TransitSources sources) {
    sources_ = std::move(sources);
}

void ProgressionsTab::ShowChart(const BirthChart& chart) {
    chart_ = chart;
    wheel_->SetChart(chart);
    const std::string zone = DisplayZoneOf(chart.input);
    zone_->setText(Text(zone));
    const std::int64_t now = sources_.clock ? sources_.clock() : QDateTime::currentSecsSinceEpoch();
    ShowDate(QDateTime::fromSecsSinceEpoch(now + DisplayOffsetAt(zone, now), Qt::UTC).date());
}

void ProgressionsTab::ShowDate(QDate date) {
    const QSignalBlocker quiet(dateEdit_);
    dateEdit_->setDate(date);
    Refresh();
}

QDate ProgressionsTab::Date() const {
    return dateEdit_->date();
}

QString ProgressionsTab::AnglesText() const {
    return angles_->text();
}

QString ProgressionsTab::LocalText(std::int64_t utSeconds) const {
    const std::string zone = DisplayZoneOf(chart_->input);
    return QDateTime::fromSecsSinceEpoch(utSeconds + DisplayOffsetAt(zone, utSeconds), Qt::UTC)
        .toString("yyyy-MM-dd HH:mm");
}

void ProgressionsTab::Refresh() {
    progressed_.reset();
    tablesWidth_ = 0;
    range_.reset();
    search_.reset();
    page_->setEnabled(false);
    positions_->setRowCount(0);
    events_->setRowCount(0);
    wheel_->SetOuterRing({});
    angles_->clear();
    if (!chart_ || sources_.ephemeris == nullptr) {
        return;
    }
    const std::string zone = DisplayZoneOf(chart_->input);
    const CivilDate first = ToCivil(Date());
    const Result<ForecastRange> range =
        DayRangeInZone(first, ToCivil(Date().addYears(kEventYears).addDays(-1)), zone);
    if (!range) {
        status_->setText(Text(range.Failure().message));
        return;
    }
    const std::int64_t ut = range->span.fromUt;
    const ProgressedChartResult result =
        ComputeProgressedChart(*sources_.ephemeris, chart_->chart, chart_->input.latitude, ut);
    if (!result.Ok()) {
        angles_->setText(
            tr("The progressed chart could not be computed: %1").arg(Text(result.error)));
        return;
    }
    progressed_ = result.chart;
    FillPositions();
    FillEvents(*range);
}

void ProgressionsTab::FillPositions() {
    const ProgressedChart& progressed = *progressed_;
    std::vector<SkyPosition> outer;
    for (const BodyPlacement& body : progressed.bodies) {
        outer.push_back(
            {body.body, body.longitude, body.speed, body.sign, body.degreeInSign, body.retrograde});
        const auto natal =
            std::find_if(chart_->chart.bodies.begin(), chart_->chart.bodies.end(),
                         [&](const BodyPlacement& b) { return b.body == body.body; });
        AddRow(positions_,
               {Text(body.name),
                natal == chart_->chart.bodies.end() ? QString()
                                                    : Text(FormatZodiacPosition(natal->longitude)),
                Text(FormatZodiacPosition(body.longitude)),
                body.house ? Text(kHouseCaptions.at(static_cast<std::size_t>(*body.house - 1)))
                           : QString(),
                body.retrograde ? tr("R", "the column that marks a retrograde body") : QString()});
    }
    const auto angleRow = [this](const QString& name, const std::optional<AnglePlacement>& natal,
                                 const std::optional<AnglePlacement>& progressed) {
        if (natal && progressed) {
            AddRow(positions_, {name, Text(FormatZodiacPosition(natal->longitude)),
                                Text(FormatZodiacPosition(progressed->longitude)), "", ""});
        }
    };
    angleRow(tr("Midheaven"), chart_->chart.midheaven, progressed.midheaven);
    angleRow(tr("Ascendant"), chart_->chart.ascendant, progressed.ascendant);
    tablesWidth_ = std::max(tablesWidth_, FitTable(positions_, 4));
    wheel_->SetOuterRing(std::move(outer));

    QString angles = tr("Solar arc %1").arg(Text(FormatDegreesMinutes(progressed.solarArc)));
    if (progressed.midheaven && progressed.ascendant) {
        angles += tr(", progressed Midheaven %1, progressed Ascendant %2")
                      .arg(Text(FormatZodiacPosition(progressed.midheaven->longitude)),
                           Text(FormatZodiacPosition(progressed.ascendant->longitude)));
    } else {
        angles += tr("; no progressed angles without the time of birth");
    }
    angles += tr(" (progressed instant %1 UT)")
                  .arg(QDateTime::fromSecsSinceEpoch(progressed.progressedUt, Qt::UTC)
                           .toString("yyyy-MM-dd HH:mm:ss"));
    angles_->setText(angles);
}

void ProgressionsTab::FillEvents(const ForecastRange& range) {
    const std::string zone = range.displayZone;
    ProgressionSearch search =
        FindProgressions(*sources_.ephemeris, chart_->chart, chart_->input.latitude, range.span,
                         ProgressionSettings{});
    if (!search.Ok()) {
        status_->setText(
            tr("The progressed events could not be computed: %1").arg(Text(search.error)));
        return;
    }
    std::vector<Event> events;
    for (const ProgressedAspect& aspect : search.aspects) {
        for (const ExactPass& pass : aspect.exact) {
            events.push_back({pass.utSeconds, tr("Progressed %1 %2 natal %3")
                                                  .arg(Text(NatalPointName(aspect.progressed)),
                                                       Text(AspectKindName(aspect.kind)),
                                                       Text(NatalPointName(aspect.natal)))});
        }
    }
    for (const SignChange& change : search.signChanges) {
        events.push_back({change.utSeconds, tr("Progressed %1 enters %2")
                                                .arg(Text(PointName(change.progressed)),
                                                     Text(SignName(change.sign)))});
    }
    for (const HouseIngress& ingress : search.ingresses) {
        events.push_back(
            {ingress.utSeconds,
             tr("Progressed %1 enters the %2 house")
                 .arg(Text(PointName(ingress.transiting)),
                      Text(kHouseCaptions.at(static_cast<std::size_t>(ingress.house - 1))))});
    }
    for (const Station& station : search.stations) {
        events.push_back(
            {station.utSeconds,
             station.turnsRetrograde
                 ? tr("Progressed %1 turns retrograde").arg(Text(PointName(station.body)))
                 : tr("Progressed %1 turns direct").arg(Text(PointName(station.body)))});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.utSeconds < b.utSeconds; });
    for (const Event& event : events) {
        AddRow(events_, {LocalText(event.utSeconds), event.text});
    }
    tablesWidth_ = std::max(tablesWidth_, FitTable(events_, 3));
    events_->setMaximumHeight(QWIDGETSIZE_MAX);
    GiveTablesTheirWidth();
    range_ = range;
    search_ = std::move(search);
    page_->setEnabled(true);
    status_->setText(tr("%n progressed event(s) in the %1 years from this date, times in %2.", "",
                        static_cast<int>(events.size()))
                         .arg(kEventYears)
                         .arg(Text(zone)));
}

}  // namespace tolvaris
