// tolvaris-chart run as a process, as a user or a script runs it: exit
// status, what goes to which stream, the JSON's shape.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/common/cp1252.h"
#include "support/pdf_tools.h"
#include "support/temp_folder.h"

extern char** environ;

namespace tolvaris {
namespace {

struct ProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built tolvaris-chart (or `executable`) with standard output and
// error in files. `environment` replaces the test's own when given.
ProcessResult RunChart(const std::vector<std::string>& arguments,
                       const char* standardOutput = nullptr,
                       const std::vector<std::string>* environment = nullptr,
                       const std::string& executable = TOLVARIS_CHART_EXECUTABLE) {
    test::TempFolder folder;
    const std::string outPath = standardOutput ? standardOutput : (folder / "out").string();
    const std::string errPath = (folder / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<std::string> all = {executable};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    ProcessResult result;
    std::vector<std::string> envStrings = environment ? *environment : std::vector<std::string>();
    std::vector<char*> envp;
    for (std::string& entry : envStrings) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(),
                                    environment ? envp.data() : environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "could not start " << argv[0];
        return result;
    }
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!standardOutput) {
        result.out = test::ReadBytes(outPath);
    }
    result.err = test::ReadBytes(errPath);
    return result;
}

const std::vector<std::string> kBerlinByZone = {
    "--date", "1990-01-01",  "--time", "12:00",  "--latitude",
    "52.52",  "--longitude", "13.41",  "--zone", "Europe/Berlin"};

std::vector<std::string> Berlin(std::vector<std::string> more) {
    std::vector<std::string> all = kBerlinByZone;
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

TEST(ChartProcess, RefusesBadInputWithStatusTwoAndOneLineOnStandardError) {
    const struct {
        std::vector<std::string> arguments;
        const char* names;  // what the line must name
    } cases[] = {
        {{"--date", "1990-02-30", "--time", "12:00", "--place", "Berlin"}, "1990-02-30"},
        {{"--date", "1990-01-01", "--time", "24:00:01", "--place", "Berlin"}, "--time"},
        {Berlin({"--latitude", "91"}), "--latitude is given twice"},
        {{"--date", "1990-01-01", "--time", "12:00", "--latitude", "-90.1"}, "latitude -90.1"},
        {{"--date", "1990-01-01", "--time", "12:00", "--longitude", "200"}, "longitude 200"},
        {{"--date", "1990-01-01", "--time", "12:00", "--zone", "Europe/Nowhere"}, "Europe/Nowhere"},
        {{"--date", "1200-01-01", "--time", "12:00", "--latitude", "0", "--longitude", "0",
          "--utc-offset=+00:00"},
         "Date must lie between the years 1583 and 2999"},
        {{"--date", "1990-01-01", "--time", "12:00", "--place", "Xqzzyville"}, "Xqzzyville"},
        {{"--date", "1990-01-01", "--time", "12:00", "--place", ""}, "--place: the place is empty"},
        {{"--frobnicate"}, "--frobnicate"},
        {{"--date"}, "--date needs a value"},
        {{"--date", "1990-09-30", "--time", "02:30", "--latitude", "52.52", "--longitude", "13.41",
          "--zone", "Europe/Berlin"},
         "earlier at UTC+02:00"},
        {{"--open", "/nonexistent/anna.chart"}, "/nonexistent/anna.chart: no such file"},
        {{"--places", "Xqzzyville"}, "Xqzzyville"},
    };
    for (const auto& c : cases) {
        const ProcessResult run = RunChart(c.arguments);
        EXPECT_EQ(run.status, 2) << c.names << "\n" << run.err;
        EXPECT_EQ(run.out, "") << c.names;
        ASSERT_FALSE(run.err.empty()) << c.names;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
        EXPECT_EQ(run.err.rfind("tolvaris-chart: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.names), std::string::npos) << run.err;
    }
}

TEST(ChartProcess, RepeatedHourNeedsAFoldAndNamesBothReadings) {
    const std::vector<std::string> twice = {"--date",     "1990-09-30",    "--time",      "02:30",
                                            "--latitude", "52.52",         "--longitude", "13.41",
                                            "--zone",     "Europe/Berlin", "--json"};
    const ProcessResult refused = RunChart(twice);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("UTC+02:00"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("UTC+01:00"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--fold"), std::string::npos) << refused.err;

    std::vector<std::string> later = twice;
    later.insert(later.end(), {"--fold", "later"});
    const ProcessResult chosen = RunChart(later);
    EXPECT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_NE(chosen.out.find("\"utc\": \"1990-09-30T01:30:00Z\""), std::string::npos);
}

TEST(ChartProcess, PrintsTheChartOnStandardOutputOnly) {
    const ProcessResult json = RunChart(Berlin({"--json"}));
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.err, "");
    // Hand-checked against swetest -b1.1.1990 -ut11:00 -p0 (280.7717825).
    for (const char* expected :
         {"\"utc\": \"1990-01-01T11:00:00Z\"", "\"utc_offset_seconds\": 3600",
          "\"offset_source\": \"zone\"", "\"house_system\": \"placidus\"",
          "{\"name\": \"Sun\", \"longitude\": 280.771783, \"sign\": \"Capricorn\"",
          "\"zone\": \"Europe/Berlin\", \"utc_offset\": null"}) {
        EXPECT_NE(json.out.find(expected), std::string::npos) << expected << "\n" << json.out;
    }

    const ProcessResult table = RunChart(kBerlinByZone);
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.err, "");
    EXPECT_NE(table.out.find("Sun        280.771783   Capricorn 10°46'18\""), std::string::npos)
        << table.out;
    EXPECT_EQ(table.out.find('{'), std::string::npos);

    const ProcessResult help = RunChart({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: tolvaris-chart", 0), 0u);
    EXPECT_EQ(help.err, "");
}

TEST(ChartProcess, UnknownTimeLeavesHousesOut) {
    const ProcessResult run =
        RunChart({"--date", "1990-01-01", "--time", "unknown", "--latitude", "52.52", "--longitude",
                  "13.41", "--utc-offset=+01:00", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* expected :
         {"\"time\": null", "\"utc_offset\": \"+01:00\"", "\"zone\": null",
          "\"offset_source\": \"given\"", "\"house_system\": null", "\"ascendant\": null",
          "\"midheaven\": null", "\"cusps\": null", "\"house\": null"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(run.out.find("\"house\": 1"), std::string::npos);
}

TEST(ChartProcess, FindsPlacesInTheAtlasBesideTheExecutable) {
    const ProcessResult places = RunChart({"--places", "Zurich"});
    ASSERT_EQ(places.status, 0) << places.err;
    EXPECT_EQ(places.out.rfind("Zürich, Zurich, Switzerland\t47.36667\t8.55\tEurope/Zurich\n", 0),
              0u)
        << places.out;

    const ProcessResult narrowed = RunChart(
        {"--date", "1990-01-01", "--time", "12:00", "--place", "Springfield, Illinois", "--json"});
    ASSERT_EQ(narrowed.status, 0) << narrowed.err;
    EXPECT_NE(narrowed.out.find("\"place\": \"Springfield, Illinois, United States\""),
              std::string::npos)
        << narrowed.out;
    EXPECT_NE(narrowed.out.find("\"zone\": \"America/Chicago\""), std::string::npos);
}

TEST(ChartProcess, SavesAndOpensChartFiles) {
    test::TempFolder folder;
    const std::string path = (folder / "anna.chart").string();
    const ProcessResult saved = RunChart(Berlin({"--name", "Anna", "--save", path, "--json"}));
    ASSERT_EQ(saved.status, 0) << saved.err;
    const ProcessResult opened = RunChart({"--open", path, "--json"});
    ASSERT_EQ(opened.status, 0) << opened.err;
    EXPECT_EQ(opened.out, saved.out);

    test::WriteBytes(folder / "bad.chart", "tolvaris-chart 1\nlatitude: 95\n");
    const ProcessResult bad = RunChart({"--open", (folder / "bad.chart").string()});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "tolvaris-chart: --open: " + (folder / "bad.chart").string() +
                           ", line 2: the latitude 95 is outside -90 to 90.\n");

    const ProcessResult unwritable = RunChart(Berlin({"--save", folder.Path().string()}));
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.out, "");
}

TEST(ChartProcess, ADamagedEphemerisFileIsAFailureNotARefusal) {
    // Sound input the library cannot compute: status 1, where bad input is 2.
    test::TempFolder folder;
    test::WriteBytes(folder / "sepl_18.se1", std::string(4000, 'x'));
    std::vector<std::string> environment = {"SE_EPHE_PATH=" + folder.Path().string()};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::string_view(*entry).substr(0, 12) != "SE_EPHE_PATH") {
            environment.emplace_back(*entry);
        }
    }
    const ProcessResult run = RunChart(Berlin({}), nullptr, &environment);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("sepl_18.se1"), std::string::npos) << run.err;
}

TEST(ChartProcess, FailsWithStatusOneWhenOutputCannotBeWritten) {
    const ProcessResult full = RunChart(Berlin({"--json"}), "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("standard output"), std::string::npos) << full.err;
}

TEST(ChartProcess, WritesTheFullReadingAsSaveWouldToAFileOrStandardOutput) {
    test::TempFolder folder;
    // A draft library with one rising sign and one sign entry: the rest is
    // reported missing, on one line of standard error.
    std::filesystem::create_directory(folder / "draft");
    test::WriteBytes(folder / "draft" / "RISING.TXT", "ARIES rising\r\nBold start.\r\n*\r\n");
    test::WriteBytes(folder / "draft" / "SIGN_Cap.TXT", "SUN in Capricorn\r\nSteady.\r\n*\r\n");
    const auto draft = (folder / "draft").string();
    const auto file = (folder / "reading.txt").string();

    const ProcessResult written = RunChart(Berlin({"--reading", file, "--data", draft}));
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "") << "the table is left out";
    EXPECT_NE(written.err.find("entries were not found; they are listed at the end"),
              std::string::npos)
        << written.err;
    const std::string bytes = test::ReadBytes(file);
    EXPECT_EQ(bytes.substr(0, 2), "\r\n");
    EXPECT_NE(bytes.find("\r\n  ARIES rising\r\n  Bold start.\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("  No entry \"MERCURY in\" in SIGN_Cap.TXT\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 7), "\r\n\r\n\f\r\n");

    const ProcessResult piped = RunChart(Berlin({"--reading", "-", "--data", draft}));
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, bytes);
    const ProcessResult byHouse =
        RunChart(Berlin({"--reading", "-", "--data", draft, "--order", "HOUSES"}));
    EXPECT_EQ(byHouse.status, 0);
    EXPECT_NE(byHouse.out, bytes);
    EXPECT_EQ(byHouse.out.size(), bytes.size()) << "the same entries in another order";

    for (const auto& arguments :
         {Berlin({"--order", "houses"}), Berlin({"--reading", "-", "--json"}),
          Berlin({"--reading", file, "--order", "signs"}),
          Berlin({"--reading", file, "--data", (folder / "none").string()})}) {
        const ProcessResult refused = RunChart(arguments);
        EXPECT_EQ(refused.status, 2) << refused.err;
        EXPECT_EQ(refused.out, "");
    }
    const ProcessResult unwritable = RunChart(Berlin({"--reading", folder.Path().string()}));
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("Is a directory"), std::string::npos) << unwritable.err;
}

// The first bytes of a PNG and the width and height in its header.
struct PngSize {
    bool png = false;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};
PngSize ReadPngSize(const std::string& bytes) {
    PngSize size;
    size.png = bytes.size() > 24 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 &&
               bytes.compare(12, 4, "IHDR") == 0;
    if (size.png) {
        auto word = [&](std::size_t at) {
            std::uint32_t value = 0;
            for (std::size_t i = 0; i < 4; ++i) {
                value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
            }
            return value;
        };
        size.width = word(16);
        size.height = word(20);
    }
    return size;
}

TEST(ChartProcess, DrawsTheWheelWithoutADisplay) {
    test::TempFolder folder;
    // No display: the tool draws offscreen whether no platform is named or
    // one that needs a display.
    const struct {
        std::vector<std::string> more;
        const char* file;
        std::uint32_t side;
        const char* platform;
    } cases[] = {
        {{"--size", "1234"}, "wheel.png", 1234, nullptr},
        {{}, "default.PNG", 800, "QT_QPA_PLATFORM=xcb"},
        {{"--size=300"}, "small.svg", 300, "QT_QPA_PLATFORM=wayland"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<std::string> bare = {"PATH=/usr/bin:/bin", "HOME=" + folder.Path().string()};
        if (c.platform) {
            bare.emplace_back(c.platform);
        }
        std::vector<std::string> arguments = Berlin({"--name", "Berlin noon", "--wheel"});
        arguments.push_back((folder / c.file).string());
        arguments.insert(arguments.end(), c.more.begin(), c.more.end());
        const ProcessResult run = RunChart(arguments, nullptr, &bare);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, "") << "the file is the output";
        const std::string bytes = test::ReadBytes(folder / c.file);
        if (std::string(c.file).ends_with(".svg")) {
            EXPECT_NE(bytes.find("<svg"), std::string::npos);
            EXPECT_NE(bytes.find("width=\"" + std::to_string(c.side)), std::string::npos);
            EXPECT_NE(bytes.find("<title>Berlin noon</title>"), std::string::npos);
        } else {
            const PngSize size = ReadPngSize(bytes);
            EXPECT_TRUE(size.png);
            EXPECT_EQ(size.width, c.side);
            EXPECT_EQ(size.height, c.side);
        }
    }
}

TEST(ChartProcess, WritesAPdfOfTheWheelAndTheFullReading) {
    test::TempFolder folder;
    const std::filesystem::path pdf = folder / "berlin.pdf";
    const ProcessResult run = RunChart(Berlin({"--name", "Berlin noon", "--pdf", pdf.string()}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "") << "the shipped library has every entry";
    EXPECT_EQ(run.out, "") << "the file is the output";
    const std::string text = test::PdfText(pdf);
    // The reading's own lines in order: tests/cli/check_reports.py.
    for (const char* expected : {"Berlin noon", "1 January 1990", "2 / "}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    EXPECT_GT(test::PdfPages(pdf), 3);
}

TEST(ChartProcess, APdfOfADraftLibraryListsWhatIsMissing) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "draft");
    test::WriteBytes(folder / "draft" / "RISING.TXT",
                     "ARIES rising\r\nBold d\xE9"
                     "but.\r\n*\r\n");
    const std::filesystem::path pdf = folder / "draft.pdf";
    const ProcessResult run = RunChart(Berlin(
        {"--pdf", pdf.string(), "--data", (folder / "draft").string(), "--order", "houses"}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("entries were not found"), std::string::npos) << run.err;
    const std::string text = test::PdfText(pdf);
    EXPECT_NE(text.find("Bold d\xC3\xA9"
                        "but."),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("No file SIGN_Cap.TXT"), std::string::npos);
    EXPECT_NE(text.find("FULL READING"), std::string::npos) << "the title of an unnamed chart";
}

TEST(ChartProcess, RefusesBadWheelOptionsWithStatusTwo) {
    const struct {
        std::vector<std::string> arguments;
        const char* names;
    } cases[] = {
        {Berlin({"--wheel", "wheel.jpg"}), "must end in .png or .svg"},
        {Berlin({"--wheel", "w.png", "--size", "99"}), "--size: the size \"99\""},
        {Berlin({"--wheel", "w.png", "--size", "10001"}), "100 to 10000"},
        {Berlin({"--wheel", "w.png", "--size", "12px"}), "--size"},
        {Berlin({"--size", "500"}), "--size needs --wheel"},
        {Berlin({"--bare"}), "--bare needs --wheel"},
        {{"--places", "Berlin", "--wheel", "w.png"}, "--places cannot be combined with --wheel"},
        {Berlin({"--pdf", ""}), "--pdf: the file name is empty"},
        {Berlin({"--order", "houses", "--wheel", "w.png"}), "goes with --reading, --pdf or --html"},
    };
    for (const auto& c : cases) {
        const ProcessResult run = RunChart(c.arguments);
        EXPECT_EQ(run.status, 2) << c.names << "\n" << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.names), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
}

TEST(ChartProcess, AnUnwritableWheelOrPdfFailsWithStatusOneAndLeavesNoFile) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "taken.pdf");
    const struct {
        std::string option;
        std::filesystem::path path;
        const char* reason;
    } cases[] = {
        {"--pdf", folder / "taken.pdf", "Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        const ProcessResult run = RunChart(Berlin({c.option, c.path.string()}));
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.option + ": " + c.path.string() + ": " + c.reason),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.pdf"));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "no temporary left beside the targets";
}

TEST(ChartProcess, AZoneFromADamagedAtlasNamesTheAtlasAndThePlace) {
    test::TempFolder folder;
    std::filesystem::copy_file(TOLVARIS_CHART_EXECUTABLE, folder / "tolvaris-chart");
    std::string atlas = test::ReadBytes(
        std::filesystem::path(TOLVARIS_CHART_EXECUTABLE).replace_filename("atlas.tsv"));
    atlas.replace(atlas.find("\tEurope/Berlin\t"), 15, "\tEurope/Xberlin\t");
    test::WriteBytes(folder / "atlas.tsv", atlas);
    const ProcessResult run =
        RunChart({"--date", "1990-01-01", "--time", "12:00", "--place", "Berlin"}, nullptr, nullptr,
                 (folder / "tolvaris-chart").string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find((folder / "atlas.tsv").string() + " gives Berlin"), std::string::npos);
}

// -0 is printed as 0; a failed write names the files written before it, and
// later ones stay unwritten.
TEST(ChartProcess, NegativeZeroAndAFailedWriteAfterOthers) {
    test::TempFolder folder;
    const std::string wheel = (folder / "w.png").string(), chart = (folder / "a.chart").string();
    const ProcessResult zero = RunChart({"--date", "1990-01-01", "--time", "12:00", "--latitude",
                                         "-0", "--longitude", "-0.0", "--zone", "UTC", "--json"});
    EXPECT_NE(zero.out.find("\"latitude\": 0, \"longitude\": 0,"), std::string::npos);
    const ProcessResult pdf =
        RunChart(Berlin({"--wheel", wheel, "--save", chart, "--pdf", folder.Path().string()}));
    EXPECT_EQ(pdf.status, 1);
    EXPECT_NE(pdf.err.find("(already written: " + wheel + ")"), std::string::npos) << pdf.err;
    EXPECT_FALSE(std::filesystem::exists(chart));
    const ProcessResult full = RunChart(Berlin({"--save", chart, "--json"}), "/dev/full");
    EXPECT_NE(full.err.find("(already written: " + chart + ")"), std::string::npos) << full.err;
}

// A copy of the tool in a folder of its own: what it finds there, or does
// not, in place of its drawing module. Charts need no module; a wheel or a
// PDF fails with status 1 and one line naming the module and why.
TEST(ChartProcess, WithoutAWorkingDrawingModuleAWheelOrPdfFailsClearly) {
    test::TempFolder folder;
    const std::filesystem::path tool = folder / "tolvaris-chart";
    std::filesystem::copy_file(TOLVARIS_CHART_EXECUTABLE, tool);
    const std::filesystem::path module = folder / "tolvaris-chart-drawing.so";
    const struct {
        const char* content;  // nullptr: no module at all
        const char* library;  // a shared library copied in instead
        const char* reason;
    } cases[] = {
        {nullptr, nullptr, ", which is missing"},
        {"not a library at all\n", nullptr, " could not be loaded: "},
        {nullptr, "/lib/x86_64-linux-gnu/libm.so.6", " is not a drawing module of tolvaris-chart"},
        {nullptr, TOLVARIS_OTHER_DRAWING_MODULE, " belongs to another version of tolvaris-chart"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        std::filesystem::remove(module);
        if (c.content != nullptr) {
            test::WriteBytes(module, c.content);
        }
        if (c.library != nullptr) {
            std::filesystem::copy_file(c.library, module);
        }
        for (const auto& [option, file] : {std::pair{"--wheel", "w.png"}, {"--pdf", "r.pdf"}}) {
            const std::filesystem::path target = folder / file;
            const ProcessResult run =
                RunChart(Berlin({option, target.string()}), nullptr, nullptr, tool.string());
            EXPECT_EQ(run.status, 1) << run.err;
            EXPECT_EQ(run.out, "");
            const std::string expected = std::string("tolvaris-chart: ") + option + ": ";
            EXPECT_EQ(run.err.rfind(expected, 0), 0u) << run.err;
            EXPECT_NE(run.err.find(module.string()), std::string::npos) << run.err;
            EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
            EXPECT_FALSE(std::filesystem::exists(target));
        }
        const ProcessResult chart = RunChart(Berlin({"--json"}), nullptr, nullptr, tool.string());
        EXPECT_EQ(chart.status, 0) << chart.err;
        EXPECT_NE(chart.out.find("\"utc\": \"1990-01-01T11:00:00Z\""), std::string::npos);
    }
}

}  // namespace
}  // namespace tolvaris
