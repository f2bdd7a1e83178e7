#include "draw/DeviceContext.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace zor::draw {

namespace {

// Truncates a computed length toward zero. The small bias keeps values that are whole numbers
// on paper (0.8 em of 100 units) from dropping one unit through binary rounding.
int Trunc(double v) {
    v += v >= 0 ? 1e-9 : -1e-9;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return int(v);
}

int FontHeightOrDefault(const Font& f) {
    return f.height == 0 ? 16 : f.height;
}

double CellEms(const FaceMetrics& m) {
    double cell = m.ascent + m.descent;
    return cell > 0 ? cell : 1.0;
}

bool IsSpace(char16_t c) {
    return c == u' ';
}

// Cosine and sine of an angle in tenths of a degree, exact at the right angles.
std::pair<double, double> CosSin(double tenths) {
    double t = std::fmod(tenths, 3600.0);
    if (t < 0) t += 3600.0;
    if (t == 0) return {1, 0};
    if (t == 900) return {0, 1};
    if (t == 1800) return {-1, 0};
    if (t == 2700) return {0, -1};
    double a = t / 10.0 * std::numbers::pi / 180.0;
    return {std::cos(a), std::sin(a)};
}

} // namespace

DeviceContext::DeviceContext(const DeviceInfo& device, const TextMeasurer& measurer)
    : device_(device), measurer_(measurer) {
    state_.mapping = Mapping(device.pixelsPerMeterX, device.pixelsPerMeterY);
}

// --- Mapping ------------------------------------------------------------------------------

void DeviceContext::SetMapMode(MapMode mode) {
    state_.mapping.SetMode(mode);
    OnChange(Change::MapMode);
}

void DeviceContext::SetWindowOrg(int x, int y) {
    state_.mapping.SetWindowOrg({x, y});
    OnChange(Change::WindowOrg);
}

bool DeviceContext::SetWindowExt(int cx, int cy) {
    if (!state_.mapping.SetWindowExt({cx, cy})) return false;
    OnChange(Change::WindowExt);
    return true;
}

void DeviceContext::SetViewportOrg(int x, int y) {
    state_.mapping.SetViewportOrg({x, y});
    OnChange(Change::ViewportOrg);
}

bool DeviceContext::SetViewportExt(int cx, int cy) {
    if (!state_.mapping.SetViewportExt({cx, cy})) return false;
    OnChange(Change::ViewportExt);
    return true;
}

// --- Attributes ---------------------------------------------------------------------------

void DeviceContext::SetPen(const Pen& pen) {
    state_.pen = pen;
    state_.pen.color &= 0xFFFFFF; // always an RGB colour, never a palette reference
    OnChange(Change::Pen);
}

void DeviceContext::SetBrush(const Brush& brush) {
    state_.brush = brush;
    state_.brush.color &= 0xFFFFFF;
    OnChange(Change::Brush);
}

void DeviceContext::SetFont(const Font& font) {
    state_.font = font;
    OnChange(Change::Font);
}

void DeviceContext::SetTextColor(Color color) {
    state_.textColor = color & 0xFFFFFF;
    OnChange(Change::TextColor);
}

void DeviceContext::SetBkColor(Color color) {
    state_.bkColor = color & 0xFFFFFF;
    OnChange(Change::BkColor);
}

void DeviceContext::SetBkMode(BkMode mode) {
    state_.bkMode = mode;
    OnChange(Change::BkMode);
}

void DeviceContext::SetTextAlign(unsigned flags) {
    state_.textAlign = flags & (ta::HorizontalMask | ta::VerticalMask);
    OnChange(Change::TextAlign);
}

void DeviceContext::SetRop2(Rop2 mode) {
    state_.rop2 = mode;
    OnChange(Change::Rop2);
}

void DeviceContext::SelectPalette(std::span<const Color> colors) {
    state_.palette = std::make_shared<const std::vector<Color>>(colors.begin(), colors.end());
    OnChange(Change::Palette);
}

// --- Saved states and clipping --------------------------------------------------------------

int DeviceContext::Save() {
    saved_.push_back(state_);
    OnSave();
    return int(saved_.size());
}

bool DeviceContext::Restore(int level) {
    int depth = int(saved_.size());
    int drop = level > 0 ? depth - level + 1 : -level;
    if (level == 0 || drop < 1 || drop > depth) return false;
    state_ = std::move(saved_[size_t(depth - drop)]);
    saved_.resize(size_t(depth - drop));
    OnRestore(drop);
    return true;
}

void DeviceContext::IntersectClipRect(const Rect& logical) {
    Rect device = state_.mapping.ToDeviceRect(logical);
    state_.clip = state_.clip ? Intersect(*state_.clip, device) : device;
    if (state_.clip->IsEmpty()) state_.clip = Rect{};
    OnIntersectClip(logical);
}

// --- Drawing --------------------------------------------------------------------------------

void DeviceContext::MoveTo(int x, int y) {
    state_.position = {x, y};
    OnChange(Change::Position);
}

void DeviceContext::LineTo(int x, int y) {
    Point from = state_.position;
    state_.position = {x, y};
    DoLineTo(from, {x, y});
}

void DeviceContext::Polyline(std::span<const Point> points) {
    if (points.size() >= 2) DoPolyline(points);
}

void DeviceContext::Polygon(std::span<const Point> points) {
    if (points.size() >= 2) DoPolygon(points);
}

void DeviceContext::Polygons(const PolygonSet& set, std::span<const PolygonFill> fills) {
    const size_t n = set.Count();
    bool valid = true;
    for (const PolygonFill& f : fills) valid = valid && f.polygon < n;
    if (valid) {
        DoPolygons(set, fills);
        return;
    }
    std::vector<PolygonFill> kept;
    for (const PolygonFill& f : fills)
        if (f.polygon < n) kept.push_back(f);
    DoPolygons(set, kept);
}

void DeviceContext::DoPolygons(const PolygonSet& set, std::span<const PolygonFill> fills) {
    for (const PolygonFill& f : fills) {
        SetBrush(f.brush);
        Polygon(set.Polygon(f.polygon));
    }
}

void DeviceContext::Rectangle(const Rect& r) {
    DoRectangle(r);
}

void DeviceContext::RoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) {
    DoRoundRect(r, ellipseWidth, ellipseHeight);
}

void DeviceContext::Ellipse(const Rect& bounds) {
    DoEllipse(bounds);
}

void DeviceContext::Text(int x, int y, std::string_view text) {
    if (!text.empty()) DoText({x, y}, text);
}

int DeviceContext::TextBox(std::string_view text, const Rect& rect, unsigned format) {
    TextBoxLayout layout = LayoutTextBox(text, rect, format);
    if (!layout.lines.empty()) DoTextBox(layout);
    return layout.height;
}

// --- Fallback hooks --------------------------------------------------------------------------

void DeviceContext::DoLineTo(Point from, Point to) {
    Point pts[2] = {from, to};
    DoPolyline(pts);
}

void DeviceContext::DoRectangle(const Rect& r) {
    Point pts[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    DoPolygon(pts);
}

namespace {

// Points along the quarter arcs of a rounded rectangle (an ellipse when the corners take the
// whole rectangle), counter-clockwise from the right-hand side, 16 steps a quarter.
std::vector<Point> RoundedOutline(const Rect& in, double rx, double ry) {
    Rect r = in.Normalized();
    rx = std::min(rx, r.Width() / 2.0);
    ry = std::min(ry, r.Height() / 2.0);
    const double cx[4] = {r.right - rx, r.left + rx, r.left + rx, r.right - rx};
    const double cy[4] = {r.top + ry, r.top + ry, r.bottom - ry, r.bottom - ry};
    std::vector<Point> pts;
    constexpr int kSteps = 16;
    for (int q = 0; q < 4; ++q) {
        for (int i = 0; i <= kSteps; ++i) {
            double a = (q + double(i) / kSteps) * std::numbers::pi / 2;
            pts.push_back({Trunc(cx[q] + rx * std::cos(a)), Trunc(cy[q] - ry * std::sin(a))});
        }
    }
    return pts;
}

} // namespace

void DeviceContext::DoRoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) {
    std::vector<Point> pts =
        RoundedOutline(r, std::abs(ellipseWidth) / 2.0, std::abs(ellipseHeight) / 2.0);
    DoPolygon(pts);
}

void DeviceContext::DoEllipse(const Rect& r) {
    Rect n = r.Normalized();
    std::vector<Point> pts = RoundedOutline(n, n.Width() / 2.0, n.Height() / 2.0);
    DoPolygon(pts);
}

void DeviceContext::DoTextBox(const TextBoxLayout& layout) {
    StateSaver saver(*this);
    if (!(layout.format & dt::NoClip)) IntersectClipRect(layout.rect);
    SetTextAlign(ta::Left | ta::Top);
    if (state_.font.escapement != 0) {
        Font upright = state_.font;
        upright.escapement = 0;
        SetFont(upright);
    }
    for (const TextLine& line : layout.lines) Text(line.x, line.y, line.text);
}

// --- Measurement ------------------------------------------------------------------------------

double DeviceContext::EmHeight(const Font& font) const {
    int h = FontHeightOrDefault(font);
    if (h < 0) return -double(h);
    return h / CellEms(measurer_.Metrics(font));
}

double DeviceContext::TextXScale() const {
    // Logical x units per logical y unit of text: the font is realised at its height on the
    // device, and its widths are read back through the x scale.
    double sx = std::abs(state_.mapping.ScaleX());
    double sy = std::abs(state_.mapping.ScaleY());
    return EmHeight(state_.font) * (sx > 0 ? sy / sx : 1.0);
}

TextMetrics DeviceContext::FontMetrics() const {
    const Font& f = state_.font;
    FaceMetrics m = measurer_.Metrics(f);
    double em = EmHeight(f);
    int h = FontHeightOrDefault(f);
    TextMetrics t;
    t.height = h > 0 ? h : Trunc(CellEms(m) * em);
    t.ascent = std::min(t.height, Trunc(m.ascent * em));
    t.descent = t.height - t.ascent;
    t.internalLeading = t.height - Trunc(em);
    double sx = std::abs(state_.mapping.ScaleX()), sy = std::abs(state_.mapping.ScaleY());
    t.averageCharWidth = Trunc(m.averageCharWidth * em * (sx > 0 ? sy / sx : 1.0));
    return t;
}

std::vector<int> DeviceContext::TextAdvances(std::u16string_view text) const {
    std::vector<double> ems(text.size());
    measurer_.Advances(state_.font, text, ems.data());
    double scale = TextXScale(), sum = 0;
    std::vector<int> out(text.size());
    int prev = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        sum += ems[i] * scale;
        int cur = Trunc(sum);
        out[i] = cur - prev;
        prev = cur;
    }
    return out;
}

Size DeviceContext::TextExtent(std::string_view text) const {
    std::u16string u = Utf8ToUtf16(text);
    std::vector<double> ems(u.size());
    measurer_.Advances(state_.font, u, ems.data());
    double scale = TextXScale(), sum = 0;
    for (double a : ems) sum += a * scale;
    return {Trunc(sum), FontMetrics().height};
}

TextPlacement DeviceContext::PlaceText(Point ref, std::string_view text) const {
    const Font& f = state_.font;
    FaceMetrics m = measurer_.Metrics(f);
    std::u16string u = Utf8ToUtf16(text);
    std::vector<double> ems(u.size());
    measurer_.Advances(f, u, ems.data());
    double advance = 0;
    for (double a : ems) advance += a;

    TextPlacement p;
    p.emSize = EmHeight(f) * std::abs(state_.mapping.ScaleY());
    p.width = advance * p.emSize;
    p.ascent = m.ascent * p.emSize;
    p.descent = m.descent * p.emSize;
    p.angle = f.escapement;

    // Offsets in the text's own frame: u along the baseline, v toward the descent.
    double du = 0, dv = 0;
    switch (state_.textAlign & ta::HorizontalMask) {
    case ta::Right:
        du = -p.width;
        break;
    case ta::Center:
        du = -p.width / 2;
        break;
    default:
        break;
    }
    switch (state_.textAlign & ta::VerticalMask) {
    case ta::Baseline:
        break;
    case ta::Bottom:
        dv = -p.descent;
        break;
    default:
        dv = p.ascent;
        break; // top
    }
    auto [c, s] = CosSin(p.angle);
    Point d = state_.mapping.ToDevice(ref);
    p.x = d.x + du * c + dv * s;
    p.y = d.y - du * s + dv * c;
    return p;
}

Rect TextPlacement::Bounds() const {
    auto [c, s] = CosSin(angle);
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (double u : {0.0, width}) {
        for (double v : {-ascent, descent}) {
            double px = x + u * c + v * s, py = y - u * s + v * c;
            minX = std::min(minX, px), maxX = std::max(maxX, px);
            minY = std::min(minY, py), maxY = std::max(maxY, py);
        }
    }
    // Outward, but a coordinate that is whole up to rounding noise stays.
    return {int(std::floor(minX + 1e-9)), int(std::floor(minY + 1e-9)), int(std::ceil(maxX - 1e-9)),
            int(std::ceil(maxY - 1e-9))};
}

TextBoxLayout DeviceContext::LayoutTextBox(std::string_view text, const Rect& rect,
                                           unsigned format) const {
    TextBoxLayout out;
    out.text = std::string(text);
    out.rect = rect;
    out.format = format;

    const int lineHeight = FontMetrics().height;
    const int down = state_.mapping.YUp() ? -1 : 1; // logical y step down the device
    const int left = std::min(rect.left, rect.right), right = std::max(rect.left, rect.right);
    const int maxWidth = right - left;

    std::u16string u = Utf8ToUtf16(text);
    std::vector<double> ems(u.size());
    measurer_.Advances(state_.font, u, ems.data());
    const double scale = TextXScale();
    // The same sum as TextExtent of the line's text.
    auto width = [&](size_t b, size_t e) {
        double sum = 0;
        for (size_t i = b; i < e; ++i) sum += ems[i] * scale;
        return Trunc(sum);
    };

    // Paragraphs, then lines as [begin, end) ranges of `u`.
    std::vector<std::pair<size_t, size_t>> lines;
    std::vector<std::pair<size_t, size_t>> paragraphs;
    if (format & dt::SingleLine) {
        for (char16_t& c : u)
            if (c == u'\r' || c == u'\n') c = u' ';
        if (!u.empty()) paragraphs.emplace_back(size_t{0}, u.size());
    } else if (!u.empty()) {
        size_t b = 0;
        for (size_t i = 0; i < u.size(); ++i) {
            if (u[i] != u'\r' && u[i] != u'\n') continue;
            paragraphs.emplace_back(b, i);
            if (u[i] == u'\r' && i + 1 < u.size() && u[i + 1] == u'\n') ++i;
            b = i + 1;
        }
        paragraphs.emplace_back(b, u.size());
    }
    for (auto [pb, pe] : paragraphs) {
        if (!(format & dt::WordBreak) || (format & dt::SingleLine)) {
            lines.emplace_back(pb, pe);
            continue;
        }
        size_t lineBegin = pb, lineEnd = pb, pos = pb;
        bool hasWord = false;
        while (pos < pe) {
            size_t ws = pos;
            while (ws < pe && IsSpace(u[ws])) ++ws;
            if (ws == pe) break; // trailing blanks are dropped
            size_t we = ws;
            while (we < pe && !IsSpace(u[we])) ++we;
            if (hasWord && width(lineBegin, we) > maxWidth) {
                lines.emplace_back(lineBegin, lineEnd);
                lineBegin = ws;
            }
            lineEnd = we;
            hasWord = true;
            pos = we;
        }
        lines.emplace_back(lineBegin, hasWord ? lineEnd : lineBegin);
    }

    int widest = 0;
    for (auto [b, e] : lines) widest = std::max(widest, width(b, e));
    out.height = int(lines.size()) * lineHeight;
    out.measured = {left, rect.top, left + widest, rect.top + down * out.height};

    // The rectangle's upper edge on the device and its height.
    const bool topIsUpper = down * (rect.bottom - rect.top) >= 0;
    const int upper = topIsUpper ? rect.top : rect.bottom;
    const int boxHeight = std::abs(rect.bottom - rect.top);
    int offset = 0;
    if (format & dt::VCenter)
        offset = (boxHeight - out.height) / 2;
    else if (format & dt::Bottom)
        offset = boxHeight - out.height;

    for (size_t i = 0; i < lines.size(); ++i) {
        auto [b, e] = lines[i];
        TextLine line;
        line.text = Utf16ToUtf8(std::u16string_view(u).substr(b, e - b));
        line.width = width(b, e);
        line.x = (format & dt::Center)  ? left + (maxWidth - line.width) / 2
                 : (format & dt::Right) ? right - line.width
                                        : left;
        line.y = upper + down * (offset + int(i) * lineHeight);
        out.lines.push_back(std::move(line));
    }
    return out;
}

Rect DeviceContext::MeasureTextBox(std::string_view text, const Rect& rect, unsigned format) const {
    return LayoutTextBox(text, rect, format).measured;
}

int DeviceContext::DevicePenWidth() const {
    if (state_.pen.style == PenStyle::Null) return 0;
    return std::max(1, state_.mapping.ToDeviceLengthX(state_.pen.width));
}

// --- Helpers ---------------------------------------------------------------------------------

void FillRect(DeviceContext& dc, const Rect& r, const Brush& brush) {
    StateSaver saver(dc);
    dc.SetPen(Pen::None());
    dc.SetBrush(brush);
    dc.Rectangle(r);
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | cp >> 6));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | cp >> 12));
            out.push_back(char(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | cp >> 18));
            out.push_back(char(0x80 | (cp >> 12 & 0x3F)));
            out.push_back(char(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace zor::draw
