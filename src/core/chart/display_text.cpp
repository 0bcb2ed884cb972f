#include "core/chart/display_text.h"

#include <cmath>
#include <cstdio>

#include "core/chart/decimal_text.h"
#include "core/ephemeris/zodiac.h"
#include "core/time/time_format.h"

namespace tolvaris {

std::string FormatDegreesMinutes(double degrees) {
    // A hair added before cutting keeps 10.5 (exactly 10°30') from printing
    // as 10°29' after rounding in the arithmetic that produced it.
    const long long minutes = static_cast<long long>(std::floor(std::fabs(degrees) * 60.0 + 1e-9));
    char text[32];
    std::snprintf(text, sizeof text, "%lld\u00B0%02lld'", minutes / 60, minutes % 60);
    return text;
}

std::string FormatZodiacPosition(double longitude) {
    const double normal = NormaliseDegrees(longitude);
    return FormatDegreesMinutes(DegreeInSign(normal)) + " " +
           std::string(SignName(SignIndex(normal)));
}

std::string FormatCoordinate(double degrees) {
    std::string result = FormatFixedDecimal(degrees, 6);
    while (result.back() == '0' && result[result.size() - 2] != '.') {
        result.pop_back();
    }
    return result;
}

std::string PlaceLabel(const Place& place) {
    std::string label = place.name;
    if (!place.region.empty() && place.region != place.name) {
        label += ", " + place.region;
    }
    if (!place.country.empty()) {
        label += ", " + place.country;
    }
    return label;
}

std::string UniversalTimeText(const UniversalTime& time, std::string_view zone) {
    // "1990-01-01 11:00:00" reads better than the ISO form with T and Z.
    std::string text = FormatUniversalTime(time.unixSeconds);
    if (text.size() > 10 && text[10] == 'T') {
        text[10] = ' ';
    }
    if (!text.empty() && text.back() == 'Z') {
        text.pop_back();
    }
    text += ", UTC" + FormatUtcOffset(time.offsetSeconds);
    if (!time.abbreviation.empty()) {
        text += " (" + time.abbreviation + ")";
    }
    switch (time.source) {
        case OffsetSource::Zone:
            return text + " from the time zone " + std::string(zone);
        case OffsetSource::LocalMeanTime:
            return text + ", the local mean time of the birthplace (" + std::string(zone) +
                   " kept no standard time then)";
        case OffsetSource::Given:
            break;
    }
    return text + ", given by hand";
}

std::string DescribeUniversalTime(const UniversalTime& time, std::string_view zone) {
    return "UT " + UniversalTimeText(time, zone);
}

}  // namespace tolvaris
