// The collection under a kill -9 in the middle of an import and with two
// processes importing into it at once.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/collection/collection_import.h"
#include "core/collection/sqlite_collection.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

constexpr std::size_t kBatch = 100;

// `count` AAF records of different people, numbered from `first`.
std::vector<ChartRecord> People(int first, int count) {
    std::string text;
    for (int i = first; i < first + count; ++i) {
        text += "#A93:Person " + std::to_string(i) + ",*,*," + std::to_string(1 + i % 28) + "." +
                std::to_string(1 + i % 12) + "." + std::to_string(1900 + i % 120) +
                ",12:00,Somewhere,*\n#B93:*,52n31,13e24,1hE00,0\n";
    }
    return ReadAafRecords(text);
}

// Imports in a child process; returns its pid.
pid_t ImportInChild(const std::filesystem::path& db, const std::vector<ChartRecord>& records) {
    const pid_t child = fork();
    if (child == 0) {
        CollectionOpen open = OpenChartCollection(db);
        const bool ok =
            open.value && ImportChartRecords(*open.value, records, kBatch).error.empty();
        _exit(ok ? 0 : 1);
    }
    return child;
}

TEST(CollectionKillTest, KilledImportsKeepWholeBatchesAndAreCompletedByTheNext) {
    test::TempFolder folder;
    const std::vector<ChartRecord> records = People(0, 2000);
    // The kills fall anywhere within the time a whole import takes here.
    const auto start = std::chrono::steady_clock::now();
    waitpid(ImportInChild(folder / "timed.sqlite", records), nullptr, 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::mt19937 random(23);
    std::uniform_int_distribution<std::int64_t> delay(0, whole.count());
    for (int run = 0; run < 50; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const std::filesystem::path db = folder / ("charts" + std::to_string(run) + ".sqlite");
        const pid_t child = ImportInChild(db, records);
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        CollectionOpen open = OpenChartCollection(db);
        ASSERT_TRUE(open.value) << open.error;
        EXPECT_EQ(open.value->Count() % kBatch, 0U);
        for (const ChartListing& listing : open.value->List()) {
            const Result<std::optional<StoredChart>> chart = open.value->Get(listing.id);
            ASSERT_TRUE(chart.Ok() && chart->has_value()) << listing.name;
        }
        const std::size_t kept = open.value->Count();
        EXPECT_EQ(ImportChartRecords(*open.value, records, kBatch).added, records.size() - kept);
        EXPECT_EQ(open.value->Count(), records.size());
        std::filesystem::remove(db);
    }
}

TEST(CollectionKillTest, TwoProcessesImportAtOnce) {
    test::TempFolder folder;
    const std::filesystem::path db = folder / "charts.sqlite";
    const pid_t first = ImportInChild(db, People(0, 3000));
    const pid_t second = ImportInChild(db, People(3000, 3000));
    for (const pid_t child : {first, second}) {
        int status = -1;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    CollectionOpen open = OpenChartCollection(db);
    ASSERT_TRUE(open.value) << open.error;
    EXPECT_EQ(open.value->Count(), 6000U);
}

}  // namespace
}  // namespace tolvaris
