#include "core/forecast/progression_entries.h"

#include "core/common/cp1252.h"
#include "core/ephemeris/zodiac.h"

namespace tolvaris {
namespace {

constexpr const char* kMoonFile = "PROGRESSED_Moon.TXT";
constexpr const char* kReturnFile = "SOLAR_RETURN.TXT";

// What the family's entry says the aspects are, in the key's parentheses.
std::string_view KindsOf(AspectFamily family) {
    switch (family) {
        case AspectFamily::Blending:
            return "conjunction";
        case AspectFamily::Harmonizing:
            return "trine or sextile";
        case AspectFamily::Discordant:
            return "square or opposition";
    }
    return {};
}

}  // namespace

EntryLocation ProgressedAspectEntry(Point progressed, AspectFamily family, NatalPoint natal) {
    const std::string body(PointName(progressed));
    return {"Progressed " + body + " " + std::string(RowOf(family).phrase) + " natal " +
                std::string(NatalPointName(natal)) + " (progression, " +
                std::string(KindsOf(family)) + ")",
            "PROGRESSED_" + body + ".TXT"};
}

bool HasProgressedAspectEntries(NatalPoint progressed) {
    return progressed <= NatalPoint::Mars;
}

EntryLocation ProgressedMoonHouseEntry(int house) {
    return {"Progressed Moon through the " + HouseNumberOrdinal(house) + " House (progression)",
            kMoonFile};
}

EntryLocation ProgressedMoonSignEntry(int sign) {
    return {"Progressed Moon in " + std::string(SignName(sign)) + " (progression)", kMoonFile};
}

EntryLocation SolarReturnRisingEntry(int sign) {
    return {"Return " + ToUpper1252(SignName(sign)) + " rising (solar return)", kReturnFile};
}

EntryLocation SolarReturnSunHouseEntry(int house) {
    return {"Return SUN in the " + HouseNumberOrdinal(house) + " House (solar return)",
            kReturnFile};
}

std::string HouseNumberOrdinal(int house) {
    const int lastTwo = house % 100;
    const int last = house % 10;
    const char* suffix = (lastTwo >= 11 && lastTwo <= 13) ? "th"
                         : last == 1                      ? "st"
                         : last == 2                      ? "nd"
                         : last == 3                      ? "rd"
                                                          : "th";
    return std::to_string(house) + suffix;
}

}  // namespace tolvaris
