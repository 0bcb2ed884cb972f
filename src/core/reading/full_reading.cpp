#include "core/reading/full_reading.h"

#include <cmath>
#include <cstdio>

#include "core/chart/chart_summary.h"
#include "core/common/cp1252.h"
#include "core/engine/interpretation_reader.h"
#include "core/reading/latin_text.h"
#include "core/requests/captions.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

constexpr std::size_t kLineWidth = 76;
constexpr const char* kIndent = "  ";
constexpr const char* kOuterPlanetsLine =
    "Uranus, Neptune and Pluto stay in one sign for years, so the library reads them by house "
    "and aspect, not by sign.";

// The page being written: blocks of lines with a separator between them.
class ReadingPage {
public:
    ReadingPage(const std::filesystem::path& dataFolder, PageBuffers& buffers)
        : dataFolder_(dataFolder), buffers_(buffers) {}

    // A line of our own text (code page 1252), wrapped at word boundaries.
    void Text(std::string_view text) {
        std::string line = kIndent;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t space = text.find(' ', pos);
            const std::string_view word =
                text.substr(pos, space == std::string_view::npos ? text.npos : space - pos);
            if (line.size() > 2 && line.size() + 1 + word.size() > kLineWidth) {
                buffers_.AppendLine(Line(std::move(line)));
                line = "    ";
            } else if (line.size() > 2) {
                line += ' ';
            }
            line += word;
            pos = space == std::string_view::npos ? text.size() : space + 1;
        }
        buffers_.AppendLine(Line(std::move(line)));
    }

    // Between two blocks; an entry that was not found leaves its separator
    // for the next block, so two never follow each other.
    void Separator() {
        if (buffers_.PageCount() == linesAfterSeparator_) {
            return;
        }
        buffers_.AppendBlankLine();
        buffers_.AppendLine(Line(std::string(kIndent) + std::string(kLineWidth - 2, '-')));
        buffers_.AppendBlankLine();
        linesAfterSeparator_ = buffers_.PageCount();
    }

    void Entry(const EntryLocation& entry) {
        Separator();
        switch (CopyInterpretation(dataFolder_ / entry.fileName, entry.key, buffers_)) {
            case EntryCopy::Copied:
                return;
            case EntryCopy::KeyNotFound:
                missing_.push_back({entry, false});
                return;
            case EntryCopy::FileUnreadable:
                missing_.push_back({entry, true});
                return;
        }
    }

    void OuterPlanetsLineOnce() {
        if (!outerPlanetsSaid_) {
            Separator();
            Text(kOuterPlanetsLine);
            outerPlanetsSaid_ = true;
        }
    }

    std::vector<MissingEntry> TakeMissing() { return std::move(missing_); }

private:
    const std::filesystem::path& dataFolder_;
    PageBuffers& buffers_;
    std::vector<MissingEntry> missing_;
    std::int32_t linesAfterSeparator_ = -1;
    bool outerPlanetsSaid_ = false;
};

void Heading(const BirthChart& chart, ReadingPage& page) {
    const ChartSummary summary = SummariseChart(chart);
    const std::string name = Utf8ToCp1252Text(summary.name);
    page.Text(name.empty() ? "FULL READING" : "FULL READING: " + name);
    for (const ChartFact& fact : summary.facts) {
        page.Text(fact.label + ": " + Utf8ToCp1252Text(fact.value));
    }
    for (const std::string& note : summary.notes) {
        page.Text("Note: " + Utf8ToCp1252Text(note));
    }
}

std::int16_t Index(Point point) {
    return static_cast<std::int16_t>(point);
}

void SignAndHouse(const BodyPlacement& body, ReadingPage& page) {
    if (body.body >= Point::Uranus) {
        page.OuterPlanetsLineOnce();
    } else {
        page.Entry(PlanetInSignEntry(Index(body.body), static_cast<std::int16_t>(body.sign)));
    }
    if (body.house) {
        page.Entry(
            PlanetInHouseEntry(Index(body.body), static_cast<std::int16_t>(*body.house - 1)));
    }
}

void AspectEntryOf(const Aspect& aspect, ReadingPage& page) {
    page.Entry(AspectEntry(Index(aspect.first), static_cast<std::int16_t>(aspect.family),
                           Index(aspect.second)));
}

}  // namespace

std::optional<ReadingOrder> ParseReadingOrder(std::string_view text) {
    if (text == "planets") {
        return ReadingOrder::ByPlanet;
    }
    if (text == "houses") {
        return ReadingOrder::ByHouse;
    }
    return std::nullopt;
}

std::string MissingEntriesMessage(std::size_t count) {
    return count == 1 ? "1 entry was not found; it is listed at the end of the reading."
                      : std::to_string(count) +
                            " entries were not found; they are listed at the end of the reading.";
}

std::vector<MissingEntry> ComposeFullReading(const BirthChart& chart, ReadingOrder order,
                                             const std::filesystem::path& dataFolder,
                                             PageBuffers& buffers) {
    ReadingPage page(dataFolder, buffers);
    Heading(chart, page);
    const Chart& computed = chart.chart;
    if (computed.ascendant) {
        page.Entry(RisingSignEntry(static_cast<std::int16_t>(computed.ascendant->sign)));
    }
    if (order == ReadingOrder::ByPlanet || !computed.cusps) {
        for (const BodyPlacement& body : computed.bodies) {
            SignAndHouse(body, page);
            if (order == ReadingOrder::ByPlanet) {
                for (const Aspect& aspect : computed.aspects) {
                    if (aspect.first == body.body) {
                        AspectEntryOf(aspect, page);
                    }
                }
            }
        }
    } else {
        for (int house = 1; house <= 12; ++house) {
            for (const BodyPlacement& body : computed.bodies) {
                if (body.house == house) {
                    SignAndHouse(body, page);
                }
            }
        }
    }
    if (order == ReadingOrder::ByHouse) {
        for (const Aspect& aspect : computed.aspects) {
            AspectEntryOf(aspect, page);
        }
    }
    std::vector<MissingEntry> missing = page.TakeMissing();
    if (!missing.empty()) {
        page.Separator();
        page.Text("NOT IN THE LIBRARY");
        for (const MissingEntry& m : missing) {
            page.Text(m.fileMissing
                          ? "No file " + m.entry.fileName + " (for \"" + m.entry.key + "\")"
                          : "No entry \"" + m.entry.key + "\" in " + m.entry.fileName);
        }
    }
    return missing;
}

namespace {

// No window: pages are composed, never shown or written to a page file.
class NoDisplay : public OutputDisplay {
public:
    void EnsureCreated() override {}
    int InnerHeight() const override { return 0; }
    void LoadPageFile(const std::filesystem::path&) override {}
    void SetPageText(std::string_view) override {}
    void ShowModeless() override {}
    void SetCaption(std::string_view) override {}
};

}  // namespace

ReadingBuffer FullReadingDataBuffer(const BirthChart& chart, ReadingOrder order,
                                    const std::filesystem::path& dataFolder, Notices& notices) {
    NoDisplay display;
    AtomicFileWriter unused;
    PageBuffers buffers(display, notices, dataFolder, unused);
    buffers.ResetPage();
    buffers.AppendBlankLine();
    ReadingBuffer reading;
    reading.missing = ComposeFullReading(chart, order, dataFolder, buffers);
    // The line ShowPage adds when it shows a page.
    buffers.AppendBlankLine();
    reading.lines = buffers.DataBuffer();
    return reading;
}

void ShowFullReading(const BirthChart& chart, ReadingOrder order,
                     const std::filesystem::path& dataFolder, PageBuffers& buffers,
                     Notices& notices) {
    std::vector<MissingEntry> missing;
    {
        const BusyPointer busy(notices);
        buffers.ResetPage();
        buffers.AppendBlankLine();
        missing = ComposeFullReading(chart, order, dataFolder, buffers);
        buffers.ShowPage();
    }
    if (!missing.empty()) {
        notices.Message(MissingEntriesMessage(missing.size()), "Information",
                        NoticeIcon::Information);
    }
}

}  // namespace tolvaris
