#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/forecast/transits.h"

namespace tolvaris {

// Whose forecast a calendar holds and how its times are described.
struct CalendarSubject {
    // The birth data the chart was computed from, written out whole (date,
    // time, coordinates, zone or offset): the same birth gives the same
    // event identifiers at every export, another birth other ones.
    std::string birthIdentity;
    // The chart's name (UTF-8), for the calendar's name; may be empty.
    std::string name;
    // "UTC" or a tz database name: the windows in the descriptions.
    std::string displayZone;
};

// The search as an iCalendar object (RFC 5545): one event per exact pass,
// at its moment in UTC, titled "Saturn square natal Sun", its window in the
// description. Lines end in CR LF and are folded at 75 octets. Each event's
// UID comes from the birth, the transiting body, the natal point, the
// aspect and the pass's day, so a calendar that imports a later export of
// an overlapping range updates those events instead of doubling them.
// `stampUt` is the export's moment (DTSTAMP).
std::string ForecastCalendar(const CalendarSubject& subject, const TransitSearch& search,
                             std::int64_t stampUt);

}  // namespace tolvaris
