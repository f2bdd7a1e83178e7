// The small map most map tests use: the country of the view test support (North, South, East
// and the total; 2000 and 2001) with a map file of its regions and a sub-level map of North.
#pragma once

#include "core/MapFormat.h"
#include "maps/CMapView.h"
#include "tests/support/Reference.h"
#include "tests/support/StartedStore.h"
#include "tests/support/ViewTestSupport.h"

#include <string>
#include <vector>

namespace zor::maps::test {

using zor::test::Country;
using zor::test::CountrySelection;
using zor::test::Lines;
using zor::test::MakeTestView;
using zor::test::OpenView;
using zor::test::RecordingHost;
using zor::test::StartedStore;

inline MapPolygon Box(const char* code, int left, int top, int right, int bottom) {
    return {code, {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}}};
}

// 640 x 480: North as a block and an island (two records, one region), South inside East's
// box (listed before it), no polygon for the total.
inline MapFile CountryMap() {
    MapFile map;
    map.header.width = 640;
    map.header.height = 480;
    map.header.timeLabel = {20, 30};
    map.header.totalLabel = {20, 440};
    map.header.legend = {20, 250};
    map.polygons = {Box("N", 100, 50, 300, 250), Box("N", 320, 60, 340, 80),
                    Box("S", 450, 150, 550, 250), Box("E", 400, 50, 600, 400)};
    return map;
}

inline void WriteMap(const std::string& path, const MapFile& map) {
    zor::test::WriteFile(path, *WriteMapFile(map));
}

// The country with North's own set (10100: two districts and North) and the map files of both.
inline void CountryWithDistricts(zor::test::Fixture& f) {
    Country(f);
    f.Set(10100, "North", {"Hill", "Vale", "North"});
    f.Values(10100, 2000, 1010, {8, 12, 10});
}

struct MapDb {
    StartedStore db{CountryWithDistricts};
    MapDb() {
        WriteMap(db.dir.file("10000.map"), CountryMap());
        MapFile sub;
        sub.header.width = 320;
        sub.header.height = 240;
        sub.header.legend = {10, 100};
        sub.polygons = {Box("H", 10, 10, 100, 100), Box("V", 100, 10, 200, 100)};
        WriteMap(db.dir.file("10100.map"), sub);
    }
};

// Compares with a committed recording of tests/maps/data.
inline void ExpectReference(const std::string& name, const std::string& recording) {
    zor::test::ExpectReferenceIn(ZOR_MAPS_TEST_DATA, name, recording);
}

} // namespace zor::maps::test
