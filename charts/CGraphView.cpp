#include "charts/CGraphView.h"

#include "core/DataStore.h"
#include "draw/NullContext.h"

#include <algorithm>
#include <cstdlib>

namespace zor::charts {

using draw::DeviceContext;
using draw::Rect;

CGraphView::CGraphView(const ViewContext& context) : CView(context) {}

draw::Point CGraphView::GetOrigin() const {
    return {750, 400};
}
draw::Size CGraphView::GetExtent() const {
    return {8000, 6000};
}
void CGraphView::DrawChart(DeviceContext&, bool) const {}

TextOverflow CGraphView::MeasureOverflow(const DeviceContext&) const {
    return {};
}

LogicalSpace CGraphView::SpaceOf(const DeviceContext& dc) {
    const draw::Size ext = dc.WindowExt();
    const draw::Point org = dc.WindowOrg();
    return {-org.x, -org.y, ext.cx, std::abs(ext.cy)};
}

template <class Map> void CGraphView::FitTexts(DeviceContext& dc, const Map& map) const {
    const draw::Point origin = GetOrigin();
    const draw::Size extent = GetExtent();
    const LogicalSpace base{origin.x, origin.y, extent.cx, extent.cy};
    LogicalSpace s = base;
    map(s);
    // Each widening shrinks the device units per logical unit, so texts measure wider in
    // logical units: a few rounds settle it. The window never grows beyond four times its own
    // size (texts wider than the window itself cannot be taken in).
    constexpr int Pad = 50;
    constexpr int Rounds = 24;
    constexpr int Growth = 4;
    for (int round = 0; round < Rounds; ++round) {
        const TextOverflow o = MeasureOverflow(dc);
        if (!o.Any()) return;
        auto grow = [](int over) { return over > 0 ? over + Pad : 0; };
        const int left = std::min(grow(o.left), Growth * base.cx - s.cx);
        s.x += left, s.cx += left;
        s.cx += std::min(grow(o.right), Growth * base.cx - s.cx);
        const int bottom = std::min(grow(o.bottom), Growth * base.cy - s.cy);
        s.y += bottom, s.cy += bottom;
        s.cy += std::min(grow(o.top), Growth * base.cy - s.cy);
        if (s == SpaceOf(dc)) return; // at the limit
        map(s);
    }
}

void CGraphView::PrepareScreenMapping(DeviceContext& dc, const Rect& client) const {
    FitTexts(dc, [&](const LogicalSpace& s) {
        dc.SetMapMode(draw::MapMode::Anisotropic);
        dc.SetWindowExt(s.cx, -s.cy);
        dc.SetViewportExt(client.Width(), client.Height());
        dc.SetWindowOrg(-s.x, -s.y);
        dc.SetViewportOrg(0, client.bottom);
    });
}

void CGraphView::PreparePrintMapping(DeviceContext& dc, const Rect& page) const {
    FitTexts(dc, [&](const LogicalSpace& s) {
        dc.SetMapMode(draw::MapMode::Isotropic);
        dc.SetWindowExt(s.cx, -s.cy);
        // The picture keeps a 4:3 shape at the top left of the page (the printable area inside
        // the margins, which need not start at the device's origin).
        int w = page.Width(), h = page.Height();
        if (w * 3 < h * 4)
            h = w * 3 / 4;
        else if (h * 4 < w * 3)
            w = h * 4 / 3;
        dc.SetViewportExt(w, h);
        dc.SetWindowOrg(-s.x, -s.y);
        dc.SetViewportOrg(page.left, page.top + h);
    });
}

std::string CGraphView::GetTipText() {
    return {};
}
int CGraphView::HitTest(draw::Point) {
    return -1;
}

void CGraphView::Paint(DeviceContext& dc, const Rect& client) const {
    PrepareScreenMapping(dc, client);
    DrawChart(dc, false);
    DrawOverlay(dc);
}

void CGraphView::DrawOverlay(DeviceContext&) const {}
void CGraphView::OnMouseButton(MouseButton, MouseAction, draw::Point) {}
bool CGraphView::OnMouseMove(draw::Point) {
    return false;
}

void CGraphView::MouseClick(MouseButton button, MouseAction action, draw::Point device,
                            const Rect& client) {
    if (client.Width() <= 0 || client.Height() <= 0) return;
    OnMouseButton(button, action, ToLogical(device, client));
}

void CGraphView::PaintWindow(DeviceContext& dc, const Rect& client) {
    Paint(dc, client);
}

void CGraphView::PrintPage(DeviceContext& dc, const Rect& page, int, bool colorPrinter) {
    PreparePrintMapping(dc, page);
    DrawChart(dc, !colorPrinter);
    DrawSourceLine(dc);
}

void CGraphView::DrawPicture(DeviceContext& dc, const Rect& bounds, bool blackAndWhite) {
    PrepareScreenMapping(dc, bounds);
    const LogicalSpace s = SpaceOf(dc);
    {
        draw::StateSaver saver(dc);
        dc.SetPen(draw::Pen::Solid(0, draw::White));
        dc.SetBrush(draw::Brush::Hollow());
        dc.Rectangle({-s.x, -s.y, s.cx - s.x, s.cy - s.y});
    }
    DrawChart(dc, blackAndWhite);
}

void CGraphView::DrawSourceLine(DeviceContext& dc) const {
    const std::string text = Text(TextSourceLine);
    if (text.empty()) return;
    const draw::Size ext = dc.WindowExt();
    const draw::Point org = dc.WindowOrg();
    draw::StateSaver saver(dc);
    dc.SetFont(ChartFont(std::abs(ext.cy) / 50, 700, 0, store_.Charset()));
    dc.SetTextAlign(draw::ta::Left | draw::ta::Bottom);
    dc.SetBkMode(draw::BkMode::Transparent);
    dc.Text(ext.cx / 50 + org.x, ext.cy >= 0 ? ext.cy : org.y, text);
}

const draw::TextMeasurer& CGraphView::ScreenMeasurer() const {
    static const draw::FixedTextMeasurer fixed;
    return Host() ? Host()->Measurer() : fixed;
}

draw::Point CGraphView::ToLogical(draw::Point device, const Rect& client) const {
    draw::NullContext dc(draw::DeviceInfo{draw::Technology::Display, client.Width(),
                                          client.Height(), 3780, 3780, 24},
                         ScreenMeasurer());
    PrepareScreenMapping(dc, client);
    return dc.DPtoLP(device);
}

Rect CGraphView::ToDevice(const Rect& logical, const Rect& client) const {
    draw::NullContext dc(draw::DeviceInfo{draw::Technology::Display, client.Width(),
                                          client.Height(), 3780, 3780, 24},
                         ScreenMeasurer());
    PrepareScreenMapping(dc, client);
    return dc.GetMapping().ToDeviceRect(logical);
}

std::optional<ViewScroll> CGraphView::VerticalScroll() const {
    return std::nullopt;
}
bool CGraphView::OnScroll(ScrollAction, int) {
    return false;
}
std::optional<Rect> CGraphView::ScrollRepaintArea() const {
    return std::nullopt;
}

TipAction CGraphView::MouseMove(draw::Point device, const Rect& client) {
    if (client.Width() <= 0 || client.Height() <= 0) return TipAction::None;
    const draw::Point logical = ToLogical(device, client);
    if (OnMouseMove(logical)) {
        const bool was = hovered_ != -1;
        hovered_ = -1;
        return was ? TipAction::Hide : TipAction::None;
    }
    const int item = HitTest(logical);
    const bool was = hovered_ != -1;
    hovered_ = item;
    if (item == -1) return was ? TipAction::Hide : TipAction::None;
    return was ? TipAction::Refresh : TipAction::Show;
}

std::string CGraphView::TipText() {
    return GetTipText();
}

void SelectChartPalette(DeviceContext& dc, const ChartResources& res) {
    const int bpp = dc.Device().bitsPerPixel;
    if (dc.IsMetafile() ||
        (dc.GetTechnology() == draw::Technology::Display && bpp >= 2 && bpp <= 8))
        dc.SelectPalette(res.ChartPalette);
}

} // namespace zor::charts
