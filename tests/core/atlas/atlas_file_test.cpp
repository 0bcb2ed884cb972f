#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/atlas/atlas.h"
#include "support/test_atlas.h"

namespace tolvaris {
namespace {

// A file in a fresh folder of its own, removed afterwards.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& bytes) {
        std::random_device random;
        folder_ = std::filesystem::temp_directory_path() /
                  ("tolvaris-atlas-test-" + std::to_string(random()));
        std::filesystem::create_directories(folder_);
        std::ofstream(Path(), std::ios::binary) << bytes;
    }
    ~ScratchFile() { std::filesystem::remove_all(folder_); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    std::filesystem::path Path() const { return folder_ / "atlas.tsv"; }

private:
    std::filesystem::path folder_;
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

TEST(AtlasFile, ReadsEveryPlaceWithAllItsFields) {
    const AtlasLoadResult loaded = Atlas::FromText(test::SmallAtlasText(), "small");
    ASSERT_TRUE(loaded.value.has_value()) << loaded.error;
    EXPECT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.value->Size(), 9U);

    const std::vector<Place> found = loaded.value->Search("Etretat", 5);
    ASSERT_EQ(found.size(), 1U);
    const Place expected{"Étretat", "Normandy", "France",       "FR",
                         49.70669,  0.20523,    "Europe/Paris", 15000};
    EXPECT_EQ(found[0], expected);
}

TEST(AtlasFile, AcceptsWindowsLineEnds) {
    std::string crlf;
    for (char c : test::SmallAtlasText()) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    const AtlasLoadResult loaded = Atlas::FromText(crlf, "crlf");
    ASSERT_TRUE(loaded.value.has_value()) << loaded.error;
    EXPECT_EQ(loaded.value->Size(), 9U);
    const auto found = loaded.value->Search("Paris, Texas", 5);
    ASSERT_EQ(found.size(), 2U);
    EXPECT_EQ(found[0].zone, "America/Chicago") << "no carriage return left at the end";
    EXPECT_EQ(found[0].population, 24782);
}

struct DamageCase {
    const char* why;
    std::string text;
    std::string message_part;  // what the message must say about the fault
};

TEST(AtlasFile, DamageGivesAMessageNamingTheFault) {
    const std::string good = test::SmallAtlasText();
    const std::string munich = "P\tMunich\tBavaria\t\tDE\t48.13743\t11.57549\tEurope/Berlin";
    const std::vector<DamageCase> cases = {
        {"empty", "", "the file is empty"},
        {"not an atlas", "hello\nworld\n", "line 1: it does not begin as a Tolvaris atlas"},
        {"other version", Replaced(good, "atlas 1,", "atlas 2,"), "line 1:"},
        {"bad counts", Replaced(good, "9 places", "many places"), "line 1:"},
        {"place missing", Replaced(good, "9 places", "10 places"), "holds 9 of its 10 places"},
        {"country missing", Replaced(good, "3 countries", "4 countries"), "3 of its 4 countries"},
        {"cut off line", good.substr(0, good.find("\tEurope/Paris\t15000")),
         "line 14: a place line needs 10 fields, this one has 7"},
        {"unknown line", good + "X\tfoo\n", "line 15: a line that is neither"},
        {"latitude out of range", Replaced(good, "\t48.13743\t", "\t91\t"), "line 6: the latitude"},
        {"latitude not a number", Replaced(good, "\t48.13743\t", "\tnan\t"), "the latitude"},
        {"longitude out of range", Replaced(good, "\t11.57549\t", "\t-180.5\t"), "the longitude"},
        {"longitude with junk", Replaced(good, "\t11.57549\t", "\t11.5x\t"), "the longitude"},
        {"zone missing", Replaced(good, "\tEurope/Berlin\t1260391", "\t\t1260391"), "time zone"},
        {"population negative", Replaced(good, "\t15000\t", "\t-15000\t"), "line 14: the pop"},
        {"population not whole", Replaced(good, "\t15000\t", "\t1.5e4\t"), "the population"},
        {"out of order", Replaced(good, "\t24782\t", "\t2478200\t"), "order of population"},
        {"country unknown", Replaced(good, munich, Replaced(munich, "\tDE\t", "\tXX\t")),
         "\"XX\" is not listed"},
        {"country twice", Replaced(good, "C\tFR\tFrance", "C\tDE\tFrance"), "comes twice"},
        {"country code lower case", Replaced(good, "C\tFR\t", "C\tfr\t"), "two capital letters"},
        {"country without name", Replaced(good, "\tFrance\t", "\t\t"), "has no name"},
        {"country line short", Replaced(good, "C\tFR\tFrance\t\n", "C\tFR\n"), "needs 4 fields"},
        {"place without name", Replaced(good, "P\tMunich\t", "P\t\t"), "no usable name"},
        {"place named by punctuation", Replaced(good, "P\tMunich\t", "P\t--\t"), "usable name"},
        {"name far too long", Replaced(good, "munchen,", std::string(2000, 'm') + ","), "too long"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const AtlasLoadResult loaded = Atlas::FromText(c.text, "test.tsv");
        EXPECT_FALSE(loaded.value.has_value());
        EXPECT_NE(loaded.error.find("The place atlas \"test.tsv\" is damaged ("), std::string::npos)
            << loaded.error;
        EXPECT_NE(loaded.error.find(c.message_part), std::string::npos) << loaded.error;
    }
}

TEST(AtlasFile, MissingFileOrFolderCannotBeRead) {
    const ScratchFile file(test::SmallAtlasText());
    for (const std::filesystem::path& path :
         {file.Path().parent_path() / "absent.tsv", file.Path().parent_path()}) {
        SCOPED_TRACE(path.string());
        const AtlasLoadResult loaded = Atlas::Load(path);
        EXPECT_FALSE(loaded.value.has_value());
        EXPECT_NE(loaded.error.find("The place atlas \"" + path.string() + "\" cannot be read"),
                  std::string::npos)
            << loaded.error;
    }
}

TEST(AtlasFile, LoadsAFileFromDisk) {
    const ScratchFile file(test::SmallAtlasText());
    const AtlasLoadResult loaded = Atlas::Load(file.Path());
    ASSERT_TRUE(loaded.value.has_value()) << loaded.error;
    EXPECT_EQ(loaded.value->Size(), 9U);
}

// The shipped file cut short anywhere is refused, never read as a smaller
// atlas (the header counts the places); so are copies whose lines were
// broken or merged by overwritten bytes. A changed letter inside a name is
// not noticed: the file carries no checksum.
TEST(AtlasFile, DamagedCopiesOfTheShippedAtlasAreRefused) {
    std::ifstream stream(test::ShippedAtlasPath(), std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(stream)),
                            std::istreambuf_iterator<char>());
    ASSERT_GT(whole.size(), 1000000U) << test::ShippedAtlasPath();

    std::vector<std::string> damaged;
    for (const double fraction : {0.0001, 0.25, 0.5, 0.999}) {
        damaged.push_back(whole.substr(0, static_cast<std::size_t>(whole.size() * fraction)));
    }
    damaged.push_back(whole.substr(0, whole.rfind('\n', whole.size() - 2) + 1));  // last line gone
    std::string zeroed = whole;
    std::fill_n(zeroed.begin() + zeroed.size() / 2, 4096, '\0');
    damaged.push_back(zeroed);
    std::mt19937 random(20261207);
    std::string scrambled = whole;
    for (int i = 0; i < 2000; ++i) {
        scrambled[random() % scrambled.size()] = static_cast<char>(random() % 256);
    }
    damaged.push_back(scrambled);

    for (std::size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE("damaged copy " + std::to_string(i));
        const ScratchFile file(damaged[i]);
        const AtlasLoadResult loaded = Atlas::Load(file.Path());
        EXPECT_FALSE(loaded.value.has_value());
        EXPECT_NE(loaded.error.find("is damaged"), std::string::npos) << loaded.error;
    }
}

}  // namespace
}  // namespace tolvaris
