#include "ui/chart_window/chart_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/chart_window/aspect_grid.h"
#include "ui/chart_window/progressions_tab.h"
#include "ui/chart_window/returns_tab.h"
#include "ui/chart_window/transits_now_tab.h"
#include "ui/chart_window/transits_tab.h"
#include "ui/chart_window/wheel_widget.h"
#include "ui/common/screen_fit.h"

#include "render/wheel_glyphs.h"

#include "core/chart/chart_summary.h"
#include "core/chart/display_text.h"
#include "core/ephemeris/zodiac.h"
#include "core/requests/captions.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A table that asks for the room of all its rows but can do with a few: on
// a small screen, or at a large scale, it scrolls and the window still fits.
class FittedTable : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    QSize sizeHint() const override {
        return wanted_.isValid() ? wanted_ : QTableWidget::sizeHint();
    }
    void Want(QSize size) {
        wanted_ = size;
        updateGeometry();
    }

private:
    QSize wanted_;
};

constexpr int kLeastRows = 4;

// The tabs in a scroll area that asks for all their room but, where the
// screen is short, takes a part of it and scrolls the rest: the forecast
// tabs need more height than a small screen at scale 2 has.
class TabsScroller : public QScrollArea {
public:
    explicit TabsScroller(QWidget* parent) : QScrollArea(parent) {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    QSize sizeHint() const override {
        return widget() ? widget()->sizeHint() : QScrollArea::sizeHint();
    }
    QSize minimumSizeHint() const override {
        if (!widget()) {
            return QScrollArea::minimumSizeHint();
        }
        // As wide as the tabs need, a dozen lines high.
        return {widget()->minimumSizeHint().width() + verticalScrollBar()->sizeHint().width(),
                fontMetrics().height() * 12};
    }
};

QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& headings) {
    auto* table = new FittedTable(0, static_cast<int>(headings.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);  // Tab leaves the table, as elsewhere
    table->setAlternatingRowColors(true);
    // The rows span the window however wide it is made; headings stand over
    // the start of their cells, also over the widened last column.
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return table;
}

void SetRow(QTableWidget* table, int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column) {
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

// Sized so that every row and column shows without scrolling, up to `rows`;
// no less than a few rows where the screen is short.
void FitTable(QTableWidget* table, int rows) {
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    const int frame = 2 * table->frameWidth();
    int height = table->horizontalHeader()->sizeHint().height() + frame;
    int least = height;
    for (int row = 0; row < std::min(rows, table->rowCount()); ++row) {
        height += table->rowHeight(row);
        if (row < kLeastRows) {
            least = height;
        }
    }
    const int width = table->horizontalHeader()->length() + frame +
                      table->verticalScrollBar()->sizeHint().width();
    table->setMinimumHeight(least);
    table->setMinimumWidth(width);
    if (auto* fitted = dynamic_cast<FittedTable*>(table)) {
        fitted->Want({width, height});
    }
}

QString HouseText(std::optional<int> house) {
    return house ? Text(kHouseCaptions.at(static_cast<std::size_t>(*house - 1))) : QString();
}

}  // namespace

ChartWindow::ChartWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("ChartWindow");
    setWindowTitle(tr("Chart"));

    summary_ = new QLabel(this);
    summary_->setObjectName("summary");
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Wide enough that the UT line rarely wraps.
    summary_->setMinimumWidth(summary_->fontMetrics().averageCharWidth() * 64);

    positions_ = MakeTable(this, "positions",
                           {tr("Body"), tr("Sign"), tr("Position"), tr("House"),
                            tr("R", "the column that marks a retrograde body")});
    positions_->setToolTip(tr("Choose a body to set the main window's planet, sign and house."));
    cusps_ = MakeTable(this, "cusps", {tr("House"), tr("Sign"), tr("Cusp")});
    aspects_ =
        MakeTable(this, "aspects", {tr("Point"), tr("Aspect"), tr("Point"), tr("Orb"), tr("Kind")});

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tabs");
    // The window opens narrow enough to sit beside the main window; the tab
    // row scrolls until it is widened.
    tabs_->setUsesScrollButtons(true);
    tabs_->addTab(positions_, tr("&Positions"));
    tabs_->addTab(cusps_, tr("&Houses"));
    grid_ = new AspectGrid(this);
    tabs_->addTab(AspectsPage(aspects_, grid_, this), tr("&Aspects"));
    wheel_ = new WheelWidget(this);
    wheel_->setObjectName("wheel");
    // A body clicked on the wheel reaches the main window as a row of the table does.
    connect(wheel_, &WheelWidget::bodyClicked, this, [this](Point body) {
        if (chart_) {
            if (const std::optional<ChartPlacement> placement = PlacementOf(chart_->chart, body)) {
                emit placementChosen(*placement);
            }
        }
    });
    tabs_->addTab(wheel_, tr("&Wheel"));
    transits_ = new TransitsTab(this);
    tabs_->addTab(transits_, tr("&Transits"));
    transitsNow_ = new TransitsNowTab(this);
    tabs_->addTab(transitsNow_, tr("&Now", "the tab of the transits at one moment"));
    tabs_->setTabToolTip(tabs_->indexOf(transitsNow_),
                         tr("The transits of one moment, now unless you choose another, and the "
                            "chart with that moment's sky around it"));
    tabs_->setTabToolTip(tabs_->indexOf(transits_),
                         tr("What the sky brings to the chart over a range of dates"));
    progressions_ = new ProgressionsTab(this);
    tabs_->addTab(progressions_, tr("Pro&gressions"));
    tabs_->setTabToolTip(tabs_->indexOf(progressions_),
                         tr("The progressed chart of a date beside the natal one, and the "
                            "progressed events of the years after it"));
    returns_ = new ReturnsTab(this);
    tabs_->addTab(returns_, tr("&Returns"));
    tabs_->setTabToolTip(tabs_->indexOf(returns_),
                         tr("The solar and lunar returns of a year, each a chart of its own"));
    connect(returns_, &ReturnsTab::returnChartRequested, this, &ChartWindow::returnChartRequested);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        const QWidget* current = tabs_->currentWidget();
        const bool transits = current == transits_ || current == transitsNow_ ||
                              current == progressions_ || current == returns_;
        // The title names the chart; the timeline and the bi-wheel take the
        // facts' room.
        summary_->setVisible(!transits);
        notes_->setVisible(!transits && !notes_->text().isEmpty());
        if (transits) {
            MakeRoomForTransits();
        }
    });
    connect(transits_, &TransitsTab::forecastRequested, this, &ChartWindow::forecastRequested);
    connect(transits_, &TransitsTab::settingsChanged, this,
            [this] { transitsNow_->SetSettings(transits_->Settings()); });

    notes_ = new QLabel(this);
    notes_->setObjectName("notes");
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* reading = new QPushButton(tr("&Full reading"), this);
    reading->setObjectName("fullReading");
    reading->setToolTip(
        tr("The reading of the whole chart, planet by planet, in the output window (F9)"));
    auto* byHouse = new QPushButton(tr("Reading by &house"), this);
    byHouse->setObjectName("fullReadingByHouse");
    byHouse->setToolTip(tr("The same, house by house, then the aspects (Shift+F9)"));
    connect(reading, &QPushButton::clicked, this,
            [this] { emit fullReadingRequested(ReadingOrder::ByPlanet); });
    connect(byHouse, &QPushButton::clicked, this,
            [this] { emit fullReadingRequested(ReadingOrder::ByHouse); });
    auto* readingKey = new QShortcut(QKeySequence(Qt::Key_F9), this);
    connect(readingKey, &QShortcut::activated, reading, &QPushButton::click);
    auto* byHouseKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9), this);
    connect(byHouseKey, &QShortcut::activated, byHouse, &QPushButton::click);
    auto* exportWheel = new QPushButton(tr("&Export wheel..."), this);
    exportWheel->setObjectName("exportWheel");
    exportWheel->setToolTip(tr("The wheel as a PNG image of any size or an SVG drawing"));
    connect(exportWheel, &QPushButton::clicked, this, &ChartWindow::wheelExportRequested);
    compare_ = new QPushButton(tr("&Compare with..."), this);
    compare_->setObjectName("compareWith");
    compare_->setToolTip(
        tr("This chart beside a second one: the aspects between them, each in "
           "the other's houses, the bi-wheel, the composite and Davison charts"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reading);
    buttons->addWidget(byHouse);
    buttons->addStretch(1);
    buttons->addWidget(compare_);
    buttons->addWidget(exportWheel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    auto* scroller = new TabsScroller(this);
    scroller->setWidget(tabs_);
    layout->addWidget(scroller, 1);
    layout->addWidget(notes_);
    layout->addLayout(buttons);

    connect(positions_, &QTableWidget::itemSelectionChanged, this, &ChartWindow::ReportChosenRow);
}

void ChartWindow::MakeRoomForTransits() {
    // Once: the timeline and the bi-wheel want more room than the tables,
    // and a window the user has sized stays as it is.
    if (grownForTransits_ || !isVisible()) {
        return;
    }
    grownForTransits_ = true;
    const QFontMetrics metrics(font());
    const QSize wanted(std::max(width(), metrics.averageCharWidth() * 120),
                       std::max(height(), metrics.height() * 52));
    const QRect frame = frameGeometry();
    const QSize border = frame.size() - size();
    const QRect grown =
        KeepInside(QRect(frame.topLeft(), wanted + border),
                   ScreenAvailableGeometry(QRect(frame.topLeft(), wanted + border)));
    setGeometry(
        QRect(grown.topLeft() + (geometry().topLeft() - frame.topLeft()), grown.size() - border));
}

void ChartWindow::UseForTransits(const TransitSources& sources) {
    transits_->UseSources(sources);
    transitsNow_->UseSources(sources);
    progressions_->UseSources(sources);
    returns_->UseSources(sources);
}

void ChartWindow::ShowChart(const BirthChart& chart) {
    chart_ = chart;
    composite_ = false;
    wheel_->SetChart(chart);
    transits_->ShowChart(chart);
    transitsNow_->ShowChart(chart, transits_->Settings());
    progressions_->ShowChart(chart);
    returns_->ShowChart(chart);
    const BirthData& birth = chart.input;
    setWindowTitle(birth.name.empty() ? tr("Chart") : tr("Chart: %1").arg(Text(birth.name)));

    const ChartSummary facts = SummariseChart(chart);
    std::string summary = facts.name.empty() ? "" : facts.name + "\n";
    for (const ChartFact& fact : facts.facts) {
        summary += fact.label + ": " + fact.value + "\n";
    }
    summary.pop_back();
    summary_->setText(Text(summary));

    FillPositions();
    FillCusps();
    FillAspects();
    grid_->ShowChart(chart.chart);

    QStringList notes;
    for (const std::string& note : facts.notes) {
        notes << "\u2022 " + Text(note);
    }
    notes_->setText(notes.join("\n"));
    notes_->setVisible(!notes.isEmpty());
    tabs_->setCurrentWidget(positions_);
}

void ChartWindow::FillPositions() {
    const Chart& chart = chart_->chart;
    // Filling must not read as the user choosing a row.
    const QSignalBlocker quiet(positions_);
    positions_->clearSelection();
    positions_->setRowCount(0);
    int row = 0;
    for (const BodyPlacement& body : chart.bodies) {
        const ShownLongitude shown = ShowLongitude(body.longitude);
        positions_->insertRow(row);
        SetRow(positions_, row,
               {Text(body.name), Text(SignName(shown.sign)),
                Text(FormatDegreesMinutes(shown.degreeInSign)), HouseText(body.house),
                body.retrograde ? tr("R", "the column that marks a retrograde body") : ""});
        positions_->item(row, 0)->setData(Qt::UserRole, static_cast<int>(body.body));
        positions_->item(row, 0)->setIcon(GlyphIcon(BodyGlyph(body.body), *positions_));
        ++row;
    }
    if (chart.ascendant) {
        const ShownLongitude shown = ShowLongitude(chart.ascendant->longitude);
        positions_->insertRow(row);
        SetRow(positions_, row,
               {Text(PointName(Point::Ascendant)), Text(SignName(shown.sign)),
                Text(FormatDegreesMinutes(shown.degreeInSign)), "", ""});
        positions_->item(row, 0)->setData(Qt::UserRole, static_cast<int>(Point::Ascendant));
        positions_->item(row, 0)->setIcon(GlyphIcon(BodyGlyph(Point::Ascendant), *positions_));
        ++row;
    }
    if (chart.midheaven) {
        // Shown, not chosen: it carries no point for the main window.
        const ShownLongitude shown = ShowLongitude(chart.midheaven->longitude);
        positions_->insertRow(row);
        SetRow(positions_, row,
               {tr("Midheaven"), Text(SignName(shown.sign)),
                Text(FormatDegreesMinutes(shown.degreeInSign)), "", ""});
        positions_->item(row, 0)->setIcon(GlyphIcon("MC", *positions_));
    }
    FitTable(positions_, 11);
}

void ChartWindow::FillCusps() {
    const Chart& chart = chart_->chart;
    cusps_->setRowCount(0);
    if (!chart.cusps) {
        cusps_->setRowCount(1);
        SetRow(cusps_, 0, {tr("none"), "", ""});
        FitTable(cusps_, 12);
        return;
    }
    for (int house = 0; house < 12; ++house) {
        const ShownLongitude cusp = ShowLongitude((*chart.cusps)[static_cast<std::size_t>(house)]);
        cusps_->insertRow(house);
        SetRow(cusps_, house,
               {Text(kHouseCaptions.at(static_cast<std::size_t>(house))), Text(SignName(cusp.sign)),
                Text(FormatDegreesMinutes(cusp.degreeInSign))});
    }
    if (chart.midheaven) {
        const int row = cusps_->rowCount();
        const ShownLongitude shown = ShowLongitude(chart.midheaven->longitude);
        cusps_->insertRow(row);
        SetRow(cusps_, row,
               {tr("Midheaven"), Text(SignName(shown.sign)),
                Text(FormatDegreesMinutes(shown.degreeInSign))});
    }
    FitTable(cusps_, 13);
}

void ChartWindow::FillAspects() {
    const Chart& chart = chart_->chart;
    aspects_->setRowCount(0);
    int row = 0;
    for (const Aspect& aspect : chart.aspects) {
        aspects_->insertRow(row);
        SetRow(aspects_, row,
               {Text(PointName(aspect.first)), Text(AspectKindName(aspect.kind)),
                Text(PointName(aspect.second)), Text(FormatDegreesMinutes(aspect.orb)),
                Text(AspectFamilyName(aspect.family))});
        ++row;
    }
    FitTable(aspects_, 8);
}

void ChartWindow::ReportChosenRow() {
    if (!chart_) {
        return;
    }
    const QList<QTableWidgetItem*> chosen = positions_->selectedItems();
    if (chosen.isEmpty()) {
        return;
    }
    const QTableWidgetItem* first = positions_->item(chosen.front()->row(), 0);
    if (!first->data(Qt::UserRole).isValid()) {
        return;  // the Midheaven: no option of the main window follows it
    }
    const auto point = static_cast<Point>(first->data(Qt::UserRole).toInt());
    if (const std::optional<ChartPlacement> placement = PlacementOf(chart_->chart, point)) {
        emit placementChosen(*placement);
    }
}

QString ChartWindow::SummaryText() const {
    return summary_->text();
}

QString ChartWindow::NotesText() const {
    return notes_->text();
}

}  // namespace tolvaris
