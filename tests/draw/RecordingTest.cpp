// The recording format: reference recordings of the sample pictures (tests/draw/data/*.rec,
// rewritten when ZOR_UPDATE_REFERENCE=1 is set) and the forms of single calls.
#include "SamplePictures.h"

#include "draw/Palette.h"
#include "draw/RecordingContext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zor::draw {
namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Compares with a committed recording line by line, naming the first difference.
void ExpectReference(const std::string& name, const std::string& recording) {
    const std::string path = std::string(ZOR_DRAW_TEST_DATA) + "/" + name;
    if (const char* update = std::getenv("ZOR_UPDATE_REFERENCE"); update && *update == '1') {
        std::ofstream(path, std::ios::binary) << recording;
        GTEST_SKIP() << "rewrote " << path;
    }
    const std::string expected = ReadText(path);
    ASSERT_FALSE(expected.empty()) << "missing reference " << path;
    std::istringstream a(expected), b(recording);
    std::string la, lb;
    for (int line = 1;; ++line) {
        bool ea = !std::getline(a, la), eb = !std::getline(b, lb);
        if (ea && eb) break;
        ASSERT_EQ(la, lb) << name << " line " << line;
    }
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
