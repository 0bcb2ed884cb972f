// A save meets what is at its path; each case runs in a child with a time
// limit, so a write that blocks on a pipe fails instead of hanging.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <future>

#include "core/common/atomic_file.h"
#include "reliability/reliability_support.h"

namespace tolvaris {
namespace {

namespace fs = std::filesystem;
using Received = std::function<std::string()>;  // what arrived where the save went

const struct {
    const char* name;
    const char* error;  // a word of the expected error; "" for a save
    std::function<fs::path(const fs::path& folder, Received& received)> make;
} kCases[] = {
    {"dangling link to a dangling link", "",
     [](const fs::path& f, Received& received) {
         fs::create_directory(f / "real");
         fs::create_symlink("real/hop", f / "target");
         fs::create_symlink("made", f / "real/hop");
         received = [f] {
             return fs::exists(f / "real/made") ? test::ReadBytes(f / "real/made") : "";
         };
         return f / "target";
     }},
    {"named pipe", "",
     [](const fs::path& f, Received& received) {
         ::mkfifo((f / "target").c_str(), 0600);
         auto got = std::async(std::launch::async, test::ReadBytes, f / "target").share();
         received = [got] { return got.get(); };
         return f / "target";
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
     [](const fs::path& f, Received&) {
         fs::create_directory(f / "target");
         return f / "target";
     }},
    {"socket", "Is a socket",
     [](const fs::path& f, Received&) {
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         std::strncpy(address.sun_path, (f / "target").c_str(), sizeof address.sun_path - 1);
         ::bind(::socket(AF_UNIX, SOCK_STREAM, 0), reinterpret_cast<sockaddr*>(&address),
                sizeof address);
         return f / "target";
     }},
};

TEST(SpecialTargets, EachKindIsWrittenAsItShouldBeOrRefused) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        EXPECT_EQ(test::InChild(
                      [&] {
                          Received received;
                          const fs::path target = c.make(folder.Path(), received);
                          const fs::file_type kind = fs::symlink_status(target).type();
                          AtomicFileWriter writer;
                          std::string error =
                              writer.Write(target, [](const auto& sink) { sink("new\n"); });
                          if (*c.error != '\0' && error.find(c.error) != std::string::npos) {
                              error.clear();
                          } else if (*c.error == '\0' && received() != "new\n") {
                              error += " the content did not arrive";
                          }
                          return error +
                                 (fs::symlink_status(target).type() == kind ? "" : " kind changed");
                      },
                      20),
                  "");
    }
}

}  // namespace
}  // namespace tolvaris
