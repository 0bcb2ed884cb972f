#include "ui/chart_window/wheel_widget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "render/wheel_image.h"
#include "render/wheel_painter.h"

namespace tolvaris {

WheelWidget::WheelWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("WheelWidget");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The wheel is drawn on white whatever the theme: its colours are chosen for it.
    setAutoFillBackground(false);
    setMouseTracking(true);
}

void WheelWidget::SetChart(const BirthChart& chart) {
    chart_ = chart;
    update();
}

void WheelWidget::ClearChart() {
    chart_.reset();
    lastLayout_ = {};
    update();
}

void WheelWidget::SetOuterRing(std::vector<SkyPosition> outer) {
    outer_ = std::move(outer);
    update();
}

std::string WheelWidget::ExportImage(const std::filesystem::path& path, int sizePixels,
                                     AtomicFileWriter& writer) const {
    if (!chart_) {
        return tr("%1: there is no chart to draw")
            .arg(QString::fromStdString(path.string()))
            .toStdString();
    }
    return WriteWheelImage(path, chart_->chart, sizePixels,
                           QString::fromStdString(chart_->input.name), writer, CaptionOf(*chart_));
}

void WheelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (chart_) {
        // Zoomed, the wheel is laid out larger about the widget's centre and
        // clipped, so hit tests stay in the widget's own coordinates.
        const QRectF area(rect());
        const QSizeF size = area.size() * zoom_;
        const QRectF bounds(area.center() - QPointF(size.width() / 2, size.height() / 2), size);
        lastLayout_ = PaintWheel(painter, bounds, *chart_, outer_);
    }
}

bool WheelWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && chart_) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = WheelToolTip(lastLayout_, chart_->chart, help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void WheelWidget::wheelEvent(QWheelEvent* event) {
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
        QWidget::wheelEvent(event);
        return;
    }
    const qreal steps = event->angleDelta().y() / 120.0;
    zoom_ = std::clamp(zoom_ * std::pow(1.15, steps), 1.0, 4.0);
    event->accept();
    update();
}

void WheelWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (const std::optional<Point> body = WheelBodyAt(lastLayout_, event->position())) {
            emit bodyClicked(*body);
            event->accept();
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

}  // namespace tolvaris
