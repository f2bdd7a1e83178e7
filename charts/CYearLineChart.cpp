#include "charts/CYearLineChart.h"

#include "charts/DialogRules.h"
#include "core/DataStore.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "core/Selection.h"

#include <charconv>
#include <cmath>

namespace zor::charts {

using draw::DeviceContext;

namespace {

// A number of a render option; none when the text is not one.
std::optional<float> ParseFloat(const std::string& text) {
    float v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v)) return std::nullopt;
    return v;
}

} // namespace

CYearLineChart::CYearLineChart(const ViewContext& context, bool byIndicator)
    : CGraphView(context),
      table_(context.store, context.selection.SetCode(), context.selection.Indicators(),
             context.selection.Regions(), context.store.PeriodList(), RowsSelected, false),
      titleFont_(ChartFont(280, 400, 0, context.resources.AxisFont.charset)),
      byIndicator_(byIndicator) {
    // Exported line charts are always coloured.
    SetPictureChoice(false);
    loadResult_ = table_.Load(context.progress);
    for (const ListItem& p : table_.Periods()) {
        years_.push_back(p.code);
        yearsF_.push_back(static_cast<float>(p.code));
    }
    BuildSeries();
    const int first = years_.empty() ? 0 : years_.front();
    const int last = years_.empty() ? 0 : years_.back();
    for (int p = 0; p < PageCount(); ++p) {
        const auto& s = series_[static_cast<size_t>(p)];
        x_.push_back(YearAxis(s, first, last));
        y_.push_back(byIndicator_ ? table_.ComputedAxis(p) : ValueAxis(s));
    }
    xDefault_ = x_;
    yDefault_ = y_;
    UpdateAxes();
}

int CYearLineChart::PageCount() const {
    return byIndicator_ ? static_cast<int>(table_.Indicators().size()) : table_.RowCount();
}

int CYearLineChart::Page() const {
    return byIndicator_ ? IndicatorIndex() : RegionIndex();
}

std::vector<float> CYearLineChart::Values(int page, int s) const {
    std::vector<float> v;
    const int indicator = byIndicator_ ? page : s, row = byIndicator_ ? s : page;
    for (size_t k = 0; k < years_.size(); ++k)
        v.push_back(table_.Value(static_cast<int>(k), indicator, row));
    return v;
}

void CYearLineChart::BuildSeries() {
    const int seriesCount =
        byIndicator_ ? table_.RowCount() : static_cast<int>(table_.Indicators().size());
    series_.assign(static_cast<size_t>(PageCount()), {});
    for (int p = 0; p < PageCount(); ++p)
        for (int s = 0; s < seriesCount; ++s) {
            const std::vector<float> v = Values(p, s);
            series_[static_cast<size_t>(p)].push_back(average_ ? ThreeYearAverage(years_, v)
                                                               : SeriesOfValues(yearsF_, v));
        }
}

const std::vector<LineSeries>& CYearLineChart::Series() const {
    static const std::vector<LineSeries> none;
    const auto p = static_cast<size_t>(Page());
    return p < series_.size() ? series_[p] : none;
}

namespace {
AxisRange At(const std::vector<AxisRange>& v, int i) {
    return i >= 0 && static_cast<size_t>(i) < v.size() ? v[static_cast<size_t>(i)] : AxisRange{};
}
} // namespace

AxisRange CYearLineChart::XRange() const {
    return At(x_, Page());
}
AxisRange CYearLineChart::YRange() const {
    return At(y_, Page());
}
AxisRange CYearLineChart::DefaultXRange() const {
    return At(xDefault_, Page());
}
AxisRange CYearLineChart::DefaultYRange() const {
    return At(yDefault_, Page());
}

void CYearLineChart::UpdateAxes() {
    const AxisRange x = XRange(), y = YRange();
    axes_.SetRanges(x.min, x.max, y.min, y.max);
    if (logarithmic_)
        axes_.SetLogarithmic(SeriesDecades(Series()));
    else
        axes_.SetLinear();
}

draw::Point CYearLineChart::GetOrigin() const {
    return {axes_.OriginX(), axes_.OriginY()};
}
draw::Size CYearLineChart::GetExtent() const {
    return {axes_.ExtentX(), axes_.ExtentY()};
}

bool CYearLineChart::IsDataMissing() const {
    return IsMissing(YRange().max);
}

void CYearLineChart::PageChanged() {
    trendShown_ = false;
    trends_.clear();
    hit_ = {};
    UpdateAxes();
}

std::string CYearLineChart::SeriesName(int s) const {
    if (byIndicator_)
        return s >= 0 && s < table_.RowCount() ? Decode(table_.RowLabels()[static_cast<size_t>(s)])
                                               : std::string();
    const auto& ind = table_.Indicators();
    return s >= 0 && static_cast<size_t>(s) < ind.size() ? Decode(ind[static_cast<size_t>(s)].name)
                                                         : std::string();
}

bool CYearLineChart::SeriesHighlighted(int) const {
    return false;
}

std::vector<CYearLineChart::SeriesPaint> CYearLineChart::PaintOrder() const {
    std::vector<SeriesPaint> order;
    for (int s = static_cast<int>(Series().size()) - 1; s >= 0; --s)
        order.push_back({s, res_.WidePen(s), res_.ThinPen(s), s, s});
    return order;
}

void CYearLineChart::ToggleAverage() {
    // Ranges, decades and trend lines stay as they are.
    average_ = !average_;
    BuildSeries();
    hit_ = {};
    if (Host()) Host()->Invalidate(true);
}

void CYearLineChart::TrendFrom(float year) {
    const std::optional<float> last = LastYear(Series());
    trends_.clear();
    trendShown_ = last && year < *last;
    if (trendShown_) {
        trendYear_ = year;
        for (const LineSeries& s : Series()) trends_.push_back(FitTrend(s, year));
    }
    if (Host()) Host()->Invalidate(true);
}

void CYearLineChart::ApplyScale(const AxisRange& x, const AxisRange& y, bool logarithmic) {
    const auto p = static_cast<size_t>(Page());
    if (p < x_.size()) {
        x_[p] = x;
        y_[p] = y;
    }
    logarithmic_ = logarithmic;
    trendShown_ = false;
    trends_.clear();
    UpdateAxes();
    if (Host()) Host()->Invalidate(true);
}

void CYearLineChart::RunScaleDialog() {
    if (!Host() || IsDataMissing()) return;
    const AxisRange x = XRange(), y = YRange(), dx = DefaultXRange(), dy = DefaultYRange();
    XYScaleDialogModel m;
    m.input.x = {x.min, x.max, x.step};
    m.input.y = {y.min, y.max, y.step};
    m.input.xDefault = {dx.min, dx.max, dx.step};
    m.input.yDefault = {dy.min, dy.max, dy.step};
    m.input.logOffered = true;
    m.input.logChosen = logarithmic_;
    if (!Host()->RunDialog(m)) return;
    const XYScaleResult& r = m.result;
    ApplyScale({r.x.min, r.x.max, r.x.section}, {r.y.min, r.y.max, r.y.section}, r.logarithmic);
}

bool CYearLineChart::OnCommand(int id) {
    if (id == CmdUseAverage) {
        ToggleAverage();
        return true;
    }
    if (id == CmdScale) {
        RunScaleDialog();
        return true;
    }
    return CGraphView::OnCommand(id);
}

CommandState CYearLineChart::QueryCommand(int id) const {
    if (id == CmdUseAverage) return {true, average_};
    if (id == CmdScale) return {!IsDataMissing(), std::nullopt};
    return CGraphView::QueryCommand(id);
}

void CYearLineChart::OnMouseButton(MouseButton button, MouseAction action, draw::Point logical) {
    if (button != MouseButton::Left || action != MouseAction::Down) return;
    const ChartAxes& a = axes_;
    if (a.Right() == a.Left()) return;
    const double year = std::trunc(
        (logical.x - a.Left()) * (double(a.XMax()) - a.XMin()) / (a.Right() - a.Left()) + a.XMin());
    TrendFrom(static_cast<float>(year));
}

int CYearLineChart::HitTest(draw::Point logical) {
    hit_ = IsDataMissing() ? PointHit{} : HitPoint(axes_, Series(), logical);
    return hit_.Found() ? hit_.series * 100000 + hit_.point : -1;
}

std::string CYearLineChart::GetTipText() {
    const auto& series = Series();
    if (!hit_.Found() || HoveredItem() < 0 || static_cast<size_t>(hit_.series) >= series.size())
        return {};
    const LineSeries& s = series[static_cast<size_t>(hit_.series)];
    if (static_cast<size_t>(hit_.point) >= s.Size()) return {};
    const auto k = static_cast<size_t>(hit_.point);
    return SeriesName(hit_.series) + ": " + FormatValue(s.ys[k]) + " (" +
           std::to_string(TruncToInt(s.xs[k])) + ")";
}

void CYearLineChart::DrawChart(DeviceContext& dc, bool) const {
    if (IsDataMissing()) return;
    draw::StateSaver saver(dc);
    SelectChartPalette(dc, res_);
    const ChartAxes& a = axes_;
    const auto& series = Series();
    if (const std::optional<int> zero = ZeroLineY(a)) {
        dc.SetPen(draw::Pen::Solid(0, draw::Black));
        dc.MoveTo(a.Left(), *zero);
        dc.LineTo(a.Right(), *zero);
    }
    const float xStep = XRange().step;
    a.DrawValueAxis(dc, res_, {}, YRange().step, 5, true);
    a.DrawYearAxisX(dc, res_, store_.Periods(), store_.Charset(), {}, xStep, TruncToInt(xStep),
                    true);

    const std::vector<SeriesPaint> order = PaintOrder();
    {
        draw::StateSaver clip(dc);
        dc.IntersectClipRect({a.Left(), a.Top(), a.Right(), a.Bottom()});
        if (trendShown_)
            for (const SeriesPaint& p : order)
                if (static_cast<size_t>(p.series) < trends_.size()) {
                    dc.SetPen(p.trend);
                    DrawTrendLine(dc, a, trends_[static_cast<size_t>(p.series)], trendYear_);
                }
        for (const SeriesPaint& p : order) {
            dc.SetPen(p.line);
            DrawSeriesLines(dc, res_, a, series[static_cast<size_t>(p.series)]);
        }
    }
    for (const SeriesPaint& p : order)
        if (p.marker >= 0)
            DrawSeriesMarkers(dc, res_, a, series[static_cast<size_t>(p.series)], p.marker);

    DrawLegend(dc, res_, LayoutPageLegend());
    DrawPageTitle(dc);
}

TextOverflow CYearLineChart::MeasureOverflow(const DeviceContext& dc) const {
    TextOverflow o;
    if (IsDataMissing()) return o;
    const LogicalSpace s = SpaceOf(dc);
    o.left = -s.x - ValueLabelsLeft(dc, res_, axes_, YRange().step);
    o.right = LegendRight(dc, res_, LayoutPageLegend()) - (s.cx - s.x);
    o.top = TitleTop(dc) - (s.cy - s.y);
    return o;
}

bool CYearLineChart::WriteData(JsonWriter& j) {
    const AxisRange x = XRange(), y = YRange();
    j.BeginObject();
    j.Key("x").BeginObject();
    WriteRange(j, x);
    j.EndObject();
    j.Key("y").BeginObject();
    WriteRange(j, y);
    j.Key("log").Bool(Logarithmic());
    j.EndObject();
    j.Key("series").BeginArray();
    const auto& series = Series();
    for (size_t s = 0; s < series.size(); ++s) {
        j.BeginObject();
        j.Key("label").String(SeriesName(static_cast<int>(s)));
        j.Key("points");
        WritePoints(j, series[s]);
        j.Key("highlight").Bool(SeriesHighlighted(static_cast<int>(s)));
        j.Key("trend");
        if (trendShown_ && s < trends_.size() && trends_[s].Present()) {
            j.BeginObject();
            j.Key("slope").Float(trends_[s].slope).Key("intercept").Float(trends_[s].intercept);
            j.EndObject();
        } else {
            j.Null();
        }
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return true;
}

void CYearLineChart::ReapplyRenderTrend() {
    if (renderTrend_) TrendFrom(*renderTrend_);
}

std::string CYearLineChart::ApplyRenderOption(const std::string& name, const std::string& value) {
    if (name == "--average") {
        if (!average_) ToggleAverage();
    } else if (name == "--log") {
        // As the scale dialog with its box checked: the default ranges, logarithmic.
        if (!IsDataMissing()) ApplyScale(DefaultXRange(), DefaultYRange(), true);
    } else if (name == "--trend-from") {
        const std::optional<float> year = ParseFloat(value);
        if (!year) return "bad --trend-from " + value;
        renderTrend_ = *year;
    } else {
        return CGraphView::ApplyRenderOption(name, value);
    }
    // The trend asked for stays on whatever the other options do (the scale turns it off).
    ReapplyRenderTrend();
    return {};
}

} // namespace zor::charts
