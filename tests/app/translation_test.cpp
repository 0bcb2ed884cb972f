// The windows' catalogue chosen by locale from the folders in turn; with
// none the texts stay English, and the main window's stay English anyway.
#include "app/translation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTabWidget>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "ui/chart_window/chart_window.h"

namespace tolvaris {
namespace {

TEST(Translation, TheCatalogueForTheLocaleTranslatesTheChartWindowAndNoneLeavesItEnglish) {
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
        const std::unique_ptr<QTranslator> translation =
            LoadTranslation(QLocale(QString::fromLatin1(c.locale)), c.folders);
        EXPECT_EQ(translation != nullptr, c.found);
        if (translation) {
            QCoreApplication::installTranslator(translation.get());
        }
        const ChartWindow window;
        EXPECT_EQ(window.windowTitle().toStdString(), c.title);
        const auto* tabs = window.findChild<QTabWidget*>("tabs");
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->tabText(0).toStdString(), c.firstTab);
        if (translation) {
            QCoreApplication::removeTranslator(translation.get());
        }
    }
}

TEST(Translation, TheMainWindowKeepsItsEnglishCaptionsUnderACatalogue) {
    const std::unique_ptr<QTranslator> translation = LoadTranslation(
        QLocale(QStringLiteral("de_DE")), {QStringLiteral(TOLVARIS_TEST_TRANSLATIONS)});
    ASSERT_NE(translation, nullptr);
    QCoreApplication::installTranslator(translation.get());
    test::TempFolder folder;
    test::ProgramRun run(folder.Path());
    EXPECT_EQ(run.program.Window().windowTitle().toStdString(), "Natal Chart Tolvaris");
    QCoreApplication::removeTranslator(translation.get());
}

}  // namespace
}  // namespace tolvaris
