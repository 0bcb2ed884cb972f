#include "app/program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <system_error>

#include <unistd.h>

#include "core/output/output_help.h"
#include "core/reading/forecast_reading.h"
#include "core/reading/progression_reading.h"
#include "core/reading/reading_page.h"
#include "core/reading/relationship_reading.h"
#include "core/reading/return_reading.h"
#include "core/settings/settings_file.h"
#include "ui/chart_window/chart_menu.h"

namespace tolvaris {

namespace {

std::filesystem::path OrProgramFolder(const std::filesystem::path& folder,
                                      const std::filesystem::path& programFolder) {
    return folder.empty() ? programFolder : folder;
}

// File names are bytes in the local encoding, not necessarily UTF-8.
std::filesystem::path ToPath(const QString& folder) {
    return std::filesystem::path(QFile::encodeName(folder).toStdString());
}

}  // namespace

Program::Program(std::filesystem::path programFolder, Notices& notices, SaveDialog& saveDialog,
                 AtomicFileWriter& fileWriter, const WriteFolders& writeFolders)
    : programFolder_(std::move(programFolder)),
      ownFilesFolder_(OrProgramFolder(writeFolders.ownFiles, programFolder_)),
      notices_(notices),
      fileWriter_(fileWriter),
      settings_(LoadSettings(SettingsFilePath())),
      display_([this] { return CreateOutputWindow(); }),
      buffers_(display_, notices_, ownFilesFolder_, fileWriter_),
      requests_(buffers_, notices_, programFolder_),
      hints_(buffers_, notices_, programFolder_),
      saving_(buffers_, notices_, saveDialog, fileWriter_,
              OrProgramFolder(writeFolders.saveDialogStart, programFolder_)) {
    mainWindow_ = std::make_unique<MainWindow>(requests_);
    MainWindow* window = mainWindow_.get();
    QObject::connect(window, &MainWindow::hintsRequested, window, [this] { hints_.ShowHints(); });
    QObject::connect(window, &MainWindow::keywordsRequested, window,
                     [this] { hints_.ShowKeywords(); });
    QObject::connect(window, &MainWindow::closing, window,
                     [this] { SaveSettingsAndCloseOutput(); });

    chartMenu_ = new ChartMenu(*window,
                               {programFolder_,
                                ownFilesFolder_,
                                OrProgramFolder(writeFolders.saveDialogStart, programFolder_),
                                {}},
                               notices_, fileWriter_, chartFileDialogs_);
    QObject::connect(
        chartMenu_, &ChartMenu::placementChosen, window, [this](const ChartPlacement& placement) {
            mainWindow_->SetSelection(ApplyPlacement(requests_.CurrentSelection(), placement));
        });
    // The reading goes through the same reader and buffers as a request;
    // the data files are read from the program folder as always.
    QObject::connect(chartMenu_, &ChartMenu::fullReadingRequested, window,
                     [this](const BirthChart& chart, ReadingOrder order) {
                         readingChart_ = chart;
                         ShowFullReading(chart, order, programFolder_, buffers_, notices_);
                         ApplyDocument();
                     });
    QObject::connect(chartMenu_, &ChartMenu::relationshipReadingRequested, window,
                     [this](const RelationshipSubject& subject) {
                         readingChart_ = subject.first;
                         ShowRelationshipReading(subject, programFolder_, buffers_, notices_);
                         ApplyDocument();
                     });
    // A composite has no birth data for the printed pages' wheel page.
    QObject::connect(chartMenu_, &ChartMenu::compositeReadingRequested, window,
                     [this](const CompositeChart& composite) {
                         readingChart_.reset();
                         ShowReadingPage(buffers_, programFolder_, CompositeContent(composite));
                         ApplyDocument();
                     });
    QObject::connect(
        chartMenu_, &ChartMenu::forecastRequested, window, [this](const ForecastRequest& request) {
            readingChart_ = request.chart;
            ShowForecast({request.chart, request.range, request.settings, request.search},
                         programFolder_, buffers_, notices_);
            ApplyDocument();
        });
    QObject::connect(chartMenu_, &ChartMenu::progressionsPageRequested, window,
                     [this](const ProgressionsPageRequest& request) {
                         readingChart_ = request.chart;
                         ShowProgressions(
                             {request.chart, request.range, request.settings, request.search},
                             programFolder_, buffers_, notices_);
                         ApplyDocument();
                     });
    QObject::connect(
        chartMenu_, &ChartMenu::solarReturnPageRequested, window,
        [this](const SolarReturnPageRequest& request) {
            readingChart_ = request.natal;
            ShowSolarReturn({request.natal, request.year, request.solarReturn, request.returnChart},
                            programFolder_, buffers_, notices_);
            ApplyDocument();
        });
    QObject::connect(chartMenu_, &ChartMenu::lunarReturnsPageRequested, window,
                     [this](const LunarReturnsPageRequest& request) {
                         readingChart_ = request.natal;
                         ShowLunarReturns(
                             {request.natal, request.year, request.place, request.returns},
                             programFolder_, buffers_, notices_);
                         ApplyDocument();
                     });
}

Program::~Program() {
    if (OutputWindow* output = display_.Window()) {
        delete output;
    }
}

void Program::ApplyDocument() {
    if (OutputWindow* output = display_.Window()) {
        ApplyDocument(*output);
    }
}

void Program::ApplyDocument(OutputWindow& output) const {
    // Printed pages and PDFs carry the chart's name once a reading of it was
    // collected, and open with its wheel, until the data is cleared.
    const bool named = readingChart_ && !readingChart_->input.name.empty();
    output.SetDocumentTitle(named ? QString::fromStdString(readingChart_->input.name)
                                  : QString("Tolvaris"));
    output.SetDocumentChart(readingChart_);
}

OutputWindow* Program::CreateOutputWindow() {
    // The main window's frame is the best guess of the output window's
    // until that one is shown.
    const QRect outer = mainWindow_->frameGeometry();
    const QRect inner = mainWindow_->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    auto* output = new OutputWindow(
        settings_, kFontSizeStep, notices_, [this] { return buffers_.PageCount(); },
        kOutputFontName, frame);
    output->SetDataBufferQuery([this] {
        QStringList lines;
        lines.reserve(static_cast<qsizetype>(buffers_.DataBuffer().size()));
        for (const Line& line : buffers_.DataBuffer()) {
            lines.append(DecodeCp1252(line.View()));
        }
        return lines;
    });
    QObject::connect(output, &OutputWindow::saveRequested, output,
                     [this] { saving_.mnuFileSave_Click(); });
    QObject::connect(output, &OutputWindow::saveAsRequested, output,
                     [this] { saving_.mnuFileSaveAs_Click(); });
    QObject::connect(output, &OutputWindow::helpRequested, output,
                     [this] { ShowOutputHelp(buffers_, notices_, programFolder_); });
    QObject::connect(output, &OutputWindow::clearDataRequested, output, [this] {
        buffers_.ClearDataBuffer();
        readingChart_.reset();
        ApplyDocument();
    });
    QObject::connect(output, &OutputWindow::pageRedisplayRequested, output,
                     [this] { buffers_.ShowPage(); });
    QObject::connect(output, &OutputWindow::mainWindowFocusRequested, output,
                     [this] { FocusMainWindow(); });
    QObject::connect(output, &OutputWindow::closing, output, [this] { display_.Forget(); });
    ApplyDocument(*output);
    return output;
}

void Program::FocusMainWindow() {
    mainWindow_->activateWindow();
    mainWindow_->raise();
}

void Program::SaveSettingsAndCloseOutput() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    const std::filesystem::path file = SettingsFilePath();
    const std::string error = SaveSettings(file, settings_, fileWriter_);
    if (!error.empty()) {
        notices_.Message(
            "The settings could not be written to the file " + file.string() + ": " + error + ".",
            "Warning!", NoticeIcon::Critical);
    }
    display_.Close();
}

std::filesystem::path Program::SettingsFilePath() const {
    return ownFilesFolder_ / std::string(kSettingsFileName);
}

std::filesystem::path RunningProgramFolder() {
    // The kernel's link keeps the folder's bytes; Qt's application path is
    // a QString, which cannot hold a name that is not UTF-8.
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::canonical("/proc/self/exe", error);
    if (!error) {
        return executable.parent_path();
    }
    return ToPath(QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath());
}

bool IsWritableFolder(const std::filesystem::path& folder) {
    // access() answers for this user and says no on a read-only mount; the
    // name goes to it as the bytes it is.
    std::error_code error;
    return std::filesystem::is_directory(folder, error) && ::access(folder.c_str(), W_OK) == 0;
}

WriteFolders UserWriteFolders() {
    WriteFolders folders;
    folders.ownFiles =
        ToPath(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    folders.saveDialogStart = ToPath(QDir(documents).exists() ? documents : QDir::homePath());
    return folders;
}

WriteFolders ChooseWriteFolders(const std::filesystem::path& programFolder,
                                const FolderPredicate& writable,
                                const std::function<WriteFolders()>& userFolders) {
    if (writable(programFolder)) {
        return {programFolder, programFolder};
    }
    WriteFolders folders = userFolders();
    if (folders.ownFiles.empty()) {
        // No home to write to: the writes fail in the program folder and
        // say so there.
        return {programFolder, programFolder};
    }
    // A failure shows later, when a write into it fails and names the file.
    std::error_code ignored;
    std::filesystem::create_directories(folders.ownFiles, ignored);
    return folders;
}

}  // namespace tolvaris
