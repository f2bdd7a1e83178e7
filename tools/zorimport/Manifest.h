// The importer's source folder: manifest.json describes the catalogue (charset, region sets,
// groups, indicators, periods) and names the value, map, definition and picture files.
// docs/zorimport.md documents the layout.
#pragma once

#include "tools/zorimport/Diagnostics.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor::import {

inline constexpr const char* ManifestFileName = "manifest.json";

// A name as written (UTF-8, for messages) and encoded in the code page of the charset.
struct Name {
    std::string utf8;
    std::string bytes;
};

struct SourceRegion {
    int id = 0;
    Name name;
    std::string feature; // key of its map features; default: the id in decimal
    int line = 0;
};

// How the coordinates of a map file are read.
enum class Coordinates {
    Auto,      // from the file's CRS when it names one, else (GeoJSON) planar
    Planar,    // as they are, x to the right, y downward
    PlanarYUp, // as they are, y upward
    LonLat,    // longitude and latitude in degrees (WGS 84)
    Crs,       // in the file's CRS, or the manifest's "crs" when the file names none
};

// The projection of the drawing.
enum class Projection {
    Auto,       // equal-earth for longitude/latitude, none for a projected CRS
    None,       // the source coordinates (degrees as x and y for longitude/latitude)
    EqualEarth, // Equal Earth around the central meridian
    Crs,        // the CRS given by an EPSG code or a PROJ string
};

// The tolerance of the boundary simplification, in units of the drawing space.
inline constexpr double DefaultSimplify = 0.5;

struct SourceMap {
    std::string file;
    std::string layer; // empty: the first layer of the file
    Coordinates coordinates = Coordinates::Auto;
    std::string crs; // the source CRS ("EPSG:n" or a PROJ string); empty = the file's
    Projection projection = Projection::Auto;
    std::string projectionCrs; // for Projection::Crs: "EPSG:n" or a PROJ string
    double centralMeridian = 0;
    std::string featureKey = "id"; // "id" or the name of a field
    double simplify = DefaultSimplify;
    int line = 0;
};

struct SourceSet {
    int id = 0;
    Name name;
    std::string code;                  // up to 3 bytes
    std::vector<SourceRegion> regions; // top-level regions; the last is the set's total
    std::vector<SourceRegion> small;   // small regions (ids continue after the top level)
    std::optional<SourceMap> map;
    int line = 0;

    int stride() const { return int(regions.size() + small.size()); }
};

struct SourceIndicator {
    int code = 0;
    Name name;
    std::string definition; // file, relative to the source folder; empty = none
    int line = 0;
    std::vector<SourceIndicator> variants;
};

struct SourceGroup {
    int id = 0;
    Name name;
    std::vector<SourceIndicator> indicators;
    int line = 0;
};

struct SourcePeriod {
    int code = 0;
    Name name;
    int line = 0;
};

struct SourceValueFile {
    std::string file;
    int set = 0; // 0: the file has a "set" column
    int line = 0;
};

struct NameLengths {
    int regionSet = 40;
    int region = 40;
    int group = 40;
    int indicator = 80;
};

struct Manifest {
    int charset = 0;
    std::string decimalSymbol; // empty: no DECIMAL SYMBOL line
    NameLengths lengths;
    std::vector<SourceSet> sets; // sets[0] has id 10000
    std::vector<SourceGroup> groups;
    std::vector<SourcePeriod> periods; // ascending by code
    std::vector<SourceValueFile> values;
    std::string picture; // start-up picture (a BMP file), empty = none
    // The source line printed under every chart (string 7000 of the titles file), in the
    // charset's code page; empty = the program's own.
    Name source;
};

// Reads and checks manifest.json of the source folder (a path ending in '/'). Every problem is
// reported; returns nullopt when any error was found.
std::optional<Manifest> ReadManifest(const std::string& sourceDir, Diagnostics& diag);

// The same for the text of a manifest.
std::optional<Manifest> ParseManifest(std::string_view text, Diagnostics& diag);

// Index of the set with this id, -1 when none.
int FindSet(const Manifest& m, int id);

} // namespace zor::import
