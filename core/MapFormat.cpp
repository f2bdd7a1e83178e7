#include "core/MapFormat.h"

#include "core/Bytes.h"

#include <limits>

namespace zor {

namespace {

MapPoint ReadPoint(ByteReader& r) {
    MapPoint p;
    p.x = r.i16();
    p.y = r.i16();
    return p;
}

bool FitsInt16(int32_t v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
}

bool Fail(std::string* why, std::string text) {
    if (why) *why = std::move(text);
    return false;
}

} // namespace

std::optional<MapFile> ParseMapFile(std::string_view bytes) {
    ByteReader r(bytes);
    MapFile map;
    int16_t n = r.i16();
    map.header.reserved1 = r.i16();
    map.header.reserved2 = r.i16();
    map.header.timeLabel = ReadPoint(r);
    map.header.totalLabel = ReadPoint(r);
    map.header.legend = ReadPoint(r);
    map.header.reservedPoint = ReadPoint(r);
    map.header.width = r.i16();
    map.header.height = r.i16();
    if (!r.ok() || n < 0) return std::nullopt;
    // Every record takes at least its code and count; never reserve more than that allows.
    const size_t minRecord = MapCodeSize + 2;
    if (size_t(n) > r.remaining() / minRecord) return std::nullopt;
    map.polygons.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        MapPolygon poly;
        poly.code = r.name(MapCodeSize);
        int16_t c = r.i16();
        if (!r.ok() || c < 0 || !r.has(size_t(c) * 4)) return std::nullopt;
        poly.points.reserve(size_t(c) + 1);
        for (int k = 0; k < c; ++k) poly.points.push_back(ReadPoint(r));
        if (c > 0 && !(poly.points.back() == poly.points.front()))
            poly.points.push_back(poly.points.front());
        map.polygons.push_back(std::move(poly));
    }
    if (!r.ok()) return std::nullopt;
    return map;
}

std::optional<std::string> WriteMapFile(const MapFile& map, std::string* why) {
    const auto& h = map.header;
    if (map.polygons.size() > size_t(std::numeric_limits<int16_t>::max())) {
        Fail(why, "more than 32767 polygons");
        return std::nullopt;
    }
    for (const MapPoint* p : {&h.timeLabel, &h.totalLabel, &h.legend, &h.reservedPoint})
        if (!FitsInt16(p->x) || !FitsInt16(p->y)) {
            Fail(why, "a header point does not fit 16 bits");
            return std::nullopt;
        }
    ByteWriter w;
    w.i16(int16_t(map.polygons.size()));
    w.i16(h.reserved1);
    w.i16(h.reserved2);
    for (const MapPoint* p : {&h.timeLabel, &h.totalLabel, &h.legend, &h.reservedPoint}) {
        w.i16(int16_t(p->x));
        w.i16(int16_t(p->y));
    }
    w.i16(h.width);
    w.i16(h.height);
    for (size_t i = 0; i < map.polygons.size(); ++i) {
        const auto& poly = map.polygons[i];
        const std::string where = "polygon " + std::to_string(i) + ": ";
        if (poly.code.size() > MapCodeSize) {
            Fail(why, where + "code longer than 20 bytes");
            return std::nullopt;
        }
        if (poly.points.size() > size_t(std::numeric_limits<int16_t>::max())) {
            Fail(why, where + "more than 32767 vertices");
            return std::nullopt;
        }
        w.name(poly.code, MapCodeSize);
        w.i16(int16_t(poly.points.size()));
        for (const auto& p : poly.points) {
            if (!FitsInt16(p.x) || !FitsInt16(p.y)) {
                Fail(why, where + "a vertex does not fit 16 bits");
                return std::nullopt;
            }
            w.i16(int16_t(p.x));
            w.i16(int16_t(p.y));
        }
    }
    return std::move(w.data());
}

std::vector<int> MatchPolygonRows(const std::vector<MapPolygon>& polygons) {
    std::vector<int> rows;
    rows.reserve(polygons.size());
    for (size_t i = 0; i < polygons.size(); ++i) {
        if (i == 0)
            rows.push_back(0);
        else
            rows.push_back(polygons[i].code == polygons[i - 1].code ? rows.back()
                                                                    : rows.back() + 1);
    }
    return rows;
}

} // namespace zor
