#include "charts/CRBarChart.h"

#include "charts/DialogRules.h"
#include "charts/ViewRegistry.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "core/Selection.h"

#include <algorithm>

namespace zor::charts {

using draw::DeviceContext;
using draw::Pen;

RankingLayout LayoutRanking(const RankingInput& in) {
    RankingLayout out;
    const AxisRange& a = in.axis;
    out.zero = in.bottom;
    if (IsMissing(a.max) || IsMissing(a.min) || !(a.max > a.min)) return out;
    const double range = double(a.max) - a.min;
    const int height = in.top - in.bottom;
    if (a.min < 0) out.zero = in.bottom - TruncToInt(height * double(a.min) / range);
    for (size_t r = 0; r < in.values.size(); ++r) {
        const float v = in.values[r];
        if (IsMissing(v) || !(v >= a.min && v <= a.max)) continue;
        if (r < in.shown.size() && !in.shown[r]) continue;
        RankedBar b;
        b.row = static_cast<int>(r);
        b.bar.series = r < in.series.size() ? in.series[r] : NotHighlighted;
        b.bar.name = r < in.names.size() ? in.names[r] : std::string();
        b.bar.value = v;
        out.bars.push_back(std::move(b));
    }
    ExchangeSortDescending(std::span<RankedBar>(out.bars),
                           [](const RankedBar& b) { return b.bar.value; });
    const double w =
        double(in.right - in.left) / static_cast<double>(std::max<size_t>(1, out.bars.size()));
    for (size_t i = 0; i < out.bars.size(); ++i) {
        BarRecord& bar = out.bars[i].bar;
        bar.left = in.left + TruncToInt(static_cast<double>(i) * w);
        bar.right = in.left + TruncToInt(static_cast<double>(i + 1) * w);
        bar.bottom = out.zero;
        bar.top = in.bottom + TruncToInt((double(bar.value) - a.min) * height / range);
        ApplyMinimumHeight(bar, a.max, RankingLayout::MinHeight);
    }
    return out;
}

std::vector<draw::Point> RankingOutline(const RankingLayout& layout, int left) {
    std::vector<draw::Point> points;
    if (layout.bars.empty()) return points;
    const int z = layout.zero;
    auto farEnd = [z](const BarRecord& b) { return b.top == z ? b.bottom : b.top; };
    points.push_back({left, z});
    points.push_back({left, layout.bars.front().bar.top});
    for (const RankedBar& rb : layout.bars)
        points.push_back({(rb.bar.left + rb.bar.right) / 2, farEnd(rb.bar)});
    const BarRecord& last = layout.bars.back().bar;
    points.push_back({last.right, last.value >= 0 ? last.top : last.bottom});
    points.push_back({last.right, z});
    return points;
}

const std::vector<MenuItem>& CRBarChart::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdScale), MenuCommand(CmdRegions),
                                               MenuCommand(CmdPrint), MenuCommand(CmdSpecial),
                                               MenuCommand(CmdQuit)};
    return menu;
}

CRBarChart::CRBarChart(const ViewContext& context)
    : CGraphView(context),
      table_(context.store, context.selection.SetCode(), context.selection.Indicators(),
             context.selection.Regions(), context.selection.Periods(), RowsAll, true),
      highlighted_(context.selection.Regions()),
      titleFont_(ChartFont(280, 400, 0, context.resources.AxisFont.charset)) {
    // Exported ranked bar charts are always coloured.
    SetPictureChoice(false);
    loadResult_ = table_.Load(context.progress);
    // The set's total is always highlighted and listed.
    const int total = table_.TotalRow();
    if (total >= 0) {
        const int32_t key = table_.RowKeys()[static_cast<size_t>(total)];
        const bool selected = std::any_of(highlighted_.begin(), highlighted_.end(),
                                          [key](const ListItem& r) { return r.code == key; });
        if (!selected)
            highlighted_.push_back({key, table_.RowLabels()[static_cast<size_t>(total)]});
    }
    for (const int32_t key : table_.RowKeys()) {
        const auto it = std::find_if(highlighted_.begin(), highlighted_.end(),
                                     [key](const ListItem& r) { return r.code == key; });
        rowSeries_.push_back(it == highlighted_.end()
                                 ? NotHighlighted
                                 : static_cast<int>(it - highlighted_.begin()));
    }
    shown_.assign(static_cast<size_t>(table_.RowCount()), 1);
}

draw::Point CRBarChart::GetOrigin() const {
    return {axes_.OriginX(), axes_.OriginY()};
}
draw::Size CRBarChart::GetExtent() const {
    return {axes_.ExtentX(), axes_.ExtentY()};
}

bool CRBarChart::IsDataMissing() const {
    return IsMissing(table_.CurrentAxis(IndicatorIndex()).max);
}

void CRBarChart::OnCreate() {
    AddIndicatorChoice(table_.Indicators(), IndicatorIndex(), 2);
    AddTimePeriodChoice(table_.Periods(), PeriodIndex(), 2);
}

void CRBarChart::OnInitialUpdate() {
    CGraphView::OnInitialUpdate();
    ComputeLayout();
}

void CRBarChart::OnPeriodChanged(int) {
    ComputeLayout();
}
void CRBarChart::OnIndicatorChanged(int) {
    ComputeLayout();
}

void CRBarChart::ComputeLayout() {
    const AxisRange a = table_.CurrentAxis(IndicatorIndex());
    RankingInput in;
    in.left = axes_.Left(), in.bottom = axes_.Bottom(), in.right = axes_.Right();
    in.top = axes_.Top();
    in.axis = a;
    if (const float* v = table_.RowValues(PeriodIndex(), IndicatorIndex()))
        in.values.assign(v, v + table_.RowCount());
    in.shown = shown_;
    in.series = rowSeries_;
    for (const std::string& label : table_.RowLabels()) in.names.push_back(Decode(label));
    layout_ = LayoutRanking(in);
    if (!IsMissing(a.max)) axes_.SetRanges(0, 1, a.min, a.max);
    std::vector<LegendEntry> entries;
    for (const ListItem& r : highlighted_)
        entries.push_back({static_cast<int>(entries.size()), Decode(r.name)});
    legend_ = LayoutLegend(LegendKey::Box, entries, axes_.Right(), axes_.Bottom(), axes_.Top());
    laidOut_ = true;
}

void CRBarChart::SetShown(std::vector<int> shown) {
    shown.resize(static_cast<size_t>(table_.RowCount()), 1);
    shown_ = std::move(shown);
    ComputeLayout();
    if (Host()) Host()->Invalidate(true);
}

void CRBarChart::SetScale(const AxisRange& range) {
    table_.SetCurrentAxis(IndicatorIndex(), range);
    ComputeLayout();
    if (Host()) Host()->Invalidate(true);
}

bool CRBarChart::OnCommand(int id) {
    if (id == CmdRegions) {
        if (!Host()) return true;
        RegionListModel m;
        m.flags = shown_;
        for (const std::string& label : table_.RowLabels()) m.names.push_back(Decode(label));
        if (Host()->RunDialog(m)) SetShown(m.flags);
        return true;
    }
    if (id == CmdScale) {
        if (!Host() || IsDataMissing()) return true;
        const AxisRange a = table_.CurrentAxis(IndicatorIndex());
        const AxisRange d = table_.ComputedAxis(IndicatorIndex());
        ScaleDialogModel m;
        m.input = {ScaleValues{a.min, a.max, a.step}, ScaleValues{d.min, d.max, d.step}, false,
                   false};
        if (Host()->RunDialog(m))
            SetScale({m.result.values.min, m.result.values.max, m.result.values.section});
        return true;
    }
    return CGraphView::OnCommand(id);
}

CommandState CRBarChart::QueryCommand(int id) const {
    if (id == CmdScale) return {!IsDataMissing(), std::nullopt};
    return CGraphView::QueryCommand(id);
}

int CRBarChart::HitTest(draw::Point p) {
    if (!laidOut_) return -1;
    for (size_t b = 0; b < layout_.bars.size(); ++b) {
        const BarRecord& bar = layout_.bars[b].bar;
        if (bar.left <= p.x && p.x <= bar.right && bar.bottom <= p.y && p.y <= bar.top)
            return static_cast<int>(b);
    }
    return -1;
}

std::string CRBarChart::GetTipText() {
    const int h = HoveredItem();
    if (!laidOut_ || h < 0 || static_cast<size_t>(h) >= layout_.bars.size()) return {};
    const BarRecord& bar = layout_.bars[static_cast<size_t>(h)].bar;
    return bar.name + ": " + FormatValue(bar.value);
}

std::string CRBarChart::TitleText() const {
    const auto i = static_cast<size_t>(IndicatorIndex());
    return i < table_.Indicators().size() ? Decode(table_.Indicators()[i].name) : std::string();
}

std::string CRBarChart::PeriodText() const {
    const auto p = static_cast<size_t>(PeriodIndex());
    return p < table_.Periods().size() ? Decode(table_.Periods()[p].name) : std::string();
}

void CRBarChart::DrawChart(DeviceContext& dc, bool) const {
    if (!laidOut_ || IsDataMissing()) return;
    draw::StateSaver saver(dc);
    SelectChartPalette(dc, res_);
    const ChartAxes& a = axes_;
    a.DrawValueAxis(dc, res_, {}, table_.CurrentAxis(IndicatorIndex()).step, 5, true);
    dc.SetPen(Pen::Solid(0, draw::Black));
    dc.MoveTo(a.Left(), layout_.zero);
    dc.LineTo(a.Right(), layout_.zero);

    auto brushOf = [this](int series) {
        return series == NotHighlighted ? draw::Brush::Solid(draw::White) : res_.Brush(series);
    };
    if (layout_.bars.size() <= RankingLayout::MaxBars) {
        // Outlines of neighbouring bars overlap on screen and in metafiles; printers get them
        // exact.
        const int widen = dc.IsPrinter() ? 0 : 10;
        for (const RankedBar& rb : layout_.bars) {
            const BarRecord& b = rb.bar;
            dc.SetBrush(brushOf(b.series));
            dc.Rectangle({b.left, b.top, b.right + widen, b.bottom});
        }
    } else {
        const std::vector<draw::Point> outline = RankingOutline(layout_, a.Left());
        dc.SetBrush(draw::Brush::Solid(draw::White));
        dc.Polygon(outline);
        for (const RankedBar& rb : layout_.bars) {
            const BarRecord& b = rb.bar;
            if (b.series == NotHighlighted) continue;
            const int x = (b.left + b.right) / 2;
            dc.SetPen(Pen::Solid(30, res_.Brush(b.series).color));
            dc.MoveTo(x, b.top - 10);
            dc.LineTo(x, b.bottom + 10);
        }
        dc.SetPen(Pen::Solid(0, draw::Black));
        dc.SetBrush(draw::Brush::Hollow());
        dc.Polygon(outline);
    }

    dc.SetPen(Pen::Solid(0, draw::Black));
    DrawLegend(dc, res_, legend_);

    dc.SetFont(res_.AxisFont);
    dc.SetTextAlign(draw::ta::Center | draw::ta::Top);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.Text((a.Left() + a.Right()) / 2, a.Bottom() - 100, PeriodText());

    dc.SetFont(titleFont_);
    DrawTitle(dc, LayoutTitle(dc, TitleText(), a.Left(), a.Right(), a.Top() + 50));
}

TextOverflow CRBarChart::MeasureOverflow(const DeviceContext& dc) const {
    TextOverflow o;
    if (!laidOut_ || IsDataMissing()) return o;
    const LogicalSpace s = SpaceOf(dc);
    o.left = -s.x - ValueLabelsLeft(dc, res_, axes_, table_.CurrentAxis(IndicatorIndex()).step);
    o.right = LegendRight(dc, res_, legend_) - (s.cx - s.x);
    return o;
}

bool CRBarChart::WriteData(JsonWriter& j) {
    const AxisRange a = table_.CurrentAxis(IndicatorIndex());
    j.BeginObject();
    j.Key("indicator").Int(table_.Indicators()[static_cast<size_t>(IndicatorIndex())].code);
    j.Key("period").Int(table_.Periods()[static_cast<size_t>(PeriodIndex())].code);
    j.Key("axis").BeginObject();
    WriteRange(j, a);
    j.EndObject();
    j.Key("bars").BeginArray();
    for (const RankedBar& rb : layout_.bars) {
        const BarRecord& b = rb.bar;
        j.BeginObject();
        j.Key("row").Int(rb.row);
        j.Key("key").Int(table_.RowKeys()[static_cast<size_t>(rb.row)]);
        j.Key("name").String(b.name);
        j.Key("value").Float(b.value);
        j.Key("highlight").Int(b.series == NotHighlighted ? -1 : b.series);
        j.Key("rect").BeginArray();
        j.Int(b.left).Int(b.top).Int(b.right).Int(b.bottom);
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return true;
}

} // namespace zor::charts
