#include "cli/drawing_loader.h"

#include <dlfcn.h>

#include <system_error>
#include <utility>

#include "cli/drawing_module.h"

namespace tolvaris {

ModuleChartDrawing::ModuleChartDrawing(std::filesystem::path modulePath, int& argc, char** argv)
    : modulePath_(std::move(modulePath)), argc_(argc), argv_(argv) {}

// The drawing (and the QGuiApplication in it) goes before the process
// ends; the module stays mapped, as Qt is not made to be unloaded.
ModuleChartDrawing::~ModuleChartDrawing() = default;

ChartDrawing* ModuleChartDrawing::Load() {
    if (tried_) {
        return drawing_.get();
    }
    tried_ = true;
    const std::string shown = modulePath_.string();
    std::error_code ec;
    if (!modulePath_.is_absolute() || !std::filesystem::exists(modulePath_, ec)) {
        error_ = "drawing needs " + shown + ", which is missing";
        return nullptr;
    }
    // RTLD_LOCAL: the module's Qt and its copy of the chart code stay its own.
    void* module = dlopen(modulePath_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = dlerror();
        error_ = shown + " could not be loaded: " + (why != nullptr ? why : "unknown reason");
        return nullptr;
    }
    auto* create = reinterpret_cast<DrawingModuleCreate>(dlsym(module, kDrawingModuleEntry));
    if (create == nullptr) {
        error_ = shown + " is not a drawing module of tolvaris-chart";
        return nullptr;
    }
    drawing_.reset(create(kDrawingModuleVersion, &argc_, argv_));
    if (drawing_ == nullptr) {
        error_ = shown + " belongs to another version of tolvaris-chart (this is " +
                 kDrawingModuleVersion + ")";
    }
    return drawing_.get();
}

std::string ModuleChartDrawing::WriteWheel(const BirthChart& chart, const std::string& path,
                                           int sizePixels, bool caption) {
    ChartDrawing* drawing = Load();
    if (drawing == nullptr) {
        return error_;
    }
    drawing->SetSecondChart(second_);
    return drawing->WriteWheel(chart, path, sizePixels, caption);
}

std::string ModuleChartDrawing::WriteReport(const BirthChart& chart, const std::string& path,
                                            const ReadingDocument& document, bool html,
                                            bool chartData, const TransitSearch* search,
                                            const TransitSpan& span,
                                            const std::string& displayZone) {
    ChartDrawing* drawing = Load();
    if (drawing == nullptr) {
        return error_;
    }
    drawing->SetSecondChart(second_);
    return drawing->WriteReport(chart, path, document, html, chartData, search, span, displayZone);
}

}  // namespace tolvaris
