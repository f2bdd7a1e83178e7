// zorimport on boundaries in GIS formats: files written here by GDAL (Shapefile, GeoPackage,
// FlatGeobuf, GeoJSON) in a national CRS, read through GDAL/OGR, projected through PROJ and
// simplified; and the errors a user gets for what they got wrong.
#include "core/MapFormat.h"
#include "tests/support/Fixture.h"
#include "tests/tools/MapChecks.h"
#include "tests/tools/RunTool.h"

#include <gdal_utils.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace zor {
namespace {

namespace fs = std::filesystem;
using test::Area;
using test::Contains;
using test::Inside;
using test::RunTool;

// Two regions in Poland's national CRS (EPSG:2180, metres east and north): North, a 200 x 100 km
// rectangle, above South, a rectangle of the same size with a 20 x 20 km hole.
const char* const Regions2180 = R"({"type":"FeatureCollection","name":"regions",
"crs":{"type":"name","properties":{"name":"urn:ogc:def:crs:EPSG::2180"}},
"features":[
{"type":"Feature","properties":{"CODE":"N","NAME":"North"},"geometry":{"type":"Polygon",
 "coordinates":[[[400000,500000],[600000,500000],[600000,600000],[400000,600000],[400000,500000]]]}},
{"type":"Feature","properties":{"CODE":"S","NAME":"South"},"geometry":{"type":"MultiPolygon",
 "coordinates":[[[[400000,400000],[600000,400000],[600000,500000],[400000,500000],[400000,400000]],
 [[450000,420000],[470000,420000],[470000,440000],[450000,440000],[450000,420000]]]]}}
]})";

const char* const ManifestTemplate = R"({
  "regionSets": [
    {"id": 10000, "name": "Country",
     "regions": [{"id": 1, "name": "North", "feature": "N"},
                 {"id": 2, "name": "South", "feature": "S"},
                 {"id": 3, "name": "Total"}],
     "map": MAP}
  ],
  "groups": [{"id": 0, "name": "Population", "indicators": [{"code": 0, "name": "Population"}]}],
  "periods": [2000],
  "values": ["values.csv"]
})";

const char* const Values = "set,region,indicator,year,value\n10000,1,0,2000,1\n10000,2,0,2000,2\n"
                           "10000,3,0,2000,3\n";

// Converts a vector file with GDAL, as ogr2ogr would: ogr2ogr -f <format> <to> <from> <args>.
void Convert(const std::string& from, const std::string& to, const std::string& format,
             const std::vector<std::string>& args = {}) {
    GDALAllRegister();
    GDALDatasetH in = GDALOpenEx(from.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    ASSERT_NE(in, nullptr) << from;
    char** argv = CSLAddString(nullptr, "-f");
    argv = CSLAddString(argv, format.c_str());
    for (const auto& a : args) argv = CSLAddString(argv, a.c_str());
    GDALVectorTranslateOptions* options = GDALVectorTranslateOptionsNew(argv, nullptr);
    int usageError = 0;
    GDALDatasetH out = GDALVectorTranslate(to.c_str(), nullptr, 1, &in, options, &usageError);
    EXPECT_NE(out, nullptr) << to;
    if (out) GDALClose(out);
    GDALVectorTranslateOptionsFree(options);
    CSLDestroy(argv);
    GDALClose(in);
}

class GisSource {
public:
    // `map` is the manifest's map object; `boundaries` the GeoJSON the map file is made from,
    // converted into `file` (under maps/) in `format`.
    GisSource(std::string map, std::string file, std::string format,
              std::string boundaries = Regions2180)
        : map_(std::move(map)), file_(std::move(file)), format_(std::move(format)),
          boundaries_(std::move(boundaries)) {}

    std::string src() const { return dir_.path() + "src/"; }
    std::string target() const { return dir_.path() + "out"; }

    test::ToolResult Import(const std::function<void(const std::string&)>& edit = {}) {
        fs::remove_all(src());
        fs::create_directories(src() + "maps");
        std::string manifest = ManifestTemplate;
        manifest.replace(manifest.find("MAP"), 3, map_);
        test::WriteFile(src() + "manifest.json", manifest);
        test::WriteFile(src() + "values.csv", Values);
        const std::string json = dir_.path() + "boundaries.geojson";
        test::WriteFile(json, boundaries_);
        if (format_ == "GeoJSON-as-is")
            test::WriteFile(src() + "maps/" + file_, boundaries_);
        else
            Convert(json, src() + "maps/" + file_, format_, args);
        if (edit) edit(src());
        return RunTool("zorimport", {src(), target()});
    }

    MapFile Map() const {
        auto m = ParseMapFile(test::ReadFile(target() + "/10000.map"));
        EXPECT_TRUE(m);
        return m ? *m : MapFile{};
    }

    std::vector<std::string> args; // more ogr2ogr arguments

private:
    std::string map_, file_, format_, boundaries_;
    test::TempDir dir_;
};

struct Box {
    int32_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
};
Box BoxOf(const MapPolygon& p) {
    Box b;
    for (const auto& v : p.points) {
        b.x0 = std::min(b.x0, v.x), b.x1 = std::max(b.x1, v.x);
        b.y0 = std::min(b.y0, v.y), b.y1 = std::max(b.y1, v.y);
    }
    return b;
}

TEST(ZorimportGis, EveryVectorFormatDrawsTheRegionsInTheirShape) {
    const std::string map = R"({"file": "maps/FILE", "featureKey": "CODE"})";
    struct Format {
        const char* file;
        const char* driver;
    };
    const Format formats[] = {{"regions.shp", "ESRI Shapefile"},
                              {"regions.gpkg", "GPKG"},
                              {"regions.fgb", "FlatGeobuf"},
                              {"regions.geojson", "GeoJSON-as-is"}};
    // A Shapefile stores outer rings clockwise, so its rings may start elsewhere and run the
    // other way (and a hole's bridge may land elsewhere): the maps agree in their header, their
    // codes and in which polygon holds each point of a fine grid.
    auto Shape = [](const MapFile& m) {
        std::string out = std::to_string(m.header.width) + "x" + std::to_string(m.header.height) +
                          " legend " + std::to_string(m.header.legend.x) + "," +
                          std::to_string(m.header.legend.y) + " codes";
        for (const auto& p : m.polygons) out += " " + p.code;
        out += "\n";
        for (int j = 0; j < 60; ++j) {
            for (int i = 0; i < 60; ++i) {
                const double x = (i + 0.5) * m.header.width / 60,
                             y = (j + 0.5) * m.header.height / 60;
                char c = '.';
                for (size_t k = 0; k < m.polygons.size(); ++k)
                    if (Inside(m.polygons[k], x, y)) c = char('1' + k);
                out += c;
            }
            out += "\n";
        }
        return out;
    };
    std::string first;
    for (const auto& f : formats) {
        std::string m = map;
        m.replace(m.find("FILE"), 4, f.file);
        GisSource s(m, f.file, f.driver);
        auto r = s.Import();
        ASSERT_EQ(r.status, 0) << f.driver << "\n" << r.err;
        EXPECT_EQ(r.err, "") << f.driver;
        // 4 + 4 + 4 vertices read (rings without their closing vertex); 5 written for North,
        // 12 for South with its hole cut in along a bridge.
        EXPECT_TRUE(Contains(r.out, "map vertices 12 read, 17 written")) << f.driver << r.out;
        const std::string shape = Shape(s.Map());
        if (first.empty()) {
            first = shape;
            // The CRS of the file, y pointing north: North above South, both 2:1, the hole cut
            // into South.
            MapFile m2 = s.Map();
            ASSERT_EQ(m2.polygons.size(), 2u);
            Box n = BoxOf(m2.polygons[0]), so = BoxOf(m2.polygons[1]);
            EXPECT_EQ(m2.polygons[0].code, "1");
            EXPECT_EQ(n.y1, so.y0); // the shared border
            EXPECT_LT(n.y0, so.y0);
            EXPECT_NEAR(double(n.x1 - n.x0) / (n.y1 - n.y0), 2.0, 0.01);
            const double k = (so.x1 - so.x0) / 200.0; // drawing units per km
            EXPECT_FALSE(Inside(m2.polygons[1], so.x0 + 60 * k, so.y1 - 30 * k)); // in the hole
            EXPECT_TRUE(Inside(m2.polygons[1], so.x0 + 30 * k, so.y1 - 30 * k));
            EXPECT_NEAR(Area(m2.polygons[1]), (20000 - 400) * k * k, 0.01 * 20000 * k * k);
        } else {
            EXPECT_EQ(shape, first) << f.driver << " draws another map";
        }
    }
}

TEST(ZorimportGis, AFileWithoutACrsTakesTheManifests) {
    GisSource s(R"({"file": "maps/regions.shp", "featureKey": "CODE"})", "regions.shp",
                "ESRI Shapefile");
    auto r = s.Import([](const std::string& src) { fs::remove(src + "maps/regions.prj"); });
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "maps/regions.shp: error: layer \"regions\" names no coordinate "
                                "reference system (a Shapefile keeps it in a .prj file beside "
                                "it); give it as \"crs\" in the map on line 7 of manifest.json "
                                "(for example \"crs\": \"EPSG:2180\"), or add \"coordinates\": "
                                "\"planar-y-up\" to draw the coordinates as they are"))
        << r.err;
    EXPECT_FALSE(fs::exists(s.target()));

    // The EPSG code may be given as a number.
    GisSource named(R"({"file": "maps/regions.shp", "featureKey": "CODE", "crs": 2180})",
                    "regions.shp", "ESRI Shapefile");
    r = named.Import([](const std::string& src) { fs::remove(src + "maps/regions.prj"); });
    ASSERT_EQ(r.status, 0) << r.err;
    GisSource withPrj(R"({"file": "maps/regions.shp", "featureKey": "CODE"})", "regions.shp",
                      "ESRI Shapefile");
    ASSERT_EQ(withPrj.Import().status, 0);
    EXPECT_EQ(test::ReadFile(named.target() + "/10000.map"),
              test::ReadFile(withPrj.target() + "/10000.map"));

    // Planar coordinates are taken as they are, with y upward.
    GisSource planar(R"({"file": "maps/regions.shp", "featureKey": "CODE",
                         "coordinates": "planar-y-up"})",
                     "regions.shp", "ESRI Shapefile");
    r = planar.Import([](const std::string& src) { fs::remove(src + "maps/regions.prj"); });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadFile(planar.target() + "/10000.map"),
              test::ReadFile(withPrj.target() + "/10000.map"));
}

TEST(ZorimportGis, LongitudeLatitudeIsProjectedIntoTheNamedCrs) {
    // North: 14-24 E, 52-54 N; South: 14-24 E, 50-52 N, in a Shapefile with WGS 84 (whose axes
    // are latitude first: the reader must still take x for the longitude).
    const char* lonlat = R"({"type":"FeatureCollection","name":"regions","features":[
{"type":"Feature","properties":{"CODE":"N"},"geometry":{"type":"Polygon",
 "coordinates":[[[14,52],[24,52],[24,54],[14,54],[14,52]]]}},
{"type":"Feature","properties":{"CODE":"S"},"geometry":{"type":"Polygon",
 "coordinates":[[[14,50],[24,50],[24,52],[14,52],[14,50]]]}}]})";
    GisSource s(R"({"file": "maps/ll.shp", "featureKey": "CODE", "projection": "EPSG:2180"})",
                "ll.shp", "ESRI Shapefile", lonlat);
    s.args = {"-a_srs", "EPSG:4326"};
    auto r = s.Import();
    ASSERT_EQ(r.status, 0) << r.err;
    MapFile m = s.Map();
    ASSERT_EQ(m.polygons.size(), 2u);
    Box n = BoxOf(m.polygons[0]), so = BoxOf(m.polygons[1]);
    EXPECT_LT(n.y0, so.y0); // north up
    // In the transverse Mercator of EPSG:2180 the 10 degrees of longitude span 716 km at 50 N,
    // the 2 degrees of latitude 222 km (a little more, as lines of latitude curve); with the
    // axes swapped the shape would be nothing like it.
    const double aspect = double(so.x1 - so.x0) / (so.y1 - so.y0);
    EXPECT_GT(aspect, 3.0);
    EXPECT_LT(aspect, 3.4);
    // The southern region is the wider one, as on the globe.
    EXPECT_GT(so.x1 - so.x0, n.x1 - n.x0);

    // Without a projection, longitude/latitude go to the equal-area Equal Earth: both bands have
    // the areas of the sphere, (sin 54 - sin 52) : (sin 52 - sin 50).
    GisSource ee(R"({"file": "maps/ll.shp", "featureKey": "CODE", "centralMeridian": 19})",
                 "ll.shp", "ESRI Shapefile", lonlat);
    ee.args = {"-a_srs", "EPSG:4326"};
    r = ee.Import();
    ASSERT_EQ(r.status, 0) << r.err;
    MapFile e = ee.Map();
    ASSERT_EQ(e.polygons.size(), 2u);
    const double d = 3.14159265358979 / 180;
    const double want =
        (std::sin(54 * d) - std::sin(52 * d)) / (std::sin(52 * d) - std::sin(50 * d));
    EXPECT_NEAR(Area(e.polygons[0]) / Area(e.polygons[1]), want, 0.02 * want);
}

TEST(ZorimportGis, BoundariesAreSimplifiedToWhatTheDrawingShows) {
    // North is a disc of 20,000 vertices; South the rectangle below it.
    std::string disc = R"({"type":"FeatureCollection","features":[
{"type":"Feature","properties":{"CODE":"N"},"geometry":{"type":"Polygon","coordinates":[[)";
    const int n = 20000;
    for (int i = 0; i <= n; ++i) {
        const double a = 2 * 3.14159265358979 * (i % n) / n;
        char pt[64];
        std::snprintf(pt, sizeof pt, "%s[%.6f,%.6f]", i ? "," : "", 500 + 100 * std::cos(a),
                      300 + 100 * std::sin(a));
        disc += pt;
    }
    disc += R"(]]}},
{"type":"Feature","properties":{"CODE":"S"},"geometry":{"type":"Polygon",
 "coordinates":[[[400,0],[600,0],[600,200],[400,200],[400,0]]]}}]})";
    auto import = [&](const std::string& simplify) {
        GisSource s(R"({"file": "maps/disc.gpkg", "featureKey": "CODE", "crs": "EPSG:2180")" +
                        simplify + "}",
                    "disc.gpkg", "GPKG", disc);
        auto r = s.Import();
        EXPECT_EQ(r.status, 0) << r.err;
        return std::pair{r.out, s.Map()};
    };
    auto [fullOut, full] = import(R"(, "simplify": 0)");
    auto [simpleOut, simple] = import("");
    auto [coarseOut, coarse] = import(R"(, "simplify": 20)");
    ASSERT_EQ(full.polygons.size(), 2u);
    ASSERT_EQ(simple.polygons.size(), 2u);
    ASSERT_EQ(coarse.polygons.size(), 2u);
    // Read 20,000 + 4 vertices; rounding alone keeps most of the disc's.
    EXPECT_TRUE(Contains(fullOut, "map vertices 20004 read")) << fullOut;
    const size_t kept = full.polygons[0].points.size();
    const size_t simplified = simple.polygons[0].points.size();
    EXPECT_GT(kept, 5000u);
    EXPECT_LT(simplified, kept / 4);
    EXPECT_LT(coarse.polygons[0].points.size(), simplified / 2);
    EXPECT_TRUE(Contains(simpleOut,
                         "map vertices 20004 read, " + std::to_string(simplified + 5) + " written"))
        << simpleOut;
    // Half a unit off at most: the areas agree to a fraction of a per cent.
    EXPECT_NEAR(Area(simple.polygons[0]), Area(full.polygons[0]), 0.002 * Area(full.polygons[0]));
    EXPECT_EQ(simple.polygons[1].points, full.polygons[1].points);
}

struct ErrorCase {
    const char* what;
    std::string map;
    std::string boundaries;
    const char* message;
};

TEST(ZorimportGis, ErrorsSayWhatToChange) {
    const std::string lines = R"({"type":"FeatureCollection","name":"roads",
"crs":{"type":"name","properties":{"name":"urn:ogc:def:crs:EPSG::2180"}},"features":[
{"type":"Feature","properties":{"CODE":"N"},"geometry":{"type":"LineString",
 "coordinates":[[400000,500000],[600000,500000]]}}]})";
    const std::vector<ErrorCase> cases = {
        {"no such layer", R"({"file": "maps/r.gpkg", "layer": "regoins", "featureKey": "CODE"})",
         Regions2180,
         "maps/r.gpkg: error: has no layer \"regoins\" (its layers: \"regions\"); correct "
         "\"layer\" in the map on line 7 of manifest.json"},
        {"no such key field", R"({"file": "maps/r.gpkg", "featureKey": "KOD"})", Regions2180,
         "maps/r.gpkg: error: layer \"regions\" has no field \"KOD\" (its fields: \"CODE\", "
         "\"NAME\"); name the field that holds the regions' keys with \"featureKey\" in the map "
         "on line 7 of manifest.json"},
        {"the default key field", R"({"file": "maps/r.gpkg"})", Regions2180,
         "has no field \"id\" (its fields: \"CODE\", \"NAME\")"},
        {"lines instead of polygons", R"({"file": "maps/r.gpkg", "featureKey": "CODE"})", lines,
         "maps/r.gpkg: error: layer \"roads\" holds Line String geometries, not polygons; regions "
         "need polygon boundaries: name the layer of polygons with \"layer\" in the map on line 7 "
         "of manifest.json"},
        {"unknown EPSG code",
         R"({"file": "maps/r.gpkg", "featureKey": "CODE", "projection": "EPSG:1"})", Regions2180,
         "manifest.json:7: error: \"projection\" \"EPSG:1\" is not a CRS that PROJ knows"},
        {"bad PROJ string",
         R"({"file": "maps/r.gpkg", "featureKey": "CODE", "crs": "+proj=nonsense"})", Regions2180,
         "manifest.json:7: error: \"crs\" \"+proj=nonsense\" is not a CRS that PROJ knows"},
        {"a CRS that is no CRS", R"({"file": "maps/r.gpkg", "featureKey": "CODE", "crs": "WGS84"})",
         Regions2180,
         "manifest.json:7: error: \"crs\" \"WGS84\" must be an EPSG code (\"EPSG:2180\") or a PROJ "
         "string (\"+proj=...\")"},
        {"a CRS for planar coordinates",
         R"({"file": "maps/r.gpkg", "coordinates": "planar", "crs": "EPSG:2180"})", Regions2180,
         "manifest.json:7: error: \"crs\" names the CRS of the file's coordinates"},
        {"central meridian with a PROJ string",
         R"({"file": "maps/r.gpkg", "featureKey": "CODE", "projection": "+proj=laea",
             "centralMeridian": 10})",
         Regions2180, "give the central meridian of a PROJ string as +lon_0"},
    };
    for (const auto& c : cases) {
        GisSource s(c.map, "r.gpkg", "GPKG", c.boundaries);
        auto r = s.Import();
        EXPECT_EQ(r.status, 1) << c.what << "\n" << r.err;
        EXPECT_TRUE(Contains(r.err, c.message)) << c.what << "\n" << r.err;
        EXPECT_FALSE(fs::exists(s.target())) << c.what;
    }
}

TEST(ZorimportGis, GeoJsonFeaturesAreKeyedByTheirOwnId) {
    // The top-level "id" counts, not a property of that name nor GDAL's numbering of features
    // without one: the second feature has none and is left out, so South has no polygon.
    const char* json = R"({"type":"FeatureCollection","features":[
{"type":"Feature","id":"N","properties":{"id":"S"},"geometry":{"type":"Polygon",
 "coordinates":[[[0,0],[2,0],[2,1],[0,1],[0,0]]]}},
{"type":"Feature","properties":{},"geometry":{"type":"Polygon",
 "coordinates":[[[0,1],[2,1],[2,2],[0,2],[0,1]]]}}]})";
    GisSource s(R"({"file": "maps/r.geojson"})", "r.geojson", "GeoJSON-as-is", json);
    auto r = s.Import();
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.err, "maps/r.geojson: warning: feature 2 has no \"id\" (a string or a "
                                "whole number) and is left out"))
        << r.err;
    EXPECT_TRUE(Contains(r.err, "region 2 \"South\" of set 10000 has no polygon")) << r.err;
}

} // namespace
} // namespace zor
