// Bitmap files of every depth the start-up picture accepts, and files that lie or are cut short.
#include "core/Bitmap.h"
#include "core/Bytes.h"
#include "tests/support/Fixture.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace zor {
namespace {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

Rgb At(const RgbBitmap& bmp, int x, int y) {
    const uint8_t* p = bmp.Pixel(x, y);
    return {p[0], p[1], p[2]};
}

// Writes a bitmap file. `rows` are the stored rows in file order (bottom row first for a
// positive height), each already padded to the stride by the writer.
struct BmpSpec {
    int width = 0;
    int height = 0;
    int bits = 24;
    uint32_t compression = 0;
    std::vector<Rgb> palette;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> masks; // written after the header for compression 3
    std::vector<std::string> rows;
    uint32_t imageSizeField = 0;
    bool writeImageSize = true;
    int64_t pixelOffsetOverride = -1;
    int64_t fileSizeOverride = -1;
    uint32_t headerSize = 40;
    uint16_t planes = 1;
};

std::string Stride(std::string row, int width, int bits) {
    size_t stride = ((size_t(width) * size_t(bits) + 31) / 32) * 4;
    row.resize(stride, '\0');
    return row;
}

std::string WriteBmp(const BmpSpec& s) {
    std::string pixels;
    for (const auto& row : s.rows) pixels += Stride(row, std::abs(s.width), s.bits);
    ByteWriter info;
    info.u32(s.headerSize);
    info.i32(s.width);
    info.i32(s.height);
    info.u16(s.planes);
    info.u16(uint16_t(s.bits));
    info.u32(s.compression);
    info.u32(s.writeImageSize ? (s.imageSizeField ? s.imageSizeField : uint32_t(pixels.size()))
                              : 0);
    info.u32(2835);
    info.u32(2835);
    info.u32(s.colorsUsed);
    info.u32(0);
    if (s.headerSize > 40) info.zeros(s.headerSize - 40);
    for (uint32_t m : s.masks) info.u32(m);
    for (const Rgb& c : s.palette) {
        info.u8(c.b);
        info.u8(c.g);
        info.u8(c.r);
        info.u8(0);
    }
    const uint32_t offset =
        s.pixelOffsetOverride >= 0 ? uint32_t(s.pixelOffsetOverride) : uint32_t(14 + info.size());
    const uint32_t total = uint32_t(14 + info.size() + pixels.size());
    ByteWriter file;
    file.bytes("BM");
    file.u32(s.fileSizeOverride >= 0 ? uint32_t(s.fileSizeOverride) : total);
    file.u32(0);
    file.u32(offset);
    return file.data() + info.data() + pixels;
}

std::string Bgr(std::initializer_list<Rgb> px) {
    std::string s;
    for (const Rgb& c : px) {
        s += char(c.b);
        s += char(c.g);
        s += char(c.r);
    }
    return s;
}

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kBlack{0, 0, 0}, kGrey{128, 128, 128};

BmpSpec TwentyFourBit() {
    // 3 x 2, rows of 9 bytes padded to 12; the first stored row is the bottom one.
    BmpSpec s;
    s.width = 3;
    s.height = 2;
    s.rows = {Bgr({kRed, kGreen, kBlue}), Bgr({kWhite, kBlack, kGrey})};
    return s;
}

TEST(Bitmap, TwentyFourBitsBottomUpAndTopDown) {
    auto bmp = ParseBitmapFile(WriteBmp(TwentyFourBit()));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmp->width, 3);
    EXPECT_EQ(bmp->height, 2);
    EXPECT_EQ(At(*bmp, 0, 1), kRed);
    EXPECT_EQ(At(*bmp, 2, 1), kBlue);
    EXPECT_EQ(At(*bmp, 0, 0), kWhite);
    EXPECT_EQ(At(*bmp, 2, 0), kGrey);

    BmpSpec s = TwentyFourBit();
    s.height = -2; // rows stored top first
    auto top = ParseBitmapFile(WriteBmp(s));
    ASSERT_TRUE(top.has_value());
    EXPECT_EQ(top->height, 2);
    EXPECT_EQ(At(*top, 0, 0), kRed);
    EXPECT_EQ(At(*top, 1, 1), kBlack);
}

TEST(Bitmap, ImageSizeZeroMeansStrideTimesHeight) {
    BmpSpec s = TwentyFourBit();
    s.writeImageSize = false;
    auto bmp = ParseBitmapFile(WriteBmp(s));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(At(*bmp, 1, 1), kGreen);
}

TEST(Bitmap, PalettedDepths) {
    // 1 bit, 10 pixels wide: the row spans two bytes, most significant bit first.
    BmpSpec one;
    one.width = 10;
    one.height = 1;
    one.bits = 1;
    one.palette = {kBlack, kWhite};
    one.rows = {std::string{char(0b10100000), char(0b01000000)}};
    auto b1 = ParseBitmapFile(WriteBmp(one));
    ASSERT_TRUE(b1.has_value());
    EXPECT_EQ(At(*b1, 0, 0), kWhite);
    EXPECT_EQ(At(*b1, 1, 0), kBlack);
    EXPECT_EQ(At(*b1, 2, 0), kWhite);
    EXPECT_EQ(At(*b1, 8, 0), kBlack);
    EXPECT_EQ(At(*b1, 9, 0), kWhite);

    // 4 bits, high nibble first, full 16-entry table.
    BmpSpec four;
    four.width = 3;
    four.height = 1;
    four.bits = 4;
    four.palette.assign(16, kBlack);
    four.palette[1] = kRed;
    four.palette[15] = kBlue;
    four.rows = {std::string{char(0x1F), char(0x10)}};
    auto b4 = ParseBitmapFile(WriteBmp(four));
    ASSERT_TRUE(b4.has_value());
    EXPECT_EQ(At(*b4, 0, 0), kRed);
    EXPECT_EQ(At(*b4, 1, 0), kBlue);
    EXPECT_EQ(At(*b4, 2, 0), kRed);

    // 8 bits with a table of three entries: an index beyond it is black.
    BmpSpec eight;
    eight.width = 4;
    eight.height = 1;
    eight.bits = 8;
    eight.palette = {kGrey, kGreen, kWhite};
    eight.colorsUsed = 3;
    eight.rows = {std::string{0, 1, 2, char(200)}};
    auto b8 = ParseBitmapFile(WriteBmp(eight));
    ASSERT_TRUE(b8.has_value());
    EXPECT_EQ(At(*b8, 0, 0), kGrey);
    EXPECT_EQ(At(*b8, 1, 0), kGreen);
    EXPECT_EQ(At(*b8, 2, 0), kWhite);
    EXPECT_EQ(At(*b8, 3, 0), kBlack);
}

TEST(Bitmap, SixteenBits) {
    // Default 5-5-5: 0x7C00 is full red, 0x001F full blue.
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = 16;
    s.rows = {std::string{0x00, 0x7C, 0x1F, 0x00}};
    auto b = ParseBitmapFile(WriteBmp(s));
    ASSERT_TRUE(b.has_value());
    EXPECT_EQ(At(*b, 0, 0), kRed);
    EXPECT_EQ(At(*b, 1, 0), kBlue);

    // Bit fields 5-6-5 after the header: 0x07E0 is full green.
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.rows = {std::string{char(0xE0), 0x07, 0x00, char(0xF8)}};
    auto f = ParseBitmapFile(WriteBmp(s));
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(At(*f, 0, 0), kGreen);
    EXPECT_EQ(At(*f, 1, 0), kRed);

    // Overlapping or empty masks are not a picture.
    s.masks = {0xF800, 0, 0x001F};
    EXPECT_FALSE(ParseBitmapFile(WriteBmp(s)).has_value());
    s.masks = {0xF0F0, 0x0F00, 0x000F};
    EXPECT_FALSE(ParseBitmapFile(WriteBmp(s)).has_value());
}

TEST(Bitmap, EveryTruncationIsRejected) {
    const std::string full = WriteBmp(TwentyFourBit());
    ASSERT_TRUE(ParseBitmapFile(full).has_value());
    for (size_t n = 0; n < full.size(); ++n)
        EXPECT_FALSE(ParseBitmapFile(full.substr(0, n)).has_value()) << "length " << n;

    // Cut short and with the file size patched to match: the pixels no longer fit.
    BmpSpec s = TwentyFourBit();
    std::string cut = WriteBmp(s);
    cut.resize(cut.size() - 1);
    cut[2] = char(cut.size());
    EXPECT_FALSE(ParseBitmapFile(cut).has_value());
}

TEST(Bitmap, FilesThatLieAboutTheirSizes) {
    auto rejects = [](BmpSpec s) { return !ParseBitmapFile(WriteBmp(s)).has_value(); };
    BmpSpec s = TwentyFourBit();
    s.imageSizeField = 10; // fewer bytes than the rows need
    EXPECT_TRUE(rejects(s));
    s = TwentyFourBit();
    s.imageSizeField = 1000; // more bytes than the file holds
    EXPECT_TRUE(rejects(s));
    s = TwentyFourBit();
    s.pixelOffsetOverride = 5000;
    EXPECT_TRUE(rejects(s));
    s = TwentyFourBit();
    s.pixelOffsetOverride = 20; // inside the information header
    EXPECT_TRUE(rejects(s));
    s = TwentyFourBit();
    s.fileSizeOverride = 4000;
    EXPECT_TRUE(rejects(s));
    s = TwentyFourBit();
    s.width = 30000; // larger than the pixels present, and than any accepted picture
    EXPECT_TRUE(rejects(s));
    s = TwentyFourBit();
    s.width = 5000;
    s.height = 5000; // a plausible size whose pixels are not there
    s.writeImageSize = false;
    EXPECT_TRUE(rejects(s));
    s = TwentyFourBit();
    s.height = int(0x80000000u);
    EXPECT_TRUE(rejects(s));
    s = TwentyFourBit();
    s.width = -3;
    EXPECT_TRUE(rejects(s));
    // An information header that claims to be larger than the file.
    std::string huge = WriteBmp(TwentyFourBit());
    huge[17] = 0x7F;
    EXPECT_FALSE(ParseBitmapFile(huge).has_value());

    // A palette that overruns the pixel offset.
    BmpSpec p;
    p.width = 1;
    p.height = 1;
    p.bits = 8;
    p.palette = {kRed, kGreen};
    p.colorsUsed = 2;
    p.rows = {std::string{1}};
    ASSERT_FALSE(rejects(p));
    p.pixelOffsetOverride = 14 + 40 + 4;
    EXPECT_TRUE(rejects(p));
}

TEST(Bitmap, UnsupportedFormats) {
    BmpSpec s = TwentyFourBit();
    s.bits = 32;
    EXPECT_FALSE(ParseBitmapFile(WriteBmp(s)).has_value());
    s = TwentyFourBit();
    s.compression = 1; // run-length encoded
    EXPECT_FALSE(ParseBitmapFile(WriteBmp(s)).has_value());
    s = TwentyFourBit();
    s.planes = 2;
    EXPECT_FALSE(ParseBitmapFile(WriteBmp(s)).has_value());
    std::string notBmp = WriteBmp(TwentyFourBit());
    notBmp[0] = 'X';
    EXPECT_FALSE(ParseBitmapFile(notBmp).has_value());
}

TEST(Bitmap, LargerInformationHeader) {
    // A 124-byte header: the colour table and pixels follow it.
    BmpSpec s;
    s.headerSize = 124;
    s.width = 1;
    s.height = 1;
    s.bits = 8;
    s.palette = {kBlue};
    s.colorsUsed = 1;
    s.rows = {std::string{0}};
    auto b = ParseBitmapFile(WriteBmp(s));
    ASSERT_TRUE(b.has_value());
    EXPECT_EQ(At(*b, 0, 0), kBlue);
}

TEST(Bitmap, LoadsFromFile) {
    test::TempDir dir;
    EXPECT_FALSE(LoadBitmapFile(dir.file("front.bmp")).has_value());
    test::WriteFile(dir.file("FRONT.BMP"), WriteBmp(TwentyFourBit()));
    auto bmp = LoadBitmapFile(dir.file("front.bmp"));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmp->width, 3);
}

} // namespace
} // namespace zor
