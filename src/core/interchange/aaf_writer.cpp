#include <cmath>
#include <cstdio>

#include "core/chart/decimal_text.h"
#include "core/interchange/chart_records.h"
#include "core/interchange/record_fields.h"
#include "core/time/universal_time.h"

namespace tolvaris {
namespace {

constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr double kSecondsPerDay = 86400.0;
// Eight decimals of a day are under a millisecond: the second reads back.
constexpr int kJulianDayDecimals = 8;

// A comma ends an AAF field and a line end a line: both become something
// that reads back as one field.
std::string Field(std::string_view text) {
    std::string field(text);
    for (char& c : field) {
        if (c == ',') {
            c = ';';
        } else if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return field.empty() ? "*" : field;
}

// "52n31:12", with a fraction of the second only when the value has one
// beyond the millionth of a degree a chart file keeps (0.0036").
std::string Coordinate(double degrees, char positive, char negative) {
    const double seconds = std::abs(degrees) * 3600.0;
    auto units = static_cast<long long>(std::llround(seconds * 1000.0));
    if (std::abs(seconds - std::round(seconds)) < 0.004) {
        units = std::llround(seconds) * 1000;
    }
    const long long deg = units / 3600000;
    const long long min = units / 60000 % 60;
    const long long sec = units / 1000 % 60;
    const long long thousandths = units % 1000;
    std::array<char, 64> text{};
    if (thousandths == 0) {
        std::snprintf(text.data(), text.size(), "%lld%c%02lld:%02lld", deg,
                      degrees < 0 ? negative : positive, min, sec);
    } else {
        std::snprintf(text.data(), text.size(), "%lld%c%02lld:%02lld.%03lld", deg,
                      degrees < 0 ? negative : positive, min, sec, thousandths);
    }
    return text.data();
}

// "1hE00": whole minutes east or west.
std::string Zone(int offsetSeconds) {
    const int minutes = static_cast<int>(std::lround(std::abs(offsetSeconds) / 60.0));
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%dh%c%02d", minutes / 60,
                  offsetSeconds < 0 ? 'W' : 'E', minutes % 60);
    return text.data();
}

}  // namespace

std::string AafFileHeading() {
    return "#: AAF charts written by Tolvaris\r\n"
           "#: #A93: name,first name,type,date,time,place,country\r\n"
           "#: #B93: Julian day (UT),latitude,longitude,zone,summer time\r\n";
}

AafText FormatAafRecord(const BirthData& birth, std::string_view note,
                        const std::vector<std::string>& extraLines) {
    LocalTimeRequest request;
    request.date = birth.date;
    request.time = birth.time;
    request.zoneName = birth.zone;
    request.givenOffsetSeconds = birth.utcOffsetSeconds;
    request.longitude = birth.longitude;
    request.fold = birth.fold;
    const TimeResult<UniversalTime> moment = ToUniversalTime(request);
    if (const auto* error = std::get_if<TimeError>(&moment)) {
        return {{}, error->message};
    }
    const UniversalTime& ut = std::get<UniversalTime>(moment);

    std::string place = birth.placeName;
    std::string country;
    if (const std::size_t comma = place.rfind(", "); comma != std::string::npos) {
        country = place.substr(comma + 2);
        place.resize(comma);
    }
    std::array<char, 64> date{};
    std::snprintf(date.data(), date.size(), "%d.%d.%d", birth.date.day, birth.date.month,
                  birth.date.year);
    std::string time = "*";
    if (birth.time) {
        std::array<char, 32> clock{};
        std::snprintf(clock.data(), clock.size(), "%d:%02d:%02d", birth.time->hour,
                      birth.time->minute, birth.time->second);
        time = clock.data();
    }
    // The Julian day only with a known time: an unknown one is computed at
    // noon, which the day would turn into a time of birth.
    std::string julianDay = "*";
    if (birth.time) {
        julianDay = FormatFixedDecimal(
            static_cast<double>(ut.unixSeconds) / kSecondsPerDay + kUnixEpochJulianDay,
            kJulianDayDecimals);
    }
    const bool localMean = ut.offsetSeconds % 60 != 0 &&
                           ut.offsetSeconds == LocalMeanTimeOffsetSeconds(birth.longitude);

    AafText out;
    out.text = "#A93:" + Field(birth.name) + ",*,*," + date.data() + "," + time + "," +
               Field(place) + "," + Field(country) + "\r\n";
    out.text += "#B93:" + julianDay + "," + Coordinate(birth.latitude, 'n', 's') + "," +
                Coordinate(birth.longitude, 'e', 'w') + "," +
                (localMean ? std::string("*,L") : Zone(ut.offsetSeconds) + ",0") + "\r\n";
    for (const std::string_view line : SplitRecordLines(note)) {
        out.text += "#COM:" + std::string(line) + "\r\n";
    }
    for (const std::string& line : extraLines) {
        out.text += line + "\r\n";
    }
    return out;
}

}  // namespace tolvaris
