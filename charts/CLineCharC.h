// Line chart C: one selected time period at a time, the first 20 selected indicators along the
// x axis and a line per selected region, with an indicator key (codes and names) under the
// chart and the one-axis "Change scale" dialog with the logarithmic scale.
#pragma once

#include "charts/CGraphView.h"
#include "charts/ChartAxes.h"
#include "charts/ChartParts.h"
#include "charts/LineSeries.h"
#include "core/DataTable.h"

#include <string>
#include <vector>

namespace zor::charts {

struct MenuItem;

// One entry of the indicator key: its text (shortened to fit) and top-left corner, logical.
struct KeyEntry {
    std::string text;
    int x = 0, y = 0;
    bool operator==(const KeyEntry&) const = default;
};

// The indicator key under line chart C, in the axis font on `dc`: fewer than five entries on one
// line when they fit 8000 units (else 2000 apart), five and more in four columns 2000 wide;
// `lineHeight` is the text height the key's height was made for. Entries that do not fit their
// room are cut at the end and get "...".
std::vector<KeyEntry> LayoutIndicatorKey(const draw::DeviceContext& dc, const draw::Font& font,
                                         const std::vector<std::string>& texts, int originX,
                                         int lineHeight);

// `text` cut by one character more at a time, with "..." appended, until it is no wider than
// `limit` in `font` on `dc` (whole UTF-8 characters; the text itself when it fits).
std::string ShortenToFit(const draw::DeviceContext& dc, const draw::Font& font,
                         const std::string& text, int limit);

class CLineCharC : public CGraphView {
public:
    static constexpr int MaxIndicators = 20;

    explicit CLineCharC(const ViewContext& context);

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
    std::string ApplyRenderOption(const std::string& name, const std::string& value) override;
    bool Loaded() const override { return loadResult_ == 0; }

    const DataTable& Table() const { return table_; }
    const ChartAxes& Axes() const { return axes_; }
    // The indicators along the x axis: the first MaxIndicators selected.
    int IndicatorCount() const { return n_; }
    // The key's height and the text height it was made for (logical units).
    int KeyHeight() const { return keyHeight_; }
    int KeyLineHeight() const { return lineHeight_; }
    // One per selected region for the current period.
    const std::vector<LineSeries>& Series() const { return series_; }
    AxisRange YRange() const;
    AxisRange DefaultYRange() const;
    bool Logarithmic() const { return axes_.Logarithmic(); }
    // The key's entries as drawn on `dc`.
    std::vector<KeyEntry> KeyLayout(const draw::DeviceContext& dc) const;
    Legend LegendLayout() const;
    // The scale dialog's outcome for the current period.
    void ApplyScale(const AxisRange& y, bool logarithmic);
    // Where the zero line is drawn: at 0 when the range holds it (the transformed 0 of a
    // logarithmic scale with negative decades), else along the plot's edge nearer to 0.
    int ZeroLine() const;

protected:
    void OnCreate() override;
    void OnInitialUpdate() override;
    void OnPeriodChanged(int oldIndex) override;
    bool IsDataMissing() const override;

private:
    void BuildSeries();
    void UpdateAxes();
    std::string TitleText() const;
    std::string IndicatorName(int d) const;

    DataTable table_;
    ChartAxes axes_;
    draw::Font titleFont_;
    int loadResult_ = 0;
    int n_ = 0;
    int keyHeight_ = 0;
    int lineHeight_ = 150;
    std::vector<LineSeries> series_;
    std::vector<AxisRange> y_, yDefault_; // per period
    bool logarithmic_ = false;
    PointHit hit_;
};

} // namespace zor::charts
