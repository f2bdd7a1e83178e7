#include "charts/CBarChart.h"

#include "charts/ViewRegistry.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "core/Selection.h"

#include <algorithm>
#include <cmath>

namespace zor::charts {

using draw::DeviceContext;
using draw::Pen;

namespace {

// The zero line of a band whose base (the value min) is at `base`.
int ZeroLine(int base, int bandHeight, const AxisRange& a) {
    return base - TruncToInt(bandHeight * double(a.min) / (double(a.max) - a.min));
}

// Low bands get fewer ticks: a step giving 6 to 10 intervals is made 2 to 3.5 times coarser.
float CoarserStep(const AxisRange& a) {
    const double m = a.step;
    if (!(m > 0)) return a.step;
    const double ratio = (double(a.max) - a.min) / m;
    const int k = TruncToInt(ratio);
    if (!(ratio > 5) || k < 6 || k > 10) return a.step;
    const double factor = k == 7 ? 3.5 : (k == 8 || k == 10) ? 2 : 3;
    return static_cast<float>(m * factor);
}

// The band geometry when the groups do not fit in one row.
void LayoutBands(BarLayout& out, int periods, int rows, int width, int height) {
    const int gap = BarLayout::Gap;
    int& W = out.barWidth;
    W = rows < 22 ? 130 : 90;
    // At least one group per band, even when a single group is wider than the plot.
    const int perRow = std::max(1, (width / W + 1) / (rows + 1));
    out.bands = (periods + perRow - 1) / perRow;
    out.bandHeight = (height - (out.bands - 1) * gap) / out.bands;
    if (out.bandHeight >= BarLayout::MinBandHeight) {
        out.perBand = (periods + out.bands - 1) / out.bands;
        const int groupsWidth = out.perBand * (rows + 1) - 1;
        if (W < 170 && width >= groupsWidth * 170) W = 170;
        if (W < 130 && width >= groupsWidth * 130) W = 130;
    } else {
        // Bands this low leave no room for their axes (and reach zero height above about
        // twenty bands): fewer bands, each with more groups of narrower bars.
        out.bands = std::clamp((height + gap) / (BarLayout::MinBandHeight + gap), 1, periods);
        out.bandHeight = (height - (out.bands - 1) * gap) / out.bands;
        out.perBand = (periods + out.bands - 1) / out.bands;
        W = std::max(1, width / (out.perBand * (rows + 1) - 1));
    }
    out.pitch = width / out.perBand;
}

} // namespace

BarLayout LayoutBars(const BarLayoutInput& in) {
    BarLayout out;
    const int P = in.periods, R = in.rows;
    out.indicators.resize(in.axes.size());
    if (P < 1 || R < 1) return out;
    const int width = in.right - in.left;
    if (width < ((R + 1) * P - 1) * out.barWidth) {
        LayoutBands(out, P, R, width, in.top - in.bottom);
    } else {
        out.bandHeight = in.top - in.bottom;
        out.perBand = P;
        out.pitch = width / P;
    }
    const int W = out.barWidth;

    for (size_t i = 0; i < in.axes.size(); ++i) {
        const AxisRange& a = in.axes[i];
        BarLayout::Indicator& ind = out.indicators[i];
        ind.step = a.step;
        if (IsMissing(a.max) || !(a.max > a.min)) continue;
        if (out.bands > 2) ind.step = CoarserStep(a);
        int base = in.top - out.bandHeight;
        int zero = ZeroLine(base, out.bandHeight, a);
        int x = in.left;
        for (int k = 0; k < P; ++k) {
            if (k > 0 && k % out.perBand == 0) {
                base -= BarLayout::Gap + out.bandHeight;
                zero = ZeroLine(base, out.bandHeight, a);
                x = in.left;
            } else if (k > 0) {
                x = in.left + out.pitch * (k % out.perBand);
            }
            for (int r = 0; r < R; ++r, x += W) {
                const float v = in.value(k, static_cast<int>(i), r);
                if (IsMissing(v)) continue; // an empty slot; the others keep their places
                BarRecord bar;
                bar.series = r;
                bar.name = static_cast<size_t>(r) < in.rowNames.size()
                               ? in.rowNames[static_cast<size_t>(r)]
                               : std::string();
                bar.value = v;
                bar.left = x;
                bar.right = x + W;
                bar.bottom = zero;
                bar.top = base + TruncToInt(out.bandHeight * (double(v) - a.min) /
                                            (double(a.max) - a.min));
                ApplyMinimumHeight(bar, a.max, BarLayout::MinHeight);
                ind.bars.push_back(std::move(bar));
            }
        }

        BandAxesInput axes;
        axes.axes.SetPlotSize(in.right, in.top);
        axes.axes.SetPlotBottomTop(in.bottom, in.top);
        axes.axes.SetRanges(0, 1, a.min, a.max);
        axes.bands = out.bands;
        axes.bandHeight = out.bandHeight;
        axes.gap = BarLayout::Gap;
        axes.perBand = out.perBand;
        axes.barsPerGroup = R;
        axes.barWidth = W;
        axes.groupNames = in.periodNames;
        axes.groupNames.resize(static_cast<size_t>(P));
        ind.axes = LayoutBandAxes(axes);
    }
    return out;
}

const std::vector<MenuItem>& CBarChart::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdPrint), MenuCommand(CmdSpecial),
                                               MenuCommand(CmdQuit)};
    return menu;
}

CBarChart::CBarChart(const ViewContext& context)
    : CGraphView(context),
      table_(context.store, context.selection.SetCode(), context.selection.Indicators(),
             context.selection.Regions(), context.selection.Periods(), RowsSelected, true),
      titleFont_(ChartFont(280, 400, 0, context.resources.AxisFont.charset)) {
    // Exported bar charts are always coloured.
    SetPictureChoice(false);
    loadResult_ = table_.Load(context.progress);
}

draw::Point CBarChart::GetOrigin() const {
    return {axes_.OriginX(), axes_.OriginY()};
}
draw::Size CBarChart::GetExtent() const {
    return {axes_.ExtentX(), axes_.ExtentY()};
}

bool CBarChart::IsDataMissing() const {
    return IsMissing(table_.CurrentAxis(IndicatorIndex()).max);
}

void CBarChart::OnCreate() {
    AddIndicatorChoice(table_.Indicators(), IndicatorIndex(), 0);
}

void CBarChart::OnInitialUpdate() {
    CGraphView::OnInitialUpdate();
    ComputeLayout();
}

void CBarChart::ComputeLayout() {
    BarLayoutInput in;
    in.left = axes_.Left(), in.bottom = axes_.Bottom(), in.right = axes_.Right();
    in.top = axes_.Top();
    in.periods = static_cast<int>(table_.Periods().size());
    in.rows = table_.RowCount();
    for (int i = 0; i < static_cast<int>(table_.Indicators().size()); ++i)
        in.axes.push_back(table_.CurrentAxis(i));
    in.value = [this](int p, int i, int r) { return table_.Value(p, i, r); };
    std::vector<LegendEntry> entries;
    for (const std::string& label : table_.RowLabels()) {
        in.rowNames.push_back(Decode(label));
        entries.push_back({static_cast<int>(entries.size()), in.rowNames.back()});
    }
    for (const ListItem& p : table_.Periods()) in.periodNames.push_back(Decode(p.name));
    layout_ = LayoutBars(in);
    legend_ = LayoutLegend(LegendKey::Box, entries, axes_.Right(), axes_.Bottom(), axes_.Top());
    laidOut_ = true;
}

namespace {

const BarLayout::Indicator* CurrentOf(const BarLayout& layout, int index) {
    if (index < 0 || static_cast<size_t>(index) >= layout.indicators.size()) return nullptr;
    return &layout.indicators[static_cast<size_t>(index)];
}

} // namespace

int CBarChart::HitTest(draw::Point logical) {
    const BarLayout::Indicator* ind = laidOut_ ? CurrentOf(layout_, IndicatorIndex()) : nullptr;
    if (!ind) return -1;
    for (size_t b = 0; b < ind->bars.size(); ++b) {
        const BarRecord& bar = ind->bars[b];
        if (bar.left <= logical.x && logical.x <= bar.right && bar.bottom <= logical.y &&
            logical.y <= bar.top)
            return static_cast<int>(b);
    }
    return -1;
}

std::string CBarChart::GetTipText() {
    const BarLayout::Indicator* ind = laidOut_ ? CurrentOf(layout_, IndicatorIndex()) : nullptr;
    if (!ind || HoveredItem() < 0 || static_cast<size_t>(HoveredItem()) >= ind->bars.size())
        return {};
    const BarRecord& bar = ind->bars[static_cast<size_t>(HoveredItem())];
    return bar.name + ": " + FormatValue(bar.value);
}

std::string CBarChart::TitleText() const {
    const auto i = static_cast<size_t>(IndicatorIndex());
    return i < table_.Indicators().size() ? Decode(table_.Indicators()[i].name) : std::string();
}

void CBarChart::DrawChart(DeviceContext& dc, bool) const {
    const BarLayout::Indicator* ind = laidOut_ ? CurrentOf(layout_, IndicatorIndex()) : nullptr;
    if (!ind || IsMissing(table_.CurrentAxis(IndicatorIndex()).max) || ind->bars.empty()) return;
    draw::StateSaver saver(dc);
    SelectChartPalette(dc, res_);
    DrawBandAxes(dc, res_, ind->axes, ind->step);

    // Outlines of neighbouring bars overlap on screen and in metafiles; printers get them exact.
    const int widen = dc.IsPrinter() ? 0 : 10;
    dc.SetPen(Pen::Solid(0, draw::Black));
    for (const BarRecord& bar : ind->bars) {
        dc.SetBrush(res_.Brush(bar.series));
        dc.Rectangle({bar.left, bar.top, bar.right + widen, bar.bottom});
    }

    DrawLegend(dc, res_, legend_);

    dc.SetFont(titleFont_);
    DrawTitle(dc, LayoutTitle(dc, TitleText(), axes_.Left(), axes_.Right(), axes_.Top() + 50));
}

TextOverflow CBarChart::MeasureOverflow(const DeviceContext& dc) const {
    TextOverflow o;
    const BarLayout::Indicator* ind = laidOut_ ? CurrentOf(layout_, IndicatorIndex()) : nullptr;
    if (!ind || ind->bars.empty()) return o;
    const LogicalSpace s = SpaceOf(dc);
    o.left = -s.x - BandLabelsLeft(dc, res_, ind->axes, ind->step);
    o.right = LegendRight(dc, res_, legend_) - (s.cx - s.x);
    return o;
}

bool CBarChart::WriteData(JsonWriter& j) {
    const int i = IndicatorIndex();
    const BarLayout::Indicator* ind = laidOut_ ? CurrentOf(layout_, i) : nullptr;
    const AxisRange a = table_.CurrentAxis(i);
    j.BeginObject();
    j.Key("indicator").Int(table_.Indicators()[static_cast<size_t>(i)].code);
    j.Key("axis").BeginObject();
    j.Key("min").Float(a.min).Key("max").Float(a.max).Key("step").Float(ind ? ind->step : a.step);
    j.EndObject();
    j.Key("bands").Int(layout_.bands);
    j.Key("barWidth").Int(layout_.barWidth);
    j.Key("bars").BeginArray();
    if (ind) {
        // Bars are laid out period by period and row by row, skipping missing values.
        size_t b = 0;
        const int P = static_cast<int>(table_.Periods().size());
        for (int k = 0; k < P && b < ind->bars.size(); ++k)
            for (int r = 0; r < table_.RowCount() && b < ind->bars.size(); ++r) {
                if (IsMissing(table_.Value(k, i, r))) continue;
                const BarRecord& bar = ind->bars[b++];
                j.BeginObject();
                j.Key("period").Int(table_.Periods()[static_cast<size_t>(k)].code);
                j.Key("row").Int(r);
                j.Key("key").Int(table_.RowKeys()[static_cast<size_t>(r)]);
                j.Key("name").String(bar.name);
                j.Key("value").Float(bar.value);
                j.Key("rect").BeginArray();
                j.Int(bar.left).Int(bar.top).Int(bar.right).Int(bar.bottom);
                j.EndArray();
                j.EndObject();
            }
    }
    j.EndArray();
    j.EndObject();
    return true;
}

} // namespace zor::charts
