#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace tolvaris::test {

std::string SettingsFileText(std::string_view fontSize) {
    std::string text = "[Tolvaris] - Do NOT change the order of these variables.\r\nFontSize= ";
    text.append(fontSize).append(
        "\r\n"
        "FontBold= 0\r\n"
        "FontItalic= 0\r\n"
        "DataTop= 945\r\n"
        "DataLeft= 900\r\n"
        "DataHeight= 8250\r\n"
        "DataWidth= 9600\r\n");
    return text;
}

std::filesystem::path ShippedDataFolder() {
    return std::filesystem::path(TOLVARIS_SOURCE_DIR) / "data";
}

TempFolder::TempFolder() {
    std::random_device random;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string stem = info != nullptr ? std::string(info->name()) : std::string("tolvaris");
    for (;;) {
        path_ = std::filesystem::temp_directory_path() /
                ("tolvaris-" + stem.substr(0, 40) + "-" + std::to_string(random()));
        if (std::filesystem::create_directory(path_)) {
            break;
        }
    }
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace tolvaris::test
