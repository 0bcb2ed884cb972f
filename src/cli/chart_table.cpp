#include "cli/chart_table.h"

#include <cmath>
#include <cstdio>

#include "core/chart/chart_summary.h"
#include "core/chart/decimal_text.h"
#include "core/time/time_format.h"

namespace tolvaris {

std::string Padded(std::string_view text, std::size_t width) {
    std::string padded(text);
    // Count characters, not bytes, so that "°" does not shift the columns.
    std::size_t shown = 0;
    for (const char c : padded) {
        shown += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    if (shown < width) {
        padded.append(width - shown, ' ');
    }
    return padded;
}

namespace {

std::string Row(std::string_view point, double longitude, std::string_view house,
                std::string_view motion) {
    const ShownLongitude shown = ShowLongitude(longitude);
    return Padded(point, 11) + Padded(FormatFixedDecimal(shown.longitude, 6), 13) +
           Padded(std::string(SignName(shown.sign)) + " " + FormatDegreesInSign(shown.longitude),
                  24) +
           Padded(house, 7) + std::string(motion) + "\n";
}

}  // namespace

std::string FormatDegreesInSign(double longitude) {
    const ShownLongitude shown = ShowLongitude(longitude);
    char text[32];
    std::snprintf(text, sizeof text, "%d°%02d'%02d\"", shown.degree, shown.minute, shown.second);
    return text;
}

std::string FormatChartTable(const BirthChart& birthChart) {
    const ChartSummary summary = SummariseChart(birthChart);

    std::string table;
    if (!summary.name.empty()) {
        table += summary.name + "\n";
    }
    for (const ChartFact& fact : summary.facts) {
        table += Padded(fact.label, 16) + fact.value + "\n";
    }
    table += "\n";
    return table + FormatChartTableBody(birthChart.chart, summary.notes);
}

std::string FormatChartTableBody(const Chart& chart, const std::vector<std::string>& notes) {
    std::string table = Padded("Point", 11) + Padded("Longitude", 13) + Padded("Sign", 24) +
                        Padded("House", 7) + "Motion\n";
    for (const BodyPlacement& body : chart.bodies) {
        table += Row(body.name, body.longitude, body.house ? std::to_string(*body.house) : "-",
                     body.retrograde ? "retrograde" : "direct");
    }
    if (chart.ascendant) {
        table += Row("Ascendant", chart.ascendant->longitude, "", "");
    }
    if (chart.midheaven) {
        table += Row("Midheaven", chart.midheaven->longitude, "", "");
    }
    if (chart.cusps) {
        table += "\nHouse cusps\n";
        for (std::size_t i = 0; i < chart.cusps->size(); ++i) {
            const ShownLongitude cusp = ShowLongitude((*chart.cusps)[i]);
            table += Padded(std::to_string(i + 1), 4) +
                     Padded(FormatFixedDecimal(cusp.longitude, 6), 13) +
                     std::string(SignName(cusp.sign)) + " " + FormatDegreesInSign(cusp.longitude) +
                     "\n";
        }
    }
    table += "\nAspects\n";
    if (chart.aspects.empty()) {
        table += "none within the orbs\n";
    }
    for (const Aspect& aspect : chart.aspects) {
        table += Padded(PointName(aspect.first), 11) + Padded(AspectKindName(aspect.kind), 13) +
                 Padded(PointName(aspect.second), 11) + "orb " + FormatFixedDecimal(aspect.orb, 2) +
                 " (" + std::string(AspectFamilyName(aspect.family)) + ")\n";
    }
    if (!notes.empty()) {
        table += "\nNotes\n";
        for (const std::string& note : notes) {
            table += "- " + note + "\n";
        }
    }
    return table;
}

}  // namespace tolvaris
