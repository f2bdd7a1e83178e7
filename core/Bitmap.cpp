#include "core/Bitmap.h"

#include "core/Bytes.h"
#include "core/FileUtil.h"

#include <array>

namespace zor {

namespace {

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t CompressionRgb = 0;
constexpr uint32_t CompressionBitFields = 3;

// One channel of a 16-bit pixel described by a contiguous bit mask.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    static std::optional<Channel> FromMask(uint32_t mask) {
        if (mask == 0 || mask > 0xFFFF) return std::nullopt;
        Channel c;
        c.mask = mask;
        while (!((mask >> c.shift) & 1)) ++c.shift;
        uint32_t m = mask >> c.shift;
        while (m & 1) {
            ++c.bits;
            m >>= 1;
        }
        if (m != 0) return std::nullopt; // not contiguous
        return c;
    }

    uint8_t Expand(uint32_t px) const {
        uint32_t v = (px & mask) >> shift;
        if (bits >= 8) return uint8_t(v >> (bits - 8));
        // Scale to 8 bits so that the largest value becomes 255.
        uint32_t max = (1u << bits) - 1;
        return uint8_t((v * 255 + max / 2) / max);
    }
};

} // namespace

std::optional<RgbBitmap> ParseBitmapFile(std::string_view bytes) {
    if (bytes.size() < FileHeaderSize + InfoHeaderSize) return std::nullopt;
    ByteReader r(bytes);
    if (r.bytes(2) != "BM") return std::nullopt;
    const uint32_t fileSize = r.u32();
    r.skip(4); // reserved
    const uint32_t pixelOffset = r.u32();

    const uint32_t headerSize = r.u32();
    const int32_t width = r.i32();
    const int32_t rawHeight = r.i32();
    const uint16_t planes = r.u16();
    const uint16_t bitCount = r.u16();
    const uint32_t compression = r.u32();
    const uint32_t imageSizeField = r.u32();
    r.skip(8); // resolution
    const uint32_t colorsUsed = r.u32();
    if (!r.ok()) return std::nullopt;

    // A file header that announces more bytes than there are: the file was cut short.
    if (fileSize != 0 && fileSize > bytes.size()) return std::nullopt;
    if (headerSize < InfoHeaderSize || headerSize > bytes.size() - FileHeaderSize)
        return std::nullopt;
    if (planes != 1) return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24)
        return std::nullopt;
    if (compression != CompressionRgb && !(compression == CompressionBitFields && bitCount == 16))
        return std::nullopt;
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return std::nullopt;
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -int64_t(rawHeight) : int64_t(rawHeight);
    if (width > MaxBitmapSide || height > MaxBitmapSide ||
        int64_t(width) * height > MaxBitmapPixels)
        return std::nullopt;

    // Colour masks of 16-bit pixels: three double words after a 40-byte header, or inside a
    // larger header; the default is 5-5-5.
    uint64_t tableStart = uint64_t(FileHeaderSize) + headerSize;
    std::array<uint32_t, 3> masks{0x7C00, 0x03E0, 0x001F};
    if (compression == CompressionBitFields) {
        r.seek(size_t{FileHeaderSize} + InfoHeaderSize);
        for (auto& m : masks) m = r.u32();
        if (!r.ok()) return std::nullopt;
        if (headerSize == InfoHeaderSize) tableStart += 12;
    }
    std::array<Channel, 3> channels;
    for (size_t i = 0; i < 3; ++i) {
        auto c = Channel::FromMask(masks[i]);
        if (!c) return std::nullopt;
        channels[i] = *c;
    }

    // Colour table: 2, 16 or 256 entries of {blue, green, red, reserved}, fewer when the header
    // says how many are used.
    std::vector<std::array<uint8_t, 3>> palette;
    if (bitCount <= 8) {
        uint32_t entries = 1u << bitCount;
        if (colorsUsed != 0 && colorsUsed < entries) entries = colorsUsed;
        r.seek(size_t(tableStart));
        palette.resize(entries);
        for (auto& c : palette) {
            const uint8_t b = r.u8(), g = r.u8(), red = r.u8();
            r.u8();
            c = {red, g, b};
        }
        if (!r.ok()) return std::nullopt;
        tableStart += uint64_t(entries) * 4;
    }

    // The pixels start where the file header says, which must lie after the headers and the
    // colour table; an offset of 0 means right after them.
    const uint64_t start = pixelOffset != 0 ? uint64_t(pixelOffset) : tableStart;
    if (start < tableStart || start > bytes.size()) return std::nullopt;
    const uint64_t stride = ((uint64_t(width) * bitCount + 31) / 32) * 4;
    const uint64_t needed = stride * uint64_t(height);
    const uint64_t imageSize = imageSizeField != 0 ? imageSizeField : needed;
    if (imageSize < needed || imageSize > bytes.size() - start) return std::nullopt;

    RgbBitmap bmp;
    bmp.width = width;
    bmp.height = int(height);
    bmp.pixels.resize(size_t(width) * size_t(height) * 3);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data()) + start;
    auto fromPalette = [&](uint32_t index, uint8_t* out) {
        // An index beyond the table is drawn black.
        if (index < palette.size()) {
            out[0] = palette[index][0];
            out[1] = palette[index][1];
            out[2] = palette[index][2];
        } else {
            out[0] = out[1] = out[2] = 0;
        }
    };
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = data + size_t(row) * size_t(stride);
        const int64_t y = topDown ? row : height - 1 - row;
        uint8_t* out = &bmp.pixels[size_t(y) * size_t(width) * 3];
        for (size_t x = 0; x < size_t(width); ++x, out += 3) {
            switch (bitCount) {
            case 1:
                fromPalette((src[x >> 3] >> (7 - (x & 7))) & 1, out);
                break;
            case 4:
                fromPalette((src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF, out);
                break;
            case 8:
                fromPalette(src[x], out);
                break;
            case 16: {
                const uint32_t px = uint32_t(src[2 * x]) | uint32_t(src[2 * x + 1]) << 8;
                for (size_t c = 0; c < 3; ++c) out[c] = channels[c].Expand(px);
                break;
            }
            case 24:
                out[0] = src[3 * x + 2];
                out[1] = src[3 * x + 1];
                out[2] = src[3 * x];
                break;
            }
        }
    }
    return bmp;
}

std::optional<RgbBitmap> LoadBitmapFile(const std::string& path) {
    // The largest valid file: the largest picture at 24 bits, with headers and some slack.
    const size_t maxBytes = size_t(MaxBitmapPixels) * 3 + (size_t(1) << 20);
    auto bytes = ReadWholeFile(path, maxBytes);
    if (!bytes) return std::nullopt;
    return ParseBitmapFile(*bytes);
}

} // namespace zor
