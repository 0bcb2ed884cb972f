// The search index of the atlas and the search itself: every folded name of
// every place, and each of its later words to the end, sorted, so that the
// places matching a typed prefix are one binary search and one run of
// entries away, however short the prefix.
#include <algorithm>
#include <limits>

#include "core/atlas/accent_fold.h"
#include "core/atlas/atlas.h"

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

std::uint64_t HeadOf(std::string_view key) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        head = (head << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0U);
    }
    return head;
}

}  // namespace

void Atlas::AddKeys(std::uint32_t place, std::string_view folded_name) {
    if (folded_name.empty() || folded_name.size() > std::numeric_limits<std::uint16_t>::max()) {
        return;
    }
    const auto start = static_cast<std::uint32_t>(keys_.size());
    keys_.append(folded_name);
    index_.push_back(
        {HeadOf(folded_name), start, place, static_cast<std::uint16_t>(folded_name.size()), false});
    for (std::size_t i = 0; i < folded_name.size(); ++i) {
        if (folded_name[i] == ' ' && i + 1 < folded_name.size()) {
            const std::string_view rest = folded_name.substr(i + 1);
            index_.push_back({HeadOf(rest), static_cast<std::uint32_t>(start + i + 1), place,
                              static_cast<std::uint16_t>(rest.size()), true});
        }
    }
}

void Atlas::BuildIndex() {
    std::sort(index_.begin(), index_.end(), [this](const IndexEntry& a, const IndexEntry& b) {
        if (a.Head != b.Head) {
            return a.Head < b.Head;
        }
        const std::string_view key_a = KeyOf(a);
        const std::string_view key_b = KeyOf(b);
        return key_a != key_b ? key_a < key_b : a.Place < b.Place;
    });
    index_.shrink_to_fit();
}

bool Atlas::Qualifies(std::uint32_t place, const std::vector<std::string>& qualifiers) const {
    const PlaceQualifiers& known = qualifiers_[place];
    const Country& country = countries_[known.CountryIndex];
    for (const std::string& qualifier : qualifiers) {
        bool matched = StartsAtWord(known.FoldedRegion, qualifier) ||
                       qualifier == known.FoldedRegionCode ||
                       (qualifier.size() == 2 && qualifier[0] == country.Code[0] + ('a' - 'A') &&
                        qualifier[1] == country.Code[1] + ('a' - 'A'));
        for (std::size_t i = 0; !matched && i < country.FoldedNames.size(); ++i) {
            matched = StartsAtWord(country.FoldedNames[i], qualifier);
        }
        if (!matched) {
            return false;
        }
    }
    return true;
}

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

    // The best way each place matched: one of its names whole, from the start
    // of one, at a later word, or not at all.
    std::vector<std::uint8_t> match(places_.size(), kNoMatch);
    auto entry = std::lower_bound(
        index_.begin(), index_.end(), std::string_view(name),
        [this](const IndexEntry& e, std::string_view wanted) { return KeyOf(e) < wanted; });
    for (; entry != index_.end() && StartsWith(KeyOf(*entry), name); ++entry) {
        const std::uint8_t how = entry->AtLaterWord                ? kAtLaterWord
                                 : entry->KeyLength == name.size() ? kWholeName
                                                                   : kFromStart;
        match[entry->Place] = std::min(match[entry->Place], how);
    }

    // Places are stored most populous first.
    for (const std::uint8_t wanted : {kWholeName, kFromStart, kAtLaterWord}) {
        for (std::uint32_t place = 0; place < places_.size(); ++place) {
            if (match[place] == wanted && Qualifies(place, qualifiers)) {
                found.push_back(places_[place]);
                if (found.size() == limit) {
                    return found;
                }
            }
        }
    }
    return found;
}

}  // namespace tolvaris
