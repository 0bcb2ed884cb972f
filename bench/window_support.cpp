#include "window_support.h"

#include <QCoreApplication>
#include <QEvent>

namespace tolvaris::bench {
PaintWatch::PaintWatch(QWidget* widget) : widget_(widget) {
    widget_->installEventFilter(this);
}

PaintWatch::~PaintWatch() {
    widget_->removeEventFilter(this);
}

bool PaintWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        painted_ = true;
    }
    return QObject::eventFilter(watched, event);
}

bool ProcessUntilPainted(QWidget* widget, std::chrono::milliseconds timeout) {
    const PaintWatch watch(widget);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!watch.Painted() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
    }
    return watch.Painted();
}

void UseOffscreenPlatform() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace tolvaris::bench
