#pragma once

#include <filesystem>

#include "core/chart/birth_chart.h"
#include "core/engine/page_buffers.h"
#include "core/engine/screen.h"
#include "core/reading/reading_page.h"
#include "core/relation/relation.h"

namespace tolvaris {

// What one relationship reading is about: the two charts (read from the
// first person's side: "your" is the first, "their" the second), their
// synastry and composite. The reading refers to all four, which must outlive
// it.
struct RelationshipSubject {
    const BirthChart& first;
    const BirthChart& second;
    const Synastry& synastry;
    const CompositeChart& composite;
};

// The relationship page: both people's data, the contacts between the
// charts from the closest, each side's planets in the other's houses, then
// the composite's rising sign and its Sun, Moon, Venus and Mars in sign and
// house; what the library lacks at the end.
ReadingContent RelationshipContent(const RelationshipSubject& subject);

// The composite chart's own page: its rising sign and its Sun, Moon, Venus
// and Mars in sign and house.
ReadingContent CompositeContent(const CompositeChart& composite);

// A new page with the reading, shown like any page, and one message when
// entries were missing.
void ShowRelationshipReading(const RelationshipSubject& subject,
                             const std::filesystem::path& dataFolder, PageBuffers& buffers,
                             Notices& notices);

// The reading composed without a window (ComposeWithoutWindow), for the
// command line to save exactly as Save would.
ReadingBuffer RelationshipDataBuffer(const RelationshipSubject& subject,
                                     const std::filesystem::path& dataFolder, Notices& notices);

}  // namespace tolvaris
