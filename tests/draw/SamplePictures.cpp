#include "SamplePictures.h"

#include "draw/Palette.h"

#include <string>

namespace zor::draw::test {

namespace {

Font AxisFont() {
    return Font{.face = "Arial", .height = 150, .weight = 100};
}

void ScreenMapping(DeviceContext& dc, Size client, Size extent, Point origin) {
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(extent.cx, -extent.cy);
    dc.SetViewportExt(client.cx, client.cy);
    dc.SetWindowOrg(-origin.x, -origin.y);
    dc.SetViewportOrg(0, client.cy);
}

} // namespace

void DrawChartSample(DeviceContext& dc, Size client) {
    ScreenMapping(dc, client, {8000, 6000}, {750, 400});
    const int left = 0, bottom = 0, right = 5750, top = 5000;

    // The picture's bounds: a white frame around the whole logical space.
    {
        StateSaver saver(dc);
        dc.SetPen(Pen::Solid(0, White));
        dc.SetBrush(Brush::Hollow());
        dc.Rectangle({-750, -400, 7250, 5600});
    }
    dc.SelectPalette(ChartPalette);
    dc.SetBkMode(BkMode::Transparent);

    // Value axis 0 .. 100, step 20, dotted grid.
    dc.SetPen(Pen::Solid(0, Black));
    dc.SetFont(AxisFont());
    dc.SetTextAlign(ta::Right | ta::Baseline);
    dc.MoveTo(left, bottom);
    dc.LineTo(left, top);
    int widest = 0;
    for (int i = 0; i <= 5; ++i) {
        int y = bottom + i * 1000;
        dc.MoveTo(left, y);
        dc.LineTo(left - 100, y);
        std::string label = std::to_string(i * 20);
        dc.Text(left - 120, y - 60, label);
        widest = std::max(widest, dc.TextExtent(label).cx);
        dc.SetPen(GridPen());
        dc.MoveTo(left, y);
        dc.LineTo(right, y);
        dc.SetPen(Pen::Solid(0, Black));
    }
    dc.MoveTo(left, bottom);
    dc.LineTo(right, bottom);

    // Axis title reading from top to bottom.
    Font title = AxisFont();
    title.escapement = 2700;
    dc.SetFont(title);
    dc.SetTextAlign(ta::Center | ta::Bottom);
    dc.Text(left - (widest + 140), (top + bottom) / 2, "Value (%)");

    // Three groups of four bars, with the second group hatched over in mask mode.
    const int values[3][4] = {{35, 80, 55, 10}, {60, 95, 20, 45}, {75, 30, 65, 90}};
    dc.SetFont(AxisFont());
    dc.SetTextAlign(ta::Center | ta::Top);
    for (int g = 0; g < 3; ++g) {
        int x = left + g * (right - left) / 3;
        for (int r = 0; r < 4; ++r) {
            Rect bar{x + r * 170, bottom + values[g][r] * 50, x + (r + 1) * 170 + 10, bottom};
            dc.SetBrush(ChartBrush(r));
            dc.Rectangle(bar);
            if (g == 1) {
                StateSaver saver(dc);
                dc.SetRop2(Rop2::MaskPen);
                dc.SetBrush(Brush::Hatched(Hatch::DiagonalCross, Black));
                dc.Rectangle(bar);
            }
        }
        dc.MoveTo(x + 340, bottom);
        dc.LineTo(x + 340, bottom - 75);
        dc.Text(x + 340, bottom - 75, std::to_string(2001 + g));
    }

    // A series line with markers (circle, triangles, diamond, square).
    Point pts[5] = {{500, 1500}, {1700, 2600}, {2900, 2100}, {4100, 3900}, {5300, 3400}};
    dc.SetPen(ChartWidePen(4));
    dc.Polyline(pts);
    dc.SetPen(Pen::Solid(0, Black));
    for (int i = 0; i < 5; ++i) {
        int x = pts[i].x, y = pts[i].y;
        dc.SetBrush(ChartBrush(i + 5));
        switch (i % 5) {
        case 0:
            dc.Ellipse({x - 30, y + 30, x + 30, y - 30});
            break;
        case 1: {
            Point t[3] = {{x - 30, y + 30}, {x, y - 30}, {x + 30, y + 30}};
            dc.Polygon(t);
            break;
        }
        case 2: {
            Point t[3] = {{x - 30, y - 30}, {x, y + 30}, {x + 30, y - 30}};
            dc.Polygon(t);
            break;
        }
        case 3: {
            Point d[4] = {{x - 30, y}, {x, y - 30}, {x + 30, y}, {x, y + 30}};
            dc.Polygon(d);
            break;
        }
        default:
            dc.Rectangle({x - 30, y + 30, x + 30, y - 30});
            break;
        }
    }

    // Legend.
    dc.SetTextAlign(ta::Left | ta::Baseline);
    const char* names[4] = {"North", "South", "Capital \xC5\xBEupa", "Islands"};
    int y = (top + bottom + 4 * 150) / 2;
    for (int r = 0; r < 4; ++r) {
        dc.SetBrush(ChartBrush(r));
        dc.Rectangle({right + 50, y, right + 250, y - 100});
        dc.Text(right + 300, y - 100, names[r]);
        y -= 150;
    }

    // Title, word-wrapped in a box centred over the plot.
    dc.SetFont(Font{.face = "Arial", .height = 240});
    const std::string heading = "Population density of the regions, inhabitants per square km";
    Rect box = dc.MeasureTextBox(heading, {0, 0, 10, 0}, 0);
    int width = box.Width();
    if (width > right - left) {
        width = 500;
        int lineHeight = dc.FontMetrics().height;
        while (std::abs(dc.MeasureTextBox(heading, {0, 0, width, 0}, dt::WordBreak).Height()) >
               2 * lineHeight)
            width += 500;
    }
    int boxLeft = (left + right - width) / 2;
    int boxHeight = std::abs(dc.MeasureTextBox(heading, {0, 0, width, 0}, dt::WordBreak).Height());
    dc.TextBox(heading, {boxLeft, top + 50 + boxHeight, boxLeft + width, top + 50},
               dt::Left | dt::WordBreak | dt::NoClip);
}

void DrawMapSample(DeviceContext& dc, Size client) {
    dc.SetMapMode(MapMode::Isotropic);
    dc.SetWindowExt(640, 480);
    dc.SetViewportExt(client.cx, client.cy);

    const Color classes[4] = {Rgb(255, 255, 204), Rgb(161, 218, 180), Rgb(65, 182, 196),
                              Rgb(34, 94, 168)};
    Point a[5] = {{40, 60}, {300, 40}, {320, 250}, {120, 300}, {40, 60}};
    Point b[4] = {{300, 40}, {600, 80}, {560, 260}, {320, 250}};
    Point c[6] = {{120, 300}, {320, 250}, {560, 260}, {520, 440}, {200, 450}, {120, 300}};
    Point lake[4] = {{200, 150}, {250, 130}, {260, 190}, {210, 200}};
    dc.SetPen(Pen::Solid(0, Black));
    dc.SetBrush(Brush::Solid(classes[2]));
    dc.Polygon(a);
    dc.SetBrush(Brush::Solid(classes[3]));
    dc.Polygon(b);
    dc.SetBrush(Brush::Solid(classes[1]));
    dc.Polygon(c);
    dc.SetBrush(Brush::Solid(classes[0]));
    dc.Polygon(lake);

    // Legend: hollow rounded box, class boxes, labels on the baseline.
    dc.SetBrush(Brush::Hollow());
    dc.RoundRect({20, 330, 110, 470}, 15, 15);
    dc.SetFont(Font{.face = "Arial", .height = 13});
    dc.SetBkMode(BkMode::Transparent);
    dc.SetTextAlign(ta::Left | ta::Baseline);
    const char* labels[4] = {"Lower", "3-rd", "2-nd", "Upper"};
    for (int r = 0; r < 4; ++r) {
        int y = 340 + r * 30;
        FillRect(dc, {30, y, 55, y + 20}, Brush::Solid(classes[r]));
        dc.Text(60, y + 16, labels[r]);
    }

    // A label clipped to a region of the map, and a centred, word-wrapped period name.
    {
        StateSaver saver(dc);
        dc.IntersectClipRect({300, 40, 600, 260});
        dc.SetTextColor(Rgb(192, 0, 0));
        dc.SetFont(Font{.face = "Arial", .height = 20, .weight = 700});
        dc.Text(420, 150, "Eastern region and beyond");
    }
    dc.SetFont(Font{.face = "Arial", .height = 20});
    dc.TextBox("First available", {500, 380, 620, 460}, dt::Center | dt::VCenter | dt::WordBreak);

    // Footer in 0.1 mm, 5 mm above the bottom edge.
    StateSaver saver(dc);
    dc.SetMapMode(MapMode::LoMetric);
    dc.SetViewportOrg(0, client.cy);
    dc.SetWindowOrg(-10, -50);
    dc.SetFont(Font{.face = "Arial", .height = 30, .weight = 700});
    dc.SetTextAlign(ta::Left | ta::Bottom);
    dc.Text(0, 0, "Source: sample data");
}

} // namespace zor::draw::test
