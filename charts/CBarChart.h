// The bar chart: one indicator at a time as grouped vertical bars, one group per time period
// and one bar per region inside it, coloured by the region's position, with a legend of the
// regions, a value axis with a dotted grid and the indicator's name as title. When the bars do
// not fit in one row the groups are spread over stacked bands, each with its own value axis.
//
// The layout of every indicator's bars is computed once (LayoutBars, numbers only); drawing and
// hit tests read it.
#pragma once

#include "charts/CGraphView.h"
#include "charts/ChartAxes.h"
#include "core/DataTable.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zor {
class Selection;
}

namespace zor::charts {

struct BarLayoutInput {
    // The plot, logical units.
    int left = 0, bottom = 0, right = 5750, top = 5000;
    int periods = 0;             // P
    int rows = 0;                // R, the selected regions
    std::vector<AxisRange> axes; // per indicator: the range with zero and its tick step
    // Value of [period][indicator][row]; MissingValue for none.
    std::function<float(int period, int indicator, int row)> value;
    std::vector<std::string> rowNames; // UTF-8
};

struct BarLayout {
    static constexpr int Gap = 250;      // between bands
    static constexpr int MinHeight = 20; // of a drawn bar
    int barWidth = 170;                  // W
    int bands = 1;
    int bandHeight = 0;
    int perBand = 0; // groups in a band
    int pitch = 0;   // from one group's start to the next
    struct Indicator {
        float step = 0; // the value axis' step (coarser in low bands)
        std::vector<BarRecord> bars;
    };
    std::vector<Indicator> indicators;
};

// The band geometry and every bar. An indicator without values (max missing) or with an empty
// range gets no bars; a missing value leaves its slot empty.
BarLayout LayoutBars(const BarLayoutInput& in);

// Where the title goes: the box (y up: top > bottom) and the word-wrap width used.
struct TitleBox {
    draw::Rect box;
    bool wrapped = false;
};
// The title box of a name in the selected font over the plot (left..right) with its bottom at
// `bottom`: one line as wide as the text, or, for a name wider than the plot, two lines in the
// narrowest multiple of 500 units that holds it in two lines.
TitleBox LayoutTitle(const draw::DeviceContext& dc, const std::string& text, int left, int right,
                     int bottom);

class CBarChart : public CGraphView {
public:
    // Builds the value table from the selection (selected regions only, axes through zero) and
    // loads it.
    CBarChart(DataStore& store, const ChartResources& resources, const Selection& selection,
              LoadProgress* progress = nullptr);

    void GetOrigin(int& x, int& y) const override;
    void GetExtent(int& cx, int& cy) const override;
    void DrawChart(draw::DeviceContext& dc, bool blackAndWhite) override;
    void GetTipText(std::string& text) override;
    int HitTest(draw::Point logical) override;
    bool IsDataMissing() const override;
    void OnCreate() override;
    void OnInitialUpdate() override;

    const DataTable& Table() const { return table_; }
    // What the table's Load returned: 0, or -1 when it could not be loaded.
    int LoadResult() const { return loadResult_; }
    const ChartAxes& Axes() const { return axes_; }
    const BarLayout& Layout() const { return layout_; }
    // The layout step of the initial update (also usable without a window).
    void ComputeLayout();

    static constexpr int ResourceId = 25003;

private:
    void DrawBandAxes(draw::DeviceContext& dc, const AxisRange& axis, float step, int groups,
                      int firstGroup, int groupPitch);

    DataTable table_;
    ChartAxes axes_;
    BarLayout layout_;
    int loadResult_ = 0;
    bool laidOut_ = false;
    draw::Font titleFont_;
};

} // namespace zor::charts
