#include "cli/collection_tool.h"

#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "cli/chart_json.h"
#include "cli/chart_tool.h"
#include "cli/json_text.h"
#include "core/chart/message_text.h"
#include "core/collection/collection_import.h"
#include "core/collection/sqlite_collection.h"
#include "core/ephemeris/ephemeris.h"

namespace tolvaris {
namespace {

constexpr std::string_view kProgram = "tolvaris-chart: ";
// Beyond any chart file a person keeps (50,000 AAF records are about 5 MB).
constexpr std::uintmax_t kMaxRecordFileBytes = std::uintmax_t{1} << 30;

constexpr std::array<std::string_view, 4> kCommands = {"--batch", "--import", "--export-aaf",
                                                       "--find"};

struct CollectionCommand {
    std::string_view command;
    std::string value;
    std::string tag;         // --tag, with --export-aaf
    std::string collection;  // --collection; empty: the default file
};

// "--option value" or "--option=value".
std::string ParseCommand(std::span<const std::string_view> arguments, CollectionCommand& parsed) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view name = arguments[i];
        std::optional<std::string_view> value;
        if (const std::size_t equals = name.find('='); equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        if (!value) {
            return std::string(name) + " needs a value";
        }
        std::string* target = nullptr;
        if (i <= 1 && name == parsed.command) {
            target = &parsed.value;
        } else if (name == "--tag" && parsed.command == "--export-aaf") {
            target = &parsed.tag;
        } else if (name == "--collection" && parsed.command != "--batch") {
            target = &parsed.collection;
        } else {
            return std::string(parsed.command) + " cannot be combined with \"" +
                   ShownInMessage(name) + "\"";
        }
        if (!target->empty()) {
            return std::string(name) + " is given twice";
        }
        *target = *value;
    }
    if (parsed.value.empty()) {
        return std::string(parsed.command) + " needs a value";
    }
    return {};
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = path + ": " +
                (std::filesystem::exists(path, ec) ? "not an ordinary file" : "no such file");
        return false;
    }
    if (std::filesystem::file_size(path, ec) > kMaxRecordFileBytes) {
        error = path + ": larger than 1 GiB";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad() || !in.is_open()) {
        error = path + ": could not be read";
        return false;
    }
    return true;
}

// The chart JSON on one line with the record's number and line first.
void AppendRecordJson(std::string& out, std::size_t number, int line, const std::string& json) {
    out += "{\"record\": " + std::to_string(number) + ", \"line\": " + std::to_string(line) + ", ";
    for (std::size_t i = 1; i < json.size(); ++i) {
        // Line breaks in the object are only between members: strings
        // escape theirs.
        if (json[i] != '\n') {
            out += json[i];
        }
    }
    out += '\n';
}

int RunBatch(const CollectionCommand& command, std::ostream& out, std::ostream& err) {
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(command.value, bytes, error)) {
        err << kProgram << "--batch: " << OneLineMessage(error) << '\n';
        return kExitRefused;
    }
    const ChartRecordFile file = ReadChartRecords(bytes);
    if (!file.format) {
        err << kProgram << "--batch: " << command.value << ": " << file.error << '\n';
        return kExitRefused;
    }
    Ephemeris ephemeris;
    bool refused = false;
    std::string text;
    constexpr std::size_t kFlushBytes = std::size_t{1} << 20;
    for (std::size_t i = 0; i < file.records.size(); ++i) {
        const ChartRecord& record = file.records[i];
        std::string message = record.error;
        if (record.birth) {
            const BirthChartResult chart = ComputeBirthChart(ephemeris, *record.birth);
            if (chart.Ok()) {
                AppendRecordJson(text, i + 1, record.line, FormatChartJson(*chart.value));
            } else {
                message = chart.error.message;
            }
        }
        if (!message.empty()) {
            refused = true;
            text += "{\"record\": " + std::to_string(i + 1) +
                    ", \"line\": " + std::to_string(record.line) +
                    ", \"error\": " + JsonString(OneLineMessage(message)) + "}\n";
        }
        if (text.size() > kFlushBytes) {
            out << text;
            text.clear();
        }
    }
    out << text;
    out.flush();
    if (!out) {
        err << kProgram << "the result could not be written to standard output\n";
        return kExitFailure;
    }
    return refused ? kExitRefused : kExitSuccess;
}

std::filesystem::path CollectionPath(const CollectionCommand& command) {
    return command.collection.empty() ? DefaultCollectionPath()
                                      : std::filesystem::path(command.collection);
}

int RunWithCollection(const CollectionCommand& command, std::ostream& out, std::ostream& err) {
    const std::filesystem::path path = CollectionPath(command);
    if (path.empty()) {
        err << kProgram
            << "the chart collection has no place: neither XDG_DATA_HOME nor HOME "
               "is set\n";
        return kExitFailure;
    }
    std::string bytes;
    if (command.command == "--import") {
        // The file first: a missing one should not create an empty collection.
        if (std::string error; !ReadWholeFile(command.value, bytes, error)) {
            err << kProgram << "--import: " << OneLineMessage(error) << '\n';
            return kExitRefused;
        }
    }
    ChartRecordFile file;
    if (command.command == "--import") {
        file = ReadChartRecords(bytes);
        if (!file.format) {
            err << kProgram << "--import: " << command.value << ": " << file.error << '\n';
            return kExitRefused;
        }
    }
    CollectionOpen open = OpenChartCollection(path);
    if (!open.value) {
        err << kProgram << OneLineMessage(open.error) << '\n';
        return kExitFailure;
    }
    ChartCollection& collection = *open.value;
    if (command.command == "--find") {
        const std::vector<ChartListing> found = collection.Search(command.value, SIZE_MAX);
        if (found.empty()) {
            err << kProgram << "--find: no chart in the collection matches \""
                << ShownInMessage(command.value) << "\"\n";
            return kExitRefused;
        }
        std::string text;
        for (const ChartListing& listing : found) {
            text += OneLineMessage(listing.name) + "\t" + listing.birthDate + "\t" +
                    OneLineMessage(listing.place) + "\t" + listing.tags + "\n";
        }
        out << text;
        out.flush();
        return out ? kExitSuccess : kExitFailure;
    }
    if (command.command == "--export-aaf") {
        const ExportSummary exported = ExportCollectionAaf(collection, command.tag, command.value);
        if (!exported.error.empty()) {
            err << kProgram << "--export-aaf: " << command.value << ": "
                << OneLineMessage(exported.error) << '\n';
            return kExitFailure;
        }
        err << kProgram << exported.written << " charts written to " << command.value << '\n';
        return kExitSuccess;
    }
    const ImportSummary summary = ImportChartRecords(collection, file.records);
    for (const std::string& refusal : summary.refusals) {
        err << kProgram << command.value << ", " << OneLineMessage(refusal) << '\n';
    }
    err << kProgram << command.value << " (" << RecordFormatName(*file.format)
        << "): " << summary.added << " charts added, " << summary.alreadyThere
        << " already in the collection, " << summary.refusals.size() << " refused\n";
    if (!summary.error.empty()) {
        err << kProgram << OneLineMessage(summary.error)
            << "; the charts added before it are kept\n";
        return kExitFailure;
    }
    return summary.refusals.empty() ? kExitSuccess : kExitRefused;
}

}  // namespace

std::optional<int> RunCollectionTool(std::span<const std::string_view> arguments, std::ostream& out,
                                     std::ostream& err) {
    if (arguments.empty()) {
        return std::nullopt;
    }
    CollectionCommand command;
    for (const std::string_view name : kCommands) {
        const std::string_view first = arguments.front();
        if (first == name ||
            (first.starts_with(name) && first.size() > name.size() && first[name.size()] == '=')) {
            command.command = name;
        }
    }
    if (command.command.empty()) {
        return std::nullopt;
    }
    if (std::string error = ParseCommand(arguments, command); !error.empty()) {
        err << kProgram << OneLineMessage(error) << '\n';
        return kExitRefused;
    }
    if (command.command == "--batch") {
        return RunBatch(command, out, err);
    }
    return RunWithCollection(command, out, err);
}

std::string_view CollectionToolUsage() {
    return "\n"
           "Collection and batch work (each its own run):\n"
           "       tolvaris-chart --batch FILE\n"
           "       tolvaris-chart --import FILE [--collection DB]\n"
           "       tolvaris-chart --export-aaf FILE [--tag TAG] [--collection DB]\n"
           "       tolvaris-chart --find TEXT [--collection DB]\n"
           "\n"
           "  --batch       compute every chart of an AAF, Quick*Chart or CSV file, or of\n"
           "                a chart file (told apart by content): one JSON object a\n"
           "                line, with \"record\" and \"line\", or \"error\" for a\n"
           "                refused record (status 2)\n"
           "  --import      add a file's charts to the collection; a chart already\n"
           "                there is not added again\n"
           "  --export-aaf  write the collection's charts (those tagged TAG) as AAF\n"
           "  --find        the charts whose name, place or tags hold every word, or\n"
           "                born in a year given: name TAB date TAB place TAB tags\n"
           "  --collection  the collection file (default\n"
           "                $XDG_DATA_HOME/tolvaris/charts.sqlite)\n";
}

}  // namespace tolvaris
