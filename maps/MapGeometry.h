// The geometry of a map view: the polygons of its map file in the map's drawing space (x to
// the right, y downward, 0..W and 0..H), the value-table row of each, and the draw list, the
// order in which they are drawn, in which a polygon comes before the polygons its box encloses.
#pragma once

#include "core/MapFormat.h"
#include "draw/PolygonSet.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zor::maps {

// One entry of the draw list: a polygon of the file and the row of its values.
struct MapDrawEntry {
    int polygon = 0;
    int row = 0;
    bool operator==(const MapDrawEntry&) const = default;
};

// The box of a polygon's vertices (inclusive).
struct MapBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const MapBox&) const = default;
    // Strictly inside `outer` on all four sides.
    bool StrictlyInside(const MapBox& outer) const {
        return outer.left < left && outer.top < top && right < outer.right && bottom < outer.bottom;
    }
};
MapBox BoxOf(std::span<const MapPoint> points);

// The draw list of polygons matched to rows: entry i starts as (i, rows[i]); then for each
// position i and each later position j, the entries at i and j swap when the box of polygon j
// of the file strictly encloses the box of polygon i of the file (the boxes of the file's
// records i and j, whatever entries stand there).
std::vector<MapDrawEntry> OrderDrawList(const std::vector<MapPolygon>& polygons,
                                        const std::vector<int>& rows);

// Whether a polygon's vertices (closed: the last equals the first) contain a point, by the
// even-odd rule with a ray towards smaller x, in exact integer arithmetic: an edge is crossed
// when the point's y lies in [lower y, upper y) of its ends and the point lies on or to the
// right of it (horizontal edges are never crossed). So an axis-aligned rectangle holds the
// points of its right edge and of its edge of smaller y, not those of the other two. A polygon
// of fewer than 3 stored vertices contains nothing.
bool PolygonContains(std::span<const MapPoint> points, MapPoint p);

class MapGeometry {
public:
    // An empty geometry (no map file): no polygons and no draw list.
    MapGeometry() = default;
    explicit MapGeometry(MapFile file);

    // Reads "<set code>.map" of a data-source directory (ending in a separator, found
    // case-insensitively). None when the file is missing, unreadable or truncated.
    static std::optional<MapGeometry> Read(const std::string& dataSource, int setCode);

    bool Empty() const { return file_.polygons.empty(); }
    const MapHeader& Header() const { return file_.header; }
    const std::vector<MapPolygon>& Polygons() const { return file_.polygons; }
    const std::vector<MapDrawEntry>& DrawList() const { return drawList_; }
    // The polygons as logical points of the drawing space, for drawing.
    const draw::PolygonSet& Shapes() const { return shapes_; }
    // How many rows the polygons cover (the last row + 1).
    int RowCount() const { return rows_; }

    // The last draw-list position whose polygon contains the point (the polygon drawn on top),
    // -1 when none does.
    int HitTest(MapPoint p) const;

private:
    MapFile file_;
    std::vector<MapDrawEntry> drawList_;
    std::vector<MapBox> boxes_; // per polygon of the file
    draw::PolygonSet shapes_;
    int rows_ = 0;
};

} // namespace zor::maps
