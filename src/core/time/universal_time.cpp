#include "core/time/universal_time.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "core/time/time_format.h"
#include "core/time/zone_periods.h"

namespace tolvaris {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// No offset, local mean times included, exceeds a day: two days either way
// surely hold every reading of a local time.
constexpr std::int64_t kSearchMargin = 2 * kSecondsPerDay;

struct Reading {
    std::int64_t unixSeconds = 0;
    int offsetSeconds = 0;
    const ZonePeriod* period = nullptr;
};

TimeError Refusal(std::string message) {
    return TimeError{std::move(message), std::nullopt};
}

// Local wall-clock seconds since 1970 as a date and a time of day.
std::chrono::sys_days DayOfLocalSeconds(std::int64_t localSeconds) {
    return std::chrono::floor<std::chrono::days>(
        std::chrono::sys_seconds{std::chrono::seconds{localSeconds}});
}

CivilDate DateOfLocalSeconds(std::int64_t localSeconds) {
    return DateFromDaysSinceEpoch(DayOfLocalSeconds(localSeconds).time_since_epoch().count());
}

CivilTime ClockOfLocalSeconds(std::int64_t localSeconds) {
    const std::chrono::hh_mm_ss clock{std::chrono::seconds{localSeconds} -
                                      DayOfLocalSeconds(localSeconds).time_since_epoch()};
    return CivilTime{static_cast<int>(clock.hours().count()),
                     static_cast<int>(clock.minutes().count()),
                     static_cast<int>(clock.seconds().count())};
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
    return period.isLocalMeanTime ? localMeanTimeOffset : period.offsetSeconds;
}

std::string LocalMeanTimeNote(const LocalTimeRequest& request, const ZonePeriod& period,
                              int offsetSeconds) {
    std::string note = "Local mean time at " + LongitudeText(request.longitude) + " (UTC" +
                       FormatUtcOffset(offsetSeconds) + ") used: " + request.zoneName +
                       " kept no standard time";
    if (period.isLast) {
        return note + " then.";
    }
    const auto next = ZonePeriodsBetween(request.zoneName, period.end, period.end);
    if (!next || next->empty()) {
        return note + " then.";
    }
    const std::int64_t startLocal = period.end + next->front().offsetSeconds;
    return note + " before " + FormatDateInWords(DateOfLocalSeconds(startLocal)) + ".";
}

TimeResult<UniversalTime> FromZone(const LocalTimeRequest& request, const CivilTime& clock,
                                   std::int64_t localSeconds, UniversalTime result) {
    if (request.zoneName.empty()) {
        return Refusal("Time zone must be given, for example Europe/Berlin, or a UTC offset.");
    }
    const auto periods = ZonePeriodsBetween(request.zoneName, localSeconds - kSearchMargin,
                                            localSeconds + kSearchMargin);
    if (!periods) {
        return Refusal("Unknown time zone \"" + request.zoneName + "\".");
    }
    const int meanTimeOffset = LocalMeanTimeOffsetSeconds(request.longitude);

    std::vector<Reading> readings;
    for (const ZonePeriod& period : *periods) {
        const int offset = EffectiveOffset(period, meanTimeOffset);
        const std::int64_t unixSeconds = localSeconds - offset;
        if (unixSeconds >= period.begin && unixSeconds < period.end) {
            readings.push_back(Reading{unixSeconds, offset, &period});
        }
    }

    const std::string when = FormatClockTime(clock) + " on " + FormatDateInWords(request.date);
    if (readings.empty()) {
        for (std::size_t i = 0; i + 1 < periods->size(); ++i) {
            const std::int64_t change = (*periods)[i].end;
            const std::int64_t before = change + EffectiveOffset((*periods)[i], meanTimeOffset);
            const std::int64_t after = change + EffectiveOffset((*periods)[i + 1], meanTimeOffset);
            if (before <= localSeconds && localSeconds < after) {
                return Refusal(when + " did not exist in " + request.zoneName +
                               ": clocks went from " + LocalMoment(before, request.date) + " to " +
                               LocalMoment(after, request.date) + ".");
            }
        }
        return Refusal(when + " did not exist in " + request.zoneName + ".");
    }

    Reading chosen = readings.front();
    if (readings.size() > 1) {
        const Reading& earlier = readings.front();
        const Reading& later = readings.back();
        const std::string twice = when + " happened twice in " + request.zoneName;
        if (request.fold == FoldChoice::None) {
            TimeError error =
                Refusal(twice + ": earlier at UTC" + FormatUtcOffset(earlier.offsetSeconds) +
                        ", later at UTC" + FormatUtcOffset(later.offsetSeconds) + ".");
            error.repeated = RepeatedLocalTime{earlier.offsetSeconds, later.offsetSeconds,
                                               earlier.unixSeconds, later.unixSeconds};
            return error;
        }
        const bool takeEarlier = request.fold == FoldChoice::Earlier;
        chosen = takeEarlier ? earlier : later;
        result.notes.push_back(twice + "; the " + (takeEarlier ? "earlier" : "later") +
                               " reading, UTC" + FormatUtcOffset(chosen.offsetSeconds) +
                               ", was used.");
    }

    result.unixSeconds = chosen.unixSeconds;
    result.offsetSeconds = chosen.offsetSeconds;
    result.abbreviation = chosen.period->abbreviation;
    if (chosen.period->isLocalMeanTime) {
        result.source = OffsetSource::LocalMeanTime;
        result.notes.push_back(LocalMeanTimeNote(request, *chosen.period, chosen.offsetSeconds));
    } else {
        result.source = OffsetSource::Zone;
    }
    return result;
}

}  // namespace

int LocalMeanTimeOffsetSeconds(double longitude) {
    return static_cast<int>(std::lround(longitude * 240.0));
}

TimeResult<UniversalTime> ToUniversalTime(const LocalTimeRequest& request) {
    if (!DateExists(request.date)) {
        return Refusal("The date " + FormatIsoDate(request.date) + " does not exist.");
    }
    UniversalTime result;
    CivilTime clock{12, 0, 0};
    if (request.time) {
        clock = *request.time;
        if (clock.hour < 0 || clock.hour > 23 || clock.minute < 0 || clock.minute > 59 ||
            clock.second < 0 || clock.second > 59) {
            return Refusal("Time must lie between 00:00 and 23:59:59.");
        }
    }
    if (!std::isfinite(request.longitude) || std::fabs(request.longitude) > 180.0) {
        return Refusal("Longitude must lie between -180 and 180 degrees.");
    }
    const std::int64_t localSeconds = DaysSinceEpoch(request.date) * kSecondsPerDay +
                                      std::int64_t{clock.hour} * 3600 +
                                      std::int64_t{clock.minute} * 60 + clock.second;

    if (request.givenOffsetSeconds) {
        const int offset = *request.givenOffsetSeconds;
        if (offset < -kMaxUtcOffsetSeconds || offset > kMaxUtcOffsetSeconds) {
            return Refusal("UTC offset must lie between -15:00 and +15:00.");
        }
        result.unixSeconds = localSeconds - offset;
        result.offsetSeconds = offset;
        result.source = OffsetSource::Given;
        if (!request.zoneName.empty()) {
            result.notes.push_back("The UTC offset " + FormatUtcOffset(offset) +
                                   " given was used instead of the time zone " + request.zoneName +
                                   ".");
        }
        return result;
    }
    return FromZone(request, clock, localSeconds, std::move(result));
}

}  // namespace tolvaris
