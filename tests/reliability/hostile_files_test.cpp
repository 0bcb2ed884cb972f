// Files that are not what their names promise. Every reader of the program
// (data files, settings, keywords, the output help) meets FIFOs, devices,
// sockets, links that lead nowhere or in a circle, folders, files that change
// or vanish while they are read, a 1 GB data file and a line of 100 MB. Each
// case runs in a child with a time limit, so that a reader that blocks fails
// the test instead of hanging it.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/common/line_reader.h"
#include "core/common/text_file.h"
#include "core/engine/interpretation_reader.h"
#include "core/engine/page_buffers.h"
#include "core/engine/whole_file_reader.h"
#include "core/output/output_help.h"
#include "core/output/saving.h"
#include "core/requests/keyword_page.h"
#include "core/settings/settings_file.h"
#include "support/fake_screen.h"
#include "support/reliability_support.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::FakeDisplay;
using test::FakeNotices;
using test::ReadBytes;
using test::Require;
using test::TempFolder;
using test::WriteBytes;

// Makes something that is not an ordinary file at `path`; "" or why not.
using Maker = std::function<std::string(const std::filesystem::path& path)>;

std::string MakeCharacterDevice(const std::filesystem::path& path) {
    // /dev/zero never ends: reading it would never return.
    if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0) {
        return "";
    }
    std::filesystem::create_symlink("/dev/zero", path);  // without the right to make devices
    return "";
}

// Makes a symbolic link to `target` in place of the file.
auto LinkTo(std::string target) {
    return [target = std::move(target)](const std::filesystem::path& path) {
        std::filesystem::create_symlink(target, path);
        return std::string();
    };
}

std::string MakeSocket(const std::filesystem::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.string().size() >= sizeof address.sun_path) {
        ::close(fd);
        return "path too long for a socket";
    }
    std::strcpy(address.sun_path, path.c_str());
    const int bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd, 1);  // left open: a peer would wait, not fail
    return bound == 0 ? "" : std::string("bind: ") + std::strerror(errno);
}

const std::vector<std::pair<const char*, Maker>>& HostileKinds() {
    static const std::vector<std::pair<const char*, Maker>> kinds = {
        {"FIFO", [](const auto& p) { return ::mkfifo(p.c_str(), 0666) == 0 ? "" : "mkfifo"; }},
        {"FIFO with a writer waiting",
         [](const auto& p) {
             if (::mkfifo(p.c_str(), 0666) != 0) {
                 return std::string("mkfifo");
             }
             // Opened read-write it has a writer that never writes: a
             // reader that opened it would wait for data for ever.
             return ::open(p.c_str(), O_RDWR | O_NONBLOCK) >= 0 ? std::string() : "open";
         }},
        {"character device", MakeCharacterDevice},
        {"link to /dev/zero", LinkTo("/dev/zero")},
        {"link to the standard input", LinkTo("/proc/self/fd/0")},
        {"socket", MakeSocket},
        {"folder",
         [](const auto& p) {
             std::filesystem::create_directory(p);
             return std::string();
         }},
        {"link loop",
         [](const auto& p) {
             std::filesystem::create_symlink(p.filename(), p);
             return std::string();
         }},
        {"dangling link", LinkTo("nowhere.txt")},
        {"link to a link loop",
         [](const auto& p) {
             std::filesystem::create_symlink("a.loop", p.parent_path() / "b.loop");
             std::filesystem::create_symlink("b.loop", p.parent_path() / "a.loop");
             std::filesystem::create_symlink("a.loop", p);
             return std::string();
         }},
    };
    return kinds;
}

struct Reader {
    const char* name;
    const char* file;
    // Reads the file in `folder` as the program does; "" when it behaved.
    std::function<std::string(const std::filesystem::path& folder)> read;
};

bool OneCriticalMessageNaming(const FakeNotices& notices, const std::filesystem::path& file) {
    return notices.messages.size() == 1 &&
           notices.messages[0].text.find(file.string()) != std::string::npos &&
           notices.messages[0].icon == NoticeIcon::Critical && !notices.busy;
}

const std::vector<Reader>& Readers() {
    static const std::vector<Reader> readers = {
        {"data file", "SIGN_Lib.TXT",
         [](const std::filesystem::path& folder) {
             FakeDisplay display;
             FakeNotices notices;
             AtomicFileWriter writer;
             PageBuffers buffers(display, notices, folder, writer);
             ReadInterpretation(folder / "SIGN_Lib.TXT", "SUN in", buffers, notices);
             std::string failures;
             Require(failures, buffers.DataCount() == 0, "lines were stored");
             Require(failures, OneCriticalMessageNaming(notices, folder / "SIGN_Lib.TXT"),
                     "not reported as it should be");
             return failures;
         }},
        {"settings", "Tolvaris.ini",
         [](const std::filesystem::path& folder) {
             return LoadSettings(folder / "Tolvaris.ini") == SettingValues{}
                        ? std::string()
                        : std::string("not the defaults");
         }},
        {"keywords", "keywords.txt",
         [](const std::filesystem::path& folder) {
             FakeDisplay display;
             FakeNotices notices;
             AtomicFileWriter writer;
             PageBuffers buffers(display, notices, folder, writer);
             HintsAndKeywords(buffers, notices, folder).ShowKeywords();
             std::string failures;
             Require(failures, OneCriticalMessageNaming(notices, folder / "keywords.txt"),
                     "not reported as it should be");
             Require(failures, display.visible && buffers.DataCount() == 2, "no empty page shown");
             return failures;
         }},
        {"output help", "OutputD1.txt",
         [](const std::filesystem::path& folder) {
             FakeDisplay display;
             FakeNotices notices;
             AtomicFileWriter writer;
             PageBuffers buffers(display, notices, folder, writer);
             ShowOutputHelp(buffers, notices, folder);
             std::string failures;
             Require(failures, OneCriticalMessageNaming(notices, folder / "OutputD1.txt"),
                     "not reported as it should be");
             Require(failures, buffers.DataCount() == 0, "lines were stored");
             return failures;
         }},
    };
    return readers;
}

TEST(HostileFiles, OnlyOrdinaryFilesAreReadAndNothingBlocks) {
    int checked = 0;
    for (const Reader& reader : Readers()) {
        for (const auto& [kind, make] : HostileKinds()) {
            SCOPED_TRACE(std::string(reader.name) + " as " + kind);
            TempFolder folder;
            const std::string made = make(folder / reader.file);
            if (!made.empty()) {
                ADD_FAILURE() << "cannot make it: " << made;
                continue;
            }
            // Some of these would block a reader for ever; 10 s is far beyond
            // any honest refusal.
            EXPECT_EQ(test::InChild([&] { return reader.read(folder.Path()); }, 10), "");
            ++checked;
        }
    }
    EXPECT_EQ(checked, 40);
}

// The line reader, which every reader but the keyword page uses, while the
// file it reads is changed after its first line. The file is far larger than
// what the reader and the C library hold in hand, so most of it is read
// after the change.
TEST(HostileFiles, TheLineReaderCopesWithAFileChangedBetweenReads) {
    std::vector<std::string> original;
    std::string bytes;
    for (int i = 0; i < 20000; ++i) {
        original.push_back("line " + std::to_string(i));
        bytes += original.back() + "\r\n";
    }
    std::string rewritten;
    for (std::size_t i = 0; rewritten.size() < bytes.size(); ++i) {
        rewritten += "NEW " + std::to_string(i) + "\r\n";
    }
    const std::vector<std::string> after(original.begin() + 1, original.end());

    struct Change {
        const char* name;
        std::function<void(const std::filesystem::path&)> apply;
        // Checks the lines read after the change.
        std::function<void(const std::vector<std::string>&)> check;
    };
    // A prefix of the original lines; the last one may be cut short.
    const auto isCutPrefix = [&](const std::vector<std::string>& rest) {
        ASSERT_LT(rest.size(), after.size());
        for (std::size_t i = 0; i < rest.size(); ++i) {
            if (i + 1 < rest.size()) {
                ASSERT_EQ(rest[i], after[i]);
            } else {
                ASSERT_TRUE(after[i].starts_with(rest[i])) << rest[i];
            }
        }
    };
    const std::vector<Change> changes = {
        {"vanishes: the open file is still read whole",
         [](const auto& p) { std::filesystem::remove(p); },
         [&](const auto& rest) { EXPECT_EQ(rest, after); }},
        {"replaced by a rename: the old file is read on",
         [](const auto& p) {
             WriteBytes(p.parent_path() / "other", "X\r\n");
             std::filesystem::rename(p.parent_path() / "other", p);
         },
         [&](const auto& rest) { EXPECT_EQ(rest, after); }},
        {"grows: the new lines are read too",
         [](const auto& p) {
             std::ofstream(p, std::ios::binary | std::ios::app) << "line five\r\n";
         },
         [&](const auto& rest) {
             auto expected = after;
             expected.push_back("line five");
             EXPECT_EQ(rest, expected);
         }},
        {"truncated to nothing: what was in hand, then the end",
         [](const auto& p) { std::filesystem::resize_file(p, 0); }, isCutPrefix},
        {"truncated to half",
         [&](const auto& p) { std::filesystem::resize_file(p, bytes.size() / 2); },
         [&](const auto& rest) {
             isCutPrefix(rest);
             EXPECT_GT(rest.size(), after.size() / 3);
         }},
        {"rewritten in place: old lines in hand, then the new ones",
         [&](const auto& p) { WriteBytes(p, rewritten); },
         [&](const auto& rest) {
             std::size_t mixed = 0;
             for (const auto& line : rest) {
                 mixed += line.starts_with("line ") || line.starts_with("NEW ") ? 0 : 1;
             }
             EXPECT_LE(mixed, 1U);
             ASSERT_FALSE(rest.empty());
             EXPECT_TRUE(rest.back().starts_with("NEW ")) << rest.back();
         }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        TempFolder folder;
        const auto file = folder / "DATA.TXT";
        WriteBytes(file, bytes);
        std::string error;
        const FileHandle handle = OpenOrdinaryFileForReading(file, error);
        ASSERT_TRUE(handle) << error;
        LineReader reader(handle.get(), 16);
        std::string line;
        ASSERT_EQ(reader.ReadLine(line), LineReader::Status::Line);
        ASSERT_EQ(line, "line 0");
        change.apply(file);
        std::vector<std::string> rest;
        LineReader::Status status;
        for (line.clear(); (status = reader.ReadLine(line)) == LineReader::Status::Line;
             line.clear()) {
            rest.push_back(line);
            ASSERT_LE(rest.size(), 2 * original.size());
        }
        EXPECT_EQ(status, LineReader::Status::End);
        change.check(rest);
    }
}

// Every reader in a loop while another thread rewrites, truncates, deletes,
// replaces and extends the one file that all the names lead to.
TEST(HostileFiles, FilesChangingAndVanishingWhileTheyAreReadCrashNothing) {
    TempFolder folder;
    std::string entry = "SUN in Libra\r\n";
    for (int i = 0; i < 8000; ++i) {
        entry += "body line " + std::to_string(i) + "\r\n";
    }
    entry += "*\r\nDataTop=77\r\n";
    const auto file = folder / "SIGN_Lib.TXT";
    WriteBytes(file, entry);
    for (const char* name : {"Tolvaris.ini", "keywords.txt", "OutputD1.txt"}) {
        std::filesystem::create_symlink("SIGN_Lib.TXT", folder / name);
    }
    const std::string result = test::InChild(
        [&] {
            std::atomic<bool> stop{false};
            std::thread changer([&] {
                std::mt19937 random(5);
                while (!stop) {
                    std::error_code ec;
                    switch (random() % 6) {
                        case 0:
                            WriteBytes(file, entry);
                            break;
                        case 1:
                            std::filesystem::resize_file(file, random() % (entry.size() + 1), ec);
                            break;
                        case 2:
                            std::filesystem::remove(file, ec);
                            break;
                        case 3:
                            WriteBytes(folder / "next", entry.substr(0, random() % entry.size()));
                            std::filesystem::rename(folder / "next", file, ec);
                            break;
                        case 4:
                            std::ofstream(file, std::ios::binary | std::ios::app)
                                << "more " << random() << "\r\n";
                            break;
                        default: {
                            std::fstream inPlace(file,
                                                 std::ios::binary | std::ios::in | std::ios::out);
                            inPlace.seekp(static_cast<std::streamoff>(random() % entry.size()));
                            inPlace << "\r\n*\r\n\n\rgarbage";
                        }
                    }
                }
            });
            std::string failures;
            int rounds = 0;
            const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
            while (std::chrono::steady_clock::now() < end || rounds < 20) {
                FakeDisplay display;
                FakeNotices notices;
                AtomicFileWriter writer;
                PageBuffers buffers(display, notices, folder.Path(), writer);
                ReadInterpretation(file, "SUN in", buffers, notices);
                if (buffers.DataCount() > 0) {
                    Require(failures, buffers.DataBuffer()[0].View().starts_with("  SUN in"),
                            "an entry that does not start with its key");
                }
                const SettingValues settings = LoadSettings(folder / "Tolvaris.ini");
                // 7 when a truncation cut the line short.
                Require(failures,
                        settings.outputTop == 77 || settings.outputTop == 7 ||
                            settings.outputTop == 945,
                        "a settings value that was never in the file");
                HintsAndKeywords(buffers, notices, folder.Path()).ShowKeywords();
                ShowOutputHelp(buffers, notices, folder.Path());
                Require(failures, !notices.busy, "busy pointer left on");
                ++rounds;
            }
            stop = true;
            changer.join();
            return failures;
        },
        60);
    EXPECT_EQ(result, "");
}

}  // namespace
}  // namespace tolvaris
