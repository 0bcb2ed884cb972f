// The search over the atlas image: its entries hold every folded name of
// every place, and each of its later words to the end, sorted, so that the
// places matching a typed prefix are one binary search and one run of
// entries away, however short the prefix.
#include <algorithm>

#include "core/atlas/accent_fold.h"
#include "core/atlas/atlas.h"
#include "core/atlas/atlas_image.h"

namespace tolvaris {

namespace {

// How well a place matched, best first.
constexpr std::uint8_t kWholeName = 0;
constexpr std::uint8_t kFromStart = 1;
constexpr std::uint8_t kAtLaterWord = 2;
constexpr std::uint8_t kNoMatch = 3;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Whether `prefix` begins `text` or one of its later words.
bool StartsAtWord(std::string_view text, std::string_view prefix) {
    for (std::size_t start = 0; start < text.size();) {
        if (StartsWith(text.substr(start), prefix)) {
            return true;
        }
        const std::size_t space = text.find(' ', start);
        if (space == std::string_view::npos) {
            break;
        }
        start = space + 1;
    }
    return false;
}

std::vector<std::string_view> SplitAtCommas(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

// Whether every qualifier names the place's region or country.
bool Qualifies(const AtlasImage& image, std::uint32_t place,
               const std::vector<std::string>& qualifiers) {
    if (qualifiers.empty()) {
        return true;
    }
    const atlas_index::PlaceRecord known = image.PlaceAt(place);
    const atlas_index::CountryRecord country = image.CountryAt(known.country);
    const std::string_view foldedRegion = image.Text(known.foldedRegion);
    const std::string_view foldedRegionCode = image.Text(known.foldedRegionCode);
    for (const std::string& qualifier : qualifiers) {
        bool matched = StartsAtWord(foldedRegion, qualifier) || qualifier == foldedRegionCode ||
                       (qualifier.size() == 2 && qualifier[0] == country.code[0] + ('a' - 'A') &&
                        qualifier[1] == country.code[1] + ('a' - 'A'));
        for (std::uint32_t i = 0; !matched && i < country.foldedNameCount; ++i) {
            matched = StartsAtWord(image.Text(image.FoldedNameAt(country.firstFoldedName + i)),
                                   qualifier);
        }
        if (!matched) {
            return false;
        }
    }
    return true;
}

Place PlaceOf(const AtlasImage& image, std::uint32_t index) {
    const atlas_index::PlaceRecord record = image.PlaceAt(index);
    const atlas_index::CountryRecord country = image.CountryAt(record.country);
    return Place{std::string(image.Text(record.name)),
                 std::string(image.Text(record.region)),
                 std::string(image.Text(country.name)),
                 std::string(country.code, 2),
                 record.latitude,
                 record.longitude,
                 std::string(image.Text(record.zone)),
                 record.population};
}

}  // namespace

std::vector<Place> Atlas::Search(std::string_view query, std::size_t limit) const {
    std::vector<Place> found;
    const std::vector<std::string_view> parts = SplitAtCommas(query);
    const std::string name = FoldForSearch(parts.front());
    if (name.empty() || limit == 0) {
        return found;
    }
    std::vector<std::string> qualifiers;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (std::string folded = FoldForSearch(parts[i]); !folded.empty()) {
            qualifiers.push_back(std::move(folded));
        }
    }

    const AtlasImage& image = *image_;
    const std::uint32_t placeCount = image.Head().placeCount;
    const std::uint32_t entryCount = image.Head().entryCount;
    // The first entry whose key is not below the name.
    std::uint32_t low = 0;
    std::uint32_t high = entryCount;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        if (image.Key(image.EntryAt(middle)) < std::string_view(name)) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }

    // The best way each place matched: one of its names whole, from the start
    // of one, at a later word, or not at all.
    std::vector<std::uint8_t> match(placeCount, kNoMatch);
    for (std::uint32_t i = low; i < entryCount; ++i) {
        const atlas_index::EntryRecord entry = image.EntryAt(i);
        if (!StartsWith(image.Key(entry), name)) {
            break;
        }
        const std::uint8_t how = entry.atLaterWord != 0           ? kAtLaterWord
                                 : entry.keyLength == name.size() ? kWholeName
                                                                  : kFromStart;
        match[entry.place] = std::min(match[entry.place], how);
    }

    // Places are stored most populous first.
    for (const std::uint8_t wanted : {kWholeName, kFromStart, kAtLaterWord}) {
        for (std::uint32_t place = 0; place < placeCount; ++place) {
            if (match[place] == wanted && Qualifies(image, place, qualifiers)) {
                found.push_back(PlaceOf(image, place));
                if (found.size() == limit) {
                    return found;
                }
            }
        }
    }
    return found;
}

}  // namespace tolvaris
