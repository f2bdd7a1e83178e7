// Line charts A, B and C as views: series over the catalogue's years, popups and commands, the
// 3-year average, trend lines from a clicked year, the scale dialogs with the logarithmic scale,
// regions highlighting, the indicator key of C, tooltips and the data behind them.
#include "charts/CCompChart.h"
#include "charts/CLineCharC.h"
#include "charts/CLineChart.h"
#include "charts/DialogRules.h"
#include "charts/RegionsHighlight.h"
#include "charts/ViewRegistry.h"
#include "core/JsonWriter.h"
#include "core/Numeric.h"
#include "draw/RecordingContext.h"
#include "tests/charts/ChartTestSupport.h"

#include <gtest/gtest.h>

namespace zor::charts {
namespace {

using test::Lines;
using test::MakeTestView;
using test::OpenView;
using test::RecordingHost;
using test::StartedStore;
constexpr float M = MissingValue;

// Three regions over six years: North grows by exactly 1 a year, South by 2 (no 1994), East by
// 1 from 1992 (no 1991). Exports have no values; prices change sign.
void Trends(zor::test::Fixture& f) {
    f.Set(10000, "Country", {"North", "South", "East", "Total"});
    f.Group(1, "Economy");
    f.Indicator(1010, "Income");
    f.Indicator(1020, "Exports");
    f.Indicator(1030, "Prices");
    f.Periods({1990, 1991, 1992, 1993, 1994, 1995});
    f.Values(10000, 1990, 1010, {10, 20, 30, 60});
    f.Values(10000, 1991, 1010, {11, 22, M, 66});
    f.Values(10000, 1992, 1010, {12, 24, 33, 69});
    f.Values(10000, 1993, 1010, {13, 26, 34, 73});
    f.Values(10000, 1994, 1010, {14, M, 35, 49});
    f.Values(10000, 1995, 1010, {15, 30, 36, 81});
    f.Values(10000, 1990, 1030, {-5, 2, 100, 0});
    f.Values(10000, 1991, 1030, {-4, 3, 200, 0});
}

Selection TrendSelection(std::vector<ListItem> indicators = {
                             {1010, "Income"}, {1020, "Exports"}, {1030, "Prices"}}) {
    Selection s;
    s.Confirm(10000, std::move(indicators),
              {{MakeRegionKey(10000, 1), "North"},
               {MakeRegionKey(10000, 2), "South"},
               {MakeRegionKey(10000, 3), "East"}},
              {{1990, "1990"}, {1995, "1995"}});
    return s;
}

const draw::Rect Client{0, 0, 800, 600};

// The device point of a logical point under the view's screen mapping.
draw::Point DeviceOf(const CGraphView& view, int x, int y) {
    const draw::Rect d = view.ToDevice({x, y, x, y}, Client);
    return {d.left, d.top};
}

void ClickAtYear(CYearLineChart& chart, double year) {
    const ChartAxes& a = chart.Axes();
    const int x = a.SeriesX(year) + 5; // inside the year, not on its edge
    chart.MouseClick(MouseButton::Left, MouseAction::Down, DeviceOf(chart, x, 2500), Client);
}

std::string Json(CView& view) {
    JsonWriter j;
    EXPECT_TRUE(view.WriteData(j));
    return j.str();
}

struct ChartA {
    StartedStore db{Trends};
    Selection selection = TrendSelection();
    std::unique_ptr<CLineChart> view = MakeTestView<CLineChart>(db.store, selection);
    RecordingHost host;
    ChartA() { OpenView(*view, host); }
    CLineChart& operator*() { return *view; }
};

TEST(LineChartA, SeriesSpanEveryCatalogueYear) {
    ChartA a;
    CLineChart& chart = *a;
    EXPECT_TRUE(a.host.messages.empty());
    EXPECT_EQ(chart.Years(), (std::vector<int>{1990, 1991, 1992, 1993, 1994, 1995}));
    ASSERT_EQ(chart.Series().size(), 3u);
    EXPECT_EQ(chart.Series()[0].ys, (std::vector<float>{10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(chart.Series()[1].xs, (std::vector<float>{1990, 1991, 1992, 1993, 1995}));
    EXPECT_EQ(chart.Series()[2].xs, (std::vector<float>{1990, 1992, 1993, 1994, 1995}));
    // x: the first to the last year plus five; y: the value table's range of the indicator.
    float lo = 1990, hi = 2000;
    const float step = NiceScale(lo, hi, 10);
    EXPECT_EQ(chart.XRange(), (AxisRange{lo, hi, step}));
    EXPECT_EQ(chart.YRange(), chart.Table().ComputedAxis(0));
    EXPECT_EQ(chart.Axes().XMin(), lo);
    EXPECT_EQ(chart.Axes().YMax(), chart.YRange().max);

    // The menu: Options, Regions, Scale, then the indicators at position 3.
    const auto& menu = CLineChart::FrameMenu();
    ASSERT_EQ(menu.size(), 6u);
    EXPECT_EQ(menu[0].kind, MenuItem::Popup);
    EXPECT_EQ(menu[0].items[0].id, CmdUseAverage);
    EXPECT_EQ(menu[1].id, CmdLineRegions);
    ASSERT_EQ(chart.Popups().size(), 1u);
    EXPECT_EQ(chart.Popups()[0].kind, PopupKind::Indicators);
    EXPECT_EQ(chart.Popups()[0].position, 3);
}

TEST(LineChartA, AverageTogglesWithItsCheckMark) {
    ChartA a;
    CLineChart& chart = *a;
    const AxisRange x = chart.XRange();
    EXPECT_EQ(chart.QueryCommand(CmdUseAverage), (CommandState{true, false}));
    EXPECT_TRUE(chart.OnCommand(CmdUseAverage));
    EXPECT_EQ(chart.QueryCommand(CmdUseAverage), (CommandState{true, true}));
    EXPECT_EQ(a.host.repaintedNow, 1);
    // North: 1991 to 1994; South: 1991 and 1992 (1993 borders 1994's gap); East: 1993, 1994.
    EXPECT_EQ(chart.Series()[0].xs, (std::vector<float>{1991, 1992, 1993, 1994}));
    EXPECT_EQ(chart.Series()[0].ys, (std::vector<float>{11, 12, 13, 14}));
    EXPECT_EQ(chart.Series()[1].xs, (std::vector<float>{1991, 1992}));
    EXPECT_EQ(chart.Series()[1].ys, (std::vector<float>{22, 24}));
    EXPECT_EQ(chart.Series()[2].xs, (std::vector<float>{1993, 1994}));
    EXPECT_EQ(chart.XRange(), x); // ranges stay
    chart.OnCommand(CmdUseAverage);
    EXPECT_EQ(chart.Series()[0].Size(), 6u);
}

TEST(LineChartA, ClickedYearStartsTrendLinesAndPageChangesEndThem) {
    ChartA a;
    CLineChart& chart = *a;
    ClickAtYear(chart, 1992);
    ASSERT_TRUE(chart.TrendShown());
    EXPECT_EQ(chart.TrendYear(), 1992);
    ASSERT_EQ(chart.Trends().size(), 3u);
    EXPECT_EQ(chart.Trends()[0], (TrendLine{1, -1980}));
    EXPECT_FLOAT_EQ(chart.Trends()[1].slope, 2); // 1992, 1993 and 1995
    EXPECT_FLOAT_EQ(chart.Trends()[2].slope, 1);
    draw::RecordingContext dc;
    chart.Paint(dc, Client);
    // Trend lines in the thin pens, from the clicked year to the end of the range.
    EXPECT_EQ(Lines(dc.Recording(), "pen solid 0 #ff0000").size(), 1u);
    const std::string json = Json(chart);
    EXPECT_NE(json.find("\"trend\":{\"slope\":1,\"intercept\":-1980}"), std::string::npos) << json;

    // The right button does nothing; a click at or after the last year ends the trend.
    chart.MouseClick(MouseButton::Right, MouseAction::Down, DeviceOf(chart, 100, 100), Client);
    EXPECT_TRUE(chart.TrendShown());
    ClickAtYear(chart, 1995);
    EXPECT_FALSE(chart.TrendShown());
    EXPECT_EQ(Json(chart).find("\"slope\""), std::string::npos);

    chart.TrendFrom(1990);
    EXPECT_TRUE(chart.TrendShown());
    EXPECT_TRUE(chart.OnCommand(CmdFirstIndicator + 2)); // Prices: only 1990 and 1991
    EXPECT_FALSE(chart.TrendShown());
    // From 1991 every series has one point at most: no variance, no line; still shown.
    chart.TrendFrom(1991 - 0.5f);
    ASSERT_TRUE(chart.TrendShown());
    for (const TrendLine& t : chart.Trends()) EXPECT_FALSE(t.Present());
    chart.TrendFrom(1991);
    EXPECT_FALSE(chart.TrendShown()); // the last year with data
}

TEST(LineChartA, ScaleDialogStoresBothAxesAndTheLogarithmicChoice) {
    ChartA a;
    CLineChart& chart = *a;
    chart.TrendFrom(1990);
    XYScaleInput asked;
    XYScaleResult answer{true, {1990, 1996, 2}, {0, 40, 5}, false};
    a.host.dialogAnswer = [&](DialogModel& m) {
        auto* xy = dynamic_cast<XYScaleDialogModel*>(&m);
        if (!xy) return false;
        asked = xy->input;
        xy->result = answer;
        return true;
    };
    EXPECT_TRUE(chart.OnCommand(CmdScale));
    EXPECT_TRUE(asked.logOffered);
    EXPECT_FALSE(asked.logChosen);
    EXPECT_EQ(asked.xDefault.max, chart.DefaultXRange().max);
    EXPECT_EQ(chart.XRange(), (AxisRange{1990, 1996, 2}));
    EXPECT_EQ(chart.YRange(), (AxisRange{0, 40, 5}));
    EXPECT_EQ(chart.Axes().XMax(), 1996);
    EXPECT_FALSE(chart.TrendShown()); // the scale ends trend lines

    answer = {true, {1990, 2000, 1}, {10, 40, 5}, true};
    chart.OnCommand(CmdScale);
    ASSERT_TRUE(chart.Logarithmic());
    EXPECT_EQ(chart.Axes().Log().posLow, 1); // 10 to 36: one decade
    EXPECT_EQ(chart.Axes().Log().posHigh, 2);
    EXPECT_TRUE(asked.logChosen == false);
    chart.OnCommand(CmdScale);
    EXPECT_TRUE(asked.logChosen);
    // Another page gets its own decades.
    chart.OnCommand(CmdFirstIndicator + 2);
    EXPECT_EQ(chart.Axes().Log().negHigh, 1); // -5 and -4
    EXPECT_EQ(chart.Axes().Log().posHigh, 3); // up to 200
    EXPECT_NE(Json(chart).find("\"log\":true"), std::string::npos);
}

TEST(LineChartA, HighlightedRegionsInColourTheOthersGrey) {
    ChartA a;
    CLineChart& chart = *a;
    a.host.dialogAnswer = [](DialogModel& m) {
        auto* h = dynamic_cast<RegionsHighlightModel*>(&m);
        if (!h) return false;
        EXPECT_EQ(h->names, (std::vector<std::string>{"North", "South", "East"}));
        EXPECT_FALSE(h->use);
        h->checked = {false, true, false};
        h->use = true;
        return true;
    };
    EXPECT_TRUE(chart.OnCommand(CmdLineRegions));
    EXPECT_TRUE(chart.Highlighting());
    EXPECT_EQ(chart.Highlighted(), std::vector<int>{1});

    draw::RecordingContext dc;
    chart.Paint(dc, Client);
    const std::string& rec = dc.Recording();
    EXPECT_EQ(Lines(rec, "pen solid 10 #808080").size(), 2u); // North and East
    EXPECT_EQ(Lines(rec, "pen solid 25 #ff0000").size(), 2u); // South's line and legend key
    // Markers of the first colour (circles) at South's five points and in the legend only.
    EXPECT_EQ(Lines(rec, "ellipse").size(), 6u);
    const Legend legend = chart.LegendLayout();
    ASSERT_EQ(legend.items.size(), 1u);
    EXPECT_EQ(legend.items[0].name, "South");
    EXPECT_EQ(legend.items[0].series, 0);
    EXPECT_EQ(legend.items[0].key.top, (5000 + 3 * 150) / 2 - 50); // placed as for three
    EXPECT_NE(Json(chart).find("\"label\":\"South\",\"points\":[[1990,20]"), std::string::npos);

    // Highlighting with no region checked: every line grey, no markers, an empty legend.
    chart.SetHighlighting(true, {});
    draw::RecordingContext none;
    chart.Paint(none, Client);
    EXPECT_EQ(Lines(none.Recording(), "pen solid 10 #808080").size(), 3u);
    EXPECT_TRUE(Lines(none.Recording(), "ellipse").empty());
    EXPECT_TRUE(Lines(none.Recording(), "polygon").empty());
    EXPECT_TRUE(chart.LegendLayout().items.empty());
}

TEST(LineChartA, TooltipOfThePointUnderThePointer) {
    ChartA a;
    CLineChart& chart = *a;
    const ChartAxes& axes = chart.Axes();
    const draw::Point at = DeviceOf(chart, axes.SeriesX(1991), axes.SeriesY(11));
    EXPECT_EQ(chart.MouseMove(at, Client), TipAction::Show);
    EXPECT_EQ(chart.TipText(), "North: 11 (1991)");
    EXPECT_EQ(chart.MouseMove({799, 1}, Client), TipAction::Hide);
}

TEST(LineChartA, NoDataReportedAndScaleDisabled) {
    StartedStore db(Trends);
    const Selection s = TrendSelection({{1020, "Exports"}});
    const auto chart = MakeTestView<CLineChart>(db.store, s);
    RecordingHost host;
    OpenView(*chart, host);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].second, MessageIcon::Stop);
    EXPECT_TRUE(chart->Popups().empty());
    EXPECT_FALSE(chart->QueryCommand(CmdScale).enabled);
    chart->OnCommand(CmdScale);
    EXPECT_TRUE(host.dialogs.empty());
    ClickAtYear(*chart, 1990);
    EXPECT_FALSE(chart->TrendShown());
    draw::RecordingContext dc;
    chart->Paint(dc, Client);
    EXPECT_TRUE(Lines(dc.Recording(), "lineto").empty());
}

TEST(LineChartB, OneRegionALinePerIndicator) {
    StartedStore db(Trends);
    const Selection s = TrendSelection();
    const auto chart = MakeTestView<CCompChart>(db.store, s);
    RecordingHost host;
    OpenView(*chart, host);
    ASSERT_EQ(chart->Popups().size(), 1u);
    EXPECT_EQ(chart->Popups()[0].kind, PopupKind::Regions);
    EXPECT_EQ(chart->Popups()[0].position, 2);
    ASSERT_EQ(chart->Series().size(), 3u);
    EXPECT_EQ(chart->Series()[0].ys, (std::vector<float>{10, 11, 12, 13, 14, 15}));
    EXPECT_TRUE(chart->Series()[1].Empty());
    EXPECT_EQ(chart->Series()[2].ys, (std::vector<float>{-5, -4}));
    // y over every indicator of the region.
    EXPECT_EQ(chart->YRange(), ValueAxis(chart->Series()));
    EXPECT_LE(chart->YRange().min, -5);
    const Legend legend = chart->LegendLayout();
    ASSERT_EQ(legend.items.size(), 3u);
    EXPECT_EQ(legend.items[2].name, "1030 Prices");
    EXPECT_EQ(CodedName(10, "Fertility"), "0010 Fertility");
    draw::RecordingContext dc;
    chart->Paint(dc, Client);
    EXPECT_EQ(Lines(dc.Recording(), "text 0 5100 "),
              std::vector<std::string>{"text 0 5100 \"North\""});

    chart->TrendFrom(1990);
    EXPECT_TRUE(chart->OnCommand(CmdFirstRegion + 1));
    EXPECT_FALSE(chart->TrendShown());
    EXPECT_EQ(chart->Series()[0].ys, (std::vector<float>{20, 22, 24, 26, 30}));
    const ChartAxes& axes = chart->Axes();
    chart->MouseMove(DeviceOf(*chart, axes.SeriesX(1991), axes.SeriesY(22)), Client);
    EXPECT_EQ(chart->TipText(), "Income: 22 (1991)");
}

// 25 indicators with a value each in 1990 and 1995.
void ManyIndicators(zor::test::Fixture& f) {
    f.Set(10000, "Country", {"North", "South", "Total"});
    f.Group(1, "Economy");
    for (int k = 0; k < 25; ++k)
        f.Indicator(1010 + 10 * k, "Indicator number " + std::to_string(k));
    f.Periods({1990, 1995});
    for (int k = 0; k < 25; ++k) {
        f.Values(10000, 1990, 1010 + 10 * k, {float(k), float(2 * k), 0});
        f.Values(10000, 1995, 1010 + 10 * k, {float(-k), M, 0});
    }
}

Selection ManySelection(int indicators) {
    std::vector<ListItem> list;
    for (int k = 0; k < indicators; ++k)
        list.push_back({1010 + 10 * k, "Indicator number " + std::to_string(k)});
    Selection s;
    s.Confirm(10000, list, {{MakeRegionKey(10000, 1), "North"}, {MakeRegionKey(10000, 2), "South"}},
              {{1990, "1990"}, {1995, "1995"}});
    return s;
}

TEST(LineChartC, TwentyIndicatorsAndAKeyOfFiveLines) {
    StartedStore db(ManyIndicators);
    const Selection s = ManySelection(25);
    const auto chart = MakeTestView<CLineCharC>(db.store, s);
    RecordingHost host;
    OpenView(*chart, host);
    EXPECT_EQ(chart->IndicatorCount(), 20);
    // Key lines as high as the axis font: 150 with fixed metrics.
    EXPECT_EQ(chart->KeyLineHeight(), 150);
    EXPECT_EQ(chart->KeyHeight(), (23 / 4 + 1) * 150 + 300);
    EXPECT_EQ(chart->GetOrigin(), (draw::Point{750, 1200}));
    EXPECT_EQ(chart->Axes().Top(), 5600 - 1200);
    EXPECT_EQ(chart->Axes().XMax(), 19);
    ASSERT_EQ(chart->Series().size(), 2u);
    EXPECT_EQ(chart->Series()[1].ys.back(), 38); // position 19 is the last shown

    draw::RecordingContext dc;
    const std::vector<KeyEntry> key = chart->KeyLayout(dc);
    ASSERT_EQ(key.size(), 20u);
    EXPECT_EQ(key[5].x, 2000 - 750 + 100);
    EXPECT_EQ(key[5].y, -2 * 150 - 150);
    EXPECT_EQ(key[19].x, 3 * 2000 - 750 + 100);
    EXPECT_EQ(key[19].y, -5 * 150 - 150);
    EXPECT_EQ(key[0].text, "1010 Indicator number 0");

    chart->Paint(dc, Client);
    EXPECT_EQ(Lines(dc.Recording(), "text 5350 -900 ").size(), 1u);
    // Codes under the axis, one per position.
    EXPECT_EQ(Lines(dc.Recording(), "text 0 -100 \"1010\"").size(), 1u);
    EXPECT_EQ(Lines(dc.Recording(), "text 5750 -100 \"1200\"").size(), 1u);
    EXPECT_EQ(Lines(dc.Recording(), "text 5750 -100 \"1210\"").size(), 0u);

    const ChartAxes& a = chart->Axes();
    chart->MouseMove(DeviceOf(*chart, a.SeriesX(3), a.SeriesY(6)), Client);
    EXPECT_EQ(chart->TipText(), "South: 6 (Indicator number 3)");
}

TEST(LineChartC, KeyOfAFewOnOneLineAndEntriesCutToFit) {
    draw::RecordingContext dc; // 75-unit characters in the axis font
    const ChartResources res;
    const std::vector<KeyEntry> key = LayoutIndicatorKey(
        dc, res.AxisFont, {"1010 Income", "1020 Exports", "1030 Prices"}, 750, 150);
    ASSERT_EQ(key.size(), 3u);
    const int sum = 825 + 900 + 825 + 300;
    EXPECT_EQ(key[0], (KeyEntry{"1010 Income", (8000 - sum) / 4 - 750 + 100, -300}));
    EXPECT_EQ(key[1].x, key[0].x + 825 + 100);
    EXPECT_EQ(key[2].x, key[1].x + 900 + 100);

    // Too wide together: 2000 apart, each cut to 1900.
    const std::string longName(60, 'x');
    const auto wide = LayoutIndicatorKey(dc, res.AxisFont, {longName, longName}, 750, 150);
    EXPECT_EQ(wide[1].x, 2000 - 750 + 100);
    EXPECT_EQ(wide[1].text, std::string(22, 'x') + "..."); // 25 characters of 75
    EXPECT_EQ(ShortenToFit(dc, res.AxisFont, "1010", 300), "1010");
    EXPECT_EQ(ShortenToFit(dc, res.AxisFont, "Ökonomie", 450), "Öko...");
}

TEST(LineChartC, PeriodPopupScaleAndTheZeroLine) {
    StartedStore db(ManyIndicators);
    const Selection s = ManySelection(3);
    const auto chart = MakeTestView<CLineCharC>(db.store, s);
    RecordingHost host;
    OpenView(*chart, host);
    ASSERT_EQ(chart->Popups().size(), 1u);
    EXPECT_EQ(chart->Popups()[0].kind, PopupKind::Periods);
    EXPECT_EQ(chart->Popups()[0].position, 1);
    EXPECT_EQ(chart->KeyHeight(), 2 * 150 + 300);
    // 1990: 0 to 4; the zero line along the bottom.
    EXPECT_EQ(chart->YRange().min, 0);
    EXPECT_EQ(chart->ZeroLine(), 0);

    EXPECT_TRUE(chart->OnCommand(CmdFirstPeriod + 1)); // 1995: -2 to 0, South has nothing
    EXPECT_EQ(chart->Series()[0].ys, (std::vector<float>{0, -1, -2}));
    EXPECT_TRUE(chart->Series()[1].Empty());
    EXPECT_EQ(chart->ZeroLine(), chart->Axes().Top()); // a range below 0: along the top

    ScaleDialogInput asked;
    host.dialogAnswer = [&](DialogModel& m) {
        auto* scale = dynamic_cast<ScaleDialogModel*>(&m);
        if (!scale) return false;
        asked = scale->input;
        scale->result = {true, {-4, 4, 2}, false};
        return true;
    };
    chart->OnCommand(CmdScale);
    EXPECT_TRUE(asked.logOffered);
    EXPECT_EQ(chart->YRange(), (AxisRange{-4, 4, 2}));
    EXPECT_EQ(chart->ZeroLine(), chart->Axes().Top() / 2);
    // The earlier period kept its own range.
    chart->OnCommand(CmdFirstPeriod);
    EXPECT_EQ(chart->YRange().min, 0);

    host.dialogAnswer = [](DialogModel& m) {
        auto* scale = dynamic_cast<ScaleDialogModel*>(&m);
        if (scale) scale->result = {true, scale->input.defaults.value(), true};
        return scale != nullptr;
    };
    chart->OnCommand(CmdScale);
    EXPECT_TRUE(chart->Logarithmic());
    EXPECT_EQ(chart->Axes().Log().posHigh, 1); // 0 to 4
    EXPECT_NE(Json(*chart).find("\"x\":{\"min\":0,\"max\":2,\"step\":1}"), std::string::npos);
}

TEST(LineChartC, ASingleIndicatorSitsAtTheLeftEdge) {
    StartedStore db(ManyIndicators);
    const Selection s = ManySelection(1);
    const auto chart = MakeTestView<CLineCharC>(db.store, s);
    RecordingHost host;
    OpenView(*chart, host);
    EXPECT_EQ(chart->Axes().XMax(), 0);
    EXPECT_EQ(chart->Axes().SeriesX(0), 0);
    draw::RecordingContext dc;
    chart->Paint(dc, Client);
    EXPECT_EQ(Lines(dc.Recording(), "text 0 -100 \"1010\"").size(), 1u);
}

} // namespace
} // namespace zor::charts
