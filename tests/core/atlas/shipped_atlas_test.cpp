// Checks of data/atlas.tsv as shipped: its places against facts known
// independently of GeoNames, its zones against the system's tz database.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/atlas/atlas.h"
#include "support/test_atlas.h"

namespace tolvaris {
namespace {

// The place lines of the shipped file, split by the test itself so that the
// checks do not lean on the parser under test.
std::vector<std::vector<std::string>> RawPlaceLines() {
    std::ifstream stream(test::ShippedAtlasPath());
    std::vector<std::vector<std::string>> places;
    std::string line;
    while (std::getline(stream, line)) {
        if (line.rfind("P\t", 0) != 0) {
            continue;
        }
        std::vector<std::string> fields(1);
        for (char c : line) {
            if (c == '\t') {
                fields.emplace_back();
            } else {
                fields.back() += c;
            }
        }
        places.push_back(std::move(fields));
    }
    return places;
}

std::string FirstLabel(const std::string& query) {
    const auto found = test::Labels(test::ShippedAtlas().Search(query, 1));
    return found.empty() ? "(nothing)" : found.front();
}

TEST(ShippedAtlas, HoldsEveryPlaceOf15000PeopleAtLeast20000OfThem) {
    const auto raw = RawPlaceLines();
    const auto big = std::count_if(raw.begin(), raw.end(), [](const auto& fields) {
        return std::stoll(fields.at(8)) >= 15000;
    });
    EXPECT_GE(big, 20000);
    EXPECT_EQ(test::ShippedAtlas().Size(), raw.size());
}

TEST(ShippedAtlas, EverySpellingFindsTheSamePlaceFirst) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"Zürich", "Zurich", "ZURICH", "zur"}, "Zürich, Zurich, CH"},
        {{"München", "Munchen", "Muenchen", "Munich", "munc"}, "Munich, Bavaria, DE"},
        {{"Łódź", "Lodz", "LODZ", "lodz, poland"}, "Łódź, Łódź Voivodeship, PL"},
        {{"São Paulo", "Sao Paulo", "sao paulo"}, "São Paulo, São Paulo, BR"},
        {{"Köln", "Koln", "Koeln", "Cologne"}, "Köln, North Rhine-Westphalia, DE"},
        {{"Wien", "Vienna"}, "Vienna, Vienna, AT"},
        {{"Paris", "paris", "Paris, France", "Paris, FR"}, "Paris, Île-de-France, FR"},
        {{"Paris, Texas", "Paris, TX", "Paris, United States"}, "Paris, Texas, US"},
        {{"Springfield, Illinois", "Springfield, IL", "Springfield, Ill"},
         "Springfield, Illinois, US"},
        {{"Springfield, Missouri", "Springfield, MO"}, "Springfield, Missouri, US"},
        {{"London", "London, UK", "London, England"}, "London, England, GB"},
        {{"London, Ontario", "London, Canada"}, "London, Ontario, CA"},
        {{"Saint-Étienne", "saint etienne", "St Etienne"},
         "Saint-Étienne, Auvergne-Rhône-Alpes, FR"},
        {{"New York", "New York City", "NEW YORK, USA"}, "New York City, New York, US"},
    };
    for (const auto& [queries, expected] : cases) {
        for (const std::string& query : queries) {
            SCOPED_TRACE(query);
            EXPECT_EQ(FirstLabel(query), expected);
        }
    }
}

TEST(ShippedAtlas, QualifiersSeparateNamesakes) {
    const Atlas& atlas = test::ShippedAtlas();
    const auto illinois = atlas.Search("Springfield, Illinois", 10);
    const auto missouri = atlas.Search("Springfield, Missouri", 10);
    ASSERT_EQ(illinois.size(), 1U);
    ASSERT_EQ(missouri.size(), 1U);
    EXPECT_NE(illinois[0].latitude, missouri[0].latitude);
    EXPECT_GE(atlas.Search("Springfield", 20).size(), 5U) << "several US states have one";
    EXPECT_TRUE(atlas.Search("Paris, Atlantis", 10).empty());
    EXPECT_TRUE(atlas.Search("Qwxzv", 10).empty());
    EXPECT_TRUE(atlas.Search("", 10).empty());
}

struct KnownPlace {
    const char* query;
    double latitude;
    double longitude;
    const char* zone;
};

// Coordinates of city centres as atlases and encyclopedias give them;
// GeoNames may set its point a few kilometres away, hence the tolerance.
TEST(ShippedAtlas, WellKnownPlacesLieWhereTheyAreKnownToLie) {
    const std::vector<KnownPlace> known = {
        {"Berlin", 52.5200, 13.4050, "Europe/Berlin"},
        {"Paris", 48.8566, 2.3522, "Europe/Paris"},
        {"London", 51.5074, -0.1278, "Europe/London"},
        {"Munich", 48.1351, 11.5820, "Europe/Berlin"},
        {"Zurich", 47.3769, 8.5417, "Europe/Zurich"},
        {"Lodz", 51.7592, 19.4560, "Europe/Warsaw"},
        {"Reykjavik", 64.1466, -21.9426, "Atlantic/Reykjavik"},
        {"New York", 40.7128, -74.0060, "America/New_York"},
        {"Springfield, Illinois", 39.7817, -89.6501, "America/Chicago"},
        {"Springfield, Missouri", 37.2090, -93.2923, "America/Chicago"},
        {"Honolulu", 21.3069, -157.8583, "Pacific/Honolulu"},
        {"Sao Paulo", -23.5505, -46.6333, "America/Sao_Paulo"},
        {"Buenos Aires", -34.6037, -58.3816, "America/Argentina/Buenos_Aires"},
        {"Tokyo", 35.6762, 139.6503, "Asia/Tokyo"},
        {"Mumbai", 19.0760, 72.8777, "Asia/Kolkata"},
        {"Sydney", -33.8688, 151.2093, "Australia/Sydney"},
        {"Cape Town", -33.9249, 18.4241, "Africa/Johannesburg"},
    };
    for (const auto& place : known) {
        SCOPED_TRACE(place.query);
        const auto found = test::ShippedAtlas().Search(place.query, 1);
        ASSERT_EQ(found.size(), 1U);
        EXPECT_NEAR(found[0].latitude, place.latitude, 0.1);
        EXPECT_NEAR(found[0].longitude, place.longitude, 0.1);
        EXPECT_EQ(found[0].zone, place.zone);
        EXPECT_GT(found[0].population, 100000);
    }
}

TEST(ShippedAtlas, EveryZoneIsInTheSystemTimeZoneDatabase) {
    const std::filesystem::path zoneinfo = "/usr/share/zoneinfo";
    if (!std::filesystem::exists(zoneinfo / "Europe" / "Berlin")) {
        GTEST_SKIP() << "no tz database in " << zoneinfo;
    }
    std::set<std::string> zones;
    for (const auto& fields : RawPlaceLines()) {
        zones.insert(fields.at(7));
    }
    EXPECT_GT(zones.size(), 300U);
    for (const std::string& zone : zones) {
        EXPECT_TRUE(std::filesystem::is_regular_file(zoneinfo / zone)) << zone;
    }
}

// Each place can be found by its own name and country (every 7th place, to
// keep the test quick); names with commas are skipped, as a comma starts a
// qualifier.
TEST(ShippedAtlas, EachPlaceIsFoundByItsNameAndCountry) {
    const Atlas& atlas = test::ShippedAtlas();
    const auto raw = RawPlaceLines();
    int checked = 0;
    for (std::size_t i = 0; i < raw.size(); i += 7) {
        const auto& fields = raw[i];
        if (fields.at(1).find(',') != std::string::npos) {
            continue;
        }
        const auto found = atlas.Search(fields.at(1) + ", " + fields.at(4), 5000);
        const bool present = std::any_of(found.begin(), found.end(), [&](const Place& place) {
            return place.name == fields.at(1) && place.zone == fields.at(7) &&
                   std::abs(place.latitude - std::stod(fields.at(5))) < 1e-9 &&
                   std::abs(place.longitude - std::stod(fields.at(6))) < 1e-9;
        });
        EXPECT_TRUE(present) << fields.at(1) << ", " << fields.at(4);
        ++checked;
    }
    EXPECT_GT(checked, 3500);
}

}  // namespace
}  // namespace tolvaris
