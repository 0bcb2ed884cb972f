// Reading data/atlas.tsv: a header line that counts the countries and places,
// comment lines, then tab-separated lines, one per country ("C") and per
// place ("P"), as scripts/make-atlas writes them.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unordered_map>

#include "core/atlas/accent_fold.h"
#include "core/atlas/atlas.h"
#include "core/atlas/atlas_image.h"

namespace tolvaris {

namespace {

constexpr std::string_view kHeaderStart = "# Tolvaris atlas 1, ";
// Far more than the atlas will ever need; keeps a wrong file from filling memory.
constexpr std::uintmax_t kLargestFile = std::uintmax_t{256} * 1024 * 1024;
// Keys are indexed with 16-bit lengths; real names are far shorter.
constexpr std::size_t kLongestName = 1000;
constexpr std::size_t kLongestKey = 0xFFFF;

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

// "<n> countries, <m> places" after kHeaderStart.
bool ParseCounts(std::string_view text, std::size_t& countries, std::size_t& places) {
    const auto parts = SplitAt(text, ' ');
    return parts.size() == 4 && parts[1] == "countries," && parts[3] == "places" &&
           ParseNumber(parts[0], countries) && ParseNumber(parts[2], places);
}

}  // namespace

// Collects the atlas line by line; the first fault ends the reading.
class AtlasFileParser {
public:
    explicit AtlasFileParser(std::string_view source) : source_(source) {}

    AtlasLoadResult Parse(std::string_view text) {
        if (text.empty()) {
            return Failure("the file is empty");
        }
        std::size_t start = 0;
        while (start < text.size() && error_.empty()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            ++lineNumber_;
            ParseLine(line);
            start = end + 1;
        }
        if (!error_.empty()) {
            return Failure("line " + std::to_string(lineNumber_) + ": " + error_);
        }
        if (atlas_.countries.size() != expectedCountries_ ||
            atlas_.places.size() != expectedPlaces_) {
            return Failure("it holds " + std::to_string(atlas_.places.size()) + " of its " +
                           std::to_string(expectedPlaces_) + " places and " +
                           std::to_string(atlas_.countries.size()) + " of its " +
                           std::to_string(expectedCountries_) + " countries");
        }
        if (atlas_.keys.size() > UINT32_MAX || atlas_.entries.size() > UINT32_MAX) {
            return Failure("it is too large");
        }
        AtlasLoadResult built =
            Atlas::FromIndex(WriteAtlasImage(std::move(atlas_), text.size()), source_);
        if (!built.value) {
            // The text was checked line by line; an image it makes is sound.
            return Failure("it cannot be indexed");
        }
        return built;
    }

private:
    AtlasLoadResult Failure(const std::string& why) const {
        return AtlasLoadResult{
            std::nullopt, "The place atlas \"" + source_ + "\" is damaged (" + why + ").", {}};
    }

    void ParseLine(std::string_view line) {
        if (lineNumber_ == 1) {
            if (line.substr(0, kHeaderStart.size()) != kHeaderStart ||
                !ParseCounts(line.substr(kHeaderStart.size()), expectedCountries_,
                             expectedPlaces_)) {
                error_ = "it does not begin as a Tolvaris atlas";
            }
            return;
        }
        if (line.empty() || line.front() == '#') {
            return;
        }
        const auto fields = SplitAt(line, '\t');
        if (fields[0] == "C") {
            ParseCountry(fields);
        } else if (fields[0] == "P") {
            ParsePlace(fields);
        } else {
            error_ = "a line that is neither a country nor a place";
        }
    }

    static bool IsCode(std::string_view code) {
        return code.size() == 2 && code[0] >= 'A' && code[0] <= 'Z' && code[1] >= 'A' &&
               code[1] <= 'Z';
    }

    void ParseCountry(const std::vector<std::string_view>& fields) {
        if (fields.size() != 4) {
            error_ = "a country line needs 4 fields, this one has " + std::to_string(fields.size());
            return;
        }
        if (!IsCode(fields[1]) || countryOfCode_.count(std::string(fields[1])) != 0) {
            error_ = "the country code is not two capital letters or comes twice";
            return;
        }
        if (fields[2].empty()) {
            error_ = "the country has no name";
            return;
        }
        AtlasContents::Country country{std::string(fields[1]), std::string(fields[2]), {}};
        country.foldedNames.push_back(FoldForSearch(fields[2]));
        if (!fields[3].empty()) {
            for (std::string_view other : SplitAt(fields[3], ',')) {
                country.foldedNames.push_back(FoldForSearch(other));
            }
        }
        countryOfCode_.emplace(country.code, static_cast<std::uint32_t>(atlas_.countries.size()));
        atlas_.countries.push_back(std::move(country));
    }

    void ParsePlace(const std::vector<std::string_view>& fields) {
        if (fields.size() != 10) {
            error_ = "a place line needs 10 fields, this one has " + std::to_string(fields.size());
            return;
        }
        AtlasContents::PlaceRow row;
        Place& place = row.place;
        place.name = fields[1];
        place.region = fields[2];
        place.zone = fields[7];
        if (place.name.empty() || place.name.size() > kLongestName ||
            FoldForSearch(place.name).empty()) {
            error_ = "the place has no usable name";
            return;
        }
        const auto country = countryOfCode_.find(std::string(fields[4]));
        if (country == countryOfCode_.end()) {
            error_ = "the country code \"" + std::string(fields[4]) + "\" is not listed";
            return;
        }
        place.countryCode = fields[4];
        place.country = atlas_.countries[country->second].name;
        if (!ParseNumber(fields[5], place.latitude) || !(place.latitude >= -90) ||
            !(place.latitude <= 90)) {
            error_ = "the latitude is not a number between -90 and 90";
            return;
        }
        if (!ParseNumber(fields[6], place.longitude) || !(place.longitude >= -180) ||
            !(place.longitude <= 180)) {
            error_ = "the longitude is not a number between -180 and 180";
            return;
        }
        if (place.zone.empty() || place.zone.find(' ') != std::string::npos) {
            error_ = "the time zone is missing";
            return;
        }
        if (!ParseNumber(fields[8], place.population) || place.population < 0) {
            error_ = "the population is not a whole number";
            return;
        }
        if (!atlas_.places.empty() && place.population > atlas_.places.back().place.population) {
            error_ = "the places are not in order of population";
            return;
        }
        const auto index = static_cast<std::uint32_t>(atlas_.places.size());
        row.foldedRegion = FoldForSearch(place.region);
        row.foldedRegionCode = FoldForSearch(fields[3]);
        row.country = country->second;
        AddKeys(index, FoldForSearch(place.name));
        if (!fields[9].empty()) {
            for (std::string_view other : SplitAt(fields[9], ',')) {
                if (other.size() > kLongestName) {
                    error_ = "a name of the place is too long";
                    return;
                }
                AddKeys(index, FoldForSearch(other));
            }
        }
        atlas_.places.push_back(std::move(row));
    }

    // Every folded name of a place, and each of its later words to the end,
    // so that a prefix typed finds both "new york" and "york".
    void AddKeys(std::uint32_t place, std::string_view foldedName) {
        if (foldedName.empty() || foldedName.size() > kLongestKey) {
            return;
        }
        const auto start = static_cast<std::uint32_t>(atlas_.keys.size());
        atlas_.keys.append(foldedName);
        atlas_.entries.push_back(
            {start, place, static_cast<std::uint16_t>(foldedName.size()), 0, 0});
        for (std::size_t i = 0; i < foldedName.size(); ++i) {
            if (foldedName[i] == ' ' && i + 1 < foldedName.size()) {
                atlas_.entries.push_back({static_cast<std::uint32_t>(start + i + 1), place,
                                          static_cast<std::uint16_t>(foldedName.size() - i - 1), 1,
                                          0});
            }
        }
    }

    std::string source_;
    AtlasContents atlas_;
    std::unordered_map<std::string, std::uint32_t> countryOfCode_;
    std::size_t expectedCountries_ = 0;
    std::size_t expectedPlaces_ = 0;
    std::size_t lineNumber_ = 0;
    std::string error_;
};

AtlasLoadResult Atlas::FromText(std::string_view text, std::string_view source) {
    return AtlasFileParser(source).Parse(text);
}

namespace {

AtlasLoadResult LoadText(const std::filesystem::path& path) {
    const std::string shown = path.string();
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return {std::nullopt,
                "The place atlas \"" + shown + "\" cannot be read (" + error.message() + ").",
                {}};
    }
    if (size > kLargestFile) {
        return {
            std::nullopt, "The place atlas \"" + shown + "\" is damaged (it is too large).", {}};
    }
    std::ifstream stream(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!stream || !stream.read(text.data(), static_cast<std::streamsize>(size))) {
        return {std::nullopt, "The place atlas \"" + shown + "\" cannot be read.", {}};
    }
    return Atlas::FromText(text, shown);
}

}  // namespace

AtlasLoadResult Atlas::Load(const std::filesystem::path& path) {
    std::filesystem::path indexPath = path;
    indexPath.replace_extension(".idx");
    std::error_code error;
    std::string indexProblem;
    if (std::filesystem::exists(indexPath, error)) {
        AtlasLoadResult indexed = LoadIndex(indexPath);
        if (indexed.value) {
            const std::uintmax_t textSize = std::filesystem::file_size(path, error);
            // Without the text the index stands alone; beside a text it must
            // have been made from that text.
            if (error || textSize == indexed.value->image_->Head().sourceSize) {
                return indexed;
            }
            indexProblem = "The place index \"" + indexPath.string() +
                           "\" was made from another atlas than \"" + path.string() + "\".";
        } else {
            indexProblem = std::move(indexed.error);
        }
    }
    AtlasLoadResult loaded = LoadText(path);
    loaded.indexProblem = std::move(indexProblem);
    return loaded;
}

}  // namespace tolvaris
