#include "core/sky/sky_positions.h"

#include "core/ephemeris/zodiac.h"

namespace tolvaris {

SkyPositions PositionsAt(Ephemeris& ephemeris, double julianDayUt, std::span<const Point> bodies) {
    SkyPositions sky;
    sky.positions.reserve(bodies.size());
    for (const Point body : bodies) {
        if (!RowOf(body).ephemerisBody) {
            sky.error = std::string(PointName(body)) + " is not a body; it needs a place.";
            sky.positions.clear();
            return sky;
        }
        Ephemeris::BodyReading reading = ephemeris.ReadBody(body, julianDayUt);
        if (!reading.ok) {
            sky.error = "The position of " + std::string(PointName(body)) +
                        " could not be computed: " + reading.message;
            sky.positions.clear();
            return sky;
        }
        if (reading.source != PositionSource::Files) {
            sky.source = reading.source;
            sky.fromBuiltIn.push_back(body);
        }
        const double longitude = NormaliseDegrees(reading.longitude);
        sky.positions.push_back({body, longitude, reading.speed, SignIndex(longitude),
                                 DegreeInSign(longitude), reading.speed < 0.0});
    }
    return sky;
}

std::vector<PointLongitude> LongitudesOf(std::span<const SkyPosition> positions) {
    std::vector<PointLongitude> points;
    points.reserve(positions.size());
    for (const SkyPosition& position : positions) {
        points.push_back({position.body, position.longitude});
    }
    return points;
}

}  // namespace tolvaris
