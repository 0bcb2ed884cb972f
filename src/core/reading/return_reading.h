#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/birth_chart.h"
#include "core/common/result.h"
#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"
#include "core/forecast/returns.h"
#include "core/reading/reading_page.h"

namespace tolvaris {

class Ephemeris;

// Where a return chart is cast: the birthplace by default, or where the
// person spends the birthday.
struct ReturnPlace {
    std::string name;  // as the user wrote or chose it; may be empty
    double latitude = 0.0;
    double longitude = 0.0;
    std::string zone;  // tz database name, for the local time of the moment
};

// The birthplace of a natal chart as a return place.
ReturnPlace BirthplaceOf(const BirthChart& natal);

// The return moment's chart at the place as a chart of its own (what a
// chart window opens, saves and prints): named after the natal chart and
// the return ("Anna: solar return 2027", or "Solar return 2027" for a chart
// without a name), the local date and time of the
// moment to the second in the place's zone, the natal house system and
// orbs. Fails as ComputeBirthChart does.
BirthChartResult ReturnBirthChart(Ephemeris& ephemeris, const BirthChart& natal,
                                  const ReturnMoment& moment, const ReturnPlace& place,
                                  const std::string& title);

// What a solar return page is about. Refers to everything, which must
// outlive the reading.
struct SolarReturnSubject {
    const BirthChart& natal;
    int year;
    const SolarReturn& solarReturn;
    // ReturnBirthChart of the return at the place.
    const BirthChart& returnChart;
};

// The solar return page: the natal chart's heading; that this is the return
// chart of the year at the place; the moment in local time; the return's
// rising sign and the return Sun's house; then the return chart's planets in
// their signs and houses, read through the natal texts under a heading of
// their own.
ReadingContent SolarReturnContent(const SolarReturnSubject& subject);

void ShowSolarReturn(const SolarReturnSubject& subject, const std::filesystem::path& dataFolder,
                     PageBuffers& buffers, Notices& notices);

ReadingBuffer SolarReturnDataBuffer(const SolarReturnSubject& subject,
                                    const std::filesystem::path& dataFolder, Notices& notices);

// One lunar return of the year and its chart at the place.
struct LunarReturnChart {
    ReturnMoment moment;
    Chart chart;
};

// The lunar returns of the calendar year of the display zone, each with its
// chart at the place (the natal house system and orbs). An error as
// LunarReturnsInYear and ComputeReturnChart give it.
Result<std::vector<LunarReturnChart>> LunarReturnCharts(Ephemeris& ephemeris,
                                                        const BirthChart& natal, int year,
                                                        const ReturnPlace& place,
                                                        std::string_view displayZone);

struct LunarReturnsSubject {
    const BirthChart& natal;
    int year;
    const ReturnPlace& place;
    // In time order, the twelve or thirteen of the year.
    const std::vector<LunarReturnChart>& returns;
};

// The lunar returns page: the natal chart's heading, the year and place,
// then each return's moment in the place's local time and the house the
// Moon falls in that return chart, with the natal house text of the Moon.
ReadingContent LunarReturnsContent(const LunarReturnsSubject& subject);

void ShowLunarReturns(const LunarReturnsSubject& subject, const std::filesystem::path& dataFolder,
                      PageBuffers& buffers, Notices& notices);

ReadingBuffer LunarReturnsDataBuffer(const LunarReturnsSubject& subject,
                                     const std::filesystem::path& dataFolder, Notices& notices);

}  // namespace tolvaris
