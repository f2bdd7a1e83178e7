// The ranked bar charts: the vertical ranking (ties, missing values, the user's range, minimum
// heights, the outline of more than 80 bars, the total always highlighted) and the horizontal one
// (one and two bars, rows with only a B value, its scale, pages and scrolling, printed pages,
// years of the pseudo periods, the picture of every row).
#include "charts/CHRBarChart.h"
#include "charts/CRBarChart.h"
#include "charts/DialogRules.h"
#include "charts/RankedSelection.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "draw/EmfWriter.h"
#include "draw/NullContext.h"
#include "draw/RecordingContext.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/draw/EmfReader.h"

#include <gtest/gtest.h>

namespace zor::charts {
namespace {

using test::Lines;
using test::MakeTestView;
using test::OpenView;
using test::RecordingHost;
using test::StartedStore;
constexpr float M = MissingValue;
constexpr int N = NotHighlighted;

RankingInput Input(std::vector<float> values, AxisRange axis, std::vector<int> series = {}) {
    RankingInput in;
    in.axis = axis;
    in.values = std::move(values);
    in.shown.assign(in.values.size(), 1);
    in.series = series.empty() ? std::vector<int>(in.values.size(), N) : std::move(series);
    for (size_t r = 0; r < in.values.size(); ++r) in.names.push_back("R" + std::to_string(r));
    return in;
}

std::vector<int> Rows(const RankingLayout& l) {
    std::vector<int> rows;
    for (const RankedBar& b : l.bars) rows.push_back(b.row);
    return rows;
}

TEST(Ranking, TiesMissingValuesAndTheExchangeSortsOrder) {
    const RankingLayout l = LayoutRanking(Input({50, 70, 50, M, 60, 58}, {0, 100, 20}));
    EXPECT_EQ(Rows(l), (std::vector<int>{1, 4, 5, 0, 2}));
    // The bars fill the plot's width without gaps.
    EXPECT_EQ(l.bars[0].bar.left, 0);
    EXPECT_EQ(l.bars[1].bar.left, 1150);
    EXPECT_EQ(l.bars[4].bar.right, 5750);
    EXPECT_EQ(l.bars[0].bar.top, 3500);
    EXPECT_EQ(l.bars[0].bar.bottom, 0);
    // A later equal value can end up before an earlier one.
    EXPECT_EQ(Rows(LayoutRanking(Input({1, 1, 2}, {0, 2, 1}))), (std::vector<int>{2, 1, 0}));
}

TEST(Ranking, ValuesOutsideTheRangeAndHiddenRegionsAreLeftOut) {
    RankingInput in = Input({50, 70, 100, 60, 58}, {55, 100, 5});
    in.shown[3] = 0;
    const RankingLayout l = LayoutRanking(in);
    EXPECT_EQ(Rows(l), (std::vector<int>{2, 1, 4})); // 50 below 55; 100 on the edge counts
    EXPECT_EQ(l.bars[0].bar.top, 5000);
    EXPECT_TRUE(LayoutRanking(Input({1, 2}, {3, 3, 0})).bars.empty());
    EXPECT_TRUE(LayoutRanking(Input({1, 2}, AxisRange{})).bars.empty());
}

TEST(Ranking, MinimumHeightsAroundTheZeroLine) {
    const RankingLayout l = LayoutRanking(Input({0, -0.01f, 5, 0.01f}, {-10, 10, 5}));
    EXPECT_EQ(l.zero, 2500);
    ASSERT_EQ(l.bars.size(), 4u);
    const BarRecord& five = l.bars[0].bar;
    EXPECT_EQ(five.top, 3750);
    const BarRecord& small = l.bars[1].bar;
    EXPECT_EQ(small.top - small.bottom, 20);
    EXPECT_EQ(small.bottom, 2500);
    const BarRecord& zero = l.bars[2].bar;
    EXPECT_EQ(zero.bottom, 2500);
    EXPECT_EQ(zero.top, 2520); // up: the range has positive values
    const BarRecord& negative = l.bars[3].bar;
    EXPECT_EQ(negative.top, 2500);
    EXPECT_EQ(negative.bottom, 2480);
    // Without positive values a zero bar reaches down.
    const RankingLayout down = LayoutRanking(Input({0, -3}, {-10, 0, 2}));
    EXPECT_EQ(down.bars[0].bar.top, 5000);
    EXPECT_EQ(down.bars[0].bar.bottom, 4980);
}

TEST(Ranking, OutlineThroughTheFarEndsOfTheBars) {
    std::vector<float> values;
    for (int i = 0; i < 81; ++i) values.push_back(float(40 - i)); // 40 down to -40
    const RankingLayout l = LayoutRanking(Input(values, {-50, 50, 10}));
    const std::vector<draw::Point> p = RankingOutline(l, 0);
    ASSERT_EQ(p.size(), 81u + 4u);
    EXPECT_EQ(p[0], (draw::Point{0, 2500}));
    EXPECT_EQ(p[1], (draw::Point{0, l.bars[0].bar.top}));
    const BarRecord& b0 = l.bars[0].bar;
    EXPECT_EQ(p[2], (draw::Point{(b0.left + b0.right) / 2, b0.top}));
    const BarRecord& neg = l.bars[60].bar; // -20: its far end is its bottom
    EXPECT_EQ(p[62], (draw::Point{(neg.left + neg.right) / 2, neg.bottom}));
    EXPECT_EQ(p[83], (draw::Point{5750, l.bars.back().bar.bottom}));
    EXPECT_EQ(p[84], (draw::Point{5750, 2500}));
}

// Forty regions R01..R40 and the total: life expectancy rises with the number (R05 has none in
// 1990), prices from -90 to 300.
void Ranked(zor::test::Fixture& f) {
    std::vector<std::string> names;
    for (int k = 1; k <= 40; ++k) names.push_back((k < 10 ? "R0" : "R") + std::to_string(k));
    names.push_back("Total");
    f.Set(10000, "Country", names);
    f.Group(1, "Health");
    f.Indicator(1010, "Life expectancy");
    f.Indicator(1020, "Nothing");
    f.Indicator(1030, "Prices");
    f.Periods({1990, 2015});
    std::vector<float> a, b, prices;
    for (int k = 1; k <= 40; ++k) {
        a.push_back(k == 5 ? M : float(40 + k));
        b.push_back(float(45 + k));
        prices.push_back(float(10 * k - 100));
    }
    a.push_back(60), b.push_back(70), prices.push_back(0);
    f.Values(10000, 1990, 1010, a);
    f.Values(10000, 2015, 1010, b);
    f.Values(10000, 1990, 1030, prices);
}

Selection RankedSelection(std::vector<ListItem> periods = {{1990, "1990"}, {2015, "2015"}}) {
    Selection s;
    s.Confirm(10000, {{1010, "Life expectancy"}, {1020, "Nothing"}, {1030, "Prices"}},
              {{MakeRegionKey(10000, 40), "R40"}, {MakeRegionKey(10000, 2), "R02"}}, periods);
    return s;
}

const draw::Rect Client{0, 0, 800, 600};

std::string Json(CView& view) {
    JsonWriter j;
    EXPECT_TRUE(view.WriteData(j));
    return j.str();
}

TEST(VerticalRanking, TheTotalIsAlwaysHighlighted) {
    StartedStore db(Ranked);
    const Selection s = RankedSelection();
    const auto chart = MakeTestView<CRBarChart>(db.store, s);
    RecordingHost host;
    OpenView(*chart, host);
    ASSERT_EQ(chart->Highlighted().size(), 3u);
    EXPECT_EQ(chart->Highlighted()[2].name, "Total");
    EXPECT_EQ(chart->LegendLayout().items.size(), 3u);
    EXPECT_EQ(chart->Cursor(), ViewCursor::Cross);
    // Indicators first at position 2, then the periods before them.
    ASSERT_EQ(chart->Popups().size(), 2u);
    EXPECT_EQ(chart->Popups()[0].kind, PopupKind::Indicators);
    EXPECT_EQ(chart->Popups()[1].kind, PopupKind::Periods);
    EXPECT_EQ(chart->Popups()[1].position, 2);

    const RankingLayout& l = chart->Layout();
    ASSERT_EQ(l.bars.size(), 40u); // R05 has no value in 1990
    EXPECT_EQ(l.bars[0].bar.name, "R40");
    EXPECT_EQ(l.bars[0].bar.series, 0);
    EXPECT_EQ(l.bars[1].bar.series, N);
    const auto total = std::find_if(l.bars.begin(), l.bars.end(),
                                    [](const RankedBar& b) { return b.bar.name == "Total"; });
    ASSERT_NE(total, l.bars.end());
    EXPECT_EQ(total->bar.series, 2);

    draw::RecordingContext dc;
    chart->Paint(dc, Client);
    EXPECT_EQ(Lines(dc.Recording(), "brush solid #ffffff").size(), 37u); // 40 bars, 3 coloured
    EXPECT_NE(dc.Recording().find("text 2875 -100 \"1990\""), std::string::npos);
    const std::string json = Json(*chart);
    EXPECT_EQ(json.rfind("{\"indicator\":1010,\"period\":1990,", 0), 0u) << json;
    EXPECT_NE(json.find("\"name\":\"R40\",\"value\":80,\"highlight\":0,"), std::string::npos);

    // A selection holding the total lists it once.
    Selection with = s;
    with.Confirm(10000, s.Indicators(), {{MakeRegionKey(10000, 41), "Total"}}, s.Periods());
    const auto other = MakeTestView<CRBarChart>(db.store, with);
    EXPECT_EQ(other->Highlighted().size(), 1u);
}

TEST(VerticalRanking, RegionsScaleAndPopupsRedoTheRanking) {
    StartedStore db(Ranked);
    const Selection s = RankedSelection();
    const auto chart = MakeTestView<CRBarChart>(db.store, s);
    RecordingHost host;
    OpenView(*chart, host);
    host.dialogAnswer = [](DialogModel& m) {
        if (auto* regions = dynamic_cast<RegionListModel*>(&m)) {
            EXPECT_EQ(regions->names.size(), 41u);
            regions->flags[39] = 0; // R40
            return true;
        }
        if (auto* scale = dynamic_cast<ScaleDialogModel*>(&m)) {
            EXPECT_FALSE(scale->input.logOffered);
            scale->result = {true, {70, 100, 5}, false};
            return true;
        }
        return false;
    };
    EXPECT_TRUE(chart->OnCommand(CmdRegions));
    EXPECT_EQ(chart->Layout().bars.size(), 39u);
    EXPECT_EQ(chart->Layout().bars[0].bar.name, "R39");
    EXPECT_TRUE(chart->QueryCommand(CmdScale).enabled);
    EXPECT_TRUE(chart->OnCommand(CmdScale));
    EXPECT_EQ(chart->Table().CurrentAxis(0), (AxisRange{70, 100, 5}));
    EXPECT_EQ(chart->Layout().bars.size(), 10u);        // 70 (R30, on the edge) to 79 (R39)
    EXPECT_EQ(chart->Layout().bars.back().bar.top, 20); // the minimum height at the range's min

    EXPECT_TRUE(chart->OnCommand(CmdFirstPeriod + 1)); // 2015: R25 to R39 and the total
    EXPECT_EQ(chart->Layout().bars.size(), 16u);
    EXPECT_TRUE(chart->OnCommand(CmdFirstIndicator + 1)); // no data
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_FALSE(chart->QueryCommand(CmdScale).enabled);
    draw::RecordingContext dc;
    chart->Paint(dc, Client);
    EXPECT_TRUE(Lines(dc.Recording(), "rect").empty());

    chart->OnCommand(CmdFirstIndicator);
    const BarRecord first = chart->Layout().bars[0].bar;
    const draw::Rect d =
        chart->ToDevice({first.left + 20, first.top - 20, first.left + 20, first.top - 20}, Client);
    EXPECT_EQ(chart->MouseMove({d.left, d.top}, Client), TipAction::Show);
    EXPECT_EQ(chart->TipText(), "R39: 84");
}

// More than 80 regions: the white profile with a coloured line for each highlighted one.
TEST(VerticalRanking, MoreThanEightyBarsAreDrawnAsAnOutline) {
    StartedStore db([](zor::test::Fixture& f) {
        std::vector<std::string> names;
        std::vector<float> values;
        for (int k = 1; k <= 81; ++k) {
            names.push_back("R" + std::to_string(k));
            values.push_back(float(k));
        }
        names.push_back("Total");
        values.push_back(41);
        f.Set(10000, "Country", names);
        f.Group(1, "Health");
        f.Indicator(1010, "Life expectancy");
        f.Periods({1990});
        f.Values(10000, 1990, 1010, values);
    });
    Selection s;
    s.Confirm(10000, {{1010, "Life expectancy"}}, {{MakeRegionKey(10000, 3), "R3"}},
              {{1990, "1990"}});
    const auto chart = MakeTestView<CRBarChart>(db.store, s);
    RecordingHost host;
    OpenView(*chart, host);
    ASSERT_EQ(chart->Layout().bars.size(), 82u);
    draw::RecordingContext dc;
    chart->Paint(dc, Client);
    EXPECT_EQ(Lines(dc.Recording(), "polygon").size(), 2u);
    EXPECT_EQ(Lines(dc.Recording(), "pen solid 30 ").size(), 2u); // R3 and the total
    EXPECT_TRUE(Lines(dc.Recording(), "rect 0 ").empty());

    std::vector<int> shown(82, 1);
    shown[0] = shown[1] = 0;
    chart->SetShown(shown);
    draw::RecordingContext bars;
    chart->Paint(bars, Client);
    EXPECT_TRUE(Lines(bars.Recording(), "polygon").empty());
    EXPECT_EQ(Lines(bars.Recording(), "rect ").size(), 80u + 2u); // and the legend's boxes
}

// ---------------------------------------------------------------- horizontal

TEST(HorizontalRanking, RowsWithOnlyABValueFollowRankedByB) {
    std::vector<RankedRow> rows = {{"a", 0, -1, 5, M},
                                   {"b", 1, -1, M, 9},
                                   {"c", 2, -1, 7, 1},
                                   {"d", 3, -1, M, 12},
                                   {"e", 4, -1, 5, 3}};
    RankRows(rows);
    std::vector<std::string> order;
    for (const RankedRow& r : rows) order.push_back(r.name);
    EXPECT_EQ(order, (std::vector<std::string>{"c", "a", "e", "d", "b"}));
}

TEST(HorizontalRanking, BarSpansFromTheZeroLine) {
    // 0 to 100 on 5500 units: 55 a unit.
    EXPECT_EQ(SpanOfBar(40, 0, 100, 5500, 50), (BarSpan{0, 2200}));
    EXPECT_EQ(SpanOfBar(0.5f, 0, 100, 5500, 50), (BarSpan{0, 50})); // at least 50 wide
    EXPECT_EQ(SpanOfBar(0.5f, 0, 100, 5500, 0), (BarSpan{0, 27}));  // B has no minimum
    // -50 to 50: the zero line in the middle, a negative bar from its value to it.
    EXPECT_EQ(ZeroOfSpan(-50, 50, 5500), 2750);
    EXPECT_EQ(SpanOfBar(-20, -50, 50, 5500, 50), (BarSpan{1650, 2750}));
    EXPECT_EQ(SpanOfBar(-0.1f, -50, 50, 5500, 50), (BarSpan{2744, 2794}));
    // A range wholly below 0 keeps the zero line on the plot's right edge.
    EXPECT_EQ(ZeroOfSpan(-50, -10, 5500), 5500);
}

struct Horizontal {
    StartedStore db{Ranked};
    Selection selection = RankedSelection();
    std::unique_ptr<CHRBarChart> view = MakeTestView<CHRBarChart>(db.store, selection);
    RecordingHost host;
    Horizontal() { OpenView(*view, host); }
};

TEST(HorizontalRanking, OneBarLayoutPagesAndScrolling) {
    Horizontal h;
    CHRBarChart& chart = *h.view;
    EXPECT_TRUE(chart.Popups().empty());
    EXPECT_EQ(chart.Choice(), (RankedChoice{0, 0, 2, 1, false}));
    const HorizontalLayout& l = chart.Layout();
    EXPECT_EQ(l.titleArea, 200);
    EXPECT_EQ(chart.GetOrigin(), (draw::Point{2000, 500}));
    EXPECT_EQ(l.pitch, 150);
    EXPECT_EQ(l.visible, (5300 + 50) / 150);
    ASSERT_EQ(l.entries.size(), 40u); // R05 has no value A
    EXPECT_EQ(l.plotTop, 35 * 150 - 50);
    EXPECT_EQ(l.entries[0].name, "R40");
    EXPECT_EQ(l.entries[0].selected, 0);
    EXPECT_EQ(l.entries[38].selected, 1); // R02

    // Entry 0 at the top, 100 high, as wide as its value.
    const auto a0 = chart.ScreenRectA(0);
    ASSERT_TRUE(a0);
    const int right = TruncToInt(80 * 5500.0 / (l.max - l.min));
    EXPECT_EQ(*a0, (draw::Rect{0, l.plotTop, right, l.plotTop - 100}));
    EXPECT_FALSE(chart.ScreenRectA(35)); // on the next page
    EXPECT_FALSE(chart.ScreenRectB(0));

    EXPECT_EQ(chart.VerticalScroll(), (ViewScroll{0, 5, 35}));
    EXPECT_FALSE(chart.OnScroll(ScrollAction::LineUp, 0));
    EXPECT_TRUE(chart.OnScroll(ScrollAction::PageDown, 0)); // 34 would pass the end: 5
    EXPECT_EQ(chart.ScrollPosition(), 5);
    EXPECT_FALSE(chart.OnScroll(ScrollAction::LineDown, 0));
    EXPECT_TRUE(chart.OnScroll(ScrollAction::LineUp, 0));
    EXPECT_EQ(chart.ScrollPosition(), 4);
    EXPECT_TRUE(chart.OnScroll(ScrollAction::PageUp, 0));
    EXPECT_EQ(chart.ScrollPosition(), 0);
    EXPECT_TRUE(chart.OnScroll(ScrollAction::Thumb, 99));
    EXPECT_EQ(chart.ScrollPosition(), 5);
    // Scrolled: entry 5 is at the top; entry 0 is gone.
    EXPECT_EQ(chart.ScreenRectA(5)->top, l.plotTop);
    EXPECT_FALSE(chart.ScreenRectA(0));
    EXPECT_TRUE(chart.ShowPage(2));
    EXPECT_EQ(chart.ScrollPosition(), 5);
    EXPECT_FALSE(chart.ShowPage(3));
    EXPECT_TRUE(chart.ShowPage(1));
    EXPECT_EQ(chart.ScrollPosition(), 0);

    // The tooltip of the bar under the pointer.
    const draw::Rect d =
        chart.ToDevice({a0->left + 30, a0->top - 30, a0->left + 30, a0->top - 30}, Client);
    EXPECT_EQ(chart.MouseMove({d.left, d.top}, Client), TipAction::Show);
    EXPECT_EQ(chart.TipText(), "R40: 80");
}

TEST(HorizontalRanking, FewerRowsThanFitShrinkThePlotAndDoNotScroll) {
    Horizontal h;
    CHRBarChart& chart = *h.view;
    std::vector<int> shown(41, 0);
    shown[0] = shown[1] = shown[2] = 1;
    chart.SetShown(shown);
    ASSERT_EQ(chart.Layout().entries.size(), 3u);
    EXPECT_EQ(chart.Layout().plotTop, 3 * 150 - 50);
    EXPECT_EQ(chart.VerticalScroll()->maximum, 0);
    EXPECT_FALSE(chart.OnScroll(ScrollAction::PageDown, 0));
    EXPECT_FALSE(chart.OnScroll(ScrollAction::LineDown, 0));
    // The scale is drawn to a step above the largest value shown (43); the working scale stays,
    // so that the regions shown again keep their places.
    EXPECT_EQ(chart.Layout().max, 50);
    EXPECT_EQ(chart.Scale().max, 90);
    // The scale dialog starts from the scale drawn.
    ScaleDialogInput asked;
    h.host.dialogAnswer = [&](DialogModel& m) {
        auto* scale = dynamic_cast<ScaleDialogModel*>(&m);
        if (scale) asked = scale->input;
        return false;
    };
    chart.OnCommand(CmdScale);
    EXPECT_EQ(asked.current, (ScaleValues{0, 50, 10}));
    EXPECT_EQ(asked.defaults, (ScaleValues{0, 90, 10}));
    chart.SetShown(std::vector<int>(41, 1));
    EXPECT_EQ(chart.Layout().entries.size(), 40u);
    EXPECT_EQ(chart.Layout().max, 90);
}

TEST(HorizontalRanking, TwoBarsOfDifferentIndicatorsTakeBothRanges) {
    Horizontal h;
    CHRBarChart& chart = *h.view;
    const AxisRange life = chart.Table().CurrentAxis(0), prices = chart.Table().CurrentAxis(2);
    h.host.dialogAnswer = [](DialogModel& m) {
        auto* sel = dynamic_cast<RankedSelectionModel*>(&m);
        if (!sel) return false;
        EXPECT_EQ(sel->indicators,
                  (std::vector<std::string>{"Life expectancy", "Nothing", "Prices"}));
        EXPECT_EQ(sel->periods, (std::vector<std::string>{"1990", "2015"}));
        sel->choice = AcceptRankedSelection(sel->choice, 0, 1, 2, 0, true);
        return true;
    };
    EXPECT_TRUE(chart.OnCommand(CmdSelect));
    EXPECT_EQ(chart.Choice(), (RankedChoice{0, 1, 2, 0, true}));
    EXPECT_EQ(chart.DefaultScale().min, std::min(life.min, prices.min));
    EXPECT_EQ(chart.DefaultScale().step, std::max(life.step, prices.step));
    const HorizontalLayout& l = chart.Layout();
    EXPECT_TRUE(l.twoDifferent);
    EXPECT_EQ(l.titleArea, 300);
    EXPECT_EQ(chart.GetOrigin().y, 900);
    EXPECT_EQ(l.pitch, 250);
    EXPECT_EQ(l.visible, (5100 + 50) / 250);
    ASSERT_EQ(l.entries.size(), 41u);
    // Bar B under bar A; a negative B from its value to the zero line.
    const auto a = chart.ScreenRectA(0), b = chart.ScreenRectB(0);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(b->top, a->bottom);
    const int zero = ZeroOfSpan(l.min, l.max, 5500);
    EXPECT_GT(zero, 0);
    const auto it = std::find_if(l.entries.begin(), l.entries.end(),
                                 [](const RankedRow& r) { return r.valueB < 0; });
    ASSERT_NE(it, l.entries.end());
    chart.OnScroll(ScrollAction::Thumb, 99); // the negative prices are at the bottom
    EXPECT_EQ(chart.ScreenRectB(int(it - l.entries.begin())).value_or(draw::Rect{}).right, zero);
    chart.OnScroll(ScrollAction::Thumb, 0);

    draw::RecordingContext dc;
    chart.Paint(dc, Client);
    const std::string& rec = dc.Recording();
    EXPECT_EQ(Lines(rec, "textbox").size(), 0u);      // a legend instead of the title
    EXPECT_EQ(Lines(rec, "rop2 maskpen").size(), 1u); // R40 on the first page
    EXPECT_NE(rec.find("\"Life expectancy, 2015\""), std::string::npos);
    EXPECT_NE(rec.find("\"Prices, 1990\""), std::string::npos);

    // Cancelled: nothing changes.
    h.host.dialogAnswer = nullptr;
    chart.OnCommand(CmdSelect);
    EXPECT_TRUE(chart.Choice().twoBars);
}

TEST(HorizontalRanking, AnIndicatorWithoutDataTakesTheOtherBarsRange) {
    Horizontal h;
    CHRBarChart& chart = *h.view;
    chart.ApplyChoice({1, 0, 0, 0, false}); // "Nothing" alone: no data
    EXPECT_TRUE(chart.Layout().entries.empty());
    EXPECT_FALSE(chart.QueryCommand(CmdScale).enabled);
    draw::RecordingContext dc;
    chart.Paint(dc, Client);
    EXPECT_TRUE(Lines(dc.Recording(), "rect").empty());
    // With a second bar that has values, the chart shows them on that bar's range.
    chart.ApplyChoice({1, 0, 0, 1, true});
    EXPECT_EQ(chart.Scale(), chart.Table().CurrentAxis(0));
    EXPECT_EQ(chart.Layout().entries.size(), 41u);
    EXPECT_FALSE(chart.Layout().entries[0].HasA());
    EXPECT_TRUE(chart.QueryCommand(CmdScale).enabled);
}

TEST(HorizontalRanking, RegionsWithOnlyAValueBAreListedLast) {
    Horizontal h;
    CHRBarChart& chart = *h.view;
    chart.ApplyChoice({0, 0, 0, 1, true}); // 1990 against 2015 of the same indicator
    const HorizontalLayout& l = chart.Layout();
    EXPECT_FALSE(l.twoDifferent);
    ASSERT_EQ(l.entries.size(), 41u);
    EXPECT_EQ(l.entries.back().name, "R05");
    EXPECT_FALSE(l.entries.back().HasA());
    EXPECT_FLOAT_EQ(l.entries.back().valueB, 50);
    draw::RecordingContext dc;
    chart.Paint(dc, Client);
    // Title without the period, then the two period boxes.
    EXPECT_NE(dc.Recording().find("\"Life expectancy\""), std::string::npos);
    EXPECT_EQ(Lines(dc.Recording(), "text 3682 -450 \"2015\"").size(), 1u);
}

TEST(HorizontalRanking, PrintedPagesInTenthsOfAMillimetre) {
    Horizontal h;
    CHRBarChart& chart = *h.view;
    // A4 at 600 dpi: 297 mm high, 17 rows of 15 mm a page.
    EXPECT_EQ(chart.RowsPerPrintedPage(297), (2970 - 120 + 50 - 100 - 200) / 150);
    const draw::DeviceInfo a4{draw::Technology::Printer, 4960, 7016, 23622, 23622, 24};
    draw::NullContext counter(a4, h.host.measurer);
    EXPECT_EQ(chart.CountPages(counter, {0, 0, 4960, 7016}), 3);
    EXPECT_NE(Json(chart).find("\"perPage\":35,\"printPages\":3}"), std::string::npos);

    draw::RecordingContext page(a4);
    chart.PrintPage(page, {0, 0, 4960, 7016}, 1, true);
    const std::string& rec = page.Recording();
    EXPECT_NE(rec.find("mapmode lometric"), std::string::npos);
    EXPECT_NE(rec.find("windoworg -650 -250"), std::string::npos);
    EXPECT_NE(rec.find("\"Page 2\""), std::string::npos);
    EXPECT_NE(rec.find("\"Source: KVZ Database\""), std::string::npos);
    // Entries 17 to 33: R23 down to R08 (R20 and the total share 60).
    EXPECT_NE(rec.find("\"R23\""), std::string::npos);
    EXPECT_NE(rec.find("\"R08\""), std::string::npos);
    EXPECT_EQ(rec.find("\"R24\""), std::string::npos);
    EXPECT_EQ(rec.find("\"R07\""), std::string::npos);
    // Two bars of different indicators: 10 rows of 25 mm.
    chart.ApplyChoice({0, 0, 2, 0, true});
    EXPECT_EQ(chart.RowsPerPrintedPage(297), (2970 - 70 + 50 - 100 - 300) / 250);
    EXPECT_EQ(chart.PrintedPages(297), 5);
}

TEST(HorizontalRanking, YearsOfFirstAvailableValues) {
    StartedStore db(Ranked);
    const Selection s = RankedSelection({{FirstAvailable, "First Available"}});
    const auto chart = MakeTestView<CHRBarChart>(db.store, s);
    RecordingHost host;
    OpenView(*chart, host);
    const HorizontalLayout& l = chart->Layout();
    EXPECT_TRUE(l.yearsShown);
    ASSERT_EQ(l.entries.size(), 41u);
    const auto r05 = std::find_if(l.entries.begin(), l.entries.end(),
                                  [](const RankedRow& r) { return r.name == "R05"; });
    ASSERT_NE(r05, l.entries.end());
    EXPECT_EQ(chart->YearA(int(r05 - l.entries.begin())), 2015);
    EXPECT_EQ(chart->YearA(0), 1990);
    EXPECT_EQ(chart->YearB(0), 0);
    draw::RecordingContext dc;
    chart->Paint(dc, Client);
    EXPECT_NE(dc.Recording().find("text -25 "), std::string::npos);
    EXPECT_NE(dc.Recording().find("\"1990\""), std::string::npos);
    EXPECT_NE(Json(*chart).find("\"yearA\":1990,\"yearB\":0"), std::string::npos);
}

TEST(HorizontalRanking, ThePictureHoldsEveryRow) {
    Horizontal h;
    CHRBarChart& chart = *h.view;
    const MetafileInfo info = chart.GetMetafileInfo();
    EXPECT_EQ(info.bounds.Width(), 800);
    EXPECT_GT(info.bounds.Height(), 600); // 40 rows of 150 units and the room around them
    const draw::test::EmfFile emf(chart.MakeMetafile(h.host.measurer, false));
    ASSERT_FALSE(emf.Malformed());
    // The white frame, 40 bars and the two highlighted regions' hatch.
    EXPECT_EQ(emf.Count(draw::emr::Rectangle), 1u + 40u + 2u);
}

TEST(HorizontalRanking, RenderOptions) {
    Horizontal h;
    CHRBarChart& chart = *h.view;
    EXPECT_EQ(chart.ApplyRenderOption("--indicator-b", "3"),
              "--indicator-b 3 is past the indicator list");
    EXPECT_EQ(chart.ApplyRenderOption("--page", "0"), "bad --page 0");
    EXPECT_EQ(chart.ApplyRenderOption("--page", "2"), "");
    EXPECT_EQ(chart.ScrollPosition(), 5);
    // A later option keeps the page asked for.
    EXPECT_EQ(chart.ApplyRenderOption("--period-b", "0"), "");
    EXPECT_EQ(chart.ScrollPosition(), 5);
    EXPECT_EQ(chart.ApplyRenderOption("--two-bars", ""), "");
    EXPECT_TRUE(chart.Layout().twoBars);
    EXPECT_EQ(chart.Choice().periodB, 0);
    EXPECT_EQ(chart.ApplyRenderOption("--page", "9"), "--page 9 is past the last page");
}

} // namespace
} // namespace zor::charts
