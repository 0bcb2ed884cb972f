#pragma once

#include <filesystem>
#include <string_view>

#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"

namespace tolvaris {

// What copying an entry came to. A key the file lacks copies nothing; so
// does a file that cannot be opened or read, but that is worth a message.
enum class EntryCopy { Copied, KeyNotFound, FileUnreadable };

// Copies the entry of `dataFile` whose key line begins with `sectionKey`
// (after leading spaces, letter case disregarded) into both buffers, each line
// indented by two spaces, up to the first end-marker line ("*" or "[]"), and
// says how it went.
EntryCopy CopyInterpretation(const std::filesystem::path& dataFile, std::string_view sectionKey,
                             PageBuffers& buffers);

// The same for a request, with the busy pointer on. Never fails towards its
// caller: a file that cannot be read is reported in a message box.
void ReadInterpretation(const std::filesystem::path& dataFile, std::string_view sectionKey,
                        PageBuffers& buffers, Notices& notices);

}  // namespace tolvaris
