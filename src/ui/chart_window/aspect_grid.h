#pragma once

#include <QIcon>
#include <QTableWidget>

#include "core/sky/chart.h"

namespace tolvaris {

// The aspects as a triangle: a row and a column for every body and the
// Ascendant, and below the diagonal the aspect of each pair, its glyph and
// orb.
class AspectGrid : public QTableWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AspectGrid)

public:
    explicit AspectGrid(QWidget* parent = nullptr);
    void ShowChart(const Chart& chart);
};

// The Aspects tab: the list or the grid, as the user chooses.
QWidget* AspectsPage(QTableWidget* list, AspectGrid* grid, QWidget* parent);

// The glyph drawn in the symbol font, as an icon beside a table's text.
QIcon GlyphIcon(const QString& glyph, const QWidget& shownIn);

}  // namespace tolvaris
