// A device context that writes an enhanced metafile (EMF) into memory: the bytes of a .emf file,
// which are also what the clipboard takes. No platform library is used.
//
// The file is written so that independent readers show the same picture:
//  - y-up mappings are written y-down: every y is negated and the window's y origin with it, so
//    both extents are positive (readers turn rotated text the wrong way under negative ones);
//  - isotropic mappings are written as the anisotropic mapping in effect, LoMetric likewise;
//  - the header bounds cover the whole picture (the picture rectangle and all that is drawn),
//    the frame is the same area in 0.01 mm, for a reference device of exactly 4 pixels per mm;
//  - solid pens of width 0 become one device pixel's worth of logical units; dotted pens stay 0;
//  - text is UTF-16LE with an advance (Dx) per code unit, measured with the context's measurer
//    (the same metrics as on screen when the Qt measurer is passed);
//  - colours are always explicit RGB; a selected palette is recorded but not referred to.
// Attribute changes are written lazily, just before the drawing that needs them, and only when
// they differ from what the file already has. Pens, brushes, fonts and palettes are created once
// per distinct value and reused; the least recently used are deleted when more than 64 exist
// (never one that is selected or held by a saved state). Output is deterministic.
#pragma once

#include "draw/DeviceContext.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zor::draw {

// EMF record types written.
namespace emr {
inline constexpr uint32_t Header = 1, Polygon = 3, Polyline = 4, SetWindowExtEx = 9,
                          SetWindowOrgEx = 10, SetViewportExtEx = 11, SetViewportOrgEx = 12,
                          Eof = 14, SetMapMode = 17, SetBkMode = 18, SetRop2 = 20,
                          SetTextAlign = 22, SetTextColor = 24, SetBkColor = 25,
                          IntersectClipRect = 30, SaveDc = 33, RestoreDc = 34, SelectObject = 37,
                          CreatePen = 38, CreateBrushIndirect = 39, DeleteObject = 40, Ellipse = 42,
                          Rectangle = 43, RoundRect = 44, SelectPalette = 48, CreatePalette = 49,
                          RealizePalette = 52, ExtCreateFontIndirectW = 82, ExtTextOutW = 84,
                          Polygon16 = 86, Polyline16 = 87;
} // namespace emr

struct EmfOptions {
    // The picture's size in device pixels: what the views lay out onto (the "client area" of an
    // exported picture). The header bounds always include (0, 0)-(width, height).
    Size picture{800, 600};
    // Description stored in the header (UTF-8); "\0" may separate the application's and the
    // picture's names. Empty: none.
    std::string description;
};

class EmfContext final : public DeviceContext {
public:
    // Reference device: exactly 4 pixels per millimetre.
    static constexpr int kPixelsPerMeter = 4000;
    static constexpr int kMaxObjects = 64;

    // The measurer must outlive the context.
    explicit EmfContext(const TextMeasurer& measurer, EmfOptions options = {});
    ~EmfContext() override;

    // Closes the metafile (end record, header) and returns its bytes. Later calls return the same
    // bytes; drawing after it is ignored.
    std::string Finish();

protected:
    void DoPolyline(std::span<const Point> points) override;
    void DoPolygon(std::span<const Point> points) override;
    void DoText(Point ref, std::string_view text) override;
    void DoRectangle(const Rect& r) override;
    void DoRoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) override;
    void DoEllipse(const Rect& r) override;
    void OnSave() override;
    void OnRestore(int levels) override;
    void OnIntersectClip(const Rect& logical) override;

private:
    // What the file's own device context has selected and set, as a reader replays it.
    struct Written {
        bool mapping = false; // mapping mode and extents written at least once
        Size windowExt, viewportExt;
        Point windowOrg, viewportOrg;
        uint32_t pen = 0, brush = 0, font = 0, palette = 0; // handles; 0 = not yet selected
        Color textColor = Black, bkColor = White;
        uint32_t bkMode = 2, textAlign = 0, rop2 = 13;
    };
    struct Object {
        uint32_t handle = 0;
        uint64_t lastUse = 0;
    };

    void Record(uint32_t type, const std::string& payload);
    int Y(int y) const;
    void SyncMapping();
    void SyncShape(bool fill);
    void SyncText();
    // Writes a one-value state record unless the file already holds that value.
    void SetU32(uint32_t type, uint32_t value, uint32_t& written);
    void SyncPalette();
    uint32_t Realise(char kind, const std::string& logObject, uint32_t createType);
    void Select(uint32_t& written, uint32_t handle);
    void Evict();
    void AddInk(const Rect& device);
    void Poly(uint32_t type16, uint32_t type32, std::span<const Point> points);
    void Box(uint32_t type, const Rect& r, const std::string& extra);

    EmfOptions options_;
    std::string body_; // records after the header
    uint32_t records_ = 0;
    bool finished_ = false;
    std::string result_;
    Written w_;
    std::vector<Written> savedWritten_;
    std::map<std::string, Object> objects_; // by kind + logical object bytes
    std::vector<bool> slots_;               // handle table, slot 0 reserved
    uint32_t maxHandle_ = 0;
    uint64_t useClock_ = 0;
    Rect ink_; // device pixels, normalised, exclusive
};

} // namespace zor::draw
