// RecentCharts::Parse on arbitrary recent-charts files, and one arbitrary
// path through Format and Parse. A parsed list holds distinct absolute paths
// within the capacity and survives a save; any absolute path comes back as
// it was, whatever bytes it holds.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/recent_charts.h"
#include "fuzz_support.h"

namespace tolvaris::fuzz {
namespace {

constexpr std::size_t kCapacity = 5;

void CheckList(std::string_view text) {
    const std::vector<std::filesystem::path> paths = RecentCharts::Parse(text, kCapacity);
    FUZZ_CHECK(paths.size() <= kCapacity, Printable(text));
    for (std::size_t i = 0; i < paths.size(); ++i) {
        FUZZ_CHECK(paths[i].is_absolute(), Printable(paths[i].string()));
        FUZZ_CHECK(paths[i].string().find('\0') == std::string::npos, Printable(text));
        FUZZ_CHECK(std::find(paths.begin(), paths.begin() + static_cast<std::ptrdiff_t>(i),
                             paths[i]) == paths.begin() + static_cast<std::ptrdiff_t>(i),
                   Printable(text));
    }
    const std::string written = RecentCharts::Format(paths);
    FUZZ_CHECK(std::count(written.begin(), written.end(), '\n') ==
                   static_cast<std::ptrdiff_t>(paths.size() + 1),
               Printable(written));
    FUZZ_CHECK(RecentCharts::Parse(written, kCapacity) == paths, Printable(written));
}

void CheckOnePath(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) {
        return;  // no path holds a NUL
    }
    const std::filesystem::path path("/" + std::string(bytes));
    const std::string written = RecentCharts::Format({path});
    const std::vector<std::filesystem::path> again = RecentCharts::Parse(written, kCapacity);
    FUZZ_CHECK(again.size() == 1 && again.front() == path, Printable(written));
}

}  // namespace
}  // namespace tolvaris::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tolvaris::fuzz::CheckList(text);
    tolvaris::fuzz::CheckOnePath(text);
    return 0;
}
