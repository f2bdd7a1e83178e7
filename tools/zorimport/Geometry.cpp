#include "tools/zorimport/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace zor::import {

namespace {

// ------------------------------------------------------------------ integer rings

double Area2(const std::vector<MapPoint>& r) {
    double a = 0;
    for (size_t i = 0, n = r.size(); i + 1 < n; ++i)
        a += double(r[i].x) * r[i + 1].y - double(r[i + 1].x) * r[i].y;
    return a;
}

struct Box {
    double x0 = std::numeric_limits<double>::max(), y0 = x0;
    double x1 = -std::numeric_limits<double>::max(), y1 = x1;
    void Add(double x, double y) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
    bool empty() const { return x0 > x1; }
    bool Contains(double x, double y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

Box BoxOf(const std::vector<MapPoint>& r) {
    Box b;
    for (const auto& p : r) b.Add(p.x, p.y);
    return b;
}

// Rounds a projected ring into the drawing space of width x height: consecutive duplicates
// removed, closed; a vertex outside (there is none in a valid polygon) is moved to its edge.
// Empty when fewer than three distinct vertices or no area are left.
std::vector<MapPoint> ToDrawing(const RingD& ring, double k, double ox, double oy, double bx0,
                                double by0, int width, int height) {
    std::vector<MapPoint> out;
    out.reserve(ring.size() + 1);
    for (const auto& p : ring) {
        MapPoint q{int32_t(std::lround(std::clamp(ox + (p.x - bx0) * k, 0.0, double(width)))),
                   int32_t(std::lround(std::clamp(oy + (p.y - by0) * k, 0.0, double(height))))};
        if (out.empty() || !(out.back() == q)) out.push_back(q);
    }
    while (out.size() > 1 && out.back() == out.front()) out.pop_back();
    if (out.size() < 3) return {};
    out.push_back(out.front());
    if (Area2(out) == 0) return {};
    return out;
}

// A point strictly inside a closed ring: the middle of the first span of a scan line through
// the ring's box.
std::optional<PointD> InteriorPoint(const std::vector<MapPoint>& ring) {
    Box b = BoxOf(ring);
    if (b.empty() || b.y0 == b.y1) return std::nullopt;
    double y = (b.y0 + b.y1) / 2 + 0.25; // off the integer grid of the vertices
    std::vector<double> xs;
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
        const MapPoint &a = ring[i], &c = ring[i + 1];
        if ((a.y <= y) == (c.y <= y)) continue;
        xs.push_back(a.x + (y - a.y) * double(c.x - a.x) / double(c.y - a.y));
    }
    if (xs.size() < 2) return std::nullopt;
    std::sort(xs.begin(), xs.end());
    return PointD{(xs[0] + xs[1]) / 2, y};
}

// Keeps at most `limit` vertices of a closed ring by taking every n-th.
std::vector<MapPoint> Thin(const std::vector<MapPoint>& ring, size_t limit) {
    if (ring.size() <= limit) return ring;
    size_t step = (ring.size() + limit - 2) / (limit - 1);
    std::vector<MapPoint> out;
    for (size_t i = 0; i + 1 < ring.size(); i += step) out.push_back(ring[i]);
    out.push_back(out.front());
    return out;
}

// ------------------------------------------------------------------ layout

// Fractions of the drawing space, in the view's 640 x 480 reference units (sx = W / 640,
// sy = H / 480): the title band, the margins and the panel holding the time label, the
// total label and the legend (legend 145 sx wide; 185 sy high with the most classes).
constexpr double MarginX = 0.02, MarginY = 0.02, TitleBand = 0.10;
constexpr double PanelLead = 20.0 / 640; // room left of the labels for the centred value
constexpr double PanelWidth = 170.0 / 640;
constexpr double PanelHeight = 243.0 / 480;
constexpr double TotalBaseline = 36.0 / 480; // below the time label
constexpr double LegendTop = 58.0 / 480;
constexpr double MaxAspect = 2.5, MinAspect = 0.8;
constexpr double CoveredShare = 0.05;
// Half the side of the square that stands for a region too small to draw.
constexpr int32_t MarkerHalfSize = MapExtent / 400;

struct Layout {
    double k = 1, ox = 0, oy = 0; // drawing = o + (projected - box origin) * k
    int width = 0, height = 0;
};

Layout ComputeLayout(const Box& content, bool column) {
    double cw = std::max(content.x1 - content.x0, 1e-9);
    double ch = std::max(content.y1 - content.y0, 1e-9);
    double areaFracW = 1 - 2 * MarginX - (column ? PanelWidth : 0);
    double areaFracH = 1 - TitleBand - MarginY;
    double w = cw / areaFracW, h = ch / areaFracH;
    if (w / h > MaxAspect) h = w / MaxAspect;
    if (w / h < MinAspect) w = h * MinAspect;
    double s = MapExtent / std::max(w, h);
    Layout l;
    l.width = int(std::lround(w * s));
    l.height = int(std::lround(h * s));
    l.k = s;
    double left = l.width * (MarginX + (column ? PanelWidth : 0));
    double top = l.height * TitleBand;
    l.ox = left + (l.width * areaFracW - cw * s) / 2;
    l.oy = top + (l.height * areaFracH - ch * s) / 2;
    return l;
}

struct Drawn {
    std::vector<MapPoint> ring;
    Box box;
};

double Coverage(const std::vector<Drawn>& polys, double x0, double y0, double x1, double y1) {
    constexpr int N = 16;
    int inside = 0;
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) {
            double x = x0 + (x1 - x0) * (i + 0.5) / N;
            double y = y0 + (y1 - y0) * (j + 0.5) / N;
            for (const auto& p : polys)
                if (p.box.Contains(x, y) && RingContains(p.ring, x, y)) {
                    ++inside;
                    break;
                }
        }
    return double(inside) / (N * N);
}

void PlacePanel(MapHeader& h, double panelLeft, double panelTop) {
    const double W = h.width, H = h.height;
    int x = int(std::lround(panelLeft + PanelLead * W));
    h.timeLabel = {x, int(std::lround(panelTop))};
    h.totalLabel = {x, int(std::lround(panelTop + TotalBaseline * H))};
    h.legend = {x, int(std::lround(panelTop + LegendTop * H))};
}

} // namespace

bool RingContains(const std::vector<MapPoint>& ring, double x, double y) {
    bool in = false;
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
        const MapPoint &a = ring[i], &b = ring[i + 1];
        if ((a.y > y) == (b.y > y)) continue;
        double cx = a.x + (y - a.y) * double(b.x - a.x) / double(b.y - a.y);
        if (cx < x) in = !in;
    }
    return in;
}

std::vector<MapPoint> CutHoles(std::vector<MapPoint> outer,
                               const std::vector<std::vector<MapPoint>>& holes) {
    if (outer.empty()) return outer;
    if (!(outer.back() == outer.front())) outer.push_back(outer.front());
    const bool outerPositive = Area2(outer) > 0;
    outer.pop_back();
    for (auto hole : holes) {
        if (hole.size() > 1 && hole.back() == hole.front()) hole.pop_back();
        if (hole.size() < 3 || outer.empty()) continue;
        std::vector<MapPoint> closed = hole;
        closed.push_back(hole.front());
        if ((Area2(closed) > 0) == outerPositive) std::reverse(hole.begin(), hole.end());
        // The bridge runs from the hole vertex nearest to the outer ring to the nearest point
        // of the ring's edges, which becomes a vertex of its own.
        size_t bi = 0, bj = 0;
        MapPoint foot = outer[0];
        double best = std::numeric_limits<double>::max();
        for (size_t i = 0; i < outer.size(); ++i) {
            const MapPoint &a = outer[i], &b = outer[(i + 1) % outer.size()];
            const double ex = double(b.x) - a.x, ey = double(b.y) - a.y;
            const double len2 = ex * ex + ey * ey;
            for (size_t j = 0; j < hole.size(); ++j) {
                double t = len2 > 0 ? ((hole[j].x - a.x) * ex + (hole[j].y - a.y) * ey) / len2 : 0;
                t = std::clamp(t, 0.0, 1.0);
                const double fx = a.x + t * ex, fy = a.y + t * ey;
                const double dx = fx - hole[j].x, dy = fy - hole[j].y;
                const double d = dx * dx + dy * dy;
                if (d < best) {
                    best = d;
                    bi = i;
                    bj = j;
                    foot = {int32_t(std::lround(fx)), int32_t(std::lround(fy))};
                }
            }
        }
        // outer[0..bi], foot, the hole from bj round to bj, foot, outer[bi+1..]
        std::vector<MapPoint> merged;
        merged.reserve(outer.size() + hole.size() + 4);
        merged.insert(merged.end(), outer.begin(), outer.begin() + long(bi) + 1);
        if (!(foot == merged.back())) merged.push_back(foot);
        for (size_t k = 0; k <= hole.size(); ++k) merged.push_back(hole[(bj + k) % hole.size()]);
        merged.push_back(foot);
        if (bi + 1 < outer.size() && foot == outer[bi + 1]) merged.pop_back();
        merged.insert(merged.end(), outer.begin() + long(bi) + 1, outer.end());
        outer = std::move(merged);
    }
    if (!outer.empty()) outer.push_back(outer.front());
    return outer;
}

namespace {

// Projected coordinates lie within this distance of the origin (metres on the Earth stay below
// 1e8), so that spans and scales stay finite.
constexpr double MaxCoordinate = 1e12;

bool InRange(const PolygonD& p) {
    auto ok = [](const PointD& q) {
        return std::fabs(q.x) <= MaxCoordinate && std::fabs(q.y) <= MaxCoordinate;
    };
    return std::ranges::all_of(p.outer, ok) &&
           std::ranges::all_of(p.holes, [&](const RingD& h) { return std::ranges::all_of(h, ok); });
}

// Whether a ring lies within the bounding box of another.
bool Within(const RingD& inner, const RingD& outer) {
    Box b;
    for (const auto& q : outer) b.Add(q.x, q.y);
    return std::all_of(inner.begin(), inner.end(),
                       [&](const PointD& q) { return b.Contains(q.x, q.y); });
}

// The polygons of each drawn region (the top-level regions before the total), matched to the
// features by key; nullopt when two regions share a key or a region has no polygon.
std::optional<std::vector<std::vector<PolygonD>>> MatchRegions(const SourceSet& set,
                                                               const std::vector<Feature>& features,
                                                               const std::string& mapFile,
                                                               Diagnostics& diag) {
    const std::string what = "set " + std::to_string(set.id);
    const size_t drawnCount = set.regions.size() - 1;
    std::unordered_map<std::string, size_t> byKey;
    bool ok = true;
    for (size_t i = 0; i < set.regions.size() + set.small.size(); ++i) {
        const SourceRegion& r =
            i < set.regions.size() ? set.regions[i] : set.small[i - set.regions.size()];
        auto [it, fresh] = byKey.emplace(r.feature, i);
        if (!fresh) {
            diag.Error(ManifestFileName, r.line,
                       "region " + std::to_string(r.id) + " of " + what +
                           " has the feature key \"" + r.feature + "\" of region " +
                           std::to_string(it->second + 1) +
                           "; each region needs a key of its own (\"feature\")");
            ok = false;
        }
    }
    if (!ok) return std::nullopt;

    std::vector<std::vector<PolygonD>> parts(drawnCount);
    for (const auto& f : features) {
        const std::string feature = "feature " + std::to_string(f.index) + " (\"" + f.key + "\")";
        auto it = byKey.find(f.key);
        if (it == byKey.end()) {
            diag.Warning(mapFile, 0,
                         feature + " matches no region of " + what +
                             " and is left out (a region draws it when its \"feature\" is \"" +
                             f.key + "\")");
        } else if (it->second == drawnCount) {
            diag.Warning(mapFile, 0,
                         feature + " is the set's total, which the map shows as a label; its "
                                   "polygons are left out");
        } else if (it->second > drawnCount) {
            diag.Warning(mapFile, 0,
                         feature + " is a small region; only top-level regions are drawn, so it "
                                   "is left out");
        } else {
            for (const auto& p : f.polygons) {
                if (!InRange(p)) {
                    diag.Error(mapFile, 0,
                               feature + " has coordinates that are no numbers or lie beyond " +
                                   "1e12 units from the origin; check the CRS and \"coordinates\" "
                                   "of the map");
                    ok = false;
                    break;
                }
                parts[it->second].push_back(p);
                // A hole reaching outside its polygon is no hole (and would leave the drawing).
                auto& holes = parts[it->second].back().holes;
                const size_t before = holes.size();
                holes.erase(std::remove_if(holes.begin(), holes.end(),
                                           [&](const RingD& h) { return !Within(h, p.outer); }),
                            holes.end());
                if (holes.size() != before)
                    diag.Warning(mapFile, 0,
                                 feature + " has a hole that reaches outside its polygon; the "
                                           "hole is left out");
            }
        }
    }
    for (size_t i = 0; i < drawnCount; ++i)
        if (parts[i].empty()) {
            diag.Error(mapFile, 0,
                       "region " + std::to_string(set.regions[i].id) + " \"" +
                           set.regions[i].name.utf8 + "\" of " + what +
                           " has no polygon: no feature has the key \"" + set.regions[i].feature +
                           "\"; add its boundary to the file or correct the region's "
                           "\"feature\" in the manifest");
            ok = false;
        }
    if (!ok) return std::nullopt;
    return parts;
}

size_t VertexCount(const std::vector<std::vector<PolygonD>>& parts) {
    size_t n = 0;
    for (const auto& list : parts)
        for (const auto& p : list) {
            n += p.outer.size();
            for (const auto& h : p.holes) n += h.size();
        }
    return n;
}

Box ContentBox(const std::vector<std::vector<PolygonD>>& parts) {
    Box content;
    for (const auto& list : parts)
        for (const auto& p : list)
            for (const auto& pt : p.outer) content.Add(pt.x, pt.y);
    return content;
}

// A region's polygons in drawing coordinates.
struct DrawnRegion {
    std::vector<std::vector<MapPoint>> outers;
    std::vector<std::vector<std::vector<MapPoint>>> holes; // per outer ring
};

// The square that stands for a region too small to keep a polygon at this scale: it keeps its
// place in the order of the regions, and something to see and to point at.
std::vector<MapPoint> Marker(const std::vector<PolygonD>& polys, const Layout& l,
                             const Box& content) {
    Box b;
    for (const auto& p : polys)
        for (const auto& pt : p.outer) b.Add(pt.x, pt.y);
    const int32_t d = MarkerHalfSize;
    int32_t x = int32_t(std::lround(l.ox + ((b.x0 + b.x1) / 2 - content.x0) * l.k));
    int32_t y = int32_t(std::lround(l.oy + ((b.y0 + b.y1) / 2 - content.y0) * l.k));
    x = std::clamp(x, d, std::max(d, l.width - d));
    y = std::clamp(y, d, std::max(d, l.height - d));
    return {{x - d, y - d}, {x + d, y - d}, {x + d, y + d}, {x - d, y + d}, {x - d, y - d}};
}

// The polygons of every drawn region in drawing coordinates, region by region; a hole that
// another region fills is left to that region (drawn over it), the others are cut out.
void DrawRegions(const SourceSet& set, const std::vector<std::vector<PolygonD>>& parts,
                 const Layout& l, const Box& content, bool report, const std::string& mapFile,
                 Diagnostics& diag, MapFile& map, std::vector<Drawn>& drawn) {
    const std::string what = "set " + std::to_string(set.id);
    const size_t drawnCount = parts.size();
    std::vector<DrawnRegion> regions(drawnCount);
    std::vector<Drawn> outers; // for the hole test, with the region they belong to
    std::vector<size_t> outerRegion;
    for (size_t i = 0; i < drawnCount; ++i)
        for (const PolygonD& p : parts[i]) {
            auto ring =
                ToDrawing(p.outer, l.k, l.ox, l.oy, content.x0, content.y0, l.width, l.height);
            if (ring.empty()) continue;
            std::vector<std::vector<MapPoint>> holes;
            for (const auto& h : p.holes) {
                auto hr = ToDrawing(h, l.k, l.ox, l.oy, content.x0, content.y0, l.width, l.height);
                if (!hr.empty()) holes.push_back(std::move(hr));
            }
            outers.push_back({ring, BoxOf(ring)});
            outerRegion.push_back(i);
            regions[i].outers.push_back(std::move(ring));
            regions[i].holes.push_back(std::move(holes));
        }
    for (size_t i = 0; i < drawnCount; ++i) {
        const SourceRegion& r = set.regions[i];
        const std::string code = std::to_string(r.id);
        if (regions[i].outers.empty()) {
            auto dot = Marker(parts[i], l, content);
            if (report)
                diag.Warning(mapFile, 0,
                             "region " + code + " \"" + r.name.utf8 + "\" of " + what +
                                 " is too small for the drawing space and is drawn as a small "
                                 "square");
            drawn.push_back({dot, BoxOf(dot)});
            map.polygons.push_back({code, std::move(dot)});
            continue;
        }
        for (size_t k = 0; k < regions[i].outers.size(); ++k) {
            std::vector<std::vector<MapPoint>> cut;
            for (auto& hole : regions[i].holes[k]) {
                bool filled = false;
                if (auto pt = InteriorPoint(hole))
                    for (size_t o = 0; o < outers.size() && !filled; ++o)
                        filled = outerRegion[o] != i && outers[o].box.Contains(pt->x, pt->y) &&
                                 RingContains(outers[o].ring, pt->x, pt->y);
                if (!filled) cut.push_back(std::move(hole));
            }
            auto ring = cut.empty() ? regions[i].outers[k] : CutHoles(regions[i].outers[k], cut);
            if (ring.size() > 32767) {
                if (report)
                    diag.Warning(mapFile, 0,
                                 "a polygon of region " + code + " of " + what + " has " +
                                     std::to_string(ring.size()) +
                                     " vertices and is thinned to 32767");
                ring = Thin(ring, 32767);
            }
            drawn.push_back({ring, BoxOf(ring)});
            map.polygons.push_back({code, std::move(ring)});
        }
    }
}

// Places the time label, the total label and the legend in the corner where they hide least of
// the map. Returns false when every corner hides too much (then a column left of the map holds
// them, placed when `column`).
bool PlaceLabels(MapHeader& h, const std::vector<Drawn>& drawn, bool column) {
    const double W = h.width, H = h.height;
    const double pw = PanelWidth * W, ph = PanelHeight * H;
    if (column) {
        PlacePanel(h, MarginX * W, H - MarginY * H - ph);
        return true;
    }
    struct Candidate {
        double left, top;
    };
    const Candidate candidates[] = {{MarginX * W, H - MarginY * H - ph},
                                    {W - MarginX * W - pw, H - MarginY * H - ph},
                                    {MarginX * W, TitleBand * H},
                                    {W - MarginX * W - pw, TitleBand * H}};
    double best = 2;
    Candidate chosen = candidates[0];
    for (const auto& c : candidates) {
        double cov = Coverage(drawn, c.left, c.top, c.left + pw, c.top + ph);
        if (cov < best - 1e-9) {
            best = cov;
            chosen = c;
        }
    }
    if (best > CoveredShare && !drawn.empty()) return false;
    PlacePanel(h, chosen.left, chosen.top);
    return true;
}

} // namespace

std::optional<MapFile> BuildMap(const SourceSet& set, const std::vector<Feature>& features,
                                const std::string& mapFile, Diagnostics& diag,
                                const MapBuildOptions& options, MapStats* stats) {
    auto parts = MatchRegions(set, features, mapFile, diag);
    if (!parts) return std::nullopt;
    Box content = ContentBox(*parts);
    MapStats counted;
    counted.read = VertexCount(*parts);
    // Simplified to the scale of the drawing; the scale with the label column is the smaller,
    // so the tolerance of the other suits both.
    if (options.simplifier && options.simplify > 0 && !content.empty()) {
        const double k = std::max(ComputeLayout(content, false).k, ComputeLayout(content, true).k);
        for (auto& list : *parts) (*options.simplifier)(list, options.simplify / k);
        content = ContentBox(*parts);
    }
    counted.simplified = VertexCount(*parts);

    MapFile map;
    for (int pass = 0; pass < 2; ++pass) {
        const bool column = pass == 1;
        Layout l = content.empty() ? Layout{1, 0, 0, 640, 480} : ComputeLayout(content, column);
        if (content.empty()) content.Add(0, 0);
        map = MapFile();
        map.header.width = int16_t(l.width);
        map.header.height = int16_t(l.height);
        std::vector<Drawn> drawn;
        DrawRegions(set, *parts, l, content, pass == 0, mapFile, diag, map, drawn);
        if (map.polygons.size() > 32767) {
            diag.Error(mapFile, 0,
                       "set " + std::to_string(set.id) + " needs " +
                           std::to_string(map.polygons.size()) +
                           " polygons; a map file holds at most 32767");
            return std::nullopt;
        }
        if (PlaceLabels(map.header, drawn, column)) break;
    }
    for (const auto& p : map.polygons) counted.written += p.points.size();
    if (stats) {
        stats->read += counted.read;
        stats->simplified += counted.simplified;
        stats->written += counted.written;
    }
    return map;
}

} // namespace zor::import
