#include "core/chart/chart_summary.h"

#include "core/chart/coordinate_text.h"
#include "core/chart/display_text.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

std::string HousesText(const Chart& chart) {
    if (!chart.houseSystemUsed) {
        return "none";
    }
    std::string text(HouseSystemDisplayName(*chart.houseSystemUsed));
    if (*chart.houseSystemUsed != chart.houseSystemRequested) {
        text += " (" + std::string(HouseSystemDisplayName(chart.houseSystemRequested)) +
                " was asked for)";
    }
    return text;
}

}  // namespace

ChartSummary SummariseChart(const BirthChart& chart) {
    const BirthData& birth = chart.input;
    ChartSummary summary;
    summary.name = birth.name;
    std::string born = FormatDateInWords(birth.date);
    born += birth.time ? ", " + FormatClockTime(*birth.time) + " local time" : ", time unknown";
    summary.facts.push_back({chart.birth ? "Born" : "Moment", born});
    if (!birth.placeName.empty()) {
        summary.facts.push_back({"Place", birth.placeName});
    }
    summary.facts.push_back({"Coordinates", FormatCoordinates(birth.latitude, birth.longitude)});
    summary.facts.push_back({"Universal time", UniversalTimeText(chart.universalTime, birth.zone)});
    summary.facts.push_back({"Houses", HousesText(chart.chart)});
    summary.facts.push_back({"Ephemeris", chart.chart.ephemeris == EphemerisUsed::Swiss
                                              ? "Swiss Ephemeris files"
                                              : "built-in Moshier ephemeris"});
    summary.notes = chart.notes;
    return summary;
}

}  // namespace tolvaris
