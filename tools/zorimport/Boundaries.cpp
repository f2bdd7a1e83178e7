#include "tools/zorimport/Boundaries.h"

#include "core/FileUtil.h"

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

namespace zor::import {

namespace {

// GDAL's messages while a map is read go to the import's diagnostics instead of standard error.
class GdalMessages {
public:
    GdalMessages() { CPLPushErrorHandlerEx(&Handler, this); }
    ~GdalMessages() { CPLPopErrorHandler(); }
    GdalMessages(const GdalMessages&) = delete;
    GdalMessages& operator=(const GdalMessages&) = delete;

    // The last error GDAL reported since the last call, or `fallback`.
    std::string TakeError(const std::string& fallback) {
        std::string e = error_.empty() ? fallback : error_;
        error_.clear();
        return e;
    }
    // Its warnings, each once, as warnings of the file.
    void PassWarnings(const std::string& file, Diagnostics& diag) {
        for (const auto& w : warnings_) diag.Warning(file, 0, "GDAL: " + w);
        warnings_.clear();
    }

private:
    static void CPL_STDCALL Handler(CPLErr level, CPLErrorNum, const char* message) {
        auto* self = static_cast<GdalMessages*>(CPLGetErrorHandlerUserData());
        if (!self || !message) return;
        // A message may quote a whole CRS definition; its beginning says enough.
        std::string text = message;
        if (text.size() > 200) text = text.substr(0, 200) + "...";
        if (level >= CE_Failure)
            self->error_ = text;
        else if (level == CE_Warning && self->warnings_.size() < 20 &&
                 std::find(self->warnings_.begin(), self->warnings_.end(), text) ==
                     self->warnings_.end())
            self->warnings_.push_back(text);
    }
    std::string error_;
    std::vector<std::string> warnings_;
};

void RegisterDrivers() {
    static const bool registered = [] {
        GDALAllRegister();
        return true;
    }();
    (void)registered;
}

using SrsPtr = std::unique_ptr<OGRSpatialReference, void (*)(OGRSpatialReference*)>;

SrsPtr NewSrs() {
    return SrsPtr(new OGRSpatialReference(), [](OGRSpatialReference* s) { s->Release(); });
}

// A CRS as the manifest gives it: "EPSG:<code>" or a PROJ string; x is east (longitude), y north.
SrsPtr SrsFromText(const std::string& text) {
    SrsPtr srs = NewSrs();
    OGRErr err = OGRERR_FAILURE;
    if (text.rfind("EPSG:", 0) == 0)
        err = srs->importFromEPSG(std::atoi(text.c_str() + 5));
    else
        err = srs->importFromProj4(text.c_str());
    if (err != OGRERR_NONE) return SrsPtr(nullptr, [](OGRSpatialReference*) {});
    srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

std::string SrsName(const OGRSpatialReference& srs) {
    const char* auth = srs.GetAuthorityName(nullptr);
    const char* code = srs.GetAuthorityCode(nullptr);
    std::string name = srs.GetName() ? srs.GetName() : "unnamed CRS";
    if (auth && code) name += std::string(" (") + auth + ":" + code + ")";
    return name;
}

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

// How a feature's key is found.
enum class KeySource { Field, Fid, GeoJsonId };

// Finds a GeoJSON feature's own "id" (a string or a whole number) in its JSON text, as the
// importer has always read it; GDAL itself would take a numeric id for the FID and number the
// features without one. The parse stops at the id, which usually comes before the geometry.
class GeoJsonIdFinder {
public:
    using json = nlohmann::json;

    static std::optional<std::string> Find(const char* text) {
        if (!text) return std::nullopt;
        GeoJsonIdFinder finder;
        json::sax_parse(text, &finder, json::input_format_t::json, /*strict=*/false);
        return finder.id_;
    }

    bool null() { return Scalar(); }
    bool boolean(bool) { return Scalar(); }
    bool number_integer(json::number_integer_t v) { return Scalar(std::to_string(v)); }
    bool number_unsigned(json::number_unsigned_t v) { return Scalar(std::to_string(v)); }
    bool number_float(json::number_float_t v, const json::string_t&) {
        if (v == std::floor(v) && std::fabs(v) < 1e15) return Scalar(std::to_string(int64_t(v)));
        return Scalar();
    }
    bool string(json::string_t& v) { return Scalar(v); }
    bool binary(json::binary_t&) { return Scalar(); }
    bool start_object(std::size_t) { return Open(); }
    bool start_array(std::size_t) { return Open(); }
    bool end_object() { return --depth_, true; }
    bool end_array() { return --depth_, true; }
    bool key(json::string_t& k) {
        atId_ = depth_ == 1 && k == "id";
        return true;
    }
    // Part of the parser's event interface, which calls it on an object.
    static bool parse_error(std::size_t, const std::string&, const json::exception&) {
        return false;
    }

private:
    // A scalar value: when it is the id's, the search ends.
    bool Scalar(std::optional<std::string> v = std::nullopt) {
        if (!atId_) return true;
        id_ = std::move(v);
        return false;
    }
    bool Open() {
        if (atId_) return false; // an id that is an object or an array is none
        ++depth_;
        return true;
    }

    int depth_ = 0;
    bool atId_ = false;
    std::optional<std::string> id_;
};

std::optional<std::string> FieldKey(const OGRFeature& f, int field) {
    if (!f.IsFieldSetAndNotNull(field)) return std::nullopt;
    switch (f.GetFieldDefnRef(field)->GetType()) {
    case OFTInteger:
    case OFTInteger64:
        return std::to_string(f.GetFieldAsInteger64(field));
    case OFTReal: {
        const double d = f.GetFieldAsDouble(field);
        if (d == std::floor(d) && std::fabs(d) < 1e15) return std::to_string(int64_t(d));
        return std::nullopt;
    }
    default:
        return std::string(f.GetFieldAsString(field));
    }
}

// One ring as read, without its closing vertex.
RingD ReadRing(const OGRLinearRing* r) {
    RingD out;
    if (!r) return out;
    const int n = r->getNumPoints();
    out.reserve(size_t(std::max(n, 0)));
    for (int i = 0; i < n; ++i) out.push_back({r->getX(i), r->getY(i)});
    if (out.size() > 1 && out.front().x == out.back().x && out.front().y == out.back().y)
        out.pop_back();
    return out;
}

// Collects the polygons of a geometry (of collections and multi-polygons too, curves made
// linear). Returns the name of the first other geometry type met, or empty.
std::string CollectPolygons(const OGRGeometry* g, std::vector<PolygonD>& out) {
    if (!g || g->IsEmpty()) return {};
    if (g->hasCurveGeometry()) {
        std::unique_ptr<OGRGeometry> linear(g->getLinearGeometry());
        if (!linear || linear->hasCurveGeometry())
            return OGRGeometryTypeToName(g->getGeometryType());
        return CollectPolygons(linear.get(), out);
    }
    switch (wkbFlatten(g->getGeometryType())) {
    case wkbPolygon:
    case wkbTriangle: {
        const auto* p = g->toPolygon();
        PolygonD poly;
        poly.outer = ReadRing(p->getExteriorRing());
        for (int i = 0; i < p->getNumInteriorRings(); ++i)
            poly.holes.push_back(ReadRing(p->getInteriorRing(i)));
        out.push_back(std::move(poly));
        return {};
    }
    case wkbMultiPolygon:
    case wkbGeometryCollection:
    case wkbMultiSurface:
    case wkbPolyhedralSurface:
    case wkbTIN: {
        std::string other;
        if (wkbFlatten(g->getGeometryType()) == wkbPolyhedralSurface ||
            wkbFlatten(g->getGeometryType()) == wkbTIN) {
            for (const auto* part : *g->toPolyhedralSurface()) {
                auto o = CollectPolygons(part, out);
                if (other.empty()) other = o;
            }
        } else {
            for (const auto* part : *g->toGeometryCollection()) {
                auto o = CollectPolygons(part, out);
                if (other.empty()) other = o;
            }
        }
        return other;
    }
    default:
        return OGRGeometryTypeToName(g->getGeometryType());
    }
}

bool IsLineOrPointType(OGRwkbGeometryType t) {
    switch (wkbFlatten(t)) {
    case wkbPoint:
    case wkbMultiPoint:
    case wkbLineString:
    case wkbMultiLineString:
    case wkbCircularString:
    case wkbCompoundCurve:
    case wkbMultiCurve:
        return true;
    default:
        return false;
    }
}

// The way from the file's coordinates to the drawing plane (x to the right, y downward).
class Projector {
public:
    enum class Kind {
        AsIs,      // planar, y downward
        FlipY,     // planar, y upward
        Degrees,   // longitude/latitude as x and y around the central meridian
        Transform, // through PROJ, then y flipped
    };

    Kind kind = Kind::AsIs;
    bool checkLonLat = false; // longitude/latitude must lie in range
    double centralMeridian = 0;
    std::string from, to; // for messages
    std::unique_ptr<OGRCoordinateTransformation> transform;

    // Projects a ring in place; false when a point cannot be projected (`bad` tells which).
    bool Apply(RingD& ring, PointD& bad, std::string& why) const {
        if (checkLonLat)
            for (const auto& p : ring)
                if (!(p.x >= -180 && p.x <= 180 && p.y >= -90 && p.y <= 90)) {
                    bad = p;
                    why = "longitude/latitude out of range";
                    return false;
                }
        switch (kind) {
        case Kind::AsIs:
            break;
        case Kind::FlipY:
            for (auto& p : ring) p.y = -p.y;
            break;
        case Kind::Degrees:
            for (auto& p : ring) {
                double lon = p.x - centralMeridian;
                while (lon > 180) lon -= 360;
                while (lon < -180) lon += 360;
                p = {lon, -p.y};
            }
            break;
        case Kind::Transform: {
            std::vector<double> xs(ring.size()), ys(ring.size());
            std::vector<int> ok(ring.size(), 0);
            for (size_t i = 0; i < ring.size(); ++i) xs[i] = ring[i].x, ys[i] = ring[i].y;
            if (!ring.empty())
                transform->Transform(int(ring.size()), xs.data(), ys.data(), nullptr, nullptr,
                                     ok.data());
            for (size_t i = 0; i < ring.size(); ++i) {
                if (!ok[i] || !std::isfinite(xs[i]) || !std::isfinite(ys[i])) {
                    bad = ring[i];
                    why = "it cannot be projected from " + from + " to " + to;
                    return false;
                }
                ring[i] = {xs[i], -ys[i]};
            }
            break;
        }
        }
        for (const auto& p : ring)
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
                bad = p;
                why = "it is not a finite number";
                return false;
            }
        return true;
    }
};

// Reads one map file; holds what the steps share.
class LayerReader {
public:
    LayerReader(const std::string& sourceDir, const SourceMap& map, Diagnostics& diag)
        : map_(map), diag_(diag), path_(JoinPath(sourceDir, map.file)) {}

    std::optional<std::vector<Feature>> Read() {
        RegisterDrivers();
        GdalMessages messages;
        auto features = ReadAll(messages);
        messages.PassWarnings(map_.file, diag_);
        return features;
    }

private:
    bool Error(const std::string& text) {
        diag_.Error(map_.file, 0, text);
        return false;
    }
    // Where the map is described, for messages that ask for a change there.
    std::string ManifestPlace() const {
        return std::string("the map on line ") + std::to_string(map_.line) + " of " +
               ManifestFileName;
    }

    std::optional<std::vector<Feature>> ReadAll(GdalMessages& messages) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path_, ec)) {
            Error("cannot be read");
            return std::nullopt;
        }
        if (!Open(messages) || !ChooseLayer() || !CheckGeometryType() || !ChooseKey() ||
            !MakeProjector(messages))
            return std::nullopt;
        return ReadFeatures(messages);
    }

    bool Open(GdalMessages& messages) {
        GDALDriverH driver = GDALIdentifyDriver(path_.c_str(), nullptr);
        geoJson_ = driver && std::string(GDALGetDriverShortName(driver)) == "GeoJSON";
        // A GeoJSON feature's "id" is read from its own text.
        const char* nativeData[] = {"NATIVE_DATA=YES", nullptr};
        const bool native = geoJson_ && map_.featureKey == "id";
        dataset_.reset(GDALDataset::Open(path_.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr,
                                         native ? nativeData : nullptr, nullptr));
        if (!dataset_)
            return Error("is not a vector file that GDAL reads (" +
                         messages.TakeError("no driver knows it") + ")");
        return true;
    }

    bool ChooseLayer() {
        const int count = dataset_->GetLayerCount();
        if (map_.layer.empty()) {
            if (count < 1) return Error("holds no layer");
            layer_ = dataset_->GetLayer(0);
        } else {
            layer_ = dataset_->GetLayerByName(map_.layer.c_str());
            if (!layer_) {
                std::string names;
                for (int i = 0; i < count; ++i)
                    names += std::string(names.empty() ? "" : ", ") +
                             Quoted(dataset_->GetLayer(i)->GetName());
                return Error("has no layer " + Quoted(map_.layer) + " (its layers: " + names +
                             "); correct \"layer\" in " + ManifestPlace());
            }
        }
        layerName_ = Quoted(layer_->GetName());
        return true;
    }

    bool CheckGeometryType() {
        const OGRwkbGeometryType t = layer_->GetGeomType();
        if (t == wkbNone)
            return Error("layer " + layerName_ +
                         " has no geometry; name the layer of the regions' polygons with "
                         "\"layer\" in " +
                         ManifestPlace());
        if (IsLineOrPointType(t))
            return Error("layer " + layerName_ + " holds " + OGRGeometryTypeToName(t) +
                         " geometries, not polygons; regions need polygon boundaries: name the "
                         "layer of polygons with \"layer\" in " +
                         ManifestPlace());
        return true;
    }

    bool ChooseKey() {
        const std::string& key = map_.featureKey;
        if (geoJson_ && key == "id") {
            keySource_ = KeySource::GeoJsonId;
            return true;
        }
        OGRFeatureDefn* defn = layer_->GetLayerDefn();
        keyField_ = defn->GetFieldIndex(key.c_str());
        if (keyField_ >= 0) {
            keySource_ = KeySource::Field;
            return true;
        }
        const char* fidColumn = layer_->GetFIDColumn();
        if (fidColumn && *fidColumn && EQUAL(fidColumn, key.c_str())) {
            keySource_ = KeySource::Fid;
            return true;
        }
        std::string names;
        for (int i = 0; i < defn->GetFieldCount(); ++i)
            names += std::string(names.empty() ? "" : ", ") +
                     Quoted(defn->GetFieldDefn(i)->GetNameRef());
        return Error("layer " + layerName_ + " has no field " + Quoted(key) +
                     (names.empty() ? " (it has no fields)" : " (its fields: " + names + ")") +
                     "; name the field that holds the regions' keys with \"featureKey\" in " +
                     ManifestPlace());
    }

    // Whether the file names a CRS of its own. GDAL gives every GeoJSON file WGS 84 when it
    // names none, so WGS 84 there does not count: such a file is read as planar, as before.
    bool FileNamesCrs(const OGRSpatialReference* srs) const {
        if (!srs) return false;
        if (!geoJson_) return true;
        OGRSpatialReference wgs84;
        wgs84.SetWellKnownGeogCS("WGS84");
        const char* options[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES", nullptr};
        return !srs->IsSame(&wgs84, options);
    }

    bool MakeProjector(GdalMessages& messages) {
        const OGRSpatialReference* fileSrs = layer_->GetSpatialRef();
        Coordinates mode = map_.coordinates;
        if (mode == Coordinates::Auto) {
            if (!map_.crs.empty() || map_.projection != Projection::Auto || FileNamesCrs(fileSrs))
                mode = Coordinates::Crs;
            else if (geoJson_)
                mode = Coordinates::Planar;
            else
                return MissingCrs();
        }
        switch (mode) {
        case Coordinates::Auto:
        case Coordinates::Planar:
            projector_.kind = Projector::Kind::AsIs;
            return true;
        case Coordinates::PlanarYUp:
            projector_.kind = Projector::Kind::FlipY;
            return true;
        case Coordinates::LonLat: {
            projector_.checkLonLat = true;
            SrsPtr wgs84 = NewSrs();
            wgs84->SetWellKnownGeogCS("WGS84");
            wgs84->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
            return SetTarget(*wgs84, messages);
        }
        case Coordinates::Crs:
            break;
        }
        SrsPtr source = NewSrs();
        if (!map_.crs.empty()) {
            source = SrsFromText(map_.crs);
            if (!source)
                return ManifestError("\"crs\" " + Quoted(map_.crs) +
                                     " is not a CRS that PROJ knows");
            if (FileNamesCrs(fileSrs) && !fileSrs->IsSame(source.get()))
                diag_.Warning(map_.file, 0,
                              "names its CRS as " + SrsName(*fileSrs) +
                                  "; the manifest's \"crs\" " + map_.crs + " is used instead");
        } else if (fileSrs) {
            source.reset(fileSrs->Clone());
            source->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        } else {
            return MissingCrs();
        }
        return SetTarget(*source, messages);
    }

    bool MissingCrs() {
        return Error("layer " + layerName_ +
                     " names no coordinate reference system (a Shapefile keeps it in a .prj file "
                     "beside it); give it as \"crs\" in " +
                     ManifestPlace() +
                     " (for example \"crs\": \"EPSG:2180\"), or add \"coordinates\": "
                     "\"planar-y-up\" to draw the coordinates as they are");
    }

    bool ManifestError(const std::string& text) {
        diag_.Error(ManifestFileName, map_.line, text);
        return false;
    }

    // The projection of the drawing, from a source CRS.
    bool SetTarget(const OGRSpatialReference& source, GdalMessages& messages) {
        const bool geographic = source.IsGeographic();
        Projection p = map_.projection;
        if (p == Projection::Auto) p = geographic ? Projection::EqualEarth : Projection::None;
        projector_.centralMeridian = map_.centralMeridian;
        projector_.from = SrsName(source);
        if (p == Projection::None) {
            projector_.kind = geographic ? Projector::Kind::Degrees : Projector::Kind::FlipY;
            return true;
        }
        SrsPtr target(nullptr, [](OGRSpatialReference*) {});
        if (p == Projection::EqualEarth) {
            // On the sphere of the Earth's authalic radius, latitudes taken as they are (as the
            // importer always drew them): the ellipsoid would move shapes by less than 0.2
            // degrees of latitude.
            char proj[128];
            std::snprintf(proj, sizeof proj,
                          "+proj=eqearth +lon_0=%.17g +R=6371007.181 +units=m +no_defs",
                          map_.centralMeridian);
            target = SrsFromText(proj);
            projector_.to = "Equal Earth";
        } else {
            target = SrsFromText(map_.projectionCrs);
            if (!target)
                return ManifestError("\"projection\" " + Quoted(map_.projectionCrs) +
                                     " is not a CRS that PROJ knows");
            projector_.to = SrsName(*target);
        }
        if (!target) return Error("PROJ cannot make the Equal Earth projection");
        projector_.transform.reset(OGRCreateCoordinateTransformation(&source, target.get()));
        if (!projector_.transform)
            return Error("cannot be projected from " + projector_.from + " to " + projector_.to +
                         ": " + messages.TakeError("PROJ knows no way between them"));
        projector_.kind = Projector::Kind::Transform;
        return true;
    }

    std::optional<std::string> Key(OGRFeature& f) const {
        switch (keySource_) {
        case KeySource::Field:
            return FieldKey(f, keyField_);
        case KeySource::Fid:
            if (f.GetFID() == OGRNullFID) return std::nullopt;
            return std::to_string(f.GetFID());
        case KeySource::GeoJsonId:
            return GeoJsonIdFinder::Find(f.GetNativeData());
        }
        return std::nullopt;
    }

    std::optional<std::vector<Feature>> ReadFeatures(GdalMessages& messages) {
        std::vector<Feature> out;
        layer_->ResetReading();
        int index = 0;
        for (;;) {
            OGRFeatureUniquePtr f(layer_->GetNextFeature());
            if (!f) break;
            ++index;
            auto key = Key(*f);
            const std::string feature = "feature " + std::to_string(index);
            if (!key) {
                diag_.Warning(map_.file, 0,
                              feature + " has no " + Quoted(map_.featureKey) +
                                  " (a string or a whole number) and is left out");
                continue;
            }
            Feature feat;
            feat.key = *key;
            feat.index = index;
            const std::string named = feature + " (" + Quoted(feat.key) + ")";
            const std::string other = CollectPolygons(f->GetGeometryRef(), feat.polygons);
            if (feat.polygons.empty()) {
                diag_.Warning(map_.file, 0,
                              named + " has no polygons" +
                                  (other.empty() ? "" : " (a " + other + " geometry)") +
                                  " and is left out");
                continue;
            }
            if (!Project(feat, named)) return std::nullopt;
            out.push_back(std::move(feat));
        }
        const std::string failed = messages.TakeError("");
        if (!failed.empty()) {
            Error("cannot be read to its end: " + failed);
            return std::nullopt;
        }
        return out;
    }

    bool Project(Feature& feat, const std::string& named) {
        PointD bad;
        std::string why;
        for (auto& p : feat.polygons) {
            bool ok = projector_.Apply(p.outer, bad, why);
            for (auto& h : p.holes) ok = ok && projector_.Apply(h, bad, why);
            if (!ok) {
                char at[96];
                std::snprintf(at, sizeof at, "(%.10g, %.10g)", bad.x, bad.y);
                return Error(named + " has the point " + at + ": " + why +
                             "; check the CRS and \"coordinates\" in " + ManifestPlace());
            }
        }
        return true;
    }

    const SourceMap& map_;
    Diagnostics& diag_;
    const std::string path_;
    GDALDatasetUniquePtr dataset_;
    OGRLayer* layer_ = nullptr;
    std::string layerName_;
    bool geoJson_ = false;
    KeySource keySource_ = KeySource::Field;
    int keyField_ = -1;
    Projector projector_;
};

// Simplifies the polygons of one region together, so that its parts keep apart and its holes
// inside; a region GEOS cannot simplify keeps its vertices.
void SimplifyRegion(std::vector<PolygonD>& polygons, double tolerance) {
    OGRMultiPolygon multi;
    for (const auto& p : polygons) {
        auto poly = std::make_unique<OGRPolygon>();
        auto ring = [](const RingD& r) {
            auto out = std::make_unique<OGRLinearRing>();
            out->setNumPoints(int(r.size()) + 1, FALSE);
            for (size_t i = 0; i < r.size(); ++i) out->setPoint(int(i), r[i].x, r[i].y);
            if (!r.empty()) out->setPoint(int(r.size()), r[0].x, r[0].y);
            return out;
        };
        poly->addRingDirectly(ring(p.outer).release());
        for (const auto& h : p.holes) poly->addRingDirectly(ring(h).release());
        multi.addGeometryDirectly(poly.release());
    }
    GdalMessages quiet;
    std::unique_ptr<OGRGeometry> simple(multi.SimplifyPreserveTopology(tolerance));
    if (!simple) return;
    std::vector<PolygonD> out;
    if (!CollectPolygons(simple.get(), out).empty() || out.empty()) return;
    polygons = std::move(out);
}

} // namespace

std::optional<std::vector<Feature>> ReadFeatures(const std::string& sourceDir, const SourceMap& map,
                                                 Diagnostics& diag) {
    return LayerReader(sourceDir, map, diag).Read();
}

const Simplifier& TopologyPreservingSimplifier() {
    static const Simplifier simplifier = SimplifyRegion;
    return simplifier;
}

} // namespace zor::import
