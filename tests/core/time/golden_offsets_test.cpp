// Compares ToUniversalTime with golden/offsets.tsv, which scripts/make-time-golden
// writes from Python's zoneinfo: an independent reading of the same tz database.
#include "core/time/universal_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/time/civil_time.h"

namespace tolvaris {
namespace {

struct GoldenRow {
    std::string Label, Zone, Date, Time, Longitude, Fold, Outcome, Offset, Ut, Source,
        EarlierOffset, LaterOffset, EarlierUt, LaterUt;
};

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream stream(line);
    std::string cell;
    while (std::getline(stream, cell, '\t')) {
        cells.push_back(cell);
    }
    return cells;
}

std::vector<GoldenRow> ReadRows(const std::string& path) {
    std::ifstream file(path);
    EXPECT_TRUE(file.good()) << "cannot read " << path;
    std::vector<GoldenRow> rows;
    std::string line;
    bool header = true;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (header) {
            header = false;
            continue;
        }
        const auto c = SplitTabs(line);
        EXPECT_EQ(c.size(), 14u) << line;
        if (c.size() == 14) {
            rows.push_back(GoldenRow{c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9],
                                     c[10], c[11], c[12], c[13]});
        }
    }
    return rows;
}

std::vector<GoldenRow> ReadGolden() {
    const char* root = std::getenv("TOLVARIS_SOURCE_DIR");
    return ReadRows(std::string(root != nullptr ? root : ".") +
                    "/tests/core/time/golden/offsets.tsv");
}

LocalTimeRequest RequestOf(const GoldenRow& row) {
    LocalTimeRequest request;
    const auto date = ParseDate(row.Date);
    const auto time = ParseTime(row.Time);
    EXPECT_TRUE(std::holds_alternative<CivilDate>(date)) << row.Label;
    EXPECT_TRUE(std::holds_alternative<std::optional<CivilTime>>(time)) << row.Label;
    if (std::holds_alternative<CivilDate>(date)) {
        request.Date = std::get<CivilDate>(date);
    }
    if (std::holds_alternative<std::optional<CivilTime>>(time)) {
        request.Time = std::get<std::optional<CivilTime>>(time);
    }
    request.ZoneName = row.Zone;
    request.Longitude = std::stod(row.Longitude);
    request.Fold = row.Fold == "earlier" ? FoldChoice::Earlier
                   : row.Fold == "later" ? FoldChoice::Later
                                         : FoldChoice::None;
    return request;
}

TEST(GoldenOffsets, EnoughHistoricallyTrickyBirths) {
    const auto rows = ReadGolden();
    EXPECT_GE(rows.size(), 25u);
    int skipped = 0, repeated = 0, meanTime = 0;
    for (const auto& row : rows) {
        skipped += row.Outcome == "skipped";
        repeated += row.Outcome == "repeated";
        meanTime += row.Source == "lmt";
    }
    EXPECT_GE(skipped, 3);
    EXPECT_GE(repeated, 2);
    EXPECT_GE(meanTime, 3);
}

void ExpectSameAsZoneinfo(const std::vector<GoldenRow>& rows) {
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Label + " (" + row.Zone + " " + row.Date + " " + row.Time + ")");
        const auto result = ToUniversalTime(RequestOf(row));
        const UniversalTime* value = std::get_if<UniversalTime>(&result);
        const TimeError* error = std::get_if<TimeError>(&result);
        if (row.Outcome == "ok") {
            ASSERT_NE(value, nullptr) << error->Message;
            EXPECT_EQ(value->OffsetSeconds, std::stoi(row.Offset));
            EXPECT_EQ(value->UnixSeconds, std::stoll(row.Ut));
            EXPECT_EQ(value->Source,
                      row.Source == "lmt" ? OffsetSource::LocalMeanTime : OffsetSource::Zone);
        } else if (row.Outcome == "skipped") {
            ASSERT_NE(error, nullptr);
            EXPECT_NE(error->Message.find(" did not exist in " + row.Zone), std::string::npos)
                << error->Message;
            EXPECT_FALSE(error->Repeated.has_value());
        } else {
            ASSERT_EQ(row.Outcome, "repeated");
            ASSERT_NE(error, nullptr);
            ASSERT_TRUE(error->Repeated.has_value()) << error->Message;
            EXPECT_EQ(error->Repeated->EarlierOffsetSeconds, std::stoi(row.EarlierOffset));
            EXPECT_EQ(error->Repeated->LaterOffsetSeconds, std::stoi(row.LaterOffset));
            EXPECT_EQ(error->Repeated->EarlierUnixSeconds, std::stoll(row.EarlierUt));
            EXPECT_EQ(error->Repeated->LaterUnixSeconds, std::stoll(row.LaterUt));
        }
    }
}

TEST(GoldenOffsets, MatchZoneinfoToTheSecond) {
    ExpectSameAsZoneinfo(ReadGolden());
}

// A wider, random check over every zone, written on demand by
// `scripts/make-time-golden --sweep COUNT SEED file`; skipped when not given.
TEST(GoldenOffsets, SweepOverAllZonesMatchesWhenGiven) {
    const char* sweep = std::getenv("TOLVARIS_TIME_SWEEP");
    if (sweep == nullptr) {
        GTEST_SKIP() << "TOLVARIS_TIME_SWEEP names no sweep file";
    }
    const auto rows = ReadRows(sweep);
    EXPECT_FALSE(rows.empty());
    ExpectSameAsZoneinfo(rows);
}

}  // namespace
}  // namespace tolvaris
