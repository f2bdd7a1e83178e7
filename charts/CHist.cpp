#include "charts/CHist.h"

#include "charts/StatDialogs.h"
#include "charts/ViewRegistry.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "core/Selection.h"
#include "draw/NullContext.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace zor::charts {

using draw::DeviceContext;
using draw::Pen;

namespace {

constexpr int Sections = 10;     // of the vertical scale, at most
constexpr int MaxSteps = 100000; // of any one loop of the column fit
constexpr draw::Color PrintedGrey = draw::Rgb(192, 192, 192);
constexpr int TitleHeight = 280;

// The columns of width w that (t - o) holds, with the written tolerance; large counts stop at a
// bound far above any column count.
int ColumnCount(float o, float t, float w) {
    const float q = (t - o) / w * 1.000001f;
    if (!(q < 1e6f)) return 1000000;
    return static_cast<int>(std::trunc(q));
}

} // namespace

ColumnFit FitColumns(const AxisRange& axis, float lo, float hi, int columns) {
    const int k = columns;
    ColumnFit f{axis.min, axis.max, axis.step, 0, 0};
    if (IsMissing(axis.max) || !(axis.step > 0) || !(axis.max > axis.min) || k < 1) return f;
    if (lo == 0 && hi == 0) hi = 1;
    if (lo == hi) {
        if (lo > 0)
            lo = 0;
        else
            hi = 0;
    }
    const float u = axis.step;
    float o = axis.min, t = axis.max, w = u;
    auto n = [&](float width) { return ColumnCount(o, t, width); };
    const int first = n(w);
    if (first != k) {
        const bool narrowing = first < k;
        bool retried = false;
        for (;;) {
            if (narrowing) {
                // Narrower by tenths of the axis step (halving where a tenth would leave none),
                // then back by hundredths until no more than k columns fit.
                int steps = 0;
                do {
                    const float next = w - 0.1f * u;
                    w = next > 0 ? next : w / 2;
                } while (n(w) < k && ++steps < MaxSteps);
                for (steps = 0; n(w) > k && steps < MaxSteps; ++steps) w = w + 0.01f * u;
            } else {
                int steps = 0;
                do w = w + 0.1f * u;
                while (n(w) > k && ++steps < MaxSteps);
            }
            // After a retry the columns start at the largest multiple of the width not above
            // the smallest value (one further down where rounding put the product above it).
            if (retried) {
                const float m = std::floor(lo / w);
                o = w * m;
                if (o > lo) o = w * (m - 1);
            }
            t = o + static_cast<float>(k) * w;
            // The top column wholly above the data or the bottom one wholly below it: again
            // from the data's top with the axis step.
            const bool misplaced = t - w > hi || o + w < lo;
            if (!misplaced || f.retries >= MaxColumnRetries) break;
            t = hi, w = u, retried = true;
            ++f.retries;
        }
    }
    f.origin = o, f.top = t, f.width = w;
    if (t < hi) {
        // Wider by tenths of the width until the columns reach the largest value.
        for (int c = 1; c <= MaxSteps; ++c) {
            const float wider = w + static_cast<float>(c) * w / 10;
            const float top = o + static_cast<float>(k) * wider;
            if (top >= hi) {
                f.top = top, f.width = wider, f.widenings = c;
                break;
            }
        }
    }
    return f;
}

HistLayout LayoutBoxes(const HistRows& rows, const ColumnFit& fit, int columns, int left,
                       int bottom, int right, int top) {
    const int k = columns;
    HistLayout out;
    out.columns = k;
    if (k < 1 || !(fit.width > 0)) return out;
    std::vector<HistBox> records;
    for (size_t r = 0; r < rows.values.size(); ++r) {
        HistBox b;
        b.row = static_cast<int>(r);
        b.highlight = r < rows.highlights.size() ? rows.highlights[r] : -1;
        b.name = r < rows.names.size() ? rows.names[r] : std::string();
        b.value = rows.values[r];
        records.push_back(std::move(b));
    }
    // Missing values (-1e8) sort below every value and end the walk.
    ExchangeSortDescending(std::span<HistBox>(records), [](const HistBox& b) { return b.value; });

    out.counts.assign(static_cast<size_t>(k), 0);
    const double cw = double(right - left) / k;
    const float t = fit.top, w = fit.width;
    int b = 0; // bin 0 holds the highest values: the rightmost column
    float lower = t - w;
    int largest = 0;
    for (HistBox& box : records) {
        if (IsMissing(box.value)) break;
        // Down the bins while the value lies below the bin. A value on a limit stays in the
        // higher bin; one below the lowest limit (rounding) stays in the lowest column.
        while (box.value < lower && b < k - 1) {
            ++b;
            lower = t - static_cast<float>(b + 1) * w;
        }
        box.column = k - b - 1;
        box.left = TruncToInt(box.column * cw) + left;
        box.right = TruncToInt((k - b) * cw) + left;
        int& count = out.counts[static_cast<size_t>(box.column)];
        box.bottom = count;
        box.top = count + 1;
        ++count;
        largest = std::max(largest, count);
        out.boxes.push_back(std::move(box));
    }
    if (out.boxes.empty()) return out;
    float yMin = 0;
    out.yMax = static_cast<float>(largest);
    out.yStep = NiceScale(yMin, out.yMax, Sections);
    const double scale = (top - bottom) / double(out.yMax);
    for (HistBox& box : out.boxes) {
        box.bottom = TruncToInt(box.bottom * scale) + bottom;
        box.top = TruncToInt(box.top * scale) + bottom;
    }
    return out;
}

// --- The view

const std::vector<MenuItem>& CHist::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdScale), MenuCommand(CmdPrint),
                                               MenuCommand(CmdSpecial), MenuCommand(CmdQuit)};
    return menu;
}

CHist::CHist(const ViewContext& context)
    : CGraphView(context),
      table_(context.store, context.selection.SetCode(), context.selection.Indicators(),
             context.selection.Regions(), context.selection.Periods(), RowsAll, false),
      titleFont_(ChartFont(TitleHeight, 400, 0, context.resources.AxisFont.charset)) {
    loadResult_ = table_.Load(context.progress);
    const int indicators = static_cast<int>(table_.Indicators().size());
    columns_.assign(static_cast<size_t>(indicators), DefaultColumns);
    fits_.resize(static_cast<size_t>(indicators));
    for (int i = 0; i < indicators; ++i) FitIndicator(i);

    const auto& keys = table_.RowKeys();
    const auto& selected = table_.Regions();
    std::vector<LegendEntry> entries;
    for (const ListItem& region : selected)
        entries.push_back({static_cast<int>(entries.size()), Decode(region.name)});
    for (const int32_t key : keys) {
        const auto it = std::find_if(selected.begin(), selected.end(),
                                     [key](const ListItem& s) { return s.code == key; });
        highlights_.push_back(it == selected.end() ? -1 : static_cast<int>(it - selected.begin()));
    }
    legend_ = LayoutLegend(LegendKey::Box, entries, axes_.Right(), axes_.Bottom(), axes_.Top());
    RebuildBoxes();
}

draw::Point CHist::GetOrigin() const {
    return {axes_.OriginX(), axes_.OriginY()};
}
draw::Size CHist::GetExtent() const {
    return {axes_.ExtentX(), axes_.ExtentY()};
}

int CHist::Columns(int indicator) const {
    return indicator >= 0 && static_cast<size_t>(indicator) < columns_.size()
               ? columns_[static_cast<size_t>(indicator)]
               : DefaultColumns;
}

ColumnFit CHist::Fit(int indicator) const {
    return indicator >= 0 && static_cast<size_t>(indicator) < fits_.size()
               ? fits_[static_cast<size_t>(indicator)]
               : ColumnFit{};
}

void CHist::FitIndicator(int i) {
    // The fit starts from the axis the table computed first, over every period's values.
    const AxisRange axis = table_.ComputedAxis(i);
    float lo = 3.40282347e38f, hi = MissingValue;
    const int periods = static_cast<int>(table_.Periods().size());
    for (int p = 0; p < periods; ++p)
        for (int r = 0; r < table_.RowCount(); ++r) {
            const float v = table_.Value(p, i, r);
            if (IsMissing(v)) continue;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    const ColumnFit fit = FitColumns(axis, lo, hi, Columns(i));
    fits_[static_cast<size_t>(i)] = fit;
    if (!IsMissing(axis.max)) table_.SetCurrentAxis(i, {fit.origin, fit.top, fit.width});
}

void CHist::RebuildBoxes() {
    const int i = IndicatorIndex();
    layout_ = HistLayout{};
    layout_.columns = Columns(i);
    if (IsMissing(table_.CurrentAxis(i).max)) return;
    HistRows rows;
    for (int r = 0; r < table_.RowCount(); ++r) {
        rows.values.push_back(table_.Value(PeriodIndex(), i, r));
        rows.names.push_back(Decode(table_.RowLabels()[static_cast<size_t>(r)]));
    }
    rows.highlights = highlights_;
    layout_ = LayoutBoxes(rows, Fit(i), Columns(i), axes_.Left(), axes_.Bottom(), axes_.Right(),
                          axes_.Top());
    const AxisRange a = table_.CurrentAxis(i);
    axes_.SetRanges(a.min, a.max, 0, layout_.yMax);
}

bool CHist::IsDataMissing() const {
    const int i = IndicatorIndex();
    if (IsMissing(table_.CurrentAxis(i).max)) return true;
    for (int r = 0; r < table_.RowCount(); ++r)
        if (!IsMissing(table_.Value(PeriodIndex(), i, r))) return false;
    return true;
}

void CHist::OnCreate() {
    AddIndicatorChoice(table_.Indicators(), IndicatorIndex(), 1);
    AddTimePeriodChoice(table_.Periods(), PeriodIndex(), 1);
}

void CHist::OnInitialUpdate() {
    CGraphView::OnInitialUpdate();
    RebuildBoxes();
}

void CHist::OnPeriodChanged(int) {
    RebuildBoxes();
}

void CHist::OnIndicatorChanged(int) {
    RebuildBoxes();
}

void CHist::SetColumns(int columns) {
    const int i = IndicatorIndex();
    if (i < 0 || static_cast<size_t>(i) >= columns_.size()) return;
    columns_[static_cast<size_t>(i)] = ClampColumns(columns);
    table_.SetCurrentAxis(i, table_.ComputedAxis(i));
    FitIndicator(i);
    RebuildBoxes();
}

CommandState CHist::QueryCommand(int id) const {
    if (id == CmdScale) return {!IsDataMissing(), std::nullopt};
    return CGraphView::QueryCommand(id);
}

bool CHist::OnCommand(int id) {
    if (id != CmdScale) return CGraphView::OnCommand(id);
    if (!Host() || IsDataMissing()) return true;
    HistogramColumnsModel m;
    m.columns = Columns(IndicatorIndex());
    if (!Host()->RunDialog(m)) return true;
    SetColumns(m.columns);
    Host()->Invalidate(true);
    return true;
}

// --- Drawing

std::string CHist::TitleText() const {
    const auto i = static_cast<size_t>(IndicatorIndex()), p = static_cast<size_t>(PeriodIndex());
    if (i >= table_.Indicators().size() || p >= table_.Periods().size()) return {};
    return Decode(table_.Indicators()[i].name) + ", " + Decode(table_.Periods()[p].name);
}

void CHist::DrawChart(DeviceContext& dc, bool) const {
    if (IsMissing(table_.CurrentAxis(IndicatorIndex()).max) || layout_.boxes.empty()) return;
    draw::StateSaver saver(dc);
    SelectChartPalette(dc, res_);
    const ColumnFit fit = Fit(IndicatorIndex());
    axes_.DrawNumberAxisX(dc, res_, {}, fit.width, 1, true);
    axes_.DrawValueAxis(dc, res_, Text(TextRegionNumber), layout_.yStep, TruncToInt(layout_.yStep),
                        true);

    dc.SetPen(Pen::Solid(0, draw::Black));
    const draw::Brush plain = draw::Brush::Solid(dc.IsPrinter() ? PrintedGrey : draw::White);
    for (const HistBox& b : layout_.boxes) {
        dc.SetBrush(b.highlight >= 0 ? res_.Brush(b.highlight) : plain);
        dc.Rectangle({b.left, b.top, b.right, b.bottom});
    }

    DrawLegend(dc, res_, legend_);

    dc.SetFont(titleFont_);
    dc.SetBkMode(draw::BkMode::Transparent);
    DrawTitle(dc, LayoutTitle(dc, TitleText(), axes_.Left(), axes_.Right(), axes_.Top() + 50));
}

TextOverflow CHist::MeasureOverflow(const DeviceContext& dc) const {
    TextOverflow o;
    if (layout_.boxes.empty()) return o;
    const LogicalSpace s = SpaceOf(dc);
    const std::vector<BandAxis> axis = {BandAxis{axes_, 0, {}}};
    // The axis title's line ends 20 units left of the widest label.
    const int title = draw::MeasureText(dc, res_.AxisTitleFont, "0").cy + 20;
    o.left = -s.x - (BandLabelsLeft(dc, res_, axis, layout_.yStep) - title);
    o.right = LegendRight(dc, res_, legend_) - (s.cx - s.x);
    const Title t =
        LayoutTitle(dc, titleFont_, TitleText(), axes_.Left(), axes_.Right(), axes_.Top() + 50);
    o.top = t.box.top - (s.cy - s.y);
    return o;
}

int CHist::HitTest(draw::Point logical) {
    const draw::Point p = logical;
    for (size_t i = 0; i < layout_.boxes.size(); ++i) {
        const HistBox& b = layout_.boxes[i];
        if (b.left <= p.x && p.x <= b.right && b.bottom <= p.y && p.y <= b.top)
            return static_cast<int>(i);
    }
    return -1;
}

std::string CHist::GetTipText() {
    const int i = HoveredItem();
    if (i < 0 || static_cast<size_t>(i) >= layout_.boxes.size()) return {};
    const HistBox& b = layout_.boxes[static_cast<size_t>(i)];
    return b.name + ": " + FormatValue(b.value);
}

// --- zorexport

std::string CHist::ApplyRenderOption(const std::string& name, const std::string& value) {
    if (name != "--columns") return CGraphView::ApplyRenderOption(name, value);
    const std::optional<int> k = WholeNumber(value);
    if (!k || *k < MinColumns || *k > MaxColumns) return "bad --columns " + value + " (3 to 15)";
    if (!IsDataMissing()) SetColumns(*k);
    return {};
}

bool CHist::WriteData(JsonWriter& j) {
    const int i = IndicatorIndex();
    const ColumnFit fit = Fit(i);
    const bool fitted = !IsMissing(table_.CurrentAxis(i).max);
    auto code = [](const std::vector<ListItem>& list, int k) {
        return k >= 0 && static_cast<size_t>(k) < list.size() ? list[static_cast<size_t>(k)].code
                                                              : 0;
    };
    j.BeginObject();
    j.Key("indicator").Int(code(table_.Indicators(), i));
    j.Key("period").Int(code(table_.Periods(), PeriodIndex()));
    j.Key("columns").Int(Columns(i));
    auto number = [&](const char* key, float v) {
        j.Key(key);
        if (fitted)
            j.Float(v);
        else
            j.Null();
    };
    number("origin", fit.origin);
    number("top", fit.top);
    number("width", fit.width);
    j.Key("ymax").Float(layout_.yMax);
    j.Key("ystep").Float(layout_.yStep);
    j.Key("boxes").BeginArray();
    for (const HistBox& b : layout_.boxes) {
        j.BeginObject();
        j.Key("row").Int(b.row);
        j.Key("name").String(b.name);
        j.Key("value").Float(b.value);
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
