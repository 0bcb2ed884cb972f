#include "core/common/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <utility>
#include <vector>

#include "core/common/atomic_file.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(FindFileIgnoringCase, PrefersTheExactNameThenAnyCase) {
    TempFolder folder;
    WriteBytes(folder / "sign_lib.txt", "lower");
    EXPECT_EQ(FindFileIgnoringCase(folder / "SIGN_Lib.TXT"), folder / "sign_lib.txt");
    WriteBytes(folder / "SIGN_Lib.TXT", "exact");
    EXPECT_EQ(FindFileIgnoringCase(folder / "SIGN_Lib.TXT"), folder / "SIGN_Lib.TXT");
    EXPECT_EQ(FindFileIgnoringCase(folder / "none.txt"), folder / "none.txt");
    EXPECT_EQ(FindFileIgnoringCase(folder / "gone" / "x.txt"), folder / "gone" / "x.txt");
}

TEST(OpenOrdinaryFileForReading, RefusesWhatIsNotAnOrdinaryFile) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "dir");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(folder / "loop", folder / "loop");
    for (const char* name : {"dir", "fifo", "loop", "missing"}) {
        std::string error;
        EXPECT_FALSE(OpenOrdinaryFileForReading(folder / name, error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
}

TEST(AtomicFileWriter, ReplacesTheFileWhole) {
    TempFolder folder;
    WriteBytes(folder / "out.txt", "old content");
    AtomicFileWriter writer;
    const std::string error = writer.Write(folder / "out.txt", [](const auto& sink) {
        sink("new ");
        sink("content");
    });
    EXPECT_EQ(error, "");
    EXPECT_EQ(ReadBytes(folder / "out.txt"), "new content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(AtomicFileWriter, RemovesTemporariesOfKilledSavesOfTheSameFileOnly) {
    TempFolder folder;
    // A process id that no longer runs: a child that has exited and been reaped.
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) {
        std::_Exit(0);
    }
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const std::string dead = std::to_string(gone);
    const std::string alive = std::to_string(::getpid());
    const std::vector<std::pair<std::string, bool>> leftovers = {
        {".out.txt.tmp" + dead + "-123-0", false},   // a killed save of out.txt
        {".out.txt.tmp" + alive + "-123-0", true},   // a save still running
        {".other.txt.tmp" + dead + "-123-0", true},  // another file's
        {".out.txt.tmpnotes", true},                 // not a name the writer makes
    };
    for (const auto& [name, stays] : leftovers) {
        WriteBytes(folder / name, "partial");
    }
    AtomicFileWriter writer;
    ASSERT_EQ(writer.Write(folder / "out.txt", [](const auto& sink) { sink("whole"); }), "");
    EXPECT_EQ(ReadBytes(folder / "out.txt"), "whole");
    for (const auto& [name, stays] : leftovers) {
        EXPECT_EQ(std::filesystem::exists(folder / name), stays) << name;
    }
}

TEST(AtomicFileWriter, KeepsTheOldFileWhenTheTargetCannotBeReplaced) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "busy" / "inside");
    AtomicFileWriter writer;
    // A non-empty folder in the way cannot be renamed over, even by root.
    EXPECT_NE(writer.Write(folder / "busy", [](const auto& sink) { sink("x"); }), "");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "busy" / "inside"));
    EXPECT_NE(writer.Write(folder / "gone" / "f.txt", [](const auto& sink) { sink("x"); }), "");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(AtomicFileWriter, FollowsASymbolicLinkAndKeepsPermissions) {
    TempFolder folder;
    WriteBytes(folder / "real.txt", "old");
    std::filesystem::permissions(folder / "real.txt", std::filesystem::perms(0640));
    std::filesystem::create_symlink("real.txt", folder / "link.txt");
    AtomicFileWriter writer;
    ASSERT_EQ(writer.Write(folder / "link.txt", [](const auto& sink) { sink("new"); }), "");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.txt"));
    EXPECT_EQ(ReadBytes(folder / "real.txt"), "new");
    EXPECT_EQ(std::filesystem::status(folder / "real.txt").permissions(),
              std::filesystem::perms(0640));
}

}  // namespace
}  // namespace tolvaris
