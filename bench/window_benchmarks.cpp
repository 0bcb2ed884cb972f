#include <benchmark/benchmark.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/program.h"
#include "bench_support.h"
#include "processes.h"
#include "setup.h"
#include "window_support.h"

namespace tolvaris::bench {
namespace {

// The whole program, made on first use and kept for every request benchmark,
// as one run of Tolvaris would be.
class RunningProgram {
public:
    explicit RunningProgram(std::filesystem::path folder) : folder_(std::move(folder)) {}

    Program* Get() {
        if (!program_) {
            program_ = std::make_unique<Program>(folder_, notices, dialog_, writer_);
            program_->Window().show();
            ProcessUntilPainted(program_->Window().Button("Command1"));
        }
        return program_.get();
    }

    QuietNotices notices;

private:
    std::filesystem::path folder_;
    NoSaveDialog dialog_;
    AtomicFileWriter writer_;
    std::unique_ptr<Program> program_;
};

// How many characters the page view holds once the page file is in it whole:
// a CR LF, a lone CR and a lone LF each end one block.
std::int64_t ExpectedCharacters(const std::filesystem::path& pageFile) {
    std::ifstream in(pageFile, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::int64_t count = static_cast<std::int64_t>(bytes.size()) + 1;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == '\r' && bytes[i + 1] == '\n') {
            --count;
        }
    }
    return count;
}

enum class Until { FirstScreen, WholePage };

// One click on a main window button, up to its page painted in the page view
// (its first screen, for a long page), or up to that and all of the page,
// `characters` long, in the page view. The output window must exist; false
// when the page does not come within 10 s.
bool Click(Program& program, const char* button, Until until, std::int64_t characters) {
    QPlainTextEdit* text = program.Output()->PageView();
    const PaintWatch painted(text->viewport());
    QTest::mouseClick(program.Window().Button(button), Qt::LeftButton);
    if (program.Output() == nullptr || program.Output()->PageView() != text) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!painted.Painted() ||
           (until == Until::WholePage && text->document()->characterCount() != characters)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents();
    }
    return true;
}

// Processes events until the page view holds `characters`; false after 10 s.
bool ProcessUntilWhole(QPlainTextEdit* text, std::int64_t characters) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (text->document()->characterCount() != characters) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents();
    }
    return true;
}

// Kept here, not in the benchmarks, so that it goes before the QApplication does.
std::unique_ptr<RunningProgram> runningProgram;

void RegisterRequest(RunningProgram* running, const char* name, const char* button, Until until,
                     int repetitions, bool clearDataBetween) {
    benchmark::RegisterBenchmark(
        name,
        [running, button, until, clearDataBetween](benchmark::State& state) {
            Program& program = *running->Get();
            // The first page also makes the output window; that is not what a
            // user waits for again and again. The page is then known whole.
            QTest::mouseClick(program.Window().Button(button), Qt::LeftButton);
            if (program.Output() == nullptr ||
                !ProcessUntilPainted(program.Output()->PageView()->viewport())) {
                state.SkipWithError("the output window did not show");
                return;
            }
            const std::int64_t characters = ExpectedCharacters(program.Buffers().PageFilePath());
            QPlainTextEdit* text = program.Output()->PageView();
            if (!ProcessUntilWhole(text, characters)) {
                state.SkipWithError("the page never came whole into the page view");
                return;
            }
            for (auto _ : state) {
                if (clearDataBetween) {
                    state.PauseTiming();
                    program.Buffers().ClearDataBuffer();
                    state.ResumeTiming();
                }
                if (!Click(program, button, until, characters)) {
                    state.SkipWithError("the page was not shown");
                    break;
                }
            }
            // Whatever was timed, the page must then be the one asked for.
            if (!ProcessUntilWhole(text, characters) || !running->notices.messages.empty()) {
                state.SkipWithError("the page is not the one asked for");
            }
            state.counters["characters"] = static_cast<double>(characters);
        })
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}

// The least any program could do with Qt: the same page, already decoded,
// put into a QPlainTextEdit like the page view in one call, up to painted.
void RegisterQtAlone(RunningProgram* running) {
    benchmark::RegisterBenchmark(
        "qt/keywords",
        [running](benchmark::State& state) {
            Program& program = *running->Get();
            QTest::mouseClick(program.Window().Button("Command2"), Qt::LeftButton);
            if (program.Output() == nullptr) {
                state.SkipWithError("the output window did not show");
                return;
            }
            const std::filesystem::path pageFile = program.Buffers().PageFilePath();
            std::ifstream in(pageFile, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
            QString page(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                page[static_cast<qsizetype>(i)] = QChar(static_cast<unsigned char>(bytes[i]));
            }
            QPlainTextEdit* shown = program.Output()->PageView();
            QPlainTextEdit edit;
            edit.setFont(shown->font());
            edit.resize(shown->size());
            edit.show();
            edit.setPlainText(page);
            ProcessUntilPainted(edit.viewport());
            for (auto _ : state) {
                const PaintWatch painted(edit.viewport());
                edit.setPlainText(page);
                while (!painted.Painted()) {
                    QCoreApplication::processEvents();
                }
            }
            state.counters["characters"] = edit.document()->characterCount();
        })
        ->Repetitions(11)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}

constexpr std::chrono::milliseconds kReadingWhileFilled{30};

// A page holding one unbroken line (10 MB of letters in an entry, or a
// keyword file of 100 MB of zero bytes): the click up to its first screen
// painted, then, after 30 ms of filling in (or of nothing, once the page is
// whole), a close asked for as the window manager asks, up to the window gone. The data buffer is
// emptied before each click, so every page is the same.
void RegisterLongLine(const Setup& setup, const char* name, const char* button) {
    benchmark::RegisterBenchmark(
        name,
        [folder = setup.longLineFolder, button](benchmark::State& state) {
            RunningProgram running(folder);
            Program& program = *running.Get();
            double closeSeconds = 0;
            for (auto _ : state) {
                program.Buffers().ClearDataBuffer();
                const auto start = std::chrono::steady_clock::now();
                QTest::mouseClick(program.Window().Button(button), Qt::LeftButton);
                const QPointer<OutputWindow> window = program.Output();
                if (window == nullptr || !ProcessUntilPainted(window->PageView()->viewport(),
                                                              std::chrono::seconds(120))) {
                    state.SkipWithError("the first screen was not painted");
                    break;
                }
                const auto painted = std::chrono::steady_clock::now();
                // The user reads a moment while the rest comes in.
                while (std::chrono::steady_clock::now() - painted < kReadingWhileFilled) {
                    QCoreApplication::processEvents();
                }
                const auto asked = std::chrono::steady_clock::now();
                QCoreApplication::postEvent(window->windowHandle(), new QCloseEvent);
                const auto deadline = asked + std::chrono::seconds(120);
                while (window != nullptr && std::chrono::steady_clock::now() < deadline) {
                    QCoreApplication::processEvents();
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                }
                if (window != nullptr) {
                    state.SkipWithError("the window did not close");
                    break;
                }
                const std::chrono::duration<double> shown = painted - start;
                const std::chrono::duration<double> closed =
                    std::chrono::steady_clock::now() - asked;
                state.SetIterationTime(shown.count());
                closeSeconds = closed.count();
            }
            // Each repetition is one click; the table takes the median.
            state.counters["close_seconds"] = closeSeconds;
            if (!running.notices.messages.empty()) {
                state.SkipWithError("a message was shown");
            }
        })
        ->Repetitions(7)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1);
}

void RegisterStartup(const Setup& setup) {
    const std::filesystem::path result = setup.work / "startup.out";
    const std::string probe =
        "--startup-probe=" + setup.programFolder.string() + "," + result.string();
    benchmark::RegisterBenchmark(
        "startup",
        [probe, result](benchmark::State& state) {
            double application = 0;
            double firstPage = 0;
            for (auto _ : state) {
                const ProcessResult run = RunProcess({SelfExecutable().string(), probe});
                double shown = -1;
                std::ifstream(result) >> application >> shown >> firstPage;
                if (run.exitCode != 0 || shown < 0) {
                    state.SkipWithError("the start-up probe failed");
                    break;
                }
                state.SetIterationTime(shown);
            }
            state.counters["application_seconds"] = application;
            state.counters["first_page_seconds"] = firstPage;
        })
        ->Repetitions(11)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1);
}

}  // namespace

void CloseWindowBenchmarks() {
    runningProgram.reset();
}

void RegisterWindowBenchmarks(const Setup& setup) {
    runningProgram = std::make_unique<RunningProgram>(setup.programFolder);
    RunningProgram* running = runningProgram.get();
    // A typical entry: the start selection, the Sun in Libra, from the shipped library.
    RegisterRequest(running, "request/typical", "OKSigns", Until::WholePage, 51, false);
    RegisterRequest(running, "request/keywords", "Command2", Until::WholePage, 11, true);
    RegisterRequest(running, "request/keywords-first-screen", "Command2", Until::FirstScreen, 11,
                    true);
    RegisterQtAlone(running);
    RegisterLongLine(setup, "request/long-line", "OKSigns");
    RegisterLongLine(setup, "request/zero-keywords", "Command2");
    RegisterStartup(setup);
}

}  // namespace tolvaris::bench
