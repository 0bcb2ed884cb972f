#include "core/ephemeris/ephemeris.h"

#include <swephexp.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <vector>

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

// The files for the years we ask the files about (1800-2399).
constexpr const char* kPlanetFile = "sepl_18.se1";
constexpr const char* kMoonFile = "semo_18.se1";

// The folders the library searches, in its order.
std::vector<std::filesystem::path> FoldersIn(const std::string& folders) {
    std::vector<std::filesystem::path> list;
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = folders.find_first_of(":;", start);
        const std::string part = folders.substr(start, end - start);
        if (!part.empty()) {
            list.emplace_back(part);
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return list;
}

// The first copy of `name` the library would open, if any.
std::optional<std::filesystem::path> FindFile(const std::string& folders, const char* name) {
    for (const std::filesystem::path& folder : FoldersIn(folders)) {
        std::error_code ignored;
        if (std::filesystem::is_regular_file(folder / name, ignored)) {
            return folder / name;
        }
    }
    return std::nullopt;
}

// A file's header states its own length: after three text lines come a
// 32-bit byte-order mark ("abc") and the length. False when that does not
// match the size on disk or the header cannot be read.
bool LengthAsStated(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    for (int i = 0; i < 3; ++i) {
        if (!std::getline(in, line)) {
            return false;
        }
    }
    unsigned char word[8] = {};
    if (!in.read(reinterpret_cast<char*>(word), sizeof word)) {
        return false;
    }
    const auto read32 = [&](int at, bool little) {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const int index = little ? at + 3 - i : at + i;
            value = (value << 8) | word[index];
        }
        return value;
    };
    constexpr std::uint32_t kOrderMark = 0x616263;
    bool little = true;
    if (read32(0, true) != kOrderMark) {
        if (read32(0, false) != kOrderMark) {
            return false;
        }
        little = false;
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return !error && size == read32(4, little);
}

// The library names the planet file when any file it needs is damaged, even
// when the Moon file is the one cut short; name the one that really is.
std::string DamageMessage(const std::string& folders, const std::string& libraryMessage) {
    if (libraryMessage.find("damaged") == std::string::npos) {
        return libraryMessage;
    }
    for (const char* name : {kMoonFile, kPlanetFile}) {
        const std::optional<std::filesystem::path> path = FindFile(folders, name);
        if (path && !LengthAsStated(*path)) {
            return "Ephemeris file " + path->string() +
                   " is damaged: its length differs from the length its header gives.";
        }
    }
    return libraryMessage;
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
        reading.message = DamageMessage(folder_, TrimmedMessage(error));
        return reading;
    }
    reading.ok = true;
    reading.longitude = values[0];
    reading.speed = values[3];
    // Without the planet file the flags returned tell. Without only the Moon
    // file they still claim the files, and the library's message says so for
    // every body, so the Moon is also checked against the file itself.
    const std::string message = TrimmedMessage(error);
    const bool moonFromModel =
        body == Point::Moon && (message.find("Moshier eph. for moon") != std::string::npos ||
                                !FindFile(folder_, kMoonFile));
    if (!withinFiles) {
        reading.source = PositionSource::BuiltInOutsideFileYears;
    } else if ((flags & SEFLG_SWIEPH) == 0 || moonFromModel) {
        reading.source = PositionSource::BuiltInFilesMissing;
        reading.message = message;
    }
    return reading;
}

namespace {

// The library's cusps and angles, or its Porphyry fallback inside the polar
// circles (Placidus and Koch are undefined there); false on a failure.
bool TakeHouses(int result, const char* error, const double* cusps, const double* angles,
                Ephemeris::HouseReading& reading) {
    reading.message = TrimmedMessage(error);
    if (result < 0) {
        if (std::strstr(error, "Porphyry") == nullptr) {
            return false;
        }
        reading.used = HouseSystem::Porphyry;
    }
    reading.ok = true;
    for (std::size_t i = 0; i < reading.cusps.size(); ++i) {
        reading.cusps[i] = cusps[i + 1];
    }
    reading.ascendant = angles[SE_ASC];
    reading.midheaven = angles[SE_MC];
    return true;
}

}  // namespace

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
    TakeHouses(result, error, cusps, angles, reading);
    return reading;
}

Ephemeris::HouseReading Ephemeris::ReadHousesFromArmc(double armc, double latitude,
                                                      double obliquity, HouseSystem requested) {
    HouseReading reading;
    reading.used = requested;
    std::lock_guard lock(LibraryMutex());
    double cusps[37] = {};
    double angles[10] = {};
    double cuspSpeeds[37] = {};
    double angleSpeeds[10] = {};
    char error[AS_MAXCH] = {};
    const int result = swe_houses_armc_ex2(armc, latitude, obliquity, HouseSystemLetter(requested),
                                           cusps, angles, cuspSpeeds, angleSpeeds, error);
    TakeHouses(result, error, cusps, angles, reading);
    return reading;
}

Ephemeris::ObliquityReading Ephemeris::ReadTrueObliquity(double julianDayUt) {
    ObliquityReading reading;
    std::lock_guard lock(LibraryMutex());
    double values[6] = {};
    char error[AS_MAXCH] = {};
    // Nutation needs no planet file; the flag only keeps the library from
    // searching for one beyond the files' years.
    const bool withinFiles =
        julianDayUt >= kFilesFirstJulianDayUt && julianDayUt < kFilesEndJulianDayUt;
    const int32 flags = swe_calc_ut(julianDayUt, SE_ECL_NUT,
                                    withinFiles ? SEFLG_SWIEPH : SEFLG_MOSEPH, values, error);
    if (flags < 0) {
        reading.message = TrimmedMessage(error);
        return reading;
    }
    reading.ok = true;
    reading.degrees = values[0];
    return reading;
}

}  // namespace tolvaris
