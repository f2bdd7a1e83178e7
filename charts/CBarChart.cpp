#include "charts/CBarChart.h"

#include "core/Numeric.h"
#include "core/Selection.h"

#include <algorithm>
#include <cmath>

namespace zor::charts {

using draw::DeviceContext;
using draw::Pen;

namespace {

int Trunc(double v) {
    return int(v);
}

// The zero line of a band whose base (the value min) is at `base`.
int ZeroLine(int base, int bandHeight, const AxisRange& a) {
    return base - Trunc(bandHeight * double(a.min) / (double(a.max) - a.min));
}

// Low bands get fewer ticks: a step giving 6 to 10 intervals is made 2 to 3.5 times coarser.
float CoarserStep(const AxisRange& a) {
    const double m = a.step;
    if (!(m > 0)) return a.step;
    const double ratio = (double(a.max) - a.min) / m;
    const int k = Trunc(ratio);
    if (!(ratio > 5) || k < 6 || k > 10) return a.step;
    const double factor = k == 7 ? 3.5 : (k == 8 || k == 10) ? 2 : 3;
    return float(m * factor);
}

// Every bar is drawn at least MinHeight high: negative bars downward from the zero line,
// zero bars upward when the range has positive values and downward otherwise.
void ApplyMinimumHeight(BarRecord& bar, const AxisRange& a) {
    constexpr int h = BarLayout::MinHeight;
    if (bar.value < 0) {
        std::swap(bar.top, bar.bottom);
        if (bar.top - bar.bottom < h) bar.bottom = bar.top - h;
    } else if (bar.value > 0) {
        if (bar.top - bar.bottom < h) bar.top = bar.bottom + h;
    } else if (a.max > 0) {
        bar.top = bar.bottom + h;
    } else {
        bar.bottom = bar.top - h;
    }
}

} // namespace

BarLayout LayoutBars(const BarLayoutInput& in) {
    BarLayout out;
    const int P = in.periods, R = in.rows;
    out.indicators.resize(in.axes.size());
    if (P < 1 || R < 1) return out;
    const int width = in.right - in.left;
    const int gap = BarLayout::Gap;
    int& W = out.barWidth;
    if (width < ((R + 1) * P - 1) * W) {
        W = R < 22 ? 130 : 90;
        // At least one group per band, even when a single group is wider than the plot.
        const int perRow = std::max(1, (width / W + 1) / (R + 1));
        out.bands = (P + perRow - 1) / perRow;
        out.bandHeight = (in.top - in.bottom - (out.bands - 1) * gap) / out.bands;
        out.perBand = (P + out.bands - 1) / out.bands;
        const int groupsWidth = out.perBand * (R + 1) - 1;
        if (W < 170 && width >= groupsWidth * 170) W = 170;
        if (W < 130 && width >= groupsWidth * 130) W = 130;
        out.pitch = width / out.perBand;
    } else {
        out.bandHeight = in.top - in.bottom;
        out.perBand = P;
        out.pitch = width / P;
    }

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
                base -= gap + out.bandHeight;
                zero = ZeroLine(base, out.bandHeight, a);
                x = in.left;
            } else if (k > 0) {
                x = in.left + out.pitch * (k % out.perBand);
            }
            for (int r = 0; r < R; ++r, x += W) {
                const float v = in.value(k, int(i), r);
                if (IsMissing(v)) continue; // an empty slot; the others keep their places
                BarRecord bar;
                bar.series = r;
                bar.name = size_t(r) < in.rowNames.size() ? in.rowNames[size_t(r)] : std::string();
                bar.value = v;
                bar.left = x;
                bar.right = x + W;
                bar.bottom = zero;
                bar.top =
                    base + Trunc(out.bandHeight * (double(v) - a.min) / (double(a.max) - a.min));
                ApplyMinimumHeight(bar, a);
                ind.bars.push_back(std::move(bar));
            }
        }
    }
    return out;
}

TitleBox LayoutTitle(const DeviceContext& dc, const std::string& text, int left, int right,
                     int bottom) {
    const draw::Size one = dc.TextExtent(text);
    int width = one.cx, height = one.cy;
    bool wrapped = false;
    if (one.cx > right - left) {
        wrapped = true;
        height = 2 * one.cy;
        // The widths stop at the one-line width, where the name fits on one line.
        for (width = 500;; width += 500) {
            const auto layout = dc.LayoutTextBox(text, {0, height, width, 0}, draw::dt::WordBreak);
            if (layout.height <= height || width >= one.cx) break;
        }
    }
    const int boxLeft = (left + right) / 2 - width / 2;
    return {{boxLeft, bottom + height, boxLeft + width, bottom}, wrapped};
}

CBarChart::CBarChart(DataStore& store, const ChartResources& resources, const Selection& selection,
                     LoadProgress* progress)
    : CGraphView(store, resources),
      table_(store, selection.SetCode(), selection.Indicators(), selection.Regions(),
             selection.Periods(), RowsSelected, true),
      titleFont_(ChartFont(280, 400, 0, resources.AxisFont.charset)) {
    // Exported bar charts are always coloured.
    SetPictureChoice(false);
    loadResult_ = table_.Load(progress);
}

void CBarChart::GetOrigin(int& x, int& y) const {
    x = axes_.OriginX(), y = axes_.OriginY();
}
void CBarChart::GetExtent(int& cx, int& cy) const {
    cx = axes_.ExtentX(), cy = axes_.ExtentY();
}

bool CBarChart::IsDataMissing() const {
    return IsMissing(table_.CurrentAxis(IndicatorIndex()).max);
}

void CBarChart::OnCreate() {
    if (table_.Indicators().size() > 1) AddIndicatorMenu(table_.Indicators(), IndicatorIndex(), 0);
}

void CBarChart::OnInitialUpdate() {
    CGraphView::OnInitialUpdate();
    ComputeLayout();
}

void CBarChart::ComputeLayout() {
    BarLayoutInput in;
    in.left = axes_.Left(), in.bottom = axes_.Bottom(), in.right = axes_.Right();
    in.top = axes_.Top();
    in.periods = int(table_.Periods().size());
    in.rows = table_.RowCount();
    for (int i = 0; i < int(table_.Indicators().size()); ++i)
        in.axes.push_back(table_.CurrentAxis(i));
    in.value = [this](int p, int i, int r) { return table_.Value(p, i, r); };
    for (const std::string& label : table_.RowLabels()) in.rowNames.push_back(Decode(label));
    layout_ = LayoutBars(in);
    laidOut_ = true;
}

int CBarChart::HitTest(draw::Point p) {
    if (!laidOut_) return -1;
    const auto i = size_t(IndicatorIndex());
    if (i >= layout_.indicators.size()) return -1;
    const auto& bars = layout_.indicators[i].bars;
    for (size_t b = 0; b < bars.size(); ++b)
        if (bars[b].left <= p.x && p.x <= bars[b].right && bars[b].bottom <= p.y &&
            p.y <= bars[b].top)
            return int(b);
    return -1;
}

void CBarChart::GetTipText(std::string& text) {
    const auto i = size_t(IndicatorIndex());
    if (!laidOut_ || i >= layout_.indicators.size() || HoveredItem() < 0) return;
    const auto& bars = layout_.indicators[i].bars;
    if (size_t(HoveredItem()) >= bars.size()) return;
    const BarRecord& bar = bars[size_t(HoveredItem())];
    text = bar.name + ": " + FormatValue(bar.value);
}

void CBarChart::DrawBandAxes(DeviceContext& dc, const AxisRange& a, float step, int groups,
                             int firstGroup, int groupPitch) {
    const int left = axes_.Left(), right = axes_.Right();
    const int bottom = axes_.Bottom(), top = axes_.Top();
    axes_.DrawValueAxis(dc, res_, {}, step, 5, true);
    const Pen black = Pen::Solid(0, draw::Black);
    dc.SetPen(black);
    const int zero = bottom - Trunc((top - bottom) * double(a.min) / (double(a.max) - a.min));
    dc.MoveTo(left, zero);
    dc.LineTo(right, zero);
    dc.SetFont(res_.AxisFont);
    dc.SetTextAlign(draw::ta::Center | draw::ta::Top);
    dc.SetBkMode(draw::BkMode::Transparent);
    const int R = table_.RowCount(), W = layout_.barWidth;
    const int P = int(table_.Periods().size());
    for (int j = 0; j < groups && firstGroup + j < P; ++j) {
        // One band spreads the groups over the whole plot; bands use the layout's pitch.
        const int x = layout_.bands == 1 ? left + j * (right - left) / P + R * W / 2
                                         : left + groupPitch * j + R * W / 2;
        dc.MoveTo(x, bottom);
        dc.LineTo(x, bottom - 75);
        dc.Text(x, bottom - 75, Decode(table_.Periods()[size_t(firstGroup + j)].name));
    }
}

void CBarChart::DrawChart(DeviceContext& dc, bool) {
    if (!laidOut_) ComputeLayout();
    const int ind = IndicatorIndex();
    if (size_t(ind) >= layout_.indicators.size()) return;
    const AxisRange a = table_.CurrentAxis(ind);
    const auto& bars = layout_.indicators[size_t(ind)].bars;
    if (IsMissing(a.max) || bars.empty()) return;
    draw::StateSaver saver(dc);
    const int bpp = dc.Device().bitsPerPixel;
    if (dc.IsMetafile() ||
        (dc.GetTechnology() == draw::Technology::Display && bpp >= 2 && bpp <= 8))
        dc.SelectPalette(res_.ChartPalette);

    axes_.SetRanges(0, 1, a.min, a.max);
    const float step = layout_.indicators[size_t(ind)].step;
    const int left = axes_.Left(), right = axes_.Right();
    const int bottom = axes_.Bottom(), top = axes_.Top();
    const int P = int(table_.Periods().size()), R = table_.RowCount();
    if (layout_.bands == 1) {
        DrawBandAxes(dc, a, step, P, 0, 0);
    } else {
        int bandTop = top;
        for (int band = 0; band < layout_.bands; ++band) {
            axes_.SetPlotBottomTop(bandTop - layout_.bandHeight, bandTop);
            DrawBandAxes(dc, a, step, layout_.perBand, band * layout_.perBand,
                         (right - left) / layout_.perBand);
            bandTop = bandTop - layout_.bandHeight - BarLayout::Gap;
        }
        axes_.SetPlotBottomTop(bottom, top);
    }

    // Outlines of neighbouring bars overlap on screen and in metafiles; printers get them exact.
    const int widen = dc.IsPrinter() ? 0 : 10;
    dc.SetPen(Pen::Solid(0, draw::Black));
    for (const BarRecord& bar : bars) {
        dc.SetBrush(res_.Brush(bar.series));
        dc.Rectangle({bar.left, bar.top, bar.right + widen, bar.bottom});
    }

    dc.SetFont(res_.AxisFont);
    dc.SetTextAlign(draw::ta::Left | draw::ta::Baseline);
    dc.SetBkMode(draw::BkMode::Transparent);
    int y = (top + bottom + R * 150) / 2;
    const int x = right + 50;
    for (int r = 0; r < R; ++r, y -= 150) {
        dc.SetBrush(res_.Brush(r));
        dc.Rectangle({x, y, x + 200, y - 100});
        dc.Text(x + 250, y - 100, Decode(table_.RowLabels()[size_t(r)]));
    }

    dc.SetFont(titleFont_);
    const std::string title = Decode(table_.Indicators()[size_t(ind)].name);
    const TitleBox t = LayoutTitle(dc, title, left, right, top + 50);
    dc.TextBox(title, t.box, draw::dt::WordBreak | draw::dt::Left | draw::dt::NoClip);
}

} // namespace zor::charts
