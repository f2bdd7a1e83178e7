// The device context: the one drawing surface of the view logic. Charts, grids and maps draw
// through it in their own logical units and never see the backend (screen, printer, image,
// SVG/PDF, enhanced metafile or a text recording).
//
// It follows the GDI model the views are written for: a mapping mode with a logical window and
// a device viewport (Mapping), a selected pen, brush and font (plain values, see Style.h), text
// colour, background colour and mode, text alignment, a raster mode, a clip rectangle and a
// stack of saved states. Text measurement (extents, metrics, word-wrapped boxes) is answered
// here from an injected TextMeasurer, so every backend lays text out alike.
//
// Backends derive from it and implement a few drawing hooks; attribute changes reach them as
// notifications, and they read the state in effect from State() when they draw.
#pragma once

#include "draw/Geometry.h"
#include "draw/Mapping.h"
#include "draw/PolygonSet.h"
#include "draw/Style.h"
#include "draw/TextMeasurer.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zor::draw {

// What kind of device a context draws on. Views ask it where they draw differently into a
// metafile or on paper.
enum class Technology { Display, Printer, Metafile };

struct DeviceInfo {
    Technology technology = Technology::Display;
    int width = 800; // device pixels
    int height = 600;
    int pixelsPerMeterX = 3780; // 96 dpi
    int pixelsPerMeterY = 3780;
    int bitsPerPixel = 24;
};

// Metrics of the selected font in logical units: heights along y, the width along x.
struct TextMetrics {
    int height = 0; // ascent + descent: the line height of TextBox
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0; // height minus the character (em) height
    int averageCharWidth = 0;
};

// Where a line of text lands on the device, for backends and for hit tests: the start of its
// baseline, its direction and its size, unrounded.
struct TextPlacement {
    double x = 0; // device pixels, start of the baseline
    double y = 0;
    double angle = 0; // tenths of a degree, counter-clockwise on the device
    double width = 0; // device pixels along the baseline
    double ascent = 0;
    double descent = 0;
    double emSize = 0; // character height in device pixels (the size to render the font at)

    // The device-pixel rectangle around the text cell (rotated with the text), edges rounded
    // outward.
    Rect Bounds() const;
};

// A laid-out TextBox call. Each line is drawn with its top-left corner at (x, y), logical.
struct TextLine {
    std::string text;
    int x = 0;
    int y = 0;
    int width = 0;
};
struct TextBoxLayout {
    std::string text; // as given
    Rect rect;        // as given
    unsigned format = 0;
    std::vector<TextLine> lines;
    // What MeasureTextBox answers: left and top of `rect`, right = left + widest line, bottom =
    // top plus the text height in the device's downward direction.
    Rect measured;
    int height = 0; // lines × line height
};

// The attributes in effect. Saved and restored as a whole.
struct DcState {
    Mapping mapping;
    Pen pen;     // solid black, one device pixel
    Brush brush; // solid white
    Font font;
    Color textColor = Black;
    Color bkColor = White;
    BkMode bkMode = BkMode::Opaque;
    unsigned textAlign = ta::Left | ta::Top;
    Rop2 rop2 = Rop2::CopyPen;
    Point position; // current position of MoveTo/LineTo, logical
    // Device pixels, normalised, right and bottom edges excluded; none: the whole device. An
    // empty rectangle clips everything away.
    std::optional<Rect> clip;
    std::shared_ptr<const std::vector<Color>> palette;
};

// Attribute notifications sent to backends after the state has changed.
enum class Change {
    MapMode,
    WindowOrg,
    WindowExt,
    ViewportOrg,
    ViewportExt,
    Pen,
    Brush,
    Font,
    TextColor,
    BkColor,
    BkMode,
    TextAlign,
    Rop2,
    Palette,
    Position,
};

class DeviceContext {
public:
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    virtual ~DeviceContext() = default;

    const DeviceInfo& Device() const { return device_; }
    Technology GetTechnology() const { return device_.technology; }
    bool IsMetafile() const { return device_.technology == Technology::Metafile; }
    bool IsPrinter() const { return device_.technology == Technology::Printer; }
    const DcState& State() const { return state_; }

    // --- Mapping (see Mapping.h). Extents of 0 and extents in the fixed modes are refused.
    void SetMapMode(MapMode mode);
    void SetWindowOrg(int x, int y);
    bool SetWindowExt(int cx, int cy);
    void SetViewportOrg(int x, int y);
    bool SetViewportExt(int cx, int cy);
    const Mapping& GetMapping() const { return state_.mapping; }
    MapMode GetMapMode() const { return state_.mapping.Mode(); }
    Point WindowOrg() const { return state_.mapping.WindowOrg(); }
    Size WindowExt() const { return state_.mapping.WindowExt(); }
    Point ViewportOrg() const { return state_.mapping.ViewportOrg(); }
    Size ViewportExt() const { return state_.mapping.ViewportExt(); } // in effect
    Point LPtoDP(Point logical) const { return state_.mapping.ToDevice(logical); }
    Point DPtoLP(Point device) const { return state_.mapping.ToLogical(device); }

    // --- Attributes
    void SetPen(const Pen& pen);
    void SetBrush(const Brush& brush);
    void SetFont(const Font& font);
    void SetTextColor(Color color);
    void SetBkColor(Color color);
    void SetBkMode(BkMode mode);
    void SetTextAlign(unsigned flags); // ta:: flags
    void SetRop2(Rop2 mode);
    // Selects and realises a logical palette (recorded into metafiles; colours are always given
    // as RGB, so drawing does not depend on it).
    void SelectPalette(std::span<const Color> colors);
    const Pen& GetPen() const { return state_.pen; }
    const Brush& GetBrush() const { return state_.brush; }
    const Font& GetFont() const { return state_.font; }
    unsigned GetTextAlign() const { return state_.textAlign; }

    // --- Saved states and clipping
    // Saves the whole state; returns the new depth (1 for the first save).
    int Save();
    // Restores the state saved by the Save that returned `level` (level > 0), or the state
    // `-level` saves back (level < 0), dropping everything saved after it. False, with nothing
    // changed, when there is no such saved state.
    bool Restore(int level = -1);
    int SaveDepth() const { return int(saved_.size()); }
    // Intersects the clip with a logical rectangle (converted with the current mapping; a later
    // mapping change does not move it).
    void IntersectClipRect(const Rect& logical);

    // --- Drawing, logical coordinates. Shapes are outlined with the pen and filled with the
    // brush; on the device a shape covers the pixels from its left/top edge up to, not including,
    // its right/bottom edge.
    void MoveTo(int x, int y);
    void LineTo(int x, int y); // from the current position, which moves to (x, y)
    void Polyline(std::span<const Point> points); // nothing for fewer than 2
    void Polygon(std::span<const Point> points);  // closed, even-odd fill
    // Polygons of a set in the order given, each filled with its own brush and outlined with the
    // pen: the same as SetBrush and Polygon for each (the last brush stays selected). Entries
    // naming no polygon of the set are skipped. Backends may draw from a device form of the set
    // that they keep with it for the current mapping.
    void Polygons(const PolygonSet& set, std::span<const PolygonFill> fills);
    void Rectangle(const Rect& r);
    void RoundRect(const Rect& r, int ellipseWidth, int ellipseHeight);
    void Ellipse(const Rect& bounds);
    // One line of text (UTF-8) at a reference point, placed by the text alignment, rotated by
    // the font's escapement, in the text colour, over the text cell in the background colour when
    // the background mode is opaque. Text is drawn plainly whatever the raster mode.
    void Text(int x, int y, std::string_view text);
    // Text in a rectangle (DrawText): lines broken at line feeds (unless dt::SingleLine) and, with
    // dt::WordBreak, at blanks before the line gets wider than the rectangle (a word wider than
    // the rectangle stays whole on its own line; blanks at a break are dropped). Lines are left,
    // centre or right aligned within the rectangle and go down the device from the rectangle's
    // upper edge; dt::VCenter and dt::Bottom place the whole block (also when it has several
    // lines). Clipped to the rectangle unless dt::NoClip. The text alignment setting does not
    // apply; the text is laid out horizontally. Returns the text height (logical units).
    int TextBox(std::string_view text, const Rect& rect, unsigned format);

    // --- Measurement, logical units, of the selected font under the current mapping. As on a
    // device, widths follow the font's height on the device: with different x and y scales
    // text keeps its natural shape and its logical width changes.
    Size TextExtent(std::string_view text) const; // single line: width, line height
    TextMetrics FontMetrics() const;
    // The rectangle TextBox would fill (DrawText with DT_CALCRECT): see TextBoxLayout::measured.
    Rect MeasureTextBox(std::string_view text, const Rect& rect, unsigned format) const;
    TextBoxLayout LayoutTextBox(std::string_view text, const Rect& rect, unsigned format) const;
    // Where Text(x, y, text) would draw with the current font, alignment and mapping.
    TextPlacement PlaceText(Point ref, std::string_view text) const;
    // Advance of each UTF-16 code unit of `text` in logical units along the baseline; they add
    // up to TextExtent's width.
    std::vector<int> TextAdvances(std::u16string_view text) const;

    // Device pixels of the selected pen: 0 for the null pen, at least 1 otherwise.
    int DevicePenWidth() const;
    // The character height in logical units of a font (positive heights are cell heights).
    double EmHeight(const Font& font) const;

    const TextMeasurer& Measurer() const { return measurer_; }

protected:
    DeviceContext(const DeviceInfo& device, const TextMeasurer& measurer);

    // Drawing hooks; coordinates are logical, everything else comes from State(). Required:
    virtual void DoPolyline(std::span<const Point> points) = 0; // at least 2 points
    virtual void DoPolygon(std::span<const Point> points) = 0;  // at least 2 points
    virtual void DoText(Point ref, std::string_view text) = 0;  // not empty
    // With fallbacks built from the required hooks and the public calls:
    virtual void DoLineTo(Point from, Point to);
    virtual void DoRectangle(const Rect& r);
    virtual void DoRoundRect(const Rect& r, int ellipseWidth, int ellipseHeight);
    virtual void DoEllipse(const Rect& r);
    virtual void DoTextBox(const TextBoxLayout& layout);
    // Valid entries only; the fallback selects each brush and draws each polygon.
    virtual void DoPolygons(const PolygonSet& set, std::span<const PolygonFill> fills);
    // Notifications, after the state has changed. Default: nothing.
    virtual void OnChange(Change) {}
    virtual void OnSave() {}
    virtual void OnRestore(int /*levels dropped*/) {}
    virtual void OnIntersectClip(const Rect& /*logical*/) {}

private:
    double TextXScale() const; // logical x units per em-relative unit along the baseline

    DeviceInfo device_;
    const TextMeasurer& measurer_;
    DcState state_;
    std::vector<DcState> saved_;
};

// Saves the state of a device context for the lifetime of the guard.
class StateSaver {
public:
    explicit StateSaver(DeviceContext& dc) : dc_(dc), level_(dc.Save()) {}
    ~StateSaver() { dc_.Restore(level_); }
    StateSaver(const StateSaver&) = delete;
    StateSaver& operator=(const StateSaver&) = delete;

private:
    DeviceContext& dc_;
    int level_;
};

// Fills a rectangle with a brush without an outline, leaving the selected pen and brush as
// they were.
void FillRect(DeviceContext& dc, const Rect& r, const Brush& brush);

// UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace zor::draw
