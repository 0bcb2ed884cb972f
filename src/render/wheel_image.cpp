#include "render/wheel_image.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <functional>

#include "render/bi_wheel.h"
#include "render/wheel_painter.h"

namespace tolvaris {
namespace {

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

std::optional<WheelImageFormat> WheelImageFormatOf(const std::filesystem::path& path) {
    const std::string extension = Lowercase(path.extension().string());
    if (extension == ".png") {
        return WheelImageFormat::Png;
    }
    if (extension == ".svg") {
        return WheelImageFormat::Svg;
    }
    return std::nullopt;
}

namespace {

// Whatever the image shows, painted into the square it is given.
using WheelPaint = std::function<void(QPainter&, const QRectF&)>;

QImage RenderImage(const WheelPaint& paint, int sizePixels, qreal pixelRatio) {
    const int side = qRound(sizePixels * pixelRatio);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter, QRectF(0, 0, sizePixels, sizePixels));
    return image;
}

QByteArray PngBytes(const WheelPaint& paint, int sizePixels) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    RenderImage(paint, sizePixels, 1.0).save(&buffer, "PNG");
    return bytes;
}

QByteArray SvgBytes(const WheelPaint& paint, int sizePixels, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(sizePixels, sizePixels));
    generator.setViewBox(QRect(0, 0, sizePixels, sizePixels));
    generator.setTitle(title);
    generator.setDescription(QStringLiteral("Chart wheel drawn by Tolvaris"));
    {
        QPainter painter(&generator);
        painter.fillRect(QRectF(0, 0, sizePixels, sizePixels), Qt::white);
        paint(painter, QRectF(0, 0, sizePixels, sizePixels));
    }
    return bytes;
}

std::string WriteImage(const std::filesystem::path& path, const WheelPaint& paint, int sizePixels,
                       const QString& title, AtomicFileWriter& writer) {
    const std::optional<WheelImageFormat> format = WheelImageFormatOf(path);
    if (!format) {
        return path.string() + ": the name must end in .png or .svg";
    }
    if (sizePixels < kMinWheelImageSize || sizePixels > kMaxWheelImageSize) {
        return path.string() + ": the size must lie between " + std::to_string(kMinWheelImageSize) +
               " and " + std::to_string(kMaxWheelImageSize) + " pixels";
    }
    const QByteArray bytes = *format == WheelImageFormat::Png ? PngBytes(paint, sizePixels)
                                                              : SvgBytes(paint, sizePixels, title);
    if (bytes.isEmpty()) {
        return path.string() + ": the image could not be encoded";
    }
    const std::string error = writer.Write(path, [&](const AtomicFileWriter::Sink& sink) {
        sink(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
    return error.empty() ? std::string() : path.string() + ": " + error;
}

WheelPaint NatalPaint(const Chart& chart) {
    return
        [&chart](QPainter& painter, const QRectF& bounds) { PaintWheel(painter, bounds, chart); };
}

}  // namespace

QImage RenderWheelImage(const Chart& chart, int sizePixels, qreal pixelRatio) {
    return RenderImage(NatalPaint(chart), sizePixels, pixelRatio);
}

QByteArray WheelPngBytes(const Chart& chart, int sizePixels) {
    return PngBytes(NatalPaint(chart), sizePixels);
}

QByteArray WheelSvgBytes(const Chart& chart, int sizePixels, const QString& title) {
    return SvgBytes(NatalPaint(chart), sizePixels, title);
}

std::string WriteWheelImage(const std::filesystem::path& path, const Chart& chart, int sizePixels,
                            const QString& title, AtomicFileWriter& writer) {
    return WriteImage(path, NatalPaint(chart), sizePixels, title, writer);
}

std::string WriteBiWheelImage(const std::filesystem::path& path, const Chart& first,
                              const Chart& second, const Synastry& synastry, int sizePixels,
                              const QString& title, AtomicFileWriter& writer) {
    return WriteImage(
        path,
        [&](QPainter& painter, const QRectF& bounds) {
            PaintBiWheel(painter, bounds, first, second, synastry);
        },
        sizePixels, title, writer);
}

}  // namespace tolvaris
