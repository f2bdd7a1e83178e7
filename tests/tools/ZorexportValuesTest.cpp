// zorexport values end to end: tables built and loaded from fixture databases.
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

// Country (North, Süd, Total) and North (N1, its total, small region Nt; code "NO").
struct Db {
    test::TempDir dir;
    Db() {
        test::Fixture f(dir.path());
        f.Set(10000, "Country",
              {"North",
               "S\xfc"
               "d",
               "Total"});
        f.Set(10100, "North", {"N1", "North total"}, {"Nt"}, "NO");
        f.Group(0, "Economy").Indicator(10, "GDP");
        f.Periods({2001, 2002});
        f.Values(10100, 2001, 10, {1.5f, 9, 2.25f});
        f.Values(10100, 2002, 10, {M, 9, 3});
        f.Values(10000, 2001, 10, {M, 4, 100});
        f.Values(10000, 2002, 10, {M, M, 0.1f});
        TempIndicatorDef sum;
        sum.name = "Twice";
        sum.code = 10000;
        sum.operation = 3;
        sum.operandA = 10;
        sum.operandB = 10;
        f.Temp(sum);
        f.Write();
    }
    test::ToolResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"values", "DIR=" + dir.path()});
        return RunTool("zorexport", args);
    }
};

TEST(ZorexportValues, AllSetsWithLastAvailable) {
    Db db;
    auto r =
        db.Run({"--set", "19900", "--row-mode", "0", "--indicators", "10", "--periods", "2001,-2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string want =
        "{\"setCode\":19900,\"rowMode\":0,\"rows\":[{\"key\":" + K(10100, 1) +
        ",\"label\":\"N1 (NO)\"},{\"key\":" + K(10100, 3) +
        ",\"label\":\"Nt (NO)\"},{\"key\":" + K(10000, 3) +
        ",\"label\":\"Total\"}],\"totalRow\":2,\"periods\":[2001,-2],\"indicators\":[10],"
        "\"values\":[[[1.5,2.25,100]],[[1.5,3,0.1]]],"
        "\"firstAvailable\":[[0,0,0]],\"lastAvailable\":[[2001,2002,2002]],"
        "\"axes\":[{\"min\":0,\"max\":100,\"step\":10}]}\n";
    EXPECT_EQ(r.out, want);
}

TEST(ZorexportValues, SelectedRegionsTemporaryIndicatorAndZeroAxis) {
    Db db;
    auto r = db.Run({"--set", "19900", "--row-mode", "1", "--zero-axis", "--indicators", "10,10000",
                     "--regions", K(10000, 2) + "," + K(10100, 3), "--periods", "-1,2002"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& out = r.out;
    // Labels are the region names as the dialog stores them, decoded to UTF-8.
    EXPECT_NE(out.find("\"rows\":[{\"key\":" + K(10000, 2) +
                       ",\"label\":\"S\xc3\xbc"
                       "d\"},"
                       "{\"key\":" +
                       K(10100, 3) + ",\"label\":\"Nt (NO)\"}],\"totalRow\":-1"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"values\":[[[4,2.25],[8,4.5]],[[null,3],[null,6]]]"), std::string::npos)
        << out;
    EXPECT_NE(out.find("\"firstAvailable\":[[2001,2001],[2001,2001]],"
                       "\"lastAvailable\":[[0,0],[0,0]]"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"axes\":[{\"min\":0,\"max\":4,\"step\":1},{\"min\":0,\"max\":8,"
                       "\"step\":1}]"),
              std::string::npos)
        << out;
}

TEST(ZorexportValues, RegionKeysOutsideTheCatalogueOrTheSetAreRefused) {
    Db db;
    struct Case {
        std::string set, regions, message;
    };
    const std::vector<Case> cases = {
        // No region 7 in North, no set 10300: today's table would show rows of no region.
        {"19900", K(10100, 3) + "," + K(10100, 7),
         "region key " + K(10100, 7) + " is not in the catalogue"},
        {"19900", K(10300, 1), "region key " + K(10300, 1) + " is not in the catalogue"},
        {"10000", K(10000, 9), "region key " + K(10000, 9) + " is not in the catalogue"},
        // A region of another set: within a set only the region id would count, giving the
        // values of that set's region 1 under another region's key.
        {"10000", K(10000, 1) + "," + K(10100, 1),
         "region key " + K(10100, 1) + " is not in set 10000"},
        {"10100", K(10000, 2), "region key " + K(10000, 2) + " is not in set 10100"},
        // With an unknown set no key can be in it.
        {"10500", K(10000, 1), "region key " + K(10000, 1) + " is not in set 10500"}};
    for (const Case& c : cases) {
        auto r = db.Run({"--set", c.set, "--row-mode", "1", "--indicators", "10", "--regions",
                         c.regions, "--periods", "2001"});
        EXPECT_EQ(r.status, 64) << c.regions;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("zorexport values: " + c.message + "\n", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("usage: zorexport values"), std::string::npos) << r.err;
    }
    // The keys of the chosen set pass, in either row mode.
    for (const std::string mode : {"0", "1"}) {
        auto r = db.Run({"--set", "10100", "--row-mode", mode, "--indicators", "10", "--regions",
                         K(10100, 1) + "," + K(10100, 3), "--periods", "2001"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
    }
}

TEST(ZorexportValues, UnknownSetPrintsTheTableAndExitsThree) {
    Db db;
    auto r =
        db.Run({"--set", "10500", "--row-mode", "0", "--indicators", "10", "--periods", "2001"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "{\"setCode\":10500,\"rowMode\":0,\"rows\":[],\"totalRow\":-1,"
                     "\"periods\":[2001],\"indicators\":[10],\"values\":[[[]]],"
                     "\"firstAvailable\":[[]],\"lastAvailable\":[[]],"
                     "\"axes\":[{\"min\":null,\"max\":null,\"step\":0}]}\n");
}

TEST(ZorexportValues, BadArgumentsAndStartUpFailure) {
    Db db;
    const std::vector<std::vector<std::string>> bad = {
        {"--row-mode", "0", "--indicators", "10", "--periods", "2001"}, // no --set
        {"--set", "10000", "--row-mode", "3", "--indicators", "10", "--periods", "2001"},
        {"--set", "10000", "--row-mode", "0", "--indicators", "10,x", "--periods", "2001"},
        {"--set", "10000", "--row-mode", "0", "--indicators", "10", "--periods", "99999"},
        {"--set", "10000", "--row-mode", "0", "--indicators", "10"}, // no periods
        {"--set", "10000", "--row-mode", "0", "--indicators", "10", "--periods", "2001", "--x"},
        {"--set", "10000", "--row-mode", "0", "--indicators", "10", "--periods"},
        {"--set", "10000", "--row-mode", "1", "--indicators", "10", "--regions", "1,,2",
         "--periods", "2001"}};
    for (const auto& args : bad) {
        auto r = db.Run(args);
        EXPECT_EQ(r.status, 64) << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: zorexport values"), std::string::npos) << r.err;
    }
    test::TempDir empty;
    auto r = RunTool("zorexport", {"values", "DIR=" + empty.path(), "--set", "10000", "--row-mode",
                                   "0", "--indicators", "10", "--periods", "2001"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("zorgui.cfg"), std::string::npos) << r.err;
}

} // namespace
} // namespace zor
