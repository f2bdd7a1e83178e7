// Tables A-E on a database in code page 1250 with a comma as decimal symbol: their menus and
// popups, filling, highlighting, hiding regions, the copy, the exports and the JSON.
#include "charts/ChartResources.h"
#include "charts/DialogRules.h"
#include "charts/ViewRegistry.h"
#include "core/JsonWriter.h"
#include "draw/RecordingContext.h"
#include "grids/CTables.h"
#include "grids/HtmlText.h"
#include "tests/support/StartedStore.h"
#include "tests/support/ViewTestSupport.h"

#include <gtest/gtest.h>

namespace zor::grids {
namespace {

using test::Lines;
using test::RecordingHost;
using test::StartedStore;
constexpr float M = MissingValue;
const std::string Plzen = "Plze\xF2"; // "Plzeň" in code page 1250

// North, Plzeň, a name that would be markup, West without any value, and the total.
void Regions(test::Fixture& f) {
    f.Config({"PROVIDER=ZOR-2", "CHARSET=238", "DECIMAL SYMBOL=,"});
    f.Set(10000, "Country", {"North", Plzen, "A<B & C", "West", "Total"});
    f.Group(1, "Economy");
    f.Indicator(1010, "Income per head");
    f.Indicator(1020, "Exports");
    f.Periods({2000, 2001, 2002});
    f.Values(10000, 2000, 1010, {12.5f, 20, 30, M, 62.5f});
    f.Values(10000, 2001, 1010, {15, M, 0, M, 40});
    f.Values(10000, 2002, 1010, {16, 21, 1, M, 50});
    f.Values(10000, 2000, 1020, {1, 2, 3, M, 6});
}

const std::vector<ListItem> BothIndicators{{1010, "Income per head"}, {1020, "Exports"}};
const std::vector<ListItem> TwoPeriods{{2000, "2000"}, {2001, "2001"}};

Selection Choice(std::vector<ListItem> indicators = BothIndicators,
                 std::vector<ListItem> periods = TwoPeriods) {
    Selection s;
    s.Confirm(10000, std::move(indicators),
              {{MakeRegionKey(10000, 1), "North"}, {MakeRegionKey(10000, 2), Plzen}},
              std::move(periods));
    return s;
}

// A table opened as its frame opens it.
template <class Table> struct Open {
    StartedStore db{Regions};
    Selection selection;
    charts::ChartResources resources;
    RecordingHost host;
    std::unique_ptr<Table> table;
    explicit Open(Selection s = Choice()) : selection(std::move(s)) {
        table =
            std::make_unique<Table>(charts::ViewContext{db.store, resources, selection, nullptr});
        test::OpenView(*table, host);
    }
    std::vector<std::string> Row(int r) {
        std::vector<std::string> out;
        for (size_t c = 0; c < table->Columns().size(); ++c)
            out.push_back(table->Cell(r, static_cast<int>(c)));
        return out;
    }
    // The recording of the window at 600 x 400.
    std::string Paint() {
        draw::RecordingContext dc(
            host.measurer, draw::DeviceInfo{draw::Technology::Display, 600, 400, 3780, 3780, 24});
        table->PaintWindow(dc, {0, 0, 600, 400});
        return dc.Recording();
    }
};

std::vector<int> MenuIds(const std::vector<charts::MenuItem>& menu) {
    std::vector<int> ids;
    for (const charts::MenuItem& m : menu) ids.push_back(m.id);
    return ids;
}

TEST(Tables, MenusAsTheFramesShowThem) {
    EXPECT_EQ(MenuIds(CTableA::FrameMenu()),
              (std::vector<int>{CmdRegions, CmdCopy, CmdExport, CmdPrint, CmdQuit}));
    EXPECT_EQ(MenuIds(CTableB::FrameMenu()), (std::vector<int>{CmdCopy, CmdPrint, CmdQuit}));
    EXPECT_EQ(MenuIds(CTableC::FrameMenu()), (std::vector<int>{CmdCopy, CmdPrint, CmdQuit}));
    EXPECT_EQ(MenuIds(CTableD::FrameMenu()),
              (std::vector<int>{CmdRegions, CmdCopy, CmdPrint, CmdQuit}));
    EXPECT_EQ(MenuIds(CTableE::FrameMenu()),
              (std::vector<int>{CmdRegions, CmdCopy, CmdPrint, CmdQuit}));
}

TEST(Tables, TableANumbersEveryRegionWithAColumnPerPeriod) {
    Open<CTableA> a;
    ASSERT_TRUE(a.table->Loaded());
    EXPECT_EQ(a.table->Title(), "Income per head");
    ASSERT_EQ(a.table->RowCount(), 5);
    EXPECT_EQ(a.Row(0), (std::vector<std::string>{"  1 North", "12.5", "15"}));
    EXPECT_EQ(a.Row(1), (std::vector<std::string>{"  2 " + Plzen, "20", ". . ."}));
    EXPECT_EQ(a.Row(3), (std::vector<std::string>{"  4 West", ". . .", ". . ."}));
    EXPECT_EQ(a.Row(4), (std::vector<std::string>{"  5 Total", "62.5", "40"}));
    // Column 0 fitted, the value columns 100 pixels (and 100 in print).
    const auto& cols = a.table->Columns();
    EXPECT_EQ(cols[0].header, "Regions");
    EXPECT_EQ(cols[0].nominalWidth, FitToContent);
    EXPECT_EQ(cols[0].width, 66 + 8); // "  3 A<B & C": from 36 in steps of 10 past 60
    EXPECT_EQ(cols[1].header, "2000");
    EXPECT_EQ(cols[1].width, 100);
    EXPECT_EQ(cols[1].nominalWidth, 100);
    EXPECT_EQ(cols[1].alignment, CellAlign::Right);
    EXPECT_EQ(a.table->Bands().title, 50);
    EXPECT_EQ(a.table->Bands().header, 20);
    EXPECT_EQ(a.table->Bands().footer, 0);
    EXPECT_EQ(a.table->HeaderFont().weight, 400);
    // The indicator popup after "Regions"; the screen shows names decoded and "." in numbers.
    ASSERT_EQ(a.table->Popups().size(), 1u);
    EXPECT_EQ(a.table->Popups()[0].position, 1);
    EXPECT_EQ(a.table->Popups()[0].title, "Indicators");
    const std::string window = a.Paint();
    EXPECT_NE(window.find("\"  2 Plze\xC5\x88\""), std::string::npos);
    EXPECT_NE(window.find("\"12.5\""), std::string::npos);
}

TEST(Tables, OneIndicatorNoPopupAndTheCurrentItemChangesNothing) {
    Open<CTableA> one(Choice({{1010, "Income per head"}}));
    EXPECT_TRUE(one.table->Popups().empty());

    Open<CTableA> a;
    const int repaints = a.host.repaintedNow;
    EXPECT_FALSE(a.table->OnCommand(CmdFirstIndicator + 5)); // not in the list
    EXPECT_TRUE(a.table->OnCommand(CmdFirstIndicator));      // the current one
    EXPECT_EQ(a.host.repaintedNow, repaints);
    EXPECT_TRUE(a.table->OnCommand(CmdFirstIndicator + 1));
    EXPECT_EQ(a.host.repaintedNow, repaints + 1);
    EXPECT_EQ(a.table->Title(), "Exports");
    EXPECT_EQ(a.Row(0), (std::vector<std::string>{"  1 North", "1", ". . ."}));
    EXPECT_TRUE(a.host.messages.empty()); // tables do not report missing data
}

std::vector<std::string> HighlightedRows(const std::string& recording) {
    // A highlighted cell is filled before its text is drawn.
    std::vector<std::string> out;
    std::istringstream in(recording);
    bool filled = false;
    for (std::string line; std::getline(in, line);) {
        if (line == "brush solid #cacaaf") filled = true;
        if (line.rfind("text ", 0) == 0) {
            if (filled) out.push_back(line.substr(line.find('"')));
            filled = false;
        }
    }
    return out;
}

TEST(Tables, HiddenRegionsRenumberAndTheSelectedStayHighlighted) {
    Open<CTableA> a;
    EXPECT_EQ(HighlightedRows(a.Paint()),
              (std::vector<std::string>{"\"  1 North\"", "\"12.5\"", "\"15\"",
                                        "\"  2 Plze\xC5\x88\"", "\"20\"", "\". . .\""}));
    // Hide North and West.
    a.host.dialogAnswer = [](charts::DialogModel& m) {
        auto& list = dynamic_cast<charts::RegionListModel&>(m);
        EXPECT_EQ(list.flags, (std::vector<int>{1, 1, 1, 1, 1}));
        EXPECT_EQ(list.names[1], "Plze\xC5\x88");
        list.flags = {0, 1, 1, 0, 1};
        return true;
    };
    EXPECT_TRUE(a.table->OnCommand(CmdRegions));
    ASSERT_EQ(a.table->RowCount(), 3);
    EXPECT_EQ(a.Row(0)[0], "  1 " + Plzen);
    EXPECT_EQ(a.Row(2)[0], "  3 Total");
    EXPECT_EQ(a.table->ShownRows(), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(HighlightedRows(a.Paint()),
              (std::vector<std::string>{"\"  1 Plze\xC5\x88\"", "\"20\"", "\". . .\""}));

    // Cancelled: nothing changes.
    a.host.dialogAnswer = nullptr;
    EXPECT_TRUE(a.table->OnCommand(CmdRegions));
    EXPECT_EQ(a.table->RowCount(), 3);

    // All hidden: only the bands; the exports write the title and the header.
    a.host.dialogAnswer = [](charts::DialogModel& m) {
        dynamic_cast<charts::RegionListModel&>(m).flags.assign(5, 0);
        return true;
    };
    a.table->OnCommand(CmdRegions);
    EXPECT_EQ(a.table->RowCount(), 0);
    EXPECT_EQ(*a.table->ExportText(charts::TextExport::Text),
              "Income per head\r\n   \t\t           2000\t           2001\r\n");
}

TEST(Tables, CopiesAndExportsWriteTheDecimalSymbolAndCodePage) {
    Open<CTableA> a;
    EXPECT_TRUE(a.table->OnCommand(CmdCopy));
    EXPECT_EQ(a.host.htmlCopies, 1);
    // UTF-8 on the clipboard, the comma in numbers, names escaped.
    EXPECT_EQ(a.host.clipboardHtml.rfind("<b>Income per head</b><TABLE><TR><TD COLSPAN=\"2\">"
                                         "Regions</TD><TD>2000</TD><TD>2001</TD></TR>"
                                         "<TR><TD>1</TD><TD>North</TD><TD>12,5</TD><TD>15</TD>"
                                         "</TR><TR><TD>2</TD><TD>Plze\xC5\x88</TD><TD>20</TD>"
                                         "<TD>&nbsp;</TD></TR><TR><TD>3</TD><TD>A&lt;B &amp; C"
                                         "</TD>",
                                         0),
              0u)
        << a.host.clipboardHtml;
    EXPECT_NE(a.host.clipboardText.find("  2\tPlze\xC5\x88  \t             20\t"),
              std::string::npos)
        << a.host.clipboardText;
    EXPECT_EQ(a.host.clipboardText.find('\r'), std::string::npos);
    // zorexport's "copy" is the same fragment in the HTML Format.
    EXPECT_EQ(*a.table->ExportText(charts::TextExport::ClipboardHtml),
              ClipboardHtmlFormat(a.host.clipboardHtml));

    const std::string html = *a.table->ExportText(charts::TextExport::Html);
    EXPECT_NE(html.find("CHARSET=windows-1250\">\r\n<TITLE>Table A</TITLE>"), std::string::npos);
    EXPECT_NE(html.find("<TD ALIGN=\"LEFT\">Plze\xF2</TD><TD>20</TD><TD>&nbsp;</TD></TR>"),
              std::string::npos);
    const std::string text = *a.table->ExportText(charts::TextExport::Text);
    EXPECT_NE(text.find("  1\tNorth  \t           12,5\t             15\r\n"), std::string::npos)
        << text;
}

TEST(Tables, ExportFileDialogWritesTheKindOfTheExtension) {
    Open<CTableB> b;
    EXPECT_TRUE(b.table->OffersFileExport());
    b.table->ExportFile(); // cancelled
    ASSERT_EQ(b.host.fileAsks.size(), 1u);
    EXPECT_EQ(b.host.fileAsks[0][0].suffix, "html");
    EXPECT_EQ(b.host.fileAsks[0][1].suffix, "txt");

    b.host.fileAnswer = b.db.dir.file("b.txt");
    b.table->ExportFile();
    EXPECT_EQ(test::ReadFile(*b.host.fileAnswer), *b.table->ExportText(charts::TextExport::Text));
    b.host.fileAnswer = b.db.dir.file("b.HTML");
    b.table->ExportFile();
    EXPECT_EQ(test::ReadFile(*b.host.fileAnswer), *b.table->ExportText(charts::TextExport::Html));
    // Another extension: the file type chosen in the dialog.
    b.host.fileAnswer = b.db.dir.file("b.csv");
    b.host.fileType = 1;
    b.table->ExportFile();
    EXPECT_EQ(test::ReadFile(*b.host.fileAnswer), *b.table->ExportText(charts::TextExport::Text));
    // A file that cannot be written is reported.
    b.host.fileAnswer = b.db.dir.file("missing/b.txt");
    b.table->ExportFile();
    ASSERT_EQ(b.host.messages.size(), 1u);
    EXPECT_NE(b.host.messages[0].first.find("missing/b.txt"), std::string::npos);
}

TEST(Tables, TableAExportsEveryPeriodOfTheIndicator) {
    Open<CTableA> a;
    a.host.fileAnswer = a.db.dir.file("all.txt");
    EXPECT_TRUE(a.table->OnCommand(CmdExport));
    const std::string text = test::ReadFile(*a.host.fileAnswer);
    EXPECT_EQ(text.rfind("Income per head\r\n   \t       \t           2000\t           2001\t"
                         "           2002\r\n  1\tNorth  \t           12,5\t             15\t"
                         "             16\r\n",
                         0),
              0u)
        << text;
    // The render option gives the same bytes.
    EXPECT_EQ(a.table->ApplyRenderOption("--all-periods", ""), "");
    EXPECT_EQ(*a.table->ExportText(charts::TextExport::Text), text);
    EXPECT_NE(a.table->ApplyRenderOption("--other", ""), "");
}

TEST(Tables, TableDShowsValuesWithTheirYears) {
    Open<CTableD> d;
    ASSERT_EQ(d.table->Columns().size(), 3u);
    EXPECT_EQ(d.table->Columns()[1].header, "First Available");
    EXPECT_EQ(d.table->Columns()[2].header, "Last Available");
    EXPECT_EQ(d.table->Columns()[1].width, 150);
    EXPECT_EQ(d.Row(0), (std::vector<std::string>{"  1 North", "12.5 - 2000", "16 - 2002"}));
    EXPECT_EQ(d.Row(1), (std::vector<std::string>{"  2 " + Plzen, "20 - 2000", "21 - 2002"}));
    EXPECT_EQ(d.Row(3), (std::vector<std::string>{"  4 West", ". . .", ". . ."}));
    d.table->OnCommand(CmdCopy);
    EXPECT_NE(d.host.clipboardHtml.find("<TD COLSPAN=\"2\" ALIGN=\"CENTER\">First Available</TD>"),
              std::string::npos);
    EXPECT_NE(d.host.clipboardHtml.find("<TD>North</TD><TD>12,5 </TD><TD> 2000</TD>"),
              std::string::npos);
    EXPECT_NE(d.host.clipboardHtml.find(
                  "<TD>West</TD><TD>&nbsp;</TD><TD>&nbsp;</TD><TD>&nbsp;</TD><TD>&nbsp;</TD>"),
              std::string::npos)
        << d.host.clipboardHtml;
    EXPECT_NE(d.table->ExportText(charts::TextExport::Text)
                  ->find("\t" + std::string(9, ' ') + "12,5 - 2000\t"),
              std::string::npos);
}

TEST(Tables, TableEShowsIndicatorsForAPeriod) {
    Open<CTableE> e;
    EXPECT_EQ(e.table->Title(), "2000");
    EXPECT_EQ(e.table->Bands().header, 40);
    EXPECT_EQ(e.Row(0), (std::vector<std::string>{"  1 North", "12.5", "1"}));
    ASSERT_EQ(e.table->Popups().size(), 1u);
    EXPECT_EQ(e.table->Popups()[0].kind, charts::PopupKind::Periods);
    EXPECT_TRUE(e.table->Select(charts::PopupKind::Periods, 1));
    EXPECT_EQ(e.table->Title(), "2001");
    EXPECT_EQ(e.Row(0), (std::vector<std::string>{"  1 North", "15", ". . ."}));
}

TEST(Tables, TableBHasEveryPeriodAndHighlightsTheSelected) {
    Open<CTableB> b(Choice(BothIndicators, {{2001, "2001"}}));
    EXPECT_EQ(b.table->Title(), "Income per head");
    ASSERT_EQ(b.table->RowCount(), 3);
    EXPECT_EQ(b.Row(0), (std::vector<std::string>{"2000", "12.5", "20"}));
    EXPECT_EQ(b.Row(1), (std::vector<std::string>{"2001", "15", ". . ."}));
    EXPECT_EQ(b.table->Columns()[2].header, Plzen);
    EXPECT_EQ(b.table->Columns()[1].nominalWidth, FitToContent);
    EXPECT_EQ(b.table->Columns()[1].width, 70 + 8); // the minimum of 70 wins
    EXPECT_EQ(HighlightedRows(b.Paint()),
              (std::vector<std::string>{"\"2001\"", "\"15\"", "\". . .\""}));
    const std::string text = *b.table->ExportText(charts::TextExport::Text);
    EXPECT_NE(text.find("2001\t             15\t               \t\r\n"), std::string::npos) << text;
    EXPECT_TRUE(b.table->Select(charts::PopupKind::Indicators, 1));
    EXPECT_EQ(b.Row(0), (std::vector<std::string>{"2000", "1", "2"}));
    EXPECT_EQ(b.table->Title(), "Exports");
}

TEST(Tables, TableCShowsIndicatorsForARegion) {
    Open<CTableC> c;
    EXPECT_EQ(c.table->Title(), "North");
    EXPECT_EQ(c.table->Bands().title, 30);
    EXPECT_EQ(c.table->Bands().header, 40);
    EXPECT_EQ(c.Row(0), (std::vector<std::string>{"2000", "12.5", "1"}));
    // Column 0 fitted once (at least 75), then kept in print.
    EXPECT_EQ(c.table->Columns()[0].width, 75 + 8);
    EXPECT_EQ(c.table->Columns()[0].nominalWidth, 83);
    EXPECT_EQ(c.table->Columns()[1].width, 60 + 8);
    ASSERT_EQ(c.table->Popups().size(), 1u);
    EXPECT_EQ(c.table->Popups()[0].kind, charts::PopupKind::Regions);
    EXPECT_EQ(c.table->Popups()[0].position, 0);
    EXPECT_TRUE(c.table->Select(charts::PopupKind::Regions, 1));
    EXPECT_EQ(c.table->Title(), Plzen);
    EXPECT_EQ(c.Row(1), (std::vector<std::string>{"2001", ". . .", ". . ."}));
}

TEST(Tables, JsonIsTheCellsInUtf8) {
    Open<CTableB> b;
    JsonWriter j;
    ASSERT_TRUE(b.table->WriteData(j));
    EXPECT_EQ(j.str(), "{\"title\":\"Income per head\",\"headers\":[\"Time periods\",\"North\","
                       "\"Plze\xC5\x88\"],\"rows\":[[\"2000\",\"12.5\",\"20\"],[\"2001\",\"15\","
                       "\". . .\"],[\"2002\",\"16\",\"21\"]]}");
}

TEST(Tables, PrintingHighlightsAndPrintsEveryRow) {
    Open<CTableA> a;
    const draw::DeviceInfo a4{draw::Technology::Printer, 4960, 7015, 23622, 23622, 24};
    draw::RecordingContext dc(a.host.measurer, a4);
    EXPECT_EQ(a.table->CountPages(dc, {0, 0, 4960, 7015}), 1);
    a.table->PrintPage(dc, {0, 0, 4960, 7015}, 0, true);
    EXPECT_EQ(HighlightedRows(dc.Recording()).size(), 6u);
    EXPECT_NE(dc.Recording().find("\"  5 Total\""), std::string::npos);
}

} // namespace
} // namespace zor::grids
