// The grid window's arithmetic: where the bands, the row list and its scroll bars lie, the
// scroll steps and their limits, the column edges the pointer takes for resizing, and the
// widening search of fitted widths.
#include "grids/GridLayout.h"

#include <gtest/gtest.h>

namespace zor::grids {
namespace {

using draw::Rect;

constexpr GridBands TableBands{50, 20, 14, 0};
constexpr int Bar = 16;

TEST(GridWindowLayout, BandsStackAndTheListTakesTheRest) {
    const GridWindowLayout l = LayoutGridWindow({400, 300}, {30, 20, 14, 20}, 300, 10, Bar);
    EXPECT_EQ(l.title, (Rect{0, 0, 400, 30}));
    EXPECT_EQ(l.header, (Rect{0, 30, 400, 50}));
    EXPECT_EQ(l.list, (Rect{0, 50, 400, 280}));
    EXPECT_EQ(l.footer, (Rect{0, 280, 400, 300}));
    EXPECT_FALSE(l.horizontalBar);
    EXPECT_FALSE(l.verticalBar);
    EXPECT_EQ(l.pageRows, 230 / 14);
    EXPECT_EQ(l.maxTopRow, 0);
    EXPECT_EQ(l.maxScrollX, 0);
}

TEST(GridWindowLayout, ZeroBandsAreNotThere) {
    const GridWindowLayout l = LayoutGridWindow({400, 300}, {0, 0, 14, 0}, 300, 100, Bar);
    EXPECT_TRUE(l.title.IsEmpty());
    EXPECT_TRUE(l.header.IsEmpty());
    EXPECT_TRUE(l.footer.IsEmpty());
    EXPECT_EQ(l.list.top, 0);
    EXPECT_EQ(l.list.bottom, 300);
}

TEST(GridWindowLayout, ScrollBarsWhenRowsOrColumnsDoNotFit) {
    // 20 rows of 14 need 280 of the 230 pixels: a vertical bar, whose 16 pixels leave 384 for
    // columns 390 wide: a horizontal bar too.
    GridWindowLayout l = LayoutGridWindow({400, 300}, TableBands, 390, 20, Bar);
    EXPECT_TRUE(l.verticalBar);
    EXPECT_TRUE(l.horizontalBar);
    EXPECT_EQ(l.list, (Rect{0, 70, 384, 284}));
    EXPECT_EQ(l.verticalBarRect, (Rect{384, 70, 400, 284}));
    EXPECT_EQ(l.horizontalBarRect, (Rect{0, 284, 384, 300}));
    EXPECT_EQ(l.visibleWidth, 384);
    EXPECT_EQ(l.pageRows, 214 / 14);
    EXPECT_EQ(l.maxTopRow, 20 - 15);
    EXPECT_EQ(l.maxScrollX, 6);

    // 16 rows fit 230 pixels, but not the 214 left under a horizontal bar.
    l = LayoutGridWindow({400, 300}, TableBands, 500, 16, Bar);
    EXPECT_TRUE(l.horizontalBar);
    EXPECT_TRUE(l.verticalBar);
    EXPECT_EQ(l.maxScrollX, 500 - 384);

    // Neither: exactly as wide as the window and exactly as high as the list.
    l = LayoutGridWindow({400, 300}, TableBands, 400, 16, Bar);
    EXPECT_FALSE(l.horizontalBar);
    EXPECT_FALSE(l.verticalBar);
}

TEST(GridWindowLayout, ATinyWindowKeepsItsNumbersSound) {
    const GridWindowLayout l = LayoutGridWindow({100, 60}, TableBands, 390, 20, Bar);
    EXPECT_EQ(l.title.Height(), 50);
    EXPECT_EQ(l.header.Height(), 10);
    EXPECT_TRUE(l.list.IsEmpty());
    EXPECT_EQ(l.pageRows, 1);
    EXPECT_GE(l.maxScrollX, 0);
    const GridWindowLayout none = LayoutGridWindow({-5, -5}, TableBands, 0, 0, Bar);
    EXPECT_TRUE(none.list.IsEmpty());
    EXPECT_EQ(none.maxTopRow, 0);
}

TEST(GridScroll, HorizontalLinesPagesAndLimits) {
    GridWindowLayout l;
    l.visibleWidth = 384;
    l.maxScrollX = 300;
    EXPECT_EQ(HorizontalScroll(0, ScrollAction::LineForward, 0, l), 8);
    EXPECT_EQ(HorizontalScroll(3, ScrollAction::LineBack, 0, l), 0);
    EXPECT_EQ(HorizontalScroll(0, ScrollAction::PageForward, 0, l), 256); // 2/3 of 384
    EXPECT_EQ(HorizontalScroll(256, ScrollAction::PageForward, 0, l), 300);
    EXPECT_EQ(HorizontalScroll(256, ScrollAction::PageBack, 0, l), 0);
    EXPECT_EQ(HorizontalScroll(0, ScrollAction::Thumb, 120, l), 120);
    EXPECT_EQ(HorizontalScroll(0, ScrollAction::Thumb, 999, l), 300);
    EXPECT_EQ(HorizontalScroll(0, ScrollAction::Thumb, -4, l), 0);
    EXPECT_EQ(HorizontalScroll(40, ScrollAction::End, 0, l), 300);
    EXPECT_EQ(HorizontalScroll(40, ScrollAction::Start, 0, l), 0);
}

TEST(GridScroll, VerticalByRowsAndPages) {
    GridWindowLayout l;
    l.pageRows = 15;
    l.maxTopRow = 20;
    EXPECT_EQ(VerticalScroll(0, ScrollAction::LineForward, 0, l), 1);
    EXPECT_EQ(VerticalScroll(0, ScrollAction::LineBack, 0, l), 0);
    EXPECT_EQ(VerticalScroll(0, ScrollAction::PageForward, 0, l), 15);
    EXPECT_EQ(VerticalScroll(15, ScrollAction::PageForward, 0, l), 20);
    EXPECT_EQ(VerticalScroll(20, ScrollAction::PageBack, 0, l), 5);
    EXPECT_EQ(VerticalScroll(0, ScrollAction::Thumb, 7, l), 7);
    EXPECT_EQ(VerticalScroll(3, ScrollAction::End, 0, l), 20);
}

std::vector<GridColumn> Widths(std::vector<int> widths) {
    std::vector<GridColumn> out;
    for (int w : widths) {
        GridColumn c;
        c.width = w;
        out.push_back(c);
    }
    return out;
}

TEST(GridColumns, LeftEdgesOfFixedAndScrolledColumns) {
    const auto columns = Widths({100, 50, 60});
    EXPECT_EQ(ColumnLefts(columns, 1, 0), (std::vector<int>{0, 100, 150}));
    EXPECT_EQ(ColumnLefts(columns, 1, 40), (std::vector<int>{0, 60, 110}));
    EXPECT_EQ(ColumnLefts(columns, 0, 40), (std::vector<int>{-40, 60, 110}));
}

TEST(GridColumns, EdgeUnderThePointerWithinThreePixels) {
    const auto columns = Widths({100, 50, 60});
    EXPECT_EQ(ColumnEdgeAt(columns, 1, 0, 98), 0);
    EXPECT_EQ(ColumnEdgeAt(columns, 1, 0, 103), 0);
    EXPECT_EQ(ColumnEdgeAt(columns, 1, 0, 104), -1);
    EXPECT_EQ(ColumnEdgeAt(columns, 1, 0, 152), 1);
    EXPECT_EQ(ColumnEdgeAt(columns, 1, 0, 207), 2);
    EXPECT_EQ(ColumnEdgeAt(columns, 1, 0, 205), -1);
    // Scrolled by 40: column 1 ends at 110, column 2 at 170.
    EXPECT_EQ(ColumnEdgeAt(columns, 1, 40, 111), 1);
    EXPECT_EQ(ColumnEdgeAt(columns, 1, 40, 170), 2);
    // Scrolled by 55, column 1 ends at 95, under the fixed column: only column 0's edge counts.
    EXPECT_EQ(ColumnEdgeAt(columns, 1, 55, 96), -1);
    EXPECT_EQ(ColumnEdgeAt(columns, 1, 55, 97), 0);
}

TEST(GridColumns, GrowUntilFindsTheFirstStepThatFits) {
    const auto from42 = [](int w) { return w >= 42; };
    EXPECT_EQ(GrowUntil(5, 10, 100, from42), 45);
    EXPECT_EQ(GrowUntil(42, 10, 100, from42), 42);
    EXPECT_EQ(GrowUntil(120, 10, 100, from42), 120);
    EXPECT_EQ(GrowUntil(5, 10, 100, [](int) { return false; }), 100);
}

} // namespace
} // namespace zor::grids
