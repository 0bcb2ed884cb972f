#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "core/engine/screen.h"
#include "core/settings/setting_values.h"

class QAction;
class QPlainTextEdit;

namespace tolvaris {

// What the output window's commands reach outside the window.
struct OutputCommands {
    std::function<void()> save;
    std::function<void()> saveAs;
    std::function<void()> showHelp;
    std::function<void()> clearData;          // empties the data buffer
    std::function<std::int32_t()> pageCount;  // lines on the current page
    std::function<void()> showPage;           // the page hand-off, again
    std::function<void()> focusMainWindow;
    std::function<void()> unloaded;  // the window is closing and will be destroyed
};

// OutputD1: shows the current page, keeps the shared placement up to date,
// and carries saving, the font commands, "Clear all data" and help.
class OutputWindow : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OutputWindow)

public:
    // Creating the window is its load: placement and font are applied here.
    OutputWindow(SettingValues& settings, double FontSizeStep, Notices& notices,
                 OutputCommands commands, const QString& OutputFontName,
                 QMargins frameEstimate = {});

    QPlainTextEdit* RichText1() const { return richText1_; }
    void SetPageText(const QString& text);

    void mnuFontsIncrease_Click();
    void mnuFontsDecrease_Click();
    void mnuFontsBold_Click();
    void mnuFontsItalic_Click();
    void mnuClearBuffer_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void ApplyStoredPlacement();
    void ApplyStoredFont(const QString& fontName);
    void StorePlacement();
    void SetShownFontSize(double size);
    void UpdateFontView();

    SettingValues& settings_;
    double fontSizeStep_;
    Notices& notices_;
    OutputCommands commands_;
    QMargins frameEstimate_;
    bool OutputLoading = false;
    bool placementCorrected_ = false;
    QPlainTextEdit* richText1_ = nullptr;
    QAction* mnuFontsIncrease_ = nullptr;
    QAction* mnuFontsDecrease_ = nullptr;
    QAction* mnuFontsBold_ = nullptr;
    QAction* mnuFontsItalic_ = nullptr;
};

}  // namespace tolvaris
