// The 31 series colours every chart draws with, and the brushes and pens made from them.
#pragma once

#include "draw/Style.h"

#include <array>

namespace zor::draw {

// Series colours by index (entry 30 repeats entry 9).
inline constexpr std::array<Color, 31> ChartPalette = {
    Rgb(255, 0, 0),    Rgb(0, 128, 0),     Rgb(0, 0, 255),     Rgb(255, 255, 0),
    Rgb(128, 0, 128),  Rgb(128, 128, 0),   Rgb(0, 0, 128),     Rgb(0, 255, 255),
    Rgb(0, 255, 0),    Rgb(128, 0, 0),     Rgb(0, 128, 128),   Rgb(255, 0, 255),
    Rgb(34, 139, 34),  Rgb(25, 25, 112),   Rgb(119, 136, 153), Rgb(0, 0, 205),
    Rgb(0, 139, 139),  Rgb(0, 191, 255),   Rgb(0, 206, 209),   Rgb(0, 250, 154),
    Rgb(30, 144, 255), Rgb(32, 178, 170),  Rgb(255, 140, 0),   Rgb(118, 104, 238),
    Rgb(106, 85, 211), Rgb(230, 230, 250), Rgb(154, 205, 50),  Rgb(210, 180, 140),
    Rgb(255, 127, 80), Rgb(255, 215, 0),   Rgb(128, 0, 0),
};

// The colour of a series. Callers pass the series position unchecked: indices of 31 and more
// cycle through the table (31 is colour 0 again), negative ones count back from the end.
constexpr Color ChartColor(int index) {
    constexpr int n = int(ChartPalette.size());
    int i = index % n;
    return ChartPalette[size_t(i < 0 ? i + n : i)];
}

// Solid brush in series colour `index`.
inline Brush ChartBrush(int index) {
    return Brush::Solid(ChartColor(index));
}
// Solid pen 25 logical units wide in series colour `index`.
inline Pen ChartWidePen(int index) {
    return Pen::Solid(25, ChartColor(index));
}
// Solid pen one device pixel wide in series colour `index`.
inline Pen ChartThinPen(int index) {
    return Pen::Solid(0, ChartColor(index));
}
// The dotted black grid pen, one device pixel wide.
inline Pen GridPen() {
    return Pen::Dotted(Black);
}

} // namespace zor::draw
