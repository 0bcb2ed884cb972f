#pragma once

// The atlas as one block of bytes: what the build writes to atlas.idx and
// what a run maps, and also what reading atlas.tsv builds in memory, so that
// both ways of loading search the same structure. Internal to the atlas
// library; docs/atlas-index.md describes the layout.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/atlas/atlas.h"

namespace tolvaris {

namespace atlas_index {

inline constexpr char kMagic[8] = {'T', 'o', 'l', 'v', 'A', 't', 'l', 'X'};
inline constexpr std::uint32_t kVersion = 1;
// Written as a number: reads back as this only in the byte order it was made in.
inline constexpr std::uint32_t kByteOrderMark = 0x01020304;

// Bytes [offset, offset + length) of the string area.
struct StringRef {
    std::uint32_t offset;
    std::uint32_t length;
};

struct Header {
    char magic[8];
    std::uint32_t version;
    std::uint32_t byteOrder;
    std::uint64_t sourceSize;  // bytes of the atlas.tsv it was made from
    std::uint32_t placeCount;
    std::uint32_t countryCount;
    std::uint32_t foldedNameCount;
    std::uint32_t entryCount;
    std::uint32_t stringsSize;
    std::uint32_t keysSize;
};

struct PlaceRecord {
    StringRef name;
    StringRef region;
    StringRef zone;
    StringRef foldedRegion;
    StringRef foldedRegionCode;
    std::uint32_t country;
    std::uint32_t reserved;
    double latitude;
    double longitude;
    std::int64_t population;
};

struct CountryRecord {
    char code[2];
    char reserved[2];
    std::uint32_t firstFoldedName;  // its folded names, in the folded-name table
    std::uint32_t foldedNameCount;
    std::uint32_t reserved2;
    StringRef name;
};

// One searchable spelling of a place, or the part of one from a later word
// on: bytes [keyStart, keyStart + keyLength) of the key area. Sorted by key,
// then place.
struct EntryRecord {
    std::uint32_t keyStart;
    std::uint32_t place;
    std::uint16_t keyLength;
    std::uint8_t atLaterWord;
    std::uint8_t reserved;
};

static_assert(sizeof(Header) == 48);
static_assert(sizeof(PlaceRecord) == 72);
static_assert(sizeof(CountryRecord) == 24);
static_assert(sizeof(StringRef) == 8);
static_assert(sizeof(EntryRecord) == 12);

}  // namespace atlas_index

// What the text reader collects, in the order of the file, before it becomes
// an image. Entries are sorted by key and place when the image is written.
struct AtlasContents {
    struct Country {
        std::string code;
        std::string name;
        std::vector<std::string> foldedNames;  // name, then other names
    };
    struct PlaceRow {
        Place place;
        std::string foldedRegion;
        std::string foldedRegionCode;
        std::uint32_t country = 0;
    };
    std::vector<Country> countries;
    std::vector<PlaceRow> places;
    std::string keys;
    std::vector<atlas_index::EntryRecord> entries;
};

// The image bytes of `contents` (entries sorted on the way).
std::string WriteAtlasImage(AtlasContents contents, std::uint64_t sourceSize);

// Bytes an image lives in: a string or a mapped file.
class ImageBytes {
public:
    virtual ~ImageBytes() = default;
    virtual std::string_view View() const = 0;
};

// A checked image: every count, offset and length was found inside the
// bytes when it was opened, so the accessors need no checks of their own.
class AtlasImage {
public:
    struct Opened {
        std::shared_ptr<const AtlasImage> image;
        std::string problem;  // why not, as the tail of a message
    };
    static Opened Open(std::unique_ptr<const ImageBytes> bytes);

    static AtlasLoadResult ToResult(Opened opened, std::string_view source);

    const atlas_index::Header& Head() const { return header_; }
    std::string_view Bytes() const { return data_; }

    atlas_index::PlaceRecord PlaceAt(std::uint32_t i) const {
        return Read<atlas_index::PlaceRecord>(placesAt_ + std::size_t{i} * 72);
    }
    atlas_index::CountryRecord CountryAt(std::uint32_t i) const {
        return Read<atlas_index::CountryRecord>(countriesAt_ + std::size_t{i} * 24);
    }
    atlas_index::StringRef FoldedNameAt(std::uint32_t i) const {
        return Read<atlas_index::StringRef>(foldedNamesAt_ + std::size_t{i} * 8);
    }
    atlas_index::EntryRecord EntryAt(std::uint32_t i) const {
        return Read<atlas_index::EntryRecord>(entriesAt_ + std::size_t{i} * 12);
    }
    std::string_view Text(atlas_index::StringRef ref) const {
        return data_.substr(stringsAt_ + ref.offset, ref.length);
    }
    std::string_view Key(const atlas_index::EntryRecord& entry) const {
        return data_.substr(keysAt_ + entry.keyStart, entry.keyLength);
    }

private:
    explicit AtlasImage(std::unique_ptr<const ImageBytes> bytes);
    std::string Check();

    template <typename Record>
    Record Read(std::size_t offset) const {
        Record record;
        std::memcpy(&record, data_.data() + offset, sizeof record);
        return record;
    }

    std::unique_ptr<const ImageBytes> bytes_;
    std::string_view data_;
    atlas_index::Header header_{};
    std::size_t placesAt_ = 0;
    std::size_t countriesAt_ = 0;
    std::size_t foldedNamesAt_ = 0;
    std::size_t entriesAt_ = 0;
    std::size_t stringsAt_ = 0;
    std::size_t keysAt_ = 0;
};

}  // namespace tolvaris
