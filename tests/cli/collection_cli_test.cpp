// Charts read from hand-written AAF, Quick*Chart and CSV files against the
// same births typed on the command line, and the collection's import and
// export through tolvaris-chart.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/chart_tool.h"
#include "core/collection/sqlite_collection.h"
#include "support/temp_folder.h"

namespace tolvaris {
namespace {

std::string DataFile(const std::string& name) {
    return std::string(std::getenv("TOLVARIS_SOURCE_DIR")) + "/tests/data/interchange/" + name;
}

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun Chart(const std::vector<std::string>& arguments) {
    std::vector<std::string_view> views(arguments.begin(), arguments.end());
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunChartTool(views, out, err, ".");
    return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The computed chart: everything after the input object, which names how
// the birth was given rather than what was computed.
std::string ComputedPart(std::string json) {
    std::erase(json, '\n');
    const std::size_t end = json.find("}}, ");
    return end == std::string::npos ? json : json.substr(end + 4);
}

std::string Member(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\": ");
    return at == std::string::npos ? "" : json.substr(at, json.find(", \"", at) - at);
}

struct SameBirth {
    std::string file;
    std::size_t record;  // 1-based
    std::string name;
    std::vector<std::string> arguments;  // the birth as typed
};

const std::vector<SameBirth> kSameBirths = {
    {"people.aaf",
     1,
     "Anna Schmidt",
     {"--date", "1962-04-15", "--time", "09:30", "--latitude", "52n31", "--longitude", "13e24",
      "--utc-offset=+01:00"}},
    {"people.aaf",
     2,
     "Jürgen Müller",
     {"--date", "1975-07-20", "--time", "14:05:30", "--latitude", "48n08:15", "--longitude",
      "11e34:30", "--utc-offset=+02:00"}},
    {"people.aaf",
     3,
     "Double summer time",
     {"--date", "1947-06-01", "--time", "12:00", "--latitude", "52n31", "--longitude", "13e24",
      "--utc-offset=+03:00"}},
    {"people.aaf",
     4,
     "Half hour",
     {"--date", "1942-10-10", "--time", "08:00", "--latitude", "1n17", "--longitude", "103e51",
      "--utc-offset=+07:30"}},
    {"people.aaf",
     5,
     "Local mean time",
     {"--date", "1880-03-03", "--time", "06:00", "--latitude", "38n43", "--longitude", "9w08",
      "--utc-offset=-00:36:32"}},
    {"people.aaf",
     6,
     "Maria Silva",
     {"--date", "1980-01-02", "--time", "23:15", "--latitude", "22s54", "--longitude", "43w12",
      "--utc-offset=-03:00"}},
    // The Julian day is 10:00 UT, so 12:00 on the clock was two hours east.
    {"people.aaf",
     7,
     "Julian",
     {"--date", "2000-01-01", "--time", "12:00", "--latitude", "51n30", "--longitude", "0w07",
      "--utc-offset=+02:00"}},
    {"people.aaf",
     11,
     "Unknown time",
     {"--date", "1988-08-08", "--time", "unknown", "--latitude", "48n12", "--longitude", "16e22",
      "--utc-offset=+01:00"}},
    {"people-cp1252.aaf",
     1,
     "Jürgen Müller",
     {"--date", "1975-07-20", "--time", "14:05:30", "--latitude", "48n08:15", "--longitude",
      "11e34:30", "--utc-offset=+02:00"}},
    {"people-cp1252.aaf",
     2,
     "Zoë",
     {"--date", "1955-05-05", "--time", "05:55", "--latitude", "55n40", "--longitude", "12e34",
      "--utc-offset=+01:00"}},
    {"people.qck",
     1,
     "John Carter",
     {"--date", "1976-07-04", "--time", "15:45", "--latitude", "40n45", "--longitude", "73w59",
      "--utc-offset=-04:00"}},
    {"people.qck",
     2,
     "Zoë Martin",
     {"--date", "1950-12-25", "--time", "00:10", "--latitude", "48n52", "--longitude", "2e21",
      "--utc-offset=+01:00"}},
    {"people.csv",
     1,
     "Okafor, Ada",
     {"--date", "1985-03-09", "--time", "07:20", "--latitude", "6n27", "--longitude", "3e23",
      "--zone", "Africa/Lagos"}},
    {"people.csv",
     2,
     "Tane",
     {"--date", "1991-11-30", "--time", "18:00", "--latitude", "41s17", "--longitude", "174e46:30",
      "--utc-offset=+13:00"}},
    {"people.csv",
     4,
     "Nameless",
     {"--date", "1970-05-05", "--time", "unknown", "--latitude", "0s13", "--longitude", "78w31",
      "--zone", "America/Guayaquil"}},
};

TEST(BatchTest, EachRecordIsTheChartOfTheSameBirthTyped) {
    std::map<std::string, std::vector<std::string>> batches;
    for (const SameBirth& birth : kSameBirths) {
        SCOPED_TRACE(birth.file + " record " + std::to_string(birth.record));
        if (!batches.contains(birth.file)) {
            batches[birth.file] = Lines(Chart({"--batch", DataFile(birth.file)}).out);
        }
        const std::vector<std::string>& lines = batches[birth.file];
        ASSERT_GE(lines.size(), birth.record);
        const std::string& line = lines[birth.record - 1];
        EXPECT_EQ(Member(line, "record"), "\"record\": " + std::to_string(birth.record));
        EXPECT_EQ(Member(line, "name"), "\"name\": \"" + birth.name + "\"");
        std::vector<std::string> typed = birth.arguments;
        typed.emplace_back("--json");
        const ToolRun expected = Chart(typed);
        ASSERT_EQ(expected.status, kExitSuccess) << expected.err;
        EXPECT_EQ(ComputedPart(line), ComputedPart(expected.out));
    }
}

TEST(BatchTest, RefusedRecordsNameTheirLineAndWhy) {
    struct Refused {
        std::string file;
        std::size_t record;
        std::string expected;
    };
    const std::vector<Refused> cases = {
        {"people.aaf", 8,
         R"({"record": 8, "line": 19, "error": "the latitude 95n00 is outside -90 to 90"})"},
        {"people.aaf", 9,
         R"({"record": 9, "line": 21, "error": "the date 1990-02-31 does not exist"})"},
        {"people.aaf", 10,
         R"({"record": 10, "line": 23, "error": "the record has no #B93 line, which gives its coordinates"})"},
        {"people.aaf", 12,
         R"({"record": 12, "line": 26, "error": "the zone with summer time \"h\" is more than 15 hours from UTC"})"},
        {"people.qck", 3,
         R"({"record": 3, "line": 3, "error": "the date 1990-13-01 does not exist"})"},
        {"people.csv", 3,
         R"({"record": 3, "line": 4, "error": "time must lie between 00:00 and 23:59:59"})"},
    };
    for (const Refused& refused : cases) {
        SCOPED_TRACE(refused.file);
        const ToolRun run = Chart({"--batch", DataFile(refused.file)});
        EXPECT_EQ(run.status, kExitRefused);
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_GE(lines.size(), refused.record);
        EXPECT_EQ(lines[refused.record - 1], refused.expected);
    }
}

// A birth's moment and place, whatever its name became in AAF (which has
// no way to quote a comma).
std::string Key(const std::string& line) {
    return Member(line, "utc") + Member(line, "latitude") + Member(line, "longitude");
}

// The computed chart without where its offset came from: a zone is
// exported as the offset it had then.
std::string ComparedPart(const std::string& line) {
    std::string part = ComputedPart(line);
    const std::string source = Member(part, "offset_source");
    if (const std::size_t at = part.find(source); !source.empty()) {
        part.erase(at, source.size());
    }
    return part;
}

// Imported twice, exported as AAF and the export computed again: the same
// charts, each once.
TEST(CollectionCommandsTest, ImportTwiceThenExportGivesTheSameChartsOnce) {
    test::TempFolder folder;
    const std::string db = (folder / "charts.sqlite").string();
    std::map<std::string, std::string> original;  // name -> computed chart
    for (int pass = 0; pass < 2; ++pass) {
        for (const char* file : {"people.aaf", "people-cp1252.aaf", "people.qck", "people.csv"}) {
            const ToolRun batch = Chart({"--batch", DataFile(file)});
            EXPECT_EQ(Chart({"--import", DataFile(file), "--collection", db}).status, batch.status);
            for (const std::string& line : Lines(batch.out)) {
                original[Key(line)] = ComparedPart(line);
            }
        }
    }
    original.erase(Key("{}"));  // the refused records
    const CollectionOpen open = OpenChartCollection(db);
    ASSERT_TRUE(open.value) << open.error;
    EXPECT_EQ(open.value->Count(), original.size());

    const std::string exported = (folder / "all.aaf").string();
    ASSERT_EQ(Chart({"--export-aaf", exported, "--collection", db}).status, kExitSuccess);
    const ToolRun again = Chart({"--batch", exported});
    EXPECT_EQ(again.status, kExitSuccess) << again.out;
    const std::vector<std::string> lines = Lines(again.out);
    EXPECT_EQ(lines.size(), original.size());
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ComparedPart(line), original[Key(line)]);
    }
    EXPECT_EQ(Lines(Chart({"--find", "zoe", "--collection", db}).out).size(), 2U);
}

}  // namespace
}  // namespace tolvaris
