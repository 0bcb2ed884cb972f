#include "cli/chart_tool.h"

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

namespace tolvaris {
namespace {

constexpr std::string_view kProgram = "tolvaris-chart: ";
constexpr std::size_t kMaxPlacesListed = 50;

struct Outcome {
    int status = kExitSuccess;
    std::string message;  // for `err` when the status is not success
};

Outcome Refused(std::string message) {
    return {kExitRefused, std::move(message)};
}
Outcome Failed(std::string message) {
    return {kExitFailure, std::move(message)};
}

std::optional<Atlas> LoadAtlas(const std::filesystem::path& programFolder, Outcome& outcome) {
    AtlasLoadResult loaded = Atlas::Load(programFolder / "atlas.tsv");
    if (!loaded.Value) {
        outcome = Failed("the place atlas could not be loaded: " + loaded.Error);
    }
    return std::move(loaded.Value);
}

std::string PlaceTitle(const Place& place) {
    std::string title = place.Name;
    if (!place.Region.empty() && place.Region != place.Name) {
        title += ", " + place.Region;
    }
    return title + ", " + place.Country;
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
        output += PlaceTitle(place) + "\t" + FormatShortestDecimal(place.Latitude) + "\t" +
                  FormatShortestDecimal(place.Longitude) + "\t" + place.Zone + "\n";
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
    options.birth.latitude = place.Latitude;
    options.birth.longitude = place.Longitude;
    if (options.birth.zone.empty()) {
        options.birth.zone = place.Zone;
    }
    return {};
}

// Whether the chart computation failed on the input (the usual case) or in
// the ephemeris library itself, which the user cannot mend.
bool IsLibraryFailure(const std::string& error) {
    return error.find(" could not be computed") != std::string::npos;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

// The wheel and the PDF, after the chart is known and before anything is
// printed.
Outcome Draw(const ChartToolOptions& options, const BirthChart& chart, ChartDrawing* drawing) {
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
    if (!options.pdfPath.empty()) {
        // The chart's table for now; the full reading takes its place once
        // the reading can be composed here.
        const std::string title = chart.input.name.empty() ? "Tolvaris" : chart.input.name;
        if (std::string error = drawing->WritePdf(chart, options.pdfPath, title,
                                                  SplitLines(FormatChartTable(chart)));
            !error.empty()) {
            return Failed("--pdf: " + error);
        }
    }
    return {};
}

Outcome ComputeAndFormat(ChartToolOptions& options, const std::filesystem::path& programFolder,
                         ChartDrawing* drawing, std::string& output) {
    if (Outcome resolved = ResolveBirth(options, programFolder); resolved.status != kExitSuccess) {
        return resolved;
    }
    Ephemeris ephemeris;
    BirthChartResult result = ComputeBirthChart(ephemeris, options.birth);
    if (!result.Ok()) {
        if (IsLibraryFailure(result.error)) {
            return Failed(result.error);
        }
        if (result.repeated) {
            // The time library asks to "Choose earlier or later."; here the
            // choice is an option, so say which.
            std::string message = result.error;
            constexpr std::string_view kChoose = " Choose earlier or later.";
            if (message.size() >= kChoose.size() &&
                message.compare(message.size() - kChoose.size(), kChoose.size(), kChoose) == 0) {
                message.resize(message.size() - kChoose.size());
            }
            return Refused("--time: " + message +
                           " Choose one with --fold earlier or --fold later.");
        }
        return Refused(result.error);
    }
    if (!options.savePath.empty()) {
        AtomicFileWriter writer;
        if (std::string error = WriteChartFile(options.savePath, options.birth, writer);
            !error.empty()) {
            return Failed("--save: " + options.savePath + ": " + error);
        }
    }
    if (Outcome drawn = Draw(options, *result.value, drawing); drawn.status != kExitSuccess) {
        return drawn;
    }
    output = options.json ? FormatChartJson(*result.value) : FormatChartTable(*result.value);
    return {};
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
