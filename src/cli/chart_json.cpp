#include "cli/chart_json.h"

#include "cli/json_text.h"
#include "core/chart/decimal_text.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

// Longitudes to a millionth of a degree (under 0.004"), finer than the
// ephemeris is accurate, so nothing a reader checks is lost to rounding.
constexpr int kDegreeDecimals = 6;

std::string Degrees(double value) {
    return JsonNumber(value, kDegreeDecimals);
}

std::string Optional(const std::string& text, bool present) {
    return present ? JsonString(text) : "null";
}

std::string Angle(const std::optional<AnglePlacement>& angle) {
    if (!angle) {
        return "null";
    }
    const ShownLongitude shown = ShowLongitude(angle->longitude);
    return "{\"longitude\": " + Degrees(shown.longitude) +
           ", \"sign\": " + JsonString(SignName(shown.sign)) +
           ", \"degree_in_sign\": " + Degrees(shown.degreeInSign) + "}";
}

}  // namespace

std::string FormatChartJson(const BirthChart& birthChart) {
    const BirthData& in = birthChart.input;
    const Chart& chart = birthChart.chart;
    const UniversalTime& ut = birthChart.universalTime;
    const bool offsetGiven = in.utcOffsetSeconds.has_value();

    std::string json = "{\"input\": {";
    json += "\"name\": " + JsonString(in.name);
    json += ", \"date\": " + JsonString(FormatIsoDate(in.date));
    json += ", \"time\": " + (in.time ? JsonString(FormatIsoTime(*in.time)) : "null");
    json += ", \"place\": " + Optional(in.placeName, !in.placeName.empty());
    // -0 as typed is the equator or the meridian: printed as 0.
    json += ", \"latitude\": " + FormatShortestDecimal(in.latitude == 0.0 ? 0.0 : in.latitude);
    json += ", \"longitude\": " + FormatShortestDecimal(in.longitude == 0.0 ? 0.0 : in.longitude);
    json += ", \"zone\": " + Optional(in.zone, !offsetGiven && !in.zone.empty());
    json += ", \"utc_offset\": " +
            (offsetGiven ? JsonString(FormatUtcOffset(*in.utcOffsetSeconds)) : "null");
    json += ", \"fold\": ";
    json += in.fold == FoldChoice::None      ? "null"
            : in.fold == FoldChoice::Earlier ? "\"earlier\""
                                             : "\"later\"";
    json += ", \"orbs\": {";
    for (const AspectRow& row : kAspects) {
        json += (row.kind == kAspects.front().kind ? "" : ", ") + JsonString(row.name) + ": " +
                FormatShortestDecimal(in.orbs[row.kind]);
    }
    json += "}},\n";

    json += " \"utc\": " + JsonString(FormatUniversalTime(ut.unixSeconds));
    json += ", \"utc_offset_seconds\": " + std::to_string(ut.offsetSeconds);
    json += ", \"offset_source\": " + JsonString(OffsetSourceName(ut.source));
    json += ", " + ChartFieldsJson(chart, birthChart.notes) + "}\n";
    return json;
}

std::string PlacementsJson(const std::vector<BodyPlacement>& bodies,
                           const std::optional<AnglePlacement>& ascendant,
                           const std::optional<AnglePlacement>& midheaven,
                           const std::optional<HouseCusps>& cusps) {
    std::string json;
    json += " \"bodies\": [";
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        const BodyPlacement& body = bodies[i];
        json += i == 0 ? "\n  " : ",\n  ";
        json += "{\"name\": " + JsonString(body.name);
        const ShownLongitude shown = ShowLongitude(body.longitude);
        json += ", \"longitude\": " + Degrees(shown.longitude);
        json += ", \"sign\": " + JsonString(SignName(shown.sign));
        json += ", \"degree_in_sign\": " + Degrees(shown.degreeInSign);
        json += ", \"house\": " + (body.house ? std::to_string(*body.house) : "null");
        json += ", \"speed\": " + Degrees(body.speed);
        json += ", \"retrograde\": ";
        json += body.retrograde ? "true}" : "false}";
    }
    json += "],\n";

    json += " \"ascendant\": " + Angle(ascendant) + ",\n";
    json += " \"midheaven\": " + Angle(midheaven) + ",\n";
    json += " \"cusps\": ";
    if (cusps) {
        json += "[";
        for (std::size_t i = 0; i < cusps->size(); ++i) {
            json += (i == 0 ? "" : ", ") + Degrees(ShowLongitude((*cusps)[i]).longitude);
        }
        json += "]";
    } else {
        json += "null";
    }
    return json;
}

std::string ChartFieldsJson(const Chart& chart, const std::vector<std::string>& notes) {
    std::string json = "\"ephemeris\": " + JsonString(EphemerisUsedName(chart.ephemeris)) + ",\n";
    json += " \"house_system\": " +
            (chart.houseSystemUsed ? JsonString(HouseSystemKey(*chart.houseSystemUsed)) : "null");
    json +=
        ", \"house_system_requested\": " + JsonString(HouseSystemKey(chart.houseSystemRequested)) +
        ",\n";

    json += PlacementsJson(chart.bodies, chart.ascendant, chart.midheaven, chart.cusps);
    json += ",\n \"aspects\": [";
    for (std::size_t i = 0; i < chart.aspects.size(); ++i) {
        const Aspect& aspect = chart.aspects[i];
        json += i == 0 ? "\n  " : ",\n  ";
        json += "{\"first\": " + JsonString(PointName(aspect.first));
        json += ", \"second\": " + JsonString(PointName(aspect.second));
        json += ", \"kind\": " + JsonString(AspectKindName(aspect.kind));
        json += ", \"family\": " + JsonString(AspectFamilyName(aspect.family));
        json += ", \"orb\": " + Degrees(aspect.orb) + "}";
    }
    json += "],\n \"notes\": [";
    for (std::size_t i = 0; i < notes.size(); ++i) {
        json += (i == 0 ? "" : ", ") + JsonString(notes[i]);
    }
    json += "]";
    return json;
}

}  // namespace tolvaris
