// The vertical ranked bar chart: every region of the chosen set (or sets) ranked by the current
// indicator in the current time period, one column per region with the highest at the left,
// filling the plot's width. The selected regions (and the set's total, always) are coloured and
// listed in the legend, the others white; more than 80 regions are drawn as a white profile with
// coloured lines for the highlighted ones.
#pragma once

#include "charts/CGraphView.h"
#include "charts/ChartAxes.h"
#include "charts/ChartParts.h"
#include "core/DataTable.h"

#include <string>
#include <vector>

namespace zor::charts {

struct MenuItem;

// Regions that are not highlighted have this series index (drawn white, not in the legend).
inline constexpr int NotHighlighted = 255;

struct RankingInput {
    int left = 0, bottom = 0, right = 5750, top = 5000; // the plot
    AxisRange axis;                 // the indicator's range as shown (the user's scale)
    std::vector<float> values;      // per row, MissingValue for none
    std::vector<int> shown;         // per row: 1 shown, 0 left out ("Regions")
    std::vector<int> series;        // per row: legend position or NotHighlighted
    std::vector<std::string> names; // per row, UTF-8
};

struct RankedBar {
    BarRecord bar;
    int row = 0;
    bool operator==(const RankedBar&) const = default;
};

struct RankingLayout {
    static constexpr int MinHeight = 20;
    static constexpr int MaxBars = 80; // more are drawn as the outline
    int zero = 0;                      // y of the zero line
    std::vector<RankedBar> bars;       // in rank order, highest first
};

// The ranking of the present, shown values within the range (edges included; others are left
// out, not clipped), highest first by the exchange sort, the bars filling the plot's width
// without gaps, at least MinHeight high. Nothing for an empty or missing range.
RankingLayout LayoutRanking(const RankingInput& in);

// The outline of a ranking of more than MaxBars bars: from the zero line at the left up to the
// first bar, through the far end of each bar at its centre, to the last bar's right edge and
// back down to the zero line.
std::vector<draw::Point> RankingOutline(const RankingLayout& layout, int left);

class CRBarChart : public CGraphView {
public:
    // Builds the value table of every region of the set (axes through zero) and loads it; the
    // set's total joins the selected regions when it is not among them.
    explicit CRBarChart(const ViewContext& context);

    static const std::vector<MenuItem>& FrameMenu();

    draw::Point GetOrigin() const override;
    draw::Size GetExtent() const override;
    void DrawChart(draw::DeviceContext& dc, bool blackAndWhite) const override;
    std::string GetTipText() override;
    int HitTest(draw::Point p) override;
    TextOverflow MeasureOverflow(const draw::DeviceContext& dc) const override;
    ViewCursor Cursor() const override { return ViewCursor::Cross; }
    bool OnCommand(int id) override;
    CommandState QueryCommand(int id) const override;
    bool WriteData(JsonWriter& json) override;
    bool Loaded() const override { return loadResult_ == 0; }

    const DataTable& Table() const { return table_; }
    const ChartAxes& Axes() const { return axes_; }
    const RankingLayout& Layout() const { return layout_; }
    const Legend& LegendLayout() const { return legend_; }
    // The highlighted regions: the selected ones, then the total when it was not selected.
    const std::vector<ListItem>& Highlighted() const { return highlighted_; }
    // One flag per row (1 = shown), as the "Regions" dialog edits them.
    const std::vector<int>& Shown() const { return shown_; }
    void SetShown(std::vector<int> shown);
    // The scale dialog's outcome for the current indicator.
    void SetScale(const AxisRange& range);

protected:
    bool IsDataMissing() const override;
    void OnCreate() override;
    void OnInitialUpdate() override;
    void OnPeriodChanged(int oldIndex) override;
    void OnIndicatorChanged(int oldIndex) override;

private:
    void ComputeLayout();
    std::string TitleText() const;
    std::string PeriodText() const;

    DataTable table_;
    ChartAxes axes_;
    std::vector<ListItem> highlighted_;
    std::vector<int> rowSeries_; // per row: position in highlighted_ or NotHighlighted
    std::vector<int> shown_;
    RankingLayout layout_;
    Legend legend_;
    int loadResult_ = 0;
    bool laidOut_ = false;
    draw::Font titleFont_;
};

} // namespace zor::charts
