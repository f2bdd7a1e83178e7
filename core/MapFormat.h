// Map geometry files "<set id>.map": one per region set, the polygons of its top-level regions
// in a drawing space of W x H logical units (x to the right, y downward).
//
// Layout (little-endian, signed): polygon count N (int16), two reserved int16, four points of
// two int16 (time label, total label, legend top-left, reserved), width W and height H (int16);
// then N polygon records: region code (20 bytes, NUL-padded, not necessarily terminated),
// vertex count C (int16), C vertices of two int16.
//
// Polygons are matched to the top-level regions by position, not by code: consecutive records
// with the same code are one region, so the records list the regions in the order of the set.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

inline constexpr size_t MapHeaderSize = 26;
inline constexpr size_t MapCodeSize = 20;

struct MapPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const MapPoint&) const = default;
};

struct MapHeader {
    int16_t reserved1 = 0;
    int16_t reserved2 = 0;
    MapPoint timeLabel;  // where the time period's name is written (left-top)
    MapPoint totalLabel; // where the set total's name and value are written (baseline-left)
    MapPoint legend;     // top-left corner of the legend box
    MapPoint reservedPoint;
    int16_t width = 0;  // W
    int16_t height = 0; // H
};

struct MapPolygon {
    std::string code; // at most 20 bytes; compared byte for byte with the neighbour's code
    std::vector<MapPoint> points;
};

struct MapFile {
    MapHeader header;
    std::vector<MapPolygon> polygons;
};

// Parses a map file. Every polygon comes back closed: when its last vertex differs from the
// first, a copy of the first is appended. The code is cut at its first NUL. Fails (nullopt)
// on a negative count or when the bytes end before the announced records and vertices are
// complete; bytes after the last record are ignored. Allocates no more than the input holds.
std::optional<MapFile> ParseMapFile(std::string_view bytes);

// Writes a map file: polygons as given (no closing vertex added). Fails (nullopt, with the
// reason in *why when given) when there are more than 32767 polygons, a polygon has more than
// 32767 vertices, a code is longer than 20 bytes, or a coordinate does not fit int16.
std::optional<std::string> WriteMapFile(const MapFile& map, std::string* why = nullptr);

// The region row of every polygon by the matching rule: polygon 0 gets row 0; a polygon whose
// code equals its predecessor's gets the same row, any other the next row.
std::vector<int> MatchPolygonRows(const std::vector<MapPolygon>& polygons);

} // namespace zor
