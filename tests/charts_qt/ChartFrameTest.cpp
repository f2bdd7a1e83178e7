// The chart frame with a bar chart: menus and popups, repainting, export, printing; the shared
// dialogs' widgets.
#include "charts/CBarChart.h"
#include "charts/qt/CGraphFrame.h"
#include "charts/qt/ChartDialogs.h"
#include "charts/qt/Clipboard.h"
#include "charts/qt/EditableValueList.h"
#include "draw/EmfWriter.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/draw/EmfReader.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace zor::charts::qt {
namespace {

using charts::test::Db;
using charts::test::Key;

void Country(zor::test::Fixture& f) {
    f.Set(10000, "Country", {"North", "South", "East", "Total"});
    f.Group(1, "Economy");
    f.Indicator(1010, "Income per head");
    f.Indicator(1020, "Exports");
    f.Periods({2000, 2001});
    f.Values(10000, 2000, 1010, {10, 20, 30, 60});
    f.Values(10000, 2001, 1010, {15, MissingValue, 0, 40});
    f.Values(10000, 2000, 1020, {1, 2, 3, 6});
}

struct Frame {
    Db db{Country};
    ChartResources res;
    CGraphFrame* frame = nullptr;
    std::vector<std::pair<QString, MessageIcon>> messages;

    Frame() {
        Selection s;
        s.Confirm(10000, {{1010, "Income per head"}, {1020, "Exports"}},
                  {{Key(10000, 1), "North"}, {Key(10000, 2), "South"}, {Key(10000, 3), "East"}},
                  {{2000, "2000"}, {2001, "2001"}});
        UiServices ui;
        ui.titles = &db.store.Titles();
        frame = new CGraphFrame(CBarChart::ResourceId,
                                std::make_unique<CBarChart>(db.store, res, s), ui);
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        frame->messageHook = [this](const QString& t, MessageIcon i) {
            messages.emplace_back(t, i);
        };
        frame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame));
        QTest::qWait(20); // the initial update runs after the window is up
    }
    ~Frame() { delete frame; }
    CBarChart& Chart() { return static_cast<CBarChart&>(frame->View()); }
};

QStringList MenuBarTexts(QMenuBar* bar) {
    QStringList out;
    for (QAction* a : bar->actions()) out << a->text();
    return out;
}

TEST(ChartFrame, MenuWithTheIndicatorPopupFirst) {
    Frame f;
    EXPECT_EQ(f.frame->windowTitle(), "Bar Chart");
    EXPECT_EQ(MenuBarTexts(f.frame->menuBar()),
              (QStringList{"Indicators", "Print", "Special", "Quit"}));
    ASSERT_EQ(f.frame->PopupMenus().size(), 1u);
    const QList<QAction*> items = f.frame->PopupMenus()[0]->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "Income per head");
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_TRUE(f.messages.empty());
    EXPECT_FALSE(f.Chart().Layout().indicators.empty()); // laid out at the initial update
}

TEST(ChartFrame, PopupChangesTheIndicatorAndRepaintsOnlyOnAChange) {
    Frame f;
    const QList<QAction*> items = f.frame->PopupMenus()[0]->actions();
    QTest::qWait(20);
    const int before = f.frame->ChartWidget()->PaintCount();
    items[0]->trigger(); // already current
    EXPECT_EQ(f.frame->ChartWidget()->PaintCount(), before);
    EXPECT_EQ(f.Chart().IndicatorIndex(), 0);

    items[1]->trigger();
    EXPECT_EQ(f.Chart().IndicatorIndex(), 1);
    EXPECT_EQ(f.frame->ChartWidget()->PaintCount(), before + 1); // repainted at once
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(f.messages.empty()); // Exports has data
}

TEST(ChartFrame, ExportToFileAndClipboard) {
    Frame f;
    std::vector<bool> offers;
    std::optional<ExportChoice> answer = ExportChoice{false, false};
    f.frame->exportDialogHook = [&](bool offer) {
        offers.push_back(offer);
        return answer;
    };
    const std::string path = f.db.dir.file("chart.emf");
    f.frame->fileDialogHook = [&] { return std::optional<std::string>(path); };
    f.frame->OnCommand(CmdSpecial);
    EXPECT_EQ(offers, std::vector<bool>{false});
    const draw::test::EmfFile emf(zor::test::ReadFile(path));
    ASSERT_FALSE(emf.Malformed());
    EXPECT_EQ(emf.Count(draw::emr::Rectangle), 1u + 5u + 3u);

    const auto data =
        PictureMimeData(emf.Bytes(), [](draw::DeviceContext&, draw::Size) {}, {800, 600});
    EXPECT_EQ(data->data(EmfMimeType).size(), qsizetype(emf.Bytes().size()));
    EXPECT_TRUE(data->hasImage());
}

TEST(ChartFrame, PrintsOnePageToAPrinter) {
    Frame f;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string path = f.db.dir.file("chart.pdf");
    printer.setOutputFileName(QString::fromStdString(path));
    bool asked = false;
    f.frame->printDialogHook = [&](QPrinter&) {
        asked = true;
        return false;
    };
    f.frame->Print(); // cancelled in the dialog
    EXPECT_TRUE(asked);
    EXPECT_FALSE(zor::test::ReadFile(path).size());
    f.frame->PrintTo(printer);
    EXPECT_EQ(zor::test::ReadFile(path).substr(0, 5), "%PDF-");
}

TEST(ChartFrame, NoDataReportedAtFirstShowing) {
    Db db(Country);
    const ChartResources res;
    Selection s;
    s.Confirm(10000, {{1030, "Nothing"}}, {{Key(10000, 1), "North"}}, {{2000, "2000"}});
    CGraphFrame frame(CBarChart::ResourceId, std::make_unique<CBarChart>(db.store, res, s), {});
    frame.setAttribute(Qt::WA_DeleteOnClose, false);
    std::vector<MessageIcon> icons;
    frame.messageHook = [&](const QString& t, MessageIcon i) {
        EXPECT_EQ(t, "Sorry, no data!");
        icons.push_back(i);
    };
    frame.show();
    QTest::qWait(30);
    EXPECT_EQ(icons, std::vector<MessageIcon>{MessageIcon::Stop});
    EXPECT_EQ(MenuBarTexts(frame.menuBar()), (QStringList{"Print", "Special", "Quit"}));
}

TEST(ExportDialogWidget, StatesAndChoice) {
    const UiServices ui;
    ExportDialog coloured(ui, false);
    EXPECT_TRUE(coloured.clipboard()->isChecked());
    EXPECT_TRUE(coloured.colored()->isChecked());
    EXPECT_FALSE(coloured.pictureGroup()->isEnabled());
    EXPECT_EQ(coloured.windowTitle(), "Export");

    ExportDialog offer(ui, true);
    EXPECT_TRUE(offer.blackAndWhite()->isChecked());
    EXPECT_TRUE(offer.pictureGroup()->isEnabled());
    offer.metafile()->setChecked(true);
    offer.exportButton()->click();
    EXPECT_EQ(offer.result(), QDialog::Accepted);
    EXPECT_FALSE(offer.Choice().toClipboard);
    EXPECT_TRUE(offer.Choice().blackAndWhite);
}

TEST(ScaleDialogWidget, RefusesAnEmptyRangeAndReturnsDefaultsWhenLogarithmic) {
    const UiServices ui;
    const ScaleDialogInput in{ScaleValues{0, 100, 20}, ScaleValues{0, 100, 20}, true, false};
    ScaleDialog d(ui, in);
    d.show();
    EXPECT_EQ(d.maxEdit()->text(), "100");
    d.minEdit()->setText("50");
    d.maxEdit()->setText("50");
    d.okButton()->click();
    EXPECT_TRUE(d.isVisible()); // refused without a message
    EXPECT_FALSE(d.Result().accepted);

    d.logBox()->setChecked(true);
    EXPECT_FALSE(d.minEdit()->isEnabled());
    EXPECT_FALSE(d.defaultButton()->isEnabled());
    d.okButton()->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.Result().accepted);
    EXPECT_TRUE(d.Result().logarithmic);
    EXPECT_EQ(d.Result().values, (ScaleValues{0, 100, 20}));

    ScaleDialog noRange(ui, {std::nullopt, std::nullopt, false, false});
    EXPECT_FALSE(noRange.okButton()->isEnabled());
    EXPECT_TRUE(noRange.logBox()->isHidden());
}

TEST(XYScaleDialogWidget, AcceptsOnlySectionsThatFit) {
    const UiServices ui;
    XYScaleDialog d(ui, {{0, 10, 1}, {0, 100, 10}, {0, 10, 1}, {0, 100, 10}, false, false});
    d.show();
    EXPECT_FALSE(d.logBox()->isEnabled());
    d.edit(2)->setText("20"); // x section wider than the x range
    d.okButton()->click();
    EXPECT_TRUE(d.isVisible());
    d.edit(2)->setText("2.5");
    d.okButton()->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.Result().x, (ScaleValues{0, 10, 2.5f}));
}

TEST(RegionListDialogWidget, SelectAllThenOkWritesTheFlags) {
    const UiServices ui;
    const std::vector<std::string> names = {"North", "South", "East"};
    int flags[] = {0, 1, 0};
    RegionListDialog d(ui, 3, flags, &names);
    EXPECT_EQ(d.list()->item(1)->checkState(), Qt::Checked);
    d.selectAllButton()->click();
    d.list()->item(2)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(flags[0], 0); // nothing written before OK
    d.okButton()->click();
    EXPECT_EQ(std::vector<int>(flags, flags + 3), (std::vector<int>{1, 1, 0}));

    RegionListDialog empty(ui, 0, flags, &names);
    EXPECT_FALSE(empty.okButton()->isEnabled());
    EXPECT_FALSE(empty.selectAllButton()->isEnabled());
}

} // namespace
} // namespace zor::charts::qt

namespace zor::charts::qt {
namespace {

TEST(EditableValueListWidget, ArrowKeysMoveTheEditBoxAndWriteTheCell) {
    EditableValueList list;
    list.SetRows({{"1", "10"}, {"2", "20"}, {"3", "30"}});
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    EXPECT_EQ(list.Editor()->text(), "10");
    EXPECT_EQ(list.Values().EditRow(), 0);
    QTest::keyClick(list.Editor(), Qt::Key_Up); // at the top: nothing happens
    EXPECT_EQ(list.Values().EditRow(), 0);
    list.Editor()->setText("11");
    QTest::keyClick(list.Editor(), Qt::Key_Down);
    EXPECT_EQ(list.Values().Value(0), "11");
    EXPECT_EQ(list.item(0, 1)->text(), "11");
    EXPECT_EQ(list.Editor()->text(), "20");
    EXPECT_EQ(list.Editor()->geometry().top(), list.visualItemRect(list.item(1, 1)).top());
    list.Editor()->setText("22");
    list.Commit();
    EXPECT_EQ(list.item(1, 1)->text(), "22");
    list.Clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_FALSE(list.Editor()->isVisible());
}

} // namespace
} // namespace zor::charts::qt
