#include "render/report_html.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "core/chart/chart_summary.h"
#include "core/common/cp1252.h"
#include "core/ephemeris/zodiac.h"
#include "core/relation/relation.h"
#include "render/bi_wheel.h"
#include "render/transit_timeline.h"
#include "render/wheel_glyphs.h"
#include "render/wheel_image.h"

namespace tolvaris {
namespace {

constexpr int kWheelPixels = 900;

constexpr const char* kStyle = R"(
body { margin: 0; background: #fbfaf7; color: #1d1d1f;
  font: 1.05rem/1.6 "DejaVu Serif", "Liberation Serif", Georgia, serif; }
main { max-width: 42rem; margin: 0 auto; padding: 1.2rem 1rem 3rem; }
h1 { font-size: 1.7rem; line-height: 1.25; margin: 0.4rem 0 1rem; }
h2 { font-size: 1.3rem; color: #28326e; margin: 2.2rem 0 0.6rem; }
h3 { font-size: 1.08rem; margin: 1.6rem 0 0.3rem; }
h2, h3 { page-break-after: avoid; break-after: avoid; }
.family { font-size: 0.78em; font-weight: normal; font-style: italic; color: #5a5a5a;
  margin-left: 0.5em; }
p { margin: 0.45rem 0; orphans: 2; widows: 2; }
p.fact { margin: 0.15rem 0; text-align: left; }
figure { margin: 1rem 0; }
figure img { width: 100%; height: auto; display: block; }
table { border-collapse: collapse; width: 100%; font: 0.85rem/1.4 "DejaVu Sans", sans-serif; }
th, td { text-align: left; padding: 0.15rem 0.4rem; border-bottom: 1px solid #ddd; }
dl { display: grid; grid-template-columns: max-content 1fr; gap: 0.1rem 0.8rem;
  font: 0.85rem/1.4 "DejaVu Sans", sans-serif; }
dt { font-weight: bold; }
dd { margin: 0; }
ul.missing { font-style: italic; font-size: 0.9rem; }
@media (max-width: 30rem) { body { font-size: 1rem; } main { padding: 0.8rem 0.7rem; } }
@media print { body { background: none; font-size: 10.5pt; } main { max-width: none; padding: 0; }
  .chart { page-break-after: always; break-after: page; } }
)";

QString Escape(const QString& text) {
    return text.toHtmlEscaped();
}

QString FromPage(const std::string& cp1252) {
    return Escape(QString::fromStdString(Cp1252ToUtf8(cp1252)));
}

QString Utf8(const std::string& text) {
    return Escape(QString::fromStdString(text));
}

QString PngUri(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

QString Figure(const QString& uri, const QString& alt) {
    return QStringLiteral("<figure><img src=\"%1\" alt=\"%2\"></figure>\n").arg(uri, alt);
}

QString WheelPicture(const ReportContent& content) {
    const Chart& chart = content.chart->chart;
    if (content.outerChart == nullptr) {
        return Figure(PngUri(RenderWheelImage(chart, kWheelPixels)),
                      QStringLiteral("The chart wheel"));
    }
    QImage image(kWheelPixels, kWheelPixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintBiWheel(painter, QRectF(0, 0, kWheelPixels, kWheelPixels), chart,
                     content.outerChart->chart,
                     ComputeSynastry(chart, content.outerChart->chart, content.chart->input.orbs));
    }
    return Figure(PngUri(image), QStringLiteral("The two charts in one wheel"));
}

QString TimelinePicture(const ReportContent& content) {
    const TransitSearch& search = *content.timeline.search;
    TimelineOptions options;
    options.offsetAt = content.timeline.offsetAt;
    options.font = QFont(QStringLiteral("DejaVu Sans"));
    options.font.setPixelSize(13);
    constexpr int kWidth = 1000;
    const qreal height = TimelineHeight(search.transits.size(), options, kWidth);
    QImage image(kWidth, static_cast<int>(std::ceil(height)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area(0, 0, kWidth, height);
        const TimelineLayout layout = LayoutTimeline(area, search, content.timeline.span, options);
        PaintTimeline(painter, layout, search, options, area);
    }
    return Figure(PngUri(image), QStringLiteral("The transits along the dates"));
}

QString Person(const BirthChart& chart, bool withName) {
    const ChartSummary summary = SummariseChart(chart);
    QString html;
    if (withName && !summary.name.empty()) {
        html += QStringLiteral("<h2>%1</h2>\n").arg(Utf8(summary.name));
    }
    html += QStringLiteral("<dl>\n");
    for (const ChartFact& fact : summary.facts) {
        html += QStringLiteral("<dt>%1</dt><dd>%2</dd>\n").arg(Utf8(fact.label), Utf8(fact.value));
    }
    return html + QStringLiteral("</dl>\n");
}

QString Positions(const Chart& chart) {
    QString html = QStringLiteral(
        "<table>\n<thead><tr><th>Body</th><th></th><th>Sign</th><th>Position</th><th>House</th>"
        "<th></th></tr></thead>\n<tbody>\n");
    for (const BodyPlacement& body : chart.bodies) {
        const auto degrees = static_cast<int>(std::floor(body.degreeInSign));
        const auto minutes = static_cast<int>(std::floor((body.degreeInSign - degrees) * 60.0));
        html += QStringLiteral(
                    "<tr><td>%1</td><td>%2</td><td>%3 %4</td><td>%5\u00B0%6\u2032</td>"
                    "<td>%7</td><td>%8</td></tr>\n")
                    .arg(Utf8(std::string(body.name)), BodyGlyph(body.body), SignGlyph(body.sign),
                         Utf8(std::string(SignName(body.sign))))
                    .arg(degrees)
                    .arg(minutes, 2, 10, QLatin1Char('0'))
                    .arg(body.house ? QString::number(*body.house) : QString(),
                         body.retrograde ? QStringLiteral("R") : QString());
    }
    return html + QStringLiteral("</tbody>\n</table>\n");
}

}  // namespace

QByteArray ReportHtmlBytes(const ReportContent& content) {
    if (content.document == nullptr || content.chart == nullptr) {
        return {};
    }
    const QString title = FromPage(content.document->Title());
    QString html = QStringLiteral(
                       "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<title>%1</title>\n<style>%2</style>\n</head>\n<body>\n<main>\n")
                       .arg(title, QString::fromUtf8(kStyle));
    html += QStringLiteral("<section class=\"chart\">\n<h1>%1</h1>\n").arg(title);
    const bool two = content.outerChart != nullptr;
    if (content.chartData) {
        html += Person(*content.chart, two);
    }
    if (two) {
        html += Person(*content.outerChart, true);
    }
    html += WheelPicture(content);
    html += Positions(content.chart->chart);
    if (two) {
        html += Positions(content.outerChart->chart);
    }
    if (content.timeline.search != nullptr && !content.timeline.search->transits.empty()) {
        html += TimelinePicture(content);
    }
    html += QStringLiteral("</section>\n");
    bool titleSkipped = false;
    bool inMissing = false;
    for (const ReadingBlock& block : content.document->Blocks()) {
        if (block.kind != ReadingBlock::Kind::Missing && inMissing) {
            html += QStringLiteral("</ul>\n");
            inMissing = false;
        }
        switch (block.kind) {
            case ReadingBlock::Kind::Heading: {
                if (!titleSkipped) {
                    titleSkipped = true;
                    break;
                }
                const int level = std::clamp(block.level, 2, 3);
                html += QStringLiteral("<h%1>%2").arg(level).arg(FromPage(block.text));
                if (!block.note.empty()) {
                    html += QStringLiteral(" <span class=\"family\">%1</span>")
                                .arg(FromPage(block.note));
                }
                html += QStringLiteral("</h%1>\n").arg(level);
                break;
            }
            case ReadingBlock::Kind::Paragraph:
                html += QStringLiteral("<p>%1</p>\n").arg(FromPage(block.text));
                break;
            case ReadingBlock::Kind::Fact:
                html += QStringLiteral("<p class=\"fact\">%1</p>\n").arg(FromPage(block.text));
                break;
            case ReadingBlock::Kind::Missing:
                if (!inMissing) {
                    html += QStringLiteral("<ul class=\"missing\">\n");
                    inMissing = true;
                }
                html += QStringLiteral("<li>%1</li>\n").arg(FromPage(block.text));
                break;
        }
    }
    if (inMissing) {
        html += QStringLiteral("</ul>\n");
    }
    html += QStringLiteral("</main>\n</body>\n</html>\n");
    return html.toUtf8();
}

std::string WriteReportHtml(const std::filesystem::path& path, const ReportContent& content,
                            AtomicFileWriter& writer) {
    const QByteArray bytes = ReportHtmlBytes(content);
    if (bytes.isEmpty()) {
        return path.string() + ": the report could not be made";
    }
    const std::string error = writer.Write(path, [&](const AtomicFileWriter::Sink& sink) {
        sink(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
    return error.empty() ? std::string() : path.string() + ": " + error;
}

}  // namespace tolvaris
