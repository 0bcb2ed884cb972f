#include "ui/chart_window/aspect_grid.h"

#include <gtest/gtest.h>

#include "core/chart/birth_chart.h"
#include "core/ephemeris/ephemeris.h"
#include "support/birth_samples.h"
#include "ui/chart_window/comparison_window.h"

namespace tolvaris {
namespace {

// Longitudes from swetest (see chart_window_test.cpp): Sun 280.7717825,
// Moon 332.7065724, Jupiter 95.1543980, Saturn 285.6525704. Orbs are shown
// to the whole minute below.
TEST(AspectGrid, ShowsEachPairBelowTheDiagonalWithGlyphAndOrb) {
    Ephemeris ephemeris;
    const BirthChartResult computed = ComputeBirthChart(ephemeris, test::BerlinNewYear());
    ASSERT_TRUE(computed.Ok()) << computed.error.message;
    AspectGrid grid;
    grid.ShowChart(computed.value->chart);
    ASSERT_EQ(grid.rowCount(), 11);  // ten bodies and the Ascendant
    struct Case {
        int row;
        int column;
        QString text;
    };
    const Case cases[] = {
        {6, 0, AspectGlyph(AspectKind::Conjunction) + "\n4°52'"},  // Saturn, Sun: 4.8808
        {5, 0, AspectGlyph(AspectKind::Opposition) + "\n5°37'"},   // Jupiter, Sun: 180 - 174.3826
        {5, 1, AspectGlyph(AspectKind::Trine) + "\n2°26'"},        // Jupiter, Moon: 122.4478 - 120
        {0, 6, ""},                                                // above the diagonal: empty
        {0, 5, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + "," + std::to_string(c.column));
        const QTableWidgetItem* item = grid.item(c.row, c.column);
        EXPECT_EQ(item ? item->text() : QString(), c.text);
    }
}

}  // namespace
}  // namespace tolvaris
