#include "shell/Icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>

namespace zor {

namespace {

// Colours of one icon state; disabled icons are drawn in greys.
struct Ink {
    QColor outline, blue, lightBlue, red, green, orange, paper, grid;
};

Ink InkFor(QIcon::Mode mode) {
    Ink normal{QColor(0x2d, 0x37, 0x48), QColor(0x25, 0x63, 0xb0), QColor(0x7f, 0xb8, 0xea),
               QColor(0xc5, 0x30, 0x30), QColor(0x2f, 0x85, 0x5a), QColor(0xdd, 0x6b, 0x20),
               QColor(0xff, 0xff, 0xff), QColor(0xa0, 0xae, 0xc0)};
    if (mode != QIcon::Disabled) return normal;
    auto grey = [](const QColor& c) {
        const int g = 150 + qGray(c.rgb()) * 90 / 255;
        return QColor(g, g, g);
    };
    return {QColor(0x9a, 0x9a, 0x9a), grey(normal.blue),       grey(normal.lightBlue),
            grey(normal.red),         grey(normal.green),      grey(normal.orange),
            QColor(0xf4, 0xf4, 0xf4), QColor(0xc8, 0xc8, 0xc8)};
}

using Drawing = void (*)(QPainter&, const Ink&, int arg);

QPen Line(const QColor& c, qreal w = 1.0) {
    QPen p(c, w);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    return p;
}

// An L-shaped pair of axes along the left and bottom edges.
void Axes(QPainter& p, const Ink& ink) {
    p.setPen(Line(ink.outline));
    p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
    p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
}

void Bar(QPainter& p, const Ink& ink, QRectF r, const QColor& fill) {
    p.setPen(Line(ink.outline, 0.8));
    p.setBrush(fill);
    p.drawRect(r);
}

void DrawParameters(QPainter& p, const Ink& ink, int) {
    // A sheet with three check boxes, two of them ticked.
    p.setPen(Line(ink.outline));
    p.setBrush(ink.paper);
    p.drawRect(QRectF(1.5, 0.5, 13, 15));
    for (int row = 0; row < 3; ++row) {
        const qreal y = 2.5 + row * 4.5;
        p.setPen(Line(ink.outline, 0.8));
        p.setBrush(ink.paper);
        p.drawRect(QRectF(3.5, y, 3.5, 3.5));
        p.setPen(Line(ink.grid, 1.2));
        p.drawLine(QPointF(8.5, y + 1.75), QPointF(13, y + 1.75));
        if (row < 2) {
            QPen tick(ink.green, 1.4);
            tick.setCapStyle(Qt::RoundCap);
            tick.setJoinStyle(Qt::RoundJoin);
            p.setPen(tick);
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(
                QPolygonF({QPointF(4.2, y + 1.8), QPointF(5.2, y + 2.9), QPointF(7.6, y - 0.4)}));
        }
    }
}

void DrawMap(QPainter& p, const Ink& ink, int) {
    // Three neighbouring regions shaded as a choropleth.
    const QPolygonF west({QPointF(1, 4), QPointF(5, 1.5), QPointF(8, 3), QPointF(7, 8),
                          QPointF(3.5, 10), QPointF(1.5, 8)});
    const QPolygonF east({QPointF(8, 3), QPointF(12, 1.5), QPointF(15, 5), QPointF(13.5, 9),
                          QPointF(10, 9.5), QPointF(7, 8)});
    const QPolygonF south({QPointF(3.5, 10), QPointF(7, 8), QPointF(10, 9.5), QPointF(13.5, 9),
                           QPointF(12, 13.5), QPointF(7.5, 15), QPointF(3, 13)});
    p.setPen(Line(ink.outline, 0.9));
    p.setBrush(ink.blue);
    p.drawPolygon(west);
    p.setBrush(ink.lightBlue);
    p.drawPolygon(east);
    p.setBrush(ink.paper);
    p.drawPolygon(south);
}

void DrawRankedBars(QPainter& p, const Ink& ink, int horizontal) {
    const std::array<qreal, 4> lengths{12, 9.5, 7, 4};
    if (!horizontal) {
        Axes(p, ink);
        for (size_t i = 0; i < lengths.size(); ++i)
            Bar(p, ink, QRectF(3 + qreal(i) * 3, 14 - lengths[i], 2.5, lengths[i]),
                i == 0 ? ink.red : ink.blue);
        return;
    }
    p.setPen(Line(ink.outline));
    p.drawLine(QPointF(1.5, 1), QPointF(1.5, 15));
    for (size_t i = 0; i < lengths.size(); ++i)
        Bar(p, ink, QRectF(2, 1.5 + qreal(i) * 3.5, lengths[i] + 1, 2.5),
            i == 0 ? ink.red : ink.blue);
}

void DrawLineChart(QPainter& p, const Ink& ink, int) {
    Axes(p, ink);
    QPen a(ink.blue, 1.5);
    a.setJoinStyle(Qt::RoundJoin);
    p.setPen(a);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(3, 11), QPointF(6, 7), QPointF(9, 9), QPointF(14, 3)}));
    QPen b(ink.red, 1.5);
    b.setJoinStyle(Qt::RoundJoin);
    p.setPen(b);
    p.drawPolyline(QPolygonF({QPointF(3, 6), QPointF(7, 10), QPointF(10, 8), QPointF(14, 11)}));
}

void DrawScatter(QPainter& p, const Ink& ink, int) {
    Axes(p, ink);
    p.setPen(Line(ink.red, 1.2));
    p.drawLine(QPointF(3, 13), QPointF(14.5, 2.5));
    p.setPen(Qt::NoPen);
    p.setBrush(ink.blue);
    for (QPointF c : {QPointF(4.5, 10), QPointF(6, 12), QPointF(7.5, 8), QPointF(9, 9.5),
                      QPointF(10.5, 5.5), QPointF(12, 7), QPointF(13, 3.5)})
        p.drawEllipse(c, 1.2, 1.2);
}

// A box with whiskers around a vertical centre line.
void BoxWithWhiskers(QPainter& p, const Ink& ink, qreal x, qreal low, qreal q1, qreal median,
                     qreal q3, qreal high, qreal w) {
    p.setPen(Line(ink.outline, 0.9));
    p.drawLine(QPointF(x, low), QPointF(x, q3));
    p.drawLine(QPointF(x, q1), QPointF(x, high));
    p.drawLine(QPointF(x - w / 4, low), QPointF(x + w / 4, low));
    p.drawLine(QPointF(x - w / 4, high), QPointF(x + w / 4, high));
    p.setBrush(ink.lightBlue);
    p.drawRect(QRectF(x - w / 2, q3, w, q1 - q3));
    p.setPen(Line(ink.red, 1.2));
    p.drawLine(QPointF(x - w / 2, median), QPointF(x + w / 2, median));
}

void DrawBoxplot(QPainter& p, const Ink& ink, int byRank) {
    Axes(p, ink);
    if (!byRank) {
        BoxWithWhiskers(p, ink, 5.5, 12.5, 10, 8.5, 6, 2.5, 4);
        BoxWithWhiskers(p, ink, 11.5, 13, 11.5, 10, 8, 5, 4);
        return;
    }
    // Boxes in ascending order of their medians.
    BoxWithWhiskers(p, ink, 4.5, 13.5, 12.5, 11.5, 10, 8.5, 2.6);
    BoxWithWhiskers(p, ink, 8.5, 12, 10.5, 9, 7.5, 5.5, 2.6);
    BoxWithWhiskers(p, ink, 12.5, 9, 7.5, 6, 4, 1.5, 2.6);
}

void DrawHistogram(QPainter& p, const Ink& ink, int) {
    Axes(p, ink);
    const std::array<qreal, 6> heights{3, 7, 11, 9, 5, 2};
    for (size_t i = 0; i < heights.size(); ++i)
        Bar(p, ink, QRectF(2.5 + qreal(i) * 2, 14 - heights[i], 2, heights[i]), ink.blue);
    QPen curve(ink.red, 1.2);
    p.setPen(curve);
    p.setBrush(Qt::NoBrush);
    QPainterPath bell(QPointF(2, 13));
    bell.cubicTo(QPointF(6, 13), QPointF(6, 1), QPointF(8.5, 1.5));
    bell.cubicTo(QPointF(11, 2), QPointF(11, 13), QPointF(15, 13.5));
    p.drawPath(bell);
}

void DrawProfile(QPainter& p, const Ink& ink, int) {
    // Deviations of one region from the average, to the left and the right of a centre line.
    const std::array<qreal, 5> dev{4, -3, 5.5, -5, 2};
    for (size_t i = 0; i < dev.size(); ++i) {
        const qreal y = 1.5 + qreal(i) * 2.8;
        QRectF r = dev[i] > 0 ? QRectF(8, y, dev[i], 2.2) : QRectF(8 + dev[i], y, -dev[i], 2.2);
        Bar(p, ink, r, dev[i] > 0 ? ink.blue : ink.orange);
    }
    p.setPen(Line(ink.outline, 1.2));
    p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
}

void DrawTable(QPainter& p, const Ink& ink, int letter) {
    // A grid with a header row and the table's letter on a badge.
    p.setPen(Line(ink.outline));
    p.setBrush(ink.paper);
    p.drawRect(QRectF(0.5, 1.5, 15, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(ink.lightBlue);
    p.drawRect(QRectF(1, 2, 14, 3));
    p.setPen(Line(ink.grid, 0.8));
    for (qreal y : {5.0, 8.5, 11.5}) p.drawLine(QPointF(1, y), QPointF(15, y));
    p.drawLine(QPointF(5.5, 2), QPointF(5.5, 14));
    p.drawLine(QPointF(10.5, 2), QPointF(10.5, 6));
    p.setPen(Line(ink.outline, 0.8));
    p.setBrush(ink.blue);
    const QRectF badge(7.2, 6.2, 8.8, 9.8);
    p.drawRoundedRect(badge, 2, 2);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(ink.paper);
    p.drawText(badge.adjusted(0, 0, 0, 0.5), Qt::AlignCenter, QString(QChar(letter)));
}

void DrawProgram(QPainter& p, const Ink& ink, int) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink.blue);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.setBrush(ink.paper);
    const std::array<qreal, 3> heights{5, 9, 7};
    for (size_t i = 0; i < heights.size(); ++i)
        p.drawRect(QRectF(3 + qreal(i) * 3.6, 13 - heights[i], 2.6, heights[i]));
    p.setBrush(ink.orange);
    p.drawEllipse(QPointF(12.2, 3.6), 1.8, 1.8);
}

class PaintedIconEngine : public QIconEngine {
public:
    PaintedIconEngine(Drawing draw, int arg) : draw_(draw), arg_(arg) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::TextAntialiasing);
        // Drawings are made on a 16 x 16 grid, kept square and centred in the rectangle.
        const qreal side = qMin(rect.width(), rect.height());
        painter->translate(rect.x() + (rect.width() - side) / 2,
                           rect.y() + (rect.height() - side) / 2);
        painter->scale(side / 16.0, side / 16.0);
        if (mode == QIcon::Disabled) painter->setOpacity(0.85);
        draw_(*painter, InkFor(mode), arg_);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new PaintedIconEngine(draw_, arg_); }
    QString key() const override { return QStringLiteral("zorPainted"); }

private:
    Drawing draw_;
    int arg_;
};

QIcon Painted(Drawing draw, int arg = 0) {
    return QIcon(new PaintedIconEngine(draw, arg));
}

} // namespace

QIcon CommandIcon(int commandId) {
    switch (commandId) {
    case 1010:
        return Painted(DrawParameters);
    case 2000:
        return Painted(DrawMap);
    case 3021:
        return Painted(DrawRankedBars, 0);
    case 3022:
        return Painted(DrawRankedBars, 1);
    case 3031:
        return Painted(DrawLineChart);
    case 3050:
        return Painted(DrawScatter);
    case 3061:
        return Painted(DrawBoxplot, 0);
    case 3062:
        return Painted(DrawBoxplot, 1);
    case 3070:
        return Painted(DrawHistogram);
    case 3082:
        return Painted(DrawProfile);
    case 4010:
        return Painted(DrawTable, 'A');
    case 4020:
        return Painted(DrawTable, 'B');
    case 4030:
        return Painted(DrawTable, 'C');
    case 4040:
        return Painted(DrawTable, 'D');
    case 4050:
        return Painted(DrawTable, 'E');
    default:
        return QIcon();
    }
}

QIcon ProgramIcon() {
    return Painted(DrawProgram);
}

} // namespace zor
