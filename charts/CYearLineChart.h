// The base of line charts A and B: lines over all years of the catalogue, one page at a time
// (A: an indicator with a line per selected region; B: a region with a line per selected
// indicator), with the 3-year average, the logarithmic scale, trend lines from a clicked year and
// the two-axis "Change scale" dialog.
//
// Series, ranges and their defaults are made at construction; the view keeps the axes of the
// current page set up, so drawing only reads them.
#pragma once

#include "charts/CGraphView.h"
#include "charts/ChartAxes.h"
#include "charts/ChartParts.h"
#include "charts/LineSeries.h"
#include "core/DataTable.h"

#include <optional>
#include <string>
#include <vector>

namespace zor::charts {

class CYearLineChart : public CGraphView {
public:
    // How the lines of a page are drawn, in drawing order.
    struct SeriesPaint {
        int series = 0;
        draw::Pen line;  // the line's pen
        draw::Pen trend; // the trend line's pen
        int marker = -1; // marker colour and shape; -1: no markers
        int legend = -1; // colour index in the legend; -1: not listed
    };

    draw::Point GetOrigin() const override;
    draw::Size GetExtent() const override;
    void DrawChart(draw::DeviceContext& dc, bool blackAndWhite) const override;
    std::string GetTipText() override;
    int HitTest(draw::Point logical) override;
    TextOverflow MeasureOverflow(const draw::DeviceContext& dc) const override;
    bool OnCommand(int id) override;
    CommandState QueryCommand(int id) const override;
    bool WriteData(JsonWriter& json) override;
    std::string ApplyRenderOption(const std::string& name, const std::string& value) override;
    bool Loaded() const override { return loadResult_ == 0; }

    const DataTable& Table() const { return table_; }
    const ChartAxes& Axes() const { return axes_; }
    int PageCount() const;
    // The current page: the indicator (A) or the region (B).
    int Page() const;
    // The series of the current page (averaged when the 3-year average is on).
    const std::vector<LineSeries>& Series() const;
    // The page's x and y ranges (with their steps) as shown, and their defaults.
    AxisRange XRange() const;
    AxisRange YRange() const;
    AxisRange DefaultXRange() const;
    AxisRange DefaultYRange() const;
    bool Average() const { return average_; }
    bool Logarithmic() const { return axes_.Logarithmic(); }
    bool TrendShown() const { return trendShown_; }
    float TrendYear() const { return trendYear_; }
    // One per series of the current page, while trend lines are shown.
    const std::vector<TrendLine>& Trends() const { return trends_; }
    // The catalogue years the lines span.
    const std::vector<int>& Years() const { return years_; }

    // --- What the menu and the mouse do (also for tests and zorexport)
    // "Use 3-year average ": rebuilds every series from the averages or back from the values.
    void ToggleAverage();
    // Trend lines from a year, as a click at that year: off when the year is not before the last
    // year of the page's lines, else one least-squares line per series from that year on.
    void TrendFrom(float year);
    // The scale's outcome: the page's ranges and the logarithmic choice (trend lines off).
    void ApplyScale(const AxisRange& x, const AxisRange& y, bool logarithmic);

protected:
    // `byIndicator`: pages are indicators and series regions (A); else the other way round (B).
    CYearLineChart(const ViewContext& context, bool byIndicator);

    bool IsDataMissing() const override;
    void OnMouseButton(MouseButton button, MouseAction action, draw::Point logical) override;
    // The page changed (a popup): trend lines off, decades for the new page.
    void PageChanged();

    // The name of series s (region or indicator), UTF-8.
    std::string SeriesName(int s) const;
    // The order and pens of the lines; the base: every series from the last to the first in its
    // own colour.
    virtual std::vector<SeriesPaint> PaintOrder() const;
    // The legend of the page.
    virtual Legend LayoutPageLegend() const = 0;
    // The title over the plot.
    virtual void DrawPageTitle(draw::DeviceContext& dc) const = 0;
    // How far the title reaches above the logical window.
    virtual int TitleTop(const draw::DeviceContext& dc) const = 0;
    // Whether series s is highlighted (A with highlighting); the base: none.
    virtual bool SeriesHighlighted(int s) const;

    DataTable table_;
    ChartAxes axes_;
    draw::Font titleFont_;

private:
    // The values of series s of page p by period.
    std::vector<float> Values(int page, int s) const;
    void BuildSeries();
    void UpdateAxes();
    void RunScaleDialog();
    void ReapplyRenderTrend();

    bool byIndicator_;
    int loadResult_ = 0;
    std::vector<int> years_;
    std::vector<float> yearsF_;
    std::vector<std::vector<LineSeries>> series_; // [page][series]
    std::vector<AxisRange> x_, xDefault_, y_, yDefault_;
    bool average_ = false;
    bool logarithmic_ = false;
    bool trendShown_ = false;
    float trendYear_ = 0;
    std::vector<TrendLine> trends_;
    PointHit hit_;
    std::optional<float> renderTrend_; // --trend-from, kept over the other render options
};

} // namespace zor::charts
