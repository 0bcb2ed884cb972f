#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/collection/chart_collection.h"

namespace tolvaris {

// The collection's list in memory: the few fields a search looks at, folded
// once, so a keystroke scans a few megabytes for 50,000 charts instead of
// asking the database.
class ChartSearch {
public:
    static std::string Identity(const BirthData& birth);

    void Clear();
    // Adds the listing, or replaces the one with its id.
    void Put(ChartListing listing);
    void Erase(std::int64_t id);
    std::size_t Size() const { return entries_.size(); }

    std::vector<ChartListing> Find(std::string_view text, std::size_t limit);
    std::vector<ChartListing> WithTag(std::string_view tag);
    std::vector<std::string> Tags() const;

    // Sorts the list by name now, so that the first keystroke does not.
    void Sort();

private:
    struct Entry {
        ChartListing listing;
        std::string folded;  // name, place and tags folded, a line each
        std::string sortKey;
        int year = 0;
    };

    std::vector<Entry> entries_;
    std::unordered_map<std::int64_t, std::size_t> positions_;
    bool sorted_ = true;
};

}  // namespace tolvaris
