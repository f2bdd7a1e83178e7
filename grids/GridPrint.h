// Printing a grid in 0.1 mm: the print scale of lengths, the paper, the pagination across
// (column pages, the fixed columns repeated on each) and down (row pages), and the layout of one
// printed page. Plain numbers; the device only enters through the measured print widths.
//
// Page coordinates are 0.1 mm with y up: x = 0 lies 1 mm (the horizontal margin) inside the
// left paper edge and y = 0 5 mm (the vertical margin) above the bottom paper edge.
#pragma once

#include "draw/DeviceContext.h"
#include "grids/GridLayout.h"

#include <vector>

namespace zor::grids {

inline constexpr int PrintMarginX = 10; // 0.1 mm
inline constexpr int PrintMarginY = 50;
inline constexpr int PageNumberGap = 50; // the page number's top above the block

// A screen length on paper: length × scale, truncated toward zero.
int ScaleLength(int length, float scale);

// The band heights on paper (0.1 mm).
GridBands ScaleBands(const GridBands& bands, float scale);

// The printable area in whole millimetres × 10, from the page's device pixels and resolution.
struct Paper {
    int width = 2100;
    int height = 2970;
};
Paper PaperOf(const draw::DeviceInfo& device, const draw::Rect& page);

// How a grid is cut into pages.
struct PagePlan {
    std::vector<int> fixedWidths; // print widths of the fixed columns (narrowed to leave room)
    int fixedWidth = 0;           // their sum
    int usableWidth = 0;          // W: for the columns of one column page
    int usableHeight = 0;         // H: for the rows of one page
    // The columns of each column page as [first, end) indices into the grid's columns.
    struct Range {
        int first = 0, end = 0;
    };
    std::vector<Range> columnPages;
    int rowsPerPage = 1;
    int rowPages = 1;
    int rows = 0;
    int Pages() const { return static_cast<int>(columnPages.size()) * rowPages; }
};

// Column pages: a page takes the columns after the fixed ones while their print widths add up
// to no more than W; a column wider than W gets a page of its own (and is printed narrowed to
// W). Rows per page: H over the print row height, at least 1. Row pages: at least 1 (a grid
// without rows prints its bands). The fixed columns keep at most half the width between the
// margins, so the others always have room.
PagePlan PlanPages(const std::vector<int>& printWidths, int fixedCount, int rows,
                   const GridBands& printBands, const Paper& paper);

// One printed page (0.1 mm, y up).
struct PageLayout {
    int rowPage = 0, columnPage = 0;
    int firstRow = 0, endRow = 0; // the rows shown, [firstRow, endRow)
    std::vector<int> columns;     // the fixed columns, then the page's own
    std::vector<int> widths;      // their print widths on this page
    int rightLimit = 0;           // R: the usable right edge
    int left = 0, right = 0;      // the block, centred between 0 and R
    int top = 0;                  // the block's top (top of the title band)
    int titleBottom = 0, headerBottom = 0, rowsBottom = 0, footerBottom = 0;
    int pageNumberTop = 0; // top of the "Page %d" text, right-aligned at R
    int Used() const;      // sum of widths
};

// Page `index` (0-based) of the plan: row page index / column pages, column page index mod
// column pages; the block (title, header, the rows of a full page, footer) centred vertically
// below the top margin when it is lower, and horizontally at the width of its columns.
PageLayout LayoutPage(const PagePlan& plan, const std::vector<int>& printWidths,
                      const GridBands& printBands, const Paper& paper, int index);

// Centres the block horizontally at another width (a title wider than the columns).
void CentreBlock(PageLayout& page, int width);

} // namespace zor::grids
