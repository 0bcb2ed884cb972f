#include "core/reading/reading_heading.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/reading/latin_text.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

// Degrees and minutes with the hemisphere: "52°31' N".
std::string CoordinateText(double degrees, char positive, char negative) {
    const double size = std::fabs(degrees);
    int whole = static_cast<int>(size);
    int minutes = static_cast<int>(std::lround((size - whole) * 60));
    if (minutes == 60) {
        ++whole;
        minutes = 0;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%d\xB0%02d' %c", whole, minutes,
                  degrees < 0 ? negative : positive);
    return text;
}

std::string OffsetOrigin(const BirthChart& chart) {
    switch (chart.universalTime.Source) {
        case OffsetSource::Zone:
            return "from the time zone " + chart.input.zone;
        case OffsetSource::LocalMeanTime:
            return "the local mean time of the birthplace";
        case OffsetSource::Given:
            return "given by hand";
    }
    return {};
}

}  // namespace

void WriteChartHeading(std::string_view title, const BirthChart& chart, ReadingPage& page) {
    const BirthData& birth = chart.input;
    const std::string name = Utf8ToCp1252Text(birth.name);
    page.Text(name.empty() ? std::string(title) : std::string(title) + ": " + name);
    std::string born = "Born " + FormatDateInWords(birth.date);
    born += birth.time ? " at " + FormatClockTime(*birth.time) + " local time"
                       : ", time of birth unknown";
    page.Text(born);
    std::string place = Utf8ToCp1252Text(birth.placeName);
    place += (place.empty() ? "" : ", ") + CoordinateText(birth.latitude, 'N', 'S') + ", " +
             CoordinateText(birth.longitude, 'E', 'W');
    page.Text("Place: " + place);
    // "1990-01-01 11:00:00 UT" reads better on a page than the ISO form.
    std::string ut = FormatUniversalTime(chart.universalTime.UnixSeconds);
    std::replace(ut.begin(), ut.end(), 'T', ' ');
    if (!ut.empty() && ut.back() == 'Z') {
        ut.replace(ut.size() - 1, 1, " UT");
    }
    page.Text("Universal time: " + ut + " (UTC" +
              FormatUtcOffset(chart.universalTime.OffsetSeconds) + ", " + OffsetOrigin(chart) +
              ")");
    const Chart& computed = chart.chart;
    std::string system = computed.houseSystemUsed
                             ? std::string(HouseSystemDisplayName(*computed.houseSystemUsed))
                             : std::string("none (time unknown)");
    page.Text("Houses: " + system + ". Ephemeris: " +
              (computed.ephemeris == EphemerisUsed::Swiss
                   ? "Swiss Ephemeris files."
                   : "the Swiss Ephemeris's analytical model (Moshier)."));
    if (!birth.time) {
        page.Text("The birth time is unknown, so this reading has no rising sign and no houses.");
    }
    for (const std::string& note : chart.notes) {
        page.Text("Note: " + Utf8ToCp1252Text(note));
    }
}

}  // namespace tolvaris
