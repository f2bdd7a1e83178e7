// Rendering a drawing to pictures: an image, PNG, SVG and PDF files, and enhanced metafiles
// measured with the screen fonts. The drawing is a callback that gets a device context and the
// device size in pixels (the rectangle a view maps its logical space onto). Files are replaced
// atomically. Needs a QGuiApplication.
#pragma once

#include "draw/DeviceContext.h"
#include "draw/Raster.h"

#include <QImage>

#include <functional>
#include <string>

namespace zor::draw {

using DrawFunction = std::function<void(DeviceContext& dc, Size device)>;

// A new 32-bit image of `size` pixels filled with `background`, drawn on as a display. With a
// `scale` above 1 the image has that many times the pixels each way and the drawing is made at
// `size` on it (as on a screen of that pixel ratio).
QImage RenderImage(Size size, const DrawFunction& draw, Color background = White, int scale = 1);

bool SavePng(const std::string& path, Size size, const DrawFunction& draw, Color background = White,
             int scale = 1);

// Draws on the pixels of a raster as on a display of its size (the drawing sees the raster's
// size as its device size).
void PaintOnRaster(Raster& raster, const DrawFunction& draw);
// An image sharing the raster's pixels (valid while the raster lives and keeps its size).
QImage ImageOf(const Raster& raster);
// A raster as a PNG file.
bool SaveRasterPng(const std::string& path, const Raster& raster);
// An SVG whose view box is `size` pixels.
bool SaveSvg(const std::string& path, Size size, const DrawFunction& draw,
             const std::string& title = {});
// A one-page PDF as large as `size` pixels at 96 dpi, drawn at `dpi` device pixels per inch.
bool SavePdf(const std::string& path, Size size, const DrawFunction& draw, int dpi = 600);

// A printed document as a PDF: paper of `widthMm` x `heightMm` with margins of `marginMm` on
// each side at `dpi` device pixels per inch, `pages` pages, each drawn as a printer page onto
// the rectangle of device pixels inside the margins (page index from 0).
using PageFunction = std::function<void(DeviceContext& dc, const Rect& page, int index)>;
bool SavePdfPages(const std::string& path, double widthMm, double heightMm, int dpi, int pages,
                  const PageFunction& draw, double marginMm = 0);
// The printer device of such a page, inside its margins (for counting pages before printing).
DeviceInfo PdfPageDevice(double widthMm, double heightMm, int dpi, double marginMm = 0);

// Enhanced metafile bytes (see EmfWriter.h) with text measured by the screen measurer.
std::string RenderEmf(Size picture, const DrawFunction& draw, const std::string& description);
bool SaveEmf(const std::string& path, Size picture, const DrawFunction& draw,
             const std::string& description);

} // namespace zor::draw
