// The axes toolkit shared by the charts: the plot rectangle in logical units (y up), the value
// ranges of both axes with an optional logarithmic y scale, the axis kinds (value axis, linear
// or logarithmic; number, year and compact horizontal axes), polylines of data series with and
// without clipping, and point markers.
//
// Every axis is laid out first (AxisMarks: positions, tick lengths, labels, grid lines, all in
// logical units) and then drawn from that layout, so the layout can be checked with numbers.
#pragma once

#include "charts/ChartResources.h"
#include "core/Catalogue.h"
#include "draw/DeviceContext.h"

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace zor::charts {

// One tick of an axis. `pos` is y for the value axis and x for the horizontal axes; the tick
// runs from the axis line `length` units outward. A label of "" is not written.
struct AxisMark {
    int pos = 0;
    int length = 0;
    std::string label;
    bool grid = false; // a dotted grid line across the plot at this tick
    bool operator==(const AxisMark&) const = default;
};

// The decade parameters of a logarithmic y axis (all in decade exponents).
struct LogParams {
    float posLow = MissingValue, posHigh = MissingValue;
    float negLow = MissingValue, negHigh = MissingValue;
    float logBottom = 0, logTop = 0;
};

// The decade parameters of the plotted series. Missing values are skipped; each value counts
// for the decades of its own sign (so a series that changes sign widens both pairs).
LogParams LogDecades(std::span<const std::vector<float>> series);

// Series flags of DrawSeries: the low byte is the colour and marker index.
inline constexpr unsigned SeriesLines = 0x1000;
inline constexpr unsigned SeriesMarkers = 0x2000;

// A segment in plot units (x, and y or its logarithmic transform).
struct Segment {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Clips a segment to [xMin, xMax] × [yMin, yMax]: nothing when it lies wholly left of, below,
// right of or above the ranges; otherwise each end moved onto the bound it crosses along the
// segment's slope (ends of a vertical or horizontal segment keep their other coordinate).
std::optional<Segment> ClipSegment(const Segment& s, double xMin, double xMax, double yMin,
                                   double yMax);

class ChartAxes {
public:
    // Extent 8000 × 6000, plot (0, 0)-(5750, 5000), origin (750, 400), ranges 0, linear.
    ChartAxes() = default;

    void SetExtent(int cx, int cy) { cx_ = cx, cy_ = cy; }
    void SetPlotSize(int right, int top) { right_ = right, top_ = top; }
    // The vertical extent of the plot (the bar chart's bands are plots of their own).
    void SetPlotBottomTop(int bottom, int top) { bottom_ = bottom, top_ = top; }
    void SetOrigin(int x, int y) { x_ = x, y_ = y; }
    void SetRanges(float xMin, float xMax, float yMin, float yMax);
    // Logarithmic y with these decades; SetLinear turns it off.
    void SetLogarithmic(const LogParams& p);
    void SetLinear() { logarithmic_ = false; }

    int ExtentX() const { return cx_; }
    int ExtentY() const { return cy_; }
    int OriginX() const { return x_; }
    int OriginY() const { return y_; }
    int Left() const { return left_; }
    int Bottom() const { return bottom_; }
    int Right() const { return right_; }
    int Top() const { return top_; }
    float XMin() const { return xMin_; }
    float XMax() const { return xMax_; }
    float YMin() const { return yMin_; }
    float YMax() const { return yMax_; }
    bool Logarithmic() const { return logarithmic_; }
    const LogParams& Log() const { return log_; }

    // The logarithmic transform of a value (decade units above posLow; negative values below 0).
    double LogTransform(double v) const;
    // The placement of data points, truncated: left + (v - xMin) x-scale and bottom + (v - yMin)
    // y-scale (left and bottom are 0 in every chart). Y is logarithmic when the axes are. An
    // empty range places everything at the plot's left or bottom.
    int SeriesX(double v) const;
    int SeriesY(double v) const;

    // --- Layouts (logical units)
    // Ticks of the vertical axis at x = left: majors 100 long with labels (linear or
    // logarithmic), minors 50 long. Empty when the range or the plot height is empty, or for a
    // step that is not positive (a step so small that it would give more than MaxTicks ticks
    // counts as not positive).
    std::vector<AxisMark> ValueAxisMarks(float step, int minorCount, bool grid) const;
    // Ticks of a horizontal axis along y = bottom with numbers (or, with `periods`, the name
    // of the time period whose code the tick value is). `compact`: the short ticks of
    // DrawCompactAxisX, minors only between majors.
    std::vector<AxisMark> XAxisMarks(float step, int minorCount, bool grid,
                                     const std::vector<TimePeriod>* periods = nullptr,
                                     int charset = 0, bool compact = false) const;
    static constexpr int MaxTicks = 10000;

    // --- Drawing. Each leaves the device context's state as it found it.
    void DrawValueAxis(draw::DeviceContext& dc, const ChartResources& res, const std::string& title,
                       float step, int minorCount, bool grid) const;
    void DrawNumberAxisX(draw::DeviceContext& dc, const ChartResources& res,
                         const std::string& title, float step, int minorCount, bool grid) const;
    // Labels are period names (UTF-8 from the charset) where a catalogue period has the code.
    void DrawYearAxisX(draw::DeviceContext& dc, const ChartResources& res,
                       const std::vector<TimePeriod>& periods, int charset,
                       const std::string& title, float step, int minorCount, bool grid) const;
    // In the font the caller has selected.
    void DrawCompactAxisX(draw::DeviceContext& dc, const ChartResources& res,
                          const std::string& title, float step, int minorCount, bool grid) const;

    // A polyline through the points and/or a marker at each (flags); lines use the selected pen.
    void DrawSeries(draw::DeviceContext& dc, const ChartResources& res, std::span<const float> xs,
                    std::span<const float> ys, unsigned flags) const;
    // The same with every segment clipped to the ranges first (in transformed units when the y
    // axis is logarithmic). Markers are not clipped.
    void DrawSeriesClipped(draw::DeviceContext& dc, const ChartResources& res,
                           std::span<const float> xs, std::span<const float> ys,
                           unsigned flags) const;

private:
    void DrawXAxis(draw::DeviceContext& dc, const ChartResources& res, const std::string& title,
                   const std::vector<AxisMark>& marks, int labelGap, int titleGap) const;
    std::vector<AxisMark> LogAxisMarks(bool grid) const;
    void DrawMarkers(draw::DeviceContext& dc, const ChartResources& res, std::span<const float> xs,
                     std::span<const float> ys, unsigned flags) const;

    int cx_ = 8000, cy_ = 6000;
    int left_ = 0, bottom_ = 0, right_ = 5750, top_ = 5000;
    int x_ = 750, y_ = 400;
    float xMin_ = 0, yMin_ = 0, xMax_ = 0, yMax_ = 0;
    LogParams log_;
    bool logarithmic_ = false;
};

// One point marker with half-size 30 at (x, y), logical: black outline, brush `index`; the
// shape by index mod 5: circle, triangle pointing down, triangle pointing up, diamond, square.
void DrawMarker(draw::DeviceContext& dc, const ChartResources& res, int x, int y, int index);

// One bar of the bar charts, in logical units (top > bottom once laid out).
struct BarRecord {
    int series = 0; // region or indicator position, also the colour index
    std::string name;
    float value = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const BarRecord&) const = default;
};

// Every bar of the bar charts is drawn at least `minHeight` high: a negative bar has its top
// and bottom exchanged and reaches at least that far below the zero line, a positive one at least
// that far above it, and a zero bar grows upward when the range's max is positive, else downward.
void ApplyMinimumHeight(BarRecord& bar, float rangeMax, int minHeight = 20);

// Largest value first by the exchange sort the ranked charts use: a pair is exchanged only
// when the earlier value is not >= the later one (so the order among equal values is the one
// this procedure gives, not the input's).
void SortBarsDescending(std::span<BarRecord> records);

// The same exchange sort over any records, by the float `value(record)` gives.
template <class T, class Value> void ExchangeSortDescending(std::span<T> records, Value value) {
    const size_t count = records.size();
    for (size_t p = 0; p + 1 < count; ++p)
        for (size_t q = p + 1; q < count; ++q)
            if (!(value(records[p]) >= value(records[q]))) std::swap(records[p], records[q]);
}

} // namespace zor::charts
