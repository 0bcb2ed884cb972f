#include "core/chart/birth_fields.h"

#include <optional>
#include <variant>

#include "core/chart/coordinate_text.h"
#include "core/chart/message_text.h"
#include "core/chart/orbs_text.h"
#include "core/time/civil_time.h"

namespace tolvaris {
namespace {

std::string ClauseOf(const TimeError& error) {
    return AsClause(error.Message);
}

}  // namespace

std::string ReadBirthField(BirthField field, std::string_view value, BirthData& birth) {
    switch (field) {
        case BirthField::Name:
            birth.name = value;
            return {};
        case BirthField::Place:
            birth.placeName = value;
            return {};
        case BirthField::Date: {
            TimeResult<CivilDate> date = ParseDate(value);
            if (auto* error = std::get_if<TimeError>(&date)) {
                return ClauseOf(*error);
            }
            birth.date = std::get<CivilDate>(date);
            return {};
        }
        case BirthField::Time: {
            TimeResult<std::optional<CivilTime>> time = ParseTime(value);
            if (auto* error = std::get_if<TimeError>(&time)) {
                return ClauseOf(*error);
            }
            birth.time = std::get<std::optional<CivilTime>>(time);
            return {};
        }
        case BirthField::Latitude:
        case BirthField::Longitude: {
            const ValueParse degrees =
                field == BirthField::Latitude ? ParseLatitude(value) : ParseLongitude(value);
            if (!degrees.value) {
                return degrees.error;
            }
            (field == BirthField::Latitude ? birth.latitude : birth.longitude) = *degrees.value;
            return {};
        }
        case BirthField::Zone: {
            TimeResult<std::string> zone = ParseTimeZoneName(value);
            if (auto* error = std::get_if<TimeError>(&zone)) {
                return ClauseOf(*error);
            }
            birth.zone = std::get<std::string>(zone);
            return {};
        }
        case BirthField::UtcOffset: {
            TimeResult<int> offset = ParseUtcOffset(value);
            if (auto* error = std::get_if<TimeError>(&offset)) {
                return ClauseOf(*error);
            }
            birth.utcOffsetSeconds = std::get<int>(offset);
            return {};
        }
        case BirthField::Fold:
            if (value == "earlier" || value == "later") {
                birth.fold = value == "earlier" ? FoldChoice::Earlier : FoldChoice::Later;
                return {};
            }
            return "the fold \"" + ShownInMessage(value) + "\" is neither earlier nor later";
        case BirthField::Houses:
            if (const std::optional<HouseSystem> system = ParseHouseSystem(value)) {
                birth.houseSystem = *system;
                return {};
            }
            return "the house system \"" + ShownInMessage(value) + "\" is not one of " +
                   HouseSystemKeysText();
        case BirthField::Orbs: {
            const OrbsParse orbs = ParseOrbs(value, Orbs{});
            if (!orbs.value) {
                return orbs.error;
            }
            birth.orbs = *orbs.value;
            return {};
        }
    }
    return {};
}

}  // namespace tolvaris
