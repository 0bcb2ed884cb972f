#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/birth_chart.h"
#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"
#include "core/reading/reading_page.h"

namespace tolvaris {

// By planet: the rising sign, then Sun to Pluto, each in its sign, in its
// house and with its aspects. By house: the rising sign, houses 1 to 12 with
// the planets in them, then all aspects.
enum class ReadingOrder { ByPlanet, ByHouse };

// "planets" or "houses", as the command line writes them.
std::optional<ReadingOrder> ParseReadingOrder(std::string_view text);

// Appends the full reading of `chart` to the current page, the entries
// copied from the data files in `dataFolder` exactly as a request copies
// them, the missing ones listed at the end. The caller starts and shows the
// page. Returns what was missing.
std::vector<MissingEntry> ComposeFullReading(const BirthChart& chart, ReadingOrder order,
                                             const std::filesystem::path& dataFolder,
                                             PageBuffers& buffers);

// What the "Full reading" command does: a new page with the reading, shown
// like any page, and one message when entries were missing.
void ShowFullReading(const BirthChart& chart, ReadingOrder order,
                     const std::filesystem::path& dataFolder, PageBuffers& buffers,
                     Notices& notices);

// The reading's page for ReadingPage (the heading, the entries in order);
// it refers to `chart`, which must outlive it.
ReadingContent FullReadingContent(const BirthChart& chart, ReadingOrder order);

// The reading composed without a window (ComposeWithoutWindow), for the
// command line to save exactly as Save would.
ReadingBuffer FullReadingDataBuffer(const BirthChart& chart, ReadingOrder order,
                                    const std::filesystem::path& dataFolder, Notices& notices);

}  // namespace tolvaris
