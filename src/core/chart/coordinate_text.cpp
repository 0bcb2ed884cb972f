#include "core/chart/coordinate_text.h"

#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"

namespace tolvaris {
namespace {

ValueParse ParseDegrees(std::string_view text, std::string_view field, std::string_view direction,
                        double limit, std::string_view example) {
    ValueParse result;
    const std::optional<double> degrees = ParsePlainDecimal(text);
    if (!degrees) {
        result.error = "the " + std::string(field) + " \"" + ShownInMessage(text) +
                       "\" is not a number of decimal degrees (" + std::string(direction) +
                       " positive, for example " + std::string(example) + ")";
        return result;
    }
    if (*degrees < -limit || *degrees > limit) {
        const std::string bound = FormatShortestDecimal(limit);
        result.error = "the " + std::string(field) + " " + std::string(text) + " is outside -" +
                       bound + " to " + bound;
        return result;
    }
    result.value = *degrees;
    return result;
}

}  // namespace

ValueParse ParseLatitude(std::string_view text) {
    return ParseDegrees(text, "latitude", "north", 90.0, "52.52");
}

ValueParse ParseLongitude(std::string_view text) {
    return ParseDegrees(text, "longitude", "east", 180.0, "13.41");
}

}  // namespace tolvaris
