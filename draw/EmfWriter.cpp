#include "draw/EmfWriter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>

namespace zor::draw {

namespace {

constexpr uint32_t kStock = 0x80000000u;
constexpr uint32_t kNullBrush = kStock | 5;
constexpr uint32_t kNullPen = kStock | 8;
constexpr uint32_t kDefaultPalette = kStock | 15;
constexpr uint32_t kAnisotropic = 8;

// Reference device of the header: 3200 × 2400 pixels on 800 × 600 mm.
constexpr int kRefWidth = 3200, kRefHeight = 2400;
constexpr int kHundredthsPerPixel = 100000 / EmfContext::kPixelsPerMeter; // 0.01 mm per pixel

// Little-endian field writer.
struct Bytes {
    std::string s;
    void u8(uint8_t v) { s.push_back(char(v)); }
    void u16(uint16_t v) { u8(uint8_t(v)), u8(uint8_t(v >> 8)); }
    void u32(uint32_t v) { u16(uint16_t(v)), u16(uint16_t(v >> 16)); }
    void i32(int v) { u32(uint32_t(v)); }
    void f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    void rect(const Rect& r) { i32(r.left), i32(r.top), i32(r.right), i32(r.bottom); }
    void size(Size z) { i32(z.cx), i32(z.cy); }
    void point(Point p) { i32(p.x), i32(p.y); }
    void utf16(std::u16string_view t) {
        for (char16_t c : t) u16(uint16_t(c));
    }
    void pad4() {
        while (s.size() % 4) u8(0);
    }
};

// An exclusive device rectangle as the inclusive form EMF bounds use.
Rect Inclusive(const Rect& r) {
    if (r.IsEmpty()) return {0, 0, -1, -1};
    return {r.left, r.top, r.right - 1, r.bottom - 1};
}

Rect Grow(const Rect& r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

bool FitsInt16(int v) {
    return v >= -32768 && v <= 32767;
}

} // namespace

EmfContext::EmfContext(const TextMeasurer& measurer, EmfOptions options)
    : DeviceContext(DeviceInfo{Technology::Metafile, options.picture.cx, options.picture.cy,
                               kPixelsPerMeter, kPixelsPerMeter, 24},
                    measurer),
      options_(std::move(options)), slots_(1, true) {}

EmfContext::~EmfContext() = default;

void EmfContext::Record(uint32_t type, const std::string& payload) {
    Bytes b;
    b.u32(type);
    b.u32(uint32_t(8 + payload.size()));
    body_ += b.s;
    body_ += payload;
    ++records_;
}

int EmfContext::Y(int y) const {
    const Mapping& m = State().mapping;
    bool flip = (m.WindowExt().cy < 0) != (m.ViewportExt().cy < 0);
    if (!flip) return y;
    return y == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -y;
}

void EmfContext::SyncMapping() {
    const Mapping& m = State().mapping;
    Size we = m.WindowExt(), ve = m.ViewportExt();
    Point wo = m.WindowOrg(), vo = m.ViewportOrg();
    Size fileWe{we.cx, std::abs(we.cy)}, fileVe{ve.cx, std::abs(ve.cy)};
    Point fileWo{wo.x, Y(wo.y)};
    auto put = [this](uint32_t type, auto value, auto& written) {
        if (w_.mapping && written == value) return;
        Bytes b;
        if constexpr (std::is_same_v<decltype(value), Size>)
            b.size(value);
        else
            b.point(value);
        Record(type, b.s);
        written = value;
    };
    if (!w_.mapping) {
        Bytes b;
        b.u32(kAnisotropic);
        Record(emr::SetMapMode, b.s);
    }
    put(emr::SetWindowExtEx, fileWe, w_.windowExt);
    put(emr::SetWindowOrgEx, fileWo, w_.windowOrg);
    put(emr::SetViewportExtEx, fileVe, w_.viewportExt);
    put(emr::SetViewportOrgEx, vo, w_.viewportOrg);
    w_.mapping = true;
}

void EmfContext::Evict() {
    auto held = [this](uint32_t h) {
        auto holds = [h](const Written& s) {
            return h == s.pen || h == s.brush || h == s.font || h == s.palette;
        };
        return holds(w_) || std::ranges::any_of(savedWritten_, holds);
    };
    while (objects_.size() >= size_t(kMaxObjects)) {
        auto victim = objects_.end();
        for (auto it = objects_.begin(); it != objects_.end(); ++it) {
            if (held(it->second.handle)) continue;
            if (victim == objects_.end() || it->second.lastUse < victim->second.lastUse)
                victim = it;
        }
        if (victim == objects_.end()) return; // everything is in use: let the table grow
        Bytes b;
        b.u32(victim->second.handle);
        Record(emr::DeleteObject, b.s);
        slots_[victim->second.handle] = false;
        objects_.erase(victim);
    }
}

uint32_t EmfContext::Realise(char kind, const std::string& logObject, uint32_t createType) {
    std::string key = kind + logObject;
    auto it = objects_.find(key);
    if (it != objects_.end()) {
        it->second.lastUse = ++useClock_;
        return it->second.handle;
    }
    Evict();
    uint32_t handle = 1;
    while (handle < slots_.size() && slots_[handle]) ++handle;
    if (handle == slots_.size())
        slots_.push_back(true);
    else
        slots_[handle] = true;
    maxHandle_ = std::max(maxHandle_, handle);
    Bytes b;
    b.u32(handle);
    Record(createType, b.s + logObject);
    objects_[key] = {handle, ++useClock_};
    return handle;
}

void EmfContext::Select(uint32_t& written, uint32_t handle) {
    if (written == handle) return;
    Bytes b;
    b.u32(handle);
    Record(emr::SelectObject, b.s);
    written = handle;
}

void EmfContext::SyncPalette() {
    const auto& palette = State().palette;
    if (!palette) {
        if (w_.palette == 0 || w_.palette == kDefaultPalette) return;
        Bytes b;
        b.u32(kDefaultPalette);
        Record(emr::SelectPalette, b.s);
        Record(emr::RealizePalette, {});
        w_.palette = kDefaultPalette;
        return;
    }
    Bytes lp;
    lp.u16(0x300);
    lp.u16(uint16_t(std::min<size_t>(palette->size(), 0xFFFF)));
    for (size_t i = 0; i < palette->size() && i < 0xFFFF; ++i) {
        Color c = (*palette)[i];
        // Entries are flagged PC_RESERVED (1), as the palettes the views select are made.
        lp.u8(uint8_t(RedOf(c))), lp.u8(uint8_t(GreenOf(c))), lp.u8(uint8_t(BlueOf(c))), lp.u8(1);
    }
    uint32_t h = Realise('L', lp.s, emr::CreatePalette);
    if (w_.palette == h) return;
    Bytes b;
    b.u32(h);
    Record(emr::SelectPalette, b.s);
    Record(emr::RealizePalette, {});
    w_.palette = h;
}

void EmfContext::SetU32(uint32_t type, uint32_t value, uint32_t& written) {
    if (written == value) return;
    Bytes b;
    b.u32(value);
    Record(type, b.s);
    written = value;
}

void EmfContext::SyncShape(bool fill) {
    const DcState& s = State();
    SyncMapping();
    SyncPalette();
    SetU32(emr::SetRop2, uint32_t(s.rop2), w_.rop2);
    // The background shows in the gaps of dotted pens and hatches.
    SetU32(emr::SetBkMode, uint32_t(s.bkMode), w_.bkMode);
    SetU32(emr::SetBkColor, s.bkColor, w_.bkColor);

    if (s.pen.style == PenStyle::Null) {
        Select(w_.pen, kNullPen);
    } else {
        int width = s.pen.width;
        if (s.pen.style == PenStyle::Solid && width == 0)
            width = std::max(1, s.mapping.ToLogicalLengthX(1));
        Bytes lp;
        lp.u32(uint32_t(s.pen.style));
        lp.i32(width);
        lp.i32(0);
        lp.u32(s.pen.color);
        Select(w_.pen, Realise('P', lp.s, emr::CreatePen));
    }
    if (!fill) return;
    if (s.brush.style == BrushStyle::Hollow) {
        Select(w_.brush, kNullBrush);
    } else {
        Bytes lb;
        lb.u32(uint32_t(s.brush.style));
        lb.u32(s.brush.color);
        lb.u32(s.brush.style == BrushStyle::Hatched ? uint32_t(s.brush.hatch) : 0);
        Select(w_.brush, Realise('B', lb.s, emr::CreateBrushIndirect));
    }
}

void EmfContext::SyncText() {
    const DcState& s = State();
    SyncMapping();
    SyncPalette();
    SetU32(emr::SetTextColor, s.textColor, w_.textColor);
    SetU32(emr::SetBkMode, uint32_t(s.bkMode), w_.bkMode);
    SetU32(emr::SetBkColor, s.bkColor, w_.bkColor);
    SetU32(emr::SetTextAlign, s.textAlign, w_.textAlign);

    const Font& f = s.font;
    Bytes lf;
    // The character height, negative: readers differ in how they turn a cell height into a
    // character size, and all agree on this one.
    lf.i32(-std::max(1, int(EmHeight(f))));
    lf.i32(0); // width: the face's own
    lf.i32(f.escapement);
    lf.i32(f.escapement); // orientation follows the escapement
    lf.i32(f.weight == 0 ? 400 : f.weight);
    lf.u8(f.italic ? 1 : 0);
    lf.u8(0); // underline
    lf.u8(0); // strike-out
    lf.u8(uint8_t(f.charset));
    lf.u8(0); // output precision
    lf.u8(0); // clip precision
    lf.u8(uint8_t(f.quality));
    lf.u8(uint8_t(f.pitchAndFamily));
    std::u16string face = Utf8ToUtf16(f.face).substr(0, 31);
    face.resize(32, u'\0');
    lf.utf16(face);
    Select(w_.font, Realise('F', lf.s, emr::ExtCreateFontIndirectW));
}

void EmfContext::AddInk(const Rect& device) {
    ink_ = Union(ink_, device);
}

void EmfContext::Poly(uint32_t type16, uint32_t type32, std::span<const Point> points) {
    const Mapping& m = State().mapping;
    Rect dev;
    bool small = true;
    for (size_t i = 0; i < points.size(); ++i) {
        Point d = m.ToDevice(points[i]);
        Rect r{d.x, d.y, d.x + 1, d.y + 1};
        dev = i == 0 ? r : Union(dev, r);
        small = small && FitsInt16(points[i].x) && FitsInt16(Y(points[i].y));
    }
    dev = Grow(dev, DevicePenWidth() / 2);
    AddInk(dev);
    Bytes b;
    b.rect(Inclusive(dev));
    b.u32(uint32_t(points.size()));
    for (const Point& p : points) {
        if (small)
            b.u16(uint16_t(int16_t(p.x))), b.u16(uint16_t(int16_t(Y(p.y))));
        else
            b.i32(p.x), b.i32(Y(p.y));
    }
    Record(small ? type16 : type32, b.s);
}

void EmfContext::Box(uint32_t type, const Rect& r, const std::string& extra) {
    AddInk(Grow(State().mapping.ToDeviceRect(r), DevicePenWidth() / 2));
    Bytes b;
    b.rect(Rect{r.left, Y(r.top), r.right, Y(r.bottom)}.Normalized());
    Record(type, b.s + extra);
}

void EmfContext::DoPolyline(std::span<const Point> points) {
    if (finished_) return;
    SyncShape(false);
    Poly(emr::Polyline16, emr::Polyline, points);
}

void EmfContext::DoPolygon(std::span<const Point> points) {
    if (finished_) return;
    SyncShape(true);
    Poly(emr::Polygon16, emr::Polygon, points);
}

void EmfContext::DoRectangle(const Rect& r) {
    if (finished_) return;
    SyncShape(true);
    Box(emr::Rectangle, r, {});
}

void EmfContext::DoRoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) {
    if (finished_) return;
    SyncShape(true);
    Bytes corner;
    corner.size({std::abs(ellipseWidth), std::abs(ellipseHeight)});
    Box(emr::RoundRect, r, corner.s);
}

void EmfContext::DoEllipse(const Rect& r) {
    if (finished_) return;
    SyncShape(true);
    Box(emr::Ellipse, r, {});
}

void EmfContext::DoText(Point ref, std::string_view text) {
    if (finished_) return;
    SyncText();
    std::u16string u = Utf8ToUtf16(text);
    std::vector<int> dx = TextAdvances(u);
    Rect bounds = PlaceText(ref, text).Bounds();
    AddInk(bounds);
    const Mapping& m = State().mapping;

    const uint32_t offString = 76;
    const uint32_t stringBytes = uint32_t((u.size() * 2 + 3) / 4 * 4);
    Bytes b;
    b.rect(Inclusive(bounds));
    b.u32(1); // GM_COMPATIBLE
    b.f32(float(std::abs(m.ScaleX()) * kHundredthsPerPixel));
    b.f32(float(std::abs(m.ScaleY()) * kHundredthsPerPixel));
    b.point({ref.x, Y(ref.y)});
    b.u32(uint32_t(u.size()));
    b.u32(offString);
    b.u32(0); // options
    b.rect({0, 0, -1, -1});
    b.u32(offString + stringBytes); // offDx
    b.utf16(u);
    b.pad4();
    for (int d : dx) b.i32(d);
    Record(emr::ExtTextOutW, b.s);
}

void EmfContext::OnSave() {
    if (finished_) return;
    Record(emr::SaveDc, {});
    savedWritten_.push_back(w_);
}

void EmfContext::OnRestore(int levels) {
    if (finished_) return;
    Bytes b;
    b.i32(-levels);
    Record(emr::RestoreDc, b.s);
    w_ = savedWritten_[savedWritten_.size() - size_t(levels)];
    savedWritten_.resize(savedWritten_.size() - size_t(levels));
}

void EmfContext::OnIntersectClip(const Rect& logical) {
    if (finished_) return;
    SyncMapping();
    Bytes b;
    b.rect(Rect{logical.left, Y(logical.top), logical.right, Y(logical.bottom)}.Normalized());
    Record(emr::IntersectClipRect, b.s);
}

std::string EmfContext::Finish() {
    if (finished_) return result_;
    finished_ = true;

    Bytes eof;
    eof.u32(0);  // palette entries
    eof.u32(16); // their offset
    eof.u32(20); // size of this record, repeated at its end
    Record(emr::Eof, eof.s);

    Rect picture{0, 0, options_.picture.cx, options_.picture.cy};
    Rect bounds = Union(picture.Normalized(), ink_);
    Rect frame{bounds.left * kHundredthsPerPixel, bounds.top * kHundredthsPerPixel,
               bounds.right * kHundredthsPerPixel - 1, bounds.bottom * kHundredthsPerPixel - 1};

    std::u16string desc = Utf8ToUtf16(options_.description);
    if (!desc.empty()) desc.append(2, u'\0');
    const uint32_t headerFixed = 108;
    const uint32_t headerSize = headerFixed + uint32_t((desc.size() * 2 + 3) / 4 * 4);

    Bytes h;
    h.u32(emr::Header);
    h.u32(headerSize);
    h.rect(Inclusive(bounds));
    h.rect(frame);
    h.u32(0x464D4520); // " EMF"
    h.u32(0x10000);
    h.u32(uint32_t(headerSize + body_.size()));
    h.u32(records_ + 1);
    h.u16(uint16_t(maxHandle_ + 1));
    h.u16(0);
    h.u32(uint32_t(desc.size()));
    h.u32(desc.empty() ? 0 : headerFixed);
    h.u32(0); // palette entries in the end record
    h.size({kRefWidth, kRefHeight});
    h.size({kRefWidth * 1000 / kPixelsPerMeter, kRefHeight * 1000 / kPixelsPerMeter});
    h.u32(0), h.u32(0), h.u32(0); // no pixel format, no OpenGL
    h.size({kRefWidth * 1000 / kPixelsPerMeter * 1000, kRefHeight * 1000 / kPixelsPerMeter * 1000});
    h.utf16(desc);
    h.pad4();
    result_ = h.s + body_;
    body_.clear();
    return result_;
}

} // namespace zor::draw
