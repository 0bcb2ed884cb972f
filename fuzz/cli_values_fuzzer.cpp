// The command line's reading of dates, times, coordinates, offsets, orbs and
// the forecast's range, bodies and orb on arbitrary values: a refusal is one
// line naming the option; an accepted value is in range, and a coordinate or
// transit orb typed as a plain decimal (with a point or a comma for a
// coordinate) equals what a plain reference reading of the same digits gives.
// Degrees with minutes and hemisphere letters are only checked for range; an
// accepted range has two existing dates in order, at most 100 years apart; an
// accepted body list names each body once, as many as it has names. A
// progressed instant written plainly in UTC is the moment the standard
// library's calendar gives; progression and return dates exist, in the
// years computed.
//
// The seeds in fuzz/corpus/fuzz_cli_values are whole command lines that are
// accepted, so the fuzzer starts on the checks of accepted values: each value
// from the front ending in a backslash and "X", the option numbers and "=" choices from the
// back, as FuzzedDataProvider reads them.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "core/common/cp1252.h"
#include "core/time/time_format.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

constexpr std::array<const char*, 14> kOptions = {
    "--date",       "--time",         "--latitude",     "--longitude",   "--utc-offset",
    "--orbs",       "--fold",         "--transits",     "--bodies",      "--transit-orb",
    "--progressed", "--progressions", "--solar-return", "--lunar-return"};

// Sign, digits and at most one point, nothing else: the form the tool takes.
bool LooksLikePlainDecimal(const std::string& text) {
    std::size_t at = text.empty() ? 0 : (text[0] == '+' || text[0] == '-') ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; at < text.size(); ++at) {
        if (text[at] >= '0' && text[at] <= '9') {
            digit = true;
        } else if (text[at] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit && text.back() != '.' && text.size() <= 32;
}

void CheckForecast(const ForecastOptions& forecast, const std::string& bodiesText,
                   const std::string& orbText, const std::string& shown) {
    FUZZ_CHECK(DateExists(forecast.first) && DateExists(forecast.last), shown);
    const std::int64_t first = DaysSinceEpoch(forecast.first);
    const std::int64_t last = DaysSinceEpoch(forecast.last);
    FUZZ_CHECK(first <= last, shown);
    // 100 years hold at most 36525 days; the 100th anniversary is excluded.
    FUZZ_CHECK(last - first < 36525, shown);
    const std::vector<Point>& bodies = forecast.settings.bodies;
    FUZZ_CHECK(!bodies.empty(), shown);
    for (std::size_t i = 1; i < bodies.size(); ++i) {
        FUZZ_CHECK(bodies[i - 1] < bodies[i], shown);
    }
    if (EqualIgnoringCase1252(bodiesText, "all")) {
        FUZZ_CHECK(bodies.size() == AllTransitBodies().size(), shown);
    } else if (!bodiesText.empty()) {
        const auto names =
            static_cast<std::size_t>(std::count(bodiesText.begin(), bodiesText.end(), ',') + 1);
        FUZZ_CHECK(names == bodies.size(), shown);
    }
    const double orb = forecast.settings.orb;
    FUZZ_CHECK(orb >= kSmallestTransitOrb && orb <= kLargestTransitOrb, shown);
    if (!orbText.empty() && LooksLikePlainDecimal(orbText) && orbText[0] != '+') {
        FUZZ_CHECK(orb == std::strtod(orbText.c_str(), nullptr), shown);
    }
}

// "2027-06-01T15:00:00Z" exactly: its instant as the standard library's
// calendar gives it, for comparison with the tool's own reading.
std::optional<std::int64_t> PlainUtcInstant(const std::string& text) {
    const bool shaped =
        text.size() == 20 && text[4] == '-' && text[7] == '-' && text[10] == 'T' &&
        text[13] == ':' && text[16] == ':' && text[19] == 'Z' &&
        std::all_of(text.begin(), text.end(), [](char c) {
            return (c >= '0' && c <= '9') || c == '-' || c == 'T' || c == ':' || c == 'Z';
        });
    if (!shaped) {
        return std::nullopt;
    }
    const auto number = [&text](std::size_t at, std::size_t length) {
        return std::atoi(text.substr(at, length).c_str());
    };
    const std::chrono::year_month_day day{std::chrono::year(number(0, 4)),
                                          std::chrono::month(static_cast<unsigned>(number(5, 2))),
                                          std::chrono::day(static_cast<unsigned>(number(8, 2)))};
    const auto days = std::chrono::sys_days(day).time_since_epoch().count();
    return std::int64_t{days} * 86400 + number(11, 2) * 3600 + number(14, 2) * 60 + number(17, 2);
}

void CheckTechnique(const TechniqueOptions& technique, const std::string& progressedText,
                    const std::string& shown) {
    switch (technique.technique) {
        case TimeTechnique::Progressed:
            FUZZ_CHECK(DateExists(technique.first), shown);
            if (const std::optional<std::int64_t> plain = PlainUtcInstant(progressedText)) {
                FUZZ_CHECK(technique.instantUt == plain, shown);
            }
            break;
        case TimeTechnique::Progressions:
            FUZZ_CHECK(DateExists(technique.first) && DateExists(technique.last), shown);
            FUZZ_CHECK(DaysSinceEpoch(technique.first) <= DaysSinceEpoch(technique.last), shown);
            break;
        case TimeTechnique::SolarReturn:
            // The year after it must still be computable for the return's search.
            FUZZ_CHECK(technique.year >= 1583 && technique.year <= 2998, shown);
            break;
        case TimeTechnique::LunarReturn:
            FUZZ_CHECK(DateExists(technique.first), shown);
            break;
    }
    if (technique.technique != TimeTechnique::SolarReturn) {
        FUZZ_CHECK(technique.first.year >= 1583 && technique.first.year <= 2999, shown);
    }
}

void CheckOne(FuzzedDataProvider& data) {
    std::vector<std::string> arguments;
    std::string latitudeText;
    std::string longitudeText;
    std::string bodiesText;
    std::string orbText;
    std::string progressedText;
    while (data.remaining_bytes() > 0 && arguments.size() < 12) {
        const char* option =
            kOptions[data.ConsumeIntegralInRange<std::size_t>(0, kOptions.size() - 1)];
        std::string value = data.ConsumeRandomLengthString(64);
        if (std::string_view(option) == "--latitude") {
            latitudeText = value;
        } else if (std::string_view(option) == "--longitude") {
            longitudeText = value;
        } else if (std::string_view(option) == "--bodies") {
            bodiesText = value;
        } else if (std::string_view(option) == "--transit-orb") {
            orbText = value;
        } else if (std::string_view(option) == "--progressed") {
            progressedText = value;
        }
        // Both spellings: the value as the next argument and after "=".
        if (data.ConsumeBool()) {
            arguments.push_back(std::string(option) + "=" + value);
        } else {
            arguments.push_back(option);
            arguments.push_back(std::move(value));
        }
    }
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    const CommandLineParse parsed = ParseCommandLine(views);
    std::string shown;
    for (const std::string& argument : arguments) {
        shown += "[" + Printable(argument) + "] ";
    }
    FUZZ_CHECK(parsed.value.has_value() != !parsed.error.empty(), shown);
    if (!parsed.value) {
        FUZZ_CHECK(parsed.error.find('\n') == std::string::npos, parsed.error);
        FUZZ_CHECK(!parsed.error.empty() && parsed.error.back() == '.', parsed.error);
        return;
    }
    // Only reached when every option was read and the combination is whole.
    const BirthData& birth = parsed.value->birth;
    FUZZ_CHECK(DateExists(birth.date), shown);
    if (birth.time) {
        FUZZ_CHECK(birth.time->hour >= 0 && birth.time->hour <= 23, shown);
        FUZZ_CHECK(birth.time->minute >= 0 && birth.time->minute <= 59, shown);
        FUZZ_CHECK(birth.time->second >= 0 && birth.time->second <= 59, shown);
    }
    FUZZ_CHECK(birth.latitude >= -90.0 && birth.latitude <= 90.0, shown);
    FUZZ_CHECK(birth.longitude >= -180.0 && birth.longitude <= 180.0, shown);
    if (birth.utcOffsetSeconds) {
        FUZZ_CHECK(std::abs(*birth.utcOffsetSeconds) <= kMaxUtcOffsetSeconds, shown);
    }
    for (const auto& [text, value] :
         {std::pair{latitudeText, birth.latitude}, std::pair{longitudeText, birth.longitude}}) {
        std::string decimal = text;
        if (const std::size_t comma = decimal.find(','); comma != std::string::npos) {
            decimal[comma] = '.';
        }
        if (LooksLikePlainDecimal(decimal)) {
            FUZZ_CHECK(value == std::strtod(decimal.c_str(), nullptr), shown);
        }
    }
    if (const std::optional<ForecastOptions>& forecast = parsed.value->forecast) {
        CheckForecast(*forecast, bodiesText, orbText, shown);
    }
    if (const std::optional<TechniqueOptions>& technique = parsed.value->technique) {
        CheckTechnique(*technique, progressedText, shown);
    }
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    tolvaris::fuzz::CheckOne(provider);
    return 0;
}
