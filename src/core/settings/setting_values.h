#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tolvaris {

// The output window's font and placement, kept between runs in the settings
// file. Font size in points; bold and italic are on when not 0 (the window
// stores -1); position and size in twips.
struct SettingValues {
    double outputFontSize = 8.5;
    double outputFontBold = 0;
    double outputFontItalic = 0;
    std::int16_t outputTop = 945;
    std::int16_t outputLeft = 900;
    std::int16_t outputHeight = 8250;
    std::int16_t outputWidth = 9600;

    bool operator==(const SettingValues&) const = default;
};

// Sizes a font can actually be drawn at. The settings file accepts any size
// from 7.75 up, 1E+300 included, and Qt gives up on fonts far smaller than
// that; the upper bound stays below where Qt's font engines stop rendering.
inline constexpr double kSmallestRenderableFontSize = 1.0;
inline constexpr double kLargestRenderableFontSize = 1638.0;

// The size the window applies for the size setting `setting`. The setting
// itself keeps its stored value so that it goes back to the file unchanged;
// only the font that is drawn is held within bounds. A size that is not a
// number at all gives the default size.
inline double RenderableFontSize(double setting) {
    if (std::isnan(setting)) {
        return SettingValues{}.outputFontSize;
    }
    return std::clamp(setting, kSmallestRenderableFontSize, kLargestRenderableFontSize);
}

}  // namespace tolvaris
