#include "core/reading/return_reading.h"

#include <cstdint>
#include <string>
#include <vector>

#include "core/chart/coordinate_text.h"
#include "core/common/cp1252.h"
#include "core/ephemeris/zodiac.h"
#include "core/forecast/forecast_range.h"
#include "core/forecast/progression_entries.h"
#include "core/reading/latin_text.h"
#include "core/reading/reading_heading.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::string ZoneOf(const ReturnPlace& place) {
    return place.zone.empty() ? std::string("UTC") : place.zone;
}

// "2027-03-14 05:12:33 local time in Europe/Lisbon (05:12:33 UTC)"; the
// moment to the second, as the return is found to well under one.
std::string MomentText(const ReturnPlace& place, std::int64_t utSeconds) {
    const std::string zone = ZoneOf(place);
    std::string utc = FormatUniversalDateTime(utSeconds) + " UTC";
    if (zone == "UTC") {
        return utc;
    }
    return FormatUniversalDateTime(utSeconds + DisplayOffsetAt(zone, utSeconds)) +
           " local time in " + Utf8ToCp1252Text(zone) + " (" + utc + ")";
}

std::string PlaceText(const ReturnPlace& place) {
    const std::string coordinates =
        Utf8ToCp1252Text(FormatCoordinates(place.latitude, place.longitude));
    return place.name.empty() ? coordinates
                              : Utf8ToCp1252Text(place.name) + " (" + coordinates + ")";
}

void Notice(ReadingPage& page, const std::string& note) {
    if (!note.empty()) {
        page.Text("Note: " + Utf8ToCp1252Text(note));
    }
}

const BodyPlacement* Find(const Chart& chart, Point body) {
    for (const BodyPlacement& placement : chart.bodies) {
        if (placement.body == body) {
            return &placement;
        }
    }
    return nullptr;
}

constexpr const char* kOuterPlanetsLine =
    "Uranus, Neptune and Pluto stay in one sign for years, so they are read here by house "
    "alone.";

void WriteSolarReturn(const SolarReturnSubject& subject, ReadingPage& page) {
    WriteChartHeading("SOLAR RETURN", subject.natal, page);
    const BirthData& input = subject.returnChart.input;
    const ReturnPlace place{input.placeName, input.latitude, input.longitude, input.zone};
    page.Separator();
    page.Text("The return chart of " + std::to_string(subject.year) +
              ": the moment the Sun comes back to its natal place, cast for " + PlaceText(place) +
              ".");
    page.Text("Return moment: " + MomentText(place, subject.solarReturn.moment.utSeconds));
    Notice(page, subject.solarReturn.note);
    Notice(page, ReturnTimeNote(subject.natal.chart, Point::Sun));

    const Chart& chart = subject.returnChart.chart;
    if (chart.ascendant) {
        page.Separator();
        page.Heading(3, "Return Ascendant in " + std::string(SignName(chart.ascendant->sign)));
        page.EntryInBlock(SolarReturnRisingEntry(chart.ascendant->sign));
    }
    const BodyPlacement* sun = Find(chart, Point::Sun);
    if (sun != nullptr && sun->house) {
        page.Separator();
        page.Heading(3, "Return Sun in the " + HouseNumberOrdinal(*sun->house) + " house");
        page.EntryInBlock(SolarReturnSunHouseEntry(*sun->house));
    }

    page.Separator();
    page.SectionHeading("The return chart of " + std::to_string(subject.year) +
                        ", read through the natal texts");
    page.Text(
        "The planets of the return chart in their signs and houses, with the texts "
        "written for a birth chart: they colour this year, not the whole life.");
    bool outerSaid = false;
    for (const BodyPlacement& body : chart.bodies) {
        const std::string name(PointName(body.body));
        if (!RowOf(body.body).readBySign) {
            if (!outerSaid) {
                page.Separator();
                page.ReportHeading(3, "The outer planets");
                page.Text(kOuterPlanetsLine);
                outerSaid = true;
            }
        } else {
            page.ReportHeading(3, name + " in " + std::string(SignName(body.sign)));
            page.Entry(PlanetInSignEntry(body.body, body.sign));
        }
        if (body.house) {
            page.ReportHeading(3, name + " in the " + HouseNumberOrdinal(*body.house) + " house");
            page.Entry(PlanetInHouseEntry(body.body, *body.house));
        }
    }
}

void WriteLunarReturns(const LunarReturnsSubject& subject, ReadingPage& page) {
    WriteChartHeading("LUNAR RETURNS", subject.natal, page);
    page.Separator();
    page.Text("The lunar returns of " + std::to_string(subject.year) +
              ": each moment the Moon comes back to its natal place, the start of a month of "
              "feeling and habit, with the chart of that moment cast for " +
              PlaceText(subject.place) + ".");
    Notice(page, ReturnTimeNote(subject.natal.chart, Point::Moon));
    if (subject.returns.empty()) {
        page.Text("No lunar return could be computed for this year.");
        return;
    }
    int number = 0;
    for (const LunarReturnChart& item : subject.returns) {
        page.Separator();
        page.Heading(3, "Lunar return " + std::to_string(++number) + ": " +
                            MomentText(subject.place, item.moment.utSeconds));
        const BodyPlacement* moon = Find(item.chart, Point::Moon);
        if (moon == nullptr || !moon->house) {
            page.Text(
                "The return chart has no houses, so the month is read by the Moon's sign "
                "alone: " +
                std::string(moon == nullptr ? "" : SignName(moon->sign)) + ".");
            continue;
        }
        std::string line = "Return Moon in the " + HouseNumberOrdinal(*moon->house) + " house";
        if (item.chart.ascendant) {
            line += ", return Ascendant in " + std::string(SignName(item.chart.ascendant->sign));
        }
        page.Text(line + "; the house is where the month's feelings gather.");
        page.EntryInBlock(PlanetInHouseEntry(Point::Moon, *moon->house));
    }
}

}  // namespace

ReturnPlace BirthplaceOf(const BirthChart& natal) {
    return {natal.input.placeName, natal.input.latitude, natal.input.longitude, natal.input.zone};
}

BirthChartResult ReturnBirthChart(Ephemeris& ephemeris, const BirthChart& natal,
                                  const ReturnMoment& moment, const ReturnPlace& place,
                                  const std::string& title) {
    BirthData data;
    data.name = natal.input.name + ": " + title;
    if (natal.input.name.empty() && !title.empty()) {
        data.name = title;
        data.name[0] = ToUpper1252(data.name[0]);
    }
    data.placeName = place.name;
    data.latitude = place.latitude;
    data.longitude = place.longitude;
    data.houseSystem = natal.input.houseSystem;
    data.orbs = natal.input.orbs;
    const std::string zone = ZoneOf(place);
    const int offset = DisplayOffsetAt(zone, moment.utSeconds);
    if (zone == "UTC") {
        data.utcOffsetSeconds = 0;
    } else {
        data.zone = zone;
    }
    const std::int64_t local = moment.utSeconds + offset;
    std::int64_t days = local / kSecondsPerDay;
    std::int64_t second = local % kSecondsPerDay;
    if (second < 0) {
        second += kSecondsPerDay;
        --days;
    }
    data.date = DateFromDaysSinceEpoch(days);
    data.time = CivilTime{static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60),
                          static_cast<int>(second % 60)};
    // In the hour the clocks fall back, the reading that gives the moment.
    BirthChartResult result;
    for (const FoldChoice fold : {FoldChoice::Earlier, FoldChoice::Later}) {
        data.fold = fold;
        result = ComputeBirthChart(ephemeris, data);
        if (!result.Ok() || result.value->universalTime.unixSeconds == moment.utSeconds) {
            break;
        }
    }
    if (result.Ok()) {
        result.value->birth = false;
    }
    return result;
}

Result<std::vector<LunarReturnChart>> LunarReturnCharts(Ephemeris& ephemeris,
                                                        const BirthChart& natal, int year,
                                                        const ReturnPlace& place,
                                                        std::string_view displayZone) {
    Result<std::vector<ReturnMoment>> moments =
        LunarReturnsInYear(ephemeris, natal.chart, year, displayZone);
    if (!moments) {
        return moments.Failure();
    }
    ChartRequest request;
    request.latitude = place.latitude;
    request.longitude = place.longitude;
    request.houseSystem = natal.input.houseSystem;
    request.orbs = natal.input.orbs;
    std::vector<LunarReturnChart> charts;
    for (const ReturnMoment& moment : moments.Value()) {
        ChartResult cast = ComputeReturnChart(ephemeris, moment, request);
        if (!cast.Ok()) {
            return Error{ErrorKind::Library, std::nullopt, cast.error};
        }
        charts.push_back({moment, std::move(*cast.chart)});
    }
    return charts;
}

ReadingContent SolarReturnContent(const SolarReturnSubject& subject) {
    return [subject](ReadingPage& page) { WriteSolarReturn(subject, page); };
}

void ShowSolarReturn(const SolarReturnSubject& subject, const std::filesystem::path& dataFolder,
                     PageBuffers& buffers, Notices& notices) {
    ShowReadingWithNotice(buffers, dataFolder, notices, SolarReturnContent(subject));
}

ReadingBuffer SolarReturnDataBuffer(const SolarReturnSubject& subject,
                                    const std::filesystem::path& dataFolder, Notices& notices) {
    return ComposeWithoutWindow(dataFolder, notices, SolarReturnContent(subject));
}

ReadingContent LunarReturnsContent(const LunarReturnsSubject& subject) {
    return [subject](ReadingPage& page) { WriteLunarReturns(subject, page); };
}

void ShowLunarReturns(const LunarReturnsSubject& subject, const std::filesystem::path& dataFolder,
                      PageBuffers& buffers, Notices& notices) {
    ShowReadingWithNotice(buffers, dataFolder, notices, LunarReturnsContent(subject));
}

ReadingBuffer LunarReturnsDataBuffer(const LunarReturnsSubject& subject,
                                     const std::filesystem::path& dataFolder, Notices& notices) {
    return ComposeWithoutWindow(dataFolder, notices, LunarReturnsContent(subject));
}

}  // namespace tolvaris
