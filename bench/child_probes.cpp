#include "child_probes.h"

#include <malloc.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "app/program.h"
#include "bench_data.h"
#include "bench_support.h"
#include "core/engine/page_buffers.h"
#include "processes.h"
#include "window_support.h"

namespace tolvaris::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace

namespace {

// Stores `lines` distinct lines into a new pair of buffers; returns the
// seconds it took, or a negative number when not all were stored.
double AppendLines(std::int64_t lines, std::string text, const std::filesystem::path& folder) {
    NullDisplay display;
    QuietNotices notices;
    AtomicFileWriter writer;
    PageBuffers buffers(display, notices, folder, writer);
    const auto start = Clock::now();
    for (std::int64_t i = 0; i < lines; ++i) {
        // Every line differs, as the lines of real pages do.
        std::memcpy(text.data(), &i, sizeof i);
        buffers.AppendLine(Line(text));
    }
    const double seconds = Seconds(start, Clock::now());
    const bool complete =
        buffers.DataCount() == lines && buffers.PageCount() == lines && notices.messages.empty();
    return complete ? seconds : -1;
}

}  // namespace

int RunAppendProbe(std::int64_t lines, std::size_t length, bool reuseMemory,
                   const std::filesystem::path& result) {
    const std::string text = TextLine(42, length);
    if (text.size() < sizeof(std::int64_t)) {
        return 2;
    }
    if (reuseMemory) {
        // Everything from the heap, and nothing given back to the system:
        // a first round then leaves the memory that the measured one uses.
        mallopt(M_MMAP_MAX, 0);
        mallopt(M_TRIM_THRESHOLD, -1);
        if (AppendLines(lines, text, result.parent_path()) < 0) {
            return 4;
        }
    }
    if (!ResetPeakResidentSize()) {
        return 3;
    }
    const std::uint64_t before = StatusBytes("VmRSS");
    const double seconds = AppendLines(lines, text, result.parent_path());
    const std::uint64_t peak = StatusBytes("VmHWM");
    if (seconds < 0) {
        return 4;
    }
    std::ofstream out(result);
    out << seconds << ' ' << (peak > before ? peak - before : 0) << ' ' << lines << '\n';
    out.close();
    return out ? 0 : 5;
}

int RunFreshMemoryProbe(std::uint64_t bytes, const std::filesystem::path& result) {
    constexpr std::size_t kPage = 4096;
    const auto start = Clock::now();
    auto* memory = static_cast<volatile char*>(std::malloc(bytes));
    if (memory == nullptr) {
        return 2;
    }
    for (std::uint64_t at = 0; at < bytes; at += kPage) {
        memory[at] = 1;
    }
    const auto end = Clock::now();
    std::ofstream out(result);
    out << Seconds(start, end) << '\n';
    out.close();
    std::_Exit(out ? 0 : 3);
}

int RunStartupProbe(int argc, char* argv[], const std::filesystem::path& programFolder,
                    const std::filesystem::path& result) {
    UseOffscreenPlatform();
    const auto start = Clock::now();
    QApplication app(argc, argv);
    const auto applicationReady = Clock::now();

    QuietNotices notices;
    NoSaveDialog dialog;
    AtomicFileWriter writer;
    Program program(programFolder, notices, dialog, writer);
    program.Window().show();
    if (!ProcessUntilPainted(program.Window().Button("Command1"))) {
        return 2;
    }
    const auto windowShown = Clock::now();

    QTest::mouseClick(program.Window().Button("OKSigns"), Qt::LeftButton);
    if (program.Output() == nullptr ||
        !ProcessUntilPainted(program.Output()->PageView()->viewport()) ||
        program.Output()->PageView()->document()->isEmpty()) {
        return 3;
    }
    const auto pageShown = Clock::now();

    std::ofstream out(result);
    out << Seconds(start, applicationReady) << ' ' << Seconds(applicationReady, windowShown) << ' '
        << Seconds(windowShown, pageShown) << '\n';
    return out ? 0 : 4;
}

}  // namespace tolvaris::bench
