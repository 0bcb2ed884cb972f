#include "render/transit_timeline.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "core/time/time_format.h"
#include "render/wheel_painter.h"

namespace tolvaris {
namespace {

constexpr std::int64_t kDay = 86400;
const QColor kInk(0x20, 0x20, 0x20);
const QColor kGrid(0xd8, 0xd8, 0xd8);
const QColor kStripe(0xf4, 0xf4, 0xf4);
const QColor kSelected(0xff, 0xef, 0xa8);
const QColor kToday(0xd0, 0x60, 0x00);

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::int64_t FloorDiv(std::int64_t value, std::int64_t by) {
    const std::int64_t quotient = value / by;
    return quotient * by > value ? quotient - 1 : quotient;
}

struct Metrics {
    qreal line;
    qreal rowHeight;
    qreal legendHeight;
    qreal axisHeight;
};

Metrics MetricsOf(const QFont& font) {
    const qreal line = QFontMetricsF(font).height();
    const qreal row = std::ceil(line * 1.5);
    return {line, row, row, std::ceil(line * 1.9)};
}

// The UT instant of a local midnight, `days` after 1970-01-01 in the zone.
std::int64_t UtOfLocalMidnight(std::int64_t days, const TimelineOptions& options) {
    const std::int64_t local = days * kDay;
    if (!options.offsetAt) {
        return local;
    }
    std::int64_t ut = local - options.offsetAt(local);
    // Once more, from an instant on the right side of a change of offset.
    ut = local - options.offsetAt(ut);
    return ut;
}

CivilDate LocalDate(std::int64_t ut, const TimelineOptions& options) {
    const int offset = options.offsetAt ? options.offsetAt(ut) : 0;
    return DateFromDaysSinceEpoch(FloorDiv(ut + offset, kDay));
}

// Month starts (or, when months are too narrow for a word, years), and
// day ticks when the days are wide enough to tell apart.
std::vector<TimelineTick> Ticks(const TimelineLayout& layout, const TimelineOptions& options) {
    const QFontMetricsF metrics(options.font);
    const double days = static_cast<double>(layout.toUt - layout.fromUt) / kDay;
    const double perDay = layout.plot.width() / std::max(days, 1.0 / 24);
    const qreal pad = metrics.averageCharWidth();
    // Month names, else their initials, else years only.
    const bool monthNames = perDay * 28 >= metrics.horizontalAdvance("May") + 2 * pad;
    const bool monthWords = monthNames || perDay * 28 >= metrics.horizontalAdvance("M") + pad;
    const bool dayTicks = perDay >= 4;
    int yearStep = 1;
    for (const int step : {1, 2, 5, 10, 20, 25, 50, 100}) {
        yearStep = step;
        if (perDay * 365 * step >= metrics.horizontalAdvance("2027") + 2 * pad) {
            break;
        }
    }
    int dayStep = 0;
    for (const int step : {1, 2, 5, 10}) {
        if (perDay * step >= metrics.horizontalAdvance("30") + pad) {
            dayStep = step;
            break;
        }
    }

    std::vector<TimelineTick> ticks;
    const CivilDate first = LocalDate(layout.fromUt, options);
    const CivilDate last = LocalDate(layout.toUt - 1, options);
    bool yearShown = false;
    for (int year = first.year; year <= last.year; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const CivilDate start{year, month, 1};
            const std::int64_t monthDays = DaysSinceEpoch(start);
            const std::int64_t ut = UtOfLocalMidnight(monthDays, options);
            const CivilDate next =
                month == 12 ? CivilDate{year + 1, 1, 1} : CivilDate{year, month + 1, 1};
            const std::int64_t nextUt = UtOfLocalMidnight(DaysSinceEpoch(next), options);
            if (nextUt <= layout.fromUt || ut >= layout.toUt) {
                continue;
            }
            if (ut >= layout.fromUt) {
                TimelineTick tick;
                tick.x = layout.XAt(ut);
                tick.major = monthWords || (month == 1 && year % yearStep == 0);
                if (monthWords) {
                    tick.label = QString::fromLatin1(kMonths[static_cast<std::size_t>(month - 1)]);
                    if (!monthNames) {
                        tick.label = month == 1 ? QString::number(year) : tick.label.left(1);
                    } else if (month == 1 || !yearShown) {
                        tick.label += QStringLiteral(" %1").arg(year);
                        yearShown = true;
                    }
                } else if (month == 1 && year % yearStep == 0) {
                    tick.label = QString::number(year);
                }
                if (monthWords || month == 1) {
                    ticks.push_back(tick);
                }
            } else if (monthNames && !yearShown) {
                // The range begins inside a month: name it at the left edge.
                TimelineTick tick;
                tick.x = layout.plot.left();
                tick.label =
                    QStringLiteral("%1 %2")
                        .arg(QString::fromLatin1(kMonths[static_cast<std::size_t>(month - 1)]))
                        .arg(year);
                yearShown = true;
                ticks.push_back(tick);
            }
            if (!dayTicks) {
                continue;
            }
            const std::int64_t lastDay = DaysSinceEpoch(next);
            for (std::int64_t day = monthDays + 1; day < lastDay; ++day) {
                const std::int64_t dayUt = UtOfLocalMidnight(day, options);
                if (dayUt < layout.fromUt || dayUt >= layout.toUt) {
                    continue;
                }
                TimelineTick tick;
                tick.x = layout.XAt(dayUt);
                const int dayOfMonth = static_cast<int>(day - monthDays) + 1;
                if (dayStep > 0 && dayOfMonth % dayStep == 0 && dayOfMonth <= 28) {
                    tick.label = QString::number(dayOfMonth);
                }
                ticks.push_back(tick);
            }
        }
    }
    // Words that would run into the previous ones are left out, month
    // names before day numbers.
    std::sort(ticks.begin(), ticks.end(),
              [](const TimelineTick& a, const TimelineTick& b) { return a.x < b.x; });
    std::vector<std::pair<qreal, qreal>> taken;
    for (const bool major : {true, false}) {
        for (TimelineTick& tick : ticks) {
            if (tick.label.isEmpty() || tick.major != major) {
                continue;
            }
            const qreal from = tick.x + pad / 2;
            const qreal to = from + metrics.horizontalAdvance(tick.label) + pad;
            const bool clear = to <= layout.plot.right() + pad &&
                               std::none_of(taken.begin(), taken.end(), [&](const auto& span) {
                                   return from < span.second && span.first < to;
                               });
            if (clear) {
                taken.emplace_back(from, to);
            } else {
                tick.label.clear();
            }
        }
    }
    return ticks;
}

QColor Lighter(const QColor& colour, qreal towardsWhite) {
    return QColor::fromRgbF(colour.redF() + (1 - colour.redF()) * towardsWhite,
                            colour.greenF() + (1 - colour.greenF()) * towardsWhite,
                            colour.blueF() + (1 - colour.blueF()) * towardsWhite);
}

// Blending solid and dark, harmonizing pale, discordant hatched: three
// greys that still differ on a black-and-white page.
void FillFamily(QPainter& painter, const QRectF& rect, AspectFamily family) {
    const QColor colour = AspectFamilyColour(family);
    switch (family) {
        case AspectFamily::Blending:
            painter.fillRect(rect, colour);
            break;
        case AspectFamily::Harmonizing:
            painter.fillRect(rect, Lighter(colour, 0.65));
            break;
        case AspectFamily::Discordant:
            painter.fillRect(rect, Lighter(colour, 0.8));
            painter.fillRect(rect, QBrush(colour, Qt::BDiagPattern));
            break;
    }
}

void DrawBarOutline(QPainter& painter, const QRectF& bar, AspectFamily family, bool openStart,
                    bool openEnd) {
    painter.setPen(QPen(AspectFamilyColour(family).darker(130), 1.0));
    painter.drawLine(bar.topLeft(), bar.topRight());
    painter.drawLine(bar.bottomLeft(), bar.bottomRight());
    if (!openStart) {
        painter.drawLine(bar.topLeft(), bar.bottomLeft());
    }
    if (!openEnd) {
        painter.drawLine(bar.topRight(), bar.bottomRight());
    }
}

QPainterPath Diamond(QPointF centre, qreal half) {
    QPainterPath path;
    path.moveTo(centre + QPointF(0, -half));
    path.lineTo(centre + QPointF(half, 0));
    path.lineTo(centre + QPointF(0, half));
    path.lineTo(centre + QPointF(-half, 0));
    path.closeSubpath();
    return path;
}

// A direct pass is a filled diamond; a retrograde one an open diamond with
// an R beside it.
void DrawPass(QPainter& painter, QPointF centre, qreal half, bool retrograde, const QFont& small) {
    const QPainterPath diamond = Diamond(centre, half);
    if (retrograde) {
        painter.setPen(QPen(kInk, 1.2));
        painter.setBrush(Qt::white);
        painter.drawPath(diamond);
        painter.setFont(small);
        const QFontMetricsF metrics(small);
        painter.drawText(QPointF(centre.x() + half + 1, centre.y() + metrics.ascent() / 2 - 1),
                         QStringLiteral("R"));
    } else {
        painter.setPen(QPen(Qt::white, 1.0));
        painter.setBrush(kInk);
        painter.drawPath(diamond);
    }
    painter.setBrush(Qt::NoBrush);
}

enum class LegendMark { Family, Pass, RetrogradePass, Today };

struct LegendItem {
    LegendMark mark;
    AspectFamily family;
    const QString* text;
    qreal x = 0;
    int line = 0;
};

qreal SwatchSize(const QFontMetricsF& metrics) {
    return std::round(metrics.height() * 0.7);
}

qreal MarkWidth(LegendMark mark, const QFontMetricsF& metrics) {
    const qreal swatch = SwatchSize(metrics);
    switch (mark) {
        case LegendMark::Family:
            return 2 * swatch;
        case LegendMark::RetrogradePass:
            return swatch + metrics.horizontalAdvance("R") + 1;
        default:
            return swatch;
    }
}

// The legend's items placed on as many lines as `width` needs.
std::vector<LegendItem> PlaceLegend(const TimelineOptions& options, qreal width, int& lines) {
    const QFontMetricsF metrics(options.font);
    std::vector<LegendItem> items = {
        {LegendMark::Family, AspectFamily::Blending, &options.words.blending},
        {LegendMark::Family, AspectFamily::Harmonizing, &options.words.harmonizing},
        {LegendMark::Family, AspectFamily::Discordant, &options.words.discordant},
        {LegendMark::Pass, AspectFamily::Blending, &options.words.exact},
        {LegendMark::RetrogradePass, AspectFamily::Blending, &options.words.retrograde},
        {LegendMark::Today, AspectFamily::Blending, &options.words.today}};
    const qreal space = metrics.averageCharWidth();
    qreal x = space;
    lines = 1;
    for (LegendItem& item : items) {
        const qreal itemWidth =
            MarkWidth(item.mark, metrics) + space / 2 + metrics.horizontalAdvance(*item.text);
        if (x > space && x + itemWidth > width) {
            x = space;
            ++lines;
        }
        item.x = x;
        item.line = lines - 1;
        x += itemWidth + 2 * space;
    }
    return items;
}

void PaintLegend(QPainter& painter, const TimelineLayout& layout, const TimelineOptions& options,
                 qreal top) {
    const QFontMetricsF metrics(options.font);
    const qreal swatch = SwatchSize(metrics);
    const qreal lineHeight = MetricsOf(options.font).legendHeight;
    int lines = 0;
    painter.setFont(options.font);
    for (const LegendItem& item : PlaceLegend(options, layout.bounds.width(), lines)) {
        if (item.mark == LegendMark::Today && !layout.nowX) {
            continue;
        }
        const qreal mid = top + lineHeight * (item.line + 0.5);
        const qreal x = layout.bounds.left() + item.x;
        switch (item.mark) {
            case LegendMark::Family: {
                const QRectF box(x, mid - swatch / 2, swatch * 2, swatch);
                FillFamily(painter, box, item.family);
                DrawBarOutline(painter, box, item.family, false, false);
                break;
            }
            case LegendMark::Pass:
            case LegendMark::RetrogradePass:
                DrawPass(painter, QPointF(x + swatch / 2, mid), swatch / 2,
                         item.mark == LegendMark::RetrogradePass, options.font);
                break;
            case LegendMark::Today:
                painter.setPen(QPen(kToday, 2.0, Qt::DashLine));
                painter.drawLine(QPointF(x + swatch / 2, mid - swatch / 2),
                                 QPointF(x + swatch / 2, mid + swatch / 2));
                break;
        }
        painter.setPen(kInk);
        painter.setFont(options.font);
        painter.drawText(QPointF(x + MarkWidth(item.mark, metrics) + metrics.averageCharWidth() / 2,
                                 mid + metrics.ascent() / 2 - metrics.descent() / 2),
                         *item.text);
    }
}

qreal LegendHeight(const TimelineOptions& options, qreal width) {
    int lines = 0;
    PlaceLegend(options, width, lines);
    return MetricsOf(options.font).legendHeight * lines;
}

void PaintAxis(QPainter& painter, const TimelineLayout& layout, const TimelineOptions& options,
               qreal top) {
    const QFontMetricsF metrics(options.font);
    const qreal bottom = top + layout.axis.height();
    painter.setFont(options.font);
    for (const TimelineTick& tick : layout.ticks) {
        const qreal length = tick.major ? layout.axis.height() * 0.45 : layout.axis.height() * 0.2;
        painter.setPen(QPen(kInk, tick.major ? 1.2 : 0.8));
        painter.drawLine(QPointF(tick.x, bottom - length), QPointF(tick.x, bottom));
        if (!tick.label.isEmpty()) {
            painter.drawText(QPointF(tick.x + metrics.averageCharWidth() / 2,
                                     bottom - layout.axis.height() * 0.45 + metrics.ascent() -
                                         metrics.height() + 1),
                             tick.label);
        }
    }
    painter.setPen(QPen(kInk, 1.0));
    painter.drawLine(QPointF(layout.plot.left(), bottom), QPointF(layout.plot.right(), bottom));
    if (layout.nowX) {
        const qreal half = metrics.height() * 0.3;
        QPainterPath mark;
        mark.moveTo(*layout.nowX - half, bottom - 2 * half);
        mark.lineTo(*layout.nowX + half, bottom - 2 * half);
        mark.lineTo(*layout.nowX, bottom);
        mark.closeSubpath();
        painter.fillPath(mark, kToday);
    }
}

}  // namespace

qreal TimelineLayout::XAt(std::int64_t utSeconds) const {
    if (toUt <= fromUt) {
        return plot.left();
    }
    const std::int64_t clamped = std::clamp(utSeconds, fromUt, toUt);
    return plot.left() + plot.width() * static_cast<double>(clamped - fromUt) /
                             static_cast<double>(toUt - fromUt);
}

std::optional<std::size_t> TimelineLayout::TransitAt(QPointF point) const {
    if (point.y() < plot.top() || header.contains(point) || rowHeight <= 0 ||
        point.x() < bounds.left() || point.x() > bounds.right()) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>((point.y() - plot.top()) / rowHeight);
    if (index >= rows.size()) {
        return std::nullopt;
    }
    return rows[index].transit;
}

bool IsHeavyTransit(Point transiting) {
    return transiting >= Point::Saturn && transiting <= Point::Pluto;
}

std::vector<std::size_t> TimelineOrder(const TransitSearch& search) {
    std::vector<std::size_t> order;
    for (const bool heavy : {true, false}) {
        for (std::size_t i = 0; i < search.transits.size(); ++i) {
            if (IsHeavyTransit(search.transits[i].transiting) == heavy) {
                order.push_back(i);
            }
        }
    }
    return order;
}

QString TransitLabel(const Transit& transit) {
    const auto text = [](std::string_view words) {
        return QString::fromUtf8(words.data(), static_cast<qsizetype>(words.size()));
    };
    return text(PointName(transit.transiting)) + ' ' + text(AspectKindName(transit.kind)) + ' ' +
           text(NatalPointName(transit.natal));
}

qreal TimelineHeight(std::size_t rowCount, const TimelineOptions& options, qreal width) {
    const Metrics metrics = MetricsOf(options.font);
    return LegendHeight(options, width) + metrics.axisHeight +
           metrics.rowHeight * static_cast<qreal>(rowCount) + metrics.line / 2;
}

TimelineLayout LayoutTimeline(const QRectF& bounds, const TransitSearch& search,
                              const TransitSpan& span, const TimelineOptions& options) {
    const Metrics metrics = MetricsOf(options.font);
    const QFontMetricsF text(options.font);
    TimelineLayout layout;
    layout.bounds = bounds;
    layout.rowHeight = metrics.rowHeight;
    layout.fromUt = span.fromUt;
    layout.toUt = span.toUt;
    layout.legend =
        QRectF(bounds.left(), bounds.top(), bounds.width(), LegendHeight(options, bounds.width()));
    layout.axis = QRectF(bounds.left(), layout.legend.bottom(), bounds.width(), metrics.axisHeight);
    layout.header = layout.legend.united(layout.axis);

    const std::vector<std::size_t> order = TimelineOrder(search);
    qreal widest = text.horizontalAdvance("Saturn square Sun");
    std::vector<QString> labels;
    for (const std::size_t index : order) {
        labels.push_back(TransitLabel(search.transits[index]));
        widest = std::max(widest, text.horizontalAdvance(labels.back()));
    }
    const qreal pad = text.averageCharWidth();
    // Long labels are cut rather than squeezing the bars.
    const qreal labelWidth =
        std::clamp(widest + 2 * pad, bounds.width() * 0.12, bounds.width() * 0.35);
    const qreal plotTop = bounds.top() + layout.header.height();
    layout.plot = QRectF(bounds.left() + labelWidth, plotTop,
                         std::max<qreal>(bounds.width() - labelWidth - 2 * pad, 1),
                         metrics.rowHeight * static_cast<qreal>(order.size()));
    layout.axis.setLeft(layout.plot.left());
    layout.axis.setRight(layout.plot.right());

    const qreal barHeight = std::round(metrics.rowHeight * 0.55);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Transit& transit = search.transits[order[i]];
        TimelineRow row;
        row.transit = order[i];
        row.row = QRectF(bounds.left(), plotTop + metrics.rowHeight * static_cast<qreal>(i),
                         bounds.width(), metrics.rowHeight);
        row.label =
            QRectF(bounds.left() + pad, row.row.top(), labelWidth - 2 * pad, metrics.rowHeight);
        row.openStart = !transit.enter;
        row.openEnd = !transit.leave;
        const qreal from = layout.XAt(transit.enter.value_or(span.fromUt));
        const qreal to = layout.XAt(transit.leave.value_or(span.toUt));
        // A window of an hour still shows as a sliver.
        row.bar = QRectF(from, row.row.center().y() - barHeight / 2, std::max<qreal>(to - from, 2),
                         barHeight);
        row.text = labels[i];
        layout.rows.push_back(row);
    }
    layout.ticks = Ticks(layout, options);
    if (options.now && *options.now >= span.fromUt && *options.now < span.toUt) {
        layout.nowX = layout.XAt(*options.now);
    }
    return layout;
}

void PaintTimeline(QPainter& painter, const TimelineLayout& layout, const TransitSearch& search,
                   const TimelineOptions& options, const QRectF& visible) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFontMetricsF metrics(options.font);
    QFont small = options.font;
    small.setPointSizeF(std::max(options.font.pointSizeF() * 0.8, 1.0));
    if (options.font.pixelSize() > 0) {
        small.setPixelSize(std::max(1, options.font.pixelSize() * 4 / 5));
    }
    small.setBold(true);

    const auto shown = [&](const TimelineRow& row) {
        return visible.isEmpty() || visible.intersects(row.row);
    };
    for (std::size_t i = 0; i < layout.rows.size(); ++i) {
        const TimelineRow& row = layout.rows[i];
        if (!shown(row)) {
            continue;
        }
        if (options.selected == row.transit) {
            painter.fillRect(row.row, kSelected);
        } else if (i % 2 == 1) {
            painter.fillRect(row.row, kStripe);
        }
    }
    painter.setPen(QPen(kGrid, 1.0));
    for (const TimelineTick& tick : layout.ticks) {
        if (tick.major) {
            painter.drawLine(QPointF(tick.x, layout.plot.top()),
                             QPointF(tick.x, layout.plot.bottom()));
        }
    }
    for (const TimelineRow& row : layout.rows) {
        if (!shown(row)) {
            continue;
        }
        const Transit& transit = search.transits[row.transit];
        painter.setPen(kInk);
        painter.setFont(options.font);
        painter.drawText(row.label, Qt::AlignVCenter | Qt::AlignLeft,
                         metrics.elidedText(row.text, Qt::ElideRight, row.label.width()));
        const AspectFamily family = FamilyOf(transit.kind);
        FillFamily(painter, row.bar, family);
        DrawBarOutline(painter, row.bar, family, row.openStart, row.openEnd);
        for (const ExactPass& pass : transit.exact) {
            DrawPass(painter, QPointF(layout.XAt(pass.utSeconds), row.bar.center().y()),
                     row.bar.height() * 0.6, pass.retrograde, small);
        }
    }
    if (layout.nowX) {
        painter.setPen(QPen(kToday, 2.0, Qt::DashLine));
        painter.drawLine(QPointF(*layout.nowX, layout.plot.top()),
                         QPointF(*layout.nowX, layout.plot.bottom()));
    }
    // The header last, over any row scrolled beneath it.
    painter.fillRect(layout.header, Qt::white);
    PaintLegend(painter, layout, options, layout.legend.top());
    PaintAxis(painter, layout, options, layout.axis.top());
    painter.restore();
}

}  // namespace tolvaris
