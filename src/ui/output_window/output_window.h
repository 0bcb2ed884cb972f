#pragma once

#include <QMainWindow>
#include <QMargins>
#include <cstdint>
#include <functional>

#include "core/engine/screen.h"
#include "core/settings/setting_values.h"
#include "ui/common/screen_fit.h"
#include "ui/output_window/output_printing.h"

class QAction;
class QPlainTextEdit;

namespace tolvaris {

// The frame the window system has drawn around a shown window; null while
// it has not told it (under X11 the window manager tells it some time after
// the first show).
using FrameMarginsQuery = std::function<QMargins(const QWidget& window)>;
QMargins WindowSystemFrameMargins(const QWidget& window);

// OutputD1: shows the current page, keeps the shared placement up to date,
// and carries saving, the font commands, "Clear all data" and help.
class OutputWindow : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OutputWindow)

public:
    // Creating the window is its load: placement and font are applied here.
    // `pageLineCount` tells how many lines the current page has (0: none).
    // The window's frame is unknown until it is shown: `frameEstimate` stands
    // in for it until the window system tells it. The stored frame is kept
    // inside the `available` part of the screen it lands on.
    OutputWindow(SettingValues& settings, double fontSizeStep, Notices& notices,
                 std::function<std::int32_t()> pageLineCount, const QString& fontName,
                 QMargins frameEstimate = {},
                 FrameMarginsQuery frameMargins = WindowSystemFrameMargins,
                 AvailableGeometryQuery available = ScreenAvailableGeometry);

    QPlainTextEdit* PageView() const { return pageView_; }
    void SetPageText(const QString& text);

    // Where Print Preview, Print and Export PDF take their lines from: the
    // data buffer, decoded.
    void SetDataBufferQuery(OutputPrinting::TextQuery query);
    // The page header of printed readings: the chart's name when they came
    // from a chart; "Tolvaris" until told.
    void SetDocumentTitle(const QString& title) { printing_.SetTitle(title); }
    // The chart the readings came from, whose wheel and data open an exported
    // PDF; none (the default) leaves the PDF to the text.
    void SetDocumentChart(std::optional<BirthChart> chart) { printing_.SetChart(std::move(chart)); }
    OutputPrinting& Printing() { return printing_; }

    void increaseFont();
    void decreaseFont();
    void toggleBold();
    void toggleItalic();
    void clearAllData();
    void printPreview();
    void print();
    void exportPdf();

signals:
    void saveRequested();
    void saveAsRequested();
    void helpRequested();
    void clearDataRequested();  // empty the data buffer
    void pageRedisplayRequested();
    void mainWindowFocusRequested();
    void closing();  // the window is closing and will be destroyed

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void StopFilling();
    QRect StoredOuterFrame() const;
    void ApplyStoredPlacement(QMargins frame);
    bool FitToToldFrame();
    void ApplyStoredFont(const QString& fontName);
    void StorePlacement();
    void SetShownFontSize(double size);
    void UpdateFontView();

    SettingValues& settings_;
    double fontSizeStep_;
    Notices& notices_;
    std::function<std::int32_t()> pageLineCount_;
    FrameMarginsQuery frameMargins_;
    AvailableGeometryQuery available_;
    QMargins frameApplied_;     // the frame the inner size was made for
    QRect placedFrame_;         // the outer frame last applied or stored
    bool placing_ = false;      // our own resize and move: nothing to store
    bool shown_ = false;        // the window has been shown once
    bool frameFitted_ = false;  // the told frame has been applied
    QPlainTextEdit* pageView_ = nullptr;
    QAction* increaseFontAction_ = nullptr;
    QAction* decreaseFontAction_ = nullptr;
    QAction* boldAction_ = nullptr;
    QAction* italicAction_ = nullptr;
    OutputPrinting::TextQuery dataBuffer_;
    OutputPrinting printing_{notices_,
                             [this] { return dataBuffer_ ? dataBuffer_() : QStringList(); }};
};

}  // namespace tolvaris
