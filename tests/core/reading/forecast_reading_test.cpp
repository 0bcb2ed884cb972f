#include "core/reading/forecast_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/time/time_format.h"
#include "support/page_fixture.h"

namespace tolvaris {
namespace {

using test::WriteBytes;

const std::string kRule = "  " + std::string(74, '-');

std::int64_t Ut(int year, int month, int day, int hour, int minute, int second) {
    return DaysSinceEpoch({year, month, day}) * 86400 + hour * 3600 + minute * 60 + second;
}

BirthChart Natal() {
    BirthChart chart;
    chart.input.name = "Ana";
    chart.input.date = {1990, 1, 1};
    chart.input.time = CivilTime{12, 0, 0};
    chart.input.placeName = "Berlin";
    chart.input.latitude = 52.5;
    chart.input.longitude = 13.5;
    chart.input.zone = "Europe/Berlin";
    chart.universalTime.unixSeconds = 631191600;
    chart.universalTime.offsetSeconds = 3600;
    chart.universalTime.source = OffsetSource::Zone;
    chart.chart.houseSystemUsed = HouseSystem::Placidus;
    return chart;
}

const std::vector<std::string> kChartHeading = {
    "  FORECAST: Ana",
    "  Born: 1 January 1990, 12:00 local time",
    "  Place: Berlin",
    "  Coordinates: 52\xB0"
    "30'N 13\xB0"
    "30'E",
    "  Universal time: 1990-01-01 11:00:00, UTC+01:00 from the time zone",
    "    Europe/Berlin",
    "  Houses: Placidus",
    "  Ephemeris: Swiss Ephemeris files",
};

std::vector<std::string> Page(std::initializer_list<std::vector<std::string>> blocks) {
    std::vector<std::string> lines = kChartHeading;
    for (const auto& block : blocks) {
        if (&block != blocks.begin()) {
            lines.insert(lines.end(), {"", kRule, ""});
        }
        lines.insert(lines.end(), block.begin(), block.end());
    }
    return lines;
}

// Berlin moves to summer time on 2027-03-28 at 01:00 UT: the times after it
// are two hours ahead, and they are rounded to the minute.
TransitSearch SpringSearch() {
    using Moment = std::optional<std::int64_t>;
    const auto transit = [](Point body, NatalPoint natal, AspectKind kind, Moment enter,
                            Moment leave, std::vector<ExactPass> exact) {
        return Transit{body, natal, kind, enter, leave, std::move(exact)};
    };
    TransitSearch search;
    search.transits = {
        transit(Point::Saturn, NatalPoint::Sun, AspectKind::Square, {}, Ut(2027, 3, 10, 6, 15, 20),
                {{Ut(2027, 3, 3, 11, 29, 40), false}, {Ut(2027, 3, 8, 0, 0, 0), true}}),
        transit(Point::Mars, NatalPoint::Ascendant, AspectKind::Square, Ut(2027, 3, 2, 12, 0, 0),
                Ut(2027, 3, 4, 12, 0, 0), {}),
        transit(Point::Venus, NatalPoint::Moon, AspectKind::Trine, Ut(2027, 3, 27, 20, 0, 0),
                Ut(2027, 3, 29, 20, 0, 0), {{Ut(2027, 3, 28, 8, 0, 0), false}}),
        transit(Point::Mars, NatalPoint::Ascendant, AspectKind::Opposition,
                Ut(2027, 4, 20, 10, 0, 0), {}, {})};
    search.ingresses = {{Point::Jupiter, 5, Ut(2027, 3, 5, 23, 30, 0), true},
                        {Point::Mars, 7, Ut(2027, 3, 31, 22, 59, 50), false},
                        {Point::Venus, 8, Ut(2027, 4, 2, 10, 0, 0), false}};
    search.notes = {"Pluto comes from the built-in model."};
    return search;
}

class ForecastReadingTest : public test::PageFixture {
protected:
    void SetUp() override {
        WriteBytes(folder / "TRANSIT_Saturn.TXT",
                   "Saturn discordant to natal Sun\r\nHard work.\r\n*\r\n");
        WriteBytes(folder / "TRANSIT_HOUSE_5.TXT", "JUPITER through\r\nPlay.\r\n*\r\n");
    }
};

TEST_F(ForecastReadingTest, EachTransitAndIngressInTimeOrderInTheDisplayZone) {
    const BirthChart chart = Natal();
    const struct {
        const char* zone;
        TransitSearch search;
        std::vector<std::string> expected;
        std::size_t missing;
    } cases[] = {
        {"Europe/Berlin", SpringSearch(),
         Page({{"  Range: 1 March 2027 to 30 April 2027, local times in Europe/Berlin",
                "  Transiting: Mars, Jupiter, Saturn",
                "  Orb: 1.5 degrees either side of exact; R marks a moment when the",
                "    transiting body is retrograde.",
                "  Note: Pluto comes from the built-in model."},
               {"  Saturn square natal Sun", "  Within orb: before the range to 2027-03-10 07:15",
                "  Exact: 2027-03-03 12:30; 2027-03-08 01:00 R", "  Saturn discordant to natal Sun",
                "  Hard work."},
               {"  Mars square natal Ascendant",
                "  Within orb: 2027-03-02 13:00 to 2027-03-04 13:00",
                "  Exact: not reached; the body turns back first"},
               {"  Jupiter enters the natal 5th house: 2027-03-06 00:30 R", "  JUPITER through",
                "  Play."},
               {"  Venus trine natal Moon", "  Within orb: 2027-03-27 21:00 to 2027-03-29 22:00",
                "  Exact: 2027-03-28 10:00",
                "  An easy contact: affection, pleasure, taste and money lend your natal Moon",
                "    a helping hand; a good moment to ask, offer or begin."},
               {"  Mars enters the natal 7th house: 2027-04-01 01:00",
                "  Venus enters the natal 8th house: 2027-04-02 12:00"},
               {"  Mars opposition natal Ascendant",
                "  Within orb: 2027-04-20 12:00 to beyond the range",
                "  Exact: not within this range"},
               {"  NOT IN THE LIBRARY",
                "  No file TRANSIT_Mars.TXT (for \"Mars discordant to natal Ascendant\")"}}),
         1},
        {"UTC",
         {},
         Page({{"  Range: 1 March 2027 to 30 April 2027, times in UTC",
                "  Transiting: Mars, Jupiter, Saturn",
                "  Orb: 1.5 degrees either side of exact; R marks a moment when the",
                "    transiting body is retrograde."},
               {"  No transit comes within the orb in this range."}}),
         0},
    };
    const TransitSettings settings{{Point::Mars, Point::Jupiter, Point::Saturn}, 1.5};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        const ForecastRange range{{2027, 3, 1}, {2027, 4, 30}, c.zone, {}};
        const ForecastSubject subject{chart, range, settings, c.search};
        buffers.ClearDataBuffer();
        ShowForecast(subject, folder.Path(), buffers, notices);
        std::vector<std::string> expected = c.expected;
        expected.insert(expected.begin(), "");
        expected.emplace_back("");
        EXPECT_EQ(Texts(buffers.DataBuffer()), expected);
        test::FakeNotices quiet;
        const ReadingBuffer composed = ForecastDataBuffer(subject, folder.Path(), quiet);
        EXPECT_EQ(Texts(composed.lines), expected);
        EXPECT_EQ(composed.missing.size(), c.missing);
    }
    ASSERT_EQ(notices.messages.size(), 1U);
    EXPECT_EQ(notices.messages[0].text,
              "1 entry was not found; it is listed at the end of the reading.");
}

}  // namespace
}  // namespace tolvaris
