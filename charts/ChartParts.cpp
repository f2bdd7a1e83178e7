#include "charts/ChartParts.h"

#include "core/Numeric.h"
#include "draw/NullContext.h"

#include <algorithm>

namespace zor::charts {

using draw::DeviceContext;
using draw::Pen;
namespace ta = draw::ta;

namespace {

constexpr int LegendStep = 150;

int MeasureWidth(const DeviceContext& dc, const draw::Font& font, const std::string& text) {
    return draw::MeasureText(dc, font, text).cx;
}

} // namespace

Legend LayoutLegend(LegendKey kind, const std::vector<LegendEntry>& entries, int plotRight,
                    int plotBottom, int plotTop) {
    return LayoutLegend(kind, entries, plotRight, plotBottom, plotTop,
                        static_cast<int>(entries.size()));
}

Legend LayoutLegend(LegendKey kind, const std::vector<LegendEntry>& entries, int plotRight,
                    int plotBottom, int plotTop, int slots) {
    Legend legend;
    legend.kind = kind;
    const int x = plotRight + 50;
    int y = (plotTop + plotBottom + slots * LegendStep) / 2;
    for (const LegendEntry& e : entries) {
        LegendItem item;
        item.series = e.series;
        item.name = e.name;
        switch (kind) {
        case LegendKey::Box:
            item.key = {x, y, x + 200, y - 100};
            item.text = {x + 250, y - 100};
            break;
        case LegendKey::LineMarker:
            item.key = {x, y - 50, x + 200, y - 50};
            item.text = {x + 250, y - 100};
            break;
        case LegendKey::Circle:
            item.key = {x + 80, y + 60, x + 200, y - 60};
            item.text = {x + 250, y - 50};
            break;
        }
        legend.items.push_back(std::move(item));
        y -= LegendStep;
    }
    return legend;
}

void DrawLegend(DeviceContext& dc, const ChartResources& res, const Legend& legend) {
    dc.SetFont(res.AxisFont);
    dc.SetTextAlign(ta::Left | ta::Baseline);
    dc.SetBkMode(draw::BkMode::Transparent);
    for (const LegendItem& item : legend.items) {
        const draw::Rect& k = item.key;
        switch (legend.kind) {
        case LegendKey::Box:
            dc.SetBrush(res.Brush(item.series));
            dc.Rectangle(k);
            break;
        case LegendKey::LineMarker:
            dc.SetPen(res.WidePen(item.series));
            dc.MoveTo(k.left, k.top);
            dc.LineTo(k.right, k.top);
            DrawMarker(dc, res, (k.left + k.right) / 2, k.top, item.series);
            break;
        case LegendKey::Circle:
            dc.SetPen(Pen::Solid(0, draw::Black));
            dc.SetBrush(res.Brush(item.series));
            dc.Ellipse(k);
            break;
        }
        dc.Text(item.text.x, item.text.y, item.name);
    }
}

int LegendRight(const DeviceContext& dc, const ChartResources& res, const Legend& legend) {
    int right = 0;
    bool any = false;
    for (const LegendItem& item : legend.items) {
        const int width = MeasureWidth(dc, res.AxisFont, item.name);
        right = any ? std::max(right, item.text.x + width) : item.text.x + width;
        right = std::max(right, item.key.right);
        any = true;
    }
    return right;
}

int ValueLabelsLeft(const DeviceContext& dc, const ChartResources& res, const ChartAxes& axes,
                    float step) {
    int leftmost = axes.Left();
    for (const AxisMark& m : axes.ValueAxisMarks(step, 5, true))
        if (!m.label.empty())
            leftmost =
                std::min(leftmost, axes.Left() - 120 - MeasureWidth(dc, res.AxisFont, m.label));
    return leftmost;
}

Title LayoutTitle(const DeviceContext& dc, const std::string& text, int left, int right,
                  int bottom) {
    const draw::Size one = dc.TextExtent(text);
    int width = one.cx, height = one.cy;
    bool wrapped = false;
    if (one.cx > right - left) {
        wrapped = true;
        height = 2 * one.cy;
        // The widths stop at the one-line width, where the text fits on one line.
        for (width = 500;; width += 500) {
            const auto layout = dc.LayoutTextBox(text, {0, height, width, 0}, draw::dt::WordBreak);
            if (layout.height <= height || width >= one.cx) break;
        }
    }
    const int boxLeft = (left + right) / 2 - width / 2;
    return {text, {boxLeft, bottom + height, boxLeft + width, bottom}, wrapped};
}

Title LayoutTitle(const DeviceContext& dc, const draw::Font& font, const std::string& text,
                  int left, int right, int bottom) {
    const auto probe = draw::ProbeOf(dc);
    probe->SetFont(font);
    return LayoutTitle(*probe, text, left, right, bottom);
}

void DrawTitle(DeviceContext& dc, const Title& title) {
    dc.TextBox(title.text, title.box, draw::dt::WordBreak | draw::dt::Left | draw::dt::NoClip);
}

std::vector<BandAxis> LayoutBandAxes(const BandAxesInput& in) {
    std::vector<BandAxis> out;
    const ChartAxes& a = in.axes;
    const int left = a.Left(), right = a.Right();
    const int groups = static_cast<int>(in.groupNames.size());
    const double min = a.YMin(), max = a.YMax();
    const int half = in.barsPerGroup * in.barWidth / 2;
    auto zeroLine = [&](int bottom, int top) {
        return bottom - TruncToInt((top - bottom) * min / (max - min));
    };
    if (in.bands <= 1) {
        BandAxis band{a, zeroLine(a.Bottom(), a.Top()), {}};
        for (int k = 0; k < groups; ++k)
            band.labels.push_back(
                {left + k * (right - left) / groups + half, in.groupNames[static_cast<size_t>(k)]});
        out.push_back(std::move(band));
        return out;
    }
    const int pitch = in.perBand > 0 ? (right - left) / in.perBand : 0;
    int top = a.Top();
    for (int b = 0; b < in.bands; ++b) {
        BandAxis band{a, 0, {}};
        band.axes.SetPlotBottomTop(top - in.bandHeight, top);
        band.zero = zeroLine(top - in.bandHeight, top);
        for (int j = 0; j < in.perBand && b * in.perBand + j < groups; ++j)
            band.labels.push_back(
                {left + pitch * j + half,
                 in.groupNames[static_cast<size_t>(b) * static_cast<size_t>(in.perBand) +
                               static_cast<size_t>(j)]});
        out.push_back(std::move(band));
        top -= in.bandHeight + in.gap;
    }
    return out;
}

void DrawBandAxes(DeviceContext& dc, const ChartResources& res, const std::vector<BandAxis>& bands,
                  float step) {
    for (const BandAxis& band : bands) {
        const ChartAxes& a = band.axes;
        a.DrawValueAxis(dc, res, {}, step, 5, true);
        dc.SetPen(Pen::Solid(0, draw::Black));
        dc.MoveTo(a.Left(), band.zero);
        dc.LineTo(a.Right(), band.zero);
        dc.SetFont(res.AxisFont);
        dc.SetTextAlign(ta::Center | ta::Top);
        dc.SetBkMode(draw::BkMode::Transparent);
        for (const BandLabel& label : band.labels) {
            dc.MoveTo(label.x, a.Bottom());
            dc.LineTo(label.x, a.Bottom() - 75);
            dc.Text(label.x, a.Bottom() - 75, label.text);
        }
    }
}

int BandLabelsLeft(const DeviceContext& dc, const ChartResources& res,
                   const std::vector<BandAxis>& bands, float step) {
    int leftmost = bands.empty() ? 0 : bands.front().axes.Left();
    for (const BandAxis& band : bands)
        leftmost = std::min(leftmost, ValueLabelsLeft(dc, res, band.axes, step));
    return leftmost;
}

} // namespace zor::charts
