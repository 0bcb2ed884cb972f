#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/atlas/atlas.h"
#include "support/test_atlas.h"

namespace tolvaris {
namespace {

using Labels = std::vector<std::string>;

class AtlasSearch : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        AtlasLoadResult loaded = Atlas::FromText(test::SmallAtlasText(), "small");
        ASSERT_TRUE(loaded.value.has_value()) << loaded.error;
        atlas_ = new Atlas(std::move(*loaded.value));
    }
    static void TearDownTestSuite() {
        delete atlas_;
        atlas_ = nullptr;
    }
    static Labels Find(const std::string& query, std::size_t limit = 20) {
        return test::Labels(atlas_->Search(query, limit));
    }

    static Atlas* atlas_;
};

Atlas* AtlasSearch::atlas_ = nullptr;

struct SearchCase {
    const char* query;
    Labels expected;
};

void ExpectAll(const std::vector<SearchCase>& cases,
               Labels (*find)(const std::string&, std::size_t)) {
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("query \"") + c.query + "\"");
        EXPECT_EQ(find(c.query, 20), c.expected);
    }
}

TEST_F(AtlasSearch, WholeNamesFirstThenNameStartsThenLaterWordsEachByPopulation) {
    ExpectAll(
        {
            {"Paris",
             {"Paris, Île-de-France, FR", "Paris, Texas, US", "Parisville, Texas, US",
              "New Paris, Ohio, US"}},
            {"Pari",
             {"Paris, Île-de-France, FR", "Parisville, Texas, US", "Paris, Texas, US",
              "New Paris, Ohio, US"}},
            {"Springfield", {"Springfield, Missouri, US", "Springfield, Illinois, US"}},
            {"plage", {"Étretat, Normandy, FR"}},
        },
        Find);
}

TEST_F(AtlasSearch, AnySpellingWithoutAccentsOrCaseFindsThePlace) {
    ExpectAll(
        {
            {"Munich", {"Munich, Bavaria, DE"}},
            {"munchen", {"Munich, Bavaria, DE", "Münchenstein, Bavaria, DE"}},
            {"MÜNCHEN", {"Munich, Bavaria, DE", "Münchenstein, Bavaria, DE"}},
            {"Muenchen", {"Munich, Bavaria, DE"}},
            {"münchens", {"Münchenstein, Bavaria, DE"}},
            {"Lutetia", {"Paris, Île-de-France, FR"}},
            {"ÉTRETAT", {"Étretat, Normandy, FR"}},
            {"  etretat  ", {"Étretat, Normandy, FR"}},
            {"new-paris", {"New Paris, Ohio, US"}},
        },
        Find);
}

TEST_F(AtlasSearch, QualifiersNarrowByRegionOrCountry) {
    ExpectAll(
        {
            {"Springfield, Illinois", {"Springfield, Illinois, US"}},
            {"Springfield, Missouri", {"Springfield, Missouri, US"}},
            {"Springfield, ill", {"Springfield, Illinois, US"}},
            {"Springfield, IL", {"Springfield, Illinois, US"}},
            {"Springfield, mo", {"Springfield, Missouri, US"}},
            {"Paris, France", {"Paris, Île-de-France, FR"}},
            {"Paris, Texas", {"Paris, Texas, US", "Parisville, Texas, US"}},
            {"Paris, ile de france", {"Paris, Île-de-France, FR"}},
            {"Paris, fr", {"Paris, Île-de-France, FR"}},
            {"Paris, America",
             {"Paris, Texas, US", "Parisville, Texas, US", "New Paris, Ohio, US"}},
            {"Paris, States", {"Paris, Texas, US", "Parisville, Texas, US", "New Paris, Ohio, US"}},
            {"Paris, Texas, US", {"Paris, Texas, US", "Parisville, Texas, US"}},
            {"Paris, Ohio, Texas", {}},
            {"Munich, Deutschland", {"Munich, Bavaria, DE"}},
            {"Munich, France", {}},
            {"Paris,",
             {"Paris, Île-de-France, FR", "Paris, Texas, US", "Parisville, Texas, US",
              "New Paris, Ohio, US"}},
            {"Paris, , France", {"Paris, Île-de-France, FR"}},
        },
        Find);
}

TEST_F(AtlasSearch, CodesMatchOnlyWhole) {
    // Neither "us" nor "tx" begins a name of the country or the region.
    ExpectAll(
        {
            {"Paris, us", {"Paris, Texas, US", "Parisville, Texas, US", "New Paris, Ohio, US"}},
            {"Paris, tx", {"Paris, Texas, US", "Parisville, Texas, US"}},
            {"Paris, TX, US", {"Paris, Texas, US", "Parisville, Texas, US"}},
            {"Paris, usa", {}},
            {"Paris, t", {"Paris, Texas, US", "Parisville, Texas, US"}},
            {"Paris, x", {}},
            {"Paris, txa", {}},
        },
        Find);
}

TEST_F(AtlasSearch, NothingForEmptyOrUnmatchedQueries) {
    ExpectAll(
        {
            {"", {}},
            {"   ", {}},
            {",", {}},
            {", France", {}},
            {"-", {}},
            {"Atlantis", {}},
            {"Parisx", {}},
            {"Париж", {}},
            {"\xFF\xFE", {}},
        },
        Find);
}

TEST_F(AtlasSearch, LimitCutsTheRankedList) {
    EXPECT_EQ(Find("Paris", 2), (Labels{"Paris, Île-de-France, FR", "Paris, Texas, US"}));
    EXPECT_EQ(Find("Paris", 1), Labels{"Paris, Île-de-France, FR"});
    EXPECT_EQ(Find("Paris", 0), Labels{});
}

TEST_F(AtlasSearch, EveryPrefixOfANameKeepsThePlaceInTheResults) {
    const std::string name = "Springfield, Illinois";
    for (std::size_t length = 1; length <= name.size(); ++length) {
        const std::string prefix = name.substr(0, length);
        SCOPED_TRACE(prefix);
        const Labels found = Find(prefix);
        EXPECT_NE(std::find(found.begin(), found.end(), "Springfield, Illinois, US"), found.end());
    }
}

}  // namespace
}  // namespace tolvaris
