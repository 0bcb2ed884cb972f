#include <iostream>
#include <string_view>
#include <vector>

#include "cli/chart_tool.h"
#include "cli/program_folder.h"
#include "render/offscreen_drawing.h"

namespace {

// The command line's drawing seam, painted offscreen with Qt.
class OffscreenChartDrawing : public tolvaris::ChartDrawing {
public:
    OffscreenChartDrawing(int& argc, char** argv) : drawing_(argc, argv) {}

    std::string WriteWheel(const tolvaris::BirthChart& chart, const std::string& path,
                           int sizePixels) override {
        return drawing_.WriteWheel(chart, path, sizePixels);
    }
    std::string WritePdf(const tolvaris::BirthChart& chart, const std::string& path,
                         const std::string& title, const std::vector<std::string>& lines) override {
        return drawing_.WritePdf(chart, path, title, lines);
    }

private:
    tolvaris::OffscreenDrawing drawing_;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    OffscreenChartDrawing drawing(argc, argv);
    return tolvaris::RunChartTool(arguments, std::cout, std::cerr, tolvaris::ProgramFolder(),
                                  &drawing);
}
