// The boxplots, the region profile and data availability in their frames on the offscreen
// platform: menu bars with the views' popups in place, the Scale check marks, the Group and
// Zones popups (with the separator), tooltips of the bars, printing to a PDF printer, the
// picture, the profile's exports through the print dialog and its copy.
#include "charts/qt/CGraphFrame.h"
#include "core/Selection.h"
#include "grids/CAvail.h"
#include "grids/CBoxplots.h"
#include "grids/CProfile.h"
#include "grids/qt/CGridWidget.h"
#include "tests/charts_qt/FrameTestSupport.h"
#include "tests/support/StartedStore.h"
#include "views/ViewTable.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace zor::grids::qt {
namespace {

using charts::qt::CGraphFrame;
using charts::qt::PrintAnswer;
using test::StartedStore;
constexpr float M = MissingValue;

// Five regions and their total in two sets; Economy with a variant, Health.
void Sets(test::Fixture& f) {
    f.Set(10000, "Country", {"North", "South", "East", "West", "Centre", "Total"});
    f.Set(10100, "Region", {"A", "B", "Total B"});
    f.Group(1, "Economy");
    f.Indicator(1010, "Income per head", {"Income growth"});
    f.Indicator(1020, "Exports");
    f.Group(2, "Health");
    f.Indicator(2010, "Life expectancy");
    f.Periods({2000, 2001, 2002});
    f.Values(10000, 2000, 1010, {10, 20, 30, 40, 50, 30});
    f.Values(10000, 2001, 1010, {11, M, 31, 41, 51, 33});
    f.Values(10000, 2000, 1020, {1, 2, 3, 4, 5, 15});
    f.Values(10100, 2000, 2010, {70, 80, 75});
}

Selection Choice() {
    Selection s;
    s.Confirm(10000, {{1010, "Income per head"}, {1020, "Exports"}},
              {{MakeRegionKey(10000, 3), "East"}, {MakeRegionKey(10000, 1), "North"}},
              {{2000, "2000"}, {2001, "2001"}});
    return s;
}

struct Frame {
    StartedStore db{Sets};
    Selection selection;
    charts::ChartResources resources;
    std::vector<QString> messages;
    std::unique_ptr<CGraphFrame> frame;

    explicit Frame(int command, Selection s = Choice()) : selection(std::move(s)) {
        const charts::ViewEntry& entry = *views::FindViewByCommand(command);
        frame = charts::qt::OpenTestFrame(
            entry, entry.make(charts::ViewContext{db.store, resources, selection, nullptr}),
            &MakeGridWidget,
            [this](const QString& t, charts::MessageIcon) { messages.push_back(t); },
            QSize(700, 400));
    }
    CGridView& View() { return static_cast<CGridView&>(frame->View()); }
    CGridWidget* Widget() { return static_cast<CGridWidget*>(frame->ViewWidget()); }
    QMenu* MenuOf(const QString& title) {
        for (QAction* a : frame->menuBar()->actions())
            if (a->menu() && a->text() == title) return a->menu();
        return nullptr;
    }
    QAction* Item(const QString& menu, const QString& text) {
        QMenu* m = MenuOf(menu);
        if (!m) return nullptr;
        for (QAction* a : m->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
};

QStringList MenuBarTexts(QMenuBar* bar) {
    QStringList out;
    for (QAction* a : bar->actions()) out << a->text();
    return out;
}

TEST(GridViewsFrame, BoxplotsOpenWithRegionsFirstAndTheScaleChecked) {
    Frame r(CmdBoxplotByValue);
    EXPECT_EQ(r.frame->windowTitle(), "Boxplot by value - East");
    EXPECT_EQ(MenuBarTexts(r.frame->menuBar()),
              (QStringList{"Regions", "Scale", "Print", "Special", "Quit"}));
    EXPECT_TRUE(r.messages.empty());
    QAction* eighty = r.Item("Scale", "80%");
    QAction* fifty = r.Item("Scale", "50%");
    ASSERT_NE(eighty, nullptr);
    ASSERT_NE(fifty, nullptr);
    EXPECT_TRUE(eighty->isCheckable());
    EXPECT_TRUE(eighty->isChecked());
    fifty->trigger();
    EXPECT_TRUE(fifty->isChecked());
    EXPECT_FALSE(eighty->isChecked());
    auto& view = static_cast<CBoxplotR&>(r.frame->View());
    EXPECT_EQ(view.BoxFractionValue(), 0.5f);

    // The regions popup switches the title and the marks.
    r.frame->PopupMenus()[0]->actions()[1]->trigger();
    EXPECT_EQ(view.Title(), "North");
    EXPECT_EQ(view.Record(0, 0).regionValue, 10);

    Frame v(CmdBoxplotByRank);
    EXPECT_EQ(v.frame->windowTitle(), "Boxplot by rank - East");
    EXPECT_EQ(MenuBarTexts(v.frame->menuBar()),
              (QStringList{"Regions", "Print", "Special", "Quit"}));
}

TEST(GridViewsFrame, BoxplotTooltipSumsUpTheBar) {
    Frame r(CmdBoxplotByValue);
    const GridWindowLayout l = r.View().WindowLayout();
    const QPoint at(r.View().Columns()[0].width + 170, l.list.top + 30);
    QHelpEvent help(QEvent::ToolTip, at, r.Widget()->mapToGlobal(at));
    QApplication::sendEvent(r.Widget(), &help);
    QTRY_VERIFY(QToolTip::text().startsWith("Max:50\nBox Max:50"));
    EXPECT_TRUE(QToolTip::text().contains("East: 30"));
}

TEST(GridViewsFrame, ProfileGroupPopupWithItsSeparatorAndTheRegionsAfterTheScale) {
    Frame p(CmdRegionProfile);
    EXPECT_EQ(p.frame->windowTitle(), "Region profile - East");
    EXPECT_EQ(MenuBarTexts(p.frame->menuBar()),
              (QStringList{"Group", "Scale", "Regions", "Copy", "Print", "Quit"}));
    QMenu* group = p.MenuOf("Group");
    ASSERT_NE(group, nullptr);
    const QList<QAction*> items = group->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), "Current selection");
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), "Economy");
    EXPECT_EQ(items[3]->text(), "Health");
    EXPECT_TRUE(items[0]->isChecked());

    auto& view = static_cast<CProfile&>(p.frame->View());
    items[2]->trigger();
    EXPECT_EQ(view.CurrentGroup(), 1);
    EXPECT_TRUE(items[2]->isChecked());
    EXPECT_FALSE(items[0]->isChecked());
    ASSERT_EQ(view.RowCount(), 3);
    EXPECT_EQ(view.Cell(1, 0), "    1011 Income growth");
    items[3]->trigger();
    EXPECT_EQ(view.Cell(0, 0), "2010 Life expectancy");
    EXPECT_EQ(view.Cell(0, 1), ". . ."); // Health has no values in this set

    QAction* ninety = p.Item("Scale", "90%");
    ASSERT_NE(ninety, nullptr);
    ninety->trigger();
    EXPECT_TRUE(ninety->isChecked());
    EXPECT_EQ(view.ScaleStep(), 1);
}

TEST(GridViewsFrame, ProfileExportsThroughThePrintDialogAndCopies) {
    Frame p(CmdRegionProfile);
    p.frame->printAnswerHook = [](QPrinter&, int, bool offersExport) {
        EXPECT_TRUE(offersExport);
        return PrintAnswer::Export;
    };
    const std::string path = p.db.dir.file("profile.txt");
    p.frame->fileDialogHook = [&](const std::vector<charts::FileType>&) {
        return std::optional<charts::SaveFileChoice>({path, 1});
    };
    p.frame->Print();
    const std::string text = test::ReadFile(path);
    EXPECT_EQ(text, *p.frame->View().ExportText(charts::TextExport::Text));
    EXPECT_EQ(text.rfind("East\r\n", 0), 0u);

    EXPECT_TRUE(p.frame->OnCommand(CmdCopy));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasHtml());
    EXPECT_TRUE(data->html().contains("<b>East</b><TABLE>"));
    EXPECT_TRUE(data->html().contains("<TD>30</TD><TD> 50%</TD>"));
}

TEST(GridViewsFrame, AvailabilityOpensWithAnEmptySelection) {
    Selection none;
    Frame a(CmdAvailability, none);
    EXPECT_EQ(a.frame->windowTitle(), "Data availability - Economy"); // the first group
    EXPECT_EQ(MenuBarTexts(a.frame->menuBar()),
              (QStringList{"Zones", "Group", "Print", "Special", "Quit"}));
    QMenu* zones = a.MenuOf("Zones");
    ASSERT_NE(zones, nullptr);
    ASSERT_EQ(zones->actions().size(), 2);
    EXPECT_TRUE(zones->actions()[0]->isChecked());
    auto& view = static_cast<CAvail&>(a.frame->View());
    EXPECT_EQ(view.Title(), "Country");
    EXPECT_EQ(view.Cell(0, 1), "100%");
    EXPECT_EQ(view.Cell(0, 2), "83.33%");

    zones->actions()[1]->trigger();
    EXPECT_TRUE(zones->actions()[1]->isChecked());
    EXPECT_FALSE(zones->actions()[0]->isChecked());
    EXPECT_EQ(view.Title(), "Region");
    a.Item("Group", "Health")->trigger();
    EXPECT_TRUE(a.Item("Group", "Health")->isChecked());
    EXPECT_EQ(a.frame->windowTitle(), "Data availability - Health"); // follows the group
    EXPECT_EQ(view.Cell(0, 0), "2010 Life expectancy");
    EXPECT_EQ(view.Cell(0, 1), "100%");
}

TEST(GridViewsFrame, EveryNewViewPrintsToAPdfPrinterAndExportsItsPicture) {
    for (const int command :
         {CmdBoxplotByValue, CmdBoxplotByRank, CmdRegionProfile, CmdAvailability}) {
        Frame f(command);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const std::string pdf = f.db.dir.file("view.pdf");
        printer.setOutputFileName(QString::fromStdString(pdf));
        EXPECT_GE(f.frame->PageCount(printer), 1) << command;
        f.frame->PrintTo(printer);
        EXPECT_EQ(test::ReadFile(pdf).substr(0, 5), "%PDF-") << command;

        if (command == CmdRegionProfile) continue; // the profile has no picture export
        f.frame->exportDialogHook = [](bool offer) {
            EXPECT_FALSE(offer);
            return std::optional<charts::ExportChoice>({false, false});
        };
        const std::string emf = f.db.dir.file("view.emf");
        f.frame->fileDialogHook = [&](const std::vector<charts::FileType>&) {
            return std::optional<charts::SaveFileChoice>({emf, 0});
        };
        EXPECT_TRUE(f.frame->OnCommand(CmdSpecial));
        EXPECT_EQ(test::ReadFile(emf).substr(40, 4), " EMF") << command;
    }
}

} // namespace
} // namespace zor::grids::qt
