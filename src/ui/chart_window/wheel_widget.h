#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/chart/birth_chart.h"
#include "core/common/atomic_file.h"
#include "render/wheel_layout.h"

namespace tolvaris {

// The chart wheel as a widget: paints through PaintWheel at whatever size its
// layout gives it (crisp on high-density screens, where Qt paints in device
// pixels), and exports the shown chart as PNG or SVG. Ctrl and the mouse
// wheel zoom; a tooltip names what is under the pointer; a click on a body
// reports it.
class WheelWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WheelWidget)

public:
    explicit WheelWidget(QWidget* parent = nullptr);

    void SetChart(const BirthChart& chart);
    void ClearChart();
    bool HasChart() const { return chart_.has_value(); }
    // A bi-wheel: these bodies on a ring around the chart; empty for none.
    void SetOuterRing(std::vector<SkyPosition> outer);

    // The geometry of the last paint, for tests.
    const WheelLayout& LastLayout() const { return lastLayout_; }

    // PNG or SVG by the extension, `sizePixels` square; "" or a message
    // naming the path and the reason. Nothing is written without a chart.
    std::string ExportImage(const std::filesystem::path& path, int sizePixels,
                            AtomicFileWriter& writer) const;

    // Small enough that the chart window opens beside the main window on a
    // small screen; the wheel grows with the window.
    QSize sizeHint() const override { return {360, 360}; }
    QSize minimumSizeHint() const override { return {240, 240}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

signals:
    void bodyClicked(tolvaris::Point body);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::optional<BirthChart> chart_;
    std::vector<SkyPosition> outer_;
    WheelLayout lastLayout_;
    qreal zoom_ = 1.0;
};

}  // namespace tolvaris
