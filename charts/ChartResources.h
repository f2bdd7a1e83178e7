// The drawing resources every chart draws with: the 31 series colours with their brushes and
// pens, the grid pen and the two axis fonts. One set is made at start-up for the configured
// charset and handed to each view; drawing code takes it as a parameter.
#pragma once

#include "draw/Palette.h"
#include "draw/Style.h"

#include <array>

namespace zor::charts {

inline constexpr int ChartColorCount = int(draw::ChartPalette.size());

struct ChartResources {
    explicit ChartResources(int charset = 0);

    std::array<draw::Color, ChartColorCount> ChartPalette;
    std::array<draw::Brush, ChartColorCount> ChartBrushes; // solid, colour i
    std::array<draw::Pen, ChartColorCount> ChartWidePens;  // solid, 25 logical units, colour i
    std::array<draw::Pen, ChartColorCount> ChartThinPens;  // solid, one device pixel, colour i
    draw::Pen GridPen;                                     // dotted black, one device pixel
    draw::Font AxisFont;      // Arial, height 150, weight 100, horizontal
    draw::Font AxisTitleFont; // the same reading from top to bottom (escapement 2700)

    // The entry for a series position. Callers pass positions unchecked: 31 and more cycle
    // through the table again (as draw::ChartColor does).
    const draw::Brush& Brush(int series) const { return ChartBrushes[Slot(series)]; }
    const draw::Pen& WidePen(int series) const { return ChartWidePens[Slot(series)]; }
    const draw::Pen& ThinPen(int series) const { return ChartThinPens[Slot(series)]; }

private:
    static size_t Slot(int series) {
        const int i = series % ChartColorCount;
        return size_t(i < 0 ? i + ChartColorCount : i);
    }
};

// Arial at `height` logical units (cell height) with the program's quality, pitch and charset.
draw::Font ChartFont(int height, int weight, int escapement, int charset);

} // namespace zor::charts
