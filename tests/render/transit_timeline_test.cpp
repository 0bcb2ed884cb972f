// The timeline of a transit search: which row holds which transit, where
// bars begin and end, where months begin on the axis.
#include "render/transit_timeline.h"

#include <gtest/gtest.h>

namespace tolvaris {
namespace {

// 2027-01-01T00:00:00Z and 2028-01-01T00:00:00Z (Python's datetime).
constexpr std::int64_t k2027 = 1798761600;
constexpr std::int64_t k2028 = 1830297600;
constexpr std::int64_t kYear = k2028 - k2027;

Transit Make(Point body, NatalPoint natal, AspectKind kind, std::optional<std::int64_t> enter,
             std::optional<std::int64_t> leave) {
    return {body, natal, kind, enter, leave, {}};
}

// In the order the windows begin, as a search gives them.
TransitSearch HandSearch() {
    TransitSearch search;
    search.transits = {
        Make(Point::Mars, NatalPoint::Sun, AspectKind::Square, std::nullopt, k2027 + kYear / 8),
        Make(Point::Pluto, NatalPoint::Venus, AspectKind::Conjunction, std::nullopt, std::nullopt),
        Make(Point::Sun, NatalPoint::Moon, AspectKind::Trine, k2027 + kYear / 4, k2027 + kYear / 2),
        Make(Point::Saturn, NatalPoint::Midheaven, AspectKind::Opposition, k2027 + kYear / 2,
             std::nullopt),
        Make(Point::Jupiter, NatalPoint::Ascendant, AspectKind::Sextile, k2027 + kYear * 3 / 4,
             k2027 + kYear * 7 / 8),
        Make(Point::Neptune, NatalPoint::Mars, AspectKind::Square, k2027 + kYear * 7 / 8,
             k2027 + kYear * 15 / 16),
    };
    return search;
}

TEST(TransitTimeline, PutsSaturnToPlutoFirstAndFindsTheRowUnderAPoint) {
    const TransitSearch search = HandSearch();
    const TimelineLayout layout =
        LayoutTimeline(QRectF(0, 0, 1000, 600), search, {k2027, k2028}, TimelineOptions{});
    // Pluto, Saturn, Neptune (by their start), then Mars, Sun, Jupiter.
    const struct {
        std::size_t transit;
        const char* label;
        double from;  // fraction of the year
        double to;
    } rows[] = {
        {1, "Pluto conjunction Venus", 0, 1},      {3, "Saturn opposition Midheaven", 0.5, 1},
        {5, "Neptune square Mars", 0.875, 0.9375}, {0, "Mars square Sun", 0, 0.125},
        {2, "Sun trine Moon", 0.25, 0.5},          {4, "Jupiter sextile Ascendant", 0.75, 0.875},
    };
    ASSERT_EQ(layout.rows.size(), std::size(rows));
    EXPECT_EQ(TimelineOrder(search), (std::vector<std::size_t>{1, 3, 5, 0, 2, 4}));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].label);
        const TimelineRow& row = layout.rows[i];
        EXPECT_EQ(row.transit, rows[i].transit);
        EXPECT_EQ(row.text.toStdString(), rows[i].label);
        EXPECT_NEAR(row.bar.left(), layout.plot.left() + rows[i].from * layout.plot.width(), 0.01);
        EXPECT_NEAR(row.bar.right(), layout.plot.left() + rows[i].to * layout.plot.width(), 0.01);
        EXPECT_EQ(layout.TransitAt(row.bar.center()), rows[i].transit);
        EXPECT_EQ(layout.TransitAt(QPointF(row.label.left() + 2, row.row.bottom() - 1)),
                  rows[i].transit);
    }
    EXPECT_FALSE(layout.TransitAt(layout.axis.center()));
    EXPECT_FALSE(layout.TransitAt(QPointF(500, layout.rows.back().row.bottom() + 1)));
    EXPECT_TRUE(QRectF(0, 0, 1000, 600).contains(layout.rows.back().row));
}

TEST(TransitTimeline, MarksEachMonthAtItsLocalMidnightAndTodayInsideTheRange) {
    const struct {
        const char* name;
        int offset;  // the display zone's, seconds east
        std::optional<std::int64_t> now;
    } cases[] = {{"UTC, today in July", 0, k2027 + 181 * 86400},
                 {"UTC+01:00, today before the range", 3600, k2027 - 86400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TimelineOptions options;
        options.offsetAt = [offset = c.offset](std::int64_t) { return offset; };
        options.now = c.now;
        const std::int64_t from = k2027 - c.offset;
        const TimelineLayout layout =
            LayoutTimeline(QRectF(0, 0, 1400, 400), {}, {from, from + kYear}, options);
        std::vector<TimelineTick> months;
        for (const TimelineTick& tick : layout.ticks) {
            if (tick.major) {
                months.push_back(tick);
            }
        }
        // Days before each month of 2027: 0, 31, 59, 90, ...
        const int monthStarts[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
        ASSERT_EQ(months.size(), 12U);
        for (std::size_t m = 0; m < 12; ++m) {
            EXPECT_NEAR(months[m].x,
                        layout.plot.left() + layout.plot.width() * monthStarts[m] * 86400 / kYear,
                        0.01);
        }
        EXPECT_EQ(months[0].label, "Jan 2027");
        EXPECT_EQ(months[1].label, "Feb");
        EXPECT_EQ(months[11].label, "Dec");
        if (c.now >= from) {
            ASSERT_TRUE(layout.nowX);
            EXPECT_NEAR(*layout.nowX, months[6].x, 0.01);
        } else {
            EXPECT_FALSE(layout.nowX);
        }
    }
}

}  // namespace
}  // namespace tolvaris
