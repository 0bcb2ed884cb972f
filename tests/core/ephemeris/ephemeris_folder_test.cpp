// Where the ephemeris files are looked for, and what a chart says when they
// are missing. These tests change SE_EPHE_PATH and restore it afterwards.
#include "core/ephemeris/ephemeris.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>

#include "core/sky/chart.h"
#include "support/birth_samples.h"

namespace tolvaris {
namespace {

namespace fs = std::filesystem;

// Sets SE_EPHE_PATH (or removes it) for the life of the object.
class ScopedEphemerisPath {
public:
    explicit ScopedEphemerisPath(const std::optional<std::string>& value) {
        if (const char* old = std::getenv("SE_EPHE_PATH"); old != nullptr) {
            old_ = old;
        }
        if (value) {
            setenv("SE_EPHE_PATH", value->c_str(), 1);
        } else {
            unsetenv("SE_EPHE_PATH");
        }
    }
    ~ScopedEphemerisPath() {
        if (old_) {
            setenv("SE_EPHE_PATH", old_->c_str(), 1);
        } else {
            unsetenv("SE_EPHE_PATH");
        }
    }
    ScopedEphemerisPath(const ScopedEphemerisPath&) = delete;
    ScopedEphemerisPath& operator=(const ScopedEphemerisPath&) = delete;

private:
    std::optional<std::string> old_;
};

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "tolvaris-ephe-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

ChartRequest Berlin1990() {
    return test::BerlinNewYearRequest();
}

TEST(EphemerisFolder, DebianFolderWhenTheVariableIsUnsetOrEmpty) {
    for (const std::optional<std::string>& value :
         {std::optional<std::string>{}, std::optional<std::string>{""}}) {
        ScopedEphemerisPath path(value);
        Ephemeris ephemeris;
        EXPECT_EQ(ephemeris.Folder(), "/usr/share/libswe/ephe");
        const ChartResult result = ComputeChart(ephemeris, Berlin1990());
        ASSERT_TRUE(result.Ok()) << result.error;
        EXPECT_EQ(result.chart->ephemeris, EphemerisUsed::Swiss);
    }
}

TEST(EphemerisFolder, EmptyFolderMeansTheBuiltInEphemerisAndANote) {
    TemporaryFolder empty;
    ASSERT_FALSE(empty.Path().empty());
    ScopedEphemerisPath path(empty.Path().string());
    const ChartResult result = ComputeChart(Berlin1990());
    ASSERT_TRUE(result.Ok()) << result.error;
    const Chart& chart = *result.chart;
    EXPECT_EQ(EphemerisUsedName(chart.ephemeris), "moshier");
    ASSERT_EQ(chart.notes.size(), 1u);
    EXPECT_EQ(chart.notes[0],
              "Positions come from the built-in Moshier ephemeris because the Swiss Ephemeris "
              "files were not found in " +
                  empty.Path().string() +
                  "; over the years the files cover, the built-in positions differ from theirs "
                  "by up to about 10 seconds of arc for Pluto, 6 for Neptune, 5 for the Moon and "
                  "2 for the other bodies.");
    // The built-in ephemeris still places the Sun where swetest does
    // (280.7717825 from the files) to within a few seconds of arc.
    EXPECT_NEAR(chart.bodies[0].longitude, 280.7717825, 0.002);
    EXPECT_NEAR(chart.bodies[1].longitude, 332.7065724, 0.01);
}

TEST(EphemerisFolder, VariableNamingAFolderWithTheFilesIsHonoured) {
    TemporaryFolder folder;
    for (const char* name : {"sepl_18.se1", "semo_18.se1"}) {
        fs::create_symlink(fs::path("/usr/share/libswe/ephe") / name, folder.Path() / name);
    }
    ScopedEphemerisPath path(folder.Path().string());
    Ephemeris ephemeris;
    EXPECT_EQ(ephemeris.Folder(), folder.Path().string());
    const ChartResult result = ComputeChart(ephemeris, Berlin1990());
    ASSERT_TRUE(result.Ok()) << result.error;
    EXPECT_EQ(result.chart->ephemeris, EphemerisUsed::Swiss);
    EXPECT_TRUE(result.chart->notes.empty());
}

TEST(EphemerisFolder, LiveInstancesShareTheFirstOnesFolder) {
    TemporaryFolder empty;
    std::optional<Ephemeris> first;
    {
        ScopedEphemerisPath path(std::nullopt);
        first.emplace();
    }
    {
        // The variable changed, but the library is open on the first folder.
        ScopedEphemerisPath path(empty.Path().string());
        Ephemeris second;
        EXPECT_EQ(second.Folder(), "/usr/share/libswe/ephe");
        const ChartResult result = ComputeChart(second, Berlin1990());
        ASSERT_TRUE(result.Ok());
        EXPECT_EQ(result.chart->ephemeris, EphemerisUsed::Swiss);
        // Once every instance is gone the variable is read afresh.
        first.reset();
    }
    ScopedEphemerisPath path(empty.Path().string());
    Ephemeris third;
    EXPECT_EQ(third.Folder(), empty.Path().string());
    const ChartResult result = ComputeChart(third, Berlin1990());
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(result.chart->ephemeris, EphemerisUsed::Moshier);
}

TEST(EphemerisFolder, PartialOrDamagedFilesAreReportedForTheRightBodyAndFile) {
    // Bytes kept of the planet and Moon files (0 none, -1 all); the Moon as
    // swetest -b1.1.1990 -ut11:00 -p1 -fPl gives it with the same folder.
    const struct {
        std::uintmax_t planet, moon;
        const char* error;
        double moonLongitude;
    } cases[] = {
        {std::uintmax_t(-1), 0, nullptr, 332.7066061},
        {std::uintmax_t(-1), 100000, "semo_18.se1 is damaged", 0},
        {100000, std::uintmax_t(-1), "sepl_18.se1 is damaged", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error != nullptr ? c.error : "no Moon file");
        TemporaryFolder folder;
        for (const auto& [name, keep] :
             {std::pair{"sepl_18.se1", c.planet}, {"semo_18.se1", c.moon}}) {
            if (keep != 0) {
                fs::copy_file(fs::path(kDebianEphemerisFolder) / name, folder.Path() / name);
                fs::resize_file(folder.Path() / name,
                                std::min(keep, fs::file_size(folder.Path() / name)));
            }
        }
        ScopedEphemerisPath path(folder.Path().string());
        const ChartResult result = ComputeChart(Berlin1990());
        if (c.error != nullptr) {
            EXPECT_NE(result.error.find((folder.Path() / c.error).string()), std::string::npos)
                << result.error;
            continue;
        }
        ASSERT_TRUE(result.Ok()) << result.error;
        EXPECT_NEAR(result.chart->bodies[0].longitude, 280.7717825, 1e-6);
        EXPECT_NEAR(result.chart->bodies[1].longitude, c.moonLongitude, 1e-6);
        EXPECT_EQ(EphemerisUsedName(result.chart->ephemeris), "moshier");
        ASSERT_EQ(result.chart->notes.size(), 1u);
        EXPECT_EQ(result.chart->notes[0].rfind("Moon: position from the built-in", 0), 0u);
    }
}

TEST(EphemerisReadings, AscendantIsNoBody) {
    Ephemeris ephemeris;
    const Ephemeris::BodyReading reading = ephemeris.ReadBody(Point::Ascendant, 2451545.0);
    EXPECT_FALSE(reading.ok);
    EXPECT_FALSE(reading.message.empty());
}

}  // namespace
}  // namespace tolvaris
