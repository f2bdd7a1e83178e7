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

using Palette = std::vector<std::array<uint8_t, 3>>; // {red, green, blue} per entry

// What the file and information headers say, checked against each other and the file size.
struct BitmapHeader {
    uint32_t pixelOffset = 0; // 0: right after the headers and the colour table
    uint32_t headerSize = 0;  // of the information header
    int32_t width = 0;
    int64_t height = 0; // positive; rows are stored bottom-up unless topDown
    bool topDown = false;
    uint16_t bitCount = 0; // 1, 4, 8, 16 or 24
    uint32_t compression = CompressionRgb;
    uint32_t imageSize = 0; // 0: not given
    uint32_t colorsUsed = 0;
};

std::optional<BitmapHeader> ReadHeaders(std::string_view bytes) {
    if (bytes.size() < FileHeaderSize + InfoHeaderSize) return std::nullopt;
    ByteReader r(bytes);
    if (r.bytes(2) != "BM") return std::nullopt;
    BitmapHeader h;
    const uint32_t fileSize = r.u32();
    r.skip(4); // reserved
    h.pixelOffset = r.u32();

    h.headerSize = r.u32();
    h.width = r.i32();
    const int32_t rawHeight = r.i32();
    const uint16_t planes = r.u16();
    h.bitCount = r.u16();
    h.compression = r.u32();
    h.imageSize = r.u32();
    r.skip(8); // resolution
    h.colorsUsed = r.u32();
    if (!r.ok()) return std::nullopt;

    // A file header that announces more bytes than there are: the file was cut short.
    if (fileSize != 0 && fileSize > bytes.size()) return std::nullopt;
    if (h.headerSize < InfoHeaderSize || h.headerSize > bytes.size() - FileHeaderSize)
        return std::nullopt;
    if (planes != 1) return std::nullopt;
    const uint16_t bits = h.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24) return std::nullopt;
    if (h.compression != CompressionRgb && !(h.compression == CompressionBitFields && bits == 16))
        return std::nullopt;
    if (h.width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return std::nullopt;
    h.topDown = rawHeight < 0;
    h.height = h.topDown ? -int64_t(rawHeight) : int64_t(rawHeight);
    if (h.width > MaxBitmapSide || h.height > MaxBitmapSide ||
        int64_t(h.width) * h.height > MaxBitmapPixels)
        return std::nullopt;
    return h;
}

// Colour masks of 16-bit pixels: three double words after a 40-byte header, or inside a larger
// header; the default is 5-5-5. Masks after the header move `tableStart` past them.
std::optional<std::array<Channel, 3>> ReadChannels(std::string_view bytes, const BitmapHeader& h,
                                                   uint64_t& tableStart) {
    std::array<uint32_t, 3> masks{0x7C00, 0x03E0, 0x001F};
    if (h.compression == CompressionBitFields) {
        ByteReader r(bytes);
        r.seek(size_t{FileHeaderSize} + InfoHeaderSize);
        for (auto& m : masks) m = r.u32();
        if (!r.ok()) return std::nullopt;
        if (h.headerSize == InfoHeaderSize) tableStart += 12;
    }
    std::array<Channel, 3> channels;
    for (size_t i = 0; i < channels.size(); ++i) {
        auto c = Channel::FromMask(masks[i]);
        if (!c) return std::nullopt;
        channels[i] = *c;
    }
    return channels;
}

// Colour table: 2, 16 or 256 entries of {blue, green, red, reserved}, fewer when the header says
// how many are used; none above 8 bits per pixel. Moves `tableStart` past the table.
std::optional<Palette> ReadPalette(std::string_view bytes, const BitmapHeader& h,
                                   uint64_t& tableStart) {
    Palette palette;
    if (h.bitCount > 8) return palette;
    uint32_t entries = 1u << h.bitCount;
    if (h.colorsUsed != 0 && h.colorsUsed < entries) entries = h.colorsUsed;
    ByteReader r(bytes);
    r.seek(size_t(tableStart));
    palette.resize(entries);
    for (auto& c : palette) {
        const uint8_t b = r.u8(), g = r.u8(), red = r.u8();
        r.u8();
        c = {red, g, b};
    }
    if (!r.ok()) return std::nullopt;
    tableStart += uint64_t(entries) * 4;
    return palette;
}

// Where the pixel rows start and how many bytes each takes.
struct PixelRows {
    uint64_t start = 0;
    uint64_t stride = 0;
};

// The pixels start where the file header says, which must lie after the headers and the colour
// table (which end at `tableEnd`); an offset of 0 means right after them. All rows must be there.
std::optional<PixelRows> LocatePixels(std::string_view bytes, const BitmapHeader& h,
                                      uint64_t tableEnd) {
    PixelRows rows;
    rows.start = h.pixelOffset != 0 ? uint64_t(h.pixelOffset) : tableEnd;
    if (rows.start < tableEnd || rows.start > bytes.size()) return std::nullopt;
    rows.stride = ((uint64_t(h.width) * h.bitCount + 31) / 32) * 4;
    const uint64_t needed = rows.stride * uint64_t(h.height);
    const uint64_t imageSize = h.imageSize != 0 ? h.imageSize : needed;
    if (imageSize < needed || imageSize > bytes.size() - rows.start) return std::nullopt;
    return rows;
}

// Decodes the rows, which LocatePixels found complete, into top-to-bottom RGB.
RgbBitmap DecodePixels(std::string_view bytes, const BitmapHeader& h, const PixelRows& rows,
                       const std::array<Channel, 3>& channels, const Palette& palette) {
    RgbBitmap bmp;
    bmp.width = h.width;
    bmp.height = int(h.height);
    bmp.pixels.resize(size_t(h.width) * size_t(h.height) * 3);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data()) + rows.start;
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
    for (int64_t row = 0; row < h.height; ++row) {
        const uint8_t* src = data + size_t(row) * size_t(rows.stride);
        const int64_t y = h.topDown ? row : h.height - 1 - row;
        uint8_t* out = &bmp.pixels[size_t(y) * size_t(h.width) * 3];
        for (size_t x = 0; x < size_t(h.width); ++x, out += 3) {
            switch (h.bitCount) {
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

} // namespace

std::optional<RgbBitmap> ParseBitmapFile(std::string_view bytes) {
    const auto header = ReadHeaders(bytes);
    if (!header) return std::nullopt;
    uint64_t tableStart = uint64_t(FileHeaderSize) + header->headerSize;
    const auto channels = ReadChannels(bytes, *header, tableStart);
    if (!channels) return std::nullopt;
    const auto palette = ReadPalette(bytes, *header, tableStart);
    if (!palette) return std::nullopt;
    const auto rows = LocatePixels(bytes, *header, tableStart);
    if (!rows) return std::nullopt;
    return DecodePixels(bytes, *header, *rows, *channels, *palette);
}

std::optional<RgbBitmap> LoadBitmapFile(const std::string& path) {
    // The largest valid file: the largest picture at 24 bits, with headers and some slack.
    const size_t maxBytes = size_t(MaxBitmapPixels) * 3 + (size_t(1) << 20);
    auto bytes = ReadWholeFile(path, maxBytes);
    if (!bytes) return std::nullopt;
    return ParseBitmapFile(*bytes);
}

} // namespace zor
