#include "cli/relation_output.h"

#include "cli/chart_json.h"
#include "cli/chart_table.h"
#include "cli/json_text.h"
#include "core/chart/decimal_text.h"

namespace tolvaris {
namespace {

// Orbs to a millionth of a degree, as the chart's own aspects.
constexpr int kDegreeDecimals = 6;

std::string WithoutLineFeed(std::string json) {
    while (!json.empty() && json.back() == '\n') {
        json.pop_back();
    }
    return json;
}

std::string OverlaysJson(const std::optional<std::vector<HouseOverlay>>& overlays) {
    if (!overlays) {
        return "null";
    }
    std::string json = "[";
    for (std::size_t i = 0; i < overlays->size(); ++i) {
        const HouseOverlay& overlay = (*overlays)[i];
        json += (i == 0 ? "" : ", ");
        json += "{\"body\": " + JsonString(PointName(overlay.body)) +
                ", \"house\": " + std::to_string(overlay.house) + "}";
    }
    return json + "]";
}

std::string NameOr(const std::string& name, const char* standIn) {
    return name.empty() ? std::string(standIn) : name;
}

std::string OverlaysTable(const std::optional<std::vector<HouseOverlay>>& overlays,
                          const std::string& owner, const std::string& host) {
    std::string table = "\n" + owner + "'s bodies in " + host + "'s houses\n";
    if (!overlays) {
        return table + "none: " + host + "'s birth time is unknown\n";
    }
    for (const HouseOverlay& overlay : *overlays) {
        table += Padded(PointName(overlay.body), 11) + std::to_string(overlay.house) + "\n";
    }
    return table;
}

}  // namespace

std::string FormatSynastryTable(const BirthChart& first, const BirthChart& second,
                                const Synastry& synastry) {
    const std::string a = NameOr(first.input.name, "First chart");
    const std::string b = NameOr(second.input.name, "Second chart");
    std::string table = "Synastry: " + a + " and " + b + "\n\nAspects (" + a + "'s point first)\n";
    if (synastry.aspects.empty()) {
        table += "none within the orbs\n";
    }
    for (const InterAspect& aspect : synastry.aspects) {
        table +=
            Padded(NatalPointName(aspect.first), 11) + Padded(AspectKindName(aspect.kind), 13) +
            Padded(NatalPointName(aspect.second), 11) + "orb " + FormatFixedDecimal(aspect.orb, 2) +
            " (" + std::string(AspectFamilyName(aspect.family)) + ")\n";
    }
    table += OverlaysTable(synastry.firstInSecondHouses, a, b);
    table += OverlaysTable(synastry.secondInFirstHouses, b, a);
    return table;
}

std::string FormatCompositeTable(const CompositeChart& composite) {
    return "Composite: " + NameOr(composite.firstName, "First chart") + " and " +
           NameOr(composite.secondName, "Second chart") + "\n\n" +
           FormatChartTableBody(composite.chart, composite.notes);
}

std::string FormatSynastryJson(const BirthChart& first, const BirthChart& second,
                               const Synastry& synastry) {
    std::string json = "{\"first\": " + WithoutLineFeed(FormatChartJson(first)) + ",\n";
    json += "\"second\": " + WithoutLineFeed(FormatChartJson(second)) + ",\n";
    json += "\"aspects\": [";
    for (std::size_t i = 0; i < synastry.aspects.size(); ++i) {
        const InterAspect& aspect = synastry.aspects[i];
        json += i == 0 ? "\n  " : ",\n  ";
        json += "{\"first\": " + JsonString(NatalPointName(aspect.first));
        json += ", \"second\": " + JsonString(NatalPointName(aspect.second));
        json += ", \"kind\": " + JsonString(AspectKindName(aspect.kind));
        json += ", \"family\": " + JsonString(AspectFamilyName(aspect.family));
        json += ", \"orb\": " + JsonNumber(aspect.orb, kDegreeDecimals) + "}";
    }
    json += "],\n\"first_in_second_houses\": " + OverlaysJson(synastry.firstInSecondHouses);
    json += ",\n\"second_in_first_houses\": " + OverlaysJson(synastry.secondInFirstHouses);
    return json + "}\n";
}

std::string FormatCompositeJson(const CompositeChart& composite) {
    std::string json =
        "{\"input\": null,\n \"utc\": null, \"utc_offset_seconds\": null, "
        "\"offset_source\": null, ";
    json += ChartFieldsJson(composite.chart, composite.notes);
    json += ",\n \"composite_of\": [" + JsonString(composite.firstName) + ", " +
            JsonString(composite.secondName) + "]}\n";
    return json;
}

}  // namespace tolvaris
