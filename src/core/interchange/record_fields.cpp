#include "core/interchange/record_fields.h"

#include <array>
#include <cstdio>

#include "core/chart/birth_fields.h"
#include "core/time/time_format.h"

namespace tolvaris::record_fields {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kMaxDigits = 9;

}  // namespace

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t pos = text.find(separator); pos != std::string_view::npos;
         pos = text.find(separator, start)) {
        parts.push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::optional<int> WholeNumber(std::string_view text) {
    if (text.empty() || text.size() > kMaxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

Status ReadField(BirthField field, std::string_view value, BirthData& birth) {
    return ReadBirthField(field, value, birth);
}

Status ReadDateParts(int year, int month, int day, BirthData& birth) {
    std::array<char, 32> iso{};
    std::snprintf(iso.data(), iso.size(), "%04d-%02d-%02d", year, month, day);
    return ReadBirthField(BirthField::Date, iso.data(), birth);
}

std::int64_t LocalSecondsAsUt(const BirthData& birth) {
    const CivilTime time = birth.time.value_or(CivilTime{12, 0, 0});
    return DaysSinceEpoch(birth.date) * kSecondsPerDay + std::int64_t{time.hour} * 3600 +
           std::int64_t{time.minute} * 60 + time.second;
}

void SetLocalFromSeconds(std::int64_t seconds, BirthData& birth) {
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    birth.date = DateFromDaysSinceEpoch(days);
    birth.time = CivilTime{static_cast<int>(rest / 3600), static_cast<int>(rest % 3600 / 60),
                           static_cast<int>(rest % 60)};
}

}  // namespace tolvaris::record_fields
