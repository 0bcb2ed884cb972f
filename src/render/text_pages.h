#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace tolvaris {

// How wide a piece of text is in the unit of the width it must fit.
using TextWidth = std::function<qreal(const QString& text)>;

// Tabs become spaces up to the next multiple of eight columns.
QString ExpandTabs(const QString& line);

// Breaks one line into pieces no wider than `width`, only between words;
// leading spaces (indentation) stay on the first piece. A single word wider
// than the whole line is the one thing cut, as little as fits.
QStringList WrapLine(const QString& line, qreal width, const TextWidth& measure);

// Fills pages of `linesPerPage` lines: each line split at its own line ends
// (CR LF, CR, LF) and wrapped to `width`, a form feed ("\f", on its own or
// inside a line) starting a new page. Always at least one page.
std::vector<QStringList> LayoutTextPages(const QStringList& lines, qreal width, int linesPerPage,
                                         const TextWidth& measure);

// The look of printed text pages.
struct TextPageStyle {
    QFont font;     // the body: the output window's font, size and style
    QString title;  // left in the header of every page
    qreal marginMillimetres = 18.0;
};

// The geometry of text pages on one device, in its pixels.
class TextPageFormat {
public:
    // Sets the device's margins and measures the fonts on it.
    TextPageFormat(QPagedPaintDevice& device, const TextPageStyle& style);

    int LinesPerPage() const { return linesPerPage_; }
    qreal LineWidth() const { return width_; }
    std::vector<QStringList> Layout(const QStringList& lines) const;

    // One page: header (title, "Page N of M", a rule) and its lines.
    void PaintPage(QPainter& painter, const QStringList& page, int number, int total) const;

private:
    QPagedPaintDevice& device_;
    TextPageStyle style_;
    QFont headerFont_;
    qreal width_ = 0;
    qreal height_ = 0;
    qreal lineSpacing_ = 0;
    qreal bodyTop_ = 0;
    int linesPerPage_ = 1;
};

// Prints `lines` on `device` (a QPrinter or QPdfWriter): returns the number
// of pages, 0 when the device could not be painted on.
int PrintTextPages(QPagedPaintDevice& device, const QStringList& lines, const TextPageStyle& style);

}  // namespace tolvaris
