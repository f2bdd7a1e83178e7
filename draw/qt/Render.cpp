#include "draw/qt/Render.h"

#include "core/FileUtil.h"
#include "draw/EmfWriter.h"
#include "draw/qt/QtDeviceContext.h"
#include "draw/qt/QtTextMeasurer.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace zor::draw {

namespace {

bool WriteBytes(const std::string& path, const QByteArray& bytes) {
    return zor::WriteFileAtomic(path, std::string_view(bytes.constData(), size_t(bytes.size())));
}

} // namespace

QImage RenderImage(Size size, const DrawFunction& draw, Color background, int scale) {
    scale = std::clamp(scale, 1, 8);
    QImage image(std::max(1, size.cx) * scale, std::max(1, size.cy) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(QColor(RedOf(background), GreenOf(background), BlueOf(background)));
    QPainter painter(&image);
    {
        QtDeviceContext dc(painter, QtTextMeasurer::Screen());
        draw(dc, size);
    }
    painter.end();
    return image;
}

bool SavePng(const std::string& path, Size size, const DrawFunction& draw, Color background,
             int scale) {
    QImage image = RenderImage(size, draw, background, scale);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return false;
    return WriteBytes(path, bytes);
}

void PaintOnRaster(Raster& raster, const DrawFunction& draw) {
    if (raster.width < 1 || raster.height < 1) return;
    QImage image(reinterpret_cast<uchar*>(raster.pixels.data()), raster.width, raster.height,
                 qsizetype(raster.width) * 4, QImage::Format_RGB32);
    QPainter painter(&image);
    {
        QtDeviceContext dc(painter, QtTextMeasurer::Screen());
        draw(dc, {raster.width, raster.height});
    }
    painter.end();
}

QImage ImageOf(const Raster& raster) {
    if (raster.width < 1 || raster.height < 1) return {};
    return QImage(reinterpret_cast<const uchar*>(raster.pixels.data()), raster.width, raster.height,
                  qsizetype(raster.width) * 4, QImage::Format_RGB32);
}

bool SaveRasterPng(const std::string& path, const Raster& raster) {
    const QImage image = ImageOf(raster);
    if (image.isNull()) return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return false;
    return WriteBytes(path, bytes);
}

bool SaveSvg(const std::string& path, Size size, const DrawFunction& draw,
             const std::string& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(size.cx, size.cy));
    svg.setViewBox(QRect(0, 0, size.cx, size.cy));
    svg.setResolution(96);
    if (!title.empty()) svg.setTitle(QString::fromStdString(title));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    {
        QtDeviceContext dc(painter, QtTextMeasurer::Screen());
        draw(dc, size);
    }
    painter.end();
    return WriteBytes(path, bytes);
}

bool SavePdf(const std::string& path, Size size, const DrawFunction& draw, int dpi) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(
            QPageSize(QSizeF(size.cx * 25.4 / 96, size.cy * 25.4 / 96), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(dpi);
        QPainter painter;
        if (!painter.begin(&pdf)) return false;
        {
            QtDeviceContext dc(painter, QtTextMeasurer::Screen());
            draw(dc, {pdf.width(), pdf.height()});
        }
        painter.end();
    }
    return WriteBytes(path, bytes);
}

DeviceInfo PdfPageDevice(double widthMm, double heightMm, int dpi, double marginMm) {
    const auto dpm = static_cast<int>(std::lround(dpi / 0.0254));
    return {Technology::Printer,
            static_cast<int>((widthMm - 2 * marginMm) / 25.4 * dpi),
            static_cast<int>((heightMm - 2 * marginMm) / 25.4 * dpi),
            dpm,
            dpm,
            24};
}

bool SavePdfPages(const std::string& path, double widthMm, double heightMm, int dpi, int pages,
                  const PageFunction& draw, double marginMm) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter));
        // The painter's origin is the top left of the area inside the margins.
        pdf.setPageMargins(QMarginsF(marginMm, marginMm, marginMm, marginMm),
                           QPageLayout::Millimeter);
        pdf.setResolution(dpi);
        QPainter painter;
        if (!painter.begin(&pdf)) return false;
        for (int i = 0; i < pages; ++i) {
            if (i > 0) pdf.newPage();
            QtDeviceContext dc(painter, QtTextMeasurer::Screen(), Technology::Printer);
            draw(dc, {0, 0, pdf.width(), pdf.height()}, i);
        }
        painter.end();
    }
    return WriteBytes(path, bytes);
}

std::string RenderEmf(Size picture, const DrawFunction& draw, const std::string& description) {
    EmfContext dc(QtTextMeasurer::Screen(), EmfOptions{picture, description});
    draw(dc, picture);
    return dc.Finish();
}

bool SaveEmf(const std::string& path, Size picture, const DrawFunction& draw,
             const std::string& description) {
    return zor::WriteFileAtomic(path, RenderEmf(picture, draw, description));
}

} // namespace zor::draw
