#include "core/sky/chart.h"

#include <cmath>
#include <cstdio>

#include "core/ephemeris/ephemeris.h"
#include "core/ephemeris/ut_instant.h"
#include "core/sky/sky_positions.h"

namespace tolvaris {
namespace {

AnglePlacement PlaceAngle(double longitude) {
    const double normalised = NormaliseDegrees(longitude);
    return {normalised, SignIndex(normalised), DegreeInSign(normalised)};
}

std::string FormatLatitude(double latitude) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f %s", std::fabs(latitude), latitude < 0 ? "S" : "N");
    return text;
}

// Measured over 1800-2399, daily, by scripts/measure-moshier-difference
// (swetest -emos against -eswe): Pluto 10.1", Neptune 6.0", the Moon 4.5"
// (4.6" hourly near its peak), Uranus 2.1", the others 1.4" at most.
constexpr const char* kMoshierDifference =
    "over the years the files cover, the built-in positions differ from theirs by up to about "
    "10 seconds of arc for Pluto, 6 for Neptune, 5 for the Moon and 2 for the other bodies.";

std::string MoshierNote(const Ephemeris& ephemeris, const SkyPositions& sky) {
    if (sky.source == PositionSource::BuiltInOutsideFileYears) {
        return std::string(
                   "Positions come from the built-in Moshier ephemeris because the Swiss "
                   "Ephemeris files cover only 2 January 1800 to 31 December 2399; ") +
               kMoshierDifference;
    }
    if (sky.fromBuiltIn.size() < sky.positions.size()) {
        // Some files were found: name the bodies whose file was not.
        std::string names;
        for (std::size_t i = 0; i < sky.fromBuiltIn.size(); ++i) {
            names += i == 0 ? "" : i + 1 == sky.fromBuiltIn.size() ? " and " : ", ";
            names += PointName(sky.fromBuiltIn[i]);
        }
        const bool one = sky.fromBuiltIn.size() == 1;
        return names + (one ? ": position" : ": positions") +
               " from the built-in Moshier ephemeris, because the Swiss Ephemeris file for " +
               (one ? "it" : "them") + " was not found in " + ephemeris.Folder() +
               "; the other bodies come from the files; " + kMoshierDifference;
    }
    return "Positions come from the built-in Moshier ephemeris because the Swiss Ephemeris "
           "files were not found in " +
           ephemeris.Folder() + "; " + kMoshierDifference;
}

}  // namespace

std::string_view EphemerisUsedName(EphemerisUsed used) {
    return used == EphemerisUsed::Swiss ? "swiss" : "moshier";
}

std::string ValidateChartRequest(const ChartRequest& request) {
    // Comparisons written so that NaN fails them.
    if (!(request.latitude >= -90.0 && request.latitude <= 90.0)) {
        return "Latitude must lie between -90 and 90 degrees.";
    }
    if (!(request.longitude >= -180.0 && request.longitude <= 180.0)) {
        return "Longitude must lie between -180 and 180 degrees.";
    }
    // At a pole the horizon is undefined and with it the Ascendant: the
    // library returns 0 Aries whatever the time, and several Regiomontanus or
    // Campanus cusps coincide. Equal and whole-sign houses start from that
    // Ascendant, so no system is spared.
    constexpr double kPoleMargin = 0.0001;
    if (request.timeKnown && std::fabs(request.latitude) >= 90.0 - kPoleMargin) {
        return std::string(HouseSystemDisplayName(request.houseSystem)) +
               " houses cannot be computed at latitude " + FormatLatitude(request.latitude) +
               ": within 0.0001 degree of a pole the horizon, and with it the Ascendant, is "
               "undefined. Give a latitude nearer the equator, or leave the birth time out for a "
               "chart without houses.";
    }
    if (std::string message = CheckInstantInAcceptedYears(request.utSeconds); !message.empty()) {
        return message;
    }
    return ValidateOrbs(request.orbs);
}

ChartResult ComputeChart(Ephemeris& ephemeris, const ChartRequest& request) {
    ChartResult result;
    result.error = ValidateChartRequest(request);
    if (!result.error.empty()) {
        return result;
    }
    Chart chart;
    chart.julianDayUt = JulianDayUtFromUnixSeconds(request.utSeconds);
    chart.houseSystemRequested = request.houseSystem;

    if (request.timeKnown) {
        Ephemeris::HouseReading houses = ephemeris.ReadHouses(
            chart.julianDayUt, request.latitude, request.longitude, request.houseSystem);
        if (!houses.ok) {
            result.error = "The houses could not be computed: " + houses.message;
            return result;
        }
        HouseCusps cusps;
        for (std::size_t i = 0; i < cusps.size(); ++i) {
            cusps[i] = NormaliseDegrees(houses.cusps[i]);
        }
        chart.cusps = cusps;
        chart.ascendant = PlaceAngle(houses.ascendant);
        chart.midheaven = PlaceAngle(houses.midheaven);
        chart.houseSystemUsed = houses.used;
        if (houses.used != request.houseSystem) {
            chart.notes.push_back(std::string(HouseSystemDisplayName(request.houseSystem)) +
                                  " houses cannot be computed at latitude " +
                                  FormatLatitude(request.latitude) + ", inside a polar circle; " +
                                  std::string(HouseSystemDisplayName(houses.used)) +
                                  " houses are shown instead.");
        }
    } else {
        chart.notes.emplace_back(
            "The birth time is unknown: positions are for 12:00 local time, so the Moon may be "
            "up to about 7 degrees off; houses, Ascendant and Midheaven are left out.");
    }

    const SkyPositions sky = PositionsAt(ephemeris, chart.julianDayUt, kBodies);
    if (!sky.Ok()) {
        result.error = sky.error;
        return result;
    }
    for (const SkyPosition& position : sky.positions) {
        std::optional<int> house;
        if (chart.cusps) {
            house = HouseOf(position.longitude, *chart.cusps);
        }
        chart.bodies.push_back({position.body, PointName(position.body), position.longitude,
                                position.speed, position.sign, position.degreeInSign, house,
                                position.retrograde});
    }
    if (sky.source != PositionSource::Files) {
        chart.ephemeris = EphemerisUsed::Moshier;
        chart.notes.push_back(MoshierNote(ephemeris, sky));
    }
    std::vector<PointLongitude> forAspects = LongitudesOf(sky.positions);
    if (chart.ascendant) {
        forAspects.push_back({Point::Ascendant, chart.ascendant->longitude});
    }
    chart.aspects = FindAspects(forAspects, request.orbs);
    result.chart = std::move(chart);
    return result;
}

ChartResult ComputeChart(const ChartRequest& request) {
    Ephemeris ephemeris;
    return ComputeChart(ephemeris, request);
}

}  // namespace tolvaris
