#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/chart_tool.h"

namespace tolvaris {

// The drawing of tolvaris-chart, loaded from the drawing module
// (drawing_module.h) at the first wheel or PDF. When the module is missing,
// is not one, or belongs to another version, each call answers a message
// naming the module and why, and nothing is drawn.
class ModuleChartDrawing final : public ChartDrawing {
public:
    // `argc` and `argv` are main()'s, handed to Qt when the module starts it.
    ModuleChartDrawing(std::filesystem::path modulePath, int& argc, char** argv);
    ~ModuleChartDrawing() override;
    ModuleChartDrawing(const ModuleChartDrawing&) = delete;
    ModuleChartDrawing& operator=(const ModuleChartDrawing&) = delete;

    std::string WriteWheel(const BirthChart& chart, const std::string& path, int sizePixels,
                           bool caption) override;
    std::string WriteReport(const BirthChart& chart, const std::string& path,
                            const ReadingDocument& document, bool html, bool chartData,
                            const TransitSearch* search, const TransitSpan& span,
                            const std::string& displayZone) override;
    void SetSecondChart(const BirthChart* second) override { second_ = second; }

private:
    ChartDrawing* Load();

    std::filesystem::path modulePath_;
    int& argc_;
    char** argv_;
    bool tried_ = false;
    std::string error_;
    std::unique_ptr<ChartDrawing> drawing_;
    const BirthChart* second_ = nullptr;
};

}  // namespace tolvaris
