// The logical-to-device mapping of a device context: a mapping mode, a logical window (origin
// and extent) and a device viewport (origin and extent), as in GDI:
//
//     device = (logical - windowOrg) * viewportExt / windowExt + viewportOrg
//
// computed exactly in integers and truncated toward zero, like every computed coordinate of the
// program. A window extent whose y has the opposite sign of the viewport's gives a y-up space.
#pragma once

#include "draw/Geometry.h"

namespace zor::draw {

// Mapping modes (values are the GDI codes).
//  - Text: one logical unit per device pixel, y down; extents are fixed at (1, 1).
//  - LoMetric: 0.1 mm per logical unit, y up; extents are fixed by the device resolution.
//  - Isotropic: window and viewport as set, but the viewport extent in effect is shrunk along one
//    axis so that a logical unit is equally long on the device in x and y (the picture keeps its
//    shape and stays at the viewport origin). Choosing it starts from the LoMetric extents.
//  - Anisotropic: window and viewport as set, x and y scaled independently. Choosing it keeps the
//    extents in effect.
// Origins can be set in every mode.
enum class MapMode { Text = 1, LoMetric = 2, Isotropic = 7, Anisotropic = 8 };

class Mapping {
public:
    // The device resolution (pixels per metre, as in image files) gives the LoMetric scale and the
    // pixel aspect that the isotropic mode corrects for. Values below 1 count as 1.
    explicit Mapping(int pixelsPerMeterX = 3780, int pixelsPerMeterY = 3780);

    void SetMode(MapMode mode);
    MapMode Mode() const { return mode_; }

    void SetWindowOrg(Point p) { windowOrg_ = p; }
    void SetViewportOrg(Point p) { viewportOrg_ = p; }
    // Extents are taken only in the isotropic and anisotropic modes and when neither component is
    // 0; otherwise the call changes nothing and returns false (so no conversion divides by 0).
    bool SetWindowExt(Size ext);
    bool SetViewportExt(Size ext);

    Point WindowOrg() const { return windowOrg_; }
    Point ViewportOrg() const { return viewportOrg_; }
    Size WindowExt() const { return windowExt_; }
    // The viewport extent in effect: the one set, adjusted in the isotropic mode. The adjustment
    // is computed from the latest window and viewport extents, so the order in which the two are
    // set does not matter. Never has a 0 component.
    Size ViewportExt() const;
    // The viewport extent as last set (before the isotropic adjustment).
    Size RequestedViewportExt() const { return viewportExt_; }

    int PixelsPerMeterX() const { return ppmX_; }
    int PixelsPerMeterY() const { return ppmY_; }

    // Logical to device and back, truncated toward zero. Results outside the int range saturate.
    Point ToDevice(Point logical) const;
    Point ToLogical(Point device) const;
    // A rectangle's corners to device pixels, normalised (left <= right, top <= bottom).
    Rect ToDeviceRect(const Rect& logical) const;

    // Device pixels per logical unit, with sign (negative y scale: y up).
    double ScaleX() const;
    double ScaleY() const;
    bool YUp() const { return ScaleY() < 0; }
    // Lengths (no origin): |length| in logical units to device pixels and back, truncated.
    int ToDeviceLengthX(int length) const;
    int ToDeviceLengthY(int length) const;
    int ToLogicalLengthX(int pixels) const;
    int ToLogicalLengthY(int pixels) const;

    bool operator==(const Mapping& o) const;

private:
    MapMode mode_ = MapMode::Text;
    Point windowOrg_;
    Point viewportOrg_;
    Size windowExt_{1, 1};
    Size viewportExt_{1, 1};
    int ppmX_;
    int ppmY_;
};

} // namespace zor::draw
