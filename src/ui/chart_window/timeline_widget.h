#pragma once

#include <QWidget>
#include <optional>

#include "core/forecast/transits.h"
#include "render/transit_timeline.h"

namespace tolvaris {

// The timeline picture of a transit search as a widget, meant for a
// QScrollArea: as tall as its rows need, the legend and the date axis kept
// at the top of what is in sight. A click or the Up and Down keys choose a
// transit.
class TimelineWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimelineWidget)

public:
    explicit TimelineWidget(QWidget* parent = nullptr);

    // `offsetAt` reads the dates in the display zone; `now` is marked.
    void SetSearch(TransitSearch search, TransitSpan span,
                   std::function<int(std::int64_t)> offsetAt, std::optional<std::int64_t> now);
    const TransitSearch& Search() const { return search_; }

    // An index into the search's transits.
    void Choose(std::optional<std::size_t> transit);
    std::optional<std::size_t> Chosen() const { return options_.selected; }

    // The layout of the whole picture at the widget's size, its header where
    // it is in sight; kept until the search, the size or the font change.
    const TimelineLayout& Layout() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void transitChosen(std::size_t transit);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A scroll area moves the widget: the header must follow the view.
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The part of the widget in sight (all of it outside a scroll area).
    QRect Visible() const;
    void FitHeight();

    TransitSearch search_;
    TransitSpan span_;
    TimelineOptions options_;
    // Laying out tens of thousands of rows costs more than drawing the few
    // in sight, so a scroll or a click reuses it.
    mutable std::optional<TimelineLayout> layout_;
};

}  // namespace tolvaris
