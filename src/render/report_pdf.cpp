#include "render/report_pdf.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "core/chart/chart_summary.h"
#include "core/chart/display_text.h"
#include "core/common/cp1252.h"
#include "core/ephemeris/zodiac.h"
#include "core/relation/relation.h"
#include "render/bi_wheel.h"
#include "render/transit_timeline.h"
#include "render/wheel_glyphs.h"
#include "render/wheel_painter.h"

namespace tolvaris {
namespace {

constexpr qreal kLeading = 1.28;   // line step over the font's own spacing
constexpr int kMinLinesApart = 2;  // no widow or orphan: at least two lines each side
constexpr int kContentsAfterPages = 4;

QString FromPage(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

QFont Book(qreal points, bool bold = false, bool italic = false) {
    QFont font(ReportBookFamily());
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    // Any letter spacing turns off Qt's ligatures, which would give "ﬁ" back
    // to a search or a copy instead of "fi".
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.05);
    return font;
}

QFont Sans(qreal points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

qreal Pixels(qreal points) {
    return points * kReportResolution / 72.0;
}

// One block of the reading laid out in lines at the column's width.
struct LaidBlock {
    std::unique_ptr<QTextLayout> layout;
    ReadingBlock::Kind kind = ReadingBlock::Kind::Paragraph;
    int level = 0;
    qreal step = 0;         // from one line's top to the next
    qreal spaceBefore = 0;  // dropped at the top of a page
    int lineCount() const { return layout->lineCount(); }
};

QFont FontOf(const ReadingBlock& block) {
    switch (block.kind) {
        case ReadingBlock::Kind::Heading:
            return block.level <= 1   ? Book(17, true)
                   : block.level == 2 ? Book(13.5, true)
                                      : Book(11, true);
        case ReadingBlock::Kind::Fact:
            return Book(10);
        case ReadingBlock::Kind::Missing:
            return Book(9.5, false, true);
        case ReadingBlock::Kind::Paragraph:
            break;
    }
    return Book(10.5);
}

LaidBlock Lay(const ReadingBlock& block, qreal width, QPaintDevice* device) {
    LaidBlock laid;
    laid.kind = block.kind;
    laid.level = block.level;
    const QFont font = FontOf(block);
    QString text = FromPage(block.text);
    QList<QTextLayout::FormatRange> formats;
    if (block.kind == ReadingBlock::Kind::Heading && !block.note.empty()) {
        // The family sits beside the heading, smaller and lighter.
        QTextLayout::FormatRange note;
        note.start = static_cast<int>(text.size()) + 1;
        text += QStringLiteral("\u2002") + FromPage(block.note);
        note.length = static_cast<int>(text.size()) - note.start;
        QFont small = Book(8.5, false, true);
        note.format.setFont(small);
        note.format.setForeground(QColor(90, 90, 90));
        formats.append(note);
    }
    laid.layout = std::make_unique<QTextLayout>(text, font, device);
    laid.layout->setFormats(formats);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    // Ragged right: without hyphenation, justified lines open gaps wide
    // enough to read as columns to a text extractor.
    option.setAlignment(Qt::AlignLeft);
    laid.layout->setTextOption(option);
    const QFontMetricsF metrics(font, device);
    laid.step =
        metrics.lineSpacing() * (block.kind == ReadingBlock::Kind::Heading ? 1.1 : kLeading);
    laid.layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = laid.layout->createLine(); line.isValid();
         line = laid.layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += laid.step;
    }
    laid.layout->endLayout();
    const qreal em = metrics.height();
    switch (block.kind) {
        case ReadingBlock::Kind::Heading:
            laid.spaceBefore = block.level <= 2 ? em * 1.4 : em * 1.1;
            break;
        case ReadingBlock::Kind::Paragraph:
            laid.spaceBefore = em * 0.45;
            break;
        case ReadingBlock::Kind::Fact:
        case ReadingBlock::Kind::Missing:
            laid.spaceBefore = em * 0.15;
            break;
    }
    return laid;
}

}  // namespace

std::vector<ReportPlacement> PaginateReport(const std::vector<ReportBlockShape>& blocks,
                                            qreal height) {
    std::vector<ReportPlacement> placed;
    int page = 0;
    qreal y = 0;
    const auto linesFit = [&](qreal top, qreal step) {
        return static_cast<int>(std::floor((height - top) / step + 1e-6));
    };
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const ReportBlockShape& block = blocks[i];
        const int n = block.lines;
        qreal before = y > 0 ? block.spaceBefore : 0;
        if (block.heading) {
            qreal need = before + n * block.step;
            // Headings in a row and the first lines of the text under them.
            for (std::size_t j = i + 1; j < blocks.size(); ++j) {
                need += blocks[j].spaceBefore;
                if (!blocks[j].heading) {
                    need += std::min(blocks[j].lines, kMinLinesApart) * blocks[j].step;
                    break;
                }
                need += blocks[j].lines * blocks[j].step;
            }
            if (y > 0 && y + need > height) {
                ++page;
                y = 0;
                before = 0;
            }
            placed.push_back({i, 0, n, page, y + before});
            y += before + n * block.step;
            continue;
        }
        int start = 0;
        while (start < n) {
            const int room = linesFit(y + before, block.step);
            const int remaining = n - start;
            if (remaining <= room) {
                placed.push_back({i, start, n, page, y + before});
                y += before + remaining * block.step;
                break;
            }
            int take = std::min(room, remaining - kMinLinesApart);
            if (take < kMinLinesApart) {
                take = y > 0 ? 0 : std::max(room, 1);  // a page too short for the rule
            }
            if (take > 0) {
                placed.push_back({i, start, start + take, page, y + before});
                start += take;
            }
            ++page;
            y = 0;
            before = 0;
        }
    }
    return placed;
}

namespace {

QString AspectGlyph(AspectKind kind) {
    switch (kind) {
        case AspectKind::Conjunction:
            return QStringLiteral("\u260C");
        case AspectKind::Sextile:
            return QStringLiteral("\u26B9");
        case AspectKind::Square:
            return QStringLiteral("\u25A1");
        case AspectKind::Trine:
            return QStringLiteral("\u25B3");
        case AspectKind::Opposition:
            return QStringLiteral("\u260D");
    }
    return {};
}

QString DegreeMinute(double degreeInSign) {
    int degrees = static_cast<int>(std::floor(degreeInSign));
    int minutes = static_cast<int>(std::floor((degreeInSign - degrees) * 60.0));
    return QStringLiteral("%1\u00B0%2\u2032").arg(degrees, 2).arg(minutes, 2, 10, QLatin1Char('0'));
}

// The name and the summary's facts; returns the height used.
qreal PaintPerson(QPainter& painter, const BirthChart& chart, const QRectF& area, bool withName) {
    const ChartSummary summary = SummariseChart(chart);
    qreal y = area.top();
    if (withName && !summary.name.empty()) {
        const QFont name = Book(13, true);
        painter.setFont(name);
        const QFontMetricsF m(name, painter.device());
        painter.drawText(QPointF(area.left(), y + m.ascent()),
                         QString::fromStdString(summary.name));
        y += m.lineSpacing() * 1.2;
    }
    const QFont label = Sans(7.5, true);
    const QFont value = Sans(7.5);
    const QFontMetricsF m(value, painter.device());
    qreal labelWidth = 0;
    for (const ChartFact& fact : summary.facts) {
        labelWidth =
            std::max(labelWidth, QFontMetricsF(label, painter.device())
                                     .horizontalAdvance(QString::fromStdString(fact.label)));
    }
    labelWidth += m.averageCharWidth() * 1.5;
    for (const ChartFact& fact : summary.facts) {
        painter.setFont(label);
        painter.drawText(QPointF(area.left(), y + m.ascent()), QString::fromStdString(fact.label));
        painter.setFont(value);
        const QRectF box(area.left() + labelWidth, y, area.width() - labelWidth, area.height());
        QRectF used;
        painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                         QString::fromStdString(fact.value), &used);
        y += std::max(used.height(), m.lineSpacing());
    }
    return y - area.top();
}

// Body, glyph, sign, degree and minute, house, R; returns the height used.
qreal PaintPositions(QPainter& painter, const Chart& chart, QPointF at, qreal width) {
    const QFont text = Sans(7.5);
    const QFont head = Sans(7.5, true);
    const QFont glyphs = GlyphFont(Pixels(8.5));
    const QFontMetricsF m(text, painter.device());
    const qreal row = m.lineSpacing() * 1.15;
    const std::array<qreal, 6> columns = {0, 0.26, 0.36, 0.60, 0.80, 0.92};
    const auto x = [&](std::size_t c) { return at.x() + columns[c] * width; };
    qreal y = at.y() + m.ascent();
    painter.setFont(head);
    painter.drawText(QPointF(x(0), y), QStringLiteral("Body"));
    painter.drawText(QPointF(x(2), y), QStringLiteral("Sign"));
    painter.drawText(QPointF(x(3), y), QStringLiteral("Position"));
    painter.drawText(QPointF(x(4), y), QStringLiteral("House"));
    painter.drawLine(QPointF(at.x(), y + m.descent()), QPointF(at.x() + width, y + m.descent()));
    // The angles' "AC" and "MC" are letters: they take the table's font.
    const auto rowOf = [&](const QString& name, const QString& glyph, const QFont& glyphFont,
                           int sign, double degree, const QString& house, bool retrograde) {
        y += row;
        painter.setFont(text);
        painter.drawText(QPointF(x(0), y), name);
        painter.drawText(
            QPointF(x(2), y),
            QString::fromUtf8(SignName(sign).data(), static_cast<int>(SignName(sign).size())));
        painter.drawText(QPointF(x(3), y), DegreeMinute(degree));
        painter.drawText(QPointF(x(4), y), house);
        if (retrograde) {
            painter.drawText(QPointF(x(5), y), QStringLiteral("R"));
        }
        painter.setFont(glyphFont);
        painter.drawText(QPointF(x(1), y), glyph);
    };
    for (const BodyPlacement& body : chart.bodies) {
        rowOf(QString::fromUtf8(body.name.data(), static_cast<int>(body.name.size())),
              BodyGlyph(body.body), glyphs, body.sign, body.degreeInSign,
              body.house ? QString::number(*body.house) : QString(), body.retrograde);
    }
    if (chart.ascendant) {
        rowOf(QStringLiteral("Ascendant"), QStringLiteral("AC"), text, chart.ascendant->sign,
              chart.ascendant->degreeInSign, QString(), false);
    }
    if (chart.midheaven) {
        rowOf(QStringLiteral("Midheaven"), QStringLiteral("MC"), text, chart.midheaven->sign,
              chart.midheaven->degreeInSign, QString(), false);
    }
    return y + m.descent() - at.y();
}

qreal PaintCusps(QPainter& painter, const Chart& chart, QPointF at, qreal width) {
    if (!chart.cusps) {
        return 0;
    }
    const QFont text = Sans(7.5);
    const QFontMetricsF m(text, painter.device());
    const qreal row = m.lineSpacing() * 1.15;
    qreal y = at.y() + m.ascent();
    painter.setFont(Sans(7.5, true));
    painter.drawText(QPointF(at.x(), y), QStringLiteral("House cusps"));
    painter.setFont(text);
    for (int i = 0; i < 12; ++i) {
        const double longitude = (*chart.cusps)[static_cast<std::size_t>(i)];
        const int sign = static_cast<int>(longitude / 30.0) % 12;
        const qreal column = i < 6 ? 0 : width / 2;  // houses 1-6, then 7-12
        const qreal top = y + row * (1 + i % 6);
        painter.drawText(QPointF(at.x() + column, top),
                         QStringLiteral("%1  %2 %3")
                             .arg(i + 1, 2)
                             .arg(DegreeMinute(longitude - sign * 30.0))
                             .arg(QString::fromUtf8(SignName(sign).data(),
                                                    static_cast<int>(SignName(sign).size()))));
    }
    return row * 7 + m.descent();
}

// The triangle of aspects: a cell for each pair, the aspect's symbol in it.
void PaintAspectGrid(QPainter& painter, const Chart& chart, const QRectF& area) {
    std::vector<Point> points;
    for (const BodyPlacement& body : chart.bodies) {
        points.push_back(body.body);
    }
    if (chart.ascendant) {
        points.push_back(Point::Ascendant);
    }
    const auto n = static_cast<qreal>(points.size());
    if (n < 2) {
        return;
    }
    const qreal cell = std::min(area.width(), area.height()) / n;
    const QFont glyphs = GlyphFont(cell * 0.55);
    // Two letters fill the cell as much as one glyph does.
    const QFont letters = WheelTextFont(cell * 0.36);
    for (std::size_t row = 0; row < points.size(); ++row) {
        const QRectF label(area.left() + static_cast<qreal>(row) * cell,
                           area.top() + static_cast<qreal>(row) * cell, cell, cell);
        const bool ascendant = points[row] == Point::Ascendant;
        painter.setPen(Qt::black);
        painter.setFont(ascendant ? letters : glyphs);
        painter.drawText(label, Qt::AlignCenter,
                         ascendant ? QStringLiteral("AC") : BodyGlyph(points[row]));
        painter.setFont(glyphs);
        for (std::size_t column = 0; column < row; ++column) {
            const QRectF box(area.left() + static_cast<qreal>(column) * cell,
                             area.top() + static_cast<qreal>(row) * cell, cell, cell);
            painter.setPen(QPen(QColor(150, 150, 150), Pixels(0.4)));
            painter.drawRect(box);
            for (const Aspect& aspect : chart.aspects) {
                if ((aspect.first == points[row] && aspect.second == points[column]) ||
                    (aspect.first == points[column] && aspect.second == points[row])) {
                    painter.setPen(AspectFamilyColour(aspect.family));
                    painter.drawText(box, Qt::AlignCenter, AspectGlyph(aspect.kind));
                }
            }
        }
    }
    painter.setPen(Qt::black);
}

TimelineOptions ReportTimelineOptions(const ReportContent& content) {
    TimelineOptions options;
    options.offsetAt = content.timeline.offsetAt;
    options.font = QFont(QStringLiteral("DejaVu Sans"));
    options.font.setPixelSize(static_cast<int>(Pixels(6.5)));
    return options;
}

// The transits of `order` from `from` on that fit in `area`, as a search of
// their own; `from` moves past them. A page of its own (`atLeastOne`) holds
// at least one row, so that the pages after the first come to an end.
TransitSearch TimelinePart(const TransitSearch& search, const std::vector<std::size_t>& order,
                           std::size_t& from, const TimelineOptions& options, const QRectF& area,
                           bool atLeastOne) {
    TransitSearch part;
    for (; from < order.size(); ++from) {
        if ((!atLeastOne || !part.transits.empty()) &&
            TimelineHeight(part.transits.size() + 1, options, area.width()) > area.height()) {
            break;
        }
        part.transits.push_back(search.transits[order[from]]);
    }
    return part;
}

// Returns how many of a forecast's transits (in TimelineOrder) it drew.
std::size_t PaintFirstPage(QPainter& painter, const QRectF& page, const ReportContent& content) {
    painter.setPen(Qt::black);
    const QFont title = Book(18, true);
    const QFontMetricsF tm(title, painter.device());
    painter.setFont(title);
    const QString heading = FromPage(content.document->Title());
    painter.drawText(QRectF(page.left(), page.top(), page.width(), tm.lineSpacing() * 2.4),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, heading);
    const qreal top = page.top() + tm.lineSpacing() * 2.6;
    const qreal wheelSize = page.width() * 0.56;
    const QRectF wheel(page.right() - wheelSize, top, wheelSize, wheelSize);
    const QRectF facts(page.left(), top, page.width() - wheelSize - Pixels(8), wheelSize);
    const Chart& chart = content.chart->chart;
    if (content.outerChart != nullptr) {
        const qreal used = PaintPerson(painter, *content.chart, facts, true);
        PaintPerson(painter, *content.outerChart, facts.adjusted(0, used + Pixels(10), 0, 0), true);
        PaintBiWheel(painter, wheel, chart, content.outerChart->chart,
                     ComputeSynastry(chart, content.outerChart->chart, content.chart->input.orbs));
    } else {
        if (content.chartData) {
            PaintPerson(painter, *content.chart, facts, false);
        }
        PaintWheel(painter, wheel, *content.chart);
    }
    const qreal below = wheel.bottom() + Pixels(14);
    const qreal half = (page.width() - Pixels(16)) / 2;
    const qreal tableHeight = PaintPositions(painter, chart, QPointF(page.left(), below), half);
    if (content.outerChart != nullptr) {
        PaintPositions(painter, content.outerChart->chart,
                       QPointF(page.left() + half + Pixels(16), below), half);
        return 0;
    }
    const qreal cuspsHeight =
        PaintCusps(painter, chart, QPointF(page.left() + half + Pixels(16), below), half);
    const qreal rest = below + std::max(tableHeight, cuspsHeight) + Pixels(14);
    if (content.timeline.search != nullptr) {
        const TimelineOptions options = ReportTimelineOptions(content);
        const QRectF area(page.left(), rest, page.width(), page.bottom() - rest);
        const TransitSearch& search = *content.timeline.search;
        std::size_t drawn = 0;
        const TransitSearch fitting =
            TimelinePart(search, TimelineOrder(search), drawn, options, area, false);
        const TimelineLayout layout = LayoutTimeline(area, fitting, content.timeline.span, options);
        PaintTimeline(painter, layout, fitting, options, area);
        return drawn;
    }
    const qreal gridSize = std::min(page.bottom() - rest, half);
    PaintAspectGrid(painter, chart,
                    QRectF(page.left() + half + Pixels(16), rest, gridSize, gridSize));
    painter.setFont(Sans(7.5, true));
    painter.drawText(QPointF(page.left() + half + Pixels(16), rest - Pixels(3)),
                     QStringLiteral("Aspects"));
    return 0;
}

struct ContentsEntry {
    QString text;
    int level = 0;
    int page = 0;  // printed page number
};

}  // namespace

QString ReportBookFamily() {
    return QStringLiteral("DejaVu Serif");
}

bool PaintReport(QPagedPaintDevice& writer, const ReportContent& content) {
    if (content.document == nullptr || content.chart == nullptr) {
        return false;
    }
    {
        const QString title = FromPage(content.document->Title());
        const QRectF page(0, 0, writer.width(), writer.height());
        const QFont running = Sans(8);
        const QFontMetricsF rm(running, &writer);
        const qreal header = rm.lineSpacing() * 2.2;
        const QRectF body(0, header, page.width(), page.height() - header * 2);

        // The title is the first page's; the reading goes on from the next.
        const std::vector<ReadingBlock>& source = content.document->Blocks();
        std::vector<LaidBlock> blocks;
        blocks.reserve(source.size());
        bool titleSkipped = false;
        std::vector<std::size_t> sourceOf;
        for (std::size_t i = 0; i < source.size(); ++i) {
            if (!titleSkipped && source[i].kind == ReadingBlock::Kind::Heading) {
                titleSkipped = true;
                continue;
            }
            blocks.push_back(Lay(source[i], body.width(), &writer));
            sourceOf.push_back(i);
        }
        std::vector<ReportBlockShape> shapes;
        shapes.reserve(blocks.size());
        for (const LaidBlock& b : blocks) {
            shapes.push_back(
                {b.kind == ReadingBlock::Kind::Heading, b.lineCount(), b.step, b.spaceBefore});
        }
        const std::vector<ReportPlacement> placed = PaginateReport(shapes, body.height());
        const int readingPages = placed.empty() ? 0 : placed.back().page + 1;

        // A contents page for a long reading: its sections, or its entries when
        // it has few sections.
        std::vector<ContentsEntry> contents;
        int contentsPages = 0;
        const QFont contentsFont = Book(10.5);
        const qreal contentsStep = QFontMetricsF(contentsFont, &writer).lineSpacing() * 1.35;
        if (readingPages > kContentsAfterPages) {
            const auto sections =
                std::count_if(blocks.begin(), blocks.end(), [](const LaidBlock& b) {
                    return b.kind == ReadingBlock::Kind::Heading && b.level == 2;
                });
            const int deepest = sections >= 3 ? 2 : 3;
            for (const ReportPlacement& p : placed) {
                const LaidBlock& b = blocks[p.block];
                if (b.kind == ReadingBlock::Kind::Heading && p.first == 0 && b.level <= deepest) {
                    contents.push_back({FromPage(source[sourceOf[p.block]].text), b.level, p.page});
                }
            }
            const qreal titleRoom = QFontMetricsF(Book(15, true), &writer).lineSpacing() * 2;
            const auto perPage =
                static_cast<std::size_t>((body.height() - titleRoom) / contentsStep);
            contentsPages = static_cast<int>((contents.size() + perPage - 1) /
                                             std::max<std::size_t>(perPage, 1));
            for (ContentsEntry& entry : contents) {
                entry.page += 2 + contentsPages;
            }
        }

        QPainter painter;
        if (!painter.begin(&writer)) {
            return false;
        }
        const std::size_t drawnOnFirst = PaintFirstPage(painter, page, content);
        // A forecast's timeline goes on after the first page until every
        // transit has its bar.
        const TimelineOptions timelineOptions = ReportTimelineOptions(content);
        std::vector<TransitSearch> timelinePages;
        if (content.timeline.search != nullptr) {
            const TransitSearch& search = *content.timeline.search;
            const std::vector<std::size_t> order = TimelineOrder(search);
            std::size_t from = drawnOnFirst;
            while (from < order.size()) {
                timelinePages.push_back(
                    TimelinePart(search, order, from, timelineOptions, body, true));
            }
        }
        const int timelineCount = static_cast<int>(timelinePages.size());
        for (ContentsEntry& entry : contents) {
            entry.page += timelineCount;
        }
        const int total = 1 + timelineCount + contentsPages + readingPages;
        int printed = 1;
        const auto newPage = [&] {
            writer.newPage();
            ++printed;
            painter.setPen(QColor(80, 80, 80));
            painter.setFont(running);
            QString name = QString::fromStdString(content.chart->input.name);
            if (content.outerChart != nullptr) {
                name = QString::fromStdString(
                    PairName(content.chart->input.name, content.outerChart->input.name));
            }
            painter.drawText(QPointF(0, rm.ascent()), name.isEmpty() ? title : name);
            painter.drawLine(QPointF(0, rm.lineSpacing() * 1.3),
                             QPointF(page.width(), rm.lineSpacing() * 1.3));
            painter.drawText(
                QRectF(0, page.bottom() - rm.lineSpacing(), page.width(), rm.lineSpacing()),
                Qt::AlignHCenter, QStringLiteral("%1 / %2").arg(printed).arg(total));
            painter.setPen(Qt::black);
        };
        for (const TransitSearch& part : timelinePages) {
            newPage();
            const TimelineLayout layout =
                LayoutTimeline(body, part, content.timeline.span, timelineOptions);
            PaintTimeline(painter, layout, part, timelineOptions, body);
        }
        if (contentsPages > 0) {
            newPage();
            const QFont contentsTitle = Book(15, true);
            painter.setFont(contentsTitle);
            const QFontMetricsF ctm(contentsTitle, &writer);
            painter.drawText(QPointF(0, body.top() + ctm.ascent()), QStringLiteral("Contents"));
            qreal y = body.top() + ctm.lineSpacing() * 2;
            const QFontMetricsF cm(contentsFont, &writer);
            for (const ContentsEntry& entry : contents) {
                if (y + contentsStep > body.bottom()) {
                    newPage();
                    y = body.top();
                }
                painter.setFont(contentsFont);
                const qreal indent = entry.level > 2 ? Pixels(14) : 0;
                const QString number = QString::number(entry.page);
                const qreal numberWidth = cm.horizontalAdvance(number);
                const QString text = cm.elidedText(
                    entry.text, Qt::ElideRight, body.width() - indent - numberWidth - Pixels(24));
                painter.drawText(QPointF(indent, y + cm.ascent()), text);
                painter.drawText(QPointF(body.width() - numberWidth, y + cm.ascent()), number);
                y += contentsStep;
            }
        }
        int current = -1;
        for (const ReportPlacement& p : placed) {
            while (current < p.page) {
                newPage();
                ++current;
            }
            const LaidBlock& block = blocks[p.block];
            painter.setPen(Qt::black);
            if (block.kind == ReadingBlock::Kind::Heading && block.level == 2) {
                painter.setPen(QColor(40, 50, 110));
            }
            const QTextLine firstLine = block.layout->lineAt(p.first);
            const QPointF origin(body.left(), body.top() + p.y - firstLine.y());
            for (int line = p.first; line < p.last; ++line) {
                block.layout->lineAt(line).draw(&painter, origin);
            }
        }
        painter.end();
    }
    return true;
}

QByteArray ReportPdfBytes(const ReportContent& content) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kReportResolution);
        writer.setPageSize(QPageSize(content.pageSize));
        writer.setPageMargins(kReportMargins, QPageLayout::Millimeter);
        if (content.document != nullptr) {
            writer.setTitle(FromPage(content.document->Title()));
        }
        writer.setCreator(QStringLiteral("Tolvaris"));
        if (!PaintReport(writer, content)) {
            return {};
        }
    }
    return bytes;
}

std::string WriteReportPdf(const std::filesystem::path& path, const ReportContent& content,
                           AtomicFileWriter& writer) {
    const QByteArray bytes = ReportPdfBytes(content);
    if (bytes.isEmpty()) {
        return path.string() + ": the report could not be made";
    }
    const std::string error = writer.Write(path, [&](const AtomicFileWriter::Sink& sink) {
        sink(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
    return error.empty() ? std::string() : path.string() + ": " + error;
}

}  // namespace tolvaris
