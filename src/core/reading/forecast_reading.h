#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/chart/birth_chart.h"
#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"
#include "core/forecast/forecast_range.h"
#include "core/forecast/transits.h"
#include "core/reading/reading_page.h"

namespace tolvaris {

// What one forecast is about: the natal chart, the days and zone, the
// bodies and orb searched, and what the search found. The reading refers to
// all four, which must outlive it.
struct ForecastSubject {
    const BirthChart& chart;
    const ForecastRange& range;
    const TransitSettings& settings;
    const TransitSearch& search;
};

// "2027-03-01 13:34": an instant to the nearest minute in the display zone.
std::string ForecastLocalTime(std::string_view displayZone, std::int64_t utSeconds);

// The forecast page: the chart's heading, the range, zone, bodies and orb,
// then each transit in the order it begins (its window, its exact passes,
// its entry or a line drawn from its family) with the house ingresses in
// their place in time, and at the end what the library lacks.
ReadingContent ForecastContent(const ForecastSubject& subject);

// What the forecast command of the chart window does: a new page with the
// forecast, shown like any page, and one message when entries were missing.
void ShowForecast(const ForecastSubject& subject, const std::filesystem::path& dataFolder,
                  PageBuffers& buffers, Notices& notices);

// The forecast composed without a window (ComposeWithoutWindow), for the
// command line to save exactly as Save would.
ReadingBuffer ForecastDataBuffer(const ForecastSubject& subject,
                                 const std::filesystem::path& dataFolder, Notices& notices);

}  // namespace tolvaris
