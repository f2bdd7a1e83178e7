#include "charts/CHRBarChart.h"

#include "charts/DialogRules.h"
#include "charts/ViewRegistry.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "core/Selection.h"
#include "draw/NullContext.h"

#include <algorithm>
#include <cmath>

namespace zor::charts {

using draw::DeviceContext;
using draw::Pen;
using draw::Rect;
namespace ta = draw::ta;

namespace {

using L = HorizontalLayout;

bool IsPseudoPeriod(int code) {
    return code == FirstAvailable || code == LastAvailable;
}

// The legend boxes of two bars, on screen (logical units) and on paper (0.1 mm).
struct LegendMetrics {
    int boxWidth, boxHeight, firstTop, secondTop, textGap;
};
constexpr LegendMetrics ScreenLegend{300, 150, -300, -550, 350};
constexpr LegendMetrics PaperLegend{90, 45, -100, -160, 105};

// "Page %d" with the page number (the text is not used as a format).
std::string PageText(std::string text, int page) {
    const size_t at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(page));
    return text;
}

} // namespace

void RankRows(std::vector<RankedRow>& rows) {
    ExchangeSortDescending(std::span<RankedRow>(rows), [](const RankedRow& r) { return r.valueA; });
    // The rows without a value A sort last (MissingValue is below every value): rank them by B.
    size_t first = 0;
    while (first < rows.size() && rows[first].HasA()) ++first;
    ExchangeSortDescending(std::span<RankedRow>(rows).subspan(first),
                           [](const RankedRow& r) { return r.valueB; });
}

int ZeroOfSpan(float min, float max, int width) {
    if (!(min < 0) || !(max > min)) return 0;
    const double scale = width / (double(max) - min);
    return std::clamp(-TruncToInt(min * scale), 0, width);
}

BarSpan SpanOfBar(float value, float min, float max, int width, int minWidth) {
    if (!(max > min)) return {};
    const double scale = width / (double(max) - min);
    BarSpan s{ZeroOfSpan(min, max, width), TruncToInt((double(value) - min) * scale)};
    if (s.right < s.left) std::swap(s.left, s.right);
    if (s.right - s.left < minWidth) {
        if (value >= min)
            s.right = s.left + minWidth;
        else
            s.left = s.right - minWidth;
    }
    return s;
}

const std::vector<MenuItem>& CHRBarChart::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdSelect),  MenuCommand(CmdScale),
                                               MenuCommand(CmdRegions), MenuCommand(CmdPrint),
                                               MenuCommand(CmdSpecial), MenuCommand(CmdQuit)};
    return menu;
}

CHRBarChart::CHRBarChart(const ViewContext& context)
    : CGraphView(context),
      table_(context.store, context.selection.SetCode(), context.selection.Indicators(),
             context.selection.Regions(), context.selection.Periods(), RowsAll, true) {
    // Exported ranked bar charts are always coloured.
    SetPictureChoice(false);
    loadResult_ = table_.Load(context.progress);
    const int indicators = static_cast<int>(table_.Indicators().size());
    const int periods = static_cast<int>(table_.Periods().size());
    choice_.indicatorB = indicators > 1 ? indicators - 1 : 0;
    choice_.periodB = periods > 1 ? periods - 1 : 0;
    scale_ = defaultScale_ = table_.CurrentAxis(0);
    shown_.assign(static_cast<size_t>(table_.RowCount()), 1);
    const draw::Font& axis = context.resources.AxisFont;
    screenFonts_ = {axis, ChartFont(axis.height + 25, 700, 0, axis.charset),
                    ChartFont(230, 400, 0, axis.charset)};
    axes_.SetPlotSize(L::PlotWidth, 4900);
    axes_.SetOrigin(L::OriginX, 900);
}

draw::Point CHRBarChart::GetOrigin() const {
    return {axes_.OriginX(), axes_.OriginY()};
}

bool CHRBarChart::IsDataMissing() const {
    return IsMissing(scale_.min) || IsMissing(scale_.max);
}

void CHRBarChart::OnInitialUpdate() {
    CGraphView::OnInitialUpdate();
    ComputeLayout();
    // The layout sets the scroll range: the window learns it with the repaint.
    if (Host()) Host()->Invalidate(false);
}

// The popups' choices (zorexport's --indicator and --period) choose bar A as the dialog does.
void CHRBarChart::OnPeriodChanged(int) {
    RankedChoice c = choice_;
    c.periodA = PeriodIndex();
    ApplyChoice(c);
}
void CHRBarChart::OnIndicatorChanged(int) {
    RankedChoice c = choice_;
    c.indicatorA = IndicatorIndex();
    ApplyChoice(c);
}

std::string CHRBarChart::IndicatorName(int i) const {
    const auto& list = table_.Indicators();
    return i >= 0 && static_cast<size_t>(i) < list.size()
               ? Decode(list[static_cast<size_t>(i)].name)
               : std::string();
}

std::string CHRBarChart::PeriodName(int p) const {
    const auto& list = table_.Periods();
    return p >= 0 && static_cast<size_t>(p) < list.size()
               ? Decode(list[static_cast<size_t>(p)].name)
               : std::string();
}

void CHRBarChart::ApplyChoice(const RankedChoice& c) {
    const int indicators = static_cast<int>(table_.Indicators().size());
    const int periods = static_cast<int>(table_.Periods().size());
    if (c.indicatorA < 0 || c.indicatorA >= indicators || c.indicatorB < 0 ||
        c.indicatorB >= indicators || c.periodA < 0 || c.periodA >= periods || c.periodB < 0 ||
        c.periodB >= periods)
        return;
    choice_ = c;
    const AxisRange a = table_.CurrentAxis(c.indicatorA);
    scale_ = a;
    if (c.twoBars) {
        // The range of both bars; a bound missing for one bar (no values) gives way to the other's.
        const AxisRange b = table_.CurrentAxis(c.indicatorB);
        if (!IsMissing(b.min) && (IsMissing(scale_.min) || b.min < scale_.min)) scale_.min = b.min;
        if (!IsMissing(b.max) && (IsMissing(scale_.max) || b.max > scale_.max)) scale_.max = b.max;
        scale_.step = std::max(a.step, b.step);
    }
    defaultScale_ = scale_;
    ComputeLayout();
    if (Host()) Host()->Invalidate(true);
}

void CHRBarChart::SetShown(std::vector<int> shown) {
    shown.resize(static_cast<size_t>(table_.RowCount()), 1);
    shown_ = std::move(shown);
    ComputeLayout();
    if (Host()) Host()->Invalidate(true);
}

void CHRBarChart::SetScale(const AxisRange& scale) {
    scale_ = scale;
    ComputeLayout();
    if (Host()) Host()->Invalidate(true);
}

void CHRBarChart::ComputeLayout() {
    HorizontalLayout l;
    const auto& indicators = table_.Indicators();
    const auto& periods = table_.Periods();
    laidOut_ = true;
    scroll_ = 0;
    if (indicators.empty() || periods.empty()) {
        layout_ = l;
        return;
    }
    const RankedChoice& c = choice_;
    const ListItem& indA = indicators[static_cast<size_t>(c.indicatorA)];
    const ListItem& indB = indicators[static_cast<size_t>(c.indicatorB)];
    l.twoBars = c.twoBars;
    l.twoDifferent = c.twoBars && indA.code != indB.code;
    if (l.twoDifferent) {
        l.titleArea = 300, l.fullTop = 5100, l.originY = 900;
    } else {
        l.titleArea = 200, l.originY = 500;
        l.fullTop = indA.name.size() >= 81 ? 5000 : 5300;
    }
    l.pitch = l.twoBars ? L::Gap + 2 * L::BarHeight : L::BarHeight + L::Gap;
    l.yearsShown = IsPseudoPeriod(periods[static_cast<size_t>(c.periodA)].code) ||
                   (l.twoBars && IsPseudoPeriod(periods[static_cast<size_t>(c.periodB)].code));
    axes_.SetOrigin(L::OriginX, l.originY);
    l.visible = (l.fullTop + L::Gap) / l.pitch;

    const float* valuesA = table_.RowValues(c.periodA, c.indicatorA);
    const float* valuesB = l.twoBars ? table_.RowValues(c.periodB, c.indicatorB) : nullptr;
    const int rows = table_.RowCount();
    auto shown = [&](int r) { return shown_[static_cast<size_t>(r)] != 0; };
    l.min = scale_.min, l.max = scale_.max, l.step = scale_.step;
    if (!IsDataMissing() && valuesA) {
        // A max more than a step above the largest value shown is drawn a step above it. The
        // working scale itself stays: regions shown again later keep their place in it.
        float largest = MissingValue;
        for (int r = 0; r < rows; ++r) {
            if (!shown(r)) continue;
            const float a = valuesA[r], b = valuesB ? valuesB[r] : MissingValue;
            if (!IsMissing(a) && (IsMissing(largest) || a > largest)) largest = a;
            if (!IsMissing(b) && (IsMissing(largest) || b > largest)) largest = b;
        }
        const double step = scale_.step;
        if (!IsMissing(largest) && step > 0 && double(scale_.max) - largest > step) {
            double k = std::trunc(largest / step);
            if (std::fabs(largest - k * step) > 1e-6) k += 1;
            const auto max = static_cast<float>(k * step);
            if (max > scale_.min) l.max = max;
        }
    }

    if (!IsDataMissing() && valuesA) {
        auto inRange = [&](float v) { return !IsMissing(v) && v >= l.min && v <= l.max; };
        const auto& selected = table_.Regions();
        for (int r = 0; r < rows; ++r) {
            if (!shown(r)) continue;
            RankedRow e;
            // A value outside the scale is left out, as the vertical ranking leaves it out.
            if (inRange(valuesA[r])) e.valueA = valuesA[r];
            if (valuesB && inRange(valuesB[r])) e.valueB = valuesB[r];
            if (!e.HasA() && !(l.twoBars && e.HasB())) continue;
            e.row = r;
            e.name = Decode(table_.RowLabels()[static_cast<size_t>(r)]);
            const int32_t key = table_.RowKeys()[static_cast<size_t>(r)];
            const auto it = std::find_if(selected.begin(), selected.end(),
                                         [key](const ListItem& s) { return s.code == key; });
            if (it != selected.end()) e.selected = static_cast<int>(it - selected.begin());
            l.entries.push_back(std::move(e));
        }
        RankRows(l.entries);
    }
    const int n = static_cast<int>(l.entries.size());
    l.plotTop = n > l.visible ? l.visible * l.pitch - L::Gap : std::max(0, n * l.pitch - L::Gap);
    axes_.SetPlotSize(L::PlotWidth, l.plotTop);
    if (!IsDataMissing()) axes_.SetRanges(l.min, l.max, 0, 1);
    layout_ = std::move(l);
}

// ---------------------------------------------------------------- geometry

CHRBarChart::RowFrame CHRBarChart::ScreenFrame() const {
    RowFrame f;
    f.plotTop = layout_.plotTop;
    f.first = scroll_;
    f.count = std::clamp(static_cast<int>(layout_.entries.size()) - scroll_, 0, layout_.visible);
    return f;
}

CHRBarChart::RowFrame CHRBarChart::PictureFrame() const {
    RowFrame f;
    const int n = static_cast<int>(layout_.entries.size());
    f.plotTop = std::max(0, n * layout_.pitch - L::Gap);
    f.count = n;
    return f;
}

Rect CHRBarChart::RectA(const RowFrame& f, int p) const {
    const RankedRow& e = layout_.entries[static_cast<size_t>(p)];
    const int top = f.plotTop - (p - f.first) * layout_.pitch;
    const BarSpan s = SpanOfBar(e.valueA, layout_.min, layout_.max, f.plotWidth, 50);
    return {s.left, top, s.right, top - L::BarHeight};
}

Rect CHRBarChart::RectB(const RowFrame& f, int p) const {
    const RankedRow& e = layout_.entries[static_cast<size_t>(p)];
    const int top = f.plotTop - (p - f.first) * layout_.pitch - L::BarHeight;
    const BarSpan s = SpanOfBar(e.valueB, layout_.min, layout_.max, f.plotWidth, 0);
    return {s.left, top, s.right, top - L::BarHeight};
}

std::optional<Rect> CHRBarChart::ScreenRectA(int p) const {
    const RowFrame f = ScreenFrame();
    if (p < f.first || p >= f.first + f.count || !layout_.entries[static_cast<size_t>(p)].HasA())
        return std::nullopt;
    return RectA(f, p);
}

std::optional<Rect> CHRBarChart::ScreenRectB(int p) const {
    const RowFrame f = ScreenFrame();
    if (!layout_.twoBars || p < f.first || p >= f.first + f.count ||
        !layout_.entries[static_cast<size_t>(p)].HasB())
        return std::nullopt;
    return RectB(f, p);
}

int CHRBarChart::Year(int period, int indicator, int row) const {
    const auto& periods = table_.Periods();
    if (period < 0 || static_cast<size_t>(period) >= periods.size()) return 0;
    const int code = periods[static_cast<size_t>(period)].code;
    if (code == FirstAvailable) return table_.FirstAvailablePeriod(indicator, row);
    if (code == LastAvailable) return table_.LastAvailablePeriod(indicator, row);
    return 0;
}

int CHRBarChart::YearA(int p) const {
    const RankedRow& e = layout_.entries[static_cast<size_t>(p)];
    return e.HasA() ? Year(choice_.periodA, choice_.indicatorA, e.row) : 0;
}

int CHRBarChart::YearB(int p) const {
    const RankedRow& e = layout_.entries[static_cast<size_t>(p)];
    return layout_.twoBars && e.HasB() ? Year(choice_.periodB, choice_.indicatorB, e.row) : 0;
}

// ---------------------------------------------------------------- scrolling

std::optional<ViewScroll> CHRBarChart::VerticalScroll() const {
    if (!laidOut_) return std::nullopt;
    const int n = static_cast<int>(layout_.entries.size());
    return ViewScroll{scroll_, std::max(0, n - layout_.visible), std::max(1, layout_.visible)};
}

bool CHRBarChart::OnScroll(ScrollAction action, int thumb) {
    const int n = static_cast<int>(layout_.entries.size());
    const int visible = layout_.visible;
    if (!laidOut_ || visible < 1 || n < visible) return false;
    const int last = n - visible;
    int pos = scroll_;
    switch (action) {
    case ScrollAction::PageUp:
        pos = std::max(0, pos - (visible - 1));
        break;
    case ScrollAction::PageDown:
        pos += visible - 1;
        if (pos + visible >= n) pos = last;
        break;
    case ScrollAction::LineUp:
        if (pos > 0) --pos;
        break;
    case ScrollAction::LineDown:
        if (pos < last) ++pos;
        break;
    case ScrollAction::Thumb:
        pos = std::clamp(thumb, 0, last);
        break;
    }
    if (pos == scroll_) return false;
    scroll_ = pos;
    return true;
}

std::optional<Rect> CHRBarChart::ScrollRepaintArea() const {
    // The rows with their labels, from the window's left edge however far it was widened.
    return Rect{-(L::OriginX + 4 * 8000), layout_.plotTop + 2 * L::BarHeight, L::PlotWidth,
                -L::BarHeight};
}

bool CHRBarChart::ShowPage(int n) {
    if (n < 1) return false;
    const int saved = scroll_;
    scroll_ = 0;
    for (int k = 1; k < n; ++k)
        if (!OnScroll(ScrollAction::PageDown, 0)) {
            scroll_ = saved;
            return false;
        }
    return true;
}

// ---------------------------------------------------------------- drawing

void CHRBarChart::DrawRows(DeviceContext& dc, const RowFrame& f, const Fonts& fonts) const {
    dc.SetBkMode(draw::BkMode::Transparent);
    const int gap = f.labelGap;
    for (int p = f.first; p < f.first + f.count; ++p) {
        const RankedRow& e = layout_.entries[static_cast<size_t>(p)];
        const bool hasB = layout_.twoBars && e.HasB();
        const Rect a = RectA(f, p), b = RectB(f, p);
        dc.SetPen(Pen::Solid(0, draw::Black));
        if (e.HasA()) {
            dc.SetBrush(blue_);
            dc.Rectangle(a);
        }
        if (hasB) {
            dc.SetBrush(lightBlue_);
            dc.Rectangle(b);
        }
        if (e.selected >= 0) {
            // The hatch over the filled bars: black lines ANDed onto them.
            dc.SetRop2(draw::Rop2::MaskPen);
            dc.SetBrush(hatch_);
            if (e.HasA()) dc.Rectangle(a);
            if (hasB) dc.Rectangle(b);
            dc.SetRop2(draw::Rop2::CopyPen);
        }
        dc.SetFont(e.selected >= 0 ? fonts.highlight : fonts.label);
        // The year column is as wide as "9999" in the row's font (bold for selected regions).
        const int yearWidth = dc.TextExtent("9999").cx;
        int x = -gap;
        const int yearA = YearA(p), yearB = YearB(p);
        if (layout_.twoBars) {
            dc.SetTextAlign(ta::Right | ta::Bottom);
            if (layout_.yearsShown && yearA) dc.Text(x, a.bottom - 20, std::to_string(yearA));
            if (layout_.yearsShown && yearB) dc.Text(x, b.bottom - 30, std::to_string(yearB));
            if (layout_.yearsShown) x -= yearWidth + gap;
            dc.SetTextAlign(ta::Right | ta::Baseline);
            dc.Text(x, e.HasA() ? a.bottom - 50 : b.top - 50, e.name);
        } else {
            dc.SetTextAlign(ta::Right | ta::Baseline);
            if (layout_.yearsShown && yearA) dc.Text(x, a.bottom, std::to_string(yearA));
            if (layout_.yearsShown) x -= yearWidth + gap;
            dc.Text(x, a.bottom, e.name);
        }
    }
}

std::string CHRBarChart::Title() const {
    std::string t = IndicatorName(choice_.indicatorA);
    if (!choice_.twoBars) t += ", " + PeriodName(choice_.periodA);
    return t;
}

void CHRBarChart::DrawHeading(DeviceContext& dc, const RowFrame& f, const Fonts& fonts, int extentX,
                              int originX, bool first) const {
    const LegendMetrics& m = f.printing ? PaperLegend : ScreenLegend;
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.SetPen(Pen::Solid(0, draw::Black));
    auto box = [&](int x, int top, const draw::Brush& brush, const std::string& text) {
        dc.SetBrush(brush);
        dc.Rectangle({x, top, x + m.boxWidth, top - m.boxHeight});
        dc.SetTextAlign(ta::Left | ta::Bottom);
        dc.Text(x + m.textGap, top - m.boxHeight, text);
    };
    if (layout_.twoDifferent) {
        dc.SetFont(fonts.label);
        const std::string a =
            IndicatorName(choice_.indicatorA) + ", " + PeriodName(choice_.periodA);
        const std::string b =
            IndicatorName(choice_.indicatorB) + ", " + PeriodName(choice_.periodB);
        const int widest = std::max(dc.TextExtent(a).cx, dc.TextExtent(b).cx);
        const int x = (f.plotWidth - (widest + m.textGap)) / 2;
        box(x, m.firstTop, blue_, a);
        box(x, m.secondTop, lightBlue_, b);
        return;
    }
    dc.SetFont(fonts.title);
    const std::string title = Title();
    const draw::Size one = dc.TextExtent(title);
    int width = one.cx, height = one.cy;
    if (one.cx > extentX) {
        width = extentX - 100;
        height = 2 * one.cy;
    }
    const int bottom = f.plotTop + 25 + (first && f.printing ? 25 : 0);
    const int x = (extentX - width) / 2 - originX;
    dc.TextBox(title, {x, bottom + height + 50, x + width, bottom},
               draw::dt::Center | draw::dt::VCenter | draw::dt::WordBreak | draw::dt::NoClip);
    if (layout_.twoBars) {
        dc.SetFont(fonts.label);
        for (int k = 1; k <= 2; ++k)
            box(k * (extentX / 3) - originX, m.firstTop, k == 1 ? blue_ : lightBlue_,
                PeriodName(k == 1 ? choice_.periodA : choice_.periodB));
    }
}

void CHRBarChart::DrawFrame(DeviceContext& dc, const RowFrame& f, const Fonts& fonts,
                            bool first) const {
    ChartAxes a = axes_;
    a.SetPlotSize(f.plotWidth, f.plotTop);
    a.SetRanges(layout_.min, layout_.max, 0, 1);
    if (f.printing) {
        dc.SetFont(fonts.label);
        a.DrawCompactAxisX(dc, res_, {}, layout_.step, 5, true);
    } else {
        a.DrawNumberAxisX(dc, res_, {}, layout_.step, 5, true);
    }
    const int zero = ZeroOfSpan(layout_.min, layout_.max, f.plotWidth);
    dc.SetPen(Pen::Solid(0, draw::Black));
    dc.MoveTo(zero, 0);
    dc.LineTo(zero, f.plotTop);
    DrawRows(dc, f, fonts);
    if (f.printing) {
        const int pageWidth = f.plotWidth + 2 * PrintMargin + PrintLabelColumn + 50;
        DrawHeading(dc, f, fonts, pageWidth, PrintMargin + PrintLabelColumn, first);
    } else {
        DrawHeading(dc, f, fonts, 8000, L::OriginX, first);
    }
}

void CHRBarChart::DrawChart(DeviceContext& dc, bool) const {
    if (!laidOut_ || IsDataMissing()) return;
    draw::StateSaver saver(dc);
    DrawFrame(dc, ScreenFrame(), screenFonts_, false);
}

int CHRBarChart::LabelsLeft(const DeviceContext& dc, const RowFrame& f, const Fonts& fonts) const {
    const auto label = draw::ProbeOf(dc);
    label->SetFont(fonts.label);
    const auto bold = draw::ProbeOf(dc);
    bold->SetFont(fonts.highlight);
    int left = 0;
    for (int p = f.first; p < f.first + f.count; ++p) {
        const RankedRow& e = layout_.entries[static_cast<size_t>(p)];
        const DeviceContext& font = e.selected >= 0 ? *bold : *label;
        int x = -f.labelGap;
        if (layout_.yearsShown) x -= font.TextExtent("9999").cx + f.labelGap;
        left = std::min(left, x - font.TextExtent(e.name).cx);
    }
    return left;
}

TextOverflow CHRBarChart::MeasureOverflow(const DeviceContext& dc) const {
    TextOverflow o;
    if (!laidOut_ || IsDataMissing()) return o;
    const LogicalSpace s = SpaceOf(dc);
    // Every row's name, not only the page's: the window keeps its shape while it scrolls.
    o.left = -s.x - LabelsLeft(dc, PictureFrame(), screenFonts_);
    if (!layout_.twoDifferent) {
        const auto probe = draw::ProbeOf(dc);
        probe->SetFont(screenFonts_.title);
        const int h = probe->TextExtent(Title()).cy;
        const int lines = probe->TextExtent(Title()).cx > 8000 ? 2 : 1;
        o.top = layout_.plotTop + 25 + lines * h + 50 - (s.cy - s.y);
    }
    return o;
}

// ---------------------------------------------------------------- tooltips

int CHRBarChart::HitTest(draw::Point p) {
    hoveredBar_ = 0;
    if (!laidOut_) return -1;
    const RowFrame f = ScreenFrame();
    auto inside = [&](const Rect& r) {
        return r.left <= p.x && p.x <= r.right && r.bottom <= p.y && p.y <= r.top;
    };
    for (int e = f.first; e < f.first + f.count; ++e) {
        const RankedRow& row = layout_.entries[static_cast<size_t>(e)];
        if (row.HasA() && inside(RectA(f, e))) {
            hoveredBar_ = 1;
            return e;
        }
        if (layout_.twoBars && row.HasB() && inside(RectB(f, e))) {
            hoveredBar_ = 2;
            return e;
        }
    }
    return -1;
}

std::string CHRBarChart::GetTipText() {
    const int h = HoveredItem();
    if (h < 0 || static_cast<size_t>(h) >= layout_.entries.size() || hoveredBar_ == 0) return {};
    const RankedRow& e = layout_.entries[static_cast<size_t>(h)];
    return e.name + ": " + FormatValue(hoveredBar_ == 1 ? e.valueA : e.valueB);
}

// ---------------------------------------------------------------- commands

bool CHRBarChart::OnCommand(int id) {
    if (id == CmdSelect) {
        if (!Host()) return true;
        RankedSelectionModel m;
        for (const ListItem& i : table_.Indicators()) m.indicators.push_back(Decode(i.name));
        for (const ListItem& p : table_.Periods()) m.periods.push_back(Decode(p.name));
        m.choice = choice_;
        if (Host()->RunDialog(m)) ApplyChoice(m.choice);
        return true;
    }
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
        ScaleDialogModel m;
        // The scale as drawn, with the max brought down to the rows shown.
        m.input = {ScaleValues{layout_.min, layout_.max, layout_.step},
                   ScaleValues{defaultScale_.min, defaultScale_.max, defaultScale_.step}, false,
                   false};
        if (Host()->RunDialog(m))
            SetScale({m.result.values.min, m.result.values.max, m.result.values.section});
        return true;
    }
    return CGraphView::OnCommand(id);
}

CommandState CHRBarChart::QueryCommand(int id) const {
    if (id == CmdScale) return {!IsDataMissing(), std::nullopt};
    return CGraphView::QueryCommand(id);
}

// ---------------------------------------------------------------- printing

int CHRBarChart::RowsPerPrintedPage(double heightMm) const {
    const int height = TruncToInt(heightMm * 10);
    const int header = layout_.twoDifferent ? -70 : -120;
    const int rows = (height + header + L::Gap - 2 * PrintMargin - layout_.titleArea) /
                     std::max(1, layout_.pitch);
    return std::max(1, rows);
}

int CHRBarChart::PrintedPages(double heightMm) const {
    const int n = static_cast<int>(layout_.entries.size());
    const int rows = RowsPerPrintedPage(heightMm);
    return std::max(1, (n + rows - 1) / rows);
}

int CHRBarChart::CountPages(DeviceContext& dc, const Rect& page) {
    printHeightMm_ = page.Height() * 1000.0 / std::max(1, dc.Device().pixelsPerMeterY);
    return PrintedPages(printHeightMm_);
}

void CHRBarChart::PreparePrintMapping(DeviceContext& dc, const Rect& page) const {
    // 0.1 mm with y up; the plot's bottom-left corner right of the label column and above the
    // axis and source line.
    dc.SetMapMode(draw::MapMode::LoMetric);
    dc.SetWindowOrg(-(PrintMargin + PrintLabelColumn), -(PrintMargin + layout_.titleArea));
    dc.SetViewportOrg(0, page.bottom);
}

void CHRBarChart::PrintPage(DeviceContext& dc, const Rect& page, int pageIndex, bool) {
    draw::StateSaver saver(dc);
    PreparePrintMapping(dc, page);
    const double widthMm = page.Width() * 1000.0 / std::max(1, dc.Device().pixelsPerMeterX);
    const double heightMm = page.Height() * 1000.0 / std::max(1, dc.Device().pixelsPerMeterY);
    const int width = TruncToInt(widthMm * 10), height = TruncToInt(heightMm * 10);
    const int left = -(PrintMargin + PrintLabelColumn);
    const int bottom = -(PrintMargin + layout_.titleArea);
    const int charset = res_.AxisFont.charset;
    const Fonts fonts{ChartFont(40, 100, 0, charset), ChartFont(46, 700, 0, charset),
                      ChartFont(50, 400, 0, charset)};
    dc.SetBkMode(draw::BkMode::Transparent);

    dc.SetFont(fonts.label);
    dc.SetTextAlign(ta::Right | ta::Top);
    dc.Text(left + width, bottom + height, PageText(Text(TextPageNumber), pageIndex + 1));

    if (laidOut_ && !IsDataMissing()) {
        const int header = layout_.twoDifferent ? -70 : -120;
        RowFrame f;
        f.printing = true;
        f.labelGap = 10;
        f.plotWidth = width - 2 * PrintMargin - PrintLabelColumn - 50;
        f.plotTop = height + header - 2 * PrintMargin - layout_.titleArea;
        const int rows = RowsPerPrintedPage(heightMm);
        const int n = static_cast<int>(layout_.entries.size());
        f.first = std::min(n, pageIndex * rows);
        f.count = std::clamp(n - f.first, 0, rows);
        if (f.plotWidth > 0 && f.plotTop > 0) DrawFrame(dc, f, fonts, pageIndex == 0);
    }

    const std::string source = Text(TextSourceLine);
    if (!source.empty()) {
        dc.SetFont(ChartFont(30, 700, 0, charset));
        dc.SetTextAlign(ta::Left | ta::Bottom);
        dc.Text(width / 50 + left, -200, source);
    }
}

// ---------------------------------------------------------------- picture

int CHRBarChart::PictureHeight() const {
    // Every row, the room under the plot as on screen and the title's room above it.
    const int title =
        layout_.twoDifferent ? 100 : std::max(400, 6000 - layout_.originY - layout_.fullTop);
    return layout_.originY + PictureFrame().plotTop + title;
}

LogicalSpace CHRBarChart::PictureSpace() const {
    const int height = PictureHeight();
    int over = 0;
    if (laidOut_ && !IsDataMissing()) {
        // Names longer than the label column widen the picture to the left.
        draw::NullContext probe(
            draw::DeviceInfo{draw::Technology::Display, 800, 600, 3780, 3780, 24},
            ScreenMeasurer());
        probe.SetMapMode(draw::MapMode::Isotropic);
        probe.SetWindowExt(8000, -height);
        probe.SetViewportExt(800, std::max(1, TruncToInt(800.0 * height / 8000)));
        over = std::max(0, -L::OriginX - LabelsLeft(probe, PictureFrame(), screenFonts_) + 50);
    }
    return {L::OriginX + over, layout_.originY, 8000 + over, height};
}

MetafileInfo CHRBarChart::GetMetafileInfo() const {
    MetafileInfo info;
    const LogicalSpace s = PictureSpace();
    info.bounds = {0, 0, 800, std::max(1, TruncToInt(800.0 * s.cy / s.cx))};
    return info;
}

void CHRBarChart::DrawPicture(DeviceContext& dc, const Rect& bounds, bool) {
    const LogicalSpace s = PictureSpace();
    dc.SetMapMode(draw::MapMode::Isotropic);
    dc.SetWindowExt(s.cx, -s.cy);
    dc.SetViewportExt(bounds.Width(), bounds.Height());
    dc.SetWindowOrg(-s.x, -s.y);
    dc.SetViewportOrg(0, bounds.bottom);
    {
        // The white frame fixes the picture's bounds to the whole drawing space.
        draw::StateSaver saver(dc);
        dc.SetPen(Pen::Solid(0, draw::White));
        dc.SetBrush(draw::Brush::Hollow());
        dc.Rectangle({-s.x, s.cy - s.y, s.cx - s.x, -s.y});
    }
    if (!laidOut_ || IsDataMissing()) return;
    draw::StateSaver saver(dc);
    DrawFrame(dc, PictureFrame(), screenFonts_, false);
}

// ---------------------------------------------------------------- zorexport

bool CHRBarChart::WriteData(JsonWriter& j) {
    j.BeginObject();
    j.Key("scale").BeginObject();
    WriteRange(j, {layout_.min, layout_.max, layout_.step});
    j.EndObject();
    j.Key("twoBars").Bool(layout_.twoBars);
    j.Key("entries").BeginArray();
    auto rect = [&j](const std::optional<Rect>& r) {
        if (!r) {
            j.Null();
            return;
        }
        j.BeginArray();
        j.Int(r->left).Int(r->top).Int(r->right).Int(r->bottom);
        j.EndArray();
    };
    for (size_t p = 0; p < layout_.entries.size(); ++p) {
        const RankedRow& e = layout_.entries[p];
        const int i = static_cast<int>(p);
        j.BeginObject();
        j.Key("row").Int(e.row);
        j.Key("name").String(e.name);
        j.Key("selected").Int(e.selected);
        j.Key("valueA");
        FloatOrNull(j, e.valueA);
        j.Key("valueB");
        FloatOrNull(j, e.valueB);
        j.Key("rectA");
        rect(ScreenRectA(i));
        j.Key("rectB");
        rect(ScreenRectB(i));
        j.Key("yearA").Int(YearA(i));
        j.Key("yearB").Int(YearB(i));
        j.EndObject();
    }
    j.EndArray();
    j.Key("perPage").Int(layout_.visible);
    j.Key("printPages").Int(PrintedPages(printHeightMm_));
    j.EndObject();
    return true;
}

int CHRBarChart::ReapplyRenderPage() {
    if (!renderPage_) return 0;
    return ShowPage(*renderPage_) ? 0 : -1;
}

std::string CHRBarChart::ApplyRenderOption(const std::string& name, const std::string& value) {
    RankedChoice c = choice_;
    if (name == "--two-bars") {
        c.twoBars = true;
        ApplyChoice(c);
    } else if (name == "--indicator-b" || name == "--period-b") {
        const bool indicator = name == "--indicator-b";
        const std::optional<int> v = WholeNumber(value);
        const size_t size = indicator ? table_.Indicators().size() : table_.Periods().size();
        if (!v || *v < 0 || static_cast<size_t>(*v) >= size)
            return name + " " + value +
                   (indicator ? " is past the indicator list" : " is past the period list");
        (indicator ? c.indicatorB : c.periodB) = *v;
        ApplyChoice(c);
    } else if (name == "--page") {
        const std::optional<int> v = WholeNumber(value);
        if (!v || *v < 1) return "bad --page " + value;
        renderPage_ = *v;
    } else {
        return CGraphView::ApplyRenderOption(name, value);
    }
    if (ReapplyRenderPage() != 0)
        return "--page " + std::to_string(*renderPage_) + " is past the last page";
    return {};
}

} // namespace zor::charts
