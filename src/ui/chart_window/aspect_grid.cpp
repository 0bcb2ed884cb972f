#include "ui/chart_window/aspect_grid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <vector>

#include "core/chart/display_text.h"
#include "render/wheel_glyphs.h"
#include "ui/chart_window/comparison_window.h"

namespace tolvaris {
namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

QWidget* AspectsPage(QTableWidget* list, AspectGrid* grid, QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* stack = new QStackedWidget(page);
    stack->addWidget(list);
    stack->addWidget(grid);
    auto* asList = new QRadioButton(AspectGrid::tr("&List"), page);
    asList->setObjectName("aspectsAsList");
    auto* asGrid = new QRadioButton(AspectGrid::tr("G&rid"), page);
    asGrid->setObjectName("aspectsAsGrid");
    asGrid->setToolTip(AspectGrid::tr("Every pair's aspect, its glyph and orb, in a triangle"));
    asList->setChecked(true);
    QObject::connect(asGrid, &QRadioButton::toggled, stack,
                     [stack](bool grid) { stack->setCurrentIndex(grid ? 1 : 0); });
    auto* choice = new QHBoxLayout;
    choice->addWidget(asList);
    choice->addWidget(asGrid);
    choice->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(choice);
    layout->addWidget(stack, 1);
    return page;
}

QIcon GlyphIcon(const QString& glyph, const QWidget& shownIn) {
    const int side = shownIn.fontMetrics().height();
    const qreal ratio = shownIn.devicePixelRatioF();
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Two letters (AC, MC) take a smaller size to fit the square.
    painter.setFont(
        GlyphFont(glyph.size() > 2 || glyph.at(0).isLetter() ? side * 0.55 : side * 0.85));
    painter.setPen(shownIn.palette().color(QPalette::Text));
    painter.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, glyph);
    painter.end();
    return QIcon(pixmap);
}

AspectGrid::AspectGrid(QWidget* parent) : QTableWidget(parent) {
    setObjectName("aspectGrid");
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    // Glyph above orb: eleven narrow columns fit the chart window.
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

void AspectGrid::ShowChart(const Chart& chart) {
    std::vector<Point> points;
    for (const BodyPlacement& body : chart.bodies) {
        points.push_back(body.body);
    }
    if (chart.ascendant) {
        points.push_back(Point::Ascendant);
    }
    const auto size = static_cast<int>(points.size());
    clear();
    setRowCount(size);
    setColumnCount(size);
    const auto indexOf = [&points](Point point) {
        for (std::size_t index = 0; index < points.size(); ++index) {
            if (points[index] == point) {
                return static_cast<int>(index);
            }
        }
        return -1;
    };
    for (int index = 0; index < size; ++index) {
        const QString name = Text(PointName(points[static_cast<std::size_t>(index)]));
        const QString glyph = BodyGlyph(points[static_cast<std::size_t>(index)]);
        for (const bool row : {true, false}) {
            auto* heading = new QTableWidgetItem(glyph);
            heading->setToolTip(name);
            if (row) {
                setVerticalHeaderItem(index, heading);
            } else {
                setHorizontalHeaderItem(index, heading);
            }
        }
        auto* diagonal = new QTableWidgetItem(glyph);
        diagonal->setTextAlignment(Qt::AlignCenter);
        diagonal->setToolTip(name);
        diagonal->setFlags(Qt::ItemIsEnabled);
        setItem(index, index, diagonal);
    }
    for (const Aspect& aspect : chart.aspects) {
        const int first = indexOf(aspect.first);
        const int second = indexOf(aspect.second);
        if (first < 0 || second < 0) {
            continue;
        }
        // Below the diagonal: the later point's row, the earlier's column.
        auto* cell = new QTableWidgetItem(AspectGlyph(aspect.kind) + "\n" +
                                          QString::fromStdString(FormatDegreesMinutes(aspect.orb)));
        cell->setTextAlignment(Qt::AlignCenter);
        cell->setToolTip(tr("%1 %2 %3, orb %4")
                             .arg(Text(PointName(aspect.first)), Text(AspectKindName(aspect.kind)),
                                  Text(PointName(aspect.second)),
                                  QString::fromStdString(FormatDegreesMinutes(aspect.orb))));
        setItem(std::max(first, second), std::min(first, second), cell);
    }
    resizeColumnsToContents();
    resizeRowsToContents();
}

}  // namespace tolvaris
