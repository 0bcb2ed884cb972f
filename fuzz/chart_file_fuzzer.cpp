// ParseChartFile on arbitrary bytes: it either gives birth data or one
// message naming the file and a line, never both, never a crash. Whatever it
// accepts must be sound (a real date, coordinates on Earth) and must survive
// being written and read again unchanged.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/chart/chart_file.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

void CheckOne(std::string_view text) {
    const ChartFileResult parsed = ParseChartFile(text, "f.chart");
    FUZZ_CHECK(parsed.value.has_value() != !parsed.error.empty(), Printable(text));
    if (!parsed.value) {
        FUZZ_CHECK(parsed.error.rfind("f.chart, line ", 0) == 0, parsed.error);
        FUZZ_CHECK(parsed.error.find('\n') == std::string::npos, parsed.error);
        FUZZ_CHECK(parsed.error.back() == '.', parsed.error);
        return;
    }
    const BirthData& birth = *parsed.value;
    FUZZ_CHECK(DateExists(birth.date), Printable(text));
    FUZZ_CHECK(birth.latitude >= -90.0 && birth.latitude <= 90.0, Printable(text));
    FUZZ_CHECK(birth.longitude >= -180.0 && birth.longitude <= 180.0, Printable(text));
    FUZZ_CHECK(birth.utcOffsetSeconds.has_value() != !birth.zone.empty(), Printable(text));
    const std::string written = FormatChartFile(birth);
    const ChartFileResult again = ParseChartFile(written, "f.chart");
    FUZZ_CHECK(again.value.has_value(), again.error + "\n" + Printable(written));
    FUZZ_CHECK(FormatChartFile(*again.value) == written, Printable(written));
    // Six decimals are kept: a coordinate moves by at most half a millionth.
    FUZZ_CHECK(std::fabs(again.value->latitude - birth.latitude) <= 5.0000001e-7, written);
    FUZZ_CHECK(std::fabs(again.value->longitude - birth.longitude) <= 5.0000001e-7, written);
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tolvaris::fuzz::CheckOne(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
