#include "cli/forecast_json.h"

#include <algorithm>

#include "cli/chart_json.h"
#include "cli/json_text.h"
#include "core/chart/decimal_text.h"
#include "core/reading/forecast_reading.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

std::string Instant(const ForecastRange& range, std::int64_t utSeconds) {
    return "\"utc\": " + JsonString(FormatUniversalTime(utSeconds)) +
           ", \"local\": " + JsonString(FormatLocalIso(range.displayZone, utSeconds));
}

std::string OptionalUtc(const std::optional<std::int64_t>& utSeconds) {
    return utSeconds ? JsonString(FormatUniversalTime(*utSeconds)) : "null";
}

// "1.0", "0.25": a number that reads as the degrees given, never an integer.
std::string OrbNumber(double orb) {
    std::string text = FormatShortestDecimal(orb);
    return text.find('.') == std::string::npos ? text + ".0" : text;
}

template <class Item, class Format>
std::string List(const std::vector<Item>& items, const Format& format) {
    std::string json = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        json += (i == 0 ? "\n  " : ",\n  ") + format(items[i]);
    }
    return json + "]";
}

std::string Title(const Transit& transit) {
    return std::string(PointName(transit.transiting)) + " " +
           std::string(AspectKindName(transit.kind)) + " natal " +
           std::string(NatalPointName(transit.natal));
}

}  // namespace

std::string FormatForecastJson(const BirthChart& chart, const ForecastRange& range,
                               const TransitSettings& settings, const TransitSearch& search) {
    const std::vector<std::string>& notes = search.notes;
    std::string natal = FormatChartJson(chart);
    if (!natal.empty() && natal.back() == '\n') {
        natal.pop_back();
    }
    std::string json = "{\"natal\": " + natal + ",\n";
    json += " \"range\": {\"from\": " + JsonString(FormatUniversalTime(range.span.fromUt)) +
            ", \"to\": " + JsonString(FormatUniversalTime(range.span.toUt)) +
            ", \"display_zone\": " + JsonString(range.displayZone) + "},\n";
    json += " \"settings\": {\"bodies\": [";
    for (std::size_t i = 0; i < settings.bodies.size(); ++i) {
        json += (i == 0 ? "" : ", ") + JsonString(PointName(settings.bodies[i]));
    }
    json += "], \"orb\": " + OrbNumber(settings.orb) + "},\n";
    json += " \"transits\": " + List(search.transits, [&range](const Transit& transit) {
                std::string item =
                    "{\"transiting\": " + JsonString(PointName(transit.transiting)) +
                    ", \"natal\": " + JsonString(NatalPointName(transit.natal)) +
                    ", \"kind\": " + JsonString(AspectKindName(transit.kind)) +
                    ", \"family\": " + JsonString(AspectFamilyName(FamilyOf(transit.kind))) +
                    ", \"enter\": " + OptionalUtc(transit.enter) +
                    ", \"leave\": " + OptionalUtc(transit.leave) + ", \"exact\": [";
                for (std::size_t i = 0; i < transit.exact.size(); ++i) {
                    item +=
                        (i == 0 ? "{" : ", {") + Instant(range, transit.exact[i].utSeconds) +
                        ", \"retrograde\": " + (transit.exact[i].retrograde ? "true" : "false") +
                        "}";
                }
                return item + "]}";
            });
    json += ",\n \"ingresses\": " + List(search.ingresses, [&range](const HouseIngress& ingress) {
                return "{\"transiting\": " + JsonString(PointName(ingress.transiting)) +
                       ", \"house\": " + std::to_string(ingress.house) + ", " +
                       Instant(range, ingress.utSeconds) +
                       ", \"retrograde\": " + (ingress.retrograde ? "true" : "false") + "}";
            });
    json += ",\n \"stations\": " + List(search.stations, [&range](const Station& station) {
                return "{\"body\": " + JsonString(PointName(station.body)) + ", " +
                       Instant(range, station.utSeconds) + ", \"turns\": " +
                       (station.turnsRetrograde ? "\"retrograde\"" : "\"direct\"") + "}";
            });
    json += ",\n \"notes\": [";
    for (std::size_t i = 0; i < notes.size(); ++i) {
        json += (i == 0 ? "" : ", ") + JsonString(notes[i]);
    }
    return json + "]}\n";
}

std::string FormatWindowLine(std::string title, std::size_t titleWidth,
                             const std::optional<std::int64_t>& enter,
                             const std::optional<std::int64_t>& leave,
                             const std::vector<ExactPass>& exact, const std::string& displayZone) {
    title.resize(std::max(title.size(), titleWidth), ' ');
    // Both columns 16 wide, so that the exact times line up.
    const std::string from = enter ? ForecastLocalTime(displayZone, *enter) : "(range start)   ";
    const std::string to = leave ? ForecastLocalTime(displayZone, *leave) : "(range end)     ";
    std::string line = title + " " + from + " to " + to;
    for (std::size_t i = 0; i < exact.size(); ++i) {
        line += (i == 0 ? "  exact " : ", ") + ForecastLocalTime(displayZone, exact[i].utSeconds) +
                (exact[i].retrograde ? " R" : "");
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line + "\n";
}

std::string FormatForecastTable(const ForecastRange& range, const TransitSearch& search) {
    const std::vector<std::string>& notes = search.notes;
    const std::string& zone = range.displayZone;
    const auto moment = [&zone](std::int64_t utSeconds, bool retrograde) {
        return ForecastLocalTime(zone, utSeconds) + (retrograde ? " R" : "");
    };
    std::string table = "Transits from " + FormatIsoDate(range.first) + " to " +
                        FormatIsoDate(range.last) + ", times in " + zone +
                        " (R: retrograde then)\n";
    for (const Transit& transit : search.transits) {
        table +=
            FormatWindowLine(Title(transit), 34, transit.enter, transit.leave, transit.exact, zone);
    }
    for (const HouseIngress& ingress : search.ingresses) {
        table += std::string(PointName(ingress.transiting)) + " enters house " +
                 std::to_string(ingress.house) + ": " +
                 moment(ingress.utSeconds, ingress.retrograde) + "\n";
    }
    for (const Station& station : search.stations) {
        table += std::string(PointName(station.body)) +
                 (station.turnsRetrograde ? " turns retrograde: " : " turns direct: ") +
                 ForecastLocalTime(zone, station.utSeconds) + "\n";
    }
    for (const std::string& note : notes) {
        table += "Note: " + note + "\n";
    }
    return table;
}

}  // namespace tolvaris
