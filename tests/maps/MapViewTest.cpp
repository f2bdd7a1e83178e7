// The map view on a small country: its recorded drawing, the legend's geometry, tooltips, the
// menu commands, the scale dialog, the drill-down, printing and export, slide frames, and the
// data zorexport writes.
#include "core/JsonWriter.h"
#include "draw/EmfWriter.h"
#include "draw/RecordingContext.h"
#include "maps/CSlideShow.h"
#include "tests/draw/EmfReader.h"
#include "tests/maps/MapTestSupport.h"

#include <gtest/gtest.h>

namespace zor::maps {
namespace {

using test::CountrySelection;
using test::Lines;
using test::MakeTestView;
using test::MapDb;
using test::OpenView;
using test::RecordingHost;
constexpr float M = MissingValue;

// A map view opened as its frame opens it.
struct Opened {
    MapDb data;
    Selection selection;
    std::unique_ptr<CMapView> view;
    RecordingHost host;
    explicit Opened(Selection s = CountrySelection()) : selection(std::move(s)) {
        view = MakeTestView<CMapView>(data.db.store, selection);
        OpenView(*view, host);
    }
};

// The device point of a map point on an 800 x 600 client (640 x 480 scaled by 1.25).
draw::Point OnScreen(int x, int y) {
    return {x * 5 / 4, y * 5 / 4};
}
const draw::Rect Client{0, 0, 800, 600};

TEST(MapView, DrawsAsTheReferenceRecording) {
    Opened o;
    draw::RecordingContext dc;
    o.view->Paint(dc, Client);
    test::ExpectReference("map.rec", dc.Recording());
}

TEST(MapView, RegionsInDrawOrderWithTheirClassColours) {
    Opened o;
    EXPECT_EQ(o.view->RowClasses(), (std::vector<int>{4, 3, 2, 0})); // 10, 20, 30, 60 of 0..60
    draw::RecordingContext dc;
    o.view->Paint(dc, Client);
    // North and its island (class 4), East, then South inside East's box (class 3).
    const auto brushes = Lines(dc.Recording(), "brush solid");
    ASSERT_GE(brushes.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(brushes.begin(), brushes.begin() + 4),
              (std::vector<std::string>{"brush solid #f0f000", "brush solid #f0f000",
                                        "brush solid #ff8200", "brush solid #ffb400"}));
    const auto polygons = Lines(dc.Recording(), "polygon ");
    ASSERT_EQ(polygons.size(), 4u);
    EXPECT_EQ(polygons[2], "polygon 400,50 600,50 600,400 400,400 400,50");
    // Isotropic 640 x 480 onto 800 x 600, y down.
    EXPECT_EQ(Lines(dc.Recording(), "mapmode"), std::vector<std::string>{"mapmode isotropic"});
    EXPECT_EQ(Lines(dc.Recording(), "windowext"), std::vector<std::string>{"windowext 640 480"});
    // Six legend keys, the labels, the Min line, the title, time and total labels.
    EXPECT_EQ(Lines(dc.Recording(), "rect ").size(), 6u);
    EXPECT_EQ(Lines(dc.Recording(), "text 75 ").size(), 6u);
    EXPECT_EQ(Lines(dc.Recording(), "text 40 "),
              (std::vector<std::string>{"text 40 388 \"Min = 0\"", "text 40 454 \"60\""}));
    EXPECT_EQ(Lines(dc.Recording(), "text 20 30 "),
              std::vector<std::string>{"text 20 30 \"2000\""});
    EXPECT_EQ(Lines(dc.Recording(), "text 20 440 "),
              std::vector<std::string>{"text 20 440 \"Total\""});
}

TEST(MapView, ACentredMapOnAWindowOfAnotherShape) {
    Opened o;
    draw::RecordingContext dc;
    o.view->Paint(dc, {0, 0, 1000, 600}); // 800 x 600 used, 100 pixels either side
    EXPECT_EQ(Lines(dc.Recording(), "viewportorg"), std::vector<std::string>{"viewportorg 100 0"});
    EXPECT_EQ(o.view->ToLogical({100 + 625, 250}, {0, 0, 1000, 600}), (draw::Point{500, 200}));
}

TEST(MapLegend, GeometryFromTheHeaderAndMovedUpNearTheBottom) {
    MapHeader h;
    h.width = 640, h.height = 480, h.legend = {20, 250};
    MapLegendLayout l = LayoutMapLegend(h, 6);
    EXPECT_EQ(l.box, (draw::Rect{20, 250, 165, 395}));
    EXPECT_EQ(l.cornerWidth, 15);
    EXPECT_EQ(l.keys[0], (draw::Rect{30, 261, 70, 274}));
    EXPECT_EQ(l.keys[5], (draw::Rect{30, 361, 70, 374}));
    EXPECT_EQ(l.labels[1], (draw::Point{75, 291}));
    EXPECT_EQ(l.minLine, (draw::Point{40, 388}));
    // Too low to fit: moved up to end 5 units above the bottom.
    h.legend = {20, 400};
    l = LayoutMapLegend(h, 6);
    EXPECT_EQ(l.box.top, 325);
    EXPECT_EQ(l.box.bottom, 470);
    // Twice the space: twice the sizes.
    h.width = 1280, h.height = 960, h.legend = {20, 250};
    l = LayoutMapLegend(h, 4);
    EXPECT_EQ(l.keys[1], (draw::Rect{40, 250 + 22 + 40, 120, 250 + 22 + 40 + 26}));
    EXPECT_EQ(l.box.right, 20 + 290);
}

TEST(MapView, TitleWiderThanTheMapWrapsIntoTwoLinesInStepsOfAHundred) {
    Opened o;
    draw::RecordingContext dc; // fixed metrics: characters half the font height wide
    o.view->PrepareScreenMapping(dc, Client);
    dc.SetFont(charts::ChartFont(20, 400, 0, 0)); // the large font of a 480-high map
    EXPECT_EQ(o.view->TitleBox(dc, "Income per head"), (draw::Rect{245, 0, 395, 20}));
    const std::string words = "Gross domestic product per head of the population in dollars";
    const draw::Rect box = o.view->TitleBox(dc, words); // 600 wide on one line: fits
    EXPECT_EQ(box, (draw::Rect{20, 0, 620, 20}));
    const std::string longer = words + " of the year 2000";
    const draw::Rect two = o.view->TitleBox(dc, longer); // 770 wide: wrapped
    EXPECT_EQ((two.right - two.left) % 100, 0);
    EXPECT_EQ(two.bottom - two.top, 40);
    EXPECT_EQ(two.left, (640 - (two.right - two.left)) / 2);
    EXPECT_EQ(dc.MeasureTextBox(longer, {0, 0, two.right - two.left - 100, 0}, draw::dt::WordBreak)
                  .bottom,
              60); // a hundred narrower takes three lines
}

TEST(MapView, PseudoPeriodNamesAreWrappedNearTheirPointAndKeptOnTheMap) {
    auto timeLabel = [](MapPoint at) {
        MapDb data;
        MapFile map = test::CountryMap();
        map.header.timeLabel = at;
        test::WriteMap(data.db.dir.file("10000.map"), map);
        Selection s;
        s.Confirm(10000, {{1010, "Income per head"}}, {}, {{-1, "First Available"}});
        const auto view = MakeTestView<CMapView>(data.db.store, s);
        RecordingHost host;
        OpenView(*view, host);
        draw::RecordingContext dc;
        view->Paint(dc, Client);
        const auto boxes = Lines(dc.Recording(), "textbox ");
        return boxes.size() == 2 ? boxes[1] : std::string();
    };
    // One line high above and below the point, as wide as the widest word ("Available").
    EXPECT_EQ(timeLabel({20, 30}),
              "textbox 20 10 110 50 center|vcenter|wordbreak \"First Available\"");
    // Shifted right and down onto the map, or up from its bottom.
    EXPECT_EQ(timeLabel({-10, 5}),
              "textbox 0 0 90 40 center|vcenter|wordbreak \"First Available\"");
    EXPECT_EQ(timeLabel({20, 470}),
              "textbox 20 400 110 480 center|vcenter|wordbreak \"First Available\"");
}

TEST(MapView, TooltipsNameTheRegionAndItsValue) {
    Opened o;
    EXPECT_EQ(o.view->MouseMove(OnScreen(500, 200), Client), charts::TipAction::Show);
    EXPECT_EQ(o.view->TipText(), "South: 20");
    EXPECT_EQ(o.view->MouseMove(OnScreen(420, 300), Client), charts::TipAction::Refresh);
    EXPECT_EQ(o.view->TipText(), "East: 30");
    o.view->Select(charts::PopupKind::Periods, 1);
    EXPECT_EQ(o.view->MouseMove(OnScreen(500, 200), Client), charts::TipAction::Refresh);
    EXPECT_EQ(o.view->TipText(), "South: No data");
    EXPECT_EQ(o.view->MouseMove(OnScreen(630, 470), Client), charts::TipAction::Hide);
    EXPECT_EQ(o.view->TipText(), "");
    EXPECT_EQ(o.view->Cursor(), charts::ViewCursor::Cross);
}

TEST(MapView, PopupsAndTheTypeOfMapsCommands) {
    Opened o;
    ASSERT_EQ(o.view->Popups().size(), 2u);
    EXPECT_EQ(o.view->Popups()[0].kind, charts::PopupKind::Indicators);
    EXPECT_EQ(o.view->Popups()[1].kind, charts::PopupKind::Periods);
    EXPECT_EQ(o.view->QueryCommand(CmdParts).checked, true);
    EXPECT_EQ(o.view->QueryCommand(CmdQuintiles).checked, false);
    EXPECT_TRUE(o.view->QueryCommand(CmdSlideView).enabled);
    EXPECT_FALSE(o.view->QueryCommand(CmdScale).checked.has_value());

    // Choosing "Parts" while it is checked switches to Quintiles: both items toggle.
    EXPECT_TRUE(o.view->OnCommand(CmdParts));
    EXPECT_EQ(o.view->Mode(), ClassMode::Quintiles);
    EXPECT_EQ(o.view->QueryCommand(CmdQuintiles).checked, true);
    EXPECT_EQ(o.host.repaintedNow, 1);
    const auto q = o.view->CurrentLimits();
    EXPECT_EQ(std::vector<float>(q.begin(), q.end()), (std::vector<float>{60, 40, 30, 15, 10, 0}));
    EXPECT_TRUE(o.view->OnCommand(CmdQuintiles));
    EXPECT_EQ(o.view->Mode(), ClassMode::Parts);
    // Switching between 3 and 7 sections keeps the mode.
    o.view->OnCommand(CmdQuintiles);
    o.view->SetSections(3);
    EXPECT_EQ(o.view->Mode(), ClassMode::Quintiles);
    o.view->SetSections(7);
    EXPECT_EQ(o.view->Mode(), ClassMode::Quintiles);
    EXPECT_EQ(o.view->Colors(false).size(), 8u);

    // The indicator without data: every region is no data, no Parts labels, no Min line.
    o.view->OnCommand(CmdParts);
    o.view->Select(charts::PopupKind::Indicators, 1);
    EXPECT_EQ(o.view->RowClasses(), (std::vector<int>{7, 7, 7, 7}));
    EXPECT_TRUE(o.host.messages.empty()); // the map does not report missing data

    // One period: no slide show.
    Opened single(Selection([] {
        Selection s;
        s.Confirm(10000, {{1010, "Income per head"}}, {}, {{2000, "2000"}});
        return s;
    }()));
    EXPECT_TRUE(single.view->Popups().empty());
    EXPECT_FALSE(single.view->QueryCommand(CmdSlideView).enabled);
    EXPECT_TRUE(single.view->OnCommand(CmdSlideView));
    EXPECT_TRUE(single.host.dialogs.empty());
}

TEST(MapView, ScaleDialogEditsTheCurrentIndicatorsLimits) {
    Opened o;
    EXPECT_TRUE(o.view->OnCommand(CmdScale)); // cancelled: nothing changes
    ASSERT_EQ(o.host.dialogs.size(), 1u);
    EXPECT_EQ(*o.host.dialogs[0], typeid(MapScaleModel));
    EXPECT_EQ(o.host.repaintedNow, 0);

    o.host.dialogAnswer = [](charts::DialogModel& m) {
        auto& model = dynamic_cast<MapScaleModel&>(m);
        EXPECT_EQ(model.input.sections, 5);
        EXPECT_EQ(model.input.mode, ClassMode::Parts);
        EXPECT_EQ(model.input.equal[0], (std::vector<float>{60, 40, 20, 0}));
        EXPECT_EQ(model.input.texts.scaleRows[5], "1-st");
        model.result = {3, std::vector<float>{50, 25, 15, 5}};
        return true;
    };
    o.view->OnCommand(CmdScale);
    EXPECT_EQ(o.view->Sections(), 3);
    const auto l = o.view->CurrentLimits();
    EXPECT_EQ(std::vector<float>(l.begin(), l.end()), (std::vector<float>{50, 25, 15, 5}));
    EXPECT_EQ(o.host.repaintedNow, 1);
    // Values outside the narrowed range are drawn as no data: the total (60) and nothing else.
    EXPECT_EQ(o.view->RowClasses(), (std::vector<int>{2, 1, 0, 3}));
    // The other indicator keeps its own limits; the defaults stay.
    EXPECT_EQ(o.view->Breaks().Defaults(0, 3)[0], 60);
}

TEST(MapView, ClickOnAnOverallRegionOpensItsSubLevelMap) {
    Opened o;
    o.view->Select(charts::PopupKind::Periods, 1);
    EXPECT_EQ(o.view->DrillDownSet(0), 10100); // North: all three files exist
    EXPECT_EQ(o.view->DrillDownSet(3), 0);     // South: no 10200 files
    o.view->MouseClick(charts::MouseButton::Left, charts::MouseAction::Down, OnScreen(150, 100),
                       Client);
    ASSERT_EQ(o.host.openedViews.size(), 1u);
    auto* sub = dynamic_cast<CMapView*>(o.host.openedViews[0].get());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->Table().SetCode(), 10100);
    EXPECT_EQ(sub->Table().RowCount(), 3);
    EXPECT_EQ(sub->PeriodIndex(), 1);
    EXPECT_EQ(sub->IndicatorIndex(), 0);
    EXPECT_EQ(sub->Header().width, 320);
    EXPECT_EQ(o.selection.SetCode(), 10000); // the selection is left as it was

    // A click on South, on nothing, or with the right button opens nothing.
    o.view->MouseClick(charts::MouseButton::Left, charts::MouseAction::Down, OnScreen(500, 200),
                       Client);
    o.view->MouseClick(charts::MouseButton::Left, charts::MouseAction::Down, OnScreen(630, 470),
                       Client);
    o.view->MouseClick(charts::MouseButton::Right, charts::MouseAction::Down, OnScreen(150, 100),
                       Client);
    EXPECT_EQ(o.host.openedViews.size(), 1u);

    // The sub-level map is not itself drillable.
    RecordingHost subHost;
    OpenView(*sub, subHost);
    EXPECT_EQ(sub->DrillDownSet(0), 0);
    sub->MouseClick(charts::MouseButton::Left, charts::MouseAction::Down, {30, 30}, Client);
    EXPECT_TRUE(subHost.openedViews.empty());
}

TEST(MapView, PrintsGreyOnAMonochromePrinterWithTheSourceLine) {
    Opened o;
    const draw::DeviceInfo a4{draw::Technology::Printer, 2480, 3508, 11811, 11811, 24};
    draw::RecordingContext mono(a4);
    o.view->PrintPage(mono, {0, 0, 2480, 3508}, 0, false);
    // North's class 4 of five sections: grey 240.
    EXPECT_EQ(Lines(mono.Recording(), "brush solid")[0], "brush solid #f0f0f0");
    EXPECT_TRUE(Lines(mono.Recording(), "palette").empty());
    EXPECT_EQ(Lines(mono.Recording(), "text ").back(), "text 12 480 \"Source: KVZ Database\"");
    // The map keeps its shape at full page width, centred on the page.
    EXPECT_EQ(Lines(mono.Recording(), "viewportorg")[0], "viewportorg 0 824");
    draw::RecordingContext colour(a4);
    o.view->PrintPage(colour, {0, 0, 2480, 3508}, 0, true);
    EXPECT_EQ(Lines(colour.Recording(), "brush solid")[0], "brush solid #f0f000");
}

TEST(MapView, MetafileOfTheWholeMapSpaceWithItsPalette) {
    Opened o;
    EXPECT_EQ(o.view->GetMetafileInfo().bounds, (draw::Rect{0, 0, 640, 480}));
    EXPECT_EQ(o.view->GetMetafileInfo().description, "Map");
    EXPECT_TRUE(o.view->PictureChoice());
    const draw::FixedTextMeasurer measurer;
    const draw::test::EmfFile colour(o.view->MakeMetafile(measurer, false));
    ASSERT_FALSE(colour.Malformed());
    EXPECT_EQ(colour.Count(draw::emr::Polygon16), 4u);
    EXPECT_EQ(colour.Count(draw::emr::CreatePalette), 1u);
    EXPECT_EQ(colour.Count(draw::emr::RoundRect), 1u);
    const auto& h = colour.Records().front();
    EXPECT_GE(colour.Field(h, 2), 639);
    EXPECT_GE(colour.Field(h, 3), 479);
    EXPECT_NE(o.view->MakeMetafile(measurer, true), colour.Bytes()); // grey
}

TEST(MapView, WithoutItsMapFileTheLegendAndLabelsStillShow) {
    test::StartedStore db(zor::test::Country); // no 10000.map
    const Selection s = CountrySelection();
    const auto view = MakeTestView<CMapView>(db.store, s);
    RecordingHost host;
    OpenView(*view, host);
    EXPECT_FALSE(view->HasMapFile());
    EXPECT_EQ(view->GetExtent(), (draw::Size{640, 480}));
    draw::RecordingContext dc;
    view->Paint(dc, Client);
    EXPECT_TRUE(Lines(dc.Recording(), "polygon").empty());
    EXPECT_EQ(Lines(dc.Recording(), "rect ").size(), 6u);
    // Six legend labels, "Min = 0", the time label, the total's name and value; the title.
    EXPECT_EQ(Lines(dc.Recording(), "text ").size(), 6u + 1 + 1 + 2);
    EXPECT_EQ(Lines(dc.Recording(), "textbox ").size(), 1u);
    EXPECT_EQ(view->HitTest({100, 100}), -1);
    EXPECT_EQ(view->DrillDownSet(0), 0);
}

TEST(MapView, GroupsBeyondTheTablesRowsAreDrawnAsNoData) {
    MapDb data;
    MapFile map = test::CountryMap();
    map.polygons.push_back(test::Box("T", 10, 10, 20, 20)); // row 3: the total
    map.polygons.push_back(test::Box("X", 30, 10, 40, 20)); // row 4: no such row
    test::WriteMap(data.db.dir.file("10000.map"), map);
    const Selection s = CountrySelection();
    const auto view = MakeTestView<CMapView>(data.db.store, s);
    RecordingHost host;
    OpenView(*view, host);
    draw::RecordingContext dc;
    view->Paint(dc, Client);
    const auto brushes = Lines(dc.Recording(), "brush solid");
    EXPECT_EQ(brushes[4], "brush solid #c80000"); // the total's 60: class 0
    EXPECT_EQ(brushes[5], "brush solid #ffffff");
    view->MouseMove(OnScreen(35, 15), Client);
    EXPECT_EQ(view->TipText(), "");
}

TEST(MapView, SlideFramesAreInterpolatedAndRenderedThroughTheHost) {
    Opened o;
    // Two periods with two frames between: four frames; frame 1 is a third of the way.
    const MapFrame f = o.view->SlideFrame(4, 1);
    EXPECT_EQ(f.period, 0);
    ASSERT_EQ(f.values.size(), 4u);
    EXPECT_NEAR(f.values[0], 10 + 5.0 / 3, 1e-4);
    EXPECT_EQ(f.values[1], M); // South has no 2001 value: no data between
    EXPECT_NEAR(f.values[2], 20, 1e-4);
    EXPECT_NEAR(f.values[3], 60 - 20.0 / 3, 1e-4);
    EXPECT_EQ(o.view->SlideFrame(4, 3).values[2], 0);
    EXPECT_EQ(o.view->SlideFrame(4, 3).period, 1);

    // Without bitmaps (the recording host by default) there is no frame.
    const SlideFrameRequest request{4, 1, {320, 240}, draw::White};
    EXPECT_EQ(o.view->RenderSlideFrame(request), nullptr);
    // The region keys are drawn once per size; the legend and labels every frame.
    o.host.bitmapPainter = [](draw::Raster&, const charts::PictureFunction& draw) {
        draw::RecordingContext dc;
        draw(dc, {320, 240});
        return true;
    };
    const auto frame = o.view->RenderSlideFrame(request);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->width, 320);
    EXPECT_EQ(frame->height, 240);
    EXPECT_EQ(o.host.bitmapsPainted, 2);
    o.view->RenderSlideFrame({4, 2, {320, 240}, draw::White});
    EXPECT_EQ(o.host.bitmapsPainted, 3);
    o.view->RenderSlideFrame({4, 2, {300, 240}, draw::White});
    EXPECT_EQ(o.host.bitmapsPainted, 5);
    // Absurd sizes are refused before any memory is taken.
    EXPECT_EQ(o.view->RenderSlideFrame({4, 2, {20000, 20000}, draw::White}), nullptr);
    EXPECT_EQ(o.host.bitmapsPainted, 5);
}

TEST(MapView, StartingTheSlideShowAsksForItsParametersThenOpensTheWindow) {
    Opened o;
    const SlideShowModel* opened = nullptr;
    o.host.dialogAnswer = [&](charts::DialogModel& m) {
        if (auto* params = dynamic_cast<SlideParamsModel*>(&m)) {
            EXPECT_EQ(params->between, 0);
            EXPECT_TRUE(params->loop);
            params->between = 2;
            params->loop = false;
            return true;
        }
        auto& show = dynamic_cast<SlideShowModel&>(m);
        EXPECT_EQ(show.frameCount, 4);
        EXPECT_FALSE(show.loop);
        // The window asks the view for its frames (none without bitmaps here).
        EXPECT_EQ(show.render({4, 0, {100, 100}, draw::White}), nullptr);
        opened = &show;
        return true;
    };
    EXPECT_TRUE(o.view->OnCommand(CmdSlideView));
    EXPECT_NE(opened, nullptr);
    ASSERT_EQ(o.host.dialogs.size(), 2u);
    EXPECT_EQ(*o.host.dialogs[0], typeid(SlideParamsModel));
    EXPECT_EQ(*o.host.dialogs[1], typeid(SlideShowModel));
}

TEST(MapView, TheSlideRendererOutlivingItsViewRendersNothing) {
    SlideRenderer render;
    {
        Opened o;
        o.host.dialogAnswer = [&](charts::DialogModel& m) {
            if (auto* show = dynamic_cast<SlideShowModel*>(&m)) render = show->render;
            return true;
        };
        o.view->OnCommand(CmdSlideView);
    }
    ASSERT_TRUE(render);
    EXPECT_EQ(render({2, 0, {100, 100}, draw::White}), nullptr);
}

std::string Json(CMapView& view) {
    JsonWriter j;
    EXPECT_TRUE(view.WriteData(j));
    return j.str();
}

TEST(MapView, DataForZorexport) {
    Opened o;
    EXPECT_EQ(Json(*o.view),
              "{\"map\":10000,\"indicator\":1010,\"period\":2000,\"mode\":\"parts\","
              "\"sections\":5,\"limits\":[60,48,36,24,12,0],"
              "\"legend\":[\"<= 60\",\"<= 48\",\"<= 36\",\"<= 24\",\"<= 12\",\"No data\"],"
              "\"minLine\":\"Min = 0\",\"colors\":[\"#c80000\",\"#ff0000\",\"#ff8200\","
              "\"#ffb400\",\"#f0f000\",\"#ffffff\"],\"total\":{\"name\":\"Total\",\"value\":60},"
              "\"regions\":[{\"row\":0,\"key\":655360001,\"name\":\"North\",\"value\":10,"
              "\"class\":4},{\"row\":1,\"key\":655360002,\"name\":\"South\",\"value\":20,"
              "\"class\":3},{\"row\":2,\"key\":655360003,\"name\":\"East\",\"value\":30,"
              "\"class\":2},{\"row\":3,\"key\":655360004,\"name\":\"Total\",\"value\":60,"
              "\"class\":0}]}");
    o.view->Select(charts::PopupKind::Indicators, 1);
    const std::string none = Json(*o.view);
    EXPECT_NE(none.find("\"limits\":[null,null,null,null,null,null]"), std::string::npos);
    EXPECT_NE(none.find("\"legend\":[\"\",\"\",\"\",\"\",\"\",\"No data\"]"), std::string::npos);
    EXPECT_NE(none.find("\"minLine\":null"), std::string::npos);
    EXPECT_NE(none.find("\"total\":{\"name\":\"Total\",\"value\":null}"), std::string::npos);
}

TEST(MapView, RenderOptionsInAnyOrder) {
    Opened o;
    EXPECT_EQ(o.view->ApplyRenderOption("--limits", "50,30,20,10,5"), "");
    EXPECT_EQ(o.view->Sections(), 4);
    // 10 on the inner limit 10, 20 and 30 likewise; the total's 60 lies above the range.
    EXPECT_EQ(o.view->RowClasses(), (std::vector<int>{3, 2, 1, 4}));
    EXPECT_NE(o.view->ApplyRenderOption("--sections", "5"), ""); // 5 values are 4 sections
    EXPECT_EQ(o.view->ApplyRenderOption("--sections", "4"), "");
    EXPECT_NE(o.view->ApplyRenderOption("--mode", "quintiles"), "");
    EXPECT_NE(o.view->ApplyRenderOption("--mode", "fifths"), "");
    // A new map keeps the limits given before it.
    EXPECT_EQ(o.view->ApplyRenderOption("--map", "10100"), "");
    EXPECT_EQ(o.view->Table().SetCode(), 10100);
    EXPECT_EQ(o.view->CurrentLimits()[1], 30);
    EXPECT_NE(o.view->ApplyRenderOption("--map", "12345"), "");
    EXPECT_EQ(o.view->ApplyRenderOption("--mono", ""), "");
    EXPECT_NE(Json(*o.view).find("\"colors\":[\"#696969\""), std::string::npos);
    EXPECT_NE(o.view->ApplyRenderOption("--limits", "3,2,1"), "");
    EXPECT_NE(o.view->ApplyRenderOption("--limits", "9,x,1,0"), "");
    EXPECT_NE(o.view->ApplyRenderOption("--between", "2"), ""); // the slide show's only

    Opened q;
    EXPECT_EQ(q.view->ApplyRenderOption("--mode", "quintiles"), "");
    EXPECT_EQ(q.view->ApplyRenderOption("--sections", "3"), "");
    EXPECT_NE(q.view->ApplyRenderOption("--limits", "9,5,1,0"), "");
    EXPECT_NE(Json(*q.view).find("\"legend\":[\"Upper\",\"2-nd\",\"Lower\",\"No data\"]"),
              std::string::npos);
}

TEST(SlideShowView, FramesAsJsonForZorexport) {
    MapDb data;
    const Selection s = CountrySelection();
    const auto view = MakeTestView<CSlideShow>(data.db.store, s);
    RecordingHost host;
    OpenView(*view, host);
    EXPECT_EQ(view->FrameCount(), 2);
    EXPECT_EQ(view->ApplyRenderOption("--between", "2"), "");
    EXPECT_NE(view->ApplyRenderOption("--between", "6"), "");
    EXPECT_EQ(view->FrameCount(), 4);
    JsonWriter j;
    ASSERT_TRUE(view->WriteData(j));
    const std::string json = j.str();
    EXPECT_EQ(json.rfind("{\"frameCount\":4,\"frames\":[{\"index\":0,\"periodLabel\":\"2000\","
                         "\"values\":[10,20,30,60],\"classes\":[4,3,2,0]}",
                         0),
              0u);
    EXPECT_NE(json.find("{\"index\":3,\"periodLabel\":\"2001\",\"values\":[15,null,0,40],"
                        "\"classes\":[3,5,4,1]}"),
              std::string::npos);
    EXPECT_NE(json.find("{\"index\":1,\"periodLabel\":\"2000\""), std::string::npos);
    EXPECT_EQ(view->RenderFrame(4, {10, 10}), nullptr);
}

} // namespace
} // namespace zor::maps
