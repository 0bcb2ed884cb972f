#include <iostream>
#include <string_view>
#include <vector>

#include "cli/chart_tool.h"
#include "cli/drawing_loader.h"
#include "cli/drawing_module.h"
#include "cli/program_folder.h"

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    const std::filesystem::path folder = tolvaris::ProgramFolder();
    tolvaris::ModuleChartDrawing drawing(folder / tolvaris::kDrawingModuleFile, argc, argv);
    return tolvaris::RunChartTool(arguments, std::cout, std::cerr, folder, &drawing);
}
