// The Qt backend: pixels of known pictures, font resolution and measurement, picture files.
#include "../draw/SamplePictures.h"

#include "draw/EmfWriter.h"
#include "draw/Palette.h"
#include "draw/qt/QtDeviceContext.h"
#include "draw/qt/QtTextMeasurer.h"
#include "draw/qt/Render.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace zor::draw {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);

// y up, one logical unit a pixel, (0, 0) at the bottom left of a w × h device.
void YUp(DeviceContext& dc, Size device, int unitsPerPixel = 1) {
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(device.cx * unitsPerPixel, -device.cy * unitsPerPixel);
    dc.SetViewportExt(device.cx, device.cy);
    dc.SetViewportOrg(0, device.cy);
}

QRgb At(const QImage& img, int x, int y) {
    return (img.pixel(x, y) & 0xFFFFFF) | 0xFF000000;
}

// The bounding box of the pixels darker than mid-grey.
QRect Ink(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) box = box.united(QRect(x, y, 1, 1));
    return box;
}

int InkInRow(const QImage& img, int y, const QRect& within) {
    int n = 0;
    for (int x = within.left(); x <= within.right(); ++x) n += qGray(img.pixel(x, y)) < 128;
    return n;
}

int InkInColumn(const QImage& img, int x, const QRect& within) {
    int n = 0;
    for (int y = within.top(); y <= within.bottom(); ++y) n += qGray(img.pixel(x, y)) < 128;
    return n;
}

TEST(QtBackend, FilledRectangleCoversLeftTopUpToRightBottomEdge) {
    QImage img = RenderImage({100, 100}, [](DeviceContext& dc, Size size) {
        YUp(dc, size, 10);
        dc.SetPen(Pen::None());
        dc.SetBrush(Brush::Solid(Rgb(255, 0, 0)));
        dc.Rectangle({100, 500, 300, 200}); // device x 10..30, y 50..80
        dc.SetPen(Pen::Solid(0, Black));
        dc.Rectangle({500, 500, 700, 200}); // device x 50..70, outlined
    });
    EXPECT_EQ(At(img, 10, 50), kRed);
    EXPECT_EQ(At(img, 29, 79), kRed);
    EXPECT_EQ(At(img, 30, 60), kWhite);
    EXPECT_EQ(At(img, 20, 80), kWhite);
    EXPECT_EQ(At(img, 9, 60), kWhite);
    EXPECT_EQ(At(img, 20, 49), kWhite);
    // The outline lies on the outermost pixels, the fill inside.
    EXPECT_EQ(At(img, 50, 60), kBlack);
    EXPECT_EQ(At(img, 69, 60), kBlack);
    EXPECT_EQ(At(img, 60, 50), kBlack);
    EXPECT_EQ(At(img, 60, 79), kBlack);
    EXPECT_EQ(At(img, 60, 60), kRed);
    EXPECT_EQ(At(img, 70, 60), kWhite);
    EXPECT_EQ(At(img, 60, 80), kWhite);
}

TEST(QtBackend, TextIsUprightInAYUpMapping) {
    QImage img = RenderImage({200, 200}, [](DeviceContext& dc, Size size) {
        YUp(dc, size);
        dc.SetFont(Font{.face = "Arial", .height = 120, .weight = 700});
        dc.SetTextAlign(ta::Left | ta::Top);
        dc.Text(40, 180, "T");
    });
    QRect ink = Ink(img);
    ASSERT_FALSE(ink.isEmpty());
    // Hangs below its reference point (device y 20).
    EXPECT_GE(ink.top(), 20);
    EXPECT_LE(ink.top(), 45);
    // The bar of the T is at the top: wide ink near the top, the narrow stem near the bottom.
    int topRow = InkInRow(img, ink.top() + 2, ink);
    int bottomRow = InkInRow(img, ink.bottom() - 2, ink);
    EXPECT_GT(topRow, 2 * bottomRow) << topRow << " " << bottomRow;
}

TEST(QtBackend, EscapementReadsUpwards) {
    QImage img = RenderImage({200, 200}, [](DeviceContext& dc, Size size) {
        YUp(dc, size);
        dc.SetFont(Font{.face = "Arial", .height = 120, .weight = 700, .escapement = 900});
        dc.SetTextAlign(ta::Left | ta::Baseline);
        dc.Text(100, 40, "T");
    });
    QRect ink = Ink(img);
    ASSERT_FALSE(ink.isEmpty());
    // Turned counter-clockwise: the bar is on the left, the text goes up from y 160.
    EXPECT_LE(ink.bottom(), 160);
    EXPECT_LE(ink.right(), 100 + 2);
    int leftColumn = InkInColumn(img, ink.left() + 2, ink);
    int rightColumn = InkInColumn(img, ink.right() - 2, ink);
    EXPECT_GT(leftColumn, 2 * rightColumn) << leftColumn << " " << rightColumn;
}

TEST(QtBackend, RightAlignedTextEndsAtItsReferencePoint) {
    QImage img = RenderImage({300, 100}, [](DeviceContext& dc, Size size) {
        YUp(dc, size, 10); // the chart's 10 units a pixel
        dc.SetFont(Font{.face = "Arial", .height = 150});
        dc.SetTextAlign(ta::Right | ta::Baseline);
        dc.Text(2500, 500, "1234567890");
    });
    QRect ink = Ink(img);
    EXPECT_GE(ink.right(), 245);
    EXPECT_LE(ink.right(), 250);
    EXPECT_LE(ink.bottom(), 50 + 1);
}

TEST(QtBackend, XorTwiceRestoresAndMaskHatchKeepsTheFillBetweenLines) {
    QImage img = RenderImage({100, 100}, [](DeviceContext& dc, Size) {
        dc.SetPen(Pen::None());
        dc.SetBrush(Brush::Solid(Rgb(255, 0, 0)));
        dc.Rectangle({0, 0, 100, 50});
        // Rubber band: drawn and erased.
        dc.SetRop2(Rop2::XorPen);
        dc.SetPen(Pen::Solid(0, White));
        dc.SetBrush(Brush::Hollow());
        dc.Rectangle({10, 10, 45, 90});
        dc.Rectangle({10, 10, 45, 90});
        // Drawn once and left: inverts.
        dc.Rectangle({20, 20, 40, 80});
        // Hatch overlay in mask mode over the red band's right half.
        dc.SetRop2(Rop2::MaskPen);
        dc.SetPen(Pen::None());
        dc.SetBkMode(BkMode::Transparent);
        dc.SetBrush(Brush::Hatched(Hatch::DiagonalCross, Black));
        dc.Rectangle({50, 0, 100, 50});
    });
    EXPECT_EQ(At(img, 10, 30), kRed);
    EXPECT_EQ(At(img, 30, 10), kRed);
    EXPECT_EQ(At(img, 10, 60), kWhite);
    EXPECT_EQ(At(img, 20, 30), qRgb(0, 255, 255)); // red inverted
    EXPECT_EQ(At(img, 20, 60), kBlack);            // white inverted
    int red = 0, black = 0, other = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 52; x < 100; ++x) {
            QRgb c = At(img, x, y);
            (c == kRed ? red : c == kBlack ? black : other)++;
        }
    // A diagonal cross hatch inks a quarter of the pixels; the rest keep their red.
    EXPECT_EQ(other, 0);
    EXPECT_NEAR(black, 600, 30);
}

TEST(QtBackend, ClipRectangleLimitsDrawing) {
    QImage img = RenderImage({100, 100}, [](DeviceContext& dc, Size size) {
        YUp(dc, size);
        StateSaver saver(dc);
        dc.IntersectClipRect({20, 80, 60, 40}); // device x 20..60, y 20..60
        FillRect(dc, {0, 100, 100, 0}, Brush::Solid(Rgb(255, 0, 0)));
    });
    EXPECT_EQ(At(img, 20, 20), kRed);
    EXPECT_EQ(At(img, 59, 59), kRed);
    EXPECT_EQ(At(img, 60, 40), kWhite);
    EXPECT_EQ(At(img, 40, 19), kWhite);
}

TEST(QtFonts, FacesResolveThroughTheFontConfiguration) {
    EXPECT_EQ(QFontInfo(ToQFont(Font{.face = "Arial"}, 20, 96)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(ToQFont(Font{.face = "Courier New"}, 20, 96)).family(), "Liberation Mono");
    EXPECT_EQ(QFontInfo(ToQFont(Font{.face = "Tahoma"}, 20, 96)).family(), "DejaVu Sans");
    EXPECT_TRUE(QFontInfo(ToQFont(Font{.face = "Arial", .weight = 700}, 20, 96)).bold());
}

TEST(QtFonts, MeasurerAnswersInEmsThatScaleToAnySize) {
    const QtTextMeasurer& m = QtTextMeasurer::Screen();
    Font arial{.face = "Arial"};
    FaceMetrics fm = m.Metrics(arial);
    // Liberation Sans has Arial's vertical metrics: a cell of about 1.117 em.
    EXPECT_NEAR(fm.ascent + fm.descent, 1.117, 0.01);
    std::u16string text = u"Wi 10,5%";
    std::vector<double> ems(text.size());
    m.Advances(arial, text, ems.data());
    EXPECT_GT(ems[0], 2 * ems[1]); // W wider than i
    double total = 0;
    for (double a : ems) total += a;
    QFont small = ToQFont(arial, 0, 0);
    small.setPixelSize(37);
    QFontMetricsF qfm(small);
    EXPECT_NEAR(total * 37, qfm.horizontalAdvance(QString::fromStdU16String(text)), 0.5);
    // Monospace: every advance the same.
    Font mono{.face = "Courier New"};
    m.Advances(mono, text, ems.data());
    for (double a : ems) EXPECT_NEAR(a, ems[0], 1e-9);
}

TEST(QtFonts, MetafileAdvancesUseTheScreenMetrics) {
    std::string bytes = RenderEmf(
        {800, 600},
        [](DeviceContext& dc, Size size) {
            YUp(dc, size, 10);
            dc.SetFont(Font{.face = "Arial", .height = 150});
            dc.Text(100, 100, "Population");
        },
        "test");
    EmfContext reference(QtTextMeasurer::Screen());
    YUp(reference, {800, 600}, 10);
    reference.SetFont(Font{.face = "Arial", .height = 150});
    std::vector<int> dx = reference.TextAdvances(u"Population");
    // The advances are the last 10 words of the text record, which precedes the end record.
    const size_t textEnd = bytes.size() - 20;
    for (size_t i = 0; i < dx.size(); ++i) {
        int32_t v;
        std::memcpy(&v, bytes.data() + textEnd - 4 * (dx.size() - i), 4);
        EXPECT_EQ(v, dx[i]) << i;
    }
    EXPECT_GT(dx[0], dx[5]); // P wider than l
}

TEST(QtFiles, PngSvgAndPdfFilesOfASample) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = dir.path().toStdString() + "/chart";
    ASSERT_TRUE(SavePng(base + ".png", {320, 240}, test::DrawChartSample));
    ASSERT_TRUE(SaveSvg(base + ".svg", {320, 240}, test::DrawChartSample, "Chart"));
    ASSERT_TRUE(SavePdf(base + ".pdf", {320, 240}, test::DrawChartSample, 300));
    ASSERT_TRUE(SaveEmf(base + ".emf", {320, 240}, test::DrawChartSample, "Graph"));

    QImage png(QString::fromStdString(base + ".png"));
    ASSERT_EQ(png.size(), QSize(320, 240));
    EXPECT_FALSE(Ink(png).isEmpty());
    // The first bar (series colour 0) sits right of the value axis near the bottom.
    EXPECT_EQ(At(png, 32, 220), qRgb(255, 0, 0));

    auto read = [](const std::string& path) {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QByteArray svg = read(base + ".svg");
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 320 240\""));
    EXPECT_TRUE(svg.contains("<title>Chart</title>"));
    EXPECT_TRUE(read(base + ".pdf").startsWith("%PDF-"));
    QByteArray emf = read(base + ".emf");
    ASSERT_GE(emf.size(), 108);
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));

    // Replacing a file leaves no temporary behind.
    ASSERT_TRUE(SavePng(base + ".png", {64, 48}, test::DrawMapSample));
    EXPECT_EQ(QImage(QString::fromStdString(base + ".png")).size(), QSize(64, 48));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

} // namespace
} // namespace zor::draw

namespace zor::draw {
namespace {

// Rings of small polygons over a y-up space, as a map of many regions.
PolygonSet ManyPolygons() {
    PolygonSet set;
    for (int i = 0; i < 40; ++i) {
        const int x = (i % 8) * 120 + 10, y = (i / 8) * 110 + 10;
        const std::vector<Point> pts{{x, y}, {x + 97, y + 13}, {x + 61, y + 89}, {x + 7, y + 71}};
        set.Add(pts);
    }
    return set;
}

std::vector<PolygonFill> Fills(const PolygonSet& set, int shift) {
    std::vector<PolygonFill> fills;
    for (size_t i = 0; i < set.Count(); ++i)
        fills.push_back({set.Count() - 1 - i, Brush::Solid(ChartColor(int(i) + shift))});
    return fills;
}

QImage Draw(Size device, const std::function<void(DeviceContext&)>& draw) {
    return RenderImage(device, [&](DeviceContext& dc, Size s) {
        dc.SetMapMode(MapMode::Isotropic);
        dc.SetWindowExt(1000, -600);
        dc.SetViewportExt(s.cx, s.cy);
        dc.SetViewportOrg(0, s.cy);
        draw(dc);
    });
}

TEST(QtPolygons, BatchPaintsTheSamePixelsAsSingleCallsAndKeepsItsDeviceFormPerMapping) {
    const PolygonSet set = ManyPolygons();
    for (Size device : {Size{640, 400}, Size{333, 517}}) {
        const std::vector<PolygonFill> fills = Fills(set, device.cx);
        const QImage plain = Draw(device, [&](DeviceContext& dc) {
            for (const PolygonFill& f : fills) {
                dc.SetBrush(f.brush);
                dc.Polygon(set.Polygon(f.polygon));
            }
        });
        const PolygonCache* before = set.Cache();
        const QImage batch = Draw(device, [&](DeviceContext& dc) { dc.Polygons(set, fills); });
        // A new size (a new mapping) made a new device form; the picture is the same.
        EXPECT_NE(set.Cache(), nullptr);
        EXPECT_NE(set.Cache(), before);
        EXPECT_EQ(batch, plain) << device.cx << "x" << device.cy;
        // The same size again draws from the kept form.
        const PolygonCache* kept = set.Cache();
        EXPECT_EQ(Draw(device, [&](DeviceContext& dc) { dc.Polygons(set, fills); }), plain);
        EXPECT_EQ(set.Cache(), kept);
    }
}

TEST(QtRaster, DrawingOnARasterSharesItsPixelsAndSavesAsPng) {
    Raster raster(40, 30, Rgb(10, 20, 30));
    EXPECT_EQ(raster.At(0, 0), 0xFF0A141Eu);
    PaintOnRaster(raster, [](DeviceContext& dc, Size s) {
        EXPECT_EQ(s, (Size{40, 30}));
        FillRect(dc, {10, 5, 20, 15}, Brush::Solid(Rgb(255, 0, 0)));
    });
    EXPECT_EQ(raster.At(10, 5), PixelOf(Rgb(255, 0, 0)));
    EXPECT_EQ(raster.At(19, 14), PixelOf(Rgb(255, 0, 0)));
    EXPECT_EQ(raster.At(20, 15), PixelOf(Rgb(10, 20, 30)));
    EXPECT_EQ(ColorOfPixel(raster.At(12, 7)), Rgb(255, 0, 0));
    const QImage image = ImageOf(raster);
    EXPECT_EQ(image.pixel(12, 7), qRgb(255, 0, 0));

    QTemporaryDir dir;
    const std::string path = (dir.path() + "/frame.png").toStdString();
    ASSERT_TRUE(SaveRasterPng(path, raster));
    const QImage back(QString::fromStdString(path));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);
    EXPECT_FALSE(SaveRasterPng(path, Raster(0, 5)));
}

} // namespace
} // namespace zor::draw
