// A read-only program folder, and read-only files in a writable one, as an
// unprivileged user (root ignores permissions, so a root run drops to user
// 65534 in a child): the requests go on working, every write that fails is
// reported with what failed, and nothing in the folder changes.

#include <gtest/gtest.h>

#include <string>

#include "core/engine/page_buffers.h"
#include "core/output/saving.h"
#include "core/requests/requests.h"
#include "core/settings/settings_file.h"
#include "support/fake_screen.h"
#include "support/reliability_support.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::FakeDisplay;
using test::FakeNotices;
using test::FolderSnapshot;
using test::Require;
using test::TempFolder;
using test::WriteBytes;

const std::string kSigns =
    "SUN in Libra\r\nBalance matters.\r\n*\r\nMOON in Libra\r\nCalm.\r\n*\r\n";

void PrepareProgramFolder(const std::filesystem::path& folder) {
    WriteBytes(folder / "SIGN_Lib.TXT", kSigns);
    WriteBytes(folder / "lastpage.txt", "earlier page\r\n");
    WriteBytes(folder / "chart.txt", "earlier chart\r\n");
    AtomicFileWriter writer;
    ASSERT_EQ(SaveSettings(folder / std::string(kSettingsFileName), SettingValues{.outputTop = 50},
                           writer),
              "");
}

bool NamesFile(const FakeNotices& notices, std::size_t index, const std::filesystem::path& file) {
    return notices.messages.size() > index &&
           notices.messages[index].text.find(file.string()) != std::string::npos &&
           notices.messages[index].text.find("Permission denied") != std::string::npos &&
           notices.messages[index].icon == NoticeIcon::Critical;
}

// One session's worth of work in a folder the user cannot change.
std::string UseTheProgramIn(const std::filesystem::path& folder) {
    std::string failures;
    if (const std::string dropped = test::BecomeUnprivileged(); !dropped.empty()) {
        return dropped;
    }
    FakeDisplay display;
    FakeNotices notices;
    AtomicFileWriter writer;
    test::AnsweringSaveDialog dialog;
    PageBuffers buffers(display, notices, folder, writer);
    Requests requests(buffers, notices, folder);
    OutputSaving saving(buffers, notices, dialog, writer, folder);

    // The settings are read as usual.
    const auto settingsFile = folder / std::string(kSettingsFileName);
    Require(failures, LoadSettings(settingsFile).outputTop == 50, "settings not read");

    // A request reads its entry and shows it, the page file failing.
    requests.OKSigns_Click();
    Require(failures, NamesFile(notices, 0, folder / "lastpage.txt"),
            "page file: " + (notices.messages.empty() ? "no message" : notices.messages[0].text));
    Require(failures,
            display.shownText == "\r\nSUN in Libra\r\nBalance matters.\r\n\r\n\r\n" ||
                display.shownText == JoinLinesForFile(buffers.PageLines()),
            "the page was not shown: " + display.shownText);
    Require(failures, buffers.DataCount() == 4, "the entry was not stored");

    // And so does the next one: the program runs on.
    requests.Select(OptionGroup::Planet, 1);
    requests.OKSigns_Click();
    Require(failures, NamesFile(notices, 1, folder / "lastpage.txt"), "second page file");
    Require(failures, display.shownText.find("Calm.") != std::string::npos, "second page");

    // Saving over the earlier output.
    saving.SetSaveFileName(folder / "chart.txt");
    saving.mnuFileSave_Click();
    Require(failures, NamesFile(notices, 2, folder / "chart.txt"), "save");
    // Saving under a new name.
    dialog.answer = folder / "new.txt";
    saving.mnuFileSaveAs_Click();
    Require(failures, NamesFile(notices, 3, folder / "new.txt"), "save as");
    Require(failures, saving.SaveFileName() == folder / "new.txt", "the chosen name was lost");

    // The settings at exit.
    const std::string error = SaveSettings(settingsFile, SettingValues{.outputTop = 70}, writer);
    Require(failures, error == "Permission denied", "settings: \"" + error + "\"");
    Require(failures, notices.messages.size() == 4, "more messages than failures");
    return failures;
}

TEST(ReadOnly, AReadOnlyProgramFolderIsReportedAndLeftAlone) {
    TempFolder folder;
    PrepareProgramFolder(folder.Path());
    std::filesystem::permissions(folder.Path(), std::filesystem::perms(0555));
    const auto before = FolderSnapshot(folder.Path());
    EXPECT_EQ(test::InChild([&] { return UseTheProgramIn(folder.Path()); }), "");
    EXPECT_EQ(FolderSnapshot(folder.Path()), before);
}

TEST(ReadOnly, ReadOnlyFilesInAWritableFolderAreReportedAndLeftAlone) {
    TempFolder folder;
    PrepareProgramFolder(folder.Path());
    std::filesystem::permissions(folder.Path(), std::filesystem::perms(0777));
    for (const char* name : {"lastpage.txt", "chart.txt", "new.txt", "Tolvaris.ini"}) {
        if (std::string(name) == "new.txt") {
            WriteBytes(folder / name, "a file the user may not change\r\n");
        }
        std::filesystem::permissions(folder / name, std::filesystem::perms(0444));
    }
    const auto before = FolderSnapshot(folder.Path());
    EXPECT_EQ(test::InChild([&] { return UseTheProgramIn(folder.Path()); }), "");
    EXPECT_EQ(FolderSnapshot(folder.Path()), before);
}

}  // namespace
}  // namespace tolvaris
