#include "core/chart/display_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/chart/decimal_text.h"
#include "core/ephemeris/zodiac.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view FieldName(CoordinateAxis axis) {
    return axis == CoordinateAxis::Latitude ? "Latitude" : "Longitude";
}

CoordinateResult Refuse(std::string message) {
    return {std::nullopt, std::move(message)};
}

// A number of digits with an optional decimal part; advances `text`.
std::optional<double> TakeNumber(std::string_view& text) {
    std::size_t end = 0;
    bool digits = false;
    bool point = false;
    while (end < text.size()) {
        const char c = text[end];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
        ++end;
    }
    if (!digits) {
        return std::nullopt;
    }
    std::string number(text.substr(0, end));
    for (char& c : number) {
        if (c == ',') {
            c = '.';  // a decimal comma, as many keyboards type it
        }
    }
    // Read the same whatever the locale: Qt sets the user's, and a German
    // one would stop strtod at the point.
    const std::optional<double> value = ParsePlainDecimal(number);
    if (value) {
        text.remove_prefix(end);
    }
    return value;
}

// Drops leading spaces and one of the given marks; true when a mark was there.
bool TakeMark(std::string_view& text, std::initializer_list<std::string_view> marks) {
    text = Trim(text);
    for (const std::string_view mark : marks) {
        if (text.substr(0, mark.size()) == mark) {
            text.remove_prefix(mark.size());
            text = Trim(text);
            return true;
        }
    }
    return false;
}

}  // namespace

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

CoordinateResult ParseCoordinate(std::string_view text, CoordinateAxis axis) {
    const bool latitude = axis == CoordinateAxis::Latitude;
    const std::string field(FieldName(axis));
    const std::string example =
        latitude ? "52.52, -33.87, 52°31'N or 33 52 S" : "13.405, -74.006, 13°24'E or 74 0 W";
    std::string_view rest = Trim(text);
    if (rest.empty()) {
        return Refuse(field + " must be given, for example " + example + ".");
    }
    const std::string refusal = field + " \"" + std::string(Trim(text)) +
                                "\" is not understood; write it as " + example + ".";
    double sign = 1.0;
    if (rest.front() == '-' || rest.front() == '+') {
        sign = rest.front() == '-' ? -1.0 : 1.0;
        rest.remove_prefix(1);
    }
    // Degrees, then optionally minutes and seconds, each a whole number but
    // the last one given.
    std::vector<double> parts;
    bool lastHadFraction = false;
    while (parts.size() < 3) {
        rest = Trim(rest);
        std::optional<double> number = TakeNumber(rest);
        if (!number) {
            break;
        }
        if (lastHadFraction) {
            return Refuse(refusal);
        }
        lastHadFraction = std::floor(*number) != *number;
        parts.push_back(*number);
        const std::size_t index = parts.size() - 1;
        if (index == 0) {
            TakeMark(rest, {"\u00B0", "d", "D"});
        } else if (index == 1) {
            TakeMark(rest, {"'", "\u2032", "m"});
        } else {
            TakeMark(rest, {"\"", "\u2033", "''", "s"});
        }
    }
    if (parts.empty()) {
        return Refuse(refusal);
    }
    rest = Trim(rest);
    if (!rest.empty()) {
        const char letter =
            static_cast<char>(std::toupper(static_cast<unsigned char>(rest.front())));
        const char positive = latitude ? 'N' : 'E';
        const char negative = latitude ? 'S' : 'W';
        if (rest.size() != 1 || (letter != positive && letter != negative)) {
            return Refuse(refusal);
        }
        if (sign < 0) {
            return Refuse(field + " \"" + std::string(Trim(text)) +
                          "\" has both a minus sign and a hemisphere letter; give one of them.");
        }
        sign = letter == negative ? -1.0 : 1.0;
    }
    if (parts.size() > 1 && (parts[1] >= 60 || (parts.size() > 2 && parts[2] >= 60))) {
        return Refuse(field + " \"" + std::string(Trim(text)) +
                      "\" has minutes or seconds of 60 or more.");
    }
    double value = parts[0];
    if (parts.size() > 1) {
        value += parts[1] / 60.0;
    }
    if (parts.size() > 2) {
        value += parts[2] / 3600.0;
    }
    value *= sign;
    const double limit = latitude ? 90.0 : 180.0;
    if (std::fabs(value) > limit) {
        return Refuse(field + " must lie between -" + std::to_string(static_cast<int>(limit)) +
                      " and " + std::to_string(static_cast<int>(limit)) + " degrees.");
    }
    return {value, ""};
}

std::string FormatCoordinate(double degrees) {
    std::string result = FormatFixedDecimal(degrees, 6);
    while (result.back() == '0' && result[result.size() - 2] != '.') {
        result.pop_back();
    }
    return result;
}

std::string PlaceLabel(const Place& place) {
    std::string label = place.Name;
    if (!place.Region.empty() && place.Region != place.Name) {
        label += ", " + place.Region;
    }
    if (!place.Country.empty()) {
        label += ", " + place.Country;
    }
    return label;
}

std::string DescribeUniversalTime(const UniversalTime& time, std::string_view zone) {
    std::string text = "UT " + FormatUniversalDateTime(time.unixSeconds) + ", offset " +
                       FormatUtcOffset(time.offsetSeconds);
    if (!time.abbreviation.empty()) {
        text += " (" + time.abbreviation + ")";
    }
    switch (time.source) {
        case OffsetSource::Zone:
            return text + " from the zone " + std::string(zone);
        case OffsetSource::LocalMeanTime:
            return text + ": local mean time of the birthplace, as " + std::string(zone) +
                   " kept no standard time then";
        case OffsetSource::Given:
            break;
    }
    return text + ", given by hand";
}

}  // namespace tolvaris
