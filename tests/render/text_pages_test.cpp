// Text pages: wrapping only between words, form feeds as page breaks, the
// page count of long buffers.
#include "render/text_pages.h"

#include <gtest/gtest.h>

namespace tolvaris {
namespace {

// One unit per character: what fits is easy to see in the table.
qreal Characters(const QString& text) {
    return static_cast<qreal>(text.size());
}

TEST(WrapLine, BreaksOnlyBetweenWords) {
    const struct {
        const char* line;
        qreal width;
        QStringList expected;
    } cases[] = {
        {"", 10, {""}},
        {"short", 10, {"short"}},
        {"exactly ten", 11, {"exactly ten"}},
        {"the quick brown fox", 10, {"the quick", "brown fox"}},
        {"one two three four five", 9, {"one two", "three", "four five"}},
        {"spaces   between   words", 10, {"spaces", "between", "words"}},
        {"    indented text here", 14, {"    indented", "text here"}},
        {"trailing    ", 8, {"trailing"}},
        {"a verylongwordindeed b", 8, {"a", "verylong", "wordinde", "ed b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const QStringList got = WrapLine(QString::fromUtf8(c.line), c.width, Characters);
        EXPECT_EQ(got, c.expected);
        for (const QString& piece : got) {
            EXPECT_LE(piece.size(), c.width);
        }
    }
}

TEST(WrapLine, NeverCutsAWordThatFitsALine) {
    const QString text = QStringLiteral(
        "Saturn in the tenth house asks for patience with the slow building of a standing in the "
        "world, and rewards it late but lastingly with responsibility and respect.");
    // Its longest word, "responsibility", has 14 letters.
    for (const qreal width : {14.0, 20.0, 33.0, 47.0, 80.0}) {
        SCOPED_TRACE(width);
        const QStringList got = WrapLine(text, width, Characters);
        EXPECT_EQ(got.join(QLatin1Char(' ')).split(QLatin1Char(' '), Qt::SkipEmptyParts),
                  text.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(got.size()); ++i) {
            // Greedy: the next line's first word would not have fitted.
            const QString next = got[static_cast<qsizetype>(i) + 1].section(QLatin1Char(' '), 0, 0);
            EXPECT_GT(got[static_cast<qsizetype>(i)].size() + 1 + next.size(), width);
        }
    }
}

TEST(ExpandTabs, AlignsToEightColumns) {
    EXPECT_EQ(ExpandTabs(QStringLiteral("a\tb")), QStringLiteral("a       b"));
    EXPECT_EQ(ExpandTabs(QStringLiteral("\tx")), QStringLiteral("        x"));
    EXPECT_EQ(ExpandTabs(QStringLiteral("12345678\ty")), QStringLiteral("12345678        y"));
    EXPECT_EQ(ExpandTabs(QStringLiteral("none")), QStringLiteral("none"));
}

TEST(LayoutTextPages, FillsPagesAndBreaksAtFormFeeds) {
    const struct {
        const char* name;
        QStringList lines;
        int perPage;
        std::vector<int> pageSizes;
    } cases[] = {
        {"empty", {}, 5, {0}},
        {"fits", {"a", "b", "c"}, 5, {3}},
        {"exactly full", {"a", "b", "c", "d"}, 2, {2, 2}},
        {"overflows", {"1", "2", "3", "4", "5", "6", "7"}, 3, {3, 3, 1}},
        {"form feed line", {"a", "\f", "b", "c"}, 5, {1, 2}},
        {"form feed inside", {"a\fb", "c"}, 5, {1, 2}},
        {"two form feeds", {"a", "\f", "\f", "b"}, 5, {1, 0, 1}},
        {"wrapped lines count", {"aaaa bbbb cccc", "d", "e"}, 2, {2, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<QStringList> pages = LayoutTextPages(c.lines, 9, c.perPage, Characters);
        std::vector<int> sizes;
        for (const QStringList& page : pages) {
            sizes.push_back(static_cast<int>(page.size()));
            EXPECT_FALSE(page.join(QString()).contains(QLatin1Char('\f')));
        }
        EXPECT_EQ(sizes, c.pageSizes);
    }
}

TEST(LayoutTextPages, TenThousandLinesMakeTheExpectedPages) {
    QStringList lines;
    for (int i = 0; i < 10000; ++i) {
        lines.append(QStringLiteral("line %1").arg(i));
    }
    const std::vector<QStringList> pages = LayoutTextPages(lines, 80, 57, Characters);
    EXPECT_EQ(pages.size(), (10000 + 56) / 57U);
    EXPECT_EQ(pages.back().back(), QStringLiteral("line 9999"));
    EXPECT_EQ(pages[1].front(), QStringLiteral("line 57"));
}

}  // namespace
}  // namespace tolvaris
