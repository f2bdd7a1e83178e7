// Polygon sets: the batch call draws exactly what a brush and a polygon per entry draw, on the
// recording and into metafiles.
#include "draw/PolygonSet.h"
#include "draw/EmfWriter.h"
#include "draw/RecordingContext.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor::draw {
namespace {

PolygonSet ThreeShapes() {
    PolygonSet set;
    const std::vector<Point> square{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}};
    const std::vector<Point> triangle{{200, 0}, {300, 0}, {250, 80}};
    const std::vector<Point> line{{400, 0}}; // one point: nothing to draw
    set.Add(square);
    set.Add(triangle);
    set.Add(line);
    return set;
}

void Map(DeviceContext& dc) {
    dc.SetMapMode(MapMode::Isotropic);
    dc.SetWindowExt(1000, 500);
    dc.SetViewportExt(400, 300);
}

TEST(PolygonSet, KeepsEachPolygonsPointsInOrder) {
    const PolygonSet set = ThreeShapes();
    ASSERT_EQ(set.Count(), 3u);
    EXPECT_EQ(set.Polygon(0).size(), 5u);
    EXPECT_EQ(set.Polygon(1).size(), 3u);
    EXPECT_EQ(set.Polygon(1)[2], (Point{250, 80}));
    EXPECT_EQ(set.Start(2), 8u);
    EXPECT_EQ(set.Points().size(), 9u);
}

TEST(PolygonSet, BatchRecordsAsBrushAndPolygonPerEntry) {
    const PolygonSet set = ThreeShapes();
    const std::vector<PolygonFill> fills{{1, Brush::Solid(Rgb(255, 0, 0))},
                                         {0, Brush::Solid(Rgb(0, 0, 255))},
                                         {2, Brush::Solid(Rgb(0, 255, 0))},
                                         {7, Brush::Solid(Black)}, // no such polygon
                                         {0, Brush::Solid(Rgb(0, 0, 255))}};
    RecordingContext batch;
    Map(batch);
    batch.Polygons(set, fills);

    RecordingContext plain;
    Map(plain);
    for (const PolygonFill& f : fills) {
        if (f.polygon >= set.Count()) continue;
        plain.SetBrush(f.brush);
        plain.Polygon(set.Polygon(f.polygon));
    }
    EXPECT_EQ(batch.Recording(), plain.Recording());
    EXPECT_EQ(batch.GetBrush(), Brush::Solid(Rgb(0, 0, 255))); // the last brush stays
    EXPECT_NE(batch.Recording().find("polygon 200,0 300,0 250,80"), std::string::npos);
}

TEST(PolygonSet, BatchWritesTheSameMetafileAsSingleCalls) {
    const PolygonSet set = ThreeShapes();
    const std::vector<PolygonFill> fills{{0, Brush::Solid(Rgb(255, 0, 0))},
                                         {1, Brush::Solid(Rgb(255, 0, 0))}};
    const FixedTextMeasurer measurer;
    EmfContext batch(measurer, {{400, 300}, "Map"});
    Map(batch);
    batch.Polygons(set, fills);
    EmfContext plain(measurer, {{400, 300}, "Map"});
    Map(plain);
    for (const PolygonFill& f : fills) {
        plain.SetBrush(f.brush);
        plain.Polygon(set.Polygon(f.polygon));
    }
    EXPECT_EQ(batch.Finish(), plain.Finish());
}

} // namespace
} // namespace zor::draw
