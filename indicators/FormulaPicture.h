// The pictures of the formula types in the editor's type list: each formula drawn in two
// dimensions (a division as a fraction with its bar), left-aligned and centred vertically in an
// item 47 pixels high; the moving average as its caption, centred and word-wrapped. Device
// pixels, y down, in the font the caller selected.
#pragma once

#include "draw/DeviceContext.h"

#include <string>
#include <string_view>
#include <vector>

namespace zor::indicators {

// Height of an item of the type list (pixels).
inline constexpr int FormulaItemHeight = 47;
// The formula's distance from the item's left edge (pixels).
inline constexpr int FormulaIndent = 4;

// The parts of a drawn formula: texts by their top-left corner and the fraction bars.
struct FormulaLayout {
    struct Piece {
        std::string text;
        int x = 0, y = 0, width = 0, height = 0;
    };
    struct Bar {
        int left = 0, right = 0, y = 0;
    };
    std::vector<Piece> pieces;
    std::vector<Bar> bars;
    bool wrapped = false; // the caption of type 7, drawn by TextBox in `cell`
    std::string caption;
    draw::Rect cell;
    draw::Rect bounds; // around the pieces and bars
};

// The layout of type 1..7 in `cell`; `movingAverage` is the caption of type 7. Nothing for
// other types.
FormulaLayout LayoutFormula(const draw::DeviceContext& dc, int type, const draw::Rect& cell,
                            std::string_view movingAverage);

// Draws it in `color` with a transparent background.
void DrawFormula(draw::DeviceContext& dc, const FormulaLayout& layout, draw::Color color);

} // namespace zor::indicators
