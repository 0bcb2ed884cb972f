// The zone files on arbitrary bytes: ReadTzif and TzifFooter on what looks
// like a zone file, ParseTzRule on other input and on any footer found. Nothing
// read may lie outside the input, every transition of a history read must name
// one of its types, and whatever rule is accepted must give offsets within a
// day of UT and changes within a week of their year.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/time/tz_rule.h"
#include "core/time/tzif_file.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

std::int64_t NewYearDay(int year) {
    const std::chrono::sys_days day{std::chrono::year{year} / 1 / 1};
    return day.time_since_epoch().count();
}

void CheckRule(std::string_view text) {
    const auto rule = ParseTzRule(text);
    if (!rule) {
        return;
    }
    constexpr int kDay = 86400;
    FUZZ_CHECK(rule->standardAbbreviation.size() >= 3, Printable(text));
    FUZZ_CHECK(rule->standardOffsetSeconds >= -kDay && rule->standardOffsetSeconds <= kDay,
               Printable(text));
    if (!rule->daylight) {
        return;
    }
    FUZZ_CHECK(rule->daylight->abbreviation.size() >= 3, Printable(text));
    // An hour ahead of standard time when no offset is written.
    FUZZ_CHECK(
        rule->daylight->offsetSeconds >= -kDay && rule->daylight->offsetSeconds <= kDay + 3600,
        Printable(text));
    for (const int year : {1, 1970, 2038, 2100, 2399, 9999}) {
        const std::int64_t from = NewYearDay(year) * kDay;
        const std::int64_t to = NewYearDay(year + 1) * kDay;
        for (const TzRuleChange& change : TzRuleChangesOfYear(*rule, year)) {
            // A day of 0 to 365, a time of +-167 hours, an offset of +-25 hours.
            FUZZ_CHECK(change.unixSeconds >= from - 8 * kDay && change.unixSeconds < to + 8 * kDay,
                       Printable(text) + " in " + std::to_string(year));
        }
    }
}

void CheckOne(std::string_view bytes) {
    if (bytes.substr(0, 4) != "TZif") {
        CheckRule(bytes);
        return;
    }
    if (const auto history = ReadTzif(bytes)) {
        FUZZ_CHECK(!history->types.empty(), Printable(bytes));
        for (const Transition& transition : history->transitions) {
            FUZZ_CHECK(transition.type < history->types.size(), Printable(bytes));
        }
    }
    const auto footer = TzifFooter(bytes);
    if (!footer) {
        return;
    }
    // The footer is a view into the input, between two newlines.
    const auto at = static_cast<std::size_t>(footer->data() - bytes.data());
    FUZZ_CHECK(at >= 1 && at + footer->size() < bytes.size(), Printable(bytes));
    FUZZ_CHECK(bytes[at - 1] == '\n' && bytes[at + footer->size()] == '\n', Printable(bytes));
    FUZZ_CHECK(footer->find('\n') == std::string_view::npos, Printable(bytes));
    CheckRule(*footer);
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tolvaris::fuzz::CheckOne(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
