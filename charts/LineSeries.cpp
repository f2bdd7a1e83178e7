#include "charts/LineSeries.h"

#include "core/JsonWriter.h"
#include "core/Numeric.h"

#include <algorithm>
#include <cmath>

namespace zor::charts {

using draw::DeviceContext;

void WritePoints(JsonWriter& json, const LineSeries& series) {
    json.BeginArray();
    for (size_t k = 0; k < series.Size(); ++k) {
        json.BeginArray();
        json.Float(series.xs[k]).Float(series.ys[k]);
        json.EndArray();
    }
    json.EndArray();
}

LineSeries SeriesOfValues(std::span<const float> xs, std::span<const float> values) {
    LineSeries s;
    const size_t n = std::min(xs.size(), values.size());
    for (size_t k = 0; k < n; ++k)
        if (!IsMissing(values[k])) {
            s.xs.push_back(xs[k]);
            s.ys.push_back(values[k]);
        }
    return s;
}

LineSeries ThreeYearAverage(std::span<const int> codes, std::span<const float> values) {
    LineSeries s;
    const size_t n = std::min(codes.size(), values.size());
    for (size_t k = 1; k + 1 < n; ++k) {
        if (codes[k] - codes[k - 1] != 1 || codes[k + 1] - codes[k] != 1) continue;
        const float a = values[k - 1], b = values[k], c = values[k + 1];
        if (IsMissing(a) || IsMissing(b) || IsMissing(c)) continue;
        s.xs.push_back(static_cast<float>(codes[k]));
        s.ys.push_back(((a + b) + c) / 3.0f);
    }
    return s;
}

TrendLine FitTrend(const LineSeries& series, float fromYear) {
    size_t first = 0;
    while (first < series.Size() && !(series.xs[first] >= fromYear)) ++first;
    const size_t n = series.Size() - first;
    if (n == 0) return {};
    double mx = 0, my = 0;
    for (size_t k = first; k < series.Size(); ++k) {
        mx += series.xs[k];
        my += series.ys[k];
    }
    mx /= static_cast<double>(n);
    my /= static_cast<double>(n);
    // Centred on the mean year: the variance keeps its digits.
    double sxx = 0, sxy = 0;
    for (size_t k = first; k < series.Size(); ++k) {
        const double dx = series.xs[k] - mx;
        sxx += dx * dx;
        sxy += dx * (series.ys[k] - my);
    }
    const double variance = sxx / static_cast<double>(n);
    if (!(std::fabs(variance) >= 0.0001)) return {};
    const double slope = (sxy / static_cast<double>(n)) / variance;
    const double intercept = my - mx * slope;
    if (!std::isfinite(slope) || !std::isfinite(intercept)) return {};
    return {static_cast<float>(slope), static_cast<float>(intercept)};
}

std::optional<float> LastYear(std::span<const LineSeries> series) {
    std::optional<float> last;
    for (const LineSeries& s : series)
        if (!s.Empty() && (!last || s.xs.back() > *last)) last = s.xs.back();
    return last;
}

AxisRange YearAxis(std::span<const LineSeries> series, int firstCode, int lastCode) {
    float lo = static_cast<float>(firstCode), hi = static_cast<float>(lastCode);
    bool any = false;
    for (const LineSeries& s : series)
        for (float x : s.xs) {
            if (!any || x < lo) lo = x;
            if (!any || x > hi) hi = x;
            any = true;
        }
    AxisRange a;
    a.min = lo;
    a.max = hi + 5;
    a.step = NiceScale(a.min, a.max, 10);
    return a;
}

AxisRange ValueAxis(std::span<const LineSeries> series) {
    bool any = false;
    float lo = 0, hi = 0;
    for (const LineSeries& s : series)
        for (float y : s.ys) {
            if (!any || y < lo) lo = y;
            if (!any || y > hi) hi = y;
            any = true;
        }
    if (!any) return {};
    AxisRange a{lo, hi, 0};
    a.step = NiceScale(a.min, a.max, 10);
    return a;
}

LogParams SeriesDecades(std::span<const LineSeries> series) {
    std::vector<std::vector<float>> values;
    values.reserve(series.size());
    for (const LineSeries& s : series) values.push_back(s.ys);
    return LogDecades(values);
}

PointHit HitPoint(const ChartAxes& axes, std::span<const LineSeries> series, draw::Point p) {
    for (size_t s = 0; s < series.size(); ++s)
        for (size_t k = 0; k < series[s].Size(); ++k) {
            const double dx = double(axes.SeriesX(series[s].xs[k])) - p.x;
            const double dy = double(axes.SeriesY(series[s].ys[k])) - p.y;
            if (dx * dx + dy * dy <= 900) return {static_cast<int>(s), static_cast<int>(k)};
        }
    return {};
}

bool InsideRanges(const ChartAxes& axes, float x, float y) {
    if (!(x >= axes.XMin() && x <= axes.XMax())) return false;
    if (axes.Logarithmic()) {
        const double t = axes.LogTransform(y);
        return t >= axes.Log().logBottom && t <= axes.Log().logTop;
    }
    return y >= axes.YMin() && y <= axes.YMax();
}

void DrawSeriesLines(DeviceContext& dc, const ChartResources& res, const ChartAxes& axes,
                     const LineSeries& series) {
    if (dc.IsMetafile())
        axes.DrawSeriesClipped(dc, res, series.xs, series.ys, SeriesLines);
    else
        axes.DrawSeries(dc, res, series.xs, series.ys, SeriesLines);
}

void DrawSeriesMarkers(DeviceContext& dc, const ChartResources& res, const ChartAxes& axes,
                       const LineSeries& series, int index) {
    for (size_t k = 0; k < series.Size(); ++k)
        if (InsideRanges(axes, series.xs[k], series.ys[k]))
            DrawMarker(dc, res, axes.SeriesX(series.xs[k]), axes.SeriesY(series.ys[k]), index);
}

void DrawTrendLine(DeviceContext& dc, const ChartAxes& axes, const TrendLine& trend, float from) {
    if (!trend.Present()) return;
    auto y = [&](double x) { return double(trend.slope) * x + double(trend.intercept); };
    dc.MoveTo(axes.SeriesX(from), axes.SeriesY(y(from)));
    dc.LineTo(axes.SeriesX(axes.XMax()), axes.SeriesY(y(axes.XMax())));
}

std::optional<int> ZeroLineY(const ChartAxes& axes) {
    if (axes.Logarithmic()) {
        if (!(axes.Log().logBottom < 0)) return std::nullopt;
        return axes.SeriesY(0);
    }
    if (!(double(axes.YMin()) * axes.YMax() < 0)) return std::nullopt;
    return axes.SeriesY(0);
}

} // namespace zor::charts
