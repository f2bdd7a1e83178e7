// The importer's map building after GDAL: features of projected polygons (rings of either
// orientation, holes, slivers, tiny and far-flung regions, huge or odd coordinates) matched to the
// regions of a set, scaled into the 16-bit drawing space, holes cut, labels placed. A map it
// builds must be one the map file holds and the map view reads.
#include "core/MapFormat.h"
#include "tools/zorimport/Geometry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <limits>

namespace {

using namespace zor::import;

double Coordinate(FuzzedDataProvider& in, double scale) {
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0:
        return in.ConsumeFloatingPoint<double>();
    case 1:
        return std::numeric_limits<double>::quiet_NaN();
    default:
        // A coarse grid, so that rings share vertices and edges, touch and overlap.
        return in.ConsumeIntegralInRange<int>(-64, 64) * scale;
    }
}

RingD Ring(FuzzedDataProvider& in, double scale, int most) {
    RingD r(in.ConsumeIntegralInRange<size_t>(0, size_t(most)));
    for (auto& p : r) p = {Coordinate(in, scale), Coordinate(in, scale)};
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const double scales[] = {1, 1e-9, 1e-3, 1e3, 1e9, 1e300};
    const double scale = scales[in.ConsumeIntegralInRange<size_t>(0, 5)];

    SourceSet set;
    set.id = 10000;
    const int top = in.ConsumeIntegralInRange<int>(1, 8); // the last is the total
    const int small = in.ConsumeIntegralInRange<int>(0, 2);
    for (int i = 1; i <= top + small; ++i) {
        SourceRegion r;
        r.id = i;
        r.name = {"R" + std::to_string(i), "R" + std::to_string(i)};
        // Now and then two regions share a key.
        r.feature = std::to_string(in.ConsumeIntegralInRange<int>(0, 15) == 0 ? 1 : i);
        (i <= top ? set.regions : set.small).push_back(r);
    }
    std::vector<Feature> features;
    const int count = in.ConsumeIntegralInRange<int>(0, 12);
    for (int f = 0; f < count; ++f) {
        Feature feat;
        feat.index = f + 1;
        feat.key = std::to_string(in.ConsumeIntegralInRange<int>(0, top + small + 1));
        const int polys = in.ConsumeIntegralInRange<int>(1, 3);
        for (int p = 0; p < polys; ++p) {
            PolygonD poly;
            poly.outer = Ring(in, scale, 24);
            const int holes = in.ConsumeIntegralInRange<int>(0, 3);
            for (int h = 0; h < holes; ++h) poly.holes.push_back(Ring(in, scale, 12));
            feat.polygons.push_back(std::move(poly));
        }
        features.push_back(std::move(feat));
    }

    Diagnostics diag;
    auto map = BuildMap(set, features, "map", diag);
    if (!map) {
        if (!diag.failed()) __builtin_trap(); // a map refused says why
        return 0;
    }
    const zor::MapHeader& h = map->header;
    if (h.width <= 0 || h.height <= 0 || std::max(h.width, h.height) > MapExtent) __builtin_trap();
    for (const auto& p : map->polygons) {
        if (p.points.size() < 4 || !(p.points.front() == p.points.back())) __builtin_trap();
        for (const auto& v : p.points)
            if (v.x < 0 || v.y < 0 || v.x > h.width || v.y > h.height) __builtin_trap();
    }
    // One row per drawn region, in order: the map view matches polygons by position.
    auto rows = zor::MatchPolygonRows(map->polygons);
    if (top == 1 ? !rows.empty() : rows.empty() || rows.back() + 1 != top - 1) __builtin_trap();
    for (size_t i = 0; i < map->polygons.size(); ++i)
        if (map->polygons[i].code != std::to_string(rows[i] + 1)) __builtin_trap();
    auto bytes = zor::WriteMapFile(*map);
    if (!bytes) __builtin_trap();
    auto again = zor::ParseMapFile(*bytes);
    if (!again || again->polygons.size() != map->polygons.size()) __builtin_trap();
    return 0;
}
