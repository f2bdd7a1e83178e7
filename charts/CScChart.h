// The scattergram: every region of the set(s) as a point, the value of one indicator in one time
// period (X) against an indicator in a time period (Y), with the least-squares regression line
// and its equation. The selected regions are filled in their colours and listed in a legend.
// The user chooses the two variables ("Select"), zooms into a rubber band drawn with the left
// button (the right button or "Zoom Out" shows all again), types the ranges ("Scale") and reads
// the correlation with its 95 % interval ("Correlation").
//
// The X variable is the view's current indicator and time period (CView's indices, which
// zorexport's --indicator and --period set); the Y variable is the view's own. Ranges, points
// and regression are numbers computed by the free functions below; drawing reads them.
#pragma once

#include "charts/CGraphView.h"
#include "charts/ChartAxes.h"
#include "charts/ChartParts.h"
#include "core/DataTable.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zor::charts {

struct MenuItem;

// The value ranges of both axes and their tick steps. The minima start at the largest float,
// the maxima at MissingValue: an axis has a range once its maximum is set.
struct ScatterRanges {
    float xMin = 3.40282347e38f, xMax = MissingValue, xStep = 0;
    float yMin = 3.40282347e38f, yMax = MissingValue, yStep = 0;
    bool Set() const { return !IsMissing(xMax) && !IsMissing(yMax); }
    bool operator==(const ScatterRanges&) const = default;
};

// The ranges of all present values, X and Y each on their own; when both axes have values each
// is rounded by NiceScale to at most 10 sections (the steps are NiceScale's).
ScatterRanges DataRanges(std::span<const float> xs, std::span<const float> ys);

struct ScatterPoint {
    int row = 0;        // of the value table
    int highlight = -1; // position of the row's region in the selection's regions, -1: none
    std::string name;   // UTF-8
    float x = 0, y = 0;
    int px = 0, py = 0; // plot units from the plot's bottom-left corner
    bool operator==(const ScatterPoint&) const = default;
};

// The least-squares line Y = slope X + intercept. A missing slope with an intercept is the
// vertical line X = intercept (all X equal); a missing intercept: no line (one point or none).
struct Regression {
    float slope = MissingValue;
    float intercept = MissingValue;
    bool Drawn() const { return !IsMissing(intercept); }
    bool operator==(const Regression&) const = default;
};

// Per row of the value table: the two values, the name and the highlight index.
struct ScatterRows {
    std::vector<float> xs, ys;
    std::vector<std::string> names; // UTF-8
    std::vector<int> highlights;
};

struct ScatterFit {
    std::vector<ScatterPoint> points;
    Regression regression;
};

// The points of the rows inside the ranges (a value up to max x 1.00001 counts as inside),
// placed on a plot of `width` x `height` units, and their regression. Sums are in double and
// taken around the means, so that many equal values give exactly no spread.
ScatterFit FitPoints(const ScatterRows& rows, const ScatterRanges& ranges, int width, int height);

// The correlation coefficient of the points and its 95 % interval by Fisher's transformation.
struct Correlation {
    int n = 0;
    float r = 0, lower = 0, upper = 0;
    bool operator==(const Correlation&) const = default;
};
// None for 3 points or fewer, or when all X or all Y values are equal (no coefficient exists).
std::optional<Correlation> Correlate(std::span<const ScatterPoint> points);
// The text of the 'Statistics' dialog from the format of string 1087 (r, lower, upper as
// "%.3g"); every ';' of the result becomes a line break.
std::string CorrelationText(std::string_view format, const Correlation& c);

// The equation over the plot: "Y = 2X-3", "Y = X", "Y = 5" (slope near 0), "X = 5" (vertical);
// empty without a line.
std::string EquationText(const Regression& regression);

// The ranges a rubber band from `a` to `b` (plot units) zooms to: both corners as values,
// ordered, each axis rounded by NiceScale to at most 10 sections. None for a band without
// width or height.
std::optional<ScatterRanges> ZoomRanges(const ScatterRanges& ranges, draw::Point a, draw::Point b,
                                        int width, int height);

// The two captions under the plot: "X - " and "Y - " with the variables' names, measured in the
// axis font. Rectangles are y up (top > bottom).
struct ScatterCaptions {
    std::string xText, yText; // "indicator, period"
    draw::Rect xPrefix, xCaption, yPrefix, yCaption;
};
ScatterCaptions LayoutCaptions(const draw::DeviceContext& dc, const draw::Font& font,
                               const std::string& xText, const std::string& yText, int left,
                               int right);

class CScChart : public CGraphView {
public:
    // Builds the value table from the selection (all regions of the set(s), axes as the values
    // give them), loads it and computes the full ranges, points and regression.
    explicit CScChart(const ViewContext& context);

    static const std::vector<MenuItem>& FrameMenu();

    draw::Point GetOrigin() const override;
    draw::Size GetExtent() const override;
    void DrawChart(draw::DeviceContext& dc, bool blackAndWhite) const override;
    std::string GetTipText() override;
    int HitTest(draw::Point logical) override;
    TextOverflow MeasureOverflow(const draw::DeviceContext& dc) const override;
    void DrawOverlay(draw::DeviceContext& dc) const override;
    ViewCursor Cursor() const override;

    bool OnCommand(int id) override;
    CommandState QueryCommand(int id) const override;
    bool WriteData(JsonWriter& json) override;
    // "Y against X", each variable with its period.
    std::string Subject() const override;
    std::string ApplyRenderOption(const std::string& name, const std::string& value) override;
    bool Loaded() const override { return loadResult_ == 0; }

    const DataTable& Table() const { return table_; }
    const ChartAxes& Axes() const { return axes_; }
    int XIndicator() const { return IndicatorIndex(); }
    int XPeriod() const { return PeriodIndex(); }
    int YIndicator() const { return yIndicator_; }
    int YPeriod() const { return yPeriod_; }
    const ScatterRanges& Ranges() const { return ranges_; }
    const ScatterFit& Fit() const { return fit_; }
    const Legend& LegendLayout() const { return legend_; }
    // The rubber band while the left button draws it: anchor and current corner (plot units).
    bool Banding() const { return banding_; }
    draw::Point BandAnchor() const { return anchor_; }
    draw::Point BandCorner() const { return corner_; }

    // The four choices as the setup dialog returns them (positions in the table's lists); the
    // view zooms out and reports when the new variables have no data.
    void Choose(int xIndicator, int xPeriod, int yIndicator, int yPeriod);
    // The full ranges, points and regression again.
    void ZoomOut();
    // Ranges typed by the user ("Scale"), kept until the next zoom out.
    void SetRanges(const ScatterRanges& ranges);

protected:
    bool IsDataMissing() const override;
    void OnPeriodChanged(int oldIndex) override;
    void OnIndicatorChanged(int oldIndex) override;
    void OnMouseButton(MouseButton button, MouseAction action, draw::Point logical) override;
    bool OnMouseMove(draw::Point logical) override;

private:
    ScatterRows Rows(int xIndicator, int xPeriod) const;
    void Rebuild();
    void Repaint();
    void EndBand(bool zoom);
    void RunSetup();
    void RunScale();
    void RunCorrelation();
    std::string VariableText(int indicator, int period) const;
    draw::Point ClampToPlot(draw::Point p) const;

    DataTable table_;
    ChartAxes axes_;
    int loadResult_ = 0;
    int yIndicator_ = 0, yPeriod_ = 0;
    ScatterRanges ranges_;
    ScatterFit fit_;
    Legend legend_;
    bool banding_ = false;
    draw::Point anchor_, corner_;
    draw::Font equationFont_;
};

} // namespace zor::charts
