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

// The file's history (the 64-bit block where there is one), nullopt for a
// file that is missing, not TZif or cut short.
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
