// zorexport render of the ranked bar charts and line charts: their JSON with the views' own
// options, the horizontal chart's pages and printout, and refused options.
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

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Forty regions and the total, life expectancy over five years (R1 grows by exactly 1 a year).
struct Db {
    test::TempDir dir;
    Db() {
        test::Fixture f(dir.path());
        std::vector<std::string> names;
        for (int k = 1; k <= 40; ++k) names.push_back("R" + std::to_string(k));
        names.push_back("Total");
        f.Set(10000, "Country", names);
        f.Group(1, "Health").Indicator(1010, "Life expectancy").Indicator(1020, "Mortality");
        f.Periods({2000, 2001, 2002, 2003, 2004});
        for (int y = 2000; y <= 2004; ++y) {
            std::vector<float> life, mortality;
            for (int k = 1; k <= 40; ++k) {
                life.push_back(float(k + (y - 2000) * (k == 1 ? 1 : 2)));
                mortality.push_back(y == 2002 && k == 2 ? M : float(100 * k));
            }
            life.push_back(50), mortality.push_back(2000);
            f.Values(10000, y, 1010, life);
            f.Values(10000, y, 1020, mortality);
        }
        f.Write();
    }
    test::ToolResult Render(const std::string& view, std::vector<std::string> extra) {
        std::vector<std::string> args = {"render",    view,        "DIR=" + dir.path(),
                                         "--set",     "10000",     "--indicators",
                                         "1010,1020", "--regions", K(10000, 1) + "," + K(10000, 2),
                                         "--periods", "2000,2004"};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunTool("zorexport", args);
    }
};

TEST(ZorexportRanked, VerticalJsonInDrawnOrder) {
    Db db;
    auto r = db.Render("ranked", {"--period", "1", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"indicator\":1010,\"period\":2004,\"axis\":{\"min\":0,", 0), 0u)
        << r.out;
    EXPECT_EQ(Count(r.out, "\"row\":"), 41u);
    // The total first (always highlighted, after the two selected regions), then R40; R1 is
    // highlighted first.
    EXPECT_NE(r.out.find("\"bars\":[{\"row\":40,\"key\":" + K(10000, 41) +
                         ",\"name\":\"Total\",\"value\":50,\"highlight\":2,\"rect\":[0,"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"name\":\"R40\",\"value\":48,\"highlight\":-1,"), std::string::npos);
    EXPECT_NE(r.out.find("\"name\":\"R1\",\"value\":5,\"highlight\":0,"), std::string::npos);

    const std::string png = db.dir.file("ranked.png");
    EXPECT_EQ(db.Render("ranked", {"--format", "png", "--out", png}).status, 0);
    EXPECT_EQ(test::ReadFile(png).substr(1, 3), "PNG");
    // The ranked charts need no regions.
    r = RunTool("zorexport", {"render", "ranked", "DIR=" + db.dir.path(), "--indicators", "1010",
                              "--periods", "2000", "--format", "json"});
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST(ZorexportRanked, HorizontalTwoBarsPagesAndPrintout) {
    Db db;
    auto r = db.Render("rankedh", {"--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"twoBars\":false"), std::string::npos);
    EXPECT_NE(r.out.find("\"perPage\":35,\"printPages\":3}"), std::string::npos) << r.out;
    EXPECT_EQ(Count(r.out, "\"rectA\":["), 35u); // the first screen page
    EXPECT_NE(r.out.find("{\"row\":40,\"name\":\"Total\",\"selected\":-1,\"valueA\":50,"
                         "\"valueB\":null,\"rectA\":[0,5200,"),
              std::string::npos)
        << r.out;

    // Two bars: life expectancy in 2000 against mortality in 2004, the second screen page.
    r = db.Render("rankedh", {"--two-bars", "--indicator-b", "1", "--period-b", "1", "--page", "2",
                              "--paper", "210x148", "--margins", "0", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"twoBars\":true"), std::string::npos);
    // 20 rows a screen page, the second from row 19; 4 rows a page of 148 mm.
    EXPECT_NE(r.out.find("\"perPage\":20,\"printPages\":11}"), std::string::npos) << r.out;
    // Inside the 15 mm margins of a printout the page is 118 mm high: 3 rows a page.
    const auto inside = db.Render("rankedh", {"--two-bars", "--indicator-b", "1", "--period-b", "1",
                                              "--paper", "210x148", "--format", "json"});
    EXPECT_NE(inside.out.find("\"printPages\":14}"), std::string::npos) << inside.out;
    EXPECT_EQ(Count(r.out, "\"rectA\":["), 20u);
    EXPECT_EQ(Count(r.out, "\"rectB\":["), 20u);
    EXPECT_NE(r.out.find("\"valueB\":4000"), std::string::npos);

    const std::string pdf = db.dir.file("ranked.pdf");
    r = db.Render("rankedh", {"--format", "print-pdf", "--out", pdf});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string bytes = test::ReadFile(pdf);
    EXPECT_EQ(Count(bytes, "/Type /Page") - Count(bytes, "/Type /Pages"), 3u);

    EXPECT_EQ(db.Render("rankedh", {"--page", "3", "--format", "json"}).status, 64);
    r = db.Render("rankedh", {"--indicator-b", "2", "--format", "json"});
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("past the indicator list"), std::string::npos) << r.err;
    EXPECT_EQ(db.Render("ranked", {"--two-bars", "--format", "json"}).status, 64);
}

TEST(ZorexportLine, AverageLogAndTrendFromAYear) {
    Db db;
    auto r = db.Render("linea", {"--trend-from", "2001", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"x\":{\"min\":2000,", 0), 0u) << r.out;
    EXPECT_NE(
        r.out.find("{\"label\":\"R1\",\"points\":[[2000,1],[2001,2],[2002,3],[2003,4],"
                   "[2004,5]],\"highlight\":false,\"trend\":{\"slope\":1,\"intercept\":-1999}}"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"log\":false"), std::string::npos);

    // The options apply as the menu would; the trend stays on after the scale.
    r = db.Render("linea", {"--trend-from", "2001", "--average", "--log", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"log\":true"), std::string::npos);
    EXPECT_NE(r.out.find("{\"label\":\"R1\",\"points\":[[2001,2],[2002,3],[2003,4]],"
                         "\"highlight\":false,\"trend\":{\"slope\":1,"),
              std::string::npos)
        << r.out;

    // B: one region, a line per indicator; the 2002 gap of R2's mortality in its points.
    r = db.Render("lineb", {"--region", "1", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"label\":\"Mortality\",\"points\":[[2000,200],[2001,200],[2003,200],"
                         "[2004,200]],"),
              std::string::npos)
        << r.out;
    // A clicked year at or after the last one shows no trend.
    r = db.Render("lineb", {"--trend-from", "2004", "--format", "json"});
    EXPECT_EQ(Count(r.out, "\"trend\":null"), 2u);

    // C: the indicators along x for a period; no average or trend of its own.
    r = db.Render("linec", {"--period", "1", "--log", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"x\":{\"min\":0,\"max\":1,\"step\":1}"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("{\"label\":\"R2\",\"points\":[[0,10],[1,200]],"), std::string::npos);
    EXPECT_EQ(db.Render("linec", {"--average", "--format", "json"}).status, 64);
    EXPECT_EQ(db.Render("linea", {"--trend-from", "soon", "--format", "json"}).status, 64);

    for (const std::string view : {"linea", "lineb", "linec"}) {
        const std::string emf = db.dir.file(view + ".emf");
        EXPECT_EQ(db.Render(view, {"--format", "emf", "--out", emf}).status, 0) << view;
        EXPECT_EQ(test::ReadFile(emf).substr(40, 4), " EMF") << view;
    }
}

} // namespace
} // namespace zor
