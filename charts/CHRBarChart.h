// The horizontal ranked bar chart: every region of the chosen set (or sets) as a row, ranked by
// a value A (an indicator in a period) with the region names at the left and the highest at the
// top, optionally with a second, light-blue bar per region (another indicator and/or period).
// Selected regions are hatched and named in bold; values under "First Available" and "Last
// Available" show the year they come from. The window shows a page of rows and scrolls; the
// printout runs over as many pages as the rows need; the exported picture holds every row.
//
// The ranking and the x extents of the bars are laid out when the choice, the shown regions or
// the scale change; the rows' heights come from where they are drawn (the screen page, a printed
// page or the whole picture).
#pragma once

#include "charts/CGraphView.h"
#include "charts/ChartAxes.h"
#include "charts/RankedSelection.h"
#include "core/DataTable.h"

#include <optional>
#include <string>
#include <vector>

namespace zor::charts {

struct MenuItem;

// One region of the horizontal ranking.
struct RankedRow {
    std::string name; // UTF-8
    int row = 0;
    int selected = -1; // position of the row's region among the selected regions, -1 none
    float valueA = MissingValue, valueB = MissingValue;
    bool HasA() const { return !IsMissing(valueA); }
    bool HasB() const { return !IsMissing(valueB); }
    bool operator==(const RankedRow&) const = default;
};

// By value A, highest first (the exchange sort of the bar charts); then the rows without a value
// A, which follow, by value B.
void RankRows(std::vector<RankedRow>& rows);

// The x extent of a bar of `value` on a plot `width` wide showing [min, max]: from the zero line
// (the plot's left edge when the range is above 0) to the value, left <= right, at least
// `minWidth` wide (widened to the right; for a value below min to the left).
struct BarSpan {
    int left = 0, right = 0;
    bool operator==(const BarSpan&) const = default;
};
BarSpan SpanOfBar(float value, float min, float max, int width, int minWidth);
// The zero line's x on such a plot.
int ZeroOfSpan(float min, float max, int width);

struct HorizontalLayout {
    static constexpr int BarHeight = 100;
    static constexpr int Gap = 50;
    static constexpr int PlotWidth = 5500;
    static constexpr int OriginX = 2000;
    bool twoBars = false;
    bool twoDifferent = false; // two bars of different indicators: a legend instead of the title
    int titleArea = 200;
    int originY = 500;
    int fullTop = 5300; // the plot's top before it shrinks to its rows
    int plotTop = 5300; // the plot's top on the screen
    int pitch = 150;    // from one row to the next
    int visible = 0;    // rows a screen page shows
    float min = MissingValue, max = MissingValue, step = 0; // the scale drawn
    std::vector<RankedRow> entries;                         // in rank order
    bool yearsShown = false; // a pseudo period: years are written before the names
};

class CHRBarChart : public CGraphView {
public:
    static constexpr int PrintMargin = 50;       // 0.1 mm
    static constexpr int PrintLabelColumn = 600; // 0.1 mm

    // Builds the value table of every region of the set (axes through zero) and loads it; bar A
    // is the first indicator and period, bar B the last ones.
    explicit CHRBarChart(const ViewContext& context);

    static const std::vector<MenuItem>& FrameMenu();

    draw::Point GetOrigin() const override;
    void DrawChart(draw::DeviceContext& dc, bool blackAndWhite) const override;
    std::string GetTipText() override;
    std::string Subject() const override { return Title(); }
    int HitTest(draw::Point p) override;
    TextOverflow MeasureOverflow(const draw::DeviceContext& dc) const override;
    bool OnCommand(int id) override;
    CommandState QueryCommand(int id) const override;
    bool WriteData(JsonWriter& json) override;
    std::string ApplyRenderOption(const std::string& name, const std::string& value) override;
    bool Loaded() const override { return loadResult_ == 0; }

    // --- Scrolling
    std::optional<ViewScroll> VerticalScroll() const override;
    bool OnScroll(ScrollAction action, int thumb) override;
    std::optional<draw::Rect> ScrollRepaintArea() const override;
    int ScrollPosition() const { return scroll_; }

    // --- Printing: rows per page in 0.1 mm, every page with its header, axis and source line.
    int CountPages(draw::DeviceContext& dc, const draw::Rect& page) override;
    void PrintPage(draw::DeviceContext& dc, const draw::Rect& page, int pageIndex,
                   bool colorPrinter) override;
    void PreparePrintMapping(draw::DeviceContext& dc, const draw::Rect& page) const override;
    // Rows of a printed page of `heightMm` millimetres, and the pages of the printout.
    int RowsPerPrintedPage(double heightMm) const;
    int PrintedPages(double heightMm) const;

    // --- The exported picture: every row, not only the page shown.
    MetafileInfo GetMetafileInfo() const override;
    void DrawPicture(draw::DeviceContext& dc, const draw::Rect& bounds,
                     bool blackAndWhite) override;

    const DataTable& Table() const { return table_; }
    const HorizontalLayout& Layout() const { return layout_; }
    const RankedChoice& Choice() const { return choice_; }
    // The working scale (the Select dialog's or the user's); the layout draws its max brought
    // down to a step above the largest value shown.
    const AxisRange& Scale() const { return scale_; }
    const AxisRange& DefaultScale() const { return defaultScale_; }
    const std::vector<int>& Shown() const { return shown_; }
    // The bars of entry p where the screen shows them (none when it is not on the page or has
    // no such value), logical units.
    std::optional<draw::Rect> ScreenRectA(int p) const;
    std::optional<draw::Rect> ScreenRectB(int p) const;
    // The year a value of entry p comes from under "First/Last Available"; 0 otherwise.
    int YearA(int p) const;
    int YearB(int p) const;

    // What the dialogs' OK does.
    void ApplyChoice(const RankedChoice& choice);
    void SetShown(std::vector<int> shown);
    void SetScale(const AxisRange& scale);
    // Scrolls to the n-th screen page from the top (1-based) as n - 1 presses of Page Down
    // would; false when there are fewer pages.
    bool ShowPage(int n);

protected:
    bool IsDataMissing() const override;
    void OnInitialUpdate() override;
    void OnPeriodChanged(int oldIndex) override;
    void OnIndicatorChanged(int oldIndex) override;

private:
    // Where a run of rows is drawn: the top of the first one, the first entry and how many.
    struct RowFrame {
        int plotTop = 0;
        int plotWidth = HorizontalLayout::PlotWidth;
        int first = 0;
        int count = 0;
        int labelGap = 25; // from the plot's left edge to the labels
        bool printing = false;
    };
    struct Fonts {
        draw::Font label, highlight, title;
    };

    void ComputeLayout();
    RowFrame ScreenFrame() const;
    RowFrame PictureFrame() const;
    int PictureHeight() const;
    // The logical space of the exported picture (every row; widened for long names).
    LogicalSpace PictureSpace() const;
    draw::Rect RectA(const RowFrame& f, int p) const;
    draw::Rect RectB(const RowFrame& f, int p) const;
    int Year(int period, int indicator, int row) const;
    void DrawRows(draw::DeviceContext& dc, const RowFrame& f, const Fonts& fonts) const;
    void DrawFrame(draw::DeviceContext& dc, const RowFrame& f, const Fonts& fonts,
                   bool first) const;
    void DrawHeading(draw::DeviceContext& dc, const RowFrame& f, const Fonts& fonts, int extentX,
                     int originX, bool first) const;
    // The left end of the row labels of `f` (the label column's room is what is left of it).
    int LabelsLeft(const draw::DeviceContext& dc, const RowFrame& f, const Fonts& fonts) const;
    std::string Title() const;
    std::string IndicatorName(int i) const;
    std::string PeriodName(int p) const;
    int ReapplyRenderPage();

    DataTable table_;
    ChartAxes axes_;
    RankedChoice choice_;
    AxisRange scale_, defaultScale_;
    std::vector<int> shown_;
    HorizontalLayout layout_;
    int scroll_ = 0;
    int hoveredBar_ = 0; // 1: bar A, 2: bar B
    int loadResult_ = 0;
    bool laidOut_ = false;
    double printHeightMm_ = 297; // the paper of the last page count
    std::optional<int> renderPage_;
    Fonts screenFonts_;
    draw::Brush blue_ = draw::Brush::Solid(draw::Rgb(0, 128, 192));
    draw::Brush lightBlue_ = draw::Brush::Solid(draw::Rgb(204, 255, 255));
    draw::Brush hatch_ = draw::Brush::Hatched(draw::Hatch::DiagonalCross, draw::Black);
};

} // namespace zor::charts
