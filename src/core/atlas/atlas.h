#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atlas/place.h"

namespace tolvaris {

struct AtlasLoadResult;
class AtlasImage;

// The offline place atlas (data/atlas.tsv, made by scripts/make-atlas):
// every place of 15,000 people or more, most populous first, searchable by
// any of its names without accents or letter case. The build writes its
// search index beside it (atlas.idx, see docs/atlas-index.md), which a run
// maps instead of reading and folding the text.
class Atlas {
public:
    // The atlas of the text file `path`: from the index beside it (the same
    // name ending in ".idx") when that is sound and made from a file of this
    // size, else from the text. A missing, unreadable or damaged atlas gives
    // a message for the user instead of an atlas.
    static AtlasLoadResult Load(const std::filesystem::path& path);
    // The same from the file's text; `source` names it in messages.
    static AtlasLoadResult FromText(std::string_view text, std::string_view source);
    // An index file alone (mapped, not read), or its bytes; every offset and
    // length in it is checked before the atlas is given out.
    static AtlasLoadResult LoadIndex(const std::filesystem::path& path);
    static AtlasLoadResult FromIndex(std::string bytes, std::string_view source);

    // The places a user means by `query`, at most `limit`: a name, then
    // optionally ", qualifier" parts ("Springfield, Illinois", "Paris, Texas,
    // USA"). Each is folded (see FoldForSearch), so "Zurich", "zürich" and
    // "ZÜRICH" are one query. The name matches a place whose name or any other
    // name begins with it ("Mun" finds Munich, also known as München), or
    // whose name has a word beginning with it ("York" finds New York City).
    // Places one of whose names is the whole query come first ("York" before
    // New York City, "Wien" finds Vienna before Wiener Neustadt), then those
    // matched from the start of a name, then those matched at a later word;
    // each group most populous first. Every qualifier must begin the region
    // or the country, or one of their words, or be the country's ISO code or
    // the region's letter code ("US", "IL"); the country also answers to its
    // native name and common short names ("UK", "USA", "Deutschland"). An
    // empty name or a query that matches nothing gives no places. Searching
    // changes nothing, so threads may search one atlas at once.
    std::vector<Place> Search(std::string_view query, std::size_t limit) const;

    // How many places the atlas holds.
    std::size_t Size() const;

    // The index as the build writes it to atlas.idx; `sourceSize` is the size
    // of the text it was made from, which Load compares.
    std::string IndexBytes(std::uint64_t sourceSize) const;

    Atlas(Atlas&&) noexcept;
    Atlas& operator=(Atlas&&) noexcept;
    ~Atlas();

private:
    explicit Atlas(std::shared_ptr<const AtlasImage> image);

    std::shared_ptr<const AtlasImage> image_;

    friend class AtlasImage;
};

// What loading gives: the atlas, or a message for the user saying why not.
struct AtlasLoadResult {
    std::optional<Atlas> value;
    std::string error;  // empty when value holds the atlas
    // Why the index beside the text was not used, when it was there but
    // damaged or stale and the text was read instead; empty otherwise.
    std::string indexProblem;
};

}  // namespace tolvaris
