#include "maps/MapGeometry.h"

#include "core/FileUtil.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace zor::maps {

MapBox BoxOf(std::span<const MapPoint> points) {
    if (points.empty()) return {};
    MapBox b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const MapPoint& p : points) {
        b.left = std::min(b.left, p.x);
        b.right = std::max(b.right, p.x);
        b.top = std::min(b.top, p.y);
        b.bottom = std::max(b.bottom, p.y);
    }
    return b;
}

std::vector<MapDrawEntry> OrderDrawList(const std::vector<MapPolygon>& polygons,
                                        const std::vector<int>& rows) {
    const size_t n = polygons.size();
    std::vector<MapDrawEntry> list(n);
    std::vector<MapBox> boxes(n);
    for (size_t i = 0; i < n; ++i) {
        list[i] = {static_cast<int>(i), i < rows.size() ? rows[i] : 0};
        boxes[i] = BoxOf(polygons[i].points);
    }
    for (size_t i = 0; i + 1 < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (boxes[i].StrictlyInside(boxes[j])) std::swap(list[i], list[j]);
    return list;
}

bool PolygonContains(std::span<const MapPoint> points, MapPoint p) {
    if (points.size() < 3) return false;
    const int64_t x = p.x, y = p.y;
    bool inside = false;
    for (size_t k = 0; k + 1 < points.size(); ++k) {
        const int64_t x1 = points[k].x, y1 = points[k].y;
        const int64_t x2 = points[k + 1].x, y2 = points[k + 1].y;
        const int64_t ylo = std::min(y1, y2), yhi = std::max(y1, y2);
        if (!(ylo <= y && y < yhi)) continue; // also skips horizontal edges
        const bool leftOfPoint = x >= x1 && x >= x2 && (x > x1 || x > x2);
        bool crossing = leftOfPoint;
        if (!crossing && std::min(x1, x2) <= x && x < std::max(x1, x2)) {
            const int64_t s = y2 > y1 ? 1 : -1;
            crossing = std::llabs(y2 - y1) * (x - x1) >= (y - y1) * (x2 - x1) * s;
        }
        if (crossing) inside = !inside;
    }
    return inside;
}

MapGeometry::MapGeometry(MapFile file) : file_(std::move(file)) {
    const std::vector<int> rows = MatchPolygonRows(file_.polygons);
    rows_ = rows.empty() ? 0 : rows.back() + 1;
    drawList_ = OrderDrawList(file_.polygons, rows);
    boxes_.reserve(file_.polygons.size());
    std::vector<draw::Point> points;
    for (const MapPolygon& poly : file_.polygons) {
        boxes_.push_back(BoxOf(poly.points));
        points.clear();
        for (const MapPoint& v : poly.points) points.push_back({v.x, v.y});
        shapes_.Add(points);
    }
}

std::optional<MapGeometry> MapGeometry::Read(const std::string& dataSource, int setCode) {
    const std::string path = ResolvePath(JoinPath(dataSource, std::to_string(setCode) + ".map"));
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    std::optional<MapFile> file = ParseMapFile(*bytes);
    if (!file) return std::nullopt;
    return MapGeometry(std::move(*file));
}

int MapGeometry::HitTest(MapPoint p) const {
    for (size_t pos = drawList_.size(); pos-- > 0;) {
        const auto polygon = static_cast<size_t>(drawList_[pos].polygon);
        const MapBox& b = boxes_[polygon];
        if (p.x < b.left || p.x > b.right || p.y < b.top || p.y > b.bottom) continue;
        if (PolygonContains(file_.polygons[polygon].points, p)) return static_cast<int>(pos);
    }
    return -1;
}

} // namespace zor::maps
