#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "core/collection/chart_collection.h"
#include "core/interchange/chart_records.h"

namespace tolvaris {

// Records are committed this many at a time: a process killed mid-import
// keeps whole batches, and the next import of the file adds the rest.
inline constexpr std::size_t kImportBatchRecords = 500;

struct ImportSummary {
    std::size_t added = 0;
    std::size_t alreadyThere = 0;
    // "line 41: the latitude 95n00 is outside -90 to 90", one per refused record.
    std::vector<std::string> refusals;
    // Set when the collection could not be written; the batches before it
    // stay.
    std::string error;
};

// Adds the records that were read and are not yet in the collection.
ImportSummary ImportChartRecords(ChartCollection& collection,
                                 const std::vector<ChartRecord>& records,
                                 std::size_t batchRecords = kImportBatchRecords);

struct ExportSummary {
    std::size_t written = 0;
    std::string error;
};

// Writes the charts (all of them, or those tagged `tag` when it is not
// empty) as one AAF file through the atomic writer.
ExportSummary ExportCollectionAaf(ChartCollection& collection, const std::string& tag,
                                  const std::filesystem::path& path);

}  // namespace tolvaris
