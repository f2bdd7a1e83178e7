// The formula pictures of the type list: every part inside its 47-pixel item, fractions with
// the numerator above and the denominator below a bar as wide as both, the moving average as
// its caption.
#include "indicators/FormulaPicture.h"

#include "draw/NullContext.h"
#include "draw/RecordingContext.h"
#include "indicators/TempEditor.h"

#include <gtest/gtest.h>

namespace zor::indicators {
namespace {

struct Dc {
    draw::FixedTextMeasurer measurer;
    draw::NullContext dc{draw::DeviceInfo{}, measurer};
    Dc() {
        draw::Font f;
        f.height = 17;
        dc.SetFont(f);
    }
};

std::vector<std::string> Texts(const FormulaLayout& l) {
    std::vector<std::string> out;
    for (const auto& p : l.pieces) out.push_back(p.text);
    return out;
}

TEST(FormulaPicture, EveryTypeInsideItsItem) {
    Dc d;
    const draw::Rect cell{0, 100, 300, 100 + FormulaItemHeight};
    for (int type = Ratio; type <= RelativeChange; ++type) {
        SCOPED_TRACE(type);
        const FormulaLayout l = LayoutFormula(d.dc, type, cell, "Moving average");
        ASSERT_FALSE(l.pieces.empty());
        EXPECT_FALSE(l.wrapped);
        EXPECT_GE(l.bounds.left, cell.left + FormulaIndent);
        EXPECT_GE(l.bounds.top, cell.top);
        EXPECT_LE(l.bounds.right, cell.right);
        EXPECT_LE(l.bounds.bottom, cell.bottom);
        // Centred vertically (within a pixel).
        EXPECT_LE(std::abs((l.bounds.top - cell.top) - (cell.bottom - l.bounds.bottom)), 1);
        // Left to right without overlapping.
        for (size_t i = 1; i < l.pieces.size(); ++i)
            if (l.pieces[i].y == l.pieces[i - 1].y) {
                EXPECT_GT(l.pieces[i].x, l.pieces[i - 1].x + l.pieces[i - 1].width);
            }
    }
    EXPECT_EQ(Texts(LayoutFormula(d.dc, Sum, cell, "")), (std::vector<std::string>{"I1 + I2"}));
    EXPECT_EQ(Texts(LayoutFormula(d.dc, Difference, cell, "")),
              (std::vector<std::string>{"I1 \xE2\x88\x92 I2"}));
    EXPECT_TRUE(LayoutFormula(d.dc, NoType, cell, "").pieces.empty());
    EXPECT_TRUE(LayoutFormula(d.dc, 8, cell, "").pieces.empty());
}

TEST(FormulaPicture, DivisionsAreFractions) {
    Dc d;
    const draw::Rect cell{0, 0, 300, FormulaItemHeight};
    const FormulaLayout ratio = LayoutFormula(d.dc, Ratio, cell, "");
    EXPECT_EQ(Texts(ratio), (std::vector<std::string>{"C \xC3\x97", "I1", "I2"}));
    const FormulaLayout relative = LayoutFormula(d.dc, RelativeChange, cell, "");
    EXPECT_EQ(Texts(relative), (std::vector<std::string>{"C \xC3\x97",
                                                         "I(y) \xE2\x88\x92 I(y\xE2\x88\x92"
                                                         "1)",
                                                         "I(y\xE2\x88\x92"
                                                         "1)"}));
    for (const FormulaLayout* l : {&ratio, &relative}) {
        ASSERT_EQ(l->bars.size(), 1u);
        const auto& bar = l->bars[0];
        const auto& top = l->pieces[1];
        const auto& bottom = l->pieces[2];
        EXPECT_LE(top.y + top.height, bar.y);
        EXPECT_GT(bottom.y, bar.y);
        EXPECT_LE(bar.left, std::min(top.x, bottom.x));
        EXPECT_GE(bar.right, std::max(top.x + top.width, bottom.x + bottom.width));
        EXPECT_GT(bar.left, l->pieces[0].x + l->pieces[0].width); // after "C ×"
    }
    EXPECT_TRUE(LayoutFormula(d.dc, Product, cell, "").bars.empty());
}

TEST(FormulaPicture, TheMovingAverageIsItsCaptionWrapped) {
    Dc d;
    const draw::Rect narrow{0, 0, 90, FormulaItemHeight};
    const FormulaLayout l = LayoutFormula(d.dc, MovingAverage, narrow, "Moving average");
    EXPECT_TRUE(l.wrapped);
    EXPECT_EQ(l.caption, "Moving average");
    EXPECT_TRUE(l.pieces.empty());
    draw::RecordingContext rec;
    DrawFormula(rec, l, draw::Rgb(1, 2, 3));
    EXPECT_NE(rec.Recording().find("textbox 0 0 90 47 center|vcenter|wordbreak \"Moving average\""),
              std::string::npos)
        << rec.Recording();
    EXPECT_NE(rec.Recording().find("textcolor #010203"), std::string::npos);
}

TEST(FormulaPicture, DrawsPiecesAndBarsInTheColour) {
    Dc d;
    const FormulaLayout l = LayoutFormula(d.dc, Ratio, {0, 0, 300, FormulaItemHeight}, "");
    draw::RecordingContext rec;
    DrawFormula(rec, l, draw::Rgb(255, 255, 255));
    const std::string& r = rec.Recording();
    EXPECT_NE(r.find("bkmode transparent"), std::string::npos);
    EXPECT_NE(r.find("pen solid 0 #ffffff"), std::string::npos);
    const auto& bar = l.bars[0];
    EXPECT_NE(r.find("moveto " + std::to_string(bar.left) + " " + std::to_string(bar.y) +
                     "\nlineto " + std::to_string(bar.right) + " " + std::to_string(bar.y)),
              std::string::npos)
        << r;
    for (const auto& p : l.pieces)
        EXPECT_NE(r.find("text " + std::to_string(p.x) + " " + std::to_string(p.y)),
                  std::string::npos);
}

} // namespace
} // namespace zor::indicators
