// The chart frame with a bar chart: menus and popups, repainting, export, printing; the shared
// dialogs' widgets.
#include "charts/CBarChart.h"
#include "charts/qt/CGraphFrame.h"
#include "charts/qt/ChartDialogs.h"
#include "charts/qt/Clipboard.h"
#include "charts/qt/EditableValueList.h"
#include "draw/EmfWriter.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/charts_qt/FrameTestSupport.h"
#include "tests/draw/EmfReader.h"
#include "views/ViewTable.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <set>

#include <gtest/gtest.h>

namespace zor::charts::qt {
namespace {

using charts::test::Country;
using charts::test::CountrySelection;
using charts::test::MakeTestView;
using charts::test::StartedStore;

const ViewEntry& BarChartEntry() {
    return *views::FindViewByCommand(CmdBarChart);
}

// A frame as the main frame opens it, shown, after its initial update.
std::unique_ptr<CGraphFrame> OpenFrame(StartedStore& db, const Selection& s,
                                       std::vector<std::pair<QString, MessageIcon>>* messages) {
    return OpenTestFrame(BarChartEntry(), MakeTestView<CBarChart>(db.store, s), &MakeChartWidget,
                         [messages](const QString& t, MessageIcon i) {
                             if (messages) messages->emplace_back(t, i);
                         });
}

struct Frame {
    StartedStore db{Country};
    std::vector<std::pair<QString, MessageIcon>> messages;
    std::unique_ptr<CGraphFrame> frame = OpenFrame(db, CountrySelection(), &messages);
    CBarChart& Chart() { return static_cast<CBarChart&>(frame->View()); }
    CChartWidget* Widget() { return static_cast<CChartWidget*>(frame->ViewWidget()); }
};

QStringList MenuBarTexts(QMenuBar* bar) {
    QStringList out;
    for (QAction* a : bar->actions()) out << a->text();
    return out;
}

TEST(ChartFrame, MenuWithTheIndicatorPopupFirst) {
    Frame f;
    EXPECT_EQ(f.frame->windowTitle(), "Bar Chart - Income per head"); // kind and indicator
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
    const int before = f.Widget()->PaintCount();
    items[0]->trigger(); // already current
    EXPECT_EQ(f.Widget()->PaintCount(), before);
    EXPECT_EQ(f.Chart().IndicatorIndex(), 0);

    items[1]->trigger();
    EXPECT_EQ(f.Chart().IndicatorIndex(), 1);
    EXPECT_EQ(f.frame->windowTitle(), "Bar Chart - Exports"); // the title follows the popup
    EXPECT_EQ(f.Widget()->PaintCount(), before + 1);          // repainted at once
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_FALSE(items[0]->isChecked());
    ASSERT_EQ(f.messages.size(), 1u); // Exports has no data
    EXPECT_EQ(f.messages[0].first, "Sorry, no data!");
    EXPECT_EQ(f.messages[0].second, MessageIcon::None);
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
    f.frame->fileDialogHook = [&](const std::vector<FileType>&) {
        return std::optional<SaveFileChoice>({path, 0});
    };
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

TEST(ChartFrame, ExportsPngSvgAndPdfAtTheWindowsSize) {
    Frame f;
    f.frame->resize(640, 480);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.Widget()->width() == 640; }));
    const QSize client = f.Widget()->size();
    f.frame->exportDialogHook = [](bool) { return std::optional<ExportChoice>({false, false}); };
    std::string path;
    int type = 0;
    f.frame->fileDialogHook = [&](const std::vector<FileType>& types) {
        EXPECT_EQ(types.size(), 4u);
        return std::optional<SaveFileChoice>({path, type});
    };
    auto exportAs = [&](int t, const char* name) {
        type = t;
        path = f.db.dir.file(name);
        f.frame->OnCommand(CmdSpecial);
        return zor::test::ReadFile(path);
    };
    // PNG: twice the window's pixels each way.
    const std::string png = exportAs(CView::FilePng, "chart.png");
    QImage image;
    ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(png.data()), int(png.size())));
    EXPECT_EQ(image.size(), client * 2);
    // The bars are there: the first region's red somewhere in the picture.
    bool red = false;
    for (int y = 0; y < image.height() && !red; y += 2)
        for (int x = 0; x < image.width() && !red; x += 2)
            red = image.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_TRUE(red);
    // SVG with the window's view box; PDF.
    const std::string svg = exportAs(CView::FileSvg, "chart.svg");
    EXPECT_NE(svg.find("viewBox=\"0 0 " + std::to_string(client.width()) + " " +
                       std::to_string(client.height()) + "\""),
              std::string::npos);
    EXPECT_EQ(exportAs(CView::FilePdf, "chart.pdf").substr(0, 5), "%PDF-");
    // The metafile stays the default.
    const draw::test::EmfFile emf(exportAs(CView::FileEmf, "chart.emf"));
    EXPECT_FALSE(emf.Malformed());
    EXPECT_TRUE(f.messages.empty());
}

TEST(ChartFrame, PrintsOnePageToAPrinter) {
    Frame f;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string path = f.db.dir.file("chart.pdf");
    printer.setOutputFileName(QString::fromStdString(path));
    bool asked = false;
    f.frame->printDialogHook = [&](QPrinter&, int pages) {
        asked = true;
        EXPECT_EQ(pages, 1);
        return false;
    };
    f.frame->Print(); // cancelled in the dialog
    EXPECT_TRUE(asked);
    EXPECT_FALSE(zor::test::ReadFile(path).size());
    f.frame->PrintTo(printer);
    EXPECT_EQ(zor::test::ReadFile(path).substr(0, 5), "%PDF-");
}

// A view that records the pages it is asked to print.
class PageView : public CGraphView {
public:
    using CGraphView::CGraphView;
    static const std::vector<MenuItem>& Menu() {
        static const std::vector<MenuItem> menu = {MenuCommand(CmdPrint)};
        return menu;
    }
    void PrintPage(draw::DeviceContext&, const draw::Rect& page, int, bool) override {
        pages.push_back(page);
    }
    std::vector<draw::Rect> pages;
};

TEST(ChartFrame, PrintsInsideThePageMargins) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    SetDefaultPrintMargins(printer);
    const QMarginsF mm = printer.pageLayout().margins(QPageLayout::Millimeter);
    EXPECT_NEAR(mm.left(), 15, 0.01);
    EXPECT_NEAR(mm.bottom(), 15, 0.01);
    // About 180 x 267 mm inside the margins at 1200 dpi (A4 is 595 x 842 points); 15 mm are
    // 708.7 pixels.
    const draw::Rect inside = PrintPageRect(printer);
    EXPECT_EQ(inside.left, 0);
    EXPECT_EQ(inside.top, 0);
    EXPECT_NEAR(inside.Width(), 180 / 25.4 * 1200, 40);
    EXPECT_NEAR(inside.Height(), 267 / 25.4 * 1200, 40);
    EXPECT_EQ(inside.Width(), printer.width());
    printer.setFullPage(true); // the painter starts at the paper's corner: the page at the margins
    const draw::Rect full = PrintPageRect(printer);
    EXPECT_NEAR(full.left, 15 / 25.4 * 1200, 15); // Qt keeps margins in whole points
    EXPECT_NEAR(full.top, 15 / 25.4 * 1200, 15);
    EXPECT_NEAR(full.Width(), inside.Width(), 2);

    // The frame hands the view that page.
    StartedStore db(Country);
    const Selection s = CountrySelection();
    const ViewEntry entry{CmdBarChart, MenuBarChart, MenuBarChart,    "page-test",
                          0,           nullptr,      &PageView::Menu, {}};
    const ChartResources res;
    CGraphFrame frame(entry, std::make_unique<PageView>(ViewContext{db.store, res, s}),
                      &MakeChartWidget, UiServices{});
    frame.setAttribute(Qt::WA_DeleteOnClose, false);
    printer.setOutputFileName(QString::fromStdString(db.dir.file("page.pdf")));
    frame.PrintTo(printer);
    const auto& view = static_cast<PageView&>(frame.View());
    EXPECT_EQ(view.pages, std::vector<draw::Rect>{full});

    // Without the program's printer the frame's own one has the same margins.
    std::optional<QMarginsF> asked;
    frame.printDialogHook = [&](QPrinter& p, int) {
        asked = p.pageLayout().margins(QPageLayout::Millimeter);
        return false;
    };
    frame.Print();
    ASSERT_TRUE(asked);
    EXPECT_NEAR(asked->top(), 15, 0.01);
}

TEST(ChartFrame, NoDataReportedAtFirstShowing) {
    StartedStore db(Country);
    Selection s;
    s.Confirm(10000, {{1030, "Nothing"}}, {{MakeRegionKey(10000, 1), "North"}}, {{2000, "2000"}});
    std::vector<std::pair<QString, MessageIcon>> messages;
    const auto frame = OpenFrame(db, s, &messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, "Sorry, no data!");
    EXPECT_EQ(messages[0].second, MessageIcon::Stop);
    EXPECT_EQ(MenuBarTexts(frame->menuBar()), (QStringList{"Print", "Special", "Quit"}));
}

// A view of its own: "Scale" opens the scale dialog through its host.
class ScaleView : public CGraphView {
public:
    using CGraphView::CGraphView;
    static const std::vector<MenuItem>& Menu() {
        static const std::vector<MenuItem> menu = {MenuCommand(CmdScale), MenuCommand(CmdQuit)};
        return menu;
    }
    bool OnCommand(int id) override {
        if (id != CmdScale) return CGraphView::OnCommand(id);
        ScaleDialogModel m;
        m.input = {ScaleValues{0, 10, 2}, ScaleValues{0, 10, 2}, false, false};
        if (Host()->RunDialog(m)) accepted = m.result;
        return true;
    }
    void PrintPage(draw::DeviceContext&, const draw::Rect&, int, bool) override {}
    ViewCursor Cursor() const override {
        return clicks.empty() ? ViewCursor::Arrow : ViewCursor::Cross;
    }
    void OnMouseButton(MouseButton b, MouseAction a, draw::Point logical) override {
        clicks.push_back({b, a, logical});
        // A double click opens another view of its kind, as the map's drill-down does.
        if (a == MouseAction::DoubleClick)
            Host()->OpenView(
                std::make_unique<ScaleView>(ViewContext{Store(), Resources(), selection}));
    }
    struct Click {
        MouseButton button;
        MouseAction action;
        draw::Point at;
    };
    std::optional<ScaleResult> accepted;
    std::vector<Click> clicks;
    Selection selection;
};

// A model without a registered dialog.
struct UnknownModel : DialogModel {};

TEST(ChartFrame, TheViewsOwnCommandsReachItAndItsDialogsRunThroughTheHost) {
    StartedStore db(Country);
    const Selection s = CountrySelection();
    const ViewEntry entry{CmdBarChart, MenuBarChart, MenuBarChart,     "scale-test",
                          0,           nullptr,      &ScaleView::Menu, {}};
    const ChartResources res;
    CGraphFrame frame(entry, std::make_unique<ScaleView>(ViewContext{db.store, res, s}),
                      &MakeChartWidget, UiServices{});
    frame.setAttribute(Qt::WA_DeleteOnClose, false);
    auto& view = static_cast<ScaleView&>(frame.View());
    EXPECT_EQ(MenuBarTexts(frame.menuBar()), (QStringList{"Scale", "Quit"}));
    EXPECT_EQ(frame.windowTitle(), "Bar Chart"); // a view without a subject: the kind alone

    std::vector<std::string> asked;
    frame.dialogHook = [&](DialogModel& m) {
        auto* scale = dynamic_cast<ScaleDialogModel*>(&m);
        asked.push_back(scale ? "scale" : "other");
        if (!scale) return false;
        EXPECT_EQ(scale->input.current->max, 10);
        scale->result = {true, {1, 9, 4}, false};
        return true;
    };
    frame.menuBar()->actions()[0]->trigger();
    EXPECT_EQ(asked, std::vector<std::string>{"scale"});
    ASSERT_TRUE(view.accepted);
    EXPECT_EQ(view.accepted->values, (ScaleValues{1, 9, 4}));

    // Commands nobody handles are reported as such.
    EXPECT_FALSE(frame.OnCommand(CmdRegions));
    EXPECT_TRUE(frame.OnCommand(CmdScale));

    // Without a hook the registered dialogs run; a model nobody registered is not shown.
    frame.dialogHook = nullptr;
    UnknownModel unknown;
    EXPECT_FALSE(frame.RunDialog(unknown));

    // Mouse buttons reach the view in logical units (800 x 600 pixels over 8000 x 6000).
    frame.resize(800, 600);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QWidget* widget = frame.ViewWidget();
    const QPoint at(widget->width() / 2, widget->height() / 2);
    QTest::mouseClick(widget, Qt::RightButton, {}, at);
    ASSERT_EQ(view.clicks.size(), 2u);
    EXPECT_EQ(view.clicks[0].button, MouseButton::Right);
    EXPECT_EQ(view.clicks[0].action, MouseAction::Down);
    EXPECT_EQ(view.clicks[1].action, MouseAction::Up);
    EXPECT_EQ(view.clicks[0].at,
              view.ToLogical({at.x(), at.y()}, {0, 0, widget->width(), widget->height()}));
    EXPECT_EQ(widget->cursor().shape(), Qt::CrossCursor);

    std::vector<CGraphFrame*> opened;
    frame.openedHook = [&](CGraphFrame* f) { opened.push_back(f); };
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(dynamic_cast<ScaleView*>(&opened[0]->View()), nullptr);
    EXPECT_EQ(&opened[0]->Entry(), &entry);
    delete opened[0];
}

TEST(ViewTable, OneLinePerViewWithItsMenuAndTitle) {
    std::set<int> commands;
    std::set<std::string> names;
    for (const ViewEntry& e : views::AllViews()) {
        EXPECT_TRUE(commands.insert(e.command).second) << e.command;
        EXPECT_TRUE(names.insert(e.exportName).second) << e.exportName;
        ASSERT_NE(e.make, nullptr) << e.exportName;
        ASSERT_NE(e.frameMenu, nullptr) << e.exportName;
        EXPECT_FALSE(e.frameMenu().empty()) << e.exportName;
        EXPECT_NE(BuiltinString(e.title), nullptr) << e.exportName;
        EXPECT_EQ(views::FindViewByName(e.exportName), &e);
        EXPECT_EQ(views::FindViewByCommand(e.command), &e);
    }
    EXPECT_EQ(views::FindViewByName("piechart"), nullptr);
    EXPECT_EQ(views::FindViewByCommand(CmdAbout), nullptr);
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
