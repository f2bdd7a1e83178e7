// The recording format: reference recordings of the sample pictures (tests/draw/data/*.rec,
// rewritten when ZOR_UPDATE_REFERENCE=1 is set) and the forms of single calls.
#include "SamplePictures.h"

#include "draw/Palette.h"
#include "draw/RecordingContext.h"

#include "tests/support/Reference.h"

#include <gtest/gtest.h>

namespace zor::draw {
namespace {

void ExpectReference(const std::string& name, const std::string& recording) {
    zor::test::ExpectReferenceIn(ZOR_DRAW_TEST_DATA, name, recording);
}

TEST(Recording, ChartSampleMatchesReference) {
    RecordingContext dc;
    test::DrawChartSample(dc, {800, 600});
    ExpectReference("chart.rec", dc.Recording());
}

TEST(Recording, MapSampleMatchesReference) {
    RecordingContext dc(DeviceInfo{Technology::Printer, 2480, 3508, 11811, 11811, 24});
    test::DrawMapSample(dc, {2480, 3508});
    ExpectReference("map.rec", dc.Recording());
}

TEST(Recording, OneLinePerCallWithValues) {
    RecordingContext dc;
    dc.SetPen(Pen::Dotted(Rgb(1, 2, 255)));
    dc.SetBrush(Brush::Hatched(Hatch::BackwardDiagonal, Black));
    dc.SetFont(Font{.face = "Tahoma",
                    .height = -12,
                    .weight = 700,
                    .italic = true,
                    .escapement = 900,
                    .charset = 238});
    dc.SetTextAlign(ta::Center | ta::Bottom);
    dc.SetRop2(Rop2::XorPen);
    dc.SelectPalette(std::vector<Color>{Rgb(255, 0, 0), Rgb(0, 0, 1)});
    dc.Text(1, -2, "say \"hi\"\\\n\t\x01 \xC5\xBE");
    dc.TextBox("a b", {0, 10, 20, 0}, dt::Right | dt::Bottom | dt::SingleLine);
    dc.RoundRect({1, 2, 3, 4}, 5, 6);
    dc.SetWindowExt(0, 0);                  // refused in the text mode: not recorded
    dc.Polygon(std::vector<Point>{{1, 1}}); // fewer than two points: nothing
    const std::string expected =
        "device display 800 600 3780 3780\n"
        "pen dot 0 #0102ff\n"
        "brush hatch bdiagonal #000000\n"
        "font \"Tahoma\" height=-12 weight=700 italic=1 escapement=900 charset=238 quality=2 "
        "pitchfamily=18\n"
        "textalign center bottom\n"
        "rop2 xorpen\n"
        "palette 2 #ff0000 #000001\n"
        "text 1 -2 \"say \\\"hi\\\"\\\\\\n\\t\\x01 \xC5\xBE\"\n"
        "textbox 0 10 20 0 right|bottom|singleline \"a b\"\n"
        "roundrect 1 2 3 4 5 6\n";
    EXPECT_EQ(dc.Recording(), expected);
}

} // namespace
} // namespace zor::draw
