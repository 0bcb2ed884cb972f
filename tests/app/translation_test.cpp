#include "app/translation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTabWidget>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "ui/chart_window/chart_window.h"

namespace tolvaris {
namespace {

TEST(Translation, TheLocalesCatalogueTranslatesTheChartWindowNoneLeavesItEnglish) {
    const std::filesystem::path catalogues = TOLVARIS_TEST_TRANSLATIONS;
    const std::filesystem::path nowhere = "/nonexistent/translations";
    // The same catalogues in a folder whose name is not UTF-8 (Latin-1 "ä").
    const test::TempFolder copy;
    const std::filesystem::path latin1 = copy / "\xE4";
    std::filesystem::copy(catalogues, latin1);
    const struct {
        const char* locale;
        std::vector<std::filesystem::path> folders;
        bool found;
        const char* title;
        const char* firstTab;
    } cases[] = {
        {"de_DE", {catalogues}, true, "Horoskop", "&Stellungen"},
        {"de_AT", {nowhere, catalogues}, true, "Horoskop", "&Stellungen"},  // falls back to "de"
        {"fr_FR", {catalogues}, false, "Chart", "&Positions"},
        {"de_DE", {nowhere}, false, "Chart", "&Positions"},
        {"de_AT", {latin1}, true, "Horoskop", "&Stellungen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale + (" in " + c.folders.back().string()));
        const std::unique_ptr<QTranslator> translation =  // removes itself when destroyed
            LoadTranslation(QLocale(QString::fromLatin1(c.locale)), c.folders);
        EXPECT_EQ(translation != nullptr, c.found);
        if (translation) {
            QCoreApplication::installTranslator(translation.get());
        }
        const ChartWindow window;
        EXPECT_EQ(window.windowTitle().toStdString(), c.title);
        EXPECT_EQ(window.findChild<QTabWidget*>("tabs")->tabText(0).toStdString(), c.firstTab);
        // The catalogue has this one too, but the main window stays English.
        test::TempFolder folder;
        test::ProgramRun run(folder.Path());
        EXPECT_EQ(run.program.Window().windowTitle().toStdString(), "Natal Chart Tolvaris");
    }
}

}  // namespace
}  // namespace tolvaris
