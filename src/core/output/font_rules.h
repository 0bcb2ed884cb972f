#pragma once

#include <optional>

namespace tolvaris {

// The size commands change the shown font only inside these bounds, but the
// setting moves by a step every time.
inline bool CanIncreaseFont(double size) {
    return size < 12;
}
inline bool CanDecreaseFont(double size) {
    return size > 8;
}

// Returns the size to show, if the shown font changes; always moves the setting.
inline std::optional<double> IncreaseFontSetting(double& OutputFontSize, double FontSizeStep) {
    std::optional<double> shown;
    if (CanIncreaseFont(OutputFontSize)) {
        shown = OutputFontSize + FontSizeStep / 2;
    }
    OutputFontSize += FontSizeStep / 2;
    return shown;
}

inline std::optional<double> DecreaseFontSetting(double& OutputFontSize, double FontSizeStep) {
    std::optional<double> shown;
    if (CanDecreaseFont(OutputFontSize)) {
        shown = OutputFontSize - FontSizeStep / 2;
    }
    OutputFontSize -= FontSizeStep / 2;
    return shown;
}

}  // namespace tolvaris
