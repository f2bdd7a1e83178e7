// Grid printing as numbers: the print scale, the paper, pages across and down and the layout
// of a page, against worked examples on A4 with a body text 12 pixels high (print scale 2.5:
// title band 50 -> 125, header 20 -> 50, rows 14 -> 35, 0.1 mm).
#include "grids/GridPrint.h"

#include <gtest/gtest.h>

namespace zor::grids {
namespace {

constexpr Paper A4{2100, 2970};
const GridBands PrintBands = ScaleBands({50, 20, 14, 0}, 2.5f);

TEST(GridPrint, ScaledLengthsKeepWholeLengthsWhole) {
    // The body text of any height prints 3 mm (30) high.
    for (int h = 5; h <= 40; ++h) EXPECT_EQ(ScaleLength(h, 30.0f / static_cast<float>(h)), 30) << h;
    EXPECT_EQ(ScaleLength(14, 30.0f / 13.0f), 32); // 32.3
    EXPECT_EQ(ScaleLength(3, 2.5f), 7);            // 7.5
    EXPECT_EQ(PrintBands.title, 125);
    EXPECT_EQ(PrintBands.header, 50);
    EXPECT_EQ(PrintBands.row, 35);
    EXPECT_EQ(PrintBands.footer, 0);
}

TEST(GridPrint, PaperInWholeMillimetres) {
    // A4 at 600 dpi: 4960 x 7015 pixels.
    draw::DeviceInfo d;
    d.pixelsPerMeterX = d.pixelsPerMeterY = 23622;
    const Paper p = PaperOf(d, {0, 0, 4960, 7015});
    EXPECT_EQ(p.width, 2100);
    EXPECT_EQ(p.height, 2970);
}

TEST(GridPrint, ColumnsAcrossAndRowsDown) {
    // W = 2100 - 20 - 400 = 1680: three columns of 500 fit, the fourth starts a page.
    const std::vector<int> widths{400, 500, 500, 500, 500};
    PagePlan plan = PlanPages(widths, 1, 77, PrintBands, A4);
    EXPECT_EQ(plan.usableWidth, 1680);
    ASSERT_EQ(plan.columnPages.size(), 2u);
    EXPECT_EQ(plan.columnPages[0].first, 1);
    EXPECT_EQ(plan.columnPages[0].end, 4);
    EXPECT_EQ(plan.columnPages[1].first, 4);
    EXPECT_EQ(plan.columnPages[1].end, 5);
    // H = 2970 - 100 - 125 - 50 = 2695: 77 rows of 35.
    EXPECT_EQ(plan.usableHeight, 2695);
    EXPECT_EQ(plan.rowsPerPage, 77);
    EXPECT_EQ(plan.rowPages, 1);
    EXPECT_EQ(plan.Pages(), 2);

    // One row more than a page holds: a second row page for each column page.
    plan = PlanPages(widths, 1, 78, PrintBands, A4);
    EXPECT_EQ(plan.rowPages, 2);
    EXPECT_EQ(plan.Pages(), 4);
}

TEST(GridPrint, AColumnWiderThanAPageGetsAPageOfItsOwn) {
    PagePlan plan = PlanPages({400, 500, 2000, 300}, 1, 10, PrintBands, A4);
    ASSERT_EQ(plan.columnPages.size(), 3u);
    EXPECT_EQ(plan.columnPages[1].first, 2);
    EXPECT_EQ(plan.columnPages[1].end, 3);
    EXPECT_EQ(plan.columnPages[2].first, 3);
    // It is printed narrowed to the usable width.
    const PageLayout page = LayoutPage(plan, {400, 500, 2000, 300}, PrintBands, A4, 1);
    EXPECT_EQ(page.columns, (std::vector<int>{0, 2}));
    EXPECT_EQ(page.widths, (std::vector<int>{400, 1680}));

    // As the first column it starts the first page: no page without columns before it.
    plan = PlanPages({400, 2000, 300}, 1, 10, PrintBands, A4);
    ASSERT_EQ(plan.columnPages.size(), 2u);
    EXPECT_EQ(plan.columnPages[0].first, 1);
    EXPECT_EQ(plan.columnPages[0].end, 2);
}

TEST(GridPrint, AFixedColumnKeepsAtMostHalfThePage) {
    const PagePlan plan = PlanPages({1500, 300}, 1, 10, PrintBands, A4);
    EXPECT_EQ(plan.fixedWidths, std::vector<int>{1040});
    EXPECT_EQ(plan.usableWidth, 1040);
}

TEST(GridPrint, EmptyGridsAndHighRowsStillPrintAPage) {
    PagePlan plan = PlanPages({400, 500}, 1, 0, PrintBands, A4);
    EXPECT_EQ(plan.rowPages, 1);
    EXPECT_EQ(plan.Pages(), 1);
    plan = PlanPages({400}, 1, 3, PrintBands, A4);
    ASSERT_EQ(plan.columnPages.size(), 1u); // column 0 only
    EXPECT_EQ(plan.Pages(), 1);
    // Not one row fits between the bands: one row a page.
    plan = PlanPages({400, 500}, 1, 3, {125, 50, 3000, 0}, A4);
    EXPECT_EQ(plan.rowsPerPage, 1);
    EXPECT_EQ(plan.rowPages, 3);
}

TEST(GridPrint, PageLayoutAcrossAndDown) {
    const std::vector<int> widths{400, 500, 500, 500, 500};
    const PagePlan plan = PlanPages(widths, 1, 78, PrintBands, A4);
    // Page 4 (index 3): the second row page of the second column page.
    PageLayout p = LayoutPage(plan, widths, PrintBands, A4, 3);
    EXPECT_EQ(p.rowPage, 1);
    EXPECT_EQ(p.columnPage, 1);
    EXPECT_EQ(p.firstRow, 77);
    EXPECT_EQ(p.endRow, 78);
    EXPECT_EQ(p.columns, (std::vector<int>{0, 4}));
    EXPECT_EQ(p.rightLimit, 2080);
    // The block of a full page (2870) fills the height below the top margin.
    EXPECT_EQ(p.top, 2870);
    EXPECT_EQ(p.pageNumberTop, 2920);
    EXPECT_EQ(p.titleBottom, 2745);
    EXPECT_EQ(p.headerBottom, 2695);
    EXPECT_EQ(p.rowsBottom, 2660);
    EXPECT_EQ(p.left, (2080 - 900) / 2);
    EXPECT_EQ(p.right, p.left + 900);

    p = LayoutPage(plan, widths, PrintBands, A4, 0);
    EXPECT_EQ(p.columns, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(p.endRow, 77);
    EXPECT_EQ(p.rowsBottom, 0); // 77 rows reach the bottom margin exactly
    EXPECT_EQ(p.left, 90);

    CentreBlock(p, 2000);
    EXPECT_EQ(p.left, 40);
    EXPECT_EQ(p.right, 2040);
}

TEST(GridPrint, ALowerBlockIsCentredVertically) {
    // Rows of 40: 67 a page (2680), the block 2855 high under a top of 2870.
    const GridBands bands{125, 50, 40, 0};
    const PagePlan plan = PlanPages({400, 500}, 1, 10, bands, A4);
    EXPECT_EQ(plan.rowsPerPage, 67);
    const PageLayout p = LayoutPage(plan, {400, 500}, bands, A4, 0);
    EXPECT_EQ(p.top, 2870 - (2870 - 2855) / 2);
    EXPECT_EQ(p.rowsBottom, p.top - 125 - 50 - 10 * 40);
}

} // namespace
} // namespace zor::grids
