// The wheel as pixels and files: ink where the layout says, the axis and the
// aspect colours where geometry puts them, crisp at scale 2, PNG and SVG
// written whole or not at all.
#include "render/wheel_image.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <filesystem>

#include "render/wheel_layout.h"
#include "render/wheel_painter.h"
#include "support/temp_folder.h"
#include "support/wheel_charts.h"

namespace tolvaris {
namespace {

bool IsInk(QRgb pixel) {
    return qGray(pixel) < 160;
}

int InkPixels(const QImage& image, const QRectF& logical) {
    const qreal ratio = image.devicePixelRatio();
    const QRect area =
        QRectF(logical.topLeft() * ratio, logical.bottomRight() * ratio).toAlignedRect() &
        image.rect();
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ink += IsInk(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return ink;
}

// Ink within a logical pixel of `logical`: thin lines are shaded across
// neighbouring pixels.
bool InkNear(const QImage& image, QPointF logical) {
    return InkPixels(image, QRectF(logical - QPointF(1, 1), QSizeF(2, 2))) > 0;
}

bool Near(QRgb pixel, const QColor& colour, int tolerance) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

// A line through a pixel corner shades the four pixels around it.
bool NearAround(const QImage& image, QPoint corner, const QColor& colour) {
    for (int dy = -1; dy <= 0; ++dy) {
        for (int dx = -1; dx <= 0; ++dx) {
            if (Near(image.pixel(corner + QPoint(dx, dy)), colour, 50)) {
                return true;
            }
        }
    }
    return false;
}

TEST(WheelImage, HasInkInEveryGlyphBoxAndAtEveryBodysTick) {
    for (const test::HandChart& hand : test::WheelTestCharts()) {
        SCOPED_TRACE(hand.name);
        const Chart chart = test::MakeChart(hand);
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage image = RenderWheelImage(chart, 800, ratio);
            ASSERT_EQ(image.width(), qRound(800 * ratio));
            const WheelLayout layout = LayoutWheel(QRectF(0, 0, 800, 800), chart);
            for (const WheelBody& body : layout.bodies) {
                EXPECT_GT(InkPixels(image, body.glyphRect), 20 * ratio * ratio)
                    << PointName(body.body);
                EXPECT_GT(InkPixels(image, body.labelRect), 10 * ratio * ratio)
                    << PointName(body.body);
                // The tick on the body's true longitude, just inside the rings.
                const QPointF tick =
                    layout.PointAt(body.longitude, layout.houseInnerRadius - layout.side * 0.003);
                EXPECT_TRUE(InkNear(image, tick)) << PointName(body.body);
            }
        }
    }
}

TEST(WheelImage, DrawsTheAscendantAxisAtTheLeftOnlyWhenTheTimeIsKnown) {
    const QColor axis(0x10, 0x10, 0x60);
    for (const test::HandChart& hand : test::WheelTestCharts()) {
        SCOPED_TRACE(hand.name);
        const Chart chart = test::MakeChart(hand);
        const QImage image = RenderWheelImage(chart, 800);
        const WheelLayout layout = LayoutWheel(QRectF(0, 0, 800, 800), chart);
        // Between the zodiac and the house ring, straight left of the centre.
        const QPointF left = layout.centre - QPointF(layout.zodiacInnerRadius - 3, 0);
        EXPECT_EQ(Near(image.pixel(left.toPoint()), axis, 40), hand.ascendant.has_value());
    }
}

TEST(WheelImage, ColoursAnOppositionDiscordantThroughTheCentre) {
    // Only the Sun and Moon, exactly opposite: their line is the one
    // crossing the centre.
    const test::HandChart hand{"opposition", 30.0, {70.0, 250.0}, {}};
    const Chart chart = test::MakeChart(hand);
    ASSERT_EQ(chart.aspects.size(), 1U);
    const QImage image = RenderWheelImage(chart, 800);
    EXPECT_TRUE(NearAround(image, QPoint(400, 400), AspectFamilyColour(AspectFamily::Discordant)));
    const test::HandChart trine{"trine", 30.0, {70.0, 190.0}, {}};
    const QImage harmonious = RenderWheelImage(test::MakeChart(trine), 800);
    EXPECT_FALSE(
        NearAround(harmonious, QPoint(400, 400), AspectFamilyColour(AspectFamily::Discordant)));
}

TEST(WheelImage, AtScaleTwoIsTheSameDrawingWithTwiceThePixels) {
    const Chart chart = test::MakeChart(test::WheelTestCharts()[1]);
    const QImage one = RenderWheelImage(chart, 400, 1.0);
    const QImage two = RenderWheelImage(chart, 400, 2.0);
    ASSERT_EQ(two.size(), QSize(800, 800));
    // Averaged back down, scale 2 matches scale 1 nearly everywhere; it is
    // not an enlarged copy (which would be flat 2x2 blocks).
    const QImage down = two.scaled(400, 400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int differing = 0;
    int blocks = 0;
    int flatBlocks = 0;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
            differing += std::abs(qGray(down.pixel(x, y)) - qGray(one.pixel(x, y))) > 96 ? 1 : 0;
            const QRgb a = two.pixel(2 * x, 2 * y);
            if (qGray(a) < 250) {
                ++blocks;
                flatBlocks +=
                    (a == two.pixel(2 * x + 1, 2 * y) && a == two.pixel(2 * x, 2 * y + 1) &&
                     a == two.pixel(2 * x + 1, 2 * y + 1))
                        ? 1
                        : 0;
            }
        }
    }
    EXPECT_LT(differing, 400 * 400 / 100);
    EXPECT_LT(flatBlocks, blocks * 3 / 4);
}

// A caption puts ink in the bottom tenth of the image, inside a white
// border (nothing clipped); without one the image is exactly the wheel
// painted alone, as before captions existed.
TEST(WheelImage, CaptionedOrBareAtEverySize) {
    const Chart chart = test::MakeChart(test::WheelTestCharts()[1]);
    const QString longName = QStringLiteral("Maximiliane Wilhelmina Theodora von Ostermannsdorf");
    const struct {
        int size;
        WheelCaption caption;
    } cases[] = {
        {800, {}},
        {200, {}},
        {800, {"Anna", "Born 1 January 1990, 12:00 local time"}},
        {200, {longName, "Born 14 February 2001, 23:59 local time \u00B7 Somewhere far away"}},
        {400, {"Ilse"}},
        {200, WheelCaption(12, longName)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const QImage image = RenderWheelImage(chart, c.size, 1.0, c.caption);
        ASSERT_EQ(image.size(), QSize(c.size, c.size));
        const qreal s = c.size;
        if (c.caption.isEmpty()) {
            QImage alone(c.size, c.size, QImage::Format_ARGB32_Premultiplied);
            alone.fill(Qt::white);
            {
                QPainter painter(&alone);
                PaintWheel(painter, QRectF(0, 0, s, s), chart);
            }
            EXPECT_TRUE(image == alone);
            continue;
        }
        EXPECT_GT(InkPixels(image, QRectF(0, s * 0.9, s, s * 0.1)), 0);
        // However long the caption, the wheel keeps most of the width.
        EXPECT_GT(InkPixels(image, QRectF(0, 0, s * 0.15, s * 0.75)), 0);
        const int border =
            InkPixels(image, QRectF(0, 0, s, 1)) + InkPixels(image, QRectF(0, s - 1, s, 1)) +
            InkPixels(image, QRectF(0, 0, 1, s)) + InkPixels(image, QRectF(s - 1, 0, 1, s));
        EXPECT_EQ(border, 0);
    }
}

TEST(WheelImageFile, SvgCarriesTheCaptionTextOnlyWhenAsked) {
    const Chart chart = test::MakeChart(test::WheelTestCharts()[0]);
    for (const bool captioned : {true, false}) {
        const WheelCaption caption =
            captioned ? WheelCaption{"Quintessa", "Born somewhere"} : WheelCaption{};
        const QByteArray svg = WheelSvgBytes(chart, 500, "x", caption);
        EXPECT_EQ(svg.contains("Quintessa"), captioned);
        EXPECT_EQ(svg.contains("Born somewhere"), captioned);
    }
}

class FailingWriter : public AtomicFileWriter {
public:
    std::string WriteFile(const std::filesystem::path&, const Producer& produce,
                          Durability) override {
        produce([this](std::string_view bytes) {
            offered += bytes.size();
            return false;
        });
        return "No space left on device";
    }
    std::size_t offered = 0;
};

TEST(WheelImageFile, WritesPngAndSvgOfTheAskedSize) {
    test::TempFolder folder;
    const Chart chart = test::MakeChart(test::WheelTestCharts()[1]);
    AtomicFileWriter writer;
    const std::filesystem::path png = folder / "wheel.PNG";
    ASSERT_EQ(WriteWheelImage(png, chart, 321, "Anna", writer), "");
    const QImage read(QString::fromStdString(png.string()));
    EXPECT_EQ(read.size(), QSize(321, 321));
    const std::filesystem::path svg = folder / "wheel.svg";
    ASSERT_EQ(WriteWheelImage(svg, chart, 500, "Anna", writer), "");
    const std::string text = test::ReadBytes(svg);
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("width=\"500"), std::string::npos);
    EXPECT_NE(text.find("<title>Anna</title>"), std::string::npos);
}

TEST(WheelImageFile, RefusesOrFailsNamingThePathAndLeavesNothing) {
    test::TempFolder folder;
    const Chart chart = test::MakeChart(test::WheelTestCharts()[0]);
    AtomicFileWriter writer;
    const struct {
        std::filesystem::path path;
        int size;
        const char* reason;
    } cases[] = {
        {folder / "missing" / "wheel.png", 800, "No such file"},
        {folder / "wheel.jpg", 800, ".png or .svg"},
        {folder / "small.png", 99, "between 100 and 10000"},
        {folder / "huge.svg", 10001, "between 100 and 10000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        const std::string error = WriteWheelImage(c.path, chart, c.size, "x", writer);
        EXPECT_NE(error.find(c.path.string()), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_FALSE(std::filesystem::exists(c.path));
    }
    // A folder in the way of the name: the folder stays, no temporary is left.
    std::filesystem::create_directory(folder / "taken.png");
    const std::string error = WriteWheelImage(folder / "taken.png", chart, 200, "x", writer);
    EXPECT_NE(error.find("taken.png"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.png"));
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
    }
    // A disk that fills: the writer's reason comes back with the path.
    FailingWriter full;
    const std::string fullError = WriteWheelImage(folder / "full.png", chart, 200, "x", full);
    EXPECT_GT(full.offered, 0U);
    EXPECT_NE(fullError.find("full.png: No space left on device"), std::string::npos) << fullError;
}

}  // namespace
}  // namespace tolvaris
