#pragma once

// Return charts: the moments the Sun or the Moon comes back to its natal
// longitude, and the chart of such a moment at a place. See
// docs/progressions.md for the method and its accuracy.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/result.h"
#include "core/forecast/transits.h"
#include "core/sky/chart.h"

namespace tolvaris {

class Ephemeris;

// A moment the body's longitude equals the natal one.
struct ReturnMoment {
    double julianDayUt;      // to well under a second
    std::int64_t utSeconds;  // the same, rounded to the second
};

// Every return of the Sun (Point::Sun) or the Moon (Point::Moon) to
// `longitude` within the span, in time order. An error of kind Library when
// the ephemeris failed; kind Input for any other body.
Result<std::vector<ReturnMoment>> ReturnsWithin(Ephemeris& ephemeris, Point body, double longitude,
                                                const TransitSpan& span);

// The solar return within the calendar year of the display zone ("UTC" or a
// tz database name): from 1 January 00:00 to the next 1 January 00:00 there.
// A year is shorter or longer than the Sun's by hours, so for a birthday at
// the turn of the year a year may hold no return (an Input error that names
// the returns either side) or two (the first; `note` says so).
struct SolarReturn {
    ReturnMoment moment;
    std::string note;  // empty unless the year holds two returns
};
Result<SolarReturn> SolarReturnInYear(Ephemeris& ephemeris, const Chart& natal, int year,
                                      std::string_view displayZone);

// The first lunar return at or after `fromUt`.
Result<ReturnMoment> LunarReturnAtOrAfter(Ephemeris& ephemeris, const Chart& natal,
                                          std::int64_t fromUt);

// The twelve or thirteen lunar returns within the calendar year of the
// display zone.
Result<std::vector<ReturnMoment>> LunarReturnsInYear(Ephemeris& ephemeris, const Chart& natal,
                                                     int year, std::string_view displayZone);

// The chart of the return moment at a place: `place` gives the latitude,
// longitude, house system and orbs; its instant and timeKnown are replaced.
// The chart is cast for the moment rounded to the second (the Sun moves
// 0.04 seconds of arc in half a second).
ChartResult ComputeReturnChart(Ephemeris& ephemeris, const ReturnMoment& moment,
                               ChartRequest place);

// For the user when the natal chart's birth time is unknown: its Sun and Moon
// are noon positions, so the returns may be off by up to about half a day. Empty when the time is
// known.
std::string ReturnTimeNote(const Chart& natal, Point body);

}  // namespace tolvaris
