#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <system_error>

#include "bench_support.h"
#include "core/common/atomic_file.h"
#include "core/engine/interpretation_reader.h"
#include "core/engine/page_buffers.h"
#include "core/output/saving.h"
#include "processes.h"
#include "setup.h"

namespace tolvaris::bench {
namespace {

constexpr int kFileRepetitions = 7;
constexpr double kFileMinSeconds = 0.1;

benchmark::internal::Benchmark* MedianOf(benchmark::internal::Benchmark* b, int repetitions) {
    return b->Repetitions(repetitions)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}

void RegisterReader(const std::shared_ptr<LazyInterpretationFile>& lazy, const std::string& label,
                    const std::filesystem::path& work) {
    MedianOf(benchmark::RegisterBenchmark(
                 ("reader/" + label).c_str(),
                 [lazy](benchmark::State& state) {
                     const InterpretationFile& file = lazy->Get();
                     NullDisplay display;
                     QuietNotices notices;
                     AtomicFileWriter writer;
                     PageBuffers buffers(display, notices, file.path.parent_path(), writer);
                     for (auto _ : state) {
                         buffers.ResetPage();
                         buffers.ClearDataBuffer();
                         ReadInterpretation(file.path, file.key, buffers, notices);
                     }
                     if (buffers.DataCount() != file.entryLines || !notices.messages.empty()) {
                         state.SkipWithError("the reader did not find the wanted entry");
                     }
                     state.counters["bytes"] = static_cast<double>(file.bytes);
                 }),
             kFileRepetitions)
        ->UseRealTime()
        ->MinTime(kFileMinSeconds);

    const std::filesystem::path grepOutput = work / ("grep-" + label + ".out");
    MedianOf(benchmark::RegisterBenchmark(
                 ("grep/" + label).c_str(),
                 [lazy, grepOutput](benchmark::State& state) {
                     const InterpretationFile& file = lazy->Get();
                     // What a user would type: the first line that begins with the key.
                     const std::vector<std::string> grep = {
                         "grep", "-m1", "-i", "--", "^" + file.key, file.path.string()};
                     // grep must find the same line, or the comparison means nothing.
                     const ProcessResult check = RunProcess(grep, grepOutput, {"LC_ALL=C"});
                     std::string found;
                     std::getline(std::ifstream(grepOutput), found);
                     if (check.exitCode != 0 || found.rfind(file.key, 0) != 0) {
                         state.SkipWithError("grep did not find the wanted entry");
                         return;
                     }
                     for (auto _ : state) {
                         if (RunProcess(grep, {}, {"LC_ALL=C"}).exitCode != 0) {
                             state.SkipWithError("grep failed");
                             break;
                         }
                     }
                     state.counters["bytes"] = static_cast<double>(file.bytes);
                 }),
             kFileRepetitions)
        ->UseRealTime()
        ->MinTime(kFileMinSeconds);

    MedianOf(benchmark::RegisterBenchmark(
                 ("cat/" + label).c_str(),
                 [lazy](benchmark::State& state) {
                     const InterpretationFile& file = lazy->Get();
                     const std::vector<std::string> cat = {"cat", file.path.string()};
                     for (auto _ : state) {
                         if (RunProcess(cat).exitCode != 0) {
                             state.SkipWithError("cat failed");
                             break;
                         }
                     }
                     state.counters["bytes"] = static_cast<double>(file.bytes);
                 }),
             kFileRepetitions)
        ->UseRealTime()
        ->MinTime(kFileMinSeconds);
}

void RegisterAppend(std::int64_t lines, const std::string& label, const std::filesystem::path& work,
                    int repetitions) {
    constexpr std::size_t kLineLength = 80;
    const std::filesystem::path result = work / ("append-" + label + ".out");
    auto probe = [=](const char* memory) {
        return "--append-probe=" + std::to_string(lines) + "," + std::to_string(kLineLength) + "," +
               memory + "," + result.string();
    };
    // Fresh memory, as right after start-up or "Clear all data": figures in
    // time and in memory, and how long merely touching that memory takes.
    MedianOf(benchmark::RegisterBenchmark(
                 ("append/" + label).c_str(),
                 [probe = probe("fresh"), result](benchmark::State& state) {
                     double peakPerLine = 0;
                     double freshMemoryPerLine = 0;
                     for (auto _ : state) {
                         const ProcessResult run = RunProcess({SelfExecutable().string(), probe});
                         double seconds = 0;
                         double peak = 0;
                         double stored = 0;
                         std::ifstream(result) >> seconds >> peak >> stored;
                         if (run.exitCode != 0 || stored <= 0) {
                             state.SkipWithError("the append probe failed");
                             break;
                         }
                         state.SetIterationTime(seconds / stored);
                         peakPerLine = peak / stored;
                         // The same amount of memory, only touched: the floor this
                         // machine sets, whatever stores the lines.
                         const std::string touch =
                             "--memory-probe=" + std::to_string(static_cast<std::uint64_t>(peak)) +
                             "," + result.string();
                         double touchSeconds = -1;
                         if (RunProcess({SelfExecutable().string(), touch}).exitCode != 0 ||
                             !(std::ifstream(result) >> touchSeconds)) {
                             state.SkipWithError("the memory probe failed");
                             break;
                         }
                         freshMemoryPerLine = touchSeconds / stored;
                     }
                     state.counters["peak_bytes_per_line"] = peakPerLine;
                     state.counters["text_bytes_per_line"] = static_cast<double>(kLineLength);
                     state.counters["fresh_memory_seconds_per_line"] = freshMemoryPerLine;
                 }),
             repetitions)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kNanosecond);

    // Memory the process already holds: the cost of appending itself.
    MedianOf(benchmark::RegisterBenchmark(
                 ("append-reused/" + label).c_str(),
                 [probe = probe("reuse"), result](benchmark::State& state) {
                     for (auto _ : state) {
                         const ProcessResult run = RunProcess({SelfExecutable().string(), probe});
                         double seconds = 0;
                         double peak = 0;
                         double stored = 0;
                         std::ifstream(result) >> seconds >> peak >> stored;
                         if (run.exitCode != 0 || stored <= 0) {
                             state.SkipWithError("the append probe failed");
                             break;
                         }
                         state.SetIterationTime(seconds / stored);
                     }
                 }),
             repetitions)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kNanosecond);
}

// The buffer to save, made on first use: 1 million distinct lines of 80 bytes.
struct SaveInput {
    std::vector<Line> lines;
    const std::vector<Line>& Get() {
        if (lines.empty()) {
            constexpr int kLines = 1'000'000;
            constexpr int kDistinct = 4096;
            std::vector<std::string> texts;
            for (int i = 0; i < kDistinct; ++i) {
                texts.push_back(TextLine(static_cast<std::uint64_t>(i), 80));
            }
            lines.reserve(kLines);
            for (int i = 0; i < kLines; ++i) {
                std::string text = texts[static_cast<std::size_t>(i % kDistinct)];
                const std::string number = std::to_string(i);
                text.replace(0, number.size(), number);
                lines.emplace_back(text);
            }
        }
        return lines;
    }
};

void RegisterSave(const std::filesystem::path& folder) {
    auto input = std::make_shared<SaveInput>();
    const std::filesystem::path saved = folder / "saved.txt";
    const std::filesystem::path copied = folder / "copied.txt";
    const std::filesystem::path source = folder / "source.txt";

    MedianOf(benchmark::RegisterBenchmark(
                 "save/WriteDataFile",
                 [input, saved](benchmark::State& state) {
                     const std::vector<Line>& lines = input->Get();
                     AtomicFileWriter writer;
                     std::error_code ec;
                     for (auto _ : state) {
                         // Both sides write a new file; replacing one costs the same to both.
                         state.PauseTiming();
                         std::filesystem::remove(saved, ec);
                         state.ResumeTiming();
                         if (!WriteDataFile(saved, lines, writer).empty()) {
                             state.SkipWithError("WriteDataFile failed");
                             break;
                         }
                     }
                     state.counters["bytes"] =
                         static_cast<double>(std::filesystem::file_size(saved, ec));
                 }),
             9)
        ->UseRealTime()
        ->Iterations(1);

    MedianOf(benchmark::RegisterBenchmark(
                 "save/cat",
                 [input, source, copied](benchmark::State& state) {
                     AtomicFileWriter writer;
                     std::error_code ec;
                     if (!std::filesystem::exists(source) &&
                         !WriteDataFile(source, input->Get(), writer).empty()) {
                         state.SkipWithError("the source for cat could not be written");
                         return;
                     }
                     const std::vector<std::string> cat = {"cat", source.string()};
                     for (auto _ : state) {
                         state.PauseTiming();
                         std::filesystem::remove(copied, ec);
                         state.ResumeTiming();
                         if (RunProcess(cat, copied).exitCode != 0) {
                             state.SkipWithError("cat failed");
                             break;
                         }
                     }
                     state.counters["bytes"] =
                         static_cast<double>(std::filesystem::file_size(copied, ec));
                 }),
             9)
        ->UseRealTime()
        ->Iterations(1);
}

}  // namespace

void RegisterCoreBenchmarks(const Setup& setup) {
    for (std::size_t i = 0; i < setup.readerFiles.size(); ++i) {
        RegisterReader(setup.readerFiles[i], setup.readerLabels[i], setup.work);
    }
    RegisterAppend(1'000'000, "1M", setup.work, 5);
    RegisterAppend(10'000'000, "10M", setup.work, 3);
    RegisterSave(setup.saveFolder);
}

}  // namespace tolvaris::bench
