// zorexport render of the boxplots, the region profile and data availability: their JSON, the
// profile's text formats (the bytes of its Export and Copy), pictures in every format, the
// printout, and the options only these views take.
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

struct Db {
    test::TempDir dir;
    Db() {
        test::Fixture f(dir.path());
        f.Set(10000, "Country", {"North", "South", "East", "Total"});
        f.Set(10100, "Region", {"A", "B", "Total B"});
        f.Group(0, "Economy").Indicator(10, "GDP", {"GDP growth"}).Indicator(20, "Trade");
        f.Group(1, "Health").Indicator(1010, "Life");
        f.Periods({2001, 2002});
        f.Values(10000, 2001, 10, {1.5f, 2, 3, 6.5f});
        f.Values(10000, 2002, 10, {M, 4, 5, 9});
        f.Values(10000, 2001, 20, {7, 8, 9});
        f.Values(10100, 2001, 1010, {70, 80, 75});
        f.Write();
    }
    test::ToolResult Render(const std::string& view, std::vector<std::string> args) {
        std::vector<std::string> all = {"render", view, "DIR=" + dir.path()};
        all.insert(all.end(), args.begin(), args.end());
        return RunTool("zorexport", all);
    }
};

const std::vector<std::string> Lists = {"--indicators", "10,20",
                                        "--regions",    K(10000, 1) + "," + K(10000, 2),
                                        "--periods",    "2001,2002"};

std::vector<std::string> With(std::vector<std::string> extra) {
    std::vector<std::string> out = Lists;
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

TEST(ZorexportGridViews, BoxplotJsonWithTheFractionOption) {
    Db db;
    auto r = db.Render("boxplot-value", With({"--format", "json", "--fraction", "0.5"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"fraction\":0.5,\"records\":[{\"indicator\":10,\"period\":2001,"
                          "\"valueCount\":4,\"maxValue\":6.5,\"minValue\":1.5,\"boxTopIndex\":1,"
                          "\"boxBottomIndex\":3,\"boxHigh\":3,\"boxLow\":1.5,\"regionValue\":1.5,"
                          "\"totalValue\":6.5},",
                          0),
              0u)
        << r.out;
    // North has no value in 2002; trade has none in 2002 at all.
    EXPECT_NE(r.out.find("\"period\":2002,\"valueCount\":3,\"maxValue\":9,\"minValue\":4,"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"boxLow\":4,\"regionValue\":null,\"totalValue\":9}"), std::string::npos);
    EXPECT_NE(r.out.find("{\"indicator\":20,\"period\":2002,\"valueCount\":0,\"maxValue\":null"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"footer\":\"50% middle values are in\\nbox\\nregion value\\naverage "
                         "value\"}\n"),
              std::string::npos);

    r = db.Render("boxplot-rank", With({"--format", "json", "--region", "1"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"fraction\":null,\"records\":[{\"indicator\":10,\"period\":2001,"
                          "\"valueCount\":4,\"maxValue\":6.5,\"minValue\":1.5,\"regionValue\":2,"
                          "\"totalValue\":6.5,\"regionRank\":2,\"totalRank\":4},",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("\"period\":2002,\"valueCount\":-1,"), std::string::npos);

    for (const char* bad : {"0", "2", "half"}) {
        r = db.Render("boxplot-value", With({"--format", "json", "--fraction", bad}));
        EXPECT_EQ(r.status, 64) << bad;
        EXPECT_NE(r.err.find("--fraction"), std::string::npos);
    }
    EXPECT_EQ(db.Render("boxplot-rank", With({"--format", "json", "--fraction", "0.5"})).status,
              64);
    // The boxplots have no table exports.
    EXPECT_EQ(db.Render("boxplot-value", With({"--format", "txt"})).status, 64);
}

TEST(ZorexportGridViews, ProfileTextFormatsAndJson) {
    Db db;
    // Regions and periods suffice; the indicators are then the first group with data.
    const std::vector<std::string> lists = {"--regions", K(10000, 2) + "," + K(10000, 3),
                                            "--periods", "2001,2002"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> out = lists;
        out.insert(out.end(), extra.begin(), extra.end());
        return out;
    };
    auto r = db.Render("profile", with({"--format", "txt", "--region", "1"}));
    ASSERT_EQ(r.status, 0) << r.err;
    // Column 0 as wide as its longest text (19), the values in fields of 20.
    EXPECT_EQ(r.out, "East\r\n"
                     "                   \t                2001\t                2002\r\n"
                     "0010 GDP           \t             3 - 50%\t             5 - 50%\r\n"
                     "    0011 GDP growth\t               . . .\t               . . .\r\n"
                     "0020 Trade         \t             9 - 75%\t               . . .\r\n");
    r = db.Render("profile", with({"--format", "html"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("<TITLE>Region profile</TITLE>"), std::string::npos);
    EXPECT_NE(r.out.find("<TD COLSPAN=\"3\">South</TD>\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("<TD ALIGN=\"LEFT\">    0011 GDP growth</TD><TD>&nbsp;</TD>"
                         "<TD>&nbsp;</TD></TR>\r\n"),
              std::string::npos)
        << r.out;
    r = db.Render("profile", with({"--format", "copy"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("<TR><TD>0010 GDP</TD><TD>2</TD><TD> 25%</TD><TD>4</TD><TD> 25%</TD>"),
              std::string::npos)
        << r.out;

    r = db.Render("profile", with({"--format", "json"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"region\":{\"key\":" + K(10000, 2) +
                              ",\"name\":\"South\"},\"periods\":[2001,2002],\"rows\":[{"
                              "\"indicator\":10,\"cells\":[{\"profileValue\":2,\"belowShare\":"
                              "0.25,\"text\":\"2 - 25%\",\"colour\":\"#008000\"},",
                          0),
              0u)
        << r.out;
    // The profile needs regions and periods only.
    r = db.Render("profile", {"--periods", "2001", "--format", "json"});
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("--regions"), std::string::npos);
}

TEST(ZorexportGridViews, AvailabilityWithItsGroupAndZone) {
    Db db;
    auto r = db.Render("availability", {"--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"group\":0,\"zone\":10000,\"periods\":[2001,2002],\"rows\":["
                     "{\"indicator\":10,\"cells\":[\"100%\",\"75%\"]},"
                     "{\"indicator\":11,\"cells\":[\"0%\",\"0%\"]},"
                     "{\"indicator\":20,\"cells\":[\"75%\",\"0%\"]}]}\n");
    r = db.Render("availability", {"--group", "1", "--zone", "10100", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"group\":1,\"zone\":10100,\"periods\":[2001,2002],\"rows\":["
                     "{\"indicator\":1010,\"cells\":[\"100%\",\"0%\"]}]}\n");
    // The selection's set is the zone unless --zone says otherwise.
    r = db.Render("availability", {"--set", "10100", "--format", "json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"zone\":10100"), std::string::npos);

    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"--group", "9"}, {"--group", "x"}, {"--zone", "10200"}, {"--zone", "-"}}) {
        std::vector<std::string> args = bad;
        args.insert(args.end(), {"--format", "json"});
        r = db.Render("availability", args);
        EXPECT_EQ(r.status, 64) << bad[0] << " " << bad[1];
        EXPECT_NE(r.err.find(bad[0]), std::string::npos);
    }
}

TEST(ZorexportGridViews, PicturesAndPrintoutsOfEveryView) {
    Db db;
    const std::vector<std::pair<std::string, std::vector<std::string>>> views = {
        {"boxplot-value", Lists},
        {"boxplot-rank", Lists},
        {"profile", Lists},
        {"availability", {}}};
    for (const auto& [view, lists] : views) {
        for (const char* format : {"png", "svg", "pdf", "emf", "draw", "print-pdf"}) {
            const std::string out = db.dir.file(view + "." + format);
            std::vector<std::string> args = lists;
            args.insert(args.end(), {"--format", format, "--out", out});
            const auto r = db.Render(view, args);
            ASSERT_EQ(r.status, 0) << view << " " << format << ": " << r.err;
            const std::string bytes = test::ReadFile(out);
            ASSERT_GT(bytes.size(), 40u) << view << " " << format;
            const std::string f = format;
            if (f == "png") {
                EXPECT_EQ(bytes.substr(1, 3), "PNG");
            } else if (f == "emf") {
                EXPECT_EQ(bytes.substr(40, 4), " EMF");
            } else if (f.ends_with("pdf")) {
                EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
            }
        }
    }
    // The boxplot's window: bars and the legend in the drawing calls.
    const std::string draw = test::ReadFile(db.dir.file("boxplot-value.draw"));
    EXPECT_NE(draw.find("\"80% middle values are in\""), std::string::npos);
    EXPECT_NE(draw.find("brush solid #00c000"), std::string::npos);
    EXPECT_NE(test::ReadFile(db.dir.file("availability.draw")).find("\"75%\""), std::string::npos);
}

} // namespace
} // namespace zor
