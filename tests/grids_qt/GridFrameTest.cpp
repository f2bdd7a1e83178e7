// Tables in their frame on the offscreen platform: menus and popups, scrolling with the keys,
// the wheel and the scroll bars, repainting only what changed, column resizing by dragging,
// tooltips, printing to a PDF printer, the exports through the print dialog and the clipboard.
#include "charts/qt/CGraphFrame.h"
#include "charts/qt/Clipboard.h"
#include "grids/CTables.h"
#include "grids/qt/CGridWidget.h"
#include "tests/charts_qt/FrameTestSupport.h"
#include "tests/support/StartedStore.h"
#include "tests/support/ViewTestSupport.h"
#include "views/ViewTable.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace zor::grids::qt {
namespace {

using charts::qt::CGraphFrame;
using charts::qt::PrintAnswer;
using test::StartedStore;

constexpr int Regions = 60;

// Sixty regions and their total, one indicator with values in three years.
void ManyRegions(test::Fixture& f) {
    std::vector<std::string> names;
    for (int r = 1; r <= Regions; ++r) names.push_back("Region number " + std::to_string(r));
    names.push_back("Total");
    f.Set(10000, "Country", names);
    f.Group(1, "Economy");
    f.Indicator(1010, "Income per head");
    f.Indicator(1020, "Exports");
    f.Periods({2000, 2001, 2002});
    for (int y : {2000, 2001, 2002}) {
        std::vector<float> v;
        for (int r = 0; r <= Regions; ++r) v.push_back(static_cast<float>(y - 1990 + r) / 4);
        f.Values(10000, y, 1010, v);
    }
}

Selection Choice(std::vector<ListItem> indicators = {{1010, "Income per head"},
                                                     {1020, "Exports"}}) {
    Selection s;
    s.Confirm(10000, std::move(indicators), {{MakeRegionKey(10000, 2), "Region number 2"}},
              {{2000, "2000"}, {2001, "2001"}, {2002, "2002"}});
    return s;
}

struct Frame {
    StartedStore db{ManyRegions};
    Selection selection;
    charts::ChartResources resources;
    std::vector<QString> messages;
    std::unique_ptr<CGraphFrame> frame;

    explicit Frame(int command = CmdTableA, Selection s = Choice()) : selection(std::move(s)) {
        const charts::ViewEntry& entry = *views::FindViewByCommand(command);
        frame = charts::qt::OpenTestFrame(
            entry, entry.make(charts::ViewContext{db.store, resources, selection, nullptr}),
            &MakeGridWidget,
            [this](const QString& t, charts::MessageIcon) { messages.push_back(t); },
            QSize(420, 340));
    }
    CGridView& View() { return static_cast<CGridView&>(frame->View()); }
    CGridWidget* Widget() { return static_cast<CGridWidget*>(frame->ViewWidget()); }
    // Waits for the next paint of the grid and returns what it drew.
    GridPaintStats NextPaint(const std::function<void()>& change) {
        Widget()->ResetPainted();
        const int before = Widget()->PaintCount();
        change();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Widget()->PaintCount() > before; }));
        return Widget()->Painted();
    }
};

QStringList MenuBarTexts(QMenuBar* bar) {
    QStringList out;
    for (QAction* a : bar->actions()) out << a->text();
    return out;
}

TEST(GridFrame, TablesOpenWithTheirMenusAndPopups) {
    Frame a;
    EXPECT_EQ(a.frame->windowTitle(), "Table A - Income per head");
    EXPECT_EQ(MenuBarTexts(a.frame->menuBar()),
              (QStringList{"Regions", "Indicators", "Copy", "Export", "Print", "Quit"}));
    EXPECT_EQ(a.View().RowCount(), Regions + 1);
    EXPECT_TRUE(a.messages.empty());

    Frame one(CmdTableA, Choice({{1010, "Income per head"}}));
    EXPECT_EQ(MenuBarTexts(one.frame->menuBar()),
              (QStringList{"Regions", "Copy", "Export", "Print", "Quit"}));
    Frame b(CmdTableB);
    EXPECT_EQ(b.frame->windowTitle(), "Table B - Income per head");
    EXPECT_EQ(MenuBarTexts(b.frame->menuBar()),
              (QStringList{"Indicators", "Copy", "Print", "Quit"}));
}

TEST(GridFrame, PopupChoiceRefillsAndRepaints) {
    Frame a;
    const QList<QAction*> items = a.frame->PopupMenus()[0]->actions();
    const int before = a.Widget()->PaintCount();
    items[0]->trigger(); // the current one
    EXPECT_EQ(a.Widget()->PaintCount(), before);
    items[1]->trigger();
    EXPECT_EQ(a.View().Title(), "Exports");
    EXPECT_GT(a.Widget()->PaintCount(), before);
    EXPECT_TRUE(items[1]->isChecked());
}

TEST(GridFrame, ScrollsWithKeysWheelAndBars) {
    Frame a;
    CGridWidget* w = a.Widget();
    QScrollBar* v = w->VerticalBar();
    QScrollBar* h = w->HorizontalBar();
    ASSERT_TRUE(v->isVisible());
    const GridWindowLayout l = a.View().WindowLayout();
    EXPECT_EQ(v->maximum(), l.maxTopRow);
    EXPECT_EQ(v->geometry().left(), l.verticalBarRect.left);

    w->setFocus();
    QTest::keyClick(w, Qt::Key_Down);
    EXPECT_EQ(a.View().TopRow(), 1);
    EXPECT_EQ(v->value(), 1);
    QTest::keyClick(w, Qt::Key_PageDown);
    EXPECT_EQ(a.View().TopRow(), 1 + l.pageRows);
    QTest::keyClick(w, Qt::Key_PageUp);
    QTest::keyClick(w, Qt::Key_Up);
    EXPECT_EQ(a.View().TopRow(), 0);

    // One wheel notch down: three rows.
    QWheelEvent wheel(QPointF(50, 150), w->mapToGlobal(QPointF(50, 150)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
    EXPECT_EQ(a.View().TopRow(), QApplication::wheelScrollLines());
    EXPECT_EQ(v->value(), a.View().TopRow());

    // The bars: the thumb, and the view's own steps for lines and pages.
    v->setValue(10);
    EXPECT_EQ(a.View().TopRow(), 10);
    v->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(a.View().TopRow(), 10 + l.pageRows);
    ASSERT_TRUE(h->isVisible());
    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(a.View().ScrollX(), 8);
    h->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(a.View().ScrollX(), std::min(8 + l.visibleWidth * 2 / 3, l.maxScrollX));
    h->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(a.View().ScrollX(), 0);
    QTest::keyClick(w, Qt::Key_Right);
    EXPECT_EQ(a.View().ScrollX(), 8);
    EXPECT_EQ(h->value(), 8);
}

TEST(GridFrame, RepaintsOnlyWhatChanged) {
    Frame a;
    a.Widget()->setFocus();
    // Rows scrolled: the rows only.
    GridPaintStats s = a.NextPaint([&] { QTest::keyClick(a.Widget(), Qt::Key_Down); });
    EXPECT_FALSE(s.title);
    EXPECT_FALSE(s.header);
    EXPECT_GT(s.rows, 0);
    // Columns scrolled: the header with the rows.
    s = a.NextPaint([&] { QTest::keyClick(a.Widget(), Qt::Key_Right); });
    EXPECT_FALSE(s.title);
    EXPECT_TRUE(s.header);
    // A popup choice: everything.
    s = a.NextPaint([&] { a.frame->PopupMenus()[0]->actions()[1]->trigger(); });
    EXPECT_TRUE(s.title);
    EXPECT_TRUE(s.header);
}

TEST(GridFrame, ColumnsResizeByDraggingTheirHeaderEdge) {
    Frame a;
    CGridWidget* w = a.Widget();
    const GridWindowLayout l = a.View().WindowLayout();
    const int y = (l.header.top + l.header.bottom) / 2;
    const int edge = a.View().Columns()[0].width + a.View().Columns()[1].width;
    QTest::mouseMove(w, QPoint(edge - 1, y));
    EXPECT_EQ(w->cursor().shape(), Qt::SplitHCursor);
    QTest::mouseMove(w, QPoint(edge - 20, y));
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);

    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(edge - 2, y));
    EXPECT_TRUE(a.View().Dragging());
    EXPECT_EQ(a.View().DragLineX(), edge);
    QTest::mouseMove(w, QPoint(edge + 40, y));
    EXPECT_EQ(a.View().DragLineX(), edge + 40);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(edge + 40, y));
    EXPECT_EQ(a.View().Columns()[1].width, 140);

    // Not narrower than its nominal 100; a double click during a drag cancels it.
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(edge + 40, y));
    QTest::mouseMove(w, QPoint(edge - 80, y));
    EXPECT_EQ(a.View().DragLineX(), edge);
    QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(edge - 80, y));
    EXPECT_FALSE(a.View().Dragging());
    EXPECT_EQ(a.View().Columns()[1].width, 140);
}

TEST(GridFrame, TooltipShowsACutText) {
    Frame a;
    CGridWidget* w = a.Widget();
    // The region column dragged to its narrowest cuts the names.
    a.View().BeginColumnDrag(0);
    a.View().EndColumnDrag(0);
    a.frame->Invalidate(true);
    ASSERT_LT(a.View().Columns()[0].width, 100);
    const GridWindowLayout l = a.View().WindowLayout();
    const QPoint at(5, l.list.top + 3);
    EXPECT_EQ(a.View().TipAt({at.x(), at.y()}), "  1 Region number 1");
    QHelpEvent help(QEvent::ToolTip, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &help);
    QTRY_COMPARE(QToolTip::text(), QString("  1 Region number 1"));
    // Over a value that fits: none.
    const QPoint value(a.View().Columns()[0].width + 50, l.list.top + 3);
    EXPECT_EQ(a.View().TipAt({value.x(), value.y()}), "");
}

TEST(GridFrame, PrintsToAPdfPrinterInPages) {
    Frame a;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string path = a.db.dir.file("table.pdf");
    printer.setOutputFileName(QString::fromStdString(path));
    int offered = 0;
    a.frame->printAnswerHook = [&](QPrinter&, int pages, bool offersExport) {
        offered = pages;
        EXPECT_TRUE(offersExport);
        return PrintAnswer::Cancel;
    };
    a.frame->Print();
    EXPECT_EQ(offered, 1); // 61 rows on A4
    a.frame->PrintTo(printer);
    EXPECT_EQ(test::ReadFile(path).substr(0, 5), "%PDF-");
}

TEST(GridFrame, PrintDialogExportWritesTheTable) {
    Frame a;
    a.frame->printAnswerHook = [](QPrinter&, int, bool) { return PrintAnswer::Export; };
    std::vector<std::string> suffixes;
    const std::string path = a.db.dir.file("table.html");
    a.frame->fileDialogHook = [&](const std::vector<charts::FileType>& types) {
        for (const auto& t : types) suffixes.push_back(t.suffix);
        return std::optional<charts::SaveFileChoice>({path, 0});
    };
    a.frame->Print();
    EXPECT_EQ(suffixes, (std::vector<std::string>{"html", "txt"}));
    EXPECT_EQ(test::ReadFile(path), *a.frame->View().ExportText(charts::TextExport::Html));
}

TEST(GridFrame, CopyPutsHtmlAndTextOnTheClipboard) {
    Frame a;
    EXPECT_TRUE(a.frame->OnCommand(CmdCopy));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasHtml());
    EXPECT_TRUE(data->html().contains("<TD>Region number 60</TD>"));
    EXPECT_TRUE(data->text().startsWith("Income per head\n"));
    EXPECT_TRUE(data->text().contains("\t"));

    const auto mime = charts::qt::HtmlMimeData("<b>x</b><TABLE></TABLE>", "x\n");
    EXPECT_EQ(mime->data("text/html"),
              "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">"
              "<b>x</b><TABLE></TABLE>");
    EXPECT_EQ(mime->text(), "x\n");
}

TEST(GridFrame, PictureExportOfTheWholeGrid) {
    Frame a;
    a.frame->exportDialogHook = [](bool offer) {
        EXPECT_FALSE(offer);
        return std::optional<charts::ExportChoice>({false, false});
    };
    const std::string path = a.db.dir.file("grid.emf");
    a.frame->fileDialogHook = [&](const std::vector<charts::FileType>&) {
        return std::optional<charts::SaveFileChoice>({path, 0});
    };
    EXPECT_TRUE(a.frame->OnCommand(CmdSpecial));
    const std::string emf = test::ReadFile(path);
    ASSERT_GT(emf.size(), 100u);
    EXPECT_EQ(emf.substr(40, 4), " EMF");
}

} // namespace
} // namespace zor::grids::qt
