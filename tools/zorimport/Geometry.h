// Map files from boundaries already read and projected (Boundaries.h): features matched to the
// top-level regions of a set, simplified, scaled into the 16-bit drawing space with the aspect
// kept, holes cut into their outer rings, and the label and legend points placed.
#pragma once

#include "core/MapFormat.h"
#include "tools/zorimport/Diagnostics.h"
#include "tools/zorimport/Manifest.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zor::import {

struct PointD {
    double x = 0;
    double y = 0;
};
using RingD = std::vector<PointD>; // open: the closing vertex is not repeated

struct PolygonD {
    RingD outer;
    std::vector<RingD> holes;
};

struct Feature {
    std::string key;                // the feature's id or the configured field, as text
    int index = 0;                  // 1-based position in its layer, for messages
    std::vector<PolygonD> polygons; // projected, x to the right, y downward
};

// Simplifies the polygons of one region in place, to a tolerance in their own units, keeping
// rings simple and holes inside (the GDAL reader supplies one).
using Simplifier = std::function<void(std::vector<PolygonD>& polygons, double tolerance)>;

struct MapBuildOptions {
    double simplify = DefaultSimplify; // tolerance in drawing units; 0: no simplification
    const Simplifier* simplifier = nullptr;
};

// Vertices of the drawn regions: as read, after the simplification and as written.
struct MapStats {
    size_t read = 0;
    size_t simplified = 0;
    size_t written = 0;
};

// The drawing space's longer side.
inline constexpr int MapExtent = 12000;

// Builds the map file of a set: one or more polygons per top-level region before the total,
// in region order, each polygon's code the region id in decimal. A region without a polygon
// is an error; features that match no drawn region are warnings. The polygons are simplified
// to options.simplify drawing units when a simplifier is given.
std::optional<MapFile> BuildMap(const SourceSet& set, const std::vector<Feature>& features,
                                const std::string& mapFile, Diagnostics& diag,
                                const MapBuildOptions& options = {}, MapStats* stats = nullptr);

// Cuts holes into an outer ring (closed rings of integer points; holes reversed against the
// outer ring and joined to it by a zero-width bridge at their nearest vertices), so that the
// even-odd and the non-zero fill both leave the holes empty. Returns a closed ring.
std::vector<MapPoint> CutHoles(std::vector<MapPoint> outer,
                               const std::vector<std::vector<MapPoint>>& holes);

// Even-odd containment of a point in a closed ring.
bool RingContains(const std::vector<MapPoint>& ring, double x, double y);

} // namespace zor::import
