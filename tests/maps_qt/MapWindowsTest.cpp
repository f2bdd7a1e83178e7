// The map in its frame (menus, check marks, drill-down into a new frame), the map dialogs'
// widgets, the slide window playing and stopping, and slide frames that are the map's picture.
#include "charts/qt/CGraphFrame.h"
#include "charts/qt/DialogRunners.h"
#include "charts/qt/EditableValueList.h"
#include "draw/NullContext.h"
#include "draw/qt/QtTextMeasurer.h"
#include "draw/qt/Render.h"
#include "maps/qt/CSlideFrame.h"
#include "maps/qt/MapDialogs.h"
#include "tests/maps/MapTestSupport.h"
#include "views/ViewTable.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace zor::maps::qt {
namespace {

using charts::qt::CGraphFrame;
using charts::qt::UiServices;
using test::CountrySelection;
using test::MapDb;

const charts::ViewEntry& MapEntry() {
    return *views::FindViewByCommand(CmdMap);
}

struct Frame {
    MapDb data;
    Selection selection = CountrySelection();
    std::unique_ptr<CGraphFrame> frame;
    Frame() {
        RegisterMapDialogs();
        frame = std::make_unique<CGraphFrame>(
            MapEntry(), test::MakeTestView<CMapView>(data.db.store, selection),
            &charts::qt::MakeChartWidget, UiServices{});
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        frame->messageHook = [](const QString&, charts::MessageIcon) {};
        frame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return frame->Ready(); }));
    }
    CMapView& View() { return static_cast<CMapView&>(frame->View()); }
    QWidget* Widget() { return frame->ViewWidget(); }
    // Where a map point lies on the frame's view widget.
    QPoint At(int x, int y) {
        const QWidget* w = Widget();
        draw::NullContext dc(
            draw::DeviceInfo{draw::Technology::Display, w->width(), w->height(), 3780, 3780, 24},
            draw::QtTextMeasurer::Screen());
        View().PrepareScreenMapping(dc, {0, 0, w->width(), w->height()});
        const draw::Point p = dc.LPtoDP({x, y});
        return {p.x, p.y};
    }
};

QStringList MenuBarTexts(QMenuBar* bar) {
    QStringList out;
    for (QAction* a : bar->actions()) out << a->text();
    return out;
}

TEST(MapFrame, MenuWithPopupsAndTheCheckedTypeOfMaps) {
    Frame f;
    EXPECT_EQ(f.frame->windowTitle(), "Maps - Income per head, 2000");
    EXPECT_EQ(MenuBarTexts(f.frame->menuBar()),
              (QStringList{"Indicators", "Time periods", "Scale", "Type of Maps", "Slide view",
                           "Print", "Special", "Quit"}));
    QAction* parts = f.frame->CommandAction(CmdParts);
    QAction* quintiles = f.frame->CommandAction(CmdQuintiles);
    ASSERT_NE(parts, nullptr);
    EXPECT_TRUE(parts->isCheckable());
    EXPECT_TRUE(parts->isChecked());
    EXPECT_FALSE(quintiles->isChecked());
    EXPECT_TRUE(f.frame->CommandAction(CmdSlideView)->isEnabled());
    EXPECT_EQ(f.Widget()->cursor().shape(), Qt::CrossCursor);

    const int before = static_cast<charts::qt::CChartWidget*>(f.Widget())->PaintCount();
    parts->trigger(); // both items toggle
    EXPECT_EQ(f.View().Mode(), ClassMode::Quintiles);
    EXPECT_FALSE(parts->isChecked());
    EXPECT_TRUE(quintiles->isChecked());
    EXPECT_GT(static_cast<charts::qt::CChartWidget*>(f.Widget())->PaintCount(), before);
    quintiles->trigger();
    EXPECT_TRUE(parts->isChecked());
    EXPECT_FALSE(quintiles->isChecked());
}

TEST(MapFrame, SlideViewIsDisabledWithOnePeriod) {
    MapDb data;
    Selection s;
    s.Confirm(10000, {{1010, "Income per head"}}, {}, {{2000, "2000"}});
    CGraphFrame frame(MapEntry(), test::MakeTestView<CMapView>(data.db.store, s),
                      &charts::qt::MakeChartWidget, UiServices{});
    frame.setAttribute(Qt::WA_DeleteOnClose, false);
    frame.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.Ready(); }));
    EXPECT_FALSE(frame.CommandAction(CmdSlideView)->isEnabled());
    EXPECT_EQ(MenuBarTexts(frame.menuBar()).front(), "Scale");
}

TEST(MapFrame, AClickOnARegionOpensItsCountriesInANewFrame) {
    Frame f;
    std::vector<CGraphFrame*> opened;
    f.frame->openedHook = [&](CGraphFrame* o) { opened.push_back(o); };
    f.View().Select(charts::PopupKind::Periods, 1);
    QTest::mouseClick(f.Widget(), Qt::LeftButton, {}, f.At(500, 200)); // South: no sub-level map
    EXPECT_TRUE(opened.empty());
    QTest::mouseMove(f.Widget(), f.At(150, 100));
    QTest::mouseClick(f.Widget(), Qt::LeftButton, {}, f.At(150, 100)); // North
    ASSERT_EQ(opened.size(), 1u);
    std::unique_ptr<CGraphFrame> sub(opened[0]);
    EXPECT_EQ(&sub->Entry(), &MapEntry());
    auto& view = dynamic_cast<CMapView&>(sub->View());
    EXPECT_EQ(view.Table().SetCode(), 10100);
    EXPECT_EQ(view.PeriodIndex(), 1);
    // Its period popup has the checked item where the view is.
    ASSERT_EQ(sub->PopupMenus().size(), 2u);
    EXPECT_TRUE(sub->PopupMenus()[1]->actions()[1]->isChecked());
}

TEST(MapScaleDialogWidget, WrappingSectionsRefusedTabChangeDefaultAndOk) {
    Frame f;
    const UiServices ui;
    CMapScaleDialog d(ui, f.View().ScaleInput());
    d.show();
    EXPECT_EQ(d.windowTitle(), "Map Scale Parameters");
    ASSERT_EQ(d.tabs()->count(), 3);
    EXPECT_EQ(d.tabs()->tabText(2), "Min && Max");
    EXPECT_EQ(d.sections()->value(), 5);
    d.sections()->setValue(7);
    d.sections()->stepUp();
    EXPECT_EQ(d.sections()->value(), 3); // wraps
    d.sections()->stepDown();
    EXPECT_EQ(d.sections()->value(), 7);
    d.sections()->setValue(3);

    // Entering a list page after the change: both lists for three sections.
    d.tabs()->setCurrentIndex(1);
    EXPECT_EQ(d.CurrentPage(), ScalePage::AllRanges);
    const auto& rows = d.allRanges()->Values();
    ASSERT_EQ(rows.RowCount(), 4);
    EXPECT_EQ(rows.Label(1), "2-nd");
    EXPECT_EQ(rows.Label(2), "1-st");
    EXPECT_EQ(rows.Value(0), "60");
    EXPECT_EQ(d.minMax()->Values().RowCount(), 2);

    // Values that do not strictly decrease keep the page.
    d.allRanges()->Editor()->setText("10"); // Max below the next row
    d.tabs()->setCurrentIndex(2);
    EXPECT_EQ(d.tabs()->currentIndex(), 1);
    d.allRanges()->Editor()->setText("70");
    d.tabs()->setCurrentIndex(2);
    EXPECT_EQ(d.tabs()->currentIndex(), 2);

    // Default writes the defaults into both lists; OK on "Min && Max" spreads them.
    d.minMax()->Editor()->setText("90");
    d.defaultButton()->click();
    EXPECT_EQ(d.minMax()->Values().Value(0), "60");
    EXPECT_EQ(d.allRanges()->Values().Value(0), "60");
    d.minMax()->Editor()->setText("90");
    d.okButton()->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.Result(), (MapScaleResult{3, std::vector<float>{90, 60, 30, 0}}));
}

TEST(MapScaleDialogWidget, QuintilesOfferOnlyTheSectionsPage) {
    Frame f;
    f.View().ToggleMode();
    CMapScaleDialog d(UiServices{}, f.View().ScaleInput());
    EXPECT_EQ(d.tabs()->count(), 1);
    EXPECT_FALSE(d.defaultButton()->isEnabled());
    EXPECT_EQ(d.allRanges(), nullptr);
    d.sections()->setValue(4);
    d.okButton()->click();
    EXPECT_EQ(d.Result(), (MapScaleResult{4, std::nullopt}));
}

TEST(MapScaleDialogWidget, OkOnTheAllRangsPageStoresItsValuesInTheView) {
    Frame f;
    f.frame->dialogHook = [&](charts::DialogModel& m) {
        auto& model = dynamic_cast<MapScaleModel&>(m);
        CMapScaleDialog d(UiServices{}, model.input);
        d.show();
        d.tabs()->setCurrentIndex(1);
        d.allRanges()->Editor()->setText("55");
        d.okButton()->click();
        model.result = d.Result();
        return d.result() == QDialog::Accepted;
    };
    f.frame->OnCommand(CmdScale);
    EXPECT_EQ(f.View().CurrentLimits()[0], 55);
    EXPECT_EQ(f.View().CurrentLimits()[1], 48);
}

TEST(SlideParamsWidget, TypedFramesAreCorrectedAtOnce) {
    CSlideParamsDialog d(UiServices{});
    d.show();
    EXPECT_EQ(d.windowTitle(), "Slide view parameters");
    EXPECT_EQ(d.FramesBetween(), 0);
    EXPECT_TRUE(d.Loop());
    QLineEdit* edit = d.frames()->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, "9");
    EXPECT_EQ(edit->text(), "5");
    EXPECT_EQ(d.FramesBetween(), 5);
    edit->selectAll();
    QTest::keyClicks(edit, "-3");
    EXPECT_EQ(edit->text(), "0");
    edit->selectAll();
    QTest::keyClicks(edit, "2");
    d.frames()->stepUp();
    EXPECT_EQ(d.FramesBetween(), 3);
    d.loop()->setChecked(false);
    d.okButton()->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.Loop());
}

// A renderer that answers every request with a bitmap of the asked size, counting them.
struct FakeRenderer {
    std::vector<SlideFrameRequest> requests;
    SlideRenderer Function() {
        return [this](const SlideFrameRequest& r) {
            requests.push_back(r);
            return std::make_unique<draw::Raster>(r.client.cx, r.client.cy, draw::Rgb(0, 0, 255));
        };
    }
};

TEST(SlideWindow, PlaysOnceThenStopsWithTheMainWindowDisabledMeanwhile) {
    QWidget mainWindow;
    auto* control = new QPushButton("Maps", &mainWindow);
    auto* owner = new QWidget(&mainWindow, Qt::Window); // a view frame the main window owns
    owner->setGeometry(50, 60, 500, 400);
    owner->show();
    mainWindow.show();
    UiServices ui;
    ui.mainWindow = &mainWindow;
    FakeRenderer fake;
    QPointer<CSlideFrame> w = new CSlideFrame(3, false, fake.Function(), ui, owner);
    EXPECT_EQ(w->geometry(), owner->frameGeometry());
    w->Start();
    // The main window's controls are disabled; the windows it owns are not.
    EXPECT_FALSE(control->isEnabled());
    EXPECT_TRUE(owner->isEnabled());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(w->Timer().interval(), 600);
    EXPECT_EQ(w->Progress()->maximum(), 2);
    EXPECT_FALSE(w->Menu()->actions()[0]->menu()->actions()[0]->isEnabled()); // Single
    QTRY_COMPARE_WITH_TIMEOUT(w->Player().Playing(), false, 5000);
    EXPECT_EQ(w->FramesShown(), 3);
    ASSERT_EQ(fake.requests.size(), 3u);
    EXPECT_EQ(fake.requests[2].frame, 2);
    EXPECT_EQ(fake.requests[2].frameCount, 3);
    EXPECT_EQ(fake.requests[2].client, (draw::Size{w->View()->width(), w->View()->height()}));
    EXPECT_EQ(w->Progress()->value(), 0);
    EXPECT_EQ(w->Counter()->text(), " 3 : 3     ");
    EXPECT_FALSE(w->Timer().isActive());
    ASSERT_NE(w->Bitmap(), nullptr);
    EXPECT_EQ(w->Bitmap()->width, w->View()->width());

    // Stopped: Single and Continue are enabled, Stop is not; quitting re-enables the main window.
    EXPECT_FALSE(w->OnCommand(CmdSlideStop));
    EXPECT_TRUE(w->OnCommand(CmdQuit));
    QTRY_VERIFY(w.isNull());
    EXPECT_TRUE(control->isEnabled());
}

TEST(SlideWindow, ContinueLoopsUntilStopAndResizingRendersTheCurrentFrameAgain) {
    QWidget owner;
    owner.resize(400, 300);
    FakeRenderer fake;
    auto* w = new CSlideFrame(2, true, fake.Function(), UiServices{}, &owner);
    w->Start();
    QTRY_VERIFY_WITH_TIMEOUT(w->FramesShown() >= 3, 5000); // past the last frame: round again
    EXPECT_EQ(fake.requests[2].frame, 0);
    const size_t asked = fake.requests.size();
    w->resize(300, 200);
    QTRY_VERIFY(fake.requests.size() > asked);
    EXPECT_EQ(fake.requests.back().client.cx, w->View()->width());

    EXPECT_TRUE(w->Menu()->actions()[1]->isEnabled()); // Stop
    EXPECT_TRUE(w->OnCommand(CmdSlideStop));
    EXPECT_FALSE(w->Player().Playing());
    EXPECT_FALSE(w->Timer().isActive());
    EXPECT_EQ(w->Progress()->value(), 0);
    EXPECT_FALSE(w->Menu()->actions()[1]->isEnabled());
    // "Single" again from frame 0.
    EXPECT_TRUE(w->OnCommand(CmdSlideSingle));
    EXPECT_EQ(w->Player().Current(), 0);
    EXPECT_TRUE(w->Timer().isActive());
    EXPECT_FALSE(w->OnCommand(CmdSlideContinue)); // disabled while playing

    EXPECT_TRUE(w->OnCommand(CmdSlideMaximized));
    EXPECT_TRUE(w->Menu()->actions()[3]->isChecked());
    EXPECT_TRUE(w->OnCommand(CmdSlideMaximized));
    EXPECT_FALSE(w->Menu()->actions()[3]->isChecked());
    delete w;
}

TEST(SlideWindow, OpenedFromTheMapFrameShowsTheMapsFrames) {
    Frame f;
    f.frame->dialogHook = [&](charts::DialogModel& m) {
        if (auto* params = dynamic_cast<SlideParamsModel*>(&m)) {
            params->between = 1;
            params->loop = false;
            return true;
        }
        return charts::qt::RunRegisteredDialog(m, f.frame->Ui(), f.frame.get());
    };
    f.frame->OnCommand(CmdSlideView);
    auto* slide = f.frame->findChild<CSlideFrame*>();
    ASSERT_NE(slide, nullptr);
    EXPECT_EQ(slide->Player().FrameCount(), 3);
    QTRY_COMPARE_WITH_TIMEOUT(slide->FramesShown(), 3, 5000);
    ASSERT_NE(slide->Bitmap(), nullptr);
    EXPECT_EQ(slide->Bitmap()->width, slide->View()->width());
    // Closing the map's frame takes its slide window with it.
    QPointer<CSlideFrame> guard = slide;
    f.frame.reset();
    EXPECT_TRUE(guard.isNull());
}

TEST(SlideFrames, AreTheMapViewsOwnPicture) {
    MapDb data;
    const Selection s = CountrySelection();
    const auto view = test::MakeTestView<CMapView>(data.db.store, s);
    test::RecordingHost host;
    host.bitmapPainter = [](draw::Raster& raster, const charts::PictureFunction& draw) {
        draw::PaintOnRaster(raster, draw);
        return true;
    };
    test::OpenView(*view, host);
    const draw::Color face = draw::Rgb(239, 239, 239);
    for (draw::Size size : {draw::Size{800, 600}, draw::Size{517, 333}}) {
        for (int period : {0, 1}) {
            view->Select(charts::PopupKind::Periods, period);
            const auto frame = view->RenderSlideFrame({2, period, size, face});
            ASSERT_NE(frame, nullptr);
            const QImage direct = draw::RenderImage(
                size,
                [&](draw::DeviceContext& dc, draw::Size s2) {
                    view->Paint(dc, {0, 0, s2.cx, s2.cy});
                },
                face);
            EXPECT_EQ(draw::ImageOf(*frame), direct) << size.cx << " period " << period;
        }
    }
    // An interpolated frame differs from both periods.
    const auto between = view->RenderSlideFrame({3, 1, {800, 600}, face});
    const auto first = view->RenderSlideFrame({3, 0, {800, 600}, face});
    EXPECT_NE(draw::ImageOf(*between), draw::ImageOf(*first));
}

} // namespace
} // namespace zor::maps::qt
