#include "ui/chart_window/transits_tab.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/chart_window/timeline_widget.h"

#include "core/common/cp1252.h"
#include "core/engine/interpretation_reader.h"
#include "core/engine/page_buffers.h"
#include "core/forecast/transit_entries.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

constexpr std::int64_t kDay = 86400;
// Searches over more years than this show the busy pointer.
constexpr std::int64_t kQuickSpan = kDay * 3 * 366;

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::int64_t FloorDiv(std::int64_t value, std::int64_t by) {
    const std::int64_t quotient = value / by;
    return quotient * by > value ? quotient - 1 : quotient;
}

QDate ToQDate(const CivilDate& date) {
    return {date.year, date.month, date.day};
}

CivilDate ToCivil(const QDate& date) {
    return {date.year(), date.month(), date.day()};
}

// The override cursor for as long as it lives.
class BusyCursor {
public:
    explicit BusyCursor(bool busy) : busy_(busy) {
        if (busy_) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    ~BusyCursor() {
        if (busy_) {
            QApplication::restoreOverrideCursor();
        }
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool busy_;
};

}  // namespace

std::string DisplayZoneOf(const BirthData& birth) {
    return birth.utcOffsetSeconds || birth.zone.empty() ? std::string("UTC") : birth.zone;
}

TransitsTab::TransitsTab(QWidget* parent) : QWidget(parent) {
    setObjectName("TransitsTab");

    rangeBox_ = new QComboBox(this);
    rangeBox_->setObjectName("transitRange");
    rangeBox_->addItem(tr("This month"));
    rangeBox_->addItem(tr("The next 12 months"));
    rangeBox_->addItem(tr("From a date to a date"));
    rangeBox_->setCurrentIndex(NextYear);
    first_ = new QDateEdit(this);
    first_->setObjectName("transitFirstDate");
    last_ = new QDateEdit(this);
    last_->setObjectName("transitLastDate");
    // The years the installed ephemeris files cover.
    for (QDateEdit* edit : {first_, last_}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat("yyyy-MM-dd");
        edit->setDateRange(QDate(1800, 1, 1), QDate(2399, 12, 31));
        edit->setEnabled(false);
    }
    auto* rangeLabel = new QLabel(tr("&Range:"), this);
    rangeLabel->setBuddy(rangeBox_);
    auto* toLabel = new QLabel(tr("to", "from one date to another"), this);

    orb_ = new QDoubleSpinBox(this);
    orb_->setObjectName("transitOrb");
    orb_->setRange(kSmallestTransitOrb, kLargestTransitOrb);
    orb_->setSingleStep(0.1);
    orb_->setDecimals(1);
    orb_->setValue(kDefaultTransitOrb);
    orb_->setSuffix(QStringLiteral("\u00B0"));
    orb_->setToolTip(tr("How far from exact a transit still counts, for every aspect"));
    auto* orbLabel = new QLabel(tr("&Orb:"), this);
    orbLabel->setBuddy(orb_);

    // Narrow rows, so that the tab does not widen the chart window.
    auto* dates = new QGridLayout;
    dates->addWidget(rangeLabel, 0, 0);
    dates->addWidget(rangeBox_, 0, 1, 1, 3);
    dates->addWidget(first_, 1, 1);
    dates->addWidget(toLabel, 1, 2);
    dates->addWidget(last_, 1, 3);
    dates->setColumnStretch(4, 1);

    auto* bodies = new QGridLayout;
    const std::vector<Point> defaults = DefaultTransitBodies();
    int column = 0;
    for (const Point body : AllTransitBodies()) {
        auto* box = new QCheckBox(Text(PointName(body)), this);
        box->setObjectName(QStringLiteral("transitBody") + Text(PointName(body)));
        box->setChecked(std::find(defaults.begin(), defaults.end(), body) != defaults.end());
        if (body == Point::Moon) {
            box->setToolTip(tr("The Moon makes dozens of contacts a month"));
        }
        bodies->addWidget(box, column / 4, column % 4);
        bodyBoxes_[body] = box;
        ++column;
        connect(box, &QCheckBox::toggled, this, [this] {
            emit settingsChanged();
            SearchSoon();
        });
    }
    bodies->setColumnStretch(4, 1);
    auto* orbRow = new QHBoxLayout;
    orbRow->addWidget(orbLabel);
    orbRow->addWidget(orb_);
    orbRow->addStretch(1);
    bodies->addLayout(orbRow, 2, 2, 1, 2);

    status_ = new QLabel(this);
    status_->setObjectName("transitStatus");
    status_->setWordWrap(true);
    forecast_ = new QPushButton(tr("Forecast pa&ge"), this);
    forecast_->setObjectName("forecastPage");
    forecast_->setToolTip(
        tr("These transits with their dates and texts as a page of the output window"));
    forecast_->setEnabled(false);
    connect(forecast_, &QPushButton::clicked, this, &TransitsTab::RequestForecast);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(status_, 1);
    statusRow->addWidget(forecast_, 0, Qt::AlignTop);
    AddReportButtons(*statusRow, *forecast_, tr("These transits"), [this](ReportAction action) {
        if (std::optional<ForecastRequest> request = Request()) {
            emit forecastReportRequested(*request, action);
        }
    });

    timeline_ = new TimelineWidget;
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("timelineScroll");
    scroll_->setWidget(timeline_);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setMinimumHeight(fontMetrics().height() * 5);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName("transitText");
    text_->setReadOnly(true);
    text_->setPlaceholderText(tr("Choose a bar of the timeline to read about its transit."));

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(scroll_);
    split->addWidget(text_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    text_->setMinimumHeight(fontMetrics().height() * 3);
    split->setSizes({3000, 1000});

    auto* layout = new QVBoxLayout(this);
    // The dates beside the bodies when the tab is wide enough, else above.
    choices_ = new QBoxLayout(QBoxLayout::TopToBottom);
    choices_->addLayout(dates);
    choices_->addLayout(bodies);
    choices_->addStretch(1);
    layout->addLayout(choices_);
    layout->addLayout(statusRow);
    layout->addWidget(split, 1);

    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(300);
    connect(pause_, &QTimer::timeout, this, &TransitsTab::Search);
    connect(rangeBox_, &QComboBox::currentIndexChanged, this, &TransitsTab::ChooseRange);
    connect(first_, &QDateEdit::dateChanged, this, &TransitsTab::SearchSoon);
    connect(last_, &QDateEdit::dateChanged, this, &TransitsTab::SearchSoon);
    connect(orb_, &QDoubleSpinBox::valueChanged, this, [this] {
        emit settingsChanged();
        SearchSoon();
    });
    connect(timeline_, &TimelineWidget::transitChosen, this, &TransitsTab::ShowTransit);
}

void TransitsTab::UseSources(TransitSources sources) {
    sources_ = std::move(sources);
    if (!sources_.clock) {
        sources_.clock = [] { return QDateTime::currentSecsSinceEpoch(); };
    }
}

void TransitsTab::ShowChart(const BirthChart& chart) {
    chart_ = chart;
    Search();
}

TransitSettings TransitsTab::Settings() const {
    TransitSettings settings;
    for (const auto& [body, box] : bodyBoxes_) {
        if (box->isChecked()) {
            settings.bodies.push_back(body);
        }
    }
    settings.orb = orb_->value();
    return settings;
}

void TransitsTab::ChooseRange(int choice) {
    const bool dates = choice == Dates;
    first_->setEnabled(dates);
    last_->setEnabled(dates);
    Search();
}

void TransitsTab::SearchSoon() {
    pause_->start();
}

void TransitsTab::Search() {
    pause_->stop();
    if (!chart_ || sources_.ephemeris == nullptr) {
        return;
    }
    const std::string zone = DisplayZoneOf(chart_->input);
    const std::int64_t now = sources_.clock();
    const std::int64_t localNow = now + DisplayOffsetAt(zone, now);
    const QDate today = ToQDate(DateFromDaysSinceEpoch(FloorDiv(localNow, kDay)));
    QDate first = today;
    QDate last = today;
    switch (rangeBox_->currentIndex()) {
        case ThisMonth:
            first = QDate(today.year(), today.month(), 1);
            last = first.addMonths(1).addDays(-1);
            break;
        case NextYear:
            last = today.addYears(1).addDays(-1);
            break;
        default:
            first = first_->date();
            last = last_->date();
            break;
    }
    text_->clear();
    const Result<ForecastRange> range = DayRangeInZone(ToCivil(first), ToCivil(last), zone);
    const TransitSettings settings = Settings();
    forecast_->setEnabled(false);
    if (!range || settings.bodies.empty()) {
        range_.reset();
        timeline_->SetSearch({}, {}, {}, std::nullopt);
        status_->setText(range
                             ? tr("Choose at least one transiting body.")
                             : tr("Nothing was searched: %1.").arg(Text(range.Failure().message)));
        return;
    }
    range_ = range.Value();
    if (rangeBox_->currentIndex() != Dates) {
        // The dates chosen for the user, shown in the edits they may change.
        const QSignalBlocker quietFirst(first_);
        const QSignalBlocker quietLast(last_);
        first_->setDate(first);
        last_->setDate(last);
    }
    TransitSearch search;
    {
        const BusyCursor busy(range_->span.toUt - range_->span.fromUt > kQuickSpan);
        search = FindTransits(*sources_.ephemeris, chart_->chart, range_->span, settings);
    }
    QStringList status;
    if (!search.Ok()) {
        status << tr("The transits could not be computed: %1").arg(Text(search.error));
    } else {
        status << tr("%n transit(s) from %1 to %2, dated in %3.", "",
                     static_cast<int>(search.transits.size()))
                      .arg(Text(FormatDateInWords(range_->first)),
                           Text(FormatDateInWords(range_->last)), Text(zone));
    }
    for (const std::string& note : search.notes) {
        status << Text(note);
    }
    status_->setText(status.join(' '));
    searched_ = settings;
    forecast_->setEnabled(search.Ok());
    timeline_->SetSearch(
        std::move(search), range_->span,
        [zone](std::int64_t ut) { return DisplayOffsetAt(zone, ut); }, now);
}

void TransitsTab::RequestForecast() {
    if (std::optional<ForecastRequest> request = Request()) {
        emit forecastRequested(*request);
    }
}

std::optional<ForecastRequest> TransitsTab::Request() {
    if (pause_->isActive()) {
        // A change not yet searched: the page shows what the choices say.
        Search();
    }
    if (!chart_ || !range_ || !forecast_->isEnabled()) {
        return std::nullopt;
    }
    return ForecastRequest{*chart_, *range_, searched_, timeline_->Search()};
}

void TransitsTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    int besideWidth = 0;
    for (int i = 0; i < 2; ++i) {
        besideWidth += choices_->itemAt(i)->minimumSize().width() + choices_->spacing();
    }
    const auto direction = width() - 2 * layout()->contentsMargins().left() >= besideWidth
                               ? QBoxLayout::LeftToRight
                               : QBoxLayout::TopToBottom;
    if (choices_->direction() != direction) {
        choices_->setDirection(direction);
    }
}

QString TransitsTab::StatusText() const {
    return status_->text();
}

QString TransitsTab::LocalTimeText(std::int64_t utSeconds) const {
    const std::string zone = DisplayZoneOf(chart_->input);
    const std::int64_t local = utSeconds + DisplayOffsetAt(zone, utSeconds);
    const std::int64_t days = FloorDiv(local, kDay);
    const std::int64_t seconds = local - days * kDay;
    const CivilTime time{static_cast<int>(seconds / 3600), static_cast<int>(seconds % 3600 / 60),
                         0};
    return Text(FormatDateInWords(DateFromDaysSinceEpoch(days))) + ", " +
           Text(FormatClockTime(time));
}

QString TransitsTab::EntryText(const Transit& transit) const {
    if (sources_.notices == nullptr) {
        return {};
    }
    if (!HasTransitAspectEntries(transit.transiting)) {
        return tr("%1 moves too fast for its transits to have entries of their own.")
            .arg(Text(PointName(transit.transiting)));
    }
    const EntryLocation entry =
        TransitAspectEntry(transit.transiting, FamilyOf(transit.kind), transit.natal);
    PageBuffers buffers(*sources_.notices);
    switch (CopyInterpretation(sources_.dataFolder / entry.fileName, entry.key, buffers)) {
        case EntryCopy::Copied:
            break;
        case EntryCopy::KeyNotFound:
            return tr("The library has no entry \"%1\" in %2.")
                .arg(Text(Cp1252ToUtf8(entry.key)), Text(entry.fileName));
        case EntryCopy::FileUnreadable: {
            std::error_code error;
            return std::filesystem::exists(sources_.dataFolder / entry.fileName, error)
                       ? tr("The library's file %1 could not be read.").arg(Text(entry.fileName))
                       : tr("The library has no file %1 (for \"%2\").")
                             .arg(Text(entry.fileName), Text(Cp1252ToUtf8(entry.key)));
        }
    }
    QStringList lines;
    for (const Line& line : buffers.PageLines()) {
        lines << Text(Cp1252ToUtf8(line.View()));
    }
    return lines.join('\n');
}

void TransitsTab::ShowTransit(std::size_t index) {
    const TransitSearch& search = timeline_->Search();
    if (!chart_ || index >= search.transits.size()) {
        return;
    }
    const Transit& transit = search.transits[index];
    QStringList text;
    text << tr("%1 %2 natal %3 (%4)")
                .arg(Text(PointName(transit.transiting)), Text(AspectKindName(transit.kind)),
                     Text(NatalPointName(transit.natal)),
                     Text(AspectFamilyName(FamilyOf(transit.kind))));
    const QString from = transit.enter ? LocalTimeText(*transit.enter)
                                       : tr("before %1").arg(LocalTimeText(range_->span.fromUt));
    const QString to = transit.leave ? LocalTimeText(*transit.leave)
                                     : tr("after %1").arg(LocalTimeText(range_->span.toUt));
    text << tr("Within the orb from %1 to %2.").arg(from, to);
    if (transit.exact.empty()) {
        text << tr("Not exact within the range.");
    }
    for (const ExactPass& pass : transit.exact) {
        text << (pass.retrograde
                     ? tr("Exact on %1, %2 retrograde.")
                           .arg(LocalTimeText(pass.utSeconds), Text(PointName(transit.transiting)))
                     : tr("Exact on %1.").arg(LocalTimeText(pass.utSeconds)));
    }
    text << QString() << EntryText(transit);
    text_->setPlainText(text.join('\n'));
}

}  // namespace tolvaris
