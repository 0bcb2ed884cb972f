#include "core/common/atomic_file.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "core/common/text_file.h"

namespace tolvaris {
namespace {

// Follows a chain of symbolic links to the path it ends at, which need not
// exist: a dangling link's save creates its target. Each hop is read by
// hand because weakly_canonical stops at a link whose target is missing.
std::string FollowLinks(const std::filesystem::path& requested, std::filesystem::path& target) {
    target = requested;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat entry {};
        if (::lstat(target.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) {
            return {};
        }
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec) {
            return ec.message();
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return ErrnoText(ELOOP);
}

// A file name is limited (NAME_MAX, mostly 255 bytes) by the folder's file system.
std::size_t NameLimit(const std::filesystem::path& folder) {
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

// Room the temporary's name needs besides the target's: the dot, "~", the
// hash, ".tmp", a process id, a stamp and an attempt with their dashes.
constexpr std::size_t kTemporaryNameExtra = 1 + 1 + 8 + 4 + 10 + 1 + 8 + 1 + 2;

// Temporaries are named ".<start of target name>~<hash of the whole
// name>.tmp<process id>-<stamp>-<attempt>", so that a later save can tell
// its own target's leftovers and whether the process that made one is still
// running. The name is cut so the temporary fits wherever the target does.
std::string TemporaryPrefix(const std::filesystem::path& target) {
    const std::string name = target.filename().string();
    const std::size_t limit = NameLimit(target.parent_path());
    const std::size_t keep =
        std::min(name.size(), limit > kTemporaryNameExtra ? limit - kTemporaryNameExtra : 0);
    std::uint32_t hash = 2166136261U;  // FNV-1a
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619U;
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(hash));
    // Built by appending: g++ 12 at -O2 warns wrongly (-Wrestrict) on a chain of operator+.
    std::string prefix = ".";
    prefix.append(name, 0, keep).append("~").append(hex).append(".tmp");
    return prefix;
}

// What earlier versions named their temporaries, still swept up.
std::string OldTemporaryPrefix(const std::filesystem::path& target) {
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
    const std::string prefixes[] = {TemporaryPrefix(target), OldTemporaryPrefix(target)};
    std::error_code ec;
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        for (const std::string& prefix : prefixes) {
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
            break;
        }
    }
}

// Holds SIGPIPE back while a pipe is written, so that a reader that goes
// away gives EPIPE, reported as a failed save, instead of ending the program.
class PipeSignalHold {
public:
    PipeSignalHold() {
        sigemptyset(&pipeSignal_);
        sigaddset(&pipeSignal_, SIGPIPE);
        sigset_t pending;
        wasPending_ = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
        ::pthread_sigmask(SIG_BLOCK, &pipeSignal_, &old_);
    }
    ~PipeSignalHold() {
        sigset_t pending;
        if (!wasPending_ && ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
            const timespec now{};
            ::sigtimedwait(&pipeSignal_, nullptr, &now);  // the signal our write raised
        }
        ::pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    PipeSignalHold(const PipeSignalHold&) = delete;
    PipeSignalHold& operator=(const PipeSignalHold&) = delete;

private:
    sigset_t pipeSignal_{};
    sigset_t old_{};
    bool wasPending_ = false;
};

// Writes straight into what is at the path, as `cat > path` would: for a
// device, a pipe, or a file only reachable through /proc (a deleted file
// behind /dev/stdout). There is nothing to rename over such a target.
std::string WriteInPlace(const std::filesystem::path& path,
                         const AtomicFileWriter::Producer& produce,
                         AtomicFileWriter::Durability durability) {
    const PipeSignalHold hold;
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return ErrnoText(errno);
    }
    std::string error;
    produce([&](std::string_view bytes) {
        while (error.empty() && !bytes.empty()) {
            const ssize_t written = ::write(fd, bytes.data(), bytes.size());
            if (written < 0 && errno != EINTR) {
                error = ErrnoText(errno);
            } else if (written > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(written));
            }
        }
        return error.empty();
    });
    // Only a regular file has bytes to put on the disk; a pipe or a
    // terminal refuses fsync, which is no failure of the save.
    struct stat opened {};
    if (error.empty() && durability == AtomicFileWriter::Durability::OnDisk &&
        ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::fsync(fd) != 0) {
        error = ErrnoText(errno);
    }
    if (::close(fd) != 0 && error.empty() && errno != EINTR) {
        error = ErrnoText(errno);
    }
    return error;
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

// Removes the files given to it one after another on a worker thread, and
// finishes what it was given before the program ends.
class LateRemoval {
public:
    static void Remove(const std::filesystem::path& path) {
        static LateRemoval removal;
        removal.Start(path);
    }

private:
    void Start(const std::filesystem::path& path) {
        const std::lock_guard lock(mutex_);
        if (worker_.joinable()) {
            worker_.join();  // long done, as a rule
        }
        try {
            worker_ = std::jthread([path] { ::unlink(path.c_str()); });
        } catch (const std::system_error&) {
            ::unlink(path.c_str());  // no thread to spare: remove it here
        }
    }

    std::mutex mutex_;
    std::jthread worker_;
};

// Puts the temporary file in the target's place. Where the system can, the
// two names are exchanged, which is as atomic as a rename over the target
// and spares two waits a rename has on ext4 for a large file: the new file's
// blocks allocated on the spot (its guard for files replaced without a sync)
// and the old file's freed. The old content, left under the temporary name,
// is removed afterwards; on a worker thread when it is large.
std::error_code PutInPlace(const std::filesystem::path& temporary,
                           const std::filesystem::path& target, bool targetExists,
                           std::uintmax_t targetSize) {
#ifdef RENAME_EXCHANGE
    if (targetExists &&
        ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        constexpr std::uintmax_t kLargeFile = std::uintmax_t{8} << 20;
        if (targetSize >= kLargeFile) {
            LateRemoval::Remove(temporary);
        } else {
            ::unlink(temporary.c_str());
        }
        return {};
    }
#else
    (void)targetExists;
    (void)targetSize;
#endif
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    return ec;
}

}  // namespace

std::string AtomicFileWriter::WriteFile(const std::filesystem::path& requested,
                                        const Producer& produce, Durability durability) {
    const bool onDisk = durability == Durability::OnDisk;
    // Only a regular file (or a link to one) is replaced by a rename; what
    // else is at the path decides how it is written, or whether at all.
    struct stat seen {};
    const bool exists = ::stat(requested.c_str(), &seen) == 0;
    if (!exists && errno != ENOENT) {
        return ErrnoText(errno);
    }
    if (exists) {
        if (S_ISDIR(seen.st_mode)) {
            return ErrnoText(EISDIR);
        }
        if (S_ISSOCK(seen.st_mode)) {
            return "Is a socket";  // worded like the system's own reasons
        }
        if (S_ISBLK(seen.st_mode)) {
            return "Is a disk device, never written over";
        }
        if (!S_ISREG(seen.st_mode)) {
            return WriteInPlace(requested, produce, durability);
        }
    }
    std::filesystem::path target;
    if (std::string error = FollowLinks(requested, target); !error.empty()) {
        return error;
    }
    if (exists) {
        // A link through /proc may name a path that is no longer that file
        // (a deleted file behind /dev/stdout): write what was found, then.
        struct stat resolved {};
        if (::lstat(target.c_str(), &resolved) != 0 || resolved.st_dev != seen.st_dev ||
            resolved.st_ino != seen.st_ino) {
            return WriteInPlace(requested, produce, durability);
        }
        // A file the user may not write stays as it is, though the folder lets a rename replace it.
        if (!FileHandle(std::fopen(target.c_str(), "ab"))) {
            return ErrnoText(errno);
        }
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
    if (error.empty() && onDisk && !SyncToDisk(file.get())) {
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
        const bool replacing = !ec && std::filesystem::is_regular_file(old);
        ec = PutInPlace(temporary, target, replacing,
                        replacing ? static_cast<std::uintmax_t>(seen.st_size) : 0);
        if (ec) {
            error = ec.message();
        } else if (onDisk) {
            SyncFolder(target.parent_path());
        }
    }
    if (!error.empty()) {
        std::filesystem::remove(temporary, ec);
    }
    return error;
}

}  // namespace tolvaris
