#include "draw/NullContext.h"

namespace zor::draw {

std::unique_ptr<NullContext> ProbeOf(const DeviceContext& dc) {
    auto probe = std::make_unique<NullContext>(dc.Device(), dc.Measurer());
    const Mapping& m = dc.GetMapping();
    probe->SetMapMode(m.Mode());
    probe->SetWindowExt(m.WindowExt().cx, m.WindowExt().cy);
    probe->SetViewportExt(m.RequestedViewportExt().cx, m.RequestedViewportExt().cy);
    probe->SetWindowOrg(m.WindowOrg().x, m.WindowOrg().y);
    probe->SetViewportOrg(m.ViewportOrg().x, m.ViewportOrg().y);
    probe->SetFont(dc.GetFont());
    return probe;
}

Size MeasureText(const DeviceContext& dc, const Font& font, std::string_view text) {
    const auto probe = ProbeOf(dc);
    probe->SetFont(font);
    return probe->TextExtent(text);
}

} // namespace zor::draw
