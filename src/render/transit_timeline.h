#pragma once

#include <QFont>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/forecast/transits.h"

class QPainter;

namespace tolvaris {

// The words of the legend, given by the window in the user's language.
struct TimelineWords {
    QString blending = QStringLiteral("blending");
    QString harmonizing = QStringLiteral("harmonizing");
    QString discordant = QStringLiteral("discordant");
    QString exact = QStringLiteral("exact");
    QString retrograde = QStringLiteral("exact, retrograde");
    QString today = QStringLiteral("today");
};

// How a timeline is drawn: the zone its dates are read in, today, the text
// size, the transit to highlight.
struct TimelineOptions {
    // The display zone's offset from UT at an instant, in seconds; empty
    // reads the dates in UT.
    std::function<int(std::int64_t)> offsetAt;
    // Marked when it falls inside the span.
    std::optional<std::int64_t> now;
    // The labels' and the axis' font; the rows' height follows from it.
    QFont font;
    // Index into the search's transits, drawn highlighted.
    std::optional<std::size_t> selected;
    TimelineWords words;
};

// One transit's row: its label at the left, its bar along the dates.
struct TimelineRow {
    std::size_t transit = 0;  // index into the search's transits
    QRectF row;               // the whole row, label included
    QRectF label;
    QRectF bar;  // from entry to exit, or to the span's edge without one
    bool openStart = false;
    bool openEnd = false;
    QString text;  // "Saturn square Sun"
};

struct TimelineTick {
    qreal x = 0;
    bool major = false;  // a month (or year) begins
    QString label;       // empty: a tick without words
};

struct TimelineLayout {
    QRectF bounds;
    // Legend and axis, at the top of the bounds; a scrolled widget moves
    // the three down to the top of what it shows, so they stay in sight.
    QRectF header;
    QRectF legend;
    QRectF axis;
    QRectF plot;  // the bars' part of every row, below the header
    qreal rowHeight = 0;
    std::int64_t fromUt = 0;
    std::int64_t toUt = 0;
    std::vector<TimelineRow> rows;  // top to bottom
    std::vector<TimelineTick> ticks;
    std::optional<qreal> nowX;

    // The x of an instant, clamped to the plot.
    qreal XAt(std::int64_t utSeconds) const;
    // The transit (index into the search's transits) whose row holds the
    // point, none over the header or beside every row.
    std::optional<std::size_t> TransitAt(QPointF point) const;
};

// Whether a transiting body is one of the slow ones, Saturn to Pluto, whose
// transits come first.
bool IsHeavyTransit(Point transiting);

// The rows' order: the heavy transits first, then the others, each part in
// the order the search gives (the order the windows begin).
std::vector<std::size_t> TimelineOrder(const TransitSearch& search);

// "Saturn square Sun".
QString TransitLabel(const Transit& transit);

// The height a timeline of `rowCount` rows needs at this width.
qreal TimelineHeight(std::size_t rowCount, const TimelineOptions& options, qreal width);

// Lays out every transit of `search` over `span` in `bounds`; rows that do
// not fit are still laid out, below the bounds (a widget scrolls to them).
// Needs a QGuiApplication (font metrics).
TimelineLayout LayoutTimeline(const QRectF& bounds, const TransitSearch& search,
                              const TransitSpan& span, const TimelineOptions& options);

// Draws the layout: the legend, the dated axis, one bar per row coloured by
// the aspect's family (and patterned, so that it reads in grey), the exact
// passes (a retrograde one open and marked R), today as a line. Draws no
// background outside the header. Only rows crossing `visible` are drawn
// (all when it is empty).
void PaintTimeline(QPainter& painter, const TimelineLayout& layout, const TransitSearch& search,
                   const TimelineOptions& options, const QRectF& visible = {});

}  // namespace tolvaris
