// Many polygons drawn together, as a map draws its regions: their points in logical units, and
// a device form that a backend may keep with the set for one mapping, so that drawing the same
// polygons again at the same size converts no point.
#pragma once

#include "draw/Geometry.h"
#include "draw/Style.h"

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace zor::draw {

// What a backend keeps of a polygon set between drawings (its device points for one mapping).
// The set owns it and drops it when its polygons change.
class PolygonCache {
public:
    virtual ~PolygonCache() = default;
};

class PolygonSet {
public:
    PolygonSet() = default;
    PolygonSet(const PolygonSet&) = delete;
    PolygonSet& operator=(const PolygonSet&) = delete;
    PolygonSet(PolygonSet&&) = default;
    PolygonSet& operator=(PolygonSet&&) = default;

    // Appends a polygon (its points as given; Polygon() closes it when drawn).
    void Add(std::span<const Point> points);
    size_t Count() const { return starts_.size() - 1; }
    std::span<const Point> Polygon(size_t index) const {
        return {points_.data() + starts_[index], starts_[index + 1] - starts_[index]};
    }
    // Every point, polygon after polygon; polygon i starts at Start(i).
    const std::vector<Point>& Points() const { return points_; }
    size_t Start(size_t index) const { return starts_[index]; }

    // For backends: the device form kept with the set (none at first and after a change).
    PolygonCache* Cache() const { return cache_.get(); }
    void SetCache(std::unique_ptr<PolygonCache> cache) const { cache_ = std::move(cache); }

private:
    std::vector<Point> points_;
    std::vector<size_t> starts_{0};
    mutable std::unique_ptr<PolygonCache> cache_;
};

// A polygon of a set with the brush that fills it.
struct PolygonFill {
    size_t polygon = 0;
    Brush brush;
};

} // namespace zor::draw
