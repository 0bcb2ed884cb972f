#pragma once

#include <string_view>

#include "core/chart/birth_chart.h"
#include "core/reading/reading_page.h"

namespace tolvaris {

// The opening block of a reading about one chart: the title with the name,
// birth date and time, place, universal time, houses and ephemeris, and the
// chart's notes. `title` is the reading's kind in capitals ("FULL READING").
void WriteChartHeading(std::string_view title, const BirthChart& chart, ReadingPage& page);

}  // namespace tolvaris
