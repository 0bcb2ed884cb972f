#include "core/chart/coordinate_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <span>
#include <vector>

#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"

namespace tolvaris {
namespace {

struct AxisRule {
    BirthField field;
    std::string_view name;
    char positive;
    char negative;
    int limit;
    std::string_view forms;
};

AxisRule RuleOf(CoordinateAxis axis) {
    if (axis == CoordinateAxis::Latitude) {
        return {BirthField::Latitude,
                "latitude",
                'N',
                'S',
                90,
                "decimal degrees, north positive (52.52, -33.87), or degrees and minutes "
                "(52n31, 52°31'N, 52 31 N, 52:31:00N)"};
    }
    return {BirthField::Longitude,
            "longitude",
            'E',
            'W',
            180,
            "decimal degrees, east positive (13.405, -74.006), or degrees and minutes "
            "(13e24, 13°24'30\"E, 13 24 E, 74:00:21W)"};
}

void SkipSpaces(std::string_view& text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
}

std::string_view Trim(std::string_view text) {
    SkipSpaces(text);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

// Digits with an optional decimal part (point or comma); advances `text`
// and keeps the digits as typed in `typed`.
std::optional<double> TakeNumber(std::string_view& text, std::string& typed) {
    std::size_t end = 0;
    bool digits = false;
    bool point = false;
    while (end < text.size()) {
        const char c = text[end];
        if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
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
    // ParsePlainDecimal reads a point whatever the locale: Qt sets the
    // user's, and a German one would stop strtod at the point.
    const std::optional<double> value = ParsePlainDecimal(number);
    if (value) {
        typed = number;
        text.remove_prefix(end);
    }
    return value;
}

// Drops one of the marks if the text starts with it.
bool TakeMark(std::string_view& text, std::span<const std::string_view> marks) {
    for (const std::string_view mark : marks) {
        if (text.substr(0, mark.size()) == mark) {
            text.remove_prefix(mark.size());
            return true;
        }
    }
    return false;
}

// The marks after degrees, minutes and seconds. A colon separates the parts
// as clocks do; letters that could be a hemisphere (s, m, e) are no marks.
constexpr std::array<std::string_view, 5> kDegreeMarks = {"\u00B0", "\u00BA", "d", "D", ":"};
constexpr std::array<std::string_view, 5> kMinuteMarks = {"''", "'", "\u2032", "\u2019", ":"};
constexpr std::array<std::string_view, 4> kSecondMarks = {"\"", "\u2033", "''", "\u201D"};

// Whether the parts as typed (degrees, then any minutes and seconds) exceed
// a whole-degree limit. Decided on the digits, not the double: 90.000000000000001
// reads as 90.0 but is beyond the pole.
bool TypedBeyond(const std::vector<std::string>& typed, int limit) {
    std::string_view degrees = typed.front();
    const std::size_t point = degrees.find('.');
    std::string_view whole = degrees.substr(0, point);
    while (whole.size() > 1 && whole.front() == '0') {
        whole.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(whole.data(), whole.data() + whole.size(), value);
    if (error != std::errc() || end != whole.data() + whole.size() || value > limit) {
        return true;
    }
    if (value < limit) {
        return false;
    }
    const auto nonZero = [](std::string_view digits) {
        return digits.find_first_of("123456789") != std::string_view::npos;
    };
    if (point != std::string_view::npos && nonZero(degrees.substr(point))) {
        return true;
    }
    return std::any_of(typed.begin() + 1, typed.end(), nonZero);
}

}  // namespace

Result<double> ReadCoordinate(std::string_view text, CoordinateAxis axis) {
    const AxisRule rule = RuleOf(axis);
    const std::string name(rule.name);
    const std::string_view trimmed = Trim(text);
    const auto refuse = [&rule](std::string message) {
        return Error{ErrorKind::Input, rule.field, std::move(message)};
    };
    if (trimmed.empty()) {
        return refuse("the " + name + " is empty; write " + std::string(rule.forms));
    }
    const std::string quoted = "\"" + ShownInMessage(trimmed) + "\"";
    const auto notUnderstood = [&]() {
        return refuse("the " + name + " " + quoted + " is not understood; write " +
                      std::string(rule.forms));
    };

    std::string_view rest = trimmed;
    double sign = 1.0;
    bool hasSign = false;
    if (rest.front() == '-' || rest.front() == '+') {
        sign = rest.front() == '-' ? -1.0 : 1.0;
        hasSign = true;
        rest.remove_prefix(1);
    }
    std::vector<double> parts;
    std::vector<std::string> typed;
    std::optional<char> hemisphere;
    // Some atlases put the letter first: "N52°31'".
    if (!hasSign && !rest.empty()) {
        const char letter =
            static_cast<char>(std::toupper(static_cast<unsigned char>(rest.front())));
        if (letter == rule.positive || letter == rule.negative) {
            hemisphere = letter;
            rest.remove_prefix(1);
        }
    }
    bool colonPending = false;  // "52:" promises minutes that never came
    while (parts.size() < 3) {
        SkipSpaces(rest);
        std::string digits;
        const std::optional<double> number = TakeNumber(rest, digits);
        if (!number) {
            break;
        }
        typed.push_back(std::move(digits));
        if (!parts.empty() && std::floor(parts.back()) != parts.back()) {
            return notUnderstood();  // "52.5 30": only the last part may have a fraction
        }
        parts.push_back(*number);
        colonPending = false;
        SkipSpaces(rest);
        const std::span<const std::string_view> marks =
            parts.size() == 1   ? std::span<const std::string_view>(kDegreeMarks)
            : parts.size() == 2 ? std::span<const std::string_view>(kMinuteMarks)
                                : std::span<const std::string_view>(kSecondMarks);
        colonPending = parts.size() < 3 && rest.substr(0, 1) == ":";
        TakeMark(rest, marks);
        SkipSpaces(rest);
        // The hemisphere letter may stand between the parts ("52n31") or at the end.
        if (!rest.empty() && !hemisphere) {
            const char letter =
                static_cast<char>(std::toupper(static_cast<unsigned char>(rest.front())));
            if (letter == rule.positive || letter == rule.negative) {
                hemisphere = letter;
                rest.remove_prefix(1);
            }
        }
    }
    SkipSpaces(rest);
    if (parts.empty() || !rest.empty() || colonPending) {
        return notUnderstood();
    }
    if (hemisphere && hasSign) {
        return refuse("the " + name + " " + quoted +
                      " has both a sign and a hemisphere letter; give one of them");
    }
    if (hemisphere) {
        sign = *hemisphere == rule.negative ? -1.0 : 1.0;
    }
    if ((parts.size() > 1 && parts[1] >= 60.0) || (parts.size() > 2 && parts[2] >= 60.0)) {
        return refuse("the " + name + " " + quoted + " has minutes or seconds of 60 or more");
    }
    double value = parts[0];
    if (parts.size() > 1) {
        value += parts[1] / 60.0;
    }
    if (parts.size() > 2) {
        value += parts[2] / 3600.0;
    }
    if (!TypedBeyond(typed, rule.limit)) {
        // Within the limit as typed; rounding may not carry the sum past it.
        value = std::min(value, static_cast<double>(rule.limit));
    }
    value *= sign;
    if (TypedBeyond(typed, rule.limit) || !(std::fabs(value) <= rule.limit)) {
        const std::string bound = FormatShortestDecimal(rule.limit);
        return refuse("the " + name + " " + ShownInMessage(trimmed) + " is outside -" + bound +
                      " to " + bound);
    }
    return value;
}

std::string FormatCoordinateDms(double degrees, CoordinateAxis axis) {
    const AxisRule rule = RuleOf(axis);
    const long long seconds = std::llround(std::fabs(degrees) * 3600.0);
    const char letter = seconds == 0 || degrees >= 0 ? rule.positive : rule.negative;
    char text[48];
    if (seconds % 60 == 0) {
        std::snprintf(text, sizeof text, "%lld\u00B0%02lld'%c", seconds / 3600, seconds / 60 % 60,
                      letter);
    } else {
        std::snprintf(text, sizeof text, "%lld\u00B0%02lld'%02lld\"%c", seconds / 3600,
                      seconds / 60 % 60, seconds % 60, letter);
    }
    return text;
}

std::string FormatCoordinates(double latitude, double longitude) {
    return FormatCoordinateDms(latitude, CoordinateAxis::Latitude) + " " +
           FormatCoordinateDms(longitude, CoordinateAxis::Longitude);
}

}  // namespace tolvaris
