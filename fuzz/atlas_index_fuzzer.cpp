// The atlas index (atlas.idx) read from arbitrary bytes, as given and as a
// mapped file: both ways must agree, a refusal must say the index is
// damaged, and an index that is accepted must search without a fault and
// give sound places, a shorter list being the start of a longer one.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/atlas/atlas.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

void CheckPlaces(const std::vector<Place>& places, std::size_t limit, const std::string& query) {
    FUZZ_CHECK(places.size() <= limit, query);
    for (const Place& place : places) {
        FUZZ_CHECK(!place.name.empty() && !place.zone.empty(), query);
        FUZZ_CHECK(place.latitude >= -90 && place.latitude <= 90, query);
        FUZZ_CHECK(place.longitude >= -180 && place.longitude <= 180, query);
        FUZZ_CHECK(place.countryCode.size() == 2 && place.population >= 0, query);
    }
}

void CheckIndex(const std::string& bytes) {
    const AtlasLoadResult given = Atlas::FromIndex(bytes, "fuzz.idx");
    const std::filesystem::path file = ScratchFolder() / "atlas.idx";
    WriteWholeFile(file, bytes);
    const AtlasLoadResult mapped = Atlas::LoadIndex(file);
    FUZZ_CHECK(given.value.has_value() == mapped.value.has_value(), given.error + mapped.error);
    if (!given.value) {
        FUZZ_CHECK(given.error.find("is damaged") != std::string::npos, given.error);
        return;
    }
    FUZZ_CHECK(given.error.empty() && given.value->Size() == mapped.value->Size(), given.error);
    for (const std::string query :
         {"p", "paris", "mun", "new york", "springfield, il", "a, b, c", "\xC3\xA9", "z"}) {
        const std::vector<Place> few = given.value->Search(query, 3);
        const std::vector<Place> many = mapped.value->Search(query, 30);
        CheckPlaces(few, 3, query);
        CheckPlaces(many, 30, query);
        FUZZ_CHECK(many.size() >= few.size() && std::equal(few.begin(), few.end(), many.begin()),
                   query);
    }
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    tolvaris::fuzz::CheckIndex(bytes);
    return 0;
}
