// The bar chart: one indicator at a time as grouped vertical bars, one group per time period
// and one bar per region inside it, coloured by the region's position, with a legend of the
// regions, a value axis with a dotted grid and the indicator's name as title. When the bars do
// not fit in one row the groups are spread over stacked bands, each with its own value axis.
//
// The layout of every indicator's bars and band axes is computed once (LayoutBars, numbers
// only); drawing and hit tests read it.
#pragma once

#include "charts/CGraphView.h"
#include "charts/ChartAxes.h"
#include "charts/ChartParts.h"
#include "core/DataTable.h"

#include <functional>
#include <string>
#include <vector>

namespace zor::charts {

struct MenuItem;

struct BarLayoutInput {
    // The plot, logical units.
    int left = 0, bottom = 0, right = 5750, top = 5000;
    int periods = 0;             // P
    int rows = 0;                // R, the selected regions
    std::vector<AxisRange> axes; // per indicator: the range with zero and its tick step
    // Value of [period][indicator][row]; MissingValue for none.
    std::function<float(int period, int indicator, int row)> value;
    std::vector<std::string> rowNames;    // UTF-8
    std::vector<std::string> periodNames; // UTF-8, for the band labels
};

struct BarLayout {
    static constexpr int Gap = 250;           // between bands
    static constexpr int MinHeight = 20;      // of a drawn bar
    static constexpr int MinBandHeight = 250; // room for a band's value axis
    int barWidth = 170;                       // W
    int bands = 1;
    int bandHeight = 0;
    int perBand = 0; // groups in a band
    int pitch = 0;   // from one group's start to the next
    struct Indicator {
        float step = 0; // the value axis' step (coarser in low bands)
        std::vector<BarRecord> bars;
        std::vector<BandAxis> axes; // one per band, from the top down; none without bars
    };
    std::vector<Indicator> indicators;
};

// The band geometry, every bar and the band axes. An indicator without values (max missing) or
// with an empty range gets no bars; a missing value leaves its slot empty. When the written
// band rule would make bands lower than MinBandHeight (more than about 20 bands), there are as
// many bands as keep that height, with more and narrower bars in each.
BarLayout LayoutBars(const BarLayoutInput& in);

class CBarChart : public CGraphView {
public:
    // Builds the value table from the selection (selected regions only, axes through zero) and
    // loads it.
    explicit CBarChart(const ViewContext& context);

    static const std::vector<MenuItem>& FrameMenu();

    draw::Point GetOrigin() const override;
    draw::Size GetExtent() const override;
    void DrawChart(draw::DeviceContext& dc, bool blackAndWhite) const override;
    std::string GetTipText() override;
    int HitTest(draw::Point logical) override;
    TextOverflow MeasureOverflow(const draw::DeviceContext& dc) const override;
    bool WriteData(JsonWriter& json) override;
    // The current indicator's name.
    bool Loaded() const override { return loadResult_ == 0; }

    const DataTable& Table() const { return table_; }
    // What the table's Load returned: 0, or -1 when it could not be loaded.
    int LoadResult() const { return loadResult_; }
    const ChartAxes& Axes() const { return axes_; }
    const BarLayout& Layout() const { return layout_; }
    const Legend& LegendLayout() const { return legend_; }

protected:
    bool IsDataMissing() const override;
    void OnCreate() override;
    void OnInitialUpdate() override;

private:
    void ComputeLayout();
    std::string TitleText() const;

    DataTable table_;
    ChartAxes axes_;
    BarLayout layout_;
    Legend legend_;
    int loadResult_ = 0;
    bool laidOut_ = false;
    draw::Font titleFont_;
};

} // namespace zor::charts
