// Boundaries read through GDAL/OGR from any vector format it knows (Shapefile, GeoPackage,
// GeoJSON, FlatGeobuf, ...) and projected through PROJ into the plane of the drawing (x to the
// right, y downward); the simplification of the map's polygons through GEOS.
#pragma once

#include "tools/zorimport/Diagnostics.h"
#include "tools/zorimport/Geometry.h"
#include "tools/zorimport/Manifest.h"

#include <optional>
#include <string>
#include <vector>

namespace zor::import {

// Reads the features of a map's layer with their keys and polygons, projected as the map says.
// Features without a key or without polygons are warnings and left out; a file, layer, key
// field or CRS that cannot be used is an error (nullopt), as is a layer of lines or points.
std::optional<std::vector<Feature>> ReadFeatures(const std::string& sourceDir, const SourceMap& map,
                                                 Diagnostics& diag);

// GDAL's topology-preserving simplification (GEOS) of the polygons of one region.
const Simplifier& TopologyPreservingSimplifier();

} // namespace zor::import
