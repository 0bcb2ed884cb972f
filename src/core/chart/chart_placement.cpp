#include "core/chart/chart_placement.h"

namespace tolvaris {

std::optional<ChartPlacement> PlacementOf(const Chart& chart, Point point) {
    if (point == Point::Ascendant) {
        if (!chart.ascendant) {
            return std::nullopt;
        }
        return ChartPlacement{static_cast<int>(Point::Ascendant), chart.ascendant->sign,
                              std::nullopt};
    }
    for (const BodyPlacement& body : chart.bodies) {
        if (body.body == point) {
            ChartPlacement placement{static_cast<int>(point), body.sign, std::nullopt};
            if (body.house) {
                placement.houseIndex = *body.house - 1;
            }
            return placement;
        }
    }
    return std::nullopt;
}

}  // namespace tolvaris
