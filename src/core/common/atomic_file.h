#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tolvaris {

// Writes a whole file so that a failure part-way never destroys the earlier
// copy: the bytes go to a new file beside the target, which is renamed over
// it only when everything was written and closed. Permissions of an existing
// target are kept; a symbolic link is followed, not replaced, and a dangling
// one creates the file it points to. Only regular files are replaced so: a
// pipe or a character device (/dev/null, a terminal, /dev/stdout) is written
// into directly, as `cat > path` would; a folder, a socket or a disk device
// is refused.
class AtomicFileWriter {
public:
    // Receives the bytes to write; returns false to stop early.
    using Sink = std::function<bool(std::string_view bytes)>;
    // Produces the content by calling the sink as often as it likes.
    using Producer = std::function<void(const Sink& sink)>;

    // How far the bytes must have gone when the write returns: onto the
    // disk, so that a power cut after the rename leaves the new content; or
    // only into the system's cache, for a scratch file that the next use
    // replaces anyway and whose content is still in memory.
    enum class Durability { OnDisk, Cached };

    // Returns an empty string on success, else the reason of the failure.
    std::string Write(const std::filesystem::path& target, const Producer& produce) {
        return WriteFile(target, produce, Durability::OnDisk);
    }
    virtual std::string WriteFile(const std::filesystem::path& target, const Producer& produce,
                                  Durability durability);

    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    virtual ~AtomicFileWriter() = default;
};

}  // namespace tolvaris
