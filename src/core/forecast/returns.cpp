// Returns of the Sun and the Moon. The next return is bracketed by the
// body's mean motion (the distance still to go over the mean speed) and
// refined by Newton steps on the real longitude and speed; a step of a
// millisecond ends it. See docs/progressions.md.

#include "core/forecast/returns.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ephemeris/ephemeris.h"
#include "core/ephemeris/ut_instant.h"
#include "core/forecast/crossing_search.h"
#include "core/forecast/forecast_range.h"
#include "core/time/civil_time.h"

namespace tolvaris {
namespace {

using crossings::Normalise;
using crossings::Signed;

constexpr double kSecondsPerDay = 86400.0;
// Mean periods of return, days: the tropical year and the tropical month.
constexpr double kSunPeriod = 365.24219;
constexpr double kMoonPeriod = 27.321582;

Error LibraryError(std::string message) {
    return Error{ErrorKind::Library, std::nullopt, std::move(message)};
}

Error InputFailure(std::string message) {
    return Error{ErrorKind::Input, std::nullopt, std::move(message)};
}

double PeriodOf(Point body) {
    return body == Point::Sun ? kSunPeriod : kMoonPeriod;
}

ReturnMoment MomentOf(double jd) {
    return {jd, std::llround((jd - kUnixEpochJulianDay) * kSecondsPerDay)};
}

// Newton from `guess` to the moment the body stands at `longitude`.
std::optional<double> Converge(crossings::BodyReader& reader, double longitude, double guess) {
    double jd = guess;
    for (int i = 0; i < 12; ++i) {
        double at = 0.0;
        double speed = 0.0;
        if (!reader.Read(jd, at, speed)) {
            return std::nullopt;
        }
        const double step = Signed(longitude - at) / speed;
        jd += step;
        if (std::fabs(step) * kSecondsPerDay < 1e-3) {
            break;
        }
    }
    return jd;
}

double NatalLongitude(const Chart& natal, Point body) {
    return natal.bodies.at(IndexOf(body)).longitude;
}

Result<ForecastRange> YearInZone(int year, std::string_view displayZone) {
    return DayRangeInZone(CivilDate{year, 1, 1}, CivilDate{year, 12, 31}, displayZone);
}

}  // namespace

Result<std::vector<ReturnMoment>> ReturnsWithin(Ephemeris& ephemeris, Point body, double longitude,
                                                const TransitSpan& span) {
    if (body != Point::Sun && body != Point::Moon) {
        return InputFailure("only the Sun and the Moon have returns here, not " +
                            std::string(PointName(body)));
    }
    std::vector<ReturnMoment> moments;
    if (span.toUt <= span.fromUt) {
        return moments;
    }
    const double first = JulianDayUtFromUnixSeconds(span.fromUt);
    const double end = JulianDayUtFromUnixSeconds(span.toUt);
    const double period = PeriodOf(body);
    crossings::BodyReader reader(ephemeris, body);
    double at = 0.0;
    double speed = 0.0;
    if (!reader.Read(first, at, speed)) {
        return LibraryError(reader.Error());
    }
    double guess = first + Normalise(longitude - at) / 360.0 * period;
    for (;;) {
        const std::optional<double> jd = Converge(reader, longitude, guess);
        if (!jd) {
            return LibraryError(reader.Error());
        }
        if (!std::isfinite(*jd)) {
            return LibraryError("the return of the " + std::string(PointName(body)) +
                                " could not be refined");
        }
        if (*jd >= end) {
            break;
        }
        // A return just before the span's start may be the one Newton finds.
        if (*jd >= first) {
            const ReturnMoment moment = MomentOf(*jd);
            if (moment.utSeconds >= span.fromUt && moment.utSeconds < span.toUt) {
                moments.push_back(moment);
            }
        }
        guess = *jd + period;
    }
    return moments;
}

Result<SolarReturn> SolarReturnInYear(Ephemeris& ephemeris, const Chart& natal, int year,
                                      std::string_view displayZone) {
    const Result<ForecastRange> range = YearInZone(year, displayZone);
    if (!range) {
        return range.Failure();
    }
    const double sun = NatalLongitude(natal, Point::Sun);
    const Result<std::vector<ReturnMoment>> found =
        ReturnsWithin(ephemeris, Point::Sun, sun, range->span);
    if (!found) {
        return found.Failure();
    }
    if (found->empty()) {
        // The returns either side fall just outside the year: name them.
        constexpr std::int64_t kMonth = std::int64_t{31} * 86400;
        const TransitSpan around{range->span.fromUt - kMonth, range->span.toUt + kMonth};
        const Result<std::vector<ReturnMoment>> near =
            ReturnsWithin(ephemeris, Point::Sun, sun, around);
        if (!near) {
            return near.Failure();
        }
        std::string message = "the year " + std::to_string(year) + " in " +
                              std::string(displayZone) + " holds no solar return";
        if (near->size() == 2) {
            message += ": the Sun comes back at " +
                       FormatLocalIso(displayZone, near->front().utSeconds) + " and then at " +
                       FormatLocalIso(displayZone, near->back().utSeconds);
        }
        return InputFailure(message);
    }
    SolarReturn result{found->front(), {}};
    if (found->size() > 1) {
        result.note = "The year " + std::to_string(year) +
                      " holds two solar returns; this is the first, and the second falls at " +
                      FormatLocalIso(displayZone, (*found)[1].utSeconds) + ".";
    }
    return result;
}

Result<ReturnMoment> LunarReturnAtOrAfter(Ephemeris& ephemeris, const Chart& natal,
                                          std::int64_t fromUt) {
    if (std::string refusal = CheckInstantInAcceptedYears(fromUt); !refusal.empty()) {
        return InputFailure(refusal);
    }
    // A tropical month and a day of slack for the Moon's uneven pace.
    constexpr std::int64_t kSearched = std::int64_t{29} * 86400;
    const Result<std::vector<ReturnMoment>> found = ReturnsWithin(
        ephemeris, Point::Moon, NatalLongitude(natal, Point::Moon), {fromUt, fromUt + kSearched});
    if (!found) {
        return found.Failure();
    }
    if (found->empty()) {
        return LibraryError("no lunar return was found within 29 days");
    }
    return found->front();
}

Result<std::vector<ReturnMoment>> LunarReturnsInYear(Ephemeris& ephemeris, const Chart& natal,
                                                     int year, std::string_view displayZone) {
    const Result<ForecastRange> range = YearInZone(year, displayZone);
    if (!range) {
        return range.Failure();
    }
    return ReturnsWithin(ephemeris, Point::Moon, NatalLongitude(natal, Point::Moon), range->span);
}

ChartResult ComputeReturnChart(Ephemeris& ephemeris, const ReturnMoment& moment,
                               ChartRequest place) {
    place.utSeconds = moment.utSeconds;
    place.timeKnown = true;
    return ComputeChart(ephemeris, place);
}

std::string ReturnTimeNote(const Chart& natal, Point body) {
    if (natal.cusps) {
        return {};
    }
    return body == Point::Sun
               ? "The birth time is unknown: the natal Sun is taken at 12:00 local time, so the "
                 "solar return may be off by up to about half a day."
               : "The birth time is unknown: the natal Moon is taken at 12:00 local time, so it "
                 "may be up to about 7 degrees off and the lunar return up to about half a day.";
}

}  // namespace tolvaris
