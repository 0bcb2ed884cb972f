#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string_view>

namespace tolvaris {

// Runs the collection and batch commands (--batch, --import, --export-aaf,
// --find; docs/cli.md) when the first argument is one of them; nothing
// when it is not, so the chart options take it.
std::optional<int> RunCollectionTool(std::span<const std::string_view> arguments, std::ostream& out,
                                     std::ostream& err);

// Their part of the --help text.
std::string_view CollectionToolUsage();

}  // namespace tolvaris
