#include "ui/output_window/output_window.h"

#include <QAction>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QWindow>

#include "core/output/font_rules.h"
#include "core/output/placement.h"

namespace tolvaris {
namespace {

constexpr const char* kFontMissingMessage =
    "You must have the COURIER NEW font installed in Windows. Please add this font through "
    "CONTROL PANEL - FONTS.";

}  // namespace

QMargins WindowSystemFrameMargins(const QWidget& window) {
    return window.windowHandle() != nullptr ? window.windowHandle()->frameMargins() : QMargins();
}

OutputWindow::OutputWindow(SettingValues& settings, double fontSizeStep, Notices& notices,
                           std::function<std::int32_t()> pageLineCount, const QString& fontName,
                           QMargins frameEstimate, FrameMarginsQuery frameMargins,
                           AvailableGeometryQuery available)
    : settings_(settings),
      fontSizeStep_(fontSizeStep),
      notices_(notices),
      pageLineCount_(std::move(pageLineCount)),
      frameMargins_(std::move(frameMargins)),
      available_(std::move(available)) {
    setObjectName("OutputD1");
    setAttribute(Qt::WA_DeleteOnClose);  // closing destroys it; the next page makes a new one
    setWindowTitle("Data");

    pageView_ = new QPlainTextEdit(this);
    pageView_->setObjectName("PageView");
    pageView_->setFrameShape(QFrame::NoFrame);
    pageView_->setContextMenuPolicy(Qt::NoContextMenu);  // the right button returns the focus
    pageView_->installEventFilter(this);
    pageView_->viewport()->installEventFilter(this);
    setCentralWidget(pageView_);
    BuildMenus();

    ApplyStoredPlacement(frameEstimate);
    ApplyStoredFont(fontName);
}

void OutputWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->menuAction()->setObjectName("mnuFile");
    QAction* save =
        file->addAction("&Save", QKeySequence(Qt::Key_F5), [this] { emit saveRequested(); });
    save->setObjectName("mnuFileSave");
    QAction* saveAs =
        file->addAction("Save &As", QKeySequence(Qt::Key_F6), [this] { emit saveAsRequested(); });
    saveAs->setObjectName("mnuFileSaveAs");

    // Printing comes after the saving commands, which keep their places.
    file->addSeparator();
    file->addAction(tr("Print Pre&view..."), [this] { printPreview(); })
        ->setObjectName("mnuFilePrintPreview");
    file->addAction(tr("&Print..."), [this] { print(); })->setObjectName("mnuFilePrint");
    file->addAction(tr("&Export PDF..."), [this] { exportPdf(); })
        ->setObjectName("mnuFileExportPdf");

    QMenu* fonts = menuBar()->addMenu("F&ont");
    fonts->menuAction()->setObjectName("mnuFonts");
    increaseFontAction_ =
        fonts->addAction("&Increase", QKeySequence(Qt::Key_F7), [this] { increaseFont(); });
    increaseFontAction_->setObjectName("mnuFontsIncrease");
    decreaseFontAction_ =
        fonts->addAction("&Decrease", QKeySequence(Qt::Key_F8), [this] { decreaseFont(); });
    decreaseFontAction_->setObjectName("mnuFontsDecrease");
    boldAction_ = fonts->addAction("&Bold", QKeySequence(Qt::Key_F11), [this] { toggleBold(); });
    boldAction_->setObjectName("mnuFontsBold");
    boldAction_->setCheckable(true);
    italicAction_ =
        fonts->addAction("I&talic", QKeySequence(Qt::Key_F12), [this] { toggleItalic(); });
    italicAction_->setObjectName("mnuFontsItalic");
    italicAction_->setCheckable(true);

    QAction* clear = menuBar()->addAction("&Clear all data", [this] { clearAllData(); });
    clear->setObjectName("mnuClearBuffer");
    QAction* help = menuBar()->addAction("&Help", [this] { emit helpRequested(); });
    help->setObjectName("mnuHelp");

    // Shortcuts work while the text has the focus, from anywhere in the window.
    for (QAction* action :
         {save, saveAs, increaseFontAction_, decreaseFontAction_, boldAction_, italicAction_}) {
        action->setShortcutContext(Qt::WindowShortcut);
    }
}

QRect OutputWindow::StoredOuterFrame() const {
    return QRect(TwipsToPixels(settings_.outputLeft), TwipsToPixels(settings_.outputTop),
                 TwipsToPixels(settings_.outputWidth), TwipsToPixels(settings_.outputHeight));
}

void OutputWindow::ApplyStoredPlacement(QMargins frame) {
    // The stored values are the outer frame, but Qt sizes the inside. A
    // frame stored on a larger screen or at another scale is pulled inside
    // this one; the stored values stay until the user resizes.
    placing_ = true;
    frameApplied_ = frame;
    const QRect stored = StoredOuterFrame();
    const QRect outer = KeepInside(stored, available_(stored));
    placedFrame_ = outer;
    const QRect inner = outer.marginsRemoved(frame);
    resize(std::max(inner.width(), 1), std::max(inner.height(), 1));
    move(outer.topLeft());
    placing_ = false;
}

bool OutputWindow::FitToToldFrame() {
    // The inner size was made from an estimate of the frame. Under X11 the
    // window manager tells the real frame only some time after the first
    // show; once it has, the inner size is corrected once so that the outer
    // frame is the stored one. A frame never told (no window manager) is
    // no frame, and the estimate then was no frame either.
    if (!shown_ || frameFitted_ || isMinimized()) {
        return false;
    }
    const QMargins told = frameMargins_(*this);
    if (told.isNull()) {
        return false;
    }
    frameFitted_ = true;
    if (told == frameApplied_) {
        return false;
    }
    ApplyStoredPlacement(told);
    return true;
}

void OutputWindow::ApplyStoredFont(const QString& fontName) {
    // Each step is applied on its own; a failing one is reported and the rest go on.
    QFont font = pageView_->font();
    font.setFamily(fontName);
    if (!QFontInfo(font).fixedPitch()) {
        notices_.Message(kFontMissingMessage, "Information!", NoticeIcon::Exclamation);
    }
    font.setPointSizeF(RenderableFontSize(settings_.outputFontSize));
    font.setBold(settings_.outputFontBold != 0);
    font.setItalic(settings_.outputFontItalic != 0);
    pageView_->setFont(font);
    boldAction_->setChecked(settings_.outputFontBold != 0);
    italicAction_->setChecked(settings_.outputFontItalic != 0);
    pageView_->clear();
}

void OutputWindow::StopFilling() {
    // A long page is filled in after it is shown (output_display_host.cpp).
    delete findChild<QObject*>("pageFiller", Qt::FindDirectChildrenOnly);
}

void OutputWindow::SetPageText(const QString& text) {
    // A new page ends the filling-in, so nothing of the old one is added to it.
    StopFilling();
    pageView_->setPlainText(text);
}

void OutputWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!FitToToldFrame()) {
        StorePlacement();
    }
}

void OutputWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // Only a resize stores; a move may bring the window manager's frame.
    FitToToldFrame();
}

void OutputWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    shown_ = true;
    FitToToldFrame();
}

void OutputWindow::closeEvent(QCloseEvent* event) {
    // Nothing is stored: placement and font are already in the shared values.
    // The window is gone once the event loop comes round; the rest of a long
    // page is not added to it meanwhile.
    StopFilling();
    emit closing();
    QMainWindow::closeEvent(event);
}

void OutputWindow::StorePlacement() {
    // Before the first show the frame is only an estimate; the correction
    // then applies the stored values, which must still be the loaded ones.
    if (placing_ || !shown_ || isMinimized()) {
        return;
    }
    // A maximize moves and resizes at once, and the resize arrives first:
    // the window handle already knows the new frame, the widget not yet.
    const QRect outer = windowHandle() != nullptr
                            ? windowHandle()->geometry().marginsAdded(frameMargins_(*this))
                            : frameGeometry();
    if (outer == placedFrame_ || outer == StoredOuterFrame()) {
        return;  // already stored, perhaps in twips between two pixels, or kept on the screen
    }
    placedFrame_ = outer;
    settings_.outputWidth = PixelsToTwips(outer.width());
    settings_.outputHeight = PixelsToTwips(outer.height());
    settings_.outputTop = PixelsToTwips(outer.top());
    settings_.outputLeft = PixelsToTwips(outer.left());
}

bool OutputWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pageView_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        emit mainWindowFocusRequested();
        return true;  // the Escape never reaches the text
    }
    if (watched == pageView_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        emit mainWindowFocusRequested();
    }
    return QMainWindow::eventFilter(watched, event);
}

void OutputWindow::SetShownFontSize(double size) {
    QFont font = pageView_->font();
    font.setPointSizeF(RenderableFontSize(size));
    pageView_->setFont(font);
}

void OutputWindow::increaseFont() {
    if (const auto shown = IncreaseFontSetting(settings_.outputFontSize, fontSizeStep_)) {
        SetShownFontSize(*shown);
    }
    UpdateFontView();
}

void OutputWindow::decreaseFont() {
    if (const auto shown = DecreaseFontSetting(settings_.outputFontSize, fontSizeStep_)) {
        SetShownFontSize(*shown);
    }
    UpdateFontView();
}

void OutputWindow::toggleBold() {
    QFont font = pageView_->font();
    font.setBold(!font.bold());
    pageView_->setFont(font);
    const bool bold = pageView_->font().bold();
    settings_.outputFontBold = bold ? -1 : 0;
    boldAction_->setChecked(bold);
    UpdateFontView();
}

void OutputWindow::toggleItalic() {
    QFont font = pageView_->font();
    font.setItalic(!font.italic());
    pageView_->setFont(font);
    const bool italic = pageView_->font().italic();
    settings_.outputFontItalic = italic ? -1 : 0;
    italicAction_->setChecked(italic);
    UpdateFontView();
}

void OutputWindow::SetDataBufferQuery(OutputPrinting::TextQuery query) {
    dataBuffer_ = std::move(query);
}

void OutputWindow::printPreview() {
    printing_.ShowPreview(this, pageView_->font());
}

void OutputWindow::print() {
    printing_.Print(this, pageView_->font());
}

void OutputWindow::exportPdf() {
    printing_.ExportPdf(this, pageView_->font());
}

void OutputWindow::UpdateFontView() {
    if (pageLineCount_() == 0) {
        return;
    }
    emit pageRedisplayRequested();
    decreaseFontAction_->setEnabled(CanDecreaseFont(settings_.outputFontSize));
    increaseFontAction_->setEnabled(CanIncreaseFont(settings_.outputFontSize));
}

void OutputWindow::clearAllData() {
    emit clearDataRequested();
    notices_.Message("All data cleared from buffer.", "Information!", NoticeIcon::Exclamation);
}

}  // namespace tolvaris
