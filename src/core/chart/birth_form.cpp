#include "core/chart/birth_form.h"

#include <variant>

#include "core/chart/display_text.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

BirthFormResult Refuse(BirthField field, std::string message) {
    BirthFormResult result;
    result.field = field;
    result.error = std::move(message);
    return result;
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

BirthFormResult ReadBirthForm(const BirthForm& form) {
    BirthData birth;
    birth.name = form.name;
    birth.placeName = form.placeName;
    birth.houseSystem = form.houseSystem;
    birth.fold = form.fold;

    TimeResult<CivilDate> date = ParseDate(form.date);
    if (auto* error = std::get_if<TimeError>(&date)) {
        return Refuse(BirthField::Date, error->message);
    }
    birth.date = std::get<CivilDate>(date);
    if (!form.timeUnknown) {
        if (IsBlank(form.time)) {
            return Refuse(BirthField::Time,
                          "Time must be given, for example 14:05, or \"time unknown\" ticked.");
        }
        TimeResult<std::optional<CivilTime>> time = ParseTime(form.time);
        if (auto* error = std::get_if<TimeError>(&time)) {
            return Refuse(BirthField::Time, error->message);
        }
        birth.time = std::get<std::optional<CivilTime>>(time);
    }

    CoordinateResult latitude = ParseCoordinate(form.latitude, CoordinateAxis::Latitude);
    if (!latitude.value) {
        return Refuse(BirthField::Latitude, latitude.error);
    }
    birth.latitude = *latitude.value;
    CoordinateResult longitude = ParseCoordinate(form.longitude, CoordinateAxis::Longitude);
    if (!longitude.value) {
        return Refuse(BirthField::Longitude, longitude.error);
    }
    birth.longitude = *longitude.value;

    if (!IsBlank(form.offset)) {
        TimeResult<int> offset = ParseUtcOffset(form.offset);
        if (auto* error = std::get_if<TimeError>(&offset)) {
            return Refuse(BirthField::Offset, error->message);
        }
        birth.utcOffsetSeconds = std::get<int>(offset);
    }
    if (!IsBlank(form.zone) || !birth.utcOffsetSeconds) {
        TimeResult<std::string> zone = ParseTimeZoneName(form.zone);
        if (auto* error = std::get_if<TimeError>(&zone)) {
            // An offset given by hand makes a bad zone harmless, but a zone
            // that is kept in a chart file must still be a real one.
            return Refuse(BirthField::Zone, birth.utcOffsetSeconds
                                                ? error->message + " Clear it to use the offset."
                                                : error->message);
        }
        birth.zone = std::get<std::string>(zone);
    }

    if (std::string error = ValidateOrbs(form.orbs); !error.empty()) {
        return Refuse(BirthField::Orbs, error);
    }
    birth.orbs = form.orbs;

    BirthFormResult result;
    result.value = std::move(birth);
    return result;
}

BirthForm FormFromBirthData(const BirthData& birth) {
    BirthForm form;
    form.name = birth.name;
    form.date = FormatIsoDate(birth.date);
    form.timeUnknown = !birth.time.has_value();
    if (birth.time) {
        form.time = FormatClockTime(*birth.time);
    }
    form.placeName = birth.placeName;
    form.latitude = FormatCoordinate(birth.latitude);
    form.longitude = FormatCoordinate(birth.longitude);
    form.zone = birth.zone;
    if (birth.utcOffsetSeconds) {
        form.offset = FormatUtcOffset(*birth.utcOffsetSeconds);
    }
    form.fold = birth.fold;
    form.houseSystem = birth.houseSystem;
    form.orbs = birth.orbs;
    return form;
}

}  // namespace tolvaris
