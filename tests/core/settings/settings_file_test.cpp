#include "core/settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "core/settings/number_text.h"
#include "support/fake_screen.h"
#include "support/temp_folder.h"

namespace tolvaris {

void PrintTo(const SettingValues& v, std::ostream* out) {
    *out << "{size " << v.outputFontSize << ", bold " << v.outputFontBold << ", italic "
         << v.outputFontItalic << ", top " << v.outputTop << ", left " << v.outputLeft
         << ", height " << v.outputHeight << ", width " << v.outputWidth << "}";
}

namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const std::string kDefaultFile = test::SettingsFileText();

SettingValues LoadFrom(const std::string& bytes) {
    TempFolder folder;
    WriteBytes(folder / kSettingsFileName, bytes);
    return LoadSettings(folder / kSettingsFileName);
}

struct LoadCase {
    const char* name;
    std::string file;
    SettingValues expected;
};

TEST(LoadSettings, AcceptsOnlyWhatTheRulesAllow) {
    const std::vector<LoadCase> cases = {
        {"empty file", "", {}},
        {"as written", kDefaultFile, {}},
        {"every key",
         "FontSize= 12.25\r\nFontBold=-1\r\nFontItalic=-1\r\nDataTop= 15\r\nDataLeft=-30\r\n"
         "DataHeight= 600\r\nDataWidth= 32767\r\n",
         {12.25, -1, -1, 15, -30, 600, 32767}},
        {"font size below the least", "FontSize=7.5", {}},
        {"least font size", "FontSize=7.75", {.outputFontSize = 7.75}},
        {"huge font size is kept", "FontSize=1E+300", {.outputFontSize = 1e300}},
        {"any bold value",
         "FontBold=0.001\r\nFontItalic=-7",
         {.outputFontBold = 0.001, .outputFontItalic = -7}},
        {"top 0 ignored", "DataTop=0", {}},
        {"negative top, height, width ignored",
         "DataTop=-5\r\nDataHeight=-1\r\nDataWidth=-0.1",
         {}},
        {"width 0 ignored", "DataWidth=0", {}},
        {"left 0 taken", "DataLeft=0", {.outputLeft = 0}},
        {"negative left taken", "DataLeft=-200", {.outputLeft = -200}},
        {"0.4 passes and is stored as 0",
         "DataTop=0.4\r\nDataHeight= .4\r\nDataWidth=0.4",
         {.outputTop = 0, .outputHeight = 0, .outputWidth = 0}},
        {"half to even",
         "DataTop=100.5\r\nDataHeight=101.5\r\nDataWidth=0.5",
         {.outputTop = 100, .outputHeight = 102, .outputWidth = 0}},
        {"half to even below zero", "DataLeft=-101.5", {.outputLeft = -102}},
        {"half to even below zero, even side", "DataLeft=-100.5", {.outputLeft = -100}},
        {"nearest otherwise",
         "DataTop=100.49\r\nDataHeight=100.51",
         {.outputTop = 100, .outputHeight = 101}},
        {"lower-case key ignored", "datatop=500\r\nFONTSIZE=10", {}},
        {"leading space ignored", " DataTop=500\r\n  FontSize=10", {}},
        {"leading tab ignored", "\tDataTop=500", {}},
        {"key without = reads 0", "FontBold=-1\r\nFontBold\r\n", {.outputFontBold = 0}},
        {"key matched by its start",
         "FontBoldness=5\r\nDataWidthX=700",
         {.outputFontBold = 5, .outputWidth = 700}},
        {"empty value", "FontSize=\r\nDataLeft=", {.outputLeft = 0}},
        {"text after the first =", "FontSize==9\r\nDataTop=12=5", {.outputTop = 12}},
        {"section line matches nothing", "[Tolvaris]=12\r\n[FontSize]=12", {}},
        {"last accepted line wins",
         "DataTop=100\r\nDataTop=200\r\nDataTop=0\r\n",
         {.outputTop = 200}},
        {"any order, no section line",
         "DataWidth= 700\r\nFontItalic=-1\r\nDataTop= 20\r\nFontSize= 9.25\r\n",
         {.outputFontSize = 9.25, .outputFontItalic = -1, .outputTop = 20, .outputWidth = 700}},
        {"blanks inside a value",
         "DataWidth= 1 2 0 0 0\r\nFontSize=\t1 0 . 7 5",
         {.outputFontSize = 10.75, .outputWidth = 12000}},
        {"exponents with D",
         "FontSize=1D1\r\nDataTop=2.5d2",
         {.outputFontSize = 10, .outputTop = 250}},
        {"hexadecimal and octal",
         "DataWidth=&H2EE0\r\nFontItalic=&o7\r\nDataLeft=&HFFFF",
         {.outputFontItalic = 7, .outputLeft = -1, .outputWidth = 12000}},
        {"16-bit -1 is no height", "DataHeight=&HFFFF", {}},
        {"extremes of 16 bits",
         "DataLeft=-32768.5\r\nDataTop=32767.4",
         {.outputTop = 32767, .outputLeft = -32768}},
        {"out of range but not accepted goes on",
         "DataTop=-40000\r\nDataLeft=5",
         {.outputLeft = 5}},
        {"too large for a double on a line without key",
         "Note=1E999\r\nFontItalic=1",
         {.outputFontItalic = 1}},
        {"trailing text after the number", "DataTop=300 twips", {.outputTop = 300}},
        {"bytes above 127 and NUL",
         std::string("\xe9t\xe9=1\r\nDataTop=3\0x4\r\n", 20),
         {.outputTop = 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadFrom(c.file), c.expected);
    }
}

TEST(LoadSettings, StopsAtAValueThatCannotBeStored) {
    const std::vector<LoadCase> cases = {
        {"top of 40000", "FontSize=10\r\nDataTop=40000\r\nDataLeft=5\r\n", {.outputFontSize = 10}},
        {"earlier values of the same key stay",
         "DataLeft=5\r\nDataLeft=-32769\r\nFontBold=-1",
         {.outputLeft = 5}},
        {"rounds up past the range", "DataWidth=32767.5\r\nFontBold=-1", {}},
        {"hex of more than 32 bits", "DataLeft=&H100000000\r\nFontBold=-1", {}},
        {"font size beyond a double",
         "FontItalic=-1\r\nFontSize=1E999\r\nFontBold=-1",
         {.outputFontItalic = -1}},
        {"bold beyond a double", "FontBold=-1D400\r\nDataTop=5", {}},
        {"top beyond a double, even negative", "DataTop=-1E400\r\nDataTop=5", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadFrom(c.file), c.expected);
    }
}

TEST(LoadSettings, EndsLinesAtCrLfLoneCrAndLoneLf) {
    const SettingValues expected{.outputFontSize = 10, .outputFontBold = -1, .outputTop = 20};
    for (const std::string end : {"\r\n", "\r", "\n", "\n\r"}) {
        SCOPED_TRACE(testing::PrintToString(end));
        const std::string file = "FontSize=10" + end + "FontBold=-1" + end + "DataTop=20";
        EXPECT_EQ(LoadFrom(file), expected);
        EXPECT_EQ(LoadFrom(file + end), expected);
    }
    EXPECT_EQ(LoadFrom("FontSize=10\rFontBold=-1\nDataTop=20\r\n"), expected);
}

TEST(LoadSettings, GivesDefaultsWhenThereIsNothingToRead) {
    TempFolder folder;
    EXPECT_EQ(LoadSettings(folder / kSettingsFileName), SettingValues{});
    EXPECT_EQ(LoadSettings(folder / "missing" / kSettingsFileName), SettingValues{});

    std::filesystem::create_directory(folder / kSettingsFileName);
    EXPECT_EQ(LoadSettings(folder / kSettingsFileName), SettingValues{});

    // A FIFO must not block the start of the program.
    TempFolder other;
    ASSERT_EQ(::mkfifo((other / kSettingsFileName).c_str(), 0600), 0);
    EXPECT_EQ(LoadSettings(other / kSettingsFileName), SettingValues{});
}

TEST(LoadSettings, ReadsPastAnEndlessLine) {
    const std::string endless(3 << 20, 'x');
    EXPECT_EQ(LoadFrom("DataTop=7" + endless + "\r\nFontSize=9.25\r\n"),
              (SettingValues{.outputFontSize = 9.25, .outputTop = 7}));
}

TEST(LoadSettings, FindsTheFileWhateverItsLetterCase) {
    TempFolder folder;
    WriteBytes(folder / "TOLVARIS.INI", "DataTop=77\r\n");
    EXPECT_EQ(LoadSettings(folder / kSettingsFileName).outputTop, 77);
}

TEST(SaveSettings, WritesTheEightLinesExactly) {
    TempFolder folder;
    AtomicFileWriter writer;
    ASSERT_EQ(SaveSettings(folder / kSettingsFileName, SettingValues{}, writer), "");
    EXPECT_EQ(ReadBytes(folder / kSettingsFileName), kDefaultFile);

    const SettingValues changed{12.25, -1, 0, 15, -30, 600, 32767};
    ASSERT_EQ(SaveSettings(folder / kSettingsFileName, changed, writer), "");
    EXPECT_EQ(ReadBytes(folder / kSettingsFileName),
              "[Tolvaris] - Do NOT change the order of these variables.\r\n"
              "FontSize= 12.25\r\n"
              "FontBold=-1\r\n"
              "FontItalic= 0\r\n"
              "DataTop= 15\r\n"
              "DataLeft=-30\r\n"
              "DataHeight= 600\r\n"
              "DataWidth= 32767\r\n");
}

TEST(SaveSettings, ReplacesACopyWithAnotherLetterCase) {
    TempFolder folder;
    WriteBytes(folder / "tolvaris.INI", "old");
    AtomicFileWriter writer;
    ASSERT_EQ(SaveSettings(folder / kSettingsFileName, SettingValues{}, writer), "");
    EXPECT_EQ(ReadBytes(folder / "tolvaris.INI"), kDefaultFile);
    EXPECT_FALSE(std::filesystem::exists(folder / kSettingsFileName));
}

TEST(SaveSettings, AFailedWriteLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string old = kDefaultFile + "DataTop= 1\r\n";
    WriteBytes(folder / kSettingsFileName, old);
    test::FailingFileWriter failing("No space left on device");
    EXPECT_EQ(SaveSettings(folder / kSettingsFileName, SettingValues{.outputTop = 5}, failing),
              "No space left on device");
    EXPECT_EQ(failing.attempts, 1);
    EXPECT_EQ(ReadBytes(folder / kSettingsFileName), old);

    // A real failure is reported too, not taken for success.
    AtomicFileWriter writer;
    EXPECT_NE(SaveSettings(folder / "gone" / kSettingsFileName, SettingValues{}, writer), "");
    EXPECT_FALSE(std::filesystem::exists(folder / "gone"));
}

TEST(SaveSettings, AnImpossibleFontSizeComesBackAsTheDefault) {
    TempFolder folder;
    AtomicFileWriter writer;
    const SettingValues broken{.outputFontSize = std::numeric_limits<double>::infinity(),
                               .outputFontBold = -1};
    ASSERT_EQ(SaveSettings(folder / kSettingsFileName, broken, writer), "");
    EXPECT_EQ(LoadSettings(folder / kSettingsFileName), (SettingValues{.outputFontBold = -1}));
}

TEST(SettingsFileProperty, WhatIsSavedIsLoadedBack) {
    std::mt19937_64 random(4711);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<int> positive(1, 32767);
    std::uniform_int_distribution<int> any(-32768, 32767);
    TempFolder folder;
    AtomicFileWriter writer;
    for (int i = 0; i < 300; ++i) {
        SettingValues saved;
        saved.outputFontSize = i % 3 == 0   ? 7.75 + 0.75 * (i % 20)
                               : i % 3 == 1 ? 7.75 + unit(random) * 100
                                            : 7.75 * std::pow(10.0, unit(random) * 300);
        saved.outputFontBold = i % 2 == 0 ? -1 : (unit(random) - 0.5) * std::pow(10.0, i % 40 - 20);
        saved.outputFontItalic = i % 5 == 0 ? 0 : -1;
        saved.outputTop = static_cast<std::int16_t>(positive(random));
        saved.outputLeft = static_cast<std::int16_t>(any(random));
        saved.outputHeight = static_cast<std::int16_t>(positive(random));
        saved.outputWidth = static_cast<std::int16_t>(positive(random));
        SCOPED_TRACE(testing::PrintToString(saved));

        ASSERT_EQ(SaveSettings(folder / kSettingsFileName, saved, writer), "");
        const SettingValues loaded = LoadSettings(folder / kSettingsFileName);
        EXPECT_EQ(FormatNumberText(loaded.outputFontSize), FormatNumberText(saved.outputFontSize));
        EXPECT_NEAR(loaded.outputFontSize, saved.outputFontSize, saved.outputFontSize * 1e-14);
        EXPECT_EQ(FormatNumberText(loaded.outputFontBold), FormatNumberText(saved.outputFontBold));
        EXPECT_EQ(loaded.outputFontItalic, saved.outputFontItalic);
        EXPECT_EQ(loaded.outputTop, saved.outputTop);
        EXPECT_EQ(loaded.outputLeft, saved.outputLeft);
        EXPECT_EQ(loaded.outputHeight, saved.outputHeight);
        EXPECT_EQ(loaded.outputWidth, saved.outputWidth);
        if (i % 3 == 0) {
            EXPECT_EQ(loaded.outputFontSize, saved.outputFontSize);
        }
    }
}

TEST(RenderableFontSize, HoldsTheDrawnSizeWithinBoundsOnly) {
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<double, double>> cases = {
        {8.5, 8.5},
        {9.25, 9.25},
        {7.75, 7.75},
        {1638, 1638},
        {1638.5, 1638},
        {1e6, 1638},
        {1e300, 1638},
        {infinity, 1638},
        {0.5, 1},
        {0, 1},
        {-5, 1},
        {-infinity, 1},
        {std::numeric_limits<double>::quiet_NaN(), 8.5},
    };
    for (const auto& [setting, drawn] : cases) {
        SCOPED_TRACE(setting);
        EXPECT_EQ(RenderableFontSize(setting), drawn);
    }
    // The setting read from the file is not touched.
    EXPECT_EQ(LoadFrom("FontSize=1E+300").outputFontSize, 1e300);
}

}  // namespace
}  // namespace tolvaris
