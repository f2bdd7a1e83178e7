// zorexport render end to end: the bar chart of a fixture database as drawing calls, as an
// enhanced metafile and as a PNG, and the exit statuses.
#include "tests/draw/EmfReader.h"
#include "tests/support/Fixture.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace zor {
namespace {

using test::RunTool;

constexpr float M = MissingValue;
constexpr uint32_t EmrRectangle = 43, EmrHeader = 1, EmrEof = 14;

std::string K(int set, int region) {
    return std::to_string(MakeRegionKey(set, region));
}

size_t CountLines(const std::string& text, const std::string& prefix) {
    std::istringstream in(text);
    size_t n = 0;
    for (std::string line; std::getline(in, line);) n += line.rfind(prefix, 0) == 0;
    return n;
}

struct Db {
    test::TempDir dir;
    Db() {
        test::Fixture f(dir.path());
        f.Set(10000, "Country", {"North", "South", "East", "Total"});
        f.Group(0, "Economy").Indicator(10, "GDP").Indicator(20, "Trade");
        f.Periods({2001, 2002});
        f.Values(10000, 2001, 10, {1, 2, 3, 6});
        f.Values(10000, 2002, 10, {M, 4, 5, 9});
        f.Values(10000, 2001, 20, {7, 8, 9, 24});
        f.Write();
    }
    test::ToolResult Render(std::vector<std::string> extra, const std::string& format,
                            const std::string& out) {
        std::vector<std::string> args = {
            "render",    "barchart",  "DIR=" + dir.path(),
            "--set",     "10000",     "--indicators",
            "10,20",     "--regions", K(10000, 1) + "," + K(10000, 2) + "," + K(10000, 3),
            "--periods", "2001,2002", "--format",
            format,      "--out",     out};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunTool("zorexport", args);
    }
};

TEST(ZorexportRender, DrawingCallsOfTheCurrentIndicator) {
    Db db;
    const std::string out = db.dir.file("chart.txt");
    auto r = db.Render({}, "draw", out);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string rec = test::ReadFile(out);
    EXPECT_EQ(rec.rfind("device display 800 600", 0), 0u);
    EXPECT_EQ(CountLines(rec, "windowext 8000 -6000"), 1u);
    EXPECT_EQ(CountLines(rec, "rect "), 5u + 3u); // North has no value in 2002
    EXPECT_NE(rec.find("\"GDP\""), std::string::npos);

    r = db.Render({"--indicator", "1", "--size", "1600x1200"}, "draw", out);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string second = test::ReadFile(out);
    EXPECT_EQ(second.rfind("device display 1600 1200", 0), 0u);
    EXPECT_EQ(CountLines(second, "rect "), 3u + 3u);
    EXPECT_NE(second.find("\"Trade\""), std::string::npos);
}

TEST(ZorexportRender, MetafileParsesBack) {
    Db db;
    const std::string out = db.dir.file("chart.emf");
    auto r = db.Render({}, "emf", out);
    ASSERT_EQ(r.status, 0) << r.err;
    const draw::test::EmfFile emf(test::ReadFile(out));
    ASSERT_FALSE(emf.Malformed());
    ASSERT_FALSE(emf.Records().empty());
    EXPECT_EQ(emf.Records().front().type, EmrHeader);
    EXPECT_EQ(emf.Records().back().type, EmrEof);
    EXPECT_EQ(emf.Count(EmrRectangle), 1u + 5u + 3u); // the white frame, bars, legend
    // Rendering again gives the same bytes.
    const std::string again = db.dir.file("again.emf");
    ASSERT_EQ(db.Render({}, "emf", again).status, 0);
    EXPECT_EQ(test::ReadFile(again), emf.Bytes());
}

TEST(ZorexportRender, PngOfTheRequestedSize) {
    Db db;
    const std::string out = db.dir.file("chart.png");
    auto r = db.Render({"--size", "400x300"}, "png", out);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string png = test::ReadFile(out);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
        return uint32_t(uint8_t(png[at])) << 24 | uint32_t(uint8_t(png[at + 1])) << 16 |
               uint32_t(uint8_t(png[at + 2])) << 8 | uint32_t(uint8_t(png[at + 3]));
    };
    EXPECT_EQ(be32(16), 400u);
    EXPECT_EQ(be32(20), 300u);
}

TEST(ZorexportRender, JsonOfTheBarsInDrawnOrder) {
    Db db;
    // No --out: text formats go to standard output.
    auto r = RunTool("zorexport", {"render", "barchart", "DIR=" + db.dir.path(), "--set", "10000",
                                   "--indicators", "10,20", "--regions",
                                   K(10000, 1) + "," + K(10000, 2) + "," + K(10000, 3), "--periods",
                                   "2001,2002", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"indicator\":10,\"axis\":{\"min\":0,\"max\":", 0), 0u) << r.out;
    // North has no value in 2002: five bars, the last is East in 2002.
    size_t bars = 0;
    for (size_t at = r.out.find("\"period\":"); at != std::string::npos;
         at = r.out.find("\"period\":", at + 1))
        ++bars;
    EXPECT_EQ(bars, 5u);
    EXPECT_NE(r.out.find("{\"period\":2002,\"row\":2,\"key\":" + K(10000, 3) +
                         ",\"name\":\"East\",\"value\":5,"),
              std::string::npos)
        << r.out;

    // The bar chart prints one page; it has no table exports.
    const std::string pdf = db.dir.file("chart.pdf");
    EXPECT_EQ(db.Render({}, "print-pdf", pdf).status, 0);
    EXPECT_EQ(test::ReadFile(pdf).substr(0, 5), "%PDF-");
    r = db.Render({}, "html", db.dir.file("chart.html"));
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("no html export"), std::string::npos);
}

TEST(ZorexportViews, ListsTheViewTableForScripts) {
    auto r = RunTool("zorexport", {"views"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"views\":[", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("{\"name\":\"barchart\",\"command\":3010,\"title\":\"Bar Chart\","
                         "\"needs\":[\"indicators\",\"regions\",\"periods\"],\"options\":[]}"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(RunTool("zorexport", {"views", "--all"}).status, 64);
}

TEST(ZorexportRender, ExitStatuses) {
    Db db;
    const std::string out = db.dir.file("x.txt");
    auto r = db.Render({"--indicator", "2"}, "draw", out);
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("usage:"), std::string::npos);
    EXPECT_EQ(db.Render({"--size", "0x10"}, "draw", out).status, 64);
    EXPECT_EQ(db.Render({}, "gif", out).status, 64);
    // Margins that leave no paper (A4 is 210 mm wide) are refused; 0 is paper without margins.
    r = db.Render({"--margins", "105"}, "print-pdf", out);
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("margins"), std::string::npos) << r.err;
    EXPECT_EQ(db.Render({"--margins", "0", "--paper", "100x80"}, "print-pdf", out).status, 0);
    EXPECT_EQ(test::ReadFile(out).substr(0, 5), "%PDF-");
    std::filesystem::remove(out);
    EXPECT_EQ(RunTool("zorexport", {"render", "piechart", "DIR=" + db.dir.path(), "--set", "10000",
                                    "--format", "draw", "--out", out})
                  .status,
              64);
    EXPECT_FALSE(test::ReadFile(out).size());

    r = RunTool("zorexport", {"render", "barchart", "DIR=" + db.dir.file("missing/"), "--set",
                              "10000", "--indicators", "10", "--regions", K(10000, 1), "--periods",
                              "2001", "--format", "draw", "--out", out});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(test::ReadFile(out).size());

    // A file that cannot be written: status 1, naming it.
    const std::string unwritable = db.dir.file("missing/x.json");
    r = db.Render({}, "json", unwritable);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zorexport: cannot write " + unwritable + "\n");

    // A region key the catalogue does not have is refused, naming it.
    r = RunTool("zorexport", {"render", "barchart", "DIR=" + db.dir.path(), "--set", "10000",
                              "--indicators", "10", "--regions", K(10000, 9), "--periods", "2001",
                              "--format", "draw", "--out", out});
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find(K(10000, 9)), std::string::npos) << r.err;
    EXPECT_FALSE(test::ReadFile(out).size());

    // A set the catalogue does not have holds none of the keys.
    r = RunTool("zorexport", {"render", "barchart", "DIR=" + db.dir.path(), "--set", "12345",
                              "--indicators", "10", "--regions", K(10000, 1), "--periods", "2001",
                              "--format", "draw", "--out", out});
    EXPECT_EQ(r.status, 64);
}

} // namespace
} // namespace zor
