// Writes sample pictures as EMF files (text measured with the installed fonts) and, for
// comparison, as PNG files drawn by the Qt backend. Usage: zor_emf_samples <output directory>
#include "../SamplePictures.h"

#include "draw/Palette.h"
#include "draw/qt/Render.h"

#include <QGuiApplication>

#include <cstdio>
#include <string>

namespace {

using namespace zor::draw;

// Text alignments and escapements around marked reference points, every hatch, pen widths,
// rounded rectangles and ellipses, on a y-up space of 4000 × 3000 units.
void DrawPrimitives(DeviceContext& dc, Size client) {
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(4000, -3000);
    dc.SetViewportExt(client.cx, client.cy);
    dc.SetViewportOrg(0, client.cy);
    dc.SetBkMode(BkMode::Transparent);
    dc.SetFont(Font{.face = "Arial", .height = 120});

    auto mark = [&](int x, int y) {
        StateSaver saver(dc);
        dc.SetPen(Pen::Solid(0, Rgb(255, 0, 0)));
        dc.MoveTo(x - 40, y);
        dc.LineTo(x + 40, y);
        dc.MoveTo(x, y - 40);
        dc.LineTo(x, y + 40);
    };
    const unsigned aligns[3][3] = {
        {ta::Left | ta::Top, ta::Center | ta::Top, ta::Right | ta::Top},
        {ta::Left | ta::Baseline, ta::Center | ta::Baseline, ta::Right | ta::Baseline},
        {ta::Left | ta::Bottom, ta::Center | ta::Bottom, ta::Right | ta::Bottom}};
    const char* names[3][3] = {{"left top", "center top", "right top"},
                               {"left base", "center base", "right base"},
                               {"left bottom", "center bottom", "right bottom"}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            int x = 400 + c * 900, y = 2800 - r * 300;
            mark(x, y);
            dc.SetTextAlign(aligns[r][c]);
            dc.Text(x, y, names[r][c]);
        }
    }
    // Escapements 0, 450, 900, 2700 around one point.
    for (int e : {0, 450, 900, 1800, 2700}) {
        Font f{.face = "Arial", .height = 120, .escapement = e};
        dc.SetFont(f);
        dc.SetTextAlign(ta::Left | ta::Baseline);
        dc.Text(3400, 2300, "  esc " + std::to_string(e));
    }
    mark(3400, 2300);

    // Hatches over a yellow band; the last row in mask mode over the band.
    FillRect(dc, {0, 1800, 4000, 1300}, Brush::Solid(Rgb(255, 255, 0)));
    for (int h = 0; h < 6; ++h) {
        dc.SetPen(Pen::Solid(0, Black));
        dc.SetBrush(Brush::Hatched(Hatch(h), Rgb(0, 0, 160)));
        dc.Rectangle({100 + h * 650, 1750, 650 + h * 650, 1550});
        StateSaver saver(dc);
        dc.SetRop2(Rop2::MaskPen);
        dc.SetBrush(Brush::Hatched(Hatch(h), Black));
        dc.Rectangle({100 + h * 650, 1500, 650 + h * 650, 1350});
    }

    // Pens: one pixel, dotted, 25 and 60 units wide; shapes.
    dc.SetBrush(Brush::Solid(ChartColor(17)));
    const Pen pens[4] = {Pen::Solid(0, Black), Pen::Dotted(Black), ChartWidePen(2),
                         Pen::Solid(60, ChartColor(0))};
    for (int i = 0; i < 4; ++i) {
        dc.SetPen(pens[i]);
        int x = 200 + i * 950;
        dc.MoveTo(x, 1150);
        dc.LineTo(x + 700, 1150);
        dc.RoundRect({x, 1000, x + 700, 600}, 200, 150);
        dc.Ellipse({x + 100, 500, x + 600, 100});
    }
}

bool Write(const std::string& dir, const std::string& name, Size size, const DrawFunction& draw) {
    bool ok = SaveEmf(dir + "/" + name + ".emf", size, draw, std::string("zorgui2\0") + name) &&
              SavePng(dir + "/" + name + "-qt.png", size, draw);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", (dir + "/" + name + ".emf").c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zor_emf_samples <output directory>\n");
        return 64;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::string dir = argv[1];
    bool ok = Write(dir, "chart", {800, 600}, zor::draw::test::DrawChartSample);
    ok = Write(dir, "map", {800, 600}, zor::draw::test::DrawMapSample) && ok;
    ok = Write(dir, "primitives", {800, 600}, DrawPrimitives) && ok;
    return ok ? 0 : 1;
}
