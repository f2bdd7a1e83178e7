// The ranked bar charts and line charts in their frames: menus with popups and check marks,
// disabled commands, clicking for a trend, the horizontal chart's scroll bar and keys and its
// printout; the widgets of the Selection and Regions highlighting dialogs.
#include "charts/CHRBarChart.h"
#include "charts/CLineChart.h"
#include "charts/CRBarChart.h"
#include "charts/qt/CGraphFrame.h"
#include "charts/qt/RankedLineDialogs.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/charts_qt/FrameTestSupport.h"
#include "views/ViewTable.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace zor::charts::qt {
namespace {

using charts::test::StartedStore;
constexpr float M = MissingValue;

// Forty regions and the total; two indicators (the second without values) over two years.
void Regions(zor::test::Fixture& f) {
    std::vector<std::string> names;
    std::vector<float> a, b;
    for (int k = 1; k <= 40; ++k) {
        names.push_back("R" + std::to_string(k));
        a.push_back(float(k));
        b.push_back(k % 4 == 0 ? M : float(2 * k));
    }
    names.push_back("Total");
    a.push_back(20), b.push_back(40);
    f.Set(10000, "Country", names);
    f.Group(1, "Health");
    f.Indicator(1010, "Life expectancy");
    f.Indicator(1020, "Nothing");
    f.Periods({1990, 1991, 1992});
    f.Values(10000, 1990, 1010, a);
    f.Values(10000, 1991, 1010, b);
    f.Values(10000, 1992, 1010, a);
}

Selection RegionsSelection(std::vector<ListItem> indicators = {{1010, "Life expectancy"},
                                                               {1020, "Nothing"}}) {
    Selection s;
    s.Confirm(10000, std::move(indicators),
              {{MakeRegionKey(10000, 1), "R1"}, {MakeRegionKey(10000, 2), "R2"}},
              {{1990, "1990"}, {1992, "1992"}});
    return s;
}

QStringList MenuBarTexts(QMenuBar* bar) {
    QStringList out;
    for (QAction* a : bar->actions()) out << a->text();
    return out;
}

// A frame as the main frame opens it for a view command, shown, after its initial update.
struct Frame {
    StartedStore db{Regions};
    Selection selection;
    std::vector<QString> messages;
    std::unique_ptr<CGraphFrame> frame;
    Frame(int command, Selection s) : selection(std::move(s)) {
        const ViewEntry& entry = *views::FindViewByCommand(command);
        frame = OpenTestFrame(
            entry, entry.make(ViewContext{db.store, Resources(), selection, nullptr}),
            &MakeChartWidget, [this](const QString& t, MessageIcon) { messages.push_back(t); },
            QSize(800, 600));
    }
    static const ChartResources& Resources() {
        static const ChartResources res;
        return res;
    }
    CChartWidget* Widget() { return static_cast<CChartWidget*>(frame->ViewWidget()); }
};

TEST(RankedFrame, VerticalMenuWithBothPopupsAndTheCrossHair) {
    Frame f(CmdRankedBarChart, RegionsSelection());
    // The title names the indicator and the period, and follows the popups.
    EXPECT_EQ(f.frame->windowTitle(), "Ranked Bar Chart - Life expectancy, 1990");
    EXPECT_EQ(MenuBarTexts(f.frame->menuBar()),
              (QStringList{"Scale", "Regions", "Time periods", "Indicators", "Print", "Special",
                           "Quit"}));
    EXPECT_EQ(f.Widget()->cursor().shape(), Qt::CrossCursor);
    EXPECT_TRUE(f.frame->CommandAction(CmdScale)->isEnabled());
    // The indicator without data disables "Scale".
    f.frame->PopupMenus()[0]->actions()[1]->trigger();
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_FALSE(f.frame->CommandAction(CmdScale)->isEnabled());
    EXPECT_EQ(f.frame->windowTitle(), "Ranked Bar Chart - Nothing, 1990");
    EXPECT_EQ(f.Widget()->ScrollBar(), nullptr); // the vertical chart does not scroll
}

TEST(RankedFrame, HorizontalScrollsWithKeysAndScrollBarAndPrintsItsPages) {
    Frame f(CmdHorizontalRankedBarChart, RegionsSelection());
    auto& chart = static_cast<CHRBarChart&>(f.frame->View());
    EXPECT_EQ(MenuBarTexts(f.frame->menuBar()),
              (QStringList{"Select", "Scale", "Regions", "Print", "Special", "Quit"}));
    QScrollBar* bar = f.Widget()->ScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 41 - 35);
    // The view's client area leaves the scroll bar out.
    EXPECT_EQ(f.Widget()->Client().right, f.Widget()->width() - bar->width());

    const int paints = f.Widget()->PaintCount();
    f.Widget()->setFocus();
    QTest::keyClick(f.Widget(), Qt::Key_PageDown);
    EXPECT_EQ(chart.ScrollPosition(), 6);
    EXPECT_EQ(bar->value(), 6);
    QTRY_VERIFY(f.Widget()->PaintCount() > paints);
    QTest::keyClick(f.Widget(), Qt::Key_Up);
    EXPECT_EQ(chart.ScrollPosition(), 5);
    bar->triggerAction(QAbstractSlider::SliderToMinimum); // not an action the chart knows
    EXPECT_EQ(bar->value(), 5);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(chart.ScrollPosition(), 0);
    EXPECT_EQ(bar->value(), 0);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(chart.ScrollPosition(), 1);

    // Fewer rows than a page: the scroll bar goes away.
    std::vector<int> shown(41, 0);
    shown[0] = 1;
    chart.SetShown(shown);
    EXPECT_FALSE(bar->isVisible());

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const std::string path = f.db.dir.file("ranked.pdf");
    printer.setOutputFileName(QString::fromStdString(path));
    chart.SetShown(std::vector<int>(41, 1));
    int asked = 0;
    f.frame->printDialogHook = [&](QPrinter&, int pages) {
        asked = pages;
        return true;
    };
    f.frame->PrintTo(printer); // A4: 17 rows a page
    EXPECT_EQ(f.frame->PageCount(printer), 3);
    EXPECT_EQ(zor::test::ReadFile(path).substr(0, 5), "%PDF-");
}

TEST(LineFrame, OptionsCheckMarkAndAClickForATrend) {
    Frame f(CmdLineChartA, RegionsSelection());
    auto& chart = static_cast<CLineChart&>(f.frame->View());
    EXPECT_EQ(
        MenuBarTexts(f.frame->menuBar()),
        (QStringList{"Options", "Regions", "Scale", "Indicators", "Print", "Special", "Quit"}));
    QAction* average = f.frame->CommandAction(CmdUseAverage);
    ASSERT_NE(average, nullptr);
    EXPECT_TRUE(average->isCheckable());
    EXPECT_FALSE(average->isChecked());
    average->trigger();
    EXPECT_TRUE(chart.Average());
    EXPECT_TRUE(average->isChecked());
    average->trigger();
    EXPECT_FALSE(average->isChecked());

    // A click inside the plot at 1990 (the range starts there) draws trend lines from it.
    const ChartAxes& a = chart.Axes();
    const draw::Rect client = f.Widget()->Client();
    const draw::Rect at =
        chart.ToDevice({a.SeriesX(1990) + 20, 2500, a.SeriesX(1990) + 20, 2500}, client);
    QTest::mouseClick(f.Widget(), Qt::LeftButton, {}, QPoint(at.left, at.top));
    ASSERT_TRUE(chart.TrendShown());
    EXPECT_EQ(chart.TrendYear(), 1990);
    EXPECT_EQ(chart.Trends().size(), 2u);
    // The scale is available with data; not for the indicator without.
    EXPECT_TRUE(f.frame->CommandAction(CmdScale)->isEnabled());
    f.frame->PopupMenus()[0]->actions()[1]->trigger();
    EXPECT_FALSE(chart.TrendShown());
    EXPECT_FALSE(f.frame->CommandAction(CmdScale)->isEnabled());
}

TEST(RankedSelectionDialogWidget, LightBlueControlsFollowTheCheckBox) {
    RankedSelectionModel m;
    m.indicators = {"Life expectancy", "GDP"};
    m.periods = {"1990", "2015"};
    m.choice = {0, 0, 1, 1, false};
    RankedSelectionDialog d(UiServices{}, m);
    EXPECT_EQ(d.windowTitle(), "Ranked Bar Chart Selection");
    EXPECT_EQ(d.indicatorB()->currentIndex(), 1);
    EXPECT_FALSE(d.indicatorB()->isEnabled());
    EXPECT_FALSE(d.periodB()->isEnabled());
    EXPECT_FALSE(d.lightBlueLabel()->isEnabled());
    d.twoBars()->setChecked(true);
    EXPECT_TRUE(d.periodB()->isEnabled());
    d.periodA()->setCurrentIndex(1);
    d.periodB()->setCurrentIndex(0);
    d.okButton()->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(m.choice, (RankedChoice{0, 1, 1, 0, true}));

    // Unchecked, OK keeps the light blue bar as it was.
    RankedSelectionDialog again(UiServices{}, m);
    EXPECT_TRUE(again.indicatorB()->isEnabled());
    again.twoBars()->setChecked(false);
    again.indicatorB()->setCurrentIndex(0);
    again.okButton()->click();
    EXPECT_EQ(m.choice, (RankedChoice{0, 1, 1, 0, false}));
}

TEST(RegionsHighlightDialogWidget, TheListIsUsableOnlyWithTheBoxChecked) {
    RegionsHighlightModel m;
    m.names = {"North", "South", "East"};
    m.checked = {false, true, false};
    RegionsHighlightDialog d(UiServices{}, m);
    EXPECT_EQ(d.windowTitle(), "Regions highlighting");
    EXPECT_FALSE(d.list()->isEnabled());
    EXPECT_EQ(d.list()->item(1)->checkState(), Qt::Checked);
    d.useBox()->setChecked(true);
    EXPECT_TRUE(d.list()->isEnabled());
    d.list()->item(2)->setCheckState(Qt::Checked);
    d.list()->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(m.checked, (std::vector<bool>{false, true, false})); // nothing before OK
    d.okButton()->click();
    EXPECT_TRUE(m.use);
    EXPECT_EQ(m.checked, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(HighlightedPositions(m.checked), std::vector<int>{2});
}

} // namespace
} // namespace zor::charts::qt
