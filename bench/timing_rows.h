#pragma once

// What the small timing programs beside the benchmark share: the clock,
// medians, and rows in the layout of the benchmark's table.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace tolvaris::bench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

inline void PrintRow(const std::string& measure, const std::string& figure,
                     const std::string& other, const std::string& ratio, const std::string& target,
                     const std::string& met) {
    std::printf("| %-66s | %-37s | %-49s | %-10s | %-28s | %-3s |\n", measure.c_str(),
                figure.c_str(), other.c_str(), ratio.c_str(), target.c_str(), met.c_str());
}

inline std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace tolvaris::bench
