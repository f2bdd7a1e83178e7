// The histogram: the column fit and the boxes against hand-computed numbers; the view's popups,
// dialog, drawing, tooltips, printing and data.
#include "charts/CHist.h"
#include "charts/StatDialogs.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "draw/RecordingContext.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/charts/StatFixtures.h"

#include <gtest/gtest.h>

namespace zor::charts {
namespace {

using test::Lines;
using test::MakeTestView;
using test::OpenView;
using test::RecordingHost;
using test::StartedStore;
constexpr float M = MissingValue;

// The axis the value table computes for values lo .. hi.
AxisRange TableAxis(float lo, float hi) {
    AxisRange a{lo, hi, 0};
    a.step = NiceScale(a.min, a.max, 10);
    return a;
}

ColumnFit Fit(float lo, float hi, int k) {
    return FitColumns(TableAxis(lo, hi), lo, hi, k);
}

void ExpectFit(const ColumnFit& f, float origin, float top, float width) {
    EXPECT_FLOAT_EQ(f.origin, origin);
    EXPECT_FLOAT_EQ(f.top, top);
    EXPECT_FLOAT_EQ(f.width, width);
}

TEST(ColumnFit, NarrowingWideningOrKeepingTheAxisStep) {
    // 0 .. 100 has ten columns of 10.
    ASSERT_EQ(TableAxis(0, 100), (AxisRange{0, 100, 10}));
    // Five: wider by tenths until 100 / w gives 5 columns (w = 17), then the last step widens
    // 17 by tenths until 5 columns reach 100: 20.4.
    ColumnFit f = Fit(0, 100, 5);
    ExpectFit(f, 0, 102, 20.4f);
    EXPECT_EQ(f.retries, 0);
    EXPECT_EQ(f.widenings, 2);
    // Seven: w = 13 gives 91, one widening step 14.3 gives 100.1.
    ExpectFit(Fit(0, 100, 7), 0, 100.1f, 14.3f);
    // Twelve: narrower, w = 8 gives 96, widened to 8.8.
    f = Fit(0, 100, 12);
    ExpectFit(f, 0, 105.6f, 8.8f);
    EXPECT_EQ(f.widenings, 1);
    // Ten: the axis as it is.
    f = Fit(0, 100, 10);
    ExpectFit(f, 0, 100, 10);
    EXPECT_EQ(f.widenings, 0);
}

TEST(ColumnFit, AllValuesEqualOrZero) {
    // All 5: lo becomes 0; 0 .. 5 by 1 narrowed to 0.7 (4.9), widened to 0.77 (5.39).
    ColumnFit f = FitColumns(TableAxis(5, 5), 5, 5, 7);
    ExpectFit(f, 0, 5.39f, 0.77f);
    EXPECT_LE(f.origin, 0);
    EXPECT_GE(f.top, 5);
    // All 0: hi becomes 1; 0 .. 1 by 0.1 widened to 0.13 (0.91), then 0.143 (1.001).
    f = FitColumns(TableAxis(0, 0), 0, 0, 7);
    ExpectFit(f, 0, 1.001f, 0.143f);
}

TEST(ColumnFit, RetryFromTheDataTopStartsAtAMultipleOfTheWidth) {
    // Incomes 200 .. 110000: 0 .. 150000 by 50000. Narrowed to 20000 the top column would lie
    // above the data (140000 - 20000 > 110000): again from 110000, 15000 wide, widened once.
    ColumnFit f = Fit(200, 110000, 7);
    EXPECT_EQ(f.retries, 1);
    ExpectFit(f, 0, 115500, 16500);

    // Negative and positive values: -50 .. 100 by 50; after the retry the start is the
    // multiple of the width 20 at or below -2.5.
    f = Fit(-2.5f, 100, 7);
    EXPECT_EQ(f.retries, 1);
    ExpectFit(f, -20, 120, 20);

    // -61.2 / 5.1 rounds to exactly -12 in single precision, whose multiple lies above -61.2:
    // the start goes one width further down so that the smallest value is inside.
    f = Fit(-61.2f, -14.2f, 10);
    EXPECT_LE(f.origin, -61.2f);
    EXPECT_FLOAT_EQ(f.origin, -66.3f);
    EXPECT_GE(f.top, -14.2f);
}

TEST(ColumnFit, BoundedRetriesAndNoZeroWidth) {
    // An axis that does not fit the values: every retry lands on the same misplaced columns.
    ColumnFit f = FitColumns({0, 10, 1}, 4.5f, 5, 3);
    EXPECT_EQ(f.retries, MaxColumnRetries);
    ExpectFit(f, 4.4f, 7.7f, 1.1f); // the last fit, which still holds the values
    // Fifteen columns from one section of 1: narrowing by tenths reaches 0, then halves.
    f = FitColumns({0, 1, 1}, 0, 1, 15);
    EXPECT_GT(f.width, 0);
    EXPECT_GE(f.top, 1);
    EXPECT_NEAR(f.width, 0.07f, 1e-6);

    // An indicator without values keeps its axis.
    const ColumnFit none = FitColumns(AxisRange{}, M, M, 7);
    EXPECT_EQ(none.top, M);
    EXPECT_EQ(none.retries, 0);
}

TEST(ColumnFit, ThreeAndFifteenColumnsCoverTheValues) {
    const std::pair<float, float> ranges[] = {{-37, 12},          {200, 110000}, {0.13f, 0.87f},
                                              {-460.2f, -3.3f},   {1, 1e6f},     {14, 28.1f},
                                              {-1000.5f, 999.25f}};
    for (const auto& [lo, hi] : ranges)
        for (int k : {3, 7, 15}) {
            const ColumnFit f = Fit(lo, hi, k);
            EXPECT_LE(f.origin, lo) << lo << " " << hi << " " << k;
            EXPECT_GE(f.top, hi) << lo << " " << hi << " " << k;
            EXPECT_GT(f.width, 0);
        }
}

HistRows RowsOf(std::vector<float> values) {
    HistRows rows;
    rows.values = std::move(values);
    for (size_t i = 0; i < rows.values.size(); ++i) {
        rows.names.push_back("R" + std::to_string(i));
        rows.highlights.push_back(-1);
    }
    return rows;
}

std::vector<float> Values(const HistLayout& l) {
    std::vector<float> v;
    for (const HistBox& b : l.boxes) v.push_back(b.value);
    return v;
}

std::vector<int> Columns(const HistLayout& l) {
    std::vector<int> c;
    for (const HistBox& b : l.boxes) c.push_back(b.column);
    return c;
}

TEST(HistBoxes, SortedBinnedAndStacked) {
    // Five columns of 20 from 0 to 100; values on limits go into the higher column.
    const ColumnFit fit{0, 100, 20, 0, 0};
    const HistLayout l =
        LayoutBoxes(RowsOf({40, 60, 100, 0, M, 39.99f, 60, 100}), fit, 5, 0, 0, 5750, 5000);
    EXPECT_EQ(Values(l), (std::vector<float>{100, 100, 60, 60, 40, 39.99f, 0}));
    EXPECT_EQ(Columns(l), (std::vector<int>{4, 4, 3, 3, 2, 1, 0}));
    EXPECT_EQ(l.counts, (std::vector<int>{1, 1, 1, 2, 2}));
    EXPECT_EQ(l.yMax, 2);
    EXPECT_EQ(l.yStep, 0.5f);
    // 1150 units a column; one region is 2500 units high.
    EXPECT_EQ(l.boxes[0].left, 4600);
    EXPECT_EQ(l.boxes[0].right, 5750);
    EXPECT_EQ(l.boxes[0].bottom, 0);
    EXPECT_EQ(l.boxes[0].top, 2500);
    EXPECT_EQ(l.boxes[1].bottom, 2500);
    EXPECT_EQ(l.boxes[1].top, 5000);
    EXPECT_EQ(l.boxes[4].left, 2300);
    EXPECT_EQ(l.boxes[6].row, 3);

    // Values beyond the fitted range stay in the outer columns instead of leaving the plot.
    const HistLayout outside = LayoutBoxes(RowsOf({-5, 130}), fit, 5, 0, 0, 5750, 5000);
    EXPECT_EQ(Columns(outside), (std::vector<int>{4, 0}));

    // No values: no boxes.
    const HistLayout empty = LayoutBoxes(RowsOf({M, M}), fit, 5, 0, 0, 5750, 5000);
    EXPECT_TRUE(empty.boxes.empty());
    EXPECT_EQ(empty.yMax, 0);
}

TEST(HistBoxes, TheSmallestValueLandsInTheLowestColumn) {
    // Columns whose lowest limit rounds above the smallest value: it stays in column 0.
    const ColumnFit f = Fit(14, 28.1f, 14);
    const HistLayout l = LayoutBoxes(RowsOf({28.1f, 14}), f, 14, 0, 0, 5750, 5000);
    EXPECT_EQ(Columns(l), (std::vector<int>{12, 0})); // the top column, 28.3 .. 29.4, is empty
    const ColumnFit negative = Fit(-61.2f, -14.2f, 10);
    const HistLayout n = LayoutBoxes(RowsOf({-61.2f, -14.2f}), negative, 10, 0, 0, 5750, 5000);
    EXPECT_EQ(Columns(n), (std::vector<int>{9, 0}));
}

struct Opened {
    StartedStore db{test::HistCountry};
    RecordingHost host;
    std::unique_ptr<CHist> hist =
        MakeTestView<CHist>(db.store, test::StatSelection("Income", "Exports"));
    Opened() { OpenView(*hist, host); }
};

TEST(Hist, FitsEveryIndicatorOverAllPeriodsAndStacksTheCurrentOne) {
    Opened o;
    CHist& h = *o.hist;
    EXPECT_TRUE(o.host.messages.empty());
    EXPECT_EQ(h.Subject(), "Income, 2000"); // the window title's part
    ASSERT_EQ(h.Popups().size(), 2u);
    EXPECT_EQ(h.Popups()[0].kind, PopupKind::Indicators);
    EXPECT_EQ(h.Popups()[1].kind, PopupKind::Periods);
    EXPECT_EQ(h.Popups()[1].position, 1); // "Scale", "Time periods", "Indicators", ...

    // 10 .. 100 over both years: 10 .. 100 by 10, widened to 12 (94), then to 13.2 (102.4).
    EXPECT_EQ(h.Columns(0), 7);
    ExpectFit(h.Fit(0), 10, 102.4f, 13.2f);
    EXPECT_EQ(h.Table().CurrentAxis(0), (AxisRange{10, h.Fit(0).top, h.Fit(0).width}));
    EXPECT_EQ(h.Table().ComputedAxis(0), (AxisRange{10, 100, 10}));
    EXPECT_TRUE(IsMissing(h.Table().CurrentAxis(1).max));

    // 2000: 50 in column 3, 40 in 2, the two 30s in 1, 20 and 10 in 0.
    const HistLayout& l = h.Layout();
    EXPECT_EQ(Values(l), (std::vector<float>{50, 40, 30, 30, 20, 10}));
    EXPECT_EQ(Columns(l), (std::vector<int>{3, 2, 1, 1, 0, 0}));
    EXPECT_EQ(l.boxes[0], (HistBox{4, -1, "E", 50, 2464, 2500, 3285, 0, 3}));
    EXPECT_EQ(l.boxes[1].highlight, 1); // D
    EXPECT_EQ(l.boxes[4].highlight, 0); // B
    EXPECT_EQ(l.boxes[5].bottom, 2500); // 10 sits on 20
    EXPECT_EQ(h.Axes().XMin(), 10);
    EXPECT_EQ(h.Axes().YMax(), 2);
    ASSERT_EQ(h.LegendLayout().items.size(), 2u);
    EXPECT_EQ(h.LegendLayout().kind, LegendKey::Box);

    // 2001: B has no value; 100 is the rightmost column.
    EXPECT_TRUE(h.OnCommand(CmdFirstPeriod + 1));
    EXPECT_EQ(Values(h.Layout()), (std::vector<float>{100, 45, 40, 35, 15}));
    EXPECT_EQ(h.Layout().boxes[0].column, 6);
    ExpectFit(h.Fit(0), 10, 102.4f, 13.2f); // the fit stays
}

TEST(Hist, DrawsBoxesAxesLegendAndTitleGreyOnPaper) {
    Opened o;
    CHist& h = *o.hist;
    draw::RecordingContext dc;
    h.Paint(dc, {0, 0, 800, 600});
    const std::string& rec = dc.Recording();
    EXPECT_EQ(Lines(rec, "rect ").size(), 6u + 2u);
    EXPECT_EQ(Lines(rec, "rect 2464 2500 3285 0").size(), 1u);
    EXPECT_FALSE(Lines(rec, "brush solid #ffffff").empty());  // the unselected boxes
    EXPECT_EQ(Lines(rec, "text -120 2440 \"1\"").size(), 1u); // 0, 0.5, 1 ... 2 regions
    EXPECT_EQ(Lines(rec, "text 0 -120 \"10\"").size(), 1u);
    EXPECT_EQ(Lines(rec, "text 821 -120 \"23.2\"").size(), 1u);
    EXPECT_FALSE(Lines(rec, "text -").empty());
    EXPECT_NE(rec.find("\"Region number\""), std::string::npos);
    EXPECT_EQ(Lines(rec, "textbox ").size(), 1u);
    EXPECT_NE(Lines(rec, "textbox ")[0].find("\"Income, 2000\""), std::string::npos);

    draw::RecordingContext paper(
        draw::DeviceInfo{draw::Technology::Printer, 2480, 3508, 11811, 11811, 24});
    h.PrintPage(paper, {0, 0, 2480, 3508}, 0, true);
    EXPECT_FALSE(Lines(paper.Recording(), "brush solid #c0c0c0").empty());
    EXPECT_TRUE(Lines(paper.Recording(), "brush solid #ffffff").empty());
    EXPECT_EQ(Lines(paper.Recording(), "text ").back(), "text -590 -400 \"Source: KVZ Database\"");
}

TEST(Hist, TooltipNamesTheBoxUnderThePointer) {
    Opened o;
    CHist& h = *o.hist;
    EXPECT_EQ(h.HitTest({2464, 0}), 0); // edges count
    EXPECT_EQ(h.HitTest({3285, 2500}), 0);
    EXPECT_EQ(h.HitTest({3286, 2500}), -1);
    EXPECT_EQ(h.HitTest({1000, 2500}), 2); // C and the total share the border: C comes first
    const draw::Rect client{0, 0, 800, 600};
    EXPECT_EQ(h.MouseMove({(2800 + 750) / 10, 600 - (1000 + 400) / 10}, client), TipAction::Show);
    EXPECT_EQ(h.TipText(), "E: 50");
}

TEST(Hist, ColumnsDialogRefitsTheCurrentIndicatorOnly) {
    Opened o;
    CHist& h = *o.hist;
    EXPECT_TRUE(h.QueryCommand(CmdScale).enabled);
    int preset = 0;
    o.host.dialogAnswer = [&](DialogModel& m) {
        auto& c = dynamic_cast<HistogramColumnsModel&>(m);
        preset = c.columns;
        c.columns = 5;
        return true;
    };
    EXPECT_TRUE(h.OnCommand(CmdScale));
    EXPECT_EQ(preset, 7);
    EXPECT_EQ(h.Columns(0), 5);
    // From the table's first axis again: 16 wide (90), widened twice to 19.2 (106).
    ExpectFit(h.Fit(0), 10, 106, 19.2f);
    EXPECT_EQ(h.Layout().columns, 5);
    EXPECT_EQ(Columns(h.Layout()), (std::vector<int>{2, 1, 1, 1, 0, 0}));
    EXPECT_EQ(o.host.repaintedNow, 1);

    // Cancelled: nothing changes; a count beyond 15 is brought back to 15.
    o.host.dialogAnswer = nullptr;
    h.OnCommand(CmdScale);
    EXPECT_EQ(h.Columns(0), 5);
    h.SetColumns(40);
    EXPECT_EQ(h.Columns(0), 15);
    EXPECT_EQ(h.Layout().counts.size(), 15u);

    // Exports has no data: "Sorry, no data!", nothing drawn, "Scale" disabled.
    h.OnCommand(CmdFirstIndicator + 1);
    ASSERT_EQ(o.host.messages.size(), 1u);
    EXPECT_EQ(o.host.messages[0].first, "Sorry, no data!");
    EXPECT_FALSE(h.QueryCommand(CmdScale).enabled);
    EXPECT_TRUE(h.Layout().boxes.empty());
    draw::RecordingContext dc;
    h.Paint(dc, {0, 0, 800, 600});
    EXPECT_TRUE(Lines(dc.Recording(), "rect").empty());
    // Back on income the 15 columns are still there.
    h.OnCommand(CmdFirstIndicator);
    EXPECT_EQ(h.Layout().counts.size(), 15u);
}

TEST(Hist, DataForZorexport) {
    Opened o;
    CHist& h = *o.hist;
    JsonWriter j;
    ASSERT_TRUE(h.WriteData(j));
    EXPECT_EQ(
        j.str().rfind("{\"indicator\":1010,\"period\":2000,\"columns\":7,\"origin\":10,\"top\":"
                      "102.4,\"width\":13.2,\"ymax\":2,\"ystep\":0.5,\"boxes\":[{\"row\":4,"
                      "\"name\":\"E\",\"value\":50,\"rect\":[2464,2500,3285,0]},",
                      0),
        0u)
        << j.str();
    EXPECT_NE(h.ApplyRenderOption("--columns", "2"), "");
    EXPECT_NE(h.ApplyRenderOption("--columns", "7x"), "");
    EXPECT_EQ(h.ApplyRenderOption("--columns", "12"), "");
    EXPECT_EQ(h.Columns(0), 12);
    EXPECT_NE(h.ApplyRenderOption("--zoom", "1,2,3,4"), "");
}

} // namespace
} // namespace zor::charts
