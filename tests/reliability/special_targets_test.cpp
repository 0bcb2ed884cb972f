// A save meets what is at its path, in a child: a write that blocks fails, not hangs.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <future>
#include <vector>

#include "core/common/atomic_file.h"
#include "support/reliability_support.h"

namespace tolvaris {
namespace {

namespace fs = std::filesystem;
using Received = std::function<std::string()>;  // what arrived where the save went
// Each case makes what is at `t` and returns the path to save to.
const struct {
    const char* name;
    const char* error;
    std::function<fs::path(const fs::path& t, Received& received)> make;
} kCases[] = {
    {"dangling link to a dangling link", "",
     [](const fs::path& t, Received& received) {
         fs::create_symlink("hop", t);
         fs::create_symlink("made", t.parent_path() / "hop");
         received = [t] { return fs::exists(t) ? test::ReadBytes(t.parent_path() / "made") : ""; };
         return t;
     }},
    {"named pipe", "",
     [](const fs::path& t, Received& received) {
         ::mkfifo(t.c_str(), 0600);
         auto got = std::async(std::launch::async, test::ReadBytes, t).share();
         received = [got] { return got.get(); };
         return t;
     }},
    // A /dev/fd/N path, as `>(command)` gives; SIGPIPE would kill the child.
    {"pipe without reader", "Broken pipe",
     [](const fs::path&, Received&) {
         int ends[2] = {-1, -1};
         (void)!::pipe(ends);
         ::close(ends[0]);
         return fs::path("/proc/self/fd/" + std::to_string(ends[1]));
     }},
    {"folder", "Is a directory",
     [](const fs::path& t, Received&) { return fs::create_directory(t), t; }},
    {"socket", "Is a socket",
     [](const fs::path& t, Received&) {
         sockaddr_un address{AF_UNIX, {}};
         t.string().copy(address.sun_path, sizeof address.sun_path - 1);
         ::bind(::socket(AF_UNIX, SOCK_STREAM, 0), reinterpret_cast<sockaddr*>(&address),
                sizeof address);
         return t;
     }},
};

TEST(SpecialTargets, EachKindIsWrittenAsItShouldBeOrRefused) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const auto run = [&] {
            Received received;
            const fs::path target = c.make(folder / "target", received);
            const fs::file_type kind = fs::symlink_status(target).type();
            AtomicFileWriter writer;
            const std::string error = writer.Write(target, [](auto& sink) { sink("new\n"); });
            return (error == c.error ? "" : "error \"" + error + "\"") +
                   (received && received() != "new\n" ? " content lost" : "") +
                   (fs::symlink_status(target).type() == kind ? "" : " kind changed");
        };
        EXPECT_EQ(test::InChild(run, 20), "");
    }
}

// A large file's old content is removed after the save returns: by the time
// the program has ended it must be gone, and another name of the old file
// must still hold it.
TEST(SpecialTargets, ALargeFileReplacedLeavesOnlyItsNamesBehindWhenTheProgramEnds) {
    test::TempFolder folder;
    const fs::path target = folder / "page.txt";
    const std::string old(std::size_t{9} << 20, 'o');
    test::WriteBytes(target, old);
    fs::create_hard_link(target, folder / "kept.txt");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFileWriter writer;
        for (const char* content : {"first\n", "second\n"}) {
            const std::string bytes = content + std::string(std::size_t{9} << 20, 'n');
            if (!writer
                     .WriteFile(
                         target, [&](auto& sink) { sink(bytes); },
                         AtomicFileWriter::Durability::Cached)
                     .empty()) {
                std::_Exit(1);
            }
        }
        std::exit(0);  // as the program ends: what is left to do is done
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(test::ReadBytes(target).substr(0, 7), "second\n");
    EXPECT_EQ(test::ReadBytes(folder / "kept.txt"), old);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"kept.txt", "page.txt"}));
}

}  // namespace
}  // namespace tolvaris
