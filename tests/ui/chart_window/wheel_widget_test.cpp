// The wheel widget: follows its parent's size, paints the wheel where the
// layout says, exports what it shows.
#include "ui/chart_window/wheel_widget.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QVBoxLayout>
#include <cmath>

#include "core/ephemeris/zodiac.h"
#include "support/temp_folder.h"
#include "support/wheel_charts.h"

namespace tolvaris {
namespace {

BirthChart HandBirthChart(std::size_t index) {
    BirthChart chart;
    chart.input.name = "Widget test";
    chart.chart = test::MakeChart(test::WheelTestCharts()[index]);
    return chart;
}

TEST(WheelWidget, ResizesWithItsParentAndCentresTheWheel) {
    QWidget parent;
    auto* layout = new QVBoxLayout(&parent);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* wheel = new WheelWidget;
    layout->addWidget(wheel);
    wheel->SetChart(HandBirthChart(1));
    for (const QSize size : {QSize(500, 400), QSize(300, 700), QSize(900, 900)}) {
        SCOPED_TRACE(size.width());
        parent.resize(size);
        parent.show();
        const QImage shot = wheel->grab().toImage();
        EXPECT_EQ(wheel->size(), size);
        const WheelLayout& drawn = wheel->LastLayout();
        EXPECT_DOUBLE_EQ(drawn.side, std::min(size.width(), size.height()));
        EXPECT_NEAR(drawn.centre.x(), size.width() / 2.0, 0.5);
        EXPECT_NEAR(drawn.centre.y(), size.height() / 2.0, 0.5);
        // The Ascendant axis, dark blue, just inside the zodiac at the left.
        // A thin line may shade two rows: take the darker.
        const QPoint at = (drawn.centre - QPointF(drawn.zodiacInnerRadius - 3, 0)).toPoint();
        QRgb axis = shot.pixel(at);
        for (const int dy : {-1, 1}) {
            if (qGray(shot.pixel(at + QPoint(0, dy))) < qGray(axis)) {
                axis = shot.pixel(at + QPoint(0, dy));
            }
        }
        EXPECT_LT(qGray(axis), 140) << at.x() << "," << at.y();
        EXPECT_GT(qBlue(axis), qRed(axis));
        // White outside the wheel, in the corner.
        EXPECT_EQ(shot.pixel(1, 1), qRgb(255, 255, 255));
    }
}

TEST(WheelWidget, ExportsTheShownChartAndRefusesWithoutOne) {
    test::TempFolder folder;
    WheelWidget wheel;
    AtomicFileWriter writer;
    const std::string none = wheel.ExportImage(folder / "none.png", 400, writer);
    EXPECT_NE(none.find("none.png: there is no chart"), std::string::npos) << none;
    EXPECT_FALSE(std::filesystem::exists(folder / "none.png"));
    wheel.SetChart(HandBirthChart(0));
    ASSERT_EQ(wheel.ExportImage(folder / "shown.png", 640, writer), "");
    EXPECT_EQ(QImage(QString::fromStdString((folder / "shown.png").string())).size(),
              QSize(640, 640));
    ASSERT_EQ(wheel.ExportImage(folder / "shown.svg", 640, writer), "");
    EXPECT_NE(test::ReadBytes(folder / "shown.svg").find("<title>Widget test</title>"),
              std::string::npos);
    wheel.ClearChart();
    EXPECT_FALSE(wheel.HasChart());
}

}  // namespace
}  // namespace tolvaris
