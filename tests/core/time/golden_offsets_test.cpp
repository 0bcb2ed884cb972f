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
    std::string label, zone, date, time, longitude, fold, outcome, offset, ut, source,
        earlierOffset, laterOffset, earlierUt, laterUt;
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
    const auto date = ParseDate(row.date);
    const auto time = ParseTime(row.time);
    EXPECT_TRUE(std::holds_alternative<CivilDate>(date)) << row.label;
    EXPECT_TRUE(std::holds_alternative<std::optional<CivilTime>>(time)) << row.label;
    if (std::holds_alternative<CivilDate>(date)) {
        request.date = std::get<CivilDate>(date);
    }
    if (std::holds_alternative<std::optional<CivilTime>>(time)) {
        request.time = std::get<std::optional<CivilTime>>(time);
    }
    request.zoneName = row.zone;
    request.longitude = std::stod(row.longitude);
    request.fold = row.fold == "earlier" ? FoldChoice::Earlier
                   : row.fold == "later" ? FoldChoice::Later
                                         : FoldChoice::None;
    return request;
}

TEST(GoldenOffsets, EnoughHistoricallyTrickyBirths) {
    const auto rows = ReadGolden();
    EXPECT_GE(rows.size(), 25u);
    int skipped = 0, repeated = 0, meanTime = 0;
    for (const auto& row : rows) {
        skipped += row.outcome == "skipped";
        repeated += row.outcome == "repeated";
        meanTime += row.source == "lmt";
    }
    EXPECT_GE(skipped, 3);
    EXPECT_GE(repeated, 2);
    EXPECT_GE(meanTime, 3);
}

void ExpectSameAsZoneinfo(const std::vector<GoldenRow>& rows) {
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label + " (" + row.zone + " " + row.date + " " + row.time + ")");
        const auto result = ToUniversalTime(RequestOf(row));
        const UniversalTime* value = std::get_if<UniversalTime>(&result);
        const TimeError* error = std::get_if<TimeError>(&result);
        if (row.outcome == "ok") {
            ASSERT_NE(value, nullptr) << error->message;
            EXPECT_EQ(value->offsetSeconds, std::stoi(row.offset));
            EXPECT_EQ(value->unixSeconds, std::stoll(row.ut));
            EXPECT_EQ(value->source,
                      row.source == "lmt" ? OffsetSource::LocalMeanTime : OffsetSource::Zone);
        } else if (row.outcome == "skipped") {
            ASSERT_NE(error, nullptr);
            EXPECT_NE(error->message.find(" did not exist in " + row.zone), std::string::npos)
                << error->message;
            EXPECT_FALSE(error->repeated.has_value());
        } else {
            ASSERT_EQ(row.outcome, "repeated");
            ASSERT_NE(error, nullptr);
            ASSERT_TRUE(error->repeated.has_value()) << error->message;
            EXPECT_EQ(error->repeated->earlierOffsetSeconds, std::stoi(row.earlierOffset));
            EXPECT_EQ(error->repeated->laterOffsetSeconds, std::stoi(row.laterOffset));
            EXPECT_EQ(error->repeated->earlierUnixSeconds, std::stoll(row.earlierUt));
            EXPECT_EQ(error->repeated->laterUnixSeconds, std::stoll(row.laterUt));
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
