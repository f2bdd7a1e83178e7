// A device context that draws nothing: it holds a mapping and answers measurements, for layout
// steps that need a device (hit tests, page counts) without a surface.
#pragma once

#include "draw/DeviceContext.h"

#include <memory>

namespace zor::draw {

class NullContext final : public DeviceContext {
public:
    // The measurer must outlive the context.
    NullContext(const DeviceInfo& device, const TextMeasurer& measurer)
        : DeviceContext(device, measurer) {}

protected:
    void DoPolyline(std::span<const Point>) override {}
    void DoPolygon(std::span<const Point>) override {}
    void DoText(Point, std::string_view) override {}
};

// A context that draws nothing with the device, measurer, mapping and font of `dc`: measures
// what `dc` would without changing it.
std::unique_ptr<NullContext> ProbeOf(const DeviceContext& dc);

// The size of a line of text in `font` (logical units) on a device context with its mapping,
// without selecting the font there.
Size MeasureText(const DeviceContext& dc, const Font& font, std::string_view text);

} // namespace zor::draw
