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
    std::int64_t Begin = 0;
    std::int64_t End = 0;
    int OffsetSeconds = 0;
    std::string Abbreviation;
    // The zone's clocks followed the Sun of its main city ("LMT").
    bool IsLocalMeanTime = false;
    // The database lists no later change: the offset holds from here on.
    bool IsLast = false;
};

// Whether the installed tz database has the zone (reading its file if needed).
bool TimeZoneExists(std::string_view name);

// The periods of the zone that overlap [fromUnix, toUnix], in order; empty
// when the zone is unknown.
std::optional<std::vector<ZonePeriod>> ZonePeriodsBetween(std::string_view name,
                                                          std::int64_t fromUnix,
                                                          std::int64_t toUnix);

}  // namespace tolvaris
