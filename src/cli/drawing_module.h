#pragma once

#include "cli/chart_tool.h"

// The drawing code of tolvaris-chart (Qt Gui and Svg, about fifty libraries
// for the loader to map) lives in a module beside the executable, loaded
// only when --wheel or --pdf asks for it; a chart alone starts without Qt.
// The module and the tool come from one build: the interface they share is
// the C++ ChartDrawing, and the module's one C entry point checks that its
// caller is of the same version before it hands one out.

namespace tolvaris {

// The module's file name in the program folder.
inline constexpr const char* kDrawingModuleFile = "tolvaris-chart-drawing.so";
inline constexpr const char* kDrawingModuleEntry = "tolvaris_chart_drawing_create";
// Written into both halves at build time; a module of another version
// answers nullptr.
inline constexpr const char* kDrawingModuleVersion = TOLVARIS_DRAWING_MODULE_VERSION;

// The entry point: a new drawing (the caller deletes it), or nullptr when
// `version` is not the module's own. `argc` must outlive the drawing.
using DrawingModuleCreate = ChartDrawing* (*)(const char* version, int* argc, char** argv);

}  // namespace tolvaris
