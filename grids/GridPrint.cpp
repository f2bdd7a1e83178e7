#include "grids/GridPrint.h"

#include "core/Numeric.h"

#include <algorithm>
#include <numeric>

namespace zor::grids {

int ScaleLength(int length, float scale) {
    // The scale is a float (30 / 13 is stored a little short): a relative nudge keeps its
    // rounding noise from cutting a whole length, so 13 × (30 / 13) gives 30, not 29.
    return TruncToInt(static_cast<double>(length) * static_cast<double>(scale) * (1 + 1e-6));
}

GridBands ScaleBands(const GridBands& bands, float scale) {
    return {ScaleLength(bands.title, scale), ScaleLength(bands.header, scale),
            ScaleLength(bands.row, scale), ScaleLength(bands.footer, scale)};
}

Paper PaperOf(const draw::DeviceInfo& device, const draw::Rect& page) {
    // Whole millimetres, rounded.
    auto mm = [](int pixels, int perMeter) {
        const int64_t ppm = std::max(1, perMeter);
        return static_cast<int>((int64_t{std::max(0, pixels)} * 1000 + ppm / 2) / ppm);
    };
    return {mm(page.Width(), device.pixelsPerMeterX) * 10,
            mm(page.Height(), device.pixelsPerMeterY) * 10};
}

PagePlan PlanPages(const std::vector<int>& printWidths, int fixedCount, int rows,
                   const GridBands& printBands, const Paper& paper) {
    PagePlan plan;
    const int columns = static_cast<int>(printWidths.size());
    const int fixed = std::clamp(fixedCount, 0, columns);
    const int between = paper.width - 2 * PrintMarginX;

    // The fixed columns, narrowed from the last one when they take more than half the width.
    plan.fixedWidths.assign(printWidths.begin(), printWidths.begin() + fixed);
    int excess = std::accumulate(plan.fixedWidths.begin(), plan.fixedWidths.end(), 0) -
                 std::max(0, between / 2);
    for (auto it = plan.fixedWidths.rbegin(); it != plan.fixedWidths.rend() && excess > 0; ++it) {
        const int cut = std::min(*it, excess);
        *it -= cut;
        excess -= cut;
    }
    plan.fixedWidth = std::accumulate(plan.fixedWidths.begin(), plan.fixedWidths.end(), 0);
    plan.usableWidth = between - plan.fixedWidth;

    // Across: a new page when the running sum would pass W.
    int sum = 0;
    for (int c = fixed; c < columns; ++c) {
        const int w = printWidths[static_cast<size_t>(c)];
        if (plan.columnPages.empty() || sum + w > plan.usableWidth) {
            plan.columnPages.push_back({c, c + 1});
            sum = w;
        } else {
            plan.columnPages.back().end = c + 1;
            sum += w;
        }
    }
    if (plan.columnPages.empty()) plan.columnPages.push_back({fixed, fixed});

    // Down.
    plan.usableHeight =
        paper.height - 2 * PrintMarginY - printBands.title - printBands.header - printBands.footer;
    plan.rows = std::max(0, rows);
    plan.rowsPerPage = printBands.row > 0 ? std::max(1, plan.usableHeight / printBands.row) : 1;
    plan.rowPages = std::max(1, (plan.rows + plan.rowsPerPage - 1) / plan.rowsPerPage);
    return plan;
}

int PageLayout::Used() const {
    return std::accumulate(widths.begin(), widths.end(), 0);
}

void CentreBlock(PageLayout& page, int width) {
    page.left = (page.rightLimit - width) / 2;
    page.right = page.left + width;
}

PageLayout LayoutPage(const PagePlan& plan, const std::vector<int>& printWidths,
                      const GridBands& printBands, const Paper& paper, int index) {
    PageLayout p;
    const int columnPages = std::max(1, static_cast<int>(plan.columnPages.size()));
    const int pages = columnPages * plan.rowPages;
    index = std::clamp(index, 0, std::max(0, pages - 1));
    p.rowPage = index / columnPages;
    p.columnPage = index % columnPages;
    p.firstRow = std::min(plan.rows, p.rowPage * plan.rowsPerPage);
    p.endRow = std::min(plan.rows, p.firstRow + plan.rowsPerPage);

    for (size_t c = 0; c < plan.fixedWidths.size(); ++c) {
        p.columns.push_back(static_cast<int>(c));
        p.widths.push_back(plan.fixedWidths[c]);
    }
    if (static_cast<size_t>(p.columnPage) < plan.columnPages.size()) {
        const PagePlan::Range r = plan.columnPages[static_cast<size_t>(p.columnPage)];
        for (int c = r.first; c < r.end && static_cast<size_t>(c) < printWidths.size(); ++c) {
            p.columns.push_back(c);
            p.widths.push_back(
                std::min(printWidths[static_cast<size_t>(c)], std::max(1, plan.usableWidth)));
        }
    }

    // Vertically: below the top margin, centred when the block of a full page is lower.
    p.rightLimit = paper.width - 2 * PrintMarginX;
    int top = paper.height - 2 * PrintMarginY;
    const int block = plan.rowsPerPage * printBands.row + printBands.header + printBands.title +
                      printBands.footer;
    if (block < top) top -= (top - block) / 2;
    p.top = top;
    p.pageNumberTop = top + PageNumberGap;
    p.titleBottom = p.top - printBands.title;
    p.headerBottom = p.titleBottom - printBands.header;
    p.rowsBottom = p.headerBottom - (p.endRow - p.firstRow) * printBands.row;
    p.footerBottom = p.rowsBottom - printBands.footer;
    CentreBlock(p, p.Used());
    return p;
}

} // namespace zor::grids
