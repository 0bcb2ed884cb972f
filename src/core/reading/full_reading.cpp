#include "core/reading/full_reading.h"

#include "core/common/cp1252.h"
#include "core/reading/reading_heading.h"

namespace tolvaris {
namespace {

constexpr const char* kOuterPlanetsLine =
    "Uranus, Neptune and Pluto stay in one sign for years, so the library reads them by house "
    "and aspect, not by sign.";

// The full reading's own order of blocks on the shared page writer.
class FullReadingWriter {
public:
    explicit FullReadingWriter(ReadingPage& page) : page_(page) {}

    void SignAndHouse(const BodyPlacement& body) {
        if (!RowOf(body.body).readBySign) {
            OuterPlanetsLineOnce();
        } else {
            page_.Entry(PlanetInSignEntry(body.body, body.sign));
        }
        if (body.house) {
            page_.Entry(PlanetInHouseEntry(body.body, *body.house));
        }
    }

    void AspectBlock(const Aspect& aspect) {
        page_.Entry(AspectEntry(aspect.first, aspect.family, aspect.second));
    }

private:
    void OuterPlanetsLineOnce() {
        if (!outerPlanetsSaid_) {
            page_.Separator();
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
    if (computed.ascendant) {
        page.Entry(RisingSignEntry(computed.ascendant->sign));
    }
    if (order == ReadingOrder::ByPlanet || !computed.cusps) {
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
            for (const BodyPlacement& body : computed.bodies) {
                if (body.house == house) {
                    writer.SignAndHouse(body);
                }
            }
        }
    }
    if (order == ReadingOrder::ByHouse) {
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
