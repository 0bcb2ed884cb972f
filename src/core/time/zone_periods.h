#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvaris {

// One stretch of time during which a zone's clocks kept one offset from UT.
struct ZonePeriod {
    // UT seconds since 1970; Begin inclusive, End exclusive.
    std::int64_t begin = 0;
    std::int64_t end = 0;
    int offsetSeconds = 0;
    std::string abbreviation;
    // The zone's clocks followed the Sun of its main city ("LMT").
    bool isLocalMeanTime = false;
    // No later change is listed nor follows from the zone's closing rule:
    // the offset holds from here on.
    bool isLast = false;
};

// Whether the installed tz database has the zone (reading its file if needed).
bool TimeZoneExists(std::string_view name);

// The periods of the zone that overlap [fromUnix, toUnix], in order; empty
// when the zone is unknown. After the last change its file lists, the periods
// follow the rule the file ends with.
std::optional<std::vector<ZonePeriod>> ZonePeriodsBetween(std::string_view name,
                                                          std::int64_t fromUnix,
                                                          std::int64_t toUnix);

}  // namespace tolvaris
