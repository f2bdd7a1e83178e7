#include "draw/RecordingContext.h"

#include <cstdio>

namespace zor::draw {

namespace {

const TextMeasurer& DefaultMeasurer() {
    static const FixedTextMeasurer measurer;
    return measurer;
}

std::string Num(int v) {
    return std::to_string(v);
}

std::string Points(std::span<const Point> pts) {
    std::string s;
    for (const Point& p : pts) s += ' ' + Num(p.x) + ',' + Num(p.y);
    return s;
}

std::string Edges(const Rect& r) {
    return Num(r.left) + ' ' + Num(r.top) + ' ' + Num(r.right) + ' ' + Num(r.bottom);
}

const char* TechnologyName(Technology t) {
    switch (t) {
    case Technology::Printer:
        return "printer";
    case Technology::Metafile:
        return "metafile";
    default:
        return "display";
    }
}

const char* MapModeName(MapMode m) {
    switch (m) {
    case MapMode::LoMetric:
        return "lometric";
    case MapMode::Isotropic:
        return "isotropic";
    case MapMode::Anisotropic:
        return "anisotropic";
    default:
        return "text";
    }
}

const char* HatchName(Hatch h) {
    switch (h) {
    case Hatch::Horizontal:
        return "horizontal";
    case Hatch::Vertical:
        return "vertical";
    case Hatch::ForwardDiagonal:
        return "fdiagonal";
    case Hatch::BackwardDiagonal:
        return "bdiagonal";
    case Hatch::Cross:
        return "cross";
    default:
        return "diagcross";
    }
}

std::string AlignName(unsigned a) {
    std::string h = (a & ta::HorizontalMask) == ta::Center  ? "center"
                    : (a & ta::HorizontalMask) == ta::Right ? "right"
                                                            : "left";
    std::string v = (a & ta::VerticalMask) == ta::Baseline ? "baseline"
                    : (a & ta::VerticalMask) == ta::Bottom ? "bottom"
                                                           : "top";
    return h + ' ' + v;
}

std::string FormatName(unsigned f) {
    std::string s = (f & dt::Center) ? "center" : (f & dt::Right) ? "right" : "left";
    s += (f & dt::VCenter) ? "|vcenter" : (f & dt::Bottom) ? "|bottom" : "|top";
    if (f & dt::WordBreak) s += "|wordbreak";
    if (f & dt::SingleLine) s += "|singleline";
    if (f & dt::NoClip) s += "|noclip";
    return s;
}

} // namespace

std::string RecordColor(Color c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
    return buf;
}

std::string RecordString(std::string_view s) {
    std::string out = "\"";
    for (char ch : s) {
        unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[5];
                std::snprintf(buf, sizeof buf, "\\x%02x", c);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    return out + '"';
}

std::string RecordPen(const Pen& p) {
    if (p.style == PenStyle::Null) return "null";
    return std::string(p.style == PenStyle::Dot ? "dot " : "solid ") + Num(p.width) + ' ' +
           RecordColor(p.color);
}

std::string RecordBrush(const Brush& b) {
    switch (b.style) {
    case BrushStyle::Hollow:
        return "hollow";
    case BrushStyle::Hatched:
        return std::string("hatch ") + HatchName(b.hatch) + ' ' + RecordColor(b.color);
    default:
        return "solid " + RecordColor(b.color);
    }
}

std::string RecordFont(const Font& f) {
    return RecordString(f.face) + " height=" + Num(f.height) + " weight=" + Num(f.weight) +
           " italic=" + Num(f.italic ? 1 : 0) + " escapement=" + Num(f.escapement) +
           " charset=" + Num(f.charset) + " quality=" + Num(f.quality) +
           " pitchfamily=" + Num(f.pitchAndFamily);
}

RecordingContext::RecordingContext(const DeviceInfo& device)
    : RecordingContext(DefaultMeasurer(), device) {}

RecordingContext::RecordingContext(const TextMeasurer& measurer, const DeviceInfo& device)
    : DeviceContext(device, measurer) {
    Line(std::string("device ") + TechnologyName(device.technology) + ' ' + Num(device.width) +
         ' ' + Num(device.height) + ' ' + Num(device.pixelsPerMeterX) + ' ' +
         Num(device.pixelsPerMeterY));
}

void RecordingContext::DoPolyline(std::span<const Point> points) {
    Line("polyline" + Points(points));
}
void RecordingContext::DoPolygon(std::span<const Point> points) {
    Line("polygon" + Points(points));
}

void RecordingContext::DoText(Point ref, std::string_view text) {
    Line("text " + Num(ref.x) + ' ' + Num(ref.y) + ' ' + RecordString(text));
}

void RecordingContext::DoLineTo(Point, Point to) {
    Line("lineto " + Num(to.x) + ' ' + Num(to.y));
}

void RecordingContext::DoRectangle(const Rect& r) {
    Line("rect " + Edges(r));
}

void RecordingContext::DoRoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) {
    Line("roundrect " + Edges(r) + ' ' + Num(ellipseWidth) + ' ' + Num(ellipseHeight));
}

void RecordingContext::DoEllipse(const Rect& r) {
    Line("ellipse " + Edges(r));
}

void RecordingContext::DoTextBox(const TextBoxLayout& l) {
    Line("textbox " + Edges(l.rect) + ' ' + FormatName(l.format) + ' ' + RecordString(l.text));
}

void RecordingContext::OnChange(Change what) {
    const DcState& s = State();
    const Mapping& m = s.mapping;
    switch (what) {
    case Change::MapMode:
        Line(std::string("mapmode ") + MapModeName(m.Mode()));
        break;
    case Change::WindowOrg:
        Line("windoworg " + Num(m.WindowOrg().x) + ' ' + Num(m.WindowOrg().y));
        break;
    case Change::WindowExt:
        Line("windowext " + Num(m.WindowExt().cx) + ' ' + Num(m.WindowExt().cy));
        break;
    case Change::ViewportOrg:
        Line("viewportorg " + Num(m.ViewportOrg().x) + ' ' + Num(m.ViewportOrg().y));
        break;
    case Change::ViewportExt: {
        Size r = m.RequestedViewportExt();
        Line("viewportext " + Num(r.cx) + ' ' + Num(r.cy));
        break;
    }
    case Change::Pen:
        Line("pen " + RecordPen(s.pen));
        break;
    case Change::Brush:
        Line("brush " + RecordBrush(s.brush));
        break;
    case Change::Font:
        Line("font " + RecordFont(s.font));
        break;
    case Change::TextColor:
        Line("textcolor " + RecordColor(s.textColor));
        break;
    case Change::BkColor:
        Line("bkcolor " + RecordColor(s.bkColor));
        break;
    case Change::BkMode:
        Line(s.bkMode == BkMode::Transparent ? "bkmode transparent" : "bkmode opaque");
        break;
    case Change::TextAlign:
        Line("textalign " + AlignName(s.textAlign));
        break;
    case Change::Rop2:
        Line(s.rop2 == Rop2::XorPen    ? "rop2 xorpen"
             : s.rop2 == Rop2::MaskPen ? "rop2 maskpen"
                                       : "rop2 copypen");
        break;
    case Change::Palette: {
        std::string line = "palette " + Num(int(s.palette ? s.palette->size() : 0));
        if (s.palette)
            for (Color c : *s.palette) line += ' ' + RecordColor(c);
        Line(line);
        break;
    }
    case Change::Position:
        Line("moveto " + Num(s.position.x) + ' ' + Num(s.position.y));
        break;
    }
}

void RecordingContext::OnSave() {
    Line("save " + Num(SaveDepth()));
}
void RecordingContext::OnRestore(int) {
    Line("restore " + Num(SaveDepth() + 1));
}
void RecordingContext::OnIntersectClip(const Rect& logical) {
    Line("clip " + Edges(logical));
}

} // namespace zor::draw
