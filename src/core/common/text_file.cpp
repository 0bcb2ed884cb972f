#include "core/common/text_file.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/common/cp1252.h"

namespace tolvaris {

std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        return path;
    }
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const std::string wanted = path.filename().string();
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (EqualIgnoringCase1252(it->path().filename().string(), wanted)) {
            return it->path();
        }
    }
    return path;
}

FileHandle OpenOrdinaryFileForReading(const std::filesystem::path& path, std::string& error) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) {
        error = ec.message();
        return {};
    }
    if (!std::filesystem::is_regular_file(status)) {
        error =
            std::filesystem::is_directory(status) ? "it is a folder" : "it is not an ordinary file";
        return {};
    }
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = ErrnoText(errno);
    }
    return file;
}

std::string ErrnoText(int errorNumber) {
    return std::generic_category().message(errorNumber);
}

}  // namespace tolvaris
