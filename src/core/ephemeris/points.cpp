#include "core/ephemeris/points.h"

namespace tolvaris {

std::string_view PointName(Point point) {
    switch (point) {
        case Point::Sun:
            return "Sun";
        case Point::Moon:
            return "Moon";
        case Point::Mercury:
            return "Mercury";
        case Point::Venus:
            return "Venus";
        case Point::Mars:
            return "Mars";
        case Point::Jupiter:
            return "Jupiter";
        case Point::Saturn:
            return "Saturn";
        case Point::Uranus:
            return "Uranus";
        case Point::Neptune:
            return "Neptune";
        case Point::Pluto:
            return "Pluto";
        case Point::Ascendant:
            return "Ascendant";
    }
    return "";
}

}  // namespace tolvaris
