// Text placement, metrics and word-wrapped boxes against fixed metrics: a font of height 100
// has 50-unit characters, ascent 80 and descent 20.
#include "draw/RecordingContext.h"

#include <gtest/gtest.h>

namespace zor::draw {
namespace {

Font Height(int h, int escapement = 0) {
    Font f;
    f.height = h;
    f.escapement = escapement;
    return f;
}

// y up: logical (0, 0) at the device's bottom left, 1 logical unit per pixel.
void YUp(DeviceContext& dc) {
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(1000, -1000);
    dc.SetViewportExt(1000, 1000);
    dc.SetViewportOrg(0, 1000);
}

TEST(TextPlacement, AlignmentFlagsMoveTheBaselineStart) {
    RecordingContext dc;
    dc.SetFont(Height(100));
    struct Case {
        unsigned align;
        double x, y;
    } cases[] = {
        {ta::Left | ta::Top, 500, 380},        {ta::Left | ta::Baseline, 500, 300},
        {ta::Left | ta::Bottom, 500, 280},     {ta::Right | ta::Top, 300, 380},
        {ta::Right | ta::Baseline, 300, 300},  {ta::Center | ta::Bottom, 400, 280},
        {ta::Center | ta::Baseline, 400, 300},
    };
    for (const Case& c : cases) {
        dc.SetTextAlign(c.align);
        TextPlacement p = dc.PlaceText({500, 300}, "ABCD");
        EXPECT_DOUBLE_EQ(p.x, c.x) << c.align;
        EXPECT_DOUBLE_EQ(p.y, c.y) << c.align;
        EXPECT_DOUBLE_EQ(p.width, 200);
    }
}

TEST(TextPlacement, TextStaysUprightInAYUpMapping) {
    RecordingContext dc;
    YUp(dc);
    dc.SetFont(Height(100));
    dc.SetTextAlign(ta::Left | ta::Top);
    TextPlacement p = dc.PlaceText({500, 300}, "ABCD");
    // The reference point is the top of the text; the text hangs below it on the device and
    // thus spans logical y 300 down to 200.
    EXPECT_EQ(p.Bounds(), (Rect{500, 700, 700, 800}));
    EXPECT_EQ(dc.DPtoLP({p.Bounds().left, p.Bounds().bottom}), (Point{500, 200}));
    EXPECT_DOUBLE_EQ(p.ascent, 80);
    EXPECT_DOUBLE_EQ(p.emSize, 100);
}

TEST(TextPlacement, EscapementTurnsCounterClockwiseOnTheDevice) {
    RecordingContext dc;
    YUp(dc);
    dc.SetFont(Height(100, 900)); // reads upwards
    dc.SetTextAlign(ta::Left | ta::Baseline);
    TextPlacement p = dc.PlaceText({500, 300}, "ABCD");
    EXPECT_DOUBLE_EQ(p.angle, 900);
    // Baseline from device (500, 700) upwards; ascent to the left, descent to the right.
    EXPECT_EQ(p.Bounds(), (Rect{420, 500, 520, 700}));
    dc.SetTextAlign(ta::Center | ta::Top);
    p = dc.PlaceText({500, 300}, "ABCD");
    EXPECT_NEAR(p.x, 580, 1e-9);   // moved by the ascent along the text's "down"
    EXPECT_NEAR(p.y, 800, 1e-9);   // half the width back along the baseline
    dc.SetFont(Height(100, 2700)); // reads downwards
    dc.SetTextAlign(ta::Left | ta::Baseline);
    EXPECT_EQ(dc.PlaceText({500, 300}, "ABCD").Bounds(), (Rect{480, 700, 580, 900}));
}

TEST(TextMetricsTest, PositiveHeightsAreCellsNegativeHeightsAreCharacters) {
    FixedTextMeasurer leading(0.5, 0.9, 0.3); // cell = 1.2 em
    RecordingContext dc(leading, DeviceInfo{});
    dc.SetFont(Height(-100));
    TextMetrics m = dc.FontMetrics();
    EXPECT_EQ(m.height, 120);
    EXPECT_EQ(m.ascent, 90);
    EXPECT_EQ(m.descent, 30);
    EXPECT_EQ(m.internalLeading, 20);
    EXPECT_EQ(m.averageCharWidth, 50);
    dc.SetFont(Height(120));
    m = dc.FontMetrics();
    EXPECT_EQ(m.height, 120);
    EXPECT_EQ(m.ascent, 90);
    EXPECT_EQ(dc.TextExtent("ab"), (Size{100, 120})); // em 100, 0.5 em a character
}

TEST(TextMetricsTest, WidthsFollowTheFontOnTheDeviceUnderAnisotropicMappings) {
    RecordingContext dc;
    dc.SetMapMode(MapMode::Anisotropic);
    dc.SetWindowExt(8000, -6000);
    dc.SetViewportExt(800, 600);
    dc.SetFont(Height(150));
    EXPECT_EQ(dc.TextExtent("ABCD"), (Size{300, 150}));
    // Twice as many pixels across: the font keeps its shape on the device, so the same text
    // takes half the logical width.
    dc.SetViewportExt(1600, 600);
    EXPECT_EQ(dc.TextExtent("ABCD"), (Size{150, 150}));
    EXPECT_EQ(dc.FontMetrics().averageCharWidth, 37);
}

TEST(TextMetricsTest, AdvancesTruncateCumulativelyAndCountCodeUnits) {
    FixedTextMeasurer third(1.0 / 3.0);
    RecordingContext dc(third, DeviceInfo{});
    dc.SetFont(Height(10));
    EXPECT_EQ(dc.TextAdvances(u"abc"), (std::vector<int>{3, 3, 4}));
    EXPECT_EQ(dc.TextExtent("abc").cx, 10);
    // A character outside the BMP is two code units; the second advances by nothing.
    std::u16string emoji = Utf8ToUtf16("a\xF0\x9F\x98\x80"
                                       "b");
    ASSERT_EQ(emoji.size(), 4u);
    std::vector<int> dx = dc.TextAdvances(emoji);
    EXPECT_EQ(dx[2], 0);
    int sum = 0;
    for (int d : dx) sum += d;
    EXPECT_EQ(sum, dc.TextExtent("a\xF0\x9F\x98\x80"
                                 "b")
                       .cx);
}

TEST(Utf, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9"), u"a\u00E9");
    EXPECT_EQ(Utf8ToUtf16("\xFF"
                          "a"),
              u"\uFFFDa");
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD"); // cut short
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD"); // overlong
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("x\xF0\x9F\x98\x80\xC5\xBE")), "x\xF0\x9F\x98\x80\xC5\xBE");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

std::vector<std::string> Lines(const TextBoxLayout& l) {
    std::vector<std::string> out;
    for (const TextLine& line : l.lines) out.push_back(line.text);
    return out;
}

TEST(TextBoxLayoutTest, WordBreakFillsLinesUpToTheRectangleWidth) {
    RecordingContext dc;
    dc.SetFont(Height(100));
    const Rect box{0, 0, 300, 1000};
    TextBoxLayout l = dc.LayoutTextBox("aa bb cc", box, dt::WordBreak);
    EXPECT_EQ(Lines(l), (std::vector<std::string>{"aa bb", "cc"}));
    EXPECT_EQ(l.lines[1].y, 100);
    EXPECT_EQ(l.height, 200);
    EXPECT_EQ(l.measured, (Rect{0, 0, 250, 200}));
    EXPECT_EQ(dc.MeasureTextBox("aa bb cc", box, dt::WordBreak), l.measured);

    // A word wider than the box stays whole on a line of its own and widens the measure.
    l = dc.LayoutTextBox("a verylongword b", box, dt::WordBreak);
    EXPECT_EQ(Lines(l), (std::vector<std::string>{"a", "verylongword", "b"}));
    EXPECT_EQ(l.measured.right, 600);

    // Blanks inside a line and at the start of the text stay; blanks at a break go.
    EXPECT_EQ(Lines(dc.LayoutTextBox("  a  b", box, dt::WordBreak)),
              (std::vector<std::string>{"  a  b"}));
    EXPECT_EQ(Lines(dc.LayoutTextBox("aa   bb   ", {0, 0, 200, 0}, dt::WordBreak)),
              (std::vector<std::string>{"aa", "bb"}));
    // Without WordBreak a long line is not broken.
    EXPECT_EQ(Lines(dc.LayoutTextBox("aa bb cc", box, 0)), (std::vector<std::string>{"aa bb cc"}));
}

TEST(TextBoxLayoutTest, LineFeedsBreakUnlessSingleLine) {
    RecordingContext dc;
    dc.SetFont(Height(100));
    const Rect box{0, 0, 1000, 1000};
    EXPECT_EQ(Lines(dc.LayoutTextBox("a\nb\r\nc", box, 0)),
              (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Lines(dc.LayoutTextBox("a\n\nb", box, dt::WordBreak)),
              (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Lines(dc.LayoutTextBox("a\nb", box, dt::SingleLine)),
              (std::vector<std::string>{"a b"}));
    TextBoxLayout empty = dc.LayoutTextBox("", box, dt::WordBreak);
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_EQ(empty.measured, (Rect{0, 0, 0, 0}));
}

TEST(TextBoxLayoutTest, AlignmentWithinTheRectangle) {
    RecordingContext dc;
    dc.SetFont(Height(100));
    const Rect box{0, 0, 300, 1000};
    EXPECT_EQ(dc.LayoutTextBox("ab", box, dt::Center).lines[0].x, 100);
    EXPECT_EQ(dc.LayoutTextBox("ab", box, dt::Right).lines[0].x, 200);
    // Vertical placement applies to the whole block, wrapped or not.
    TextBoxLayout l = dc.LayoutTextBox("aa bb cc", box, dt::WordBreak | dt::VCenter);
    EXPECT_EQ(l.lines[0].y, 400);
    EXPECT_EQ(l.lines[1].y, 500);
    EXPECT_EQ(dc.LayoutTextBox("aa bb cc", box, dt::WordBreak | dt::Bottom).lines[0].y, 800);
    // Edges given the other way round describe the same box.
    EXPECT_EQ(dc.LayoutTextBox("ab", {300, 1000, 0, 0}, dt::Right | dt::Bottom).lines[0].x, 200);
    EXPECT_EQ(dc.LayoutTextBox("ab", {300, 1000, 0, 0}, dt::Right | dt::Bottom).lines[0].y, 900);
}

TEST(TextBoxLayoutTest, LinesGoDownTheDeviceInYUpMappings) {
    RecordingContext dc;
    YUp(dc);
    dc.SetFont(Height(100));
    const Rect box{0, 900, 300, 100}; // top above bottom
    TextBoxLayout l = dc.LayoutTextBox("aa bb cc", box, dt::WordBreak);
    ASSERT_EQ(l.lines.size(), 2u);
    EXPECT_EQ(l.lines[0].y, 900);
    EXPECT_EQ(l.lines[1].y, 800);
    EXPECT_EQ(l.measured, (Rect{0, 900, 250, 700}));
    EXPECT_EQ(dc.LayoutTextBox("aa", box, dt::VCenter).lines[0].y, 550);
}

TEST(TextBoxLayoutTest, LineWidthsAreTheTextExtentsOfTheLines) {
    FixedTextMeasurer third(1.0 / 3.0);
    RecordingContext dc(third, DeviceInfo{});
    dc.SetFont(Height(10));
    TextBoxLayout l = dc.LayoutTextBox("abc defgh ij klmno p", {0, 0, 27, 0}, dt::WordBreak);
    int widest = 0;
    for (const TextLine& line : l.lines) {
        EXPECT_EQ(line.width, dc.TextExtent(line.text).cx) << line.text;
        EXPECT_LE(line.width, 27) << line.text;
        widest = std::max(widest, line.width);
    }
    EXPECT_EQ(Lines(l), (std::vector<std::string>{"abc", "defgh ij", "klmno p"}));
    EXPECT_EQ(l.measured.right, widest);
}

} // namespace
} // namespace zor::draw
