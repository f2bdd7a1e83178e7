// A picture in memory: 32-bit pixels 0xffRRGGBB, rows from the top, without padding between
// rows (the layout of an RGB32 image). The slide show hands its frames over as rasters; the Qt
// backend draws on them (draw/qt/Render.h).
#pragma once

#include "draw/Style.h"

#include <cstdint>
#include <vector>

namespace zor::draw {

// The pixel of a colour.
constexpr uint32_t PixelOf(Color c) {
    return 0xFF000000u | uint32_t(RedOf(c)) << 16 | uint32_t(GreenOf(c)) << 8 | uint32_t(BlueOf(c));
}
// The colour of a pixel (its alpha is ignored).
constexpr Color ColorOfPixel(uint32_t pixel) {
    return Rgb(int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF));
}

struct Raster {
    Raster() = default;
    // A raster of width × height pixels (negative sizes count as 0) filled with `fill`.
    Raster(int w, int h, Color fill = White)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          pixels(size_t(width) * size_t(height), PixelOf(fill)) {}

    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }

    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

} // namespace zor::draw
