// Map drawing against its practical limit: one map of every region of the top level (the 3,142
// US counties of scripts/make-us-db.sh --counties-top) drawn at 1600 x 1000 by the map view,
// against the same polygons in the same colours drawn with plain QPainter::drawPolygon into a
// QImage of that size (device points converted beforehand, no legend or labels); and a slide
// show frame (RenderMapFrame) at that size. Prints the median time per picture over the runs.
//
// usage: bench_map DIR=<database> [--indicator CODE] [--runs N] [--png FILE]
#include "bench/Timing.h"
#include "core/DataStore.h"
#include "core/Selection.h"
#include "draw/NullContext.h"
#include "draw/qt/QtDeviceContext.h"
#include "draw/qt/QtTextMeasurer.h"
#include "draw/qt/Render.h"
#include "maps/CMapView.h"
#include "tests/support/ViewTestSupport.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace zor;

using bench::InterleavedMedianMs;
using bench::MedianMs;

QColor ToQColor(draw::Color c) {
    return QColor(draw::RedOf(c), draw::GreenOf(c), draw::BlueOf(c));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    int indicator = 1000, runs = 41;
    std::string png;
    char* dirArg[] = {argv[0], nullptr, nullptr};
    for (int a = 1; a < argc; ++a)
        if (std::strncmp(argv[a], "DIR=", 4) == 0) dirArg[1] = argv[a];
    for (int a = 1; a + 1 < argc; ++a) {
        if (std::strcmp(argv[a], "--indicator") == 0) indicator = std::atoi(argv[++a]);
        if (std::strcmp(argv[a], "--runs") == 0) runs = std::max(1, std::atoi(argv[++a]));
        if (std::strcmp(argv[a], "--png") == 0) png = argv[++a];
    }
    DataStore store;
    PlatformInfo platform = DefaultPlatform(dirArg[1] ? 2 : 1, dirArg);
    if (!store.StartUp(platform)) {
        std::fprintf(stderr, "bench_map: %s\n", store.StartupError().c_str());
        return 2;
    }
    std::vector<ListItem> periods;
    for (const ListItem& p : store.PeriodList())
        if (p.code >= 2007 && p.code <= 2011) periods.push_back(p);
    if (periods.empty()) periods = store.PeriodList();
    Selection selection;
    selection.Confirm(TopLevelSetId, {{indicator, "indicator"}}, {}, periods);
    const charts::ChartResources resources(store.Charset());
    maps::CMapView view({store, resources, selection, nullptr});
    test::RecordingHost host;
    host.bitmapPainter = [](draw::Raster& raster, const charts::PictureFunction& draw) {
        draw::PaintOnRaster(raster, draw);
        return true;
    };
    test::OpenView(view, host);
    view.Select(charts::PopupKind::Periods, std::min<int>(2, int(periods.size()) - 1));
    if (!view.HasMapFile()) {
        std::fprintf(stderr, "bench_map: the database has no map of set 10000\n");
        return 2;
    }
    const auto& list = view.Geometry().DrawList();
    size_t vertices = 0;
    for (const MapPolygon& p : view.Geometry().Polygons()) vertices += p.points.size();

    const int W = 1600, H = 1000;
    const draw::Rect client{0, 0, W, H};
    const QColor face(239, 239, 239);
    QImage image(W, H, QImage::Format_RGB32);

    // The map view: the window's picture, as the widget paints it.
    auto paintMap = [&] {
        image.fill(face);
        QPainter painter(&image);
        draw::QtDeviceContext dc(painter, draw::QtTextMeasurer::Screen());
        view.Paint(dc, client);
    };
    const double firstMs = bench::Ms(paintMap); // converts the device points for this size
    if (!png.empty()) image.save(QString::fromStdString(png));

    // The limit: the same polygons in the same order and colours, device points made beforehand.
    draw::NullContext mapping(draw::DeviceInfo{draw::Technology::Display, W, H, 3780, 3780, 32},
                              draw::QtTextMeasurer::Screen());
    view.PrepareScreenMapping(mapping, client);
    std::vector<QPolygon> polygons;
    std::vector<QColor> colors;
    const std::vector<int> classes = view.RowClasses();
    const auto table = view.Colors(false);
    for (const maps::MapDrawEntry& e : list) {
        QPolygon poly;
        for (const MapPoint& p : view.Geometry().Polygons()[size_t(e.polygon)].points) {
            const draw::Point d = mapping.LPtoDP({p.x, p.y});
            poly << QPoint(d.x, d.y);
        }
        polygons.push_back(poly);
        const size_t cls =
            e.row < int(classes.size()) ? size_t(classes[size_t(e.row)]) : table.size() - 1;
        colors.push_back(ToQColor(table[cls]));
    }
    const auto [mapMs, limitMs] = InterleavedMedianMs(runs, paintMap, [&] {
        image.fill(face);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 0));
        for (size_t i = 0; i < polygons.size(); ++i) {
            painter.setBrush(colors[i]);
            painter.drawPolygon(polygons[i], Qt::OddEvenFill);
        }
    });

    // The map frame as a PNG file's bytes, as the Python peer writes its picture.
    const double mapPngMs = MedianMs(std::max(5, runs / 3), [&] {
        paintMap();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    });

    // Slide frames: with two frames between the periods, a period's frame and interpolated ones.
    const int frames = maps::SlideFrameCount(int(periods.size()), 2);
    const draw::Color faceColor = draw::Rgb(239, 239, 239);
    view.RenderSlideFrame({frames, 0, {W, H}, faceColor}); // the region keys of this size
    int frame = 0;
    const double slideMs = MedianMs(runs, [&] {
        frame = (frame + 1) % frames;
        if (!view.RenderSlideFrame({frames, frame, {W, H}, faceColor})) std::abort();
    });

    std::printf("map of %zu polygons (%zu vertices, %d regions) at %dx%d, %d runs\n", list.size(),
                vertices, view.Table().RowCount(), W, H, runs);
    std::printf(
        "map frame (CMapView::Paint, QImage):  median %.2f ms (first at this size %.2f ms)\n",
        mapMs, firstMs);
    std::printf("limit (QPainter::drawPolygon):        median %.2f ms\n", limitMs);
    std::printf("ratio map frame / limit:              %.2f\n", mapMs / limitMs);
    std::printf("map frame + PNG encoding:             median %.2f ms\n", mapPngMs);
    std::printf("slide frame (RenderMapFrame):         median %.2f ms\n", slideMs);
    return 0;
}
