// The histogram: the distribution of one indicator in one time period over all regions of the
// set(s). Every region with a value is a box one unit high, stacked in the column of its value
// class, so a column is as high as the number of regions in it; the selected regions are filled
// in their colours and listed in a legend. The number of columns (3 to 15, 7 at first) is chosen
// per indicator ("Scale"), and the column width is fitted so that that many columns of a round
// width cover the indicator's values in every time period.
//
// The column fit and the boxes are numbers computed by the free functions below; drawing reads
// them.
#pragma once

#include "charts/CGraphView.h"
#include "charts/ChartAxes.h"
#include "charts/ChartParts.h"
#include "core/DataTable.h"

#include <string>
#include <vector>

namespace zor::charts {

struct MenuItem;

// The fitted columns of one indicator: they start at `origin` and are `width` wide; `top` ends
// the axis (origin + columns x width, or a little more when the last step widened them).
struct ColumnFit {
    float origin = 0, top = 0, width = 0;
    int retries = 0;   // fits started again from the data's top (the written step 6)
    int widenings = 0; // steps of the last widening (the written step 8), 0 when not needed
};
// Fits `columns` columns of a round width to the values lo .. hi (the smallest and largest value
// of the indicator over all periods and rows) starting from the table's axis. Arithmetic is in
// single precision as the columns are decided in it. An axis without values is returned as it
// is. The retries are bounded (MaxColumnRetries; the last fit is kept) and the width never
// falls to 0.
ColumnFit FitColumns(const AxisRange& axis, float lo, float hi, int columns);
inline constexpr int MaxColumnRetries = 20;

// One region's box in logical units (top > bottom).
struct HistBox {
    int row = 0;        // of the value table
    int highlight = -1; // position of the row's region in the selection's regions, -1: none
    std::string name;   // UTF-8
    float value = MissingValue;
    int left = 0, top = 0, right = 0, bottom = 0;
    int column = 0; // 0 is the leftmost
    bool operator==(const HistBox&) const = default;
};

struct HistLayout {
    int columns = 0;
    float yMax = 0, yStep = 0;  // the vertical scale: 0 .. yMax region counts
    std::vector<HistBox> boxes; // largest value first; only regions with a value
    std::vector<int> counts;    // regions per column, leftmost first
};

// The boxes of the rows (value, name, highlight per row) on the plot: sorted largest first by
// the exchange sort, then binned from the top column down (a value on a column limit belongs to
// the higher column; values outside the fitted range stay in the outer columns), stacked, and
// scaled to the plot's height by NiceScale over the largest count.
struct HistRows {
    std::vector<float> values;
    std::vector<std::string> names;
    std::vector<int> highlights;
};
HistLayout LayoutBoxes(const HistRows& rows, const ColumnFit& fit, int columns, int left,
                       int bottom, int right, int top);

class CHist : public CGraphView {
public:
    // Builds the value table from the selection (all regions of the set(s), axes as the values
    // give them), loads it and fits the columns of every indicator.
    explicit CHist(const ViewContext& context);

    static const std::vector<MenuItem>& FrameMenu();

    draw::Point GetOrigin() const override;
    draw::Size GetExtent() const override;
    void DrawChart(draw::DeviceContext& dc, bool blackAndWhite) const override;
    std::string GetTipText() override;
    int HitTest(draw::Point logical) override;
    TextOverflow MeasureOverflow(const draw::DeviceContext& dc) const override;

    bool OnCommand(int id) override;
    CommandState QueryCommand(int id) const override;
    bool WriteData(JsonWriter& json) override;
    // The current indicator and period, as the title says.
    std::string Subject() const override { return TitleText(); }
    std::string ApplyRenderOption(const std::string& name, const std::string& value) override;
    bool Loaded() const override { return loadResult_ == 0; }

    const DataTable& Table() const { return table_; }
    const ChartAxes& Axes() const { return axes_; }
    const HistLayout& Layout() const { return layout_; }
    const Legend& LegendLayout() const { return legend_; }
    // The column count and fit of an indicator.
    int Columns(int indicator) const;
    ColumnFit Fit(int indicator) const;

    // Sets the current indicator's column count (brought into 3 .. 15) as the dialog does:
    // the table's first axis again, fitted anew, the boxes rebuilt.
    void SetColumns(int columns);

protected:
    bool IsDataMissing() const override;
    void OnCreate() override;
    void OnInitialUpdate() override;
    void OnPeriodChanged(int oldIndex) override;
    void OnIndicatorChanged(int oldIndex) override;

private:
    void FitIndicator(int indicator);
    void RebuildBoxes();
    std::string TitleText() const;

    DataTable table_;
    ChartAxes axes_;
    int loadResult_ = 0;
    std::vector<int> columns_;    // per indicator
    std::vector<ColumnFit> fits_; // per indicator
    std::vector<int> highlights_; // per row
    HistLayout layout_;
    Legend legend_;
    draw::Font titleFont_;
};

} // namespace zor::charts
