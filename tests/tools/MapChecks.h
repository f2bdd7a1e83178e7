// Checks the zorimport tests make on what they read back: texts, and the polygons of map files.
#pragma once

#include "core/MapFormat.h"

#include <cmath>
#include <string>

namespace zor::test {

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Even-odd containment of a point in a closed polygon, as the map view tests it.
inline bool Inside(const MapPolygon& p, double x, double y) {
    bool in = false;
    for (size_t i = 0; i + 1 < p.points.size(); ++i) {
        const auto &a = p.points[i], &b = p.points[i + 1];
        if ((a.y > y) == (b.y > y)) continue;
        if (a.x + (y - a.y) * double(b.x - a.x) / double(b.y - a.y) < x) in = !in;
    }
    return in;
}

// The area a closed polygon encloses (shoelace formula), in square map units.
inline double Area(const MapPolygon& p) {
    double a = 0;
    for (size_t i = 0; i + 1 < p.points.size(); ++i)
        a += double(p.points[i].x) * p.points[i + 1].y - double(p.points[i + 1].x) * p.points[i].y;
    return std::fabs(a) / 2;
}

} // namespace zor::test
