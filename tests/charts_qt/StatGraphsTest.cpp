// The scattergram and the histogram in their frames (menus, commands greyed out, the rubber band
// with the mouse) and the widgets of their dialogs.
#include "charts/CHist.h"
#include "charts/CScChart.h"
#include "charts/DialogRules.h"
#include "charts/qt/CGraphFrame.h"
#include "charts/qt/DialogRunners.h"
#include "charts/qt/StatDialogs.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/charts/StatFixtures.h"
#include "tests/charts_qt/FrameTestSupport.h"
#include "views/ViewTable.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>

namespace zor::charts::qt {
namespace {

using charts::test::MakeTestView;
using charts::test::StartedStore;

template <class View>
std::unique_ptr<CGraphFrame> OpenFrame(StartedStore& db, int command, const Selection& s,
                                       std::vector<QString>* messages) {
    return OpenTestFrame(
        *views::FindViewByCommand(command), MakeTestView<View>(db.store, s), &MakeChartWidget,
        [messages](const QString& t, MessageIcon) {
            if (messages) messages->push_back(t);
        },
        QSize(800, 600));
}

QStringList MenuBarTexts(QMenuBar* bar) {
    QStringList out;
    for (QAction* a : bar->actions()) out << a->text();
    return out;
}

QAction* MenuAction(QMenuBar* bar, const QString& text) {
    for (QAction* a : bar->actions())
        if (a->text() == text) return a;
    return nullptr;
}

// The device pixel nearest to a logical point of a view on `widget` (its screen mapping is
// linear between the client's corners).
QPoint DeviceOf(const CGraphView& view, const QWidget* widget, draw::Point logical) {
    const draw::Rect client{0, 0, widget->width(), widget->height()};
    const draw::Point o = view.ToLogical({0, 0}, client);
    const draw::Point e = view.ToLogical({client.right, client.bottom}, client);
    return {static_cast<int>(std::lround(double(logical.x - o.x) * client.right / (e.x - o.x))),
            static_cast<int>(std::lround(double(logical.y - o.y) * client.bottom / (e.y - o.y)))};
}

TEST(ScatterFrame, RubberBandWithTheMouseAndCommandsThatFollowThePoints) {
    StartedStore db(charts::test::ScatterCountry);
    std::vector<QString> messages;
    const auto frame = OpenFrame<CScChart>(
        db, CmdScattergram, charts::test::StatSelection("Income", "Life"), &messages);
    auto& chart = static_cast<CScChart&>(frame->View());
    EXPECT_EQ(frame->windowTitle(), "Scattergram - Life, 2001 against Income, 2000");
    EXPECT_EQ(
        MenuBarTexts(frame->menuBar()),
        (QStringList{"Select", "Zoom Out", "Scale", "Correlation", "Print", "Special", "Quit"}));
    QAction* correlation = MenuAction(frame->menuBar(), "Correlation");
    ASSERT_NE(correlation, nullptr);
    EXPECT_TRUE(correlation->isEnabled());
    EXPECT_TRUE(messages.empty());

    QWidget* widget = frame->ViewWidget();
    EXPECT_EQ(widget->cursor().shape(), Qt::CrossCursor);
    const ScatterRanges full = chart.Ranges();
    const QPoint a = DeviceOf(chart, widget, {1000, 1000});
    const QPoint b = DeviceOf(chart, widget, {4400, 3800});
    ASSERT_GE(a.x(), 0);
    ASSERT_GE(b.x(), 0);
    const draw::Rect client{0, 0, widget->width(), widget->height()};
    const draw::Point la = chart.ToLogical({a.x(), a.y()}, client);
    const draw::Point lb = chart.ToLogical({b.x(), b.y()}, client);

    QTest::mousePress(widget, Qt::LeftButton, {}, a);
    EXPECT_TRUE(chart.Banding());
    EXPECT_EQ(widget->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(widget, b);
    EXPECT_EQ(chart.BandCorner(), lb);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, b);
    EXPECT_FALSE(chart.Banding());
    EXPECT_EQ(widget->cursor().shape(), Qt::CrossCursor);
    const auto zoomed = ZoomRanges(full, la, lb, 5750, 4500);
    ASSERT_TRUE(zoomed);
    EXPECT_EQ(chart.Ranges(), *zoomed);

    // Typed ranges that hold three points: "Correlation" is greyed out.
    frame->dialogHook = [](DialogModel& m) {
        auto* xy = dynamic_cast<XYScaleDialogModel*>(&m);
        if (!xy) return false;
        xy->result = {true, {20, 40, 5}, {40, 80, 10}, false};
        return true;
    };
    MenuAction(frame->menuBar(), "Scale")->trigger();
    EXPECT_EQ(chart.Fit().points.size(), 3u);
    EXPECT_FALSE(correlation->isEnabled());

    // The right button shows everything again.
    QTest::mouseClick(widget, Qt::RightButton, {}, a);
    EXPECT_EQ(chart.Ranges(), full);
    EXPECT_TRUE(correlation->isEnabled());
}

TEST(HistFrame, PopupsAndScaleGreyedOutWithoutData) {
    StartedStore db(charts::test::HistCountry);
    std::vector<QString> messages;
    const auto frame = OpenFrame<CHist>(
        db, CmdHistogram, charts::test::StatSelection("Income", "Exports"), &messages);
    EXPECT_EQ(frame->windowTitle(), "Histogram - Income, 2000");
    EXPECT_EQ(MenuBarTexts(frame->menuBar()),
              (QStringList{"Scale", "Time periods", "Indicators", "Print", "Special", "Quit"}));
    QAction* scale = MenuAction(frame->menuBar(), "Scale");
    EXPECT_TRUE(scale->isEnabled());
    frame->PopupMenus()[0]->actions()[1]->trigger(); // Exports: no data
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Sorry, no data!");
    EXPECT_FALSE(scale->isEnabled());
    frame->PopupMenus()[0]->actions()[0]->trigger();
    EXPECT_TRUE(scale->isEnabled());

    int asked = 0;
    frame->dialogHook = [&](DialogModel& m) {
        auto& c = dynamic_cast<HistogramColumnsModel&>(m);
        ++asked;
        c.columns = 12;
        return true;
    };
    scale->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(static_cast<CHist&>(frame->View()).Layout().counts.size(), 12u);
}

ScatterSetupModel SetupModel() {
    ScatterSetupModel m;
    m.indicators = {"Income", "Life"};
    m.indicatorCodes = {1010, 1020};
    m.periods = {"2000", "2001"};
    m.periodCodes = {2000, 2001};
    m.xIndicator = 0, m.xPeriod = 0, m.yIndicator = 1, m.yPeriod = 7; // 7: not a period
    return m;
}

TEST(ScatterSetupDialogWidget, PreselectsAndReturnsTheFourChoices) {
    const UiServices ui;
    ScatterSetupDialog d(ui, SetupModel());
    EXPECT_EQ(d.windowTitle(), "Scattergram setup");
    EXPECT_EQ(d.xIndicator()->count(), 2);
    EXPECT_EQ(d.yIndicator()->currentIndex(), 1);
    EXPECT_EQ(d.yPeriod()->currentIndex(), 0);
    EXPECT_EQ(d.yIndicator()->itemData(1).toInt(), 1020);
    EXPECT_EQ(d.xPeriod()->itemText(1), "2001");
    d.xIndicator()->setCurrentIndex(1);
    d.yPeriod()->setCurrentIndex(1);
    d.okButton()->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.Result().xIndicator, 1);
    EXPECT_EQ(d.Result().xPeriod, 0);
    EXPECT_EQ(d.Result().yIndicator, 1);
    EXPECT_EQ(d.Result().yPeriod, 1);
}

TEST(StatisticsDialogWidget, ShowsTheLines) {
    const UiServices ui;
    StatisticsDialog d(ui, "Correlation: 0.8\nfrom: -0.697 to: 0.996\n");
    EXPECT_EQ(d.windowTitle(), "Statistics");
    EXPECT_EQ(d.text()->text(), "Correlation: 0.8\nfrom: -0.697 to: 0.996\n");
    d.okButton()->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST(HistogramDialogWidget, ThreeToFifteenColumns) {
    const UiServices ui;
    HistogramDialog d(ui, 2);
    EXPECT_EQ(d.windowTitle(), "Histogram parameters");
    EXPECT_EQ(d.columnsBox()->value(), 3);
    EXPECT_EQ(d.columnsBox()->minimum(), 3);
    EXPECT_EQ(d.columnsBox()->maximum(), 15);
    d.columnsBox()->setValue(20);
    d.okButton()->click();
    EXPECT_EQ(d.Columns(), 15);
}

TEST(StatDialogs, RegisteredForTheirModels) {
    RegisterChartDialogs();
    const UiServices ui;
    // The registered dialog opens modally; answer it as a user would.
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<HistogramDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->columnsBox()->setValue(11);
        d->okButton()->click();
    });
    HistogramColumnsModel columns;
    EXPECT_TRUE(RunRegisteredDialog(columns, ui, nullptr));
    EXPECT_EQ(columns.columns, 11);

    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<ScatterSetupDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->yPeriod()->setCurrentIndex(1);
        d->okButton()->click();
    });
    ScatterSetupModel setup = SetupModel();
    EXPECT_TRUE(RunRegisteredDialog(setup, ui, nullptr));
    EXPECT_EQ(setup.yPeriod, 1);
    EXPECT_EQ(setup.indicators.size(), 2u);

    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<StatisticsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->reject();
    });
    StatisticsModel statistics;
    statistics.text = "r";
    EXPECT_FALSE(RunRegisteredDialog(statistics, ui, nullptr));
}

} // namespace
} // namespace zor::charts::qt
