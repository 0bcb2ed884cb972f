#pragma once

#include <cstdint>
#include <filesystem>

namespace tolvaris::bench {

// Measurements that need a process of their own: memory figures would
// otherwise include what earlier benchmarks left behind, and start-up
// includes the first use of fonts and styles.

// Stores `lines` distinct lines of `length` bytes through AppendLine,
// then writes to `result`: seconds, peak resident growth
// in bytes, lines stored. With `reuseMemory` the same is done twice and the
// second round measured, in memory the process already holds: what is left
// is the cost of appending itself, without the system's page faults.
int RunAppendProbe(std::int64_t lines, std::size_t length, bool reuseMemory,
                   const std::filesystem::path& result);

// Writes `bytes` bytes into memory that the process has not used before, a
// page at a time, and writes the seconds it took to `result`: what storing
// anything of that size costs at least on this machine.
int RunFreshMemoryProbe(std::uint64_t bytes, const std::filesystem::path& result);

// Creates the QApplication and then the whole program in `programFolder`,
// shows the main window, clicks "Planet in sign", and writes to `result` the
// seconds for the QApplication, for the program up to the main window on the
// screen, and for that first page.
int RunStartupProbe(int argc, char* argv[], const std::filesystem::path& programFolder,
                    const std::filesystem::path& result);

}  // namespace tolvaris::bench
