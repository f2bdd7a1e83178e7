#include "grids/GridLayout.h"

#include <algorithm>
#include <cstdlib>

namespace zor::grids {

GridWindowLayout LayoutGridWindow(draw::Size client, const GridBands& bands, int totalWidth,
                                  int rows, int barSize) {
    GridWindowLayout l;
    const int w = std::max(0, client.cx), h = std::max(0, client.cy);
    const int title = std::clamp(bands.title, 0, h);
    const int header = std::clamp(bands.header, 0, h - title);
    const int footer = std::clamp(bands.footer, 0, h - title - header);
    l.title = {0, 0, w, title};
    l.header = {0, title, w, title + header};
    l.footer = {0, h - footer, w, h};
    const draw::Rect area{0, title + header, w, h - footer};

    // The vertical bar takes width, which may make the horizontal one necessary, whose height
    // may in turn make the vertical one necessary.
    const int bar = std::max(0, barSize);
    const int rowsHeight = rows * std::max(1, bands.row);
    l.verticalBar = rowsHeight > area.Height();
    l.horizontalBar = totalWidth > area.Width() - (l.verticalBar ? bar : 0);
    if (l.horizontalBar && !l.verticalBar) l.verticalBar = rowsHeight > area.Height() - bar;

    l.list = area;
    if (l.verticalBar) l.list.right = std::max(area.left, area.right - bar);
    if (l.horizontalBar) l.list.bottom = std::max(area.top, area.bottom - bar);
    if (l.verticalBar) l.verticalBarRect = {l.list.right, area.top, area.right, l.list.bottom};
    if (l.horizontalBar)
        l.horizontalBarRect = {area.left, l.list.bottom, l.list.right, area.bottom};

    l.visibleWidth = l.list.Width();
    l.pageRows = std::max(1, l.list.Height() / std::max(1, bands.row));
    l.maxTopRow = std::max(0, rows - l.pageRows);
    l.maxScrollX = std::max(0, totalWidth - l.visibleWidth);
    return l;
}

namespace {

// A step of a scroll bar from `at`: lines and pages of the given sizes, the thumb at its
// position, the ends; clamped to 0 ... max.
int ScrollStep(int at, ScrollAction action, int thumb, int line, int page, int max) {
    int to = at;
    switch (action) {
    case ScrollAction::LineBack:
        to = at - line;
        break;
    case ScrollAction::LineForward:
        to = at + line;
        break;
    case ScrollAction::PageBack:
        to = at - page;
        break;
    case ScrollAction::PageForward:
        to = at + page;
        break;
    case ScrollAction::Thumb:
        to = thumb;
        break;
    case ScrollAction::Start:
        to = 0;
        break;
    case ScrollAction::End:
        to = max;
        break;
    }
    return std::clamp(to, 0, max);
}

} // namespace

int HorizontalScroll(int offset, ScrollAction action, int thumb, const GridWindowLayout& layout) {
    return ScrollStep(offset, action, thumb, ScrollLinePixels, layout.visibleWidth * 2 / 3,
                      layout.maxScrollX);
}

int VerticalScroll(int topRow, ScrollAction action, int thumb, const GridWindowLayout& layout) {
    return ScrollStep(topRow, action, thumb, 1, layout.pageRows, layout.maxTopRow);
}

std::vector<int> ColumnLefts(const std::vector<GridColumn>& columns, int fixedCount, int scrollX) {
    std::vector<int> lefts;
    lefts.reserve(columns.size());
    int x = 0;
    for (size_t c = 0; c < columns.size(); ++c) {
        lefts.push_back(static_cast<int>(c) < fixedCount ? x : x - scrollX);
        x += columns[c].width;
    }
    return lefts;
}

int ColumnEdgeAt(const std::vector<GridColumn>& columns, int fixedCount, int scrollX, int x) {
    const std::vector<int> lefts = ColumnLefts(columns, fixedCount, scrollX);
    int fixedWidth = 0;
    for (size_t c = 0; c < columns.size() && static_cast<int>(c) < fixedCount; ++c)
        fixedWidth += columns[c].width;
    int best = -1, bestDistance = EdgeSlopPixels + 1;
    for (size_t c = 0; c < columns.size(); ++c) {
        const int right = lefts[c] + columns[c].width;
        const bool fixed = static_cast<int>(c) < fixedCount;
        if (!fixed && right <= fixedWidth) continue; // under the fixed columns
        const int d = std::abs(right - x);
        if (d < bestDistance) best = static_cast<int>(c), bestDistance = d;
    }
    return best;
}

int GrowUntil(int start, int step, int limit, const std::function<bool(int)>& fits) {
    if (start >= limit) return start;
    for (int w = start; w < limit; w += std::max(1, step))
        if (fits(w)) return w;
    return limit;
}

} // namespace zor::grids
