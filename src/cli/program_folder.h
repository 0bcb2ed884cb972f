#pragma once

#include <filesystem>

namespace tolvaris {

// The folder of the running executable's real path (through /proc/self/exe,
// so a link in bin/ leads to the program folder with the data files), or
// empty when the system does not say.
std::filesystem::path ProgramFolder();

}  // namespace tolvaris
