// Writing the atlas image and opening one: an image from a file is outside
// input, so every count, offset and length is checked against the bytes
// before anything is read through it.
#include "core/atlas/atlas_image.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <system_error>
#include <unordered_map>

namespace tolvaris {

using namespace atlas_index;

namespace {

// As for the text: far more than the atlas will ever need.
constexpr std::uint64_t kLargestImage = std::uint64_t{256} * 1024 * 1024;

constexpr std::size_t AlignedTo8(std::size_t size) {
    return (size + 7) & ~std::size_t{7};
}

// Where each table starts, from the counts of the header alone.
struct Layout {
    std::uint64_t places, countries, foldedNames, entries, strings, keys, end;
};

Layout LayoutOf(const Header& header) {
    Layout at{};
    at.places = AlignedTo8(sizeof(Header));
    at.countries = at.places + std::uint64_t{header.placeCount} * sizeof(PlaceRecord);
    at.foldedNames = at.countries + std::uint64_t{header.countryCount} * sizeof(CountryRecord);
    at.entries = at.foldedNames + std::uint64_t{header.foldedNameCount} * sizeof(StringRef);
    at.strings = AlignedTo8(at.entries + std::uint64_t{header.entryCount} * sizeof(EntryRecord));
    at.keys = at.strings + header.stringsSize;
    at.end = at.keys + header.keysSize;
    return at;
}

template <typename Record>
void Append(std::string& out, const Record& record) {
    out.append(reinterpret_cast<const char*>(&record), sizeof record);
}

// The string area, each distinct string once (zones and regions repeat).
class StringArea {
public:
    StringRef Add(const std::string& text) {
        const auto [known, added] =
            refs_.try_emplace(text, StringRef{static_cast<std::uint32_t>(bytes_.size()),
                                              static_cast<std::uint32_t>(text.size())});
        if (added) {
            bytes_ += text;
        }
        return known->second;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    std::unordered_map<std::string, StringRef> refs_;
};

class StringBytes : public ImageBytes {
public:
    explicit StringBytes(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string_view View() const override { return bytes_; }

private:
    std::string bytes_;
};

// A file mapped read-only: pages come from the page cache as they are read,
// and the same pages serve every process that maps the file.
class MappedBytes : public ImageBytes {
public:
    MappedBytes(void* address, std::size_t size) : address_(address), size_(size) {}
    ~MappedBytes() override { munmap(address_, size_); }
    MappedBytes(const MappedBytes&) = delete;
    MappedBytes& operator=(const MappedBytes&) = delete;
    std::string_view View() const override { return {static_cast<const char*>(address_), size_}; }

private:
    void* address_;
    std::size_t size_;
};

bool IsCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

// The first eight bytes of a key, big-endian and zero-padded: most
// comparisons while sorting are one integer comparison.
std::uint64_t HeadOf(std::string_view key) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        head = (head << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0U);
    }
    return head;
}

// By key, then by place. Keys hold no zero bytes, so the heads order them
// as the keys themselves.
void SortEntries(std::string_view keys, std::vector<EntryRecord>& entries) {
    struct Sortable {
        std::uint64_t head;
        EntryRecord entry;
    };
    std::vector<Sortable> sortable;
    sortable.reserve(entries.size());
    for (const EntryRecord& entry : entries) {
        sortable.push_back({HeadOf(keys.substr(entry.keyStart, entry.keyLength)), entry});
    }
    std::sort(sortable.begin(), sortable.end(), [keys](const Sortable& a, const Sortable& b) {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        const std::string_view keyA = keys.substr(a.entry.keyStart, a.entry.keyLength);
        const std::string_view keyB = keys.substr(b.entry.keyStart, b.entry.keyLength);
        return keyA != keyB ? keyA < keyB : a.entry.place < b.entry.place;
    });
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = sortable[i].entry;
    }
}

}  // namespace

std::string WriteAtlasImage(AtlasContents contents, std::uint64_t sourceSize) {
    SortEntries(contents.keys, contents.entries);

    StringArea strings;
    std::vector<PlaceRecord> places;
    places.reserve(contents.places.size());
    for (const AtlasContents::PlaceRow& row : contents.places) {
        places.push_back({strings.Add(row.place.name), strings.Add(row.place.region),
                          strings.Add(row.place.zone), strings.Add(row.foldedRegion),
                          strings.Add(row.foldedRegionCode), row.country, 0, row.place.latitude,
                          row.place.longitude, row.place.population});
    }
    std::vector<CountryRecord> countries;
    std::vector<StringRef> foldedNames;
    for (const AtlasContents::Country& country : contents.countries) {
        CountryRecord record{};
        record.code[0] = country.code[0];
        record.code[1] = country.code[1];
        record.firstFoldedName = static_cast<std::uint32_t>(foldedNames.size());
        record.foldedNameCount = static_cast<std::uint32_t>(country.foldedNames.size());
        record.name = strings.Add(country.name);
        for (const std::string& folded : country.foldedNames) {
            foldedNames.push_back(strings.Add(folded));
        }
        countries.push_back(record);
    }

    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.version = kVersion;
    header.byteOrder = kByteOrderMark;
    header.sourceSize = sourceSize;
    header.placeCount = static_cast<std::uint32_t>(places.size());
    header.countryCount = static_cast<std::uint32_t>(countries.size());
    header.foldedNameCount = static_cast<std::uint32_t>(foldedNames.size());
    header.entryCount = static_cast<std::uint32_t>(contents.entries.size());
    header.stringsSize = static_cast<std::uint32_t>(strings.Bytes().size());
    header.keysSize = static_cast<std::uint32_t>(contents.keys.size());
    const Layout at = LayoutOf(header);

    std::string image;
    image.reserve(at.end);
    Append(image, header);
    image.resize(at.places, '\0');
    for (const PlaceRecord& place : places) {
        Append(image, place);
    }
    for (const CountryRecord& country : countries) {
        Append(image, country);
    }
    for (const StringRef& folded : foldedNames) {
        Append(image, folded);
    }
    for (const EntryRecord& entry : contents.entries) {
        Append(image, entry);
    }
    image.resize(at.strings, '\0');
    image += strings.Bytes();
    image += contents.keys;
    return image;
}

AtlasImage::AtlasImage(std::unique_ptr<const ImageBytes> bytes)
    : bytes_(std::move(bytes)), data_(bytes_->View()) {}

AtlasImage::Opened AtlasImage::Open(std::unique_ptr<const ImageBytes> bytes) {
    std::shared_ptr<AtlasImage> image(new AtlasImage(std::move(bytes)));
    std::string problem = image->Check();
    if (!problem.empty()) {
        return {nullptr, std::move(problem)};
    }
    return {std::move(image), {}};
}

std::string AtlasImage::Check() {
    if (data_.size() < sizeof(Header)) {
        return "it is too short to hold its header";
    }
    header_ = Read<Header>(0);
    if (std::memcmp(header_.magic, kMagic, sizeof kMagic) != 0) {
        return "it does not begin as a Tolvaris place index";
    }
    if (header_.byteOrder != kByteOrderMark) {
        return "it was made on a machine of another byte order";
    }
    if (header_.version != kVersion) {
        return "it is of another version (" + std::to_string(header_.version) + ")";
    }
    const Layout at = LayoutOf(header_);
    if (at.end != data_.size()) {
        return "its header counts " + std::to_string(at.end) + " bytes, the file has " +
               std::to_string(data_.size());
    }
    placesAt_ = at.places;
    countriesAt_ = at.countries;
    foldedNamesAt_ = at.foldedNames;
    entriesAt_ = at.entries;
    stringsAt_ = at.strings;
    keysAt_ = at.keys;

    const auto inStrings = [this](StringRef ref) {
        return std::uint64_t{ref.offset} + ref.length <= header_.stringsSize;
    };
    for (std::uint32_t i = 0; i < header_.countryCount; ++i) {
        const CountryRecord country = CountryAt(i);
        if (!IsCapital(country.code[0]) || !IsCapital(country.code[1]) ||
            !inStrings(country.name) ||
            std::uint64_t{country.firstFoldedName} + country.foldedNameCount >
                header_.foldedNameCount) {
            return "country " + std::to_string(i + 1) + " points outside the file";
        }
    }
    for (std::uint32_t i = 0; i < header_.foldedNameCount; ++i) {
        if (!inStrings(FoldedNameAt(i))) {
            return "a country name points outside the file";
        }
    }
    std::int64_t previousPopulation = INT64_MAX;
    for (std::uint32_t i = 0; i < header_.placeCount; ++i) {
        const PlaceRecord place = PlaceAt(i);
        const auto where = [i] { return "place " + std::to_string(i + 1); };
        if (!inStrings(place.name) || !inStrings(place.region) || !inStrings(place.zone) ||
            !inStrings(place.foldedRegion) || !inStrings(place.foldedRegionCode) ||
            place.country >= header_.countryCount) {
            return where() + " points outside the file";
        }
        if (place.name.length == 0 || place.zone.length == 0) {
            return where() + " has no name or no time zone";
        }
        if (!(place.latitude >= -90 && place.latitude <= 90) ||
            !(place.longitude >= -180 && place.longitude <= 180)) {
            return where() + " has coordinates off the globe";
        }
        // The search relies on this order for its ranking.
        if (place.population < 0 || place.population > previousPopulation) {
            return where() + " is out of the order of population";
        }
        previousPopulation = place.population;
    }
    for (std::uint32_t i = 0; i < header_.entryCount; ++i) {
        const EntryRecord entry = EntryAt(i);
        if (std::uint64_t{entry.keyStart} + entry.keyLength > header_.keysSize ||
            entry.keyLength == 0 || entry.place >= header_.placeCount || entry.atLaterWord > 1) {
            return "search entry " + std::to_string(i + 1) + " points outside the file";
        }
    }
    return {};
}

AtlasLoadResult AtlasImage::ToResult(Opened opened, std::string_view source) {
    if (!opened.image) {
        return {
            std::nullopt,
            "The place index \"" + std::string(source) + "\" is damaged (" + opened.problem + ").",
            {}};
    }
    return {Atlas(std::move(opened.image)), {}, {}};
}

Atlas::Atlas(std::shared_ptr<const AtlasImage> image) : image_(std::move(image)) {}
Atlas::Atlas(Atlas&&) noexcept = default;
Atlas& Atlas::operator=(Atlas&&) noexcept = default;
Atlas::~Atlas() = default;

std::size_t Atlas::Size() const {
    return image_->Head().placeCount;
}

std::string Atlas::IndexBytes(std::uint64_t sourceSize) const {
    std::string bytes(image_->Bytes());
    Header header = image_->Head();
    header.sourceSize = sourceSize;
    std::memcpy(bytes.data(), &header, sizeof header);
    return bytes;
}

AtlasLoadResult Atlas::FromIndex(std::string bytes, std::string_view source) {
    return AtlasImage::ToResult(AtlasImage::Open(std::make_unique<StringBytes>(std::move(bytes))),
                                source);
}

AtlasLoadResult Atlas::LoadIndex(const std::filesystem::path& path) {
    const std::string shown = path.string();
    const auto cannotRead = [&shown](int error) {
        return AtlasLoadResult{std::nullopt,
                               "The place index \"" + shown + "\" cannot be read (" +
                                   std::generic_category().message(error) + ").",
                               {}};
    };
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        return cannotRead(errno);
    }
    struct stat status {};
    if (fstat(file, &status) != 0) {
        const int error = errno;
        close(file);
        return cannotRead(error);
    }
    if (!S_ISREG(status.st_mode) || status.st_size <= 0 ||
        static_cast<std::uint64_t>(status.st_size) > kLargestImage) {
        close(file);
        return {
            std::nullopt,
            "The place index \"" + shown + "\" is damaged (it is empty, too large or not a file).",
            {}};
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    // Checking the image reads all of it at once, so its pages come in one go.
    void* address = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file, 0);
    const int error = errno;
    close(file);
    if (address == MAP_FAILED) {
        return cannotRead(error);
    }
    return AtlasImage::ToResult(AtlasImage::Open(std::make_unique<MappedBytes>(address, size)),
                                shown);
}

}  // namespace tolvaris
