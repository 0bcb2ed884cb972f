// A full disk while saving the output, while writing the settings at exit and
// while writing the page file, with the real file writer: the user is told
// what failed, the earlier copy stays whole, no temporary file is left, and
// once there is room again the same action succeeds.
//
// Two kinds of full disk, each in a child process so that nothing leaks into
// the other tests: a file size limit (every write past it fails with EFBIG,
// and a write that straddles it is cut short, which is what a filling disk
// does) and, when the test runs as root, a tmpfs of 128 KiB mounted in a
// private mount namespace and filled to the last block (ENOSPC).

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/engine/page_buffers.h"
#include "core/output/saving.h"
#include "core/settings/settings_file.h"
#include "support/fake_screen.h"
#include "support/reliability_support.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::FakeDisplay;
using test::FakeNotices;
using test::FolderSnapshot;
using test::ReadBytes;
using test::Require;
using test::TempFolder;

enum class Fullness { FileSizeLimit, FullTmpfs };

bool Put(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out.good();
}

// Lives in the child only.
class FullDisk {
public:
    FullDisk(Fullness kind, std::filesystem::path folder)
        : kind_(kind), folder_(std::move(folder)) {}

    // "" when ready, "SKIP: ..." when this kind cannot be had here.
    std::string Open() {
        if (kind_ == Fullness::FileSizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            return "";
        }
        if (::unshare(CLONE_NEWNS) != 0) {
            return std::string("SKIP: no private mount namespace: ") + std::strerror(errno);
        }
        // Source and type mean nothing to a change of propagation; they are
        // named all the same, since checkers take a null one for an error.
        if (::mount("none", "/", "none", MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tolvaris-full", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                    "size=128k,mode=0755") != 0) {
            return std::string("SKIP: cannot mount a tmpfs: ") + std::strerror(errno);
        }
        return "";
    }

    // From now on writes into the folder fail.
    void Fill() {
        if (kind_ == Fullness::FileSizeLimit) {
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 64;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return;
        }
        std::FILE* filler = std::fopen((folder_ / "filler").c_str(), "wb");
        const std::string block(4096, 'f');
        while (filler != nullptr &&
               std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
        }
        if (filler != nullptr) {
            std::fclose(filler);
        }
    }

    // Room again.
    void Drain() {
        if (kind_ == Fullness::FileSizeLimit) {
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = limit.rlim_max;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return;
        }
        std::filesystem::remove(folder_ / "filler");
    }

    std::string Reason() const {
        return kind_ == Fullness::FileSizeLimit ? "File too large" : "No space left on device";
    }

private:
    Fullness kind_;
    std::filesystem::path folder_;
};

void AppendLines(PageBuffers& buffers, int count, const std::string& stem) {
    for (int i = 0; i < count; ++i) {
        buffers.AppendLine(Line(stem + " reading line " + std::to_string(i)));
    }
}

bool Mentions(const test::RecordedMessage& message, const std::filesystem::path& file,
              const std::string& reason) {
    return message.text.find(file.string()) != std::string::npos &&
           message.text.find(reason) != std::string::npos && message.caption == "Warning!" &&
           message.icon == NoticeIcon::Critical;
}

std::string SavingTheOutput(const std::filesystem::path& folder, FullDisk& disk) {
    std::string failures;
    const auto chart = folder / "chart.txt";
    const std::string earlier = "earlier chart\r\n\r\n\f\r\n";
    Require(failures, Put(chart, earlier), "cannot prepare the earlier save");
    FakeDisplay display;
    FakeNotices notices;
    AtomicFileWriter writer;
    test::AnsweringSaveDialog dialog;
    PageBuffers buffers(display, notices, folder, writer);
    OutputSaving saving(buffers, notices, dialog, writer, folder);
    AppendLines(buffers, 3000, "saved");
    saving.SetSaveFileName(chart);

    disk.Fill();
    const auto before = FolderSnapshot(folder);
    saving.mnuFileSave_Click();
    if (Require(failures, notices.messages.size() == 1, "Save: one message expected")) {
        Require(failures, Mentions(notices.messages[0], chart, disk.Reason()),
                "Save: " + notices.messages[0].text);
    }
    dialog.answer = folder / "new.txt";
    saving.mnuFileSaveAs_Click();
    if (Require(failures, notices.messages.size() == 2, "Save As: one more message expected")) {
        Require(failures, Mentions(notices.messages[1], folder / "new.txt", disk.Reason()),
                "Save As: " + notices.messages[1].text);
    }
    Require(failures, FolderSnapshot(folder) == before, "the folder changed");
    Require(failures, saving.SaveFileName() == folder / "new.txt", "the chosen name was lost");

    disk.Drain();
    saving.mnuFileSave_Click();
    Require(failures, notices.messages.size() == 2, "a save with room again was refused");
    Require(failures,
            ReadBytes(folder / "new.txt") == JoinLinesForFile(buffers.DataBuffer()) + "\f\r\n",
            "the save with room again is not whole");
    Require(failures, ReadBytes(chart) == earlier, "the earlier file changed");
    return failures;
}

std::string WritingTheSettingsAtExit(const std::filesystem::path& folder, FullDisk& disk) {
    std::string failures;
    const auto file = folder / std::string(kSettingsFileName);
    AtomicFileWriter writer;
    const SettingValues earlier{.outputFontSize = 10, .outputTop = 111};
    Require(failures, SaveSettings(file, earlier, writer).empty(), "cannot prepare the settings");
    const SettingValues changed{
        .outputFontSize = 14.5, .outputFontBold = -1, .outputTop = 2222, .outputWidth = 7000};

    disk.Fill();
    const auto before = FolderSnapshot(folder);
    const std::string error = SaveSettings(file, changed, writer);
    Require(failures, error == disk.Reason(), "the reason given was \"" + error + "\"");
    Require(failures, FolderSnapshot(folder) == before, "the folder changed");
    Require(failures, LoadSettings(file) == earlier, "the earlier settings were not kept");

    disk.Drain();
    Require(failures, SaveSettings(file, changed, writer).empty(), "no save with room again");
    Require(failures, LoadSettings(file) == changed, "the settings saved with room again differ");
    return failures;
}

std::string WritingThePageFile(const std::filesystem::path& folder, FullDisk& disk) {
    std::string failures;
    const auto pageFile = folder / "lastpage.txt";
    Require(failures, Put(pageFile, "earlier page\r\n"), "cannot prepare the page file");
    FakeDisplay display;
    FakeNotices notices;
    AtomicFileWriter writer;
    PageBuffers buffers(display, notices, folder, writer);
    buffers.ResetPage();
    AppendLines(buffers, 40, "page");

    disk.Fill();
    const auto before = FolderSnapshot(folder);
    buffers.ShowPage();
    if (Require(failures, notices.messages.size() == 1, "one message expected")) {
        Require(failures, Mentions(notices.messages[0], pageFile, disk.Reason()),
                notices.messages[0].text);
    }
    Require(failures, display.visible && display.shownText == JoinLinesForFile(buffers.PageLines()),
            "the page was not shown");
    Require(failures, FolderSnapshot(folder) == before, "the folder changed");

    disk.Drain();
    buffers.ResetPage();
    AppendLines(buffers, 3, "next");
    buffers.ShowPage();
    Require(failures, notices.messages.size() == 1, "a page with room again was refused");
    Require(failures, ReadBytes(pageFile) == JoinLinesForFile(buffers.PageLines()),
            "the page file written with room again is wrong");
    return failures;
}

TEST(DiskFull, EveryFileKeepsItsEarlierCopyAndTheUserIsTold) {
    const std::vector<std::pair<const char*, Fullness>> kinds = {
        {"file size limit", Fullness::FileSizeLimit}, {"full tmpfs", Fullness::FullTmpfs}};
    const std::vector<
        std::pair<const char*, std::function<std::string(const std::filesystem::path&, FullDisk&)>>>
        cases = {{"saving the output", SavingTheOutput},
                 {"settings at exit", WritingTheSettingsAtExit},
                 {"page file", WritingThePageFile}};
    int ran = 0;
    for (const auto& [kindName, kind] : kinds) {
        for (const auto& [caseName, body] : cases) {
            SCOPED_TRACE(std::string(kindName) + ", " + caseName);
            TempFolder folder;
            const std::string result = test::InChild([&, kind = kind, body = body] {
                FullDisk disk(kind, folder.Path());
                const std::string opened = disk.Open();
                return opened.empty() ? body(folder.Path(), disk) : opened;
            });
            if (result.rfind("SKIP:", 0) == 0) {
                std::cout << kindName << ", " << caseName << ": " << result << "\n";
                continue;
            }
            EXPECT_EQ(result, "");
            ++ran;
        }
    }
    EXPECT_GE(ran, 3);
}

}  // namespace
}  // namespace tolvaris
