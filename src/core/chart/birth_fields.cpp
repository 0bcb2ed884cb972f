#include "core/chart/birth_fields.h"

#include <optional>
#include <variant>

#include "core/chart/coordinate_text.h"
#include "core/chart/message_text.h"
#include "core/chart/orbs_text.h"
#include "core/common/cp1252.h"
#include "core/common/utf8.h"
#include "core/time/civil_time.h"

namespace tolvaris {
namespace {

Error Refused(BirthField field, const TimeError& error) {
    return InputError(field, AsClause(error.message));
}

// Code points, not bytes: an accented name is as long as its letters.
std::size_t CodePoints(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count) {
        NextCodePoint(text, pos);
    }
    return count;
}

Status ReadLabel(BirthField field, std::string_view value, std::string& label) {
    if (CodePoints(value) > kMaxLabelCharacters) {
        return InputError(field, std::string(field == BirthField::Name ? "the name" : "the place") +
                                     " is longer than " + std::to_string(kMaxLabelCharacters) +
                                     " characters");
    }
    label = value;
    return Done();
}

}  // namespace

Status ReadBirthField(BirthField field, std::string_view value, BirthData& birth) {
    switch (field) {
        case BirthField::Name:
            return ReadLabel(field, value, birth.name);
        case BirthField::Place:
            return ReadLabel(field, value, birth.placeName);
        case BirthField::Date: {
            TimeResult<CivilDate> date = ParseDate(value);
            if (auto* error = std::get_if<TimeError>(&date)) {
                return Refused(field, *error);
            }
            birth.date = std::get<CivilDate>(date);
            return Done();
        }
        case BirthField::Time: {
            TimeResult<std::optional<CivilTime>> time = ParseTime(value);
            if (auto* error = std::get_if<TimeError>(&time)) {
                return Refused(field, *error);
            }
            birth.time = std::get<std::optional<CivilTime>>(time);
            return Done();
        }
        case BirthField::Latitude:
        case BirthField::Longitude: {
            const Result<double> degrees =
                ReadCoordinate(value, field == BirthField::Latitude ? CoordinateAxis::Latitude
                                                                    : CoordinateAxis::Longitude);
            if (!degrees) {
                return degrees.Failure();
            }
            (field == BirthField::Latitude ? birth.latitude : birth.longitude) = *degrees;
            return Done();
        }
        case BirthField::Zone: {
            TimeResult<std::string> zone = ParseTimeZoneName(value);
            if (auto* error = std::get_if<TimeError>(&zone)) {
                return Refused(field, *error);
            }
            birth.zone = std::get<std::string>(zone);
            return Done();
        }
        case BirthField::UtcOffset: {
            TimeResult<int> offset = ParseUtcOffset(value);
            if (auto* error = std::get_if<TimeError>(&offset)) {
                return Refused(field, *error);
            }
            birth.utcOffsetSeconds = std::get<int>(offset);
            return Done();
        }
        case BirthField::Fold:
            if (EqualIgnoringCase1252(value, "earlier") || EqualIgnoringCase1252(value, "later")) {
                birth.fold = EqualIgnoringCase1252(value, "earlier") ? FoldChoice::Earlier
                                                                     : FoldChoice::Later;
                return Done();
            }
            return InputError(
                field, "the fold \"" + ShownInMessage(value) + "\" is neither earlier nor later");
        case BirthField::Houses:
            if (const std::optional<HouseSystem> system = ParseHouseSystem(value)) {
                birth.houseSystem = *system;
                return Done();
            }
            return InputError(field, "the house system \"" + ShownInMessage(value) +
                                         "\" is not one of " + HouseSystemKeysText());
        case BirthField::Orbs: {
            const OrbsParse orbs = ParseOrbs(value, Orbs{});
            if (!orbs.value) {
                return InputError(field, orbs.error);
            }
            birth.orbs = *orbs.value;
            return Done();
        }
    }
    return Done();
}

std::optional<BirthField> MissingBirthField(const BirthFieldSet& given) {
    for (const BirthField needed :
         {BirthField::Date, BirthField::Time, BirthField::Latitude, BirthField::Longitude}) {
        if (!given.Has(needed)) {
            return needed;
        }
    }
    if (!given.Has(BirthField::Zone) && !given.Has(BirthField::UtcOffset)) {
        return BirthField::Zone;
    }
    return std::nullopt;
}

}  // namespace tolvaris
