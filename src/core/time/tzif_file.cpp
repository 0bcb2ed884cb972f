#include "core/time/tzif_file.h"

#include <utility>

namespace tolvaris {
namespace {

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    bool Has(std::size_t count) const { return bytes_.size() - position_ >= count; }
    std::int64_t Signed(std::size_t width) {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value = (value << 8) | static_cast<unsigned char>(bytes_[position_ + i]);
        }
        position_ += width;
        if (width < 8 && (value & (std::uint64_t{1} << (width * 8 - 1))) != 0) {
            value |= ~std::uint64_t{0} << (width * 8);
        }
        return static_cast<std::int64_t>(value);
    }
    std::string_view Take(std::size_t count) {
        const std::string_view taken = bytes_.substr(position_, count);
        position_ += count;
        return taken;
    }
    void Skip(std::size_t count) { position_ += count; }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

struct Counts {
    std::int64_t isUt = 0, isStd = 0, leaps = 0, times = 0, types = 0, chars = 0;
    std::size_t Block(std::size_t timeWidth) const {
        return static_cast<std::size_t>(times) * (timeWidth + 1) +
               static_cast<std::size_t>(types) * 6 + static_cast<std::size_t>(chars) +
               static_cast<std::size_t>(leaps) * (timeWidth + 4) +
               static_cast<std::size_t>(isStd + isUt);
    }
};

// The header's magic, version and counts; nullopt when it is not TZif.
std::optional<Counts> ReadHeader(ByteReader& in, char& version) {
    if (!in.Has(44) || in.Take(4) != "TZif") {
        return std::nullopt;
    }
    version = in.Take(1)[0];
    in.Skip(15);
    Counts counts;
    for (std::int64_t* count : {&counts.isUt, &counts.isStd, &counts.leaps, &counts.times,
                                &counts.types, &counts.chars}) {
        *count = in.Signed(4);
        if (*count < 0) {
            return std::nullopt;
        }
    }
    return counts;
}

}  // namespace

std::optional<ZoneHistory> ReadTzif(std::string_view bytes) {
    ByteReader in(bytes);
    char version = 0;
    std::optional<Counts> counts = ReadHeader(in, version);
    std::size_t timeWidth = 4;
    if (counts && version != '\0') {
        if (!in.Has(counts->Block(4))) {
            return std::nullopt;
        }
        in.Skip(counts->Block(4));
        counts = ReadHeader(in, version);
        timeWidth = 8;
    }
    if (!counts || counts->types == 0 || !in.Has(counts->Block(timeWidth))) {
        return std::nullopt;
    }
    ZoneHistory zone;
    zone.transitions.resize(static_cast<std::size_t>(counts->times));
    for (Transition& transition : zone.transitions) {
        transition.at = in.Signed(timeWidth);
    }
    for (Transition& transition : zone.transitions) {
        transition.type = static_cast<std::size_t>(in.Signed(1) & 0xFF);
    }
    std::vector<std::size_t> abbreviationAt;
    for (std::int64_t i = 0; i < counts->types; ++i) {
        LocalTimeType type;
        type.offsetSeconds = static_cast<int>(in.Signed(4));
        type.isDst = in.Signed(1) != 0;
        abbreviationAt.push_back(static_cast<std::size_t>(in.Signed(1) & 0xFF));
        zone.types.push_back(std::move(type));
    }
    const std::string_view characters = in.Take(static_cast<std::size_t>(counts->chars));
    for (std::size_t i = 0; i < zone.types.size(); ++i) {
        if (abbreviationAt[i] >= characters.size()) {
            return std::nullopt;
        }
        const std::string_view rest = characters.substr(abbreviationAt[i]);
        zone.types[i].abbreviation = std::string(rest.substr(0, rest.find('\0')));
    }
    for (const Transition& transition : zone.transitions) {
        if (transition.type >= zone.types.size()) {
            return std::nullopt;
        }
    }
    if (const auto footer = TzifFooter(bytes)) {
        zone.closingRule = ParseTzRule(*footer);
    }
    return zone;
}

}  // namespace tolvaris
