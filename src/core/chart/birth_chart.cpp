#include "core/chart/birth_chart.h"

#include <variant>

#include "core/chart/birth_fields.h"
#include "core/ephemeris/ut_instant.h"

namespace tolvaris {

std::string_view OffsetSourceName(OffsetSource source) {
    switch (source) {
        case OffsetSource::Zone:
            return "zone";
        case OffsetSource::LocalMeanTime:
            return "local mean time";
        case OffsetSource::Given:
            return "given";
    }
    return "zone";
}

std::string CheckBirthYear(const CivilDate& date) {
    if (date.year >= kFirstAcceptedYear && date.year <= kLastAcceptedYear) {
        return {};
    }
    // Offsets stay within a day of UT, so only the day either side of the
    // accepted years may still fall inside them; the instant decides there.
    const bool lastDayBefore =
        date.year == kFirstAcceptedYear - 1 && date.month == 12 && date.day == 31;
    const bool firstDayAfter =
        date.year == kLastAcceptedYear + 1 && date.month == 1 && date.day == 1;
    if (lastDayBefore || firstDayAfter) {
        return {};
    }
    return "Date must lie between the years " + std::to_string(kFirstAcceptedYear) + " and " +
           std::to_string(kLastAcceptedYear) + "; " + std::to_string(date.year) + " is outside.";
}

BirthChartResult ComputeBirthChart(Ephemeris& ephemeris, const BirthData& birth) {
    BirthChartResult result;
    // Coordinates and orbs first: the time needs a sound longitude.
    ChartRequest request;
    request.timeKnown = birth.time.has_value();
    request.latitude = birth.latitude;
    request.longitude = birth.longitude;
    request.houseSystem = birth.houseSystem;
    request.orbs = birth.orbs;
    if (std::string error = ValidateChartRequest(request); !error.empty()) {
        result.error = Error{ErrorKind::Input, std::nullopt, std::move(error)};
        return result;
    }
    if (std::string error = CheckBirthYear(birth.date); !error.empty()) {
        result.error = Error{ErrorKind::Input, BirthField::Date, std::move(error)};
        return result;
    }

    LocalTimeRequest local;
    local.date = birth.date;
    local.time = birth.time;
    local.zoneName = birth.zone;
    local.givenOffsetSeconds = birth.utcOffsetSeconds;
    local.longitude = birth.longitude;
    local.fold = birth.fold;
    BirthFieldSet given;
    given.Add(BirthField::Date);
    given.Add(BirthField::Time);
    given.Add(BirthField::Latitude);
    given.Add(BirthField::Longitude);
    if (!birth.zone.empty()) {
        given.Add(BirthField::Zone);
    }
    if (birth.utcOffsetSeconds) {
        given.Add(BirthField::UtcOffset);
    }
    if (const std::optional<BirthField> missing = MissingBirthField(given)) {
        result.error = InputError(*missing, "Give a time zone or a UTC offset.");
        return result;
    }
    TimeResult<UniversalTime> converted = ToUniversalTime(local);
    if (auto* failure = std::get_if<TimeError>(&converted)) {
        result.error = failure->repeated
                           ? Error{ErrorKind::RepeatedTime, BirthField::Time, failure->message}
                           : Error{ErrorKind::Input, std::nullopt, failure->message};
        result.repeated = failure->repeated;
        return result;
    }
    UniversalTime& ut = std::get<UniversalTime>(converted);

    request.utSeconds = ut.unixSeconds;
    // Checked again now that the instant is known (its years must be ones
    // the ephemeris covers): what fails after this is the library's doing.
    if (std::string error = ValidateChartRequest(request); !error.empty()) {
        result.error = Error{ErrorKind::Input, std::nullopt, std::move(error)};
        return result;
    }
    ChartResult computed = ComputeChart(ephemeris, request);
    if (!computed.Ok()) {
        result.error = Error{ErrorKind::Library, std::nullopt, std::move(computed.error)};
        return result;
    }
    BirthChart chart{birth, std::move(ut), std::move(*computed.chart), {}};
    chart.notes = chart.universalTime.notes;
    chart.notes.insert(chart.notes.end(), chart.chart.notes.begin(), chart.chart.notes.end());
    result.value = std::move(chart);
    return result;
}

}  // namespace tolvaris
