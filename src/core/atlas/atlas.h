#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atlas/place.h"

namespace tolvaris {

struct AtlasLoadResult;

// The offline place atlas (data/atlas.tsv, made by scripts/make-atlas):
// every place of 15,000 people or more, most populous first, searchable by
// any of its names without accents or letter case.
class Atlas {
public:
    // Reads an atlas file once. A missing, unreadable or damaged file gives a
    // message for the user instead of an atlas.
    static AtlasLoadResult Load(const std::filesystem::path& path);
    // The same from the file's text; `source` names it in messages.
    static AtlasLoadResult FromText(std::string_view text, std::string_view source);

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
    std::size_t Size() const { return places_.size(); }

    Atlas(Atlas&&) = default;
    Atlas& operator=(Atlas&&) = default;

private:
    Atlas() = default;

    // A country's name and the folded spellings it answers to.
    struct Country {
        std::string Code;
        std::string Name;
        std::vector<std::string> FoldedNames;  // name, code and other names
    };
    // What a qualifier is compared with, besides the country.
    struct PlaceQualifiers {
        std::string FoldedRegion;
        std::string FoldedRegionCode;
        std::uint32_t CountryIndex = 0;
    };
    // One searchable spelling of a place, or the part of one from a later
    // word on: keys_.substr(KeyStart, KeyLength). Head holds its first eight
    // bytes, big-endian and zero-padded, so that most comparisons while
    // sorting are one integer comparison.
    struct IndexEntry {
        std::uint64_t Head;
        std::uint32_t KeyStart;
        std::uint32_t Place;
        std::uint16_t KeyLength;
        bool AtLaterWord;
    };

    std::string_view KeyOf(const IndexEntry& entry) const {
        return std::string_view(keys_).substr(entry.KeyStart, entry.KeyLength);
    }
    bool Qualifies(std::uint32_t place, const std::vector<std::string>& qualifiers) const;
    void AddKeys(std::uint32_t place, std::string_view folded_name);
    void BuildIndex();

    std::vector<Place> places_;
    std::vector<PlaceQualifiers> qualifiers_;
    std::vector<Country> countries_;
    std::string keys_;
    std::vector<IndexEntry> index_;

    friend class AtlasFileParser;
};

// What loading gives: the atlas, or a message for the user saying why not.
struct AtlasLoadResult {
    std::optional<Atlas> Value;
    std::string Error;  // empty when Value holds the atlas
};

}  // namespace tolvaris
