#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace tolvaris {

// The exact name when something by that name exists, else a file in the same
// folder whose name differs only in letter case (data prepared on Windows
// arrives as SIGN_LIB.TXT or sign_lib.txt), else the name unchanged.
std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& path);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens an ordinary file for reading as bytes. A folder, a FIFO or a device of
// that name is refused before it is opened, so reading never blocks on one.
// On failure the handle is empty and `error` says why.
FileHandle OpenOrdinaryFileForReading(const std::filesystem::path& path, std::string& error);

// The text of errno in a form fit for a message.
std::string ErrnoText(int errorNumber);

// Makes room for `size` bytes in `bytes`. Room for many megabytes asks for
// huge pages: on virtual machines, touching 100 MB of fresh memory a 4 KiB
// page at a time costs ten times as long as reading a file into it. The
// advice is only advice.
void ReserveRoom(std::string& bytes, std::size_t size);

}  // namespace tolvaris
