#include "cli/chart_tool.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "cli/chart_json.h"
#include "cli/chart_table.h"
#include "cli/command_line.h"
#include "core/atlas/atlas.h"
#include "core/chart/chart_file.h"
#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"
#include "core/common/cp1252.h"
#include "core/output/saving.h"

namespace tolvaris {
namespace {

constexpr std::string_view kProgram = "tolvaris-chart: ";
constexpr std::size_t kMaxPlacesListed = 50;

struct Outcome {
    int status = kExitSuccess;
    // For `err`: why it failed, or on success something the user should know.
    std::string message;
};

Outcome Refused(std::string message) {
    return {kExitRefused, std::move(message)};
}
Outcome Failed(std::string message) {
    return {kExitFailure, std::move(message)};
}

std::optional<Atlas> LoadAtlas(const std::filesystem::path& programFolder, Outcome& outcome) {
    AtlasLoadResult loaded = Atlas::Load(programFolder / "atlas.tsv");
    if (!loaded.value) {
        outcome = Failed("the place atlas could not be loaded: " + loaded.error);
    }
    return std::move(loaded.value);
}

std::string PlaceTitle(const Place& place) {
    std::string title = place.name;
    if (!place.region.empty() && place.region != place.name) {
        title += ", " + place.region;
    }
    return title + ", " + place.country;
}

Outcome ListPlaces(const ChartToolOptions& options, const std::filesystem::path& programFolder,
                   std::string& output) {
    Outcome outcome;
    const std::optional<Atlas> atlas = LoadAtlas(programFolder, outcome);
    if (!atlas) {
        return outcome;
    }
    const std::vector<Place> places = atlas->Search(options.placesQuery, kMaxPlacesListed);
    if (places.empty()) {
        return Refused("--places: no place matches \"" + ShownInMessage(options.placesQuery) +
                       "\".");
    }
    for (const Place& place : places) {
        output += PlaceTitle(place) + "\t" + FormatShortestDecimal(place.latitude) + "\t" +
                  FormatShortestDecimal(place.longitude) + "\t" + place.zone + "\n";
    }
    return outcome;
}

// The birth to compute: from the command line, the chart file or the atlas.
Outcome ResolveBirth(ChartToolOptions& options, const std::filesystem::path& programFolder) {
    if (options.mode == ChartToolMode::OpenFile) {
        ChartFileResult read = ReadChartFile(options.openPath);
        if (!read.value) {
            return Refused("--open: " + read.error);
        }
        options.birth = std::move(*read.value);
        return {};
    }
    if (options.placeQuery.empty()) {
        return {};
    }
    Outcome outcome;
    const std::optional<Atlas> atlas = LoadAtlas(programFolder, outcome);
    if (!atlas) {
        return outcome;
    }
    const std::vector<Place> found = atlas->Search(options.placeQuery, 1);
    if (found.empty()) {
        return Refused("--place: no place matches \"" + ShownInMessage(options.placeQuery) +
                       "\"; --places lists what the atlas knows.");
    }
    const Place& place = found.front();
    options.birth.placeName = PlaceTitle(place);
    options.birth.latitude = place.latitude;
    options.birth.longitude = place.longitude;
    if (options.birth.zone.empty()) {
        options.birth.zone = place.zone;
    }
    return {};
}

// Collects what a writer is given, for a reading bound for standard output.
class StringWriter : public AtomicFileWriter {
public:
    std::string Write(const std::filesystem::path&, const Producer& produce) override {
        produce([this](std::string_view bytes) {
            text.append(bytes);
            return true;
        });
        return {};
    }
    std::string text;
};

// Messages of the reader (a full buffer) go to standard error.
class ErrorStreamNotices : public Notices {
public:
    explicit ErrorStreamNotices(std::string& messages) : messages_(messages) {}
    void Message(std::string_view text, std::string_view, NoticeIcon) override {
        messages_.append(text);
    }
    void SetBusy(bool) override {}

private:
    std::string& messages_;
};

// The full reading of the chart from the library the options name; on
// success the outcome's message tells of missing entries or a full buffer.
Outcome ComposeReading(const ChartToolOptions& options, const BirthChart& chart,
                       const std::filesystem::path& programFolder, ReadingBuffer& reading) {
    const std::filesystem::path dataFolder =
        options.dataFolder.empty() ? programFolder : std::filesystem::path(options.dataFolder);
    if (std::error_code ec; !std::filesystem::is_directory(dataFolder, ec)) {
        return Refused("--data: " + ShownInMessage(dataFolder.string()) + " is not a folder");
    }
    std::string messages;
    ErrorStreamNotices notices(messages);
    reading = FullReadingDataBuffer(chart, options.readingOrder, dataFolder, notices);
    Outcome outcome;
    outcome.message =
        reading.missing.empty() ? messages : MissingEntriesMessage(reading.missing.size());
    return outcome;
}

// The full reading, written exactly as Save writes a data buffer that holds
// only it: to the file atomically, or into `output` for standard output.
Outcome WriteReading(const ChartToolOptions& options, const BirthChart& chart,
                     const std::filesystem::path& programFolder, std::string& output) {
    ReadingBuffer reading;
    Outcome outcome = ComposeReading(options, chart, programFolder, reading);
    if (outcome.status != kExitSuccess) {
        return outcome;
    }
    if (options.readingPath == "-") {
        StringWriter writer;
        WriteDataFile("-", reading.lines, writer);
        output = std::move(writer.text);
    } else {
        AtomicFileWriter writer;
        if (std::string error = WriteDataFile(options.readingPath, reading.lines, writer);
            !error.empty()) {
            return Failed("--reading: " + options.readingPath + ": " + error);
        }
    }
    return outcome;
}

// The wheel and the PDF (the wheel page, then the full reading), after the
// chart is known and before anything is printed.
Outcome Draw(const ChartToolOptions& options, const BirthChart& chart,
             const std::filesystem::path& programFolder, ChartDrawing* drawing) {
    if (options.wheelPath.empty() && options.pdfPath.empty()) {
        return {};
    }
    if (drawing == nullptr) {
        return Failed(std::string(options.wheelPath.empty() ? "--pdf" : "--wheel") +
                      ": drawing is not available in this program");
    }
    if (!options.wheelPath.empty()) {
        if (std::string error = drawing->WriteWheel(chart, options.wheelPath, options.wheelSize);
            !error.empty()) {
            return Failed("--wheel: " + error);
        }
    }
    Outcome outcome;
    if (!options.pdfPath.empty()) {
        ReadingBuffer reading;
        outcome = ComposeReading(options, chart, programFolder, reading);
        if (outcome.status != kExitSuccess) {
            return outcome;
        }
        std::vector<std::string> lines;
        lines.reserve(reading.lines.size());
        for (const Line& line : reading.lines) {
            lines.push_back(Cp1252ToUtf8(line.View()));
        }
        const std::string title = chart.input.name.empty() ? "Tolvaris" : chart.input.name;
        if (std::string error = drawing->WritePdf(chart, options.pdfPath, title, lines);
            !error.empty()) {
            return Failed("--pdf: " + error);
        }
    }
    return outcome;
}

Outcome ComputeAndFormat(ChartToolOptions& options, const std::filesystem::path& programFolder,
                         ChartDrawing* drawing, std::string& output) {
    if (Outcome resolved = ResolveBirth(options, programFolder); resolved.status != kExitSuccess) {
        return resolved;
    }
    Ephemeris ephemeris;
    BirthChartResult result = ComputeBirthChart(ephemeris, options.birth);
    if (!result.Ok()) {
        switch (result.error.kind) {
            case ErrorKind::Library:
            case ErrorKind::File:
                // The ephemeris library failed: nothing the user can mend.
                return Failed(result.error.message);
            case ErrorKind::RepeatedTime:
                // Here the choice is an option, so say which.
                return Refused("--time: " + result.error.message +
                               " Choose one with --fold earlier or --fold later.");
            case ErrorKind::Input:
                break;
        }
        return Refused(result.error.message);
    }
    if (!options.savePath.empty()) {
        AtomicFileWriter writer;
        if (std::string error = WriteChartFile(options.savePath, options.birth, writer);
            !error.empty()) {
            return Failed("--save: " + options.savePath + ": " + error);
        }
    }
    Outcome outcome = Draw(options, *result.value, programFolder, drawing);
    if (outcome.status != kExitSuccess) {
        return outcome;
    }
    if (!options.readingPath.empty()) {
        outcome = WriteReading(options, *result.value, programFolder, output);
        if (outcome.status != kExitSuccess || options.readingPath == "-") {
            return outcome;
        }
    }
    // A run that writes a reading, a wheel or a PDF prints no table: its
    // output is the file. JSON is printed whenever it is asked for.
    const bool writesFiles =
        !options.readingPath.empty() || !options.wheelPath.empty() || !options.pdfPath.empty();
    output = options.json  ? FormatChartJson(*result.value)
             : writesFiles ? std::string()
                           : FormatChartTable(*result.value);
    return outcome;
}

}  // namespace

int RunChartTool(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err,
                 const std::filesystem::path& programFolder, ChartDrawing* drawing) {
    CommandLineParse parsed = ParseCommandLine(arguments);
    if (!parsed.value) {
        err << kProgram << OneLineMessage(parsed.error) << '\n';
        return kExitRefused;
    }
    ChartToolOptions& options = *parsed.value;
    std::string output;
    Outcome outcome;
    switch (options.mode) {
        case ChartToolMode::Help:
            output = ChartToolUsage();
            break;
        case ChartToolMode::Places:
            outcome = ListPlaces(options, programFolder, output);
            break;
        case ChartToolMode::Chart:
        case ChartToolMode::OpenFile:
            outcome = ComputeAndFormat(options, programFolder, drawing, output);
            break;
    }
    if (outcome.status != kExitSuccess) {
        err << kProgram << OneLineMessage(outcome.message) << '\n';
        return outcome.status;
    }
    if (!outcome.message.empty()) {
        err << kProgram << OneLineMessage(outcome.message) << '\n';
    }
    // Nothing is written before the whole result is known, so a refusal
    // never leaves half a table on standard output.
    out << output;
    out.flush();
    if (!out) {
        err << kProgram << "the result could not be written to standard output.\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace tolvaris
