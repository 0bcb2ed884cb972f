#pragma once

#include <filesystem>
#include <string>

namespace tolvaris {

// Error numbers as the user-facing messages of the program know them.
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAccessError = 75;
inline constexpr int kDeviceIoError = 57;

struct WholeFile {
    std::string bytes;
    // 0 when the file was read whole; else kFileNotFound when there is no
    // ordinary file of that name, kFileAccessError when it cannot be opened,
    // kDeviceIoError when reading it failed.
    int errorNumber = 0;
    // Why it failed, fit for a message; empty on success.
    std::string reason;

    bool Ok() const { return errorNumber == 0; }
};

// The whole content of a file as bytes, line breaks included. The exact name
// is looked up first, then a name that differs only in letter case. A
// folder, a FIFO or a device counts as no file at all.
WholeFile ReadWholeFile(const std::filesystem::path& path);

}  // namespace tolvaris
