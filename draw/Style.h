// Colours, pens, brushes, fonts and the attribute flags of the device context. Everything is a
// plain value: a backend realises it when it draws, so selecting the same pen twice is free and
// nothing has to be deleted. Enumerator values are the Windows GDI codes, which the metafile
// writer stores unchanged.
#pragma once

#include <cstdint>
#include <string>

namespace zor::draw {

// A colour as 0x00BBGGRR (the layout of a Windows COLORREF).
using Color = uint32_t;

constexpr Color Rgb(int r, int g, int b) {
    return Color(r & 0xFF) | Color(g & 0xFF) << 8 | Color(b & 0xFF) << 16;
}
constexpr int RedOf(Color c) {
    return int(c & 0xFF);
}
constexpr int GreenOf(Color c) {
    return int(c >> 8 & 0xFF);
}
constexpr int BlueOf(Color c) {
    return int(c >> 16 & 0xFF);
}

inline constexpr Color Black = Rgb(0, 0, 0);
inline constexpr Color White = Rgb(255, 255, 255);

enum class PenStyle : uint32_t { Solid = 0, Dot = 2, Null = 5 };

// A pen. Width is in logical units; 0 means one device pixel whatever the mapping. A dotted pen
// wider than one device pixel draws solid (as GDI does), so dotted pens are given width 0.
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 0;
    Color color = Black;

    bool operator==(const Pen&) const = default;
    static Pen Solid(int width, Color color) { return {PenStyle::Solid, width, color}; }
    static Pen Dotted(Color color) { return {PenStyle::Dot, 0, color}; }
    static Pen None() { return {PenStyle::Null, 0, Black}; }
};

enum class BrushStyle : uint32_t { Solid = 0, Hollow = 1, Hatched = 2 };

// Hatch patterns: lines one device pixel wide, 8 device pixels apart, aligned to the device
// origin.
enum class Hatch : uint32_t {
    Horizontal = 0,
    Vertical = 1,
    ForwardDiagonal = 2, // top left to bottom right
    BackwardDiagonal = 3,
    Cross = 4,
    DiagonalCross = 5,
};

// A brush. A hatched brush draws its lines in `color`; between them it shows the background
// colour when the background mode is opaque and leaves the destination alone when it is
// transparent.
struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Color color = White;
    Hatch hatch = Hatch::DiagonalCross;

    bool operator==(const Brush&) const = default;
    static Brush Solid(Color color) { return {BrushStyle::Solid, color, Hatch::DiagonalCross}; }
    static Brush Hatched(Hatch hatch, Color color) { return {BrushStyle::Hatched, color, hatch}; }
    static Brush Hollow() { return {BrushStyle::Hollow, Black, Hatch::DiagonalCross}; }
};

// A font as the views describe it.
//  - height, logical units: > 0 is the cell height (ascent + descent), < 0 the character (em)
//    height, 0 stands for a cell height of 16.
//  - weight 100..900 (400 regular, 700 bold); 0 counts as 400.
//  - escapement, tenths of a degree, counter-clockwise as seen on the device whatever the
//    mapping: 900 reads upwards, 2700 downwards. Text is never mirrored by a y-up mapping.
//  - charset: the Windows charset byte (0 Western, 238 Central European, 204 Cyrillic, ...).
//  - quality and pitchAndFamily are passed through to metafiles; the program uses proof
//    quality (2) and variable pitch with the Swiss family (18).
struct Font {
    std::string face = "Arial";
    int height = 0;
    int weight = 400;
    bool italic = false;
    int escapement = 0;
    int charset = 0;
    int quality = 2;
    int pitchAndFamily = 18;

    bool operator==(const Font&) const = default;
};

enum class BkMode : uint32_t { Transparent = 1, Opaque = 2 };

// How pens and brushes combine with the destination (text is always drawn plainly).
enum class Rop2 : uint32_t {
    CopyPen = 13, // the colour replaces the destination
    XorPen = 7,   // colour XOR destination; a white pen inverts, drawing twice restores
    MaskPen = 9,  // colour AND destination; black hatch lines over a filled area
};

// Text alignment of Text(): where the reference point lies on the text. One horizontal value
// combined with one vertical value. Center contains the Right bit, so test with the masks.
namespace ta {
inline constexpr unsigned Left = 0;
inline constexpr unsigned Right = 2;
inline constexpr unsigned Center = 6;
inline constexpr unsigned Top = 0;
inline constexpr unsigned Bottom = 8;
inline constexpr unsigned Baseline = 24;
inline constexpr unsigned HorizontalMask = 6;
inline constexpr unsigned VerticalMask = 24;
} // namespace ta

// Format flags of TextBox() and MeasureTextBox() (the DrawText flags of GDI).
namespace dt {
inline constexpr unsigned Left = 0;
inline constexpr unsigned Center = 1;
inline constexpr unsigned Right = 2;
inline constexpr unsigned Top = 0;
inline constexpr unsigned VCenter = 4;
inline constexpr unsigned Bottom = 8;
inline constexpr unsigned WordBreak = 0x10;
inline constexpr unsigned SingleLine = 0x20;
inline constexpr unsigned NoClip = 0x100;
} // namespace dt

} // namespace zor::draw
