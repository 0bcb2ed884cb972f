#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "setup.h"

namespace tolvaris::bench {

// One benchmark's median over its repetitions.
struct Result {
    double seconds = 0;  // per iteration
    std::map<std::string, double> counters;
    std::int64_t repetitions = 0;
    std::string error;  // set when it failed; then nothing else counts
};

// Keeps the medians instead of printing every run; tells progress on stderr.
class CollectingReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;

    // Null when the benchmark did not run.
    const Result* Find(const std::string& name) const;
    bool AnyFailed() const;

private:
    std::map<std::string, Result> results_;
};

// The one table of figures, ratios and targets.
void PrintTable(const CollectingReporter& results, const Setup& setup, std::ostream& out);

}  // namespace tolvaris::bench
