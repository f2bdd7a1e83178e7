#include "charts/ChartAxes.h"

#include "core/Charset.h"
#include "core/Numeric.h"

#include <cmath>
#include <utility>

namespace zor::charts {

using draw::DeviceContext;
using draw::Pen;
using draw::Point;
using draw::StateSaver;
namespace ta = draw::ta;

namespace {

// Every computed coordinate becomes an integer by truncation toward zero.
int Trunc(double v) {
    return TruncToInt(v);
}

// The number of major intervals of a range, or -1 when there are to be no ticks.
int MajorIntervals(double min, double max, double step) {
    if (!(step > 0)) return -1;
    const double n = std::trunc((max - min) * 1.001 / step);
    if (!(n >= 0) || n > ChartAxes::MaxTicks) return -1;
    return int(n);
}

// Linear ticks along an axis from `base` (the axis start, logical) with `scale` logical units
// per value unit: majors labelled from `min`, minors between them and after the last major up
// to `max` (unless `minorsBetweenOnly`).
template <class Label>
std::vector<AxisMark> LinearMarks(int base, double scale, double min, double max, double step,
                                  int minorCount, bool grid, int majorLength, int minorLength,
                                  bool minorsBetweenOnly, Label label) {
    std::vector<AxisMark> marks;
    const int n = MajorIntervals(min, max, step);
    if (n < 0) return marks;
    for (int i = 0; i <= n; ++i)
        marks.push_back({Trunc(base + step * i * scale), majorLength, label(step * i + min), grid});
    if (minorCount < 2 && minorsBetweenOnly) return marks;
    if (minorCount < 1) return marks;
    for (int i = 0; i < n; ++i)
        for (int j = 1; j < minorCount; ++j)
            marks.push_back({Trunc(base + step * (i + double(j) / minorCount) * scale),
                             minorLength,
                             {},
                             false});
    if (!minorsBetweenOnly)
        for (int j = 1; step * n + min + j * step / minorCount <= max && j <= ChartAxes::MaxTicks;
             ++j)
            marks.push_back({Trunc(base + step * (n + double(j) / minorCount) * scale),
                             minorLength,
                             {},
                             false});
    return marks;
}

std::string Label(double v) {
    return FormatValue(float(v), 7);
}

} // namespace

LogParams LogDecades(std::span<const std::vector<float>> series) {
    LogParams p;
    for (const auto& values : series)
        for (float v : values) {
            if (IsMissing(v)) continue;
            float& low = v >= 0 ? p.posLow : p.negLow;
            float& high = v >= 0 ? p.posHigh : p.negHigh;
            const float m = std::fabs(v);
            if (IsMissing(low) && IsMissing(high)) low = high = m;
            if (m > 0 && m < low) low = m;
            if (m > high) high = m;
        }
    auto decades = [](float& low, float& high) {
        if (low != 0 && !IsMissing(low)) low = float(std::trunc(std::log10(double(low))));
        if (high != 0 && !IsMissing(high)) {
            const double c = std::trunc(std::log10(double(high)));
            high = float(c + (double(high) > std::pow(10.0, c) ? 1 : 0));
        }
        if (low == high || IsMissing(low)) low = high - 1;
    };
    decades(p.posLow, p.posHigh);
    decades(p.negLow, p.negHigh);
    p.logTop = p.posHigh - p.posLow;
    p.logBottom = IsMissing(p.negHigh) ? 0.0f : -(p.negHigh - p.negLow);
    return p;
}

std::optional<Segment> ClipSegment(const Segment& s, double xMin, double xMax, double yMin,
                                   double yMax) {
    if (!(s.x1 > xMin || s.x2 > xMin) || !(s.y1 > yMin || s.y2 > yMin) ||
        (s.x1 >= xMax && s.x2 >= xMax) || (s.y1 >= yMax && s.y2 >= yMax))
        return std::nullopt;
    const double slope = (s.x1 != s.x2 && s.y1 != s.y2) ? (s.y2 - s.y1) / (s.x2 - s.x1) : 0.0;
    auto clip = [&](double x, double y) {
        double cx = x, cy = y;
        if (x < xMin || x > xMax) {
            const double bound = x < xMin ? xMin : xMax;
            cx = bound;
            if (slope != 0) cy = y + slope * (bound - x);
        }
        if (cy < yMin || cy > yMax) {
            const double bound = cy < yMin ? yMin : yMax;
            cy = bound;
            if (slope != 0) cx = x + (bound - y) / slope;
        }
        return std::pair{cx, cy};
    };
    const auto [x1, y1] = clip(s.x1, s.y1);
    const auto [x2, y2] = clip(s.x2, s.y2);
    return Segment{x1, y1, x2, y2};
}

void ChartAxes::SetRanges(float xMin, float xMax, float yMin, float yMax) {
    xMin_ = xMin, xMax_ = xMax, yMin_ = yMin, yMax_ = yMax;
}

void ChartAxes::SetLogarithmic(const LogParams& p) {
    log_ = p;
    logarithmic_ = true;
}

double ChartAxes::LogTransform(double v) const {
    if (v > 0) return std::log10(v) - log_.posLow;
    if (v < 0) return -(std::log10(-v) - log_.negLow);
    return 0;
}

int ChartAxes::SeriesX(double v) const {
    if (xMax_ == xMin_) return left_;
    return left_ + Trunc((v - xMin_) * (right_ - left_) / (double(xMax_) - xMin_));
}

int ChartAxes::SeriesY(double v) const {
    if (logarithmic_) {
        if (log_.logTop == log_.logBottom) return bottom_;
        return bottom_ + Trunc((LogTransform(v) - log_.logBottom) * (top_ - bottom_) /
                               (double(log_.logTop) - log_.logBottom));
    }
    if (yMax_ == yMin_) return bottom_;
    return bottom_ + Trunc((v - yMin_) * (top_ - bottom_) / (double(yMax_) - yMin_));
}

std::vector<AxisMark> ChartAxes::ValueAxisMarks(float step, int minorCount, bool grid) const {
    if (top_ == bottom_) return {};
    if (logarithmic_) return LogAxisMarks(grid);
    if (yMax_ == yMin_) return {};
    const double scale = (top_ - bottom_) / (double(yMax_) - yMin_);
    return LinearMarks(bottom_, scale, yMin_, yMax_, step, minorCount, grid, 100, 50, false, Label);
}

std::vector<AxisMark> ChartAxes::LogAxisMarks(bool grid) const {
    std::vector<AxisMark> marks;
    const double range = double(log_.logTop) - log_.logBottom;
    if (!(range > 0)) return marks;
    const double scale = (top_ - bottom_) / range;
    const bool few = range <= 3;
    // Decades and their 2, 4, 6, 8 multiples, on one side of zero (sign -1 below it).
    auto side = [&](double low, double high, double sign, bool labelMinors, int minorLength) {
        const double count = high - low;
        if (!(count >= 0) || count > MaxTicks) return;
        for (int u = 0; u <= int(count); ++u) {
            const double y = bottom_ + (sign * u - log_.logBottom) * scale;
            marks.push_back(
                {Trunc(y), 100, u == 0 ? "0" : Label(sign * std::pow(10.0, u + low)), grid});
            if (u == int(count)) break;
            const double d = 2 * std::pow(10.0, u + low);
            for (int k = 1; k <= 4; ++k) {
                const double t = sign * (std::log10(k * d) - low);
                marks.push_back({Trunc(bottom_ + (t - log_.logBottom) * scale), minorLength,
                                 labelMinors ? Label(sign * k * d) : std::string(), true});
            }
        }
    };
    side(log_.posLow, log_.posHigh, 1, few, few ? 100 : 50);
    if (log_.logBottom < 0) side(log_.negLow, log_.negHigh, -1, false, 50);
    return marks;
}

std::vector<AxisMark> ChartAxes::XAxisMarks(float step, int minorCount, bool grid,
                                            const std::vector<TimePeriod>* periods, int charset,
                                            bool compact) const {
    if (xMax_ == xMin_ || right_ == left_) return {};
    const double scale = (right_ - left_) / (double(xMax_) - xMin_);
    auto label = [&](double g) {
        if (periods) {
            const int code = Trunc(g * 1.00001);
            for (const TimePeriod& p : *periods)
                if (p.code >= 0 && p.code == code) return DecodeToUtf8(p.name, charset);
        }
        return Label(g);
    };
    return LinearMarks(left_, scale, xMin_, xMax_, step, minorCount, grid, compact ? 30 : 100,
                       compact ? 15 : 50, compact, label);
}

void ChartAxes::DrawValueAxis(DeviceContext& dc, const ChartResources& res,
                              const std::string& title, float step, int minorCount,
                              bool grid) const {
    if (top_ == bottom_) return;
    if (logarithmic_ ? log_.logTop == log_.logBottom : yMax_ == yMin_) return;
    StateSaver saver(dc);
    dc.SetPen(Pen::Solid(0, draw::Black));
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.SetFont(res.AxisFont);
    dc.SetTextAlign(ta::Right | ta::Baseline);
    dc.MoveTo(left_, bottom_);
    dc.LineTo(left_, top_);
    // Metafiles have no device to measure on: the widest label is counted in characters there.
    const bool metafile = dc.IsMetafile();
    int widest = 0;
    for (const AxisMark& m : ValueAxisMarks(step, minorCount, grid)) {
        dc.MoveTo(left_, m.pos);
        dc.LineTo(left_ - m.length, m.pos);
        if (!m.label.empty()) {
            dc.Text(left_ - 120, m.pos - 60, m.label);
            widest = std::max(widest, metafile ? int(m.label.size()) : dc.TextExtent(m.label).cx);
        }
        if (m.grid) {
            dc.SetPen(res.GridPen);
            dc.MoveTo(left_, m.pos);
            dc.LineTo(right_, m.pos);
            dc.SetPen(Pen::Solid(0, draw::Black));
        }
    }
    if (title.empty()) return;
    const int y = (top_ + bottom_) / 2;
    if (metafile) {
        // Metafile readers turn text the other way: the title reads upward there.
        dc.SetFont(ChartFont(150, 100, 900, res.AxisFont.charset));
        dc.SetTextAlign(ta::Center | ta::Top);
        dc.Text(left_ - (widest * 75 + 250), y, title);
    } else {
        // Read from top to bottom, the letters' tops face the axis: aligned by that top edge
        // the title stays clear of the labels (by its bottom edge it would lie across them).
        dc.SetFont(res.AxisTitleFont);
        dc.SetTextAlign(ta::Center | ta::Top);
        dc.Text(left_ - (widest + 140), y, title);
    }
}

void ChartAxes::DrawXAxis(DeviceContext& dc, const ChartResources& res, const std::string& title,
                          const std::vector<AxisMark>& marks, int labelGap, int titleGap) const {
    dc.SetPen(Pen::Solid(0, draw::Black));
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.SetTextAlign(ta::Center | ta::Top);
    dc.MoveTo(left_, bottom_);
    dc.LineTo(right_, bottom_);
    for (const AxisMark& m : marks) {
        dc.MoveTo(m.pos, bottom_);
        dc.LineTo(m.pos, bottom_ - m.length);
        if (!m.label.empty()) dc.Text(m.pos, bottom_ - labelGap, m.label);
        if (m.grid) {
            dc.SetPen(res.GridPen);
            dc.MoveTo(m.pos, bottom_);
            dc.LineTo(m.pos, top_);
            dc.SetPen(Pen::Solid(0, draw::Black));
        }
    }
    if (!title.empty()) dc.Text((left_ + right_) / 2, bottom_ - titleGap, title);
}

void ChartAxes::DrawNumberAxisX(DeviceContext& dc, const ChartResources& res,
                                const std::string& title, float step, int minorCount,
                                bool grid) const {
    if (xMax_ == xMin_ || right_ == left_) return;
    StateSaver saver(dc);
    dc.SetFont(res.AxisFont);
    DrawXAxis(dc, res, title, XAxisMarks(step, minorCount, grid), 120, 300);
}

void ChartAxes::DrawYearAxisX(DeviceContext& dc, const ChartResources& res,
                              const std::vector<TimePeriod>& periods, int charset,
                              const std::string& title, float step, int minorCount,
                              bool grid) const {
    if (xMax_ == xMin_ || right_ == left_) return;
    StateSaver saver(dc);
    dc.SetFont(res.AxisFont);
    DrawXAxis(dc, res, title, XAxisMarks(step, minorCount, grid, &periods, charset), 120, 300);
}

void ChartAxes::DrawCompactAxisX(DeviceContext& dc, const ChartResources& res,
                                 const std::string& title, float step, int minorCount,
                                 bool grid) const {
    if (xMax_ == xMin_ || right_ == left_) return;
    StateSaver saver(dc);
    DrawXAxis(dc, res, title, XAxisMarks(step, minorCount, grid, nullptr, 0, true), 30, 60);
}

void ChartAxes::DrawMarkers(DeviceContext& dc, const ChartResources& res, std::span<const float> xs,
                            std::span<const float> ys, unsigned flags) const {
    if (!(flags & SeriesMarkers)) return;
    const size_t count = std::min(xs.size(), ys.size());
    for (size_t i = 0; i < count; ++i)
        DrawMarker(dc, res, SeriesX(xs[i]), SeriesY(ys[i]), int(flags & 0xFF));
}

void ChartAxes::DrawSeries(DeviceContext& dc, const ChartResources& res, std::span<const float> xs,
                           std::span<const float> ys, unsigned flags) const {
    const size_t count = std::min(xs.size(), ys.size());
    if (flags & SeriesLines)
        for (size_t i = 0; i + 1 < count; ++i) {
            dc.MoveTo(SeriesX(xs[i]), SeriesY(ys[i]));
            dc.LineTo(SeriesX(xs[i + 1]), SeriesY(ys[i + 1]));
        }
    DrawMarkers(dc, res, xs, ys, flags);
}

void ChartAxes::DrawSeriesClipped(DeviceContext& dc, const ChartResources& res,
                                  std::span<const float> xs, std::span<const float> ys,
                                  unsigned flags) const {
    const size_t count = std::min(xs.size(), ys.size());
    if (flags & SeriesLines) {
        // Clipping happens where the segment is straight on the plot: in transformed units.
        auto y = [&](double v) { return logarithmic_ ? LogTransform(v) : v; };
        const double yLow = logarithmic_ ? log_.logBottom : yMin_;
        const double yHigh = logarithmic_ ? log_.logTop : yMax_;
        const double yScale =
            logarithmic_ ? (log_.logTop == log_.logBottom
                                ? 0
                                : (top_ - bottom_) / (double(log_.logTop) - log_.logBottom))
                         : (yMax_ == yMin_ ? 0 : (top_ - bottom_) / (double(yMax_) - yMin_));
        const double xScale = xMax_ == xMin_ ? 0 : (right_ - left_) / (double(xMax_) - xMin_);
        for (size_t i = 0; i + 1 < count; ++i) {
            auto s =
                ClipSegment({xs[i], y(ys[i]), xs[i + 1], y(ys[i + 1])}, xMin_, xMax_, yLow, yHigh);
            if (!s) continue;
            dc.MoveTo(left_ + Trunc((s->x1 - xMin_) * xScale),
                      bottom_ + Trunc((s->y1 - yLow) * yScale));
            dc.LineTo(left_ + Trunc((s->x2 - xMin_) * xScale),
                      bottom_ + Trunc((s->y2 - yLow) * yScale));
        }
    }
    DrawMarkers(dc, res, xs, ys, flags);
}

void DrawMarker(DeviceContext& dc, const ChartResources& res, int x, int y, int index) {
    StateSaver saver(dc);
    dc.SetPen(Pen::Solid(0, draw::Black));
    dc.SetBrush(res.Brush(index));
    constexpr int h = 30;
    const int shape = ((index % 5) + 5) % 5;
    switch (shape) {
    case 0:
        dc.Ellipse({x - h, y - h, x + h, y + h});
        break;
    case 1: {
        const Point p[] = {{x - h, y + h}, {x, y - h}, {x + h, y + h}};
        dc.Polygon(p);
        break;
    }
    case 2: {
        const Point p[] = {{x - h, y - h}, {x, y + h}, {x + h, y - h}};
        dc.Polygon(p);
        break;
    }
    case 3: {
        const Point p[] = {{x - h, y}, {x, y - h}, {x + h, y}, {x, y + h}};
        dc.Polygon(p);
        break;
    }
    default:
        dc.Rectangle({x - h, y - h, x + h, y + h});
        break;
    }
}

void ApplyMinimumHeight(BarRecord& bar, float rangeMax, int minHeight) {
    if (bar.value < 0) {
        std::swap(bar.top, bar.bottom);
        if (bar.top - bar.bottom < minHeight) bar.bottom = bar.top - minHeight;
    } else if (bar.value > 0) {
        if (bar.top - bar.bottom < minHeight) bar.top = bar.bottom + minHeight;
    } else if (rangeMax > 0) {
        bar.top = bar.bottom + minHeight;
    } else {
        bar.bottom = bar.top - minHeight;
    }
}

void SortBarsDescending(std::span<BarRecord> records) {
    ExchangeSortDescending(records, [](const BarRecord& r) { return r.value; });
}

} // namespace zor::charts
