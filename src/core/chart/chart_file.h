#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/chart/birth_data.h"
#include "core/common/atomic_file.h"

namespace tolvaris {

// The first line of every chart file this program writes and reads.
inline constexpr std::string_view kChartFileVersionLine = "tolvaris-chart 1";

// Birth data is a few hundred bytes; anything larger is not a chart file.
inline constexpr std::size_t kMaxChartFileBytes = std::size_t{64} * 1024;

// The text of a chart file for `birth` (UTF-8, LF line ends, format version
// line first). Control characters in the name and place become spaces, bytes
// that are not UTF-8 "?", and surrounding spaces are dropped, so the file
// always reads back.
std::string FormatChartFile(const BirthData& birth);

struct ChartFileResult {
    std::optional<BirthData> value;
    std::string error;
};

// Parses a chart file's text; `fileName` names the file in messages, which name the file, the
// line number and the field ("chart.chart, line 4: the latitude 95 is outside -90 to 90.").
ChartFileResult ParseChartFile(std::string_view text, std::string_view fileName);

// Reads a file (refusing what is not an ordinary file and anything over 64 KiB) and parses it.
ChartFileResult ReadChartFile(const std::filesystem::path& path);

// Writes atomically and durably through the project's AtomicFileWriter
// (src/core/common/atomic_file.h); returns "" or the reason of the failure.
std::string WriteChartFile(const std::filesystem::path& path, const BirthData& birth,
                           AtomicFileWriter& writer);

}  // namespace tolvaris
