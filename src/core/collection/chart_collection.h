#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/birth_data.h"
#include "core/common/result.h"

namespace tolvaris {

// One chart the user keeps: its birth data (what a chart file holds), tags,
// a note, and when it was added and last changed (seconds since 1970).
struct StoredChart {
    std::int64_t id = 0;  // given by the collection; 0 before it is added
    BirthData birth;
    std::vector<std::string> tags;
    std::string note;
    // Lines of an imported file the collection keeps as they were written
    // (AAF chunks it has no field for), written back on export.
    std::vector<std::string> extraLines;
    std::int64_t added = 0;
    std::int64_t changed = 0;
};

// What a list shows of a chart: enough to find it and sort by any column.
struct ChartListing {
    std::int64_t id = 0;
    std::string name;
    std::string birthDate;  // "1962-04-15"
    std::string place;
    std::string tags;  // comma-separated
};

// The person and moment a chart is of: the same birth imported twice has
// the same identity (see ChartIdentity).
std::string ChartIdentity(const BirthData& birth);

// The charts a person keeps. Each call stands alone: a failure (a full disk,
// the file taken away) is an Error with kind File and leaves the
// collection as it was before the call.
class ChartCollection {
public:
    virtual ~ChartCollection() = default;

    // Adds a chart; its identity must be new. Returns its id.
    virtual Result<std::int64_t> Add(const StoredChart& chart) = 0;
    // Adds every chart whose identity is new, in one transaction; returns
    // how many were added.
    virtual Result<std::size_t> AddNew(const std::vector<StoredChart>& charts) = 0;
    virtual Status Update(const StoredChart& chart) = 0;
    virtual Status Remove(std::int64_t id) = 0;
    virtual Result<std::optional<StoredChart>> Get(std::int64_t id) = 0;

    // Every chart, by name.
    virtual std::vector<ChartListing> List() = 0;
    // The charts whose name, place or tags contain every word of `text`
    // (letter case and accents disregarded), or whose birth year a
    // four-digit word names; at most `limit`, by name.
    virtual std::vector<ChartListing> Search(std::string_view text, std::size_t limit) = 0;
    // The charts that carry `tag`, by name.
    virtual std::vector<ChartListing> WithTag(std::string_view tag) = 0;
    // Every tag in use, sorted.
    virtual std::vector<std::string> Tags() = 0;
    virtual std::size_t Count() = 0;
};

}  // namespace tolvaris
