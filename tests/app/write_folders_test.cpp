#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "core/settings/settings_file.h"
#include "support/fake_screen.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

namespace fs = std::filesystem;
using test::FakeNotices;
using test::FakeSaveDialog;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::string SettingsFile(const char* fontSize) {
    return test::SettingsFileText(fontSize);
}

// Every file below the folder with its content.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).string()] = ReadBytes(entry.path());
        }
    }
    return files;
}

TEST(WriteFoldersTest, AWritableProgramFolderKeepsEverythingAndAsksForNoUserFolder) {
    TempFolder root;
    std::vector<fs::path> asked;
    int userFolderCalls = 0;
    const WriteFolders folders = ChooseWriteFolders(
        root.Path(),
        [&](const fs::path& folder) {
            asked.push_back(folder);
            return true;
        },
        [&] {
            ++userFolderCalls;
            return WriteFolders{root / "user", root / "docs"};
        });
    EXPECT_EQ(folders.ownFiles, root.Path());
    EXPECT_EQ(folders.saveDialogStart, root.Path());
    EXPECT_EQ(asked, std::vector<fs::path>{root.Path()});
    EXPECT_EQ(userFolderCalls, 0);
    EXPECT_FALSE(fs::exists(root / "user")) << "a portable folder leaves the home alone";
}

TEST(WriteFoldersTest, AnUnwritableProgramFolderSendsTheWritesToTheUsersFolders) {
    TempFolder root;
    const fs::path data = root / "home" / "data" / "tolvaris";
    const WriteFolders folders = ChooseWriteFolders(
        root / "program", [](const fs::path&) { return false; },
        [&] {
            return WriteFolders{data, root / "home"};
        });
    EXPECT_EQ(folders.ownFiles, data);
    EXPECT_EQ(folders.saveDialogStart, root / "home");
    EXPECT_TRUE(fs::is_directory(data)) << "the data folder is made for the first write";

    // With no user folder at all the program folder is still the place, and
    // the failed writes say so there.
    const WriteFolders nowhere = ChooseWriteFolders(
        root / "program", [](const fs::path&) { return false; }, [] { return WriteFolders{}; });
    EXPECT_EQ(nowhere.ownFiles, root / "program");
    EXPECT_EQ(nowhere.saveDialogStart, root / "program");
}

// IsWritableFolder as seen by user nobody when the test runs as root (root
// may write into a read-only folder), else as the user running the test.
// Returns nothing when that user cannot even reach the folders.
std::optional<bool> WritableForAnOrdinaryUser(const fs::path& folder, const fs::path& probe) {
    if (::geteuid() != 0) {
        return IsWritableFolder(folder);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr gid_t kNobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(2);
        }
        std::error_code error;
        if (!fs::is_directory(probe, error)) {
            ::_exit(3);
        }
        ::_exit(IsWritableFolder(folder) ? 1 : 0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) > 1) {
        return std::nullopt;
    }
    return WEXITSTATUS(status) == 1;
}

TEST(WriteFoldersTest, IsWritableFolderFollowsTheRightsOfTheUser) {
    TempFolder root;
    fs::permissions(root.Path(), fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
    fs::create_directory(root / "open");
    fs::permissions(root / "open", fs::perms::all);
    fs::create_directory(root / "shared");
    fs::permissions(root / "shared", fs::perms::owner_read | fs::perms::owner_exec |
                                         fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
    WriteBytes(root / "a file", "x");
    fs::permissions(root / "a file", fs::perms::all);

    const struct {
        const char* name;
        bool writable;
    } cases[] = {
        {"open", true},
        {"shared", false},
        {"a file", false},
        {"missing", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<bool> writable =
            WritableForAnOrdinaryUser(root / c.name, root / "open");
        if (!writable) {
            GTEST_SKIP() << "an unprivileged user cannot reach " << root.Path();
        }
        EXPECT_EQ(*writable, c.writable);
    }
}

void WriteDataFiles(const fs::path& folder) {
    WriteBytes(folder / "SIGN_Lib.TXT", "SUN in Libra\r\nFair to a fault.\r\n*\r\n");
}

// One run from start to the main window's close, with the folders that the
// choice gives for a program folder that can or cannot be written.
TEST(WriteFoldersTest, ARunReadsDataFromTheProgramFolderAndWritesWhereTheChoiceSays) {
    for (const bool writable : {true, false}) {
        SCOPED_TRACE(writable ? "portable program folder" : "shared program folder");
        TempFolder root;
        const fs::path program = root / "program";
        fs::create_directories(program);
        fs::create_directories(root / "home" / "Documents");
        WriteDataFiles(program);
        WriteBytes(program / "Tolvaris.ini", SettingsFile("20"));

        const WriteFolders folders = ChooseWriteFolders(
            program, [writable](const fs::path&) { return writable; },
            [&] {
                return WriteFolders{root / "home" / "data" / "tolvaris",
                                    root / "home" / "Documents"};
            });
        const fs::path own = writable ? program : root / "home" / "data" / "tolvaris";
        ASSERT_EQ(folders.ownFiles, own);
        WriteBytes(own / "Tolvaris.ini", SettingsFile("12"));
        const auto programBefore = Snapshot(program);

        FakeNotices notices;
        FakeSaveDialog dialog;
        AtomicFileWriter writer;
        {
            Program run(program, notices, dialog, writer, folders);
            EXPECT_EQ(run.OwnFilesFolder(), own);
            EXPECT_EQ(run.Settings().outputFontSize, 12.0) << "settings come from " << own;
            run.Window().show();
            QTest::mouseClick(run.Window().Button("OKSigns"), Qt::LeftButton);
            ASSERT_NE(run.Output(), nullptr);
            EXPECT_NE(ReadBytes(own / "lastpage.txt").find("SUN in Libra"), std::string::npos);

            run.Saving().mnuFileSaveAs_Click();
            ASSERT_EQ(dialog.asked.size(), 1u);
            EXPECT_EQ(dialog.asked[0].initialFolder,
                      writable ? program : root / "home" / "Documents");

            fs::remove(own / "Tolvaris.ini");
            EXPECT_TRUE(run.Window().close());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        EXPECT_EQ(ReadBytes(own / "Tolvaris.ini"), SettingsFile("12"));
        EXPECT_TRUE(notices.messages.empty());
        if (!writable) {
            EXPECT_EQ(Snapshot(program), programBefore) << "the shared folder is only read";
        }
    }
}

// A folder named in Latin-1 ("ä" is the byte 0xE4) is as writable as any.
TEST(WriteFoldersTest, AFolderNameThatIsNotUtf8IsUsedByItsBytes) {
    for (const char* name : {"Tolvaris\xE4", "\xE4\xF6\xFC", "Tolvaris\xC3\xA4"}) {
        SCOPED_TRACE(name);
        TempFolder root;
        const fs::path program = root / name;
        fs::create_directories(program);
        WriteDataFiles(program);
        WriteBytes(program / "Tolvaris.ini", SettingsFile("14"));
        const WriteFolders folders = ChooseWriteFolders(program, IsWritableFolder, [] {
            return WriteFolders{"/u", "/u"};
        });
        EXPECT_EQ(folders.ownFiles, program);
        FakeNotices notices;
        FakeSaveDialog dialog;
        AtomicFileWriter writer;
        Program run(program, notices, dialog, writer, folders);
        EXPECT_EQ(run.Settings().outputFontSize, 14.0) << "the settings there are read";
        run.Window().show();
        QTest::mouseClick(run.Window().Button("OKSigns"), Qt::LeftButton);
        ASSERT_NE(run.Output(), nullptr);
        EXPECT_TRUE(run.Output()->PageView()->toPlainText().contains("Fair to a fault."));
        run.Settings().outputFontSize = 9;
        run.SaveSettingsAndCloseOutput();
        EXPECT_EQ(LoadSettings(program / "Tolvaris.ini").outputFontSize, 9.0) << "written there";
        EXPECT_TRUE(notices.messages.empty());
    }
}

}  // namespace
}  // namespace tolvaris
