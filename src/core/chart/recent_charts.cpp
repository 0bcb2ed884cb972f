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

// A path may hold any byte but NUL, line breaks too: backslash, CR and LF
// are written as \\, \r and \n so that each path keeps to one line.
std::string EscapedPath(const std::string& path) {
    std::string line;
    line.reserve(path.size());
    for (const char c : path) {
        switch (c) {
            case '\\':
                line += "\\\\";
                break;
            case '\n':
                line += "\\n";
                break;
            case '\r':
                line += "\\r";
                break;
            default:
                line += c;
        }
    }
    return line;
}

// The reverse. Files written before escaping held paths as they were, so a
// backslash before any other byte (or at the end) stands for itself.
std::string UnescapedPath(std::string_view line) {
    std::string path;
    path.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char next = i + 1 < line.size() ? line[i + 1] : '\0';
        if (line[i] != '\\' || (next != '\\' && next != 'n' && next != 'r')) {
            path += line[i];
            continue;
        }
        path += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
        ++i;
    }
    return path;
}

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
        text += EscapedPath(path.string());
        text += '\n';
    }
    return text;
}

std::vector<std::filesystem::path> RecentCharts::Parse(std::string_view text,
                                                       std::size_t capacity) {
    std::vector<std::filesystem::path> paths;
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
        // A line that names no usable path costs only itself.
        if (line.empty() || line.find('\0') != std::string_view::npos) {
            continue;
        }
        std::filesystem::path path(UnescapedPath(line));
        if (!path.is_absolute()) {
            continue;
        }
        if (std::find(paths.begin(), paths.end(), path) == paths.end() && paths.size() < capacity) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

}  // namespace tolvaris
