#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/time/tz_rule.h"

namespace tolvaris {

struct LocalTimeType {
    int offsetSeconds = 0;
    bool isDst = false;
    std::string abbreviation;
};

struct Transition {
    std::int64_t at = 0;
    std::size_t type = 0;
};

// One zone's history as its file lists it: from each transition on, its type
// of local time holds until the next.
struct ZoneHistory {
    std::vector<LocalTimeType> types;
    std::vector<Transition> transitions;
    // The rule the file ends with, for the years after its last change.
    std::optional<TzRule> closingRule;
};

// The history a compiled zone file (TZif, RFC 8536) lists: its 64-bit block
// where there is one, else the 32-bit one, and its closing rule. nullopt for
// bytes that are not TZif, are cut short or point outside themselves.
std::optional<ZoneHistory> ReadTzif(std::string_view bytes);

}  // namespace tolvaris
