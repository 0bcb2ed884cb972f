#pragma once

#include <filesystem>

#include "core/chart/birth_chart.h"
#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"
#include "core/forecast/forecast_range.h"
#include "core/forecast/progressions.h"
#include "core/reading/reading_page.h"

namespace tolvaris {

// What one progressions page is about: the natal chart, the days and zone,
// the points and orb searched, and what the search found. The reading
// refers to all four, which must outlive it.
struct ProgressionSubject {
    const BirthChart& chart;
    const ForecastRange& range;
    const ProgressionSettings& settings;
    const ProgressionSearch& search;
};

// The progressions page: the chart's heading, the range and zone, then the
// progressed events by date (aspects with their windows, exact moments and
// entries; the progressed Moon's sign and natal house changes with theirs;
// the other bodies' changes and stations as lines), and at the end what the
// library lacks.
ReadingContent ProgressionContent(const ProgressionSubject& subject);

// What the progressions command of the chart window does: a new page, shown
// like any page, and one message when entries were missing.
void ShowProgressions(const ProgressionSubject& subject, const std::filesystem::path& dataFolder,
                      PageBuffers& buffers, Notices& notices);

// The page composed without a window, for the command line to save exactly
// as Save would.
ReadingBuffer ProgressionDataBuffer(const ProgressionSubject& subject,
                                    const std::filesystem::path& dataFolder, Notices& notices);

}  // namespace tolvaris
