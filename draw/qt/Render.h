// Rendering a drawing to pictures: an image, PNG, SVG and PDF files, and enhanced metafiles
// measured with the screen fonts. The drawing is a callback that gets a device context and the
// device size in pixels (the rectangle a view maps its logical space onto). Files are replaced
// atomically. Needs a QGuiApplication.
#pragma once

#include "draw/DeviceContext.h"

#include <QImage>

#include <functional>
#include <string>

namespace zor::draw {

using DrawFunction = std::function<void(DeviceContext& dc, Size device)>;

// A new 32-bit image of `size` pixels filled with `background`, drawn on as a display.
QImage RenderImage(Size size, const DrawFunction& draw, Color background = White);

bool SavePng(const std::string& path, Size size, const DrawFunction& draw,
             Color background = White);
// An SVG whose view box is `size` pixels.
bool SaveSvg(const std::string& path, Size size, const DrawFunction& draw,
             const std::string& title = {});
// A one-page PDF as large as `size` pixels at 96 dpi, drawn at `dpi` device pixels per inch.
bool SavePdf(const std::string& path, Size size, const DrawFunction& draw, int dpi = 600);

// Enhanced metafile bytes (see EmfWriter.h) with text measured by the screen measurer.
std::string RenderEmf(Size picture, const DrawFunction& draw, const std::string& description);
bool SaveEmf(const std::string& path, Size picture, const DrawFunction& draw,
             const std::string& description);

} // namespace zor::draw
