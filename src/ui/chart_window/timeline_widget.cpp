#include "ui/chart_window/timeline_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <algorithm>
#include <cmath>

namespace tolvaris {

TimelineWidget::TimelineWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("TimelineWidget");
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    options_.font = font();
    options_.words.blending = tr("blending");
    options_.words.harmonizing = tr("harmonizing");
    options_.words.discordant = tr("discordant");
    options_.words.exact = tr("exact");
    options_.words.retrograde = tr("exact, retrograde");
    options_.words.today = tr("today");
    FitHeight();
}

void TimelineWidget::SetSearch(TransitSearch search, TransitSpan span,
                               std::function<int(std::int64_t)> offsetAt,
                               std::optional<std::int64_t> now) {
    search_ = std::move(search);
    span_ = span;
    options_.offsetAt = std::move(offsetAt);
    options_.now = now;
    options_.selected.reset();
    layout_.reset();
    FitHeight();
    update();
}

void TimelineWidget::Choose(std::optional<std::size_t> transit) {
    if (transit && *transit >= search_.transits.size()) {
        transit.reset();
    }
    options_.selected = transit;
    update();
}

QRect TimelineWidget::Visible() const {
    if (qobject_cast<const QScrollArea*>(parentWidget() ? parentWidget()->parentWidget()
                                                        : nullptr) == nullptr) {
        return rect();
    }
    // The scroll area's viewport is the parent.
    return QRect(mapFromParent(QPoint(0, 0)), parentWidget()->size()).intersected(rect());
}

const TimelineLayout& TimelineWidget::Layout() const {
    if (!layout_ || layout_->bounds != QRectF(rect())) {
        layout_ = LayoutTimeline(QRectF(rect()), search_, span_, options_);
    }
    const QPointF down(0, Visible().top() - layout_->header.top());
    layout_->legend.translate(down);
    layout_->axis.translate(down);
    layout_->header.translate(down);
    return *layout_;
}

QSize TimelineWidget::sizeHint() const {
    return {fontMetrics().averageCharWidth() * 90, minimumHeight()};
}

QSize TimelineWidget::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 40, minimumHeight()};
}

void TimelineWidget::FitHeight() {
    setMinimumHeight(
        static_cast<int>(std::ceil(TimelineHeight(search_.transits.size(), options_, width()))));
}

void TimelineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect visible = Visible();
    painter.fillRect(visible, Qt::white);
    PaintTimeline(painter, Layout(), search_, options_, QRectF(visible));
}

void TimelineWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (const std::optional<std::size_t> transit = Layout().TransitAt(event->position())) {
        Choose(transit);
        emit transitChosen(*transit);
    }
}

void TimelineWidget::keyPressEvent(QKeyEvent* event) {
    const TimelineLayout& layout = Layout();
    if (layout.rows.empty() || (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down &&
                                event->key() != Qt::Key_Home && event->key() != Qt::Key_End)) {
        QWidget::keyPressEvent(event);
        return;
    }
    const auto current =
        std::find_if(layout.rows.begin(), layout.rows.end(),
                     [&](const TimelineRow& row) { return options_.selected == row.transit; });
    const auto last = static_cast<std::ptrdiff_t>(layout.rows.size()) - 1;
    std::ptrdiff_t row = current == layout.rows.end() ? -1 : current - layout.rows.begin();
    switch (event->key()) {
        case Qt::Key_Up:
            row = row < 0 ? last : std::max<std::ptrdiff_t>(row - 1, 0);
            break;
        case Qt::Key_Down:
            row = std::min(row + 1, last);
            break;
        case Qt::Key_Home:
            row = 0;
            break;
        default:
            row = last;
            break;
    }
    const TimelineRow& chosen = layout.rows[static_cast<std::size_t>(row)];
    Choose(chosen.transit);
    if (auto* area =
            qobject_cast<QScrollArea*>(parentWidget() ? parentWidget()->parentWidget() : nullptr)) {
        // Clear of the header, which covers the top of the view.
        const int margin = static_cast<int>(layout.header.height() + layout.rowHeight);
        area->ensureVisible(static_cast<int>(chosen.row.center().x()),
                            static_cast<int>(chosen.row.center().y()), 0, margin);
    }
    emit transitChosen(chosen.transit);
}

void TimelineWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        options_.font = font();
        layout_.reset();
        FitHeight();
    }
    QWidget::changeEvent(event);
}

void TimelineWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A narrower legend may take another line.
    FitHeight();
}

void TimelineWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    update();
}

}  // namespace tolvaris
