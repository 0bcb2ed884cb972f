#include "ui/chart_window/wheel_widget.h"

#include <QPainter>

#include "render/wheel_image.h"
#include "render/wheel_painter.h"

namespace tolvaris {

WheelWidget::WheelWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("WheelWidget");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The wheel is drawn on white whatever the theme: its colours are chosen for it.
    setAutoFillBackground(false);
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
                           QString::fromStdString(chart_->input.name), writer);
}

void WheelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (chart_) {
        lastLayout_ = PaintWheel(painter, QRectF(rect()), *chart_, outer_);
    }
}

}  // namespace tolvaris
