#include "ui/chart_window/chart_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <system_error>
#include <utility>

#include "core/chart/chart_file.h"
#include "core/collection/sqlite_collection.h"
#include "core/ephemeris/ephemeris.h"
#include "ui/chart_window/about_box.h"
#include "ui/chart_window/birth_data_dialog.h"
#include "ui/chart_window/chart_file_dialogs.h"
#include "ui/chart_window/chart_window.h"
#include "ui/chart_window/wheel_widget.h"
#include "ui/collection/charts_window.h"
#include "ui/common/screen_fit.h"

namespace tolvaris {
namespace {

// The caption of the Chart menu's message boxes.
std::string Caption() {
    return QCoreApplication::translate("tolvaris::ChartMenu", "Chart").toStdString();
}

QString ToQt(const std::filesystem::path& path) {
    return QFile::decodeName(path.c_str());
}

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

// The menu after the File menu, leaving File and everything on it alone.
QMenu* InsertAfterFileMenu(QMenuBar* bar, const QString& title) {
    const QList<QAction*> actions = bar->actions();
    QAction* before = nullptr;
    for (qsizetype index = 0; index + 1 < actions.size(); ++index) {
        if (actions[index]->objectName() == "mnuFile") {
            before = actions[index + 1];
        }
    }
    auto* menu = new QMenu(title, bar);
    if (before) {
        bar->insertMenu(before, menu);
    } else {
        bar->addMenu(menu);
    }
    return menu;
}

std::string FileNameFor(const std::string& name) {
    std::string file;
    for (const char c : name) {
        // Characters that some file systems refuse become spaces.
        file += std::string_view("/\\:*?\"<>|").find(c) == std::string_view::npos &&
                        static_cast<unsigned char>(c) >= 0x20
                    ? c
                    : ' ';
    }
    return (file.find_first_not_of(' ') == std::string::npos ? "chart" : file) + ".chart";
}

}  // namespace

ChartMenu::ChartMenu(QMainWindow& window, ChartMenuFolders folders, Notices& notices,
                     AtomicFileWriter& fileWriter, ChartFileDialogs& fileDialogs)
    : QObject(&window),
      window_(window),
      folders_(std::move(folders)),
      notices_(notices),
      fileWriter_(fileWriter),
      fileDialogs_(fileDialogs),
      atlas_(folders_.program / "atlas.tsv"),
      recent_(folders_.ownFiles / kRecentChartsFileName) {
    setObjectName("ChartMenu");
    recent_.Load();

    menu_ = InsertAfterFileMenu(window_.menuBar(), tr("&Chart"));
    menu_->menuAction()->setObjectName("mnuChart");
    QAction* newChart = menu_->addAction(tr("&New chart..."), this, &ChartMenu::NewChart);
    newChart->setObjectName("mnuChartNew");
    newChart->setShortcut(QKeySequence::New);
    QAction* open = menu_->addAction(tr("&Open chart..."), this, &ChartMenu::OpenChart);
    open->setObjectName("mnuChartOpen");
    open->setShortcut(QKeySequence::Open);
    saveAction_ = menu_->addAction(tr("&Save chart..."), this, &ChartMenu::SaveChart);
    saveAction_->setObjectName("mnuChartSave");
    saveAction_->setEnabled(false);
    AddCollectionActions();
    menu_->addSeparator();
    readingAction_ = menu_->addAction(tr("&Full reading"), this,
                                      [this] { ShowFullReading(ReadingOrder::ByPlanet); });
    readingAction_->setObjectName("mnuChartReading");
    readingAction_->setShortcut(QKeySequence(Qt::Key_F9));
    readingAction_->setEnabled(false);
    readingByHouseAction_ = menu_->addAction(tr("Full reading by &house"), this,
                                             [this] { ShowFullReading(ReadingOrder::ByHouse); });
    readingByHouseAction_->setObjectName("mnuChartReadingByHouse");
    readingByHouseAction_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
    readingByHouseAction_->setEnabled(false);
    AddReportActions();
    // The recent charts go between these two; an empty list leaves two
    // separators in a row, which the menu shows as one.
    menu_->addSeparator();
    recentSeparator_ = menu_->addSeparator();
    menu_->addAction(tr("&About Tolvaris..."), this, &ChartMenu::ShowAbout)
        ->setObjectName("mnuChartAbout");
    RebuildRecentActions();
    // Quitting asks about the unsaved charts before the main window goes.
    window_.installEventFilter(this);
}

ChartMenu::~ChartMenu() = default;

ChartMenu::Opened* ChartMenu::OpenedOf(const ChartWindow* shown) {
    return const_cast<Opened*>(std::as_const(*this).OpenedOf(shown));
}

const ChartMenu::Opened* ChartMenu::OpenedOf(const ChartWindow* shown) const {
    for (const Opened& opened : opened_) {
        if (shown && opened.window == shown) {
            return &opened;
        }
    }
    return nullptr;
}

ChartMenu::Opened* ChartMenu::CurrentOpened() {
    return const_cast<Opened*>(std::as_const(*this).CurrentOpened());
}

const ChartMenu::Opened* ChartMenu::CurrentOpened() const {
    if (const Opened* active = OpenedOf(lastActive_)) {
        return active;
    }
    // A return or pair window was active last: the newest chart opened.
    const auto newest = std::find_if(opened_.rbegin(), opened_.rend(),
                                     [](const Opened& opened) { return !opened.window.isNull(); });
    return newest != opened_.rend() ? &*newest : nullptr;
}

ChartWindow* ChartMenu::Current() const {
    if (lastActive_) {
        return lastActive_.data();
    }
    const Opened* opened = CurrentOpened();
    return opened ? opened->window.data() : nullptr;
}

QList<ChartWindow*> ChartMenu::Windows() const {
    QList<ChartWindow*> windows;
    for (const Opened& opened : opened_) {
        // Hidden: closed and about to go, or made empty by Window().
        if (opened.window && opened.window->isVisible()) {
            windows << opened.window.data();
        }
    }
    return windows;
}

std::optional<std::filesystem::path> ChartMenu::CurrentFile() const {
    const Opened* opened = CurrentOpened();
    return opened ? opened->file : std::nullopt;
}

bool ChartMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        bool refused = false;
        if (watched == &window_) {
            refused = !MayDiscardAll();
            // The chart windows close with the main window: asked already.
            quitting_ = !refused;
        } else if (auto* shown = qobject_cast<ChartWindow*>(watched); OpenedOf(shown)) {
            refused = !MayDiscard(*shown);
        }
        if (refused) {
            event->ignore();
            return true;
        }
    }
    if (watched == &window_ && event->type() == QEvent::Show) {
        quitting_ = false;
    }
    if (event->type() == QEvent::WindowActivate) {
        if (auto* shown = qobject_cast<ChartWindow*>(watched)) {
            lastActive_ = shown;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ChartMenu::ExportWheel() {
    if (ChartWindow* current = Current()) {
        ExportWheelOf(*current);
    }
}

void ChartMenu::ExportWheelOf(const ChartWindow& shown) {
    if (!shown.Shown()) {
        return;
    }
    const std::string name = shown.Shown()->input.name;
    const std::optional<ChartFileDialogs::WheelImage> image = fileDialogs_.AskWheelImage(
        folders_.saveDialog / ((name.empty() ? std::string("chart") : name) + " wheel.png"));
    if (!image) {
        return;
    }
    if (const std::string error =
            shown.Wheel()->ExportImage(image->path, image->sizePixels, fileWriter_);
        !error.empty()) {
        notices_.Message(tr("The wheel could not be exported: %1.").arg(ToQt(error)).toStdString(),
                         Caption(), NoticeIcon::Critical);
    }
}

void ChartMenu::ShowFullReading(ReadingOrder order) {
    if (const ChartWindow* current = Current(); current && current->Shown()) {
        emit fullReadingRequested(*current->Shown(), order);
    }
}

Ephemeris& ChartMenu::TheEphemeris() {
    if (!ephemeris_) {
        ephemeris_ = std::make_unique<Ephemeris>();
    }
    return *ephemeris_;
}

BirthDataDialog& ChartMenu::Dialog() {
    if (!dialog_) {
        dialog_ = new BirthDataDialog(atlas_, TheEphemeris(), notices_, &window_);
        connect(dialog_, &QDialog::rejected, this, [this] {
            dialogForComparison_ = false;
            editing_ = nullptr;
        });
        connect(dialog_, &QDialog::accepted, this, [this] {
            if (std::exchange(dialogForComparison_, false)) {
                if (dialog_->Chart()) {
                    CompareWith(*dialog_->Chart());
                }
                return;
            }
            if (!dialog_->Chart()) {
                return;
            }
            // Mended birth data replace the chart of the window they came from.
            if (Opened* mended = OpenedOf(std::exchange(editing_, nullptr))) {
                mended->file.reset();
                KeepEdited(*mended, dialog_->Chart()->input);
                mended->window->ShowChart(*dialog_->Chart());
                Raise(*mended->window);
                return;
            }
            ShowChart(*dialog_->Chart(), std::nullopt, std::nullopt);
        });
    }
    return *dialog_;
}

ChartWindow& ChartMenu::Window() {
    if (Opened* opened = CurrentOpened()) {
        return *opened->window;
    }
    return NewChartWindow();
}

ChartWindow& ChartMenu::NewChartWindow() {
    // A window of its own that belongs to the main window: closing the main
    // window still ends the program. Closed, it goes with its chart.
    auto* shown = new ChartWindow(&window_);
    shown->setAttribute(Qt::WA_DeleteOnClose);
    Connect(*shown);
    AddWindowMenu(*shown);
    auto* compare = new QMenu(shown);
    compare->setObjectName("mnuCompare");
    connect(compare, &QMenu::aboutToShow, this, [this, compare] { FillCompareMenu(*compare); });
    FillCompareMenu(*compare);
    shown->CompareButton()->setMenu(compare);
    std::erase_if(opened_, [](const Opened& opened) { return !opened.window; });
    opened_.push_back({shown, std::nullopt, std::nullopt});
    connect(shown, &QObject::destroyed, this, [this] {
        std::erase_if(opened_, [](const Opened& opened) { return !opened.window; });
    });
    return *shown;
}

void ChartMenu::Raise(ChartWindow& shown) {
    shown.show();
    shown.raise();
    shown.activateWindow();
    lastActive_ = &shown;
}

void ChartMenu::Connect(ChartWindow& shown) {
    shown.UseForTransits({&TheEphemeris(), &notices_, folders_.program, {}});
    shown.Returns()->UseAtlas(&atlas_);
    shown.installEventFilter(this);
    ChartWindow* window = &shown;
    connect(window, &ChartWindow::placementChosen, this, &ChartMenu::placementChosen);
    // A window's own buttons act on its own chart, whichever was active last.
    connect(window, &ChartWindow::fullReadingRequested, this, [this, window](ReadingOrder order) {
        lastActive_ = window;
        ShowFullReading(order);
    });
    connect(window, &ChartWindow::wheelExportRequested, this,
            [this, window] { ExportWheelOf(*window); });
    connect(window, &ChartWindow::forecastRequested, this, &ChartMenu::forecastRequested);
    connect(shown.Progressions(), &ProgressionsTab::pageRequested, this,
            &ChartMenu::progressionsPageRequested);
    connect(shown.Returns(), &ReturnsTab::solarReturnPageRequested, this,
            &ChartMenu::solarReturnPageRequested);
    connect(shown.Returns(), &ReturnsTab::lunarReturnsPageRequested, this,
            &ChartMenu::lunarReturnsPageRequested);
    connect(window, &ChartWindow::returnChartRequested, this,
            [this](const BirthChart& chart) { OpenReturnChart(chart); });
    ConnectReports(shown);
}

ChartWindow& ChartMenu::OpenReturnChart(const BirthChart& chart) {
    auto* shown = new ChartWindow(&window_);
    shown->setAttribute(Qt::WA_DeleteOnClose);
    Connect(*shown);
    // Comparing starts from the natal chart's window.
    shown->CompareButton()->hide();
    shown->ShowChart(chart);
    // Down and to the right of the window it came from, so both show.
    if (const ChartWindow* from = Current(); from && from->isVisible()) {
        PlaceAfterWindow(*shown, *from);
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
    lastActive_ = shown;
    return *shown;
}

void ChartMenu::NewChart() {
    editing_ = nullptr;
    BirthDataDialog& dialog = Dialog();
    dialog.Clear();
    // Window-modal and not blocking, so the program's event loop keeps going.
    dialog.open();
}

void ChartMenu::OpenChart() {
    const std::optional<std::filesystem::path> current = CurrentFile();
    const std::filesystem::path start = current     ? current->parent_path()
                                        : lastFile_ ? lastFile_->parent_path()
                                                    : folders_.saveDialog;
    if (const std::optional<std::filesystem::path> file = fileDialogs_.AskOpenChart(start)) {
        OpenChartFile(*file);
    }
}

void ChartMenu::OpenChartFile(const std::filesystem::path& file) {
    // A chart open already is only raised: two windows over one file would
    // each save over the other.
    for (const Opened& opened : opened_) {
        std::error_code error;
        if (opened.window && opened.window->isVisible() && opened.file &&
            std::filesystem::equivalent(*opened.file, file, error)) {
            Raise(*opened.window);
            Remember(file);
            return;
        }
    }
    const ChartFileResult read = ReadChartFile(file);
    if (!read.value) {
        notices_.Message(read.error, Caption(), NoticeIcon::Exclamation);
        return;
    }
    const BirthChartResult computed = ComputeBirthChart(TheEphemeris(), *read.value);
    if (!computed.Ok()) {
        const Error& error = computed.error;
        notices_.Message(
            file.string() + ": " + error.message +
                (error.kind == ErrorKind::RepeatedTime ? " Choose earlier or later." : ""),
            Caption(), NoticeIcon::Exclamation);
        // The file is sound but its data need a word from the user (a time
        // that happened twice, say): the dialog shows them for mending.
        BirthDataDialog& dialog = Dialog();
        dialog.SetBirthData(*read.value);
        dialog.open();
        return;
    }
    ShowChart(*computed.value, file, std::nullopt);
    Remember(file);
}

void ChartMenu::OpenRecentChart(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        notices_.Message(
            tr("The chart file %1 no longer exists; it is taken off the recent charts.")
                .arg(ToQt(file.string()))
                .toStdString(),
            Caption(), NoticeIcon::Exclamation);
        recent_.Remove(file);
        SaveRecent();
        RebuildRecentActions();
        return;
    }
    OpenChartFile(file);
}

void ChartMenu::SaveChart() {
    ChartWindow* current = Current();
    if (!current || !current->Shown()) {
        return;
    }
    if (!current->HasBirthData()) {
        notices_.Message(tr("A composite chart has no moment or place of its own, so it cannot "
                            "be saved as a chart file. Save the two charts it is made of.")
                             .toStdString(),
                         Caption(), NoticeIcon::Information);
        return;
    }
    // A return or Davison chart is a chart of its own: it is not saved over
    // the file the natal chart came from.
    const QPointer<ChartWindow> natal = OpenedOf(current) ? current : nullptr;
    const BirthData birth = current->Shown()->input;  // the window may close meanwhile
    const std::optional<std::filesystem::path> from = natal ? OpenedOf(natal)->file : std::nullopt;
    const std::filesystem::path suggested =
        from ? *from : folders_.saveDialog / FileNameFor(birth.name);
    const std::optional<std::filesystem::path> file = fileDialogs_.AskSaveChart(suggested);
    if (!file) {
        return;
    }
    const std::string error = WriteChartFile(*file, birth, fileWriter_);
    if (!error.empty()) {
        notices_.Message(tr("The chart could not be saved to %1: %2.")
                             .arg(ToQt(file->string()), ToQt(error))
                             .toStdString(),
                         Caption(), NoticeIcon::Critical);
        return;
    }
    if (Opened* opened = OpenedOf(natal)) {
        opened->file = *file;
    }
    Remember(*file);
}

void ChartMenu::ShowAbout() {
    if (!about_) {
        about_ = new AboutBox(&window_);
    }
    about_->open();
}

ChartWindow& ChartMenu::ShowChart(const BirthChart& chart,
                                  std::optional<std::filesystem::path> file,
                                  std::optional<std::int64_t> storedId) {
    // The newest window shown is the one the next cascades from.
    const ChartWindow* from = nullptr;
    for (const Opened& opened : opened_) {
        if (opened.window && opened.window->isVisible()) {
            from = opened.window;
        }
    }
    // An empty window that Window() made is taken before a new one.
    auto empty = std::find_if(opened_.begin(), opened_.end(), [](const Opened& opened) {
        return opened.window && !opened.window->isVisible() && !opened.window->Shown();
    });
    ChartWindow& shown = empty != opened_.end() ? *empty->window : NewChartWindow();
    Opened& opened = *OpenedOf(&shown);
    opened.file = std::move(file);
    opened.storedId = storedId;
    shown.ShowChart(chart);
    if (from) {
        PlaceAfterWindow(shown, *from);
    } else {
        PlaceBesideMainWindow(shown);
    }
    Raise(shown);
    saveAction_->setEnabled(true);
    saveToCollectionAction_->setEnabled(true);
    readingAction_->setEnabled(true);
    readingByHouseAction_->setEnabled(true);
    for (QAction* report : reportMenus_) {
        report->setEnabled(true);
    }
    return shown;
}

void ChartMenu::PlaceAfterWindow(QWidget& shown, const QWidget& from) const {
    // The same size as the window it follows; its frame stands for the new
    // one's, which has none until shown.
    const int step = from.fontMetrics().height() * 2;
    const QRect fromFrame = from.frameGeometry();
    const QSize border = fromFrame.size() - from.size();
    QRect frame(fromFrame.topLeft() + QPoint(step, step), from.size() + border);
    const QRect screen = ScreenAvailableGeometry(frame);
    QRect inside = KeepInside(frame, screen);
    if (inside.topLeft() == fromFrame.topLeft()) {
        // No room left down and to the right: start again at the top left
        // rather than hide the window it follows exactly.
        frame.moveTopLeft(screen.topLeft());
        inside = KeepInside(frame, screen);
    }
    shown.resize(inside.size() - border);
    shown.move(inside.topLeft());
}

void ChartMenu::PlaceBesideMainWindow(QWidget& shown) const {
    // To the right of the main window, so that both can be read at once;
    // pulled back inside the screen, title bar and all, where there is no
    // room. The window has no frame yet: the main window's stands for it.
    const QRect main = window_.frameGeometry();
    const QRect screen = ScreenAvailableGeometry(main);
    QSize size = shown.sizeHint();
    // Wide enough for every tab title where the screen has room beside the
    // main window; else the tab row scrolls.
    if (const auto* chartWindow = qobject_cast<const ChartWindow*>(&shown)) {
        const QTabWidget* tabs = chartWindow->Tabs();
        const int wanted = tabs->tabBar()->sizeHint().width() + size.width() -
                           tabs->sizeHint().width() +
                           2 * tabs->style()->pixelMetric(QStyle::PM_TabBarScrollButtonWidth);
        if (wanted > size.width() && main.right() + 1 + wanted <= screen.right()) {
            size.setWidth(wanted);
        }
    }
    const QSize border = main.size() - window_.size();
    const QRect frame(QPoint(main.right() + 1, main.top()), size + border);
    const QRect inside = KeepInside(frame, ScreenAvailableGeometry(frame));
    shown.resize(inside.size() - border);
    shown.move(inside.topLeft());  // a window's position is its frame's
}

void ChartMenu::Remember(const std::filesystem::path& file) {
    lastFile_ = file;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    recent_.Add(error ? file : absolute);
    SaveRecent();
    RebuildRecentActions();
}

void ChartMenu::SaveRecent() {
    const std::string error = recent_.Save(fileWriter_);
    if (!error.empty()) {
        notices_.Message(tr("The list of recent charts could not be written to %1: %2.")
                             .arg(ToQt(recent_.File().string()), ToQt(error))
                             .toStdString(),
                         Caption(), NoticeIcon::Exclamation);
    }
}

void ChartMenu::RebuildRecentActions() {
    for (QAction* action : recentActions_) {
        menu_->removeAction(action);
        // Later: the action may be the one being triggered right now.
        action->setObjectName(QString());
        action->deleteLater();
    }
    recentActions_.clear();
    int number = 1;
    for (const std::filesystem::path& file : recent_.Paths()) {
        // "&1 Ann.chart" with the full path as the tip; && shows an ampersand.
        QString label = ToQt(file.filename());
        label.replace("&", "&&");
        auto* action = new QAction(QString("&%1 %2").arg(number).arg(label), menu_);
        action->setObjectName(QString("mnuChartRecent%1").arg(number));
        action->setToolTip(ToQt(file));
        action->setStatusTip(ToQt(file));
        connect(action, &QAction::triggered, this, [this, file] { OpenRecentChart(file); });
        menu_->insertAction(recentSeparator_, action);
        recentActions_.push_back(action);
        ++number;
    }
}

Selection ApplyPlacement(Selection selection, const ChartPlacement& placement) {
    selection.planetIndex = static_cast<std::int16_t>(placement.planetIndex);
    selection.signIndex = static_cast<std::int16_t>(placement.signIndex);
    if (placement.houseIndex) {
        selection.houseIndex = static_cast<std::int16_t>(*placement.houseIndex);
    }
    return selection;
}

}  // namespace tolvaris
