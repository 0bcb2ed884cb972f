// The wheel widget: follows its parent's size, paints the wheel where the
// layout says, exports what it shows.
#include "ui/chart_window/wheel_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>
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

// The wheel laid out anew at its present zoom.
const WheelLayout& Painted(WheelWidget& wheel) {
    wheel.grab();
    return wheel.LastLayout();
}

void Turn(WheelWidget& wheel, int delta, Qt::KeyboardModifiers modifiers) {
    const QPointF at(wheel.width() / 2.0, wheel.height() / 2.0);
    QWheelEvent turn(at, wheel.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, modifiers,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&wheel, &turn);
}

TEST(WheelWidget, CtrlAndTheWheelZoomAboutTheCentreWithinBounds) {
    WheelWidget wheel;
    wheel.resize(400, 400);
    wheel.SetChart(HandBirthChart(0));
    const qreal fitted = Painted(wheel).outerRadius;
    const struct {
        int steps;  // of 120, up zooms in
        bool ctrl;
        int change;  // the sign of the radius' change
    } cases[] = {{1, true, 1},   {1, false, 0}, {-1, false, 0},
                 {-1, true, -1}, {-3, true, 0},  // never smaller than the wheel that fits
                 {60, true, 1},  {1, true, 0}};  // bounded
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.steps) + (c.ctrl ? " ctrl" : ""));
        const qreal before = Painted(wheel).outerRadius;
        Turn(wheel, c.steps * 120, c.ctrl ? Qt::ControlModifier : Qt::NoModifier);
        const WheelLayout& after = Painted(wheel);
        EXPECT_EQ((after.outerRadius > before + 0.5) - (after.outerRadius < before - 0.5),
                  c.change);
        EXPECT_GE(after.outerRadius, fitted - 0.5);
        EXPECT_LT(after.outerRadius, 20 * fitted);
        EXPECT_NEAR(after.centre.x(), 200, 0.5);
        EXPECT_NEAR(after.centre.y(), 200, 0.5);
    }
}

// What the tooltip says at `at`, from a fresh start.
QString TipAt(WheelWidget& wheel, QPointF at) {
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::text().isEmpty(); }, 2000));
    QHelpEvent help(QEvent::ToolTip, at.toPoint(), wheel.mapToGlobal(at.toPoint()));
    QApplication::sendEvent(&wheel, &help);
    return QToolTip::text();
}

// Chart 0: bodies 36 degrees apart from 0 Aries, so the only aspects with
// lines are the five oppositions (Sun-Jupiter, Moon-Saturn, ...). Chart 1:
// Moon 11.5 and Venus 14.9, both retrograde; Mars 200, Pluto 350.
TEST(WheelWidget, TheTooltipNamesTheBodyOrTheAspectUnderThePointer) {
    const struct {
        std::size_t chart;
        std::optional<Point> body;  // its glyph; else a point on the aspect line
        Point first, second;        // the aspect's, or nothing to say when equal
        QStringList said;
    } cases[] = {
        {1, Point::Moon, {}, {}, {"Moon", "Aries", "11°30'", "retrograde"}},
        {1, Point::Venus, {}, {}, {"Venus", "Aries", "14°54'", "retrograde"}},
        {1, Point::Mars, {}, {}, {"Mars", "Libra", "20°00'"}},
        {1, Point::Pluto, {}, {}, {"Pluto", "Pisces", "20°00'"}},
        {0, std::nullopt, Point::Sun, Point::Jupiter, {"Sun", "opposition", "Jupiter"}},
        {0, std::nullopt, Point::Saturn, Point::Moon, {"Moon", "opposition", "Saturn"}},
        {0, std::nullopt, Point::Sun, Point::Sun, {}},  // in the wheel, off every line
    };
    WheelWidget wheel;
    wheel.resize(500, 500);
    wheel.show();
    for (const auto& c : cases) {
        wheel.SetChart(HandBirthChart(c.chart));
        const WheelLayout& layout = Painted(wheel);
        const Chart& chart = test::MakeChart(test::WheelTestCharts()[c.chart]);
        auto longitude = [&](Point p) {
            return chart.bodies[static_cast<std::size_t>(p)].longitude;
        };
        QPointF at;
        if (c.body) {
            at = layout.bodies[static_cast<std::size_t>(*c.body)].glyphCentre;
        } else {
            // A quarter of the way along the line, clear of the centre where
            // the oppositions cross; with the same ends, a point between rays.
            const QPointF from = layout.PointAt(longitude(c.first), layout.aspectRadius);
            const QPointF to = c.first == c.second
                                   ? layout.PointAt(longitude(c.first) + 18, layout.aspectRadius)
                                   : layout.PointAt(longitude(c.second), layout.aspectRadius);
            at = from + (to - from) * (c.first == c.second ? 0.5 : 0.25);
        }
        const QString tip = TipAt(wheel, at);
        SCOPED_TRACE(tip.toStdString());
        EXPECT_EQ(tip.isEmpty(), c.said.isEmpty());
        for (const QString& word : c.said) {
            EXPECT_TRUE(tip.contains(word)) << word.toStdString();
        }
        if (c.body && !c.said.contains("retrograde")) {
            EXPECT_FALSE(tip.contains("retrograde"));
        }
    }
    EXPECT_TRUE(TipAt(wheel, {2, 2}).isEmpty());  // the corner, outside the wheel
}

TEST(WheelWidget, AClickOnAGlyphReportsItsBodyAndElsewhereNothing) {
    WheelWidget wheel;
    wheel.resize(420, 420);
    wheel.SetChart(HandBirthChart(1));
    wheel.show();
    QSignalSpy spy(&wheel, &WheelWidget::bodyClicked);
    for (const bool zoomed : {false, true}) {
        if (zoomed) {
            Turn(wheel, 240, Qt::ControlModifier);
        }
        const WheelLayout& layout = Painted(wheel);
        for (const Point body : {Point::Sun, Point::Mercury, Point::Venus, Point::Neptune}) {
            SCOPED_TRACE(static_cast<int>(body) + (zoomed ? 100 : 0));
            spy.clear();
            const QRectF glyph = layout.bodies[static_cast<std::size_t>(body)].glyphRect;
            ASSERT_TRUE(QRectF(wheel.rect()).contains(glyph.center()));
            QTest::mouseClick(&wheel, Qt::LeftButton, {}, glyph.center().toPoint());
            ASSERT_EQ(spy.count(), 1);
            EXPECT_EQ(spy.at(0).at(0).value<Point>(), body);
        }
    }
    spy.clear();
    QTest::mouseClick(&wheel, Qt::LeftButton, {}, {210, 210});  // the centre
    QTest::mouseClick(&wheel, Qt::LeftButton, {}, {3, 3});
    QTest::mouseClick(&wheel, Qt::RightButton, {},
                      Painted(wheel).bodies[0].glyphRect.center().toPoint());
    EXPECT_EQ(spy.count(), 0);
}

}  // namespace
}  // namespace tolvaris
