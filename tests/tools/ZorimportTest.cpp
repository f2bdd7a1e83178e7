// zorimport end to end: source folders written here are imported, and what the program reads
// back (zorexport, the core's parsers) is compared with the source.
#include "core/Bitmap.h"
#include "core/Bytes.h"
#include "core/DataStore.h"
#include "core/FileProvider.h"
#include "core/Formats.h"
#include "core/Ids.h"
#include "core/MapFormat.h"
#include "core/Texts.h"
#include "tests/support/Fixture.h"
#include "tests/tools/MapChecks.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <set>

namespace zor {
namespace {

namespace fs = std::filesystem;
using test::Area;
using test::Contains;
using test::Inside;
using test::RunTool;

// A source folder in Windows-1250 with a top level of two regions and a total, and the
// sub-region set of the first region with one region, its total and a small region.
const char* const BaseManifest = R"({
  "charset": 238,
  "decimalSymbol": ",",
  "nameLengths": {"region": 12},
  "regionSets": [
    {"id": 10000, "name": "Country", "code": "CTY",
     "regions": [{"id": 1, "name": "North", "feature": "N"},
                 {"id": 2, "name": "South", "feature": "S"},
                 {"id": 3, "name": "Total"}],
     "map": {"file": "maps/top.geojson"}},
    {"id": 10100, "name": "North", "code": "NOR",
     "regions": [{"id": 1, "name": "Łódź"}, {"id": 2, "name": "North total"}],
     "smallRegions": [{"id": 3, "name": "Town"}],
     "map": {"file": "maps/north.geojson", "coordinates": "lonlat"}}
  ],
  "groups": [
    {"id": 0, "name": "Population", "indicators": [
      {"code": 0, "name": "Population", "definition": "def/pop.txt",
       "variants": [{"code": 1, "name": "Population growth"}]},
      {"code": 10, "name": "Fertility"}]},
    {"id": 2, "name": "Economy", "indicators": [{"code": 2000, "name": "GDP"}]}
  ],
  "periods": [2000, 2001, {"code": 2002, "name": "Year 2002"}],
  "values": ["values.csv", {"file": "north.csv", "set": 10100}],
  "picture": "front.bmp"
})";

const char* const BaseValues = "set,region,indicator,year,value\n"
                               "10000,1,0,2000,100\n"
                               "10000,2,0,2000,200.5\n"
                               "10000,3,0,2000,300.5\n"
                               "10000,1,0,2001,\n"
                               "10000,1,10,2002,1.25\n"
                               "10000,2,10,2002,2\n"
                               "10000,3,10,2002,1.5\n"
                               "10000,1,2000,2002,7\n"
                               "10000,2,2000,2002,8\n"
                               "10000,3,2000,2002,15\n";

const char* const NorthValues = "region,indicator,year,value,note\n"
                                "1,0,2000,100,\"a, quoted\"\n"
                                "2,0,2000,100,\n"
                                "3,1,2002,-1.5,\n";

// North is a 10 x 5 rectangle with a square hole; South a 10 x 5 rectangle and an island.
const char* const TopMap = R"({"type":"FeatureCollection","features":[
{"type":"Feature","id":"N","properties":{},"geometry":{"type":"Polygon","coordinates":
  [[[0,0],[10,0],[10,5],[0,5],[0,0]],[[4,1],[6,1],[6,3],[4,3],[4,1]]]}},
{"type":"Feature","id":"S","properties":{},"geometry":{"type":"MultiPolygon","coordinates":
  [[[[0,5],[10,5],[10,10],[0,10],[0,5]]],[[[12,5],[13,5],[13,6],[12,5]]]]}}
]})";

const char* const NorthMap = R"({"type":"FeatureCollection","features":[
{"type":"Feature","id":1,"properties":{},"geometry":{"type":"Polygon","coordinates":
  [[[19,51],[20,51],[20,52],[19,52],[19,51]]]}}
]})";

// A 2 x 2 24-bit bitmap.
std::string SmallBitmap() {
    std::string b = "BM";
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) b += char(v >> (8 * i));
    };
    auto u16 = [&](uint16_t v) {
        b += char(v);
        b += char(v >> 8);
    };
    u32(54 + 16);
    u32(0);
    u32(54);
    u32(40);
    u32(2);
    u32(2);
    u16(1);
    u16(24);
    u32(0);
    u32(16);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    b += std::string(16, '\x7f');
    return b;
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    size_t p = text.find(from);
    ASSERT_NE(p, std::string::npos) << "no \"" << from << "\" in the source";
    text.replace(p, from.size(), to);
}

class Source {
public:
    Source() {
        manifest = BaseManifest;
        files["values.csv"] = BaseValues;
        files["north.csv"] = NorthValues;
        files["maps/top.geojson"] = TopMap;
        files["maps/north.geojson"] = NorthMap;
        files["def/pop.txt"] = "Number of people living in the region.\r\n\r\nSource: test.\r\n";
        files["front.bmp"] = SmallBitmap();
    }

    std::string src() const { return dir.path() + "src/"; }
    std::string target() const { return dir.path() + "out"; }
    std::string out(const std::string& name) const { return target() + "/" + name; }

    test::ToolResult Import() const {
        fs::remove_all(src());
        for (const auto& [name, text] : files) {
            fs::create_directories(fs::path(src() + name).parent_path());
            test::WriteFile(src() + name, text);
        }
        test::WriteFile(src() + "manifest.json", manifest);
        return RunTool("zorimport", {src(), target()});
    }

    // Entries of the folder that holds the source and the target.
    std::vector<std::string> Siblings() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::ToolResult Export(std::vector<std::string> args) const {
        args.insert(args.begin() + 1, "DIR=" + target() + "/");
        return RunTool("zorexport", args);
    }

    std::string manifest;
    std::map<std::string, std::string> files;

private:
    test::TempDir dir;
};

MapFile ReadMap(const std::string& path) {
    auto m = ParseMapFile(test::ReadFile(path));
    EXPECT_TRUE(m) << path;
    return m ? *m : MapFile{};
}

TEST(Zorimport, CatalogueReadsBackAsWritten) {
    Source s;
    auto r = s.Import();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "2 sets")) << r.out;
    // Indicator 2000 of the top level only, and 10 with no value in set 10100: no warning for
    // those; the North polygon of set 10100 has values, so the only warnings would be wrong.
    EXPECT_EQ(r.err, "");

    auto cat = s.Export({"catalogue"});
    ASSERT_EQ(cat.status, 0) << cat.err;
    const std::string& j = cat.out;
    EXPECT_TRUE(Contains(j, "\"provider\":\"ZOR-2\"")) << j;
    EXPECT_TRUE(Contains(j, "\"charset\":238,\"decimalSymbol\":\",\""));
    EXPECT_TRUE(Contains(j, "{\"id\":10000,\"name\":\"Country\",\"code\":\"CTY\",\"topCount\":3,"
                            "\"smallCount\":0,\"regions\":[{\"id\":1,\"name\":\"North\"},{\"id\":2,"
                            "\"name\":\"South\"},{\"id\":3,\"name\":\"Total\"}],"
                            "\"indicators\":[0,10,2000],\"parValues\":[]}"))
        << j;
    // Encoded in Windows-1250 and decoded again; only codes with values for the set are listed.
    EXPECT_TRUE(Contains(j, "{\"id\":10100,\"name\":\"North\",\"code\":\"NOR\",\"topCount\":2,"
                            "\"smallCount\":1,\"regions\":[{\"id\":1,\"name\":\"Łódź\"},{\"id\":2,"
                            "\"name\":\"North total\"},{\"id\":3,\"name\":\"Town\"}],"
                            "\"indicators\":[0,1]"))
        << j;
    EXPECT_TRUE(Contains(j, "{\"id\":0,\"name\":\"Population\",\"announced\":2,\"indicators\":["
                            "{\"code\":0,\"name\":\"Population\",\"variants\":[{\"code\":1,"
                            "\"name\":\"Population growth\"}]},{\"code\":10,\"name\":"
                            "\"Fertility\",\"variants\":[]}]}"))
        << j;
    EXPECT_TRUE(Contains(j, "{\"id\":2,\"name\":\"Economy\",\"announced\":1"));
    EXPECT_TRUE(Contains(j, "{\"id\":10,\"name\":\"Temporary indicators\",\"announced\":0"));
    EXPECT_TRUE(Contains(j, "\"periods\":[{\"code\":2000,\"name\":\"2000\"},{\"code\":2001,"
                            "\"name\":\"2001\"},{\"code\":2002,\"name\":\"Year 2002\"}]"));

    // The temporary list is the one the program creates; the configuration names the charset.
    EXPECT_EQ(test::ReadFile(s.out("tmplist.ind")), WriteTempList({}));
    EXPECT_EQ(test::ReadFile(s.out("zorgui.cfg")),
              "PROVIDER=ZOR-2\nCHARSET=238\nDECIMAL SYMBOL=,\n");
    EXPECT_EQ(test::ReadFile(s.out("front.bmp")), SmallBitmap());
    // No "source": the program's own source line stays (no titles file).
    EXPECT_FALSE(fs::exists(s.out("wtitles.bin")));
}

TEST(Zorimport, TheSourceBecomesTheLinePrintedUnderEveryChart) {
    Source s;
    Replace(s.manifest, "\"picture\": \"front.bmp\"",
            "\"picture\": \"front.bmp\", \"source\": \"Źródło: GUS (CC BY 4.0)\"");
    auto r = s.Import();
    ASSERT_EQ(r.status, 0) << r.err;
    // String 7000 of the titles file, in the charset's code page (Windows-1250), which the
    // program reads at start-up.
    const TitlesTable titles = TitlesTable::Parse(test::ReadFile(s.out("wtitles.bin")));
    ASSERT_EQ(titles.entries().size(), 1u);
    EXPECT_EQ(titles.entries()[0].id, uint32_t(TextSourceLine));
    EXPECT_EQ(titles.entries()[0].defaultText, "Source: KVZ Database");
    EXPECT_EQ(titles.entries()[0].replacement, "\x8Fr\xF3"
                                               "d\xB3o: GUS (CC BY 4.0)");
    DataStore store;
    PlatformInfo platform;
    platform.commandLine = "DIR=" + s.target();
    platform.arialWithCharset = [](int) { return true; };
    ASSERT_TRUE(store.StartUp(platform)) << store.StartupError();
    EXPECT_EQ(store.UiText(TextSourceLine), "Źródło: GUS (CC BY 4.0)");

    // A source the code page cannot hold, or an empty one, is an error.
    Replace(s.manifest, "Źródło", "東京");
    r = s.Import();
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "\"source\" \"東京: GUS (CC BY 4.0)\" cannot be encoded")) << r.err;
}

TEST(Zorimport, ValuesReadBackThroughTheProgramsTable) {
    Source s;
    ASSERT_EQ(s.Import().status, 0);
    auto r = s.Export({"values", "--set", "10000", "--row-mode", "2", "--indicators", "0,2000",
                       "--periods", "2000,2001,2002"});
    ASSERT_EQ(r.status, 0) << r.err;
    // [period][indicator][row]; an empty CSV field and an absent line are both missing.
    EXPECT_TRUE(Contains(r.out, "\"values\":[[[100,200.5,300.5],[null,null,null]],"
                                "[[null,null,null],[null,null,null]],"
                                "[[null,null,null],[7,8,15]]]"))
        << r.out;

    r = s.Export({"values", "--set", "10100", "--row-mode", "0", "--indicators", "0,1", "--periods",
                  "2000,2002"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "\"values\":[[[100,100,null],[null,null,null]],"
                                "[[null,null,null],[null,null,-1.5]]]"))
        << r.out;
}

TEST(Zorimport, DefinitionsAreCompiled) {
    Source s;
    ASSERT_EQ(s.Import().status, 0);
    EXPECT_EQ(test::ReadFile(s.out("inddef.prj")), "inddef0.txt\n");
    EXPECT_EQ(test::ReadFile(s.out("inddef0.txt")),
              ".0\nNumber of people living in the region.\n\nSource: test.\n");
    auto r = s.Export({"definitions", "--indicators", "0,1,10"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The variant shows its indicator's text; indicator 10 has none.
    EXPECT_TRUE(Contains(r.out, "{\"code\":0,\"found\":true,\"text\":\" Number of people living "
                                "in the region.\\r\\n"))
        << r.out;
    EXPECT_TRUE(Contains(r.out, "{\"code\":1,\"found\":true")) << r.out;
    EXPECT_TRUE(Contains(r.out, "{\"code\":10,\"found\":false")) << r.out;
}

TEST(Zorimport, MapsFollowTheRegionOrderAndKeepTheAspect) {
    Source s;
    ASSERT_EQ(s.Import().status, 0);
    MapFile m = ReadMap(s.out("10000.map"));
    const int W = m.header.width, H = m.header.height;
    EXPECT_EQ(std::max(W, H), 12000);
    // North (one polygon, its hole cut in), then South's two polygons: two rows, the total
    // has no polygon.
    ASSERT_EQ(m.polygons.size(), 3u);
    EXPECT_EQ(m.polygons[0].code, "1");
    EXPECT_EQ(m.polygons[1].code, "2");
    EXPECT_EQ(m.polygons[2].code, "2");
    EXPECT_EQ(MatchPolygonRows(m.polygons), (std::vector<int>{0, 1, 1}));
    int32_t x0 = INT32_MAX, x1 = INT32_MIN, y0 = INT32_MAX, y1 = INT32_MIN;
    for (const auto& p : m.polygons) {
        EXPECT_EQ(p.points.front(), p.points.back()); // written closed
        for (const auto& v : p.points) {
            EXPECT_TRUE(v.x >= 0 && v.x <= W && v.y >= 0 && v.y <= H);
            x0 = std::min(x0, v.x), x1 = std::max(x1, v.x);
            y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
        }
    }
    // The content is 13 x 10 source units; y points down as in the source.
    EXPECT_NEAR(double(x1 - x0) / (y1 - y0), 1.3, 0.01);
    const MapPolygon& north = m.polygons[0];
    auto minY = [](const MapPolygon& p) {
        int32_t y = INT32_MAX;
        for (const auto& v : p.points) y = std::min(y, v.y);
        return y;
    };
    EXPECT_LT(minY(north), minY(m.polygons[1])); // North above South, as in the source
    // Points of North in source units, mapped into the drawing space.
    const double k = double(x1 - x0) / 13;
    auto at = [&](double sx, double sy) { return std::pair{x0 + sx * k, y0 + sy * k}; };
    auto [hx, hy] = at(5, 2);   // inside the hole
    auto [nx, ny] = at(2, 2.5); // in North beside the hole
    EXPECT_FALSE(Inside(north, hx, hy));
    EXPECT_TRUE(Inside(north, nx, ny));
    EXPECT_NEAR(Area(north), (50 - 4) * k * k, 0.01 * 50 * k * k);

    // The legend box (with the most classes: 145 x 185 of the 640 x 480 reference) and both
    // labels lie inside the drawing space and off the polygons.
    const double sx = W / 640.0, sy = H / 480.0;
    const auto& L = m.header.legend;
    EXPECT_GE(L.x, 0);
    EXPECT_LE(L.x + 145 * sx, W);
    EXPECT_GE(L.y, 0.1 * H); // below the title
    EXPECT_LE(L.y + 185 * sy, H);
    int hidden = 0;
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 10; ++j)
            for (const auto& p : m.polygons)
                hidden += Inside(p, L.x + 145 * sx * i / 10, L.y + 185 * sy * j / 10);
    EXPECT_LE(hidden, 121 * 5 / 100); // at most 5 % of the legend box lies over the map
    EXPECT_LT(m.header.timeLabel.y, m.header.totalLabel.y);
    EXPECT_LT(m.header.totalLabel.y, L.y);
}

TEST(Zorimport, LongitudeLatitudeIsProjectedEqualArea) {
    Source s;
    // Two 10-degree cells: one at the equator, one at 60-70 N.
    s.files["maps/north.geojson"] = R"({"type":"FeatureCollection","features":[
      {"type":"Feature","id":"1","geometry":{"type":"Polygon","coordinates":
        [[[0,0],[10,0],[10,10],[0,10],[0,0]]]}},
      {"type":"Feature","id":"far","geometry":{"type":"Polygon","coordinates":
        [[[0,60],[10,60],[10,70],[0,70],[0,60]]]}}]})";
    Replace(s.manifest, R"({"id": 2, "name": "North total"})",
            R"({"id": 2, "name": "Far", "feature": "far"}, {"id": 3, "name": "North total"})");
    Replace(s.manifest, R"("smallRegions": [{"id": 3, "name": "Town"}],)", "");
    s.files["north.csv"] = "region,indicator,year,value\n1,0,2000,1\n2,0,2000,2\n3,0,2000,3\n";
    auto r = s.Import();
    ASSERT_EQ(r.status, 0) << r.err;
    MapFile m = ReadMap(s.out("10100.map"));
    ASSERT_EQ(m.polygons.size(), 2u);
    // North up: the far cell has the smaller y.
    EXPECT_LT(m.polygons[1].points[0].y, m.polygons[0].points[0].y);
    // Areas in proportion to the areas on the sphere: (sin 10 - sin 0) / (sin 70 - sin 60).
    const double d = 3.14159265358979 / 180;
    const double want = std::sin(10 * d) / (std::sin(70 * d) - std::sin(60 * d));
    EXPECT_NEAR(Area(m.polygons[0]) / Area(m.polygons[1]), want, 0.02 * want);
}

TEST(Zorimport, HoleFilledByAnotherRegionIsLeftToIt) {
    Source s;
    // South becomes the square in North's hole.
    Replace(s.files["maps/top.geojson"],
            "[[[[0,5],[10,5],[10,10],[0,10],[0,5]]],[[[12,5],[13,5],"
            "[13,6],[12,5]]]]",
            "[[[[4,1],[6,1],[6,3],[4,3],[4,1]]]]");
    auto r = s.Import();
    ASSERT_EQ(r.status, 0) << r.err;
    MapFile m = ReadMap(s.out("10000.map"));
    ASSERT_EQ(m.polygons.size(), 2u);
    // North keeps its outer ring only (five vertices, closed); South is drawn over it.
    EXPECT_EQ(m.polygons[0].points.size(), 5u);
    EXPECT_EQ(m.polygons[1].code, "2");
}

TEST(Zorimport, WarningsDoNotStopTheImport) {
    Source s;
    Replace(s.files["maps/top.geojson"], "\n]}", R"(,
{"type":"Feature","id":"Atlantis","geometry":{"type":"Polygon","coordinates":[[[20,0],[21,0],[21,1],[20,0]]]}},
{"type":"Feature","id":"Road","geometry":{"type":"LineString","coordinates":[[0,0],[1,1]]}}
]})");
    // South has a polygon and no values.
    Replace(s.files["values.csv"], "10000,2,0,2000,200.5\n", "");
    Replace(s.files["values.csv"], "10000,2,10,2002,2\n", "");
    Replace(s.files["values.csv"], "10000,2,2000,2002,8\n", "");
    auto r = s.Import();
    ASSERT_EQ(r.status, 0) << r.err;
    // Features are named by their position in the layer and their key.
    EXPECT_TRUE(Contains(r.err, "maps/top.geojson: warning: feature 3 (\"Atlantis\") matches no "
                                "region of set 10000"))
        << r.err;
    EXPECT_TRUE(Contains(r.err, "warning: feature 4 (\"Road\") has no polygons (a Line String "
                                "geometry)"))
        << r.err;
    EXPECT_TRUE(Contains(r.err, "maps/top.geojson: warning: region 2 \"South\" of set 10000 has "
                                "a polygon but no values"))
        << r.err;
    EXPECT_TRUE(fs::exists(s.out("10000.map")));
}

TEST(Zorimport, AHoleOutsideItsPolygonIsLeftOut) {
    Source s;
    // North's hole reaches 6 units east of North (and of every other polygon).
    Replace(s.files["maps/top.geojson"], "[[4,1],[6,1],[6,3],[4,3],[4,1]]",
            "[[4,1],[16,1],[16,3],[4,3],[4,1]]");
    auto r = s.Import();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.err, "maps/top.geojson: warning: feature 1 (\"N\") has a hole that "
                                "reaches outside its polygon; the hole is left out"))
        << r.err;
    MapFile m = ReadMap(s.out("10000.map"));
    ASSERT_EQ(m.polygons.size(), 3u);
    EXPECT_EQ(m.polygons[0].points.size(), 5u); // North's outer ring alone
    for (const auto& p : m.polygons)
        for (const auto& v : p.points)
            EXPECT_TRUE(v.x >= 0 && v.y >= 0 && v.x <= m.header.width && v.y <= m.header.height);
}

TEST(Zorimport, RegionTooSmallToDrawKeepsItsPlace) {
    Source s;
    Replace(s.files["maps/top.geojson"],
            "[[[0,0],[10,0],[10,5],[0,5],[0,0]],[[4,1],[6,1],[6,3],[4,3],[4,1]]]",
            "[[[5,2],[5.0001,2],[5,2.0001],[5,2]]]");
    auto r = s.Import();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.err, "warning: region 1 \"North\" of set 10000 is too small for the "
                                "drawing space and is drawn as a small square"))
        << r.err;
    MapFile m = ReadMap(s.out("10000.map"));
    ASSERT_EQ(m.polygons.size(), 3u);
    EXPECT_EQ(MatchPolygonRows(m.polygons), (std::vector<int>{0, 1, 1}));
    // A square where North is: South spans x 0..13 and y 5..10, so North lies at 5/13 of the
    // width, above South.
    const MapPolygon& dot = m.polygons[0];
    ASSERT_EQ(dot.points.size(), 5u);
    int32_t sx0 = INT32_MAX, sx1 = INT32_MIN, sy0 = INT32_MAX;
    for (size_t i = 1; i < 3; ++i)
        for (const auto& v : m.polygons[i].points)
            sx0 = std::min(sx0, v.x), sx1 = std::max(sx1, v.x), sy0 = std::min(sy0, v.y);
    const double k = double(sx1 - sx0) / 13;
    EXPECT_TRUE(Inside(dot, sx0 + 5 * k, sy0 - 3 * k));
    EXPECT_GT(Area(dot), 0);
}

struct ErrorCase {
    const char* what;
    std::function<void(Source&)> edit;
    const char* message; // expected in standard error
};

void ExpectFails(const std::vector<ErrorCase>& cases) {
    for (const auto& c : cases) {
        Source s;
        c.edit(s);
        auto r = s.Import();
        EXPECT_EQ(r.status, 1) << c.what << "\n" << r.err;
        EXPECT_TRUE(Contains(r.err, c.message)) << c.what << "\n" << r.err;
        EXPECT_TRUE(Contains(r.err, "nothing was written")) << c.what;
        EXPECT_EQ(r.out, "") << c.what;
        // Neither the target nor a temporary directory is left behind.
        EXPECT_EQ(s.Siblings(), std::vector<std::string>{"src"}) << c.what;
    }
}

TEST(Zorimport, ValueFileErrorsNameFileAndLine) {
    ExpectFails({
        {"unknown region",
         [](Source& s) { Replace(s.files["values.csv"], "10000,2,0,2000", "10000,4,0,2000"); },
         "values.csv:3: error: unknown region id 4 in set 10000 (it has regions 1 to 3)"},
        {"unknown set",
         [](Source& s) { Replace(s.files["values.csv"], "10000,2,0,2000", "10200,2,0,2000"); },
         "values.csv:3: error: unknown region set 10200"},
        {"duplicate", [](Source& s) { s.files["values.csv"] += "10000,1,0,2000,5\n"; },
         "values.csv:12: error: duplicate value for set 10000, region 1, indicator 0, year 2000 "
         "(first given at values.csv:2)"},
        {"duplicate of an empty value",
         [](Source& s) { s.files["values.csv"] += "10000,1,0,2001,5\n"; },
         "values.csv:12: error: duplicate value for set 10000, region 1, indicator 0, year 2001 "
         "(first given at values.csv:5)"},
        {"duplicate across files",
         [](Source& s) {
             Replace(s.manifest, "[\"values.csv\",", "[\"values.csv\", \"more.csv\",");
             s.files["more.csv"] = "set,region,indicator,year,value\n\n10100,2,0,2000,1\n";
         },
         "north.csv:3: error: duplicate value for set 10100, region 2, indicator 0, year 2000 "
         "(first given at more.csv:3)"},
        {"unknown indicator", [](Source& s) { s.files["values.csv"] += "10000,1,20,2000,5\n"; },
         "values.csv:12: error: unknown indicator code 20"},
        {"unknown year", [](Source& s) { s.files["north.csv"] += "1,0,1999,5,\n"; },
         "north.csv:5: error: year 1999 is not one of the manifest's periods"},
        {"not a number", [](Source& s) { Replace(s.files["values.csv"], "200.5", "2OO"); },
         "values.csv:3: error: value \"2OO\" is not a number"},
        {"missing-value marker", [](Source& s) { Replace(s.files["values.csv"], "200.5", "-1e8"); },
         "values.csv:3: error: value -1e8 is the marker of a missing value"},
        {"too large for a float",
         [](Source& s) { Replace(s.files["values.csv"], "200.5", "1e39"); },
         "values.csv:3: error: value 1e39 does not fit a 32-bit float"},
        {"short line", [](Source& s) { s.files["values.csv"] += "10000,1,0\n"; },
         "values.csv:12: error: has 3 fields; the header needs at least 5"},
        {"bad quoting", [](Source& s) { s.files["north.csv"] += "1,0,2001,5,\"open\n"; },
         "north.csv:5: error: unterminated quoted field"},
        {"missing column",
         [](Source& s) {
             Replace(s.files["north.csv"], "region,indicator,year,value",
                     "region,indicator,when,value");
         },
         "north.csv:1: error: the header has no \"year\" column"},
        {"no set for a file",
         [](Source& s) {
             Replace(s.manifest, R"({"file": "north.csv", "set": 10100})", R"("north.csv")");
         },
         "north.csv:1: error: the header has no \"set\" column and the manifest gives the file no "
         "set"},
        {"missing file", [](Source& s) { s.files.erase("north.csv"); },
         "north.csv: error: cannot be read"},
    });
}

TEST(Zorimport, ManifestErrorsNameTheLine) {
    ExpectFails({
        {"syntax",
         [](Source& s) { Replace(s.manifest, "\"charset\": 238,", "\"charset\": 238,,"); },
         "manifest.json:2: error: column 18: syntax error while parsing object key - "
         "unexpected ','; expected string literal"},
        {"duplicate key",
         [](Source& s) {
             Replace(s.manifest, "\"charset\": 238,", "\"charset\": 238, \"charset\": 0,");
         },
         "manifest.json:2: error: column 27: duplicate key \"charset\""},
        {"nesting too deep", [](Source& s) { s.manifest = std::string(100000, '['); },
         "manifest.json:1: error: column 201: nesting too deep"},
        {"misspelt key",
         [](Source& s) { Replace(s.manifest, "\"decimalSymbol\"", "\"decimalSymbl\""); },
         "manifest.json:3: error: unknown key \"decimalSymbl\" in the manifest"},
        {"name longer than its field",
         [](Source& s) { Replace(s.manifest, "\"North total\"", "\"North total 1\""); },
         "manifest.json:12: error: region name \"North total 1\" is 13 bytes long; its field "
         "holds 12"},
        {"name not in the code page",
         [](Source& s) { Replace(s.manifest, "\"Town\"", "\"東京\""); },
         "manifest.json:13: error: region name \"東京\" cannot be encoded in CP1250"},
        {"name marking an empty slot",
         [](Source& s) { Replace(s.manifest, "\"Fertility\"", "\"*Fertility\""); },
         "begins with '*', which marks an empty slot"},
        {"period name too long",
         [](Source& s) { Replace(s.manifest, "\"Year 2002\"", "\"The year 2002 itself\""); },
         "period name \"The year 2002 itself\" is 20 bytes long; its field holds 16"},
        {"region id not its position",
         [](Source& s) {
             Replace(s.manifest, "{\"id\": 2, \"name\": \"South\"",
                     "{\"id\": 3, \"name\": \"South\"");
         },
         "manifest.json:8: error: region id 3 of set 10000 must be 2"},
        {"small region id",
         [](Source& s) {
             Replace(s.manifest, "{\"id\": 3, \"name\": \"Town\"}",
                     "{\"id\": 1, \"name\": \"Town\"}");
         },
         "region id 1 of set 10100 must be 3"},
        {"first set not the top level",
         [](Source& s) { Replace(s.manifest, "\"id\": 10000", "\"id\": 10001"); },
         "manifest.json:6: error: the first region set must be the top level, id 10000"},
        {"set id not 10000 + 100 r",
         [](Source& s) { Replace(s.manifest, "\"id\": 10100", "\"id\": 10150"); },
         "manifest.json:11: error: region set id 10150 breaks the numbering"},
        {"sub-region set of the grand total",
         [](Source& s) {
             Replace(s.manifest, "\"id\": 10100", "\"id\": 10300");
             Replace(s.manifest, R"("set": 10100)", R"("set": 10300)");
         },
         "region set 10300 belongs to top-level region 3, but the top level has 2 regions "
         "before its total"},
        {"indicator code outside its group",
         [](Source& s) { Replace(s.manifest, "{\"code\": 2000,", "{\"code\": 1000,"); },
         "indicator code 1000 breaks the numbering of group 2"},
        {"indicator code with a variant digit",
         [](Source& s) { Replace(s.manifest, "{\"code\": 10,", "{\"code\": 15,"); },
         "indicator code 15 breaks the numbering of group 0"},
        {"variant code", [](Source& s) { Replace(s.manifest, "{\"code\": 1,", "{\"code\": 11,"); },
         "variant code 11 of indicator 0 must be 0 + 1 to 9"},
        {"duplicate indicator",
         [](Source& s) { Replace(s.manifest, "{\"code\": 10,", "{\"code\": 0,"); },
         "indicator code 0 appears twice"},
        {"group id",
         [](Source& s) {
             Replace(s.manifest, "{\"id\": 2, \"name\": \"Economy\"",
                     "{\"id\": 12, \"name\": \"Economy\"");
         },
         "a group id must be a whole number from 0 to 9"},
        {"unknown charset",
         [](Source& s) { Replace(s.manifest, "\"charset\": 238", "\"charset\": 77"); },
         "charset 77 has no known code page"},
        {"set code too long", [](Source& s) { Replace(s.manifest, "\"CTY\"", "\"CNTY\""); },
         "set code \"CNTY\" is 4 bytes long; its field holds 3"},
        {"value file for an unlisted set",
         [](Source& s) { Replace(s.manifest, R"("set": 10100)", R"("set": 10200)"); },
         "value file for set 10200, which the manifest does not list"},
        {"path leaving the source folder",
         [](Source& s) { Replace(s.manifest, "\"def/pop.txt\"", "\"../pop.txt\""); },
         "definition file \"../pop.txt\" must be a relative path inside the source folder"},
    });
}

TEST(Zorimport, MapDefinitionAndPictureErrors) {
    ExpectFails({
        {"region without a polygon",
         [](Source& s) { Replace(s.manifest, "\"feature\": \"S\"", "\"feature\": \"SS\""); },
         "maps/top.geojson: error: region 2 \"South\" of set 10000 has no polygon: no feature "
         "has the key \"SS\"; add its boundary to the file or correct the region's "
         "\"feature\" in the manifest"},
        {"two regions with one feature key",
         [](Source& s) { Replace(s.manifest, "\"feature\": \"S\"", "\"feature\": \"N\""); },
         "manifest.json:8: error: region 2 of set 10000 has the feature key \"N\" of region 1"},
        {"broken GeoJSON", [](Source& s) { s.files["maps/north.geojson"].pop_back(); },
         "maps/north.geojson: error: is not a vector file that GDAL reads"},
        {"coordinates beyond any map",
         [](Source& s) { Replace(s.files["maps/top.geojson"], "[10,10]", "[1e300,10]"); },
         "maps/top.geojson: error: feature 2 (\"S\") has coordinates that are no numbers or lie "
         "beyond 1e12 units from the origin"},
        {"latitude out of range",
         [](Source& s) { Replace(s.files["maps/north.geojson"], "[20,52]", "[20,92]"); },
         "maps/north.geojson: error: feature 1 (\"1\") has the point (20, 92): "
         "longitude/latitude out of range; check the CRS and \"coordinates\" in the map on "
         "line 14 of manifest.json"},
        {"missing map file", [](Source& s) { s.files.erase("maps/north.geojson"); },
         "maps/north.geojson: error: cannot be read"},
        {"definition line starting a new definition",
         [](Source& s) { s.files["def/pop.txt"] = "First line.\n.5 per cent\n"; },
         "def/pop.txt:2: error: begins with '.', which would start a new definition"},
        {"definition not encodable", [](Source& s) { s.files["def/pop.txt"] = "Ünits: 人\n"; },
         "def/pop.txt:1: error: is not valid UTF-8 or holds a character that CP1250 cannot "
         "encode"},
        {"picture that is not a bitmap", [](Source& s) { s.files["front.bmp"] = "GIF89a"; },
         "front.bmp: error: is not a bitmap file the program can show"},
    });
}

TEST(Zorimport, FailedImportKeepsThePreviousTarget) {
    Source s;
    ASSERT_EQ(s.Import().status, 0);
    const std::string before = test::ReadFile(s.out("10000.par"));
    s.files["values.csv"] += "10000,9,0,2000,1\n";
    Replace(s.manifest, "\"South\"", "\"Southland\"");
    auto r = s.Import();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(test::ReadFile(s.out("10000.par")), before);
    EXPECT_EQ(s.Siblings(), (std::vector<std::string>{"out", "src"}));

    // A good import replaces it.
    Replace(s.files["values.csv"], "10000,9,0,2000,1\n", "");
    r = s.Import();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(test::ReadFile(s.out("10000.par")), "Southland"));
    EXPECT_EQ(s.Siblings(), (std::vector<std::string>{"out", "src"}));
}

TEST(Zorimport, RefusesToReplaceADirectoryThatIsNoDataSource) {
    Source s;
    fs::create_directories(s.target());
    test::WriteFile(s.out("notes.txt"), "mine");
    auto r = s.Import();
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "exists and is not a data source")) << r.err;
    EXPECT_EQ(test::ReadFile(s.out("notes.txt")), "mine");

    r = RunTool("zorimport", {s.src()});
    EXPECT_EQ(r.status, 64);
    EXPECT_TRUE(Contains(r.err, "usage: zorimport"));
}

// The demo database the build makes next to the programs (when python3 was found).
class DemoDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::string(ZOR_BIN_DIR) + "/../demo/";
        if (!fs::exists(dir + "zorgui.cfg")) GTEST_SKIP() << "no demo database in " << dir;
        FileProvider files(dir, "Temporary indicators");
        ASSERT_TRUE(files.LoadRegionSets(dir, sets));
    }

    // The values of one set, code and year, in region order; empty when the set has no file.
    std::vector<float> Record(const RegionSet& set, int code, int year) const {
        auto bytes = ReadWholeFile(dir + std::to_string(set.id) + "." + std::to_string(year));
        auto it = std::find(set.indicators.begin(), set.indicators.end(), code);
        std::vector<float> out(size_t(set.Stride()), MissingValue);
        if (!bytes || it == set.indicators.end()) return out;
        ByteReader r(*bytes);
        r.seek(size_t(it - set.indicators.begin()) * size_t(set.Stride()) * 4);
        for (auto& v : out) v = r.f32();
        EXPECT_TRUE(r.ok());
        return out;
    }

    std::string dir;
    std::vector<RegionSet> sets;
};

TEST_F(DemoDatabase, ChartsPrintTheSourcesCredits) {
    DataStore store;
    PlatformInfo platform;
    platform.commandLine = "DIR=" + dir;
    ASSERT_TRUE(store.StartUp(platform)) << store.StartupError();
    EXPECT_EQ(store.UiText(TextSourceLine),
              "Source: Gapminder (CC BY 4.0); boundaries: Natural Earth");
}

TEST_F(DemoDatabase, SetsFollowTheNumberingWithTheirTotalsLast) {
    ASSERT_EQ(sets.size(), 23u);
    const RegionSet& top = sets[0];
    EXPECT_EQ(top.id, 10000);
    EXPECT_EQ(top.code, "WLD");
    ASSERT_EQ(top.topCount, 23);
    EXPECT_EQ(top.regions.back().name, "World");
    int countries = 0;
    for (int r = 1; r < top.topCount; ++r) {
        const RegionSet& sub = sets[size_t(r)];
        EXPECT_EQ(sub.id, 10000 + 100 * r);
        EXPECT_EQ(sub.name, top.regions[size_t(r - 1)].name);
        EXPECT_EQ(sub.regions[size_t(sub.topCount - 1)].name, sub.name); // its total
        EXPECT_EQ(sub.code.size(), 3u) << sub.name;
        countries += sub.topCount - 1;
    }
    EXPECT_EQ(countries, 185);
}

TEST_F(DemoDatabase, EverySetHasAMapOfItsRegions) {
    for (const auto& set : sets) {
        auto map = ParseMapFile(test::ReadFile(dir + std::to_string(set.id) + ".map"));
        ASSERT_TRUE(map) << set.id;
        ASSERT_FALSE(map->polygons.empty());
        EXPECT_EQ(MatchPolygonRows(map->polygons).back() + 1, set.topCount - 1) << set.id;
        for (size_t i = 0; i < map->polygons.size(); ++i)
            EXPECT_GE(map->polygons[i].points.size(), 4u) << set.id << " polygon " << i;
    }
    auto picture = LoadBitmapFile(dir + "front.bmp");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 640);
}

TEST_F(DemoDatabase, EveryIndicatorHasADefinition) {
    auto bin = test::ReadFile(dir + "inddef.bin");
    ByteReader r(bin);
    std::set<int> codes;
    int n = r.i16();
    for (int i = 0; i < n; ++i) {
        codes.insert(r.i16());
        r.u32();
    }
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(codes, (std::set<int>{0, 1, 10, 1000, 1010, 2000, 2001, 2010}));
}

TEST_F(DemoDatabase, TotalsFollowTheCoverageRule) {
    const RegionSet& top = sets[0];
    const size_t world = size_t(top.topCount - 1);
    // Every sub-region total is stored twice, in the top level and as its set's total.
    for (int code : {0, 1, 10, 1000, 1010, 2000, 2001, 2010})
        for (int year : {1960, 1985, 2011, 2016}) {
            auto t = Record(top, code, year);
            for (int r = 1; r < top.topCount; ++r) {
                const RegionSet& sub = sets[size_t(r)];
                auto own = Record(sub, code, year);
                EXPECT_EQ(own[size_t(sub.topCount - 1)], t[size_t(r - 1)])
                    << sub.name << " " << code << " " << year;
            }
        }
    // 2016 has no population figures: no population totals, but the rates are weighted with
    // the population of 2015. There is no GDP after 2011.
    EXPECT_TRUE(IsMissing(Record(top, 0, 2016)[world]));
    EXPECT_FALSE(IsMissing(Record(top, 1000, 2016)[world]));
    EXPECT_TRUE(IsMissing(Record(top, 2000, 2012)[world]));
    EXPECT_FALSE(IsMissing(Record(top, 2000, 2011)[world]));
    // World population is the sum of the sub-regions when they all have one.
    auto pop = Record(top, 0, 2000);
    double sum = 0;
    for (size_t r = 0; r < world; ++r) {
        ASSERT_FALSE(IsMissing(pop[r]));
        sum += pop[r];
    }
    EXPECT_NEAR(pop[world], sum, 1e-6 * sum);
    // A rate total lies between the extremes of the countries.
    const RegionSet& sub = sets[1];
    auto life = Record(sub, 1000, 2000);
    float lo = 1e9f, hi = -1e9f;
    for (size_t i = 0; i + 1 < life.size(); ++i)
        if (!IsMissing(life[i])) lo = std::min(lo, life[i]), hi = std::max(hi, life[i]);
    EXPECT_GE(life.back(), lo);
    EXPECT_LE(life.back(), hi);
}

} // namespace
} // namespace zor
