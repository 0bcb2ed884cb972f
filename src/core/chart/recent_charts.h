#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "core/common/atomic_file.h"

namespace tolvaris {

inline constexpr const char* kRecentChartsFileName = "recent-charts.txt";

// The charts opened or saved lately, newest first, kept in a small text file
// beside Tolvaris.ini: a heading line, then one absolute path per line, its
// backslashes, CRs and LFs written as \\, \r and \n.
class RecentCharts {
public:
    static constexpr std::size_t kDefaultCapacity = 8;

    explicit RecentCharts(std::filesystem::path file, std::size_t capacity = kDefaultCapacity);

    // Reads the file. A missing, oversized or foreign file (no heading) gives
    // an empty list, and a line that is no absolute path (or holds a NUL) is
    // skipped: the list is only a convenience and never worth a message.
    void Load();
    // Writes the list through the writer; "" or the reason of the failure.
    std::string Save(AtomicFileWriter& writer) const;

    // Puts the chart first, once, dropping the oldest beyond the capacity.
    void Add(const std::filesystem::path& chart);
    // Drops the chart; false when it was not listed.
    bool Remove(const std::filesystem::path& chart);

    const std::vector<std::filesystem::path>& Paths() const { return paths_; }
    const std::filesystem::path& File() const { return file_; }

    // The file's text for a list, and the list in a text (empty when damaged).
    static std::string Format(const std::vector<std::filesystem::path>& paths);
    static std::vector<std::filesystem::path> Parse(std::string_view text, std::size_t capacity);

private:
    std::filesystem::path file_;
    std::size_t capacity_;
    std::vector<std::filesystem::path> paths_;
};

}  // namespace tolvaris
