#include "core/common/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <system_error>

#include "core/common/text_file.h"

namespace tolvaris {
namespace {

std::filesystem::path ResolveLinks(const std::filesystem::path& target) {
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) {
        auto resolved = std::filesystem::weakly_canonical(target, ec);
        if (!ec) {
            return resolved;
        }
    }
    return target;
}

// Temporaries are named ".<target name>.tmp<process id>-<stamp>-<attempt>",
// so a later save can tell its own target's leftovers and whether the
// process that made one is still running.
std::string TemporaryPrefix(const std::filesystem::path& target) {
    // Built by appending: g++ 12 at -O2 warns wrongly (-Wrestrict) on a chain of operator+.
    std::string prefix = ".";
    prefix.append(target.filename().string()).append(".tmp");
    return prefix;
}

std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target, int attempt) {
    // The clock makes clashes unlikely; exclusive creation makes them harmless.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::string name = TemporaryPrefix(target);
    name.append(std::to_string(::getpid()))
        .append("-")
        .append(std::to_string(stamp % 100000000))
        .append("-")
        .append(std::to_string(attempt));
    return target.parent_path() / name;
}

// Removes temporaries of `target` left by a save that was killed: those whose
// process no longer runs. A save in progress in another process is left alone.
void RemoveLeftoverTemporaries(const std::filesystem::path& target) {
    const std::string prefix = TemporaryPrefix(target);
    std::error_code ec;
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        long pid = 0;
        const char* digits = name.data() + prefix.size();
        const char* nameEnd = name.data() + name.size();
        const auto [rest, parseError] = std::from_chars(digits, nameEnd, pid);
        if (parseError != std::errc() || rest == nameEnd || *rest != '-' || pid <= 0) {
            continue;  // not a name this writer makes
        }
        const bool running = ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
        if (!running && it->is_regular_file(ec)) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

// Asks the system to put a file's bytes on the disk, so that a power cut
// after the rename leaves the new content, not an empty file.
bool SyncToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0;
}

// The same for the folder's entry of the renamed file. Some file systems
// cannot sync a folder; the file itself is already safe then.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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
    RemoveLeftoverTemporaries(target);
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
    if (error.empty() && !SyncToDisk(file.get())) {
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
        } else {
            SyncFolder(target.parent_path());
        }
    }
    if (!error.empty()) {
        std::filesystem::remove(temporary, ec);
    }
    return error;
}

}  // namespace tolvaris
