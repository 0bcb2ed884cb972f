#include "render/pdf_document.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

#include "core/chart/chart_summary.h"
#include "render/bi_wheel.h"
#include "render/transit_timeline.h"
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

// The timeline is laid out at the screen's 96 pixels an inch with a font
// sized in pixels, and the painter scaled to the page, so that its rows and
// text keep the proportions they have in the window.
constexpr qreal kTimelineDpi = 96.0;

struct TimelinePages {
    qreal scale = 1;  // page pixels per timeline pixel
    QRectF first;     // the first page's timeline area, below the title
    QRectF next;      // a later page's
    TimelineOptions options;
    std::vector<TransitSearch> pages;  // each page's transits, in the timeline's order
};

std::size_t RowsFitting(const TimelineOptions& options, const QRectF& area) {
    std::size_t rows = 1;
    while (TimelineHeight(rows + 1, options, area.width()) <= area.height()) {
        ++rows;
    }
    return rows;
}

// The timeline's transits cut into pages; the heavy ones come first, as on
// the screen.
TimelinePages PlanTimeline(const PdfContent& content, QPagedPaintDevice& device,
                           qreal titleHeight) {
    TimelinePages plan;
    plan.scale = device.logicalDpiX() / kTimelineDpi;
    const QSizeF page(device.width() / plan.scale, device.height() / plan.scale);
    plan.next = QRectF(QPointF(0, 0), page);
    plan.first =
        QRectF(0, titleHeight / plan.scale, page.width(), page.height() - titleHeight / plan.scale);
    plan.options.offsetAt = content.timeline.offsetAt;
    plan.options.font = QFont(QStringLiteral("DejaVu Sans"));
    plan.options.font.setPixelSize(11);
    const TransitSearch& search = *content.timeline.search;
    const std::vector<std::size_t> order = TimelineOrder(search);
    std::size_t at = 0;
    do {
        const std::size_t fit =
            RowsFitting(plan.options, plan.pages.empty() ? plan.first : plan.next);
        TransitSearch part;
        for (; at < order.size() && part.transits.size() < fit; ++at) {
            part.transits.push_back(search.transits[order[at]]);
        }
        plan.pages.push_back(std::move(part));
    } while (at < order.size());
    return plan;
}

// The title, then the timeline, continued on pages of its own.
void PaintTimelinePages(QPainter& painter, QPagedPaintDevice& device, const PdfContent& content,
                        const TimelinePages& plan) {
    const QFontMetricsF titleMetrics(TitleFont(content), &device);
    painter.setPen(Qt::black);
    painter.setFont(TitleFont(content));
    painter.drawText(QPointF(0, titleMetrics.ascent()), content.style.title);
    for (std::size_t i = 0; i < plan.pages.size(); ++i) {
        if (i > 0) {
            device.newPage();
        }
        const QRectF area = i == 0 ? plan.first : plan.next;
        const TimelineLayout layout =
            LayoutTimeline(area, plan.pages[i], content.timeline.span, plan.options);
        painter.save();
        painter.scale(plan.scale, plan.scale);
        PaintTimeline(painter, layout, plan.pages[i], plan.options, area);
        painter.restore();
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
        int first = content.chart != nullptr ? 1 : 0;
        std::optional<TimelinePages> timeline;
        if (content.chart == nullptr && content.timeline.search != nullptr) {
            const qreal titleHeight =
                QFontMetricsF(TitleFont(content), &writer).lineSpacing() * 1.5;
            timeline = PlanTimeline(content, writer, titleHeight);
            first = static_cast<int>(timeline->pages.size());
        }
        const int total = static_cast<int>(pages.size()) + first;
        if (content.chart != nullptr) {
            PaintWheelPage(painter, writer, content);
        } else if (timeline) {
            PaintTimelinePages(painter, writer, content, *timeline);
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
