#include "render/text_pages.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>

namespace tolvaris {
namespace {

constexpr int kTabColumns = 8;

// Words with the spaces that follow each.
QStringList SplitKeepingSpaces(const QString& text) {
    QStringList pieces;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char(' ')) {
            ++end;
        }
        while (end < text.size() && text[end] == QLatin1Char(' ')) {
            ++end;
        }
        pieces.append(text.mid(start, end - start));
        start = end;
    }
    return pieces;
}

QString WithoutTrailingSpaces(QString text) {
    while (text.endsWith(QLatin1Char(' '))) {
        text.chop(1);
    }
    return text;
}

// The longest start of `word` that fits, at least one character.
qsizetype FittingPrefix(const QString& word, qreal width, const TextWidth& measure) {
    qsizetype low = 1;
    qsizetype high = word.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (measure(word.left(middle)) <= width) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

// A stored line may hold several: a whole file is kept as one (the keyword
// page). Each of CR LF, a lone CR and a lone LF ends a line, as in the files.
QStringList SplitAtLineEnds(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (text[i] == QLatin1Char('\r') && i + 1 < text.size() &&
                text[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size() || lines.isEmpty()) {
        lines.append(text.mid(start));
    }
    return lines;
}

template <typename Add>
void AddWithFormFeeds(const QString& line, std::vector<QStringList>& pages, const Add& add) {
    const QStringList parts = line.split(QLatin1Char('\f'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            pages.emplace_back();
        }
        // A form feed on a line of its own leaves no empty line behind.
        if (!parts[i].isEmpty() || parts.size() == 1) {
            add(parts[i]);
        }
    }
}

}  // namespace

QString ExpandTabs(const QString& line) {
    if (!line.contains(QLatin1Char('\t'))) {
        return line;
    }
    QString expanded;
    for (const QChar c : line) {
        if (c == QLatin1Char('\t')) {
            expanded.append(QString(kTabColumns - expanded.size() % kTabColumns, QLatin1Char(' ')));
        } else {
            expanded.append(c);
        }
    }
    return expanded;
}

QStringList WrapLine(const QString& line, qreal width, const TextWidth& measure) {
    if (line.isEmpty() || measure(line) <= width) {
        return {line};
    }
    QStringList result;
    QString current;
    for (const QString& piece : SplitKeepingSpaces(line)) {
        const QString word = WithoutTrailingSpaces(piece);
        if (measure(current + word) <= width) {
            current += piece;
            continue;
        }
        if (!WithoutTrailingSpaces(current).isEmpty()) {
            // The spaces at a break are not shown.
            result.append(WithoutTrailingSpaces(current));
        }
        // Only a word wider than a whole line is cut.
        QString rest = word;
        while (measure(rest) > width) {
            const qsizetype fits = FittingPrefix(rest, width, measure);
            result.append(rest.left(fits));
            rest = rest.mid(fits);
        }
        current = rest + piece.mid(word.size());
    }
    current = WithoutTrailingSpaces(current);
    if (!current.isEmpty() || result.isEmpty()) {
        result.append(current);
    }
    return result;
}

std::vector<QStringList> LayoutTextPages(const QStringList& lines, qreal width, int linesPerPage,
                                         const TextWidth& measure) {
    linesPerPage = std::max(linesPerPage, 1);
    std::vector<QStringList> pages(1);
    auto add = [&](const QString& text) {
        for (const QString& piece : WrapLine(ExpandTabs(text), width, measure)) {
            if (pages.back().size() >= linesPerPage) {
                pages.emplace_back();
            }
            pages.back().append(piece);
        }
    };
    for (const QString& stored : lines) {
        for (const QString& line : SplitAtLineEnds(stored)) {
            AddWithFormFeeds(line, pages, add);
        }
    }
    return pages;
}
TextPageFormat::TextPageFormat(QPagedPaintDevice& device, const TextPageStyle& style)
    : device_(device), style_(style), headerFont_(style.font) {
    const qreal margin = style.marginMillimetres;
    device_.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
    headerFont_.setBold(true);
    headerFont_.setItalic(false);
    const QFontMetricsF body(style_.font, &device_);
    const QFontMetricsF header(headerFont_, &device_);
    width_ = device_.width();
    height_ = device_.height();
    lineSpacing_ = body.lineSpacing();
    // Header line, then a rule, then half a line of space.
    bodyTop_ = header.lineSpacing() * 1.2 + body.lineSpacing() * 0.8;
    linesPerPage_ = std::max(1, static_cast<int>(std::floor((height_ - bodyTop_) / lineSpacing_)));
}

std::vector<QStringList> TextPageFormat::Layout(const QStringList& lines) const {
    const QFontMetricsF body(style_.font, &device_);
    return LayoutTextPages(lines, width_, linesPerPage_,
                           [&body](const QString& text) { return body.horizontalAdvance(text); });
}

void TextPageFormat::PaintPage(QPainter& painter, const QStringList& page, int number,
                               int total) const {
    const QFontMetricsF header(headerFont_, &device_);
    painter.setPen(Qt::black);
    painter.setFont(headerFont_);
    const QString numberText = QStringLiteral("Page %1 of %2").arg(number).arg(total);
    const qreal numberWidth = header.horizontalAdvance(numberText);
    const QString title = header.elidedText(style_.title, Qt::ElideRight,
                                            width_ - numberWidth - header.averageCharWidth() * 3);
    painter.drawText(QPointF(0, header.ascent()), title);
    painter.drawText(QPointF(width_ - numberWidth, header.ascent()), numberText);
    const qreal ruleY = header.lineSpacing() * 1.05;
    painter.setPen(QPen(Qt::black, std::max<qreal>(1.0, device_.logicalDpiY() / 200.0)));
    painter.drawLine(QPointF(0, ruleY), QPointF(width_, ruleY));

    const QFontMetricsF body(style_.font, &device_);
    painter.setFont(style_.font);
    qreal y = bodyTop_ + body.ascent();
    for (const QString& line : page) {
        painter.drawText(QPointF(0, y), line);
        y += lineSpacing_;
    }
}

int PrintTextPages(QPagedPaintDevice& device, const QStringList& lines,
                   const TextPageStyle& style) {
    const TextPageFormat format(device, style);
    const std::vector<QStringList> pages = format.Layout(lines);
    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    const int total = static_cast<int>(pages.size());
    for (int i = 0; i < total; ++i) {
        if (i > 0) {
            device.newPage();
        }
        format.PaintPage(painter, pages[static_cast<std::size_t>(i)], i + 1, total);
    }
    painter.end();
    return total;
}

}  // namespace tolvaris
