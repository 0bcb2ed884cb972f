// A data file of 1 GB and lines of 100 MB. Searching a file keeps memory
// bounded whatever its size; a long line in an entry is copied, shown, saved
// and read back whole; the settings reader looks at no more of a line than it
// needs.
//
// The files live in /dev/shm where there is one: what is measured is the
// program, not the disk (this machine's disk gives the holes of a sparse file
// at 240 MB/s, memory at several GB/s). Long runs of zeros are holes, so
// that the big files cost neither time to write nor memory to hold. The 1 GB
// file of real lines is written in full: about 2 s in memory, even under
// AddressSanitizer; on a disk it is left to TOLVARIS_LONG_TESTS=1.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

#include "core/common/line_reader.h"
#include "core/common/text_file.h"
#include "core/engine/interpretation_reader.h"
#include "core/engine/page_buffers.h"
#include "core/engine/whole_file_reader.h"
#include "core/output/output_help.h"
#include "core/output/saving.h"
#include "core/settings/settings_file.h"
#include "support/fake_screen.h"
#include "support/page_fixture.h"
#include "support/reliability_support.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using test::FakeNotices;
using test::FastFolder;

constexpr std::uintmax_t kGigabyte = std::uintmax_t{1} << 30;
constexpr std::size_t kHundredMegabytes = std::size_t{100} << 20;

// The peak resident size is measured from here on.
void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::size_t PeakGrowthMegabytes(std::size_t startKb) {
    const std::size_t peak = test::StatusKilobytes("VmHWM");
    return peak > startKb ? (peak - startKb) / 1024 : 0;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Zeros {
    std::uintmax_t count;
};
using Piece = std::variant<std::string, Zeros>;

// Text pieces as they are, zero pieces as holes.
void MakeFile(const std::filesystem::path& path, const std::vector<Piece>& pieces) {
    std::uintmax_t size = 0;
    {
        std::ofstream out(path, std::ios::binary);
        for (const Piece& piece : pieces) {
            if (const auto* text = std::get_if<std::string>(&piece)) {
                out.seekp(static_cast<std::streamoff>(size));
                out << *text;
                size += text->size();
            } else {
                size += std::get<Zeros>(piece).count;
            }
        }
    }
    std::filesystem::resize_file(path, size);
}

bool AllZeros(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\0'; });
}

class BigFiles : public ::testing::Test {
protected:
    std::vector<std::string> Entry(const std::filesystem::path& file, std::string_view key) {
        buffers.ResetPage();
        ReadInterpretation(file, key, buffers, notices);
        return test::LineTexts(buffers.PageLines());
    }

    FastFolder folder;
    test::PageSizeDisplay display;
    FakeNotices notices;
    AtomicFileWriter writer;
    PageBuffers buffers{display, notices, folder.Path(), writer};
};

TEST_F(BigFiles, AnEntryAtTheEndOfAGigabyteIsFoundInBoundedMemory) {
    const std::string tail = "\r\nSUN in Libra\r\nat the very end\r\n*\r\n";
    MakeFile(folder / "SIGN_Lib.TXT", {Zeros{kGigabyte - tail.size()}, tail});
    ResetPeakMemory();
    const std::size_t before = test::StatusKilobytes("VmRSS");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Entry(folder / "SIGN_Lib.TXT", "SUN in"),
              (std::vector<std::string>{"  SUN in Libra", "  at the very end"}));
    const double seconds = SecondsSince(start);
    EXPECT_TRUE(notices.messages.empty());
    EXPECT_LT(PeakGrowthMegabytes(before), 16U);
    std::cout << "1 GB data file, entry at the end: " << seconds << " s, peak growth "
              << PeakGrowthMegabytes(before) << " MB\n";

    // The settings reader, with the one setting at the end.
    MakeFile(folder / "Tolvaris.ini", {Zeros{kGigabyte}, "\nDataTop=77\r\n"});
    ResetPeakMemory();
    const std::size_t beforeSettings = test::StatusKilobytes("VmRSS");
    const auto startSettings = std::chrono::steady_clock::now();
    EXPECT_EQ(LoadSettings(folder / "Tolvaris.ini").outputTop, 77);
    EXPECT_LT(PeakGrowthMegabytes(beforeSettings), 16U);
    std::cout << "1 GB settings file: " << SecondsSince(startSettings) << " s, peak growth "
              << PeakGrowthMegabytes(beforeSettings) << " MB\n";
}

TEST_F(BigFiles, AGigabyteOfRealLinesIsSearchedInBoundedMemory) {
    const bool roomInMemory =
        folder.InMemory() && std::filesystem::space(folder.Path()).available > 3 * kGigabyte;
    if (!roomInMemory && !test::LongTestsWanted()) {
        GTEST_SKIP() << "no room in memory; TOLVARIS_LONG_TESTS=1 writes 1 GB of lines to disk";
    }
    const auto file = folder / "SIGN_Lib.TXT";
    {
        std::ofstream out(file, std::ios::binary);
        std::string block;
        for (int i = 0; block.size() < (1U << 20); ++i) {
            block += "MOON in Aries, an ordinary line of an ordinary entry " + std::to_string(i) +
                     "\r\n";
        }
        for (std::uintmax_t written = 0; written < kGigabyte; written += block.size()) {
            out << block;
        }
        out << "SUN in Libra\r\nlast\r\n*\r\n";
    }
    ResetPeakMemory();
    const std::size_t before = test::StatusKilobytes("VmRSS");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Entry(file, "SUN in"), (std::vector<std::string>{"  SUN in Libra", "  last"}));
    EXPECT_LT(PeakGrowthMegabytes(before), 16U);
    std::cout << "1 GB of lines, entry at the end: " << SecondsSince(start) << " s, peak growth "
              << PeakGrowthMegabytes(before) << " MB\n";
}

TEST_F(BigFiles, AHundredMegabyteLineIsCopiedShownSavedAndReadBackWhole) {
    const auto start = std::chrono::steady_clock::now();
    MakeFile(folder / "SIGN_Lib.TXT",
             {"SUN in Libra\r\n", Zeros{kHundredMegabytes}, "END\r\nnext\r\n*\r\n"});
    const auto lines = Entry(folder / "SIGN_Lib.TXT", "SUN in");
    ASSERT_EQ(lines.size(), 3U);
    ASSERT_EQ(lines[1].size(), kHundredMegabytes + 5);
    EXPECT_TRUE(lines[1].starts_with("  ") && lines[1].ends_with("END"));
    EXPECT_TRUE(AllZeros(std::string_view(lines[1]).substr(2, kHundredMegabytes)));
    EXPECT_EQ(lines[2], "  next");

    // The page: its file and the window get every byte.
    buffers.ShowPage();
    EXPECT_TRUE(notices.messages.empty());
    const std::uintmax_t pageBytes = 16 + lines[1].size() + 2 + 8 + 2 + 2;
    EXPECT_EQ(std::filesystem::file_size(buffers.PageFilePath()), pageBytes);
    EXPECT_EQ(display.shownBytes, pageBytes);

    // Saved and read back line by line.
    const auto saved = folder / "saved.txt";
    ASSERT_EQ(WriteDataFile(saved, buffers.DataBuffer(), writer), "");
    std::string error;
    const FileHandle handle = OpenOrdinaryFileForReading(saved, error);
    ASSERT_TRUE(handle) << error;
    LineReader reader(handle.get());
    std::vector<std::string> back;
    for (std::string line; reader.ReadLine(line) == LineReader::Status::Line; line.clear()) {
        back.push_back(std::move(line));
    }
    ASSERT_EQ(back.size(), 6U);
    EXPECT_TRUE(back[1] == lines[1]);
    EXPECT_EQ(back[3], "");
    EXPECT_EQ(back[5], "\f");

    // The output help shows such a line as it is.
    MakeFile(OutputHelpFilePath(folder.Path()), {"Help\r\n", Zeros{kHundredMegabytes}});
    ShowOutputHelp(buffers, notices, folder.Path());
    // "Help", the line, the closing empty line, and the one ShowPage adds.
    ASSERT_EQ(buffers.PageCount(), 4);
    EXPECT_EQ(buffers.PageLines()[1].Size(), kHundredMegabytes);

    // The keyword page reads a file whole, however it is made up.
    MakeFile(folder / "keywords.txt", {Zeros{kHundredMegabytes}, "\r\nlast"});
    const WholeFile keywords = ReadWholeFile(folder / "keywords.txt");
    EXPECT_EQ(keywords.bytes.size(), kHundredMegabytes + 6);
    EXPECT_TRUE(keywords.bytes.ends_with("\r\nlast"));
    EXPECT_TRUE(notices.messages.empty());
    std::cout << "100 MB lines: entry, page file, save, read back, help, keywords: "
              << SecondsSince(start) << " s\n";
}

TEST_F(BigFiles, TheSettingsReaderKeepsNoMoreOfAHundredMegabyteLineThanItNeeds) {
    MakeFile(folder / "Tolvaris.ini", {"Remark ", Zeros{kHundredMegabytes},
                                       "\r\nDataTop=12\r\nFontBold=" + std::string(2 << 20, ' ') +
                                           "-1\r\nDataWidth=5000\r\n"});
    ResetPeakMemory();
    const std::size_t before = test::StatusKilobytes("VmRSS");
    // Only the first MiB of a line counts: the bold value lies beyond it.
    EXPECT_EQ(LoadSettings(folder / "Tolvaris.ini"),
              (SettingValues{.outputTop = 12, .outputWidth = 5000}));
    EXPECT_LT(PeakGrowthMegabytes(before), 16U);
}

}  // namespace
}  // namespace tolvaris
