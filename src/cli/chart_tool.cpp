#include "cli/chart_tool.h"

#include <array>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/chart_json.h"
#include "cli/chart_table.h"
#include "cli/collection_tool.h"
#include "cli/command_line.h"
#include "cli/forecast_json.h"
#include "cli/progression_json.h"
#include "cli/relation_output.h"
#include "core/atlas/atlas.h"
#include "core/chart/chart_file.h"
#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"
#include "core/common/cp1252.h"
#include "core/forecast/forecast_calendar.h"
#include "core/output/saving.h"
#include "core/reading/forecast_reading.h"
#include "core/reading/progression_reading.h"
#include "core/reading/relationship_reading.h"
#include "core/reading/return_reading.h"
#include "core/relation/relation.h"
#include "core/time/time_format.h"
#include "core/time/zone_periods.h"

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
        // The atlas is installed data, so a zone the tz database lacks is
        // the atlas's fault: say which file and which place.
        if (!TimeZoneExists(place.zone)) {
            return Failed("--place: the atlas " + (programFolder / "atlas.tsv").string() +
                          " gives " + PlaceTitle(place) + " the time zone \"" +
                          ShownInMessage(place.zone) + "\", which the time zone database lacks");
        }
        options.birth.zone = place.zone;
    }
    return {};
}

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

// What --transits computed, for the page, the JSON, the table and the
// calendar.
struct Forecast {
    ForecastRange range;
    TransitSearch search;
};

// The display zone the forecast's dates are read and shown in.
std::string DisplayZoneFor(const ForecastOptions& asked, const BirthData& birth,
                           std::vector<std::string>& notes) {
    if (!asked.displayZone.empty()) {
        return asked.displayZone;
    }
    if (birth.utcOffsetSeconds || birth.zone.empty()) {
        // A fixed offset has no history to apply to other dates: a zone
        // chosen for the user could be wrong by an hour half the year.
        notes.emplace_back(
            "The chart gives a UTC offset, not a time zone, so the forecast's "
            "dates and times are in UTC; --display-zone chooses a zone.");
        return "UTC";
    }
    return birth.zone;
}

Outcome ComputeForecast(const ForecastOptions& asked, Ephemeris& ephemeris, const BirthChart& chart,
                        Forecast& forecast) {
    std::vector<std::string> notes;
    const std::string zone = DisplayZoneFor(asked, chart.input, notes);
    Result<ForecastRange> range = DayRangeInZone(asked.first, asked.last, zone);
    if (!range) {
        return Refused("--transits: " + range.Failure().message);
    }
    forecast.range = std::move(range.Value());
    forecast.search = FindTransits(ephemeris, chart.chart, forecast.range.span, asked.settings);
    if (!forecast.search.Ok()) {
        return Failed("--transits: " + forecast.search.error);
    }
    forecast.search.notes.insert(forecast.search.notes.end(), notes.begin(), notes.end());
    return {};
}

// The birth as the calendar's identifiers know it: everything the chart
// was computed from and the name, which tells two people apart.
std::string BirthIdentity(const BirthData& birth) {
    return birth.name + "|" + FormatIsoDate(birth.date) + "|" +
           (birth.time ? FormatIsoTime(*birth.time) : std::string("unknown")) + "|" +
           FormatShortestDecimal(birth.latitude) + "|" + FormatShortestDecimal(birth.longitude) +
           "|" + (birth.utcOffsetSeconds ? FormatUtcOffset(*birth.utcOffsetSeconds) : birth.zone);
}

// The full reading of the chart, or its forecast, from the library the
// options name; on success the outcome's message tells of missing entries
// or a full buffer.
using ReadingComposer = std::function<ReadingBuffer(const std::filesystem::path&, Notices&)>;

// A reading from the library the options name; on success the outcome's
// message tells of missing entries or a full buffer.
Outcome ComposeFromLibrary(const ChartToolOptions& options,
                           const std::filesystem::path& programFolder,
                           const ReadingComposer& compose, ReadingBuffer& reading) {
    const std::filesystem::path dataFolder =
        options.dataFolder.empty() ? programFolder : std::filesystem::path(options.dataFolder);
    if (std::error_code ec; !std::filesystem::is_directory(dataFolder, ec)) {
        return Refused("--data: " + ShownInMessage(dataFolder.string()) + " is not a folder");
    }
    std::string messages;
    ErrorStreamNotices notices(messages);
    reading = compose(dataFolder, notices);
    Outcome outcome;
    outcome.message =
        reading.missing.empty() ? messages : MissingEntriesMessage(reading.missing.size());
    return outcome;
}

Outcome ComposeReading(const ChartToolOptions& options, const BirthChart& chart,
                       const Forecast* forecast, const std::filesystem::path& programFolder,
                       ReadingBuffer& reading) {
    return ComposeFromLibrary(
        options, programFolder,
        [&](const std::filesystem::path& dataFolder, Notices& notices) {
            if (forecast != nullptr) {
                const ForecastSubject subject{chart, forecast->range, options.forecast->settings,
                                              forecast->search};
                return ForecastDataBuffer(subject, dataFolder, notices);
            }
            return FullReadingDataBuffer(chart, options.readingOrder, dataFolder, notices);
        },
        reading);
}

// The files a run writes, in order, and what is said when one fails after
// others were written.
class WrittenFiles {
public:
    void Add(const std::string& path) { paths_.push_back(path); }
    std::string Note() const {
        if (paths_.empty()) {
            return {};
        }
        std::string note = " (already written: ";
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            note += (i == 0 ? "" : ", ") + paths_[i];
        }
        return note + ")";
    }

private:
    std::vector<std::string> paths_;
};

// --pdf or --html: a report of the reading.
bool Reports(const ChartToolOptions& options) {
    return !options.pdfPath.empty() || !options.htmlPath.empty();
}

// What the PDF holds before the reading's pages: the wheel page of a chart,
// or nothing (a forecast, a composite), and a forecast's timeline.
struct PdfPages {
    const BirthChart* wheelPage = nullptr;
    const Forecast* forecast = nullptr;  // its timeline instead of a wheel page
};

// The wheel, the PDF (the wheel page, then the full reading; a forecast's
// pages alone), the reading file, the calendar and the chart file, once
// everything in them is known.
Outcome WriteFiles(const ChartToolOptions& options, const BirthChart& chart, const PdfPages& pdf,
                   const ReadingBuffer& reading, const std::string& calendar, ChartDrawing* drawing,
                   WrittenFiles& written) {
    if (!options.wheelPath.empty()) {
        if (std::string error = drawing->WriteWheel(chart, options.wheelPath, options.wheelSize,
                                                    !options.wheelBare);
            !error.empty()) {
            return Failed("--wheel: " + error + written.Note());
        }
        written.Add(options.wheelPath);
    }
    // The report: the chart's first page, then the reading typeset.
    for (const bool html : {false, true}) {
        const std::string& path = html ? options.htmlPath : options.pdfPath;
        if (path.empty()) {
            continue;
        }
        const TransitSearch* search = pdf.forecast != nullptr ? &pdf.forecast->search : nullptr;
        const std::string error = drawing->WriteReport(
            pdf.wheelPage != nullptr ? *pdf.wheelPage : chart, path, reading.document, html,
            pdf.wheelPage != nullptr || search != nullptr, search,
            search != nullptr ? pdf.forecast->range.span : TransitSpan{},
            search != nullptr ? pdf.forecast->range.displayZone : "");
        if (!error.empty()) {
            return Failed((html ? "--html: " : "--pdf: ") + error + written.Note());
        }
        written.Add(path);
    }
    if (!options.readingPath.empty() && options.readingPath != "-") {
        AtomicFileWriter writer;
        if (std::string error = WriteDataFile(options.readingPath, reading.lines, writer);
            !error.empty()) {
            return Failed("--reading: " + options.readingPath + ": " + error + written.Note());
        }
        written.Add(options.readingPath);
    }
    if (options.forecast && !options.forecast->icsPath.empty() &&
        options.forecast->icsPath != "-") {
        const std::string& path = options.forecast->icsPath;
        AtomicFileWriter writer;
        if (std::string error = writer.Write(
                path, [&calendar](const AtomicFileWriter::Sink& sink) { sink(calendar); });
            !error.empty()) {
            return Failed("--ics: " + path + ": " + error + written.Note());
        }
        written.Add(path);
    }
    if (!options.savePath.empty()) {
        AtomicFileWriter writer;
        if (std::string error = WriteChartFile(options.savePath, options.birth, writer);
            !error.empty()) {
            return Failed("--save: " + options.savePath + ": " + error + written.Note());
        }
        written.Add(options.savePath);
    }
    return {};
}

Outcome CheckDrawing(const ChartToolOptions& options, const ChartDrawing* drawing) {
    if ((!options.wheelPath.empty() || Reports(options)) && drawing == nullptr) {
        return Failed(std::string(options.wheelPath.empty() ? "--pdf" : "--wheel") +
                      ": drawing is not available in this program");
    }
    return {};
}

// The chart file given with --with, computed.
Outcome ComputeSecondChart(const ChartToolOptions& options, Ephemeris& ephemeris,
                           std::optional<BirthChart>& second) {
    ChartFileResult read = ReadChartFile(options.withPath);
    if (!read.value) {
        return Refused("--with: " + read.error);
    }
    BirthChartResult result = ComputeBirthChart(ephemeris, *read.value);
    if (!result.Ok()) {
        const bool library =
            result.error.kind == ErrorKind::Library || result.error.kind == ErrorKind::File;
        return {library ? kExitFailure : kExitRefused,
                "--with: " + options.withPath + ": " + result.error.message};
    }
    second = std::move(result.value);
    return {};
}

// --with: the synastry of the two charts, or their composite or Davison
// chart, each with its table, JSON, reading, wheel and PDF.
Outcome ComputePair(const ChartToolOptions& options, Ephemeris& ephemeris, const BirthChart& first,
                    const std::filesystem::path& programFolder, ChartDrawing* drawing,
                    std::string& output, WrittenFiles& written) {
    std::optional<BirthChart> second;
    if (Outcome computed = ComputeSecondChart(options, ephemeris, second);
        computed.status != kExitSuccess) {
        return computed;
    }
    const bool reads = !options.readingPath.empty() || Reports(options);
    const bool writesFiles =
        !options.readingPath.empty() || !options.wheelPath.empty() || Reports(options);
    const std::string pair = PairName(first.input.name, second->input.name);
    ReadingBuffer reading;
    Outcome outcome;
    // The chart whose wheel --wheel draws, and the PDF's pages.
    BirthChart wheel;
    PdfPages pdf;
    // A synastry's wheels are bi-wheels with this chart on the outer ring.
    const BirthChart* outerRing = nullptr;
    std::string json;
    std::string table;
    if (options.pair == PairChart::Davison) {
        DavisonResult davison = ComputeDavison(ephemeris, first, *second);
        if (!davison.Ok()) {
            return Failed("--davison: " + davison.error);
        }
        wheel = std::move(*davison.value);
        pdf = {&wheel};
        if (reads) {
            outcome = ComposeFromLibrary(
                options, programFolder,
                [&](const std::filesystem::path& dataFolder, Notices& notices) {
                    return FullReadingDataBuffer(wheel, options.readingOrder, dataFolder, notices);
                },
                reading);
        }
        json = options.json ? FormatChartJson(wheel) : std::string();
        table = FormatChartTable(wheel);
    } else {
        CompositeResult composite = ComputeComposite(ephemeris, first, *second);
        if (!composite.Ok()) {
            return Failed(
                std::string(options.pair == PairChart::Composite ? "--composite: " : "--with: ") +
                composite.error);
        }
        const Synastry synastry = ComputeSynastry(first.chart, second->chart, first.input.orbs);
        const RelationshipSubject subject{first, *second, synastry, *composite.value};
        if (options.pair == PairChart::Composite) {
            wheel.input.name = "Composite: " + pair;
            wheel.chart = composite.value->chart;
            wheel.notes = composite.value->notes;
            pdf = {};
            json = options.json ? FormatCompositeJson(*composite.value) : std::string();
            table = FormatCompositeTable(*composite.value);
        } else {
            // The bi-wheel: the first chart inside, the second around it.
            wheel = first;
            pdf = {&wheel};
            outerRing = &*second;
            json = options.json ? FormatSynastryJson(first, *second, synastry) : std::string();
            table = FormatSynastryTable(first, *second, synastry);
        }
        if (reads) {
            const bool compositeOnly = options.pair == PairChart::Composite;
            outcome = ComposeFromLibrary(
                options, programFolder,
                [&](const std::filesystem::path& dataFolder, Notices& notices) {
                    return compositeOnly ? ComposeWithoutWindow(dataFolder, notices,
                                                                CompositeContent(*composite.value))
                                         : RelationshipDataBuffer(subject, dataFolder, notices);
                },
                reading);
        }
    }
    if (outcome.status != kExitSuccess) {
        return outcome;
    }
    if (Outcome drawable = CheckDrawing(options, drawing); drawable.status != kExitSuccess) {
        return drawable;
    }
    output = options.readingPath == "-" ? DataFileText(reading.lines)
             : options.json             ? json
             : writesFiles              ? std::string()
                                        : table;
    if (drawing != nullptr) {
        drawing->SetSecondChart(outerRing);
    }
    Outcome wrote = WriteFiles(options, wheel, pdf, reading, {}, drawing, written);
    if (drawing != nullptr) {
        // The second chart ends here; later drawings are of one chart.
        drawing->SetSecondChart(nullptr);
    }
    return wrote.status != kExitSuccess ? wrote : outcome;
}

// The display zone of --transits' options, for a technique's.
std::string TechniqueZone(const TechniqueOptions& asked, const BirthData& birth,
                          std::vector<std::string>& notes) {
    ForecastOptions forecast;
    forecast.displayZone = asked.displayZone;
    return DisplayZoneFor(forecast, birth, notes);
}

std::string TechniqueName(TimeTechnique technique) {
    switch (technique) {
        case TimeTechnique::Progressed:
            return "--progressed";
        case TimeTechnique::Progressions:
            return "--progressions";
        case TimeTechnique::SolarReturn:
            return "--solar-return";
        case TimeTechnique::LunarReturn:
            return "--lunar-return";
    }
    return {};
}

// A date's 00:00 in the display zone.
Outcome StartOfDay(const CivilDate& date, const std::string& zone, const std::string& option,
                   std::int64_t& utSeconds) {
    Result<ForecastRange> day = DayRangeInZone(date, date, zone);
    if (!day) {
        return Refused(option + ": " + day.Failure().message);
    }
    utSeconds = day.Value().span.fromUt;
    return {};
}

// For a year without a solar return: "; 1990 and 1992 have one".
std::string YearsWithReturn(Ephemeris& ephemeris, const Chart& natal, int year,
                            const std::string& zone) {
    std::string years;
    for (const int other : {year - 1, year + 1}) {
        if (SolarReturnInYear(ephemeris, natal, other, zone)) {
            years += (years.empty() ? "" : " and ") + std::to_string(other);
        }
    }
    if (years.empty()) {
        return ".";
    }
    return "; " + years + (years.find(' ') == std::string::npos ? " has one." : " have one.");
}

// Where the return is cast: the place asked for with --open, else the
// birthplace.
Outcome ResolveReturnPlace(const TechniqueOptions& asked, const BirthChart& natal,
                           const std::filesystem::path& programFolder, ReturnPlace& place) {
    place = BirthplaceOf(natal);
    if (natal.input.utcOffsetSeconds && asked.placeQuery.empty() && !asked.latitude) {
        // A fixed offset has no zone to tell the return's local time by.
        place.zone.clear();
    }
    if (asked.latitude && asked.longitude) {
        place = {{}, *asked.latitude, *asked.longitude, asked.zone};
        return {};
    }
    if (asked.placeQuery.empty()) {
        return {};
    }
    Outcome outcome;
    const std::optional<Atlas> atlas = LoadAtlas(programFolder, outcome);
    if (!atlas) {
        return outcome;
    }
    const std::vector<Place> found = atlas->Search(asked.placeQuery, 1);
    if (found.empty()) {
        return Refused("--place: no place matches \"" + ShownInMessage(asked.placeQuery) +
                       "\"; --places lists what the atlas knows.");
    }
    const Place& match = found.front();
    place = {PlaceTitle(match), match.latitude, match.longitude,
             asked.zone.empty() ? match.zone : asked.zone};
    if (!TimeZoneExists(place.zone)) {
        return Failed("--place: the atlas gives " + PlaceTitle(match) + " the time zone \"" +
                      ShownInMessage(place.zone) + "\", which the time zone database lacks");
    }
    return {};
}

// --progressed, --progressions, --solar-return, --lunar-return: everything
// computed, then the output and the files.
Outcome ComputeTechnique(const ChartToolOptions& options, Ephemeris& ephemeris,
                         const BirthChart& natal, const std::filesystem::path& programFolder,
                         ChartDrawing* drawing, std::string& output, WrittenFiles& written) {
    const TechniqueOptions& asked = *options.technique;
    const std::string option = TechniqueName(asked.technique);
    std::vector<std::string> zoneNotes;
    const std::string zone = TechniqueZone(asked, natal.input, zoneNotes);
    const double latitude = natal.input.latitude;
    const bool writesFiles =
        !options.readingPath.empty() || !options.wheelPath.empty() || Reports(options);
    ReadingBuffer reading;
    Outcome outcome;
    // The chart --wheel and the PDF's wheel page draw: the return chart.
    std::optional<BirthChart> returnChart;
    PdfPages pdf;
    ReadingComposer compose;
    // Both stay alive until the reading is composed.
    ForecastRange range;
    ProgressionSearch search;
    const ProgressionSettings settings;
    std::optional<SolarReturn> solar;
    switch (asked.technique) {
        case TimeTechnique::Progressed: {
            std::int64_t target = 0;
            if (asked.instantUt) {
                target = *asked.instantUt;
            } else if (Outcome day = StartOfDay(asked.first, zone, option, target);
                       day.status != kExitSuccess) {
                return day;
            }
            ProgressedChartResult progressed =
                ComputeProgressedChart(ephemeris, natal.chart, latitude, target);
            if (!progressed.Ok()) {
                return Failed(option + ": " + progressed.error);
            }
            progressed.chart->notes.insert(progressed.chart->notes.end(), zoneNotes.begin(),
                                           zoneNotes.end());
            output = options.json ? FormatProgressedJson(natal, *progressed.chart)
                                  : FormatProgressedTable(*progressed.chart, zone);
            break;
        }
        case TimeTechnique::Progressions: {
            Result<ForecastRange> days = DayRangeInZone(asked.first, asked.last, zone);
            if (!days) {
                return Refused(option + ": " + days.Failure().message);
            }
            range = std::move(days.Value());
            search = FindProgressions(ephemeris, natal.chart, latitude, range.span, settings);
            if (!search.Ok()) {
                return Failed(option + ": " + search.error);
            }
            search.notes.insert(search.notes.end(), zoneNotes.begin(), zoneNotes.end());
            compose = [&](const std::filesystem::path& dataFolder, Notices& notices) {
                return ProgressionDataBuffer({natal, range, settings, search}, dataFolder, notices);
            };
            pdf = {&natal};
            output = options.json ? FormatProgressionsJson(natal, range, settings, search)
                                  : FormatProgressionsTable(range, search);
            break;
        }
        case TimeTechnique::SolarReturn:
        case TimeTechnique::LunarReturn: {
            ReturnPlace place;
            if (Outcome placed = ResolveReturnPlace(asked, natal, programFolder, place);
                placed.status != kExitSuccess) {
                return placed;
            }
            ReturnMoment moment{};
            std::string title;
            const bool isSolar = asked.technique == TimeTechnique::SolarReturn;
            if (isSolar) {
                Result<SolarReturn> found =
                    SolarReturnInYear(ephemeris, natal.chart, asked.year, zone);
                if (!found) {
                    if (found.Failure().kind == ErrorKind::Library) {
                        return Failed(option + ": " + found.Failure().message);
                    }
                    return Refused(option + ": " + found.Failure().message +
                                   YearsWithReturn(ephemeris, natal.chart, asked.year, zone));
                }
                solar = found.Value();
                moment = solar->moment;
                title = "solar return " + std::to_string(asked.year);
            } else {
                std::int64_t from = 0;
                if (Outcome day = StartOfDay(asked.first, zone, option, from);
                    day.status != kExitSuccess) {
                    return day;
                }
                Result<ReturnMoment> found = LunarReturnAtOrAfter(ephemeris, natal.chart, from);
                if (!found) {
                    const bool library = found.Failure().kind == ErrorKind::Library;
                    return {library ? kExitFailure : kExitRefused,
                            option + ": " + found.Failure().message};
                }
                moment = found.Value();
                // Named by the day it falls on where it is cast.
                const std::string where = place.zone.empty() ? "UTC" : place.zone;
                title = "lunar return " + FormatLocalIso(where, moment.utSeconds).substr(0, 10);
            }
            BirthChartResult cast = ReturnBirthChart(ephemeris, natal, moment, place, title);
            if (!cast.Ok()) {
                const bool library =
                    cast.error.kind == ErrorKind::Library || cast.error.kind == ErrorKind::File;
                return {library ? kExitFailure : kExitRefused, option + ": " + cast.error.message};
            }
            returnChart = std::move(cast.value);
            for (const std::string& note :
                 {solar ? solar->note : std::string(),
                  ReturnTimeNote(natal.chart, isSolar ? Point::Sun : Point::Moon)}) {
                if (!note.empty()) {
                    returnChart->notes.push_back(note);
                }
            }
            if (isSolar) {
                compose = [&](const std::filesystem::path& dataFolder, Notices& notices) {
                    return SolarReturnDataBuffer({natal, asked.year, *solar, *returnChart},
                                                 dataFolder, notices);
                };
            }
            pdf = {&*returnChart};
            output = options.json ? FormatReturnJson(natal, *returnChart)
                                  : FormatChartTable(*returnChart);
            break;
        }
    }
    if (compose && (!options.readingPath.empty() || Reports(options))) {
        outcome = ComposeFromLibrary(options, programFolder, compose, reading);
        if (outcome.status != kExitSuccess) {
            return outcome;
        }
    }
    if (Outcome drawable = CheckDrawing(options, drawing); drawable.status != kExitSuccess) {
        return drawable;
    }
    if (options.readingPath == "-") {
        output = DataFileText(reading.lines);
    } else if (!options.json && writesFiles) {
        output.clear();
    }
    const BirthChart& wheel = returnChart ? *returnChart : natal;
    if (Outcome wrote = WriteFiles(options, wheel, pdf, reading, {}, drawing, written);
        wrote.status != kExitSuccess) {
        return wrote;
    }
    return outcome;
}

Outcome ComputeAndFormat(ChartToolOptions& options, const std::filesystem::path& programFolder,
                         ChartDrawing* drawing, std::string& output, WrittenFiles& written) {
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
    if (options.technique) {
        return ComputeTechnique(options, ephemeris, *result.value, programFolder, drawing, output,
                                written);
    }
    if (options.pair != PairChart::None) {
        return ComputePair(options, ephemeris, *result.value, programFolder, drawing, output,
                           written);
    }
    // Everything is computed before the first file is written, so a refusal
    // writes nothing; only a failing write can leave earlier files behind.
    std::optional<Forecast> forecast;
    if (options.forecast) {
        forecast.emplace();
        if (Outcome computed =
                ComputeForecast(*options.forecast, ephemeris, *result.value, *forecast);
            computed.status != kExitSuccess) {
            return computed;
        }
    }
    ReadingBuffer reading;
    Outcome outcome;
    if (!options.readingPath.empty() || Reports(options)) {
        outcome = ComposeReading(options, *result.value, forecast ? &*forecast : nullptr,
                                 programFolder, reading);
        if (outcome.status != kExitSuccess) {
            return outcome;
        }
    }
    if (Outcome drawable = CheckDrawing(options, drawing); drawable.status != kExitSuccess) {
        return drawable;
    }
    // A run that writes a reading, a wheel or a PDF prints no table: its
    // output is the file. JSON is printed whenever it is asked for.
    const std::string icsPath = options.forecast ? options.forecast->icsPath : std::string();
    const bool writesFiles = !options.readingPath.empty() || !options.wheelPath.empty() ||
                             Reports(options) || !icsPath.empty();
    std::string calendar;
    if (!icsPath.empty()) {
        const CalendarSubject subject{BirthIdentity(options.birth), options.birth.name,
                                      forecast->range.displayZone};
        calendar = ForecastCalendar(subject, forecast->search, std::time(nullptr));
    }
    if (forecast) {
        const BirthChart& chart = *result.value;
        output = options.readingPath == "-" ? DataFileText(reading.lines)
                 : icsPath == "-"           ? calendar
                 : options.json             ? FormatForecastJson(chart, forecast->range,
                                                                 options.forecast->settings, forecast->search)
                 : writesFiles              ? std::string()
                               : FormatForecastTable(forecast->range, forecast->search);
    } else {
        output = options.readingPath == "-" ? DataFileText(reading.lines)
                 : options.json             ? FormatChartJson(*result.value)
                 : writesFiles              ? std::string()
                                            : FormatChartTable(*result.value);
    }
    const BirthChart& chart = *result.value;
    PdfPages pdf{&chart};
    if (options.forecast) {
        pdf = {nullptr, forecast ? &*forecast : nullptr};
    }
    if (Outcome wrote = WriteFiles(options, chart, pdf, reading, calendar, drawing, written);
        wrote.status != kExitSuccess) {
        return wrote;
    }
    return outcome;
}

}  // namespace

int RunChartTool(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err,
                 const std::filesystem::path& programFolder, ChartDrawing* drawing) {
    if (const std::optional<int> status = RunCollectionTool(arguments, out, err)) {
        return *status;
    }
    CommandLineParse parsed = ParseCommandLine(arguments);
    if (!parsed.value) {
        err << kProgram << OneLineMessage(parsed.error) << '\n';
        return kExitRefused;
    }
    ChartToolOptions& options = *parsed.value;
    std::string output;
    Outcome outcome;
    WrittenFiles written;
    switch (options.mode) {
        case ChartToolMode::Help:
            output = std::string(ChartToolUsage()) + std::string(CollectionToolUsage());
            break;
        case ChartToolMode::Places:
            outcome = ListPlaces(options, programFolder, output);
            break;
        case ChartToolMode::Chart:
        case ChartToolMode::OpenFile:
            outcome = ComputeAndFormat(options, programFolder, drawing, output, written);
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
        err << kProgram << "the result could not be written to standard output" << written.Note()
            << ".\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace tolvaris
