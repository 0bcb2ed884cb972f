#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/collection/chart_collection.h"

namespace tolvaris {

// The schema this program writes; an older file is migrated forward on
// opening, a newer one refused.
inline constexpr int kCollectionSchemaVersion = 1;

// The collection's file: $XDG_DATA_HOME/tolvaris/charts.sqlite, or
// ~/.local/share/tolvaris/charts.sqlite when XDG_DATA_HOME is unset or not
// absolute. Empty when neither it nor HOME is known.
std::filesystem::path DefaultCollectionPath();

struct CollectionOptions {
    // How long a write waits for another process's to finish.
    int busyTimeoutMilliseconds = 10000;
    // For tests: a file that may grow to this many pages only, as a full
    // disk would stop it.
    std::optional<int> maxPageCount;
};

struct CollectionOpen {
    std::unique_ptr<ChartCollection> value;
    // One sentence naming the file and why it cannot be used; the file is
    // left as it was.
    std::string error;
};

// Opens the collection at `path`, creating the file and its folder on first
// use. A file that is damaged, not a database or from a newer version is
// refused and left alone.
CollectionOpen OpenChartCollection(const std::filesystem::path& path,
                                   const CollectionOptions& options = {});

}  // namespace tolvaris
