#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <variant>

#include "core/chart/birth_fields.h"
#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"
#include "core/chart/orbs_text.h"
#include "core/common/cp1252.h"
#include "core/common/utf8.h"
#include "core/ephemeris/house_system.h"
#include "core/ephemeris/ut_instant.h"
#include "core/forecast/forecast_range.h"
#include "core/time/civil_time.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

enum class Option {
    Date,
    Time,
    Place,
    Latitude,
    Longitude,
    Zone,
    UtcOffset,
    Fold,
    Houses,
    Orbs,
    Name,
    Open,
    Places,
    Save,
    Reading,
    Order,
    Data,
    Wheel,
    Size,
    Bare,
    Pdf,
    Html,
    Transits,
    Bodies,
    TransitOrb,
    DisplayZone,
    Ics,
    Progressed,
    Progressions,
    SolarReturn,
    LunarReturn,
    With,
    Composite,
    Davison,
    Json,
    Help
};

struct OptionInfo {
    Option option;
    std::string_view name;
    bool takesValue;
};

constexpr std::array<OptionInfo, 36> kOptions = {{
    {Option::Date, "--date", true},
    {Option::Time, "--time", true},
    {Option::Place, "--place", true},
    {Option::Latitude, "--latitude", true},
    {Option::Longitude, "--longitude", true},
    {Option::Zone, "--zone", true},
    {Option::UtcOffset, "--utc-offset", true},
    {Option::Fold, "--fold", true},
    {Option::Houses, "--houses", true},
    {Option::Orbs, "--orbs", true},
    {Option::Name, "--name", true},
    {Option::Open, "--open", true},
    {Option::Places, "--places", true},
    {Option::Save, "--save", true},
    {Option::Reading, "--reading", true},
    {Option::Order, "--order", true},
    {Option::Data, "--data", true},
    {Option::Wheel, "--wheel", true},
    {Option::Size, "--size", true},
    {Option::Bare, "--bare", false},
    {Option::Pdf, "--pdf", true},
    {Option::Html, "--html", true},
    {Option::Transits, "--transits", true},
    {Option::Bodies, "--bodies", true},
    {Option::TransitOrb, "--transit-orb", true},
    {Option::DisplayZone, "--display-zone", true},
    {Option::Ics, "--ics", true},
    {Option::Progressed, "--progressed", true},
    {Option::Progressions, "--progressions", true},
    {Option::SolarReturn, "--solar-return", true},
    {Option::LunarReturn, "--lunar-return", true},
    {Option::With, "--with", true},
    {Option::Composite, "--composite", false},
    {Option::Davison, "--davison", false},
    {Option::Json, "--json", false},
    {Option::Help, "--help", false},
}};

// The options that describe a birth: --open and --places take none of them.
constexpr std::array<Option, 11> kBirthOptions = {
    Option::Date,      Option::Time, Option::Place,     Option::Latitude,
    Option::Longitude, Option::Zone, Option::UtcOffset, Option::Fold,
    Option::Houses,    Option::Orbs, Option::Name};

// The lines before and after the list of house systems and default orbs,
// which come from their tables.
constexpr std::string_view kUsageStart =
    "Usage: tolvaris-chart --date YYYY-MM-DD --time HH:MM[:SS]|unknown\n"
    "                      (--place NAME | --latitude DEG --longitude DEG\n"
    "                       (--zone ZONE | --utc-offset=+HH:MM))\n"
    "                      [--houses SYSTEM] [--fold earlier|later] [--orbs LIST]\n"
    "                      [--name TEXT] [--save FILE.chart] [--json]\n"
    "                      [--reading FILE|- [--order planets|houses] [--data FOLDER]]\n"
    "                      [--wheel FILE.png|FILE.svg [--size PIXELS] [--bare]]\n"
    "                      [--pdf FILE.pdf]\n"
    "       tolvaris-chart --open FILE.chart [--save FILE.chart] [--json] [--reading ...]\n"
    "                      [--wheel ...] [--pdf ...]\n"
    "       tolvaris-chart (--open FILE.chart | birth data) --transits FROM..TO\n"
    "                      [--bodies LIST|all] [--transit-orb DEGREES]\n"
    "                      [--display-zone ZONE|UTC] [--json | --reading FILE|-]\n"
    "                      [--ics FILE|-] [--pdf FILE.pdf]\n"
    "       tolvaris-chart (--open FILE.chart | birth data) --progressed DATE|INSTANT\n"
    "                      [--display-zone ZONE|UTC] [--json]\n"
    "       tolvaris-chart (--open FILE.chart | birth data) --progressions FROM..TO\n"
    "                      [--display-zone ZONE|UTC] [--json | --reading FILE|-]\n"
    "                      [--pdf FILE.pdf]\n"
    "       tolvaris-chart (--open FILE.chart [RETURN PLACE] | birth data)\n"
    "                      (--solar-return YEAR [--reading FILE|-] [--pdf FILE.pdf]\n"
    "                       | --lunar-return DATE)\n"
    "                      [--display-zone ZONE|UTC] [--json] [--wheel ...]\n"
    "                      RETURN PLACE: --place NAME\n"
    "                      | --latitude DEG --longitude DEG --zone ZONE\n"
    "       tolvaris-chart (--open FILE.chart | birth data) --with FILE.chart\n"
    "                      [--composite | --davison] [--json] [--reading FILE|-]\n"
    "                      [--wheel ...] [--pdf ...]\n"
    "       tolvaris-chart --places NAME\n"
    "       tolvaris-chart --help\n"
    "\n"
    "Computes a natal chart: positions of the Sun to Pluto, houses, Ascendant,\n"
    "Midheaven and aspects, as a table or, with --json, as one JSON object.\n"
    "\n"
    "  --date        the local date of birth, for example 1990-01-01\n"
    "  --time        the local clock time, or \"unknown\" (12:00 is used, no houses)\n"
    "  --place       a place from the atlas: the best match, most populous first;\n"
    "                \"Springfield, Illinois\" narrows it by region or country\n"
    "  --latitude    decimal degrees, north positive (-90 to 90), or degrees and\n"
    "                minutes with the hemisphere: 52n31, 52°31'N, 52 31 N\n"
    "  --longitude   decimal degrees, east positive (-180 to 180), or as above:\n"
    "                13e24:30, 13°24'30\"E, 13 24 E\n"
    "  --zone        a time zone such as Europe/Berlin (its history is applied)\n"
    "  --utc-offset  the clocks' offset from UTC, for example +05:30; overrides --zone\n"
    "  --fold        which reading of a time the clocks showed twice\n";
constexpr std::string_view kUsageEnd =
    "  --name        a name for the chart\n"
    "  --open        compute the chart saved in a chart file\n"
    "  --save        also write the birth data to a chart file\n"
    "  --places      list the places matching NAME, one a line:\n"
    "                name, region, country TAB latitude TAB longitude TAB zone\n"
    "  --wheel       draw the chart wheel into a PNG or SVG file\n"
    "  --size        the wheel's side in pixels, 100 to 10000 (default 800)\n"
    "  --bare        the wheel alone, without the caption of name and birth\n"
    "  --pdf         write the report as a PDF: a first page with the chart's\n"
    "                data, wheel, positions, cusps and aspects, then the reading\n"
    "                typeset (--order and --data apply to it too)\n"
    "  --html        the same report as one HTML file, pictures included\n"
    "  --json        print one JSON object instead of the table\n"
    "  --reading     write the full reading of the chart to FILE (- for standard\n"
    "                output) as Tolvaris saves it: code page 1252, CR LF lines\n"
    "  --order       planets (default): each planet in its sign, house and aspects;\n"
    "                houses: the planets house by house, then all aspects\n"
    "  --data        read the interpretation files from FOLDER instead of the\n"
    "                program folder (to try a draft library)\n"
    "  --transits    the transits to the chart from the first date's 00:00 to the\n"
    "                end of the last (at most 100 years), for example\n"
    "                2027-01-01..2027-12-31; --json, --reading and --pdf then give\n"
    "                the forecast instead of the chart\n"
    "  --bodies      the transiting bodies, comma-separated, for example\n"
    "                mars,jupiter,saturn; all adds the Moon to the default Sun,\n"
    "                Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto\n"
    "  --transit-orb degrees either side of exact, 0.1 to 5 (default 1)\n"
    "  --display-zone  the zone the dates are read and shown in, or UTC (default\n"
    "                the chart's zone; UTC for a chart given by its UTC offset);\n"
    "                with --transits and the options below\n"
    "  --ics         write an iCalendar file, one event per exact pass\n"
    "  --progressed  the progressed chart (one day after birth for each year of\n"
    "                life) for a date's 00:00 in the display zone or an instant\n"
    "                such as 2027-06-01T15:00:00Z\n"
    "  --progressions  the progressed aspects, sign and house changes and\n"
    "                stations from the first date's 00:00 to the end of the last\n"
    "  --solar-return  the chart of the Sun's return in that calendar year of the\n"
    "                display zone; with --open, --place or --latitude, --longitude\n"
    "                and --zone give where it is cast (default the birthplace);\n"
    "                --wheel draws the return chart, --reading writes its page,\n"
    "                --pdf both\n"
    "  --lunar-return  the chart of the first return of the Moon at or after the\n"
    "                date's 00:00 in the display zone, placed as --solar-return\n"
    "  --with        a second chart file: the synastry of the two charts (the\n"
    "                aspects between them, each one's bodies in the other's\n"
    "                houses); --reading and --pdf give the relationship reading\n"
    "  --composite   with --with: the composite chart (midpoints) instead\n"
    "  --davison     with --with: the Davison chart (the moment and place halfway)\n"
    "                instead, with all the outputs of a chart\n"
    "\n"
    "With --reading, --wheel, --pdf or --ics the table is left out (--json still\n"
    "prints the JSON).\n"
    "\n"
    "Exit status: 0 success; 2 input refused (one line on standard error names\n"
    "the option); 1 any other failure.\n";

// An output file must have a name in a folder that exists; checked here so
// that a run is refused before it computes, and before it writes anything.
std::string CheckOutputPath(std::string_view value) {
    if (value.empty()) {
        return "the file name is empty";
    }
    const std::filesystem::path path(value);
    const std::string quoted = "\"" + ShownInMessage(value) + "\"";
    if (!path.has_filename() || path.filename() == "." || path.filename() == "..") {
        return quoted + " has no file name";
    }
    const std::filesystem::path folder = path.parent_path();
    if (std::error_code ec; !folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        return "the folder of " + quoted + " does not exist";
    }
    return {};
}

// A message of the time library as the clause after an option's name.
std::string AsClause(std::string message) {
    if (!message.empty() && message.back() == '.') {
        message.pop_back();
    }
    if (!message.empty() && message[0] >= 'A' && message[0] <= 'Z') {
        message[0] = static_cast<char>(message[0] - 'A' + 'a');
    }
    return message;
}

// "FROM..TO": two dates that exist, in order, within the years the
// ephemeris computes and at most kLongestForecastYears apart.
std::string ReadTransitRange(std::string_view value, ForecastOptions& forecast) {
    const std::size_t dots = value.find("..");
    if (dots == std::string_view::npos) {
        return "the range \"" + ShownInMessage(value) +
               "\" is not FROM..TO, for example 2027-01-01..2027-12-31";
    }
    CivilDate* dates[] = {&forecast.first, &forecast.last};
    const std::string_view texts[] = {value.substr(0, dots), value.substr(dots + 2)};
    for (int i = 0; i < 2; ++i) {
        TimeResult<CivilDate> date = ParseDate(texts[i]);
        if (const auto* error = std::get_if<TimeError>(&date)) {
            const std::string clause = AsClause(ShownInMessage(error->message));
            return clause.rfind("the date ", 0) == 0
                       ? clause
                       : std::string(i == 0 ? "the first date \"" : "the last date \"") +
                             ShownInMessage(texts[i]) + "\" is not written as YYYY-MM-DD";
        }
        *dates[i] = std::get<CivilDate>(date);
        if (dates[i]->year < kFirstAcceptedYear || dates[i]->year > kLastAcceptedYear) {
            return "the date " + FormatIsoDate(*dates[i]) + " is outside the years " +
                   std::to_string(kFirstAcceptedYear) + " to " + std::to_string(kLastAcceptedYear);
        }
    }
    if (DaysSinceEpoch(forecast.last) < DaysSinceEpoch(forecast.first)) {
        return "the last date " + FormatIsoDate(forecast.last) + " comes before the first " +
               FormatIsoDate(forecast.first);
    }
    const CivilDate limit{forecast.first.year + kLongestForecastYears, forecast.first.month,
                          forecast.first.day};
    if (DaysSinceEpoch(forecast.last) >= DaysSinceEpoch(limit)) {
        return "the range " + FormatIsoDate(forecast.first) + " to " +
               FormatIsoDate(forecast.last) + " is longer than " +
               std::to_string(kLongestForecastYears) + " years";
    }
    return {};
}

// "mars,JUPITER,saturn" or "all", in any order; kept in point order.
std::string ReadTransitBodies(std::string_view value, std::vector<Point>& bodies) {
    if (EqualIgnoringCase1252(value, "all")) {
        bodies = AllTransitBodies();
        return {};
    }
    const std::vector<Point> known = AllTransitBodies();
    std::vector<bool> named(known.size(), false);
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        std::string_view name =
            value.substr(start, comma == std::string_view::npos ? value.npos : comma - start);
        // Spaces around the names, as people write lists ("mars, jupiter").
        while (!name.empty() && name.front() == ' ') {
            name.remove_prefix(1);
        }
        while (!name.empty() && name.back() == ' ') {
            name.remove_suffix(1);
        }
        std::size_t found = 0;
        while (found < known.size() && !EqualIgnoringCase1252(name, PointName(known[found]))) {
            ++found;
        }
        if (found == known.size()) {
            return (name.empty() ? std::string("an empty name")
                                 : "\"" + ShownInMessage(name) + "\"") +
                   " is not a body; name Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, "
                   "Uranus, Neptune or Pluto, or all";
        }
        if (named[found]) {
            return std::string(PointName(known[found])) + " is named twice";
        }
        named[found] = true;
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    bodies.clear();
    for (std::size_t i = 0; i < known.size(); ++i) {
        if (named[i]) {
            bodies.push_back(known[i]);
        }
    }
    return {};
}

std::string ReadTransitOrb(std::string_view value, double& orb) {
    double read = 0.0;
    const auto [end, error] =
        std::from_chars(value.data(), value.data() + value.size(), read, std::chars_format::fixed);
    if (error != std::errc() || end != value.data() + value.size() ||
        !(read >= kSmallestTransitOrb && read <= kLargestTransitOrb)) {
        return "the orb \"" + ShownInMessage(value) + "\" is not a number of degrees from " +
               FormatShortestDecimal(kSmallestTransitOrb) + " to " +
               FormatShortestDecimal(kLargestTransitOrb);
    }
    orb = read;
    return {};
}

// A date that exists within the years the ephemeris computes.
std::string ReadDate(std::string_view value, CivilDate& date) {
    TimeResult<CivilDate> read = ParseDate(value);
    if (const auto* error = std::get_if<TimeError>(&read)) {
        const std::string clause = AsClause(ShownInMessage(error->message));
        return clause.rfind("the date ", 0) == 0
                   ? clause
                   : "the date \"" + ShownInMessage(value) + "\" is not written as YYYY-MM-DD";
    }
    date = std::get<CivilDate>(read);
    if (date.year < kFirstAcceptedYear || date.year > kLastAcceptedYear) {
        return "the date " + FormatIsoDate(date) + " is outside the years " +
               std::to_string(kFirstAcceptedYear) + " to " + std::to_string(kLastAcceptedYear);
    }
    return {};
}

// "2027-06-01" (that day's 00:00 in the display zone, resolved later) or an
// instant "2027-06-01T15:00:00Z", "2027-06-01T15:00+02:00".
std::string ReadDateOrInstant(std::string_view value, TechniqueOptions& technique) {
    const std::size_t t = value.find('T');
    if (std::string error = ReadDate(value.substr(0, t), technique.first); !error.empty()) {
        return error;
    }
    if (t == std::string_view::npos) {
        return {};
    }
    const std::string_view rest = value.substr(t + 1);
    const std::size_t zone = rest.find_first_of("Z+-");
    std::string bad = "the instant \"" + ShownInMessage(value) +
                      "\" is not YYYY-MM-DDTHH:MM[:SS] with Z or an offset such as +02:00";
    if (zone == std::string_view::npos || zone == 0) {
        return bad;
    }
    TimeResult<std::optional<CivilTime>> time = ParseTime(rest.substr(0, zone));
    TimeResult<int> offset = ParseUtcOffset(rest.substr(zone));
    if (std::holds_alternative<TimeError>(time) || std::holds_alternative<TimeError>(offset) ||
        !std::get<std::optional<CivilTime>>(time)) {
        return bad;
    }
    const CivilTime clock = *std::get<std::optional<CivilTime>>(time);
    const int ofDay = clock.hour * 3600 + clock.minute * 60 + clock.second;
    const std::int64_t ut = DaysSinceEpoch(technique.first) * 86400 + ofDay - std::get<int>(offset);
    if (std::string error = CheckInstantInAcceptedYears(ut); !error.empty()) {
        return AsClause(error);
    }
    technique.instantUt = ut;
    return {};
}

std::string ReadYear(std::string_view value, int& year) {
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), year);
    if (error != std::errc() || end != value.data() + value.size() || year < kFirstAcceptedYear ||
        year > kLastAcceptedYear - 1) {
        return "the year \"" + ShownInMessage(value) + "\" is not a year from " +
               std::to_string(kFirstAcceptedYear) + " to " + std::to_string(kLastAcceptedYear - 1);
    }
    return {};
}

class CommandLineParser {
public:
    CommandLineParse Parse(std::span<const std::string_view> arguments) {
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const std::string_view argument = arguments[i];
            if (argument == "-h") {
                given_[static_cast<std::size_t>(Option::Help)] = true;
                continue;
            }
            const std::size_t equals = argument.find('=');
            const std::string_view name = argument.substr(0, equals);
            const OptionInfo* info = Find(name);
            if (info == nullptr || argument.substr(0, 2) != "--") {
                return Fail(argument.substr(0, 1) == "-"
                                ? "unknown option \"" + ShownInMessage(name) + "\" (see --help)"
                                : "unexpected argument \"" + ShownInMessage(argument) +
                                      "\"; every value follows its option (see --help)");
            }
            const auto index = static_cast<std::size_t>(info->option);
            if (given_[index]) {
                return Fail(std::string(info->name) + " is given twice");
            }
            given_[index] = true;
            if (!info->takesValue) {
                if (equals != std::string_view::npos) {
                    return Fail(std::string(info->name) + " takes no value");
                }
                continue;
            }
            std::string_view value;
            if (equals != std::string_view::npos) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return Fail(std::string(info->name) + " needs a value");
            }
            if (std::string error = ReadValue(info->option, value); !error.empty()) {
                return Fail(std::string(info->name) + ": " + error);
            }
        }
        return Finish();
    }

private:
    static const OptionInfo* Find(std::string_view name) {
        for (const OptionInfo& info : kOptions) {
            if (info.name == name) {
                return &info;
            }
        }
        return nullptr;
    }

    static CommandLineParse Fail(const std::string& message) {
        CommandLineParse result;
        result.error = OneLineMessage(message) + ".";
        return result;
    }

    bool Given(Option option) const { return given_[static_cast<std::size_t>(option)]; }
    static std::string NameOf(Option option) {
        return std::string(kOptions[static_cast<std::size_t>(option)].name);
    }

    // Text that goes into the chart file and the JSON unchanged.
    static std::string CheckText(std::string_view value, std::string_view what) {
        if (!IsValidUtf8(value)) {
            return "the " + std::string(what) + " is not valid UTF-8 text";
        }
        return {};
    }

    // The birth field an option gives, if it gives one as it is written.
    static std::optional<BirthField> FieldOf(Option option) {
        switch (option) {
            case Option::Date:
                return BirthField::Date;
            case Option::Time:
                return BirthField::Time;
            case Option::Latitude:
                return BirthField::Latitude;
            case Option::Longitude:
                return BirthField::Longitude;
            case Option::Zone:
                return BirthField::Zone;
            case Option::UtcOffset:
                return BirthField::UtcOffset;
            case Option::Fold:
                return BirthField::Fold;
            case Option::Houses:
                return BirthField::Houses;
            case Option::Orbs:
                return BirthField::Orbs;
            default:
                return std::nullopt;
        }
    }

    // The birth fields the options give; a place gives the coordinates and
    // the zone from the atlas.
    BirthFieldSet GivenFields() const {
        BirthFieldSet given;
        for (std::size_t i = 0; i < kOptions.size(); ++i) {
            if (const std::optional<BirthField> field = FieldOf(kOptions[i].option);
                field && given_[i]) {
                given.Add(*field);
            }
        }
        if (Given(Option::Place)) {
            given.Add(BirthField::Latitude);
            given.Add(BirthField::Longitude);
            given.Add(BirthField::Zone);
        }
        return given;
    }

    std::string ReadValue(Option option, std::string_view value) {
        BirthData& birth = options_.birth;
        if (const std::optional<BirthField> field = FieldOf(option)) {
            const Status read = ReadBirthField(*field, value, birth);
            return read ? std::string() : read.Failure().message;
        }
        switch (option) {
            case Option::Name: {
                if (std::string error = CheckText(value, "name"); !error.empty()) {
                    return error;
                }
                const Status read = ReadBirthField(BirthField::Name, value, birth);
                return read ? std::string() : read.Failure().message;
            }
            case Option::Place:
            case Option::Places:
                if (value.find_first_not_of(" \t") == std::string_view::npos) {
                    return "the place is empty";
                }
                (option == Option::Place ? options_.placeQuery : options_.placesQuery) = value;
                return CheckText(value, "place");
            case Option::Save:
            case Option::Reading:
                if (option == Option::Save || value != "-") {
                    if (std::string error = CheckOutputPath(value); !error.empty()) {
                        return error;
                    }
                }
                [[fallthrough]];
            case Option::Open:
            case Option::With:
            case Option::Data:
                if (value.empty()) {
                    return "the file name is empty";
                }
                (option == Option::Open      ? options_.openPath
                 : option == Option::With    ? options_.withPath
                 : option == Option::Save    ? options_.savePath
                 : option == Option::Reading ? options_.readingPath
                                             : options_.dataFolder) = value;
                return {};
            case Option::Order:
                if (const std::optional<ReadingOrder> order = ParseReadingOrder(value)) {
                    options_.readingOrder = *order;
                    return {};
                }
                return "the order \"" + ShownInMessage(value) + "\" is neither planets nor houses";
            case Option::Wheel: {
                if (value.empty()) {
                    return "the file name is empty";
                }
                const std::string_view extension =
                    value.size() >= 4 ? value.substr(value.size() - 4) : std::string_view();
                if (!EqualIgnoringCase1252(extension, ".png") &&
                    !EqualIgnoringCase1252(extension, ".svg")) {
                    return "the file name \"" + ShownInMessage(value) +
                           "\" must end in .png or .svg";
                }
                if (std::filesystem::path(value).filename().string().size() == extension.size()) {
                    return "the file name \"" + ShownInMessage(value) + "\" has nothing before " +
                           std::string(extension);
                }
                if (std::string error = CheckOutputPath(value); !error.empty()) {
                    return error;
                }
                options_.wheelPath = value;
                return {};
            }
            case Option::Size: {
                int pixels = 0;
                const auto [end, error] =
                    std::from_chars(value.data(), value.data() + value.size(), pixels);
                if (error != std::errc() || end != value.data() + value.size() ||
                    pixels < kMinWheelSize || pixels > kMaxWheelSize) {
                    return "the size \"" + ShownInMessage(value) +
                           "\" is not a whole number from " + std::to_string(kMinWheelSize) +
                           " to " + std::to_string(kMaxWheelSize);
                }
                options_.wheelSize = pixels;
                return {};
            }
            case Option::Pdf:
                if (std::string error = CheckOutputPath(value); !error.empty()) {
                    return error;
                }
                options_.pdfPath = value;
                return {};
            case Option::Html:
                if (std::string error = CheckOutputPath(value); !error.empty()) {
                    return error;
                }
                options_.htmlPath = value;
                return {};
            case Option::Transits:
                return ReadTransitRange(value, forecast_);
            case Option::Progressed:
                technique_.technique = TimeTechnique::Progressed;
                return ReadDateOrInstant(value, technique_);
            case Option::Progressions: {
                technique_.technique = TimeTechnique::Progressions;
                ForecastOptions range;
                std::string error = ReadTransitRange(value, range);
                technique_.first = range.first;
                technique_.last = range.last;
                return error;
            }
            case Option::SolarReturn:
                technique_.technique = TimeTechnique::SolarReturn;
                return ReadYear(value, technique_.year);
            case Option::LunarReturn:
                technique_.technique = TimeTechnique::LunarReturn;
                return ReadDate(value, technique_.first);
            case Option::Bodies:
                return ReadTransitBodies(value, forecast_.settings.bodies);
            case Option::TransitOrb:
                return ReadTransitOrb(value, forecast_.settings.orb);
            case Option::DisplayZone: {
                if (EqualIgnoringCase1252(value, "UTC")) {
                    forecast_.displayZone = "UTC";
                    return {};
                }
                TimeResult<std::string> zone = ParseTimeZoneName(value);
                if (const auto* error = std::get_if<TimeError>(&zone)) {
                    return AsClause(ShownInMessage(error->message));
                }
                forecast_.displayZone = std::get<std::string>(zone);
                return {};
            }
            case Option::Ics:
                if (value != "-") {
                    if (std::string error = CheckOutputPath(value); !error.empty()) {
                        return error;
                    }
                }
                forecast_.icsPath = value;
                return {};
            default:
                break;
        }
        return {};
    }

    CommandLineParse Finish() {
        CommandLineParse result;
        options_.json = Given(Option::Json);
        options_.wheelBare = Given(Option::Bare);
        for (const Option needsReading : {Option::Order, Option::Data}) {
            if (Given(needsReading) && !Given(Option::Reading) && !Given(Option::Pdf) &&
                !Given(Option::Html)) {
                return Fail(NameOf(needsReading) + " goes with --reading, --pdf or --html");
            }
        }
        const std::array<Option, 6> alone = {Option::With,        Option::Transits,
                                             Option::Progressed,  Option::Progressions,
                                             Option::SolarReturn, Option::LunarReturn};
        std::optional<Option> first;
        for (const Option option : alone) {
            if (!Given(option)) {
                continue;
            }
            if (first) {
                return Fail(NameOf(*first) + " and " + NameOf(option) + " exclude each other");
            }
            first = option;
        }
        const bool technique = first && *first != Option::With && *first != Option::Transits;
        if (Given(Option::DisplayZone) && !Given(Option::Transits) && !technique) {
            return Fail(
                "--display-zone goes with --transits, --progressed, --progressions, "
                "--solar-return or --lunar-return");
        }
        if (technique) {
            if (std::string error = CheckTechnique(*first); !error.empty()) {
                return Fail(error);
            }
        }
        for (const Option needsTransits : {Option::Bodies, Option::TransitOrb, Option::Ics}) {
            if (Given(needsTransits) && !Given(Option::Transits)) {
                return Fail(NameOf(needsTransits) + " goes with --transits");
            }
        }
        for (const Option needsWith : {Option::Composite, Option::Davison}) {
            if (Given(needsWith) && !Given(Option::With)) {
                return Fail(NameOf(needsWith) + " goes with --with");
            }
        }
        if (Given(Option::Composite) && Given(Option::Davison)) {
            return Fail("--composite and --davison exclude each other");
        }
        if (Given(Option::With)) {
            if (Given(Option::Order) && !Given(Option::Davison)) {
                return Fail(
                    "--order arranges the full reading of one chart; with --with it goes with "
                    "--davison");
            }
            options_.pair = Given(Option::Composite) ? PairChart::Composite
                            : Given(Option::Davison) ? PairChart::Davison
                                                     : PairChart::Synastry;
        }
        if (Given(Option::Transits)) {
            if (Given(Option::Order)) {
                return Fail(
                    "--order arranges the full reading; a --transits reading is in time "
                    "order");
            }
            options_.forecast = forecast_;
        }
        const bool readingOut = Given(Option::Reading) && options_.readingPath == "-";
        const bool icsOut = Given(Option::Ics) && forecast_.icsPath == "-";
        if (readingOut + icsOut + Given(Option::Json) > 1) {
            return Fail(std::string(readingOut ? "--reading -" : "--ics -") + " and " +
                        (readingOut && icsOut ? "--ics -" : "--json") +
                        " would both write to standard output");
        }
        if (Given(Option::Help)) {
            options_.mode = ChartToolMode::Help;
            result.value = std::move(options_);
            return result;
        }
        if (Given(Option::Size) && !Given(Option::Wheel)) {
            return Fail("--size needs --wheel: it is the wheel image's size");
        }
        if (Given(Option::Bare) && !Given(Option::Wheel)) {
            return Fail("--bare needs --wheel: it leaves the wheel image's caption off");
        }
        if (Given(Option::Open) || Given(Option::Places)) {
            const Option alone = Given(Option::Open) ? Option::Open : Option::Places;
            if (Given(Option::Open) && Given(Option::Places)) {
                return Fail("--open and --places exclude each other");
            }
            const bool returnPlace =
                alone == Option::Open && (Given(Option::SolarReturn) || Given(Option::LunarReturn));
            if (returnPlace) {
                if (std::string error = TakeReturnPlace(); !error.empty()) {
                    return Fail(error);
                }
            }
            for (const Option other : kBirthOptions) {
                if (returnPlace && IsPlaceOption(other)) {
                    continue;
                }
                if (Given(other)) {
                    return Fail(NameOf(alone) + " cannot be combined with " + NameOf(other));
                }
            }
            if (alone == Option::Places) {
                for (const Option other :
                     {Option::Save, Option::Json, Option::Reading, Option::Wheel, Option::Size,
                      Option::Bare, Option::Pdf, Option::Html, Option::Transits, Option::Progressed,
                      Option::Progressions, Option::SolarReturn, Option::LunarReturn,
                      Option::With}) {
                    if (Given(other)) {
                        return Fail("--places cannot be combined with " + NameOf(other));
                    }
                }
            }
            options_.mode = alone == Option::Open ? ChartToolMode::OpenFile : ChartToolMode::Places;
            result.value = std::move(options_);
            return result;
        }
        if (Given(Option::Place)) {
            for (const Option other : {Option::Latitude, Option::Longitude}) {
                if (Given(other)) {
                    return Fail("--place and " + NameOf(other) +
                                " exclude each other: the place gives the coordinates");
                }
            }
        }
        if (const std::optional<BirthField> missing = MissingBirthField(GivenFields())) {
            switch (*missing) {
                case BirthField::Latitude:
                case BirthField::Longitude:
                    return Fail(NameOf(*missing == BirthField::Latitude ? Option::Latitude
                                                                        : Option::Longitude) +
                                " is missing: give --place or --latitude and --longitude");
                case BirthField::Zone:
                    return Fail("--zone or --utc-offset is missing: give one with the coordinates");
                default:
                    return Fail(NameOf(*missing == BirthField::Date ? Option::Date : Option::Time) +
                                " is missing (see --help)");
            }
        }
        if (Given(Option::Zone) && Given(Option::UtcOffset)) {
            return Fail("--zone and --utc-offset exclude each other");
        }
        options_.mode = ChartToolMode::Chart;
        result.value = std::move(options_);
        return result;
    }

    // What each technique gives besides JSON and a table: the outputs that
    // make sense for it, refused otherwise.
    std::string CheckTechnique(Option technique) {
        const std::string name = NameOf(technique);
        if (Given(Option::Order)) {
            return "--order arranges the full reading of a chart; it does not go with " + name;
        }
        const bool reading = technique == Option::Progressions || technique == Option::SolarReturn;
        if (Given(Option::Reading) && !reading) {
            return "--reading goes with --progressions or --solar-return, not with " + name;
        }
        for (const Option report : {Option::Pdf, Option::Html}) {
            if (Given(report) && !reading) {
                return NameOf(report) + " goes with --progressions or --solar-return, not with " +
                       name;
            }
        }
        const bool returnChart =
            technique == Option::SolarReturn || technique == Option::LunarReturn;
        if (Given(Option::Wheel) && !returnChart) {
            return "--wheel draws a chart; with " + name +
                   " there is none (--solar-return and --lunar-return draw the return chart)";
        }
        technique_.displayZone = forecast_.displayZone;
        options_.technique = technique_;
        return {};
    }

    static bool IsPlaceOption(Option option) {
        return option == Option::Place || option == Option::Latitude ||
               option == Option::Longitude || option == Option::Zone;
    }

    // With --open the place options name where the return is cast.
    std::string TakeReturnPlace() {
        if (Given(Option::Place)) {
            for (const Option other : {Option::Latitude, Option::Longitude}) {
                if (Given(other)) {
                    return "--place and " + NameOf(other) +
                           " exclude each other: the place gives the coordinates";
                }
            }
        } else if (Given(Option::Latitude) || Given(Option::Longitude) || Given(Option::Zone)) {
            for (const Option needed : {Option::Latitude, Option::Longitude, Option::Zone}) {
                if (!Given(needed)) {
                    return NameOf(needed) +
                           " is missing: the return's place needs --latitude, --longitude and "
                           "--zone, or --place";
                }
            }
            options_.technique->latitude = options_.birth.latitude;
            options_.technique->longitude = options_.birth.longitude;
        }
        options_.technique->placeQuery = std::move(options_.placeQuery);
        options_.placeQuery.clear();
        if (Given(Option::Zone)) {
            options_.technique->zone = options_.birth.zone;
        }
        return {};
    }

    ChartToolOptions options_;
    ForecastOptions forecast_;
    TechniqueOptions technique_;
    std::array<bool, kOptions.size()> given_{};
};

}  // namespace

CommandLineParse ParseCommandLine(std::span<const std::string_view> arguments) {
    return CommandLineParser().Parse(arguments);
}

std::string_view ChartToolUsage() {
    static const std::string usage = [] {
        constexpr std::size_t kWidth = 78;
        constexpr std::string_view kHanging = "                ";
        std::string text(kUsageStart);
        std::string line = "  --houses      ";
        for (const HouseSystemRow& row : kHouseSystems) {
            std::string word(row.key);
            word += row.system == kDefaultHouseSystem ? " (default)" : "";
            word += row.system == kHouseSystems.back().system ? "" : ",";
            if (line.size() > kHanging.size() && line.size() + 1 + word.size() > kWidth) {
                text += line + "\n";
                line = kHanging;
            } else if (line.size() > kHanging.size()) {
                line += ' ';
            }
            line += word;
        }
        text += line + "\n";
        text +=
            "  --orbs        for example conjunction=8,sextile=5 (others keep their defaults:\n";
        text += std::string(kHanging) + FormatOrbs(Orbs{}) + ")\n";
        text += kUsageEnd;
        return text;
    }();
    return usage;
}

}  // namespace tolvaris
