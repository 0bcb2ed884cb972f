#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/atlas/atlas.h"

namespace tolvaris::test {

// A small made-up atlas in the file format, for tests that need to know
// every place in it.
std::string SmallAtlasText();

// The atlas of the source tree (data/atlas.tsv); needs TOLVARIS_SOURCE_DIR,
// which CTest sets.
std::filesystem::path ShippedAtlasPath();

// The shipped atlas, loaded once for all tests of a run; fails the test if it
// cannot be loaded.
const Atlas& ShippedAtlas();

// "Name, Region, CC" of each place, to compare search results at a glance.
std::vector<std::string> Labels(const std::vector<Place>& places);

}  // namespace tolvaris::test
