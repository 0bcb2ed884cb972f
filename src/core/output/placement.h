#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tolvaris {

// Window placement is kept in twips, 15 to a logical pixel.
inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(std::int16_t twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

// Rounds half to even and clamps to the 16-bit range the settings hold, so a
// very large or far-placed window never overflows a stored value.
inline std::int16_t PixelsToTwips(double pixels) {
    const double twips = std::nearbyint(pixels * kTwipsPerPixel);
    return static_cast<std::int16_t>(std::clamp(twips, -32768.0, 32767.0));
}

}  // namespace tolvaris
