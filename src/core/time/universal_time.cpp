#include "core/time/universal_time.h"

#include <cmath>
#include <cstdio>

#include "core/time/time_format.h"
#include "core/time/zone_periods.h"

namespace tolvaris {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// The installed zone files list each change of the clocks up to 2037 only;
// later changes follow a rule this library does not read.
constexpr std::int64_t kStartOf2037 = 2114380800;
constexpr std::int64_t kStartOf2038 = 2145916800;
// No offset, local mean times included, exceeds a day: two days either way
// surely hold every reading of a local time.
constexpr std::int64_t kSearchMargin = 2 * kSecondsPerDay;

struct Reading {
    std::int64_t UnixSeconds = 0;
    int OffsetSeconds = 0;
    const ZonePeriod* Period = nullptr;
};

TimeError Refusal(std::string message) {
    return TimeError{std::move(message), std::nullopt};
}

std::string DateDigits(const CivilDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
    return text;
}

CivilDate DateOfLocalSeconds(std::int64_t localSeconds) {
    std::int64_t days = localSeconds / kSecondsPerDay;
    if (localSeconds % kSecondsPerDay < 0) {
        --days;
    }
    return DateFromDaysSinceEpoch(days);
}

CivilTime ClockOfLocalSeconds(std::int64_t localSeconds) {
    std::int64_t second = localSeconds % kSecondsPerDay;
    if (second < 0) {
        second += kSecondsPerDay;
    }
    return CivilTime{static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60),
                     static_cast<int>(second % 60)};
}

// "03:00", with the date added when it is not the day the user gave.
std::string LocalMoment(std::int64_t localSeconds, const CivilDate& givenDay) {
    std::string text = FormatClockTime(ClockOfLocalSeconds(localSeconds));
    const CivilDate day = DateOfLocalSeconds(localSeconds);
    if (!(day == givenDay)) {
        text += " on " + FormatDateInWords(day);
    }
    return text;
}

std::string LongitudeText(double longitude) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f %c", std::fabs(longitude), longitude < 0 ? 'W' : 'E');
    return text;
}

int EffectiveOffset(const ZonePeriod& period, int localMeanTimeOffset) {
    return period.IsLocalMeanTime ? localMeanTimeOffset : period.OffsetSeconds;
}

std::string LocalMeanTimeNote(const LocalTimeRequest& request, const ZonePeriod& period,
                              int offsetSeconds) {
    std::string note = "Local mean time at " + LongitudeText(request.Longitude) + " (UTC" +
                       FormatUtcOffset(offsetSeconds) + ") used: " + request.ZoneName +
                       " kept no standard time";
    if (period.IsLast) {
        return note + " then.";
    }
    const auto next = ZonePeriodsBetween(request.ZoneName, period.End, period.End);
    if (!next || next->empty()) {
        return note + " then.";
    }
    const std::int64_t startLocal = period.End + next->front().OffsetSeconds;
    return note + " before " + FormatDateInWords(DateOfLocalSeconds(startLocal)) + ".";
}

TimeResult<UniversalTime> FromZone(const LocalTimeRequest& request, const CivilTime& clock,
                                   std::int64_t localSeconds, UniversalTime result) {
    if (request.ZoneName.empty()) {
        return Refusal("Time zone must be given, for example Europe/Berlin, or a UTC offset.");
    }
    const auto periods = ZonePeriodsBetween(request.ZoneName, localSeconds - kSearchMargin,
                                            localSeconds + kSearchMargin);
    if (!periods) {
        return Refusal("Unknown time zone \"" + request.ZoneName + "\".");
    }
    const int meanTimeOffset = LocalMeanTimeOffsetSeconds(request.Longitude);

    std::vector<Reading> readings;
    for (const ZonePeriod& period : *periods) {
        const int offset = EffectiveOffset(period, meanTimeOffset);
        const std::int64_t unixSeconds = localSeconds - offset;
        if (unixSeconds >= period.Begin && unixSeconds < period.End) {
            readings.push_back(Reading{unixSeconds, offset, &period});
        }
        if (period.IsLast && period.Begin >= kStartOf2037 && unixSeconds >= kStartOf2038) {
            return Refusal(request.ZoneName +
                           " changes its clocks every year, but the time zone data here lists "
                           "the changes only up to 2037. Give the UTC offset instead.");
        }
    }

    const std::string when = FormatClockTime(clock) + " on " + FormatDateInWords(request.Date);
    if (readings.empty()) {
        for (std::size_t i = 0; i + 1 < periods->size(); ++i) {
            const std::int64_t change = (*periods)[i].End;
            const std::int64_t before = change + EffectiveOffset((*periods)[i], meanTimeOffset);
            const std::int64_t after = change + EffectiveOffset((*periods)[i + 1], meanTimeOffset);
            if (before <= localSeconds && localSeconds < after) {
                return Refusal(when + " did not exist in " + request.ZoneName +
                               ": clocks went from " + LocalMoment(before, request.Date) + " to " +
                               LocalMoment(after, request.Date) + ".");
            }
        }
        return Refusal(when + " did not exist in " + request.ZoneName + ".");
    }

    Reading chosen = readings.front();
    if (readings.size() > 1) {
        const Reading& earlier = readings.front();
        const Reading& later = readings.back();
        const std::string twice = when + " happened twice in " + request.ZoneName;
        if (request.Fold == FoldChoice::None) {
            TimeError error =
                Refusal(twice + ": earlier at UTC" + FormatUtcOffset(earlier.OffsetSeconds) +
                        ", later at UTC" + FormatUtcOffset(later.OffsetSeconds) + ".");
            error.Repeated = RepeatedLocalTime{earlier.OffsetSeconds, later.OffsetSeconds,
                                               earlier.UnixSeconds, later.UnixSeconds};
            return error;
        }
        const bool takeEarlier = request.Fold == FoldChoice::Earlier;
        chosen = takeEarlier ? earlier : later;
        result.Notes.push_back(twice + "; the " + (takeEarlier ? "earlier" : "later") +
                               " reading, UTC" + FormatUtcOffset(chosen.OffsetSeconds) +
                               ", was used.");
    }

    result.UnixSeconds = chosen.UnixSeconds;
    result.OffsetSeconds = chosen.OffsetSeconds;
    result.Abbreviation = chosen.Period->Abbreviation;
    if (chosen.Period->IsLocalMeanTime) {
        result.Source = OffsetSource::LocalMeanTime;
        result.Notes.push_back(LocalMeanTimeNote(request, *chosen.Period, chosen.OffsetSeconds));
    } else {
        result.Source = OffsetSource::Zone;
    }
    return result;
}

}  // namespace

int LocalMeanTimeOffsetSeconds(double longitude) {
    return static_cast<int>(std::lround(longitude * 240.0));
}

TimeResult<UniversalTime> ToUniversalTime(const LocalTimeRequest& request) {
    if (!DateExists(request.Date)) {
        return Refusal("The date " + DateDigits(request.Date) + " does not exist.");
    }
    UniversalTime result;
    CivilTime clock{12, 0, 0};
    if (request.Time) {
        clock = *request.Time;
        if (clock.Hour < 0 || clock.Hour > 23 || clock.Minute < 0 || clock.Minute > 59 ||
            clock.Second < 0 || clock.Second > 59) {
            return Refusal("Time must lie between 00:00 and 23:59:59.");
        }
    }
    if (!std::isfinite(request.Longitude) || std::fabs(request.Longitude) > 180.0) {
        return Refusal("Longitude must lie between -180 and 180 degrees.");
    }
    const std::int64_t localSeconds = DaysSinceEpoch(request.Date) * kSecondsPerDay +
                                      std::int64_t{clock.Hour} * 3600 +
                                      std::int64_t{clock.Minute} * 60 + clock.Second;

    if (request.GivenOffsetSeconds) {
        const int offset = *request.GivenOffsetSeconds;
        if (offset < -kMaxUtcOffsetSeconds || offset > kMaxUtcOffsetSeconds) {
            return Refusal("UTC offset must lie between -15:00 and +15:00.");
        }
        result.UnixSeconds = localSeconds - offset;
        result.OffsetSeconds = offset;
        result.Source = OffsetSource::Given;
        if (!request.ZoneName.empty()) {
            result.Notes.push_back("The UTC offset " + FormatUtcOffset(offset) +
                                   " given was used instead of the time zone " + request.ZoneName +
                                   ".");
        }
        return result;
    }
    return FromZone(request, clock, localSeconds, std::move(result));
}

}  // namespace tolvaris
