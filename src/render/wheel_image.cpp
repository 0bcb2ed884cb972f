#include "render/wheel_image.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <functional>
#include <vector>

#include "core/chart/chart_summary.h"

#include "render/bi_wheel.h"
#include "render/wheel_painter.h"

namespace tolvaris {
namespace {

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "Born 1 January 1990, 12:00 local time · Berlin · 52°31'N 13°24'E": the
// facts that tell a reader which birth the wheel is of, from the summary
// every other view of the chart shows.
QString BirthLine(const ChartSummary& summary) {
    QStringList parts;
    for (const ChartFact& fact : summary.facts) {
        const QString value = QString::fromStdString(fact.value);
        if (fact.label == "Born" || fact.label == "Moment") {
            parts.append(QString::fromStdString(fact.label) + QLatin1Char(' ') + value);
        } else if (fact.label == "Place" || fact.label == "Coordinates") {
            parts.append(value);
        }
    }
    return parts.join(QStringLiteral(" \u00B7 "));
}

}  // namespace

WheelCaption CaptionOf(const BirthChart& chart) {
    const ChartSummary summary = SummariseChart(chart);
    WheelCaption caption;
    if (!summary.name.empty()) {
        caption.append(QString::fromStdString(summary.name));
    }
    caption.append(BirthLine(summary));
    return caption;
}

WheelCaption CaptionOf(const BirthChart& inner, const BirthChart& outer) {
    WheelCaption caption;
    for (const auto& [ring, chart] : {std::pair{"Inside", &inner}, std::pair{"Outside", &outer}}) {
        const ChartSummary summary = SummariseChart(*chart);
        QString line = QString::fromLatin1(ring);
        if (!summary.name.empty()) {
            line += QStringLiteral(": ") + QString::fromStdString(summary.name);
        }
        caption.append(line + QStringLiteral(" \u00B7 ") + BirthLine(summary));
    }
    return caption;
}

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

// The caption's type: the interface font at a size that follows the image,
// made smaller until the lines fit across and take at most a fifth of the
// height. At the smallest size a line too long for the width may break
// anywhere, and whole lines beyond the fifth are left off, last first; the
// wheel takes what is left.
struct CaptionSetting {
    std::vector<QString> texts;  // the caption's lines, broken where they must
    std::vector<QFont> fonts;    // one a line: the first bold when it is the name
    std::vector<QRectF> boxes;
    std::vector<int> flags;
    qreal height = 0;
};

// A caption line too long for the width breaks between its parts (the
// " \u00B7 " that joins them is left off there), so that no line starts or
// ends with the separator; a part wider than the line then wraps by words.
QString BreakBetweenParts(const QString& line, const QFontMetricsF& metrics, qreal width) {
    const QString separator = QStringLiteral(" \u00B7 ");
    if (metrics.horizontalAdvance(line) <= width) {
        return line;
    }
    QString broken;
    QString current;
    for (const QString& part : line.split(separator)) {
        const QString joined = current.isEmpty() ? part : current + separator + part;
        if (current.isEmpty() || metrics.horizontalAdvance(joined) <= width) {
            current = joined;
        } else {
            broken += current + u'\n';
            current = part;
        }
    }
    return broken + current;
}

CaptionSetting SetCaption(const QPaintDevice* device, const WheelCaption& caption, qreal side,
                          qreal width) {
    constexpr int kSmallestPixels = 6;
    // A name stands alone on the first line; a bi-wheel's lines each join
    // a name to its birth data, and none of them is set in bold.
    const bool named = caption.size() > 1 && !caption.front().contains(u'\u00B7');
    int pixels = std::max(kSmallestPixels, qRound(side / 38));
    for (;;) {
        CaptionSetting setting;
        bool fits = true;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            QFont font = QGuiApplication::font();
            const bool name = named && i == 0;
            font.setPixelSize(name ? pixels * 6 / 5 : pixels);
            font.setBold(name);
            const QFontMetricsF metrics(font, const_cast<QPaintDevice*>(device));
            int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
            const QString text = BreakBetweenParts(caption[i], metrics, width);
            QRectF box = metrics.boundingRect(QRectF(0, 0, width, 1e6), flags, text);
            if (box.width() > width + 0.5) {
                fits = false;
                if (pixels <= kSmallestPixels) {
                    flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere;
                    box = metrics.boundingRect(QRectF(0, 0, width, 1e6), flags, text);
                }
            }
            setting.texts.push_back(text);
            setting.fonts.push_back(font);
            setting.boxes.push_back(box);
            setting.flags.push_back(flags);
            setting.height += box.height();
        }
        if (fits && setting.height <= side / 5) {
            return setting;
        }
        if (pixels <= kSmallestPixels) {
            // A small image keeps what fits of the caption, the name first,
            // rather than giving the wheel's room to it.
            while (!setting.boxes.empty() && setting.height > side / 5) {
                setting.height -= setting.boxes.back().height();
                setting.texts.pop_back();
                setting.fonts.pop_back();
                setting.boxes.pop_back();
                setting.flags.pop_back();
            }
            return setting;
        }
        pixels = std::max(kSmallestPixels, pixels * 7 / 8);
    }
}

// `wheel` above its caption in the square it is given; without a caption,
// the wheel alone as before.
WheelPaint Captioned(WheelPaint wheel, const WheelCaption& caption) {
    if (caption.isEmpty()) {
        return wheel;
    }
    return [wheel = std::move(wheel), caption](QPainter& painter, const QRectF& bounds) {
        const qreal side = std::min(bounds.width(), bounds.height());
        const qreal margin = std::max(2.0, side * 0.015);
        const qreal width = bounds.width() - 2 * margin;
        const CaptionSetting setting = SetCaption(painter.device(), caption, side, width);
        const qreal wheelSide = std::max(1.0, bounds.height() - setting.height - 2 * margin);
        wheel(painter,
              QRectF(bounds.center().x() - wheelSide / 2, bounds.top(), wheelSide, wheelSide));
        painter.save();
        painter.setPen(QColor(0x20, 0x20, 0x20));
        qreal top = bounds.top() + wheelSide + margin;
        for (std::size_t i = 0; i < setting.boxes.size(); ++i) {
            painter.setFont(setting.fonts[i]);
            const QRectF line(bounds.left() + margin, top, width, setting.boxes[i].height());
            painter.drawText(line, setting.flags[i], setting.texts[i]);
            top += setting.boxes[i].height();
        }
        painter.restore();
    };
}

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

QImage RenderWheelImage(const Chart& chart, int sizePixels, qreal pixelRatio,
                        const WheelCaption& caption) {
    return RenderImage(Captioned(NatalPaint(chart), caption), sizePixels, pixelRatio);
}

QByteArray WheelPngBytes(const Chart& chart, int sizePixels, const WheelCaption& caption) {
    return PngBytes(Captioned(NatalPaint(chart), caption), sizePixels);
}

QByteArray WheelSvgBytes(const Chart& chart, int sizePixels, const QString& title,
                         const WheelCaption& caption) {
    return SvgBytes(Captioned(NatalPaint(chart), caption), sizePixels, title);
}

std::string WriteWheelImage(const std::filesystem::path& path, const Chart& chart, int sizePixels,
                            const QString& title, AtomicFileWriter& writer,
                            const WheelCaption& caption) {
    return WriteImage(path, Captioned(NatalPaint(chart), caption), sizePixels, title, writer);
}

std::string WriteBiWheelImage(const std::filesystem::path& path, const Chart& first,
                              const Chart& second, const Synastry& synastry, int sizePixels,
                              const QString& title, AtomicFileWriter& writer,
                              const WheelCaption& caption) {
    return WriteImage(path,
                      Captioned(
                          [&](QPainter& painter, const QRectF& bounds) {
                              PaintBiWheel(painter, bounds, first, second, synastry);
                          },
                          caption),
                      sizePixels, title, writer);
}

}  // namespace tolvaris
