#include "core/time/zone_periods.h"

#include <date/tz.h>

#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>

namespace tolvaris {
namespace {

std::atomic<bool> databaseLoaded{false};

// date's lookup throws for an unknown name; we answer with nullptr instead.
const date::time_zone* FindZone(std::string_view name) {
    LoadTimeZoneDatabase();
    try {
        return date::locate_zone(name);
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::int64_t ToUnix(date::sys_seconds instant) {
    return instant.time_since_epoch().count();
}

}  // namespace

std::int64_t LoadTimeZoneDatabase() {
    if (databaseLoaded.load(std::memory_order_acquire)) {
        return 0;
    }
    static std::mutex loading;
    const std::lock_guard lock(loading);
    if (databaseLoaded.load(std::memory_order_relaxed)) {
        return 0;
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        (void)date::get_tzdb();
    } catch (const std::exception&) {
        // No database installed: every zone lookup will then fail and say so.
    }
    const auto taken = std::chrono::steady_clock::now() - start;
    databaseLoaded.store(true, std::memory_order_release);
    return std::chrono::duration_cast<std::chrono::microseconds>(taken).count();
}

bool TimeZoneExists(std::string_view name) {
    // "localtime" is this machine's own setting, not a place: a chart saved
    // with it would mean something else on another computer.
    return !name.empty() && name != "localtime" && FindZone(name) != nullptr;
}

std::optional<std::vector<ZonePeriod>> ZonePeriodsBetween(std::string_view name,
                                                          std::int64_t fromUnix,
                                                          std::int64_t toUnix) {
    if (!TimeZoneExists(name)) {
        return std::nullopt;
    }
    const date::time_zone* zone = FindZone(name);
    if (zone == nullptr) {
        return std::nullopt;
    }
    std::vector<ZonePeriod> periods;
    date::sys_info info = zone->get_info(date::sys_seconds{std::chrono::seconds{fromUnix}});
    // date marks "no further change" with an end in the year 32767.
    const date::sys_seconds forever = date::sys_days{date::year{32767} / 1 / 1};
    for (;;) {
        ZonePeriod period;
        period.Begin = ToUnix(info.begin);
        period.End = ToUnix(info.end);
        period.OffsetSeconds = static_cast<int>(info.offset.count());
        period.Abbreviation = info.abbrev;
        period.IsLocalMeanTime = info.abbrev == "LMT";
        period.IsLast = info.end >= forever;
        periods.push_back(std::move(period));
        if (periods.back().IsLast || periods.back().End > toUnix) {
            break;
        }
        info = zone->get_info(info.end);
    }
    return periods;
}

}  // namespace tolvaris
