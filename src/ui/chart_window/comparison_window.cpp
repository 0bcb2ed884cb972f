#include "ui/chart_window/comparison_window.h"

#include <algorithm>

#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/chart/display_text.h"
#include "core/requests/captions.h"
#include "render/wheel_glyphs.h"
#include "render/wheel_painter.h"
#include "ui/common/screen_fit.h"

namespace tolvaris {
namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString NameOf(const BirthChart& chart, const QString& standIn) {
    return chart.input.name.empty() ? standIn : Text(chart.input.name);
}

QString PointGlyph(NatalPoint point) {
    if (const std::optional<Point> body = BodyOf(point)) {
        return BodyGlyph(*body);
    }
    return point == NatalPoint::Ascendant ? QStringLiteral("AC") : QStringLiteral("MC");
}

QTableWidget* MakeTable(QWidget* parent, const char* name) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    return table;
}

// Each body with the house of the other chart it falls in, or one row saying
// why there are none.
void FillOverlays(QTableWidget* table, const std::optional<std::vector<HouseOverlay>>& overlays,
                  const QString& noHouses) {
    table->setColumnCount(2);
    table->setHorizontalHeaderLabels({ComparisonWindow::tr("Body"), ComparisonWindow::tr("House")});
    table->verticalHeader()->hide();
    if (!overlays) {
        table->setRowCount(1);
        table->setItem(0, 0, new QTableWidgetItem(noHouses));
        table->setSpan(0, 0, 1, 2);
    } else {
        table->setRowCount(static_cast<int>(overlays->size()));
        int row = 0;
        for (const HouseOverlay& overlay : *overlays) {
            table->setItem(row, 0, new QTableWidgetItem(Text(PointName(overlay.body))));
            table->setItem(row, 1,
                           new QTableWidgetItem(Text(
                               kHouseCaptions.at(static_cast<std::size_t>(overlay.house - 1)))));
            ++row;
        }
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
}

}  // namespace

std::vector<NatalPoint> ComparedPoints(const Chart& chart) {
    std::vector<NatalPoint> points;
    for (const BodyPlacement& body : chart.bodies) {
        points.push_back(static_cast<NatalPoint>(body.body));
    }
    if (chart.ascendant) {
        points.push_back(NatalPoint::Ascendant);
    }
    if (chart.midheaven) {
        points.push_back(NatalPoint::Midheaven);
    }
    return points;
}

QString AspectGlyph(AspectKind kind) {
    switch (kind) {
        case AspectKind::Conjunction:
            return QStringLiteral("\u260C");
        case AspectKind::Sextile:
            return QStringLiteral("\u26B9");
        case AspectKind::Square:
            return QStringLiteral("\u25A1");
        case AspectKind::Trine:
            return QStringLiteral("\u25B3");
        case AspectKind::Opposition:
            return QStringLiteral("\u260D");
    }
    return {};
}

BiWheelWidget::BiWheelWidget(const BirthChart& first, const BirthChart& second,
                             const Synastry& synastry, QWidget* parent)
    : QWidget(parent), first_(first), second_(second), synastry_(synastry) {
    setObjectName("biWheel");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BiWheelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Drawn on white whatever the theme, like the natal wheel.
    painter.fillRect(rect(), Qt::white);
    lastLayout_ = PaintBiWheel(painter, QRectF(rect()), first_.chart, second_.chart, synastry_);
}

ComparisonWindow::ComparisonWindow(BirthChart first, BirthChart second, QWidget* parent)
    : QWidget(parent, Qt::Window),
      first_(std::move(first)),
      second_(std::move(second)),
      synastry_(ComputeSynastry(first_.chart, second_.chart, first_.input.orbs)) {
    setObjectName("ComparisonWindow");
    const QString firstName = NameOf(first_, tr("First chart"));
    const QString secondName = NameOf(second_, tr("Second chart"));
    setWindowTitle(tr("Comparison: %1 and %2").arg(firstName, secondName));

    auto* legend = new QLabel(
        tr("%1 inside the wheel and across the grid; %2 on the outer ring and down the grid. "
           "Orbs are %1's.")
            .arg(firstName, secondName),
        this);
    legend->setObjectName("legend");
    legend->setWordWrap(true);

    grid_ = MakeTable(this, "grid");
    FillGrid();

    auto* houses = new QWidget(this);
    firstInSecond_ = MakeTable(houses, "firstInSecond");
    secondInFirst_ = MakeTable(houses, "secondInFirst");
    FillOverlays(firstInSecond_, synastry_.firstInSecondHouses,
                 tr("none: %1's birth time is unknown").arg(secondName));
    FillOverlays(secondInFirst_, synastry_.secondInFirstHouses,
                 tr("none: %1's birth time is unknown").arg(firstName));
    auto* housesLayout = new QGridLayout(houses);
    auto* firstHeading = new QLabel(tr("%1's planets in %2's houses").arg(firstName, secondName));
    auto* secondHeading = new QLabel(tr("%1's planets in %2's houses").arg(secondName, firstName));
    firstHeading->setWordWrap(true);
    secondHeading->setWordWrap(true);
    housesLayout->addWidget(firstHeading, 0, 0);
    housesLayout->addWidget(secondHeading, 0, 1);
    housesLayout->addWidget(firstInSecond_, 1, 0);
    housesLayout->addWidget(secondInFirst_, 1, 1);

    wheel_ = new BiWheelWidget(first_, second_, synastry_, this);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tabs");
    tabs_->addTab(grid_, tr("&Aspects"));
    tabs_->addTab(houses, tr("&Houses"));
    tabs_->addTab(wheel_, tr("&Bi-wheel"));

    auto* reading = new QPushButton(tr("&Relationship reading"), this);
    reading->setObjectName("relationshipReading");
    reading->setToolTip(
        tr("The contacts, the house overlays and the composite read out in the "
           "output window"));
    auto* composite = new QPushButton(tr("&Composite"), this);
    composite->setObjectName("composite");
    composite->setToolTip(tr("The chart of midpoints between the two, in a window of its own"));
    auto* davison = new QPushButton(tr("&Davison"), this);
    davison->setObjectName("davison");
    davison->setToolTip(
        tr("The chart of the moment and place halfway between the two births, in a window of "
           "its own"));
    connect(reading, &QPushButton::clicked, this, &ComparisonWindow::relationshipReadingRequested);
    connect(composite, &QPushButton::clicked, this, &ComparisonWindow::compositeRequested);
    connect(davison, &QPushButton::clicked, this, &ComparisonWindow::davisonRequested);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reading);
    AddReportButtons(*buttons, *reading, tr("The relationship reading"),
                     [this](ReportAction action) { emit reportRequested(action); });
    buttons->addStretch(1);
    buttons->addWidget(composite);
    buttons->addWidget(davison);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(legend);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    // Room for the whole grid without scrolling and a bi-wheel whose
    // figures can be read, as far as the screen allows.
    const QFontMetrics metrics(font());
    const int gridWidth = grid_->verticalHeader()->sizeHint().width() +
                          grid_->horizontalHeader()->length() + 4 * grid_->frameWidth() +
                          metrics.averageCharWidth() * 8;
    const QSize wanted(std::max(gridWidth, metrics.height() * 44), metrics.height() * 58);
    const QRect screen = ScreenAvailableGeometry(QRect(QPoint(0, 0), wanted));
    resize(std::min(wanted.width(), screen.width() * 9 / 10),
           std::min(wanted.height(), screen.height() * 9 / 10));
}

void ComparisonWindow::FillGrid() {
    const std::vector<NatalPoint> across = ComparedPoints(first_.chart);
    const std::vector<NatalPoint> down = ComparedPoints(second_.chart);
    grid_->setColumnCount(static_cast<int>(across.size()));
    grid_->setRowCount(static_cast<int>(down.size()));
    const QFont glyphs = GlyphFont(QFontInfo(font()).pixelSize() * 1.2);
    for (std::size_t column = 0; column < across.size(); ++column) {
        auto* heading = new QTableWidgetItem(PointGlyph(across[column]));
        heading->setToolTip(Text(NatalPointName(across[column])));
        heading->setFont(glyphs);
        grid_->setHorizontalHeaderItem(static_cast<int>(column), heading);
    }
    for (std::size_t row = 0; row < down.size(); ++row) {
        auto* heading =
            new QTableWidgetItem(PointGlyph(down[row]) + "  " + Text(NatalPointName(down[row])));
        grid_->setVerticalHeaderItem(static_cast<int>(row), heading);
    }
    const QString firstName = NameOf(first_, tr("First chart"));
    const QString secondName = NameOf(second_, tr("Second chart"));
    for (const InterAspect& aspect : synastry_.aspects) {
        const auto column = std::find(across.begin(), across.end(), aspect.first) - across.begin();
        const auto row = std::find(down.begin(), down.end(), aspect.second) - down.begin();
        auto* cell = new QTableWidgetItem(AspectGlyph(aspect.kind) + " " +
                                          Text(FormatDegreesMinutes(aspect.orb)));
        cell->setData(Qt::UserRole, static_cast<int>(aspect.kind));
        cell->setForeground(AspectFamilyColour(aspect.family));
        cell->setTextAlignment(Qt::AlignCenter);
        cell->setToolTip(tr("%1's %2 %3 %4's %5, orb %6")
                             .arg(firstName, Text(NatalPointName(aspect.first)),
                                  Text(AspectKindName(aspect.kind)), secondName,
                                  Text(NatalPointName(aspect.second)),
                                  Text(FormatDegreesMinutes(aspect.orb))));
        grid_->setItem(static_cast<int>(row), static_cast<int>(column), cell);
    }
    grid_->resizeColumnsToContents();
    grid_->resizeRowsToContents();
}

}  // namespace tolvaris
