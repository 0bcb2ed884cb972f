// The report's paging, checked against its rules rather than its output:
// nothing beyond the page, every line placed once and in order, no heading
// without two lines of its text after it, no paragraph leaving one line
// alone on either side of a page break.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "render/report_pdf.h"

namespace tolvaris {
namespace {

ReportBlockShape Heading() {
    return {true, 1, 14, 10};
}
ReportBlockShape Text(int lines) {
    return {false, lines, 12, 5};
}

TEST(ReportPaging, KeepsHeadingsWithTheirTextAndNoLineAlone) {
    const struct {
        const char* name;
        qreal height;
        std::vector<ReportBlockShape> blocks;
    } cases[] = {
        {"paragraphs across pages", 100, {Text(5), Text(7), Text(3), Text(9), Text(4)}},
        {"a heading near the foot", 100, {Text(6), Heading(), Text(5), Heading(), Text(2)}},
        {"headings in a row", 90, {Text(4), Heading(), Heading(), Text(6), Text(2)}},
        {"one long paragraph", 60, {Heading(), Text(23)}},
        {"short ones", 50, {Text(1), Text(2), Text(3), Text(1), Text(2), Text(3), Text(2)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<ReportPlacement> placed = PaginateReport(c.blocks, c.height);
        std::map<std::size_t, int> next;  // the next line due of each block
        int page = 0;
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const ReportPlacement& p = placed[i];
            const ReportBlockShape& block = c.blocks[p.block];
            EXPECT_GE(p.page, page) << "pages in order";
            page = p.page;
            EXPECT_EQ(p.first, next[p.block]) << "block " << p.block;
            next[p.block] = p.last;
            EXPECT_LE(p.y + (p.last - p.first) * block.step, c.height + 1e-6)
                << "block " << p.block;
            if (block.heading && i + 1 < placed.size() && !c.blocks[placed[i + 1].block].heading) {
                const ReportPlacement& text = placed[i + 1];
                EXPECT_EQ(text.page, p.page) << "heading " << p.block << " left at a page's foot";
                EXPECT_GE(text.last - text.first, std::min(2, c.blocks[text.block].lines));
            }
            if (!block.heading && p.last - p.first < block.lines) {
                EXPECT_GE(p.last - p.first, 2) << "block " << p.block << " split with one line";
            }
        }
        for (std::size_t b = 0; b < c.blocks.size(); ++b) {
            EXPECT_EQ(next[b], c.blocks[b].lines) << "block " << b << " placed whole";
        }
    }
}

}  // namespace
}  // namespace tolvaris
