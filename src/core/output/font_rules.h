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
inline std::optional<double> IncreaseFontSetting(double& fontSize, double step) {
    std::optional<double> shown;
    if (CanIncreaseFont(fontSize)) {
        shown = fontSize + step / 2;
    }
    fontSize += step / 2;
    return shown;
}

inline std::optional<double> DecreaseFontSetting(double& fontSize, double step) {
    std::optional<double> shown;
    if (CanDecreaseFont(fontSize)) {
        shown = fontSize - step / 2;
    }
    fontSize -= step / 2;
    return shown;
}

}  // namespace tolvaris
