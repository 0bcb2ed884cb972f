// The module itself: the ChartDrawing seam painted offscreen with Qt.
#include "cli/drawing_module.h"

#include <new>
#include <string_view>
#include <type_traits>

#include "render/offscreen_drawing.h"

namespace {

class OffscreenChartDrawing final : public tolvaris::ChartDrawing {
public:
    OffscreenChartDrawing(int& argc, char** argv) : drawing_(argc, argv) {}

    std::string WriteWheel(const tolvaris::BirthChart& chart, const std::string& path,
                           int sizePixels, bool caption) override {
        return drawing_.WriteWheel(chart, path, sizePixels, caption);
    }
    std::string WriteReport(const tolvaris::BirthChart& chart, const std::string& path,
                            const tolvaris::ReadingDocument& document, bool html, bool chartData,
                            const tolvaris::TransitSearch* search,
                            const tolvaris::TransitSpan& span,
                            const std::string& displayZone) override {
        return drawing_.WriteReport(chart, path, document, html, chartData, search, span,
                                    displayZone);
    }
    void SetSecondChart(const tolvaris::BirthChart* second) override {
        drawing_.SetSecondChart(second);
    }

private:
    tolvaris::OffscreenDrawing drawing_;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) tolvaris::ChartDrawing*
tolvaris_chart_drawing_create(const char* version, int* argc, char** argv) {
    if (version == nullptr || argc == nullptr ||
        std::string_view(version) != tolvaris::kDrawingModuleVersion) {
        return nullptr;
    }
    return new (std::nothrow) OffscreenChartDrawing(*argc, argv);
}

// Checked here so a change of the entry point's shape cannot go unnoticed.
static_assert(
    std::is_same_v<decltype(&tolvaris_chart_drawing_create), tolvaris::DrawingModuleCreate>);
