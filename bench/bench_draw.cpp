// Drawing benchmark: a chart-like picture of about 2000 primitives (bars, grid and tick lines,
// labels, markers, a series line) drawn to a 1600 × 1200 image through the Qt backend, to an
// enhanced metafile, and to a recording. Reports the median time per render.
// Usage: bench_draw [runs]
#include "bench/Timing.h"
#include "draw/EmfWriter.h"
#include "draw/Palette.h"
#include "draw/RecordingContext.h"
#include "draw/qt/QtDeviceContext.h"
#include "draw/qt/QtTextMeasurer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace zor::draw;

// Returns the number of primitives drawn.
int DrawChart(DeviceContext& dc, Size client) {
    int n = 0;
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(8000, -6000);
    dc.SetViewportExt(client.cx, client.cy);
    dc.SetWindowOrg(-750, -400);
    dc.SetViewportOrg(0, client.cy);
    dc.SelectPalette(ChartPalette);
    dc.SetBkMode(BkMode::Transparent);
    dc.SetFont(Font{.face = "Arial", .height = 150, .weight = 100});

    // Value axis: 50 major ticks with labels and grid lines, 200 minor ticks.
    dc.SetTextAlign(ta::Right | ta::Baseline);
    for (int i = 0; i <= 50; ++i) {
        int y = i * 100;
        dc.SetPen(Pen::Solid(0, Black));
        dc.MoveTo(0, y);
        dc.LineTo(-100, y);
        dc.Text(-120, y - 60, std::to_string(i * 2) + ".0");
        dc.SetPen(GridPen());
        dc.MoveTo(0, y);
        dc.LineTo(5750, y);
        n += 3;
        for (int j = 1; j < 5 && i < 50; ++j) {
            dc.SetPen(Pen::Solid(0, Black));
            dc.MoveTo(0, y + j * 20);
            dc.LineTo(-50, y + j * 20);
            ++n;
        }
    }
    // 40 groups of 34 bars, each with a label under the group.
    dc.SetTextAlign(ta::Center | ta::Top);
    for (int g = 0; g < 40; ++g) {
        int x = g * 143;
        for (int r = 0; r < 34; ++r) {
            int v = (g * 37 + r * 91) % 4800 + 100;
            dc.SetBrush(ChartBrush(r));
            dc.Rectangle({x + r * 4, v, x + r * 4 + 5, 0});
            ++n;
        }
        dc.Text(x + 62, -75, std::to_string(1960 + g));
        ++n;
    }
    // A series of 200 points with markers.
    std::vector<Point> series;
    for (int i = 0; i < 200; ++i) series.push_back({i * 28, 2500 + (i * 7919) % 2000});
    dc.SetPen(ChartWidePen(4));
    dc.Polyline(series);
    ++n;
    dc.SetPen(Pen::Solid(0, Black));
    for (size_t i = 0; i < series.size(); ++i) {
        int x = series[i].x, y = series[i].y;
        dc.SetBrush(ChartBrush(int(i)));
        if (i % 2) {
            dc.Ellipse({x - 30, y + 30, x + 30, y - 30});
        } else {
            Point t[3] = {{x - 30, y - 30}, {x, y + 30}, {x + 30, y - 30}};
            dc.Polygon(t);
        }
        ++n;
    }
    // Legend with 25 entries and a wrapped title.
    dc.SetTextAlign(ta::Left | ta::Baseline);
    for (int r = 0; r < 25; ++r) {
        int y = 4800 - r * 150;
        dc.SetBrush(ChartBrush(r));
        dc.Rectangle({5800, y, 6000, y - 100});
        dc.Text(6050, y - 100, "Region number " + std::to_string(r + 1));
        n += 2;
    }
    dc.SetFont(Font{.face = "Arial", .height = 280});
    dc.TextBox("Population density of the regions by year, inhabitants per square kilometre",
               {0, 5600, 5750, 5050}, dt::Center | dt::WordBreak | dt::NoClip);
    return n + 2;
}

using zor::bench::MedianMs;

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QtTextMeasurer& measurer = QtTextMeasurer::Screen();
    const Size size{1600, 1200};

    int primitives = 0;
    QImage image(size.cx, size.cy, QImage::Format_RGB32);
    double imageMs = MedianMs(runs, [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        QtDeviceContext dc(painter, measurer);
        primitives = DrawChart(dc, size);
    });
    size_t emfBytes = 0;
    double emfMs = MedianMs(runs, [&] {
        EmfContext dc(measurer, EmfOptions{size, "bench"});
        DrawChart(dc, size);
        emfBytes = dc.Finish().size();
    });
    size_t recordingBytes = 0;
    double recordingMs = MedianMs(runs, [&] {
        RecordingContext dc;
        DrawChart(dc, size);
        recordingBytes = dc.Recording().size();
    });
    std::printf("primitives per picture: %d, runs: %d\n", primitives, runs);
    std::printf("image 1600x1200 (Qt raster): %8.2f ms median\n", imageMs);
    std::printf("EMF (%zu bytes):          %8.2f ms median\n", emfBytes, emfMs);
    std::printf("recording (%zu bytes):    %8.2f ms median\n", recordingBytes, recordingMs);
    return 0;
}
