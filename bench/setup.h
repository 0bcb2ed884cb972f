#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_data.h"

namespace tolvaris::bench {

// Everything the benchmarks work on, made once per run in a temporary folder.
struct Setup {
    std::filesystem::path work;
    // 1 MiB, 64 MiB and 256 MiB, with their labels.
    std::vector<std::shared_ptr<LazyInterpretationFile>> readerFiles;
    std::vector<std::string> readerLabels;
    // The shipped data files, a settings file and a 10 MiB keywords.txt.
    std::filesystem::path programFolder;
    std::uint64_t keywordBytes = 0;
    // A settings file and SIGN_Lib.TXT whose Sun in Libra is one unbroken
    // line of 10 MB.
    std::filesystem::path longLineFolder;
    // Where saving writes.
    std::filesystem::path saveFolder;
};

// Registers the benchmarks of the core: the reader against grep and cat,
// appending, and saving against cat.
void RegisterCoreBenchmarks(const Setup& setup);

// Registers the benchmarks of the windows: requests end to end and start-up.
// A QApplication must exist when they run.
void RegisterWindowBenchmarks(const Setup& setup);
// Closes the program those benchmarks keep; before the QApplication goes.
void CloseWindowBenchmarks();

}  // namespace tolvaris::bench
