#include "core/common/text_file.h"

#include <sys/mman.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "core/common/cp1252.h"

namespace tolvaris {

std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        return path;
    }
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const std::string wanted = path.filename().string();
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (EqualIgnoringCase1252(it->path().filename().string(), wanted)) {
            return it->path();
        }
    }
    return path;
}

FileHandle OpenOrdinaryFileForReading(const std::filesystem::path& path, std::string& error) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) {
        error = ec.message();
        return {};
    }
    if (!std::filesystem::is_regular_file(status)) {
        error =
            std::filesystem::is_directory(status) ? "it is a folder" : "it is not an ordinary file";
        return {};
    }
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = ErrnoText(errno);
    }
    return file;
}

std::string ErrnoText(int errorNumber) {
    return std::generic_category().message(errorNumber);
}

void ReserveRoom(std::string& bytes, std::size_t size) {
    bytes.reserve(size);
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    if (size >= 4 * kHugePage) {
        char* const data = bytes.data();
        const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(data);
        const std::uintptr_t skip = (kHugePage - start % kHugePage) % kHugePage;
        if (size > skip + kHugePage) {
            const std::uintptr_t length = (size - skip) & ~(kHugePage - 1);
            ::madvise(data + skip, length, MADV_HUGEPAGE);
        }
    }
#endif
}

}  // namespace tolvaris
