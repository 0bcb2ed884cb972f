#include "core/ephemeris/zodiac.h"

#include <cmath>

namespace tolvaris {

double NormaliseDegrees(double degrees) {
    double result = std::fmod(degrees, 360.0);
    if (result < 0.0) {
        result += 360.0;
    }
    // fmod of a tiny negative number plus 360 can round up to 360 itself.
    if (result >= 360.0) {
        result = 0.0;
    }
    return result;
}

int SignIndex(double longitude) {
    const int index = static_cast<int>(NormaliseDegrees(longitude) / 30.0);
    return index > 11 ? 11 : index;
}

double DegreeInSign(double longitude) {
    return NormaliseDegrees(longitude) - 30.0 * SignIndex(longitude);
}

ShownLongitude ShowLongitude(double longitude) {
    // Whole millionths keep the arithmetic exact once rounded.
    constexpr long long kPerDegree = 1'000'000;
    constexpr long long kTurn = 360 * kPerDegree;
    constexpr long long kSign = 30 * kPerDegree;
    long long millionths = std::llround(NormaliseDegrees(longitude) * kPerDegree) % kTurn;
    if (millionths < 0) {
        millionths += kTurn;
    }
    const long long inSign = millionths % kSign;
    const long long seconds = inSign * 3600 / kPerDegree;
    return {static_cast<double>(millionths) / kPerDegree, static_cast<int>(millionths / kSign),
            static_cast<double>(inSign) / kPerDegree,     static_cast<int>(seconds / 3600),
            static_cast<int>(seconds / 60 % 60),          static_cast<int>(seconds % 60)};
}

std::optional<int> HouseOf(double longitude, const HouseCusps& cusps) {
    // Inside the polar circles some systems give cusps that run against the
    // zodiac; their houses then open at each cusp going backwards.
    double forwardTotal = 0.0;
    double backwardTotal = 0.0;
    for (std::size_t i = 0; i < cusps.size(); ++i) {
        const double next = cusps[(i + 1) % cusps.size()];
        forwardTotal += NormaliseDegrees(next - cusps[i]);
        backwardTotal += NormaliseDegrees(cusps[i] - next);
    }
    constexpr double kOneTurn = 360.0;
    constexpr double kSlack = 1e-6;
    const bool forward = std::fabs(forwardTotal - kOneTurn) < kSlack;
    const bool backward = !forward && std::fabs(backwardTotal - kOneTurn) < kSlack;
    if (!forward && !backward) {
        return std::nullopt;  // cusps out of order: no consistent houses
    }
    for (std::size_t i = 0; i < cusps.size(); ++i) {
        const double start = cusps[i];
        const double end = cusps[(i + 1) % cusps.size()];
        const double span = forward ? NormaliseDegrees(end - start) : NormaliseDegrees(start - end);
        const double offset =
            forward ? NormaliseDegrees(longitude - start) : NormaliseDegrees(start - longitude);
        if (offset < span) {
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

}  // namespace tolvaris
