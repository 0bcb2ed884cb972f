#pragma once

#include <string>

#include "core/ephemeris/house_system.h"
#include "core/ephemeris/points.h"
#include "core/ephemeris/zodiac.h"

namespace tolvaris {

// Debian's swe-basic-data installs its files here.
inline constexpr const char* kDebianEphemerisFolder = "/usr/share/libswe/ephe";

// The instants (JD UT) for which the files are used: 1800-01-02 00:00 up to
// 2400-01-01 00:00. The files reach a little further, but whether the
// library uses that margin depends on which file it had opened before; we
// keep the answer independent of earlier charts by asking the built-in
// (Moshier) ephemeris outright beyond these bounds.
inline constexpr double kFilesFirstJulianDayUt = 2378497.5;
inline constexpr double kFilesEndJulianDayUt = 2597641.5;

// Where a position came from.
enum class PositionSource {
    Files,                    // the Swiss Ephemeris files
    BuiltInOutsideFileYears,  // the built-in Moshier ephemeris: date beyond the files
    BuiltInFilesMissing,      // the built-in Moshier ephemeris: files not found
};

// The one place that talks to the Swiss Ephemeris library. The library keeps
// global state (file folder, open files), so every call is serialised, all
// live instances share one folder, and the files are closed when the last
// instance goes.
class Ephemeris {
public:
    // The first live instance picks the folder: the SE_EPHE_PATH environment
    // variable when set and not empty (the library itself gives it priority
    // over any folder we name), else Debian's folder; the library's own
    // default would also search the working folder. Instances made while
    // another lives share its folder.
    Ephemeris();
    ~Ephemeris();
    Ephemeris(const Ephemeris&) = delete;
    Ephemeris& operator=(const Ephemeris&) = delete;

    // The folder (or colon-separated folders) searched for ephemeris files.
    const std::string& Folder() const { return folder_; }

    struct BodyReading {
        bool ok = false;
        double longitude = 0.0;  // tropical, geocentric, ecliptic of date, degrees
        double speed = 0.0;      // degrees per day; negative when retrograde
        PositionSource source = PositionSource::Files;
        std::string message;  // the library's words when not ok or not from the files
    };
    // Only Sun ... Pluto; the Ascendant is not a body.
    BodyReading ReadBody(Point body, double julianDayUt);

    struct HouseReading {
        bool ok = false;
        HouseCusps cusps{};
        double ascendant = 0.0;
        double midheaven = 0.0;
        HouseSystem used = HouseSystem::Placidus;  // differs from the request after a fallback
        std::string message;                       // the library's words on a fallback or failure
    };
    HouseReading ReadHouses(double julianDayUt, double latitude, double longitude,
                            HouseSystem requested);

    // The houses for a sidereal time given as the right ascension of the
    // Midheaven (ARMC, degrees) at a latitude, with the obliquity given.
    // Needs no instant: what progressed and directed angles start from.
    HouseReading ReadHousesFromArmc(double armc, double latitude, double obliquity,
                                    HouseSystem requested);

    struct ObliquityReading {
        bool ok = false;
        double degrees = 0.0;  // the true obliquity: mean plus nutation
        std::string message;   // the library's words when not ok
    };
    // The true obliquity of the ecliptic at the instant, as the library uses
    // it for the houses of that instant.
    ObliquityReading ReadTrueObliquity(double julianDayUt);

private:
    std::string folder_;
};

}  // namespace tolvaris
