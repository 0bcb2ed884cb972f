// What a save finds at its path decides how it writes. A regular file, or a
// link to one, is replaced atomically; a pipe is written into as `cat >`
// would; a folder or a socket is refused and left as it was. Names up to the
// file system's limit save, though the temporary beside them needs a name too.
// Every case runs in a child with a time limit: a write that blocks on a pipe
// fails the test instead of hanging it.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "core/common/atomic_file.h"
#include "reliability/reliability_support.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::InChild;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const std::string kContent = "the new content\n";

std::string Save(const std::filesystem::path& path) {
    AtomicFileWriter writer;
    return writer.Write(path, [](const AtomicFileWriter::Sink& sink) { sink(kContent); });
}

// Saves `path` first: the checks that follow read what the save made.
std::string Saved(const std::filesystem::path& path) {
    const std::string error = Save(path);
    return error.empty() ? std::string() : "error \"" + error + "\"; ";
}

std::string Check(bool holds, const std::string& what) {
    return holds ? std::string() : what + "; ";
}

// Hidden files in the folder: what a save leaves when it fails to clean up.
int HiddenFilesIn(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        count += entry.path().filename().string().rfind(".", 0) == 0 ? 1 : 0;
    }
    return count;
}

struct TargetCase {
    const char* name;
    // Makes what is at `folder`/"target", saves, and says what went wrong.
    std::function<std::string(const std::filesystem::path& folder)> run;
};

std::string SavedRegularFileAt(const std::filesystem::path& file) {
    return Check(std::filesystem::is_regular_file(std::filesystem::symlink_status(file)),
                 file.filename().string() + " is no regular file") +
           Check(ReadBytes(file) == kContent, "the content is not the new one");
}

std::string RefusedAndKept(const std::filesystem::path& target, std::filesystem::file_type type,
                           const std::string& word) {
    const std::string error = Save(target);
    return Check(error.find(word) != std::string::npos, "error \"" + error + "\"") +
           Check(std::filesystem::symlink_status(target).type() == type, "the entry changed");
}

const TargetCase kCases[] = {
    {"regular file",
     [](const auto& folder) {
         WriteBytes(folder / "target", "old");
         const std::string saved = Saved(folder / "target");
         return saved + SavedRegularFileAt(folder / "target");
     }},
    {"link to a file in another folder",
     [](const auto& folder) {
         std::filesystem::create_directory(folder / "real");
         WriteBytes(folder / "real" / "file", "old");
         std::filesystem::create_symlink("real/file", folder / "target");
         const std::string saved = Saved(folder / "target");
         return saved +
                Check(std::filesystem::is_symlink(folder / "target"), "the link was replaced") +
                SavedRegularFileAt(folder / "real" / "file") +
                Check(HiddenFilesIn(folder / "real") == 0, "a temporary was left");
     }},
    {"dangling link, through a second link",
     [](const auto& folder) {
         std::filesystem::create_directory(folder / "real");
         std::filesystem::create_symlink("real/hop", folder / "target");
         std::filesystem::create_symlink("made", folder / "real" / "hop");
         const std::string saved = Saved(folder / "target");
         return saved +
                Check(std::filesystem::is_symlink(folder / "target"), "the link was replaced") +
                Check(std::filesystem::is_symlink(folder / "real" / "hop"),
                      "the hop was replaced") +
                SavedRegularFileAt(folder / "real" / "made");
     }},
    {"named pipe with a reader",
     [](const auto& folder) {
         const auto fifo = folder / "target";
         if (::mkfifo(fifo.c_str(), 0600) != 0) {
             return std::string("mkfifo failed");
         }
         std::string received;
         std::thread reader([&] { received = ReadBytes(fifo); });
         const std::string error = Save(fifo);
         reader.join();
         return Check(error.empty(), "error \"" + error + "\"") +
                Check(received == kContent, "the reader got \"" + received + "\"") +
                Check(std::filesystem::is_fifo(fifo), "the pipe was replaced");
     }},
    {"anonymous pipe named by /proc/self/fd",
     [](const auto&) {
         int ends[2];
         if (::pipe(ends) != 0) {
             return std::string("pipe failed");
         }
         const std::string error = Save("/proc/self/fd/" + std::to_string(ends[1]));
         ::close(ends[1]);
         std::string received(64, '\0');
         const ssize_t got = ::read(ends[0], received.data(), received.size());
         received.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
         ::close(ends[0]);
         return Check(error.empty(), "error \"" + error + "\"") +
                Check(received == kContent, "the pipe got \"" + received + "\"");
     }},
    {"pipe whose reader has gone",
     [](const auto&) {
         int ends[2];
         if (::pipe(ends) != 0) {
             return std::string("pipe failed");
         }
         ::close(ends[0]);
         // The child would die of SIGPIPE here if the writer let it through.
         const std::string error = Save("/proc/self/fd/" + std::to_string(ends[1]));
         ::close(ends[1]);
         return Check(error == std::strerror(EPIPE), "error \"" + error + "\"");
     }},
    {"folder",
     [](const auto& folder) {
         std::filesystem::create_directory(folder / "target");
         return RefusedAndKept(folder / "target", std::filesystem::file_type::directory, "folder");
     }},
    {"socket",
     [](const auto& folder) {
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         const std::string path = (folder / "target").string();
         std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
         if (fd < 0 ||
             ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
             return std::string("no socket");
         }
         std::string failures =
             RefusedAndKept(folder / "target", std::filesystem::file_type::socket, "socket");
         ::close(fd);
         return failures;
     }},
};

TEST(SpecialTargets, EachKindIsWrittenAsItShouldBeOrRefused) {
    for (const TargetCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        EXPECT_EQ(InChild([&] { return c.run(folder.Path()); }, 20), "");
    }
}

TEST(SpecialTargets, NamesUpToTheLimitSaveAndLeaveNoTemporary) {
    TempFolder folder;
    const long limit = ::pathconf(folder.Path().c_str(), _PC_NAME_MAX);
    ASSERT_GT(limit, 40);
    const auto max = static_cast<std::size_t>(limit);
    const std::string names[] = {
        std::string(max - 20, 'a'),
        std::string(max - 4, 'b') + ".txt",
        // Two-byte letters: a cut may not split one.
        [max] {
            std::string name;
            while (name.size() + 2 <= max) {
                name += "\xc3\xa9";
            }
            return name;
        }(),
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name.size());
        for (int round = 0; round < 2; ++round) {  // a new file, then replacing it
            EXPECT_EQ(Save(folder / name), "");
        }
        EXPECT_EQ(ReadBytes(folder / name), kContent);
        EXPECT_EQ(HiddenFilesIn(folder.Path()), 0);
    }
}

}  // namespace
}  // namespace tolvaris
