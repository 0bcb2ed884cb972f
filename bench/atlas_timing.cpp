// Times loading the atlas and searching it as a user types: every prefix of
// a few names, each searched over the whole atlas, as the place box does on
// each keystroke. Prints figures; asserts nothing. With a query after the
// path it prints what that query finds instead.
//   atlas_timing [path to atlas.tsv [query]]
// The index beside the text (atlas.idx) is used when it is there and sound.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/atlas/atlas.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "data/atlas.tsv";
    const auto load_start = Clock::now();
    tolvaris::AtlasLoadResult loaded = tolvaris::Atlas::Load(path);
    const double load_ms = MillisecondsSince(load_start);
    if (!loaded.value) {
        std::fprintf(stderr, "%s\n", loaded.error.c_str());
        return 1;
    }
    const tolvaris::Atlas& atlas = *loaded.value;
    std::filesystem::path index = path;
    index.replace_extension(".idx");
    const bool indexed = std::filesystem::exists(index) && loaded.indexProblem.empty();
    std::printf("load: %.1f ms, %zu places, from %s\n", load_ms, atlas.Size(),
                indexed ? index.c_str() : path.c_str());
    if (!loaded.indexProblem.empty()) {
        std::printf("%s\n", loaded.indexProblem.c_str());
    }
    if (argc > 2) {
        for (const tolvaris::Place& place : atlas.Search(argv[2], 20)) {
            std::printf("%s, %s, %s  %.5f %.5f  %s  %lld\n", place.name.c_str(),
                        place.region.c_str(), place.country.c_str(), place.latitude,
                        place.longitude, place.zone.c_str(),
                        static_cast<long long>(place.population));
        }
        return 0;
    }

    const std::vector<std::string> typed = {
        "Munchen", "Springfield, Illinois", "Sao Paulo", "Zürich", "New York", "Lodz", "San"};
    constexpr int kRepeats = 20;
    constexpr std::size_t kLimit = 20;
    double worst_ms = 0;
    double total_ms = 0;
    int searches = 0;
    for (const std::string& name : typed) {
        std::printf("%s\n", name.c_str());
        for (std::size_t length = 1; length <= name.size(); ++length) {
            // Whole UTF-8 characters only, as a user types them.
            if (length < name.size() && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) {
                continue;
            }
            const std::string prefix = name.substr(0, length);
            double best = 1e9;
            double slowest = 0;
            std::size_t results = 0;
            for (int r = 0; r < kRepeats; ++r) {
                const auto start = Clock::now();
                results = atlas.Search(prefix, kLimit).size();
                const double ms = MillisecondsSince(start);
                best = std::min(best, ms);
                slowest = std::max(slowest, ms);
                total_ms += ms;
                ++searches;
            }
            worst_ms = std::max(worst_ms, slowest);
            std::printf("  %-24s %2zu places  best %.3f ms  slowest %.3f ms\n",
                        ("\"" + prefix + "\"").c_str(), results, best, slowest);
        }
    }
    std::printf("searches: %d, mean %.3f ms, slowest %.3f ms\n", searches, total_ms / searches,
                worst_ms);
    return 0;
}
