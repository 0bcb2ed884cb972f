#include "core/ephemeris/ephemeris.h"

#include <swephexp.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace tolvaris {
namespace {

std::mutex& LibraryMutex() {
    static std::mutex mutex;
    return mutex;
}

// Guarded by LibraryMutex().
int liveInstances = 0;
std::string folderInLibrary;

std::string ChooseFolder() {
    const char* fromEnvironment = std::getenv("SE_EPHE_PATH");
    // The library ignores a value too long for its buffer, and so do we.
    if (fromEnvironment != nullptr && *fromEnvironment != '\0' &&
        std::strlen(fromEnvironment) < AS_MAXCH) {
        return fromEnvironment;
    }
    return kDebianEphemerisFolder;
}

// The table carries the library's body numbers; check them against its header.
static_assert(*RowOf(Point::Sun).ephemerisBody == SE_SUN &&
              *RowOf(Point::Moon).ephemerisBody == SE_MOON &&
              *RowOf(Point::Mercury).ephemerisBody == SE_MERCURY &&
              *RowOf(Point::Venus).ephemerisBody == SE_VENUS &&
              *RowOf(Point::Mars).ephemerisBody == SE_MARS &&
              *RowOf(Point::Jupiter).ephemerisBody == SE_JUPITER &&
              *RowOf(Point::Saturn).ephemerisBody == SE_SATURN &&
              *RowOf(Point::Uranus).ephemerisBody == SE_URANUS &&
              *RowOf(Point::Neptune).ephemerisBody == SE_NEPTUNE &&
              *RowOf(Point::Pluto).ephemerisBody == SE_PLUTO);

int LibraryBodyNumber(Point body) {
    return RowOf(body).ephemerisBody.value_or(-1);
}

std::string TrimmedMessage(const char* text) {
    std::string message(text);
    while (!message.empty() && (message.back() == ' ' || message.back() == '\n')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

Ephemeris::Ephemeris() {
    std::lock_guard lock(LibraryMutex());
    if (liveInstances++ == 0) {
        folderInLibrary = ChooseFolder();
        swe_set_ephe_path(folderInLibrary.c_str());
    }
    folder_ = folderInLibrary;
}

Ephemeris::~Ephemeris() {
    std::lock_guard lock(LibraryMutex());
    if (--liveInstances == 0) {
        swe_close();
        folderInLibrary.clear();
    }
}

Ephemeris::BodyReading Ephemeris::ReadBody(Point body, double julianDayUt) {
    BodyReading reading;
    const int number = LibraryBodyNumber(body);
    if (number < 0) {
        reading.message = "The Ascendant is not a body.";
        return reading;
    }
    std::lock_guard lock(LibraryMutex());
    double values[6] = {};
    char error[AS_MAXCH] = {};
    const bool withinFiles =
        julianDayUt >= kFilesFirstJulianDayUt && julianDayUt < kFilesEndJulianDayUt;
    const int32 wanted = (withinFiles ? SEFLG_SWIEPH : SEFLG_MOSEPH) | SEFLG_SPEED;
    const int32 flags = swe_calc_ut(julianDayUt, number, wanted, values, error);
    if (flags < 0) {
        reading.message = TrimmedMessage(error);
        return reading;
    }
    reading.ok = true;
    reading.longitude = values[0];
    reading.speed = values[3];
    // The flags returned tell which ephemeris really answered.
    if (!withinFiles) {
        reading.source = PositionSource::BuiltInOutsideFileYears;
    } else if ((flags & SEFLG_SWIEPH) == 0) {
        reading.source = PositionSource::BuiltInFilesMissing;
        reading.message = TrimmedMessage(error);
    }
    return reading;
}

Ephemeris::HouseReading Ephemeris::ReadHouses(double julianDayUt, double latitude, double longitude,
                                              HouseSystem requested) {
    HouseReading reading;
    reading.used = requested;
    std::lock_guard lock(LibraryMutex());
    // Room for the 36 sectors of the one system that has them.
    double cusps[37] = {};
    double angles[10] = {};
    double cuspSpeeds[37] = {};
    double angleSpeeds[10] = {};
    char error[AS_MAXCH] = {};
    // Latitude comes before longitude here.
    const int result =
        swe_houses_ex2(julianDayUt, 0, latitude, longitude, HouseSystemLetter(requested), cusps,
                       angles, cuspSpeeds, angleSpeeds, error);
    reading.message = TrimmedMessage(error);
    if (result < 0) {
        // Placidus and Koch are undefined inside the polar circles; the library
        // then fills in Porphyry houses and says so.
        if (std::strstr(error, "Porphyry") == nullptr) {
            return reading;
        }
        reading.used = HouseSystem::Porphyry;
    }
    reading.ok = true;
    for (std::size_t i = 0; i < reading.cusps.size(); ++i) {
        reading.cusps[i] = cusps[i + 1];
    }
    reading.ascendant = angles[SE_ASC];
    reading.midheaven = angles[SE_MC];
    return reading;
}

}  // namespace tolvaris
