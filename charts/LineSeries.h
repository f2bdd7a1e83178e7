// What the three line charts share: their series (the points with a value), the 3-year average,
// least-squares trend lines, the x range of a page of year series, the hit test of points and the
// drawing of lines and markers with their clipping.
#pragma once

#include "charts/ChartAxes.h"
#include "charts/ChartResources.h"
#include "core/DataTable.h"
#include "draw/DeviceContext.h"

#include <span>
#include <vector>

namespace zor {
class JsonWriter;
}

namespace zor::charts {

// The points of one line in drawing order (x, y as float32): only values that are present.
struct LineSeries {
    std::vector<float> xs, ys;
    bool Empty() const { return xs.empty(); }
    size_t Size() const { return xs.size(); }
    bool operator==(const LineSeries&) const = default;
};

// The points as a JSON array of [x, y] pairs.
void WritePoints(JsonWriter& json, const LineSeries& series);

// The point (xs[k], values[k]) of every present value; `xs` and `values` are parallel.
LineSeries SeriesOfValues(std::span<const float> xs, std::span<const float> values);

// The 3-year average over values by period (`codes` are the years, in catalogue order): a point
// (code[k], ((v[k-1] + v[k]) + v[k+1]) / 3) for each period whose predecessor and successor are
// the years just before and after it and whose three values are present. The first and last
// periods and periods next to a gap or a missing value get none.
LineSeries ThreeYearAverage(std::span<const int> codes, std::span<const float> values);

// A trend line y = slope x + intercept; missing (both MissingValue) when there is none.
struct TrendLine {
    float slope = MissingValue;
    float intercept = MissingValue;
    bool Present() const { return !IsMissing(slope); }
    bool operator==(const TrendLine&) const = default;
};

// The least-squares line through the points of a series from the first one whose x is at least
// `fromYear` to its last. The sums are taken in double precision around the mean year (years near
// 2000 squared in single precision leave the variance hardly a digit); a variance below 0.0001
// (fewer than two distinct years) gives no line.
TrendLine FitTrend(const LineSeries& series, float fromYear);

// The largest last x over the non-empty series; none when every series is empty.
std::optional<float> LastYear(std::span<const LineSeries> series);

// The x range of a page of year series: from the first to the last year with a value, the last
// plus 5 (without any value, from `firstCode` to `lastCode` plus 5), rounded by NiceScale to at
// most 10 intervals, which gives the step.
AxisRange YearAxis(std::span<const LineSeries> series, int firstCode, int lastCode);

// A y range over every point of the series, rounded by NiceScale to at most 10 intervals;
// missing (AxisRange{}) without any point.
AxisRange ValueAxis(std::span<const LineSeries> series);

// The decade parameters of the logarithmic scale over the points of the series.
LogParams SeriesDecades(std::span<const LineSeries> series);

// The point of a series under a logical point: the first point, series by series in order,
// within 30 logical units (dx² + dy² <= 900) as placed by the axes.
struct PointHit {
    int series = -1;
    int point = -1;
    bool Found() const { return series >= 0; }
    bool operator==(const PointHit&) const = default;
};
PointHit HitPoint(const ChartAxes& axes, std::span<const LineSeries> series, draw::Point p);

// Whether a point lies inside both ranges of the axes (y in transformed units when the axes are
// logarithmic): where the line charts draw markers.
bool InsideRanges(const ChartAxes& axes, float x, float y);

// The lines of a series in the selected pen: clipped segment by segment into metafiles, plain
// elsewhere (the caller clips the device to the plot).
void DrawSeriesLines(draw::DeviceContext& dc, const ChartResources& res, const ChartAxes& axes,
                     const LineSeries& series);
// Markers of colour and shape `index` at the points inside both ranges.
void DrawSeriesMarkers(draw::DeviceContext& dc, const ChartResources& res, const ChartAxes& axes,
                       const LineSeries& series, int index);
// A trend line from x = `from` to the right end of the x range in the selected pen (its y
// transformed when the axes are logarithmic), unclipped (the caller clips to the plot).
void DrawTrendLine(draw::DeviceContext& dc, const ChartAxes& axes, const TrendLine& trend,
                   float from);

// The zero line of a line chart's plot, when it lies inside: at 0 of a linear range that holds
// both signs, or at the transformed 0 of a logarithmic scale with negative decades.
std::optional<int> ZeroLineY(const ChartAxes& axes);

} // namespace zor::charts
