#include "support/test_atlas.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace tolvaris::test {

std::string SmallAtlasText() {
    // Populations are made up so that every ranking rule decides some order.
    return "# Tolvaris atlas 1, 3 countries, 9 places\n"
           "# made up for the tests\n"
           "C\tDE\tGermany\tdeutschland\n"
           "C\tFR\tFrance\t\n"
           "C\tUS\tUnited States\tamerica\n"
           "P\tMunich\tBavaria\t\tDE\t48.13743\t11.57549\tEurope/"
           "Berlin\t1260391\tmunchen,muenchen\n"
           "P\tParis\tÎle-de-France\t\tFR\t48.85341\t2.3488\tEurope/Paris\t1000000\tlutetia\n"
           "P\tNew Paris\tOhio\tOH\tUS\t39.85\t-84.79\tAmerica/New_York\t500000\t\n"
           "P\tParisville\tTexas\tTX\tUS\t33.0\t-95.0\tAmerica/Chicago\t300000\t\n"
           "P\tSpringfield\tMissouri\tMO\tUS\t37.21533\t-93.29824\tAmerica/Chicago\t166810\t\n"
           "P\tSpringfield\tIllinois\tIL\tUS\t39.80172\t-89.64371\tAmerica/Chicago\t116565\t\n"
           "P\tParis\tTexas\tTX\tUS\t33.66094\t-95.55551\tAmerica/Chicago\t24782\t\n"
           "P\tMünchenstein\tBavaria\t\tDE\t48.0\t11.0\tEurope/Berlin\t20000\t\n"
           "P\tÉtretat\tNormandy\t\tFR\t49.70669\t0.20523\tEurope/Paris\t15000\tetretat plage\n";
}

std::filesystem::path ShippedAtlasPath() {
    const char* root = std::getenv("TOLVARIS_SOURCE_DIR");
    return std::filesystem::path(root != nullptr ? root : ".") / "data" / "atlas.tsv";
}

const Atlas& ShippedAtlas() {
    static const std::unique_ptr<Atlas> atlas = [] {
        AtlasLoadResult loaded = Atlas::Load(ShippedAtlasPath());
        EXPECT_EQ(loaded.error, "");
        return loaded.value ? std::make_unique<Atlas>(std::move(*loaded.value)) : nullptr;
    }();
    if (atlas == nullptr) {
        throw std::runtime_error("the shipped atlas did not load; is TOLVARIS_SOURCE_DIR set?");
    }
    return *atlas;
}

std::vector<std::string> Labels(const std::vector<Place>& places) {
    std::vector<std::string> labels;
    for (const Place& place : places) {
        labels.push_back(place.name + ", " + place.region + ", " + place.countryCode);
    }
    return labels;
}

}  // namespace tolvaris::test
