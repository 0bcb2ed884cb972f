#include "core/settings/settings_file.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "core/common/line_reader.h"
#include "core/common/text_file.h"
#include "core/settings/number_text.h"

namespace tolvaris {
namespace {

// Far longer than any line this program writes; a damaged file with one
// endless line is then read in bounded memory.
constexpr std::size_t kLineLimit = std::size_t{1} << 20;

bool AnyValue(double) {
    return true;
}
bool LargeEnoughFont(double size) {
    return size >= 7.75;
}
bool AboveZero(double value) {
    return value > 0;
}

// One key of the file. Exactly one of the two members is set.
struct KeyRule {
    std::string_view key;
    bool (*accepts)(double);
    double SettingValues::*fontValue;
    std::int16_t SettingValues::*windowValue;
};

// In the order the lines are written.
constexpr std::array<KeyRule, 7> kKeyRules = {{
    {"FontSize", LargeEnoughFont, &SettingValues::outputFontSize, nullptr},
    {"FontBold", AnyValue, &SettingValues::outputFontBold, nullptr},
    {"FontItalic", AnyValue, &SettingValues::outputFontItalic, nullptr},
    {"DataTop", AboveZero, nullptr, &SettingValues::outputTop},
    {"DataLeft", AnyValue, nullptr, &SettingValues::outputLeft},
    {"DataHeight", AboveZero, nullptr, &SettingValues::outputHeight},
    {"DataWidth", AboveZero, nullptr, &SettingValues::outputWidth},
}};

double RoundHalfToEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5) {
        return below;
    }
    if (fraction > 0.5) {
        return below + 1;
    }
    return std::fmod(below, 2) == 0 ? below : below + 1;
}

// Stores what `line` supplies. Returns false when the line ends the reading.
bool ApplyLine(std::string_view line, SettingValues& values) {
    const std::size_t equals = line.find('=');
    const std::string_view text = equals == std::string_view::npos ? line : line.substr(equals + 1);
    for (const KeyRule& rule : kKeyRules) {
        if (!line.starts_with(rule.key)) {
            continue;
        }
        const double number = ReadLenientNumber(text);
        if (!std::isfinite(number)) {
            return false;
        }
        if (!rule.accepts(number)) {
            continue;
        }
        if (rule.fontValue != nullptr) {
            values.*rule.fontValue = number;
            continue;
        }
        const double rounded = RoundHalfToEven(number);
        if (rounded < -32768 || rounded > 32767) {
            return false;
        }
        values.*rule.windowValue = static_cast<std::int16_t>(rounded);
    }
    return true;
}

std::string SettingsText(const SettingValues& values) {
    std::string text(kSettingsSectionLine);
    text += "\r\n";
    for (const KeyRule& rule : kKeyRules) {
        const double value =
            rule.fontValue != nullptr ? values.*rule.fontValue : values.*rule.windowValue;
        text += rule.key;
        text += '=';
        text += FormatNumberText(value);
        text += "\r\n";
    }
    return text;
}

}  // namespace

SettingValues LoadSettings(const std::filesystem::path& file) {
    SettingValues values;
    std::string error;
    const FileHandle handle = OpenOrdinaryFileForReading(FindFileIgnoringCase(file), error);
    if (!handle) {
        return values;
    }
    LineReader reader(handle.get());
    std::string head;
    std::size_t leadingSpaces = 0;
    while (reader.ReadHead(head, kLineLimit, leadingSpaces) == LineReader::Status::Line) {
        // A line that starts with a blank matches no key, so its value is never used.
        if (leadingSpaces == 0 && !ApplyLine(head, values)) {
            break;
        }
    }
    return values;
}

std::string SaveSettings(const std::filesystem::path& file, const SettingValues& values,
                         AtomicFileWriter& writer) {
    const std::string text = SettingsText(values);
    // Replace a copy whose name differs in letter case rather than add a second file.
    return writer.Write(FindFileIgnoringCase(file),
                        [&](const AtomicFileWriter::Sink& sink) { sink(text); });
}

}  // namespace tolvaris
