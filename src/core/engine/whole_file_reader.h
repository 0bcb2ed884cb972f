#pragma once

#include <filesystem>
#include <string>

namespace tolvaris {

// How reading a whole file went; callers word their messages by it.
enum class ReadFailure {
    None,
    NotFound,      // no ordinary file of that name
    AccessDenied,  // it exists but cannot be opened
    ReadError,     // reading it failed part-way, or it does not fit in memory
};

struct WholeFile {
    std::string bytes;
    ReadFailure failure = ReadFailure::None;
    // Why it failed, fit for a message; empty on success.
    std::string reason;

    bool Ok() const { return failure == ReadFailure::None; }
};

// The whole content of a file as bytes, line breaks included. The exact name
// is looked up first, then a name that differs only in letter case. A
// folder, a FIFO or a device counts as no file at all.
WholeFile ReadWholeFile(const std::filesystem::path& path);

}  // namespace tolvaris
