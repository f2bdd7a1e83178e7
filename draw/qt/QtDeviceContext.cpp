#include "draw/qt/QtDeviceContext.h"

#include "draw/qt/QtTextMeasurer.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygon>

#include <cmath>
#include <memory>

namespace zor::draw {

namespace {

QColor ToQColor(Color c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

Qt::BrushStyle ToQtHatch(Hatch h) {
    switch (h) {
    case Hatch::Horizontal:
        return Qt::HorPattern;
    case Hatch::Vertical:
        return Qt::VerPattern;
    case Hatch::ForwardDiagonal:
        return Qt::FDiagPattern;
    case Hatch::BackwardDiagonal:
        return Qt::BDiagPattern;
    case Hatch::Cross:
        return Qt::CrossPattern;
    default:
        return Qt::DiagCrossPattern;
    }
}

// An 8 × 8 hatch tile: lines in `ink`, the rest in `paper`. Used where the hatch must combine
// with the destination pixel by pixel (the mask mode), since Qt's pattern brushes leave their
// gaps transparent and a raster operation would treat those as black.
QImage HatchTile(Hatch h, QColor ink, QColor paper) {
    QImage tile(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            bool hor = y == 4, ver = x == 4, fd = x == y, bd = x + y == 7;
            bool on = h == Hatch::Horizontal         ? hor
                      : h == Hatch::Vertical         ? ver
                      : h == Hatch::ForwardDiagonal  ? fd
                      : h == Hatch::BackwardDiagonal ? bd
                      : h == Hatch::Cross            ? hor || ver
                                                     : fd || bd;
            tile.setPixelColor(x, y, on ? ink : paper);
        }
    }
    return tile;
}

QPolygon ToDevice(const Mapping& m, std::span<const Point> pts) {
    QPolygon poly(int(pts.size()));
    for (size_t i = 0; i < pts.size(); ++i) {
        Point d = m.ToDevice(pts[i]);
        poly.setPoint(int(i), d.x, d.y);
    }
    return poly;
}

// The device points of a polygon set under one mapping.
class QtPolygonCache final : public PolygonCache {
public:
    QtPolygonCache(const PolygonSet& set, const Mapping& m) : mapping(m) {
        const std::vector<Point>& pts = set.Points();
        points.reserve(pts.size());
        for (const Point& p : pts) {
            const Point d = m.ToDevice(p);
            points.emplace_back(d.x, d.y);
        }
    }
    Mapping mapping;
    std::vector<QPoint> points;
};

} // namespace

DeviceInfo DeviceInfoOf(const QPaintDevice& device, Technology technology) {
    DeviceInfo info;
    info.technology = technology;
    info.width = device.width();
    info.height = device.height();
    info.pixelsPerMeterX = int(std::lround(device.logicalDpiX() / 0.0254));
    info.pixelsPerMeterY = int(std::lround(device.logicalDpiY() / 0.0254));
    info.bitsPerPixel = device.depth();
    return info;
}

QtDeviceContext::QtDeviceContext(QPainter& painter, const TextMeasurer& measurer,
                                 Technology technology)
    : DeviceContext(DeviceInfoOf(*painter.device(), technology), measurer), p_(painter) {
    p_.save();
    p_.resetTransform();
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
    QPaintEngine* engine = p_.paintEngine();
    rasterOps_ = engine && engine->hasFeature(QPaintEngine::RasterOpModes);
    hostClipped_ = p_.hasClipping();
    if (hostClipped_) hostClip_ = p_.clipRegion();
}

QtDeviceContext::~QtDeviceContext() {
    p_.restore();
}

void QtDeviceContext::ApplyClip() {
    const std::optional<Rect>& clip = State().clip;
    if (appliedClip_ && *appliedClip_ == clip) return;
    if (hostClipped_)
        p_.setClipRegion(hostClip_);
    else
        p_.setClipping(false);
    if (clip) {
        QRect r(clip->left, clip->top, clip->Width(), clip->Height());
        p_.setClipRect(r, hostClipped_ ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    appliedClip_ = clip;
}

void QtDeviceContext::ApplyShape(bool fill) {
    const DcState& s = State();
    ApplyClip();

    bool mask = s.rop2 == Rop2::MaskPen;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (rasterOps_ && s.rop2 == Rop2::XorPen) mode = QPainter::RasterOp_SourceXorDestination;
    if (rasterOps_ && mask) mode = QPainter::RasterOp_SourceAndDestination;
    p_.setCompositionMode(mode);

    // Without raster operations the mask mode keeps the destination between hatch lines.
    bool opaque = s.bkMode == BkMode::Opaque && !(mask && !rasterOps_);
    p_.setBackgroundMode(opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    p_.setBackground(ToQColor(s.bkColor));

    if (s.pen.style == PenStyle::Null) {
        p_.setPen(Qt::NoPen);
    } else {
        int width = DevicePenWidth();
        QPen pen(ToQColor(s.pen.color));
        pen.setWidth(width <= 1 ? 0 : width);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        if (s.pen.style == PenStyle::Dot && width <= 1) {
            pen.setCapStyle(Qt::FlatCap);
            pen.setDashPattern({3, 3});
        }
        p_.setPen(pen);
    }
    ApplyBrush(fill);
}

void QtDeviceContext::ApplyBrush(bool fill) {
    const DcState& s = State();
    const bool mask = s.rop2 == Rop2::MaskPen;
    if (!fill || s.brush.style == BrushStyle::Hollow) {
        p_.setBrush(Qt::NoBrush);
    } else if (s.brush.style == BrushStyle::Hatched && mask && rasterOps_) {
        // White gaps leave the destination as it is under AND; an opaque background ANDs in.
        QColor paper = s.bkMode == BkMode::Opaque ? ToQColor(s.bkColor) : QColor(Qt::white);
        p_.setBrush(QBrush(HatchTile(s.brush.hatch, ToQColor(s.brush.color), paper)));
    } else if (s.brush.style == BrushStyle::Hatched) {
        p_.setBrush(QBrush(ToQColor(s.brush.color), ToQtHatch(s.brush.hatch)));
    } else {
        p_.setBrush(ToQColor(s.brush.color));
    }
}

QRect QtDeviceContext::ShapeRect(const Rect& logical) const {
    Rect d = State().mapping.ToDeviceRect(logical);
    int outline = State().pen.style == PenStyle::Null ? 0 : 1;
    return QRect(d.left, d.top, std::max(0, d.Width() - outline),
                 std::max(0, d.Height() - outline));
}

void QtDeviceContext::DoPolyline(std::span<const Point> points) {
    ApplyShape(false);
    p_.drawPolyline(ToDevice(State().mapping, points));
}

void QtDeviceContext::DoPolygon(std::span<const Point> points) {
    ApplyShape(true);
    p_.drawPolygon(ToDevice(State().mapping, points), Qt::OddEvenFill);
}

void QtDeviceContext::DoPolygons(const PolygonSet& set, std::span<const PolygonFill> fills) {
    auto* cache = dynamic_cast<QtPolygonCache*>(set.Cache());
    if (!cache || !(cache->mapping == State().mapping)) {
        auto made = std::make_unique<QtPolygonCache>(set, State().mapping);
        cache = made.get();
        set.SetCache(std::move(made));
    }
    bool applied = false;
    for (const PolygonFill& f : fills) {
        const bool changed = !(f.brush == State().brush);
        if (changed) SetBrush(f.brush);
        const size_t start = set.Start(f.polygon), count = set.Polygon(f.polygon).size();
        if (count < 2) continue;
        if (!applied)
            ApplyShape(true);
        else if (changed)
            ApplyBrush(true);
        applied = true;
        p_.drawPolygon(cache->points.data() + start, int(count), Qt::OddEvenFill);
    }
}

void QtDeviceContext::DoRectangle(const Rect& r) {
    ApplyShape(true);
    p_.drawRect(ShapeRect(r));
}

void QtDeviceContext::DoRoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) {
    ApplyShape(true);
    const Mapping& m = State().mapping;
    p_.drawRoundedRect(ShapeRect(r), m.ToDeviceLengthX(ellipseWidth) / 2.0,
                       m.ToDeviceLengthY(ellipseHeight) / 2.0, Qt::AbsoluteSize);
}

void QtDeviceContext::DoEllipse(const Rect& r) {
    ApplyShape(true);
    p_.drawEllipse(ShapeRect(r));
}

void QtDeviceContext::DoText(Point ref, std::string_view text) {
    const DcState& s = State();
    ApplyClip();
    TextPlacement tp = PlaceText(ref, text);
    if (tp.emSize <= 0) return;
    p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p_.setBackgroundMode(Qt::TransparentMode);
    p_.translate(tp.x, tp.y);
    p_.rotate(-tp.angle / 10.0);
    if (s.bkMode == BkMode::Opaque)
        p_.fillRect(QRectF(0, -tp.ascent, tp.width, tp.ascent + tp.descent), ToQColor(s.bkColor));
    const QFont font = ToQFont(s.font, tp.emSize, p_.device()->logicalDpiY());
    const QString line = QString::fromUtf8(text.data(), qsizetype(text.size()));
    // Qt draws at whole pixel sizes, a little wider or narrower than measured: the line is
    // stretched to its measured width, so texts end where the views laid them out.
    const double drawn = QFontMetricsF(font, p_.device()).horizontalAdvance(line);
    if (drawn > 0 && tp.width > 0) p_.scale(tp.width / drawn, 1.0);
    p_.setFont(font);
    p_.setPen(ToQColor(s.textColor));
    p_.drawText(QPointF(0, 0), line);
    p_.resetTransform();
}

} // namespace zor::draw
