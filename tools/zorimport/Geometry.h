// Boundaries for the map files: GeoJSON features (planar or longitude/latitude), projected,
// matched to the top-level regions of a set, scaled into the 16-bit drawing space with the
// aspect kept, holes cut into their outer rings, and the label and legend points placed.
#pragma once

#include "core/MapFormat.h"
#include "tools/zorimport/Diagnostics.h"
#include "tools/zorimport/Manifest.h"

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
    std::string key; // the feature's id or the configured property, as text
    int line = 0;
    std::vector<PolygonD> polygons; // projected, x to the right, y downward
};

// Reads the features of a map's GeoJSON file (a FeatureCollection, a Feature or a bare
// geometry) and projects them. Features without polygons are reported as warnings and left
// out; malformed files are errors (nullopt).
std::optional<std::vector<Feature>> ReadFeatures(const std::string& sourceDir, const SourceMap& map,
                                                 Diagnostics& diag);

// Equal Earth projection of longitude/latitude in degrees (x east, y north, in radians of
// the unit sphere).
PointD EqualEarth(double lonDeg, double latDeg);

// The drawing space's longer side.
inline constexpr int MapExtent = 12000;

// Builds the map file of a set: one or more polygons per top-level region before the total,
// in region order, each polygon's code the region id in decimal. A region without a polygon
// is an error; features that match no drawn region are warnings.
std::optional<MapFile> BuildMap(const SourceSet& set, const std::vector<Feature>& features,
                                const std::string& mapFile, Diagnostics& diag);

// Cuts holes into an outer ring (closed rings of integer points; holes reversed against the
// outer ring and joined to it by a zero-width bridge at their nearest vertices), so that the
// even-odd and the non-zero fill both leave the holes empty. Returns a closed ring.
std::vector<MapPoint> CutHoles(std::vector<MapPoint> outer,
                               const std::vector<std::vector<MapPoint>>& holes);

// Even-odd containment of a point in a closed ring.
bool RingContains(const std::vector<MapPoint>& ring, double x, double y);

} // namespace zor::import
