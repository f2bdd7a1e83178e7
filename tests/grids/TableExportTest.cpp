// The table exports byte for byte against hand-written files (tests/grids/data): text and HTML
// of both table shapes, missing values, the decimal symbol, a name in code page 1250, a name
// that would be markup, table D's split copy cells and a table without rows.
#include "grids/TableExport.h"
#include "core/Numeric.h"
#include "tests/support/Fixture.h"

#include <gtest/gtest.h>

namespace zor::grids {
namespace {

std::string Expected(const std::string& name) {
    return test::ReadFile(std::string(ZOR_GRIDS_TEST_DATA) + "/" + name);
}

const std::string Missing(MissingText);

TableData RegionTable() {
    TableData t;
    t.shape = TableShape::Regions;
    t.windowTitle = "Table A";
    t.title = "Income per head";
    t.firstHeader = "Regions";
    t.headers = {"2000", "2001"};
    t.rows = {
        {"  1 North", {"10", "15"}}, {"  2 South", {"20", Missing}}, {"  3 East", {"30.5", "0"}}};
    t.decimal = ',';
    return t;
}

TableData PeriodTable() {
    TableData t;
    t.shape = TableShape::Periods;
    t.windowTitle = "Table B";
    t.title = "Income per head";
    t.firstHeader = "Time periods";
    t.headers = {"North", "South"};
    t.rows = {{"2000", {"10", "20"}}, {"2001", {"15", Missing}}};
    return t;
}

// Table D of a Central European database: names in code page 1250.
TableData FirstLastTable() {
    TableData t;
    t.shape = TableShape::Regions;
    t.windowTitle = "Table D";
    t.title = "Hrub\xFD produkt";
    t.firstHeader = "Regions";
    t.headers = {"First Available", "Last Available"};
    t.rows = {{"  1 Plze\xF2", {"12 - 2000", "13.5 - 2001"}}, {"  2 A<B & C", {Missing, Missing}}};
    t.valueWidth = 20;
    t.codePage = 1250;
    t.decimal = ',';
    t.splitPeriodCodes = true;
    return t;
}

TEST(TableExport, MissingTextIsTheFormattersText) {
    EXPECT_EQ(FormatValue(MissingValue), MissingText);
}

TEST(TableExport, RegionTableTextAndHtml) {
    EXPECT_EQ(ExportTableText(RegionTable()), Expected("region-table.txt"));
    // A missing value is a blank cell of its own: the cells after it keep their columns.
    EXPECT_EQ(ExportTableHtml(RegionTable()), Expected("region-table.html"));
}

TEST(TableExport, PeriodTableTextEndsItsLinesWithATab) {
    EXPECT_EQ(ExportTableText(PeriodTable()), Expected("period-table.txt"));
    EXPECT_EQ(ExportTableHtml(PeriodTable()), Expected("period-table.html"));
}

TEST(TableExport, CodePage1250NamesEscapedMarkupAndSplitCopyCells) {
    const TableData t = FirstLastTable();
    EXPECT_EQ(ExportTableText(t), Expected("first-last-1250.txt"));
    EXPECT_EQ(ExportTableHtml(t), Expected("first-last-1250.html"));
    EXPECT_EQ(TableCopyFragment(t), Expected("first-last-1250.copy"));
}

TEST(TableExport, CopyFragmentsOfBothShapes) {
    EXPECT_EQ(TableCopyFragment(RegionTable()),
              "<b>Income per head</b><TABLE><TR><TD COLSPAN=\"2\">Regions</TD><TD>2000</TD>"
              "<TD>2001</TD></TR><TR><TD>1</TD><TD>North</TD><TD>10</TD><TD>15</TD></TR>"
              "<TR><TD>2</TD><TD>South</TD><TD>20</TD><TD>&nbsp;</TD></TR>"
              "<TR><TD>3</TD><TD>East</TD><TD>30,5</TD><TD>0</TD></TR></TABLE>");
    EXPECT_EQ(TableCopyFragment(PeriodTable()),
              "<b>Income per head</b><TABLE><TR><TD>Time periods</TD><TD>North</TD>"
              "<TD>South</TD></TR><TR><TD>2000</TD><TD>10</TD><TD>20</TD></TR>"
              "<TR><TD>2001</TD><TD>15</TD><TD>&nbsp;</TD></TR></TABLE>");
}

TEST(TableExport, NoRowsWritesTheTitleAndHeaderOnly) {
    TableData t = RegionTable();
    t.rows.clear();
    EXPECT_EQ(ExportTableText(t), Expected("empty-table.txt"));
    const std::string html = ExportTableHtml(t);
    EXPECT_EQ(html.find("ALIGN=\"RIGHT\""), std::string::npos);
    EXPECT_NE(html.find("<TD>2001</TD></TR>\r\n</TABLE>"), std::string::npos);
    EXPECT_EQ(TableCopyFragment(t).substr(TableCopyFragment(t).size() - 13), "</TR></TABLE>");
}

TEST(TableExport, ThousandsOfRowsKeepTheirNumbers) {
    // "%3d" is wider than three places from row 1000 on: the number ends at its blank.
    EXPECT_EQ(SplitNumberedName("  7 Adams County").number, "  7");
    EXPECT_EQ(SplitNumberedName("  7 Adams County").name, "Adams County");
    EXPECT_EQ(SplitNumberedName("1000 Autauga").number, "1000");
    EXPECT_EQ(SplitNumberedName("1000 Autauga").name, "Autauga");
    TableData t = RegionTable();
    t.rows = {{" 999 A", {"1", "2"}}, {"1000 B", {"3", "4"}}};
    EXPECT_EQ(TableTextLines(t), "Income per head\n"
                                 "    \t \t           2000\t           2001\n"
                                 " 999\tA\t              1\t              2\n"
                                 "1000\tB\t              3\t              4\n");
    const std::string html = ExportTableHtml(t);
    EXPECT_NE(html.find("<TD ALIGN=\"LEFT\">1000</TD><TD ALIGN=\"LEFT\">B</TD>"),
              std::string::npos);
}

TEST(TableExport, TextsLongerThanExpectedAreWrittenWhole) {
    // A title and a name far beyond the usual sizes, the name growing five times by escaping.
    TableData t = RegionTable();
    const std::string title(20000, 'T'), name(4000, '&');
    t.title = title;
    t.rows[1].first = t.Own("  2 " + name);
    std::string escaped;
    for (size_t i = 0; i < name.size(); ++i) escaped += "&amp;";
    const std::string html = ExportTableHtml(t);
    EXPECT_NE(html.find("<TD COLSPAN=\"4\">" + title + "</TD>\r\n"), std::string::npos);
    EXPECT_NE(html.find("<TD ALIGN=\"LEFT\">" + escaped + "</TD><TD>20</TD><TD>&nbsp;</TD>"),
              std::string::npos);
    const std::string end = "</TABLE>\r\n</BODY>\r\n</HTML>\r\n";
    EXPECT_EQ(html.substr(html.size() - end.size()), end);
    const std::string text = ExportTableText(t);
    EXPECT_NE(text.find("  1\tNorth" + std::string(3995, ' ') + "\t"), std::string::npos);
}

TEST(TableExport, DecimalSymbolOnlyInValues) {
    EXPECT_EQ(ExportedValue("12.5", ','), "12,5");
    EXPECT_EQ(ExportedValue("12.5", '.'), "12.5");
    TableData t = PeriodTable();
    t.decimal = ',';
    t.rows[0].first = "2000.1"; // a period name keeps its point
    t.rows[0].values[0] = "0.25";
    EXPECT_NE(ExportTableText(t).find("2000.1\t           0,25\t"), std::string::npos);
}

} // namespace
} // namespace zor::grids
