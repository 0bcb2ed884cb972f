// An AAF, Quick*Chart or CSV reader (chosen at build time by
// TOLVARIS_FUZZ_RECORDS: 0, 1, 2) on arbitrary text: each record is a birth
// or one refusal, in file order, never a crash. Every birth accepted is
// sound, and an AAF record written from it reads back to the same place.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/interchange/chart_records.h"
#include "core/time/civil_time.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

std::vector<ChartRecord> Read(std::string_view text) {
    switch (TOLVARIS_FUZZ_RECORDS) {
        case 0:
            return ReadAafRecords(text);
        case 1:
            return ReadQckRecords(text);
        default:
            return ReadCsvRecords(text);
    }
}

void CheckOne(std::string_view bytes) {
    const std::string text = DecodeRecordText(bytes);
    const std::size_t lines = SplitRecordLines(text).size();
    int previous = 0;
    for (const ChartRecord& record : Read(text)) {
        FUZZ_CHECK(record.birth.has_value() == record.error.empty(), Printable(bytes));
        FUZZ_CHECK(record.line > previous && static_cast<std::size_t>(record.line) <= lines,
                   Printable(bytes));
        previous = record.line;
        if (!record.birth) {
            FUZZ_CHECK(record.error.find('\n') == std::string::npos, record.error);
            continue;
        }
        const BirthData& birth = *record.birth;
        FUZZ_CHECK(DateExists(birth.date), Printable(bytes));
        FUZZ_CHECK(std::fabs(birth.latitude) <= 90.0 && std::fabs(birth.longitude) <= 180.0,
                   Printable(bytes));
        FUZZ_CHECK(birth.utcOffsetSeconds.has_value() || !birth.zone.empty(), Printable(bytes));
        if (birth.utcOffsetSeconds) {
            FUZZ_CHECK(std::abs(*birth.utcOffsetSeconds) <= kMaxUtcOffsetSeconds, Printable(bytes));
        }
        const AafText written = FormatAafRecord(birth, record.note, {});
        if (!written.error.empty()) {
            continue;  // a zone's repeated hour without a reading chosen
        }
        const std::vector<ChartRecord> again = ReadAafRecords(written.text);
        FUZZ_CHECK(again.size() == 1 && again.front().birth, written.text);
        FUZZ_CHECK(std::fabs(again.front().birth->latitude - birth.latitude) < 1e-6, written.text);
        FUZZ_CHECK(std::fabs(again.front().birth->longitude - birth.longitude) < 1e-6,
                   written.text);
        FUZZ_CHECK(again.front().birth->date == birth.date || !birth.time, written.text);
    }
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tolvaris::fuzz::CheckOne(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
