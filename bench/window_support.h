#pragma once

#include <QObject>
#include <QWidget>
#include <chrono>

namespace tolvaris::bench {

// Notes whether `widget` was painted while it lives.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget);
    ~PaintWatch() override;
    PaintWatch(const PaintWatch&) = delete;
    PaintWatch& operator=(const PaintWatch&) = delete;
    bool Painted() const { return painted_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widget_;
    bool painted_ = false;
};

// Processes events until `widget` has been painted (a page counts as shown
// once it is on the screen, not when the widget merely holds it). Returns
// false when that did not happen within `timeout`.
bool ProcessUntilPainted(QWidget* widget,
                         std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

// Makes Qt use the offscreen platform; call before the QApplication exists.
void UseOffscreenPlatform();

}  // namespace tolvaris::bench
