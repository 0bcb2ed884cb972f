#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/house_system.h"
#include "core/ephemeris/points.h"
#include "core/ephemeris/zodiac.h"

namespace tolvaris {

class Ephemeris;

struct ChartRequest {
    // Seconds since 1970-01-01 00:00:00 UTC, POSIX count (see ut_instant.h).
    // With the birth time unknown, the instant of 12:00 local time that day.
    std::int64_t utSeconds = 0;
    bool timeKnown = true;
    double latitude = 0.0;   // degrees, north positive, [-90, 90]
    double longitude = 0.0;  // degrees, east positive, [-180, 180]
    HouseSystem houseSystem = kDefaultHouseSystem;
    Orbs orbs;
};

struct BodyPlacement {
    Point body;
    std::string_view name;     // "Sun" ... "Pluto"
    double longitude;          // [0, 360)
    double speed;              // degrees per day
    int sign;                  // 0 Aries ... 11 Pisces
    double degreeInSign;       // [0, 30)
    std::optional<int> house;  // 1..12; none when the time is unknown or cusps degenerate
    bool retrograde;           // speed < 0
};

struct AnglePlacement {
    double longitude;  // [0, 360)
    int sign;
    double degreeInSign;
};

enum class EphemerisUsed { Swiss, Moshier };

// "swiss" or "moshier".
std::string_view EphemerisUsedName(EphemerisUsed used);

struct Chart {
    double julianDayUt = 0.0;
    std::vector<BodyPlacement> bodies;  // Sun ... Pluto, in that order
    std::optional<AnglePlacement> ascendant;
    std::optional<AnglePlacement> midheaven;
    std::optional<HouseCusps> cusps;  // cusp 1 at index 0
    std::vector<Aspect> aspects;
    EphemerisUsed ephemeris = EphemerisUsed::Swiss;
    HouseSystem houseSystemRequested = kDefaultHouseSystem;
    std::optional<HouseSystem> houseSystemUsed;  // none when the time is unknown
    std::vector<std::string> notes;              // meant for the user
};

// Either a chart or a message for the user that names the field at fault.
struct ChartResult {
    std::optional<Chart> chart;
    std::string error;

    bool Ok() const { return chart.has_value(); }
};

// Empty when the request can be computed, else the message for the user.
std::string ValidateChartRequest(const ChartRequest& request);

// Uses the given ephemeris: the cheaper choice for many charts.
ChartResult ComputeChart(Ephemeris& ephemeris, const ChartRequest& request);

// Opens an ephemeris for this one chart.
ChartResult ComputeChart(const ChartRequest& request);

}  // namespace tolvaris
