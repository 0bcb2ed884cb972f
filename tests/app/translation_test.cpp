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
    const QString catalogues = QStringLiteral(TOLVARIS_TEST_TRANSLATIONS);
    const QString nowhere = QStringLiteral("/nonexistent/translations");
    const struct {
        const char* locale;
        QStringList folders;
        bool found;
        const char* title;
        const char* firstTab;
    } cases[] = {
        {"de_DE", {catalogues}, true, "Horoskop", "&Stellungen"},
        {"de_AT", {nowhere, catalogues}, true, "Horoskop", "&Stellungen"},  // falls back to "de"
        {"fr_FR", {catalogues}, false, "Chart", "&Positions"},
        {"de_DE", {nowhere}, false, "Chart", "&Positions"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale + (" in " + c.folders.join(", ").toStdString()));
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
