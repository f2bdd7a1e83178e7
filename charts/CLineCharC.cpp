#include "charts/CLineCharC.h"

#include "charts/CCompChart.h"
#include "charts/DialogRules.h"
#include "charts/ViewRegistry.h"
#include "core/DataStore.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "core/Selection.h"
#include "draw/NullContext.h"

#include <algorithm>
#include <cstdio>

namespace zor::charts {

using draw::DeviceContext;
namespace ta = draw::ta;

namespace {

constexpr int KeyColumn = 2000; // width of a key column
constexpr int KeyRoom = 1900;   // what an entry of a column may take
constexpr int KeyLine = 8000;   // what a line of fewer than five entries may take

// Drops the last UTF-8 character of `text`.
void DropLastCharacter(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
        text.pop_back();
    if (!text.empty()) text.pop_back();
}

} // namespace

std::string ShortenToFit(const DeviceContext& dc, const draw::Font& font, const std::string& text,
                         int limit) {
    if (draw::MeasureText(dc, font, text).cx <= limit) return text;
    std::string base = text;
    while (!base.empty()) {
        DropLastCharacter(base);
        const std::string cut = base + "...";
        if (draw::MeasureText(dc, font, cut).cx <= limit) return cut;
    }
    return "...";
}

std::vector<KeyEntry> LayoutIndicatorKey(const DeviceContext& dc, const draw::Font& font,
                                         const std::vector<std::string>& texts, int originX,
                                         int lineHeight) {
    std::vector<KeyEntry> key;
    const int n = static_cast<int>(texts.size());
    auto column = [&](int d, int line) {
        key.push_back({ShortenToFit(dc, font, texts[static_cast<size_t>(d)], KeyRoom),
                       (d % 4) * KeyColumn - originX + 100, -(line + 1) * lineHeight - 150});
    };
    if (n >= 5) {
        for (int d = 0; d < n; ++d) column(d, d / 4);
        return key;
    }
    std::vector<std::string> shortened;
    std::vector<int> widths;
    int sum = 0;
    for (const std::string& t : texts) {
        shortened.push_back(ShortenToFit(dc, font, t, KeyLine));
        widths.push_back(draw::MeasureText(dc, font, shortened.back()).cx);
        sum += widths.back() + 100;
    }
    if (sum > KeyLine) {
        // Too wide for one line together: 2000 apart, like the columns.
        for (int d = 0; d < n; ++d) {
            key.push_back({ShortenToFit(dc, font, texts[static_cast<size_t>(d)], KeyRoom),
                           d * KeyColumn - originX + 100, -lineHeight - 150});
        }
        return key;
    }
    int x = (KeyLine - sum) / 4 - originX + 100;
    for (size_t d = 0; d < shortened.size(); ++d) {
        key.push_back({shortened[d], x, -lineHeight - 150});
        x += widths[d] + 100;
    }
    return key;
}

const std::vector<MenuItem>& CLineCharC::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdScale), MenuCommand(CmdPrint),
                                               MenuCommand(CmdSpecial), MenuCommand(CmdQuit)};
    return menu;
}

CLineCharC::CLineCharC(const ViewContext& context)
    : CGraphView(context),
      table_(context.store, context.selection.SetCode(), context.selection.Indicators(),
             context.selection.Regions(), context.selection.Periods(), RowsSelected, false),
      titleFont_(ChartFont(280, 400, 0, context.resources.AxisFont.charset)) {
    // Exported line charts are always coloured.
    SetPictureChoice(false);
    loadResult_ = table_.Load(context.progress);
    n_ = std::min(MaxIndicators, static_cast<int>(table_.Indicators().size()));
    for (int p = 0; p < static_cast<int>(table_.Periods().size()); ++p) {
        std::vector<LineSeries> values(1);
        for (int i = 0; i < n_; ++i)
            for (int r = 0; r < table_.RowCount(); ++r) {
                const float v = table_.Value(p, i, r);
                if (IsMissing(v)) continue;
                values[0].xs.push_back(static_cast<float>(i));
                values[0].ys.push_back(v);
            }
        y_.push_back(ValueAxis(values));
    }
    yDefault_ = y_;
    BuildSeries();
    UpdateAxes();
}

draw::Point CLineCharC::GetOrigin() const {
    return {axes_.OriginX(), axes_.OriginY()};
}
draw::Size CLineCharC::GetExtent() const {
    return {axes_.ExtentX(), axes_.ExtentY()};
}

void CLineCharC::OnCreate() {
    AddTimePeriodChoice(table_.Periods(), PeriodIndex(), 1);
}

void CLineCharC::OnInitialUpdate() {
    CGraphView::OnInitialUpdate();
    // The key's lines are as high as the axis font on the screen.
    draw::NullContext dc(draw::DeviceInfo{draw::Technology::Display, 800, 600, 3780, 3780, 24},
                         ScreenMeasurer());
    dc.SetMapMode(draw::MapMode::Anisotropic);
    dc.SetWindowExt(8000, -6000);
    dc.SetViewportExt(800, 600);
    dc.SetFont(res_.AxisFont);
    lineHeight_ = dc.TextExtent("0123456789").cy;
    keyHeight_ = ((n_ + 3) / 4 + 1) * lineHeight_ + 300;
    axes_.SetPlotSize(5750, 5600 - keyHeight_);
    axes_.SetOrigin(750, keyHeight_);
    BuildSeries();
    UpdateAxes();
}

AxisRange CLineCharC::YRange() const {
    const auto p = static_cast<size_t>(PeriodIndex());
    return p < y_.size() ? y_[p] : AxisRange{};
}
AxisRange CLineCharC::DefaultYRange() const {
    const auto p = static_cast<size_t>(PeriodIndex());
    return p < yDefault_.size() ? yDefault_[p] : AxisRange{};
}

bool CLineCharC::IsDataMissing() const {
    return IsMissing(YRange().max);
}

void CLineCharC::BuildSeries() {
    series_.clear();
    std::vector<float> xs;
    for (int i = 0; i < n_; ++i) xs.push_back(static_cast<float>(i));
    for (int r = 0; r < table_.RowCount(); ++r) {
        std::vector<float> v;
        for (int i = 0; i < n_; ++i) v.push_back(table_.Value(PeriodIndex(), i, r));
        series_.push_back(SeriesOfValues(xs, v));
    }
    hit_ = {};
}

void CLineCharC::UpdateAxes() {
    const AxisRange y = YRange();
    axes_.SetRanges(0, static_cast<float>(std::max(0, n_ - 1)), y.min, y.max);
    if (logarithmic_)
        axes_.SetLogarithmic(SeriesDecades(series_));
    else
        axes_.SetLinear();
}

void CLineCharC::OnPeriodChanged(int) {
    BuildSeries();
    UpdateAxes();
}

void CLineCharC::ApplyScale(const AxisRange& y, bool logarithmic) {
    const auto p = static_cast<size_t>(PeriodIndex());
    if (p < y_.size()) y_[p] = y;
    logarithmic_ = logarithmic;
    UpdateAxes();
    if (Host()) Host()->Invalidate(true);
}

bool CLineCharC::OnCommand(int id) {
    if (id != CmdScale) return CGraphView::OnCommand(id);
    if (!Host() || IsDataMissing()) return true;
    const AxisRange y = YRange(), d = DefaultYRange();
    ScaleDialogModel m;
    m.input = {ScaleValues{y.min, y.max, y.step}, ScaleValues{d.min, d.max, d.step}, true,
               logarithmic_};
    if (Host()->RunDialog(m))
        ApplyScale({m.result.values.min, m.result.values.max, m.result.values.section},
                   m.result.logarithmic);
    return true;
}

CommandState CLineCharC::QueryCommand(int id) const {
    if (id == CmdScale) return {!IsDataMissing(), std::nullopt};
    return CGraphView::QueryCommand(id);
}

std::string CLineCharC::IndicatorName(int d) const {
    const auto& ind = table_.Indicators();
    return d >= 0 && static_cast<size_t>(d) < ind.size() ? Decode(ind[static_cast<size_t>(d)].name)
                                                         : std::string();
}

int CLineCharC::HitTest(draw::Point logical) {
    hit_ = IsDataMissing() ? PointHit{} : HitPoint(axes_, series_, logical);
    return hit_.Found() ? hit_.series * 100000 + hit_.point : -1;
}

std::string CLineCharC::GetTipText() {
    if (!hit_.Found() || HoveredItem() < 0 || static_cast<size_t>(hit_.series) >= series_.size())
        return {};
    const LineSeries& s = series_[static_cast<size_t>(hit_.series)];
    const auto k = static_cast<size_t>(hit_.point);
    if (k >= s.Size()) return {};
    return Decode(table_.RowLabels()[static_cast<size_t>(hit_.series)]) + ": " +
           FormatValue(s.ys[k]) + " (" + IndicatorName(TruncToInt(s.xs[k])) + ")";
}

Legend CLineCharC::LegendLayout() const {
    std::vector<LegendEntry> entries;
    for (int r = 0; r < table_.RowCount(); ++r)
        entries.push_back({r, Decode(table_.RowLabels()[static_cast<size_t>(r)])});
    return LayoutLegend(LegendKey::LineMarker, entries, axes_.Right(), axes_.Bottom(), axes_.Top());
}

std::vector<KeyEntry> CLineCharC::KeyLayout(const DeviceContext& dc) const {
    std::vector<std::string> texts;
    for (int d = 0; d < n_; ++d)
        texts.push_back(
            CodedName(table_.Indicators()[static_cast<size_t>(d)].code, IndicatorName(d)));
    return LayoutIndicatorKey(dc, res_.AxisFont, texts, axes_.OriginX(), lineHeight_);
}

std::string CLineCharC::TitleText() const {
    const auto p = static_cast<size_t>(PeriodIndex());
    return p < table_.Periods().size() ? Decode(table_.Periods()[p].name) : std::string();
}

int CLineCharC::ZeroLine() const {
    const ChartAxes& a = axes_;
    if (a.Logarithmic() && a.Log().logBottom < 0) return a.SeriesY(0);
    const double min = a.YMin(), max = a.YMax();
    if (a.Logarithmic() || !(max > min)) return a.Bottom();
    // A range above 0 has it at the bottom, one below 0 at the top: never over the key or title.
    const int y = a.Bottom() - TruncToInt((a.Top() - a.Bottom()) * min / (max - min));
    return std::clamp(y, a.Bottom(), a.Top());
}

void CLineCharC::DrawChart(DeviceContext& dc, bool) const {
    if (IsDataMissing()) return;
    draw::StateSaver saver(dc);
    SelectChartPalette(dc, res_);
    const ChartAxes& a = axes_;
    dc.SetPen(draw::Pen::Solid(0, draw::Black));
    dc.SetBkMode(draw::BkMode::Transparent);
    const int zero = ZeroLine();
    dc.MoveTo(a.Left(), zero);
    dc.LineTo(a.Right(), zero);
    a.DrawValueAxis(dc, res_, {}, YRange().step, 5, true);

    // The indicator axis: a dotted line and a tick with the code at each position.
    dc.SetFont(res_.AxisFont);
    dc.SetTextAlign(ta::Center | ta::Top);
    const double spacing =
        n_ <= 1 ? double(a.Right() - a.Left()) : double(a.Right() - a.Left()) / (n_ - 1);
    for (int d = 0; d < n_; ++d) {
        const int x = a.Left() + TruncToInt(d * spacing);
        dc.SetPen(res_.GridPen);
        dc.MoveTo(x, a.Top());
        dc.LineTo(x, a.Bottom());
        dc.SetPen(draw::Pen::Solid(0, draw::Black));
        dc.LineTo(x, a.Bottom() - 100);
        char code[16];
        std::snprintf(code, sizeof code, "%4.4d", table_.Indicators()[static_cast<size_t>(d)].code);
        dc.Text(x, a.Bottom() - 100, code);
    }

    {
        draw::StateSaver clip(dc);
        dc.IntersectClipRect({a.Left(), a.Top(), a.Right(), a.Bottom()});
        for (int r = static_cast<int>(series_.size()) - 1; r >= 0; --r) {
            dc.SetPen(res_.WidePen(r));
            DrawSeriesLines(dc, res_, a, series_[static_cast<size_t>(r)]);
        }
    }
    for (int r = static_cast<int>(series_.size()) - 1; r >= 0; --r)
        DrawSeriesMarkers(dc, res_, a, series_[static_cast<size_t>(r)], r);

    DrawLegend(dc, res_, LegendLayout());

    dc.SetFont(titleFont_);
    dc.SetTextAlign(ta::Center | ta::Bottom);
    dc.Text((a.Left() + a.Right()) / 2, a.Top(), TitleText());

    dc.SetFont(res_.AxisFont);
    dc.SetTextAlign(ta::Left | ta::Top);
    for (const KeyEntry& e : KeyLayout(dc)) dc.Text(e.x, e.y, e.text);
}

TextOverflow CLineCharC::MeasureOverflow(const DeviceContext& dc) const {
    TextOverflow o;
    if (IsDataMissing()) return o;
    const LogicalSpace s = SpaceOf(dc);
    o.left = -s.x - ValueLabelsLeft(dc, res_, axes_, YRange().step);
    o.right = LegendRight(dc, res_, LegendLayout()) - (s.cx - s.x);
    o.top = axes_.Top() + draw::MeasureText(dc, titleFont_, TitleText()).cy - (s.cy - s.y);
    return o;
}

bool CLineCharC::WriteData(JsonWriter& j) {
    const AxisRange y = YRange();
    j.BeginObject();
    j.Key("x").BeginObject();
    j.Key("min").Float(0).Key("max").Float(static_cast<float>(std::max(0, n_ - 1)));
    j.Key("step").Float(1);
    j.EndObject();
    j.Key("y").BeginObject();
    WriteRange(j, y);
    j.Key("log").Bool(Logarithmic());
    j.EndObject();
    j.Key("series").BeginArray();
    for (size_t r = 0; r < series_.size(); ++r) {
        j.BeginObject();
        j.Key("label").String(Decode(table_.RowLabels()[r]));
        j.Key("points");
        WritePoints(j, series_[r]);
        j.Key("highlight").Bool(false);
        j.Key("trend").Null();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return true;
}

std::string CLineCharC::ApplyRenderOption(const std::string& name, const std::string& value) {
    if (name != "--log") return CGraphView::ApplyRenderOption(name, value);
    // As the scale dialog with its box checked: the default range, logarithmic.
    if (!IsDataMissing()) ApplyScale(DefaultYRange(), true);
    return {};
}

} // namespace zor::charts
