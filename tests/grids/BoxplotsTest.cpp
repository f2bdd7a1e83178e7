// The boxplots: the statistics against the worked examples (box indices for three fractions and
// three counts, ranks with ties, a region without a value, a missing total), the views on a test
// database (menus, popups, the scale choice, drawing on screen and on paper, the footer, pages,
// the picture and the JSON).
#include "charts/ChartResources.h"
#include "charts/ViewRegistry.h"
#include "core/JsonWriter.h"
#include "draw/RecordingContext.h"
#include "grids/CBoxplots.h"
#include "tests/support/StartedStore.h"
#include "tests/support/ViewTestSupport.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <numeric>

namespace zor::grids {
namespace {

using test::Lines;
using test::RecordingHost;
using test::StartedStore;
constexpr float M = MissingValue;

TEST(BoxplotStats, FractionsOfTheScaleSteps) {
    EXPECT_EQ(std::bit_cast<uint32_t>(BoxFraction(2)), 0x3F4CCCCDu);
    EXPECT_EQ(BoxFraction(2), 0.8f);
    EXPECT_EQ(BoxFraction(1), 0.9f);
    EXPECT_EQ(BoxFraction(5), 0.5f);
    EXPECT_NEAR(BoxFraction(9), 0.1f, 1e-7f);
}

TEST(BoxplotStats, BoxIndicesOfTheWorkedExamples) {
    const float f8 = BoxFraction(2), f5 = BoxFraction(5), f7 = BoxFraction(3);
    auto box = [](int k, float f) {
        const BoxIndices b = BoxIndicesOf(k, f);
        return std::pair{b.top, b.bottom};
    };
    EXPECT_EQ(box(10, f8), std::pair(0, 9));
    EXPECT_EQ(box(20, f8), std::pair(1, 18));
    EXPECT_EQ(box(40, f8), std::pair(3, 36));
    EXPECT_EQ(box(10, f5), std::pair(2, 7));
    EXPECT_EQ(box(20, f5), std::pair(5, 15));
    EXPECT_EQ(box(40, f5), std::pair(10, 30));
    EXPECT_EQ(box(10, f7), std::pair(1, 8));
    // 0.7 in float32 lies a little below 0.7: k (1 + f) / 2 falls just short of 17 and 34.
    EXPECT_EQ(box(20, f7), std::pair(3, 16));
    EXPECT_EQ(box(40, f7), std::pair(6, 33));
    // A fraction of 1 (zorexport's --fraction) keeps the box on present values.
    EXPECT_EQ(box(10, 1.0f), std::pair(0, 9));
    EXPECT_EQ(box(0, f8), std::pair(0, 0));
}

// Ten values 1 ... 10 in a scrambled row order, with the region at row 2 and the total at 9.
std::vector<float> Ten() {
    return {3, 7, 1, 10, 5, 9, 2, 8, 4, 6};
}

TEST(BoxplotStats, BoxByValueOverEveryRowIncludingTheTotal) {
    const BoxStats s = ComputeBoxStats(Ten(), 2, 9, BoxFraction(2));
    EXPECT_EQ(s.valueCount, 10);
    EXPECT_EQ(s.maxValue, 10);
    EXPECT_EQ(s.minValue, 1);
    EXPECT_EQ(s.boxTopIndex, 0);
    EXPECT_EQ(s.boxBottomIndex, 9);
    EXPECT_EQ(s.boxHigh, 10);
    EXPECT_EQ(s.boxLow, 1);
    EXPECT_EQ(s.regionValue, 1);
    EXPECT_EQ(s.totalValue, 6);

    const BoxStats half = ComputeBoxStats(Ten(), 2, 9, BoxFraction(5));
    EXPECT_EQ(half.boxHigh, 8); // sorted[2]
    EXPECT_EQ(half.boxLow, 3);  // sorted[7]

    // Missing values are not among the k values; the region without a value keeps the bar.
    std::vector<float> some = Ten();
    some[2] = M;
    some[9] = M;
    const BoxStats gaps = ComputeBoxStats(some, 2, 9, BoxFraction(2));
    EXPECT_EQ(gaps.valueCount, 8);
    EXPECT_EQ(gaps.minValue, 2);
    EXPECT_FALSE(gaps.Empty());
    EXPECT_TRUE(IsMissing(gaps.regionValue));
    EXPECT_TRUE(IsMissing(gaps.totalValue));
    // A region that is not in the table, no total row.
    const BoxStats none = ComputeBoxStats(Ten(), -1, -1, BoxFraction(2));
    EXPECT_TRUE(IsMissing(none.regionValue));
    EXPECT_TRUE(IsMissing(none.totalValue));
    EXPECT_EQ(none.valueCount, 10);

    // Nothing present (or only a NaN of a broken file): an empty record.
    const BoxStats empty = ComputeBoxStats(std::vector<float>{M, M, NAN}, 0, 2, 0.8f);
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.valueCount, 0);
}

TEST(BoxplotStats, RanksShareTheHighestRankOfATie) {
    const std::vector<float> sorted{9, 7, 7, 7, 4, 2};
    EXPECT_EQ(RankOf(sorted, 9), 6); // the largest: k of k
    EXPECT_EQ(RankOf(sorted, 7), 5);
    EXPECT_EQ(RankOf(sorted, 4), 2);
    EXPECT_EQ(RankOf(sorted, 2), 1); // the smallest: 1 of k, not 0
    EXPECT_EQ(RankOf(sorted, 3), 0); // not among them
    EXPECT_EQ(RankOf(sorted, M), 0);

    const RankStats s = ComputeRankStats(std::vector<float>{7, 2, 9, 7, M, 4, 7}, 3, 6);
    EXPECT_EQ(s.valueCount, 6);
    EXPECT_EQ(s.regionRank, 5);
    EXPECT_EQ(s.totalRank, 5);
    EXPECT_EQ(s.maxValue, 9);
    EXPECT_EQ(s.minValue, 2);

    // The region without a value: rank 0, the bar stays; the total missing: no total rank.
    const RankStats noValue = ComputeRankStats(std::vector<float>{7, 2, M, M}, 2, 3);
    EXPECT_EQ(noValue.valueCount, 2);
    EXPECT_EQ(noValue.regionRank, 0);
    EXPECT_TRUE(IsMissing(noValue.totalValue));
    EXPECT_EQ(noValue.totalRank, 0);
    // A region without a row, or no present value: empty.
    EXPECT_TRUE(ComputeRankStats(std::vector<float>{7, 2}, -1, 1).Empty());
    EXPECT_EQ(ComputeRankStats(std::vector<float>{M, M}, 0, 1).valueCount, -1);
}

// Nine regions and their total. 2000: R1 ... R9 = 10 ... 90, the total 50 (ties with R5);
// 2001: R3 and the total missing. Exports have no value at all.
void Boxes(test::Fixture& f) {
    std::vector<std::string> names;
    for (int r = 1; r <= 9; ++r) names.push_back("R" + std::to_string(r));
    names.push_back("Total");
    f.Set(10000, "Country", names);
    f.Group(1, "Economy");
    f.Indicator(1010, "Income per head");
    f.Indicator(1020, "Exports");
    f.Periods({2000, 2001});
    f.Values(10000, 2000, 1010, {10, 20, 30, 40, 50, 60, 70, 80, 90, 50});
    f.Values(10000, 2001, 1010, {10, 20, M, 40, 50, 60, 70, 80, 90, M});
}

Selection BoxChoice() {
    Selection s;
    s.Confirm(10000, {{1010, "Income per head"}, {1020, "Exports"}},
              {{MakeRegionKey(10000, 3), "R3"}, {MakeRegionKey(10000, 5), "R5"}},
              {{2000, "2000"}, {2001, "2001"}});
    return s;
}

template <class View> struct Open {
    StartedStore db{Boxes};
    Selection selection;
    charts::ChartResources resources;
    RecordingHost host;
    std::unique_ptr<View> view;
    explicit Open(Selection s = BoxChoice()) : selection(std::move(s)) {
        view = std::make_unique<View>(charts::ViewContext{db.store, resources, selection, nullptr});
        test::OpenView(*view, host);
    }
    // One value cell drawn on the screen (340 × 60 at the origin) or on paper.
    std::string Cell(int row, int col, bool printing = false) {
        draw::RecordingContext dc(host.measurer, draw::DeviceInfo{});
        const draw::Rect cell =
            printing ? draw::Rect{0, 1000, 927, 837} : draw::Rect{0, 0, 340, 60};
        view->DrawCellText(dc, cell, view->Columns()[static_cast<size_t>(col)], "", row, col,
                           printing ? view->PrintScale() : 1.0f, printing);
        return dc.Recording();
    }
    std::string Footer() {
        draw::RecordingContext dc(host.measurer, draw::DeviceInfo{});
        view->DrawFooter(dc, {0, 100, 600, 140}, 1.0f, false);
        return dc.Recording();
    }
};

std::vector<int> MenuIds(const std::vector<charts::MenuItem>& menu) {
    std::vector<int> ids;
    for (const charts::MenuItem& m : menu)
        ids.push_back(m.kind == charts::MenuItem::Popup ? -1 : m.id);
    return ids;
}

TEST(Boxplots, MenusColumnsAndBands) {
    EXPECT_EQ(MenuIds(CBoxplotR::FrameMenu()),
              (std::vector<int>{-1, CmdPrint, CmdSpecial, CmdQuit}));
    const charts::MenuItem& scale = CBoxplotR::FrameMenu()[0];
    EXPECT_STREQ(scale.caption, "Scale");
    ASSERT_EQ(scale.items.size(), 9u);
    EXPECT_EQ(scale.items.front().id, 1501);
    EXPECT_EQ(scale.items.back().id, 1509);
    EXPECT_EQ(MenuIds(CBoxplotV::FrameMenu()), (std::vector<int>{CmdPrint, CmdSpecial, CmdQuit}));

    Open<CBoxplotR> r;
    ASSERT_TRUE(r.view->Loaded());
    EXPECT_EQ(r.view->Title(), "R3");
    EXPECT_EQ(r.view->Bands().title, 30);
    EXPECT_EQ(r.view->Bands().header, 20);
    EXPECT_EQ(r.view->Bands().row, 60);
    EXPECT_EQ(r.view->Bands().footer, 40);
    EXPECT_EQ(r.view->BodyFont().weight, 700);
    EXPECT_EQ(r.view->HeaderFont().weight, 400);
    EXPECT_EQ(r.view->ScreenLabelFont().weight, 400);
    EXPECT_EQ(r.view->ScreenLabelFont().face, "Tahoma");
    EXPECT_EQ(r.view->PictureLabelFont().face, "Arial");
    EXPECT_EQ(r.view->PictureLabelFont().height, 11);
    EXPECT_EQ(r.view->PrintLabelFont().height, 30); // 3 mm
    const auto& cols = r.view->Columns();
    ASSERT_EQ(cols.size(), 3u);
    EXPECT_EQ(cols[0].header, "Indicators");
    EXPECT_TRUE(cols[0].wrap);
    EXPECT_EQ(cols[0].nominalWidth, FitToContent);
    EXPECT_EQ(cols[1].header, "2000");
    EXPECT_EQ(cols[1].width, 340);
    EXPECT_EQ(cols[1].nominalWidth, 340);
    EXPECT_EQ(cols[1].alignment, CellAlign::Center);
    ASSERT_EQ(r.view->RowCount(), 2);
    EXPECT_EQ(r.view->Cell(0, 0), "1010 Income per head");
    // The regions popup first, also for one region.
    ASSERT_EQ(r.view->Popups().size(), 1u);
    EXPECT_EQ(r.view->Popups()[0].kind, charts::PopupKind::Regions);
    EXPECT_EQ(r.view->Popups()[0].position, 0);
    Open<CBoxplotV> one(Selection([] {
        Selection s = BoxChoice();
        s.Confirm(10000, s.Indicators(), {{MakeRegionKey(10000, 3), "R3"}}, s.Periods());
        return s;
    }()));
    EXPECT_EQ(one.view->Popups().size(), 1u);
    EXPECT_EQ(one.view->Columns()[1].width, 300);
    EXPECT_TRUE(one.host.messages.empty());
}

TEST(Boxplots, ByValueRecordsFollowTheRegionAndTheScale) {
    Open<CBoxplotR> r;
    const BoxStats& s = r.view->Record(0, 0);
    EXPECT_EQ(s.valueCount, 10);
    EXPECT_EQ(s.boxHigh, 90);
    EXPECT_EQ(s.boxLow, 10);
    EXPECT_EQ(s.regionValue, 30);
    EXPECT_EQ(s.totalValue, 50);
    EXPECT_TRUE(IsMissing(r.view->Record(0, 1).regionValue));
    EXPECT_TRUE(IsMissing(r.view->Record(0, 1).totalValue));
    EXPECT_TRUE(r.view->Record(1, 0).Empty());

    EXPECT_EQ(r.view->QueryCommand(1502), (charts::CommandState{true, true}));
    EXPECT_EQ(r.view->QueryCommand(1505), (charts::CommandState{true, false}));
    const int repaints = r.host.repaintedNow;
    EXPECT_TRUE(r.view->OnCommand(1502)); // the current step
    EXPECT_EQ(r.host.repaintedNow, repaints);
    EXPECT_TRUE(r.view->OnCommand(1505));
    EXPECT_EQ(r.host.repaintedNow, repaints + 1);
    EXPECT_EQ(r.view->BoxFractionValue(), 0.5f);
    EXPECT_EQ(r.view->QueryCommand(1505), (charts::CommandState{true, true}));
    EXPECT_EQ(r.view->Record(0, 0).boxHigh, 70);
    EXPECT_EQ(r.view->Record(0, 0).boxLow, 30);

    EXPECT_TRUE(r.view->Select(charts::PopupKind::Regions, 1));
    EXPECT_EQ(r.view->Title(), "R5");
    EXPECT_EQ(r.view->Record(0, 0).regionValue, 50);
    EXPECT_EQ(r.view->Record(0, 1).regionValue, 50);
    EXPECT_EQ(r.view->Record(0, 0).boxHigh, 70); // the scale stays

    EXPECT_EQ(r.view->ApplyRenderOption("--fraction", "0.7"), "");
    EXPECT_EQ(r.view->ScaleStep(), 3);
    EXPECT_EQ(r.view->Record(0, 0).boxTopIndex, 1);
    EXPECT_EQ(r.view->ApplyRenderOption("--fraction", "0.25"), "");
    EXPECT_EQ(r.view->ScaleStep(), 0);
    for (const char* bad : {"0", "1.5", "x", "", "0.5x", "nan"})
        EXPECT_NE(r.view->ApplyRenderOption("--fraction", bad), "") << bad;
}

TEST(Boxplots, ByRankRecordsTieTheTotalWithTheRegion) {
    Open<CBoxplotV> v;
    const RankStats& s = v.view->Record(0, 0);
    EXPECT_EQ(s.valueCount, 10);
    EXPECT_EQ(s.regionRank, 3);
    EXPECT_EQ(s.totalRank, 6); // 50 twice: both have 6 values at or below them
    v.view->Select(charts::PopupKind::Regions, 1);
    EXPECT_EQ(v.view->Record(0, 0).regionRank, 6);
    EXPECT_EQ(v.view->Record(0, 1).valueCount, 8);
    EXPECT_EQ(v.view->Record(0, 1).regionRank, 4);
    EXPECT_TRUE(IsMissing(v.view->Record(0, 1).totalValue));
    EXPECT_TRUE(v.view->Record(1, 1).Empty());
}

TEST(Boxplots, ByValueCellOnTheScreen) {
    Open<CBoxplotR> r;
    const std::string cell = r.Cell(0, 1);
    // The bar 120 × 26 in the middle of the 340 × 60 cell, the mark line 10 above its bottom.
    EXPECT_EQ(Lines(cell, "rect"),
              (std::vector<std::string>{"rect 110 17 230 43", "rect 110 17 230 43",
                                        "rect 110 17 230 43", "rect 168 33 172 38"}));
    EXPECT_NE(cell.find("brush solid #00c000\n"), std::string::npos);
    EXPECT_EQ(Lines(cell, "text "),
              (std::vector<std::string>{"text 107 17 \"Min:10\"", "text 107 43 \"Box Min:10\"",
                                        "text 233 17 \"Max:90\"", "text 233 43 \"Box Max:90\"",
                                        "text 170 15 \"30\"", "text 170 43 \"Total=50\""}));
    // The total's block at 50 (the middle, above), the region's caret at 30.
    EXPECT_EQ(Lines(cell, "polyline"), (std::vector<std::string>{"polyline 135,38 140,33 145,38"}));
    EXPECT_NE(cell.find("pen solid 2 #c00000"), std::string::npos);
    EXPECT_NE(cell.find("font \"Tahoma\" height=-11 weight=400"), std::string::npos);

    // 50 %: the box from 30 to 70.
    r.view->OnCommand(1505);
    EXPECT_NE(r.Cell(0, 1).find("rect 140 17 200 43"), std::string::npos);
    // 2001: no region value and no total, so neither their texts nor their marks.
    const std::string gaps = r.Cell(0, 2);
    EXPECT_EQ(Lines(gaps, "text ").size(), 4u);
    EXPECT_TRUE(Lines(gaps, "polyline").empty());
    // No value at all: nothing drawn.
    EXPECT_TRUE(Lines(r.Cell(1, 1), "rect").empty());
}

TEST(Boxplots, ByRankCellOnTheScreenAndOnPaper) {
    Open<CBoxplotV> v;
    const std::string cell = v.Cell(0, 1);
    EXPECT_EQ(
        Lines(cell, "text "),
        (std::vector<std::string>{"text 107 17 \"0\"", "text 134 17 \"20\"", "text 158 17 \"40\"",
                                  "text 182 17 \"60\"", "text 206 17 \"80\"", "text 232 17 \"100\"",
                                  "text 107 43 \"Min:10\"", "text 233 43 \"Max:90\"",
                                  "text 170 17 \"30\"", "text 170 43 \"Total=50\""}));
    EXPECT_NE(cell.find("textcolor #000080"), std::string::npos); // the scale in dark blue
    // Rank 6 of 10 for the total, 3 of 10 for the region.
    EXPECT_NE(cell.find("rect 180 33 184 38"), std::string::npos) << cell;
    EXPECT_EQ(Lines(cell, "polyline"), (std::vector<std::string>{"polyline 141,38 146,33 151,38"}));

    // On paper (y up, 0.1 mm): the bar 327 × 68 in a cell 927 × 163, the marks below the mark
    // line in the paper's downward direction, the printer's label font.
    const std::string paper = v.Cell(0, 1, true);
    EXPECT_EQ(Lines(paper, "rect").front(), "rect 300 953 627 884");
    EXPECT_EQ(Lines(paper, "polyline"),
              (std::vector<std::string>{"polyline 385,898 398,911 411,898"}));
    EXPECT_NE(paper.find("font \"Arial\" height=30 weight=400"), std::string::npos);
}

TEST(Boxplots, FooterLegendFollowsTheFraction) {
    Open<CBoxplotR> r;
    const std::string footer = r.Footer();
    const auto texts = Lines(footer, "text ");
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "text 5 115 \"80% middle values are in\"");
    // "box" 27 right of the text's end (24 characters of 5.5 pixels), the green sample between.
    EXPECT_EQ(texts[1], "text 164 115 \"box\"");
    EXPECT_NE(footer.find("rect 142 104 162 120"), std::string::npos) << footer;
    EXPECT_EQ(texts[2], "text 24 132 \"region value\"");
    EXPECT_EQ(Lines(footer, "polyline"),
              (std::vector<std::string>{"polyline 5,129 10,124 15,129"}));
    EXPECT_EQ(texts[3], "text 111 132 \"average value\"");
    r.view->OnCommand(1501);
    EXPECT_EQ(Lines(r.Footer(), "text ")[0], "text 5 115 \"90% middle values are in\"");
    r.view->OnCommand(1509);
    EXPECT_EQ(Lines(r.Footer(), "text ")[0], "text 5 115 \"10% middle values are in\"");

    Open<CBoxplotV> v;
    EXPECT_EQ(Lines(v.Footer(), "text ").size(), 2u);
}

TEST(Boxplots, JsonHoldsTheRecordsWithNullForMissing) {
    Open<CBoxplotR> r;
    JsonWriter j;
    ASSERT_TRUE(r.view->WriteData(j));
    const std::string json = j.str();
    EXPECT_EQ(json.rfind("{\"fraction\":0.8,\"records\":[{\"indicator\":1010,\"period\":2000,"
                         "\"valueCount\":10,\"maxValue\":90,\"minValue\":10,\"boxTopIndex\":0,"
                         "\"boxBottomIndex\":9,\"boxHigh\":90,\"boxLow\":10,\"regionValue\":30,"
                         "\"totalValue\":50},",
                         0),
              0u)
        << json;
    EXPECT_NE(json.find("{\"indicator\":1020,\"period\":2001,\"valueCount\":0,\"maxValue\":null,"
                        "\"minValue\":null,\"boxTopIndex\":0,\"boxBottomIndex\":0,"
                        "\"boxHigh\":null,\"boxLow\":null,\"regionValue\":null,"
                        "\"totalValue\":null}"),
              std::string::npos);
    EXPECT_NE(json.find("\"footer\":\"80% middle values are in\\nbox\\nregion value\\naverage "
                        "value\"}"),
              std::string::npos);

    Open<CBoxplotV> v;
    JsonWriter k;
    ASSERT_TRUE(v.view->WriteData(k));
    EXPECT_EQ(k.str().rfind("{\"fraction\":null,\"records\":[{\"indicator\":1010,\"period\":2000,"
                            "\"valueCount\":10,\"maxValue\":90,\"minValue\":10,\"regionValue\":30,"
                            "\"totalValue\":50,\"regionRank\":3,\"totalRank\":6},",
                            0),
              0u)
        << k.str();
    EXPECT_NE(k.str().find("\"period\":2001,\"valueCount\":-1,"), std::string::npos);
}

TEST(Boxplots, TipsSumUpACell) {
    Open<CBoxplotR> r;
    EXPECT_EQ(r.view->CellTip(0, 1), "Max:90\nBox Max:90\nBox Min:10\nMin:10\nR3: 30\nTotal=50");
    EXPECT_EQ(r.view->CellTip(1, 1), "");
    Open<CBoxplotV> v;
    EXPECT_EQ(v.view->CellTip(0, 1),
              "Max:90\nMin:10\nR3: 30, rank 3 of 10\nTotal=50, rank 6 of 10");
}

// Twenty indicators in three periods: two row pages (16 rows of 16.3 mm between the bands) and
// two column pages (column 0 and two 92.7 mm columns fit within 208 mm).
void ManyIndicators(test::Fixture& f) {
    Boxes(f);
    for (int i = 3; i <= 20; ++i) f.Indicator(1000 + 10 * i, "Indicator " + std::to_string(i));
    f.Periods({2000, 2001, 2002});
}

TEST(Boxplots, PrintsInPagesWithTheFooterOnEach) {
    StartedStore db(ManyIndicators);
    std::vector<ListItem> indicators;
    for (int i = 1; i <= 20; ++i) indicators.push_back({1000 + 10 * i, "Indicator"});
    Selection s;
    s.Confirm(10000, indicators, {{MakeRegionKey(10000, 3), "R3"}},
              {{2000, "2000"}, {2001, "2001"}, {2002, "2002"}});
    RecordingHost host;
    auto view = test::MakeTestView<CBoxplotR>(db.store, s);
    test::OpenView(*view, host);
    const draw::DeviceInfo a4{draw::Technology::Printer, 2100, 2970, 10000, 10000, 24};
    draw::RecordingContext counter(host.measurer, a4);
    EXPECT_EQ(view->CountPages(counter, {0, 0, 2100, 2970}), 4);
    EXPECT_EQ(view->Plan().rowsPerPage, 16);
    EXPECT_EQ(view->Plan().columnPages.size(), 2u);
    // The last page: rows 17 to 20 of the third period, and the legend.
    draw::RecordingContext dc(host.measurer, a4);
    view->PrintPage(dc, {0, 0, 2100, 2970}, 3, true);
    const std::string page = dc.Recording();
    EXPECT_NE(page.find("\"Page 4\""), std::string::npos);
    EXPECT_NE(page.find("1200 Indicator"), std::string::npos);
    EXPECT_EQ(page.find("1160 Indicator"), std::string::npos);
    EXPECT_NE(page.find("\"80% middle values are in\""), std::string::npos);
    EXPECT_NE(page.find("\"2002\""), std::string::npos);
}

TEST(Boxplots, PictureUsesThePictureFontsAndIsColoured) {
    Open<CBoxplotR> r;
    r.host.exportAnswer = charts::ExportChoice{true, false};
    EXPECT_TRUE(r.view->OnCommand(CmdSpecial));
    EXPECT_EQ(r.host.exportOffers, (std::vector<bool>{false}));
    ASSERT_FALSE(r.host.clipboard.empty());
    const charts::MetafileInfo info = r.view->GetMetafileInfo();
    EXPECT_EQ(info.bounds.Height(), 30 + 20 + 2 * 60 + 40 + 2);
    draw::RecordingContext dc(
        r.host.measurer, draw::DeviceInfo{draw::Technology::Metafile, 800, 300, 3780, 3780, 24});
    r.view->DrawPicture(dc, info.bounds, false);
    const std::string picture = dc.Recording();
    EXPECT_NE(picture.find("font \"Arial\" height=11 weight=400"), std::string::npos);
    EXPECT_NE(picture.find("\"Box Max:90\""), std::string::npos);
    EXPECT_NE(picture.find("\"region value\""), std::string::npos);
}

} // namespace
} // namespace zor::grids
