#include "core/reading/reading_heading.h"

#include <string>

#include "core/chart/chart_summary.h"
#include "core/reading/latin_text.h"

namespace tolvaris {

void WriteChartHeading(std::string_view title, const BirthChart& chart, ReadingPage& page) {
    const ChartSummary summary = SummariseChart(chart);
    const std::string name = Utf8ToCp1252Text(summary.name);
    page.Heading(2, name.empty() ? std::string(title) : std::string(title) + ": " + name);
    for (const ChartFact& fact : summary.facts) {
        page.PageText(fact.label + ": " + Utf8ToCp1252Text(fact.value));
    }
    for (const std::string& note : summary.notes) {
        page.Text("Note: " + Utf8ToCp1252Text(note));
    }
}

}  // namespace tolvaris
