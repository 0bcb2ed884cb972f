#include "core/reading/relationship_reading.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/chart/display_text.h"
#include "core/common/cp1252.h"
#include "core/reading/latin_text.h"
#include "core/reading/reading_heading.h"
#include "core/relation/relation_entries.h"

namespace tolvaris {
namespace {

// A name for the page, in code page 1252, with a stand-in for none.
std::string ShownName(const std::string& name, const char* standIn) {
    return name.empty() ? std::string(standIn) : Utf8ToCp1252Text(name);
}

std::string Possessive(const std::string& name) {
    return name + (name.empty() || name.back() == 's' ? "'" : "'s");
}

void CompositeBlocks(const CompositeChart& composite, ReadingPage& page) {
    const Chart& chart = composite.chart;
    if (chart.ascendant) {
        page.Separator();
        page.Heading(3, "Composite Ascendant in " + std::string(SignName(chart.ascendant->sign)));
        page.EntryInBlock(CompositeRisingEntry(chart.ascendant->sign));
    }
    for (const BodyPlacement& body : chart.bodies) {
        if (!HasCompositeEntries(body.body)) {
            continue;
        }
        page.Separator();
        const std::string name = "Composite " + std::string(body.name);
        page.ReportHeading(3, name + " in " + std::string(SignName(body.sign)));
        page.Text(name + " " + Utf8ToCp1252Text(FormatZodiacPosition(body.longitude)) +
                  (body.house ? ", " + HouseOrdinal(*body.house) + " house" : std::string()));
        page.EntryInBlock(CompositeSignEntry(body.body, body.sign));
        if (body.house) {
            page.ReportHeading(3, name + " in the " + HouseOrdinal(*body.house) + " house");
            page.EntryInBlock(CompositeHouseEntry(body.body, *body.house));
        }
    }
}

void CompositeNotes(const CompositeChart& composite, ReadingPage& page) {
    for (const std::string& note : composite.notes) {
        page.Text("Note: " + Utf8ToCp1252Text(note));
    }
}

class RelationshipWriter {
public:
    RelationshipWriter(const RelationshipSubject& subject, ReadingPage& page)
        : subject_(subject),
          page_(page),
          first_(ShownName(subject.first.input.name, "the first person")),
          second_(ShownName(subject.second.input.name, "the second person")) {}

    void Write() {
        page_.Heading(1, "RELATIONSHIP READING: " + first_ + " and " + second_);
        page_.Text("Read from " + Possessive(first_) + " side: \"your\" points are " +
                   Possessive(first_) + ", \"their\" points " + Possessive(second_) + ".");
        page_.Separator();
        WriteChartHeading("FIRST CHART", subject_.first, page_);
        page_.Separator();
        WriteChartHeading("SECOND CHART", subject_.second, page_);
        Contacts();
        const Synastry& synastry = subject_.synastry;
        Overlays(synastry.firstInSecondHouses, first_, second_);
        Overlays(synastry.secondInFirstHouses, second_, first_);
        page_.Separator();
        page_.SectionHeading("The composite chart");
        CompositeNotes(subject_.composite, page_);
        CompositeBlocks(subject_.composite, page_);
    }

private:
    void Contacts() {
        page_.Separator();
        page_.SectionHeading("Contacts between the charts, the closest first");
        std::vector<InterAspect> byOrb = subject_.synastry.aspects;
        std::stable_sort(byOrb.begin(), byOrb.end(),
                         [](const InterAspect& l, const InterAspect& r) { return l.orb < r.orb; });
        if (byOrb.empty()) {
            page_.Text("No point of one chart is within orb of an aspect to the other's.");
        }
        for (const InterAspect& aspect : byOrb) {
            page_.Separator();
            page_.Heading(3,
                          Possessive(first_) + " " + std::string(NatalPointName(aspect.first)) +
                              " " + std::string(AspectKindName(aspect.kind)) + " " +
                              Possessive(second_) + " " +
                              std::string(NatalPointName(aspect.second)) + ", orb " +
                              Utf8ToCp1252Text(FormatDegreesMinutes(aspect.orb)),
                          RowOf(aspect.family).name);
            page_.EntryInBlock(SynastryAspectEntry(aspect.first, aspect.family, aspect.second));
        }
    }

    // The entries speak to the body's owner as "you".
    void Overlays(const std::optional<std::vector<HouseOverlay>>& overlays,
                  const std::string& owner, const std::string& host) {
        page_.Separator();
        page_.SectionHeading(Possessive(owner) + " planets in " + Possessive(host) + " houses");
        if (!overlays) {
            page_.Text(Possessive(host) + " birth time is unknown, so " + host +
                       " has no houses to place " + Possessive(owner) + " planets in.");
            return;
        }
        page_.Text("Here \"you\" is " + owner + " and \"they\" is " + host + ".");
        for (const HouseOverlay& overlay : *overlays) {
            page_.Separator();
            page_.Heading(3, Possessive(owner) + " " + std::string(PointName(overlay.body)) +
                                 " in " + Possessive(host) + " " + HouseOrdinal(overlay.house) +
                                 " house");
            page_.EntryInBlock(SynastryHouseEntry(overlay.body, overlay.house));
        }
    }

    const RelationshipSubject& subject_;
    ReadingPage& page_;
    std::string first_;
    std::string second_;
};

}  // namespace

ReadingContent RelationshipContent(const RelationshipSubject& subject) {
    return [&subject](ReadingPage& page) { RelationshipWriter(subject, page).Write(); };
}

ReadingContent CompositeContent(const CompositeChart& composite) {
    return [&composite](ReadingPage& page) {
        page.Heading(1, "COMPOSITE READING: " + ShownName(composite.firstName, "the first person") +
                            " and " + ShownName(composite.secondName, "the second person"));
        CompositeNotes(composite, page);
        CompositeBlocks(composite, page);
    };
}

void ShowRelationshipReading(const RelationshipSubject& subject,
                             const std::filesystem::path& dataFolder, PageBuffers& buffers,
                             Notices& notices) {
    ShowReadingWithNotice(buffers, dataFolder, notices, RelationshipContent(subject));
}

ReadingBuffer RelationshipDataBuffer(const RelationshipSubject& subject,
                                     const std::filesystem::path& dataFolder, Notices& notices) {
    return ComposeWithoutWindow(dataFolder, notices, RelationshipContent(subject));
}

}  // namespace tolvaris
