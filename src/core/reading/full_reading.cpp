#include "core/reading/full_reading.h"

#include "core/common/cp1252.h"
#include "core/reading/reading_heading.h"
#include "core/relation/relation_entries.h"

namespace tolvaris {
namespace {

constexpr const char* kOuterPlanetsLine =
    "Uranus, Neptune and Pluto stay in one sign for years, so the library reads them by house "
    "and aspect, not by sign.";

// "The 1st house: the Ascendant in Aries, Sun in the 1st house, Moon in the
// 1st house" - what the section holds; "" for a house with nothing in it.
std::string HouseSectionTitle(const Chart& chart, int house) {
    std::string title = "The " + HouseOrdinal(house) + " house";
    std::string holds;
    const auto add = [&holds](const std::string& item) {
        holds += holds.empty() ? ": " : ", ";
        holds += item;
    };
    if (house == 1 && chart.ascendant) {
        add("the Ascendant in " + std::string(SignName(chart.ascendant->sign)));
    }
    for (const BodyPlacement& body : chart.bodies) {
        if (body.house == house) {
            add(std::string(PointName(body.body)) + " in the " + HouseOrdinal(house) + " house");
        }
    }
    return holds.empty() ? std::string() : title + holds;
}

// The full reading's own order of blocks on the shared page writer.
class FullReadingWriter {
public:
    explicit FullReadingWriter(ReadingPage& page) : page_(page) {}

    void SignAndHouse(const BodyPlacement& body) {
        const std::string name(PointName(body.body));
        if (!RowOf(body.body).readBySign) {
            OuterPlanetsLineOnce();
        } else {
            page_.ReportHeading(3, name + " in " + std::string(SignName(body.sign)));
            page_.Entry(PlanetInSignEntry(body.body, body.sign));
        }
        if (body.house) {
            page_.ReportHeading(3, name + " in the " + HouseOrdinal(*body.house) + " house");
            page_.Entry(PlanetInHouseEntry(body.body, *body.house));
        }
    }

    // The heading names the aspect the chart has; the entry is shared by
    // its family.
    void AspectBlock(const Aspect& aspect) {
        page_.ReportHeading(3,
                            std::string(PointName(aspect.first)) + " " +
                                std::string(AspectKindName(aspect.kind)) + " " +
                                std::string(PointName(aspect.second)),
                            RowOf(aspect.family).name);
        page_.Entry(AspectEntry(aspect.first, aspect.family, aspect.second));
    }

private:
    void OuterPlanetsLineOnce() {
        if (!outerPlanetsSaid_) {
            page_.Separator();
            page_.ReportHeading(3, "The outer planets");
            page_.Text(kOuterPlanetsLine);
            outerPlanetsSaid_ = true;
        }
    }

    ReadingPage& page_;
    bool outerPlanetsSaid_ = false;
};

void WriteFullReading(const BirthChart& chart, ReadingOrder order, ReadingPage& page) {
    WriteChartHeading("FULL READING", chart, page);
    FullReadingWriter writer(page);
    const Chart& computed = chart.chart;
    const bool byHouse = order == ReadingOrder::ByHouse && computed.cusps;
    const auto houseSection = [&](int house) {
        if (const std::string title = HouseSectionTitle(computed, house); !title.empty()) {
            page.ReportHeading(2, title);
        }
    };
    if (byHouse) {
        houseSection(1);
    } else if (order == ReadingOrder::ByPlanet) {
        page.ReportHeading(2, "The planets");
    }
    if (computed.ascendant) {
        page.ReportHeading(3,
                           "The Ascendant in " + std::string(SignName(computed.ascendant->sign)));
        page.Entry(RisingSignEntry(computed.ascendant->sign));
    }
    if (!byHouse) {
        for (const BodyPlacement& body : computed.bodies) {
            writer.SignAndHouse(body);
            if (order == ReadingOrder::ByPlanet) {
                for (const Aspect& aspect : computed.aspects) {
                    if (aspect.first == body.body) {
                        writer.AspectBlock(aspect);
                    }
                }
            }
        }
    } else {
        for (int house = 1; house <= 12; ++house) {
            if (house > 1) {
                houseSection(house);
            }
            for (const BodyPlacement& body : computed.bodies) {
                if (body.house == house) {
                    writer.SignAndHouse(body);
                }
            }
        }
    }
    if (order == ReadingOrder::ByHouse) {
        page.ReportHeading(2, "The aspects");
        for (const Aspect& aspect : computed.aspects) {
            writer.AspectBlock(aspect);
        }
    }
}

}  // namespace

std::optional<ReadingOrder> ParseReadingOrder(std::string_view text) {
    if (EqualIgnoringCase1252(text, "planets")) {
        return ReadingOrder::ByPlanet;
    }
    if (EqualIgnoringCase1252(text, "houses")) {
        return ReadingOrder::ByHouse;
    }
    return std::nullopt;
}

ReadingContent FullReadingContent(const BirthChart& chart, ReadingOrder order) {
    return [&chart, order](ReadingPage& page) { WriteFullReading(chart, order, page); };
}

std::vector<MissingEntry> ComposeFullReading(const BirthChart& chart, ReadingOrder order,
                                             const std::filesystem::path& dataFolder,
                                             PageBuffers& buffers) {
    ReadingPage page(dataFolder, buffers);
    WriteFullReading(chart, order, page);
    return page.Finish();
}

ReadingBuffer FullReadingDataBuffer(const BirthChart& chart, ReadingOrder order,
                                    const std::filesystem::path& dataFolder, Notices& notices) {
    return ComposeWithoutWindow(dataFolder, notices, FullReadingContent(chart, order));
}

void ShowFullReading(const BirthChart& chart, ReadingOrder order,
                     const std::filesystem::path& dataFolder, PageBuffers& buffers,
                     Notices& notices) {
    ShowReadingWithNotice(buffers, dataFolder, notices, FullReadingContent(chart, order));
}

}  // namespace tolvaris
