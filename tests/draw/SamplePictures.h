// Chart-like and map-like pictures drawn through the device context only, for reference
// recordings, the EMF tests, the Qt tests and the sample EMF files.
#pragma once

#include "draw/DeviceContext.h"

namespace zor::draw::test {

// A bar chart on the chart space (8000 × 6000 logical units, y up, origin offset 750, 400)
// mapped onto `client` pixels: palette, value axis with labels and dotted grid, bars in the
// series colours, a legend, a rotated axis title, a word-wrapped title, markers and a series
// line, a hatched overlay in mask mode.
void DrawChartSample(DeviceContext& dc, Size client);

// A map in y-down map units (640 × 480) mapped isotropically onto `client` pixels: polygons,
// a hollow rounded legend box with class boxes, labels, a clipped region and a centred,
// word-wrapped label, then a page footer in 0.1 mm.
void DrawMapSample(DeviceContext& dc, Size client);

} // namespace zor::draw::test
