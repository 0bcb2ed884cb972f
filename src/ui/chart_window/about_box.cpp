#include "ui/chart_window/about_box.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tolvaris {

QString AboutText() {
    return AboutBox::tr(
        "<h3>Tolvaris</h3>"
        "<p>Written astrological interpretations, and the natal chart from birth data.<br>"
        "Licence: GNU General Public License, version 3 or later (GPL-3.0-or-later).</p>"
        "<p>Tolvaris is built on and ships:</p>"
        "<ul>"
        "<li><b>Qt 6</b> by The Qt Company and contributors: the windows. "
        "GNU Lesser General Public License, version 3 (LGPL-3.0).</li>"
        "<li><b>Swiss Ephemeris</b> by Astrodienst AG, Zurich: the planets' positions and "
        "the houses, through Debian's libswe. GNU Affero General Public License, version 3 "
        "(AGPL-3.0). Its data files, from Debian's swe-basic-data, are CC0-1.0.</li>"
        "<li><b>The tz database</b> (IANA time zone database): the history of the world's "
        "clocks, public domain; read from the system's zone files (Debian's tzdata).</li>"
        "<li><b>GeoNames</b> place data: the place atlas, Creative Commons Attribution 4.0 "
        "(CC BY 4.0), <a href=\"https://www.geonames.org/\">https://www.geonames.org/</a>; "
        "how the atlas was made is told in ATLAS-SOURCE.md in the program folder.</li>"
        "<li><b>Liberation fonts</b> by Red Hat, from the system's fonts-liberation: the "
        "windows and the output text. SIL Open Font License (OFL).</li>"
        "</ul>"
        "<p>The interpretation texts are Tolvaris's own.</p>");
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle(tr("About Tolvaris"));
    auto* text = new QTextBrowser(this);
    text->setObjectName("aboutText");
    text->setOpenExternalLinks(true);
    text->setHtml(AboutText());
    // Wide and tall enough for the whole text at any scale; it scrolls if not.
    const QFontMetrics metrics(text->font());
    text->setMinimumSize(metrics.averageCharWidth() * 80, metrics.lineSpacing() * 22);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}

}  // namespace tolvaris
