#include "core/common/atomic_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <system_error>

#include "core/common/text_file.h"

namespace tolvaris {
namespace {

std::filesystem::path ResolveLinks(const std::filesystem::path& target) {
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) {
        const auto resolved = std::filesystem::weakly_canonical(target, ec);
        if (!ec) {
            return resolved;
        }
    }
    return target;
}

std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target, int attempt) {
    // The clock makes clashes unlikely; exclusive creation makes them harmless.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    // Built by appending: g++ 12 at -O2 warns wrongly (-Wrestrict) on a chain of operator+.
    std::string name = ".";
    name.append(target.filename().string())
        .append(".tmp")
        .append(std::to_string(stamp % 100000000))
        .append("-")
        .append(std::to_string(attempt));
    return target.parent_path() / name;
}

}  // namespace

std::string AtomicFileWriter::Write(const std::filesystem::path& requested,
                                    const Producer& produce) {
    const std::filesystem::path target = ResolveLinks(requested);
    // A file the user may not write stays as it is, though the folder lets a rename replace it.
    if (std::error_code ec; std::filesystem::is_regular_file(target, ec) &&
                            !FileHandle(std::fopen(target.c_str(), "ab"))) {
        return ErrnoText(errno);
    }
    std::filesystem::path temporary;
    FileHandle file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = TemporaryNameBeside(target, attempt);
        file.reset(std::fopen(temporary.c_str(), "wbx"));
        if (!file && errno != EEXIST) {
            return ErrnoText(errno);
        }
    }
    if (!file) {
        return "no temporary file could be made beside it";
    }

    std::string error;
    produce([&](std::string_view bytes) {
        if (!error.empty()) {
            return false;
        }
        if (bytes.empty()) {
            return true;
        }
        if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
            error = ErrnoText(errno);
            return false;
        }
        return true;
    });
    if (error.empty() && std::fflush(file.get()) != 0) {
        error = ErrnoText(errno);
    }
    if (std::fclose(file.release()) != 0 && error.empty()) {
        error = ErrnoText(errno);
    }

    std::error_code ec;
    if (error.empty()) {
        const auto old = std::filesystem::status(target, ec);
        if (!ec && std::filesystem::exists(old)) {
            std::filesystem::permissions(temporary, old.permissions(), ec);
        }
        std::filesystem::rename(temporary, target, ec);
        if (ec) {
            error = ec.message();
        }
    }
    if (!error.empty()) {
        std::filesystem::remove(temporary, ec);
    }
    return error;
}

}  // namespace tolvaris
