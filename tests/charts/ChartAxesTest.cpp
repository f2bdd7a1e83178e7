// Axis layouts, logarithmic decades, segment clipping, series and markers.
#include "charts/ChartAxes.h"
#include "draw/RecordingContext.h"
#include "tests/support/StartedStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zor::charts {
namespace {

std::vector<int> Positions(const std::vector<AxisMark>& marks, int length) {
    std::vector<int> out;
    for (const AxisMark& m : marks)
        if (m.length == length) out.push_back(m.pos);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> Labels(const std::vector<AxisMark>& marks) {
    std::vector<std::string> out;
    for (const AxisMark& m : marks)
        if (!m.label.empty()) out.push_back(m.label);
    return out;
}

using zor::test::Lines;

TEST(ValueAxis, SixMajorsAndFourMinorsBetweenEachPair) {
    ChartAxes axes;
    axes.SetRanges(0, 1, 0, 100); // plot 5000 high: 50 units per value unit
    const auto marks = axes.ValueAxisMarks(20, 5, true);
    EXPECT_EQ(Positions(marks, 100), (std::vector<int>{0, 1000, 2000, 3000, 4000, 5000}));
    EXPECT_EQ(Labels(marks), (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
    const auto minors = Positions(marks, 50);
    ASSERT_EQ(minors.size(), 20u); // none after 100
    EXPECT_EQ(minors.front(), 200);
    EXPECT_EQ(minors.back(), 4800);
    for (const AxisMark& m : marks) EXPECT_EQ(m.grid, m.length == 100);
}

TEST(ValueAxis, MinorsContinuePastTheLastMajorUpToTheMaximum) {
    ChartAxes axes;
    axes.SetRanges(0, 1, 0, 95);
    const auto marks = axes.ValueAxisMarks(20, 5, false);
    EXPECT_EQ(Labels(marks), (std::vector<std::string>{"0", "20", "40", "60", "80"}));
    const double scale = 5000.0 / 95;
    const auto minors = Positions(marks, 50);
    ASSERT_EQ(minors.size(), 19u); // 4 × 4 between, then 84, 88, 92
    EXPECT_EQ(minors[16], int(84 * scale));
    EXPECT_EQ(minors[18], int(92 * scale));
}

TEST(ValueAxis, NothingForAnEmptyRangeOrAStepThatIsNotPositive) {
    ChartAxes axes;
    axes.SetRanges(0, 1, 5, 5);
    EXPECT_TRUE(axes.ValueAxisMarks(1, 5, true).empty());
    axes.SetRanges(0, 1, 0, 10);
    EXPECT_TRUE(axes.ValueAxisMarks(0, 5, true).empty());
    EXPECT_TRUE(axes.ValueAxisMarks(-2, 5, true).empty());
    EXPECT_TRUE(axes.ValueAxisMarks(1e-9f, 5, true).empty()); // would be 10^10 ticks

    draw::RecordingContext dc;
    axes.SetRanges(0, 1, 5, 5);
    axes.DrawValueAxis(dc, ChartResources(), "title", 1, 5, true);
    EXPECT_TRUE(Lines(dc.Recording(), "lineto").empty());
}

TEST(ValueAxis, NegativeMinimumLabelsFromTheBottom) {
    ChartAxes axes;
    axes.SetPlotBottomTop(1000, 2000);
    axes.SetRanges(0, 1, -50, 50);
    const auto marks = axes.ValueAxisMarks(25, 0, false);
    EXPECT_EQ(Positions(marks, 100), (std::vector<int>{1000, 1250, 1500, 1750, 2000}));
    EXPECT_EQ(Labels(marks), (std::vector<std::string>{"-50", "-25", "0", "25", "50"}));
}

TEST(ValueAxis, DrawsLabelsRightAlignedAndTitleBesideTheWidestLabel) {
    ChartAxes axes;
    axes.SetRanges(0, 1, 0, 100);
    const ChartResources res;
    draw::RecordingContext dc; // fixed metrics: characters half the font height (75)
    axes.DrawValueAxis(dc, res, "Title", 50, 1, false);
    const std::string& rec = dc.Recording();
    EXPECT_NE(rec.find("textalign right baseline"), std::string::npos);
    EXPECT_EQ(Lines(rec, "text "),
              (std::vector<std::string>{"text -120 -60 \"0\"", "text -120 2440 \"50\"",
                                        "text -120 4940 \"100\"", "text -365 2500 \"Title\""}));
    EXPECT_NE(rec.find("escapement=2700"), std::string::npos);
    // Read downward the letters' tops face the axis: by its top edge the title ends left of
    // the labels instead of lying across them.
    EXPECT_NE(rec.find("textalign center top\ntext -365 2500 \"Title\""), std::string::npos);
    EXPECT_EQ(dc.SaveDepth(), 0);

    draw::RecordingContext meta(
        draw::DeviceInfo{draw::Technology::Metafile, 800, 600, 3780, 3780, 24});
    axes.DrawValueAxis(meta, res, "Title", 50, 1, false);
    // Three characters of the widest label count 75 each.
    EXPECT_EQ(Lines(meta.Recording(), "text ").back(), "text -475 2500 \"Title\"");
    EXPECT_NE(meta.Recording().find("escapement=900"), std::string::npos);
}

TEST(LogAxis, TwoDecadesLabelEveryMultiple) {
    ChartAxes axes;
    LogParams p;
    p.posLow = 0, p.posHigh = 2, p.logBottom = 0, p.logTop = 2;
    axes.SetLogarithmic(p);
    const auto marks = axes.ValueAxisMarks(1, 5, false);
    EXPECT_EQ(Labels(marks), (std::vector<std::string>{"0", "2", "4", "6", "8", "10", "20", "40",
                                                       "60", "80", "100"}));
    int gridLines = 0;
    for (const AxisMark& m : marks) {
        EXPECT_EQ(m.length, 100); // few decades: long minor ticks
        EXPECT_LE(m.pos, 5000);   // none above 100
        gridLines += m.grid;
    }
    EXPECT_EQ(gridLines, 8); // only the multiples, since no grid was asked for
    // 20 sits log10(20) = 1.301 decades up: 2500 units per decade.
    const auto at20 =
        std::find_if(marks.begin(), marks.end(), [](const AxisMark& m) { return m.label == "20"; });
    EXPECT_EQ(at20->pos, int(std::log10(20.0) * 2500));
}

TEST(LogAxis, ManyDecadesHaveShortUnlabelledMinorsAndNegativeDecadesBelowZero) {
    ChartAxes axes;
    LogParams p;
    p.posLow = 0, p.posHigh = 3, p.negLow = 0, p.negHigh = 1, p.logBottom = -1, p.logTop = 3;
    axes.SetLogarithmic(p);
    const auto marks = axes.ValueAxisMarks(1, 5, true);
    EXPECT_EQ(Labels(marks), (std::vector<std::string>{"0", "10", "100", "1000", "0", "-10"}));
    // 4 decades over 5000: 1250 each; zero sits one decade up, -10 at the bottom.
    EXPECT_EQ(Positions(marks, 100), (std::vector<int>{0, 1250, 1250, 2500, 3750, 5000}));
    EXPECT_EQ(Positions(marks, 50).size(), 16u);
    for (const AxisMark& m : marks) EXPECT_TRUE(m.grid);
}

TEST(XAxis, NumberMarksContinuePastTheLastMajorUpToTheMaximum) {
    ChartAxes axes;
    axes.SetPlotSize(950, 1000); // 10 units per value unit
    axes.SetRanges(0, 95, 0, 1);
    const auto marks = axes.XAxisMarks(20, 5, true);
    EXPECT_EQ(Positions(marks, 100), (std::vector<int>{0, 200, 400, 600, 800}));
    EXPECT_EQ(Labels(marks), (std::vector<std::string>{"0", "20", "40", "60", "80"}));
    const auto minors = Positions(marks, 50);
    ASSERT_EQ(minors.size(), 19u); // 4 x 4 between, then 84, 88, 92
    EXPECT_EQ(std::vector<int>(minors.end() - 3, minors.end()), (std::vector<int>{840, 880, 920}));
    for (const AxisMark& m : marks) EXPECT_EQ(m.grid, m.length == 100);

    axes.SetRanges(3, 3, 0, 1);
    EXPECT_TRUE(axes.XAxisMarks(1, 5, true).empty());
}

TEST(XAxis, YearLabelsAreCatalogueNamesOfTheTickCodes) {
    ChartAxes axes;
    axes.SetPlotSize(400, 1000);
    axes.SetRanges(-2, 2, 0, 1);
    const std::vector<TimePeriod> periods = {
        {0, "Year zero"}, {-1, "First Available"}, {2, "Two \xe9"}};
    // The pseudo period -1 is not a catalogue year: its tick gets the number. Names are decoded
    // from the charset (here Windows-1252).
    EXPECT_EQ(Labels(axes.XAxisMarks(1, 1, false, &periods, 0)),
              (std::vector<std::string>{"-2", "-1", "Year zero", "1", "Two \u00e9"}));
}

TEST(XAxis, CompactAxisHasShortTicksAndMinorsOnlyBetweenMajors) {
    ChartAxes axes;
    axes.SetPlotSize(950, 1000);
    axes.SetRanges(0, 95, 0, 1);
    const auto marks = axes.XAxisMarks(20, 5, false, nullptr, 0, true);
    EXPECT_EQ(Positions(marks, 30), (std::vector<int>{0, 200, 400, 600, 800}));
    EXPECT_EQ(Positions(marks, 15).size(), 16u); // none after the last major
    EXPECT_EQ(Positions(marks, 15).back(), 760);
}

TEST(XAxis, DrawnAxesPlaceTicksLabelsGridAndTitle) {
    ChartAxes axes;
    axes.SetPlotSize(1000, 500);
    axes.SetPlotBottomTop(100, 500);
    axes.SetRanges(0, 10, 0, 1);
    const ChartResources res;
    draw::RecordingContext number;
    axes.DrawNumberAxisX(number, res, "Years", 5, 1, true);
    const std::string& rec = number.Recording();
    EXPECT_NE(rec.find("textalign center top"), std::string::npos);
    EXPECT_EQ(Lines(rec, "text "),
              (std::vector<std::string>{"text 0 -20 \"0\"", "text 500 -20 \"5\"",
                                        "text 1000 -20 \"10\"", "text 500 -200 \"Years\""}));
    // Axis line, then per major a tick down 100 and a grid line up to the top.
    EXPECT_EQ(
        Lines(rec, "lineto"),
        (std::vector<std::string>{"lineto 1000 100", "lineto 0 0", "lineto 0 500", "lineto 500 0",
                                  "lineto 500 500", "lineto 1000 0", "lineto 1000 500"}));
    EXPECT_EQ(number.SaveDepth(), 0);

    const std::vector<TimePeriod> periods = {{5, "Five"}};
    draw::RecordingContext years;
    axes.DrawYearAxisX(years, res, periods, 0, {}, 5, 1, false);
    EXPECT_EQ(Lines(years.Recording(), "text "),
              (std::vector<std::string>{"text 0 -20 \"0\"", "text 500 -20 \"Five\"",
                                        "text 1000 -20 \"10\""}));

    // The compact axis writes in the caller's font, close to the line.
    draw::RecordingContext compact;
    axes.DrawCompactAxisX(compact, res, "T", 5, 2, false);
    EXPECT_TRUE(Lines(compact.Recording(), "font ").empty());
    EXPECT_EQ(Lines(compact.Recording(), "text ").front(), "text 0 70 \"0\"");
    EXPECT_EQ(Lines(compact.Recording(), "text ").back(), "text 500 40 \"T\"");
    EXPECT_EQ(Lines(compact.Recording(), "lineto 250 "),
              std::vector<std::string>{"lineto 250 85"}); // the one minor between 0 and 5
}

TEST(LogDecades, WholeDecadesAroundTheValues) {
    const std::vector<std::vector<float>> one = {{3, 40, MissingValue}, {250}};
    LogParams p = LogDecades(one);
    EXPECT_EQ(p.posLow, 0);
    EXPECT_EQ(p.posHigh, 3); // 250 > 10^2
    EXPECT_TRUE(IsMissing(p.negHigh));
    EXPECT_EQ(p.logTop, 3);
    EXPECT_EQ(p.logBottom, 0);

    // An exact power of ten stays in its decade; equal decades open one below.
    const std::vector<std::vector<float>> tens = {{100, 100}};
    p = LogDecades(tens);
    EXPECT_EQ(p.posHigh, 2);
    EXPECT_EQ(p.posLow, 1);

    // A value below 1 that is not a power of ten gets the decade above it (trunc toward 0).
    const std::vector<std::vector<float>> small = {{0.05f, 5}};
    p = LogDecades(small);
    EXPECT_EQ(p.posLow, -1);
    EXPECT_EQ(p.posHigh, 1);
}

TEST(LogDecades, NegativeValuesFillTheNegativePairWhateverTheSeriesStartsWith) {
    const std::vector<std::vector<float>> mixed = {{20, -300, 5}, {-2}};
    const LogParams p = LogDecades(mixed);
    EXPECT_EQ(p.posLow, 0);
    EXPECT_EQ(p.posHigh, 2);
    EXPECT_EQ(p.negLow, 0);
    EXPECT_EQ(p.negHigh, 3);
    EXPECT_EQ(p.logBottom, -3);
    EXPECT_EQ(p.logTop, 2);
}

TEST(ClipSegment, CrossingTheLeftBoundMovesAlongTheSlope) {
    auto s = ClipSegment({9, 0, 11, 2}, 10, 20, -5, 5);
    ASSERT_TRUE(s);
    EXPECT_DOUBLE_EQ(s->x1, 10);
    EXPECT_DOUBLE_EQ(s->y1, 1);
    EXPECT_DOUBLE_EQ(s->x2, 11);
    EXPECT_DOUBLE_EQ(s->y2, 2);

    // Leaving through the top: the end moves back onto y = yMax.
    s = ClipSegment({12, 2, 16, 10}, 10, 20, -5, 5);
    ASSERT_TRUE(s);
    EXPECT_DOUBLE_EQ(s->x2, 13.5);
    EXPECT_DOUBLE_EQ(s->y2, 5);

    // A horizontal segment keeps its y at the bound.
    s = ClipSegment({5, 3, 25, 3}, 10, 20, -5, 5);
    ASSERT_TRUE(s);
    EXPECT_DOUBLE_EQ(s->x1, 10);
    EXPECT_DOUBLE_EQ(s->x2, 20);
    EXPECT_DOUBLE_EQ(s->y1, 3);
}

TEST(ClipSegment, SegmentsWhollyOutsideAreSkipped) {
    EXPECT_FALSE(ClipSegment({1, 0, 10, 2}, 10, 20, -5, 5));  // no end right of xMin
    EXPECT_FALSE(ClipSegment({20, 0, 30, 2}, 10, 20, -5, 5)); // both at or past xMax
    EXPECT_FALSE(ClipSegment({12, -9, 14, -5}, 10, 20, -5, 5));
    EXPECT_FALSE(ClipSegment({12, 5, 14, 9}, 10, 20, -5, 5));
}

TEST(Series, LinesAndMarkersFromThePlotsLeftAndBottom) {
    ChartAxes axes;
    axes.SetPlotBottomTop(1000, 5000); // 4000 high: 40 units per value unit
    axes.SetRanges(0, 10, 0, 100);
    const ChartResources res;
    draw::RecordingContext dc;
    const float xs[] = {0, 5, 10};
    const float ys[] = {0, 50, 25};
    axes.DrawSeries(dc, res, xs, ys, SeriesLines | SeriesMarkers | 7);
    const std::string& rec = dc.Recording();
    EXPECT_EQ(Lines(rec, "lineto"),
              (std::vector<std::string>{"lineto 2875 3000", "lineto 5750 2000"}));
    EXPECT_EQ(axes.SeriesY(0), 1000);
    // Index 7: the triangle pointing up, in colour 7.
    EXPECT_NE(rec.find("polygon 2845,2970 2875,3030 2905,2970"), std::string::npos);
    EXPECT_NE(rec.find("brush solid #00ffff"), std::string::npos);
    EXPECT_EQ(Lines(rec, "polygon").size(), 3u);
}

TEST(Series, ClippedSegmentStartsOnTheBound) {
    ChartAxes axes;
    axes.SetPlotSize(1000, 1000);
    axes.SetRanges(10, 20, -5, 5);
    draw::RecordingContext dc;
    const float xs[] = {9, 11, 30};
    const float ys[] = {0, 2, 2};
    axes.DrawSeriesClipped(dc, ChartResources(), xs, ys, SeriesLines);
    EXPECT_EQ(Lines(dc.Recording(), "moveto"),
              (std::vector<std::string>{"moveto 0 600", "moveto 100 700"}));
    EXPECT_EQ(Lines(dc.Recording(), "lineto"),
              (std::vector<std::string>{"lineto 100 700", "lineto 1000 700"}));

    // A plot that does not start at the origin: the same segments, shifted.
    axes.SetPlotBottomTop(500, 1500);
    draw::RecordingContext shifted;
    axes.DrawSeriesClipped(shifted, ChartResources(), xs, ys, SeriesLines);
    EXPECT_EQ(Lines(shifted.Recording(), "moveto"),
              (std::vector<std::string>{"moveto 0 1100", "moveto 100 1200"}));
}

TEST(Marker, ShapesByIndexModFive) {
    const ChartResources res;
    const char* expected[] = {"ellipse 70 170 130 230", "polygon 70,230 100,170 130,230",
                              "polygon 70,170 100,230 130,170",
                              "polygon 70,200 100,170 130,200 100,230", "rect 70 170 130 230"};
    for (int index = 0; index < 10; ++index) {
        draw::RecordingContext dc;
        DrawMarker(dc, res, 100, 200, index);
        EXPECT_NE(dc.Recording().find(expected[index % 5]), std::string::npos) << index;
        EXPECT_NE(dc.Recording().find("brush " + draw::RecordBrush(res.Brush(index))),
                  std::string::npos);
        EXPECT_EQ(dc.SaveDepth(), 0);
    }
    EXPECT_EQ(res.Brush(31), res.Brush(0)); // positions past the table cycle
}

TEST(SortBars, LargestFirstWithTheExchangeOrderForTies) {
    std::vector<BarRecord> bars;
    const float values[] = {1, 3, 3, 2, 5};
    for (int i = 0; i < 5; ++i) bars.push_back({i, "r" + std::to_string(i), values[i]});
    SortBarsDescending(bars);
    std::vector<int> order;
    for (const auto& b : bars) order.push_back(b.series);
    // The exchanges leave the tie as series 2 before series 1.
    EXPECT_EQ(order, (std::vector<int>{4, 2, 1, 3, 0}));
    EXPECT_EQ(bars[0].name, "r4");
}

} // namespace
} // namespace zor::charts
