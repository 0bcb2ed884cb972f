#pragma once

#include <bitset>
#include <cstddef>
#include <optional>
#include <string_view>

#include "core/chart/birth_data.h"
#include "core/common/birth_field.h"
#include "core/common/result.h"

namespace tolvaris {

// The longest name or place read, in characters (code points): longer than
// any a person writes, short enough that a chart file stays a few KiB.
inline constexpr std::size_t kMaxLabelCharacters = 200;

// Reads `value` into its field of `birth`: the one reader of each field, for
// chart files, the command line and the birth-data dialog alike. A refusal
// names the field and, as a clause, why ("the latitude 95 is outside -90 to
// 90"); `birth` is left alone then.
Status ReadBirthField(BirthField field, std::string_view value, BirthData& birth);

// Which fields a birth record was given.
class BirthFieldSet {
public:
    void Add(BirthField field) { bits_.set(static_cast<std::size_t>(field)); }
    bool Has(BirthField field) const { return bits_.test(static_cast<std::size_t>(field)); }

private:
    std::bitset<kBirthFieldCount> bits_;
};

// The first field a chart cannot do without that `given` lacks: the date,
// the time (which may be "unknown"), the latitude, the longitude and a zone
// or a UTC offset (then Zone is answered). Nothing when all are there.
std::optional<BirthField> MissingBirthField(const BirthFieldSet& given);

}  // namespace tolvaris
