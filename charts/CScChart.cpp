#include "charts/CScChart.h"

#include "charts/DialogRules.h"
#include "charts/StatDialogs.h"
#include "charts/ViewRegistry.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "core/Selection.h"
#include "core/TextFormat.h"
#include "draw/NullContext.h"

#include <algorithm>
#include <cmath>

namespace zor::charts {

using draw::DeviceContext;
using draw::Pen;
using draw::Point;
namespace ta = draw::ta;

namespace {

// Layout of the logical space: plot 5750 x 4500 with room below it for the two captions.
constexpr int ExtentX = 8000, ExtentY = 6000;
constexpr int PlotWidth = 5750, PlotHeight = 4500;
constexpr int OriginX = 750, OriginY = 900;

constexpr int Sections = 10;       // at most, for every range
constexpr int PointRadius = 80;    // of the drawn circles
constexpr int HitDistance2 = 6300; // squared, plot units
constexpr int CaptionTop = -250;   // the captions' block hangs from here
constexpr int EquationHeight = 200;
constexpr draw::Color EquationColor = draw::Rgb(0, 0, 192);

// The largest value still inside a range ending at `max`: a little beyond it, on the far side
// of zero too.
float UpperEdge(float max) {
    return static_cast<float>(double(max) * (max >= 0 ? 1.00001 : 0.99999));
}

} // namespace

ScatterRanges DataRanges(std::span<const float> xs, std::span<const float> ys) {
    ScatterRanges r;
    auto scan = [](std::span<const float> values, float& min, float& max) {
        for (float v : values) {
            if (IsMissing(v)) continue;
            if (v < min) min = v;
            if (v > max) max = v;
        }
    };
    scan(xs, r.xMin, r.xMax);
    scan(ys, r.yMin, r.yMax);
    if (r.Set()) {
        r.xStep = NiceScale(r.xMin, r.xMax, Sections);
        r.yStep = NiceScale(r.yMin, r.yMax, Sections);
    }
    return r;
}

ScatterFit FitPoints(const ScatterRows& rows, const ScatterRanges& r, int width, int height) {
    ScatterFit fit;
    if (!r.Set()) return fit;
    const double sx = r.xMax > r.xMin ? width / (double(r.xMax) - r.xMin) : 0.0;
    const double sy = r.yMax > r.yMin ? height / (double(r.yMax) - r.yMin) : 0.0;
    const float xEdge = UpperEdge(r.xMax), yEdge = UpperEdge(r.yMax);
    const size_t count = std::min(rows.xs.size(), rows.ys.size());
    double sumX = 0, sumY = 0;
    for (size_t i = 0; i < count; ++i) {
        const float x = rows.xs[i], y = rows.ys[i];
        if (IsMissing(x) || IsMissing(y) || x < r.xMin || x > xEdge || y < r.yMin || y > yEdge)
            continue;
        ScatterPoint p;
        p.row = static_cast<int>(i);
        p.highlight = i < rows.highlights.size() ? rows.highlights[i] : -1;
        p.name = i < rows.names.size() ? rows.names[i] : std::string();
        p.x = x, p.y = y;
        p.px = TruncToInt((double(x) - r.xMin) * sx);
        p.py = TruncToInt((double(y) - r.yMin) * sy);
        fit.points.push_back(std::move(p));
        sumX += x, sumY += y;
    }
    const size_t n = fit.points.size();
    if (n <= 1) return fit;
    const double mx = sumX / double(n), my = sumY / double(n);
    // Spread around the means rather than sum(x^2)/n - mx^2, which for many equal values in
    // the thousands leaves rounding noise (even a negative variance) instead of 0.
    double sxx = 0, sxy = 0;
    for (const ScatterPoint& p : fit.points) {
        const double dx = p.x - mx;
        sxx += dx * dx;
        sxy += dx * (p.y - my);
    }
    const double v = sxx / double(n);
    if (std::fabs(v) > 1e-9) {
        const double slope = (sxy / double(n)) / v;
        fit.regression.slope = static_cast<float>(slope);
        fit.regression.intercept = static_cast<float>(my - mx * slope);
    } else {
        fit.regression.intercept = static_cast<float>(mx); // vertical: X = mean
    }
    return fit;
}

std::optional<Correlation> Correlate(std::span<const ScatterPoint> points) {
    const size_t n = points.size();
    if (n <= 3) return std::nullopt;
    double sumX = 0, sumY = 0;
    for (const ScatterPoint& p : points) sumX += p.x, sumY += p.y;
    const double mx = sumX / double(n), my = sumY / double(n);
    double sxx = 0, syy = 0, sxy = 0;
    for (const ScatterPoint& p : points) {
        const double dx = p.x - mx, dy = p.y - my;
        sxx += dx * dx, syy += dy * dy, sxy += dx * dy;
    }
    if (!(sxx > 0) || !(syy > 0)) return std::nullopt; // no spread: no coefficient
    Correlation c;
    c.n = static_cast<int>(n);
    c.r = std::clamp(static_cast<float>(sxy / (std::sqrt(sxx) * std::sqrt(syy))), -1.0f, 1.0f);
    if (c.r == 1.0f || c.r == -1.0f) {
        c.lower = c.upper = c.r;
        return c;
    }
    const double d = 1.96 / std::sqrt(double(n) - 3);
    const double z = 0.5 * std::log((1.0 + c.r) / (1.0 - c.r));
    auto back = [](double t) {
        return static_cast<float>((std::exp(2 * t) - 1) / (std::exp(2 * t) + 1));
    };
    c.lower = back(z - d);
    c.upper = back(z + d);
    return c;
}

std::string CorrelationText(std::string_view format, const Correlation& c) {
    std::string text = FormatNumbers(format, {c.r, c.lower, c.upper});
    std::replace(text.begin(), text.end(), ';', '\n');
    return text;
}

std::string EquationText(const Regression& reg) {
    if (!reg.Drawn()) return {};
    if (IsMissing(reg.slope)) return "X = " + FormatValue(reg.intercept);
    if (!(std::fabs(reg.slope) > 0.00001f)) return "Y = " + FormatValue(reg.intercept);
    std::string a = FormatValue(reg.slope);
    if (a == "1") a.clear();
    std::string b = FormatValue(std::fabs(reg.intercept));
    if (b == "0") b.clear();
    const std::string sign = b.empty() ? "" : reg.intercept > 0 ? "+" : "-";
    return "Y = " + a + "X" + sign + b;
}

std::optional<ScatterRanges> ZoomRanges(const ScatterRanges& r, Point a, Point b, int width,
                                        int height) {
    if (a.x == b.x || a.y == b.y || width <= 0 || height <= 0 || !r.Set()) return std::nullopt;
    auto value = [](float min, float max, int position, int size) {
        return static_cast<float>(min + double(position) * (double(max) - min) / size);
    };
    ScatterRanges z;
    z.xMin = value(r.xMin, r.xMax, a.x, width);
    z.xMax = value(r.xMin, r.xMax, b.x, width);
    z.yMin = value(r.yMin, r.yMax, a.y, height);
    z.yMax = value(r.yMin, r.yMax, b.y, height);
    if (z.xMin > z.xMax) std::swap(z.xMin, z.xMax);
    if (z.yMin > z.yMax) std::swap(z.yMin, z.yMax);
    z.xStep = NiceScale(z.xMin, z.xMax, Sections);
    z.yStep = NiceScale(z.yMin, z.yMax, Sections);
    return z;
}

ScatterCaptions LayoutCaptions(const DeviceContext& dc, const draw::Font& font,
                               const std::string& xText, const std::string& yText, int left,
                               int right) {
    const auto probe = draw::ProbeOf(dc);
    probe->SetFont(font);
    ScatterCaptions c;
    c.xText = xText, c.yText = yText;
    const int prefix = probe->TextExtent("X - ").cx;
    const int room = right - left - prefix;
    // A caption wider than the room is wrapped 100 units narrower: an X caption takes two lines
    // (more if it needs them), a Y caption what it needs.
    auto measure = [&](const std::string& text, int minLines, int& width, int& height) {
        const draw::Size one = probe->TextExtent(text);
        width = one.cx, height = one.cy;
        if (one.cx <= room) return;
        width = std::max(1, room - 100);
        const int wrapped =
            probe->LayoutTextBox(text, {0, 0, width, 0}, draw::dt::WordBreak).height;
        height = std::max(minLines * one.cy, wrapped);
    };
    int xw = 0, xh = 0, yw = 0, yh = 0;
    measure(xText, 2, xw, xh);
    measure(yText, 1, yw, yh);
    const int block = std::max(xw, yw);
    const int x0 = (left + right - block - prefix) / 2;
    c.xPrefix = {x0, CaptionTop, x0 + prefix, CaptionTop - xh};
    c.xCaption = {x0 + prefix, CaptionTop, x0 + prefix + block, CaptionTop - xh};
    const int yTop = CaptionTop - xh;
    c.yPrefix = {x0, yTop, x0 + prefix, yTop - yh};
    c.yCaption = {x0 + prefix, yTop, x0 + prefix + block, yTop - yh};
    return c;
}

// --- The view

const std::vector<MenuItem>& CScChart::FrameMenu() {
    static const std::vector<MenuItem> menu = {MenuCommand(CmdSelect), MenuCommand(CmdZoomOut),
                                               MenuCommand(CmdScale),  MenuCommand(CmdCorrelation),
                                               MenuCommand(CmdPrint),  MenuCommand(CmdSpecial),
                                               MenuCommand(CmdQuit)};
    return menu;
}

CScChart::CScChart(const ViewContext& context)
    : CGraphView(context),
      table_(context.store, context.selection.SetCode(), context.selection.Indicators(),
             context.selection.Regions(), context.selection.Periods(), RowsAll, false),
      equationFont_(ChartFont(EquationHeight, 700, 0, context.resources.AxisFont.charset)) {
    axes_.SetExtent(ExtentX, ExtentY);
    axes_.SetPlotSize(PlotWidth, PlotHeight);
    axes_.SetOrigin(OriginX, OriginY);
    loadResult_ = table_.Load(context.progress);
    // Y starts at the last indicator and period, X (the view's current ones) at the first.
    yIndicator_ = std::max(0, static_cast<int>(table_.Indicators().size()) - 1);
    yPeriod_ = std::max(0, static_cast<int>(table_.Periods().size()) - 1);
    std::vector<LegendEntry> entries;
    for (const ListItem& region : table_.Regions())
        entries.push_back({static_cast<int>(entries.size()), Decode(region.name)});
    legend_ = LayoutLegend(LegendKey::Circle, entries, axes_.Right(), axes_.Bottom(), axes_.Top());
    ZoomOut();
}

draw::Point CScChart::GetOrigin() const {
    return {axes_.OriginX(), axes_.OriginY()};
}
draw::Size CScChart::GetExtent() const {
    return {axes_.ExtentX(), axes_.ExtentY()};
}

ScatterRows CScChart::Rows(int xIndicator, int xPeriod) const {
    ScatterRows rows;
    const int n = table_.RowCount();
    const auto& keys = table_.RowKeys();
    const auto& selected = table_.Regions();
    for (int r = 0; r < n; ++r) {
        rows.xs.push_back(table_.Value(xPeriod, xIndicator, r));
        rows.ys.push_back(table_.Value(yPeriod_, yIndicator_, r));
        rows.names.push_back(Decode(table_.RowLabels()[static_cast<size_t>(r)]));
        int highlight = -1;
        for (size_t s = 0; s < selected.size(); ++s)
            if (selected[s].code == keys[static_cast<size_t>(r)]) {
                highlight = static_cast<int>(s);
                break;
            }
        rows.highlights.push_back(highlight);
    }
    return rows;
}

bool CScChart::IsDataMissing() const {
    const ScatterRows rows = Rows(IndicatorIndex(), PeriodIndex());
    return !DataRanges(rows.xs, rows.ys).Set();
}

void CScChart::Rebuild() {
    if (ranges_.Set()) axes_.SetRanges(ranges_.xMin, ranges_.xMax, ranges_.yMin, ranges_.yMax);
    fit_ = FitPoints(Rows(IndicatorIndex(), PeriodIndex()), ranges_, axes_.Right() - axes_.Left(),
                     axes_.Top() - axes_.Bottom());
}

void CScChart::Repaint() {
    if (Host()) Host()->Invalidate(true);
}

void CScChart::ZoomOut() {
    const ScatterRows rows = Rows(IndicatorIndex(), PeriodIndex());
    ranges_ = DataRanges(rows.xs, rows.ys);
    Rebuild();
}

void CScChart::SetRanges(const ScatterRanges& ranges) {
    ranges_ = ranges;
    Rebuild();
}

void CScChart::Choose(int xIndicator, int xPeriod, int yIndicator, int yPeriod) {
    const int indicators = static_cast<int>(table_.Indicators().size());
    const int periods = static_cast<int>(table_.Periods().size());
    auto inside = [](int v, int n) { return v >= 0 && v < n; };
    if (!inside(xIndicator, indicators) || !inside(yIndicator, indicators) ||
        !inside(xPeriod, periods) || !inside(yPeriod, periods))
        return;
    SetCurrent(PopupKind::Indicators, xIndicator);
    SetCurrent(PopupKind::Periods, xPeriod);
    yIndicator_ = yIndicator, yPeriod_ = yPeriod;
    EndBand(false);
    ZoomOut();
    if (CanReportNoData() && IsDataMissing()) ReportNoData(MessageIcon::None);
}

void CScChart::OnPeriodChanged(int) {
    EndBand(false);
    ZoomOut();
}

void CScChart::OnIndicatorChanged(int) {
    EndBand(false);
    ZoomOut();
}

// --- Commands

CommandState CScChart::QueryCommand(int id) const {
    switch (id) {
    case CmdCorrelation:
        return {fit_.points.size() > 3, std::nullopt};
    case CmdScale:
        return {ranges_.Set(), std::nullopt};
    default:
        return CGraphView::QueryCommand(id);
    }
}

bool CScChart::OnCommand(int id) {
    switch (id) {
    case CmdSelect:
        RunSetup();
        return true;
    case CmdZoomOut:
        EndBand(false);
        ZoomOut();
        Repaint();
        return true;
    case CmdScale:
        RunScale();
        return true;
    case CmdCorrelation:
        RunCorrelation();
        return true;
    default:
        return CGraphView::OnCommand(id);
    }
}

void CScChart::RunSetup() {
    if (!Host()) return;
    ScatterSetupModel m;
    for (const ListItem& i : table_.Indicators()) {
        m.indicators.push_back(Decode(i.name));
        m.indicatorCodes.push_back(i.code);
    }
    for (const ListItem& p : table_.Periods()) {
        m.periods.push_back(Decode(p.name));
        m.periodCodes.push_back(p.code);
    }
    m.xIndicator = IndicatorIndex(), m.xPeriod = PeriodIndex();
    m.yIndicator = yIndicator_, m.yPeriod = yPeriod_;
    if (!Host()->RunDialog(m)) return;
    Choose(m.xIndicator, m.xPeriod, m.yIndicator, m.yPeriod);
    Repaint();
}

void CScChart::RunScale() {
    if (!Host() || !ranges_.Set()) return;
    const ScatterRows rows = Rows(IndicatorIndex(), PeriodIndex());
    const ScatterRanges full = DataRanges(rows.xs, rows.ys);
    XYScaleDialogModel m;
    m.input.x = {ranges_.xMin, ranges_.xMax, ranges_.xStep};
    m.input.y = {ranges_.yMin, ranges_.yMax, ranges_.yStep};
    m.input.xDefault = {full.xMin, full.xMax, full.xStep};
    m.input.yDefault = {full.yMin, full.yMax, full.yStep};
    if (!Host()->RunDialog(m) || !m.result.accepted) return;
    const XYScaleResult& r = m.result;
    EndBand(false);
    SetRanges({r.x.min, r.x.max, r.x.section, r.y.min, r.y.max, r.y.section});
    Repaint();
}

void CScChart::RunCorrelation() {
    if (!Host() || fit_.points.size() <= 3) return;
    const auto c = Correlate(fit_.points);
    if (!c) {
        Host()->ShowMessage("The correlation is not defined: all X or all Y values are equal.",
                            MessageIcon::None);
        return;
    }
    StatisticsModel m;
    m.text = CorrelationText(Text(TextCorrelation), *c);
    Host()->RunDialog(m);
}

// --- Rubber band

draw::Point CScChart::ClampToPlot(draw::Point p) const {
    return {std::clamp(p.x, axes_.Left(), axes_.Right()),
            std::clamp(p.y, axes_.Bottom(), axes_.Top())};
}

void CScChart::OnMouseButton(MouseButton button, MouseAction action, draw::Point logical) {
    const draw::Point p = logical;
    if (button == MouseButton::Right) {
        if (action != MouseAction::Down) return;
        EndBand(false);
        ZoomOut();
        Repaint();
        return;
    }
    switch (action) {
    case MouseAction::Down: {
        if (banding_) { // a band left over (its button went up elsewhere): end it, no zoom
            EndBand(false);
            return;
        }
        const bool inside = p.x >= axes_.Left() && p.x <= axes_.Right() && p.y >= axes_.Bottom() &&
                            p.y <= axes_.Top();
        if (fit_.points.size() < 2 || !inside) return;
        banding_ = true;
        anchor_ = corner_ = p;
        if (Host()) Host()->Invalidate(false);
        break;
    }
    case MouseAction::Up:
        if (banding_) EndBand(true);
        break;
    case MouseAction::DoubleClick:
        if (banding_) EndBand(false);
        break;
    }
}

bool CScChart::OnMouseMove(draw::Point logical) {
    if (!banding_) return false;
    corner_ = ClampToPlot(logical);
    if (Host()) Host()->Invalidate(false);
    return true;
}

void CScChart::EndBand(bool zoom) {
    if (!banding_) return;
    banding_ = false;
    const Regression& reg = fit_.regression;
    // Zooming needs a sloped regression line; a band without width or height zooms nowhere.
    const bool sloped = !IsMissing(reg.slope) && !(std::fabs(reg.slope) < 1e-10f);
    std::optional<ScatterRanges> zoomed;
    if (zoom && sloped)
        zoomed = ZoomRanges(ranges_, anchor_, corner_, axes_.Right() - axes_.Left(),
                            axes_.Top() - axes_.Bottom());
    if (zoomed) {
        SetRanges(*zoomed);
        Repaint();
    } else if (Host()) {
        Host()->Invalidate(false); // the band goes
    }
}

ViewCursor CScChart::Cursor() const {
    return banding_ ? ViewCursor::Select : ViewCursor::Cross;
}

void CScChart::DrawOverlay(DeviceContext& dc) const {
    if (!banding_) return;
    draw::StateSaver saver(dc);
    dc.SetRop2(draw::Rop2::XorPen);
    dc.SetPen(Pen::Solid(0, draw::White));
    dc.SetBrush(draw::Brush::Hollow());
    dc.Rectangle({anchor_.x, anchor_.y, corner_.x, corner_.y});
}

std::string CScChart::Subject() const {
    const std::string x = VariableText(XIndicator(), XPeriod());
    const std::string y = VariableText(YIndicator(), YPeriod());
    if (x.empty() || y.empty()) return {};
    return y + " against " + x;
}

// --- Drawing

std::string CScChart::VariableText(int indicator, int period) const {
    const auto i = static_cast<size_t>(indicator), p = static_cast<size_t>(period);
    if (i >= table_.Indicators().size() || p >= table_.Periods().size()) return {};
    return Decode(table_.Indicators()[i].name) + ", " + Decode(table_.Periods()[p].name);
}

void CScChart::DrawChart(DeviceContext& dc, bool) const {
    if (!ranges_.Set()) return;
    draw::StateSaver saver(dc);
    SelectChartPalette(dc, res_);
    axes_.DrawNumberAxisX(dc, res_, {}, ranges_.xStep, 5, true);
    axes_.DrawValueAxis(dc, res_, {}, ranges_.yStep, 5, true);

    // Points from the last to the first, white; then the selected ones again in their colours.
    dc.SetPen(Pen::Solid(0, draw::Black));
    auto circle = [&](const ScatterPoint& p) {
        dc.Ellipse(
            {p.px - PointRadius, p.py + PointRadius, p.px + PointRadius, p.py - PointRadius});
    };
    dc.SetBrush(draw::Brush::Solid(draw::White));
    const auto& points = fit_.points;
    for (size_t i = points.size(); i-- > 0;) circle(points[i]);
    for (size_t i = points.size(); i-- > 0;)
        if (points[i].highlight >= 0) {
            dc.SetBrush(res_.Brush(points[i].highlight));
            circle(points[i]);
        }

    DrawLegend(dc, res_, legend_);

    const Regression& reg = fit_.regression;
    const int left = axes_.Left(), right = axes_.Right(), bottom = axes_.Bottom(),
              top = axes_.Top();
    if (fit_.points.size() > 1 && reg.Drawn()) {
        const double sx = (right - left) / (double(ranges_.xMax) - ranges_.xMin);
        const double sy = (top - bottom) / (double(ranges_.yMax) - ranges_.yMin);
        dc.SetPen(Pen::Solid(0, draw::Black));
        if (IsMissing(reg.slope)) {
            const int x = left + TruncToInt((double(reg.intercept) - ranges_.xMin) * sx);
            dc.MoveTo(x, bottom);
            dc.LineTo(x, top);
        } else {
            // The line between the plot's left and right edges, each end moved along it onto
            // the top or bottom edge when it lies beyond.
            auto end = [&](double x) {
                double y = reg.slope * x + double(reg.intercept);
                if (y > ranges_.yMax || y < ranges_.yMin) {
                    y = y > ranges_.yMax ? ranges_.yMax : ranges_.yMin;
                    // A flat line just beyond the edge (points up to max x 1.00001) stays put.
                    if (reg.slope != 0) x = (y - reg.intercept) / reg.slope;
                }
                return Point{left + TruncToInt((x - ranges_.xMin) * sx),
                             bottom + TruncToInt((y - ranges_.yMin) * sy)};
            };
            const Point a = end(ranges_.xMin), b = end(ranges_.xMax);
            dc.MoveTo(a.x, a.y);
            dc.LineTo(b.x, b.y);
        }
        dc.SetFont(equationFont_);
        dc.SetTextColor(EquationColor);
        dc.SetBkMode(draw::BkMode::Transparent);
        dc.SetTextAlign(ta::Center | ta::Bottom);
        dc.Text((left + right) / 2, top + 100, EquationText(reg));
        dc.SetTextColor(draw::Black);
    }

    dc.SetFont(res_.AxisFont);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.SetTextAlign(ta::Center | ta::Bottom);
    dc.Text(left, top + 50, "Y");
    dc.SetTextAlign(ta::Left | ta::Baseline);
    dc.Text(right + 50, bottom - 50, "X");

    const ScatterCaptions c =
        LayoutCaptions(dc, res_.AxisFont, VariableText(IndicatorIndex(), PeriodIndex()),
                       VariableText(yIndicator_, yPeriod_), left, right);
    const unsigned prefix =
        draw::dt::Left | draw::dt::VCenter | draw::dt::SingleLine | draw::dt::NoClip;
    const unsigned caption = draw::dt::Left | draw::dt::WordBreak | draw::dt::NoClip;
    dc.TextBox("X - ", c.xPrefix, prefix);
    dc.TextBox(c.xText, c.xCaption, caption);
    dc.TextBox("Y - ", c.yPrefix, prefix);
    dc.TextBox(c.yText, c.yCaption, caption);
}

TextOverflow CScChart::MeasureOverflow(const DeviceContext& dc) const {
    TextOverflow o;
    if (!ranges_.Set()) return o;
    const LogicalSpace s = SpaceOf(dc);
    const std::vector<BandAxis> axis = {BandAxis{axes_, 0, {}}};
    o.left = -s.x - BandLabelsLeft(dc, res_, axis, ranges_.yStep);
    o.right = LegendRight(dc, res_, legend_) - (s.cx - s.x);
    const ScatterCaptions c =
        LayoutCaptions(dc, res_.AxisFont, VariableText(IndicatorIndex(), PeriodIndex()),
                       VariableText(yIndicator_, yPeriod_), axes_.Left(), axes_.Right());
    o.bottom = -s.y - c.yCaption.bottom;
    o.left = std::max(o.left, -s.x - c.xPrefix.left);
    return o;
}

int CScChart::HitTest(draw::Point logical) {
    const draw::Point p = logical;
    for (size_t i = 0; i < fit_.points.size(); ++i) {
        const double dx = fit_.points[i].px - p.x, dy = fit_.points[i].py - p.y;
        if (dx * dx + dy * dy <= HitDistance2) return static_cast<int>(i);
    }
    return -1;
}

std::string CScChart::GetTipText() {
    const int i = HoveredItem();
    if (i < 0 || static_cast<size_t>(i) >= fit_.points.size()) return {};
    const ScatterPoint& p = fit_.points[static_cast<size_t>(i)];
    return p.name + ": {" + FormatValue(p.x) + "," + FormatValue(p.y) + "}";
}

// --- zorexport

std::string CScChart::ApplyRenderOption(const std::string& name, const std::string& value) {
    if (name == "--indicator-y" || name == "--period-y") {
        const bool indicator = name == "--indicator-y";
        const size_t count = indicator ? table_.Indicators().size() : table_.Periods().size();
        const std::optional<int> position = WholeNumber(value);
        if (!position || *position < 0 || static_cast<size_t>(*position) >= count)
            return "bad " + name + " " + value + " (a position in the " +
                   (indicator ? "indicator" : "period") + " list)";
        Choose(IndicatorIndex(), PeriodIndex(), indicator ? *position : yIndicator_,
               indicator ? yPeriod_ : *position);
        return {};
    }
    if (name == "--zoom") {
        int v[4] = {};
        size_t start = 0;
        for (int k = 0; k < 4; ++k) {
            const size_t comma = k < 3 ? value.find(',', start) : value.size();
            const std::optional<int> number =
                comma == std::string::npos
                    ? std::nullopt
                    : WholeNumber(std::string_view(value).substr(start, comma - start));
            if (!number) return "bad --zoom " + value + " (X1,Y1,X2,Y2 in logical units)";
            v[k] = *number;
            start = comma + 1;
        }
        // As the user draws it: press, drag, release.
        OnMouseButton(MouseButton::Left, MouseAction::Down, {v[0], v[1]});
        OnMouseMove({v[2], v[3]});
        OnMouseButton(MouseButton::Left, MouseAction::Up, {v[2], v[3]});
        return {};
    }
    return CGraphView::ApplyRenderOption(name, value);
}

bool CScChart::WriteData(JsonWriter& j) {
    auto code = [](const std::vector<ListItem>& list, int i) {
        return i >= 0 && static_cast<size_t>(i) < list.size() ? list[static_cast<size_t>(i)].code
                                                              : 0;
    };
    j.BeginObject();
    j.Key("x").Int(code(table_.Indicators(), IndicatorIndex()));
    j.Key("y").Int(code(table_.Indicators(), yIndicator_));
    j.Key("periodX").Int(code(table_.Periods(), PeriodIndex()));
    j.Key("periodY").Int(code(table_.Periods(), yPeriod_));
    j.Key("ranges").BeginObject();
    auto bound = [&](const char* key, float v, bool set) {
        j.Key(key);
        if (set)
            j.Float(v);
        else
            j.Null();
    };
    const bool xSet = !IsMissing(ranges_.xMax), ySet = !IsMissing(ranges_.yMax);
    bound("xmin", ranges_.xMin, xSet);
    bound("xmax", ranges_.xMax, xSet);
    j.Key("xstep").Float(ranges_.xStep);
    bound("ymin", ranges_.yMin, ySet);
    bound("ymax", ranges_.yMax, ySet);
    j.Key("ystep").Float(ranges_.yStep);
    j.EndObject();
    j.Key("points").BeginArray();
    for (const ScatterPoint& p : fit_.points) {
        j.BeginObject();
        j.Key("row").Int(p.row);
        j.Key("key").Int(table_.RowKeys()[static_cast<size_t>(p.row)]);
        j.Key("name").String(p.name);
        j.Key("x").Float(p.x).Key("y").Float(p.y);
        j.Key("px").Int(p.px).Key("py").Int(p.py);
        j.EndObject();
    }
    j.EndArray();
    const Regression& reg = fit_.regression;
    j.Key("regression");
    if (reg.Drawn()) {
        j.BeginObject();
        j.Key("slope");
        FloatOrNull(j, reg.slope);
        j.Key("intercept").Float(reg.intercept);
        j.EndObject();
        j.Key("equation").String(EquationText(reg));
    } else {
        j.Null();
        j.Key("equation").Null();
    }
    const auto c = Correlate(fit_.points);
    j.Key("correlation");
    if (c) {
        j.BeginObject();
        j.Key("n").Int(c->n);
        j.Key("r").Float(c->r).Key("lower").Float(c->lower).Key("upper").Float(c->upper);
        j.EndObject();
        j.Key("correlationText").String(CorrelationText(Text(TextCorrelation), *c));
    } else {
        j.Null();
        j.Key("correlationText").Null();
        if (Host())
            Host()->ShowMessage(fit_.points.size() <= 3
                                    ? "no correlation: it needs more than 3 points"
                                    : "no correlation: all X or all Y values are equal",
                                MessageIcon::None);
    }
    j.EndObject();
    return true;
}

} // namespace zor::charts
