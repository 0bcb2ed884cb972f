#include "core/chart/recent_charts.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tolvaris {
namespace {

constexpr std::string_view kHeading = "# Tolvaris recent charts 1";
// A few paths of a few hundred bytes each; anything far larger is not ours.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{64} * 1024;

}  // namespace

RecentCharts::RecentCharts(std::filesystem::path file, std::size_t capacity)
    : file_(std::move(file)), capacity_(capacity) {}

void RecentCharts::Load() {
    paths_.clear();
    std::error_code error;
    if (!std::filesystem::is_regular_file(file_, error) ||
        std::filesystem::file_size(file_, error) > kMaxFileBytes || error) {
        return;
    }
    std::ifstream in(file_, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return;
    }
    paths_ = Parse(text, capacity_);
}

std::string RecentCharts::Save(AtomicFileWriter& writer) const {
    const std::string text = Format(paths_);
    return writer.Write(file_, [&text](const AtomicFileWriter::Sink& sink) { sink(text); });
}

void RecentCharts::Add(const std::filesystem::path& chart) {
    Remove(chart);
    paths_.insert(paths_.begin(), chart);
    if (paths_.size() > capacity_) {
        paths_.resize(capacity_);
    }
}

bool RecentCharts::Remove(const std::filesystem::path& chart) {
    const auto found = std::find(paths_.begin(), paths_.end(), chart);
    if (found == paths_.end()) {
        return false;
    }
    paths_.erase(found);
    return true;
}

std::string RecentCharts::Format(const std::vector<std::filesystem::path>& paths) {
    std::string text(kHeading);
    text += '\n';
    for (const std::filesystem::path& path : paths) {
        text += path.string();
        text += '\n';
    }
    return text;
}

std::vector<std::filesystem::path> RecentCharts::Parse(std::string_view text,
                                                       std::size_t capacity) {
    std::vector<std::filesystem::path> paths;
    if (text.find('\0') != std::string_view::npos) {
        return {};
    }
    bool heading = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (heading) {
            if (line != kHeading) {
                return {};
            }
            heading = false;
            continue;
        }
        if (line.empty()) {
            continue;
        }
        std::filesystem::path path(line);
        if (!path.is_absolute()) {
            return {};
        }
        if (std::find(paths.begin(), paths.end(), path) == paths.end() && paths.size() < capacity) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

}  // namespace tolvaris
