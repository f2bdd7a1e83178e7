// zorexport render of the scattergram and the histogram: their JSON, their own options and
// every picture format, end to end.
#include "tests/support/Fixture.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::RunTool;

constexpr float M = MissingValue;

std::string K(int set, int region) {
    return std::to_string(MakeRegionKey(set, region));
}

// Four regions and their total; income in 2001 on a line with life expectancy in 2002.
struct Db {
    test::TempDir dir;
    Db() {
        test::Fixture f(dir.path());
        f.Set(10000, "Country", {"North", "South", "East", "West", "Total"});
        f.Group(0, "People").Indicator(10, "Income").Indicator(20, "Life");
        f.Periods({2001, 2002});
        f.Values(10000, 2001, 10, {10, 20, 30, 40, 25});
        f.Values(10000, 2002, 20, {15, 25, 35, 45, 30});
        f.Values(10000, 2001, 20, {60, 60, 60, 60, 60});
        f.Values(10000, 2002, 10, {M, M, M, M, M});
        f.Write();
    }
    test::ToolResult Render(const std::string& view, std::vector<std::string> extra,
                            const std::string& format, const std::string& out = {}) {
        std::vector<std::string> args = {
            "render", view,        "DIR=" + dir.path(), "--set",     "10000",     "--indicators",
            "10,20",  "--regions", K(10000, 2),         "--periods", "2001,2002", "--format",
            format};
        if (!out.empty()) args.insert(args.end(), {"--out", out});
        args.insert(args.end(), extra.begin(), extra.end());
        return RunTool("zorexport", args);
    }
};

TEST(ZorexportScatter, JsonOfRangesPointsLineAndCorrelation) {
    Db db;
    // X: income 2001 (the first of both lists); Y: life expectancy 2002 (the last).
    auto r = db.Render("scatter", {}, "json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(
        r.out.rfind("{\"x\":10,\"y\":20,\"periodX\":2001,\"periodY\":2002,\"ranges\":{\"xmin\":"
                    "10,\"xmax\":40,\"xstep\":5,\"ymin\":10,\"ymax\":50,\"ystep\":10},\"points"
                    "\":[{\"row\":0,\"key\":" +
                        K(10000, 1) + ",\"name\":\"North\",\"x\":10,\"y\":15,\"px\":0,\"py\":562}",
                    0),
        0u)
        << r.out;
    EXPECT_NE(r.out.find("\"regression\":{\"slope\":1,\"intercept\":5},\"equation\":\"Y = X+5\","
                         "\"correlation\":{\"n\":5,\"r\":1,\"lower\":1,\"upper\":1},"
                         "\"correlationText\":\"Correlation: 1\\nSignificant interval"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.err, "");

    // A band over North and South only (plot units of the 5750 x 4500 plot).
    r = db.Render("scatter", {"--zoom", "0,0,2000,1600"}, "json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"ranges\":{\"xmin\":10,\"xmax\":25,\"xstep\":5,\"ymin\":10,\"ymax\":"
                         "25,\"ystep\":5}"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"correlation\":null,\"correlationText\":null"), std::string::npos);
    EXPECT_NE(r.err.find("more than 3 points"), std::string::npos) << r.err;

    // Y: life expectancy 2001, 60 everywhere: a flat line, no correlation.
    r = db.Render("scatter", {"--period-y", "0"}, "json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"equation\":\"Y = 60\""), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("all X or all Y values are equal"), std::string::npos) << r.err;

    // X: income 2002, missing everywhere: no data, nulls.
    r = db.Render("scatter", {"--period", "1"}, "json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"xmin\":null,\"xmax\":null"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"points\":[],\"regression\":null,\"equation\":null"), std::string::npos);
    EXPECT_NE(r.err.find("Sorry, no data!"), std::string::npos);
}

TEST(ZorexportScatter, BadOptions) {
    Db db;
    EXPECT_EQ(db.Render("scatter", {"--indicator-y", "2"}, "json").status, 64);
    EXPECT_EQ(db.Render("scatter", {"--period-y", "x"}, "json").status, 64);
    const auto r = db.Render("scatter", {"--zoom", "1,2,3"}, "json");
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("--zoom"), std::string::npos);
    EXPECT_EQ(db.Render("scatter", {"--columns", "5"}, "json").status, 64);
}

TEST(ZorexportHistogram, JsonOfTheFitAndTheBoxes) {
    Db db;
    auto r = db.Render("histogram", {}, "json");
    ASSERT_EQ(r.status, 0) << r.err;
    // Income 10 .. 40: 10 .. 40 by 5 has six columns; seven of 4 reach 38, widened once to 4.4.
    EXPECT_EQ(r.out.rfind("{\"indicator\":10,\"period\":2001,\"columns\":7,\"origin\":10,", 0), 0u)
        << r.out;
    EXPECT_NE(r.out.find("\"width\":4.4,\"ymax\":"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"boxes\":[{\"row\":3,\"name\":\"West\",\"value\":40,\"rect\":["),
              std::string::npos)
        << r.out;
    r = db.Render("histogram", {"--columns", "3"}, "json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"columns\":3,"), std::string::npos);
    EXPECT_EQ(db.Render("histogram", {"--columns", "16"}, "json").status, 64);
    EXPECT_EQ(db.Render("histogram", {"--columns"}, "json").status, 64);
}

TEST(ZorexportStatGraphs, EveryPictureFormat) {
    Db db;
    for (const char* view : {"scatter", "histogram"})
        for (const char* format : {"png", "svg", "pdf", "emf", "draw", "print-pdf"}) {
            const std::string out = db.dir.file(std::string(view) + "." + format);
            const auto r = db.Render(view, {}, format, out);
            ASSERT_EQ(r.status, 0) << view << " " << format << " " << r.err;
            EXPECT_GT(test::ReadFile(out).size(), 100u) << view << " " << format;
        }
    const std::string draw = test::ReadFile(db.dir.file("scatter.draw"));
    EXPECT_NE(draw.find("\"Y = X+5\""), std::string::npos);
    EXPECT_NE(draw.find("windoworg -750 -900"), std::string::npos);
    EXPECT_NE(test::ReadFile(db.dir.file("histogram.draw")).find("\"Income, 2001\""),
              std::string::npos);
    EXPECT_EQ(test::ReadFile(db.dir.file("histogram.print-pdf")).substr(0, 5), "%PDF-");
}

} // namespace
} // namespace zor
