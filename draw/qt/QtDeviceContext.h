// The device context over a QPainter: screen widgets, QPrinter, QImage, QSvgGenerator and
// QPdfWriter. Coordinates are converted to device pixels by the shared mapping (so they truncate
// exactly as LPtoDP does) and drawn with an identity painter transform, without antialiasing of
// shapes. Text is drawn with antialiasing, upright unless the font has an escapement.
//
// Raster modes need a raster paint engine (widgets, QImage). On other devices (SVG, PDF,
// printers) XOR draws plainly and the mask mode draws like copying with a transparent
// background, which is the same picture for the black hatch overlays it is used for.
#pragma once

#include "draw/DeviceContext.h"

#include <QPainter>
#include <QRegion>

#include <optional>

class QPaintDevice;

namespace zor::draw {

// The device description of a paint device: its size in pixels and its logical resolution.
DeviceInfo DeviceInfoOf(const QPaintDevice& device, Technology technology = Technology::Display);

class QtDeviceContext final : public DeviceContext {
public:
    // Draws with an active painter; its state is saved here and restored on destruction. The
    // painter and the measurer must outlive the context.
    QtDeviceContext(QPainter& painter, const TextMeasurer& measurer,
                    Technology technology = Technology::Display);
    ~QtDeviceContext() override;

protected:
    void DoPolyline(std::span<const Point> points) override;
    void DoPolygon(std::span<const Point> points) override;
    void DoText(Point ref, std::string_view text) override;
    void DoRectangle(const Rect& r) override;
    void DoRoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) override;
    void DoEllipse(const Rect& r) override;
    // From the set's device points, converted once per mapping and kept with the set.
    void DoPolygons(const PolygonSet& set, std::span<const PolygonFill> fills) override;

private:
    void ApplyClip();
    void ApplyShape(bool fill);
    void ApplyBrush(bool fill);
    // The device rectangle to pass to drawRect and friends for a GDI-style box that covers
    // [left, right) × [top, bottom): one pixel less when an outline is drawn.
    QRect ShapeRect(const Rect& logical) const;

    QPainter& p_;
    bool rasterOps_;
    bool hostClipped_;
    QRegion hostClip_;
    std::optional<std::optional<Rect>> appliedClip_;
};

} // namespace zor::draw
