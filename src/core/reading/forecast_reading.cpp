#include "core/reading/forecast_reading.h"

#include <cstddef>
#include <string>
#include <vector>

#include "core/chart/decimal_text.h"
#include "core/forecast/transit_entries.h"
#include "core/reading/latin_text.h"
#include "core/reading/reading_heading.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t FloorDiv(std::int64_t value, std::int64_t by) {
    return value / by - (value % by < 0 ? 1 : 0);
}

std::string Ordinal(int number) {
    const int lastTwo = number % 100;
    const int last = number % 10;
    const char* suffix = (lastTwo >= 11 && lastTwo <= 13) ? "th"
                         : last == 1                      ? "st"
                         : last == 2                      ? "nd"
                         : last == 3                      ? "rd"
                                                          : "th";
    return std::to_string(number) + suffix;
}

std::string Moment(std::string_view zone, const ExactPass& pass) {
    return ForecastLocalTime(zone, pass.utSeconds) + (pass.retrograde ? " R" : "");
}

// What a body without entries of its own brings to a contact, for the
// short line drawn from the aspect's family.
std::string Themes(Point body) {
    switch (body) {
        case Point::Moon:
            return "moods, habits and the needs of the day";
        case Point::Mercury:
            return "thoughts, talks, letters and short trips";
        case Point::Venus:
            return "affection, pleasure, taste and money";
        default:
            return std::string(PointName(body)) + "'s concerns";
    }
}

std::string FamilyLine(const Transit& transit) {
    const std::string themes = Themes(transit.transiting);
    const std::string natal = "your natal " + std::string(NatalPointName(transit.natal));
    switch (FamilyOf(transit.kind)) {
        case AspectFamily::Blending:
            return "A meeting: " + themes + " merge with " + natal +
                   "; for a day or two the two act as one, so use them together.";
        case AspectFamily::Harmonizing:
            return "An easy contact: " + themes + " lend " + natal +
                   " a helping hand; a good moment to ask, offer or begin.";
        case AspectFamily::Discordant:
            return "A brief friction: " + themes + " rub against " + natal +
                   "; small delays and crossed wires pass if you adjust rather than push.";
    }
    return {};
}

std::string ListBodies(const std::vector<Point>& bodies) {
    std::string list;
    for (const Point body : bodies) {
        list += (list.empty() ? "" : ", ") + std::string(PointName(body));
    }
    return list.empty() ? "none" : list;
}

class ForecastWriter {
public:
    ForecastWriter(const ForecastSubject& subject, ReadingPage& page)
        : subject_(subject), page_(page), zone_(subject.range.displayZone) {}

    void Write() {
        Heading();
        const TransitSearch& search = subject_.search;
        if (!search.Ok()) {
            page_.Separator();
            page_.Text("The positions could not be computed: " + Utf8ToCp1252Text(search.error));
            return;
        }
        if (search.transits.empty() && search.ingresses.empty()) {
            page_.Separator();
            page_.Text("No transit comes within the orb in this range.");
            return;
        }
        // Transits by their start, ingresses by their moment; at a tie the
        // transit first, as it was under way already.
        std::size_t nextIngress = 0;
        for (const Transit& transit : search.transits) {
            const std::int64_t begins = transit.enter.value_or(subject_.range.span.fromUt);
            while (nextIngress < search.ingresses.size() &&
                   search.ingresses[nextIngress].utSeconds < begins) {
                Ingress(search.ingresses[nextIngress++]);
            }
            TransitBlock(transit);
        }
        while (nextIngress < search.ingresses.size()) {
            Ingress(search.ingresses[nextIngress++]);
        }
    }

private:
    void Heading() {
        WriteChartHeading("FORECAST", subject_.chart, page_);
        const ForecastRange& range = subject_.range;
        const bool utc = range.displayZone == "UTC";
        page_.Text("Range: " + FormatDateInWords(range.first) + " to " +
                   FormatDateInWords(range.last) + ", " +
                   (utc ? std::string("times in UTC")
                        : "local times in " + Utf8ToCp1252Text(range.displayZone)));
        page_.Text("Transiting: " + ListBodies(subject_.settings.bodies));
        const double orb = subject_.settings.orb;
        page_.Text("Orb: " + FormatShortestDecimal(orb) + (orb == 1.0 ? " degree" : " degrees") +
                   " either side of exact; R marks a moment when the transiting body is "
                   "retrograde.");
        for (const std::string& note : subject_.search.notes) {
            page_.Text("Note: " + Utf8ToCp1252Text(note));
        }
    }

    void TransitBlock(const Transit& transit) {
        lastWasShortIngress_ = false;
        page_.Separator();
        page_.Heading(3,
                      std::string(PointName(transit.transiting)) + " " +
                          std::string(AspectKindName(transit.kind)) + " natal " +
                          std::string(NatalPointName(transit.natal)),
                      RowOf(FamilyOf(transit.kind)).name);
        page_.Text("Within orb: " + Window(transit));
        std::string exact;
        for (const ExactPass& pass : transit.exact) {
            exact += (exact.empty() ? "" : "; ") + Moment(zone_, pass);
        }
        if (exact.empty()) {
            // Inside the range on both sides, the body turned back short of exact.
            exact = transit.enter && transit.leave ? "not reached; the body turns back first"
                                                   : "not within this range";
        }
        page_.Text("Exact: " + exact);
        // A station inside the window is why the passes change direction.
        std::string turns;
        const std::int64_t from = transit.enter.value_or(subject_.range.span.fromUt);
        const std::int64_t to = transit.leave.value_or(subject_.range.span.toUt);
        for (const Station& station : subject_.search.stations) {
            if (station.body == transit.transiting && station.utSeconds >= from &&
                station.utSeconds < to) {
                turns += (turns.empty() ? "" : "; ") +
                         std::string(station.turnsRetrograde ? "retrograde " : "direct ") +
                         ForecastLocalTime(zone_, station.utSeconds);
            }
        }
        if (!turns.empty()) {
            page_.Text("Turns " + turns);
        }
        if (HasTransitAspectEntries(transit.transiting)) {
            page_.EntryInBlock(
                TransitAspectEntry(transit.transiting, FamilyOf(transit.kind), transit.natal));
        } else {
            page_.Text(FamilyLine(transit));
        }
    }

    std::string Window(const Transit& transit) const {
        if (!transit.enter && !transit.leave) {
            return "the whole range";
        }
        const std::string from = transit.enter ? ForecastLocalTime(zone_, *transit.enter)
                                               : std::string("before the range");
        const std::string to = transit.leave ? ForecastLocalTime(zone_, *transit.leave)
                                             : std::string("beyond the range");
        return from + " to " + to;
    }

    void Ingress(const HouseIngress& ingress) {
        // Ingresses without an entry (the fast bodies') follow each other
        // as one block, a line each.
        const bool entry = HasTransitHouseEntries(ingress.transiting);
        if (entry || !lastWasShortIngress_) {
            page_.Separator();
        }
        lastWasShortIngress_ = !entry;
        page_.Text(std::string(PointName(ingress.transiting)) + " enters the natal " +
                   Ordinal(ingress.house) +
                   " house: " + Moment(zone_, {ingress.utSeconds, ingress.retrograde}));
        if (entry) {
            page_.EntryInBlock(TransitHouseEntry(ingress.transiting, ingress.house));
        }
    }

    const ForecastSubject& subject_;
    ReadingPage& page_;
    std::string zone_;
    bool lastWasShortIngress_ = false;
};

}  // namespace

std::string ForecastLocalTime(std::string_view displayZone, std::int64_t utSeconds) {
    const std::int64_t local = utSeconds + DisplayOffsetAt(displayZone, utSeconds);
    const std::int64_t minutes = FloorDiv(local + 30, 60);
    const std::int64_t days = FloorDiv(minutes, kSecondsPerDay / 60);
    const auto ofDay = static_cast<int>(minutes - days * (kSecondsPerDay / 60));
    return FormatIsoDate(DateFromDaysSinceEpoch(days)) + " " +
           FormatClockTime(CivilTime{ofDay / 60, ofDay % 60, 0});
}

ReadingContent ForecastContent(const ForecastSubject& subject) {
    return [subject](ReadingPage& page) { ForecastWriter(subject, page).Write(); };
}

void ShowForecast(const ForecastSubject& subject, const std::filesystem::path& dataFolder,
                  PageBuffers& buffers, Notices& notices) {
    ShowReadingWithNotice(buffers, dataFolder, notices, ForecastContent(subject));
}

ReadingBuffer ForecastDataBuffer(const ForecastSubject& subject,
                                 const std::filesystem::path& dataFolder, Notices& notices) {
    return ComposeWithoutWindow(dataFolder, notices, ForecastContent(subject));
}

}  // namespace tolvaris
