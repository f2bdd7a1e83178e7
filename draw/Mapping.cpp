#include "draw/Mapping.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace zor::draw {

namespace {

int Saturate(int64_t v) {
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return int(v);
}

int Saturate(double v) {
    if (!(v == v)) return 0;
    if (v >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(v); // truncates toward zero
}

// trunc(((v - from0) * toExt + to0 * fromExt) / fromExt): the exact value of
// (v - from0) * toExt / fromExt + to0 truncated toward zero. The difference is clamped to the
// int range so that the products stay within 64 bits.
int MapAxis(int v, int from0, int fromExt, int to0, int toExt) {
    int64_t d = int64_t(v) - from0;
    d = Saturate(d);
    int64_t num = d * toExt + int64_t(to0) * fromExt;
    return Saturate(num / fromExt);
}

} // namespace

Mapping::Mapping(int pixelsPerMeterX, int pixelsPerMeterY)
    : ppmX_(pixelsPerMeterX < 1 ? 1 : pixelsPerMeterX),
      ppmY_(pixelsPerMeterY < 1 ? 1 : pixelsPerMeterY) {}

void Mapping::SetMode(MapMode mode) {
    switch (mode) {
    case MapMode::Text:
        windowExt_ = {1, 1};
        viewportExt_ = {1, 1};
        break;
    case MapMode::LoMetric:
    case MapMode::Isotropic:
        // One metre is 10000 units of 0.1 mm.
        windowExt_ = {10000, 10000};
        viewportExt_ = {ppmX_, -ppmY_};
        break;
    case MapMode::Anisotropic:
        if (mode_ != MapMode::Anisotropic) viewportExt_ = ViewportExt();
        break;
    }
    mode_ = mode;
}

bool Mapping::SetWindowExt(Size ext) {
    if (mode_ != MapMode::Isotropic && mode_ != MapMode::Anisotropic) return false;
    if (ext.cx == 0 || ext.cy == 0) return false;
    windowExt_ = ext;
    return true;
}

bool Mapping::SetViewportExt(Size ext) {
    if (mode_ != MapMode::Isotropic && mode_ != MapMode::Anisotropic) return false;
    if (ext.cx == 0 || ext.cy == 0) return false;
    viewportExt_ = ext;
    return true;
}

Size Mapping::ViewportExt() const {
    if (mode_ != MapMode::Isotropic) return viewportExt_;
    // Length of one logical unit on the device, in metres, along x and y; the longer one is
    // shrunk to the shorter. Compared as cross products to stay exact.
    double vx = std::abs(double(viewportExt_.cx)), vy = std::abs(double(viewportExt_.cy));
    double wx = std::abs(double(windowExt_.cx)), wy = std::abs(double(windowExt_.cy));
    double xdim = vx * ppmY_ * wy; // proportional to metres per unit in x
    double ydim = vy * ppmX_ * wx; // ... in y, same factor
    Size v = viewportExt_;
    if (xdim > ydim) {
        int cx = Saturate(vy * ppmX_ * wx / (double(ppmY_) * wy));
        if (cx == 0) cx = 1;
        v.cx = viewportExt_.cx < 0 ? -cx : cx;
    } else if (ydim > xdim) {
        int cy = Saturate(vx * ppmY_ * wy / (double(ppmX_) * wx));
        if (cy == 0) cy = 1;
        v.cy = viewportExt_.cy < 0 ? -cy : cy;
    }
    return v;
}

Point Mapping::ToDevice(Point logical) const {
    Size ve = ViewportExt();
    return {MapAxis(logical.x, windowOrg_.x, windowExt_.cx, viewportOrg_.x, ve.cx),
            MapAxis(logical.y, windowOrg_.y, windowExt_.cy, viewportOrg_.y, ve.cy)};
}

Point Mapping::ToLogical(Point device) const {
    Size ve = ViewportExt();
    return {MapAxis(device.x, viewportOrg_.x, ve.cx, windowOrg_.x, windowExt_.cx),
            MapAxis(device.y, viewportOrg_.y, ve.cy, windowOrg_.y, windowExt_.cy)};
}

Rect Mapping::ToDeviceRect(const Rect& logical) const {
    Point a = ToDevice(Point{logical.left, logical.top});
    Point b = ToDevice(Point{logical.right, logical.bottom});
    return Rect{a.x, a.y, b.x, b.y}.Normalized();
}

double Mapping::ScaleX() const {
    return double(ViewportExt().cx) / windowExt_.cx;
}
double Mapping::ScaleY() const {
    return double(ViewportExt().cy) / windowExt_.cy;
}

int Mapping::ToDeviceLengthX(int length) const {
    return Saturate(std::abs(int64_t(length) * ViewportExt().cx / windowExt_.cx));
}
int Mapping::ToDeviceLengthY(int length) const {
    return Saturate(std::abs(int64_t(length) * ViewportExt().cy / windowExt_.cy));
}
int Mapping::ToLogicalLengthX(int pixels) const {
    return Saturate(std::abs(int64_t(pixels) * windowExt_.cx / ViewportExt().cx));
}
int Mapping::ToLogicalLengthY(int pixels) const {
    return Saturate(std::abs(int64_t(pixels) * windowExt_.cy / ViewportExt().cy));
}

bool Mapping::operator==(const Mapping& o) const {
    return mode_ == o.mode_ && windowOrg_ == o.windowOrg_ && viewportOrg_ == o.viewportOrg_ &&
           windowExt_ == o.windowExt_ && ViewportExt() == o.ViewportExt();
}

} // namespace zor::draw
