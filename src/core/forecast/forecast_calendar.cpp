#include "core/forecast/forecast_calendar.h"

#include <cstdio>

#include "core/forecast/forecast_range.h"
#include "core/time/time_format.h"

namespace tolvaris {
namespace {

constexpr std::size_t kLineOctets = 75;
constexpr std::int64_t kSecondsPerDay = 86400;

// "20270301T123456Z", the form iCalendar gives a time in UTC.
std::string CalendarUtc(std::int64_t utSeconds) {
    std::string text;
    for (const char c : FormatUniversalTime(utSeconds)) {
        if (c != '-' && c != ':') {
            text += c;
        }
    }
    return text;
}

// A TEXT value: backslash, semicolon and comma escaped, line breaks as \n.
std::string Escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',') {
            escaped += '\\';
            escaped += c;
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c != '\r') {
            escaped += c;
        }
    }
    return escaped;
}

// Appends one content line, folded so no line exceeds 75 octets and no
// UTF-8 character is split: each continuation starts with a space.
void AppendLine(std::string& out, std::string_view line) {
    std::size_t limit = kLineOctets;
    while (line.size() > limit) {
        std::size_t cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0U) == 0x80U) {
            --cut;
        }
        if (cut == 0) {
            cut = limit;  // not UTF-8: cut anywhere rather than never
        }
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = kLineOctets - 1;  // the leading space counts
    }
    out.append(line);
    out += "\r\n";
}

// FNV-1a, 64 bits: a fixed, portable digest, unlike std::hash.
std::uint64_t Digest(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::string Title(const Transit& transit) {
    return std::string(PointName(transit.transiting)) + " " +
           std::string(AspectKindName(transit.kind)) + " natal " +
           std::string(NatalPointName(transit.natal));
}

// The same body, point and aspect pass exactly at most once a UTC day (the
// Moon, the fastest, takes weeks to return), so the day names the pass
// without depending on where the range starts.
std::string Uid(std::string_view birthDigest, const Transit& transit, const ExactPass& pass) {
    const std::int64_t day =
        pass.utSeconds / kSecondsPerDay - (pass.utSeconds % kSecondsPerDay < 0);
    const std::string date = FormatIsoDate(DateFromDaysSinceEpoch(day));
    std::string uid = std::string(birthDigest) + "-" + Lower(PointName(transit.transiting)) + "-" +
                      std::string(AspectKindName(transit.kind)) + "-" +
                      Lower(NatalPointName(transit.natal)) + "-";
    for (const char c : date) {
        if (c != '-') {
            uid += c;
        }
    }
    return uid + "@transits.tolvaris";
}

std::string Description(const CalendarSubject& subject, const Transit& transit, std::size_t pass) {
    const std::string& zone = subject.displayZone;
    const std::string from =
        transit.enter ? FormatLocalIso(zone, *transit.enter) : std::string("before the range");
    const std::string to =
        transit.leave ? FormatLocalIso(zone, *transit.leave) : std::string("beyond the range");
    std::string text = "The exact moment of " + Title(transit) + " (" +
                       std::string(AspectFamilyName(FamilyOf(transit.kind))) + ")";
    if (transit.exact.size() > 1) {
        text +=
            ", pass " + std::to_string(pass + 1) + " of " + std::to_string(transit.exact.size());
    }
    text += transit.exact[pass].retrograde
                ? "; " + std::string(PointName(transit.transiting)) + " is retrograde.\n"
                : ".\n";
    text += "Within orb from " + from + " to " + to + ".";
    return text;
}

}  // namespace

std::string ForecastCalendar(const CalendarSubject& subject, const TransitSearch& search,
                             std::int64_t stampUt) {
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx",
                  static_cast<unsigned long long>(Digest(subject.birthIdentity)));
    const std::string stamp = CalendarUtc(stampUt);
    std::string out;
    AppendLine(out, "BEGIN:VCALENDAR");
    AppendLine(out, "VERSION:2.0");
    AppendLine(out, "PRODID:-//Tolvaris//Transit forecast//EN");
    AppendLine(out, "CALSCALE:GREGORIAN");
    AppendLine(out, "METHOD:PUBLISH");
    AppendLine(out, "X-WR-CALNAME:" + Escaped(subject.name.empty() ? std::string("Transits")
                                                                   : "Transits: " + subject.name));
    for (const Transit& transit : search.transits) {
        for (std::size_t i = 0; i < transit.exact.size(); ++i) {
            AppendLine(out, "BEGIN:VEVENT");
            AppendLine(out, "UID:" + Uid(digest, transit, transit.exact[i]));
            AppendLine(out, "DTSTAMP:" + stamp);
            AppendLine(out, "DTSTART:" + CalendarUtc(transit.exact[i].utSeconds));
            AppendLine(out, "SUMMARY:" + Escaped(Title(transit)));
            AppendLine(out, "DESCRIPTION:" + Escaped(Description(subject, transit, i)));
            AppendLine(out, "CATEGORIES:Transit");
            // A moment to note, not time taken from the user's day.
            AppendLine(out, "TRANSP:TRANSPARENT");
            AppendLine(out, "END:VEVENT");
        }
    }
    AppendLine(out, "END:VCALENDAR");
    return out;
}

}  // namespace tolvaris
