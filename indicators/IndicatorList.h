// The printed indicator list: the lines of the chosen groups (headings, indicators and, when all
// indicators are wanted, their sub-indicators, with a blank line between groups), the page
// layout in as many columns as fit, the pagination, the printing of a page in 0.1 mm, and the
// same list as HTML and as tab-separated text.
//
// Page coordinates are 0.1 mm with y up: (0, 0) is the top-left corner of the printable area,
// so the lines go down to negative y.
#pragma once

#include "core/Catalogue.h"
#include "draw/DeviceContext.h"
#include "grids/GridPrint.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor {
class JsonWriter;
}

namespace zor::indicators {

enum class ListLevel : int {
    Separator = 0,    // the blank line before every group but the first
    Heading = 1,      // a group: code = the group id
    Indicator = 2,    // a main indicator
    SubIndicator = 3, // a variant
};

struct ListLine {
    ListLevel level = ListLevel::Separator;
    int code = -1;    // -1 for a separator
    std::string name; // single-byte text of the charset; empty for a separator
};

// Layout values (0.1 mm).
inline constexpr int ListMarginX = 10;
inline constexpr int ListMarginY = 40;
inline constexpr int ListColumnGap = 10;
inline constexpr int ListSubIndent = 40; // sub-indicators are this much further right
inline constexpr int ListFontHeight = 40;
// String id of the HTML export's document title ("Indicators").
inline constexpr int ListTitleTextId = 1200;

// The groups the list offers: positions in `groups` of the groups 0..9, in catalogue order, up
// to the first group with a larger id.
std::vector<int> ListedGroups(const std::vector<IndicatorGroup>& groups);

// The lines of the chosen groups (positions in `groups`, in the order given; their indicators
// must be read already): per group a separator (not before the first), the heading and the
// indicators, each followed by its variants when `all`.
std::vector<ListLine> BuildListLines(const std::vector<IndicatorGroup>& groups,
                                     const std::vector<int>& chosen, bool all);

// What a line prints: "%2.2d %s" for a heading, "%4.4d %s" for an indicator or variant, ""
// for a separator (single-byte text).
std::string LineLabel(const ListLine& line);

// "Arial" 4 mm, normal or bold, in the configured charset.
draw::Font ListFont(bool bold, int charset);

// Measured once per list: the normal font's line height and the widest line (headings bold,
// sub-indicators 40 wider).
struct ListMeasure {
    int lineHeight = 0;
    int maxWidth = 0;
};
// Measures on `dc` (not changed) in 0.1 mm.
ListMeasure MeasureList(const draw::DeviceContext& dc, const std::vector<ListLine>& lines,
                        int charset);

// The lines of one page, [first, last] as indices into the line list, in print order.
struct ListPage {
    int first = 0;
    int last = -1;
};

// Pages of `linesPerPage` lines each, one after the other: every line is on exactly one page,
// except that a separator on which a page would begin is dropped there (the page break already
// separates the groups), so no page begins with one.
std::vector<ListPage> PaginateList(const std::vector<ListLine>& lines, int linesPerPage);

struct ListLayout {
    int width = 0;  // W: paper width less the two side margins
    int height = 0; // Hh: paper height less the top and bottom margins
    int maxWidth = 0;
    int lineHeight = 1;
    int columns = 1;        // (W - 10) / (maxW + 10), at least 1
    int linesPerColumn = 1; // Hh / line height, at least 1
    int linesPerPage = 1;
    int offset = 0;       // centres the columns vertically
    int firstColumnX = 0; // x0: centres the columns horizontally
    std::vector<ListPage> pages;

    int PageCount() const { return static_cast<int>(pages.size()); }
    int ColumnX(int column) const { return firstColumnX + column * (maxWidth + ListColumnGap); }
};
ListLayout LayoutList(const ListMeasure& measure, const std::vector<ListLine>& lines,
                      const grids::Paper& paper);

// A list to print: measures at its first page count and lays out again for every paper.
class IndicatorListPrint {
public:
    // `pageText` is the "Page %d" template (UTF-8).
    IndicatorListPrint(std::vector<ListLine> lines, int charset, std::string pageText);

    const std::vector<ListLine>& Lines() const { return lines_; }
    // The page count on a device with a page of `page` pixels.
    int CountPages(const draw::DeviceContext& dc, const draw::Rect& page);
    const ListLayout& Layout() const { return layout_; }
    // Page `index` (0-based) onto a printer context; the page is in device pixels.
    void PrintPage(draw::DeviceContext& dc, const draw::Rect& page, int index);

private:
    std::vector<ListLine> lines_;
    int charset_ = 0;
    std::string pageText_;
    std::optional<ListMeasure> measure_;
    grids::Paper paper_{0, 0};
    ListLayout layout_;
};

// The export file of the list: HTML with the list's templates (names escaped), declaring
// `codePage`, titled `title` (single-byte text); and the tab-separated text. Both with "\r\n"
// line ends, as written in text mode.
std::string ExportListHtml(const std::vector<ListLine>& lines, int codePage,
                           std::string_view title);
std::string ExportListText(const std::vector<ListLine>& lines);

// The Windows code page the HTML export declares for a charset (1252 when it has none).
int ListCodePage(int charset);
// The export file for a chosen file name: HTML for ".html", text for ".txt" (any case); none for
// any other extension (nothing is written then).
std::optional<std::string> ExportListFor(std::string_view path, const std::vector<ListLine>& lines,
                                         int charset, std::string_view title);

// {"lines": [{"level", "code", "text"}], "pages": [[first, last]]} with names in UTF-8.
void WriteListJson(JsonWriter& json, const std::vector<ListLine>& lines, const ListLayout& layout,
                   int charset);

} // namespace zor::indicators
