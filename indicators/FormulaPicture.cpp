#include "indicators/FormulaPicture.h"

#include "indicators/TempEditor.h"

#include <algorithm>

namespace zor::indicators {

namespace {

// A formula as a row of atoms: a text, or a fraction of two texts.
struct Atom {
    std::string text;        // a text; the numerator of a fraction
    std::string denominator; // empty: not a fraction
};

// "×" and "−" in UTF-8.
constexpr const char* Times = "\xC3\x97";
constexpr const char* Minus = "\xE2\x88\x92";

std::vector<Atom> AtomsOf(int type) {
    const std::string times = Times, minus = Minus;
    const std::string before = "I(y" + minus + "1)";
    switch (type) {
    case Ratio:
        return {{"C " + times, ""}, {"I1", "I2"}};
    case Product:
        return {{"C " + times + " (I1 " + times + " I2)", ""}};
    case Sum:
        return {{"I1 + I2", ""}};
    case Difference:
        return {{"I1 " + minus + " I2", ""}};
    case Change:
        return {{"I(y) " + minus + " " + before, ""}};
    case RelativeChange:
        return {{"C " + times, ""}, {"I(y) " + minus + " " + before, before}};
    default:
        return {};
    }
}

// Room above and below a fraction's bar, and beyond its longer part.
constexpr int BarGap = 1;
constexpr int BarOverhang = 2;

} // namespace

FormulaLayout LayoutFormula(const draw::DeviceContext& dc, int type, const draw::Rect& cell,
                            std::string_view movingAverage) {
    FormulaLayout layout;
    layout.cell = cell;
    if (type == MovingAverage) {
        layout.wrapped = true;
        layout.caption = std::string(movingAverage);
        layout.bounds =
            dc.MeasureTextBox(layout.caption, cell, draw::dt::Center | draw::dt::WordBreak);
        return layout;
    }
    const std::vector<Atom> atoms = AtomsOf(type);
    if (atoms.empty()) return layout;

    const int gap = dc.TextExtent(" ").cx;
    const int middle = (cell.top + cell.bottom) / 2;
    int x = cell.left + FormulaIndent;
    for (const Atom& atom : atoms) {
        const draw::Size top = dc.TextExtent(atom.text);
        if (atom.denominator.empty()) {
            layout.pieces.push_back({atom.text, x, middle - top.cy / 2, top.cx, top.cy});
            x += top.cx + gap;
            continue;
        }
        const draw::Size bottom = dc.TextExtent(atom.denominator);
        const int width = std::max(top.cx, bottom.cx) + 2 * BarOverhang;
        layout.pieces.push_back(
            {atom.text, x + (width - top.cx) / 2, middle - BarGap - top.cy, top.cx, top.cy});
        layout.pieces.push_back({atom.denominator, x + (width - bottom.cx) / 2, middle + BarGap + 1,
                                 bottom.cx, bottom.cy});
        layout.bars.push_back({x, x + width, middle});
        x += width + gap;
    }
    draw::Rect bounds{};
    for (const auto& p : layout.pieces)
        bounds = draw::Union(bounds, {p.x, p.y, p.x + p.width, p.y + p.height});
    for (const auto& b : layout.bars) bounds = draw::Union(bounds, {b.left, b.y, b.right, b.y + 1});
    layout.bounds = bounds;
    return layout;
}

void DrawFormula(draw::DeviceContext& dc, const FormulaLayout& layout, draw::Color color) {
    draw::StateSaver saver(dc);
    dc.SetTextColor(color);
    dc.SetBkMode(draw::BkMode::Transparent);
    if (layout.wrapped) {
        dc.TextBox(layout.caption, layout.cell,
                   draw::dt::Center | draw::dt::VCenter | draw::dt::WordBreak);
        return;
    }
    dc.SetTextAlign(draw::ta::Left | draw::ta::Top);
    for (const auto& p : layout.pieces) dc.Text(p.x, p.y, p.text);
    dc.SetPen(draw::Pen::Solid(0, color));
    for (const auto& b : layout.bars) {
        dc.MoveTo(b.left, b.y);
        dc.LineTo(b.right, b.y);
    }
}

} // namespace zor::indicators
