#include "core/time/zone_periods.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/time/tz_rule.h"
#include "core/time/tzif_file.h"

namespace tolvaris {
namespace {

// The system's compiled zone files (TZif, RFC 8536), one file a zone. Only
// the zone asked for is read: scanning the whole folder first would cost a
// command-line chart more than computing it.
constexpr const char* kZoneFolder = "/usr/share/zoneinfo";

// Before the first listed change and after the last: far beyond any date a
// chart takes, the bounds the periods have always had.
constexpr std::int64_t kSecondsPerDay = 86400;
const std::int64_t kEarliest =
    std::chrono::sys_days(std::chrono::year::min() / std::chrono::January / 1)
        .time_since_epoch()
        .count() *
    kSecondsPerDay;
const std::int64_t kForever =
    std::chrono::sys_days(std::chrono::year::max() / std::chrono::December / 31)
        .time_since_epoch()
        .count() *
    kSecondsPerDay;
// An end from here on means "no further change".
const std::int64_t kLastFrom =
    std::chrono::sys_days(std::chrono::year::max() / std::chrono::January / 1)
        .time_since_epoch()
        .count() *
    kSecondsPerDay;

// Files in the zone folder that are not zones of places ("localtime" is this
// machine's own setting: a chart saved with it would mean something else on
// another computer), the two trees of the same zones under other
// conventions, and names that would leave the folder.
bool IsZoneName(std::string_view name) {
    if (name.empty() || name.front() == '/' || name == "localtime" || name == "Factory" ||
        name == "posixrules" || name.starts_with("posix/") || name.starts_with("right/")) {
        return false;
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        const std::string_view part = name.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") {
            return false;
        }
        start = end + 1;
    }
    return name.find('\0') == std::string_view::npos;
}

// The file's history, nullopt for a file that is missing or no sound TZif.
std::optional<ZoneHistory> ReadZoneFile(const std::string& path) {
    // A folder opens as a stream but fails when read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return ReadTzif(bytes);
}

// The history as periods: before the first change the zone's first
// standard-time type holds; changes that alter nothing are dropped.
ZoneHistory Normalized(ZoneHistory zone) {
    if (zone.transitions.empty() || zone.transitions.front().at != kEarliest) {
        const auto standard = std::find_if(zone.types.begin(), zone.types.end(),
                                           [](const LocalTimeType& type) { return !type.isDst; });
        const std::size_t first =
            standard != zone.types.end()
                ? static_cast<std::size_t>(std::distance(zone.types.begin(), standard))
                : 0;
        zone.transitions.insert(zone.transitions.begin(), Transition{kEarliest, first});
    }
    std::vector<Transition> kept;
    for (const Transition& transition : zone.transitions) {
        if (!kept.empty()) {
            const LocalTimeType& before = zone.types[kept.back().type];
            const LocalTimeType& now = zone.types[transition.type];
            if (before.offsetSeconds == now.offsetSeconds && before.isDst == now.isDst &&
                before.abbreviation == now.abbreviation) {
                continue;
            }
        }
        kept.push_back(transition);
    }
    zone.transitions = std::move(kept);
    return zone;
}

std::mutex zonesLock;
std::map<std::string, std::shared_ptr<const ZoneHistory>, std::less<>> zonesRead;

// The zone's history, read on first use; nullptr for an unknown name.
std::shared_ptr<const ZoneHistory> FindZone(std::string_view name) {
    if (!IsZoneName(name)) {
        return nullptr;
    }
    const std::lock_guard lock(zonesLock);
    if (const auto found = zonesRead.find(name); found != zonesRead.end()) {
        return found->second;
    }
    std::optional<ZoneHistory> read =
        ReadZoneFile(std::string(kZoneFolder) + "/" + std::string(name));
    if (!read) {
        return nullptr;
    }
    auto zone = std::make_shared<const ZoneHistory>(Normalized(std::move(*read)));
    zonesRead.emplace(std::string(name), zone);
    return zone;
}

// The period that holds at `at`: the last transition at or before it.
ZonePeriod PeriodAt(const ZoneHistory& zone, std::int64_t at) {
    auto next = std::upper_bound(
        zone.transitions.begin(), zone.transitions.end(), at,
        [](std::int64_t instant, const Transition& transition) { return instant < transition.at; });
    if (next == zone.transitions.begin()) {
        ++next;  // before kEarliest: not a date any chart takes
    }
    const Transition& from = next[-1];
    const LocalTimeType& type = zone.types[from.type];
    ZonePeriod period;
    period.begin = from.at;
    period.end = next != zone.transitions.end() ? next->at : kForever;
    period.offsetSeconds = type.offsetSeconds;
    period.abbreviation = type.abbreviation;
    period.isLocalMeanTime = type.abbreviation == "LMT";
    period.isLast = period.end >= kLastFrom;
    return period;
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

bool TimeZoneExists(std::string_view name) {
    return FindZone(name) != nullptr;
}

std::optional<std::vector<ZonePeriod>> ZonePeriodsBetween(std::string_view name,
                                                          std::int64_t fromUnix,
                                                          std::int64_t toUnix) {
    const std::shared_ptr<const ZoneHistory> zone = FindZone(name);
    if (zone == nullptr) {
        return std::nullopt;
    }
    std::vector<ZonePeriod> periods;
    ZonePeriod period = PeriodAt(*zone, fromUnix);
    for (;;) {
        if (period.isLast && zone->closingRule && zone->closingRule->daylight) {
            AppendRulePeriods(*zone->closingRule, period, fromUnix, toUnix, periods);
            break;
        }
        periods.push_back(period);
        if (period.isLast || period.end > toUnix) {
            break;
        }
        period = PeriodAt(*zone, period.end);
    }
    return periods;
}

}  // namespace tolvaris
