#include "core/forecast/forecast_range.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "core/ephemeris/ut_instant.h"
#include "core/time/time_format.h"
#include "core/time/zone_periods.h"

namespace tolvaris {
namespace {

constexpr std::int64_t kDay = 86400;

bool IsUtc(std::string_view zone) {
    return zone == "UTC";
}

bool Before(const CivilDate& a, const CivilDate& b) {
    if (a.year != b.year) {
        return a.year < b.year;
    }
    if (a.month != b.month) {
        return a.month < b.month;
    }
    return a.day < b.day;
}

// The first instant at which the zone's clocks show `days` (since 1970) at
// 00:00 or later; a midnight the clocks skipped begins when they jumped.
std::optional<std::int64_t> StartOfDay(std::string_view zone, std::int64_t days) {
    const std::int64_t midnight = days * kDay;
    if (IsUtc(zone)) {
        return midnight;
    }
    const auto periods = ZonePeriodsBetween(zone, midnight - 2 * kDay, midnight + 2 * kDay);
    if (!periods || periods->empty()) {
        return std::nullopt;
    }
    std::optional<std::int64_t> first;
    for (const ZonePeriod& period : *periods) {
        const std::int64_t candidate = std::max(period.begin, midnight - period.offsetSeconds);
        if (candidate < period.end && (!first || candidate < *first)) {
            first = candidate;
        }
    }
    return first;
}

Error RangeError(std::string message) {
    return Error{ErrorKind::Input, std::nullopt, std::move(message)};
}

}  // namespace

Result<ForecastRange> DayRangeInZone(const CivilDate& first, const CivilDate& last,
                                     std::string_view displayZone) {
    for (const CivilDate* date : {&first, &last}) {
        if (!DateExists(*date)) {
            return RangeError("the date " + FormatIsoDate(*date) + " does not exist");
        }
    }
    if (Before(last, first)) {
        return RangeError("the last date " + FormatIsoDate(last) + " comes before the first " +
                          FormatIsoDate(first));
    }
    const CivilDate limit{first.year + kLongestForecastYears, first.month, first.day};
    if (!Before(last, limit)) {
        return RangeError("the range " + FormatIsoDate(first) + " to " + FormatIsoDate(last) +
                          " is longer than " + std::to_string(kLongestForecastYears) + " years");
    }
    if (!IsUtc(displayZone) && !TimeZoneExists(displayZone)) {
        return RangeError("the zone " + std::string(displayZone) +
                          " is not in the time zone database");
    }
    const std::optional<std::int64_t> from = StartOfDay(displayZone, DaysSinceEpoch(first));
    const std::optional<std::int64_t> to = StartOfDay(displayZone, DaysSinceEpoch(last) + 1);
    if (!from || !to) {
        return RangeError("the zone " + std::string(displayZone) + " could not be read");
    }
    for (const std::int64_t instant : {*from, *to - 1}) {
        std::string refusal = CheckInstantInAcceptedYears(instant);
        if (!refusal.empty()) {
            return RangeError("the range " + FormatIsoDate(first) + " to " + FormatIsoDate(last) +
                              " leaves the years that can be computed (" +
                              std::to_string(kFirstAcceptedYear) + " to " +
                              std::to_string(kLastAcceptedYear) + ")");
        }
    }
    return ForecastRange{first, last, std::string(displayZone), TransitSpan{*from, *to}};
}

int DisplayOffsetAt(std::string_view displayZone, std::int64_t utSeconds) {
    if (IsUtc(displayZone)) {
        return 0;
    }
    const auto periods = ZonePeriodsBetween(displayZone, utSeconds, utSeconds);
    if (!periods) {
        return 0;
    }
    for (const ZonePeriod& period : *periods) {
        if (utSeconds >= period.begin && utSeconds < period.end) {
            return period.offsetSeconds;
        }
    }
    return periods->empty() ? 0 : periods->back().offsetSeconds;
}

std::string FormatLocalIso(std::string_view displayZone, std::int64_t utSeconds) {
    if (IsUtc(displayZone)) {
        return FormatUniversalTime(utSeconds);
    }
    const int offset = DisplayOffsetAt(displayZone, utSeconds);
    const std::int64_t local = utSeconds + offset;
    std::int64_t days = local / kDay;
    std::int64_t second = local % kDay;
    if (second < 0) {
        second += kDay;
        --days;
    }
    const CivilTime time{static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60),
                         static_cast<int>(second % 60)};
    return FormatIsoDate(DateFromDaysSinceEpoch(days)) + "T" + FormatIsoTime(time) +
           FormatUtcOffset(offset);
}

}  // namespace tolvaris
