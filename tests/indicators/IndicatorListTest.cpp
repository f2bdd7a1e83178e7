// The printed indicator list: its lines, the columns and pages of the layout, the pagination at
// a blank line, the printed page and the HTML, text and JSON forms.
#include "indicators/IndicatorList.h"

#include "core/JsonWriter.h"
#include "draw/TextMeasurer.h"

#include <gtest/gtest.h>

#include <map>

namespace zor::indicators {
namespace {

IndicatorGroup Group(int id, std::string name, std::vector<Indicator> indicators) {
    IndicatorGroup g;
    g.id = static_cast<int16_t>(id);
    g.name = std::move(name);
    g.indicators = std::move(indicators);
    return g;
}

// Group g with n indicators "Indicator k", the first with two variants.
IndicatorGroup Numbered(int id, int n) {
    std::vector<Indicator> list;
    for (int k = 0; k < n; ++k) {
        Indicator i{static_cast<int16_t>(id * 1000 + 10 * k), "Indicator " + std::to_string(k), {}};
        if (k == 0)
            i.variants = {{static_cast<int16_t>(id * 1000 + 1), "First variant"},
                          {static_cast<int16_t>(id * 1000 + 2), "Second variant"}};
        list.push_back(std::move(i));
    }
    return Group(id, "Group " + std::to_string(id), std::move(list));
}

std::vector<ListLevel> Levels(const std::vector<ListLine>& lines) {
    std::vector<ListLevel> out;
    for (const ListLine& l : lines) out.push_back(l.level);
    return out;
}

constexpr ListLevel S = ListLevel::Separator, H = ListLevel::Heading, I = ListLevel::Indicator,
                    V = ListLevel::SubIndicator;

TEST(IndicatorListLines, GroupsHeadingsSeparatorsAndVariants) {
    const std::vector<IndicatorGroup> groups = {Numbered(0, 3), Numbered(2, 2),
                                                Group(5, "Empty", {}), Group(10, "Temporary", {})};
    // The list offers groups 0..9 only.
    EXPECT_EQ(ListedGroups(groups), (std::vector<int>{0, 1, 2}));

    // One group of three, first level: the heading and the three, no separator.
    const auto one = BuildListLines(groups, {0}, false);
    EXPECT_EQ(Levels(one), (std::vector<ListLevel>{H, I, I, I}));
    EXPECT_EQ(one[0].code, 0);
    EXPECT_EQ(one[0].name, "Group 0");
    EXPECT_EQ(one[1].code, 0);
    EXPECT_EQ(one[3].code, 20);

    // Two groups: a separator between them; all indicators: the variants after their indicator.
    const auto two = BuildListLines(groups, {0, 1}, true);
    EXPECT_EQ(Levels(two), (std::vector<ListLevel>{H, I, V, V, I, I, S, H, I, V, V, I}));
    EXPECT_EQ(two[6].code, -1);
    EXPECT_EQ(two[7].code, 2);
    EXPECT_EQ(two[9].code, 2001);
    // An empty group still has its heading.
    EXPECT_EQ(Levels(BuildListLines(groups, {1, 2}, false)),
              (std::vector<ListLevel>{H, I, I, S, H}));

    EXPECT_EQ(LineLabel(two[7]), "02 Group 2");
    EXPECT_EQ(LineLabel(two[9]), "2001 First variant");
    EXPECT_EQ(LineLabel(one[1]), "0000 Indicator 0");
    EXPECT_EQ(LineLabel(two[6]), "");
}

TEST(IndicatorListLayout, ColumnsFitThePage) {
    const std::vector<ListLine> lines = BuildListLines({Numbered(1, 3)}, {0}, false);
    // A4: W = 2080; columns of 300 and a gap of 10 give 6 (7 would run past the right edge).
    ListLayout a4 = LayoutList({40, 300}, lines, {2100, 2970});
    EXPECT_EQ(a4.width, 2080);
    EXPECT_EQ(a4.height, 2890);
    EXPECT_EQ(a4.columns, 6);
    EXPECT_EQ(a4.linesPerColumn, 72);
    EXPECT_EQ(a4.linesPerPage, 432);
    EXPECT_EQ(a4.offset, 5);
    EXPECT_GE(a4.ColumnX(0), ListMarginX);
    EXPECT_LE(a4.ColumnX(a4.columns - 1) + a4.maxWidth, a4.width + ListMarginX);
    EXPECT_EQ(a4.ColumnX(0) - ListMarginX, a4.width + ListMarginX - (a4.ColumnX(5) + a4.maxWidth))
        << "centred";
    for (int maxWidth : {1, 50, 299, 301, 1000, 2060, 2070, 5000}) {
        const ListLayout l = LayoutList({40, maxWidth}, lines, {2100, 2970});
        EXPECT_GE(l.columns, 1);
        if (maxWidth + 2 * ListColumnGap <= l.width) {
            EXPECT_LE(l.ColumnX(l.columns - 1) + maxWidth, l.width + ListMarginX) << maxWidth;
        }
    }
    // A line taller than the page still gives a line per column.
    EXPECT_EQ(LayoutList({5000, 300}, lines, {2100, 2970}).linesPerColumn, 1);
    EXPECT_EQ(LayoutList({0, 300}, lines, {2100, 2970}).lineHeight, 1);
}

TEST(IndicatorListLayout, EveryLinePrintedOnceAndNoPageBeginsWithASeparator) {
    // H I I I | S H I I | I: the second page would begin with the separator.
    std::vector<ListLine> lines = BuildListLines({Numbered(0, 3), Numbered(1, 3)}, {0, 1}, false);
    ASSERT_EQ(Levels(lines), (std::vector<ListLevel>{H, I, I, I, S, H, I, I, I}));
    const auto pages = PaginateList(lines, 4);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].first, 0);
    EXPECT_EQ(pages[0].last, 3);
    EXPECT_EQ(pages[1].first, 5); // the heading, not the separator, and not line 3 again
    EXPECT_EQ(pages[1].last, 8);

    // A page that ends with the separator keeps it; the next begins with the heading.
    const auto three = PaginateList(lines, 5);
    ASSERT_EQ(three.size(), 2u);
    EXPECT_EQ(three[0].last, 4);
    EXPECT_EQ(three[1].first, 5);

    // Every page size: each line on at most one page, every line but a separator at a break on
    // exactly one, no page begins with a separator, pages in order.
    for (int per = 1; per <= 12; ++per) {
        std::map<int, int> printed;
        int previous = -1;
        for (const ListPage& p : PaginateList(lines, per)) {
            EXPECT_NE(lines[static_cast<size_t>(p.first)].level, S) << per;
            EXPECT_GT(p.first, previous);
            EXPECT_LE(p.last - p.first + 1, per);
            for (int k = p.first; k <= p.last; ++k) ++printed[k];
            previous = p.last;
        }
        for (int k = 0; k < static_cast<int>(lines.size()); ++k)
            if (lines[static_cast<size_t>(k)].level != S) {
                EXPECT_EQ(printed[k], 1) << "page size " << per << ", line " << k;
            }
    }
    EXPECT_TRUE(PaginateList({}, 10).empty());
}

// A printer context that keeps what was written and how.
struct PrintedText {
    int x, y;
    std::string text;
    unsigned align;
    int weight;
};
class CapturingContext final : public draw::DeviceContext {
public:
    explicit CapturingContext(const draw::DeviceInfo& device)
        : DeviceContext(device, measurer_static()) {}
    std::vector<PrintedText> texts;

protected:
    void DoPolyline(std::span<const draw::Point>) override {}
    void DoPolygon(std::span<const draw::Point>) override {}
    void DoText(draw::Point ref, std::string_view text) override {
        EXPECT_EQ(State().bkMode, draw::BkMode::Transparent);
        texts.push_back({ref.x, ref.y, std::string(text), GetTextAlign(), GetFont().weight});
    }

private:
    static const draw::TextMeasurer& measurer_static() {
        static const draw::FixedTextMeasurer m; // characters 0.5 em wide: 20 at height 40
        return m;
    }
};

// A printer with 0.1 mm pixels, so that logical units are pixels.
draw::DeviceInfo Printer(int width, int height) {
    return {draw::Technology::Printer, width, height, 10000, 10000, 24};
}

TEST(IndicatorListPrint, PagesColumnsAndLines) {
    // 80 x 60 mm: W = 780, Hh = 520, 13 lines of 40 per column; the widest line "0220
    // Indicator 22" is 340 wide, so two columns of 350: 26 lines a page. Group 0 fills the
    // first page exactly (heading, 23 indicators, 2 variants), so the second page would begin
    // with the separator.
    std::vector<ListLine> lines = BuildListLines({Numbered(0, 23), Numbered(1, 30)}, {0, 1}, true);
    ASSERT_EQ(lines.size(), 60u);
    ASSERT_EQ(lines[26].level, S);
    for (ListLine& l : lines)
        if (l.level == V) l.name = "V";
    IndicatorListPrint list(lines, 0, "Page %d");
    const draw::DeviceInfo device = Printer(800, 600);
    const draw::Rect page{0, 0, 800, 600};
    CapturingContext probe(device);
    const int pages = list.CountPages(probe, page);
    const ListLayout& l = list.Layout();
    EXPECT_EQ(l.maxWidth, 340);
    EXPECT_EQ(l.lineHeight, 40);
    EXPECT_EQ(l.columns, 2);
    EXPECT_EQ(l.linesPerPage, 26);
    EXPECT_EQ(l.offset, 0);
    EXPECT_EQ(l.ColumnX(0), (780 + 10 - 350 * 2) / 2 + 10);
    ASSERT_EQ(pages, 3);
    EXPECT_EQ(l.pages[1].first, 27);

    std::map<std::string, int> printed;
    for (int p = 0; p < pages; ++p) {
        CapturingContext dc(device);
        list.PrintPage(dc, page, p);
        ASSERT_FALSE(dc.texts.empty());
        const PrintedText& number = dc.texts[0];
        EXPECT_EQ(number.text, "Page " + std::to_string(p + 1));
        EXPECT_EQ(number.x, 790); // W + 10, right-aligned at the top
        EXPECT_EQ(number.y, 0);
        EXPECT_EQ(number.align, draw::ta::Right | draw::ta::Top);
        const ListPage& range = l.pages[static_cast<size_t>(p)];
        int k = range.first;
        for (size_t t = 1; t < dc.texts.size(); ++t, ++k) {
            while (lines[static_cast<size_t>(k)].level == S) ++k; // prints nothing
            const PrintedText& text = dc.texts[t];
            const ListLine& line = lines[static_cast<size_t>(k)];
            const int row = (k - range.first) % l.linesPerColumn;
            const int column = (k - range.first) / l.linesPerColumn;
            const int x0 = l.ColumnX(column);
            EXPECT_EQ(text.text, LineLabel(line));
            EXPECT_EQ(text.y, -l.offset - ListMarginY - row * l.lineHeight) << text.text;
            switch (line.level) {
            case H:
                EXPECT_EQ(text.x, x0 + (l.maxWidth + ListColumnGap) / 2);
                EXPECT_EQ(text.align, draw::ta::Center | draw::ta::Top);
                EXPECT_EQ(text.weight, 700);
                break;
            case I:
                EXPECT_EQ(text.x, x0);
                EXPECT_EQ(text.weight, 400);
                break;
            default:
                EXPECT_EQ(text.x, x0 + ListSubIndent);
            }
            ++printed[text.text];
        }
        EXPECT_EQ(k - 1, range.last);
    }
    for (const ListLine& line : lines)
        if (line.level != S) {
            EXPECT_EQ(printed[LineLabel(line)], 1) << LineLabel(line);
        }

    // Another paper lays the same widths out again.
    CapturingContext a4(Printer(2100, 2970));
    EXPECT_EQ(list.CountPages(a4, {0, 0, 2100, 2970}), 1);
    EXPECT_EQ(list.Layout().columns, 5);
}

TEST(IndicatorListExport, HtmlAndText) {
    const std::vector<IndicatorGroup> groups = {
        Group(0, "People & <Places>", {{0, "Inhabitants", {{1, "Men > 18"}}}, {10, "Density", {}}}),
        Group(2, "Health", {{2050, "Doctors", {}}})};
    const std::vector<ListLine> lines = BuildListLines(groups, {0, 1}, true);
    const std::string html = ExportListHtml(lines, 1250, "Indicators");
    EXPECT_EQ(
        html,
        "<HTML>\r\n<HEAD>\r\n<META NAME=\"GENERATOR\" CONTENT=\"ZOR-2\">\r\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=windows-1250\">\r\n"
        "<TITLE>Indicators</TITLE>\r\n</HEAD>\r\n"
        "<STYLE>\r\nTR\r\n{\r\n font-size: 8pt;\r\n font-family: Arial;\r\n}\r\n"
        "#SL\r\n{\r\n margin-left:15px;\r\n}\r\n</STYLE>\r\n"
        "<BODY>\r\n<TABLE BGCOLOR=\"Black\" CELLSPACING=\"1\" CELLPADDING=\"3\">\r\n"
        "  <TR BGCOLOR=\"White\" ALIGN=\"CENTER\"><TD COLSPAN=\"2\">"
        "<B>People &amp; &lt;Places&gt;</B></TD></TR>\r\n"
        "  <TR BGCOLOR=\"White\" ALIGN=\"CENTER\"><TD>0000</TD>"
        "<TD ALIGN=\"LEFT\">Inhabitants</TD></TR>\r\n"
        "  <TR BGCOLOR=\"White\"><TD><DIV ID=\"SL\">0001</DIV></TD>"
        "<TD><DIV ID=\"SL\">Men &gt; 18</DIV></TD></TR>\r\n"
        "  <TR BGCOLOR=\"White\" ALIGN=\"CENTER\"><TD>0010</TD>"
        "<TD ALIGN=\"LEFT\">Density</TD></TR>\r\n"
        "  <TR BGCOLOR=\"White\" ALIGN=\"CENTER\"><TD COLSPAN=\"2\">&nbsp;</TD></TR>\r\n"
        "  <TR BGCOLOR=\"White\" ALIGN=\"CENTER\"><TD COLSPAN=\"2\"><B>Health</B></TD></TR>\r\n"
        "  <TR BGCOLOR=\"White\" ALIGN=\"CENTER\"><TD>2050</TD>"
        "<TD ALIGN=\"LEFT\">Doctors</TD></TR>\r\n"
        "</TABLE>\r\n</BODY>\r\n</HTML>\r\n");
    EXPECT_EQ(ExportListText(lines), "\tPeople & <Places>\r\n"
                                     "0000\tInhabitants\r\n"
                                     "\t0001\tMen > 18\r\n"
                                     "0010\tDensity\r\n"
                                     "\r\n"
                                     "\tHealth\r\n"
                                     "2050\tDoctors\r\n");
    // The chosen file's extension decides, in any case.
    EXPECT_EQ(ExportListFor("/tmp/list.TXT", lines, 0, "x"), ExportListText(lines));
    EXPECT_EQ(ExportListFor("/tmp/list.Html", lines, 238, "Indicators"),
              ExportListHtml(lines, 1250, "Indicators"));
    EXPECT_FALSE(ExportListFor("/tmp/list.doc", lines, 0, "x"));
    EXPECT_FALSE(ExportListFor("/tmp/list", lines, 0, "x"));
    EXPECT_FALSE(ExportListFor("/tmp/a.txt/list", lines, 0, "x"));
    EXPECT_EQ(ListCodePage(204), 1251);
    EXPECT_EQ(ListCodePage(255), 1252);
}

TEST(IndicatorListExport, Json) {
    std::vector<ListLine> lines = BuildListLines(
        {Group(0, "Caf\xE9", {{0, "A", {}}}), Group(1, "B", {{1000, "C", {}}})}, {0, 1}, false);
    ListLayout layout;
    layout.pages = PaginateList(lines, 2);
    JsonWriter j;
    WriteListJson(j, lines, layout, 0);
    EXPECT_EQ(j.str(), "{\"lines\":[{\"level\":1,\"code\":0,\"text\":\"Caf\xC3\xA9\"},"
                       "{\"level\":2,\"code\":0,\"text\":\"A\"},"
                       "{\"level\":0,\"code\":-1,\"text\":\"\"},"
                       "{\"level\":1,\"code\":1,\"text\":\"B\"},"
                       "{\"level\":2,\"code\":1000,\"text\":\"C\"}],"
                       "\"pages\":[[0,1],[3,4]]}");
}

} // namespace
} // namespace zor::indicators
