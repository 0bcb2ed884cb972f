#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tolvaris::bench {

struct ProcessResult {
    int exitCode = -1;   // -1 when it could not be started or did not exit normally
    double seconds = 0;  // from before the start to after the end
};

// Runs a program found on PATH, its standard output going to `output`
// (created or truncated; /dev/null when empty) and its standard input
// from /dev/null. `extraEnvironment` entries ("NAME=value") are added to,
// and take precedence over, this process's environment.
ProcessResult RunProcess(const std::vector<std::string>& arguments,
                         const std::filesystem::path& output = {},
                         const std::vector<std::string>& extraEnvironment = {});

// This executable, for the probes that need a fresh process of their own.
std::filesystem::path SelfExecutable();

// A "Vm..." line of /proc/self/status, in bytes; 0 when it cannot be read.
std::uint64_t StatusBytes(const char* field);

// Makes the peak resident size (VmHWM) start again from the current size.
bool ResetPeakResidentSize();

}  // namespace tolvaris::bench
