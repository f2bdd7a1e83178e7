// The arithmetic of a grid window, without a device: columns, the four bands, where the bands
// and the row list lie in a client area, the scroll ranges and steps, the column edges the
// pointer can take for resizing, and the search for the narrowest width at which a text fits.
// Everything is in screen pixels; printing scales these numbers (GridPrint.h).
#pragma once

#include "draw/Geometry.h"

#include <functional>
#include <string>
#include <vector>

namespace zor::grids {

// How a column aligns its texts (the grid's alignment codes).
enum class CellAlign : int { Left = 0, Right = 2, Center = 6 };

// A column's nominal width that means "fit to content".
inline constexpr int FitToContent = -1;

struct GridColumn {
    int width = 0;                   // screen pixels, changed by dragging and fitting
    int nominalWidth = FitToContent; // else: the base of the print width, the drag minimum
    CellAlign alignment = CellAlign::Left;
    bool wrap = false;  // word-wrapped in the cell (else one line cut with "...")
    std::string header; // single-byte text of the charset
};

// The heights of the four bands, screen pixels (0 hides a band; every row is `row` high).
struct GridBands {
    int title = 30;
    int header = 20;
    int row = 14;
    int footer = 20;
};

// Where the parts of a grid window lie in a client area (pixels, y down). The row list is the
// area between the header and the footer band less its scroll bars.
struct GridWindowLayout {
    draw::Rect title, header, list, footer;
    bool horizontalBar = false, verticalBar = false;
    draw::Rect horizontalBarRect, verticalBarRect;
    int visibleWidth = 0; // of the row list
    int pageRows = 0;     // rows wholly visible (at least 1 when any row area is there)
    int maxScrollX = 0;   // largest horizontal offset
    int maxTopRow = 0;    // largest first visible row
};

// The bands stacked over the full width; the row list takes what is left. A scroll bar (of
// `barSize` pixels) shows when the rows are higher or the columns wider than the list.
GridWindowLayout LayoutGridWindow(draw::Size client, const GridBands& bands, int totalWidth,
                                  int rows, int barSize);

// Scroll bar actions.
enum class ScrollAction { LineBack, LineForward, PageBack, PageForward, Thumb, Start, End };

// A horizontal scroll step of the row list: lines of 8 pixels, pages of 2/3 of the visible
// width, the thumb at its position; clamped to 0 ... maxScrollX.
inline constexpr int ScrollLinePixels = 8;
int HorizontalScroll(int offset, ScrollAction action, int thumb, const GridWindowLayout& layout);
// A vertical step: lines of one row, pages of the wholly visible rows; clamped to 0 ...
// maxTopRow.
int VerticalScroll(int topRow, ScrollAction action, int thumb, const GridWindowLayout& layout);

// The screen x of each column's left edge: fixed columns at their place, the others shifted
// left by the scroll offset.
std::vector<int> ColumnLefts(const std::vector<GridColumn>& columns, int fixedCount, int scrollX);

// The column whose right edge is within `slop` pixels of x (the nearest; edges of scrolled
// columns hidden under the fixed ones do not count); -1 for none.
inline constexpr int EdgeSlopPixels = 3;
int ColumnEdgeAt(const std::vector<GridColumn>& columns, int fixedCount, int scrollX, int x);

// The smallest of start, start + step, ... (up to `limit`) at which fits(width) holds; `limit`
// when none below it does. start above limit returns start.
int GrowUntil(int start, int step, int limit, const std::function<bool(int)>& fits);

} // namespace zor::grids
