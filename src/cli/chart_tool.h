#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <string_view>

namespace tolvaris {

// Exit statuses of tolvaris-chart.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // anything but the input: atlas missing, output failed
inline constexpr int kExitRefused = 2;  // input refused: one line on `err`, nothing on `out`

// Runs tolvaris-chart with the arguments after the program name. Results go
// to `out`, the one line of a refusal or failure to `err`. The atlas
// (atlas.tsv) is read from `programFolder` only when a place is looked up.
int RunChartTool(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err,
                 const std::filesystem::path& programFolder);

}  // namespace tolvaris
