// Parts that several charts draw alike, each as a layout (numbers only, or measured on a device
// context) and a drawing of that layout that changes nothing: the legend beside the plot, the
// title over it, and the value axes of stacked bands.
#pragma once

#include "charts/ChartAxes.h"
#include "charts/ChartResources.h"
#include "draw/DeviceContext.h"

#include <string>
#include <vector>

namespace zor::charts {

// --- Legend: one entry per series, from the middle of the plot's height downward, 150 units
// apart, at x = plot right + 50.
enum class LegendKey {
    Box,        // a 200 x 100 box in the series' brush (bar charts, histogram)
    LineMarker, // a line in the series' wide pen with its marker (line charts)
    Circle,     // a filled circle in the series' brush (scattergram)
};
struct LegendItem {
    int series = 0; // colour and marker index
    std::string name;
    draw::Rect key;   // the box, the line's span (top == bottom), or the circle's square
    draw::Point text; // baseline start of the name
    bool operator==(const LegendItem&) const = default;
};
struct Legend {
    LegendKey kind = LegendKey::Box;
    std::vector<LegendItem> items;
};
struct LegendEntry {
    int series = 0;
    std::string name; // UTF-8
};
// Entries in order; the first y is (top + bottom + 150 n) / 2 for n entries.
Legend LayoutLegend(LegendKey kind, const std::vector<LegendEntry>& entries, int plotRight,
                    int plotBottom, int plotTop);
// The same starting where a legend of `slots` entries would start (line chart A lists only its
// highlighted regions, from where the list of every region begins).
Legend LayoutLegend(LegendKey kind, const std::vector<LegendEntry>& entries, int plotRight,
                    int plotBottom, int plotTop, int slots);
// In the axis font, baseline-aligned, transparent.
void DrawLegend(draw::DeviceContext& dc, const ChartResources& res, const Legend& legend);
// The right end of the widest name in the axis font on `dc`; the key's right end without names.
int LegendRight(const draw::DeviceContext& dc, const ChartResources& res, const Legend& legend);

// --- Value axis labels
// The left end of the widest label of the value axis (labels end 120 left of the axis) on `dc`
// in the axis font; the axis' x when it has no labels.
int ValueLabelsLeft(const draw::DeviceContext& dc, const ChartResources& res, const ChartAxes& axes,
                    float step);

// --- Title over the plot
struct Title {
    std::string text; // UTF-8
    draw::Rect box;   // y up: top > bottom
    bool wrapped = false;
};
// The title box of a text in the font selected on `dc` over the plot (left..right) with its
// bottom at `bottom`: one line as wide as the text, or, for a text wider than the plot, two
// lines in the narrowest multiple of 500 units that holds it in two lines.
Title LayoutTitle(const draw::DeviceContext& dc, const std::string& text, int left, int right,
                  int bottom);
// The same in `font`, without selecting it on `dc`.
Title LayoutTitle(const draw::DeviceContext& dc, const draw::Font& font, const std::string& text,
                  int left, int right, int bottom);
// Word-wrapped, left-aligned in its box, unclipped, in the font selected on `dc`.
void DrawTitle(draw::DeviceContext& dc, const Title& title);

// --- Value axes of stacked bands (the bar chart's groups spread over several rows)
struct BandLabel {
    int x = 0; // the tick's x; the name hangs centred below it
    std::string text;
    bool operator==(const BandLabel&) const = default;
};
struct BandAxis {
    ChartAxes axes; // the chart's axes with this band's bottom and top
    int zero = 0;   // y of the solid zero line
    std::vector<BandLabel> labels;
};
struct BandAxesInput {
    ChartAxes axes; // plot and y range of the whole chart
    int bands = 1;
    int bandHeight = 0;
    int gap = 0;
    int perBand = 0; // groups in a band
    int barsPerGroup = 0;
    int barWidth = 0;
    std::vector<std::string> groupNames; // one per group, UTF-8
};
// The bands from the top down; one band spreads its groups over the whole plot.
std::vector<BandAxis> LayoutBandAxes(const BandAxesInput& in);
// Each band's value axis (no title, 5 minor intervals, grid), zero line and group labels in
// the axis font.
void DrawBandAxes(draw::DeviceContext& dc, const ChartResources& res,
                  const std::vector<BandAxis>& bands, float step);
// The left end of the widest value label of the bands on `dc` (labels end 120 left of the
// axis); the plot's left when there are none.
int BandLabelsLeft(const draw::DeviceContext& dc, const ChartResources& res,
                   const std::vector<BandAxis>& bands, float step);

} // namespace zor::charts
