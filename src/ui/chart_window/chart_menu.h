#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/chart/birth_chart.h"
#include "core/chart/chart_placement.h"
#include "core/chart/lazy_atlas.h"
#include "core/chart/recent_charts.h"
#include "core/common/atomic_file.h"
#include "core/engine/screen.h"
#include "core/reading/full_reading.h"
#include "core/reading/relationship_reading.h"
#include "core/requests/requests.h"
#include "ui/chart_window/progressions_tab.h"
#include "ui/chart_window/report_output.h"
#include "ui/chart_window/returns_tab.h"
#include "ui/chart_window/transits_tab.h"

class QAction;
class QMainWindow;
class QMenu;

namespace tolvaris {

class AboutBox;
class BirthDataDialog;
class ChartFileDialogs;
class ChartCollection;
class ChartWindow;
class ChartsWindow;
class ComparisonWindow;
class Ephemeris;
struct StoredChart;

// The folders the Chart menu works with.
struct ChartMenuFolders {
    std::filesystem::path program;     // atlas.tsv is read from here
    std::filesystem::path ownFiles;    // recent-charts.txt, beside Tolvaris.ini
    std::filesystem::path saveDialog;  // where the open and save dialogs start
    // The collection's database; empty for the user's data folder.
    std::filesystem::path collection;
};

// The "Chart" menu of the main window, after "File": New chart..., Open
// chart..., Save chart..., the recently used charts and the About box. It
// owns the birth-data dialog, the chart windows (one for each chart opened)
// and the recent-charts list, and reports a body chosen in a chart window
// through placementChosen.
class ChartMenu : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChartMenu)

public:
    ChartMenu(QMainWindow& window, ChartMenuFolders folders, Notices& notices,
              AtomicFileWriter& fileWriter, ChartFileDialogs& fileDialogs);
    ~ChartMenu() override;

    QMenu* Menu() const { return menu_; }
    BirthDataDialog& Dialog();
    // The chart window of the chart last active; a new, empty one when no
    // chart is open.
    ChartWindow& Window();
    // Every chart window shown of a chart opened, newest last.
    QList<ChartWindow*> Windows() const;
    const RecentCharts& Recent() const { return recent_; }
    // The file the chart last active came from or was saved to.
    std::optional<std::filesystem::path> CurrentFile() const;

    // The menu's commands.
    void NewChart();
    void OpenChart();
    void OpenChartFile(const std::filesystem::path& file);
    void OpenRecentChart(const std::filesystem::path& file);
    void SaveChart();
    void ShowAbout();
    // The Charts window over the collection; nothing but a message naming
    // the file when the collection cannot be opened.
    void ShowCharts();
    // The chart shown, added to the collection.
    void SaveToCollection();
    void OpenStoredChart(const StoredChart& chart);
    // Opened on first use; null when it could not be (the message was given).
    ChartCollection* Collection();
    ChartsWindow* Charts() const { return charts_; }
    // The birth data of the chart shown, in the dialog for mending; a chart
    // of the collection is changed there too.
    void EditBirthData();
    // Whether the chart of `shown` may go: true when it is kept in a file or
    // the collection, or the user saves it or lets it go.
    bool MayDiscard(ChartWindow& shown);
    // The same for every open chart, one question for each unsaved one:
    // false as soon as the user cancels one.
    bool MayDiscardAll();
    enum class UnsavedAnswer { SaveToCollection, Discard, Cancel };
    // Asks what becomes of the unsaved chart of `name`; a message box unless
    // a test gives another.
    void SetUnsavedQuestion(std::function<UnsavedAnswer(const std::string& name)> ask) {
        askUnsaved_ = std::move(ask);
    }

protected:
    // Closing a chart window over an unsaved chart, or the main window over
    // any, asks first; the chart window last active is the one the menu's
    // commands act on.
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    // The full reading of the chart shown, in the output window.
    void ShowFullReading(ReadingOrder order);
    // The wheel of the chart shown as a PNG or SVG file, where the user says.
    void ExportWheel();
    // A return chart in a chart window of its own, which closing deletes.
    ChartWindow& OpenReturnChart(const BirthChart& chart);
    // The chart window the menu's commands act on: the one last active.
    ChartWindow* Current() const;

    // "Compare with..." (chart_menu_compare.cpp): the chart shown and a
    // second one in a comparison window of their own.
    ComparisonWindow* CompareWith(const BirthChart& second);
    void CompareWithFile(const std::filesystem::path& file);
    void CompareWithNewChart();
    // The composite or Davison chart of a comparison in a chart window of its own.
    ChartWindow* ShowComposite(const ComparisonWindow& comparison);
    ChartWindow* ShowDavison(const ComparisonWindow& comparison);

signals:
    void placementChosen(const tolvaris::ChartPlacement& placement);
    void fullReadingRequested(const tolvaris::BirthChart& chart, tolvaris::ReadingOrder order);
    // The chart window's forecast page.
    void forecastRequested(const tolvaris::ForecastRequest& request);
    // The pages of the Progressions and Returns tabs.
    void progressionsPageRequested(const tolvaris::ProgressionsPageRequest& request);
    void solarReturnPageRequested(const tolvaris::SolarReturnPageRequest& request);
    void lunarReturnsPageRequested(const tolvaris::LunarReturnsPageRequest& request);

    // A comparison's "Relationship reading"; the subject lasts only the call.
    void relationshipReadingRequested(const tolvaris::RelationshipSubject& subject);
    // A composite chart window's "Full reading".
    void compositeReadingRequested(const tolvaris::CompositeChart& composite);

private:
    // A chart window of a chart opened, and where that chart is kept.
    struct Opened {
        QPointer<ChartWindow> window;
        std::optional<std::filesystem::path> file;
        std::optional<std::int64_t> storedId;  // in the collection
    };
    Opened* OpenedOf(const ChartWindow* shown);
    const Opened* OpenedOf(const ChartWindow* shown) const;
    // The opened chart the menu's commands act on: the last active one.
    Opened* CurrentOpened();
    const Opened* CurrentOpened() const;
    ChartWindow& NewChartWindow();
    void Raise(ChartWindow& shown);
    bool KeepInCollection(Opened& opened);
    void AddCollectionActions();
    // "Print report" and "Export report" (chart_menu_report.cpp): the natal
    // reading of the chart shown, typeset.
    void AddReportActions();
    void PrintReport(ReadingOrder order);
    void ExportReport(ReadingOrder order);
    void NatalReport(ReadingOrder order, ReportAction action);
    // The report of `content`'s chart, suggested as "<person's name> <kind>
    // report.pdf" in the save folder; the reading made only when the user
    // goes on.
    void Report(ReportAction action, const ReportContent& content, const BirthChart& person,
                const std::string& kind, const std::function<ReadingDocument()>& makeDocument);
    // The reports of the chart window's tabs and of a comparison.
    void ConnectReports(ChartWindow& shown);
    void ForecastReport(const ForecastRequest& request, ReportAction action);
    void RelationshipReport(const ComparisonWindow& comparison, ReportAction action);
    // The composite of a comparison; nothing, with the reason told, when it
    // could not be cast.
    std::optional<CompositeChart> CompositeOf(const ComparisonWindow& comparison);
    void AddWindowMenu(ChartWindow& shown);
    void KeepEdited(Opened& opened, const BirthData& birth);
    UnsavedAnswer AskUnsaved(const std::string& name, QWidget* over);
    // The chart in a window of its own, kept in `file` or the collection's `storedId`.
    ChartWindow& ShowChart(const BirthChart& chart, std::optional<std::filesystem::path> file,
                           std::optional<std::int64_t> storedId);
    void Connect(ChartWindow& shown);
    void PlaceBesideMainWindow(QWidget& shown) const;
    // Down and to the right of `from`, inside the screen, frame and all.
    void PlaceAfterWindow(QWidget& shown, const QWidget& from) const;
    void Remember(const std::filesystem::path& file);
    void SaveRecent();
    void RebuildRecentActions();
    Ephemeris& TheEphemeris();
    void ExportWheelOf(const ChartWindow& shown);
    void FillCompareMenu(QMenu& compare);
    ChartWindow* NewPairWindow();

    QMainWindow& window_;
    ChartMenuFolders folders_;
    Notices& notices_;
    AtomicFileWriter& fileWriter_;
    ChartFileDialogs& fileDialogs_;
    std::vector<QAction*> reportMenus_;
    LazyAtlas atlas_;
    RecentCharts recent_;
    std::unique_ptr<Ephemeris> ephemeris_;
    std::vector<Opened> opened_;
    // Where the last chart file was opened or saved, for the next dialog.
    std::optional<std::filesystem::path> lastFile_;
    std::unique_ptr<ChartCollection> collection_;
    bool collectionTried_ = false;
    // The chart window whose birth data the dialog is mending.
    QPointer<ChartWindow> editing_;
    // The user let every unsaved chart go on closing the main window.
    bool quitting_ = false;
    std::function<UnsavedAnswer(const std::string& name)> askUnsaved_;
    // The birth-data dialog was opened for the second chart of a comparison.
    bool dialogForComparison_ = false;

    QMenu* menu_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveToCollectionAction_ = nullptr;
    QAction* readingAction_ = nullptr;
    QAction* readingByHouseAction_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    BirthDataDialog* dialog_ = nullptr;
    QPointer<ChartWindow> lastActive_;
    AboutBox* about_ = nullptr;
    ChartsWindow* charts_ = nullptr;
};

// The main window's selection with a chosen placement applied: the planet
// and sign groups follow it, the house group too when the placement has one;
// the aspect groups keep their choice.
Selection ApplyPlacement(Selection selection, const ChartPlacement& placement);

}  // namespace tolvaris
