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
