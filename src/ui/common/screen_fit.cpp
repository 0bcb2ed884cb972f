#include "ui/common/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace tolvaris {

QRect ScreenAvailableGeometry(const QRect& frame) {
    const QScreen* best = nullptr;
    qint64 bestArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->geometry().intersected(frame);
        const qint64 area = static_cast<qint64>(overlap.width()) * overlap.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    if (best == nullptr) {
        best = QGuiApplication::primaryScreen();
    }
    return best != nullptr ? best->availableGeometry() : frame;
}

QRect KeepInside(const QRect& frame, const QRect& available) {
    if (!available.isValid()) {
        return frame;
    }
    const int width = std::min(frame.width(), available.width());
    const int height = std::min(frame.height(), available.height());
    const int left = std::clamp(frame.left(), available.left(), available.right() + 1 - width);
    const int top = std::clamp(frame.top(), available.top(), available.bottom() + 1 - height);
    return {left, top, width, height};
}

}  // namespace tolvaris
