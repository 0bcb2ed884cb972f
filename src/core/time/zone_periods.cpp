#include "core/time/zone_periods.h"

#include <date/tz.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <fstream>
#include <map>
#include <mutex>

#include "core/time/tz_rule.h"

namespace tolvaris {
namespace {

// Where Debian's date library (built with USE_OS_TZDB) reads the zone files.
constexpr const char* kZoneFolder = "/usr/share/zoneinfo/";
// A zone file is a few kilobytes; anything far larger is not one.
constexpr std::streamsize kMaxZoneFileBytes = 1 << 20;

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

std::optional<TzRule> ReadClosingRule(const std::string& name) {
    std::ifstream file(kZoneFolder + name, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(kMaxZoneFileBytes), '\0');
    file.read(bytes.data(), kMaxZoneFileBytes);
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    const auto footer = TzifFooter(bytes);
    return footer ? ParseTzRule(*footer) : std::nullopt;
}

// The rule each zone file ends with, read once per zone. date ignores it, so
// after a zone's last listed change (2037 for most) its clocks follow it here.
const std::optional<TzRule>& ClosingRule(const std::string& name) {
    static std::mutex guard;
    static std::map<std::string, std::optional<TzRule>, std::less<>> rules;
    const std::lock_guard lock(guard);
    auto found = rules.find(name);
    if (found == rules.end()) {
        found = rules.emplace(name, ReadClosingRule(name)).first;
    }
    return found->second;
}

int YearOf(std::int64_t unixSeconds) {
    const auto day = std::chrono::floor<std::chrono::days>(
        std::chrono::sys_seconds{std::chrono::seconds{unixSeconds}});
    return static_cast<int>(std::chrono::year_month_day{day}.year());
}

// The periods the rule gives from the zone's last listed period on, as far as
// toUnix. Looking starts two years before fromUnix's: a year's changes lie at
// most a week and a day outside it, so the period holding fromUnix begins at
// one of the changes found or at the last listed change.
void AppendRulePeriods(const TzRule& rule, const ZonePeriod& lastListed, std::int64_t fromUnix,
                       std::int64_t toUnix, std::vector<ZonePeriod>& periods) {
    const TzRule::Daylight& daylight = *rule.daylight;
    const int listedYear = YearOf(lastListed.begin);
    const int firstYear = std::max(listedYear, YearOf(fromUnix) - 2);
    std::vector<TzRuleChange> changes;
    for (int year = firstYear; year <= YearOf(toUnix) + 2; ++year) {
        for (const TzRuleChange& change : TzRuleChangesOfYear(rule, year)) {
            if (change.unixSeconds > lastListed.begin) {
                changes.push_back(change);
            }
        }
    }
    std::sort(changes.begin(), changes.end(), [](const TzRuleChange& a, const TzRuleChange& b) {
        return a.unixSeconds < b.unixSeconds;
    });

    // Whether the offset in force before the next change is known: from the
    // last listed period, or from the first change looked at.
    bool known = firstYear == listedYear;
    ZonePeriod current = lastListed;
    for (const TzRuleChange& change : changes) {
        const int offset = change.toDaylight ? daylight.offsetSeconds : rule.standardOffsetSeconds;
        const std::string& abbreviation =
            change.toDaylight ? daylight.abbreviation : rule.standardAbbreviation;
        if (known) {
            if (offset == current.offsetSeconds && abbreviation == current.abbreviation) {
                continue;  // no change of the clocks after all
            }
            current.end = change.unixSeconds;
            current.isLast = false;
            // A rule whose daylight time lasts all year makes empty periods.
            if (current.end > fromUnix && current.begin < current.end) {
                periods.push_back(current);
            }
            if (current.end > toUnix) {
                return;
            }
        }
        known = true;
        current = ZonePeriod{change.unixSeconds, lastListed.end, offset, abbreviation, false, true};
    }
    // The rule changes nothing any more (daylight time all year).
    periods.push_back(current);
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
        period.begin = ToUnix(info.begin);
        period.end = ToUnix(info.end);
        period.offsetSeconds = static_cast<int>(info.offset.count());
        period.abbreviation = info.abbrev;
        period.isLocalMeanTime = info.abbrev == "LMT";
        period.isLast = info.end >= forever;
        if (period.isLast) {
            const std::optional<TzRule>& rule = ClosingRule(std::string(name));
            if (rule && rule->daylight) {
                AppendRulePeriods(*rule, period, fromUnix, toUnix, periods);
                break;
            }
        }
        periods.push_back(std::move(period));
        if (periods.back().isLast || periods.back().end > toUnix) {
            break;
        }
        info = zone->get_info(info.end);
    }
    return periods;
}

}  // namespace tolvaris
