#include "table.h"

#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <thread>

namespace tolvaris::bench {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string FirstLineStarting(const char* path, const std::string& prefix) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return line.substr(prefix.size());
        }
    }
    return {};
}

std::string Trim(std::string text) {
    const auto first = text.find_first_not_of(" \t\":");
    const auto last = text.find_last_not_of(" \t\"");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string MachineKind() {
    const std::string cpu = Trim(FirstLineStarting("/proc/cpuinfo", "model name"));
    const std::string memory = Trim(FirstLineStarting("/proc/meminfo", "MemTotal:"));
    const double memoryGiB = std::atof(memory.c_str()) / kMiB;
    const std::string os = Trim(FirstLineStarting("/etc/os-release", "PRETTY_NAME="));
    std::string kernel;
    std::getline(std::ifstream("/proc/sys/kernel/osrelease"), kernel);
    return cpu + ", " + std::to_string(std::thread::hardware_concurrency()) + " cores, " +
           Format("%.0f", memoryGiB) + " GiB; " + os + ", Linux " + kernel;
}

struct Row {
    std::string measure;
    std::string tolvaris;
    std::string reference;
    std::string ratio;
    std::string target;
    std::string met;
};

class Table {
public:
    explicit Table(const CollectingReporter& results) : results_(results) {}

    // The median of `name`, or null with a row saying why there is none.
    const Result* Need(const std::string& name, const std::string& measure) {
        const Result* result = results_.Find(name);
        if (result == nullptr || !result->error.empty()) {
            rows_.push_back({measure, result == nullptr ? "not run" : "failed: " + result->error,
                             "", "", "", ""});
            return nullptr;
        }
        return result;
    }
    void Add(Row row) { rows_.push_back(std::move(row)); }
    void Print(std::ostream& out) const {
        const Row header = {"measure", "Tolvaris", "compared with", "time ratio", "target", "met"};
        std::vector<std::size_t> width(6, 0);
        auto widen = [&](const Row& row) {
            const std::string* cells[] = {&row.measure, &row.tolvaris, &row.reference,
                                          &row.ratio,   &row.target,   &row.met};
            for (std::size_t i = 0; i < 6; ++i) {
                width[i] = std::max(width[i], cells[i]->size());
            }
        };
        widen(header);
        for (const Row& row : rows_) {
            widen(row);
        }
        auto print = [&](const Row& row) {
            const std::string* cells[] = {&row.measure, &row.tolvaris, &row.reference,
                                          &row.ratio,   &row.target,   &row.met};
            std::string line = "|";
            for (std::size_t i = 0; i < 6; ++i) {
                std::string cell = *cells[i];
                cell.resize(width[i], ' ');
                line += " " + cell + " |";
            }
            out << line << '\n';
        };
        print(header);
        std::string rule = "|";
        for (std::size_t w : width) {
            rule += std::string(w + 2, '-') + "|";
        }
        out << rule << '\n';
        for (const Row& row : rows_) {
            print(row);
        }
    }

private:
    const CollectingReporter& results_;
    std::vector<Row> rows_;
};

std::string Speed(const Result& r) {
    return Format("%.0f MiB/s", r.counters.at("bytes") / kMiB / r.seconds);
}
std::string Ms(double seconds) {
    return Format("%.2f ms", seconds * 1e3);
}
std::string Ratio(double ratio) {
    return Format("%.2f", ratio);
}
std::string Met(bool met) {
    return met ? "yes" : "NO";
}
std::string Runs(const Result& r) {
    return " (" + std::to_string(r.repetitions) + " runs)";
}

void ReaderRows(Table& table, const std::string& label, bool targeted) {
    const std::string measure = "ReadInterpretation, " + label + " file, entry last";
    const Result* reader = table.Need("reader/" + label, measure);
    const Result* grep = table.Need("grep/" + label, measure + " vs grep");
    const Result* cat = table.Need("cat/" + label, measure + " vs cat");
    if (reader == nullptr || grep == nullptr || cat == nullptr) {
        return;
    }
    const double toGrep = reader->seconds / grep->seconds;
    const double toCat = reader->seconds / cat->seconds;
    table.Add({measure, Speed(*reader) + ", " + Ms(reader->seconds),
               "grep -m1 -i '^KEY': " + Speed(*grep) + ", " + Ms(grep->seconds), Ratio(toGrep),
               targeted ? "<= 1.00" : "", targeted ? Met(toGrep <= 1.0) : ""});
    table.Add({"", "", "cat FILE >/dev/null: " + Speed(*cat) + ", " + Ms(cat->seconds),
               Ratio(toCat), targeted ? "<= 2.00" : "", targeted ? Met(toCat <= 2.0) : ""});
}

void AppendRows(Table& table) {
    const Result* small = table.Need("append/1M", "AppendLine, 1M lines of 80 B");
    const Result* large = table.Need("append/10M", "AppendLine, 10M lines of 80 B");
    if (small == nullptr || large == nullptr) {
        return;
    }
    auto floor = [](const Result& r) {
        return "its memory merely touched: " +
               Format("%.1f ns/line", r.counters.at("fresh_memory_seconds_per_line") * 1e9);
    };
    auto toFloor = [](const Result& r) {
        return Ratio(r.seconds / r.counters.at("fresh_memory_seconds_per_line"));
    };
    const double ns = large->seconds * 1e9;
    table.Add({"AppendLine, 1M lines of 80 B", Format("%.1f ns/line", small->seconds * 1e9),
               floor(*small), toFloor(*small), "", ""});
    table.Add({"AppendLine, 10M lines of 80 B", Format("%.1f ns/line", ns), floor(*large),
               toFloor(*large), "<= 30 ns/line", Met(ns <= 30)});
    // Whether a line costs the same at 10M as at 1M: the memory floor of
    // each run is taken out, since what a page fault costs here varies.
    auto overFloor = [](const Result& r) {
        return r.seconds / r.counters.at("fresh_memory_seconds_per_line");
    };
    const double growth = overFloor(*large) / overFloor(*small);
    table.Add({"  10M against 1M, each over its memory floor",
               Format("x%.2f the time per line", growth), "", "", "<= 1.25 (amortized constant)",
               Met(growth <= 1.25)});
    const std::string reusedMeasure = "  the same in memory already in use (no page faults)";
    const Result* reusedSmall = table.Need("append-reused/1M", reusedMeasure + ", 1M");
    const Result* reusedLarge = table.Need("append-reused/10M", reusedMeasure + ", 10M");
    if (reusedSmall != nullptr && reusedLarge != nullptr) {
        table.Add({reusedMeasure,
                   Format("%.1f ns/line (1M), ", reusedSmall->seconds * 1e9) +
                       Format("%.1f ns/line (10M)", reusedLarge->seconds * 1e9),
                   "", "", "", ""});
    }
    for (const auto& [result, label] : {std::pair{small, "1M"}, std::pair{large, "10M"}}) {
        const double peak = result->counters.at("peak_bytes_per_line");
        const double overhead = peak - result->counters.at("text_bytes_per_line");
        const bool targeted = result == large;
        table.Add({std::string("  peak memory, ") + label + " lines",
                   Format("%.1f B/line", peak) + Format(", %.1f beyond the text", overhead), "", "",
                   targeted ? "<= 48 B beyond the text" : "", targeted ? Met(overhead <= 48) : ""});
    }
}

void SaveRows(Table& table) {
    const std::string measure = "WriteDataFile, 1M lines of 80 B";
    const Result* save = table.Need("save/WriteDataFile", measure);
    const Result* cat = table.Need("save/cat", measure + " vs cat");
    if (save == nullptr || cat == nullptr) {
        return;
    }
    const double ratio = save->seconds / cat->seconds;
    table.Add({measure, Speed(*save) + ", " + Ms(save->seconds),
               "cat FILE >NEWFILE: " + Speed(*cat) + ", " + Ms(cat->seconds), Ratio(ratio),
               "<= 1.50", Met(ratio <= 1.5)});
}

void WindowRows(Table& table, const Setup& setup) {
    const std::string typicalMeasure = "Request, typical entry: click to page painted";
    if (const Result* typical = table.Need("request/typical", typicalMeasure)) {
        table.Add({typicalMeasure, Ms(typical->seconds) + Runs(*typical), "", "", "<= 5 ms",
                   Met(typical->seconds <= 0.005)});
    }
    const std::string keywords =
        "Request, keyword page of " +
        Format("%.1f MiB", static_cast<double>(setup.keywordBytes) / kMiB) +
        ": click to all of it in the page view";
    const Result* page = table.Need("request/keywords", keywords);
    const Result* qt = table.Need("qt/keywords", keywords + ", Qt alone");
    if (page != nullptr && qt != nullptr) {
        table.Add({keywords, Ms(page->seconds) + Runs(*page),
                   "Qt alone, QPlainTextEdit::setPlainText: " + Ms(qt->seconds),
                   Ratio(page->seconds / qt->seconds), "<= 300 ms", Met(page->seconds <= 0.3)});
    }
    const std::string firstScreen = "  the same: click to its first screen painted";
    if (const Result* page = table.Need("request/keywords-first-screen", firstScreen)) {
        table.Add({firstScreen, Ms(page->seconds) + Runs(*page), "", "", "", ""});
    }
    const std::pair<const char*, const char*> longLines[] = {
        {"request/long-line", "Request, one unbroken line of 10 MB: click to first screen painted"},
        {"request/zero-keywords",
         "Keywords, 100 MB of zero bytes in one line: click to first screen painted"}};
    for (const auto& [name, measure] : longLines) {
        if (const Result* page = table.Need(name, measure)) {
            table.Add({measure, Ms(page->seconds) + Runs(*page), "", "", "<= 100 ms",
                       Met(page->seconds <= 0.1)});
            const double close = page->counters.at("close_seconds");
            table.Add({"  then, 30 ms on, while it fills: close asked to window gone", Ms(close),
                       "", "", "<= 100 ms", Met(close <= 0.1)});
        }
    }
    const std::string startupMeasure = "Start-up: program made, settings read, window painted";
    if (const Result* startup = table.Need("startup", startupMeasure)) {
        table.Add({startupMeasure, Ms(startup->seconds) + Runs(*startup), "", "", "<= 150 ms",
                   Met(startup->seconds <= 0.15)});
        const double firstPage = startup->counters.at("first_page_seconds");
        table.Add({"  then the first page (output window made)", Ms(firstPage), "", "", "", ""});
        table.Add({"  before it: the QApplication (not Tolvaris)",
                   Ms(startup->counters.at("application_seconds")), "", "", "", ""});
    }
}

}  // namespace

bool CollectingReporter::ReportContext(const Context&) {
    return true;
}

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        const std::string name = run.run_name.function_name;
        if (run.error_occurred) {
            results_[name].error = run.error_message;
            std::cerr << "  " << name << ": FAILED: " << run.error_message << std::endl;
            continue;
        }
        if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") {
            continue;
        }
        Result& result = results_[name];
        result.seconds =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        result.repetitions = run.repetitions;
        for (const auto& [counter, value] : run.counters) {
            result.counters[counter] = value.value;
        }
        std::cerr << "  " << name << ": median " << result.seconds * 1e3 << " ms" << std::endl;
    }
}

const Result* CollectingReporter::Find(const std::string& name) const {
    const auto it = results_.find(name);
    return it == results_.end() ? nullptr : &it->second;
}

bool CollectingReporter::AnyFailed() const {
    return std::any_of(results_.begin(), results_.end(),
                       [](const auto& entry) { return !entry.second.error.empty(); });
}

void PrintTable(const CollectingReporter& results, const Setup& setup, std::ostream& out) {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", std::localtime(&now));

    out << "Tolvaris benchmark, " << date << "\n"
        << "Machine: " << MachineKind() << "\n"
        << "Release build, Qt " << qVersion()
        << " on the offscreen platform; files in the page cache; grep with LC_ALL=C.\n"
        << "Every figure is the median of its runs in this run; a time ratio is Tolvaris's time\n"
        << "over the other's on the same data (below 1: Tolvaris is faster).\n\n";

    Table table(results);
    for (std::size_t i = 0; i < setup.readerLabels.size(); ++i) {
        ReaderRows(table, setup.readerLabels[i], i + 1 == setup.readerLabels.size());
    }
    AppendRows(table);
    SaveRows(table);
    WindowRows(table, setup);
    table.Print(out);
}

}  // namespace tolvaris::bench
