#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/chart/birth_data.h"
#include "core/forecast/transits.h"
#include "core/reading/full_reading.h"
#include "core/time/civil_time.h"

namespace tolvaris {

// The side of a wheel image in pixels: --size's default and range.
inline constexpr int kDefaultWheelSize = 800;
inline constexpr int kMinWheelSize = 100;
inline constexpr int kMaxWheelSize = 10000;

// What one run of tolvaris-chart is asked to do.
enum class ChartToolMode { Chart, OpenFile, Places, Help };

// --transits and the options that go with it.
struct ForecastOptions {
    CivilDate first;
    CivilDate last;
    TransitSettings settings{DefaultTransitBodies(), kDefaultTransitOrb};
    // "UTC" or a zone; empty: the chart's own zone.
    std::string displayZone;
    std::string icsPath;  // --ics; "-" for standard output; empty when not asked for
};

// The time techniques besides transits, one per run.
enum class TimeTechnique { Progressed, Progressions, SolarReturn, LunarReturn };

// --progressed, --progressions, --solar-return or --lunar-return and the
// options that go with it.
struct TechniqueOptions {
    TimeTechnique technique = TimeTechnique::Progressed;
    // --progressed's and --lunar-return's date (00:00 in the display zone),
    // --progressions' first date.
    CivilDate first;
    CivilDate last;  // --progressions
    // --progressed given an instant ("2027-06-01T15:00:00Z"), UT seconds.
    std::optional<std::int64_t> instantUt;
    int year = 0;  // --solar-return
    // "UTC" or a zone; empty: the chart's own zone.
    std::string displayZone;
    // With --open, a return's place: --place to look up, or --latitude,
    // --longitude and --zone. Neither: the birthplace.
    std::string placeQuery;
    std::optional<double> latitude;
    std::optional<double> longitude;
    std::string zone;
};

// What --with computes from the two charts.
enum class PairChart { None, Synastry, Composite, Davison };

struct ChartToolOptions {
    ChartToolMode mode = ChartToolMode::Chart;
    // The birth as given on the command line; with --place the coordinates
    // and zone are filled in from the atlas later.
    BirthData birth;
    std::string placeQuery;   // --place, to be looked up in the atlas
    std::string openPath;     // --open
    std::string placesQuery;  // --places
    std::string savePath;     // --save; empty when not asked for
    std::string readingPath;  // --reading; "-" for standard output
    ReadingOrder readingOrder = ReadingOrder::ByPlanet;
    std::string dataFolder;             // --data; empty: the program folder
    std::string wheelPath;              // --wheel: a .png or .svg file; empty when not asked for
    int wheelSize = kDefaultWheelSize;  // --size, in pixels
    bool wheelBare = false;             // --bare: no caption under the wheel
    std::string pdfPath;                // --pdf; empty when not asked for
    std::string htmlPath;               // --html; empty when not asked for
    bool json = false;
    // --transits: the forecast replaces the chart's table, JSON and reading.
    std::optional<ForecastOptions> forecast;
    // The progressions or a return in place of the chart's outputs.
    std::optional<TechniqueOptions> technique;
    // --with: the second chart file; `pair` says what is made of the two.
    std::string withPath;
    PairChart pair = PairChart::None;
};

struct CommandLineParse {
    std::optional<ChartToolOptions> value;
    // One line naming the option and why it was refused.
    std::string error;
};

// Reads the arguments after the program name. Each option takes its value
// as the next argument or after "=" ("--utc-offset=+01:00", which a negative
// offset needs). Refuses unknown and repeated options, missing values,
// values out of range and options that exclude each other.
CommandLineParse ParseCommandLine(std::span<const std::string_view> arguments);

// The --help text.
std::string_view ChartToolUsage();

}  // namespace tolvaris
