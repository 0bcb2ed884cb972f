#include <algorithm>
#include <cmath>

#include "core/chart/decimal_text.h"
#include "core/chart/message_text.h"
#include "core/common/utf8.h"
#include "core/interchange/chart_records.h"
#include "core/interchange/record_fields.h"
#include "core/time/civil_time.h"

namespace tolvaris {
namespace {

using record_fields::ReadField;
using record_fields::Trim;
using record_fields::WholeNumber;

// The columns of a record (docs/import-formats.md): where each field
// starts and how wide it is.
struct Column {
    std::size_t start;
    std::size_t width;
};
constexpr Column kName{0, 30};
constexpr Column kMonth{30, 2};
constexpr Column kDay{32, 2};
constexpr Column kYear{34, 4};
constexpr Column kTime{38, 5};
constexpr Column kHalfDay{43, 2};
constexpr Column kZone{45, 6};
constexpr Column kCorrection{51, 5};
constexpr Column kLongitude{56, 7};
constexpr Column kLatitude{63, 6};
constexpr Column kPlace{69, 31};
constexpr std::size_t kRecordWidth = 100;
// Shorter lines are records whose place was cut by an editor's trailing
// space removal; anything shorter lacks coordinates.
constexpr std::size_t kShortestRecord = kPlace.start;

// A record's columns count characters: the byte where each starts.
class Columns {
public:
    explicit Columns(std::string_view line) : line_(line) {
        for (std::size_t pos = 0; pos < line.size();) {
            starts_.push_back(pos);
            NextCodePoint(line, pos);
        }
        starts_.push_back(line.size());
    }
    std::size_t Width() const { return starts_.size() - 1; }
    std::string_view Cut(Column column) const {
        if (column.start >= Width()) {
            return {};
        }
        const std::size_t end = std::min(column.start + column.width, Width());
        return Trim(line_.substr(starts_[column.start], starts_[end] - starts_[column.start]));
    }

private:
    std::string_view line_;
    std::vector<std::size_t> starts_;
};

Status Refuse(BirthField field, std::string message) {
    return InputError(field, std::move(message));
}

// "09:30" with "AM" or "PM"; a blank half of the day reads the clock as
// 24-hour.
Status ReadClock(std::string_view clock, std::string_view half, BirthData& birth) {
    if (Status read = ReadField(BirthField::Time, clock, birth); !read) {
        return read;
    }
    if (half.empty() || !birth.time) {
        return Done();
    }
    const bool pm = half == "PM" || half == "pm";
    if ((!pm && half != "AM" && half != "am") || birth.time->hour < 1 || birth.time->hour > 12) {
        return Refuse(BirthField::Time, "the time \"" + ShownInMessage(clock) + " " +
                                            ShownInMessage(half) +
                                            "\" is not a time from 1:00 to 12:59 AM or PM");
    }
    birth.time->hour = birth.time->hour % 12 + (pm ? 12 : 0);
    return Done();
}

// Hours as a decimal ("5.00", "-1.00").
std::optional<int> HoursAsSeconds(std::string_view text) {
    const std::optional<double> hours = ParsePlainDecimal(text);
    if (!hours || std::abs(*hours) > 15.0) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(*hours * 3600.0));
}

Status ReadRecord(const Columns& line, BirthData& birth) {
    if (line.Width() > kRecordWidth + 1 || line.Width() < kShortestRecord) {
        return Refuse(BirthField::Name, "the record is " + std::to_string(line.Width()) +
                                            " characters long, not 100 or 101");
    }
    if (Status read = ReadField(BirthField::Name, line.Cut(kName), birth); !read) {
        return read;
    }
    const std::optional<int> month = WholeNumber(line.Cut(kMonth));
    const std::optional<int> day = WholeNumber(line.Cut(kDay));
    const std::optional<int> year = WholeNumber(line.Cut(kYear));
    if (!month || !day || !year) {
        return Refuse(BirthField::Date, "the date \"" +
                                            ShownInMessage(line.Cut({kMonth.start, 8})) +
                                            "\" is not month, day and year as MMDDYYYY");
    }
    if (Status read = record_fields::ReadDateParts(*year, *month, *day, birth); !read) {
        return read;
    }
    if (Status read = ReadClock(line.Cut(kTime), line.Cut(kHalfDay), birth); !read) {
        return read;
    }
    const std::optional<int> zone = HoursAsSeconds(line.Cut(kZone));
    const std::string_view correctionText = line.Cut(kCorrection);
    const std::optional<int> correction =
        correctionText.empty() ? std::optional<int>(0) : HoursAsSeconds(correctionText);
    if (!zone || !correction) {
        return Refuse(BirthField::UtcOffset,
                      "the zone \"" + ShownInMessage(line.Cut(kZone)) + "\" and correction \"" +
                          ShownInMessage(correctionText) + "\" are not hours like 5.00 and 1.00");
    }
    // The zone counts hours west of Greenwich; the correction is summer time.
    const int offset = -*zone + *correction;
    if (std::abs(offset) > kMaxUtcOffsetSeconds) {
        return Refuse(BirthField::UtcOffset,
                      "the zone and correction give an offset beyond 15 hours");
    }
    birth.utcOffsetSeconds = offset;
    if (Status read = ReadField(BirthField::Longitude, line.Cut(kLongitude), birth); !read) {
        return read;
    }
    if (Status read = ReadField(BirthField::Latitude, line.Cut(kLatitude), birth); !read) {
        return read;
    }
    return ReadField(BirthField::Place, line.Cut(kPlace), birth);
}

}  // namespace

std::vector<ChartRecord> ReadQckRecords(std::string_view text) {
    std::vector<ChartRecord> records;
    const std::vector<std::string_view> lines = SplitRecordLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        // A DOS end-of-file mark ends the records.
        if (line.starts_with('\x1A')) {
            break;
        }
        if (Trim(line).empty()) {
            continue;
        }
        ChartRecord record;
        record.line = static_cast<int>(i + 1);
        BirthData birth;
        if (Status read = ReadRecord(Columns(line), birth); read) {
            record.birth = std::move(birth);
        } else {
            record.error = read.Failure().message;
        }
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace tolvaris
