// The settings at exit with the whole program: when the disk is full as the
// main window closes, the user is told there and then, and the settings file
// of the earlier run stays whole. The full disk is a file size limit of this
// process (the settings are written past it and cut short), lifted again
// right after.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>

#include "app/program.h"
#include "core/settings/settings_file.h"
#include "support/fake_screen.h"
#include "support/reliability_support.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::FakeNotices;
using test::ReadBytes;
using test::TempFolder;

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
};

TEST(SettingsAtExit, AFullDiskAsTheMainWindowClosesIsReportedAndTheEarlierFileKept) {
    TempFolder folder;
    AtomicFileWriter writer;
    const auto file = folder / std::string(kSettingsFileName);
    ASSERT_EQ(SaveSettings(file, SettingValues{.outputTop = 300}, writer), "");
    const auto before = test::FolderSnapshot(folder.Path());

    FakeNotices notices;
    test::AnsweringSaveDialog dialog;
    {
        Program program(folder.Path(), notices, dialog, writer);
        ASSERT_EQ(program.SettingsFilePath(), file);
        EXPECT_EQ(program.Settings().outputTop, 300);
        program.Settings().outputTop = 1234;
        program.Settings().outputFontSize = 14;
        {
            const FileSizeLimit full(64);
            program.SaveSettingsAndCloseOutput();
        }
        ASSERT_EQ(notices.messages.size(), 1U);
        EXPECT_EQ(notices.messages[0].text, "The settings could not be written to the file " +
                                                file.string() + ": File too large.");
        EXPECT_EQ(notices.messages[0].caption, "Warning!");
        EXPECT_EQ(notices.messages[0].icon, NoticeIcon::Critical);
    }
    EXPECT_EQ(test::FolderSnapshot(folder.Path()), before);
    EXPECT_EQ(LoadSettings(file).outputTop, 300);

    // The next run starts from the earlier settings and saves its own.
    Program next(folder.Path(), notices, dialog, writer);
    EXPECT_EQ(next.Settings().outputTop, 300);
    next.Settings().outputTop = 1234;
    next.SaveSettingsAndCloseOutput();
    EXPECT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(LoadSettings(file).outputTop, 1234);
}

}  // namespace
}  // namespace tolvaris
