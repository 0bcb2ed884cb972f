#pragma once

#include <filesystem>
#include <string_view>

#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"

namespace tolvaris {

// Copies the entry of `dataFile` whose key line begins with `sectionKey`
// (after leading spaces, letter case disregarded) into both buffers, each line
// indented by two spaces, up to the first end-marker line ("*" or "[]").
// Never fails towards its caller: a file that cannot be read is reported in a
// message box.
void ReadInterpretation(const std::filesystem::path& dataFile, std::string_view sectionKey,
                        PageBuffers& buffers, Notices& notices);

}  // namespace tolvaris
