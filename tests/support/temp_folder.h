#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tolvaris::test {

// A fresh folder for one test, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
// Tolvaris.ini as the program writes it with the default placement and
// style, with the given font size text.
std::string SettingsFileText(std::string_view fontSize = "8.5");

// The shipped data files of the source tree (data/ of the repository).
std::filesystem::path ShippedDataFolder();
std::string ReadBytes(const std::filesystem::path& path);

}  // namespace tolvaris::test
