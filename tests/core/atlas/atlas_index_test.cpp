#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/atlas/atlas.h"
#include "core/atlas/atlas_image.h"
#include "support/test_atlas.h"

namespace tolvaris {
namespace {

using namespace atlas_index;

std::string SmallIndex() {
    const AtlasLoadResult loaded = Atlas::FromText(test::SmallAtlasText(), "small");
    EXPECT_TRUE(loaded.value.has_value()) << loaded.error;
    return loaded.value ? loaded.value->IndexBytes(test::SmallAtlasText().size()) : std::string();
}

template <typename Value>
void Poke(std::string& bytes, std::size_t offset, Value value) {
    ASSERT_LE(offset + sizeof value, bytes.size());
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// Where the tables start in an index of the small atlas.
struct Tables {
    Header header;
    std::size_t places, countries, entries;
};

Tables TablesOf(const std::string& bytes) {
    Tables t{};
    std::memcpy(&t.header, bytes.data(), sizeof t.header);
    t.places = 48;
    t.countries = t.places + t.header.placeCount * sizeof(PlaceRecord);
    t.entries = t.countries + t.header.countryCount * sizeof(CountryRecord) +
                t.header.foldedNameCount * sizeof(StringRef);
    return t;
}

// A folder of its own, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("tolvaris-index-test-" + std::to_string(std::random_device()()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

TEST(AtlasIndex, DamagedIndexesAreRefusedWithAReason) {
    const std::string good = SmallIndex();
    const Tables t = TablesOf(good);
    ASSERT_EQ(t.header.placeCount, 9U);
    struct Damage {
        const char* why;
        std::function<void(std::string&)> apply;
        const char* messagePart;
    };
    const std::vector<Damage> damages = {
        {"empty", [](std::string& b) { b.clear(); }, "too short"},
        {"half a header", [](std::string& b) { b.resize(20); }, "too short"},
        {"cut after the header", [](std::string& b) { b.resize(48); }, "the file has 48"},
        {"last byte gone", [](std::string& b) { b.pop_back(); }, "bytes, the file has"},
        {"a byte too many", [](std::string& b) { b.push_back('x'); }, "bytes, the file has"},
        {"another file", [](std::string& b) { b[0] = '#'; }, "does not begin"},
        {"other byte order", [](std::string& b) { Poke<std::uint32_t>(b, 12, 0x04030201); },
         "byte order"},
        {"other version", [](std::string& b) { Poke<std::uint32_t>(b, 8, 2); }, "version (2)"},
        {"more places counted", [](std::string& b) { Poke<std::uint32_t>(b, 24, 10); },
         "bytes, the file has"},
        {"place name past the strings",
         [&](std::string& b) { Poke<std::uint32_t>(b, t.places, t.header.stringsSize); },
         "place 1 points outside"},
        {"place name length wraps",
         [&](std::string& b) { Poke<std::uint32_t>(b, t.places + 4, 0xFFFFFFFF); },
         "place 1 points outside"},
        {"place of an unknown country",
         [&](std::string& b) { Poke<std::uint32_t>(b, t.places + 72 + 40, 3); },
         "place 2 points outside"},
        {"latitude not a number",
         [&](std::string& b) { Poke<double>(b, t.places + 48, std::nan("")); }, "off the globe"},
        {"population out of order",
         [&](std::string& b) { Poke<std::int64_t>(b, t.places + 8 * 72 + 64, 2000000); },
         "place 9 is out of the order"},
        {"country names past their table",
         [&](std::string& b) { Poke<std::uint32_t>(b, t.countries + 4, 1000); },
         "country 1 points outside"},
        {"entry of no place", [&](std::string& b) { Poke<std::uint32_t>(b, t.entries + 4, 9); },
         "search entry 1 points outside"},
        {"entry key past the keys",
         [&](std::string& b) { Poke<std::uint32_t>(b, t.entries + 12, t.header.keysSize); },
         "search entry 2 points outside"},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.why);
        std::string bytes = good;
        d.apply(bytes);
        const AtlasLoadResult loaded = Atlas::FromIndex(bytes, "test.idx");
        EXPECT_FALSE(loaded.value.has_value());
        EXPECT_NE(loaded.error.find("The place index \"test.idx\" is damaged ("), std::string::npos)
            << loaded.error;
        EXPECT_NE(loaded.error.find(d.messagePart), std::string::npos) << loaded.error;
    }
}

// "Munich" becomes "Munick" in the text, at the same size: what Load finds
// tells whether it used the index or the text.
TEST(AtlasIndex, LoadPrefersASoundIndexAndFallsBackToTheText) {
    const std::string text = test::SmallAtlasText();
    std::string renamed = text;
    renamed.replace(renamed.find("Munich"), 6, "Munick");
    const std::string index = SmallIndex();
    std::string damaged = index;
    damaged.resize(damaged.size() / 2);
    const AtlasLoadResult other = Atlas::FromText(text + "# longer\n", "other");
    ASSERT_TRUE(other.value.has_value());

    const struct {
        const char* why;
        std::string text;  // empty: no atlas.tsv
        std::string index;
        const char* found;        // the name that "Muni" finds first
        const char* problemPart;  // nullptr: no index problem
    } cases[] = {
        {"index made from this text", renamed, index, "Munich", nullptr},
        {"no index", renamed, "", "Munick", nullptr},
        {"index alone", "", index, "Munich", nullptr},
        {"index cut short", renamed, damaged, "Munick", "is damaged (its header counts"},
        {"index of another atlas", renamed, other.value->IndexBytes(text.size() + 9), "Munick",
         "was made from another atlas"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const ScratchFolder folder;
        const std::filesystem::path tsv =
            c.text.empty() ? folder.Write("unused", "") : folder.Write("atlas.tsv", c.text);
        if (c.text.empty()) {
            std::filesystem::remove(tsv);
        }
        if (!c.index.empty()) {
            folder.Write("atlas.idx", c.index);
        }
        const AtlasLoadResult loaded =
            Atlas::Load(c.text.empty() ? tsv.parent_path() / "atlas.tsv" : tsv);
        ASSERT_TRUE(loaded.value.has_value()) << loaded.error;
        const std::vector<Place> found = loaded.value->Search("Muni", 1);
        ASSERT_EQ(found.size(), 1U);
        EXPECT_EQ(found[0].name, c.found);
        if (c.problemPart == nullptr) {
            EXPECT_EQ(loaded.indexProblem, "");
        } else {
            EXPECT_NE(loaded.indexProblem.find(c.problemPart), std::string::npos)
                << loaded.indexProblem;
        }
    }
}

// The index the build wrote into the program folder answers as the text of
// the source tree does: same places, same order, every field.
TEST(AtlasIndex, TheBuiltIndexAnswersAsTheShippedText) {
    const AtlasLoadResult built = Atlas::LoadIndex(TOLVARIS_BUILT_ATLAS_INDEX);
    ASSERT_TRUE(built.value.has_value()) << built.error;
    std::ifstream stream(test::ShippedAtlasPath(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(stream)),
                           std::istreambuf_iterator<char>());
    const AtlasLoadResult fromText = Atlas::FromText(text, "atlas.tsv");
    ASSERT_TRUE(fromText.value.has_value()) << fromText.error;
    EXPECT_EQ(built.value->Size(), fromText.value->Size());
    for (const char* query : {"a", "San", "Springfield, Illinois", "zürich", "York", "Łódź",
                              "Paris, Texas, USA", "st", "Москва", "Ho Chi"}) {
        SCOPED_TRACE(query);
        EXPECT_EQ(built.value->Search(query, 50), fromText.value->Search(query, 50));
    }
}

}  // namespace
}  // namespace tolvaris
