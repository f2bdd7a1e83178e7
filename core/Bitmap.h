// Device-independent bitmap files (.bmp) as the start-up picture uses them: a 14-byte file
// header, an information header of at least 40 bytes, a colour table for 1, 4 and 8 bits per
// pixel, then the pixel rows. Pure byte processing, so that it can be tested and fuzzed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

// An RGB picture: rows from top to bottom, three bytes (red, green, blue) per pixel.
struct RgbBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height * 3 bytes

    const uint8_t* Pixel(int x, int y) const {
        return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 3];
    }
};

// Largest picture accepted, in pixels per side and in total.
inline constexpr int MaxBitmapSide = 16384;
inline constexpr int64_t MaxBitmapPixels = int64_t(32) << 20;

// Decodes an uncompressed bitmap file with 1, 4, 8, 16 (5-5-5, or bit-field masks) or 24 bits
// per pixel, bottom-up or top-down. A file that is truncated, lies about its sizes or offsets,
// uses another depth or a compression gives nullopt.
std::optional<RgbBitmap> ParseBitmapFile(std::string_view bytes);

// Reads and decodes a bitmap file; nullopt when it is missing or not a valid bitmap.
std::optional<RgbBitmap> LoadBitmapFile(const std::string& path);

} // namespace zor
