#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/chart/message_text.h"
#include "core/common/cp1252.h"
#include "core/interchange/chart_records.h"
#include "core/interchange/record_fields.h"
#include "core/time/civil_time.h"
#include "core/time/universal_time.h"

namespace tolvaris {
namespace {

using record_fields::ReadField;
using record_fields::Split;
using record_fields::Trim;
using record_fields::WholeNumber;

constexpr double kUnixEpochJulianDay = 2440587.5;
constexpr double kSecondsPerDay = 86400.0;
// Julian days of the years 1 to 9999, the dates a chart may have.
constexpr double kFirstJulianDay = 1721423.5;
constexpr double kLastJulianDay = 5373484.5;

bool Unknown(std::string_view field) {
    return field.empty() || field == "*";
}

// The record while its lines are read: the #A93 fields, then #B93's.
struct PendingRecord {
    ChartRecord record;
    bool haveB93 = false;
    std::optional<std::int64_t> utSeconds;  // from the Julian day
    std::optional<int> zoneSeconds;         // standard offset, east positive
    std::string summerCode;                 // 0 1 2 h L, as written
};

Status Refuse(BirthField field, std::string message) {
    return InputError(field, std::move(message));
}

// "d.m.yyyy"
Status ReadAafDate(std::string_view text, BirthData& birth) {
    const std::vector<std::string_view> parts = Split(text, '.');
    std::optional<int> day;
    std::optional<int> month;
    std::optional<int> year;
    if (parts.size() == 3) {
        day = WholeNumber(parts[0]);
        month = WholeNumber(parts[1]);
        year = WholeNumber(parts[2]);
    }
    if (!day || !month || !year) {
        return Refuse(BirthField::Date,
                      "the date \"" + ShownInMessage(text) + "\" is not day.month.year");
    }
    return record_fields::ReadDateParts(*year, *month, *day, birth);
}

Status ReadA93(std::string_view body, PendingRecord& pending) {
    const std::vector<std::string_view> fields = Split(body, ',');
    if (fields.size() < 6) {
        return Refuse(BirthField::Date,
                      "the #A93 line lacks fields: it gives name, first name, type, date, "
                      "time, place and country");
    }
    BirthData& birth = pending.record.birth.emplace();
    const std::string_view last = Trim(fields[0]);
    const std::string_view first = Trim(fields[1]);
    std::string name = Unknown(last) ? std::string() : std::string(last);
    if (!Unknown(first)) {
        name = std::string(first) + (name.empty() ? "" : " ") + name;
    }
    if (Status read = ReadField(BirthField::Name, name, birth); !read) {
        return read;
    }
    if (Status read = ReadAafDate(Trim(fields[3]), birth); !read) {
        return read;
    }
    const std::string_view time = Trim(fields[4]);
    if (Status read = ReadField(BirthField::Time, Unknown(time) ? "unknown" : time, birth); !read) {
        return read;
    }
    std::string place = Unknown(Trim(fields[5])) ? std::string() : std::string(Trim(fields[5]));
    const std::string_view country = fields.size() > 6 ? Trim(fields[6]) : std::string_view();
    if (!Unknown(country)) {
        place += (place.empty() ? "" : ", ") + std::string(country);
    }
    return ReadField(BirthField::Place, place, birth);
}

// "1hE00", "8hW00", "5hE30": hours and minutes, east positive.
std::optional<int> ReadAafZone(std::string_view text) {
    const std::size_t h = text.find_first_of("hH");
    if (h == std::string_view::npos || h + 1 >= text.size()) {
        return std::nullopt;
    }
    const char side = static_cast<char>(ToUpper1252(text[h + 1]));
    const std::optional<int> hours = WholeNumber(text.substr(0, h));
    const std::optional<int> minutes = WholeNumber(text.substr(h + 2));
    if ((side != 'E' && side != 'W') || !hours || !minutes || *minutes >= 60) {
        return std::nullopt;
    }
    const int seconds = *hours * 3600 + *minutes * 60;
    return side == 'E' ? seconds : -seconds;
}

Status ReadB93(std::string_view body, PendingRecord& pending) {
    const std::vector<std::string_view> fields = Split(body, ',');
    if (fields.size() < 5) {
        return Refuse(BirthField::Latitude,
                      "the #B93 line lacks fields: it gives Julian day, latitude, longitude, "
                      "zone and summer time");
    }
    pending.haveB93 = true;
    BirthData& birth = *pending.record.birth;
    const std::string_view julianDay = Trim(fields[0]);
    if (!Unknown(julianDay)) {
        const std::string text(julianDay);
        char* end = nullptr;
        const double day = std::strtod(text.c_str(), &end);
        if (end != text.c_str() + text.size() || !(day >= kFirstJulianDay) ||
            !(day <= kLastJulianDay)) {
            return Refuse(BirthField::Date, "the Julian day \"" + ShownInMessage(julianDay) +
                                                "\" is not a day of the years 1 to 9999");
        }
        pending.utSeconds =
            static_cast<std::int64_t>(std::llround((day - kUnixEpochJulianDay) * kSecondsPerDay));
    }
    for (const auto& [index, field] :
         {std::pair{1, BirthField::Latitude}, std::pair{2, BirthField::Longitude}}) {
        const std::string_view value = Trim(fields[static_cast<std::size_t>(index)]);
        if (Unknown(value)) {
            return Refuse(field, std::string("the ") +
                                     (field == BirthField::Latitude ? "latitude" : "longitude") +
                                     " is unknown");
        }
        if (Status read = ReadField(field, value, birth); !read) {
            return read;
        }
    }
    const std::string_view zone = Trim(fields[3]);
    if (!Unknown(zone)) {
        pending.zoneSeconds = ReadAafZone(zone);
        if (!pending.zoneSeconds || std::abs(*pending.zoneSeconds) > kMaxUtcOffsetSeconds) {
            return Refuse(BirthField::UtcOffset, "the zone \"" + ShownInMessage(zone) +
                                                     "\" is not hours east or west like 1hE00");
        }
    }
    pending.summerCode = Trim(fields[4]);
    return Done();
}

// The offset from the zone and the summer-time code, when they give one.
Result<std::optional<int>> OffsetOf(const PendingRecord& pending) {
    const std::string code = ToUpper1252(pending.summerCode);
    if (code == "L") {
        return std::optional<int>(LocalMeanTimeOffsetSeconds(pending.record.birth->longitude));
    }
    int summer = 0;
    if (code == "1") {
        summer = 3600;
    } else if (code == "2") {
        summer = 7200;
    } else if (code == "H") {
        summer = 1800;
    } else if (code != "0" && !Unknown(code)) {
        return Error(InputError(BirthField::UtcOffset, "the summer-time code \"" +
                                                           ShownInMessage(pending.summerCode) +
                                                           "\" is not 0, 1, 2, h or L"));
    }
    if (!pending.zoneSeconds || Unknown(code)) {
        return std::optional<int>();
    }
    // A zone at the edge with summer time on top would leave the clocks' range.
    if (std::abs(*pending.zoneSeconds + summer) > kMaxUtcOffsetSeconds) {
        return Error(InputError(BirthField::UtcOffset, "the zone with summer time \"" +
                                                           ShownInMessage(pending.summerCode) +
                                                           "\" is more than 15 hours from UTC"));
    }
    return std::optional<int>(*pending.zoneSeconds + summer);
}

// Decides the moment: the Julian day when given (the local time is kept and
// the offset becomes whatever separates them), else the local time and the
// offset.
Status Finish(PendingRecord& pending) {
    if (!pending.haveB93) {
        return Refuse(BirthField::Latitude,
                      "the record has no #B93 line, which gives its coordinates");
    }
    BirthData& birth = *pending.record.birth;
    Result<std::optional<int>> offset = OffsetOf(pending);
    if (!offset) {
        return offset.Failure();
    }
    if (pending.utSeconds) {
        const std::int64_t local = record_fields::LocalSecondsAsUt(birth);
        const std::int64_t apart = local - *pending.utSeconds;
        if (birth.time && std::llabs(apart) <= kMaxUtcOffsetSeconds) {
            birth.utcOffsetSeconds = static_cast<int>(apart);
            return Done();
        }
        // The local date and time are too far from the Julian day to be
        // the same moment (or were not given): the day's moment, shown in
        // the zone's time when the record gives one.
        const int shown = offset->value_or(0);
        record_fields::SetLocalFromSeconds(*pending.utSeconds + shown, birth);
        birth.utcOffsetSeconds = shown;
        return Done();
    }
    if (!offset->has_value()) {
        return Refuse(BirthField::UtcOffset,
                      "the zone or summer time is unknown and no Julian day is given");
    }
    birth.utcOffsetSeconds = **offset;
    return Done();
}

class AafParser {
public:
    std::vector<ChartRecord> Read(std::string_view text) {
        const std::vector<std::string_view> lines = SplitRecordLines(text);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ReadLine(lines[i], static_cast<int>(i + 1));
        }
        Close();
        return std::move(records_);
    }

private:
    void ReadLine(std::string_view line, int number) {
        if (line.starts_with("#A93:")) {
            Close();
            pending_.emplace();
            pending_->record.line = number;
            Apply(ReadA93(line.substr(5), *pending_));
            return;
        }
        if (!pending_ || line.starts_with("#:") || !line.starts_with("#")) {
            return;
        }
        if (line.starts_with("#B93:")) {
            if (pending_->record.error.empty()) {
                Apply(ReadB93(line.substr(5), *pending_));
            }
        } else if (line.starts_with("#COM")) {
            std::string_view remark = line.substr(4);
            if (remark.starts_with(":")) {
                remark.remove_prefix(1);
            }
            std::string& note = pending_->record.note;
            note += (note.empty() ? "" : "\n") + std::string(Trim(remark));
        } else {
            pending_->record.extraLines.emplace_back(line);
        }
    }

    void Apply(const Status& status) {
        if (!status && pending_->record.error.empty()) {
            pending_->record.error = status.Failure().message;
        }
    }

    void Close() {
        if (!pending_) {
            return;
        }
        if (pending_->record.error.empty()) {
            Apply(Finish(*pending_));
        }
        if (!pending_->record.error.empty()) {
            pending_->record.birth.reset();
        }
        records_.push_back(std::move(pending_->record));
        pending_.reset();
    }

    std::optional<PendingRecord> pending_;
    std::vector<ChartRecord> records_;
};

}  // namespace

std::vector<ChartRecord> ReadAafRecords(std::string_view text) {
    return AafParser().Read(text);
}

}  // namespace tolvaris
