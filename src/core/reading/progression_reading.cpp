#include "core/reading/progression_reading.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/chart/decimal_text.h"
#include "core/ephemeris/zodiac.h"
#include "core/forecast/progression_entries.h"
#include "core/reading/forecast_reading.h"
#include "core/reading/latin_text.h"
#include "core/reading/reading_heading.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

// What a progressed angle brings to a contact, for the line drawn from the
// aspect's family where the library has no entry.
std::string AngleThemes(NatalPoint progressed) {
    return progressed == NatalPoint::Ascendant ? "the way you meet the world"
                                               : "your sense of direction and standing";
}

std::string FamilyLine(const ProgressedAspect& aspect) {
    const std::string themes = AngleThemes(aspect.progressed);
    const std::string natal = "your natal " + std::string(NatalPointName(aspect.natal));
    switch (FamilyOf(aspect.kind)) {
        case AspectFamily::Blending:
            return "A slow meeting of " + themes + " with " + natal +
                   ": over a year or two the two grow into one theme, worth building on.";
        case AspectFamily::Harmonizing:
            return "A quiet support between " + themes + " and " + natal +
                   ": a chapter for steady, chosen steps.";
        case AspectFamily::Discordant:
            return "A slow tension between " + themes + " and " + natal +
                   ": a chapter that asks you to adjust an old habit rather than force the new.";
    }
    return {};
}

// The page's events in one line of time: which list, which element.
enum class EventKind { Aspect, SignChange, Ingress, Station };
struct Event {
    std::int64_t when;
    EventKind kind;
    std::size_t index;
};

class ProgressionWriter {
public:
    ProgressionWriter(const ProgressionSubject& subject, ReadingPage& page)
        : subject_(subject), page_(page), zone_(subject.range.displayZone) {}

    void Write() {
        Heading();
        const ProgressionSearch& search = subject_.search;
        if (!search.Ok()) {
            page_.Separator();
            page_.Text("The progressed positions could not be computed: " +
                       Utf8ToCp1252Text(search.error));
            return;
        }
        const std::vector<Event> events = Events();
        if (events.empty()) {
            page_.Separator();
            page_.Text(
                "No progressed aspect, sign change, house change or station falls in "
                "this range.");
            return;
        }
        for (const Event& event : events) {
            switch (event.kind) {
                case EventKind::Aspect:
                    AspectBlock(search.aspects[event.index]);
                    break;
                case EventKind::SignChange:
                    SignChangeBlock(search.signChanges[event.index]);
                    break;
                case EventKind::Ingress:
                    IngressBlock(search.ingresses[event.index]);
                    break;
                case EventKind::Station:
                    StationLine(search.stations[event.index]);
                    break;
            }
        }
    }

private:
    // Aspects by the start of their window, the rest by their moment; at a
    // tie the aspect first, as it was under way already.
    std::vector<Event> Events() const {
        const ProgressionSearch& search = subject_.search;
        std::vector<Event> events;
        for (std::size_t i = 0; i < search.aspects.size(); ++i) {
            events.push_back({search.aspects[i].enter.value_or(subject_.range.span.fromUt),
                              EventKind::Aspect, i});
        }
        for (std::size_t i = 0; i < search.signChanges.size(); ++i) {
            events.push_back({search.signChanges[i].utSeconds, EventKind::SignChange, i});
        }
        for (std::size_t i = 0; i < search.ingresses.size(); ++i) {
            events.push_back({search.ingresses[i].utSeconds, EventKind::Ingress, i});
        }
        for (std::size_t i = 0; i < search.stations.size(); ++i) {
            events.push_back({search.stations[i].utSeconds, EventKind::Station, i});
        }
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            return a.when != b.when ? a.when < b.when : a.kind < b.kind;
        });
        return events;
    }

    void Heading() {
        WriteChartHeading("PROGRESSIONS", subject_.chart, page_);
        const ForecastRange& range = subject_.range;
        const bool utc = range.displayZone == "UTC";
        page_.Text("Range: " + FormatDateInWords(range.first) + " to " +
                   FormatDateInWords(range.last) + ", " +
                   (utc ? std::string("times in UTC")
                        : "local times in " + Utf8ToCp1252Text(range.displayZone)));
        const double orb = subject_.settings.orb;
        page_.Text(
            "Secondary progressions: the chart moves on one day for each year of life. "
            "Orb: " +
            FormatShortestDecimal(orb) + (orb == 1.0 ? " degree" : " degrees") +
            " either side of exact; R marks a moment when the progressed body is "
            "retrograde.");
        for (const std::string& note : subject_.search.notes) {
            page_.Text("Note: " + Utf8ToCp1252Text(note));
        }
    }

    std::string Moment(std::int64_t utSeconds, bool retrograde) const {
        return ForecastLocalTime(zone_, utSeconds) + (retrograde ? " R" : "");
    }

    void AspectBlock(const ProgressedAspect& aspect) {
        lastWasShortLine_ = false;
        page_.Separator();
        page_.Heading(3,
                      "Progressed " + std::string(NatalPointName(aspect.progressed)) + " " +
                          std::string(AspectKindName(aspect.kind)) + " natal " +
                          std::string(NatalPointName(aspect.natal)),
                      RowOf(FamilyOf(aspect.kind)).name);
        page_.Text("Within orb: " + Window(aspect));
        std::string exact;
        for (const ExactPass& pass : aspect.exact) {
            exact += (exact.empty() ? "" : "; ") + Moment(pass.utSeconds, pass.retrograde);
        }
        if (exact.empty()) {
            exact = aspect.enter && aspect.leave ? "not reached; the body turns back first"
                                                 : "not within this range";
        }
        page_.Text("Exact: " + exact);
        const std::optional<Point> body = BodyOf(aspect.progressed);
        if (body && HasProgressedAspectEntries(aspect.progressed)) {
            page_.EntryInBlock(ProgressedAspectEntry(*body, FamilyOf(aspect.kind), aspect.natal));
        } else {
            page_.Text(FamilyLine(aspect));
        }
    }

    std::string Window(const ProgressedAspect& aspect) const {
        if (!aspect.enter && !aspect.leave) {
            return "the whole range";
        }
        const std::string from = aspect.enter ? ForecastLocalTime(zone_, *aspect.enter)
                                              : std::string("before the range");
        const std::string to = aspect.leave ? ForecastLocalTime(zone_, *aspect.leave)
                                            : std::string("beyond the range");
        return from + " to " + to;
    }

    // The Moon's changes have entries and a block each; the other bodies'
    // changes and stations follow each other as one block, a line each.
    void ShortLine(const std::string& text) {
        if (!lastWasShortLine_) {
            page_.Separator();
        }
        lastWasShortLine_ = true;
        page_.Text(text);
    }

    void SignChangeBlock(const SignChange& change) {
        const std::string line = "Progressed " + std::string(PointName(change.progressed)) +
                                 " enters " + std::string(SignName(change.sign)) + ": " +
                                 Moment(change.utSeconds, change.retrograde);
        if (change.progressed != Point::Moon) {
            ShortLine(line);
            return;
        }
        lastWasShortLine_ = false;
        page_.Separator();
        page_.ReportHeading(3, "Progressed Moon in " + std::string(SignName(change.sign)));
        page_.Text(line);
        page_.EntryInBlock(ProgressedMoonSignEntry(change.sign));
    }

    void IngressBlock(const HouseIngress& ingress) {
        const std::string line = "Progressed " + std::string(PointName(ingress.transiting)) +
                                 " enters the natal " + HouseNumberOrdinal(ingress.house) +
                                 " house: " + Moment(ingress.utSeconds, ingress.retrograde);
        if (ingress.transiting != Point::Moon) {
            ShortLine(line);
            return;
        }
        lastWasShortLine_ = false;
        page_.Separator();
        page_.ReportHeading(
            3, "Progressed Moon in the natal " + HouseNumberOrdinal(ingress.house) + " house");
        page_.Text(line);
        page_.EntryInBlock(ProgressedMoonHouseEntry(ingress.house));
    }

    void StationLine(const Station& station) {
        ShortLine("Progressed " + std::string(PointName(station.body)) + " turns " +
                  (station.turnsRetrograde ? "retrograde: " : "direct: ") +
                  ForecastLocalTime(zone_, station.utSeconds));
    }

    const ProgressionSubject& subject_;
    ReadingPage& page_;
    std::string zone_;
    bool lastWasShortLine_ = false;
};

}  // namespace

ReadingContent ProgressionContent(const ProgressionSubject& subject) {
    return [subject](ReadingPage& page) { ProgressionWriter(subject, page).Write(); };
}

void ShowProgressions(const ProgressionSubject& subject, const std::filesystem::path& dataFolder,
                      PageBuffers& buffers, Notices& notices) {
    ShowReadingWithNotice(buffers, dataFolder, notices, ProgressionContent(subject));
}

ReadingBuffer ProgressionDataBuffer(const ProgressionSubject& subject,
                                    const std::filesystem::path& dataFolder, Notices& notices) {
    return ComposeWithoutWindow(dataFolder, notices, ProgressionContent(subject));
}

}  // namespace tolvaris
