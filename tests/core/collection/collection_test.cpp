// The SQLite collection: search as a user types, edits, files it refuses to
// touch, a disk that fills up part-way through an import.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/collection/collection_import.h"
#include "core/collection/sqlite_collection.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

StoredChart Chart(std::string name, std::string place, CivilDate date,
                  std::vector<std::string> tags) {
    StoredChart chart;
    chart.birth.name = std::move(name);
    chart.birth.placeName = std::move(place);
    chart.birth.date = date;
    chart.birth.time = CivilTime{12, 0, 0};
    chart.birth.utcOffsetSeconds = 3600;
    chart.tags = std::move(tags);
    return chart;
}

std::vector<std::string> Names(const std::vector<ChartListing>& listings) {
    std::vector<std::string> names;
    for (const ChartListing& listing : listings) {
        names.push_back(listing.name);
    }
    return names;
}

class CollectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        CollectionOpen open = OpenChartCollection(folder_ / "charts.sqlite");
        ASSERT_TRUE(open.value) << open.error;
        collection_ = std::move(open.value);
        for (StoredChart chart : {
                 Chart("Anna Schmidt", "Berlin, DE", {1962, 4, 15}, {"family"}),
                 Chart("Jürgen Müller", "München, DE", {1975, 7, 20}, {"clients"}),
                 Chart("Zoë Martin", "Paris", {1950, 12, 25}, {"clients", "research"}),
                 Chart("Ana López", "Zürich", {1962, 1, 1}, {}),
             }) {
            ASSERT_TRUE(collection_->Add(chart).Ok());
        }
    }
    test::TempFolder folder_;
    std::unique_ptr<ChartCollection> collection_;
};

TEST_F(CollectionTest, SearchMatchesEveryWordInNamePlaceTagOrYear) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"anna", {"Anna Schmidt"}},
        {"MULLER", {"Jürgen Müller"}},
        {"zurich", {"Ana López"}},
        {"1962", {"Ana López", "Anna Schmidt"}},
        {"an 1962", {"Ana López", "Anna Schmidt"}},
        {"clients paris", {"Zoë Martin"}},
        {"research", {"Zoë Martin"}},
        {"1963", {}},
        {"", {"Ana López", "Anna Schmidt", "Jürgen Müller", "Zoë Martin"}},
    };
    for (const auto& [query, expected] : cases) {
        SCOPED_TRACE(query);
        EXPECT_EQ(Names(collection_->Search(query, 100)), expected);
    }
    EXPECT_EQ(Names(collection_->WithTag("clients")),
              (std::vector<std::string>{"Jürgen Müller", "Zoë Martin"}));
    EXPECT_EQ(collection_->Tags(), (std::vector<std::string>{"clients", "family", "research"}));
}

TEST_F(CollectionTest, EditsAreSeenByAnotherConnection) {
    CollectionOpen other = OpenChartCollection(folder_ / "charts.sqlite");
    ASSERT_TRUE(other.value) << other.error;
    const std::int64_t id = collection_->Search("anna", 1).front().id;
    Result<std::optional<StoredChart>> got = collection_->Get(id);
    ASSERT_TRUE(got.Ok() && got->has_value());
    StoredChart chart = **got;
    chart.birth.name = "Anna Weber";
    chart.note = "married in 1990";
    ASSERT_TRUE(collection_->Update(chart).Ok());
    EXPECT_EQ(Names(other.value->Search("weber", 10)), std::vector<std::string>{"Anna Weber"});
    EXPECT_EQ((*other.value->Get(id))->note, "married in 1990");
    // The same birth under the same name is one chart.
    EXPECT_FALSE(other.value->Add(chart).Ok());
    ASSERT_TRUE(other.value->Remove(id).Ok());
    EXPECT_FALSE(collection_->Get(id)->has_value());
    EXPECT_EQ(collection_->Count(), 3U);
}

TEST(CollectionFileTest, DamagedOrNewerFileIsRefusedAndLeftAlone) {
    test::TempFolder folder;
    // A database from a newer program: version 9 written by this one's own
    // file, then its header's user_version (offset 60, big-endian) raised.
    {
        CollectionOpen open = OpenChartCollection(folder / "newer.sqlite");
        ASSERT_TRUE(open.value) << open.error;
    }
    std::string newer = test::ReadBytes(folder / "newer.sqlite");
    newer[63] = 9;
    test::WriteBytes(folder / "newer.sqlite", newer);
    std::string torn = newer.substr(0, 100) + std::string(4000, '\x5A');
    torn[63] = 1;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"newer.sqlite", newer},
        {"text.sqlite", "name,date\nAnna,1962-04-15\n"},
        {"torn.sqlite", torn},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        test::WriteBytes(folder / name, bytes);
        const CollectionOpen open = OpenChartCollection(folder / name);
        EXPECT_FALSE(open.value);
        EXPECT_NE(open.error.find((folder / name).string()), std::string::npos) << open.error;
        EXPECT_EQ(test::ReadBytes(folder / name), bytes);
    }
}

TEST(CollectionFileTest, FullDiskStopsTheImportAndKeepsEarlierBatches) {
    test::TempFolder folder;
    std::vector<ChartRecord> records(2000);
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].line = static_cast<int>(i + 1);
        records[i].birth = Chart("Person " + std::to_string(i), "Somewhere with a long name",
                                 {1900 + static_cast<int>(i % 100), 1, 1}, {})
                               .birth;
    }
    CollectionOptions small;
    small.maxPageCount = 40;  // 160 KiB of 4 KiB pages
    std::size_t added = 0;
    {
        CollectionOpen open = OpenChartCollection(folder / "charts.sqlite", small);
        ASSERT_TRUE(open.value) << open.error;
        const ImportSummary summary = ImportChartRecords(*open.value, records, 100);
        EXPECT_NE(summary.error.find("full"), std::string::npos) << summary.error;
        added = summary.added;
    }
    EXPECT_GT(added, 0U);
    EXPECT_LT(added, records.size());
    CollectionOpen open = OpenChartCollection(folder / "charts.sqlite");
    ASSERT_TRUE(open.value) << open.error;
    EXPECT_EQ(open.value->Count(), added);
    EXPECT_EQ(added % 100, 0U);
    // With room again the same import adds the rest.
    EXPECT_EQ(ImportChartRecords(*open.value, records).added, records.size() - added);
}

}  // namespace
}  // namespace tolvaris
