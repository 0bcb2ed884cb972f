#pragma once

#include <filesystem>

#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"

namespace tolvaris {

// The output window's Help: OutputD1.txt of the program folder, line by line
// and unindented, as a new page closed by an empty line. When the file cannot
// be opened the user is told and nothing changes: the current page stays in
// the buffers and in the window. When reading fails part-way, the lines read
// so far are shown and the user is told.
void ShowOutputHelp(PageBuffers& buffers, Notices& notices,
                    const std::filesystem::path& programFolder);

std::filesystem::path OutputHelpFilePath(const std::filesystem::path& programFolder);

}  // namespace tolvaris
