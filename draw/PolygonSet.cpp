#include "draw/PolygonSet.h"

namespace zor::draw {

void PolygonSet::Add(std::span<const Point> points) {
    points_.insert(points_.end(), points.begin(), points.end());
    starts_.push_back(points_.size());
    cache_.reset();
}

} // namespace zor::draw
