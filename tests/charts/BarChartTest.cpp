// The bar chart: layout against hand-computed numbers, drawing as reference recordings and as
// the layout's own rectangles, hit tests and tooltips, popups, printing and the metafile.
#include "charts/CBarChart.h"
#include "draw/EmfWriter.h"
#include "draw/RecordingContext.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/draw/EmfReader.h"

#include <algorithm>
#include <climits>
#include <span>

#include <gtest/gtest.h>

namespace zor::charts {
namespace {

using test::Country;
using test::CountrySelection;
using test::Lines;
using test::MakeTestView;
using test::OpenView;
using test::StartedStore;
constexpr float M = MissingValue;

// A layout input over a value table held in the test: [period][row] for one indicator.
BarLayoutInput Input(std::vector<std::vector<float>> values, AxisRange axis) {
    BarLayoutInput in;
    in.periods = int(values.size());
    in.rows = values.empty() ? 0 : int(values[0].size());
    in.axes = {axis};
    in.value = [values](int p, int, int r) { return values[size_t(p)][size_t(r)]; };
    for (int r = 0; r < in.rows; ++r) in.rowNames.push_back("R" + std::to_string(r));
    return in;
}

TEST(BarLayout, OnePeriodThreeRegionsSitSideBySideFromTheLeft) {
    const BarLayout l = LayoutBars(Input({{50, 100, 25}}, {0, 100, 20}));
    EXPECT_EQ(l.bands, 1);
    EXPECT_EQ(l.barWidth, 170);
    EXPECT_EQ(l.bandHeight, 5000);
    const auto& bars = l.indicators[0].bars;
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0], (BarRecord{0, "R0", 50, 0, 2500, 170, 0}));
    EXPECT_EQ(bars[1], (BarRecord{1, "R1", 100, 170, 5000, 340, 0}));
    EXPECT_EQ(bars[2], (BarRecord{2, "R2", 25, 340, 1250, 510, 0}));
}

TEST(BarLayout, FortyPeriodsOfTenRegionsMakeTenBands) {
    std::vector<std::vector<float>> values(40, std::vector<float>(10, 40.0f));
    BarLayoutInput in = Input(values, {0, 80, 10});
    in.axes.push_back({0, 100, 20}); // five intervals: left as it is
    const BarLayout l = LayoutBars(in);
    EXPECT_EQ(l.barWidth, 130); // 43 widths of 170 would be 7310
    EXPECT_EQ(l.bands, 10);
    EXPECT_EQ(l.perBand, 4);
    EXPECT_EQ(l.bandHeight, 275);
    EXPECT_EQ(l.pitch, 1437);
    EXPECT_EQ(l.indicators[0].step, 20); // 8 intervals: twice as coarse
    EXPECT_EQ(l.indicators[1].step, 20);

    const auto& bars = l.indicators[0].bars;
    ASSERT_EQ(bars.size(), 400u);
    // The top band sits at 4725..5000; period 5 is the second group of the second band.
    EXPECT_EQ(bars[0].bottom, 4725);
    EXPECT_EQ(bars[0].top, 4725 + 137);
    const BarRecord& b = bars[5 * 10 + 3];
    EXPECT_EQ(b.left, 1437 + 3 * 130);
    EXPECT_EQ(b.right, b.left + 130);
    EXPECT_EQ(b.bottom, 4725 - 525);
    // The last band ends at the bottom of the plot.
    EXPECT_EQ(bars.back().bottom, 4725 - 9 * 525);
    EXPECT_EQ(bars.back().left, 3 * 1437 + 9 * 130);
}

TEST(BarLayout, CoarserStepsOnlyForSixToTenIntervalsInMoreThanTwoBands) {
    std::vector<std::vector<float>> many(40, std::vector<float>(10, 1.0f));
    BarLayoutInput in = Input(many, {0, 7, 1});
    for (AxisRange a :
         {AxisRange{0, 6, 1}, AxisRange{0, 9, 1}, AxisRange{0, 10, 1}, AxisRange{0, 11, 1}})
        in.axes.push_back(a);
    const BarLayout l = LayoutBars(in);
    EXPECT_FLOAT_EQ(l.indicators[0].step, 3.5f);
    EXPECT_FLOAT_EQ(l.indicators[1].step, 3);
    EXPECT_FLOAT_EQ(l.indicators[2].step, 3);
    EXPECT_FLOAT_EQ(l.indicators[3].step, 2);
    EXPECT_FLOAT_EQ(l.indicators[4].step, 1);

    // Two bands keep the step.
    std::vector<std::vector<float>> few(8, std::vector<float>(10, 1.0f));
    const BarLayout two = LayoutBars(Input(few, {0, 8, 1}));
    EXPECT_EQ(two.bands, 2);
    EXPECT_EQ(two.indicators[0].step, 1);
}

TEST(BarLayout, MissingValueLeavesItsSlotEmpty) {
    const BarLayout l = LayoutBars(Input({{5, M, 7}, {M, M, M}, {1, 2, 3}}, {0, 10, 2}));
    const auto& bars = l.indicators[0].bars;
    ASSERT_EQ(bars.size(), 5u);
    EXPECT_EQ(bars[1].series, 2);
    EXPECT_EQ(bars[1].left, 340);
    EXPECT_EQ(bars[2].left, 2 * (5750 / 3)); // the third group keeps its place
}

TEST(BarLayout, MinimumHeights) {
    // A zero bar grows upward when the range has positive values, downward otherwise.
    auto zero = LayoutBars(Input({{0}}, {0, 10, 2})).indicators[0].bars[0];
    EXPECT_EQ(zero.bottom, 0);
    EXPECT_EQ(zero.top, 20);
    zero = LayoutBars(Input({{0}}, {-10, 0, 2})).indicators[0].bars[0];
    EXPECT_EQ(zero.top, 5000);
    EXPECT_EQ(zero.bottom, 4980);

    // Around a zero line at 2500: tiny bars get 20 units on their own side.
    const auto bars = LayoutBars(Input({{-0.01f, 0.01f, -5, 5}}, {-10, 10, 2})).indicators[0].bars;
    EXPECT_EQ(bars[0].top, 2500);
    EXPECT_EQ(bars[0].bottom, 2480);
    EXPECT_EQ(bars[1].bottom, 2500);
    EXPECT_EQ(bars[1].top, 2520);
    EXPECT_EQ(bars[2].top, 2500);
    EXPECT_EQ(bars[2].bottom, 1250);
    EXPECT_EQ(bars[3].top, 3750);
}

TEST(BarLayout, NoBarsWithoutValuesOrForAnEmptyRange) {
    EXPECT_TRUE(LayoutBars(Input({{M, M}}, AxisRange{})).indicators[0].bars.empty());
    EXPECT_TRUE(LayoutBars(Input({{3, 3}}, {3, 3, 0})).indicators[0].bars.empty());
    // More regions than fit in one band even alone: one group per band, no division by zero.
    std::vector<std::vector<float>> wide(3, std::vector<float>(70, 1.0f));
    const BarLayout l = LayoutBars(Input(wide, {0, 1, 0.2f}));
    EXPECT_EQ(l.barWidth, 90);
    EXPECT_EQ(l.bands, 3);
    EXPECT_EQ(l.perBand, 1);
}

TEST(BarTitle, OneLineOrTheNarrowestTwoLineBox) {
    draw::RecordingContext dc; // fixed metrics: a 280 font has 140-unit characters
    dc.SetFont(ChartFont(280, 400, 0, 0));
    Title t = LayoutTitle(dc, "Income", 0, 5750, 5050);
    EXPECT_FALSE(t.wrapped);
    EXPECT_EQ(t.box, (draw::Rect{2875 - 420, 5330, 2875 + 420, 5050}));

    const std::string name = "Gross domestic product per capita in constant dollars";
    t = LayoutTitle(dc, name, 0, 5750, 5050);
    EXPECT_TRUE(t.wrapped);
    const int w = t.box.right - t.box.left;
    EXPECT_EQ(w % 500, 0);
    EXPECT_EQ(t.box.top - t.box.bottom, 560);
    auto lines = [&](int width) {
        return dc.LayoutTextBox(name, {0, 560, width, 0}, draw::dt::WordBreak).lines.size();
    };
    EXPECT_EQ(lines(w), 2u);
    EXPECT_GT(lines(w - 500), 2u);
}

TEST(BarChart, DrawsAsTheReferenceRecording) {
    StartedStore db(Country);
    const auto view = MakeTestView<CBarChart>(db.store, CountrySelection());
    CBarChart& chart = *view;
    test::RecordingHost host;
    OpenView(chart, host);
    draw::RecordingContext dc;
    chart.Paint(dc, {0, 0, 800, 600});
    test::ExpectReference("barchart.rec", dc.Recording());
}

TEST(BarChart, BandsDrawAsTheReferenceRecording) {
    StartedStore db([](zor::test::Fixture& f) {
        f.Set(10000, "Country", {"A", "B", "C", "D", "E", "F", "Total"});
        f.Group(1, "Economy");
        f.Indicator(1010, "Population change in the census years");
        std::vector<int> years;
        for (int y = 1990; y < 2002; ++y) years.push_back(y);
        f.Periods(years);
        for (int y : years)
            f.Values(10000, y, 1010,
                     {float(y - 1995), 2, float((y * 7) % 11) - 3, 4, -1, float(y % 3), 0});
    });
    Selection s;
    std::vector<ListItem> regions, periods;
    for (int r = 1; r <= 6; ++r)
        regions.push_back({MakeRegionKey(10000, r), std::string(1, char('A' + r - 1))});
    for (int y = 1990; y < 2002; ++y) periods.push_back({y, std::to_string(y)});
    s.Confirm(10000, {{1010, "Population change in the census years"}}, regions, periods);
    const auto view = MakeTestView<CBarChart>(db.store, s);
    CBarChart& chart = *view;
    test::RecordingHost host;
    OpenView(chart, host);
    ASSERT_EQ(chart.Layout().bands, 2);
    draw::RecordingContext dc;
    chart.Paint(dc, {0, 0, 1600, 1200});
    test::ExpectReference("barchart-bands.rec", dc.Recording());
}

TEST(BarChart, DrawnBarsAreTheLaidOutRectanglesWidenedOnScreenOnly) {
    StartedStore db(Country);
    const auto view = MakeTestView<CBarChart>(db.store, CountrySelection());
    CBarChart& chart = *view;
    test::RecordingHost host;
    OpenView(chart, host);
    const auto& bars = chart.Layout().indicators[0].bars;
    ASSERT_EQ(bars.size(), 5u);                  // South has no value in 2001
    EXPECT_EQ(bars[4].left, 5750 / 2 + 2 * 170); // East's zero bar in the second group
    EXPECT_EQ(bars[4].top - bars[4].bottom, 20);

    draw::RecordingContext screen;
    chart.Paint(screen, {0, 0, 800, 600});
    draw::RecordingContext paper(
        draw::DeviceInfo{draw::Technology::Printer, 2480, 3508, 11811, 11811, 24});
    chart.PrintPage(paper, {0, 0, 2480, 3508}, 0, true);
    for (const BarRecord& b : bars) {
        auto rect = [&](int widen) {
            return "rect " + std::to_string(b.left) + ' ' + std::to_string(b.top) + ' ' +
                   std::to_string(b.right + widen) + ' ' + std::to_string(b.bottom);
        };
        EXPECT_EQ(Lines(screen.Recording(), rect(10)).size(), 1u) << rect(10);
        EXPECT_EQ(Lines(paper.Recording(), rect(0)).size(), 1u) << rect(0);
    }
    // Legend boxes: one per region, whether or not it has bars.
    EXPECT_EQ(Lines(screen.Recording(), "rect 5800 ").size(), 3u);
    EXPECT_TRUE(Lines(screen.Recording(), "palette").empty()); // 24-bit display
}

TEST(BarChart, HitTestAndTooltipOfTheCurrentIndicator) {
    StartedStore db(Country);
    const auto view = MakeTestView<CBarChart>(db.store, CountrySelection());
    CBarChart& chart = *view;
    test::RecordingHost host;
    OpenView(chart, host);
    const BarRecord& south = chart.Layout().indicators[0].bars[1];
    EXPECT_EQ(chart.HitTest({south.left + 1, south.bottom}), 1);
    EXPECT_EQ(chart.HitTest({south.right, south.top}), 1);
    EXPECT_EQ(chart.HitTest({south.left, south.bottom}), 0); // a shared edge: the first bar
    EXPECT_EQ(chart.HitTest({south.left + 1, south.top + 1}), -1);

    // Through the screen mapping: 800 × 600 pixels over 8000 × 6000 units.
    const draw::Rect client{0, 0, 800, 600};
    const draw::Point inside{(south.left + 750) / 10 + 1, 600 - (south.bottom + 400) / 10 - 2};
    EXPECT_EQ(chart.MouseMove(inside, client), TipAction::Show);
    EXPECT_EQ(chart.TipText(), "South: 20");
    EXPECT_EQ(chart.MouseMove(inside, client), TipAction::Refresh);
    EXPECT_EQ(chart.MouseMove({799, 1}, client), TipAction::Hide);
    EXPECT_EQ(chart.MouseMove({799, 1}, client), TipAction::None);
    EXPECT_EQ(chart.TipText(), "");
}

TEST(BarChart, IndicatorPopupSwitchesAndRepaintsOnlyOnAChange) {
    StartedStore db(Country);
    const auto view = MakeTestView<CBarChart>(db.store, CountrySelection());
    CBarChart& chart = *view;
    test::RecordingHost host;
    OpenView(chart, host);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.invalidatedLater, 1);
    ASSERT_EQ(chart.Popups().size(), 1u);
    const PopupMenu& menu = chart.Popups()[0];
    EXPECT_EQ(menu.title, "Indicators");
    EXPECT_EQ(menu.items, (std::vector<std::string>{"Income per head", "Exports"}));
    EXPECT_EQ(menu.firstId, 1201);
    EXPECT_EQ(menu.position, 0);

    EXPECT_TRUE(chart.OnCommand(1201)); // the current one: nothing happens
    EXPECT_EQ(host.repaintedNow, 0);
    EXPECT_TRUE(host.popupChanges.empty());

    EXPECT_TRUE(chart.OnCommand(1202)); // Exports has no data
    EXPECT_EQ(chart.IndicatorIndex(), 1);
    EXPECT_EQ(chart.Popups()[0].checked, 1);
    EXPECT_EQ(host.popupChanges, std::vector<int>{0});
    EXPECT_EQ(host.repaintedNow, 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, "Sorry, no data!");
    EXPECT_EQ(host.messages[0].second, MessageIcon::None);
    draw::RecordingContext dc;
    chart.Paint(dc, {0, 0, 800, 600});
    EXPECT_TRUE(Lines(dc.Recording(), "rect").empty()); // nothing for an indicator without data

    EXPECT_FALSE(chart.OnCommand(1203)); // no third indicator
    EXPECT_FALSE(chart.OnCommand(1101)); // no period popup
    EXPECT_EQ(host.repaintedNow, 1);
}

TEST(BarChart, NoDataAtFirstShowingAndNoPopupForOneIndicator) {
    StartedStore db(Country);
    const auto view = MakeTestView<CBarChart>(db.store, CountrySelection({{1020, "Exports"}}));
    test::RecordingHost host;
    OpenView(*view, host);
    EXPECT_TRUE(view->Popups().empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].second, MessageIcon::Stop);
}

TEST(BarChart, PrintedPageKeepsFourToThreeAndAddsTheSourceLine) {
    StartedStore db(Country);
    const auto view = MakeTestView<CBarChart>(db.store, CountrySelection());
    CBarChart& chart = *view;
    test::RecordingHost host;
    OpenView(chart, host);
    // A portrait page: full width at the top.
    draw::RecordingContext tall(
        draw::DeviceInfo{draw::Technology::Printer, 2480, 3508, 11811, 11811, 24});
    chart.PrintPage(tall, {0, 0, 2480, 3508}, 0, false);
    EXPECT_EQ(Lines(tall.Recording(), "viewportext"),
              std::vector<std::string>{"viewportext 2480 1860"});
    EXPECT_EQ(Lines(tall.Recording(), "viewportorg").back(), "viewportorg 0 1860");
    EXPECT_EQ(Lines(tall.Recording(), "text ").back(), "text -590 -400 \"Source: KVZ Database\"");
    EXPECT_EQ(Lines(tall.Recording(), "font ").back(),
              "font \"Arial\" height=120 weight=700 italic=0 escapement=0 charset=0 quality=2 "
              "pitchfamily=18");
    // A landscape page wider than 4:3: full height at the left.
    draw::RecordingContext wide(
        draw::DeviceInfo{draw::Technology::Printer, 4000, 2000, 11811, 11811, 24});
    chart.PrintPage(wide, {0, 0, 4000, 2000}, 0, true);
    EXPECT_EQ(Lines(wide.Recording(), "viewportext"),
              std::vector<std::string>{"viewportext 2666 2000"});
}

TEST(BarChart, MetafileParsesBackWithTheWholeLogicalSpaceAndIsAlwaysColoured) {
    StartedStore db(Country);
    const auto view = MakeTestView<CBarChart>(db.store, CountrySelection());
    CBarChart& chart = *view;
    test::RecordingHost host;
    OpenView(chart, host);
    const draw::FixedTextMeasurer measurer;
    const std::string emf = chart.MakeMetafile(measurer, false);
    const draw::test::EmfFile file(emf);
    ASSERT_FALSE(file.Malformed());
    EXPECT_EQ(file.Records().front().type, draw::emr::Header);
    EXPECT_EQ(file.Records().back().type, draw::emr::Eof);
    // The white frame, five bars and three legend boxes.
    EXPECT_EQ(file.Count(draw::emr::Rectangle), 9u);
    EXPECT_EQ(file.Count(draw::emr::CreatePalette), 1u);
    // Header bounds (device pixels): the whole 800 × 600 picture.
    const auto& h = file.Records().front();
    EXPECT_EQ(file.Field(h, 0), 0);
    EXPECT_EQ(file.Field(h, 1), 0);
    EXPECT_GE(file.Field(h, 2), 799);
    EXPECT_GE(file.Field(h, 3), 599);
    // Same input, same bytes; black and white is not offered and makes no difference.
    EXPECT_EQ(chart.MakeMetafile(measurer, false), emf);
    EXPECT_EQ(chart.MakeMetafile(measurer, true), emf);
}

TEST(BarChart, ExportToFileAndClipboard) {
    StartedStore db(Country);
    const auto view = MakeTestView<CBarChart>(db.store, CountrySelection());
    CBarChart& chart = *view;
    test::RecordingHost host;
    OpenView(chart, host);

    chart.OnCommand(1099); // dialog cancelled: nothing else asked
    EXPECT_EQ(host.exportOffers, std::vector<bool>{false});
    EXPECT_TRUE(host.fileAsks.empty());

    host.exportAnswer = ExportChoice{false, false};
    chart.OnCommand(1099); // save dialog cancelled
    ASSERT_EQ(host.fileAsks.size(), 1u);
    // The metafile first (the default), then PNG, SVG and PDF.
    ASSERT_EQ(host.fileAsks[0].size(), 4u);
    EXPECT_EQ(host.fileAsks[0][0].suffix, "emf");
    EXPECT_EQ(host.fileAsks[0][1].suffix, "png");
    EXPECT_EQ(host.fileAsks[0][2].suffix, "svg");
    EXPECT_EQ(host.fileAsks[0][3].suffix, "pdf");
    EXPECT_TRUE(host.clipboard.empty());

    const std::string path = db.dir.file("chart.emf");
    host.fileAnswer = path;
    chart.OnCommand(1099);
    EXPECT_EQ(zor::test::ReadFile(path), chart.MakeMetafile(host.measurer, false));
    EXPECT_TRUE(host.messages.empty());

    // A file that cannot be written is reported, not taken for exported.
    host.fileAnswer = db.dir.file("no/such/dir/chart.emf");
    chart.OnCommand(1099);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].first.find("no/such/dir/chart.emf"), std::string::npos);
    host.fileAnswer = path;

    host.exportAnswer = ExportChoice{true, false};
    chart.OnCommand(1099);
    EXPECT_EQ(host.fileAsks.size(), 3u);
    EXPECT_EQ(host.clipboard, zor::test::ReadFile(path));
    EXPECT_EQ(host.clipboardSize, (draw::Size{800, 600}));
    // The clipboard's other formats draw the same picture.
    draw::RecordingContext dc;
    host.clipboardDraw(dc, host.clipboardSize);
    EXPECT_EQ(Lines(dc.Recording(), "rect -750 -400 7250 5600").size(), 1u);
}

TEST(BarChart, ExportsEachFileTypeOfTheSaveDialogAtTheWindowsSize) {
    StartedStore db(Country);
    const auto view = MakeTestView<CBarChart>(db.store, CountrySelection());
    CBarChart& chart = *view;
    test::RecordingHost host;
    OpenView(chart, host);
    host.exportAnswer = ExportChoice{false, false};
    const struct {
        int type;
        PictureFormat format;
    } kinds[] = {{CView::FilePng, PictureFormat::Png},
                 {CView::FileSvg, PictureFormat::Svg},
                 {CView::FilePdf, PictureFormat::Pdf}};
    for (const auto& k : kinds) {
        host.fileType = k.type;
        host.fileAnswer = db.dir.file("chart." + CView::PictureFileTypes()[size_t(k.type)].suffix);
        chart.OnCommand(CmdSpecial);
        ASSERT_FALSE(host.savedPictures.empty());
        const auto& saved = host.savedPictures.back();
        EXPECT_EQ(saved.path, *host.fileAnswer);
        EXPECT_EQ(saved.format, k.format);
        EXPECT_EQ(saved.size, (draw::Size{800, 600})); // no window: the metafile's size
        EXPECT_EQ(saved.title, "Graph");
    }
    EXPECT_EQ(host.savedPictures.size(), 3u);
    EXPECT_TRUE(host.messages.empty());

    // In a window the picture is drawn at the window's size, as the whole exported picture.
    host.windowSize = draw::Size{1000, 700};
    host.fileType = CView::FilePng;
    host.fileAnswer = db.dir.file("chart.png");
    chart.OnCommand(CmdSpecial);
    ASSERT_EQ(host.savedPictures.size(), 4u);
    EXPECT_EQ(host.savedPictures.back().size, (draw::Size{1000, 700}));
    draw::RecordingContext dc(
        draw::DeviceInfo{draw::Technology::Display, 1000, 700, 3780, 3780, 24});
    host.savedPictures.back().draw(dc, {1000, 700});
    EXPECT_EQ(Lines(dc.Recording(), "viewportext").back(), "viewportext 1000 700");
    EXPECT_EQ(Lines(dc.Recording(), "rect -750 -400 7250 5600").size(), 1u); // the white frame

    // A file the backends could not write is reported.
    host.saveAnswer = false;
    chart.OnCommand(CmdSpecial);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].first.find("chart.png"), std::string::npos);
    EXPECT_EQ(host.messages[0].second, MessageIcon::Stop);
}

TEST(SaveFileDialog, TheTypeFollowsTheNamesSuffixElseTheChosenFilterAddsIts) {
    const auto& types = CView::PictureFileTypes();
    auto choose = [&](const std::string& path, int chosen) {
        const SaveFileChoice c = ChooseFileType(path, chosen, types);
        return c.path + " " + std::to_string(c.type);
    };
    EXPECT_EQ(choose("/d/chart", CView::FilePng), "/d/chart.png 1");
    EXPECT_EQ(choose("/d/chart.emf", CView::FileEmf), "/d/chart.emf 0");
    EXPECT_EQ(choose("/d/chart.SVG", CView::FileEmf), "/d/chart.SVG 2"); // the name decides
    EXPECT_EQ(choose("/d/chart.pdf", CView::FilePng), "/d/chart.pdf 3");
    EXPECT_EQ(choose("/d/my.png.backup", CView::FilePdf), "/d/my.png.backup.pdf 3");
    EXPECT_EQ(choose("/d/.png", CView::FileEmf), "/d/.png 1");
    EXPECT_EQ(choose("/d/chart", 7), "/d/chart.emf 0"); // no such type: the first
}

} // namespace
} // namespace zor::charts

namespace zor::charts {
namespace {

using test::Lines;
using test::MakeTestView;
using test::OpenView;
using test::StartedStore;

// Every bar lies inside the plot, bands do not overlap and each band has its value axis.
void ExpectSoundBands(const BarLayout& l, int periods) {
    ASSERT_GE(l.bandHeight, BarLayout::MinBandHeight);
    EXPECT_LE(l.bands * l.bandHeight + (l.bands - 1) * BarLayout::Gap, 5000);
    EXPECT_EQ(l.perBand * l.bands >= periods, true);
    const auto& ind = l.indicators[0];
    ASSERT_EQ(ind.axes.size(), size_t(l.bands));
    for (int b = 0; b < l.bands; ++b) {
        const ChartAxes& a = ind.axes[size_t(b)].axes;
        EXPECT_EQ(a.Top() - a.Bottom(), l.bandHeight) << b;
        EXPECT_FALSE(a.ValueAxisMarks(ind.step, 5, true).empty()) << b;
    }
    for (const BarRecord& bar : ind.bars) {
        EXPECT_GT(bar.top, bar.bottom);
        EXPECT_GE(bar.left, 0);
        EXPECT_LE(bar.right, 5750);
        EXPECT_GE(bar.bottom, 0);
        EXPECT_LE(bar.top, 5000);
    }
}

TEST(BarLayout, MoreThanTwentyBandsBecomeFewerBandsOfNarrowerBars) {
    // 40 periods of 32 regions: the written rule gives 40 bands of -118 units.
    std::vector<std::vector<float>> values(40, std::vector<float>(32, 5.0f));
    BarLayout l = LayoutBars(Input(values, {0, 10, 2}));
    EXPECT_EQ(l.bands, 10);
    EXPECT_EQ(l.bandHeight, 275);
    EXPECT_EQ(l.perBand, 4);
    EXPECT_EQ(l.barWidth, 5750 / (4 * 33 - 1)); // 43
    EXPECT_EQ(l.pitch, 1437);
    ASSERT_EQ(l.indicators[0].bars.size(), 40u * 32u);
    ExpectSoundBands(l, 40);
    // The last group of a band ends inside the plot.
    const BarRecord& last = l.indicators[0].bars.back();
    EXPECT_EQ(last.left, 3 * 1437 + 31 * 43);

    // The benchmark's 30 x 30: 15 bands of 100 units by the written rule.
    values.assign(30, std::vector<float>(30, 5.0f));
    l = LayoutBars(Input(values, {0, 10, 2}));
    EXPECT_EQ(l.bands, 10);
    EXPECT_EQ(l.perBand, 3);
    EXPECT_EQ(l.barWidth, 5750 / (3 * 31 - 1)); // 62
    ExpectSoundBands(l, 30);
}

TEST(BarLayout, BandAxesCarryTheirZeroLinesAndGroupLabels) {
    std::vector<std::vector<float>> values(8, std::vector<float>(10, 1.0f));
    BarLayoutInput in = Input(values, {-4, 8, 2});
    for (int p = 0; p < 8; ++p) in.periodNames.push_back("P" + std::to_string(p));
    const BarLayout l = LayoutBars(in);
    ASSERT_EQ(l.bands, 2);
    const auto& axes = l.indicators[0].axes;
    ASSERT_EQ(axes.size(), 2u);
    // Band 0 runs from 5000 down by its height; its zero line is a third of the way up.
    const int h = l.bandHeight;
    EXPECT_EQ(axes[0].axes.Top(), 5000);
    EXPECT_EQ(axes[0].zero, 5000 - h + h / 3);
    EXPECT_EQ(axes[1].axes.Top(), 5000 - h - BarLayout::Gap);
    // Labels under the middle of each group's bars, four groups a band.
    ASSERT_EQ(axes[1].labels.size(), 4u);
    EXPECT_EQ(axes[1].labels[0], (BandLabel{10 * l.barWidth / 2, "P4"}));
    EXPECT_EQ(axes[1].labels[3].x, 3 * l.pitch + 10 * l.barWidth / 2);
    // The bars sit on the zero lines of their bands.
    EXPECT_EQ(l.indicators[0].bars[0].bottom, axes[0].zero);
    EXPECT_EQ(l.indicators[0].bars.back().bottom, axes[1].zero);
}

// Values in the billions and a long region name.
void Population(zor::test::Fixture& f) {
    f.Set(10000, "World", {"China", "Congo, Democratic Republic of", "All"});
    f.Group(1, "People");
    f.Indicator(1010, "Population");
    f.Periods({2000});
    f.Values(10000, 2000, 1010, {7e9f, 1e8f, 8e9f});
}

TEST(BarChart, LongLabelsAndNamesWidenTheWindowInsteadOfBeingCut) {
    StartedStore db(Population);
    Selection s;
    s.Confirm(10000, {{1010, "Population"}},
              {{MakeRegionKey(10000, 1), "China"},
               {MakeRegionKey(10000, 2), "Congo, Democratic Republic of"}},
              {{2000, "2000"}});
    const auto chart = MakeTestView<CBarChart>(db.store, s);
    test::RecordingHost host;
    OpenView(*chart, host);
    const ChartResources res;
    for (const draw::Rect client : {draw::Rect{0, 0, 800, 600}, draw::Rect{0, 0, 600, 800}}) {
        draw::RecordingContext dc(draw::DeviceInfo{draw::Technology::Display, client.right,
                                                   client.bottom, 3780, 3780, 24});
        chart->Paint(dc, client);
        const LogicalSpace space = chart->SpaceOf(dc);
        EXPECT_GT(space.x, 750);
        EXPECT_GT(space.cx, 8000);
        EXPECT_EQ(space.y, 400); // nothing reaches below or above
        EXPECT_EQ(space.cy, 6000);
        // Every value label and legend name lies inside the window, measured as drawn.
        dc.SetFont(res.AxisFont);
        for (const std::string& line : Lines(dc.Recording(), "text -120 ")) {
            const std::string label =
                line.substr(line.find('"') + 1, line.rfind('"') - line.find('"') - 1);
            EXPECT_GE(-120 - dc.TextExtent(label).cx, -space.x) << label;
        }
        const std::string longName = "Congo, Democratic Republic of";
        EXPECT_LE(5750 + 300 + dc.TextExtent(longName).cx, space.cx - space.x);
        // The drawing itself keeps its coordinates: the bars are the laid-out rectangles.
        for (const BarRecord& b : chart->Layout().indicators[0].bars)
            EXPECT_EQ(Lines(dc.Recording(),
                            "rect " + std::to_string(b.left) + ' ' + std::to_string(b.top) + ' ' +
                                std::to_string(b.right + 10) + ' ' + std::to_string(b.bottom))
                          .size(),
                      1u);
    }
    // Printing and the exported picture fit the same way.
    draw::RecordingContext paper(
        draw::DeviceInfo{draw::Technology::Printer, 2480, 3508, 11811, 11811, 24});
    chart->PrintPage(paper, {0, 0, 2480, 3508}, 0, true);
    EXPECT_GT(chart->SpaceOf(paper).x, 750);
    const draw::test::EmfFile emf(chart->MakeMetafile(host.measurer, false));
    ASSERT_FALSE(emf.Malformed());
}

// A printer page that records where the drawing reaches on the device.
class ReachContext final : public draw::DeviceContext {
public:
    explicit ReachContext(const draw::DeviceInfo& device) : DeviceContext(device, measurer_) {}
    draw::Rect reach{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};

protected:
    void DoPolyline(std::span<const draw::Point> points) override { Add(points); }
    void DoPolygon(std::span<const draw::Point> points) override { Add(points); }
    void DoText(draw::Point ref, std::string_view text) override {
        const draw::Rect b = PlaceText(ref, text).Bounds();
        Extend({b.left, b.top});
        Extend({b.right, b.bottom});
    }

private:
    void Add(std::span<const draw::Point> points) {
        for (const draw::Point p : points) Extend(LPtoDP(p));
    }
    void Extend(draw::Point d) {
        reach.left = std::min(reach.left, d.x), reach.right = std::max(reach.right, d.x);
        reach.top = std::min(reach.top, d.y), reach.bottom = std::max(reach.bottom, d.y);
    }
    draw::FixedTextMeasurer measurer_;
};

TEST(PrintMapping, ThePictureStartsAtTheMarginsOfThePage) {
    StartedStore db(Country);
    const auto view = MakeTestView<CGraphView>(db.store, CountrySelection());
    // A page of 1000 x 1000 device pixels inside margins of 100 left and 200 top.
    draw::RecordingContext dc(
        draw::DeviceInfo{draw::Technology::Printer, 1200, 1400, 11811, 11811, 24});
    view->PreparePrintMapping(dc, {100, 200, 1100, 1200});
    EXPECT_EQ(dc.LPtoDP({-750, 5600}), (draw::Point{100, 200}));  // top left of the window
    EXPECT_EQ(dc.LPtoDP({7250, -400}), (draw::Point{1100, 950})); // 4:3 below it
}

TEST(PrintMapping, ThePrintedChartStaysInsideThePageMargins) {
    // Long names widen the window to the right: the legend ends at the right margin, not past it.
    StartedStore db(Population);
    Selection s;
    s.Confirm(10000, {{1010, "Population"}},
              {{MakeRegionKey(10000, 1), "China"},
               {MakeRegionKey(10000, 2), "Congo, Democratic Republic of"}},
              {{2000, "2000"}});
    const auto chart = MakeTestView<CBarChart>(db.store, s);
    test::RecordingHost host;
    OpenView(*chart, host);
    // A4 at 300 dpi with 15 mm margins (177 pixels), portrait and landscape; a printer that
    // paints the full paper puts the page at the margins, one that does not at its origin.
    for (const draw::Size paper : {draw::Size{2480, 3508}, draw::Size{3508, 2480}})
        for (const bool fullPaper : {true, false}) {
            const int m = fullPaper ? 177 : 0;
            const draw::Rect page{m, m, m + paper.cx - 2 * 177, m + paper.cy - 2 * 177};
            ReachContext dc(draw::DeviceInfo{draw::Technology::Printer, page.Width(), page.Height(),
                                             11811, 11811, 24});
            chart->PrintPage(dc, page, 0, true);
            EXPECT_GE(dc.reach.left, page.left);
            EXPECT_GE(dc.reach.top, page.top);
            EXPECT_LE(dc.reach.right, page.right);
            EXPECT_LE(dc.reach.bottom, page.bottom);
            // The picture uses the page: it reaches from the left margin to the right one (or to
            // the bottom one on a landscape page).
            EXPECT_LE(dc.reach.left - page.left, page.Width() / 50);
            if (page.Width() * 3 <= page.Height() * 4)
                EXPECT_GE(dc.reach.right, page.right - page.Width() / 50);
            else
                EXPECT_GE(dc.reach.bottom, page.bottom - page.Height() / 50);
        }
}

} // namespace
} // namespace zor::charts
