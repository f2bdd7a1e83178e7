// The scattergram: ranges, points, regression, correlation and zoom against hand-computed
// numbers; the view's drawing, rubber band, dialogs, tooltips, printing and data.
#include "charts/CScChart.h"
#include "charts/DialogRules.h"
#include "charts/StatDialogs.h"
#include "core/JsonWriter.h"
#include "draw/EmfWriter.h"
#include "draw/RecordingContext.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/charts/StatFixtures.h"
#include "tests/draw/EmfReader.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor::charts {
namespace {

using test::Lines;
using test::MakeTestView;
using test::OpenView;
using test::RecordingHost;
using test::StartedStore;
constexpr float M = MissingValue;

// How many lines of a recording are exactly `line`.
size_t Count(const std::string& recording, const std::string& line) {
    size_t n = 0;
    for (const std::string& l : Lines(recording, line)) n += l == line;
    return n;
}

ScatterRows RowsOf(std::vector<float> xs, std::vector<float> ys) {
    ScatterRows rows;
    rows.xs = std::move(xs);
    rows.ys = std::move(ys);
    for (size_t i = 0; i < rows.xs.size(); ++i) {
        rows.names.push_back("R" + std::to_string(i));
        rows.highlights.push_back(-1);
    }
    return rows;
}

ScatterRanges Ranges(float x0, float x1, float y0, float y1) {
    return {x0, x1, 1, y0, y1, 1};
}

ScatterPoint At(float x, float y) {
    ScatterPoint p;
    p.x = x, p.y = y;
    return p;
}

TEST(ScatterRanges, EachAxisOverItsOwnValuesThenRounded) {
    // A single point: each flat range reaches down to 0.
    ScatterRanges r = DataRanges(std::vector<float>{5}, std::vector<float>{3});
    EXPECT_EQ(r, (ScatterRanges{0, 5, 1, 0, 3, 0.5f}));

    // Missing values are skipped on each axis by itself.
    r = DataRanges(std::vector<float>{13, M, 87}, std::vector<float>{M, -2, 7});
    EXPECT_EQ(r, (ScatterRanges{10, 90, 10, -2, 7, 1}));

    // No X value at all: not set, nothing rounded.
    r = DataRanges(std::vector<float>{M, M}, std::vector<float>{1, 2});
    EXPECT_FALSE(r.Set());
    EXPECT_EQ(r.yMin, 1);
    EXPECT_EQ(r.yMax, 2);
    EXPECT_EQ(r.yStep, 0);
}

TEST(ScatterFit, PlacesPointsAndKeepsThoseOnTheMaximumEdge) {
    const ScatterRanges r = Ranges(0, 10, 0, 100);
    const float edge = static_cast<float>(10 * 1.00001);
    const float beyond = std::nextafter(edge, 20.0f);
    const ScatterFit fit =
        FitPoints(RowsOf({5, edge, beyond, 0, -0.001f, M, 2}, {50, 100, 50, 0, 50, 10, 100.002f}),
                  r, 5750, 4500);
    ASSERT_EQ(fit.points.size(), 3u);
    EXPECT_EQ(fit.points[0].row, 0);
    EXPECT_EQ(fit.points[0].px, 2875);
    EXPECT_EQ(fit.points[0].py, 2250);
    EXPECT_EQ(fit.points[1].row, 1); // exactly at max x 1.00001: kept
    EXPECT_EQ(fit.points[1].px, 5750);
    EXPECT_EQ(fit.points[1].py, 4500);
    EXPECT_EQ(fit.points[2].row, 3); // at the minimum; below it, missing or beyond: dropped
    EXPECT_EQ(fit.points[2].px, 0);

    // A range ending below zero keeps the values at its end too (max x 1.00001 would be
    // below them).
    const ScatterFit negative =
        FitPoints(RowsOf({-10, -9.999f}, {-20, -20}), Ranges(-30, -10, -40, -20), 5750, 4500);
    ASSERT_EQ(negative.points.size(), 1u);
    EXPECT_EQ(negative.points[0].px, 5750);
    EXPECT_EQ(negative.points[0].py, 4500);
}

TEST(ScatterFit, RegressionAndItsEquation) {
    const ScatterRanges r = Ranges(0, 10, -10, 20);
    ScatterFit fit = FitPoints(RowsOf({1, 2, 3, 4}, {-1, 1, 3, 5}), r, 5750, 4500);
    EXPECT_EQ(fit.regression, (Regression{2, -3}));
    EXPECT_EQ(EquationText(fit.regression), "Y = 2X-3");

    fit = FitPoints(RowsOf({1, 2, 3}, {1, 2, 3}), r, 5750, 4500);
    EXPECT_EQ(fit.regression, (Regression{1, 0}));
    EXPECT_EQ(EquationText(fit.regression), "Y = X");

    fit = FitPoints(RowsOf({1, 3}, {2.5f, 3.5f}), r, 5750, 4500);
    EXPECT_EQ(EquationText(fit.regression), "Y = 0.5X+2");

    // A slope of magnitude 0.00001 or less: Y = the intercept.
    EXPECT_EQ(EquationText({0.000001f, 4}), "Y = 4");
    EXPECT_EQ(EquationText({-1, 3}), "Y = -1X+3");

    // One point (or none): no line and no equation.
    fit = FitPoints(RowsOf({1, M}, {1, 2}), r, 5750, 4500);
    EXPECT_EQ(fit.points.size(), 1u);
    EXPECT_FALSE(fit.regression.Drawn());
    EXPECT_EQ(EquationText(fit.regression), "");
}

TEST(ScatterFit, AllXEqualGiveTheVerticalLineAtTheirMean) {
    EXPECT_EQ(EquationText({M, 5}), "X = 5");
    // 185 values of 4321.77: sum(x^2)/n - mx^2 comes out -9e-8 in double, which the written
    // form took for a spread; around the mean it is exactly 0.
    std::vector<float> xs(185, 4321.77f), ys;
    for (int i = 0; i < 185; ++i) ys.push_back(static_cast<float>(50 + i % 30));
    const ScatterFit fit = FitPoints(RowsOf(xs, ys), Ranges(0, 5000, 0, 100), 5750, 4500);
    ASSERT_EQ(fit.points.size(), 185u);
    EXPECT_TRUE(IsMissing(fit.regression.slope));
    EXPECT_EQ(fit.regression.intercept, 4321.77f);
    EXPECT_EQ(EquationText(fit.regression), "X = 4321.77");
    EXPECT_FALSE(Correlate(fit.points)); // no spread in X: no coefficient
}

TEST(ScatterCorrelation, CoefficientAndFisherInterval) {
    // Perfect correlation either way: the interval collapses onto it.
    const std::vector<ScatterPoint> up = {At(1, 2), At(2, 4), At(3, 6), At(4, 8)};
    EXPECT_EQ(Correlate(up), (Correlation{4, 1, 1, 1}));
    const std::vector<ScatterPoint> down = {At(1, 8), At(2, 6), At(3, 4), At(4, 2)};
    EXPECT_EQ(Correlate(down), (Correlation{4, -1, -1, -1}));

    // Four points: r = 4 / 5, d = 1.96, z = ln(9) / 2.
    const std::vector<ScatterPoint> four = {At(1, 1), At(2, 3), At(3, 2), At(4, 4)};
    const auto c = Correlate(four);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->n, 4);
    EXPECT_EQ(c->r, 0.8f);
    EXPECT_FLOAT_EQ(c->lower, -0.69697195f);
    EXPECT_FLOAT_EQ(c->upper, 0.99560058f);
    EXPECT_EQ(CorrelationText("Correlation: %.3g\nSignificant interval (p: 0.05)\nCorrelation "
                              "interval is\nfrom: %.3g to: %.3g\n",
                              *c),
              "Correlation: 0.8\nSignificant interval (p: 0.05)\nCorrelation interval is\n"
              "from: -0.697 to: 0.996\n");
    // A titles file may write the lines with ';' and may misuse the conversions.
    EXPECT_EQ(CorrelationText("r=%.2f;%.3g..%.3g", *c), "r=0.80\n-0.697..0.996");
    EXPECT_EQ(CorrelationText("%s %n %.3g", *c), "%s %n 0.8");

    // Three points are too few; no spread in Y has no coefficient.
    EXPECT_FALSE(Correlate(std::vector<ScatterPoint>(four.begin(), four.begin() + 3)));
    EXPECT_FALSE(Correlate(std::vector<ScatterPoint>{At(1, 5), At(2, 5), At(3, 5), At(4, 5)}));
}

TEST(ScatterZoom, BandCornersBecomeRoundedRanges) {
    const ScatterRanges r = Ranges(0, 100, 0, 100);
    // (575, 450) and (2875, 2250) on 5750 x 4500: 10 .. 50 on both axes.
    const auto z = ZoomRanges(r, {2875, 450}, {575, 2250}, 5750, 4500);
    ASSERT_TRUE(z);
    EXPECT_EQ(*z, (ScatterRanges{10, 50, 10, 10, 50, 10}));
    // 20.017 .. 39.983 rounds to 20 .. 40 by fives.
    EXPECT_EQ(ZoomRanges(Ranges(10, 50, 10, 100), {1440, 1350}, {4310, 3350}, 5750, 4500),
              (ScatterRanges{20, 40, 5, 30, 80, 10}));
    // A band without width or height zooms nowhere.
    EXPECT_FALSE(ZoomRanges(r, {100, 100}, {100, 900}, 5750, 4500));
    EXPECT_FALSE(ZoomRanges(r, {100, 100}, {900, 100}, 5750, 4500));
}

TEST(ScatterCaptions, LongCaptionsWrapUnderThePlot) {
    draw::RecordingContext dc; // fixed metrics: 75-unit characters in the axis font
    const ChartResources res;
    const std::string shortText = "Income, 2000";
    ScatterCaptions c = LayoutCaptions(dc, res.AxisFont, shortText, "Life, 2001", 0, 5750);
    const int prefix = 4 * 75, line = c.xPrefix.top - c.xPrefix.bottom;
    EXPECT_GT(line, 0);
    EXPECT_EQ(c.xCaption.right - c.xCaption.left, 12 * 75);
    EXPECT_EQ(c.xPrefix.left, (5750 - 12 * 75 - prefix) / 2);
    EXPECT_EQ(c.xPrefix.top, -250);
    EXPECT_EQ(c.yPrefix.top, -250 - line);
    EXPECT_EQ(c.yCaption.bottom, -250 - 2 * line);

    // Wider than 5750 - 300: wrapped to 5350, the X caption two lines high.
    const std::string words = "word word word word word word word word word word word word word "
                              "word word word word word word word word word";
    c = LayoutCaptions(dc, res.AxisFont, words, "Life, 2001", 0, 5750);
    EXPECT_EQ(c.xCaption.right - c.xCaption.left, 5350);
    EXPECT_EQ(c.xCaption.top - c.xCaption.bottom, 2 * line);
    EXPECT_EQ(c.xPrefix.left, (5750 - 5350 - prefix) / 2);
    EXPECT_EQ(c.yCaption.top, -250 - 2 * line);
    EXPECT_EQ(c.yCaption.bottom, -250 - 3 * line);
}

struct Opened {
    StartedStore db{test::ScatterCountry};
    RecordingHost host;
    std::unique_ptr<CScChart> chart =
        MakeTestView<CScChart>(db.store, test::StatSelection("Income", "Life"));
    Opened() { OpenView(*chart, host); }
    // The device pixel of a logical point on an 800 x 600 client.
    draw::Point Device(int x, int y) const { return {(x + 750) / 10, 600 - (y + 900) / 10}; }
    static constexpr draw::Rect Client{0, 0, 800, 600};
};

TEST(ScatterChart, OpensWithXFirstAndYLastOnTheLine) {
    Opened o;
    CScChart& c = *o.chart;
    EXPECT_TRUE(o.host.messages.empty());
    EXPECT_TRUE(c.Popups().empty());
    EXPECT_EQ(c.XIndicator(), 0);
    EXPECT_EQ(c.XPeriod(), 0);
    EXPECT_EQ(c.YIndicator(), 1);
    EXPECT_EQ(c.YPeriod(), 1);
    EXPECT_EQ(c.Subject(), "Life, 2001 against Income, 2000"); // the window title's part
    EXPECT_EQ(c.GetOrigin(), (draw::Point{750, 900}));
    EXPECT_EQ(c.Axes().Top(), 4500);
    EXPECT_EQ(c.Ranges(), (ScatterRanges{10, 50, 10, 10, 100, 10}));
    const auto& points = c.Fit().points;
    ASSERT_EQ(points.size(), 6u); // every region of the set, the total too
    EXPECT_EQ(points[1], (ScatterPoint{1, 0, "B", 20, 37, 1437, 1350}));
    EXPECT_EQ(points[3].highlight, 1);
    EXPECT_EQ(points[5].name, "Total");
    EXPECT_EQ(points[5].highlight, -1);
    EXPECT_EQ(c.Fit().regression, (Regression{2, -3}));
    ASSERT_EQ(c.LegendLayout().items.size(), 2u);
    EXPECT_EQ(c.LegendLayout().kind, LegendKey::Circle);
    EXPECT_EQ(c.LegendLayout().items[1].name, "D");
    EXPECT_EQ(c.Cursor(), ViewCursor::Cross);
}

TEST(ScatterChart, DrawsPointsLineEquationLettersAndCaptions) {
    Opened o;
    draw::RecordingContext dc;
    o.chart->Paint(dc, Opened::Client);
    const std::string& rec = dc.Recording();
    // Six white circles, the two selected points again in colour, two legend circles.
    EXPECT_EQ(Lines(rec, "ellipse ").size(), 6u + 2u + 2u);
    EXPECT_EQ(Lines(rec, "ellipse 1357 1430 1517 1270").size(), 2u); // B, radius 80
    // The line runs from x = 10 (Y = 17) to x = 50 (Y = 97), inside the plot.
    EXPECT_EQ(Count(rec, "moveto 0 350"), 1u);
    EXPECT_EQ(Count(rec, "lineto 5750 4350"), 1u);
    EXPECT_EQ(Lines(rec, "text 2875 4600 \"Y = 2X-3\"").size(), 1u);
    EXPECT_EQ(Lines(rec, "textcolor #0000c0").size(), 1u);
    EXPECT_EQ(Lines(rec, "text 0 4550 \"Y\"").size(), 1u);
    EXPECT_EQ(Lines(rec, "text 5800 -50 \"X\"").size(), 1u);
    const auto boxes = Lines(rec, "textbox ");
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_NE(boxes[0].find("\"X - \""), std::string::npos);
    EXPECT_NE(boxes[1].find("\"Income, 2000\""), std::string::npos);
    EXPECT_NE(boxes[3].find("\"Life, 2001\""), std::string::npos);
    EXPECT_TRUE(Lines(rec, "rop2").empty()); // no rubber band

    // Zoomed so that the line leaves through the top and bottom: its ends move onto them.
    o.chart->SetRanges({15, 45, 5, 30, 80, 10});
    draw::RecordingContext zoomed;
    o.chart->Paint(zoomed, Opened::Client);
    // Y = 30 at X = 16.5 and Y = 80 at X = 41.5: (16.5 - 15) * 5750 / 30 = 287.
    EXPECT_EQ(Count(zoomed.Recording(), "moveto 287 0"), 1u);
    EXPECT_EQ(Count(zoomed.Recording(), "lineto 5079 4500"), 1u);
}

TEST(ScatterChart, FlatLineJustAboveTheTopStaysInThePlot) {
    Opened o;
    o.host.dialogAnswer = [](DialogModel& m) {
        auto& s = dynamic_cast<ScatterSetupModel&>(m);
        s.yIndicator = 1, s.yPeriod = 0; // life expectancy 2000: 70 everywhere
        return true;
    };
    o.chart->OnCommand(CmdSelect);
    // 70 is within max x 1.00001 of 69.9995: the points stay, their line lies above the top.
    o.chart->SetRanges({10, 50, 10, 0, 69.9995f, 10});
    ASSERT_EQ(o.chart->Fit().points.size(), 6u);
    ASSERT_EQ(o.chart->Fit().regression, (Regression{0, 70}));
    draw::RecordingContext dc;
    o.chart->Paint(dc, Opened::Client);
    EXPECT_NE(dc.Recording().find("moveto 0 4500\nlineto 5750 4500\nfont \"Arial\" height=200 "),
              std::string::npos);
}

TEST(ScatterChart, VerticalLineWhenAllXAreEqual) {
    Opened o;
    o.host.dialogAnswer = [](DialogModel& m) {
        auto& s = dynamic_cast<ScatterSetupModel&>(m);
        s.xIndicator = 1, s.xPeriod = 0; // life expectancy 2000: 70 everywhere
        s.yIndicator = 0, s.yPeriod = 0;
        return true;
    };
    o.chart->OnCommand(CmdSelect);
    EXPECT_EQ(o.chart->Ranges(), (ScatterRanges{0, 70, 10, 10, 50, 10}));
    EXPECT_EQ(o.chart->Fit().regression, (Regression{M, 70}));
    draw::RecordingContext dc;
    o.chart->Paint(dc, Opened::Client);
    // The line (then the equation's font): not the grid line at the same place.
    EXPECT_NE(dc.Recording().find("moveto 5750 0\nlineto 5750 4500\nfont \"Arial\" height=200 "
                                  "weight=700"),
              std::string::npos);
    EXPECT_EQ(Lines(dc.Recording(), "text 2875 4600 \"X = 70\"").size(), 1u);
    // Six points but no spread in X: "Correlation" says so instead of showing the dialog.
    EXPECT_TRUE(o.chart->QueryCommand(CmdCorrelation).enabled);
    o.chart->OnCommand(CmdCorrelation);
    ASSERT_EQ(o.host.messages.size(), 1u);
    EXPECT_NE(o.host.messages[0].first.find("not defined"), std::string::npos);
    EXPECT_EQ(o.host.dialogs.size(), 1u); // only the setup dialog
    // And no zoom without a sloped line.
    o.chart->MouseClick(MouseButton::Left, MouseAction::Down, o.Device(1000, 1000), Opened::Client);
    o.chart->MouseMove(o.Device(3000, 3000), Opened::Client);
    o.chart->MouseClick(MouseButton::Left, MouseAction::Up, o.Device(3000, 3000), Opened::Client);
    EXPECT_EQ(o.chart->Ranges(), (ScatterRanges{0, 70, 10, 10, 50, 10}));
}

TEST(ScatterChart, RubberBandZoomsAndTheRightButtonZoomsOut) {
    Opened o;
    CScChart& c = *o.chart;
    const draw::Rect client = Opened::Client;
    const draw::Point a = o.Device(1440, 1350), b = o.Device(4310, 3350);
    ASSERT_EQ(c.ToLogical(a, client), (draw::Point{1440, 1350}));
    ASSERT_EQ(c.ToLogical(b, client), (draw::Point{4310, 3350}));

    c.MouseClick(MouseButton::Left, MouseAction::Down, a, client);
    EXPECT_TRUE(c.Banding());
    EXPECT_EQ(c.Cursor(), ViewCursor::Select);
    // Dragged beyond the plot, the corner stays on its edge; the move is the band's, not a tip's.
    EXPECT_EQ(c.MouseMove(o.Device(6500, 5000), client), TipAction::None);
    EXPECT_EQ(c.BandCorner(), (draw::Point{5750, 4500}));
    EXPECT_EQ(c.HoveredItem(), -1);
    c.MouseMove(b, client);
    EXPECT_EQ(c.BandCorner(), (draw::Point{4310, 3350}));
    // The band is drawn over the chart inverting what lies below.
    draw::RecordingContext dc;
    c.Paint(dc, client);
    const std::string& rec = dc.Recording();
    ASSERT_EQ(Lines(rec, "rop2 xorpen").size(), 1u);
    EXPECT_EQ(Lines(rec.substr(rec.find("rop2 xorpen")), "rect 1440 1350 4310 3350").size(), 1u);

    c.MouseClick(MouseButton::Left, MouseAction::Up, b, client);
    EXPECT_FALSE(c.Banding());
    EXPECT_EQ(c.Cursor(), ViewCursor::Cross);
    EXPECT_EQ(c.Ranges(), (ScatterRanges{20, 40, 5, 30, 80, 10}));
    EXPECT_EQ(c.Fit().points.size(), 4u); // B, C, D and the total
    EXPECT_EQ(c.Fit().regression, (Regression{2, -3}));
    EXPECT_GE(o.host.repaintedNow, 1);

    // "Zoom Out" and the right button show everything again.
    c.OnCommand(CmdZoomOut);
    EXPECT_EQ(c.Ranges(), (ScatterRanges{10, 50, 10, 10, 100, 10}));
    c.SetRanges({20, 40, 5, 30, 80, 10});
    c.MouseClick(MouseButton::Right, MouseAction::Down, a, client);
    EXPECT_EQ(c.Fit().points.size(), 6u);
}

TEST(ScatterChart, BandsThatDoNotZoom) {
    Opened o;
    CScChart& c = *o.chart;
    const draw::Rect client = Opened::Client;
    const ScatterRanges full = c.Ranges();
    // Outside the plot: no band.
    c.MouseClick(MouseButton::Left, MouseAction::Down, o.Device(-300, 1000), client);
    EXPECT_FALSE(c.Banding());
    EXPECT_EQ(c.MouseMove(o.Device(1000, 1000), client), TipAction::None);

    // A click without a drag makes no band of any size.
    c.MouseClick(MouseButton::Left, MouseAction::Down, o.Device(1000, 1000), client);
    c.MouseClick(MouseButton::Left, MouseAction::Up, o.Device(1000, 1000), client);
    EXPECT_FALSE(c.Banding());
    EXPECT_EQ(c.Ranges(), full);

    // A double click cancels the band; so does a second press while it is drawn.
    c.MouseClick(MouseButton::Left, MouseAction::Down, o.Device(1000, 1000), client);
    c.MouseMove(o.Device(3000, 3000), client);
    c.MouseClick(MouseButton::Left, MouseAction::DoubleClick, o.Device(3000, 3000), client);
    EXPECT_FALSE(c.Banding());
    c.MouseClick(MouseButton::Left, MouseAction::Up, o.Device(3000, 3000), client);
    EXPECT_EQ(c.Ranges(), full);
    c.MouseClick(MouseButton::Left, MouseAction::Down, o.Device(1000, 1000), client);
    c.MouseMove(o.Device(3000, 3000), client);
    c.MouseClick(MouseButton::Left, MouseAction::Down, o.Device(3000, 3000), client);
    EXPECT_FALSE(c.Banding());
    EXPECT_EQ(c.Ranges(), full);

    // A slope of 0 (every Y equal): the band is drawn but does not zoom.
    o.host.dialogAnswer = [](DialogModel& m) {
        auto& s = dynamic_cast<ScatterSetupModel&>(m);
        s.yIndicator = 1, s.yPeriod = 0;
        return true;
    };
    c.OnCommand(CmdSelect);
    ASSERT_EQ(c.Fit().regression.slope, 0.0f);
    const ScatterRanges flat = c.Ranges();
    c.MouseClick(MouseButton::Left, MouseAction::Down, o.Device(1000, 1000), client);
    EXPECT_TRUE(c.Banding());
    c.MouseMove(o.Device(3000, 3000), client);
    c.MouseClick(MouseButton::Left, MouseAction::Up, o.Device(3000, 3000), client);
    EXPECT_FALSE(c.Banding());
    EXPECT_EQ(c.Ranges(), flat);
}

TEST(ScatterChart, SelectDialogChoosesTheVariablesAndReportsNoData) {
    Opened o;
    CScChart& c = *o.chart;
    c.SetRanges({20, 40, 5, 30, 80, 10}); // zoomed: a new choice zooms out
    ScatterSetupModel seen;
    o.host.dialogAnswer = [&](DialogModel& m) {
        auto& s = dynamic_cast<ScatterSetupModel&>(m);
        seen = s;
        s.xIndicator = 1, s.xPeriod = 1, s.yIndicator = 0, s.yPeriod = 0;
        return true;
    };
    c.OnCommand(CmdSelect);
    EXPECT_EQ(seen.indicators, (std::vector<std::string>{"Income", "Life"}));
    EXPECT_EQ(seen.indicatorCodes, (std::vector<int>{1010, 1020}));
    EXPECT_EQ(seen.periods, (std::vector<std::string>{"2000", "2001"}));
    EXPECT_EQ(seen.periodCodes, (std::vector<int>{2000, 2001}));
    EXPECT_EQ(seen.xIndicator, 0);
    EXPECT_EQ(seen.yIndicator, 1);
    EXPECT_EQ(seen.yPeriod, 1);
    // Life 2001 against income 2000: X 17 .. 97.
    EXPECT_EQ(c.XIndicator(), 1);
    EXPECT_EQ(c.XPeriod(), 1);
    EXPECT_EQ(c.YIndicator(), 0);
    EXPECT_EQ(c.YPeriod(), 0);
    EXPECT_EQ(c.Ranges(), (ScatterRanges{10, 100, 10, 10, 50, 10}));
    EXPECT_EQ(c.Fit().regression, (Regression{0.5f, 1.5f}));
    EXPECT_TRUE(o.host.messages.empty());

    // Income 2001 has no values: "Sorry, no data!" and nothing drawn.
    o.host.dialogAnswer = [](DialogModel& m) {
        auto& s = dynamic_cast<ScatterSetupModel&>(m);
        s.xIndicator = 0, s.xPeriod = 1;
        return true;
    };
    c.OnCommand(CmdSelect);
    ASSERT_EQ(o.host.messages.size(), 1u);
    EXPECT_EQ(o.host.messages[0].first, "Sorry, no data!");
    EXPECT_FALSE(c.Ranges().Set());
    EXPECT_FALSE(c.QueryCommand(CmdScale).enabled);
    EXPECT_FALSE(c.QueryCommand(CmdCorrelation).enabled);
    draw::RecordingContext dc;
    c.Paint(dc, Opened::Client);
    EXPECT_TRUE(Lines(dc.Recording(), "ellipse").empty());
    EXPECT_TRUE(Lines(dc.Recording(), "text").empty());

    // Cancelled: nothing changes.
    o.host.dialogAnswer = nullptr;
    c.OnCommand(CmdSelect);
    EXPECT_EQ(c.XPeriod(), 1);
}

TEST(ScatterChart, CorrelationOfThePointsInView) {
    Opened o;
    CScChart& c = *o.chart;
    std::string shown;
    o.host.dialogAnswer = [&](DialogModel& m) {
        shown = dynamic_cast<StatisticsModel&>(m).text;
        return true;
    };
    EXPECT_TRUE(c.QueryCommand(CmdCorrelation).enabled);
    c.OnCommand(CmdCorrelation);
    EXPECT_EQ(shown, "Correlation: 1\nSignificant interval (p: 0.05)\nCorrelation interval is\n"
                     "from: 1 to: 1\n");
    // Zoomed onto three points: disabled, and the command does nothing.
    c.SetRanges({20, 40, 5, 40, 80, 10});
    ASSERT_EQ(c.Fit().points.size(), 3u);
    EXPECT_FALSE(c.QueryCommand(CmdCorrelation).enabled);
    shown.clear();
    c.OnCommand(CmdCorrelation);
    EXPECT_EQ(shown, "");
    EXPECT_EQ(o.host.dialogs.size(), 1u);
}

TEST(ScatterChart, ScaleDialogSetsTheRangesUntilZoomOut) {
    Opened o;
    CScChart& c = *o.chart;
    o.host.dialogAnswer = [](DialogModel& m) {
        auto& s = dynamic_cast<XYScaleDialogModel&>(m);
        EXPECT_EQ(s.input.x, (ScaleValues{10, 50, 10}));
        EXPECT_EQ(s.input.yDefault, (ScaleValues{10, 100, 10}));
        EXPECT_FALSE(s.input.logOffered);
        s.result = {true, {0, 100, 20}, {0, 200, 50}, false};
        return true;
    };
    c.OnCommand(CmdScale);
    EXPECT_EQ(c.Ranges(), (ScatterRanges{0, 100, 20, 0, 200, 50}));
    EXPECT_EQ(c.Fit().points[0].px, 575);
    c.OnCommand(CmdZoomOut);
    EXPECT_EQ(c.Ranges(), (ScatterRanges{10, 50, 10, 10, 100, 10}));
}

TEST(ScatterChart, TooltipNamesThePointUnderThePointer) {
    Opened o;
    CScChart& c = *o.chart;
    // B at (1437, 1350): within 79 units (6300 squared) of it.
    EXPECT_EQ(c.HitTest({1437 + 56, 1350 + 56}), 1);
    EXPECT_EQ(c.HitTest({1437 + 60, 1350 + 60}), -1);
    // C and the total share a place: the first one counts.
    EXPECT_EQ(c.HitTest({2875, 2350}), 2);
    EXPECT_EQ(c.MouseMove(o.Device(1440, 1350), Opened::Client), TipAction::Show);
    EXPECT_EQ(c.TipText(), "B: {20,37}");
    EXPECT_EQ(c.MouseMove(o.Device(-500, -500), Opened::Client), TipAction::Hide);
}

TEST(ScatterChart, PrintsExportsAndOffersBlackAndWhite) {
    Opened o;
    CScChart& c = *o.chart;
    draw::RecordingContext paper(
        draw::DeviceInfo{draw::Technology::Printer, 2480, 3508, 11811, 11811, 24});
    c.PrintPage(paper, {0, 0, 2480, 3508}, 0, true);
    EXPECT_EQ(Lines(paper.Recording(), "text ").back(), "text -590 -900 \"Source: KVZ Database\"");
    EXPECT_EQ(Lines(paper.Recording(), "ellipse ").size(), 10u);

    EXPECT_TRUE(c.PictureChoice());
    const draw::FixedTextMeasurer measurer;
    const draw::test::EmfFile emf(c.MakeMetafile(measurer, false));
    ASSERT_FALSE(emf.Malformed());
    EXPECT_EQ(emf.Count(draw::emr::Ellipse), 10u);
    EXPECT_EQ(emf.Count(draw::emr::Rectangle), 1u); // the white frame

    o.host.exportAnswer = ExportChoice{false, true};
    const std::string path = o.db.dir.file("scatter.emf");
    o.host.fileAnswer = path;
    c.OnCommand(CmdSpecial);
    EXPECT_EQ(o.host.exportOffers, std::vector<bool>{true});
    EXPECT_EQ(zor::test::ReadFile(path), c.MakeMetafile(o.host.measurer, true));
}

TEST(ScatterChart, DataForZorexport) {
    Opened o;
    CScChart& c = *o.chart;
    JsonWriter j;
    ASSERT_TRUE(c.WriteData(j));
    const std::string& s = j.str();
    EXPECT_EQ(
        s.rfind("{\"x\":1010,\"y\":1020,\"periodX\":2000,\"periodY\":2001,\"ranges\":{\"xmin\":"
                "10,\"xmax\":50,\"xstep\":10,\"ymin\":10,\"ymax\":100,\"ystep\":10},",
                0),
        0u)
        << s;
    EXPECT_NE(s.find("{\"row\":1,\"key\":" + std::to_string(MakeRegionKey(10000, 2)) +
                     ",\"name\":\"B\",\"x\":20,\"y\":37,\"px\":1437,\"py\":1350}"),
              std::string::npos)
        << s;
    EXPECT_NE(s.find("\"regression\":{\"slope\":2,\"intercept\":-3},\"equation\":\"Y = 2X-3\","
                     "\"correlation\":{\"n\":6,\"r\":1,\"lower\":1,\"upper\":1},"),
              std::string::npos)
        << s;

    // Render options: Y by position, a band in logical units.
    EXPECT_EQ(c.ApplyRenderOption("--zoom", "1440,1350,4310,3350"), "");
    EXPECT_EQ(c.Ranges(), (ScatterRanges{20, 40, 5, 30, 80, 10}));
    EXPECT_NE(c.ApplyRenderOption("--zoom", "1,2,3"), "");
    EXPECT_NE(c.ApplyRenderOption("--period-y", "2"), "");
    EXPECT_EQ(c.ApplyRenderOption("--period-y", "0"), "");
    EXPECT_EQ(c.YPeriod(), 0);
    EXPECT_EQ(c.Ranges().yMax, 70); // zoomed out: life expectancy 2000 is 70 everywhere
    JsonWriter flat;
    c.WriteData(flat);
    EXPECT_NE(flat.str().find("\"correlation\":null,\"correlationText\":null"), std::string::npos);
    ASSERT_FALSE(o.host.messages.empty()); // said on standard error by zorexport
    EXPECT_NE(o.host.messages.back().first.find("correlation"), std::string::npos);
}

} // namespace
} // namespace zor::charts
