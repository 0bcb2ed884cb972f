#include "ui/chart_window/about_box.h"

#include <gtest/gtest.h>

#include <QTextBrowser>

namespace tolvaris {
namespace {

TEST(AboutBox, NamesEveryLibraryAndDataWithItsLicence) {
    AboutBox box;
    const auto* text = box.findChild<QTextBrowser*>("aboutText");
    ASSERT_NE(text, nullptr);
    const QString shown = text->toPlainText();
    const char* expected[] = {
        "GPL-3.0-or-later",
        "Qt 6",
        "LGPL-3.0",
        "Swiss Ephemeris",
        "Astrodienst AG",
        "AGPL-3.0",
        "swe-basic-data",
        "tz database",
        "public domain",
        "tzdata",
        "GeoNames",
        "CC BY 4.0",
        "https://www.geonames.org/",
        "ATLAS-SOURCE.md",
        "Liberation fonts",
        "SIL Open Font License",
    };
    for (const char* part : expected) {
        EXPECT_TRUE(shown.contains(part)) << part;
    }
    EXPECT_EQ(box.windowTitle(), "About Tolvaris");
}

}  // namespace
}  // namespace tolvaris
