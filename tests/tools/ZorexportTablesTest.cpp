// zorexport render of tables A-E: the text formats (the bytes of "Export" and "Copy"), the JSON
// of the cells, the picture and the printout in pages, and the arguments they need.
#include "tests/support/Fixture.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::RunTool;

constexpr float M = MissingValue;

std::string K(int region) {
    return std::to_string(MakeRegionKey(10000, region));
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

struct Db {
    test::TempDir dir;
    explicit Db(int regions = 3) {
        test::Fixture f(dir.path());
        std::vector<std::string> names{"North", "South", "East"};
        for (int r = 4; r <= regions; ++r) names.push_back("Region " + std::to_string(r));
        names.push_back("Total");
        f.Set(10000, "Country", names);
        f.Group(0, "Economy").Indicator(10, "GDP").Indicator(20, "Trade");
        f.Periods({2001, 2002});
        f.Values(10000, 2001, 10, {1.5f, 2, 3});
        f.Values(10000, 2002, 10, {M, 4, 5});
        f.Values(10000, 2001, 20, {7, 8, 9});
        f.Write();
    }
    test::ToolResult Render(const std::string& view, std::vector<std::string> args) {
        std::vector<std::string> all = {"render", view, "DIR=" + dir.path(), "--set", "10000"};
        all.insert(all.end(), args.begin(), args.end());
        return RunTool("zorexport", all);
    }
};

const std::vector<std::string> Lists = {"--indicators",    "10,20",     "--regions",
                                        K(1) + "," + K(2), "--periods", "2001,2002"};

std::vector<std::string> With(std::vector<std::string> extra) {
    std::vector<std::string> out = Lists;
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

TEST(ZorexportTables, TextFormatsAreTheBytesOfExportAndCopy) {
    Db db;
    auto txt = db.Render("table-a", With({"--format", "txt"}));
    ASSERT_EQ(txt.status, 0) << txt.err;
    EXPECT_EQ(txt.out, "GDP\r\n"
                       "   \t     \t           2001\t           2002\r\n"
                       "  1\tNorth\t            1.5\t               \r\n"
                       "  2\tSouth\t              2\t              4\r\n"
                       "  3\tEast \t              3\t              5\r\n"
                       "  4\tTotal\t               \t               \r\n");
    // To a file: the same bytes.
    const std::string out = db.dir.file("a.txt");
    ASSERT_EQ(db.Render("table-a", With({"--format", "txt", "--out", out})).status, 0);
    EXPECT_EQ(test::ReadFile(out), txt.out);

    const auto html = db.Render("table-a", With({"--format", "html", "--indicator", "1"}));
    ASSERT_EQ(html.status, 0) << html.err;
    EXPECT_EQ(html.out.rfind("<HTML>\r\n<HEAD>\r\n", 0), 0u);
    EXPECT_NE(html.out.find("<TITLE>Table A</TITLE>"), std::string::npos);
    EXPECT_NE(html.out.find("<TD COLSPAN=\"4\">Trade</TD>\r\n"), std::string::npos);
    EXPECT_NE(html.out.find("<TD ALIGN=\"LEFT\">North</TD><TD>7</TD><TD>&nbsp;</TD></TR>"),
              std::string::npos)
        << html.out;

    const auto copy = db.Render("table-a", With({"--format", "copy"}));
    ASSERT_EQ(copy.status, 0) << copy.err;
    EXPECT_EQ(copy.out.rfind("Version:0.9\r\nStartHTML:00000097\r\n", 0), 0u) << copy.out;
    EXPECT_NE(copy.out.find("<!--StartFragment -->\r\n<b>GDP</b><TABLE>"), std::string::npos);
    EXPECT_NE(copy.out.find("<TR><TD>1</TD><TD>North</TD><TD>1.5</TD><TD>&nbsp;</TD></TR>"),
              std::string::npos);

    // Every period of the indicator, as table A's "Export" writes it.
    const auto all = db.Render(
        "table-a", {"--indicators", "10", "--periods", "2002", "--format", "txt", "--all-periods"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_NE(all.out.find("\t           2001\t           2002\r\n"), std::string::npos) << all.out;
}

TEST(ZorexportTables, JsonOfTheCellsOfEveryTable) {
    Db db;
    auto r = db.Render("table-b", With({"--format", "json", "--indicator", "0"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"title\":\"GDP\",\"headers\":[\"Time periods\",\"North\",\"South\"],"
                     "\"rows\":[[\"2001\",\"1.5\",\"2\"],[\"2002\",\". . .\",\"4\"]]}\n");
    r = db.Render("table-c", With({"--format", "json", "--region", "1"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"title\":\"South\",\"headers\":[\"Time periods\",\"GDP\",\"Trade\"],"
                     "\"rows\":[[\"2001\",\"2\",\"8\"],[\"2002\",\"4\",\". . .\"]]}\n");
    r = db.Render("table-d", {"--indicators", "10", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("[\"  1 North\",\"1.5 - 2001\",\"1.5 - 2001\"]"), std::string::npos)
        << r.out;
    r = db.Render("table-e", With({"--format", "json", "--period", "1"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"title\":\"2002\",\"headers\":[\"Regions\",\"GDP\",\"Trade\"],"
                          "\"rows\":[[\"  1 North\",\". . .\",\". . .\"],",
                          0),
              0u)
        << r.out;
}

TEST(ZorexportTables, PictureAndPrintoutInPages) {
    Db db(200);
    const std::string png = db.dir.file("a.png");
    auto r = db.Render("table-a", With({"--format", "png", "--out", png}));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string bytes = test::ReadFile(png);
    ASSERT_GT(bytes.size(), 24u);
    // The picture's height: title 50 + header 20 + 201 rows of 14 + 2.
    const auto be32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at]) << 24 |
                                     static_cast<unsigned char>(bytes[at + 1]) << 16 |
                                     static_cast<unsigned char>(bytes[at + 2]) << 8 |
                                     static_cast<unsigned char>(bytes[at + 3]));
    };
    EXPECT_EQ(be32(20), 50u + 20u + 201u * 14u + 2u);

    const std::string pdf = db.dir.file("a.pdf");
    r = db.Render("table-a", With({"--format", "print-pdf", "--out", pdf}));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string a4 = test::ReadFile(pdf);
    const size_t pages = Count(a4, "/Type /Page") - Count(a4, "/Type /Pages");
    EXPECT_GE(pages, 2u);
    // A lower paper holds fewer rows: more pages.
    r = db.Render("table-a", With({"--format", "print-pdf", "--out", pdf, "--paper", "210x100"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string low = test::ReadFile(pdf);
    EXPECT_GT(Count(low, "/Type /Page") - Count(low, "/Type /Pages"), pages);

    const std::string emf = db.dir.file("a.emf");
    ASSERT_EQ(db.Render("table-a", With({"--format", "emf", "--out", emf})).status, 0);
    EXPECT_EQ(test::ReadFile(emf).substr(40, 4), " EMF");
}

TEST(ZorexportTables, ArgumentsTheTablesNeed) {
    Db db;
    // Table B needs regions, table D only indicators.
    auto r = db.Render("table-b", {"--indicators", "10", "--format", "txt"});
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("--regions"), std::string::npos);
    EXPECT_EQ(db.Render("table-d", {"--indicators", "10", "--format", "txt"}).status, 0);
    // --all-periods is table A's own.
    r = db.Render("table-b", With({"--format", "txt", "--all-periods"}));
    EXPECT_EQ(r.status, 64);
    // Pictures need a file.
    EXPECT_EQ(db.Render("table-a", With({"--format", "png"})).status, 64);
    r = db.Render("table-a", With({"--format", "txt", "--out", db.dir.file("no/such/a.txt")}));
    EXPECT_EQ(r.status, 1);
}

} // namespace
} // namespace zor
