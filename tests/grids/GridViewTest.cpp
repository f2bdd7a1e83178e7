// The grid view base with fixed font metrics (every character 0.5 em: 5.5 pixels in the 11-pixel
// body font): columns and fitting, cutting texts, scrolling, dragging a column edge, painting
// only what changed, tooltips, the picture, printing and the JSON of the cells.
#include "charts/ChartResources.h"
#include "core/JsonWriter.h"
#include "draw/RecordingContext.h"
#include "grids/CGridView.h"
#include "tests/support/StartedStore.h"
#include "tests/support/ViewTestSupport.h"

#include <gtest/gtest.h>

namespace zor::grids {
namespace {

using test::Lines;
using test::RecordingHost;
using test::StartedStore;

// A grid with the base's settings unless a test changes them.
class TestGrid : public CGridView {
public:
    using CGridView::CGridView;
    int title = 30, header = 20, row = 14, footer = 20;
    bool lines = false;
    int TitleBandHeight() const override { return title; }
    int HeaderBandHeight() const override { return header; }
    int RowHeight() const override { return row; }
    int FooterBandHeight() const override { return footer; }
    bool GridLines() const override { return lines; }
    std::vector<int> footers; // DrawFooter calls: the scale × 10 of each
    void DrawFooter(draw::DeviceContext&, const draw::Rect&, float scale, bool) const override {
        const_cast<TestGrid*>(this)->footers.push_back(static_cast<int>(scale * 10));
    }
};

struct Grid {
    StartedStore db{test::Country};
    Selection selection;
    charts::ChartResources resources;
    RecordingHost host;
    TestGrid grid{charts::ViewContext{db.store, resources, selection, nullptr}};
    Grid() { grid.Create(&host); }
    // Regions with numbers in three columns: name, two values.
    void Fill(int rows) {
        grid.AddColumn("Regions", 100, CellAlign::Left, FitToContent);
        grid.AddColumn("2000", 60, CellAlign::Right, 60);
        grid.AddColumn("2001", 60, CellAlign::Right, 60);
        for (int r = 0; r < rows; ++r) {
            grid.AddRow("Region " + std::to_string(r + 1));
            grid.SetCell(1, r, std::to_string(r * 10));
            grid.SetCell(2, r, "1.5");
        }
    }
};

draw::RecordingContext Screen(const RecordingHost& host, int w = 400, int h = 300) {
    return draw::RecordingContext(
        host.measurer, draw::DeviceInfo{draw::Technology::Display, w, h, 3780, 3780, 24});
}

TEST(GridView, FontsAndScaleFromTheBodyText) {
    Grid g;
    EXPECT_EQ(g.grid.BodyFont().face, "Tahoma");
    EXPECT_EQ(g.grid.BodyFont().height, -11);
    EXPECT_EQ(g.grid.HeaderFont().weight, 700);
    EXPECT_EQ(g.grid.TitleFont().face, "Arial");
    EXPECT_EQ(g.grid.TitleFont().height, 20);
    EXPECT_EQ(g.grid.BodyTextHeight(), 11);
    EXPECT_FLOAT_EQ(g.grid.PrintScale(), 30.0f / 11.0f);
    EXPECT_EQ(g.grid.Bands().row, 14);
    EXPECT_FALSE(g.grid.PictureChoice()); // pictures are always coloured
}

TEST(GridView, ColumnsRowsAndCells) {
    Grid g;
    g.grid.AddColumn("Name", -1, CellAlign::Left, FitToContent); // 4 × 5.5 + 6
    EXPECT_EQ(g.grid.Columns()[0].width, 28);
    g.grid.AddColumn("Value", 50, CellAlign::Right, 50);
    EXPECT_EQ(g.grid.GridColumnsWidth(), 78);
    EXPECT_EQ(g.grid.FixedWidth(), 28);
    g.grid.AddRow("North");
    g.grid.SetCell(1, 0, "12.5");
    g.grid.SetCell(1, 0, "13");      // replaced
    g.grid.SetCell(2, 0, "ignored"); // no such column
    g.grid.SetCell(1, 5, "ignored"); // no such row
    EXPECT_EQ(g.grid.Cell(0, 0), "North");
    EXPECT_EQ(g.grid.Cell(0, 1), "13");
    EXPECT_EQ(g.grid.Cell(0, 2), "");
    EXPECT_EQ(g.grid.RowCount(), 1);
    g.grid.ClearRows();
    EXPECT_EQ(g.grid.RowCount(), 0);
    EXPECT_EQ(g.grid.Columns().size(), 2u);
}

TEST(GridView, FitColumnToHeaderAndCells) {
    Grid g;
    g.grid.AddColumn("Regions", 100, CellAlign::Left, FitToContent);
    g.grid.AddColumn("Fixed", 60, CellAlign::Right, 60);
    g.grid.AddRow("  1 North");     // 49 pixels: from 29 in steps of 10 to 49
    g.grid.AddRow("  3 Southeast"); // 71 pixels: from 42 to 72
    g.grid.FitColumn(0);
    EXPECT_EQ(g.grid.Columns()[0].width, 72 + 8);
    g.grid.FitColumn(0, 100);
    EXPECT_EQ(g.grid.Columns()[0].width, 108);
    g.grid.FitColumn(1); // not fit-to-content: left alone
    EXPECT_EQ(g.grid.Columns()[1].width, 60);
    EXPECT_GT(g.host.invalidatedLater, 0);

    // A single long word needs its whole width, not three fifths of it.
    g.grid.ClearRows();
    g.grid.AddRow("Nordrhein-Westfalen"); // 19 × 5.5 = 104
    g.grid.FitColumn(0);
    EXPECT_EQ(g.grid.Columns()[0].width, 112 + 8); // from 62 in steps of 10 past 104

    // The header alone: "Regions" (38 pixels, one word) from 3 in steps of 10: 43.
    g.grid.ClearRows();
    g.grid.FitColumn(0);
    EXPECT_EQ(g.grid.Columns()[0].width, 43 + 8);
}

TEST(GridView, FittingWithRowsOfTwoLines) {
    Grid g;
    g.grid.row = 30;
    g.grid.Create(&g.host);
    g.grid.AddColumn("", 100, CellAlign::Left, FitToContent);
    g.grid.AddRow("aa bb"); // 27 pixels; at 3/5 (16) it wraps into two lines of 11: fits 30
    g.grid.FitColumn(0);
    EXPECT_EQ(g.grid.Columns()[0].width, 16 + 8);
}

TEST(GridView, CellTextsAreCutWithAnEllipsisOrNotShown) {
    Grid g;
    g.grid.AddColumn("", 40, CellAlign::Left, 40);
    g.grid.AddColumn("", 20, CellAlign::Right, 20);
    g.grid.AddColumn("", 60, CellAlign::Center, 60);
    g.grid.AddRow("Southeast");
    g.grid.SetCell(1, 0, "Southeast");
    g.grid.SetCell(2, 0, "East");
    auto dc = Screen(g.host);
    g.grid.PaintWindow(dc, {0, 0, 400, 300});
    const auto texts = Lines(dc.Recording(), "text ");
    // 34 pixels allow "Sou" (16) and "..." (16); 14 pixels not even one character. Texts sit
    // 3 pixels inside their cell, their bottom one pixel above the cell's (rows from y 50).
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "text 3 63 \"Sou...\"");
    EXPECT_EQ(texts[1], "text 90 63 \"East\"");
    EXPECT_NE(dc.Recording().find("textalign center bottom"), std::string::npos);
}

TEST(GridView, AGridWithoutRowsStillShowsItsBands) {
    Grid g;
    g.Fill(0);
    g.grid.SetTitle("Title");
    auto dc = Screen(g.host);
    const GridPaintStats s = g.grid.Paint(dc, {0, 0, 400, 300}, {0, 0, 400, 300});
    EXPECT_TRUE(s.title);
    EXPECT_TRUE(s.header);
    EXPECT_TRUE(s.footer);
    EXPECT_EQ(s.rows, 0);
    EXPECT_NE(dc.Recording().find("\"Title\""), std::string::npos);
    EXPECT_NE(dc.Recording().find("\"2001\""), std::string::npos);
    EXPECT_EQ(g.grid.footers, std::vector<int>{10});

    // Bands of height 0 are not there.
    g.grid.title = g.grid.footer = 0;
    g.grid.Create(&g.host);
    auto none = Screen(g.host);
    const GridPaintStats t = g.grid.Paint(none, {0, 0, 400, 300}, {0, 0, 400, 300});
    EXPECT_FALSE(t.title);
    EXPECT_FALSE(t.footer);
    EXPECT_EQ(none.Recording().find("\"Title\""), std::string::npos);
}

TEST(GridView, RepaintsOnlyTheRowsThatMeetTheDirtyArea) {
    Grid g;
    g.Fill(100);
    auto dc = Screen(g.host);
    // Rows start at y 50: the strip 60..80 meets rows 0, 1 and 2 (50..64, 64..78, 78..92).
    const GridPaintStats s = g.grid.Paint(dc, {0, 0, 400, 300}, {0, 60, 400, 80});
    EXPECT_FALSE(s.title);
    EXPECT_FALSE(s.header);
    EXPECT_FALSE(s.footer);
    EXPECT_EQ(s.rows, 3);
    const GridPaintStats all = g.grid.Paint(dc, {0, 0, 400, 300}, {0, 0, 400, 300});
    EXPECT_EQ(all.rows, 17); // 50..280 holds 16 rows and the top of a 17th
}

TEST(GridView, ScrollingByKeysWheelAndBars) {
    Grid g;
    g.Fill(100);
    g.grid.SetScrollBarSize(16);
    g.grid.SetClientSize({150, 300});
    const GridWindowLayout l = g.grid.WindowLayout();
    EXPECT_TRUE(l.verticalBar);
    EXPECT_TRUE(l.horizontalBar);
    EXPECT_EQ(l.pageRows, (280 - 16 - 50) / 14);
    EXPECT_EQ(l.maxTopRow, 100 - 15);
    EXPECT_EQ(l.maxScrollX, 220 - 134);

    EXPECT_TRUE(g.grid.KeyDown(GridKey::Down));
    EXPECT_EQ(g.grid.TopRow(), 1);
    EXPECT_TRUE(g.grid.KeyDown(GridKey::PageDown));
    EXPECT_EQ(g.grid.TopRow(), 16);
    EXPECT_TRUE(g.grid.KeyDown(GridKey::PageUp));
    EXPECT_TRUE(g.grid.KeyDown(GridKey::Up));
    EXPECT_FALSE(g.grid.KeyDown(GridKey::Up)); // at the top already
    EXPECT_TRUE(g.grid.ScrollRows(1000));
    EXPECT_EQ(g.grid.TopRow(), 85);
    EXPECT_TRUE(g.grid.ScrollColumns(2));
    EXPECT_EQ(g.grid.ScrollX(), 16);
    EXPECT_TRUE(g.grid.ScrollHorizontal(ScrollAction::PageForward));
    EXPECT_EQ(g.grid.ScrollX(), 86); // 16 + 89, held at the end

    // The view draws the scrolled rows: the first is row 86, the fixed column stays.
    auto dc = Screen(g.host, 150, 300);
    g.grid.PaintWindow(dc, {0, 0, 150, 300});
    const auto texts = Lines(dc.Recording(), "text ");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], "text 3 63 \"Region 86\"");

    // A larger window takes the positions back within its ranges.
    g.grid.SetClientSize({800, 2000});
    EXPECT_EQ(g.grid.TopRow(), 0);
    EXPECT_EQ(g.grid.ScrollX(), 0);
}

TEST(GridView, DraggingAColumnEdgeStopsAtItsMinimum) {
    Grid g;
    g.Fill(3);
    g.grid.SetClientSize({400, 300});
    // The header band is y 30..50; column 1 ends at 160.
    EXPECT_EQ(g.grid.HeaderEdgeAt({158, 40}), 1);
    EXPECT_EQ(g.grid.HeaderEdgeAt({158, 60}), -1); // in the rows
    EXPECT_EQ(g.grid.BeginColumnDrag(1), 160);
    EXPECT_EQ(g.grid.DragTo(190), 190);
    EXPECT_EQ(g.grid.DragLineX(), 190);
    EXPECT_EQ(g.grid.DragTo(120), 160); // 100 + its nominal 60
    EXPECT_TRUE(g.grid.EndColumnDrag(130));
    EXPECT_EQ(g.grid.Columns()[1].width, 60);
    EXPECT_FALSE(g.grid.Dragging());

    g.grid.BeginColumnDrag(2);
    EXPECT_TRUE(g.grid.EndColumnDrag(260));
    EXPECT_EQ(g.grid.Columns()[2].width, 100);
    EXPECT_EQ(g.grid.GridColumnsWidth(), 260);

    // A fit-to-content column keeps room for its header: "Regions" wraps into no less than
    // 43 pixels, plus 8.
    EXPECT_EQ(g.grid.MinimalHeaderWidth(0), 51);
    g.grid.BeginColumnDrag(0);
    EXPECT_EQ(g.grid.DragTo(10), 51);
    g.grid.CancelColumnDrag();
    EXPECT_FALSE(g.grid.EndColumnDrag(10));
    EXPECT_EQ(g.grid.Columns()[0].width, 100);

    // The line is drawn in XOR from the header's top to the list's bottom.
    g.grid.BeginColumnDrag(1);
    g.grid.DragTo(200);
    auto dc = Screen(g.host);
    g.grid.DrawDragLine(dc);
    EXPECT_NE(
        dc.Recording().find("rop2 xorpen\npen solid 2 #808080\nmoveto 200 30\nlineto 200 280"),
        std::string::npos)
        << dc.Recording();
}

TEST(GridView, TooltipsShowCutTexts) {
    Grid g;
    g.grid.AddColumn("A very long header", 40, CellAlign::Left, 40);
    g.grid.AddColumn("B", 40, CellAlign::Left, 40);
    g.grid.AddRow("Southeast");
    g.grid.SetCell(1, 0, "Ok");
    g.grid.SetClientSize({400, 300});
    EXPECT_EQ(g.grid.TipAt({5, 55}), "Southeast");
    EXPECT_EQ(g.grid.TipAt({45, 55}), ""); // fits
    EXPECT_EQ(g.grid.TipAt({5, 100}), ""); // below the rows
    EXPECT_EQ(g.grid.TipAt({5, 35}), "A very long header");
    EXPECT_EQ(g.grid.TipAt({45, 35}), "");
}

TEST(GridView, PictureOfTheWholeGrid) {
    Grid g;
    g.Fill(0);
    charts::MetafileInfo info = g.grid.GetMetafileInfo();
    EXPECT_EQ(info.description, "Grid View");
    EXPECT_EQ(info.bounds, (draw::Rect{0, 0, 220 + 2, 30 + 20 + 20 + 2}));
    g.grid.AddRow("x");
    g.grid.AddRow("y");
    info = g.grid.GetMetafileInfo();
    EXPECT_EQ(info.bounds.Height(), 30 + 20 + 2 * 14 + 20 + 2);
    // PNG, SVG and PDF files hold the whole grid too, whatever the window's size.
    g.host.windowSize = draw::Size{100, 40};
    EXPECT_EQ(g.grid.PictureFileSize(), (draw::Size{info.bounds.Width(), info.bounds.Height()}));

    auto dc = Screen(g.host, info.bounds.Width(), info.bounds.Height());
    g.grid.DrawPicture(dc, info.bounds, false);
    const std::string& rec = dc.Recording();
    // One to one, a black frame, flat faces, the rows' block outlined.
    EXPECT_NE(rec.find("mapmode anisotropic\nwindowext 222 100\nviewportext 222 100"),
              std::string::npos)
        << rec;
    EXPECT_NE(rec.find("rect 0 0 222 100"), std::string::npos);
    EXPECT_NE(rec.find("rect 1 51 221 79"), std::string::npos); // the rows' outline
    EXPECT_NE(rec.find("font \"Arial\" height=11 weight=400"), std::string::npos);
    EXPECT_NE(rec.find("\"y\""), std::string::npos);

    // The Export command of a grid never offers black and white.
    g.host.exportAnswer = charts::ExportChoice{true, false};
    EXPECT_TRUE(g.grid.OnCommand(CmdSpecial));
    EXPECT_EQ(g.host.exportOffers, std::vector<bool>{false});
    EXPECT_FALSE(g.host.clipboard.empty());
}

TEST(GridView, PrintsPagesIn0Point1Mm) {
    Grid g;
    g.grid.footer = 0;
    g.grid.Create(&g.host);
    g.Fill(200);
    g.grid.SetTitle("Printed");
    // A4 at 600 dpi.
    const draw::DeviceInfo a4{draw::Technology::Printer, 4960, 7015, 23622, 23622, 24};
    draw::RecordingContext counter(g.host.measurer, a4);
    const int pages = g.grid.CountPages(counter, {0, 0, 4960, 7015});
    // Print scale 30/11: rows 38, title 81, header 54; H = 2970 - 100 - 81 - 54 = 2735.
    EXPECT_EQ(g.grid.Plan().rowsPerPage, 2735 / 38);
    EXPECT_EQ(pages, 3); // 200 rows: 71 + 71 + 58
    // Nominal widths print scaled.
    EXPECT_EQ(g.grid.PrintWidths()[1], 163);
    EXPECT_EQ(g.grid.PrintWidths()[2], 163);

    draw::RecordingContext page(g.host.measurer, a4);
    g.grid.PrintPage(page, {0, 0, 4960, 7015}, 2, true);
    const std::string& rec = page.Recording();
    EXPECT_NE(rec.find("mapmode lometric"), std::string::npos);
    EXPECT_NE(rec.find("\"Page 3\""), std::string::npos);
    EXPECT_NE(rec.find("\"Region 143\""), std::string::npos);
    EXPECT_EQ(rec.find("\"Region 142\""), std::string::npos);
    EXPECT_NE(rec.find("\"Source: KVZ Database\""), std::string::npos);
    EXPECT_NE(rec.find("font \"Arial\" height=30 weight=400"), std::string::npos);
}

TEST(GridView, JsonOfTheCellsAsShown) {
    Grid g;
    g.Fill(2);
    g.grid.SetTitle("T");
    JsonWriter j;
    EXPECT_TRUE(g.grid.WriteData(j));
    EXPECT_EQ(j.str(), "{\"title\":\"T\",\"headers\":[\"Regions\",\"2000\",\"2001\"],\"rows\":"
                       "[[\"Region 1\",\"0\",\"1.5\"],[\"Region 2\",\"10\",\"1.5\"]]}");
}

TEST(GridView, ExportKindsByExtension) {
    EXPECT_EQ(ExportKindOf("/tmp/a.html"), ExportKind::Html);
    EXPECT_EQ(ExportKindOf("/tmp/A.TXT"), ExportKind::Text);
    EXPECT_EQ(ExportKindOf("/tmp/a.htm"), ExportKind::None);
    EXPECT_EQ(ExportKindOf("/tmp/dir.html/a"), ExportKind::None);
    EXPECT_EQ(ExportKindOf("a"), ExportKind::None);
}

} // namespace
} // namespace zor::grids
