#include "core/chart/birth_form.h"

#include <array>
#include <cstdio>
#include <utility>

#include "core/chart/birth_fields.h"
#include "core/chart/message_text.h"

#include "core/chart/display_text.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

// What the dialog says of a box left empty.
Error Missing(BirthField field) {
    switch (field) {
        case BirthField::Date:
            return InputError(field,
                              "the date is missing; write it as YYYY-MM-DD, for example "
                              "1990-01-01");
        case BirthField::Time:
            return InputError(field,
                              "the time is missing; write it as HH:MM, for example 14:05, "
                              "or tick \"time unknown\"");
        case BirthField::Zone:
            return InputError(field,
                              "the time zone is missing; give one, for example "
                              "Europe/Berlin, or a UTC offset");
        default: {
            // The coordinates' own reader says what to write.
            BirthData ignored;
            const Status read = ReadBirthField(field, "", ignored);
            return read ? InputError(field, "a field is missing") : read.Failure();
        }
    }
}

}  // namespace

Result<BirthData> ReadBirthForm(const BirthForm& form) {
    BirthData birth;
    birth.houseSystem = form.houseSystem;
    birth.fold = form.fold;

    const std::string time = form.timeUnknown ? std::string("unknown") : form.time;
    const std::array<std::pair<BirthField, const std::string*>, 8> boxes = {{
        {BirthField::Name, &form.name},
        {BirthField::Date, &form.date},
        {BirthField::Time, &time},
        {BirthField::Place, &form.placeName},
        {BirthField::Latitude, &form.latitude},
        {BirthField::Longitude, &form.longitude},
        {BirthField::UtcOffset, &form.offset},
        {BirthField::Zone, &form.zone},
    }};
    BirthFieldSet given;
    // A name and a place may be left blank; read they are all the same.
    given.Add(BirthField::Name);
    given.Add(BirthField::Place);
    for (const auto& [field, text] : boxes) {
        if (!IsBlank(*text)) {
            given.Add(field);
        }
    }
    if (const std::optional<BirthField> missing = MissingBirthField(given)) {
        return Missing(*missing);
    }
    for (const auto& [field, text] : boxes) {
        if (!given.Has(field)) {
            continue;
        }
        if (Status read = ReadBirthField(field, *text, birth); !read) {
            Error error = read.Failure();
            if (field == BirthField::Zone && given.Has(BirthField::UtcOffset)) {
                // An offset given by hand makes a bad zone harmless, but a
                // zone that is kept in a chart file must still be a real one.
                error.message += "; clear it to use the offset";
            }
            return error;
        }
    }

    if (std::string error = ValidateOrbs(form.orbs); !error.empty()) {
        return InputError(BirthField::Orbs, AsClause(error));
    }
    birth.orbs = form.orbs;
    return birth;
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
