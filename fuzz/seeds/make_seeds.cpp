// Writes seed corpora for the fuzz targets from valid files: fuzz_seeds <corpus root>.
// Each target gets <root>/<target>/ with a few inputs in the layout its target expects.
#include "core/Bytes.h"
#include "core/Formats.h"
#include "core/MapFormat.h"
#include "core/SavedSelections.h"
#include "tests/support/Fixture.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using zor::test::ReadFile;
using zor::test::WriteFile;

void Seed(const std::string& root, const std::string& target, const std::string& name,
          const std::string& bytes) {
    std::filesystem::create_directories(root + "/" + target);
    WriteFile(root + "/" + target + "/" + name, bytes);
}

std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? "\n--\n" : "") + parts[i];
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus root>\n");
        return 64;
    }
    const std::string root = argv[1];
    zor::test::TempDir dir;
    zor::TempIndicatorDef t;
    t.code = 10001;
    t.name = "Ratio";
    t.operation = 1;
    t.operandA = 10;
    t.operandB = 1000;
    zor::test::Fixture f(dir.path());
    f.Set(10000, "Top", {"North", "Total"}, {}, "TOP")
        .Set(10100, "North", {"A", "B", "North total"}, {"Town"}, "NOR")
        .ParValues({1, 2})
        .Group(0, "People")
        .Indicator(10, "Inhabitants", {"Men", "", "Women"})
        .Group(1, "Work")
        .Indicator(1000, "Jobs")
        .Periods({2000, 2001})
        .Values(10000, 2000, 10, {1, 2})
        .Values(10100, 2000, 10, {1, 2, 3, 4})
        .Values(10000, 2001, 1000, {5, zor::MissingValue})
        .Temp(t)
        .Title(1076, "Sorry, no data!", "Keine Daten!")
        .Title(0, "Graphs", "Grafiken")
        .Config({"PROVIDER=ZOR-2", "CHARSET=238", "DECIMAL SYMBOL=','",
                 "MAP COLORS=RGB(1,2,3) RGB(4,5,6) RGB(7,8,9) RGB(1,1,1) RGB(2,2,2) RGB(3,3,3) "
                 "RGB(4,4,4)",
                 "DATA SOURCE=db", "PWD FILE=pwd"})
        .Write();
    auto file = [&](const char* name) { return ReadFile(dir.file(name)); };

    Seed(root, "fuzz_config", "cfg", file("zorgui.cfg"));
    Seed(root, "fuzz_titles", "titles", file("wtitles.bin"));

    const char* catalogue[] = {"tmscl.bin", "mainlist.grp", "mainlist.ind",
                               "clist.bin", "10100.par",    "10100.ind",
                               "cid.bin",   "tmplist.ind",  "tmplist.ind"};
    for (int i = 0; i < 9; ++i)
        Seed(root, "fuzz_catalogue", std::to_string(i),
             std::string(1, char(i)) + file(catalogue[i]));

    const char* startup[] = {"clist.bin",   "10000.par", "10000.ind",    "10100.par",
                             "10100.ind",   "cid.bin",   "mainlist.grp", "mainlist.ind",
                             "tmplist.ind", "tmscl.bin", "wtitles.bin",  "10000.2000",
                             "10100.2000",  "10000.2001"};
    std::vector<std::string> parts;
    for (const char* n : startup) parts.push_back(file(n));
    Seed(root, "fuzz_startup", "db", Join(parts));

    // inddef.bin with three definitions, one of them a variant's.
    zor::test::Definitions defs = {
        {10, "Inhabitants at the end of the year.\n"}, {11, "Men.\n"}, {1000, "Jobs\nin all.\n"}};
    Seed(root, "fuzz_inddef", "three", zor::test::DefinitionsFileBytes(defs));

    std::string longLine;
    for (int i = 0; i < 40; ++i) longLine += "word" + std::to_string(i) + " ";
    Seed(root, "fuzz_inddefc", "two",
         Join({"a.txt\n  b.txt  \n\nmissing.txt\n",
               "ignored\n.10 Inhabitants\nA short line.\n" + longLine + "\n.\n.11\n",
               ".1000\n" + longLine + longLine + "\n"}));

    // Saved selections with a couple of used slots.
    zor::SavedIndicatorList il;
    il.name = "Population";
    il.codes = {10, 11, 1000};
    Seed(root, "fuzz_saved", "ind", zor::WriteIndicatorLists({il}));
    zor::SavedRegionList rl;
    rl.name = "North";
    rl.setCode = 19900;
    rl.keys = {10100 * 65536 + 1, 10100 * 65536 + 4};
    Seed(root, "fuzz_saved", "reg", zor::WriteRegionLists({rl, rl}));

    // Bitmaps of 24 and 8 bits per pixel, 3 x 2 pixels, rows padded to four bytes.
    auto bmp = [](int bits) {
        const int w = 3, h = 2, colors = bits <= 8 ? 1 << bits : 0;
        const int row = ((w * bits + 31) / 32) * 4;
        zor::ByteWriter b;
        const uint32_t offset = 14 + 40 + uint32_t(colors) * 4;
        b.bytes("BM");
        b.u32(offset + uint32_t(row * h));
        b.u32(0);
        b.u32(offset);
        b.u32(40);
        b.i32(w);
        b.i32(h);
        b.u16(1);
        b.u16(uint16_t(bits));
        b.u32(0);
        b.u32(uint32_t(row * h));
        b.i32(2835);
        b.i32(2835);
        b.u32(uint32_t(colors));
        b.u32(0);
        for (int c = 0; c < colors; ++c) b.u32(uint32_t(c * 0x010101));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < row; ++x) b.u8(uint8_t(x * 40 + y));
        return b.data();
    };
    Seed(root, "fuzz_bitmap", "24", bmp(24));
    Seed(root, "fuzz_bitmap", "8", bmp(8));

    // A map of two regions, the first made of two polygons.
    zor::MapFile map;
    map.header.width = 1000;
    map.header.height = 500;
    map.header.legend = {10, 10};
    map.polygons = {{"A", {{0, 0}, {100, 0}, {100, 100}, {0, 0}}},
                    {"A", {{200, 200}, {300, 200}, {250, 300}}},
                    {"B", {{400, 0}, {500, 0}, {500, 100}, {400, 100}}}};
    if (auto bytes = zor::WriteMapFile(map)) Seed(root, "fuzz_map", "two", *bytes);

    // The importer: a manifest with every section and map key, value files with and without a
    // set column, and byte strings for the map builder (whose input is read as numbers).
    Seed(root, "fuzz_manifest", "full", R"J({
  "charset": 238, "decimalSymbol": ",",
  "nameLengths": {"regionSet": 40, "region": 12, "group": 40, "indicator": 80},
  "regionSets": [
    {"id": 10000, "name": "Country", "code": "CTY",
     "regions": [{"id": 1, "name": "North", "feature": "N"}, {"id": 2, "name": "Total"}],
     "map": {"file": "maps/top.shp", "layer": "top", "featureKey": "CODE", "crs": "EPSG:2180",
             "projection": "+proj=laea +lat_0=52 +lon_0=19", "simplify": 0.5}},
    {"id": 10100, "name": "North",
     "regions": [{"id": 1, "name": "\u0141\u00f3d\u017a"}, {"id": 2, "name": "North total"}],
     "smallRegions": [{"id": 3, "name": "Town"}],
     "map": {"file": "maps/north.geojson", "coordinates": "lonlat", "projection": "equal-earth",
             "centralMeridian": 19}}],
  "groups": [{"id": 0, "name": "Population", "indicators": [
    {"code": 0, "name": "Population", "definition": "def/pop.txt",
     "variants": [{"code": 1, "name": "Growth"}]}, {"code": 10, "name": "Fertility"}]}],
  "periods": [2000, {"code": 2001, "name": "2001 (estimate)"
}],
  "values": ["values.csv", {"file": "north.csv", "set": 10100}],
  "picture": "front.bmp"
})J");
    Seed(root, "fuzz_manifest", "small",
         R"({"regionSets":[{"id":10000,"name":"T","regions":[{"id":1,"name":"A"},)"
         R"({"id":2,"name":"B"}],"map":{"file":"m.gpkg","coordinates":"planar-y-up"}}],)"
         R"("groups":[],"periods":[1990]})");
    Seed(root, "fuzz_csv", "both",
         Join({"set,region,indicator,year,value\n10000,1,0,2000,1.5\n10000,2,0,2000,\n"
               "10100,3,1,2002,-2e3\n",
               "\xEF\xBB\xBFregion,indicator,period,value,note\r\n1,10,2001,7,\"a, \"\"b\"\"\"\r\n"
               "2,10,2001,8,\"two\nlines\"\r\n"}));
    Seed(root, "fuzz_mapbuild", "a", std::string(64, '\x10'));
    Seed(root, "fuzz_mapbuild", "b", std::string(256, '\x42') + std::string(64, '\x01'));
    std::string ramp;
    for (int i = 0; i < 512; ++i) ramp += char(i * 37 % 251);
    Seed(root, "fuzz_mapbuild", "c", ramp);
    return 0;
}
