#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/birth_data.h"
#include "core/common/result.h"

namespace tolvaris::record_fields {

std::string_view Trim(std::string_view text);

// Splits at every `separator`; no quoting.
std::vector<std::string_view> Split(std::string_view text, char separator);

// A whole non-negative number of at most nine digits.
std::optional<int> WholeNumber(std::string_view text);

// Reads a field through the birth-field readers from text in their own form
// ("1962-04-15", "09:30"); the refusal is theirs.
Status ReadField(BirthField field, std::string_view value, BirthData& birth);

// The date from its parts, through the date reader (so "31.2.1990" is
// refused as a date that does not exist).
Status ReadDateParts(int year, int month, int day, BirthData& birth);

// Seconds since 1970 of the local date and time (noon when unknown), as if
// they were UT.
std::int64_t LocalSecondsAsUt(const BirthData& birth);

// Sets the birth's date and time from seconds since 1970.
void SetLocalFromSeconds(std::int64_t seconds, BirthData& birth);

}  // namespace tolvaris::record_fields
