#include "tools/zorimport/Manifest.h"

#include "core/Catalogue.h"
#include "core/Charset.h"
#include "core/FileUtil.h"
#include "core/Texts.h"
#include "tools/zorimport/Json.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <set>

namespace zor::import {

namespace {

// Where the manifest's values are checked; carries the file name for messages.
class Checker {
public:
    Checker(Diagnostics& diag, int charset) : diag_(diag), charset_(charset) {}

    void Error(const JsonValue& at, const std::string& text) {
        diag_.Error(ManifestFileName, at.line(), text);
    }

    bool Expect(const JsonValue& v, JsonValue::Type t, const std::string& what) {
        if (v.type() == t) return true;
        Error(v, what + " must be " + JsonValue::TypeName(t) + ", not " +
                     JsonValue::TypeName(v.type()));
        return false;
    }

    // Reports keys of `obj` that are not in `allowed` (a misspelt key would else be ignored).
    void Keys(const JsonValue& obj, const std::string& what,
              std::initializer_list<const char*> allowed) {
        for (const auto& member : obj.members()) {
            const std::string& k = member.first;
            const bool known =
                std::any_of(allowed.begin(), allowed.end(), [&](const char* a) { return k == a; });
            if (!known) Error(member.second, "unknown key \"" + k + "\" in " + what);
        }
    }

    const JsonValue* Required(const JsonValue& obj, const char* key, const std::string& what) {
        const JsonValue* v = obj.find(key);
        if (!v) Error(obj, what + " has no \"" + key + "\"");
        return v;
    }

    std::optional<int> Int(const JsonValue& v, const std::string& what, int lo, int hi) {
        if (!Expect(v, JsonValue::Type::Number, what)) return std::nullopt;
        double d = v.number();
        if (d != std::floor(d) || d < lo || d > hi) {
            Error(v, what + " must be a whole number from " + std::to_string(lo) + " to " +
                         std::to_string(hi));
            return std::nullopt;
        }
        return int(d);
    }

    std::optional<std::string> String(const JsonValue& v, const std::string& what) {
        if (!Expect(v, JsonValue::Type::String, what)) return std::nullopt;
        return v.string();
    }

    // A name encoded in the charset's code page, fitting `length` bytes.
    std::optional<Name> EncodeName(const JsonValue& v, const std::string& what, int length) {
        auto s = String(v, what);
        if (!s) return std::nullopt;
        if (s->empty()) {
            Error(v, what + " is empty");
            return std::nullopt;
        }
        if (std::any_of(s->begin(), s->end(), [](char c) { return uint8_t(c) < 0x20; })) {
            Error(v, what + " \"" + *s + "\" holds a control character");
            return std::nullopt;
        }
        if ((*s)[0] == '*') {
            Error(v, what + " \"" + *s + "\" begins with '*', which marks an empty slot");
            return std::nullopt;
        }
        auto bytes = EncodeFromUtf8(*s, charset_);
        if (!bytes) {
            Error(v, what + " \"" + *s + "\" cannot be encoded in " + CodePageOfCharset(charset_) +
                         " (charset " + std::to_string(charset_) + ")");
            return std::nullopt;
        }
        if (int(bytes->size()) > length) {
            Error(v, what + " \"" + *s + "\" is " + std::to_string(bytes->size()) +
                         " bytes long; its field holds " + std::to_string(length));
            return std::nullopt;
        }
        return Name{*s, *bytes};
    }

    // A file named relative to the source folder; must not leave it.
    std::optional<std::string> FileName(const JsonValue& v, const std::string& what) {
        auto s = String(v, what);
        if (!s) return std::nullopt;
        bool bad = s->empty() || (*s)[0] == '/' || s->find('\\') != std::string::npos ||
                   s->find(':') != std::string::npos ||
                   std::any_of(s->begin(), s->end(), [](char ch) { return uint8_t(ch) < 0x20; });
        for (size_t p = 0; !bad && p <= s->size();) {
            size_t q = s->find('/', p);
            if (q == std::string::npos) q = s->size();
            if (s->compare(p, q - p, "..") == 0) bad = true;
            p = q + 1;
        }
        if (bad) {
            Error(v, what + " \"" + *s + "\" must be a relative path inside the source folder");
            return std::nullopt;
        }
        return s;
    }

    int charset() const { return charset_; }
    void setCharset(int c) { charset_ = c; }

private:
    Diagnostics& diag_;
    int charset_;
};

void ReadLengths(Checker& c, const JsonValue& v, NameLengths& out) {
    if (!c.Expect(v, JsonValue::Type::Object, "\"nameLengths\"")) return;
    c.Keys(v, "\"nameLengths\"", {"regionSet", "region", "group", "indicator"});
    auto one = [&](const char* key, int& field) {
        if (const JsonValue* x = v.find(key))
            if (auto n = c.Int(*x, std::string("name length \"") + key + "\"", 1, 1000)) field = *n;
    };
    one("regionSet", out.regionSet);
    one("region", out.region);
    one("group", out.group);
    one("indicator", out.indicator);
}

std::optional<SourceRegion> ReadRegion(Checker& c, const JsonValue& v, int expectedId,
                                       int nameLength, const std::string& setWhat) {
    if (!c.Expect(v, JsonValue::Type::Object, "a region")) return std::nullopt;
    c.Keys(v, "a region", {"id", "name", "feature"});
    SourceRegion r;
    r.line = v.line();
    bool ok = true;
    if (const JsonValue* id = c.Required(v, "id", "a region of " + setWhat)) {
        auto n = c.Int(*id, "a region id", 1, 32767);
        if (n && *n != expectedId) {
            c.Error(*id, "region id " + std::to_string(*n) + " of " + setWhat + " must be " +
                             std::to_string(expectedId) +
                             ": ids are the 1-based positions in the set, small regions "
                             "following the top-level ones");
            ok = false;
        }
        if (!n) ok = false;
        r.id = expectedId;
    } else {
        ok = false;
    }
    if (const JsonValue* name = c.Required(v, "name", "a region of " + setWhat)) {
        auto nm = c.EncodeName(*name, "region name", nameLength);
        if (nm)
            r.name = *nm;
        else
            ok = false;
    } else {
        ok = false;
    }
    if (const JsonValue* f = v.find("feature")) {
        auto s = c.String(*f, "\"feature\"");
        if (s)
            r.feature = *s;
        else
            ok = false;
    } else {
        r.feature = std::to_string(r.id);
    }
    if (!ok) return std::nullopt;
    return r;
}

// A CRS as the manifest names one: "EPSG:<code>" (or the code alone) or a PROJ string
// ("+proj=..."). Whether PROJ knows it is checked when the map is read.
std::optional<std::string> CrsText(Checker& c, const JsonValue& v, const std::string& what) {
    if (v.isNumber()) {
        auto n = c.Int(v, what, 1, 999999);
        if (!n) return std::nullopt;
        return "EPSG:" + std::to_string(*n);
    }
    auto s = c.String(v, what);
    if (!s) return std::nullopt;
    const bool epsg =
        s->size() > 5 && (s->compare(0, 5, "EPSG:") == 0 || s->compare(0, 5, "epsg:") == 0) &&
        s->size() <= 11 &&
        std::all_of(s->begin() + 5, s->end(), [](char ch) { return ch >= '0' && ch <= '9'; });
    const bool proj =
        s->compare(0, 6, "+proj=") == 0 &&
        std::none_of(s->begin(), s->end(), [](char ch) { return uint8_t(ch) < 0x20; });
    if (!epsg && !proj) {
        c.Error(v, what + " \"" + *s +
                       "\" must be an EPSG code (\"EPSG:2180\") or a PROJ string (\"+proj=...\")");
        return std::nullopt;
    }
    if (epsg) return "EPSG:" + s->substr(5);
    return s;
}

// A map's "coordinates" and "crs": how its file's coordinates are read.
bool ReadMapSource(Checker& c, const JsonValue& v, SourceMap& m) {
    bool ok = true;
    if (const JsonValue* x = v.find("coordinates")) {
        auto s = c.String(*x, "\"coordinates\"");
        if (s && *s == "planar")
            m.coordinates = Coordinates::Planar;
        else if (s && *s == "planar-y-up")
            m.coordinates = Coordinates::PlanarYUp;
        else if (s && *s == "lonlat")
            m.coordinates = Coordinates::LonLat;
        else if (s && *s == "crs")
            m.coordinates = Coordinates::Crs;
        else {
            if (s)
                c.Error(*x, "\"coordinates\" must be \"planar\", \"planar-y-up\", \"lonlat\" or "
                            "\"crs\"");
            ok = false;
        }
    }
    if (const JsonValue* x = v.find("crs")) {
        auto s = CrsText(c, *x, "\"crs\"");
        if (s && m.coordinates != Coordinates::Auto && m.coordinates != Coordinates::Crs) {
            c.Error(*x, "\"crs\" names the CRS of the file's coordinates, so it goes with "
                        "\"coordinates\": \"crs\" (or none), not with \"planar\", "
                        "\"planar-y-up\" or \"lonlat\"");
            s.reset();
        }
        if (s)
            m.crs = *s;
        else
            ok = false;
    }
    return ok;
}

// A map's "projection" and "centralMeridian": how it is drawn.
bool ReadMapProjection(Checker& c, const JsonValue& v, SourceMap& m) {
    bool ok = true;
    if (const JsonValue* x = v.find("projection")) {
        if (x->isString() && x->string() == "equal-earth") {
            m.projection = Projection::EqualEarth;
        } else if (x->isString() && x->string() == "none") {
            m.projection = Projection::None;
        } else if (auto crs = CrsText(c, *x, "\"projection\"")) {
            m.projection = Projection::Crs;
            m.projectionCrs = *crs;
        } else {
            ok = false;
        }
        if (m.coordinates == Coordinates::Planar || m.coordinates == Coordinates::PlanarYUp) {
            c.Error(*x, "\"projection\" does not apply to planar coordinates, which are drawn as "
                        "they are");
            ok = false;
        }
    }
    if (const JsonValue* x = v.find("centralMeridian")) {
        if (c.Expect(*x, JsonValue::Type::Number, "\"centralMeridian\"") &&
            std::fabs(x->number()) <= 180)
            m.centralMeridian = x->number();
        else {
            if (x->isNumber()) c.Error(*x, "\"centralMeridian\" must be from -180 to 180");
            ok = false;
        }
        if (m.projection == Projection::Crs) {
            c.Error(*x, "\"centralMeridian\" applies to \"equal-earth\" and \"none\"; give the "
                        "central meridian of a PROJ string as +lon_0");
            ok = false;
        }
    }
    return ok;
}

// A map's "featureKey" and "simplify".
bool ReadMapKeyAndDetail(Checker& c, const JsonValue& v, SourceMap& m) {
    bool ok = true;
    if (const JsonValue* x = v.find("featureKey")) {
        auto s = c.String(*x, "\"featureKey\"");
        if (s && !s->empty())
            m.featureKey = *s;
        else {
            if (s) c.Error(*x, "\"featureKey\" is empty");
            ok = false;
        }
    }
    if (const JsonValue* x = v.find("simplify")) {
        if (c.Expect(*x, JsonValue::Type::Number, "\"simplify\"") && x->number() >= 0 &&
            x->number() <= 100)
            m.simplify = x->number();
        else {
            if (x->isNumber())
                c.Error(*x, "\"simplify\" must be from 0 (keep every vertex) to 100 units of "
                            "the drawing space");
            ok = false;
        }
    }
    return ok;
}

std::optional<SourceMap> ReadMap(Checker& c, const JsonValue& v) {
    if (!c.Expect(v, JsonValue::Type::Object, "\"map\"")) return std::nullopt;
    c.Keys(v, "\"map\"",
           {"file", "layer", "coordinates", "crs", "projection", "centralMeridian", "featureKey",
            "simplify"});
    SourceMap m;
    m.line = v.line();
    bool ok = true;
    if (const JsonValue* f = c.Required(v, "file", "\"map\"")) {
        auto s = c.FileName(*f, "map file");
        if (s)
            m.file = *s;
        else
            ok = false;
    } else {
        ok = false;
    }
    if (const JsonValue* x = v.find("layer")) {
        auto s = c.String(*x, "\"layer\"");
        if (s && !s->empty())
            m.layer = *s;
        else {
            if (s) c.Error(*x, "\"layer\" is empty");
            ok = false;
        }
    }
    ok = ReadMapSource(c, v, m) && ok;
    ok = ReadMapProjection(c, v, m) && ok;
    ok = ReadMapKeyAndDetail(c, v, m) && ok;
    if (!ok) return std::nullopt;
    return m;
}

std::optional<SourceSet> ReadSet(Checker& c, const JsonValue& v, const NameLengths& len) {
    if (!c.Expect(v, JsonValue::Type::Object, "a region set")) return std::nullopt;
    c.Keys(v, "a region set", {"id", "name", "code", "regions", "smallRegions", "map"});
    SourceSet s;
    s.line = v.line();
    bool ok = true;
    if (const JsonValue* id = c.Required(v, "id", "a region set")) {
        auto n = c.Int(*id, "a region set id", 1, 32767);
        if (n)
            s.id = *n;
        else
            ok = false;
    } else {
        ok = false;
    }
    const std::string what = "set " + std::to_string(s.id);
    if (const JsonValue* name = c.Required(v, "name", what)) {
        auto nm = c.EncodeName(*name, "set name", len.regionSet);
        if (nm)
            s.name = *nm;
        else
            ok = false;
    } else {
        ok = false;
    }
    if (const JsonValue* code = v.find("code")) {
        auto nm = c.EncodeName(*code, "set code", 3);
        if (nm)
            s.code = nm->bytes;
        else
            ok = false;
    }
    auto regionList = [&](const char* key, std::vector<SourceRegion>& out, int firstId) {
        const JsonValue* list = v.find(key);
        if (!list) return;
        if (!c.Expect(*list, JsonValue::Type::Array, std::string("\"") + key + "\"")) {
            ok = false;
            return;
        }
        int id = firstId;
        for (const auto& item : list->items()) {
            auto r = ReadRegion(c, item, id++, len.region, what);
            if (r)
                out.push_back(std::move(*r));
            else
                ok = false;
        }
    };
    regionList("regions", s.regions, 1);
    if (ok && s.regions.empty()) {
        c.Error(v, what + " has no top-level regions (it needs at least its total, the last one)");
        ok = false;
    }
    regionList("smallRegions", s.small, int(s.regions.size()) + 1);
    if (s.regions.size() + s.small.size() > 32767) {
        c.Error(v, what + " has more than 32767 regions");
        ok = false;
    }
    if (const JsonValue* m = v.find("map")) {
        auto map = ReadMap(c, *m);
        if (map)
            s.map = std::move(*map);
        else
            ok = false;
    }
    if (!ok) return std::nullopt;
    return s;
}

std::optional<SourceIndicator> ReadIndicator(Checker& c, const JsonValue& v, int groupId,
                                             const NameLengths& len, const SourceIndicator* main) {
    const char* kind = main ? "a variant" : "an indicator";
    if (!c.Expect(v, JsonValue::Type::Object, kind)) return std::nullopt;
    if (main)
        c.Keys(v, kind, {"code", "name", "definition"});
    else
        c.Keys(v, kind, {"code", "name", "definition", "variants"});
    SourceIndicator ind;
    ind.line = v.line();
    bool ok = true;
    if (const JsonValue* code = c.Required(v, "code", kind)) {
        auto n = c.Int(*code, std::string("the code of ") + kind, 0, 9999);
        if (!n) {
            ok = false;
        } else if (!main && (*n / 1000 != groupId || *n % 10 != 0)) {
            c.Error(*code, "indicator code " + std::to_string(*n) +
                               " breaks the numbering of "
                               "group " +
                               std::to_string(groupId) + ": codes are " + std::to_string(groupId) +
                               "000 + 10 * slot (slot 0 to 99)");
            ok = false;
        } else if (main && (*n / 10 != main->code / 10 || *n % 10 == 0)) {
            c.Error(*code, "variant code " + std::to_string(*n) + " of indicator " +
                               std::to_string(main->code) + " must be " +
                               std::to_string(main->code) + " + 1 to 9");
            ok = false;
        }
        if (n) ind.code = *n;
    } else {
        ok = false;
    }
    if (const JsonValue* name = c.Required(v, "name", kind)) {
        auto nm = c.EncodeName(*name, "indicator name", len.indicator);
        if (nm)
            ind.name = *nm;
        else
            ok = false;
    } else {
        ok = false;
    }
    if (const JsonValue* d = v.find("definition")) {
        auto f = c.FileName(*d, "definition file");
        if (f)
            ind.definition = *f;
        else
            ok = false;
    }
    if (!main)
        if (const JsonValue* list = v.find("variants")) {
            if (c.Expect(*list, JsonValue::Type::Array, "\"variants\"")) {
                std::set<int> seen;
                for (const auto& item : list->items()) {
                    auto var = ReadIndicator(c, item, groupId, len, &ind);
                    if (!var) {
                        ok = false;
                        continue;
                    }
                    if (!seen.insert(var->code).second) {
                        c.Error(item,
                                "variant code " + std::to_string(var->code) + " appears twice");
                        ok = false;
                        continue;
                    }
                    ind.variants.push_back(std::move(*var));
                }
                std::sort(ind.variants.begin(), ind.variants.end(),
                          [](const auto& a, const auto& b) { return a.code < b.code; });
            } else {
                ok = false;
            }
        }
    if (!ok) return std::nullopt;
    return ind;
}

std::optional<SourceGroup> ReadGroup(Checker& c, const JsonValue& v, const NameLengths& len) {
    if (!c.Expect(v, JsonValue::Type::Object, "a group")) return std::nullopt;
    c.Keys(v, "a group", {"id", "name", "indicators"});
    SourceGroup g;
    g.line = v.line();
    bool ok = true;
    if (const JsonValue* id = c.Required(v, "id", "a group")) {
        auto n = c.Int(*id, "a group id", 0, 9);
        if (n)
            g.id = *n;
        else
            ok = false;
    } else {
        ok = false;
    }
    if (const JsonValue* name = c.Required(v, "name", "a group")) {
        auto nm = c.EncodeName(*name, "group name", len.group);
        if (nm)
            g.name = *nm;
        else
            ok = false;
    } else {
        ok = false;
    }
    if (!ok) return std::nullopt;
    if (const JsonValue* list = c.Required(v, "indicators", "group " + std::to_string(g.id))) {
        if (!c.Expect(*list, JsonValue::Type::Array, "\"indicators\"")) return std::nullopt;
        std::set<int> seen;
        for (const auto& item : list->items()) {
            auto ind = ReadIndicator(c, item, g.id, len, nullptr);
            if (!ind) {
                ok = false;
                continue;
            }
            if (!seen.insert(ind->code).second) {
                c.Error(item, "indicator code " + std::to_string(ind->code) + " appears twice");
                ok = false;
                continue;
            }
            g.indicators.push_back(std::move(*ind));
        }
        std::sort(g.indicators.begin(), g.indicators.end(),
                  [](const auto& a, const auto& b) { return a.code < b.code; });
    } else {
        ok = false;
    }
    if (!ok) return std::nullopt;
    return g;
}

void ReadPeriods(Checker& c, const JsonValue& list, std::vector<SourcePeriod>& out, bool& ok) {
    if (!c.Expect(list, JsonValue::Type::Array, "\"periods\"")) {
        ok = false;
        return;
    }
    std::set<int> seen;
    for (const auto& item : list.items()) {
        SourcePeriod p;
        p.line = item.line();
        const JsonValue* code = &item;
        const JsonValue* name = nullptr;
        if (item.isObject()) {
            c.Keys(item, "a period", {"code", "name"});
            code = c.Required(item, "code", "a period");
            name = item.find("name");
            if (!code) {
                ok = false;
                continue;
            }
        }
        // Period codes are years; 0 and negative codes are not read from value files.
        auto n = c.Int(*code, "a period code", 1, 32767);
        if (!n) {
            ok = false;
            continue;
        }
        p.code = *n;
        if (name) {
            auto nm = c.EncodeName(*name, "period name", 16);
            if (!nm) {
                ok = false;
                continue;
            }
            p.name = *nm;
        } else {
            p.name = {std::to_string(p.code), std::to_string(p.code)};
        }
        if (!seen.insert(p.code).second) {
            c.Error(*code, "period " + std::to_string(p.code) + " appears twice");
            ok = false;
            continue;
        }
        out.push_back(std::move(p));
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.code < b.code; });
    if (ok && out.empty()) {
        c.Error(list, "there are no periods");
        ok = false;
    }
}

// The numbering rules of the sets: the first is the top level 10000; the sub-region set of
// top-level region r is 10000 + 100 r, and the grand total (the last top-level region) has none.
void CheckSetIds(Checker& c, const std::vector<SourceSet>& sets, const JsonValue& list, bool& ok) {
    if (sets.empty()) return;
    if (sets[0].id != TopLevelSetId) {
        c.Error(list.items()[0], "the first region set must be the top level, id 10000 (not " +
                                     std::to_string(sets[0].id) + ")");
        ok = false;
        return;
    }
    const int top = int(sets[0].regions.size());
    std::set<int> seen{TopLevelSetId};
    for (size_t i = 1; i < sets.size(); ++i) {
        const JsonValue& at = list.items()[i];
        int id = sets[i].id;
        int r = (id - TopLevelSetId) / 100;
        if (id <= TopLevelSetId || (id - TopLevelSetId) % 100 != 0) {
            c.Error(at, "region set id " + std::to_string(id) +
                            " breaks the numbering: a "
                            "sub-region set has id 10000 + 100 * (its top-level region's id)");
            ok = false;
        } else if (r >= top) {
            c.Error(at, "region set " + std::to_string(id) + " belongs to top-level region " +
                            std::to_string(r) + ", but the top level has " +
                            std::to_string(top - 1) + " regions before its total");
            ok = false;
        } else if (!seen.insert(id).second) {
            c.Error(at, "region set " + std::to_string(id) + " appears twice");
            ok = false;
        }
    }
}

} // namespace

int FindSet(const Manifest& m, int id) {
    for (size_t i = 0; i < m.sets.size(); ++i)
        if (m.sets[i].id == id) return int(i);
    return -1;
}

namespace {

// Reads the sections of a parsed manifest, one function each; every problem is reported and
// clears ok_.
class ManifestReader {
public:
    ManifestReader(Diagnostics& diag, const JsonValue& root) : c_(diag, 0), root_(root) {}

    std::optional<Manifest> Read() {
        if (!c_.Expect(root_, JsonValue::Type::Object, "the manifest")) return std::nullopt;
        c_.Keys(root_, "the manifest",
                {"charset", "decimalSymbol", "nameLengths", "regionSets", "groups", "periods",
                 "values", "picture", "source"});
        if (!ReadCharset()) return std::nullopt; // every name depends on it
        ReadDecimalSymbol();
        if (const JsonValue* l = root_.find("nameLengths")) ReadLengths(c_, *l, m_.lengths);
        ReadSets();
        ReadGroups();
        if (const JsonValue* list = c_.Required(root_, "periods", "the manifest"))
            ReadPeriods(c_, *list, m_.periods, ok_);
        else
            ok_ = false;
        ReadValueFiles();
        ReadPicture();
        ReadSource();
        if (!ok_) return std::nullopt;
        return std::move(m_);
    }

private:
    bool ReadCharset() {
        if (const JsonValue* cs = root_.find("charset")) {
            auto n = c_.Int(*cs, "\"charset\"", 0, 255);
            if (!n || !CodePageOfCharset(*n)) {
                if (n) c_.Error(*cs, "charset " + std::to_string(*n) + " has no known code page");
                return false;
            }
            m_.charset = *n;
        }
        c_.setCharset(m_.charset);
        return true;
    }

    void ReadDecimalSymbol() {
        const JsonValue* d = root_.find("decimalSymbol");
        if (!d) return;
        auto s = c_.String(*d, "\"decimalSymbol\"");
        if (s && s->size() == 1 && uint8_t((*s)[0]) > 0x20 && uint8_t((*s)[0]) < 0x7F) {
            m_.decimalSymbol = *s;
        } else {
            if (s) c_.Error(*d, "\"decimalSymbol\" must be one printable ASCII character");
            ok_ = false;
        }
    }

    void ReadSets() {
        const JsonValue* list = c_.Required(root_, "regionSets", "the manifest");
        if (!list || !c_.Expect(*list, JsonValue::Type::Array, "\"regionSets\"")) {
            ok_ = false;
            return;
        }
        bool setsOk = true;
        for (const auto& item : list->items()) {
            auto s = ReadSet(c_, item, m_.lengths);
            if (s)
                m_.sets.push_back(std::move(*s));
            else
                setsOk = false;
        }
        if (setsOk && m_.sets.empty()) {
            c_.Error(*list, "there are no region sets");
            setsOk = false;
        }
        if (setsOk) CheckSetIds(c_, m_.sets, *list, setsOk);
        ok_ = ok_ && setsOk;
    }

    void ReadGroups() {
        const JsonValue* list = c_.Required(root_, "groups", "the manifest");
        if (!list || !c_.Expect(*list, JsonValue::Type::Array, "\"groups\"")) {
            ok_ = false;
            return;
        }
        std::set<int> seen;
        for (const auto& item : list->items()) {
            auto g = ReadGroup(c_, item, m_.lengths);
            if (!g) {
                ok_ = false;
                continue;
            }
            if (!seen.insert(g->id).second) {
                c_.Error(item, "group " + std::to_string(g->id) + " appears twice");
                ok_ = false;
                continue;
            }
            m_.groups.push_back(std::move(*g));
        }
        std::sort(m_.groups.begin(), m_.groups.end(),
                  [](const auto& a, const auto& b) { return a.id < b.id; });
    }

    // One entry of "values": a file name or {"file", "set"}.
    std::optional<SourceValueFile> ReadValueFile(const JsonValue& item) {
        SourceValueFile f;
        f.line = item.line();
        const JsonValue* file = &item;
        if (item.isObject()) {
            c_.Keys(item, "a value file", {"file", "set"});
            file = c_.Required(item, "file", "a value file");
            if (!file) return std::nullopt;
            if (const JsonValue* s = item.find("set")) {
                auto n = c_.Int(*s, "\"set\"", 1, 32767);
                if (n && FindSet(m_, *n) < 0 && !m_.sets.empty()) {
                    c_.Error(*s, "value file for set " + std::to_string(*n) +
                                     ", which the manifest does not list");
                    n.reset();
                }
                if (!n) return std::nullopt;
                f.set = *n;
            }
        }
        auto name = c_.FileName(*file, "value file");
        if (!name) return std::nullopt;
        f.file = *name;
        return f;
    }

    void ReadValueFiles() {
        const JsonValue* list = root_.find("values");
        if (!list) return;
        if (!c_.Expect(*list, JsonValue::Type::Array, "\"values\"")) {
            ok_ = false;
            return;
        }
        for (const auto& item : list->items()) {
            if (auto f = ReadValueFile(item))
                m_.values.push_back(std::move(*f));
            else
                ok_ = false;
        }
    }

    void ReadPicture() {
        const JsonValue* p = root_.find("picture");
        if (!p) return;
        if (auto f = c_.FileName(*p, "picture file"))
            m_.picture = *f;
        else
            ok_ = false;
    }

    void ReadSource() {
        const JsonValue* p = root_.find("source");
        if (!p) return;
        if (auto name = c_.EncodeName(*p, "\"source\"", int(MaxTitleTextBytes)))
            m_.source = std::move(*name);
        else
            ok_ = false;
    }

    Checker c_;
    const JsonValue& root_;
    Manifest m_;
    bool ok_ = true;
};

} // namespace

std::optional<Manifest> ParseManifest(std::string_view text, Diagnostics& diag) {
    JsonError err;
    auto root = ParseJson(text, &err);
    if (!root) {
        diag.Error(ManifestFileName, err.line,
                   "column " + std::to_string(err.column) + ": " + err.message);
        return std::nullopt;
    }
    const int errorsBefore = diag.errorCount();
    auto m = ManifestReader(diag, *root).Read();
    if (diag.errorCount() != errorsBefore) return std::nullopt;
    return m;
}

std::optional<Manifest> ReadManifest(const std::string& sourceDir, Diagnostics& diag) {
    auto text = ReadWholeFile(JoinPath(sourceDir, ManifestFileName), size_t(64) << 20);
    if (!text) {
        diag.Error(ManifestFileName, 0, "cannot be read");
        return std::nullopt;
    }
    return ParseManifest(*text, diag);
}

} // namespace zor::import
