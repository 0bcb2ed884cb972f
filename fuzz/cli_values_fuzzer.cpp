// The command line's reading of dates, times, coordinates, offsets and orbs
// on arbitrary values: a refusal is one line naming the option; an accepted
// value is in range, and a coordinate typed as a plain decimal (with a point
// or a comma) equals what a plain reference reading of the same digits gives.
// Degrees with minutes and hemisphere letters are only checked for range.
//
// The seeds in fuzz/corpus/fuzz_cli_values are whole command lines that are
// accepted, so the fuzzer starts on the checks of accepted values: each value
// from the front ending in a backslash and "X", the option numbers and "=" choices from the
// back, as FuzzedDataProvider reads them.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

constexpr std::array<const char*, 7> kOptions = {
    "--date", "--time", "--latitude", "--longitude", "--utc-offset", "--orbs", "--fold"};

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

void CheckOne(FuzzedDataProvider& data) {
    std::vector<std::string> arguments;
    std::string latitudeText;
    std::string longitudeText;
    while (data.remaining_bytes() > 0 && arguments.size() < 12) {
        const char* option = kOptions[data.ConsumeIntegralInRange<std::size_t>(0, 6)];
        std::string value = data.ConsumeRandomLengthString(64);
        if (std::string_view(option) == "--latitude") {
            latitudeText = value;
        } else if (std::string_view(option) == "--longitude") {
            longitudeText = value;
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
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    tolvaris::fuzz::CheckOne(provider);
    return 0;
}
