#include "render/pdf_document.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <cstdlib>

#include "core/chart/chart_summary.h"
#include "render/bi_wheel.h"
#include "render/wheel_painter.h"

namespace tolvaris {
namespace {

constexpr int kPdfResolution = 600;  // dots per inch for the page's coordinates

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QFont TitleFont(const PdfContent& content) {
    QFont font = content.style.font;
    font.setBold(true);
    font.setItalic(false);
    font.setPointSizeF(std::max<qreal>(content.style.font.pointSizeF(), 10.0) * 1.4);
    return font;
}

// The wheel page: the chart's data, then the wheel in the rest of the page.
void PaintWheelPage(QPainter& painter, QPagedPaintDevice& device, const PdfContent& content) {
    const QRectF page(0, 0, device.width(), device.height());
    const QFont titleFont = TitleFont(content);
    QFont dataFont = content.style.font;
    dataFont.setBold(false);
    dataFont.setItalic(false);
    const QFontMetricsF titleMetrics(titleFont, &device);
    const QFontMetricsF dataMetrics(dataFont, &device);
    painter.setPen(Qt::black);
    qreal y = 0;
    painter.setFont(titleFont);
    painter.drawText(QPointF(0, y + titleMetrics.ascent()), content.style.title);
    y += titleMetrics.lineSpacing() * 1.3;
    painter.setFont(dataFont);
    QStringList lines = ChartDataLines(*content.chart);
    if (content.outerChart != nullptr) {
        // Both people's data: the names tell the two blocks apart.
        lines.prepend(Text(content.chart->input.name));
        lines << QString() << Text(content.outerChart->input.name)
              << ChartDataLines(*content.outerChart);
    }
    for (const QString& line : lines) {
        painter.drawText(QPointF(0, y + dataMetrics.ascent()), line);
        y += dataMetrics.lineSpacing();
    }
    y += dataMetrics.lineSpacing();
    const QRectF wheelArea(page.left(), y, page.width(), page.bottom() - y);
    const qreal side = std::min(wheelArea.width(), wheelArea.height());
    const QRectF square(wheelArea.center().x() - side / 2, wheelArea.top(), side, side);
    if (content.outerChart != nullptr) {
        const Chart& first = content.chart->chart;
        const Chart& second = content.outerChart->chart;
        PaintBiWheel(painter, square, first, second,
                     ComputeSynastry(first, second, content.chart->input.orbs));
    } else {
        PaintWheel(painter, square, *content.chart);
    }
}

}  // namespace

QPageSize::PageSizeId PageSizeForLocale(const QLocale& locale) {
    static constexpr std::array kLetterTerritories = {
        QLocale::UnitedStates, QLocale::Canada,    QLocale::Mexico,   QLocale::PuertoRico,
        QLocale::Philippines,  QLocale::Chile,     QLocale::Colombia, QLocale::Venezuela,
        QLocale::CostaRica,    QLocale::Guatemala, QLocale::Panama,   QLocale::DominicanRepublic,
        QLocale::ElSalvador,   QLocale::Belize,    QLocale::Nicaragua};
    const QLocale::Territory territory = locale.territory();
    const bool letter = std::find(kLetterTerritories.begin(), kLetterTerritories.end(),
                                  territory) != kLetterTerritories.end();
    return letter ? QPageSize::Letter : QPageSize::A4;
}

QPageSize::PageSizeId PageSizeForEnvironment(const char* lcAll, const char* lcPaper,
                                             const char* lang) {
    for (const char* value : {lcAll, lcPaper, lang}) {
        if (value != nullptr && *value != '\0') {
            return PageSizeForLocale(QLocale(QString::fromLocal8Bit(value)));
        }
    }
    return PageSizeForLocale(QLocale::c());
}

QPageSize::PageSizeId PageSizeFromEnvironment() {
    return PageSizeForEnvironment(std::getenv("LC_ALL"), std::getenv("LC_PAPER"),
                                  std::getenv("LANG"));
}

QStringList ChartDataLines(const BirthChart& chart) {
    QStringList lines;
    for (const ChartFact& fact : SummariseChart(chart).facts) {
        lines.append(Text(fact.label + ": " + fact.value));
    }
    return lines;
}

QByteArray PdfBytes(const PdfContent& content) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageSize(QPageSize(content.pageSize));
        writer.setTitle(content.style.title);
        writer.setCreator(QStringLiteral("Tolvaris"));
        const TextPageFormat format(writer, content.style);
        const std::vector<QStringList> pages = format.Layout(content.lines);
        QPainter painter;
        if (!painter.begin(&writer)) {
            return {};
        }
        const int first = content.chart != nullptr ? 1 : 0;
        const int total = static_cast<int>(pages.size()) + first;
        if (content.chart != nullptr) {
            PaintWheelPage(painter, writer, content);
        }
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0 || first > 0) {
                writer.newPage();
            }
            format.PaintPage(painter, pages[i], static_cast<int>(i) + first + 1, total);
        }
        painter.end();
    }
    return bytes;
}

std::string WritePdf(const std::filesystem::path& path, const PdfContent& content,
                     AtomicFileWriter& writer) {
    const QByteArray bytes = PdfBytes(content);
    if (bytes.isEmpty()) {
        return path.string() + ": the PDF could not be made";
    }
    const std::string error = writer.Write(path, [&](const AtomicFileWriter::Sink& sink) {
        sink(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
    return error.empty() ? std::string() : path.string() + ": " + error;
}

}  // namespace tolvaris
