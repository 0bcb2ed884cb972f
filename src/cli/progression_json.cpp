#include "cli/progression_json.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "cli/chart_json.h"
#include "cli/chart_table.h"
#include "cli/forecast_json.h"
#include "cli/json_text.h"
#include "core/chart/decimal_text.h"
#include "core/ephemeris/zodiac.h"
#include "core/reading/forecast_reading.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

std::string Utc(std::int64_t utSeconds) {
    return JsonString(FormatUniversalTime(utSeconds));
}

std::string Instant(const ForecastRange& range, std::int64_t utSeconds) {
    return "\"utc\": " + Utc(utSeconds) +
           ", \"local\": " + JsonString(FormatLocalIso(range.displayZone, utSeconds));
}

std::string OptionalUtc(const std::optional<std::int64_t>& utSeconds) {
    return utSeconds ? Utc(*utSeconds) : "null";
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

// The chart object without its closing line feed, to nest.
std::string Nested(const BirthChart& chart) {
    std::string json = FormatChartJson(chart);
    if (!json.empty() && json.back() == '\n') {
        json.pop_back();
    }
    return json;
}

template <class Item, class Format>
std::string List(const std::vector<Item>& items, const Format& format) {
    std::string json = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        json += (i == 0 ? "\n  " : ",\n  ") + format(items[i]);
    }
    return json + "]";
}

std::string Notes(const std::vector<std::string>& notes) {
    std::string json = "[";
    for (std::size_t i = 0; i < notes.size(); ++i) {
        json += (i == 0 ? "" : ", ") + JsonString(notes[i]);
    }
    return json + "]";
}

std::string Title(const ProgressedAspect& aspect) {
    return "Progressed " + std::string(NatalPointName(aspect.progressed)) + " " +
           std::string(AspectKindName(aspect.kind)) + " natal " +
           std::string(NatalPointName(aspect.natal));
}

}  // namespace

std::string FormatProgressedJson(const BirthChart& natal, const ProgressedChart& progressed) {
    std::string json = "{\"natal\": " + Nested(natal) + ",\n";
    json += " \"target_utc\": " + Utc(progressed.targetUt) +
            ", \"progressed_utc\": " + Utc(progressed.progressedUt) +
            ", \"solar_arc\": " + JsonNumber(progressed.solarArc, 6) + ",\n";
    json += " \"house_system\": " +
            (progressed.houseSystemUsed ? JsonString(HouseSystemKey(*progressed.houseSystemUsed))
                                        : "null") +
            ",\n";
    json += PlacementsJson(progressed.bodies, progressed.ascendant, progressed.midheaven,
                           progressed.cusps);
    json += ",\n \"aspects_to_natal\": " +
            List(progressed.aspectsToNatal, [](const ProgressedAspectInEffect& aspect) {
                return "{\"progressed\": " + JsonString(NatalPointName(aspect.progressed)) +
                       ", \"natal\": " + JsonString(NatalPointName(aspect.natal)) +
                       ", \"kind\": " + JsonString(AspectKindName(aspect.kind)) +
                       ", \"family\": " + JsonString(AspectFamilyName(FamilyOf(aspect.kind))) +
                       ", \"orb\": " + JsonNumber(aspect.orb, 6) +
                       ", \"applying\": " + Bool(aspect.applying) + "}";
            });
    return json + ",\n \"notes\": " + Notes(progressed.notes) + "}\n";
}

std::string FormatProgressedTable(const ProgressedChart& progressed, const std::string& zone) {
    std::string table = "Progressed chart for " + FormatLocalIso(zone, progressed.targetUt) + "\n" +
                        Padded("Progressed to", 16) + FormatUniversalTime(progressed.progressedUt) +
                        "\n" + Padded("Solar arc", 16) +
                        FormatFixedDecimal(progressed.solarArc, 6) + "°\n" + Padded("Houses", 16) +
                        "each body's is the natal house it stands in; the cusps are the "
                        "progressed ones\n\n";
    Chart positions;
    positions.bodies = progressed.bodies;
    positions.ascendant = progressed.ascendant;
    positions.midheaven = progressed.midheaven;
    positions.cusps = progressed.cusps;
    // The chart table's own aspect list is among one chart's points; the
    // progressed aspects to the natal chart take its place.
    std::string body = FormatChartTableBody(positions, {});
    body.erase(std::min(body.size(), body.find("\nAspects\n")));
    table += body + "\nProgressed to natal\n";
    if (progressed.aspectsToNatal.empty()) {
        table += "none within the orb\n";
    }
    for (const ProgressedAspectInEffect& aspect : progressed.aspectsToNatal) {
        table += Padded(NatalPointName(aspect.progressed), 11) +
                 Padded(AspectKindName(aspect.kind), 13) +
                 Padded(NatalPointName(aspect.natal), 11) + "orb " +
                 FormatFixedDecimal(aspect.orb, 2) +
                 (aspect.applying ? " applying\n" : " separating\n");
    }
    for (const std::string& note : progressed.notes) {
        table += "Note: " + note + "\n";
    }
    return table;
}

std::string FormatProgressionsJson(const BirthChart& natal, const ForecastRange& range,
                                   const ProgressionSettings& settings,
                                   const ProgressionSearch& search) {
    std::string json = "{\"natal\": " + Nested(natal) + ",\n";
    json += " \"range\": {\"from\": " + Utc(range.span.fromUt) +
            ", \"to\": " + Utc(range.span.toUt) +
            ", \"display_zone\": " + JsonString(range.displayZone) + "},\n";
    json += " \"settings\": {\"progressed\": [";
    for (std::size_t i = 0; i < settings.aspecting.size(); ++i) {
        json += (i == 0 ? "" : ", ") + JsonString(NatalPointName(settings.aspecting[i]));
    }
    std::string orb = FormatShortestDecimal(settings.orb);
    orb += orb.find('.') == std::string::npos ? ".0" : "";
    json += "], \"orb\": " + orb + "},\n";
    json += " \"aspects\": " + List(search.aspects, [&range](const ProgressedAspect& aspect) {
                std::string item =
                    "{\"progressed\": " + JsonString(NatalPointName(aspect.progressed)) +
                    ", \"natal\": " + JsonString(NatalPointName(aspect.natal)) +
                    ", \"kind\": " + JsonString(AspectKindName(aspect.kind)) +
                    ", \"family\": " + JsonString(AspectFamilyName(FamilyOf(aspect.kind))) +
                    ", \"enter\": " + OptionalUtc(aspect.enter) +
                    ", \"leave\": " + OptionalUtc(aspect.leave) + ", \"exact\": [";
                for (std::size_t i = 0; i < aspect.exact.size(); ++i) {
                    item += (i == 0 ? "{" : ", {") + Instant(range, aspect.exact[i].utSeconds) +
                            ", \"retrograde\": " + Bool(aspect.exact[i].retrograde) + "}";
                }
                return item + "]}";
            });
    json += ",\n \"sign_changes\": " + List(search.signChanges, [&range](const SignChange& change) {
                return "{\"progressed\": " + JsonString(PointName(change.progressed)) +
                       ", \"sign\": " + JsonString(SignName(change.sign)) + ", " +
                       Instant(range, change.utSeconds) +
                       ", \"retrograde\": " + Bool(change.retrograde) + "}";
            });
    json += ",\n \"ingresses\": " + List(search.ingresses, [&range](const HouseIngress& ingress) {
                return "{\"progressed\": " + JsonString(PointName(ingress.transiting)) +
                       ", \"house\": " + std::to_string(ingress.house) + ", " +
                       Instant(range, ingress.utSeconds) +
                       ", \"retrograde\": " + Bool(ingress.retrograde) + "}";
            });
    json += ",\n \"stations\": " + List(search.stations, [&range](const Station& station) {
                return "{\"progressed\": " + JsonString(PointName(station.body)) + ", " +
                       Instant(range, station.utSeconds) + ", \"turns\": " +
                       (station.turnsRetrograde ? "\"retrograde\"" : "\"direct\"") + "}";
            });
    return json + ",\n \"notes\": " + Notes(search.notes) + "}\n";
}

std::string FormatProgressionsTable(const ForecastRange& range, const ProgressionSearch& search) {
    const std::string& zone = range.displayZone;
    const auto moment = [&zone](std::int64_t utSeconds, bool retrograde) {
        return ForecastLocalTime(zone, utSeconds) + (retrograde ? " R" : "");
    };
    std::string table = "Progressions from " + FormatIsoDate(range.first) + " to " +
                        FormatIsoDate(range.last) + ", times in " + zone +
                        " (R: retrograde then)\n";
    for (const ProgressedAspect& aspect : search.aspects) {
        table +=
            FormatWindowLine(Title(aspect), 44, aspect.enter, aspect.leave, aspect.exact, zone);
    }
    for (const SignChange& change : search.signChanges) {
        table += "Progressed " + std::string(PointName(change.progressed)) + " enters " +
                 std::string(SignName(change.sign)) + ": " +
                 moment(change.utSeconds, change.retrograde) + "\n";
    }
    for (const HouseIngress& ingress : search.ingresses) {
        table += "Progressed " + std::string(PointName(ingress.transiting)) + " enters house " +
                 std::to_string(ingress.house) + ": " +
                 moment(ingress.utSeconds, ingress.retrograde) + "\n";
    }
    for (const Station& station : search.stations) {
        table += "Progressed " + std::string(PointName(station.body)) +
                 (station.turnsRetrograde ? " turns retrograde: " : " turns direct: ") +
                 ForecastLocalTime(zone, station.utSeconds) + "\n";
    }
    for (const std::string& note : search.notes) {
        table += "Note: " + note + "\n";
    }
    return table;
}

std::string FormatReturnJson(const BirthChart& natal, const BirthChart& returnChart) {
    return "{\"natal\": " + Nested(natal) + ",\n \"return\": " + Nested(returnChart) + "}\n";
}

}  // namespace tolvaris
