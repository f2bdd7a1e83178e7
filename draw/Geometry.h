// Integer points, sizes and rectangles of the drawing layer. Logical or device units, as the
// call that takes them says.
#pragma once

#include <algorithm>

namespace zor::draw {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    bool operator==(const Size&) const = default;
};

// A rectangle by its edges, as the drawing calls take it. In a y-up mapping `top` is the larger
// y; nothing here assumes an order of the edges unless a function says so.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const Rect&) const = default;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // The same rectangle with left <= right and top <= bottom.
    Rect Normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
    }
    // For normalised rectangles: true when it covers no area.
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The intersection of two normalised rectangles; empty (all zero) when they do not overlap.
inline Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.IsEmpty() ? Rect{} : r;
}

// The smallest normalised rectangle holding both; an empty rectangle adds nothing.
inline Rect Union(const Rect& a, const Rect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

} // namespace zor::draw
