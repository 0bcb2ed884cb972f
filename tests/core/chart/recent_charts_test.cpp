#include "core/chart/recent_charts.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/fake_screen.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

using std::filesystem::path;
using test::FailingFileWriter;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(RecentCharts, AddPutsFirstOnceAndDropsTheOldest) {
    TempFolder folder;
    RecentCharts recent(folder / kRecentChartsFileName, 3);
    recent.Add("/c/a.chart");
    recent.Add("/c/b.chart");
    recent.Add("/c/c.chart");
    recent.Add("/c/a.chart");
    EXPECT_EQ(recent.Paths(), (std::vector<path>{"/c/a.chart", "/c/c.chart", "/c/b.chart"}));
    recent.Add("/c/d.chart");
    EXPECT_EQ(recent.Paths(), (std::vector<path>{"/c/d.chart", "/c/a.chart", "/c/c.chart"}));
    EXPECT_TRUE(recent.Remove("/c/a.chart"));
    EXPECT_FALSE(recent.Remove("/c/a.chart"));
    EXPECT_EQ(recent.Paths(), (std::vector<path>{"/c/d.chart", "/c/c.chart"}));
}

TEST(RecentCharts, SaveThenLoadRoundTrips) {
    TempFolder folder;
    AtomicFileWriter writer;
    RecentCharts recent(folder / kRecentChartsFileName);
    recent.Add("/home/ann/Charts/Ann Lee.chart");
    recent.Add("/home/ann/Charts/Zoë.chart");
    recent.Add("/c/two\nlines\r\\n.chart");
    ASSERT_EQ(recent.Save(writer), "");
    EXPECT_EQ(ReadBytes(folder / kRecentChartsFileName),
              "# Tolvaris recent charts 1\n/c/two\\nlines\\r\\\\n.chart\n"
              "/home/ann/Charts/Zoë.chart\n/home/ann/Charts/Ann Lee.chart\n");
    RecentCharts again(folder / kRecentChartsFileName);
    again.Load();
    EXPECT_EQ(again.Paths(), recent.Paths());
}

TEST(RecentCharts, AMissingOrDamagedFileIsAnEmptyList) {
    const struct {
        const char* name;
        std::string text;
    } damaged[] = {
        {"empty", ""},
        {"no heading", "/c/a.chart\n"},
        {"other heading", "# Tolvaris recent charts 2\n/c/a.chart\n"},
        {"too big", "# Tolvaris recent charts 1\n/" + std::string(70 * 1024, 'x') + "\n"},
    };
    for (const auto& c : damaged) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        WriteBytes(folder / kRecentChartsFileName, c.text);
        RecentCharts recent(folder / kRecentChartsFileName);
        recent.Add("/stale.chart");  // Load replaces what was there
        recent.Load();
        EXPECT_TRUE(recent.Paths().empty());
    }
    TempFolder folder;
    RecentCharts missing(folder / kRecentChartsFileName);
    missing.Load();
    EXPECT_TRUE(missing.Paths().empty());
    std::filesystem::create_directory(folder / "folder");
    RecentCharts notAFile(folder / "folder");
    notAFile.Load();
    EXPECT_TRUE(notAFile.Paths().empty());
}

TEST(RecentCharts, ParseKeepsCrLfFilesDropsDuplicatesAndBadLinesAndStopsAtTheCapacity) {
    // Bad lines cost only themselves; an older file's "\\d" stands for itself.
    const std::string text = std::string(
        "# Tolvaris recent charts 1\r\n/a.chart\r\nb.chart\r\n\r\n"
        "/b.chart\r\n/a\0.chart\r\n/a.chart\r\nlines.chart\r\n/c\\d.chart\r\n",
        105);
    EXPECT_EQ(RecentCharts::Parse(text, 8),
              (std::vector<path>{"/a.chart", "/b.chart", "/c\\d.chart"}));
    EXPECT_EQ(RecentCharts::Parse(text, 2), (std::vector<path>{"/a.chart", "/b.chart"}));
}

TEST(RecentCharts, AFailedSaveReportsTheReasonAndKeepsTheOldFile) {
    TempFolder folder;
    WriteBytes(folder / kRecentChartsFileName, "# Tolvaris recent charts 1\n/old.chart\n");
    FailingFileWriter writer("No space left on device");
    RecentCharts recent(folder / kRecentChartsFileName);
    recent.Add("/new.chart");
    EXPECT_EQ(recent.Save(writer), "No space left on device");
    EXPECT_EQ(writer.attempts, 1);
    EXPECT_EQ(ReadBytes(folder / kRecentChartsFileName),
              "# Tolvaris recent charts 1\n/old.chart\n");
}

}  // namespace
}  // namespace tolvaris
