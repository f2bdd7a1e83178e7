// The base of every chart view and of the map view: the logical drawing space with its screen
// and printer mappings, hover tooltips through HitTest and GetTipText, printing with the source
// line and the exported picture of the whole logical space.
//
// A concrete view plugs in through the overridable operations below (in their slot order). It
// draws through a device context in logical units with y up; the logical window runs from
// (-originX, -originY) to (extentX - originX, extentY - originY). Texts that the view measures
// beyond that window (long axis labels, legend names) widen the window on every device, so
// nothing is cut off while every logical coordinate of the drawing stays as it is.
#pragma once

#include "charts/CView.h"

#include <optional>
#include <string>

namespace zor::charts {

// What the tooltip has to do after a mouse move.
enum class TipAction { None, Hide, Show, Refresh };

enum class MouseButton { Left, Right };
enum class MouseAction { Down, Up, DoubleClick };
// The pointer shapes a view asks for.
enum class ViewCursor { Arrow, Cross, Select };

// A vertical scroll range in entries (the rows of a chart longer than its window).
struct ViewScroll {
    int position = 0; // the first entry shown
    int maximum = 0;  // the last position (entries - page)
    int page = 1;     // entries shown at once
    bool operator==(const ViewScroll&) const = default;
};
// What moves a scrolled view: the scroll bar's arrows and page areas (and the arrow and page
// keys, which act alike), and its thumb.
enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, Thumb };

// How far a drawing's texts reach beyond the logical window, logical units (0: not beyond).
struct TextOverflow {
    int left = 0, right = 0, top = 0, bottom = 0;
    bool Any() const { return left > 0 || right > 0 || top > 0 || bottom > 0; }
};

// The logical window: the origin offset and the extent.
struct LogicalSpace {
    int x = 750, y = 400;
    int cx = 8000, cy = 6000;
    bool operator==(const LogicalSpace&) const = default;
};

class CGraphView : public CView {
public:
    explicit CGraphView(const ViewContext& context);

    // --- Overridable operations, in slot order
    virtual draw::Point GetOrigin() const; // 750, 400
    virtual draw::Size GetExtent() const;  // 8000, 6000
    // Draws the chart. Drawing reads the layout and changes nothing of the view.
    virtual void DrawChart(draw::DeviceContext& dc, bool blackAndWhite) const;
    virtual void PrepareScreenMapping(draw::DeviceContext& dc, const draw::Rect& client) const;
    virtual void PreparePrintMapping(draw::DeviceContext& dc, const draw::Rect& page) const;
    virtual std::string GetTipText();         // UTF-8; the base: none
    virtual int HitTest(draw::Point logical); // -1: nothing
    // (GetMetafileInfo, the period/indicator/region changes, CanReportNoData, IsDataMissing
    // and ExportPicture are CView's.)

    // How far the view's texts reach beyond its logical window on `dc` (mapped as it will
    // draw). The base: not at all.
    virtual TextOverflow MeasureOverflow(const draw::DeviceContext& dc) const;

    // The logical window in effect on a device context whose mapping was prepared by this view
    // (the origin and extent widened for the texts).
    static LogicalSpace SpaceOf(const draw::DeviceContext& dc);

    // Painting on screen: the screen mapping onto `client` (device pixels), then DrawChart.
    void Paint(draw::DeviceContext& dc, const draw::Rect& client) const;
    void PaintWindow(draw::DeviceContext& dc, const draw::Rect& client) override;
    // One printed page: printer mapping onto `page`, DrawChart, then the source line. A
    // monochrome printer gets the black-and-white drawing.
    void PrintPage(draw::DeviceContext& dc, const draw::Rect& page, int pageIndex,
                   bool colorPrinter) override;
    // The exported picture: screen mapping onto `bounds`, a white frame around the whole
    // logical window (which fixes the picture's bounds), then DrawChart.
    void DrawPicture(draw::DeviceContext& dc, const draw::Rect& bounds,
                     bool blackAndWhite) override;

    // Mouse move at a device point of a client area of `client`: the view's own tracking
    // (OnMouseMove) first, else the hovered item for the tooltip.
    TipAction MouseMove(draw::Point device, const draw::Rect& client);
    // A mouse button at a device point of a client area of `client`.
    void MouseClick(MouseButton button, MouseAction action, draw::Point device,
                    const draw::Rect& client);
    // What the view draws over its chart on screen (a rubber band), in its logical units.
    virtual void DrawOverlay(draw::DeviceContext& dc) const;
    // The pointer over the view.
    virtual ViewCursor Cursor() const { return ViewCursor::Arrow; }

    // --- Scrolling, for views with more rows than their window shows
    // The vertical scroll range; none: the view does not scroll (the base).
    virtual std::optional<ViewScroll> VerticalScroll() const;
    // A scroll bar action or key; `thumb` is where the thumb was dragged (Thumb only). Returns
    // whether the view moved; its window then repaints ScrollRepaintArea.
    virtual bool OnScroll(ScrollAction action, int thumb);
    // What a scroll move changes, logical units; none: the whole window (the base).
    virtual std::optional<draw::Rect> ScrollRepaintArea() const;
    // A logical rectangle in device pixels under the screen mapping onto `client` (normalised).
    draw::Rect ToDevice(const draw::Rect& logical, const draw::Rect& client) const;
    int HoveredItem() const { return hovered_; }
    // The tooltip's text, asked for on demand.
    std::string TipText();

    // The logical point under a device point with the screen mapping onto `client`.
    draw::Point ToLogical(draw::Point device, const draw::Rect& client) const;

    // Source line of printed pages: string 7000 at the bottom-left corner of the window.
    void DrawSourceLine(draw::DeviceContext& dc) const;

protected:
    // Mouse input in logical units. OnMouseMove returns true when the view used the move
    // (tracking a rubber band), which then hides the tooltip.
    virtual void OnMouseButton(MouseButton button, MouseAction action, draw::Point logical);
    virtual bool OnMouseMove(draw::Point logical);

    // The measurer of the window's screen (fixed metrics without a host).
    const draw::TextMeasurer& ScreenMeasurer() const;

private:
    // Widens the mapped logical window until the texts fit (or it is four times as large).
    template <class Map> void FitTexts(draw::DeviceContext& dc, const Map& map) const;

    int hovered_ = -1;
};

// Selects the chart palette where the device uses one: into metafiles, and on displays of 2
// to 8 bits per pixel.
void SelectChartPalette(draw::DeviceContext& dc, const ChartResources& res);

} // namespace zor::charts
