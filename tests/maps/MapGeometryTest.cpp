// Map geometry: the draw order of nested polygons, row matching, the exact containment rule on
// edges, vertices and holes, the hit test in draw order, and reading map files.
#include "maps/MapGeometry.h"
#include "tests/maps/MapTestSupport.h"

#include <gtest/gtest.h>

namespace zor::maps {
namespace {

using test::Box;

std::vector<MapPoint> Square(int left, int top, int right, int bottom) {
    return Box("", left, top, right, bottom).points;
}

TEST(MapDrawList, EnclosingPolygonsComeFirst) {
    // A inside B inside C, listed inner first.
    const std::vector<MapPolygon> polys{Box("A", 40, 40, 60, 60), Box("B", 20, 20, 80, 80),
                                        Box("C", 0, 0, 100, 100)};
    const auto list = OrderDrawList(polys, {0, 1, 2});
    EXPECT_EQ(list, (std::vector<MapDrawEntry>{{2, 2}, {1, 1}, {0, 0}}));

    // Touching boxes do not enclose (all four sides must be strictly inside); the file order
    // stays.
    const std::vector<MapPolygon> touching{Box("A", 0, 40, 60, 60), Box("B", 0, 20, 80, 80)};
    EXPECT_EQ(OrderDrawList(touching, {0, 1}), (std::vector<MapDrawEntry>{{0, 0}, {1, 1}}));

    // An enclosing polygon two places later swaps with the inner one over the one between.
    const std::vector<MapPolygon> inner{Box("D", 20, 20, 30, 30), Box("C", 60, 60, 70, 70),
                                        Box("B", 10, 10, 50, 50)};
    // i = 0, j = 2: B encloses D: entries 0 and 2 swap.
    EXPECT_EQ(OrderDrawList(inner, {0, 1, 2}), (std::vector<MapDrawEntry>{{2, 2}, {1, 1}, {0, 0}}));
}

TEST(MapGeometry, RecordsWithTheSameCodeShareARowAndTheListIsSorted) {
    MapFile file = test::CountryMap();
    file.polygons.push_back(Box("N", 10, 300, 50, 350)); // N again after E: a new row
    const MapGeometry g(file);
    EXPECT_EQ(g.RowCount(), 4);
    // South (record 2) sits inside East's box (record 3): East is drawn before it.
    EXPECT_EQ(g.DrawList(), (std::vector<MapDrawEntry>{{0, 0}, {1, 0}, {3, 2}, {2, 1}, {4, 3}}));
    EXPECT_EQ(g.Shapes().Count(), 5u);
    EXPECT_EQ(g.Shapes().Polygon(2)[0], (draw::Point{450, 150}));
}

TEST(MapHitTest, EdgesVerticesAndHolesByTheExactRule) {
    const auto sq = Square(0, 0, 10, 10);
    EXPECT_TRUE(PolygonContains(sq, {5, 5}));
    // The right edge and the edge of smaller y belong to the square, the other two do not.
    EXPECT_TRUE(PolygonContains(sq, {10, 5}));
    EXPECT_TRUE(PolygonContains(sq, {5, 0}));
    EXPECT_FALSE(PolygonContains(sq, {0, 5}));
    EXPECT_FALSE(PolygonContains(sq, {5, 10}));
    // Vertices: only the one where both belonging edges meet.
    EXPECT_TRUE(PolygonContains(sq, {10, 0}));
    EXPECT_FALSE(PolygonContains(sq, {0, 0}));
    EXPECT_FALSE(PolygonContains(sq, {0, 10}));
    EXPECT_FALSE(PolygonContains(sq, {10, 10}));
    EXPECT_FALSE(PolygonContains(sq, {11, 5}));
    EXPECT_FALSE(PolygonContains(sq, {-1, 5}));

    // A slanted right edge: (0,0)-(10,10)-(0,10). A point on it counts as right of it, so it
    // is crossed as well as the left edge: outside, unlike the square's vertical right edge.
    const std::vector<MapPoint> tri{{0, 0}, {10, 10}, {0, 10}, {0, 0}};
    EXPECT_TRUE(PolygonContains(tri, {2, 5}));
    EXPECT_TRUE(PolygonContains(tri, {4, 5}));
    EXPECT_FALSE(PolygonContains(tri, {5, 5}));
    EXPECT_FALSE(PolygonContains(tri, {6, 5}));

    // A ring with a hole, in one record (outer ring, then the hole, joined at a corner).
    const std::vector<MapPoint> ring{{0, 0},   {30, 0},  {30, 30}, {0, 30},  {0, 0}, {10, 10},
                                     {20, 10}, {20, 20}, {10, 20}, {10, 10}, {0, 0}};
    EXPECT_TRUE(PolygonContains(ring, {5, 15}));
    EXPECT_TRUE(PolygonContains(ring, {25, 15}));
    EXPECT_FALSE(PolygonContains(ring, {15, 15})); // in the hole
    EXPECT_FALSE(PolygonContains(ring, {35, 15}));

    // Fewer than three stored vertices contain nothing.
    EXPECT_FALSE(PolygonContains(std::vector<MapPoint>{{0, 0}, {10, 10}}, {5, 5}));
}

TEST(MapHitTest, TheLastPolygonInDrawOrderWins) {
    const MapGeometry g(test::CountryMap());
    // South is drawn over East: inside both it is South's draw-list position.
    EXPECT_EQ(g.HitTest({500, 200}), 3);
    EXPECT_EQ(g.DrawList()[3].row, 1);
    EXPECT_EQ(g.HitTest({420, 300}), 2); // East only
    EXPECT_EQ(g.HitTest({330, 70}), 1);  // North's island
    EXPECT_EQ(g.HitTest({630, 470}), -1);

    // Overlapping polygons without nesting keep the file order; the later one wins.
    const MapGeometry overlap(MapFile{{}, {Box("A", 0, 0, 50, 50), Box("B", 25, 25, 75, 75)}});
    EXPECT_EQ(overlap.HitTest({30, 30}), 1);
    EXPECT_EQ(overlap.HitTest({10, 10}), 0);
}

TEST(MapGeometry, ReadsTheSetsFileAndRefusesMissingOrTruncatedOnes) {
    zor::test::TempDir dir;
    test::WriteMap(dir.file("10000.map"), test::CountryMap());
    const auto g = MapGeometry::Read(dir.path(), 10000);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->Header().width, 640);
    EXPECT_EQ(g->Polygons().size(), 4u);
    EXPECT_FALSE(MapGeometry::Read(dir.path(), 10100).has_value());
    const std::string bytes = zor::test::ReadFile(dir.file("10000.map"));
    zor::test::WriteFile(dir.file("10200.map"), bytes.substr(0, bytes.size() - 3));
    EXPECT_FALSE(MapGeometry::Read(dir.path(), 10200).has_value());
    // Found whatever the case of its name.
    zor::test::WriteFile(dir.file("10300.MAP"), bytes);
    EXPECT_TRUE(MapGeometry::Read(dir.path(), 10300).has_value());
}

} // namespace
} // namespace zor::maps
