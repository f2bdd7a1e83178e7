// zorexport catalogue end to end: the program is run on fixture databases.
#include "tests/support/Fixture.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::Fixture;
using test::RunTool;
using test::TempDir;

TEST(ZorexportCatalogue, PrintsTheWholeCatalogue) {
    TempDir dir;
    Fixture f(dir.path());
    f.Set(10000, "Land",
          {"Nord",
           "S\xfc"
           "d",
           "Summe"},
          {}, "LND")
        .Set(10100, "Nord", {"N1", "Nord total"}, {"Dorf"})
        .ParValues({7, -3})
        .Group(1, "Bev\xf6lkerung")
        .Indicator(1000, "Einwohner", {"", "Frauen"})
        .Periods({2002, 2001})
        .Config({"PROVIDER=ZOR-2", "DECIMAL SYMBOL=','",
                 "MAP COLORS=RGB(1,2,3) RGB(0,0,0) RGB(0,0,0) RGB(0,0,0) RGB(0,0,0) RGB(0,0,0) "
                 "RGB(255,255,255)"})
        .Write();
    auto r = RunTool("zorexport", {"catalogue", "DIR=" + dir.path()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string& out = r.out;
    std::string d = dir.path();
    EXPECT_EQ(out.find("{\"settings\":{\"provider\":\"ZOR-2\",\"dataSource\":\"" + d +
                       "\",\"dataDirectory\":\"" + d +
                       "\",\"passwordFile\":\"\",\"charset\":0,\"decimalSymbol\":\",\","
                       "\"mapColors\":[197121,0,0,0,0,0,16777215]},"),
              0u)
        << out;
    // Names are decoded from Windows-1252.
    EXPECT_NE(out.find("{\"id\":2,\"name\":\"S\xc3\xbc"
                       "d\"}"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"code\":\"LND\""), std::string::npos);
    EXPECT_NE(out.find("\"parValues\":[7,-3]"), std::string::npos);
    EXPECT_NE(out.find("{\"id\":1,\"name\":\"Bev\xc3\xb6lkerung\",\"announced\":1,\"indicators\":"
                       "[{\"code\":1000,\"name\":\"Einwohner\",\"variants\":[{\"code\":1002,"
                       "\"name\":\"Frauen\"}]}]}"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("{\"id\":10,\"name\":\"Temporary indicators\",\"announced\":0,"
                       "\"indicators\":[]}"),
              std::string::npos);
    EXPECT_NE(out.find("\"periods\":[{\"code\":2001,\"name\":\"2001\"},{\"code\":2002,"),
              std::string::npos);
    std::string allRegions = "\"allRegions\":[{\"key\":" + std::to_string(10100 * 65536 + 1) +
                             ",\"name\":\"N1\"},{\"key\":" + std::to_string(10100 * 65536 + 3) +
                             ",\"name\":\"Dorf\"},{\"key\":" + std::to_string(10000 * 65536 + 3) +
                             ",\"name\":\"Summe\"}]";
    EXPECT_NE(out.find(allRegions), std::string::npos) << out;
}

TEST(ZorexportCatalogue, StartUpFailureAndBadArguments) {
    TempDir dir;
    auto r = RunTool("zorexport", {"catalogue", "DIR=" + dir.path()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("zorgui.cfg"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);

    auto bad = RunTool("zorexport", {"catalogue", "--bogus"});
    EXPECT_EQ(bad.status, 64);
    EXPECT_NE(bad.err.find("usage: zorexport catalogue"), std::string::npos);
    EXPECT_EQ(RunTool("zorexport", {"nonsense"}).status, 64);
}

} // namespace
} // namespace zor
