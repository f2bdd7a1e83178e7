// What the line charts share: series, the 3-year average, trend lines, year ranges, decades,
// point hits and the drawing of lines with their clipping.
#include "charts/LineSeries.h"
#include "core/Numeric.h"
#include "draw/RecordingContext.h"
#include "tests/support/StartedStore.h"

#include <gtest/gtest.h>

namespace zor::charts {
namespace {

using zor::test::Lines;
constexpr float M = MissingValue;

TEST(ThreeYearAverage, GapsAndEndsGetNoPoint) {
    // 1992 is missing from the catalogue: 1991 lacks its successor, 1993 its predecessor.
    const std::vector<int> gap = {1990, 1991, 1993, 1994};
    EXPECT_TRUE(ThreeYearAverage(gap, std::vector<float>{1, 2, 3, 4}).Empty());

    const std::vector<int> years = {1990, 1991, 1992, 1993};
    const LineSeries s = ThreeYearAverage(years, std::vector<float>{1, 2, 6, 10});
    EXPECT_EQ(s.xs, (std::vector<float>{1991, 1992}));
    EXPECT_EQ(s.ys, (std::vector<float>{3, 6}));

    // A region with values only in 1990, 1991 and 1993 of consecutive years: none.
    const std::vector<int> five = {1990, 1991, 1992, 1993, 1994};
    EXPECT_TRUE(ThreeYearAverage(five, std::vector<float>{5, 6, M, 7, M}).Empty());
    // The sum is taken pairwise first, as float.
    const LineSeries f = ThreeYearAverage(five, std::vector<float>{0.1f, 0.2f, 0.3f, M, M});
    ASSERT_EQ(f.Size(), 1u);
    EXPECT_EQ(f.ys[0], ((0.1f + 0.2f) + 0.3f) / 3.0f);
}

TEST(SeriesOfValues, KeepsOnlyPresentValuesInOrder) {
    const LineSeries s =
        SeriesOfValues(std::vector<float>{2000, 2001, 2002}, std::vector<float>{M, 4, 5});
    EXPECT_EQ(s.xs, (std::vector<float>{2001, 2002}));
    EXPECT_EQ(s.ys, (std::vector<float>{4, 5}));
}

TEST(FitTrend, AnExactLineAroundTheYear2000) {
    LineSeries s;
    for (int y = 1990; y <= 2010; ++y) {
        s.xs.push_back(float(y));
        s.ys.push_back(float(y) - 1900.0f); // slope 1
    }
    const TrendLine t = FitTrend(s, 1990);
    ASSERT_TRUE(t.Present());
    EXPECT_FLOAT_EQ(t.slope, 1.0f);
    EXPECT_FLOAT_EQ(t.intercept, -1900.0f);

    // From a later year only the points from there on count.
    s.ys[0] = 1000; // an outlier before the clicked year
    const TrendLine later = FitTrend(s, 1995.5f);
    EXPECT_FLOAT_EQ(later.slope, 1.0f);

    LineSeries steep;
    for (int y = 2001; y <= 2004; ++y) {
        steep.xs.push_back(float(y));
        steep.ys.push_back(2.5f * float(y) + 7.0f);
    }
    const TrendLine st = FitTrend(steep, 0);
    EXPECT_NEAR(st.slope, 2.5, 1e-5);
    EXPECT_NEAR(double(st.slope) * 2004 + st.intercept, 2.5 * 2004 + 7, 1e-2);
}

TEST(FitTrend, NoLineForOnePointOrNone) {
    const LineSeries s =
        SeriesOfValues(std::vector<float>{2000, 2001, 2002}, std::vector<float>{1, 2, 3});
    EXPECT_FALSE(FitTrend(s, 2002).Present()); // one point: no variance
    EXPECT_FALSE(FitTrend(s, 2003).Present()); // no point
    EXPECT_FALSE(FitTrend(LineSeries{}, 0).Present());
    EXPECT_TRUE(FitTrend(s, 2001).Present());
}

TEST(YearAxis, FromTheFirstToTheLastYearPlusFive) {
    const std::vector<LineSeries> series = {
        SeriesOfValues(std::vector<float>{1980, 1990}, std::vector<float>{1, 2}),
        SeriesOfValues(std::vector<float>{1985, 1998}, std::vector<float>{1, 2}),
        {}};
    const AxisRange a = YearAxis(series, 1960, 2016);
    float lo = 1980, hi = 2003;
    const float step = NiceScale(lo, hi, 10);
    EXPECT_EQ(a, (AxisRange{lo, hi, step}));
    // Without any value: the periods' range.
    const std::vector<LineSeries> none(2);
    float lo2 = 1960, hi2 = 2021;
    const float step2 = NiceScale(lo2, hi2, 10);
    EXPECT_EQ(YearAxis(none, 1960, 2016), (AxisRange{lo2, hi2, step2}));
    EXPECT_EQ(LastYear(series), 1998.0f);
    EXPECT_FALSE(LastYear(none));
}

TEST(ValueAxisOfSeries, MissingWithoutPoints) {
    EXPECT_TRUE(IsMissing(ValueAxis(std::vector<LineSeries>(3)).max));
    const std::vector<LineSeries> s = {
        SeriesOfValues(std::vector<float>{0, 1}, std::vector<float>{3, 47})};
    const AxisRange a = ValueAxis(s);
    EXPECT_LE(a.min, 3);
    EXPECT_GE(a.max, 47);
    EXPECT_GT(a.step, 0);
}

TEST(SeriesDecades, MixedSignsCountEachValueByItsSign) {
    const std::vector<LineSeries> s = {
        SeriesOfValues(std::vector<float>{0, 1, 2}, std::vector<float>{5, -0.5f, 300}),
        SeriesOfValues(std::vector<float>{0, 1}, std::vector<float>{-40, 0})};
    const LogParams p = SeriesDecades(s);
    EXPECT_EQ(p.posLow, 0); // 5 -> trunc(log10 5) = 0
    EXPECT_EQ(p.posHigh, 3);
    EXPECT_EQ(p.negLow, 0); // 0.5 -> trunc(-0.3) = 0
    EXPECT_EQ(p.negHigh, 2);
    EXPECT_EQ(p.logTop, 3);
    EXPECT_EQ(p.logBottom, -2);
}

TEST(HitPoint, FirstPointWithinThirtyUnits) {
    ChartAxes axes;
    axes.SetRanges(0, 10, 0, 100); // 575 units a step of x, 50 a unit of y
    const std::vector<LineSeries> s = {
        SeriesOfValues(std::vector<float>{0, 2}, std::vector<float>{10, 20}),
        SeriesOfValues(std::vector<float>{2}, std::vector<float>{20})};
    EXPECT_EQ(HitPoint(axes, s, {1150 + 18, 1000 + 24}), (PointHit{0, 1})); // 18² + 24² = 900
    EXPECT_FALSE(HitPoint(axes, s, {1150 + 19, 1000 + 24}).Found());
    EXPECT_EQ(HitPoint(axes, s, {0, 500}), (PointHit{0, 0}));
}

TEST(InsideRanges, LinearAndLogarithmic) {
    ChartAxes axes;
    axes.SetRanges(1990, 2000, 0, 50);
    EXPECT_TRUE(InsideRanges(axes, 1990, 50));
    EXPECT_FALSE(InsideRanges(axes, 2001, 10));
    EXPECT_FALSE(InsideRanges(axes, 1995, 51));
    LogParams p;
    p.posLow = 0, p.posHigh = 2, p.logTop = 2, p.logBottom = 0;
    axes.SetLogarithmic(p);
    EXPECT_TRUE(InsideRanges(axes, 1995, 99)); // 99 is beyond the linear max, inside 10^2
    EXPECT_FALSE(InsideRanges(axes, 1995, 101));
}

TEST(DrawSeriesLines, ClippedIntoMetafilesOnly) {
    ChartAxes axes;
    axes.SetRanges(0, 10, 0, 10);
    const LineSeries s = SeriesOfValues(std::vector<float>{-1, 1}, std::vector<float>{0, 2});
    const ChartResources res;
    draw::RecordingContext screen;
    DrawSeriesLines(screen, res, axes, s);
    EXPECT_EQ(Lines(screen.Recording(), "moveto"), std::vector<std::string>{"moveto -575 0"});
    draw::RecordingContext emf(
        draw::DeviceInfo{draw::Technology::Metafile, 800, 600, 3780, 3780, 24});
    DrawSeriesLines(emf, res, axes, s);
    EXPECT_EQ(Lines(emf.Recording(), "moveto"), std::vector<std::string>{"moveto 0 500"});
}

TEST(DrawSeriesLines, LogarithmicSeriesClipAtTheTopDecade) {
    ChartAxes axes;
    axes.SetRanges(0, 1, 1, 100);
    LogParams p;
    p.posLow = 0, p.posHigh = 2, p.logTop = 2, p.logBottom = 0;
    axes.SetLogarithmic(p);
    // From 10 (one decade up) to 1000 (three): clipped where it leaves 100, halfway along x.
    const LineSeries s = SeriesOfValues(std::vector<float>{0, 1}, std::vector<float>{10, 1000});
    draw::RecordingContext emf(
        draw::DeviceInfo{draw::Technology::Metafile, 800, 600, 3780, 3780, 24});
    DrawSeriesLines(emf, ChartResources(), axes, s);
    EXPECT_EQ(Lines(emf.Recording(), "moveto"), std::vector<std::string>{"moveto 0 2500"});
    EXPECT_EQ(Lines(emf.Recording(), "lineto"), std::vector<std::string>{"lineto 2875 5000"});
}

TEST(ZeroLineY, OnlyForRangesThatHoldZero) {
    ChartAxes axes;
    axes.SetRanges(0, 1, -10, 30);
    EXPECT_EQ(ZeroLineY(axes), 1250);
    axes.SetRanges(0, 1, 0, 30);
    EXPECT_FALSE(ZeroLineY(axes));
    LogParams p;
    p.posLow = 0, p.posHigh = 2, p.negLow = 0, p.negHigh = 1, p.logTop = 2, p.logBottom = -1;
    axes.SetLogarithmic(p);
    EXPECT_EQ(ZeroLineY(axes), 5000 / 3);
}

TEST(DrawTrendLine, FromTheClickedYearToTheEndOfTheRange) {
    ChartAxes axes;
    axes.SetRanges(2000, 2010, 0, 20);
    draw::RecordingContext dc;
    DrawTrendLine(dc, axes, TrendLine{1, -1995}, 2004);
    EXPECT_EQ(Lines(dc.Recording(), "moveto"), std::vector<std::string>{"moveto 2300 2250"});
    EXPECT_EQ(Lines(dc.Recording(), "lineto"), std::vector<std::string>{"lineto 5750 3750"});
    draw::RecordingContext none;
    DrawTrendLine(none, axes, TrendLine{}, 2004);
    EXPECT_TRUE(Lines(none.Recording(), "lineto").empty());
}

} // namespace
} // namespace zor::charts
