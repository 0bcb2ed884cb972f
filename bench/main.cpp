// The performance benchmark of Tolvaris. bench/run builds it in release mode
// and runs it on a fresh temporary folder; it prints one table to stdout and
// its progress to stderr.
//
//   tolvaris_bench --work=FOLDER [--shipped-data=FOLDER] [--benchmark_...]
//
// The probes that need a process of their own call this executable again
// with --append-probe, --memory-probe or --startup-probe. --check=all
// compares the fast ways of reading a data file and of showing a long page
// with the plain ones, and prints no figures.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "child_probes.h"
#include "core/settings/settings_file.h"
#include "page_check.h"
#include "setup.h"
#include "table.h"
#include "window_support.h"

namespace tolvaris::bench {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos;
         start = comma + 1) {
        parts.push_back(text.substr(start, comma - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Takes "--name=value" out of argv; empty when it is not there.
std::string TakeOption(int& argc, char* argv[], const char* name) {
    const std::string prefix = std::string("--") + name + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) {
            std::string value = argv[i] + prefix.size();
            for (int j = i; j + 1 < argc; ++j) {
                argv[j] = argv[j + 1];
            }
            --argc;
            return value;
        }
    }
    return {};
}

Setup PrepareData(const std::filesystem::path& work, const std::filesystem::path& shippedData) {
    Setup setup;
    setup.work = work;
    setup.saveFolder = work / "save";
    setup.programFolder = work / "program";
    std::filesystem::create_directories(setup.saveFolder);
    std::filesystem::create_directories(setup.programFolder);

    const std::pair<const char*, std::uint64_t> sizes[] = {
        {"1 MiB", kMiB}, {"64 MiB", 64 * kMiB}, {"256 MiB", 256 * kMiB}};
    std::uint64_t seed = 1;
    for (const auto& [label, bytes] : sizes) {
        setup.readerFiles.push_back(std::make_shared<LazyInterpretationFile>(
            work / ("data-" + std::to_string(bytes / kMiB) + "MiB.TXT"), bytes, seed++));
        setup.readerLabels.emplace_back(label);
    }

    std::cerr << "Making the program folder" << std::endl;
    for (const auto& entry : std::filesystem::directory_iterator(shippedData)) {
        std::filesystem::copy_file(entry.path(), setup.programFolder / entry.path().filename(),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    setup.keywordBytes = WriteTextFile(setup.programFolder / "keywords.txt", 10 * kMiB, 99);
    setup.longLineFolder = work / "long-line";
    std::filesystem::create_directories(setup.longLineFolder);
    std::ofstream(setup.longLineFolder / "SIGN_Lib.TXT", std::ios::binary)
        << "SUN in Libra\r\n"
        << std::string(10'000'000, 'x') << "\r\n*\r\n";
    std::ofstream(setup.longLineFolder / "keywords.txt", std::ios::binary)
        << std::string(100'000'000, '\0');
    AtomicFileWriter writer;
    SettingValues settings;
    settings.outputFontSize = 10;
    for (const auto& folder : {setup.programFolder, setup.longLineFolder}) {
        if (!SaveSettings(folder / std::string(kSettingsFileName), settings, writer).empty()) {
            throw std::runtime_error("cannot write the settings file");
        }
    }
    return setup;
}

int RunBenchmarks(int argc, char* argv[]) {
    const std::string work = TakeOption(argc, argv, "work");
    std::string shipped = TakeOption(argc, argv, "shipped-data");
    if (shipped.empty()) {
        shipped = TOLVARIS_SHIPPED_DATA_DIR;
    }
    if (work.empty() || !std::filesystem::is_directory(work)) {
        std::cerr << "usage: tolvaris_bench --work=EMPTY-FOLDER [--shipped-data=FOLDER] "
                     "[--benchmark_...]\n";
        return 2;
    }

    UseOffscreenPlatform();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }

    const Setup setup = PrepareData(work, shipped);
    RegisterCoreBenchmarks(setup);
    RegisterWindowBenchmarks(setup);

    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    CloseWindowBenchmarks();

    std::cerr << std::endl;
    PrintTable(reporter, setup, std::cout);
    return reporter.AnyFailed() ? 1 : 0;
}

}  // namespace
}  // namespace tolvaris::bench

int main(int argc, char* argv[]) {
    using namespace tolvaris::bench;
    try {
        if (const std::string probe = TakeOption(argc, argv, "append-probe"); !probe.empty()) {
            const auto parts = SplitAtCommas(probe);
            return parts.size() == 4 ? RunAppendProbe(std::stoll(parts[0]), std::stoul(parts[1]),
                                                      parts[2] == "reuse", parts[3])
                                     : 2;
        }
        if (const std::string probe = TakeOption(argc, argv, "memory-probe"); !probe.empty()) {
            const auto parts = SplitAtCommas(probe);
            return parts.size() == 2 ? RunFreshMemoryProbe(std::stoull(parts[0]), parts[1]) : 2;
        }
        if (const std::string probe = TakeOption(argc, argv, "startup-probe"); !probe.empty()) {
            const auto parts = SplitAtCommas(probe);
            return parts.size() == 2 ? RunStartupProbe(argc, argv, parts[0], parts[1]) : 2;
        }
        if (const std::string check = TakeOption(argc, argv, "check"); !check.empty()) {
            UseOffscreenPlatform();
            QApplication app(argc, argv);
            return CheckLongPages() ? 0 : 1;
        }
        return RunBenchmarks(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "tolvaris_bench: " << error.what() << std::endl;
        return 1;
    }
}
