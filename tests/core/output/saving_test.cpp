#include "core/output/saving.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_screen.h"
#include "support/page_fixture.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::FailingFileWriter;
using test::FakeSaveDialog;
using test::ReadBytes;
using test::RecordedMessage;
using test::WriteBytes;

std::vector<Line> Lines(const std::vector<std::string>& texts) {
    std::vector<Line> lines;
    for (const auto& text : texts) {
        lines.emplace_back(text);
    }
    return lines;
}

TEST(WriteDataFileTest, WritesEveryLineThenTheSpareLineAndTheFormFeedRule) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::string file;
    };
    const std::string big(200000, 'k');
    const std::vector<Case> cases = {
        {"two lines", {"A", "B"}, "A\r\nB\r\n\r\n\f\r\n"},
        {"empty lines stay", {"", "x", ""}, "\r\nx\r\n\r\n\r\n\f\r\n"},
        {"a line holding line breaks", {"a\r\nb\r\n", "c"}, "a\r\nb\r\n\r\nc\r\n\r\n\f\r\n"},
        {"a form-feed line is doubled, no closing one",
         {"A", "\f", "B"},
         "A\r\n\f\r\n\f\r\nB\r\n\r\n"},
        {"every form-feed line is doubled", {"\f", "\f"}, "\f\r\n\f\r\n\f\r\n\f\r\n\r\n"},
        {"form feed with other text is plain text",
         {"\fx", "x\f", "\f\r\n"},
         "\fx\r\nx\f\r\n\f\r\n\r\n\r\n\f\r\n"},
        {"bytes unchanged",
         {std::string("\0\xe9\x1a", 3)},
         std::string("\0\xe9\x1a\r\n\r\n\f\r\n", 10)},
        {"no lines at all", {}, "\r\n\f\r\n"},
        {"a long line between short ones keeps its place",
         {"a", big, "b"},
         "a\r\n" + big + "\r\nb\r\n\r\n\f\r\n"},
    };
    test::TempFolder folder;
    AtomicFileWriter writer;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = folder / "out.txt";
        EXPECT_EQ(WriteDataFile(path, Lines(c.lines), writer), "");
        EXPECT_EQ(ReadBytes(path), c.file);
    }
}

class SavingTest : public test::PageFixture {
protected:
    FakeSaveDialog dialog;
    OutputSaving saving{buffers, notices, dialog, writer, folder.Path()};
};

TEST_F(SavingTest, SaveAsOffersTheDialogAndRemembersTheChosenFile) {
    Append("A");
    dialog.answer = folder / "chart.txt";
    saving.mnuFileSaveAs_Click();

    ASSERT_EQ(dialog.asked.size(), 1U);
    const SaveDialogOptions& options = dialog.asked[0];
    EXPECT_EQ(options.initialFolder, folder.Path());
    EXPECT_EQ(options.initialName, ".txt");
    EXPECT_EQ(options.defaultExtension, "txt");
    EXPECT_EQ(options.filter, "Data Files (*.txt) | *.txt");
    EXPECT_TRUE(options.askBeforeOverwrite);
    EXPECT_TRUE(options.existingFoldersOnly);
    EXPECT_EQ(ReadBytes(folder / "chart.txt"), "A\r\n\r\n\f\r\n");
    EXPECT_EQ(saving.SaveFileName(), folder / "chart.txt");
    EXPECT_TRUE(notices.messages.empty());
}

TEST_F(SavingTest, CancellingTheDialogWritesNothingAndKeepsTheRememberedName) {
    Append("A");
    saving.mnuFileSaveAs_Click();
    EXPECT_TRUE(saving.SaveFileName().empty());
    // Save without a name asks again.
    saving.mnuFileSave_Click();
    EXPECT_EQ(dialog.asked.size(), 2U);

    dialog.answer = folder / "first.txt";
    saving.mnuFileSaveAs_Click();
    dialog.answer.reset();
    saving.mnuFileSaveAs_Click();
    EXPECT_EQ(saving.SaveFileName(), folder / "first.txt");
    EXPECT_TRUE(notices.messages.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST_F(SavingTest, SaveWithoutANameRunsSaveAsThenReusesTheName) {
    Append("A");
    dialog.answer = folder / "run.txt";
    saving.mnuFileSave_Click();
    ASSERT_EQ(dialog.asked.size(), 1U);
    EXPECT_EQ(ReadBytes(folder / "run.txt"), "A\r\n\r\n\f\r\n");

    Append("B");
    dialog.answer = folder / "not-asked.txt";
    saving.mnuFileSave_Click();
    EXPECT_EQ(dialog.asked.size(), 1U);
    EXPECT_EQ(ReadBytes(folder / "run.txt"), "A\r\nB\r\n\r\n\f\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "not-asked.txt"));
}

TEST_F(SavingTest, WithoutDataBothCommandsSayThereIsNothingToWrite) {
    Append("A");
    dialog.answer = folder / "kept.txt";
    saving.mnuFileSaveAs_Click();
    buffers.ClearDataBuffer();

    saving.mnuFileSave_Click();
    saving.mnuFileSaveAs_Click();

    ASSERT_EQ(notices.messages.size(), 2U);
    for (const auto& message : notices.messages) {
        EXPECT_EQ(message.text, "No data to write to file.");
        EXPECT_EQ(message.caption, "Information");
        EXPECT_EQ(message.icon, NoticeIcon::Exclamation);
    }
    EXPECT_EQ(dialog.asked.size(), 1U);
    EXPECT_EQ(ReadBytes(folder / "kept.txt"), "A\r\n\r\n\f\r\n");
    EXPECT_EQ(saving.SaveFileName(), folder / "kept.txt");
}

TEST_F(SavingTest, MoreLinesThanASixteenBitCountAreAllSaved) {
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        const std::string text = i % 1000 == 0 ? std::string() : "line " + std::to_string(i);
        Append(text);
        expected += text + "\r\n";
    }
    expected += "\r\n\f\r\n";
    dialog.answer = folder / "big.txt";
    saving.mnuFileSaveAs_Click();
    EXPECT_TRUE(ReadBytes(folder / "big.txt") == expected);
    EXPECT_TRUE(notices.messages.empty());
}

TEST_F(SavingTest, AFailedSaveIsReportedAndTheEarlierFileKept) {
    FailingFileWriter failing("No space left on device");
    OutputSaving failingSaving{buffers, notices, dialog, failing, folder.Path()};
    const auto old = folder / "old.txt";
    WriteBytes(old, "earlier save\r\n");
    Append("A");

    // Save to the remembered file.
    failingSaving.SetSaveFileName(old);
    failingSaving.mnuFileSave_Click();
    {
        const RecordedMessage& message = OnlyMessage();
        EXPECT_NE(message.text.find(old.string()), std::string::npos) << message.text;
        EXPECT_NE(message.text.find("No space left on device"), std::string::npos);
        EXPECT_EQ(message.caption, "Warning!");
        EXPECT_EQ(message.icon, NoticeIcon::Critical);
    }
    EXPECT_EQ(failingSaving.SaveFileName(), old);

    // Save As after its dialog: the chosen name is remembered although it
    // could not be written, so the next Save aims there, not at old.txt.
    notices.messages.clear();
    dialog.answer = folder / "other.txt";
    failingSaving.mnuFileSaveAs_Click();
    {
        const RecordedMessage& message = OnlyMessage();
        EXPECT_NE(message.text.find((folder / "other.txt").string()), std::string::npos);
        EXPECT_EQ(message.caption, "Warning!");
        EXPECT_EQ(message.icon, NoticeIcon::Critical);
    }
    EXPECT_EQ(failingSaving.SaveFileName(), folder / "other.txt");
    EXPECT_EQ(failing.attempts, 2);
    EXPECT_EQ(ReadBytes(old), "earlier save\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "other.txt"));
}

TEST_F(SavingTest, AFailedSaveAsIsRememberedSoSaveNeverWritesAnEarlierFile) {
    Append("A");
    dialog.answer = folder / "earlier.txt";
    saving.mnuFileSaveAs_Click();
    ASSERT_EQ(ReadBytes(folder / "earlier.txt"), "A\r\n\r\n\f\r\n");

    Append("B");
    const auto target = folder / "gone" / "out.txt";
    dialog.answer = target;
    saving.mnuFileSaveAs_Click();
    const RecordedMessage& message = OnlyMessage();
    EXPECT_NE(message.text.find(target.string()), std::string::npos) << message.text;
    EXPECT_NE(message.text.find("No such file or directory"), std::string::npos) << message.text;
    EXPECT_EQ(saving.SaveFileName(), target);

    // Save aims at the chosen file and fails there again, aloud; the earlier
    // file keeps what it had.
    notices.messages.clear();
    saving.mnuFileSave_Click();
    EXPECT_NE(OnlyMessage().text.find(target.string()), std::string::npos);
    EXPECT_EQ(dialog.asked.size(), 2U);
    EXPECT_EQ(ReadBytes(folder / "earlier.txt"), "A\r\n\r\n\f\r\n");
}

TEST_F(SavingTest, SaveToAFolderThatBecameReadOnlyKeepsTheEarlierFile) {
    Append("A");
    const auto sub = folder / "saved";
    std::filesystem::create_directory(sub);
    dialog.answer = sub / "chart.txt";
    saving.mnuFileSaveAs_Click();
    ASSERT_EQ(ReadBytes(sub / "chart.txt"), "A\r\n\r\n\f\r\n");
    Append("B");
    std::filesystem::permissions(sub,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);

    // Root writes anywhere, so the save runs as an unprivileged user.
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                std::_Exit(2);
            }
            saving.mnuFileSave_Click();
            const bool reported =
                notices.messages.size() == 1 &&
                notices.messages[0].text.find((sub / "chart.txt").string()) != std::string::npos &&
                notices.messages[0].icon == NoticeIcon::Critical;
            std::_Exit(reported ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadBytes(sub / "chart.txt"), "A\r\n\r\n\f\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sub), {}), 1);
}

}  // namespace
}  // namespace tolvaris
