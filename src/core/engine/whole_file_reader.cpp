#include "core/engine/whole_file_reader.h"

#include <cerrno>
#include <cstdio>
#include <new>
#include <system_error>
#include <vector>

#include "core/common/text_file.h"

namespace tolvaris {
namespace {

WholeFile Failure(ReadFailure failure, std::string reason) {
    WholeFile result;
    result.failure = failure;
    result.reason = std::move(reason);
    return result;
}

// The size of the open file, or 0 when it cannot be told; the reading loop
// copes with any difference.
std::size_t SizeOf(std::FILE* file) {
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        size = std::ftell(file);
    }
    std::clearerr(file);
    std::rewind(file);
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

}  // namespace

WholeFile ReadWholeFile(const std::filesystem::path& path) {
    const std::filesystem::path found = FindFileIgnoringCase(path);
    std::error_code ec;
    const auto status = std::filesystem::status(found, ec);
    // A dangling or looping link names no file either.
    const bool nothingThere = ec == std::errc::no_such_file_or_directory ||
                              ec == std::errc::not_a_directory ||
                              ec == std::errc::too_many_symbolic_link_levels;
    if (ec && !nothingThere) {
        return Failure(ReadFailure::AccessDenied, ec.message());
    }
    if (!std::filesystem::exists(status)) {
        return Failure(ReadFailure::NotFound, "there is no such file");
    }
    if (std::filesystem::is_directory(status)) {
        return Failure(ReadFailure::NotFound, "it is a folder");
    }
    if (!std::filesystem::is_regular_file(status)) {
        return Failure(ReadFailure::NotFound, "it is not an ordinary file");
    }
    std::string error;
    const FileHandle file = OpenOrdinaryFileForReading(found, error);
    if (!file) {
        return Failure(ReadFailure::AccessDenied, error);
    }

    WholeFile result;
    try {
        // One read sized by the file, then whatever it grew by meanwhile.
        std::string& bytes = result.bytes;
        const std::size_t size = SizeOf(file.get());
        ReserveRoom(bytes, size);
        bytes.resize(size);
        errno = 0;
        const std::size_t filled = std::fread(bytes.data(), 1, bytes.size(), file.get());
        const bool complete = filled == bytes.size();
        bytes.resize(filled);
        if (complete && std::ferror(file.get()) == 0) {
            std::vector<char> chunk(std::size_t{1} << 16);
            std::size_t got = 0;
            while ((got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
                bytes.append(chunk.data(), got);
            }
        }
        if (std::ferror(file.get()) != 0) {
            return Failure(ReadFailure::ReadError, errno != 0 ? ErrnoText(errno) : "a read failed");
        }
    } catch (const std::bad_alloc&) {
        return Failure(ReadFailure::ReadError, "there is not enough memory to hold it");
    }
    return result;
}

}  // namespace tolvaris
